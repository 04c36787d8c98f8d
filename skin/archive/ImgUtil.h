// ImgUtil: bitmap and colour routines the skin engine needs besides plain
// drawing: the magenta key colour replaced, mirror / flip / rotate for tabs on
// the side of a page and vertical progress bars, colour mixing, saturation,
// and two-colour gradients from a small program-wide cache.
//
// Colours are TColor values (0x00BBGGRR; negative = system colour); bitmaps
// are TBitmap, always 24 bits, so no pixel-format conversion is needed here.
// The gradient cache is shared program-wide without locking: GUI thread only.
#pragma once

#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinPlatform.h"

namespace skin {

// Every pixel of exactly magenta becomes `color` (system colours resolved).
void ReplaceKeyColor(TBitmap& bitmap, TColor color);
// In place: left to right; upside down.
void MirrorBitmap(TBitmap& bitmap);
void FlipBitmap(TBitmap& bitmap);
// In place, width and height exchanged: 90 degrees counter-clockwise / clockwise.
void RotateLeft(TBitmap& bitmap);
void RotateRight(TBitmap& bitmap);

// Mixes a (weight w) with b: w below 100 is per cent, 100 and more per mille.
// System colours are resolved first; the result is a direct colour.
TColor BlendColors(TColor a, TColor b, int w);
// 0..255; 200 when every channel is below 160 (a dark or greyish colour).
int ColorSaturation(TColor c);

inline constexpr int kGradientSlots = 16;
// The cache slot (15 down to 0 searched) holding n colours from c1 to c2, or -1.
int FindGradient(int n, TColor c1, TColor c2);
// Computes the gradient into the next slot in turn; n < 1 is EAssertionFailed.
int MakeGradient(int n, TColor c1, TColor c2);
int GetGradient(int n, TColor c1, TColor c2);
// The colours (direct, 0x00BBGGRR) of a slot; an empty list for a bad slot.
const std::vector<TColor>& GradientColors(int slot);
// Empties every slot and sets the slot counter back to 0 (tests).
void ResetGradientCache();

// Fills `rect` of `target` with a gradient from c1 (top or left) to c2, one
// band a line, painting only the lines inside `clip` (and the bitmap); a
// line keeps the colour it would have had without clipping.
void FillGradientBands(TBitmap& target, const TRect& rect, TColor c1, bool vertical, TColor c2);
void FillGradientBands(TBitmap& target, const TRect& rect, TColor c1, bool vertical, TColor c2,
                       const TRect& clip);

}  // namespace skin
