#include "gui/ButtonControl.h"

namespace fw {

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info{
      L"TButtonControl",
      &TWinControl::StaticClass(),
      {
          EnumProp(
              L"Alignment", {L"taLeftJustify", L"taRightJustify"},
              [](const TComponent& c) { return static_cast<int>(As<TButtonControl>(c).Alignment()); },
              [](TComponent& c, int v) { As<TButtonControl>(c).SetAlignment(static_cast<TLeftRight>(v)); }),
      }};
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

void TButtonControl::SetAlignment(TLeftRight alignment) {
  alignment_ = alignment;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = alignment == taLeftJustify ? style | BS_LEFTTEXT : style & ~static_cast<LONG_PTR>(BS_LEFTTEXT);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  InvalidateRect(Handle(), nullptr, TRUE);
}

int TButtonControl::CheckState() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(Handle(), BM_GETCHECK, 0, 0));
  return checkState_;
}

bool TButtonControl::SetCheckState(int state) {
  if (state == CheckState()) return false;
  checkState_ = state;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
  return true;
}

void TButtonControl::CreateParams(TCreateParams& params) {
  params.className = L"BUTTON";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | ButtonStyle();
  if (alignment_ == taLeftJustify) params.style |= BS_LEFTTEXT;
}

void TButtonControl::CreateWnd() {
  SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(checkState_), 0);
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) {
      int before = checkState_;
      checkState_ = CheckState();
      Clicked(before);
    }
    return;
  }
  if (m.Msg == WM_NCDESTROY) checkState_ = CheckState();
  TWinControl::WndProc(m);
}

void TButtonControl::CNCtlColor(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, Font().Color());
  SetBkColor(dc, ColorToRGB(Color()));
  m.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

}  // namespace fw
