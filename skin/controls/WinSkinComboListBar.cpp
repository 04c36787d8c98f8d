// TComboxScrollBar: the vertical bar of a combo box's drop-down list, painted
// into the list's own non-client area. A press on the thumb runs a drag loop
// here: the platform's own tracking would draw its bar over ours each move.
//
// The loop sleeps until a message arrives (it never spins) and ends when the
// button is released, the capture is taken away, cancel-mode arrives,
// another window becomes active, or a quit request is taken (which is put
// back for the application's own loop).
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

// The system combo box sends this to its list when the list's scroll state
// changes; the bar is drawn again after it.
constexpr UINT kComboListScrollChanged = 0x1AE;

bool VerticalBarInfo(TSkinData* sd, HWND hwnd, SCROLLBARINFO& info) {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  return sd ? sd->GetScrollBarInfo(hwnd, OBJID_VSCROLL, info)
            : SkinGetScrollBarInfo(hwnd, OBJID_VSCROLL, info);
}

}  // namespace

const fw::TClassInfo& TComboxScrollBar::StaticClass() {
  static const fw::TClassInfo info{L"TComboxScrollBar", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TComboxScrollBar::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
      return true;
    case WM_NCMOUSEMOVE:
      // Over a bar the platform would light up its own bar under ours.
      if (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL) {
        message.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
      if (TrackThumb(message)) {
        message.Result = 0;
        return false;
      }
      return true;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (dragging_) dragCancelled_ = true;
      return true;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TComboxScrollBar::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kComboListScrollChanged:
      PaintControl(nullptr);
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

bool TComboxScrollBar::TrackThumb(fw::TMessage& message) {
  if (message.WParam != HTVSCROLL || dragging_) return false;
  SCROLLBARINFO info;
  if (!VerticalBarInfo(fsd, hwnd, info)) return false;
  POINT press{static_cast<SHORT>(LOWORD(message.LParam)), static_cast<SHORT>(HIWORD(message.LParam))};
  int32_t along = press.y - info.rcScrollBar.top;
  if (along < info.xyThumbTop || along >= info.xyThumbBottom) return false;

  if (cw == 0) cw = GetSystemMetrics(SM_CXHSCROLL);
  const HWND previousCapture = GetCapture();
  const HWND activeAtStart = GetActiveWindow();
  const HWND foregroundAtStart = GetForegroundWindow();
  SetCapture(hwnd);
  dragging_ = true;
  dragCancelled_ = false;
  POINT start;
  GetCursorPos(&start);
  const TScrollValues v = ScrollValuesOf(hwnd, SB_VERT);
  const int32_t offset0 = info.xyThumbTop - cw;
  const int32_t track = (info.rcScrollBar.bottom - info.rcScrollBar.top) - 2 * cw;
  const int32_t thumbLen = info.xyThumbBottom - info.xyThumbTop;
  int32_t last = v.pos;
  int32_t position = v.pos;

  auto over = [&]() {
    return dragCancelled_ || GetCapture() != hwnd || GetActiveWindow() != activeAtStart ||
           GetForegroundWindow() != foregroundAtStart || !IsWindow(hwnd);
  };
  for (;;) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (over()) break;
      // Sleeps until input, a posted message or a sent one (cancel-mode,
      // capture change) arrives.
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      DispatchMessageW(&msg);
      POINT cursor;
      GetCursorPos(&cursor);
      position = DropListDragPosition(offset0, cursor.y - start.y, track, thumbLen, v);
      if (position != last && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(position)), 0);
        last = position;
      }
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (over()) break;
  }
  dragging_ = false;
  if (IsWindow(hwnd)) {
    SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position & 0xFFFF)), 0);
    PostMessageW(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
    if (GetCapture() == hwnd) ReleaseCapture();
    // The drop-down list keeps the mouse while it is open; give it back.
    if (previousCapture && previousCapture != hwnd && IsWindow(previousCapture))
      SetCapture(previousCapture);
    else if (previousCapture == hwnd && !dragCancelled_)
      SetCapture(hwnd);
  }
  return true;
}

void TComboxScrollBar::DrawControl(HDC dc, const RECT&) {
  SCROLLBARINFO info;
  if (!hwnd || !VerticalBarInfo(fsd, hwnd, info)) return;
  if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return;
  RECT window;
  if (!GetWindowRect(hwnd, &window)) return;
  if (cw == 0) cw = GetSystemMetrics(SM_CXHSCROLL);
  TScrollBarArt art = ScrollBarArt(fsd, true, SkinColor(3));
  if (!CanDrawScrollBar(art)) return;
  const RECT& bar = info.rcScrollBar;
  len = bar.bottom - bar.top;
  thumbtop = info.xyThumbTop;
  thumbBottom = info.xyThumbBottom;
  TBarPictureState s;
  s.vertical = true;
  s.len = len;
  s.across = bar.right - bar.left;
  s.cw = cw;
  s.enabled = !BarUnavailable(info, hwnd);
  s.scrollpos = scrollpos;
  s.down = fdown;
  s.thumb = TThumbSpan{thumbtop, thumbBottom};
  TBitmap picture = ComposeScrollBar(art, s);
  if (!picture.Empty()) BlitBitmap(dc, bar.left - window.left, bar.top - window.top, picture);
}

}  // namespace skin
