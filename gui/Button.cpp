#include "gui/Button.h"

namespace fw {

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info{
      L"TButton",
      &TWinControl::StaticClass(),
      {
          BoolProp(
              L"Default", [](const TComponent& c) { return As<TButton>(c).Default(); },
              [](TComponent& c, bool v) { As<TButton>(c).SetDefault(v); }),
      }};
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
  params.className = L"BUTTON";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TWinControl::WndProc(m);
}

void TButton::WMGetDlgCodeWantingEnter(TMessage& m) {
  TButton::WndProc(m);
  auto* msg = reinterpret_cast<MSG*>(m.LParam);
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_RETURN)
    m.Result |= DLGC_WANTMESSAGE;
}

RECT TButton::DrawOwnerDrawnFace(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  if (Default() || (item.itemState & ODS_FOCUS) != 0) {
    FrameRect(item.hDC, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&r, -2, -2);
  if (pressed) OffsetRect(&r, 1, 1);
  return r;
}

void TButton::DrawOwnerDrawnFocus(HDC dc, const DRAWITEMSTRUCT& item, RECT text) {
  if (!(item.itemState & ODS_FOCUS) || (item.itemState & ODS_NOFOCUSRECT)) return;
  InflateRect(&text, 2, 1);
  DrawFocusRect(dc, &text);
}

}  // namespace fw
