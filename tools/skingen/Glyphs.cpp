#include "Glyphs.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace skingen {

namespace {

constexpr double kStroke = 1.3;

// The tip and the two base corners of a triangle or chevron pointing `to`.
void Points(double cx, double cy, double span, Direction to, double depth, double p[6]) {
  double h = span / 2;
  switch (to) {
    case Direction::Up:
      p[0] = cx, p[1] = cy - depth / 2, p[2] = cx - h, p[3] = cy + depth / 2, p[4] = cx + h,
      p[5] = cy + depth / 2;
      break;
    case Direction::Down:
      p[0] = cx, p[1] = cy + depth / 2, p[2] = cx - h, p[3] = cy - depth / 2, p[4] = cx + h,
      p[5] = cy - depth / 2;
      break;
    case Direction::Left:
      p[0] = cx - depth / 2, p[1] = cy, p[2] = cx + depth / 2, p[3] = cy - h, p[4] = cx + depth / 2,
      p[5] = cy + h;
      break;
    case Direction::Right:
      p[0] = cx + depth / 2, p[1] = cy, p[2] = cx - depth / 2, p[3] = cy - h, p[4] = cx - depth / 2,
      p[5] = cy + h;
      break;
  }
}

}  // namespace

void DrawCloseGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  c.StrokeLine(x, y, x + size, y + size, kStroke, colour);
  c.StrokeLine(x + size, y, x, y + size, kStroke, colour);
}

void DrawMaximizeGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  int x0 = static_cast<int>(std::lround(x)), y0 = static_cast<int>(std::lround(y));
  int s = static_cast<int>(std::lround(size));
  c.Outline({x0, y0, x0 + s + 1, y0 + s + 1}, colour);
  c.HLine(x0, x0 + s + 1, y0 + 1, colour);  // a heavier top edge, as on a window
}

void DrawRestoreGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  int x0 = static_cast<int>(std::lround(x)), y0 = static_cast<int>(std::lround(y));
  int s = static_cast<int>(std::lround(size));
  int inner = s - 2;
  // The window behind: only its visible top and right edges.
  c.HLine(x0 + 2, x0 + s + 1, y0, colour);
  c.VLine(x0 + s, y0, y0 + inner + 1, colour);
  Box front{x0, y0 + 2, x0 + inner + 1, y0 + s + 1};
  c.Outline(front, colour);
  c.HLine(front.x0, front.x1, front.y0 + 1, colour);
}

void DrawMinimizeGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  int x0 = static_cast<int>(std::lround(x)), y1 = static_cast<int>(std::lround(y + size));
  c.Fill({x0, y1 - 1, x0 + static_cast<int>(std::lround(size)) + 1, y1 + 1}, colour);
}

void DrawHelpGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  double r = size * 0.3, cx = x + size / 2, cy = y + r + 0.5;
  std::vector<std::pair<double, double>> hook;
  for (int i = 0; i <= 12; ++i) {
    double a = std::numbers::pi * (1.0 - 1.4 * i / 12.0);  // from the left round over the top
    hook.push_back({cx + r * std::cos(a), cy - r * std::sin(a)});
  }
  hook.push_back({cx, y + size * 0.68});
  c.StrokePolyline(hook, kStroke, colour);
  c.FillDisc(cx, y + size - 0.3, 0.95, colour);
}

void DrawChevron(Canvas& c, double cx, double cy, double span, Direction to, double width, Rgb colour) {
  double p[6];
  Points(cx, cy, span, to, span / 2, p);
  c.StrokePolyline({{p[2], p[3]}, {p[0], p[1]}, {p[4], p[5]}}, width, colour);
}

void DrawArrowHead(Canvas& c, double cx, double cy, double span, Direction to, Rgb colour) {
  double p[6];
  Points(cx, cy, span, to, span / 2, p);
  c.FillTriangle(p[0], p[1], p[2], p[3], p[4], p[5], colour);
}

void DrawCheckMark(Canvas& c, double x, double y, double size, double width, Rgb colour) {
  c.StrokePolyline({{x, y + size * 0.52}, {x + size * 0.38, y + size * 0.88}, {x + size, y + size * 0.12}},
                   width, colour);
}

void DrawThumbGrip(Canvas& c, double cx, double cy, bool horizontal, Rgb colour) {
  for (int i = -1; i <= 1; ++i) {
    double o = i * 2.0;
    if (horizontal)
      c.StrokeLine(cx + o, cy - 2, cx + o, cy + 2, 1.0, colour);
    else
      c.StrokeLine(cx - 2, cy + o, cx + 2, cy + o, 1.0, colour);
  }
}

void DrawSizeGrip(Canvas& c, int x, int y, int size, Rgb dots) {
  // Dots on every other pixel, filling the lower right triangle.
  for (int dy = 1; dy < size; dy += 3)
    for (int dx = 1; dx < size; dx += 3)
      if (dx + dy >= size - 2) c.Fill({x + dx, y + dy, x + dx + 2, y + dy + 2}, dots);
}

}  // namespace skingen
