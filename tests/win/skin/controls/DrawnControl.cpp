#include "win/skin/controls/DrawnControl.h"

#include "skin/form/WinSkinDraw.h"

namespace skin {

TBitmap DrawnPicture(TSkinControl& object, HWND window, TPixel background) {
  RECT r;
  GetWindowRect(window, &r);
  TDibSection dib(r.right - r.left, r.bottom - r.top);
  dib.Assign(TBitmap(dib.Width(), dib.Height(), background));
  RECT rc{0, 0, dib.Width(), dib.Height()};
  object.DrawControl(dib.DC(), rc);
  return dib.ToBitmap();
}

}  // namespace skin
