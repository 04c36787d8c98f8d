#include "Bitmap24.h"

namespace skinpack {

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8;
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;

}  // namespace

std::string Check24BitBmp(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
    return "not a BMP file (no BM signature)";
  uint32_t pixelOffset = U32(bytes, 10);
  uint32_t headerSize = U32(bytes, 14);
  int64_t width = 0;
  int64_t height = 0;
  uint32_t planes = 0;
  uint32_t bitCount = 0;
  if (headerSize == kCoreHeaderSize) {
    width = U16(bytes, 18);
    height = U16(bytes, 20);
    planes = U16(bytes, 22);
    bitCount = U16(bytes, 24);
  } else if (headerSize >= kInfoHeaderSize) {
    if (bytes.size() < kFileHeaderSize + headerSize) return "BMP header is cut off";
    width = static_cast<int32_t>(U32(bytes, 18));
    height = static_cast<int32_t>(U32(bytes, 22));
    planes = U16(bytes, 26);
    bitCount = U16(bytes, 28);
    uint32_t compression = U32(bytes, 30);
    if (compression != kBiRgb) return "compressed BMP; skins take uncompressed 24-bit bitmaps only";
  } else {
    return "unknown BMP header of " + std::to_string(headerSize) + " bytes";
  }
  if (bitCount != 24) return std::to_string(bitCount) + "-bit bitmap; skins take 24-bit bitmaps only";
  if (planes != 1) return "BMP has " + std::to_string(planes) + " planes instead of 1";
  if (width <= 0 || height == 0) return "BMP has no pixels";
  if (pixelOffset < kFileHeaderSize + headerSize) return "BMP pixel data overlaps its header";
  uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
  uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  if (pixelOffset + stride * rows > bytes.size())
    return "BMP pixel data is cut off (" + std::to_string(width) + "x" + std::to_string(rows) + " needs " +
           std::to_string(pixelOffset + stride * rows) + " bytes, the file has " +
           std::to_string(bytes.size()) + ")";
  return std::string();
}

}  // namespace skinpack
