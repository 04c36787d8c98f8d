// A 5 x 7 pixel font for the labels of the contact sheet: lower-case letters,
// digits and the punctuation of file names (upper case is drawn as lower).
#pragma once

#include <string>

#include "Canvas.h"

namespace skingen {

constexpr int kGlyphAdvance = 6;
constexpr int kGlyphHeight = 7;

// Draws `text` with its top-left at (x, y), each font pixel `scale` wide.
void DrawLabel(Canvas& c, int x, int y, const std::string& text, Rgb colour, int scale = 1);

}  // namespace skingen
