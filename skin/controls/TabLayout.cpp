#include "skin/controls/TabLayout.h"

namespace skin {

TSkinTabPosition TabPositionFromStyle(uint32_t style) {
  bool bottom = (style & kTabStyleBottom) != 0;
  bool vertical = (style & kTabStyleVertical) != 0;
  if (bottom && vertical) return Stright;
  if (bottom) return Stbottom;
  if (vertical) return Stleft;
  return StTop;
}

TRect PageBorderRect(const TRect& displayArea, TSkinTabPosition position) {
  TRect d = Rect(displayArea.Left - 4, displayArea.Top - 4, displayArea.Right + 4, displayArea.Bottom + 4);
  // One pixel into the band, so the border's edge meets the tabs.
  switch (position) {
    case StTop:
      ++d.Top;
      break;
    case Stbottom:
      --d.Bottom;
      break;
    case Stleft:
      ++d.Left;
      break;
    case Stright:
      --d.Right;
      break;
  }
  return d;
}

TRect TabBandRect(const TRect& rc, const TRect& border, TSkinTabPosition position) {
  switch (position) {
    case StTop:
      return Rect(rc.Left, rc.Top, rc.Right, border.Top);
    case Stbottom:
      return Rect(rc.Left, border.Bottom, rc.Right, rc.Bottom);
    case Stleft:
      return Rect(rc.Left, rc.Top, border.Left, rc.Bottom);
    case Stright:
      return Rect(border.Right, rc.Top, rc.Right, rc.Bottom);
  }
  return rc;
}

TBandSize BandBufferSize(const TRect& band, TSkinTabPosition position) {
  if (position == Stleft || position == Stright) return {band.Height(), band.Width()};
  return {band.Width(), band.Height()};
}

TRect TabInBand(const TRect& t, TSkinTabPosition position, const TRect& border, int32_t bufferWidth,
                int32_t rcRight) {
  switch (position) {
    case StTop:
      return Rect(t.Left, t.Top + 1, t.Right, t.Bottom + 1);
    case Stbottom: {
      int32_t up = border.Bottom + 1;
      return Rect(t.Left, t.Top - up, t.Right, t.Bottom - up);
    }
    case Stleft:
      // Lying down: turned counter-clockwise afterwards, the buffer's right
      // end becomes the band's top.
      return Rect(bufferWidth - t.Bottom, t.Left, bufferWidth - t.Top, t.Right);
    case Stright:
      // Turned clockwise afterwards: the buffer's top becomes the band's right.
      return Rect(t.Top - 1, rcRight - t.Right, t.Bottom - 1, rcRight - t.Left);
  }
  return t;
}

int TabFace(int index, int focusIndex) {
  return index == focusIndex ? 2 : 1;
}

TRect CloseBoxRect(const TRect& tab) {
  return Rect(tab.Right - 8, tab.Top + 2, tab.Right - 2, tab.Top + 8);
}

int HitCloseBox(const std::vector<TRect>& boxes, int32_t x, int32_t y) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    const TRect& b = boxes[i];
    if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace skin
