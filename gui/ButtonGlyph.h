// How buttons with a picture lay out and draw their glyph and caption when
// they draw themselves: the glyph beside, above or below the caption, with
// a margin from the edge and a spacing between the two (-1: centred).
#pragma once

#include <windows.h>

#include <string>

#include "gui/Bitmap.h"

namespace fw {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphPlacement {
  POINT glyph{};   // top-left of the glyph
  RECT caption{};  // where the caption goes
};

// Places a glyph of glyphW x glyphH and a caption of textW x textH in
// client (either size may be 0).
TGlyphPlacement PlaceGlyph(const RECT& client, int glyphW, int glyphH, int textW, int textH,
                           TButtonLayout layout, int margin, int spacing);

struct TGlyphButtonLook {
  const TBitmap* glyph = nullptr;
  int numGlyphs = 1;
  int glyphIndex = 0;  // 0 up, 1 disabled, 2 pressed, 3 down, as far as there are images
  std::wstring caption;
  TButtonLayout layout = blGlyphLeft;
  int margin = -1;
  int spacing = 4;
  bool enabled = true;
  COLORREF textColour = 0;
};

// Draws the glyph and the caption (its & marks the mnemonic) into client
// with the DC's font; gives the caption's rectangle.
RECT DrawGlyphAndCaption(HDC dc, const RECT& client, const TGlyphButtonLook& look);

}  // namespace fw
