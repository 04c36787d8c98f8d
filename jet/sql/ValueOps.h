// Jet's rules for values in expressions: three-valued comparison with text
// compared case-insensitively, the hash key that agrees with that equality
// (GROUP BY, DISTINCT, joins, IN), conversions between types, arithmetic with
// Jet's result types, and the text form of numbers and dates.
//
// The text form follows a Chinese (PRC) Windows, where Quellmark runs: short
// dates are yyyy/m/d, times h:nn:ss on a 24-hour clock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "jet/core/Value.h"
#include "jet/sql/Ast.h"

namespace jet::sql {

// Computed text (concatenation, Space, String, Replace) is limited to this
// many bytes; longer results are an overflow rather than exhausted memory.
constexpr size_t kMaxComputedText = 16u << 20;

// Null for nullopt.
Value logical(std::optional<bool> b);
// Null -> nullopt; numbers are true when non-zero; text must be a number or True/False.
std::optional<bool> toLogical(const Value& v);

// Compares two values as Jet does in criteria. nullopt when either is Null.
// Text against text ignores case; numbers, dates and booleans compare by
// value; text against a number compares as numbers when the text is numeric.
// Throws SqlError (type mismatch) for values that cannot be compared.
std::optional<int> compareValues(const Value& a, const Value& b);
// Total order for ORDER BY: Nulls first, then as compareValues; values that
// cannot be compared are ordered by type.
int sortCompare(const Value& a, const Value& b);
// Appends a key that is equal for two values exactly when GROUP BY and
// DISTINCT treat them as equal (Nulls all alike, text by folded case).
void appendKey(std::string& key, const Value& v);
// The number a numeric value is keyed and compared by.
double numberOf(const Value& v);
std::string keyOf(const Value& v);

std::optional<double> parseNumber(std::string_view text);
// VBA's rendering of a number: up to 15 significant digits (7 for Single),
// scientific notation for very large or small magnitudes.
std::string numberText(double v, bool single = false);
std::string dateText(double serial);
std::string currencyText(int64_t units);
// The text form used by CStr and &; Null becomes "".
std::string toText(const Value& v);
// A numeric operand; throws type mismatch naming `where` for text that is not a number.
double toNumber(const Value& v, const std::string& where);
// A Date/Time operand (numbers are day serials, text is parsed).
double toDate(const Value& v, const std::string& where);

// Arithmetic and concatenation (Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat, Neg).
Value arithmetic(ast::Op op, const Value& a, const Value& b);
Value negate(const Value& a);
// The type arithmetic yields for operands of these types.
DataType arithmeticType(ast::Op op, DataType a, DataType b);

// Converts to a column or function result type (CInt, CLng, CDate, storing
// into a column, ...). Null stays Null. Throws type mismatch or overflow.
Value convertTo(const Value& v, DataType type, const std::string& where);

// Round half to even, as VBA's Round and the integer conversions do.
double roundHalfEven(double v, int digits = 0);

// Broad kinds of type for result typing.
bool isTextType(DataType t);
bool isNumericType(DataType t);

}  // namespace jet::sql
