#include "skin/form/WinSkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/Control.h"

namespace skin {

namespace {

BITMAPINFO TopDownInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows from the top, as TBitmap keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool Inverted(const TRect& r) {
  return r.Right < r.Left || r.Bottom < r.Top;
}

// Puts a composed picture on the DC at (x, y): copied, or with magenta left
// out over what the DC already shows there.
void PutPicture(HDC dc, int32_t x, int32_t y, const TBitmap& picture, bool transparent) {
  if (picture.Empty()) return;
  if (transparent) {
    DrawTransparent(dc, Rect(x, y, x + picture.Width(), y + picture.Height()), picture,
                    static_cast<TColor>(PixelToColor(kMagentaPixel)));
  } else {
    BlitBitmap(dc, x, y, picture);
  }
}

int& ScratchUsers() {
  static int users = 0;
  return users;
}

TScratchBitmap*& ScratchInstance() {
  static TScratchBitmap* scratch = nullptr;
  return scratch;
}

}  // namespace

TDibSection::TDibSection(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  SetStretchBltMode(dc_, COLORONCOLOR);
  bits_ = static_cast<TPixel*>(bits);
  width_ = width;
  height_ = height;
}

TDibSection::TDibSection(const TBitmap& bitmap) : TDibSection(bitmap.Width(), bitmap.Height()) {
  Assign(bitmap);
}

TDibSection::~TDibSection() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

TBitmap TDibSection::ToBitmap() const {
  TBitmap out(width_, height_);
  if (!bits_ || out.Empty()) return out;
  GdiFlush();  // drawing into the section may still be queued
  for (int32_t y = 0; y < height_; ++y) {
    TPixel* row = out.Row(y);
    const TPixel* source = bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
    // GDI may leave the unused high byte set; TBitmap keeps it 0.
    for (int32_t x = 0; x < width_; ++x) row[x] = source[x] & 0x00FFFFFFu;
  }
  return out;
}

void TDibSection::Assign(const TBitmap& bitmap) {
  if (!bits_ || bitmap.Width() != width_ || bitmap.Height() != height_) return;
  GdiFlush();
  std::memcpy(bits_, bitmap.Pixels().data(), bitmap.Pixels().size() * sizeof(TPixel));
}

TBitmap ReadDcPixels(HDC dc, const TRect& rect) {
  TDibSection section(rect.Width(), rect.Height());
  if (!section.Valid()) return TBitmap();
  BitBlt(section.DC(), 0, 0, rect.Width(), rect.Height(), dc, rect.Left, rect.Top, SRCCOPY);
  return section.ToBitmap();
}

void BlitBitmap(HDC dc, int32_t x, int32_t y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  // SetDIBitsToDevice puts the pixels straight on the device without a second DC.
  BITMAPINFO info = TopDownInfo(bitmap.Width(), bitmap.Height());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.Width()), static_cast<DWORD>(bitmap.Height()), 0, 0,
                    0, static_cast<UINT>(bitmap.Height()), bitmap.Pixels().data(), &info, DIB_RGB_COLORS);
}

void DrawSkinImage(HDC dc, const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                   int frames, bool transparent, bool tile, bool vertical) {
  if (Inverted(target)) return;
  TBitmap picture = BuildSkinBitmap(target, strip, margins, index, frames, tile, vertical);
  PutPicture(dc, target.Left, target.Top, picture, transparent);
}

void DrawTiledStrip(HDC dc, const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                    int frames, bool transparent, bool vertical) {
  if (Inverted(target)) return;
  TBitmap picture =
      ComposeTiledStrip(target.Width(), target.Height(), strip, margins, index, frames, vertical);
  PutPicture(dc, target.Left, target.Top, picture, transparent);
}

void DrawSkinFrame(HDC dc, const TRect& target, const TBitmap& strip, int index, int frames,
                   bool transparent) {
  if (Inverted(target)) return;
  TBitmap picture(target.Width(), target.Height());
  if (picture.Empty()) return;
  DrawSkinFrame(picture, Rect(0, 0, target.Width(), target.Height()), strip, index, frames, false);
  PutPicture(dc, target.Left, target.Top, picture, transparent);
}

