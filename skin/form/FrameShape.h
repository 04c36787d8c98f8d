// The pictures of a skinned frame's borders and the window shape cut from
// them, portable. A border is drawn and shaped from the same picture, so the
// window region always matches what is painted.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/model/SkinElements.h"

namespace skin {

// Border element k (1 left, 2 right, 3 top, 4 bottom) rendered at w x h as
// the frame shows it: margins kept, left and right images side by side, top
// and bottom stacked, the middle stretched when the element's Tile is 1 and
// repeated otherwise. Empty for a size of 0 or less.
TBitmap BorderPicture(const TDataSkinBorder& element, int k, int32_t width, int32_t height, bool active);

// One piece of the window region: `rect`, or with `border` set (1..4) the
// pixels of that border's picture (rect-sized, placed at rect's top-left)
// that are not magenta.
struct TShapePiece {
  TRect rect;
  int border = 0;
};

struct TShapePlan {
  // False when no border has transparent parts: the region is the whole window.
  bool fromImages = false;
  TRect inner;  // client area and menu band, or the whole window
  std::vector<TShapePiece> pieces;
};

// The region of a width x height window: the inner rectangle and, when any
// border is transparent, the four border pieces; a piece 1 pixel thin or
// less across, or of a border without transparency, stays a rectangle.
TShapePlan PlanWindowShape(const std::array<TDataSkinBorder, 5>& border, const TRect& bw, int32_t width,
                           int32_t height, bool frameless);

// The rectangles whose union is the planned region (image pieces scanned
// with a tolerance of 1 on each channel of magenta).
std::vector<TRect> WindowShapeRects(const TShapePlan& plan, const std::array<TDataSkinBorder, 5>& border);

// Magenta within this much on each channel counts as transparent.
inline constexpr int kShapeTolerance = 1;

}  // namespace skin
