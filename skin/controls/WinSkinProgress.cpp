#include "skin/archive/ImgUtil.h"
#include "skin/controls/BarLayout.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

constexpr TColor kMagenta = 0x00FF00FF;

}  // namespace

const fw::TClassInfo& TSkinProgress::StaticClass() {
  static const fw::TClassInfo info{L"TSkinProgress", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinProgress::HasBarImage() const {
  return fsd && fsd->progress && !fsd->progress->Map.Empty();
}

bool TSkinProgress::Vertical() const {
  return (GetWindowLongW(hwnd, GWL_STYLE) & PBS_VERTICAL) != 0;
}

bool TSkinProgress::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // Without the image the bar paints itself.
      if (!HasBarImage()) return true;
      PaintMessage(message);
      message.Result = 0;
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

int32_t TSkinProgress::FilledLength(int32_t length) const {
  auto pos = static_cast<int32_t>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
  auto hi = static_cast<int32_t>(SendMessageW(hwnd, PBM_GETRANGE, FALSE, 0));
  auto lo = static_cast<int32_t>(SendMessageW(hwnd, PBM_GETRANGE, TRUE, 0));
  return ProgressFill(length, pos, lo, hi);
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rc) {
  if (!HasBarImage()) return;
  if (fsd->progress->style == 1) {
    DrawControl1(dc, rc);
    return;
  }
  const TDataSkinBorder& progress = *fsd->progress;
  const bool vertical = Vertical();
  TBarExtent bar = LyingBarExtent(rc.right - rc.left, rc.bottom - rc.top, vertical);
  TBitmap picture(bar.length, bar.thickness, ColorToPixel(SkinColor(3)));
  if (picture.Empty()) return;
  const bool tile = progress.Tile != 0;
  DrawSkinImage(picture, Rect(0, 0, bar.length, bar.thickness), progress.Map, progress.r, 1, 2, true, tile,
                false);
  // The filled part is the second image rendered at the filled length, so
  // its right end shows whole.
  int32_t fill = FilledLength(bar.length);
  if (fill > 0)
    DrawSkinImage(picture, Rect(0, 0, fill, bar.thickness), progress.Map, progress.r, 2, 2, true, tile,
                  false);
  // Turned a quarter counter-clockwise, a vertical bar fills from the bottom up.
  if (vertical) RotateLeft(picture);
  BlitBitmap(dc, rc.left, rc.top, picture);
}

void TSkinProgress::DrawControl1(HDC dc, const RECT& rc) {
  if (!fsd->progresschunk || fsd->progresschunk->Map.Empty()) return;
  const TDataSkinBorder& progress = *fsd->progress;
  const TDataSkinObject& chunk = *fsd->progresschunk;
  const bool vertical = Vertical();
  TBarExtent bar = LyingBarExtent(rc.right - rc.left, rc.bottom - rc.top, vertical);
  TBitmap picture(bar.length, bar.thickness, ColorToPixel(SkinColor(3)));
  if (picture.Empty()) return;
  DrawSkinImage(picture, Rect(0, 0, bar.length, bar.thickness), progress.Map, progress.r, 1, 1, true, false,
                false);
  int32_t fill = FilledLength(bar.length);
  if (fill > 0) {
    const int32_t cw = chunk.Map.Width();
    const int32_t ch = chunk.Map.Height();
    if (chunk.Tile == 1) {
      TChunkStrip place = ChunkStripPlacement(fill, bar.thickness, cw, ch, chunk.r.Left);
      TBitmap strip(fill, ch);
      for (int32_t k = 0; k < place.copies; ++k) CopyRect(strip, k * cw, 0, chunk.Map, Rect(0, 0, cw, ch));
      DrawTransparent(picture, Rect(place.x, place.y, place.x + fill, place.y + ch), strip, kMagenta);
    } else {
      // The chunk is stretched to the bar's thickness; its bottom 4 rows fall
      // outside the strip, which sits 2 pixels in.
      TBitmap strip(fill, bar.thickness - 4);
      if (!strip.Empty()) {
        DrawThreeSliceBar(strip, Rect(0, 0, fill, bar.thickness), chunk.Map, false, 1, 1,
                          Rect(chunk.r.Left, 0, chunk.r.Right, 0));
        DrawTransparent(picture, Rect(2, 2, 2 + fill, 2 + strip.Height()), strip, kMagenta);
      }
    }
  }
  if (vertical) RotateLeft(picture);
  BlitBitmap(dc, rc.left, rc.top, picture);
}

}  // namespace skin
