// BMP decoding reads every field through bounds-checked little-endian helpers
// and computes sizes in 64 bits, so a hostile header can neither read past the
// member nor overflow a length.
#include "skin/archive/Bitmap.h"

#include <algorithm>
#include <bit>

namespace skin {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

class TByteReader {
 public:
  TByteReader(const uint8_t* bytes, size_t size) : fBytes(bytes), fSize(size) {}
  bool Has(uint64_t offset, uint64_t count) const { return offset <= fSize && count <= fSize - offset; }
  uint32_t U8(size_t offset) const { return fBytes[offset]; }
  uint32_t U16(size_t offset) const { return U8(offset) | (U8(offset + 1) << 8); }
  uint32_t U32(size_t offset) const { return U16(offset) | (U16(offset + 2) << 16); }

 private:
  const uint8_t* fBytes;
  size_t fSize;
};

// Scales a channel picked out by a bit mask to 8 bits.
struct TChannelMask {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit TChannelMask(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m >> shift);
  }
  uint8_t Extract(uint32_t value) const {
    if (bits == 0) return 0;
    uint32_t v = (value & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>(v * 255 / top);
  }
};

void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

}  // namespace

TBitmap::TBitmap(int32_t width, int32_t height, TPixel fill) {
  SetSize(width, height, fill);
}

void TBitmap::SetSize(int32_t width, int32_t height, TPixel fill) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    Clear();
    return;
  }
  fWidth = width;
  fHeight = height;
  fPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

void TBitmap::Clear() {
  fWidth = 0;
  fHeight = 0;
  fPixels.clear();
  fPixels.shrink_to_fit();
}

void TBitmap::FillRect(const TRect& rect, TPixel p) {
  int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, fWidth);
  int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, fHeight);
  for (int32_t y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + std::max(left, right), p);
}

TBitmap TBitmap::Crop(const TRect& rect) const {
  int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, fWidth);
  int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, fHeight);
  TBitmap result(right - left, bottom - top);
  for (int32_t y = 0; y < result.Height(); ++y)
    std::copy(Row(top + y) + left, Row(top + y) + right, result.Row(y));
  return result;
}

