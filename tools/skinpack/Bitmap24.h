// Checks that a file is a Windows BMP with 24 bits per pixel, uncompressed:
// the only image form a skin archive carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinpack {

// Empty when the bytes are a complete 24-bit BMP, otherwise what is wrong.
std::string Check24BitBmp(const std::vector<uint8_t>& bytes);

}  // namespace skinpack