void DrawSkinFrameCentered(HDC dc, const TRect& target, const TBitmap& strip, int index, int frames,
                           bool transparent) {
  if (Inverted(target)) return;
  TBitmap picture = strip.Crop(StripFrameRect(strip, index, frames, false));
  if (picture.Empty()) return;
  int32_t x = target.Left + (target.Width() - picture.Width()) / 2;
  int32_t y = target.Top + (target.Height() - picture.Height()) / 2;
  PutPicture(dc, x, y, picture, transparent);
}

void DrawThreeSliceBar(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                       int index, const TRect& margins) {
  if (Inverted(target) || target.Width() == 0 || target.Height() == 0) return;
  // Parts the image cannot fill (an empty middle) keep what the DC shows, as direct drawing would.
  TBitmap picture = ReadDcPixels(dc, target);
  if (picture.Empty()) return;
  DrawThreeSliceBar(picture, Rect(0, 0, target.Width(), target.Height()), strip, vertical, frames, index,
                    margins);
  BlitBitmap(dc, target.Left, target.Top, picture);
}

void TileBitmap(HDC dc, const TRect& target, const TBitmap& source, const TRect& sourceRect) {
  if (sourceRect.Width() <= 0 || sourceRect.Height() <= 0) return;
  TBitmap tile = source.Crop(sourceRect);
  if (tile.Empty()) return;
  TDibSection section(tile);
  if (!section.Valid()) return;
  for (int32_t x = target.Left; x < target.Right; x += tile.Width())
    for (int32_t y = target.Top; y < target.Bottom; y += tile.Height())
      BitBlt(dc, x, y, tile.Width(), tile.Height(), section.DC(), 0, 0, SRCCOPY);
}

void DrawTransparent(HDC dc, const TRect& target, const TBitmap& bitmap, TColor key) {
  if (Inverted(target) || target.Width() == 0 || target.Height() == 0) return;
  TBitmap picture = ReadDcPixels(dc, target);
  if (picture.Empty()) return;
  DrawTransparent(picture, Rect(0, 0, target.Width(), target.Height()), bitmap, key);
  BlitBitmap(dc, target.Left, target.Top, picture);
}

void PaintParentBackground(const fw::TControl& control, HDC dc) {
  fw::TWinControl* parent = control.Parent();
  if (!parent || !parent->HandleAllocated()) return;
  int saved = SaveDC(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
  IntersectClipRect(dc, control.Left(), control.Top(), control.Left() + control.Width(),
                    control.Top() + control.Height());
  SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

HRGN CreateRegionFromBitmap(const TBitmap& bitmap, int32_t dx, int32_t dy, TColor key, int toleranceRed,
                            int toleranceGreen, int toleranceBlue) {
  constexpr size_t kBatch = 2000;
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  if (!result) return nullptr;
  std::vector<TRect> rects =
      RegionRectsFromBitmap(bitmap, dx, dy, key, toleranceRed, toleranceGreen, toleranceBlue);
  std::vector<uint8_t> buffer;
  for (size_t start = 0; start < rects.size(); start += kBatch) {
    size_t count = std::min(kBatch, rects.size() - start);
    buffer.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < count; ++i) {
      const TRect& r = rects[start + i];
      out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
      bounds.left = std::min<LONG>(bounds.left, r.Left);
      bounds.top = std::min<LONG>(bounds.top, r.Top);
      bounds.right = std::max<LONG>(bounds.right, r.Right);
      bounds.bottom = std::max<LONG>(bounds.bottom, r.Bottom);
    }
    data->rdh.rcBound = bounds;
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
    if (part) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result;
}

TScratchBitmap::TScratchBitmap() {
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_) SetStretchBltMode(dc_, COLORONCOLOR);
}

TScratchBitmap::~TScratchBitmap() {
  if (dc_) {
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

void TScratchBitmap::SetSize(int32_t width, int32_t height) {
  if (!dc_ || (width <= width_ && height <= height_)) return;
  width = std::max(width, width_);
  height = std::max(height, height_);
  BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return;
  HGDIOBJ previous = SelectObject(dc_, bitmap);
  if (!oldBitmap_) oldBitmap_ = previous;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  width_ = width;
  height_ = height;
}

void InitScratchBitmap() {
  if (ScratchUsers()++ == 0) ScratchInstance() = new TScratchBitmap();
}

void FinalScratchBitmap() {
  if (ScratchUsers() == 0) return;
  if (--ScratchUsers() == 0) {
    delete ScratchInstance();
    ScratchInstance() = nullptr;
  }
}

TScratchBitmap* ScratchBitmap() {
  return ScratchInstance();
}

}  // namespace skin
