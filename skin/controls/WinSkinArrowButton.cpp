// TArrowButton: the drop arrow of a date-time picker, a small window of ours
// laid over the picker's own arrow and drawn from the skin's combo arrow.
// Presses are handed to the picker at the same place, so the picker opens
// its calendar as if its own arrow had been pressed.
#include <windowsx.h>

#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/SkinImage.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

const fw::TClassInfo& TArrowButton::StaticClass() {
  static const fw::TClassInfo info{L"TArrowButton", &TOverlayWindow::StaticClass(), {}};
  return info;
}

TArrowButton::TArrowButton(fw::TComponent* owner)
    : TOverlayWindow(owner), cw(GetSystemMetrics(SM_CXHSCROLL)) {}

int32_t TArrowButton::LeftFor(int32_t pickerWidth) const {
  bool leftArrow = hwnd && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  return leftArrow ? 2 : pickerWidth - cw - 4;
}

void TArrowButton::Attach(TSkinControl* aobj, fw::TWinControl* acontrol) {
  if (!acontrol) return;
  acontrol->HandleNeeded();
  if (!acontrol->HandleAllocated()) return;
  obj = aobj;
  control = acontrol;
  hwnd = acontrol->Handle();
  // The picker must not paint over its child.
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
  if (!PlaceIn(hwnd, 0)) return;
  RECT r;
  GetWindowRect(hwnd, &r);
  MoveArrow(r);
  ShowWindow(Handle(), SW_SHOWNA);
}

void TArrowButton::MoveArrow(const RECT& r) {
  if (!Handle()) return;
  const int32_t width = r.right - r.left;
  const int32_t height = r.bottom - r.top;
  SetWindowPos(Handle(), HWND_TOP, LeftFor(width), 0, cw, height - 4, SWP_NOACTIVATE);
}

void TArrowButton::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      WMMouseMove(m);
      break;
    case WM_MOUSELEAVE:
      WMMouseLeave(m);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      WMLButtonDown(m);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(m);
      break;
    default:
      TOverlayWindow::WndProc(m);
      break;
  }
}

void TArrowButton::WMMouseMove(fw::TMessage& m) {
  if (!(state & Hot) && hwnd && IsWindowEnabled(hwnd)) {
    state |= Hot;
    Repaint();
  }
  RequestMouseLeave(Handle());
  m.Result = 0;
}

void TArrowButton::WMMouseLeave(fw::TMessage& m) {
  if ((state & Hot) && hwnd && IsWindowEnabled(hwnd)) {
    state = static_cast<uint8_t>(state & ~Hot);
    Repaint();
  }
  m.Result = 0;
}

void TArrowButton::WMLButtonDown(fw::TMessage& m) {
  RECT own;
  GetWindowRect(Handle(), &own);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&own), 2);
  int x = GET_X_LPARAM(m.LParam) + own.left;
  int y = GET_Y_LPARAM(m.LParam) + own.top;
  LPARAM at = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
  PostMessageW(hwnd, WM_LBUTTONDOWN, m.WParam, at);
  PostMessageW(hwnd, WM_LBUTTONUP, m.WParam, at);
  Repaint();
  m.Result = 0;
}

void TArrowButton::WMLButtonUp(fw::TMessage& m) {
  if (hwnd) SetFocus(hwnd);
  m.Result = 0;
}

void TArrowButton::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  TSkinData* sd = obj ? obj->fsd : nullptr;
  COLORREF face = sd ? ResolveColor(sd->Colors[3]) : GetSysColor(COLOR_BTNFACE);
  TBitmap picture(client.right, client.bottom, ColorToPixel(face));
  const TDataSkinObject* arrow = sd ? sd->comboxarrow.get() : nullptr;
  if (arrow && !arrow->Map.Empty()) {
    RECT picker{};
    GetWindowRect(hwnd, &picker);
    TRect target = Rect(0, 0, client.right, (picker.bottom - picker.top) - 4);
    DrawSkinFrame(picture, target, arrow->Map, (state & Hot) ? 4 : 1, arrow->frame, arrow->trans == 1);
  }
  BlitBitmap(dc, 0, 0, picture);
}

}  // namespace skin
