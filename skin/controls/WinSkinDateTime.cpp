#include <windows.h>

#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

const fw::TClassInfo& TSkinDateTime::StaticClass() {
  static const fw::TClassInfo info{L"TSkinDateTime", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinDateTime::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acolor);
  if (!Inited || !control || arrow) return;
  // Owned by this object, so the arrow goes when the picker's skin does.
  arrow = new TArrowButton(this);
  arrow->Attach(this, control);
}

void TSkinDateTime::AfterProc(fw::TMessage& message) {
  if (message.Msg == WM_SIZE && arrow) {
    arrow->Repaint();
    return;
  }
  TSkinControl::AfterProc(message);
}

void TSkinDateTime::DrawControl(HDC dc, const RECT& rc) {
  if (!hwnd) return;
  if (arrow) arrow->MoveArrow(rc);
  RECT client;
  if (!GetClientRect(hwnd, &client)) return;
  if (!HasBorderFrame(rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom)) return;
  RECT r = rc;
  FrameWith(dc, r, SkinColor(7));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
}

}  // namespace skin
