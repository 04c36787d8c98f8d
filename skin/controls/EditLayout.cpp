#include "skin/controls/EditLayout.h"

#include <algorithm>

namespace skin {

// ---------------------------------------------------------------- up-down

bool SpinIsHorizontal(uint32_t style, int32_t dir) {
  return (style & kUpDownHorzStyle) != 0 || dir == 1;
}

std::array<TSpinHalf, 2> SpinHalves(int32_t width, int32_t height, bool horizontal) {
  if (horizontal) {
    int32_t middle = width / 2;
    return {TSpinHalf{Rect(0, 0, middle, height), saLeft},
            TSpinHalf{Rect(middle, 0, width, height), saRight}};
  }
  int32_t middle = height / 2;
  return {TSpinHalf{Rect(0, 0, width, middle), saUp}, TSpinHalf{Rect(0, middle, width, height), saDown}};
}

int SpinFace(bool cursorInHalf, bool down, bool hot, bool enabled) {
  if (!enabled) return 3;
  if (!cursorInHalf) return 1;
  if (down) return 2;
  return hot ? 4 : 1;
}

int SpinFrameIndex(int face, TSpinArrow arrow) {
  int row = arrow >= saLeft ? arrow - saLeft : arrow;
  return face + 4 * row;
}

TRect SpinRectInEdit(const TRect& rc, const TRect& window, const TRect& parent) {
  constexpr int32_t kClearance = 3;
  TRect r = rc;
  int32_t topGap = window.Top - parent.Top;
  int32_t bottomGap = parent.Bottom - window.Bottom;
  int32_t rightGap = parent.Right - window.Right;
  if (topGap < kClearance) r.Top += kClearance - topGap;
  if (bottomGap < kClearance) r.Bottom -= kClearance - bottomGap;
  if (rightGap < kClearance) r.Right -= kClearance - rightGap;
  return r;
}

const std::vector<TPolyline>& SpinChevron(TSpinArrow arrow) {
  // Thin strokes fanning out from the tip, so the chevron reads as a solid
  // triangle at small sizes.
  static const std::vector<TPolyline> kUp{{{0, 0}, {0, -1}}, {{1, 1}, {4, 4}},   {{0, 1}, {3, 4}},
                                          {{0, 2}, {2, 4}},  {{-1, 1}, {-4, 4}}, {{0, 2}, {-3, 4}},
                                          {{0, 1}, {-2, 4}}};
  static const std::vector<TPolyline> kDown{{{0, 3}, {0, 4}}, {{1, 2}, {4, -1}},   {{0, 2}, {3, -1}},
                                            {{0, 1}, {2, 0}}, {{-1, 2}, {-4, -1}}, {{0, 2}, {-3, -1}},
                                            {{0, 1}, {-2, 0}}};
  static const std::vector<TPolyline> kLeft{{{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}}};
  static const std::vector<TPolyline> kRight{{{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}}};
  switch (arrow) {
    case saUp:
      return kUp;
    case saDown:
      return kDown;
    case saLeft:
      return kLeft;
    default:
      return kRight;
  }
}

TSpinPoint SpinGlyphOrigin(const TRect& half, TSpinArrow arrow) {
  TSpinPoint p{half.Left + half.Width() / 2, half.Top + half.Height() / 2};
  if (arrow == saUp || arrow == saDown) p.y -= 2;
  return p;
}

bool SpinPlainShadowed(int face) {
  return face == 2 || face == 4;
}

// ---------------------------------------------------------------- combo boxes

int ComboFace(bool focused, bool down, bool hot, bool enabled) {
  int face = focused ? 4 : 1;
  if (down)
    face = 2;
  else if (hot)
    face = 4;
  return enabled ? face : 3;
}

int ComboFlatFace(bool focused, bool down, bool hot, bool enabled) {
  int face = enabled ? 1 : 3;
  if (focused) face = 4;
  if (down)
    face = 2;
  else if (hot)
    face = 4;
  return face;
}

TComboParts ComboParts(int32_t width, int32_t height, int32_t cx, bool leftButton) {
  if (leftButton)
    return {Rect(cx + 4, 2, width - 2, height - 2), Rect(0, 0, cx + 2, height), Rect(2, 0, cx + 2, height)};
  return {Rect(2, 2, width - cx - 4, height - 2), Rect(width - cx - 2, 0, width, height),
          Rect(width - cx - 2, 0, width - 2, height)};
}

int MirroredFrame(int face, int frames) {
  return frames + 1 - std::clamp(face, 1, std::max(frames, 1));
}

TRect CenteredGlyph(const TRect& area, int32_t glyphWidth, int32_t glyphHeight) {
  int32_t left = area.Left + (area.Width() - glyphWidth) / 2;
  int32_t top = area.Top + (area.Height() - glyphHeight) / 2;
  return Rect(left, top, left + glyphWidth, top + glyphHeight);
}

TComboFlatParts ComboFlatParts(int32_t width, int32_t height, int32_t buttonWidth, int32_t buttonHeight,
                               int32_t thumbWidth, bool leftButton) {
  TComboFlatParts p;
  p.outer = Rect(0, 0, width, height);
  p.frame = Rect(1, 1, width - 1, height - 1);
  TRect inner = Rect(2, 2, width - 2, height - 2);
  p.fill = inner;
  p.button = inner;
  if (leftButton) {
    p.fill.Right = std::min(inner.Right, inner.Left + thumbWidth);
    p.button.Right = std::min(inner.Right, inner.Left + buttonWidth);
  } else {
    p.fill.Left = std::max(inner.Left, inner.Right - thumbWidth);
    p.button.Left = std::max(inner.Left, inner.Right - buttonWidth);
  }
  if (buttonHeight < thumbWidth) p.button.Bottom = std::min(inner.Bottom, inner.Top + buttonHeight);
  return p;
}

// ---------------------------------------------------------------- frames

bool HasBorderFrame(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight) {
  return windowWidth != clientWidth && windowHeight != clientHeight;
}

bool HasPrintedBorder(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight) {
  return windowWidth - clientWidth > 2 && windowHeight - clientHeight > 2;
}

}  // namespace skin
