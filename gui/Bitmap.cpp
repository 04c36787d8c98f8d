#include "gui/Bitmap.h"

#include <cstring>

namespace fw {

namespace {

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr size_t kFileHeaderSize = 14;
constexpr int kLargestSide = 16384;

COLORREF FromPixel(uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
uint32_t ToPixel(COLORREF colour) {
  return static_cast<uint32_t>(GetRValue(colour)) << 16 | static_cast<uint32_t>(GetGValue(colour)) << 8 |
         GetBValue(colour);
}

HBITMAP NewTopDownDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  *bits = static_cast<uint32_t*>(raw);
  return bitmap;
}

}  // namespace

TBitmap::~TBitmap() {
  Clear();
}

void TBitmap::Clear() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

void TBitmap::Adopt(HBITMAP bitmap, int width, int height, uint32_t* bits) {
  Clear();
  handle_ = bitmap;
  width_ = width;
  height_ = height;
  bits_ = bits;
}

void TBitmap::SetSize(int width, int height, COLORREF fill) {
  if (width <= 0 || height <= 0) return Clear();
  uint32_t* bits = nullptr;
  HBITMAP bitmap = NewTopDownDib(width, height, &bits);
  if (!bitmap) return Clear();
  uint32_t pixel = ToPixel(fill);
  for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) bits[i] = pixel;
  Adopt(bitmap, width, height, bits);
}

void TBitmap::SetPixel(int x, int y, COLORREF colour) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = ToPixel(colour);
}

COLORREF TBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  return FromPixel(bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  if (other.Empty()) return Clear();
  uint32_t* bits = nullptr;
  HBITMAP bitmap = NewTopDownDib(other.width_, other.height_, &bits);
  if (!bitmap) return Clear();
  GdiFlush();
  std::memcpy(bits, other.bits_, static_cast<size_t>(other.width_) * static_cast<size_t>(other.height_) * 4);
  Adopt(bitmap, other.width_, other.height_, bits);
}

bool TBitmap::LoadFromBmp(const uint8_t* data, size_t size) {
  if (!data || size < kFileHeaderSize + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M')
    return false;
  const uint8_t* info = data + kFileHeaderSize;
  uint32_t bitsOffset = Read32(data + 10);
  uint32_t infoSize = Read32(info);
  if (infoSize < sizeof(BITMAPINFOHEADER) || infoSize > size - kFileHeaderSize) return false;
  int32_t width = static_cast<int32_t>(Read32(info + 4));
  int32_t height = static_cast<int32_t>(Read32(info + 8));
  uint16_t planes = Read16(info + 12);
  uint16_t bitCount = Read16(info + 14);
  uint32_t compression = Read32(info + 16);
  uint32_t colorsUsed = Read32(info + 32);
  if (width <= 0 || width > kLargestSide || height == 0 || height < -kLargestSide || height > kLargestSide ||
      planes != 1)
    return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return false;
  bool bitFields = compression == BI_BITFIELDS;
  if (compression != BI_RGB && !(bitFields && (bitCount == 16 || bitCount == 32))) return false;
  uint64_t masks = bitFields && infoSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  uint64_t paletteEntries = 0;
  if (bitCount <= 8) {
    uint32_t most = 1u << bitCount;
    if (colorsUsed > most) return false;
    paletteEntries = colorsUsed ? colorsUsed : most;
  }
  uint64_t headerEnd = kFileHeaderSize + uint64_t{infoSize} + masks + paletteEntries * 4;
  uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
  if (headerEnd > size || bitsOffset < headerEnd || bitsOffset > size || stride * rows > size - bitsOffset)
    return false;

  // The header and colours are copied so the system reads them aligned.
  std::vector<uint8_t> header(data + kFileHeaderSize, data + headerEnd);
  std::vector<uint8_t> pixels(data + bitsOffset, data + bitsOffset + stride * rows);
  uint32_t* bits = nullptr;
  int h = static_cast<int>(rows);
  HBITMAP bitmap = NewTopDownDib(width, h, &bits);
  if (!bitmap) return false;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bitmap);
  int copied = SetDIBitsToDevice(mem, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(h), 0, 0, 0,
                                 static_cast<UINT>(h), pixels.data(),
                                 reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS);
  SelectObject(mem, old);
  DeleteDC(mem);
  if (copied <= 0) {
    DeleteObject(bitmap);
    return false;
  }
  Adopt(bitmap, width, h, bits);
  return true;
}

bool TBitmap::LoadFromDefinitionData(const std::vector<uint8_t>& data) {
  if (data.size() < 4) return false;
  uint32_t count = Read32(data.data());
  if (count > data.size() - 4) return false;
  return LoadFromBmp(data.data() + 4, count);
}

std::vector<uint8_t> TBitmap::SaveToBmp() const {
  if (Empty()) return {};
  size_t imageBytes = static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4;
  size_t total = kFileHeaderSize + sizeof(BITMAPINFOHEADER) + imageBytes;
  std::vector<uint8_t> out(total, 0);
  auto put32 = [&out](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(total));
  put32(10, static_cast<uint32_t>(kFileHeaderSize + sizeof(BITMAPINFOHEADER)));
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = -height_;  // top-down rows, as held
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::memcpy(out.data() + kFileHeaderSize, &info, sizeof info);
  GdiFlush();
  std::memcpy(out.data() + kFileHeaderSize + sizeof info, bits_, imageBytes);
  return out;
}

void TBitmap::DrawTransparent(HDC dc, int x, int y, int index, int count) const {
  if (Empty() || count < 1) return;
  int w = width_ / count;
  if (w < 1) return;
  if (index < 0 || index >= count) index = 0;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, handle_);
  GdiTransparentBlt(dc, x, y, w, height_, mem, index * w, 0, w, height_, Pixel(0, height_ - 1));
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace fw
