// The glyphs of skinned push buttons on device contexts: a picture property
// of a framework control read as a skin bitmap, and a glyph image drawn with
// its bottom-left colour left out.
#pragma once

#include <windows.h>

#include <string>

#include "gui/Component.h"
#include "skin/archive/Bitmap.h"
#include "skin/controls/ButtonLayout.h"

namespace skin {

// The picture (a framework bitmap) held by the control's object property
// `name`; empty when the control has none, holds none, or holds something else.
TBitmap ReadPictureProperty(const fw::TComponent* control, const std::wstring& name);

// Draws `image` with its top-left corner at (x, y), its bottom-left colour left out.
void DrawGlyph(HDC dc, int32_t x, int32_t y, const TBitmap& image);

// Image `index` of a strip of `numGlyphs` glyphs as a button shows it: a
// single image asked for its disabled look (index 2) is embossed in the
// system's face, highlight and shadow colours.
TBitmap GlyphImage(const TBitmap& glyph, int index, int numGlyphs);

// The DrawText flag of a caption alignment.
UINT TextAlignFlag(TTextAlign align);

}  // namespace skin
