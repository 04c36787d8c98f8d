// A picture held by a control (a button's Glyph): a device-independent bitmap
// with its size. Stored definitions keep one as binary data ("Glyph.Data"): a
// 32-bit byte count followed by a BMP file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace fw {

class TBitmap {
 public:
  TBitmap() = default;
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  HBITMAP Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !handle_; }

  // A new 32-bit picture of this size, every pixel `fill` (COLORREF).
  void SetSize(int width, int height, COLORREF fill);
  void SetPixel(int x, int y, COLORREF colour);
  COLORREF Pixel(int x, int y) const;
  // A copy of another picture (empty gives empty).
  void Assign(const TBitmap& other);
  void Clear();
  // A BMP file image. False, and the picture unchanged, when it is not a
  // complete BMP file of a kind the system draws (1 to 32 bits per pixel,
  // uncompressed or bit fields).
  bool LoadFromBmp(const uint8_t* data, size_t size);
  // The stored-definition form: a 32-bit size, then a BMP file.
  bool LoadFromDefinitionData(const std::vector<uint8_t>& data);
  // The BMP file of this picture (32 bits per pixel); empty when empty.
  std::vector<uint8_t> SaveToBmp() const;

  // Draws image `index` of `count` equal images side by side at (x, y), the
  // colour of the picture's bottom-left pixel left out (as glyphs are drawn).
  void DrawTransparent(HDC dc, int x, int y, int index, int count) const;

 private:
  void Adopt(HBITMAP bitmap, int width, int height, uint32_t* bits);

  HBITMAP handle_ = nullptr;
  int width_ = 0, height_ = 0;
  uint32_t* bits_ = nullptr;  // top-down rows of 0x00RRGGBB
};

}  // namespace fw
