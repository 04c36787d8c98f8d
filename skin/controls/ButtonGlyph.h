// The glyph pictures of push buttons, portable: one image cut out of a glyph
// strip, the embossed look of a single-image glyph on a disabled button, and
// the colour a glyph leaves transparent.
#pragma once

#include "skin/archive/Bitmap.h"
#include "skin/controls/ButtonLayout.h"

namespace skin {

// The colour a glyph leaves transparent: its bottom-left pixel.
TPixel GlyphTransparentPixel(const TBitmap& glyph);

// The chosen image of a glyph strip (empty when the strip is).
TBitmap GlyphFrameBitmap(const TBitmap& glyph, const TGlyphFrame& frame);

// The classic disabled look: a picture of the glyph's size in `face`, with
// the glyph's shape (its pixels that are neither the transparent colour nor
// near white) laid down once in `highlight` one pixel right and down, then
// in `shadow` in place. The face colour is what stays transparent after.
TBitmap EmbossedGlyph(const TBitmap& glyph, TPixel face, TPixel highlight, TPixel shadow);

}  // namespace skin
