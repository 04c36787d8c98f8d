// Text forms of values shown to a person (the grid, the command-line tool).
#pragma once

#include <string>

#include "jet/core/Value.h"

namespace jet::ado {

// "YYYY-MM-DD HH:MM:SS" from Jet's day count (1899-12-30 = 0; before that the
// fraction still counts forward from midnight, as Jet stores it).
std::string dateTimeText(double days);
// Shortest text that reads back as the same number; Currency and Decimal exact.
std::string numberText(const Value& v);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in the usual (not stored) byte order.
std::string guidText(const Guid& g);
// Lowercase hex, two digits a byte.
std::string hexText(const Bytes& b);

// The cell text of the grid and of the tool's table format: "" for Null,
// "True"/"False", dates without a time part as "YYYY-MM-DD".
std::string displayText(const Value& v);

// The same texts appended to `out`, for writers that format millions of
// values into one buffer.
void appendDateTimeText(std::string& out, double days);
void appendNumberText(std::string& out, const Value& v);
void appendDisplayText(std::string& out, const Value& v);

}  // namespace jet::ado
