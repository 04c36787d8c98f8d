// TSkinScrollbarH: the window scroll bars of a bare window (a simple combo
// box's list) covered by overlays.
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"

namespace skin {

const fw::TClassInfo& TSkinScrollbarH::StaticClass() {
  static const fw::TClassInfo info{L"TSkinScrollbarH", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinScrollbarH::~TSkinScrollbarH() {
  FreeBars();
}

void TSkinScrollbarH::Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) {
  if (!ahwnd || (FObjectInst && ahwnd == hwnd)) return;
  // The base links the window procedure and registers with the skinner.
  TSkinControl::Inithwnd(ahwnd, sd, sf);
  if (!Inited) return;
  if (!hb) hb = new TWScrollbar(this);
  if (!vb) vb = new TWScrollbar(this);
  hb->AttachHwnd(this, ahwnd, 0);
  vb->AttachHwnd(this, ahwnd, 1);
}

void TSkinScrollbarH::FreeBars() {
  delete hb;
  hb = nullptr;
  delete vb;
  vb = nullptr;
}

void TSkinScrollbarH::AfterProc(fw::TMessage& message) {
  if (hwnd && vb && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) == 0) vb->HideScrollbar();
  switch (message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
      if (hb) hb->SetPosition(hwnd);
      if (vb) vb->SetPosition(hwnd);
      Redraw();
      break;
    case WM_HSCROLL:
      if (hb) hb->FollowScroll(message.WParam);
      break;
    case WM_VSCROLL:
      if (vb) vb->FollowScroll(message.WParam);
      break;
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
      for (TWScrollbar* bar : {hb, vb})
        if (bar && bar->sbVisible) bar->Repaint();
      break;
    case WM_DESTROY:
      for (TWScrollbar* bar : {hb, vb})
        if (bar) bar->HideScrollbar();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinScrollbarH::DrawControl(HDC dc, const RECT&) {
  for (TWScrollbar* bar : {hb, vb})
    if (bar && bar->sbVisible) bar->Repaint();
  if (hb && vb && hb->sbVisible && vb->sbVisible) {
    RECT corner{vb->sbRect.left, hb->sbRect.top, vb->sbRect.right + 2, hb->sbRect.bottom + 2};
    FillColorRect(dc, corner, SkinColor(3));
  }
}

void TSkinScrollbarH::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate != scDestroyed) FreeBars();
}

}  // namespace skin
