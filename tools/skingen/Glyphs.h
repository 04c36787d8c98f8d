// The small symbols drawn on skin parts: caption-button glyphs, arrows,
// check marks, grips. Each is drawn centred on a point in a canvas with
// anti-aliased strokes, so it reads well at the 1:1 size it is shown at.
#pragma once

#include "Canvas.h"

namespace skingen {

enum class Direction { Left, Right, Up, Down };

// Glyphs of the caption buttons, drawn to fit a square of side `size` at (x, y).
void DrawCloseGlyph(Canvas& c, double x, double y, double size, Rgb colour);
void DrawMaximizeGlyph(Canvas& c, double x, double y, double size, Rgb colour);
void DrawRestoreGlyph(Canvas& c, double x, double y, double size, Rgb colour);
void DrawMinimizeGlyph(Canvas& c, double x, double y, double size, Rgb colour);
void DrawHelpGlyph(Canvas& c, double x, double y, double size, Rgb colour);

// An open chevron pointing `to`, `span` pixels across, centred on (cx, cy).
void DrawChevron(Canvas& c, double cx, double cy, double span, Direction to, double width, Rgb colour);
// A solid triangle pointing `to`, `span` pixels across its base.
void DrawArrowHead(Canvas& c, double cx, double cy, double span, Direction to, Rgb colour);
// A check mark filling a square of side `size` at (x, y).
void DrawCheckMark(Canvas& c, double x, double y, double size, double width, Rgb colour);
// Three short lines across a scroll thumb, `along` the thumb's length.
void DrawThumbGrip(Canvas& c, double cx, double cy, bool horizontal, Rgb colour);
// The dotted triangle of a status-bar size grip in a square of side `size`.
void DrawSizeGrip(Canvas& c, int x, int y, int size, Rgb dots);

}  // namespace skingen
