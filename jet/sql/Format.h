// The Format function: named formats ("General Date", "Short Date", "Fixed",
// "Currency", "Percent", ...) and custom patterns for numbers (0 # . , % E+
// with ; sections), dates (yyyy m mm mmm d dd h hh n nn s ss AM/PM ...) and
// text (@ & < >). Locale-dependent parts follow a Chinese (PRC) Windows.
#pragma once

#include <string>

#include "jet/core/Value.h"

namespace jet::sql {

// `where` names the call for error messages.
std::string formatValue(const Value& v, const std::string& format, const std::string& where);

}  // namespace jet::sql
