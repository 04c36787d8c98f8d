// The window shape of a skinned frame: the window keeps only the pixels its
// border images do not key out, so rounded corners show the desktop.
#include <windows.h>

#include "skin/form/FrameShape.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

HRGN RectRegion(const TRect& r) {
  return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

}  // namespace

void TWinSkinForm::Cropwindow() {
  if (Skinstate == ssDestroyed || !sMainMenu || !fsd || fsd->Empty || !hwnd) return;
  RECT wr{};
  if (!GetWindowRect(hwnd, &wr)) return;
  const int32_t w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (FormStyle == sfsMDIChild && Windowstate != swsNormal) return;
  // The region for this size is in place; MDI children and skin changes
  // always rebuild.
  if (w == crwidth && h == crheight && FormStyle != sfsMDIChild && Skinstate != ssChanging) return;

  const TShapePlan plan = PlanWindowShape(fsd->border, bw, w, h, FormBorder == sbsNone);
  HRGN region = RectRegion(plan.inner);
  if (!region) return;
  if (plan.fromImages) {
    crwidth = w;
    crheight = h;
    for (const TShapePiece& piece : plan.pieces) {
      HRGN part = nullptr;
      if (piece.border == 0) {
        part = RectRegion(piece.rect);
      } else {
        TBitmap picture = BorderPicture(fsd->border[piece.border], piece.border, piece.rect.Width(),
                                        piece.rect.Height(), true);
        part = CreateRegionFromBitmap(picture, piece.rect.Left, piece.rect.Top, 0xFF00FF, kShapeTolerance,
                                      kShapeTolerance, kShapeTolerance);
      }
      if (!part) continue;
      CombineRgn(region, region, part, RGN_OR);
      DeleteObject(part);
    }
  }
  // The window's previous region (if any) is the system's: SetWindowRgn
  // frees it. The new one becomes the system's once the call succeeds.
  if (!SetWindowRgn(hwnd, region, TRUE)) {
    DeleteObject(region);
    return;
  }
  WinRgn = region;
  crop = true;
}

void TWinSkinForm::Uncropwindow() {
  if (!crop) return;
  if (hwnd && IsWindow(hwnd)) SetWindowRgn(hwnd, nullptr, FormStyle == sfsMDIChild);
  WinRgn = nullptr;
  crop = false;
}

}  // namespace skin
