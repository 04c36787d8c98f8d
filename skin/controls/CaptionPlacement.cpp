#include "skin/controls/CaptionPlacement.h"

#include <algorithm>

namespace skin {

namespace {

TRect Offset(TRect r, int32_t dx, int32_t dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
  return r;
}

TRect Measured(const TRect& rc, int32_t width, int32_t height) {
  return Rect(rc.Left, rc.Top, rc.Left + width, rc.Top + height);
}

}  // namespace

TRect CaptionTextRect(const TRect& rc, int32_t textWidth, int32_t textHeight, uint32_t alignment) {
  TRect r = Measured(rc, textWidth, textHeight);
  if (alignment == kAlignCenter)
    return Offset(r, (rc.Width() - textWidth) / 2, (rc.Height() - textHeight) / 2 - 1);
  r = Offset(r, 0, (rc.Height() - textHeight) / 2 - 1);
  r.Left = rc.Left;
  r.Right = rc.Right;
  return r;
}

TRect CaptionFocusRect(const TRect& rc, int32_t textWidth, int32_t textHeight, uint32_t format) {
  TRect r = Measured(rc, textWidth, textHeight);
  if (format & kAlignCenter)
    r = Offset(r, (rc.Width() - textWidth) / 2, (rc.Height() - textHeight) / 2 - 1);
  else if (format & kAlignRight)
    r = Offset(r, rc.Width() - textWidth, 0);
  r = Rect(r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 1);
  return Rect(std::max(r.Left, rc.Left), std::max(r.Top, rc.Top), std::min(r.Right, rc.Right),
              std::min(r.Bottom, rc.Bottom));
}

TRect CenterTextRect(const TRect& rc, int32_t textWidth, int32_t textHeight) {
  return Offset(Measured(rc, textWidth, textHeight), (rc.Width() - textWidth) / 2,
                (rc.Height() - textHeight) / 2);
}

TImgCaptionLayout::TImgCaptionLayout(const TRect& area, int32_t imageWidth, int32_t imageHeight,
                                     bool withImage)
    : rc(area), cx(imageWidth), cy(imageHeight), hasImage(withImage) {
  drawImage = withImage && imageWidth < area.Width();
  if (!drawImage) cx = 0;
  image = drawImage ? Rect(0, 0, cx, cy) : TRect{};
}

TRect TImgCaptionLayout::MeasureRect() const {
  TRect r = rc;
  if (hasImage) r.Right += cx + 2;
  return r;
}

void TImgCaptionLayout::Place(int32_t textWidth, int32_t textHeight, int alignment) {
  int32_t x = 3;
  if (alignment == 1)
    x = (rc.Width() - cx - textWidth) / 2;
  else if (alignment == 2)
    x = rc.Width() - cx - textWidth - 2;
  if (x < 2) x = 1;
  image = Offset(Offset(image, rc.Left - image.Left, rc.Top - image.Top), x, (rc.Height() - cy) / 2);
  text = Offset(Measured(rc, textWidth, textHeight), x + cx, (rc.Height() - textHeight) / 2);
  text.Left = std::max(text.Left, rc.Left);
  text.Right = std::min(text.Right, rc.Right);
}

}  // namespace skin
