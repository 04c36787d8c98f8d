#include "gui/Panel.h"

namespace fw {

const TClassInfo& TCustomPanel::StaticClass() {
  static const TClassInfo info{L"TCustomPanel", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info{
      L"TPanel",
      &TCustomPanel::StaticClass(),
      {
          EnumProp(
              L"BevelOuter", {L"bvNone", L"bvLowered", L"bvRaised"},
              [](const TComponent& c) { return static_cast<int>(As<TPanel>(c).BevelOuter()); },
              [](TComponent& c, int v) { As<TPanel>(c).SetBevelOuter(static_cast<TPanelBevel>(v)); }),
      }};
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevelOuter_ = bevel;
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
  RequestParentRealign();
}

RECT TPanel::ClientArea() const {
  RECT r = TWinControl::ClientArea();
  if (bevelOuter_ != bvNone) InflateRect(&r, -1, -1);
  return r;
}

void TPanel::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) return WMPaint(m);
  TWinControl::WndProc(m);
}

void TPanel::WMPaint(TMessage&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT r;
  GetClientRect(Handle(), &r);
  if (bevelOuter_ != bvNone)
    DrawEdge(dc, &r, bevelOuter_ == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  if (!Caption().empty()) {
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, Enabled() ? Font().Color() : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, Caption().c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
  }
  PaintControls(dc);
  EndPaint(Handle(), &ps);
}

}  // namespace fw
