#include <memory>
#include <string>

#include "skin/controls/WinSkinTab.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

}  // namespace

const fw::TClassInfo& TSkinTabBtn::StaticClass() {
  static const fw::TClassInfo info{L"TSkinTabBtn", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinTabBtn::BeforeProc(fw::TMessage& message) {
  if (message.Msg == WM_PAINT) {
    // Taken over even when the skin has no button image to draw the tabs with.
    PaintMessage(message);
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTabBtn::DrawControl(HDC dc, const RECT& rc) {
  if (!hwnd || !fsd || fsd->Button.Map.Empty()) return;
  enabled = control ? control->Enabled() : IsWindowEnabled(hwnd) != FALSE;
  const TDataSkinButton& button = fsd->Button;
  RECT display = rc;
  SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TRect border = PageBorderRect(ToTRect(display), StTop);
  const TRect band = TabBandRect(ToTRect(rc), border, StTop);
  if (band.Width() <= 0 || band.Height() <= 0) return;
  TDibSection buffer(band.Width(), band.Height());
  if (!buffer.Valid()) return;
  HDC temp = buffer.DC();
  FillSkinFace(temp, RECT{0, 0, band.Width(), band.Height()});
  HGDIOBJ oldFont = SelectObject(temp, TabFont(hwnd));
  COLORREF oldText = SetTextColor(temp, RGB(0, 0, 0));
  int count = static_cast<int>(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0));
  int focus = static_cast<int>(SendMessageW(hwnd, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TCM_GETIMAGELIST, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    const TRect t = TabInBand(ToTRect(item), StTop, border, band.Width(), rc.right);
    const int face = TabFace(i, focus);
    DrawSkinImage(temp, t, button.Map, button.r, face, button.frame, button.trans == 1, button.Tile != 0,
                  false);
    if (face == 1 && button.newnormal) SetTextColor(temp, ResolveColor(button.Normalcolor2));
    if (face == 2 && button.newdown) SetTextColor(temp, ResolveColor(button.Downcolor2));
    TTabItem caption = ReadTabItem(hwnd, i);
    DrawImgCaption(temp, RECT{t.Left, t.Top, t.Right, t.Bottom}, images, caption.image, caption.text, 1);
  }
  SetTextColor(temp, oldText);
  SelectObject(temp, oldFont);
  BitBlt(dc, band.Left, band.Top, band.Width(), band.Height(), temp, 0, 0, SRCCOPY);
}

}  // namespace skin
