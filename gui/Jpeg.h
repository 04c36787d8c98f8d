// Decoding a JPEG (libjpeg) into a 24-bit top-down DIB section.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace fw {

// Throws std::runtime_error for data libjpeg cannot decode.
HBITMAP DecodeJpeg(const std::vector<uint8_t>& data, int& width, int& height);

}  // namespace fw
