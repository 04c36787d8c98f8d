#include "gui/SpeedButton.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "gui/BitBtn.h"

namespace fw {

const TClassInfo& TSpeedButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i{L"TSpeedButton", &TGraphicControl::StaticClass(), GlyphButtonProps<TSpeedButton>()};
    i.props.push_back(BoolProp(
        L"Down", [](const TComponent& c) { return As<TSpeedButton>(c).Down(); },
        [](TComponent& c, bool v) { As<TSpeedButton>(c).SetDown(v); }));
    i.props.push_back(BoolProp(
        L"Flat", [](const TComponent& c) { return As<TSpeedButton>(c).Flat(); },
        [](TComponent& c, bool v) { As<TSpeedButton>(c).SetFlat(v); }));
    i.props.push_back(IntProp(
        L"GroupIndex", [](const TComponent& c) { return As<TSpeedButton>(c).GroupIndex(); },
        [](TComponent& c, int v) { As<TSpeedButton>(c).SetGroupIndex(v); }));
    i.props.push_back(BoolProp(
        L"AllowAllUp", [](const TComponent& c) { return As<TSpeedButton>(c).AllowAllUp(); },
        [](TComponent& c, bool v) { As<TSpeedButton>(c).SetAllowAllUp(v); }));
    return i;
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetDown(bool down) {
  // Only a button of a group stays down; the last one down of a group stays
  // down unless the group lets all be up.
  if (groupIndex_ == 0) down = false;
  if (down == down_) return;
  if (!down && !allowAllUp_ && !Loading()) return;
  down_ = down;
  if (down_) ReleaseGroup();
  Invalidate();
}

void TSpeedButton::ReleaseGroup() {
  if (!Parent() || groupIndex_ == 0) return;
  for (TControl* c : Parent()->Controls()) {
    if (c == this || !c->Is(TSpeedButton::StaticClass())) continue;
    auto* other = static_cast<TSpeedButton*>(c);
    if (other->groupIndex_ == groupIndex_ && other->down_) {
      other->down_ = false;
      other->Invalidate();
    }
  }
}

void TSpeedButton::SetFlat(bool flat) {
  flat_ = flat;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
  groupIndex_ = std::max(0, index);
  if (groupIndex_ == 0 && down_) {
    down_ = false;
    Invalidate();
  }
}

bool TSpeedButton::ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) {
  return ReadGlyphData(name, data) || TGraphicControl::ReadBinaryProperty(name, data);
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return WMLButtonDown(m);
    case WM_MOUSEMOVE:
      return WMMouseMove(m);
    case WM_LBUTTONUP:
      return WMLButtonUp(m);
    case CM_MOUSEENTER:
      return CMMouseEnter(m);
    case CM_MOUSELEAVE:
      return CMMouseLeave(m);
    case WM_CANCELMODE:
      return WMCancelMode(m);
    default:
      return TGraphicControl::WndProc(m);
  }
}

bool TSpeedButton::Inside(LPARAM point) const {
  POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  RECT r{0, 0, Width(), Height()};
  return PtInRect(&r, p) != FALSE;
}

void TSpeedButton::WMLButtonDown(TMessage& m) {
  // A double click presses the button again, as a second single click would.
  if (Enabled()) {
    dragging_ = pressed_ = true;
    Invalidate();
  }
  MouseDown(mbLeft, ShiftStateFromKeys(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TSpeedButton::WMMouseMove(TMessage& m) {
  if (!dragging_) return;
  bool inside = Inside(m.LParam);
  if (inside != pressed_) {
    pressed_ = inside;
    Invalidate();
  }
}

void TSpeedButton::WMLButtonUp(TMessage& m) {
  if (!dragging_) return;
  dragging_ = pressed_ = false;
  bool inside = Inside(m.LParam);
  if (inside && groupIndex_ != 0) SetDown(!down_);
  Invalidate();
  if (inside) Click();
}

void TSpeedButton::WMCancelMode(TMessage&) {
  if (!dragging_) return;
  dragging_ = pressed_ = false;
  Invalidate();
}

void TSpeedButton::CMMouseEnter(TMessage&) {
  mouseInControl_ = true;
  if (flat_ && Enabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage&) {
  mouseInControl_ = false;
  if (flat_ && Enabled()) Invalidate();
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(dc, &r, face);
  DeleteObject(face);
  bool sunk = pressed_ || down_;
  if (flat_) {
    if (sunk)
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (mouseInControl_ && Enabled())
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  } else {
    DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  RECT inside = r;
  InflateRect(&inside, -2, -2);
  if (sunk) OffsetRect(&inside, 1, 1);
  TGlyphButtonLook look = GlyphLook();
  look.glyphIndex = !Enabled() ? 1 : down_ ? 3 : pressed_ ? 2 : 0;
  look.caption = Caption();
  look.enabled = Enabled();
  look.textColour = Font().Color();
  DrawGlyphAndCaption(dc, inside, look);
}

}  // namespace fw
