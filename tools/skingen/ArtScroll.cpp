// Scroll bars, up-down buttons and track bars.
#include <vector>

#include "Artwork.h"

namespace skingen {

namespace {

// An arrow cell: face 1 normal, 2 pressed, 3 (unused by the painter, drawn
// as disabled), 4 hot.
Canvas ScrollArrow(const Theme& theme, Direction to, int face) {
  const Palette& p = theme.colours;
  int s = theme.sizes.scrollSize;
  Rgb back = face == 2 ? Mix(p.shaft, p.thumbHot, 0.55) : face == 4 ? Mix(p.shaft, p.thumb, 0.45) : p.shaft;
  Rgb ink = face == 3 ? p.lineLight : face == 1 ? p.thumbHot : p.text;
  Canvas c(s, s, back);
  DrawChevron(c, s / 2.0, s / 2.0, s * 0.4, to, 1.4, ink);
  return c;
}

// A grip centred on the thumb: 1 normal, 2 pressed, 3 hot.
Canvas ThumbGrip(const Theme& theme, bool horizontal, int state) {
  const Palette& p = theme.colours;
  int s = theme.sizes.scrollSize;
  Rgb under = state == 2 ? p.accent : state == 3 ? p.thumbHot : p.thumb;
  Canvas c(s, s);
  DrawThumbGrip(c, s / 2.0, s / 2.0, horizontal, Mix(under, p.field, 0.55));
  return c;
}

}  // namespace

Canvas DrawScrollArrows(const Theme& theme) {
  std::vector<Canvas> cells;
  for (Direction to : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
    for (int face = 1; face <= 4; ++face) cells.push_back(ScrollArrow(theme, to, face));
  for (bool horizontal : {true, false})
    for (int state = 1; state <= 3; ++state) cells.push_back(ThumbGrip(theme, horizontal, state));
  int s = theme.sizes.scrollSize;
  cells.push_back(Canvas(s, s));  // the 23rd frame is never drawn
  return JoinSideBySide(cells);
}

Canvas DrawScrollShaft(const Theme& theme, bool horizontal) {
  const Palette& p = theme.colours;
  int s = theme.sizes.scrollSize;
  return Strip(4, s, s, [&](Canvas& c, int k) {
    c.Fill({0, 0, s, s}, k % 2 == 1 && k != 3 ? p.shaft : Mix(p.shaft, p.face, 0.6));
    // A hairline on the side that faces the content.
    if (horizontal)
      c.HLine(0, s, 0, p.lineLight);
    else
      c.VLine(0, 0, s, p.lineLight);
  });
}

Canvas DrawScrollThumb(const Theme& theme, bool horizontal) {
  const Palette& p = theme.colours;
  int s = theme.sizes.scrollSize;
  Canvas strip = Strip(3, s, s, [&](Canvas& c, int k) {
    Rgb fill = k == 2 ? p.accent : k == 3 ? p.thumbHot : p.thumb;
    double inset = s / 4.0;
    c.FillRoundRect(1, inset, s - 1, s - inset, 3, fill);
  });
  if (horizontal) return strip;
  // The vertical thumb is the horizontal one turned, frame by frame.
  std::vector<Canvas> cells;
  for (int k = 0; k < 3; ++k) cells.push_back(strip.Crop({k * s, 0, (k + 1) * s, s}).RotatedClockwise());
  return JoinSideBySide(cells);
}

Canvas DrawSpinFaces(const Theme& theme, bool vertical) {
  const Palette& p = theme.colours;
  int w = vertical ? 16 : 10, h = vertical ? 10 : 16;
  return Strip(8, w, h, [&](Canvas& c, int k) {
    int face = (k - 1) % 4 + 1;
    Rgb fill = face == 2 ? p.pressedFill : face == 3 ? p.disabledFill : face == 4 ? p.hotFill : p.field;
    Rgb edge = face == 3 ? p.lineLight : face == 1 ? p.line : p.accent;
    c.Fill({0, 0, w, h}, fill);
    c.Outline({0, 0, w, h}, edge);
  });
}

Canvas DrawSpinGlyphs(const Theme& theme, bool vertical) {
  const Palette& p = theme.colours;
  int w = vertical ? 7 : 4, h = vertical ? 4 : 7;
  return Strip(8, w, h, [&](Canvas& c, int k) {
    int face = (k - 1) % 4 + 1;
    bool first = k <= 4;
    Direction to =
        vertical ? (first ? Direction::Up : Direction::Down) : (first ? Direction::Left : Direction::Right);
    Rgb ink = face == 3 ? p.textDisabled : face == 4 ? p.accent : p.text;
    DrawArrowHead(c, w / 2.0, h / 2.0, vertical ? w : h, to, ink);
  });
}

Canvas DrawTrackThumb(const Theme& theme, Direction pointing, bool vertical) {
  const Palette& p = theme.colours;
  int w = vertical ? 20 : 11, h = vertical ? 11 : 20;
  return Strip(5, w, h, [&](Canvas& c, int k) {
    Rgb fill = k == 2 ? p.accent : k == 3 ? p.accentDark : k == 4 ? p.accentHot : p.thumb;
    c.FillRoundRect(0, 0, w, h, 2, fill);
    DrawArrowHead(c, w / 2.0, h / 2.0, 5, pointing, p.field);
  });
}

Canvas DrawTrackChannel(const Theme& theme, bool vertical) {
  const Palette& p = theme.colours;
  int w = vertical ? 4 : 16, h = vertical ? 16 : 4;
  Canvas c(w, h, p.shaft);
  c.Outline({0, 0, w, h}, p.line);
  return c;
}

}  // namespace skingen
