// The pixel maths of the skin drawing primitives, over TBitmap targets.
//
// Every painter draws image strips through these: the margin-keeping
// renderer (corners kept, edges stretched, middle stretched or tiled), the
// three-part strip with a repeated middle, single images stretched or
// centred, the magenta-keyed transparent copy, and the scan that turns the
// non-magenta pixels of a bitmap into rectangles of a window region. The
// Windows side wraps them for device contexts (overloads taking an HDC); the
// geometry lives only here so it is the same everywhere and tested natively.
//
// Strips: image k of N (k clamped to 1..N, N taken as at least 1) is column
// block k of width W div N over the full height, or with `vertical` row block
// k of height H div N over the full width.
//
// Stretching copies nearest-neighbour like GDI's COLORONCOLOR StretchBlt,
// which steps through a run as a line is drawn: stretching s source pixels
// over d destination pixels, destination offset i takes source offset
// ((2i + 1)s - 1) div 2d when enlarging (the pixel under its centre; a
// centre on a border takes the earlier one), and (2s(i + 1) - d) div 2d when
// shrinking (the last source pixel whose centre falls on it). A copy whose
// source or destination has a width or height of 0 or less draws nothing;
// pixels outside the target or the source are never touched or read.
//
// Every loop that repeats a tile stops when the tile's width or height is 0
// or less, so no input can make it spin.
#pragma once

#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinPlatform.h"

namespace skin {

// The rectangle of image `index` of `frames` in a strip of the given size.
TRect StripFrameRect(int32_t stripWidth, int32_t stripHeight, int index, int frames, bool vertical);
TRect StripFrameRect(const TBitmap& strip, int index, int frames, bool vertical);

// Nearest-neighbour copy of `src` rectangle of `source` onto `dst` rectangle of `target`.
void StretchCopy(TBitmap& target, const TRect& dst, const TBitmap& source, const TRect& src);
// 1:1 copy of `src` of `source` to (x, y) of `target`, clipped on both sides.
void CopyRect(TBitmap& target, int32_t x, int32_t y, const TBitmap& source, const TRect& src);

// The margin-keeping renderer: a new bitmap of the target's size holding
// image `index` drawn with `margins` never scaled (dropped on an axis where
// the target is smaller than the two margins together), edges stretched and
// the middle stretched or tiled; right and bottom parts are drawn after the
// middle and cover tiles that run past it. An inverted or empty target gives
// an empty bitmap.
TBitmap BuildSkinBitmap(const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                        int frames, bool tile, bool vertical);

// BuildSkinBitmap's result drawn at target's top-left, magenta left out when
// `transparent`. Nothing for an inverted target.
void DrawSkinImage(TBitmap& canvas, const TRect& target, const TBitmap& strip, const TRect& margins,
                   int index, int frames, bool transparent, bool tile, bool vertical);

// The three-part strip as drawn into its own temporary bitmap of the
// target's size: left end (margins.Left wide) and right end (margins.Right)
// stretched to the height, the middle of the image repeated between them,
// each piece stretched only vertically.
TBitmap ComposeTiledStrip(int32_t width, int32_t height, const TBitmap& strip, const TRect& margins,
                          int index, int frames, bool vertical);
void DrawTiledStrip(TBitmap& canvas, const TRect& target, const TBitmap& strip, const TRect& margins,
                    int index, int frames, bool transparent, bool vertical);

// Image `index` of a side-by-side strip stretched to the target.
void DrawSkinFrame(TBitmap& canvas, const TRect& target, const TBitmap& strip, int index, int frames,
                   bool transparent);
// Image `index` of a side-by-side strip at its own size, centred in the target.
void DrawSkinFrameCentered(TBitmap& canvas, const TRect& target, const TBitmap& strip, int index, int frames,
                           bool transparent);

// The progress-bar bar drawn straight onto the canvas: left and right
// margins and the middle, all stretched to the target's height; a target
// narrower than one image gets the whole image stretched.
void DrawThreeSliceBar(TBitmap& canvas, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                       int index, const TRect& margins);

// Repeats the source rectangle over the target from its top-left; the last
// row and column are drawn whole (clipped only by the canvas). Parts of the
// source rectangle outside the source are drawn black.
void TileBitmap(TBitmap& canvas, const TRect& target, const TBitmap& source, const TRect& sourceRect);

// Copies `bitmap` (from its origin, target-sized) to the target rectangle,
// leaving out pixels of the key colour (a TColor, 0x00BBGGRR).
void DrawTransparent(TBitmap& canvas, const TRect& target, const TBitmap& bitmap, TColor key);

// The rectangles of a window region made of the pixels that are not the key
// colour: a pixel is transparent when each channel lies between the key's
// channel and that channel plus its tolerance (capped at 255). One rectangle
// (x1 + dx, y + dy, x2 + dx, y + dy + 1) per run of opaque pixels [x1, x2)
// of row y, rows from the top, runs from the left.
std::vector<TRect> RegionRectsFromBitmap(const TBitmap& bitmap, int32_t dx, int32_t dy, TColor key,
                                         int toleranceRed, int toleranceGreen, int toleranceBlue);

}  // namespace skin