bool TBitmap::LoadFromBmp(const uint8_t* bytes, size_t size) {
  Clear();
  if (bytes == nullptr) return false;
  TByteReader in(bytes, size);
  if (!in.Has(0, 18) || in.U8(0) != 'B' || in.U8(1) != 'M') return false;
  const uint64_t dataOffset = in.U32(10);
  const uint32_t headerSize = in.U32(14);
  if (!in.Has(14, headerSize)) return false;

  int64_t width = 0, height = 0;
  uint32_t planes = 0, bitCount = 0, compression = kBiRgb, colorsUsed = 0;
  bool core = headerSize == 12;
  if (core) {
    width = in.U16(18);
    height = in.U16(20);
    planes = in.U16(22);
    bitCount = in.U16(24);
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124) {
    width = static_cast<int32_t>(in.U32(18));
    height = static_cast<int32_t>(in.U32(22));
    planes = in.U16(26);
    bitCount = in.U16(28);
    compression = in.U32(30);
    colorsUsed = in.U32(46);
  } else {
    return false;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

  // Bit-field masks: inside the longer headers, after the 40-byte one.
  TChannelMask red(0x00FF0000), green(0x0000FF00), blue(0x000000FF);
  if (bitCount == 16) red = TChannelMask(0x7C00), green = TChannelMask(0x03E0), blue = TChannelMask(0x001F);
  size_t afterHeader = 14 + headerSize;
  if (compression == kBiBitfields) {
    if (bitCount != 16 && bitCount != 32) return false;
    size_t maskAt = 14 + 40;
    if (headerSize == 40) {
      if (!in.Has(maskAt, 12)) return false;
      afterHeader += 12;
    }
    red = TChannelMask(in.U32(maskAt));
    green = TChannelMask(in.U32(maskAt + 4));
    blue = TChannelMask(in.U32(maskAt + 8));
  } else if (compression != kBiRgb) {
    return false;
  }

  std::vector<TPixel> palette;
  if (bitCount == 1 || bitCount == 4 || bitCount == 8) {
    uint32_t maxColors = 1u << bitCount;
    uint32_t count = (colorsUsed == 0 || core) ? maxColors : colorsUsed;
    if (count > maxColors) return false;
    uint32_t entry = core ? 3 : 4;
    if (!in.Has(afterHeader, static_cast<uint64_t>(count) * entry)) return false;
    palette.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      size_t at = afterHeader + static_cast<size_t>(i) * entry;
      palette.push_back(MakePixel(static_cast<uint8_t>(in.U8(at + 2)), static_cast<uint8_t>(in.U8(at + 1)),
                                  static_cast<uint8_t>(in.U8(at))));
    }
  } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }

  const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  const uint64_t lastRowBytes = (static_cast<uint64_t>(width) * bitCount + 7) / 8;
  if (!in.Has(dataOffset, stride * static_cast<uint64_t>(height - 1) + lastRowBytes)) return false;

  SetSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
  for (int32_t row = 0; row < fHeight; ++row) {
    const int32_t y = topDown ? row : fHeight - 1 - row;
    const size_t base = static_cast<size_t>(dataOffset + stride * static_cast<uint64_t>(row));
    TPixel* out = Row(y);
    for (int32_t x = 0; x < fWidth; ++x) {
      TPixel p = 0;
      switch (bitCount) {
        case 1:
        case 4:
        case 8: {
          const size_t bitPos = static_cast<size_t>(x) * bitCount;
          const uint32_t byte = in.U8(base + bitPos / 8);
          const uint32_t shift = 8 - bitCount - static_cast<uint32_t>(bitPos % 8);
          const uint32_t index = (byte >> shift) & ((1u << bitCount) - 1);
          p = index < palette.size() ? palette[index] : 0;  // like GDI: an index past the palette is black
          break;
        }
        case 16: {
          uint32_t v = in.U16(base + static_cast<size_t>(x) * 2);
          p = MakePixel(red.Extract(v), green.Extract(v), blue.Extract(v));
          break;
        }
        case 24: {
          size_t at = base + static_cast<size_t>(x) * 3;
          p = MakePixel(static_cast<uint8_t>(in.U8(at + 2)), static_cast<uint8_t>(in.U8(at + 1)),
                        static_cast<uint8_t>(in.U8(at)));
          break;
        }
        default: {
          uint32_t v = in.U32(base + static_cast<size_t>(x) * 4);
          p = MakePixel(red.Extract(v), green.Extract(v), blue.Extract(v));
          break;
        }
      }
      out[x] = p;
    }
  }
  return true;
}

std::vector<uint8_t> TBitmap::SaveToBmp() const {
  const uint32_t stride = ((static_cast<uint32_t>(fWidth) * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(fHeight);
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutLe32(out, 54 + imageSize);
  PutLe32(out, 0);
  PutLe32(out, 54);
  PutLe32(out, 40);
  PutLe32(out, static_cast<uint32_t>(fWidth));
  PutLe32(out, static_cast<uint32_t>(fHeight));
  PutLe16(out, 1);
  PutLe16(out, 24);
  PutLe32(out, kBiRgb);
  PutLe32(out, imageSize);
  PutLe32(out, 2835);  // 72 dots per inch
  PutLe32(out, 2835);
  PutLe32(out, 0);
  PutLe32(out, 0);
  for (int32_t y = fHeight - 1; y >= 0; --y) {
    const TPixel* row = Row(y);
    for (int32_t x = 0; x < fWidth; ++x) {
      out.push_back(PixelBlue(row[x]));
      out.push_back(PixelGreen(row[x]));
      out.push_back(PixelRed(row[x]));
    }
    for (uint32_t pad = static_cast<uint32_t>(fWidth) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace skin
