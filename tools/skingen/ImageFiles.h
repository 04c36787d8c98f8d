// Encoders for the two file forms the generator writes: a Windows BMP of 24
// bits per pixel (bottom-up rows, B G R, rows padded to 4 bytes; the only form
// a skin archive carries) and a PNG for the contact sheet. The PNG is
// compressed with zlib where the build has it, else written as stored deflate
// blocks (larger, equally valid): the sheet is a viewing aid, not shipped.
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"

namespace skingen {

std::vector<uint8_t> EncodeBmp24(const Canvas& image);
std::vector<uint8_t> EncodePng(const Canvas& image);

}  // namespace skingen
