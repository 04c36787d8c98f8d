// A small 24-bit drawing surface for the skin's artwork: solid fills and
// outlines on whole pixels, and shapes given by a point-inside test that are
// anti-aliased by sampling each pixel on a fixed 4 x 4 grid (so the result is
// the same bytes on every machine). Blending never produces the magenta key
// colour by accident: a pixel that is exactly magenta takes a shape's colour
// only when the shape covers at least half of it, so cut-out areas keep a hard,
// exactly keyed edge.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kMagenta{255, 0, 255};

// Linear mix: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);

// Whole-pixel rectangle, right and bottom exclusive.
struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  int Width() const { return x1 - x0; }
  int Height() const { return y1 - y0; }
  Box Shrunk(int d) const { return {x0 + d, y0 + d, x1 - d, y1 - d}; }
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Rgb fill = kMagenta);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void Set(int x, int y, Rgb c);
  // Mixes c into the pixel by `alpha` (0..1), keeping magenta hard-edged.
  void Blend(int x, int y, Rgb c, double alpha);

  void Fill(Box box, Rgb c);
  void Outline(Box box, Rgb c);
  void HLine(int x0, int x1, int y, Rgb c);
  void VLine(int x, int y0, int y1, Rgb c);

  // Anti-aliased shapes. Coordinates are in pixels; pixel (x, y) spans
  // [x, x+1) x [y, y+1), so its centre is (x + 0.5, y + 0.5).
  using Inside = std::function<bool(double x, double y)>;
  void FillShape(Box bounds, const Inside& inside, Rgb c, double opacity = 1.0);
  void FillRoundRect(double x0, double y0, double x1, double y1, double radius, Rgb c);
  // A rounded-rectangle ring `width` pixels wide along the inside of the edge.
  void StrokeRoundRect(double x0, double y0, double x1, double y1, double radius, double width, Rgb c);
  void FillDisc(double cx, double cy, double radius, Rgb c);
  void StrokeLine(double ax, double ay, double bx, double by, double width, Rgb c);
  // Consecutive points joined by strokes of `width` with round joins.
  void StrokePolyline(const std::vector<std::pair<double, double>>& points, double width, Rgb c);
  void FillTriangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c);

  // Copies `src` with its top-left at (x, y); magenta pixels of src are skipped
  // when `keyed`.
  void Paste(const Canvas& src, int x, int y, bool keyed = false);
  // The part of this canvas inside `box`.
  Canvas Crop(Box box) const;
  // Mirror image left to right / top to bottom.
  Canvas Mirrored() const;
  Canvas Flipped() const;
  // Rotated by a quarter turn clockwise (width and height swap).
  Canvas RotatedClockwise() const;
  // Every pixel scaled up `factor` times, with no smoothing.
  Canvas Enlarged(int factor) const;

  const std::vector<Rgb>& Pixels() const { return pixels_; }

 private:
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// Strips of equal cells side by side (or stacked), drawn cell by cell.
Canvas JoinSideBySide(const std::vector<Canvas>& cells);

// A strip of `frames` cells of one size, cell k (from 1) drawn by draw(canvas, k).
template <typename Draw>
Canvas Strip(int frames, int width, int height, Draw draw) {
  std::vector<Canvas> cells;
  for (int k = 1; k <= frames; ++k) {
    Canvas c(width, height);
    draw(c, k);
    cells.push_back(c);
  }
  return JoinSideBySide(cells);
}
Canvas JoinStacked(const std::vector<Canvas>& cells);

}  // namespace skingen
