// TBitmap: the skin engine's portable picture, a 24-bit pixel buffer with
// top-down rows, and TRect, the rectangle every skin geometry is given in.
//
// A pixel is a uint32_t laid out 0x00RRGGBB: in memory (little-endian) the
// bytes are blue, green, red, 0, which is exactly a row of a top-down 32-bit
// device-independent bitmap, so the Windows side can hand the buffer to GDI
// without converting it. Skin colour values are laid out the other way round
// (0x00BBGGRR, red in the low byte); ColorToPixel and PixelToColor convert.
// The high byte of a pixel is always 0.
//
// BMP members of a skin archive are decoded by LoadFromBmp, which checks every
// length before it reads: anything that is not a complete, sane BMP leaves the
// bitmap empty and returns false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TRect{left, top, right, bottom};
}

using TPixel = uint32_t;  // 0x00RRGGBB

// The transparent key colour of every skin image; the same number in both
// layouts because red and blue are equal.
inline constexpr TPixel kMagentaPixel = 0x00FF00FF;

inline constexpr uint8_t PixelRed(TPixel p) {
  return static_cast<uint8_t>(p >> 16);
}
inline constexpr uint8_t PixelGreen(TPixel p) {
  return static_cast<uint8_t>(p >> 8);
}
inline constexpr uint8_t PixelBlue(TPixel p) {
  return static_cast<uint8_t>(p);
}
inline constexpr TPixel MakePixel(uint8_t red, uint8_t green, uint8_t blue) {
  return (static_cast<TPixel>(red) << 16) | (static_cast<TPixel>(green) << 8) | blue;
}
// A direct colour value 0x00BBGGRR to a pixel and back.
inline constexpr TPixel ColorToPixel(uint32_t color) {
  return MakePixel(static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 8),
                   static_cast<uint8_t>(color >> 16));
}
inline constexpr uint32_t PixelToColor(TPixel p) {
  return static_cast<uint32_t>(PixelRed(p)) | (static_cast<uint32_t>(PixelGreen(p)) << 8) |
         (static_cast<uint32_t>(PixelBlue(p)) << 16);
}

class TBitmap {
 public:
  // The largest width or height a decoded or created bitmap may have.
  static constexpr int32_t kMaxSide = 8192;

  TBitmap() = default;
  // A bitmap of the given size filled with `fill`; a size of 0 or less on
  // either axis (or above kMaxSide) gives an empty bitmap.
  TBitmap(int32_t width, int32_t height, TPixel fill = 0);

  int32_t Width() const { return fWidth; }
  int32_t Height() const { return fHeight; }
  bool Empty() const { return fWidth == 0 || fHeight == 0; }

  // Resizes to width x height, every pixel `fill`; same size rules as above.
  void SetSize(int32_t width, int32_t height, TPixel fill = 0);
  void Clear();

  // Callers keep 0 <= x < Width() and 0 <= y < Height().
  TPixel Pixel(int32_t x, int32_t y) const { return fPixels[Index(x, y)]; }
  void SetPixel(int32_t x, int32_t y, TPixel p) { fPixels[Index(x, y)] = p; }
  TPixel* Row(int32_t y) { return fPixels.data() + Index(0, y); }
  const TPixel* Row(int32_t y) const { return fPixels.data() + Index(0, y); }
  const std::vector<TPixel>& Pixels() const { return fPixels; }

  // Fills the part of `rect` that lies inside the bitmap.
  void FillRect(const TRect& rect, TPixel p);
  // A copy of the part of `rect` inside the bitmap (empty when none is).
  TBitmap Crop(const TRect& rect) const;

  // Decodes a Windows BMP file: core or info header (40, 52, 56, 108 or 124
  // bytes), 1, 4, 8, 24 or 32 bits a pixel without compression (16/32 with
  // BI_BITFIELDS masks too), bottom-up or top-down rows. False and empty on
  // anything else or on any length that runs past `size`.
  bool LoadFromBmp(const uint8_t* bytes, size_t size);
  bool LoadFromBmp(const std::vector<uint8_t>& bytes) { return LoadFromBmp(bytes.data(), bytes.size()); }
  // A 24-bit bottom-up BMP file of this bitmap (54-byte headers).
  std::vector<uint8_t> SaveToBmp() const;

  bool operator==(const TBitmap&) const = default;

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(fWidth) + static_cast<size_t>(x);
  }

  int32_t fWidth = 0;
  int32_t fHeight = 0;
  std::vector<TPixel> fPixels;
};

}  // namespace skin
