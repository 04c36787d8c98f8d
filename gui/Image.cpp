#include "gui/Image.h"

#include "gui/Jpeg.h"
#include "gui/Text.h"

namespace fw {

const TClassInfo& TImage::StaticClass() {
  static const TClassInfo info{L"TImage", &TGraphicControl::StaticClass(), {}};
  return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

TImage::~TImage() {
  if (bitmap_) DeleteObject(bitmap_);
}

void TImage::LoadJpeg(const std::vector<uint8_t>& data) {
  int w = 0, h = 0;
  HBITMAP bitmap = DecodeJpeg(data, w, h);
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap, pictureWidth_ = w, pictureHeight_ = h;
  Invalidate();
}

bool TImage::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) {
  if (!SameTextIgnoreCase(name, L"Picture.Data")) return false;
  LoadJpeg(data);
  return true;
}

void TImage::Paint(HDC dc) {
  if (!bitmap_) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap_);
  BitBlt(dc, 0, 0, pictureWidth_, pictureHeight_, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

std::wstring TImage::Automation(const std::wstring& request) {
  if (request == L"picture") return std::to_wstring(pictureWidth_) + L"x" + std::to_wstring(pictureHeight_);
  return TGraphicControl::Automation(request);
}

}  // namespace fw
