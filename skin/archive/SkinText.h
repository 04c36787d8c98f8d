// 8-bit text helpers shared by the archive reader and the INI store. Skin texts
// are bytes in the system code page; only the ASCII letters A to Z have a case
// here, so multi-byte characters pass through untouched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skin {

char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

// Removes spaces and control characters (bytes up to 0x20) at both ends.
std::string TrimText(std::string_view text);

// Splits at CR LF, a lone CR or a lone LF. A final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace skin
