// UTF-8 <-> UTF-16 at the boundary between the portable code (UTF-8) and Win32 (UTF-16).
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

bool SameTextIgnoreCase(std::wstring_view a, std::wstring_view b);

}  // namespace fw
