// The portable geometry of the skinned status bar, progress bar, track bar
// and header: where each status panel's background goes and how its text
// aligns, how much of a progress bar is filled over any range, where the
// track channel's three slices and the thumb image go, and which header item
// the mouse is over. The painters (WinSkinBars.h) only carry these out.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/archive/Bitmap.h"

namespace skin {

// ---------------------------------------------------------------- status bar

// A panel's bevel and its face in the three-image StatusBar strip.
enum class TPanelBevel { Lowered, Raised, None };
int PanelFace(TPanelBevel bevel);

// A panel's text alignment (the framework's taLeftJustify, taRightJustify, taCenter).
enum class TPanelAlignment { Left, Right, Center };
// The alignment a panel is drawn with: a right-to-left panel swaps left and right; centre stays.
TPanelAlignment ShownPanelAlignment(TPanelAlignment alignment, bool rightToLeft);
// The DrawText alignment flag of an alignment (DT_LEFT 0, DT_RIGHT 2, DT_CENTER 1).
uint32_t PanelTextFormat(TPanelAlignment alignment);

// The background rectangle of a panel whose reported rectangle is `reported`:
// it reaches 2 pixels into the gap after it, and the last panel reaches the
// bar's right edge.
TRect PanelBackgroundRect(const TRect& reported, bool last, int32_t barRight);
// The area a panel's (or the simple bar's) text is drawn in: 2 pixels in at
// left and right.
TRect PanelTextRect(const TRect& background);
// The rectangle an owner-draw handler is given: 2 pixels in on every side.
TRect PanelDrawRect(const TRect& reported);
// Where the size grip image (w x h) goes in a bar of rectangle rc: one
// pixel in from the bottom-right corner.
TRect SizeGripRect(const TRect& rc, int32_t w, int32_t h);

// ---------------------------------------------------------------- progress bar

// The length of the filled part of a bar `length` pixels long showing
// `position` over the range lo..hi (either order of the limits as the
// control reports them: lo is the lower limit). The position is clamped to
// the range; an empty or inverted range fills nothing. Rounded as MulDiv
// rounds (half away from zero); never more than `length`.
int32_t ProgressFill(int32_t length, int32_t position, int32_t lo, int32_t hi);

// The bar composed lying down: length along the bar, thickness across it.
struct TBarExtent {
  int32_t length = 0;
  int32_t thickness = 0;
};
TBarExtent LyingBarExtent(int32_t width, int32_t height, bool vertical);

// The style-1 chunk fill: a strip `fill` long made of repeated chunk images
// (cw x ch) starting at x 0, placed at (x, y) of the lying bar.
struct TChunkStrip {
  int32_t copies = 0;  // chunk images laid side by side (the last one cut)
  int32_t x = 0;
  int32_t y = 0;
};
TChunkStrip ChunkStripPlacement(int32_t fill, int32_t thickness, int32_t chunkWidth, int32_t chunkHeight,
                                int32_t marginLeft);

// ---------------------------------------------------------------- track bar

// One StretchBlt of the channel: destination and source rectangles.
struct TSliceCopy {
  TRect dst;
  TRect src;
};
// The three copies that draw a channel image (width w, height h, margins m)
// over the channel rectangle the control reports. A vertical channel
// (vertical and a vertical image) reported as if it lay down (wider than
// tall, as Windows reports it) is transposed first; then the image's top and
// bottom margins are kept and it is centred across; a horizontal one keeps the left and right margins and
// starts half the channel's height down when the channel is taller than the
// image. Slices of no size are left out.
std::vector<TSliceCopy> ChannelSlices(const TRect& reported, bool vertical, int32_t w, int32_t h,
                                      const TRect& margins);

// ---------------------------------------------------------------- header

// The mouse-over area of a header item: 3 pixels in at both ends.
TRect HeaderHitRect(const TRect& item);
// The highlighted item after the mouse moved to (x, y) over items laid out
// as `hitRects`: the item under the point, else `current` unchanged.
int32_t HeaderItemAt(const std::vector<TRect>& hitRects, int32_t x, int32_t y, int32_t current);
// The content alignment of a header item's format word: 2 right, 1 centre, 0 left.
int HeaderTextAlignment(uint32_t format);
// The image drawn with an item: its index when the format asks for an image
// (HDF_IMAGE or HDF_OWNERDRAW), else -1.
int32_t HeaderImageIndex(uint32_t format, int32_t image);
// The header image shown: 2 for the highlighted item, 1 otherwise.
int HeaderFace(int32_t item, int32_t highlighted);
// The image count a painter divides a strip by: at least 1.
int32_t SafeFrameCount(int32_t frames);

}  // namespace skin
