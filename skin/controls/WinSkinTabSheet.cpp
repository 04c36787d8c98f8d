#include "skin/controls/WinSkinTab.h"
#include "skin/model/WinSkinData.h"

namespace skin {

const fw::TClassInfo& TSkinTabSheet::StaticClass() {
  static const fw::TClassInfo info{L"TSkinTabSheet", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinTabSheet::BeforeProc(fw::TMessage& message) {
  if (!TSkinControl::BeforeProc(message)) return false;
  if (kind != 0) return true;
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintMessage(message);
      return false;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      auto dc = reinterpret_cast<HDC>(message.WParam);
      if (fsd && fsd->BGBrush)
        FillRect(dc, &r, fsd->BGBrush);
      else
        FillSkinFace(dc, r);
      message.Result = 1;
      return false;
    }
    default:
      return true;
  }
}

void TSkinTabSheet::DrawControl(HDC dc, const RECT& rc) {
  FillSkinFace(dc, rc);
  // The page's own painting, which paints its windowless children, was swallowed.
  if (control) PaintGraphicChildren(*control, dc);
}

}  // namespace skin
