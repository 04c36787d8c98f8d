#include "skin/form/FrameShape.h"

#include "skin/form/SkinImage.h"

namespace skin {

TBitmap BorderPicture(const TDataSkinBorder& element, int k, int32_t width, int32_t height, bool active) {
  if (width <= 0 || height <= 0) return TBitmap{};
  const int index = element.frame <= 1 ? 1 : (active ? 1 : 2);
  // Borders read Tile the other way round: 1 stretches the middle.
  const bool tile = element.Tile != 1;
  const bool vertical = k == 3 || k == 4;
  return BuildSkinBitmap(Rect(0, 0, width, height), element.Map, element.r, index, element.frame, tile,
                         vertical);
}

TShapePlan PlanWindowShape(const std::array<TDataSkinBorder, 5>& border, const TRect& bw, int32_t width,
                           int32_t height, bool frameless) {
  TShapePlan plan;
  bool anyTransparent = false;
  for (int k = 1; k <= 4; ++k) anyTransparent = anyTransparent || border[k].trans != 0;
  if (!anyTransparent) {
    plan.inner = Rect(0, 0, width, height);
    return plan;
  }
  plan.fromImages = true;
  plan.inner = Rect(bw.Left, bw.Top, width - bw.Right, height - bw.Bottom);
  if (frameless) return plan;

  auto piece = [&](const TRect& rect, int k, bool fromImage) {
    plan.pieces.push_back(TShapePiece{rect, fromImage ? k : 0});
  };
  piece(Rect(0, 0, bw.Left, height), 1, border[1].trans == 1 && height > 1);
  piece(Rect(width - bw.Right, 0, width, height), 2, border[2].trans == 1 && height > 1);
  piece(Rect(bw.Left, height - bw.Bottom, width - bw.Right, height), 4,
        border[4].trans == 1 && bw.Bottom > 1);
  const TRect top = Rect(bw.Left, 0, width - bw.Right, bw.Top);
  piece(top, 3, border[3].trans == 1 && bw.Top > 1 && top.Width() > 0 && top.Height() > 0);
  return plan;
}

std::vector<TRect> WindowShapeRects(const TShapePlan& plan, const std::array<TDataSkinBorder, 5>& border) {
  std::vector<TRect> rects;
  auto add = [&](const TRect& r) {
    if (r.Width() > 0 && r.Height() > 0) rects.push_back(r);
  };
  add(plan.inner);
  for (const TShapePiece& p : plan.pieces) {
    if (p.border == 0) {
      add(p.rect);
      continue;
    }
    TBitmap picture = BorderPicture(border[p.border], p.border, p.rect.Width(), p.rect.Height(), true);
    for (const TRect& r : RegionRectsFromBitmap(picture, p.rect.Left, p.rect.Top, 0xFF00FF, kShapeTolerance,
                                                kShapeTolerance, kShapeTolerance))
      rects.push_back(r);
  }
  return rects;
}

}  // namespace skin
