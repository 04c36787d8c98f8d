// Where the skinned controls put a caption, an image beside it and the
// focus rectangle around it, given the text size DrawText measured. Pure
// arithmetic, so every rule is tested without a window. Divisions truncate
// toward zero, as the layouts expect.
#pragma once

#include <cstdint>

#include "skin/archive/Bitmap.h"

namespace skin {

// Horizontal alignment flags as DrawText takes them.
inline constexpr uint32_t kAlignLeft = 0;
inline constexpr uint32_t kAlignCenter = 1;  // DT_CENTER
inline constexpr uint32_t kAlignRight = 2;   // DT_RIGHT

// The rectangle a one-block caption of the measured size is drawn into:
// centred both ways (one pixel above the middle) for kAlignCenter; for the
// others centred vertically and as wide as `rc`, so the alignment flag places it.
TRect CaptionTextRect(const TRect& rc, int32_t textWidth, int32_t textHeight, uint32_t alignment);

// The focus rectangle around a caption of the measured size: placed as the
// caption is (centred, or at the right for DT_RIGHT, else at the top left),
// grown by 2 horizontally and 1 vertically, clipped to `rc`.
TRect CaptionFocusRect(const TRect& rc, int32_t textWidth, int32_t textHeight, uint32_t format);

// One line centred in `rc` whatever the alignment.
TRect CenterTextRect(const TRect& rc, int32_t textWidth, int32_t textHeight);

// An image-list image followed by text. First MeasureRect gives the
// rectangle the text is measured in (wrapping); Place then gives both
// rectangles from the measured text size.
struct TImgCaptionLayout {
  // imageWidth / imageHeight: the list's image size; hasImage: a list and
  // an index are given.
  TImgCaptionLayout(const TRect& rc, int32_t imageWidth, int32_t imageHeight, bool hasImage);
  TRect MeasureRect() const;
  // alignment: 0 left, 1 centre, 2 right. An empty text has size 0 x 0.
  void Place(int32_t textWidth, int32_t textHeight, int alignment);

  TRect rc;
  int32_t cx = 0;  // 0 when the image is not drawn
  int32_t cy = 0;
  bool drawImage = false;
  bool hasImage = false;
  TRect image;  // where the image goes (top-left corner used)
  TRect text;   // where the text goes, clipped to rc's left and right
};

}  // namespace skin
