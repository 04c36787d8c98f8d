#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

uint8_t Channel(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Signed distance to a rounded rectangle (negative inside).
double RoundRectDistance(double x, double y, double x0, double y0, double x1, double y1, double radius) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  double qx = std::fabs(x - cx) - (x1 - x0) / 2 + radius;
  double qy = std::fabs(y - cy) - (y1 - y0) / 2 + radius;
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - dx * t, py - dy * t);
}

Box BoundsOf(double x0, double y0, double x1, double y1) {
  return {static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)), static_cast<int>(std::ceil(x1)),
          static_cast<int>(std::ceil(y1))};
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (Contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (!Contains(x, y) || alpha <= 0) return;
  Rgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
  if (p == kMagenta) {
    if (alpha >= 0.5) p = c;
    return;
  }
  Rgb mixed = Mix(p, c, std::min(alpha, 1.0));
  // A blend that lands on the key colour would turn opaque art transparent.
  if (mixed == kMagenta) mixed.g = 1;
  p = mixed;
}

void Canvas::Fill(Box box, Rgb c) {
  for (int y = std::max(box.y0, 0); y < std::min(box.y1, height_); ++y)
    for (int x = std::max(box.x0, 0); x < std::min(box.x1, width_); ++x) pixels_[y * width_ + x] = c;
}

void Canvas::Outline(Box box, Rgb c) {
  HLine(box.x0, box.x1, box.y0, c);
  HLine(box.x0, box.x1, box.y1 - 1, c);
  VLine(box.x0, box.y0, box.y1, c);
  VLine(box.x1 - 1, box.y0, box.y1, c);
}

void Canvas::HLine(int x0, int x1, int y, Rgb c) {
  Fill({x0, y, x1, y + 1}, c);
}

void Canvas::VLine(int x, int y0, int y1, Rgb c) {
  Fill({x, y0, x + 1, y1}, c);
}

void Canvas::FillShape(Box bounds, const Inside& inside, Rgb c, double opacity) {
  constexpr int kGrid = 4;
  for (int y = std::max(bounds.y0, 0); y < std::min(bounds.y1, height_); ++y)
    for (int x = std::max(bounds.x0, 0); x < std::min(bounds.x1, width_); ++x) {
      int hits = 0;
      for (int sy = 0; sy < kGrid; ++sy)
        for (int sx = 0; sx < kGrid; ++sx)
          if (inside(x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid)) ++hits;
      if (hits == kGrid * kGrid && opacity >= 1.0)
        Set(x, y, c);
      else
        Blend(x, y, c, opacity * hits / (kGrid * kGrid));
    }
}

void Canvas::FillRoundRect(double x0, double y0, double x1, double y1, double radius, Rgb c) {
  FillShape(
      BoundsOf(x0, y0, x1, y1),
      [=](double x, double y) { return RoundRectDistance(x, y, x0, y0, x1, y1, radius) <= 0; }, c);
}

void Canvas::StrokeRoundRect(double x0, double y0, double x1, double y1, double radius, double width, Rgb c) {
  FillShape(
      BoundsOf(x0, y0, x1, y1),
      [=](double x, double y) {
        double d = RoundRectDistance(x, y, x0, y0, x1, y1, radius);
        return d <= 0 && d > -width;
      },
      c);
}

void Canvas::FillDisc(double cx, double cy, double radius, Rgb c) {
  FillShape(
      BoundsOf(cx - radius, cy - radius, cx + radius, cy + radius),
      [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; }, c);
}

void Canvas::StrokeLine(double ax, double ay, double bx, double by, double width, Rgb c) {
  StrokePolyline({{ax, ay}, {bx, by}}, width, c);
}

void Canvas::StrokePolyline(const std::vector<std::pair<double, double>>& points, double width, Rgb c) {
  if (points.empty()) return;
  double minX = points[0].first, maxX = minX, minY = points[0].second, maxY = minY;
  for (const auto& [px, py] : points) {
    minX = std::min(minX, px), maxX = std::max(maxX, px);
    minY = std::min(minY, py), maxY = std::max(maxY, py);
  }
  double half = width / 2;
  FillShape(
      BoundsOf(minX - half, minY - half, maxX + half, maxY + half),
      [&](double x, double y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
          if (SegmentDistance(x, y, points[i].first, points[i].second, points[i + 1].first,
                              points[i + 1].second) <= half)
            return true;
        return points.size() == 1 && std::hypot(x - points[0].first, y - points[0].second) <= half;
      },
      c);
}

void Canvas::FillTriangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c) {
  auto side = [](double px, double py, double qx, double qy, double x, double y) {
    return (qx - px) * (y - py) - (qy - py) * (x - px);
  };
  FillShape(
      BoundsOf(std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}),
               std::max({ay, by, cy})),
      [=](double x, double y) {
        double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y),
               d3 = side(cx, cy, ax, ay, x, y);
        bool negative = d1 < 0 || d2 < 0 || d3<0, positive = d1> 0 || d2 > 0 || d3 > 0;
        return !(negative && positive);
      },
      c);
}

void Canvas::Paste(const Canvas& src, int x, int y, bool keyed) {
  for (int sy = 0; sy < src.height_; ++sy)
    for (int sx = 0; sx < src.width_; ++sx) {
      Rgb p = src.At(sx, sy);
      if (!keyed || !(p == kMagenta)) Set(x + sx, y + sy, p);
    }
}

Canvas Canvas::Crop(Box box) const {
  Canvas out(box.Width(), box.Height());
  for (int y = 0; y < out.height_; ++y)
    for (int x = 0; x < out.width_; ++x)
      if (Contains(box.x0 + x, box.y0 + y)) out.Set(x, y, At(box.x0 + x, box.y0 + y));
  return out;
}

Canvas Canvas::Mirrored() const {
  Canvas out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(width_ - 1 - x, y, At(x, y));
  return out;
}

Canvas Canvas::Flipped() const {
  Canvas out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(x, height_ - 1 - y, At(x, y));
  return out;
}

Canvas Canvas::RotatedClockwise() const {
  Canvas out(height_, width_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(height_ - 1 - y, x, At(x, y));
  return out;
}

Canvas Canvas::Enlarged(int factor) const {
  Canvas out(width_ * factor, height_ * factor);
  for (int y = 0; y < out.height_; ++y)
    for (int x = 0; x < out.width_; ++x) out.Set(x, y, At(x / factor, y / factor));
  return out;
}

Canvas JoinSideBySide(const std::vector<Canvas>& cells) {
  int width = 0, height = 0;
  for (const Canvas& c : cells) width += c.Width(), height = std::max(height, c.Height());
  Canvas out(width, height);
  int x = 0;
  for (const Canvas& c : cells) out.Paste(c, x, 0), x += c.Width();
  return out;
}

Canvas JoinStacked(const std::vector<Canvas>& cells) {
  int width = 0, height = 0;
  for (const Canvas& c : cells) height += c.Height(), width = std::max(width, c.Width());
  Canvas out(width, height);
  int y = 0;
  for (const Canvas& c : cells) out.Paste(c, 0, y), y += c.Height();
  return out;
}

}  // namespace skingen
