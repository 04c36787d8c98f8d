// The portable geometry of skinned tab strips: which side the tabs are on,
// the page border and the tab band cut from the control's rectangle, where
// each tab lands in the off-screen band (composed lying down for tabs on the
// left or right and turned upright afterwards), the close box of a tab and
// which face a tab shows. No window is needed, so every rule is tested
// natively.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/archive/Bitmap.h"

namespace skin {

enum TSkinTabPosition { StTop, Stbottom, Stleft, Stright };

// Tab-control styles as the platform numbers them.
inline constexpr uint32_t kTabStyleBottom = 0x2;     // TCS_BOTTOM (TCS_RIGHT with vertical)
inline constexpr uint32_t kTabStyleVertical = 0x80;  // TCS_VERTICAL

TSkinTabPosition TabPositionFromStyle(uint32_t style);

// The page border's rectangle: the display area (as the control reports it)
// grown by 4 on each side and moved one pixel toward the tabs.
TRect PageBorderRect(const TRect& displayArea, TSkinTabPosition position);

// The strip between the control's edge and the page border on the tab side.
TRect TabBandRect(const TRect& rc, const TRect& border, TSkinTabPosition position);

// The size of the off-screen band: the band's own for top and bottom tabs,
// width and height exchanged for tabs on the sides (composed lying down).
struct TBandSize {
  int32_t width = 0;
  int32_t height = 0;
};
TBandSize BandBufferSize(const TRect& band, TSkinTabPosition position);

// Where a tab the control places at `tab` (its own coordinates) is drawn in
// the off-screen band. bufferWidth is the band buffer's width (used for
// left tabs), rcRight the control's right edge (used for right tabs).
TRect TabInBand(const TRect& tab, TSkinTabPosition position, const TRect& border, int32_t bufferWidth,
                int32_t rcRight);

// Face of a tab image strip: 2 for the tab with the focus, 1 for the others.
int TabFace(int index, int focusIndex);

// The 6 x 6 close box near the top right corner of a tab.
TRect CloseBoxRect(const TRect& tab);

// The index of the first close box holding (x, y), right and bottom edges
// excluded; -1 when none does.
int HitCloseBox(const std::vector<TRect>& boxes, int32_t x, int32_t y);

}  // namespace skin
