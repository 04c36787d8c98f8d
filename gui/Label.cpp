#include "gui/Label.h"

namespace fw {

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info{
      L"TLabel",
      &TGraphicControl::StaticClass(),
      {
          BoolProp(
              L"Transparent", [](const TComponent& c) { return As<TLabel>(c).Transparent(); },
              [](TComponent& c, bool v) { As<TLabel>(c).SetTransparent(v); }),
          BoolProp(
              L"AutoSize", [](const TComponent& c) { return As<TLabel>(c).AutoSize(); },
              [](TComponent& c, bool v) { As<TLabel>(c).SetAutoSize(v); }),
      }};
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {}

void TLabel::SetTransparent(bool on) {
  transparent_ = on;
  Invalidate();
}

void TLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustSize();
}

void TLabel::SetCaption(const std::wstring& text) {
  TGraphicControl::SetCaption(text);
  AdjustSize();
}

void TLabel::Loaded() {
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_ || Loading()) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  RECT r{0, 0, 0, 0};
  std::wstring text = Caption().empty() ? L" " : Caption();
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SetBounds(Left(), Top(), r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  if (!transparent_) {
    HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, face);
    DeleteObject(face);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? Font().Color() : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r,
            DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace fw
