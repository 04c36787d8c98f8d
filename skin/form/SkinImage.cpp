#include "skin/form/SkinImage.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace skin {

namespace {

bool Inverted(const TRect& r) {
  return r.Right < r.Left || r.Bottom < r.Top;
}

// Margins below 0 mean nothing fixed on that side.
TRect NonNegative(const TRect& m) {
  return Rect(std::max(m.Left, 0), std::max(m.Top, 0), std::max(m.Right, 0), std::max(m.Bottom, 0));
}

// The source offset copied to destination offset i when s pixels are
// stretched over d, stepping like GDI's line-drawing stretch: enlarging, the
// source pixel under the destination pixel's centre (a centre on a border
// takes the earlier pixel); shrinking, the last of the source pixels whose
// centres fall on the destination pixel.
int64_t NearestSource(int64_t i, int64_t d, int64_t s) {
  if (d >= s) return ((2 * i + 1) * s - 1) / (2 * d);
  return (2 * s * (i + 1) - d) / (2 * d);
}

// The composed bitmap onto the canvas at (x, y), magenta left out or not.
void PutComposed(TBitmap& canvas, const TRect& target, const TBitmap& composed, bool transparent) {
  if (transparent)
    DrawTransparent(canvas, target, composed, static_cast<TColor>(PixelToColor(kMagentaPixel)));
  else
    CopyRect(canvas, target.Left, target.Top, composed, Rect(0, 0, composed.Width(), composed.Height()));
}

}  // namespace

TRect StripFrameRect(int32_t stripWidth, int32_t stripHeight, int index, int frames, bool vertical) {
  frames = std::max(frames, 1);
  index = std::clamp(index, 1, frames);
  if (vertical) {
    const int32_t h = stripHeight / frames;
    return Rect(0, (index - 1) * h, stripWidth, index * h);
  }
  const int32_t w = stripWidth / frames;
  return Rect((index - 1) * w, 0, index * w, stripHeight);
}

TRect StripFrameRect(const TBitmap& strip, int index, int frames, bool vertical) {
  return StripFrameRect(strip.Width(), strip.Height(), index, frames, vertical);
}

void StretchCopy(TBitmap& target, const TRect& dst, const TBitmap& source, const TRect& src) {
  const int64_t dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // Only the destination pixels inside the target are visited.
  const int64_t x0 = std::max<int64_t>(0, -static_cast<int64_t>(dst.Left));
  const int64_t x1 = std::min<int64_t>(dw, static_cast<int64_t>(target.Width()) - dst.Left);
  const int64_t y0 = std::max<int64_t>(0, -static_cast<int64_t>(dst.Top));
  const int64_t y1 = std::min<int64_t>(dh, static_cast<int64_t>(target.Height()) - dst.Top);
  if (x0 >= x1 || y0 >= y1) return;
  std::vector<int32_t> sourceColumn(static_cast<size_t>(x1 - x0));
  for (int64_t i = x0; i < x1; ++i)
    sourceColumn[static_cast<size_t>(i - x0)] = static_cast<int32_t>(src.Left + NearestSource(i, dw, sw));
  for (int64_t j = y0; j < y1; ++j) {
    const int64_t sy = src.Top + NearestSource(j, dh, sh);
    if (sy < 0 || sy >= source.Height()) continue;
    const TPixel* in = source.Row(static_cast<int32_t>(sy));
    TPixel* out = target.Row(static_cast<int32_t>(dst.Top + j)) + dst.Left;
    for (int64_t i = x0; i < x1; ++i) {
      const int32_t sx = sourceColumn[static_cast<size_t>(i - x0)];
      if (sx >= 0 && sx < source.Width()) out[i] = in[sx];
    }
  }
}

void CopyRect(TBitmap& target, int32_t x, int32_t y, const TBitmap& source, const TRect& src) {
  StretchCopy(target, Rect(x, y, x + src.Width(), y + src.Height()), source, src);
}

TBitmap BuildSkinBitmap(const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                        int frames, bool tile, bool vertical) {
  TBitmap result(target.Width(), target.Height());
  if (result.Empty()) return result;
  const TRect image = StripFrameRect(strip, index, frames, vertical);
  const int32_t x0 = image.Left, y0 = image.Top, w = image.Width(), h = image.Height();
  const int32_t dw = result.Width(), dh = result.Height();
  TRect m = NonNegative(margins);
  if (static_cast<int64_t>(dw) < static_cast<int64_t>(m.Left) + m.Right) m.Left = m.Right = 0;
  if (static_cast<int64_t>(dh) < static_cast<int64_t>(m.Top) + m.Bottom) m.Top = m.Bottom = 0;
  const int32_t L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;

  if (L > 0 && T > 0) StretchCopy(result, Rect(0, 0, L, T), strip, Rect(x0, y0, x0 + L, y0 + T));
  if (L > 0 && B > 0)
    StretchCopy(result, Rect(0, dh - B, L, dh), strip, Rect(x0, y0 + h - B, x0 + L, y0 + h));
  if (R > 0 && T > 0)
    StretchCopy(result, Rect(dw - R, 0, dw, T), strip, Rect(x0 + w - R, y0, x0 + w, y0 + T));
  if (L > 0) StretchCopy(result, Rect(0, T, L, dh - B), strip, Rect(x0, y0 + T, x0 + L, y0 + h - B));
  if (T > 0) StretchCopy(result, Rect(L, 0, dw - R, T), strip, Rect(x0 + L, y0, x0 + w - R, y0 + T));
  const TRect middle = Rect(L, T, dw - R, dh - B);
  const TRect middleSource = Rect(x0 + L, y0 + T, x0 + w - R, y0 + h - B);
  if (tile)
    TileBitmap(result, middle, strip, middleSource);
  else
    StretchCopy(result, middle, strip, middleSource);
  if (R > 0 && B > 0)
    StretchCopy(result, Rect(dw - R, dh - B, dw, dh), strip, Rect(x0 + w - R, y0 + h - B, x0 + w, y0 + h));
  if (R > 0)
    StretchCopy(result, Rect(dw - R, T, dw, dh - B), strip, Rect(x0 + w - R, y0 + T, x0 + w, y0 + h - B));
  if (B > 0)
    StretchCopy(result, Rect(L, dh - B, dw - R, dh), strip, Rect(x0 + L, y0 + h - B, x0 + w - R, y0 + h));
  return result;
}

void DrawSkinImage(TBitmap& canvas, const TRect& target, const TBitmap& strip, const TRect& margins,
                   int index, int frames, bool transparent, bool tile, bool vertical) {
  if (Inverted(target)) return;
  const TBitmap composed = BuildSkinBitmap(target, strip, margins, index, frames, tile, vertical);
  PutComposed(canvas, target, composed, transparent);
}

TBitmap ComposeTiledStrip(int32_t width, int32_t height, const TBitmap& strip, const TRect& margins,
                          int index, int frames, bool vertical) {
  TBitmap result(width, height);
  if (result.Empty()) return result;
  const TRect image = StripFrameRect(strip, index, frames, vertical);
  const int32_t x0 = image.Left, y0 = image.Top, w = image.Width(), h = image.Height();
  const TRect m = NonNegative(margins);
  const int32_t L = m.Left, R = m.Right, dw = result.Width(), dh = result.Height();
  StretchCopy(result, Rect(0, 0, L, dh), strip, Rect(x0, y0, x0 + L, y0 + h));
  const int32_t middle = w - L - R;
  if (middle > 0) {
    for (int64_t x = L; x < static_cast<int64_t>(dw) - R; x += middle) {
      const int32_t left = static_cast<int32_t>(x);
      StretchCopy(result, Rect(left, 0, left + middle, dh), strip, Rect(x0 + L, y0, x0 + L + middle, y0 + h));
    }
  }
  StretchCopy(result, Rect(dw - R, 0, dw, dh), strip, Rect(x0 + w - R, y0, x0 + w, y0 + h));
  return result;
}

void DrawTiledStrip(TBitmap& canvas, const TRect& target, const TBitmap& strip, const TRect& margins,
                    int index, int frames, bool transparent, bool vertical) {
  if (Inverted(target)) return;
  const TBitmap composed =
      ComposeTiledStrip(target.Width(), target.Height(), strip, margins, index, frames, vertical);
  PutComposed(canvas, target, composed, transparent);
}

void DrawSkinFrame(TBitmap& canvas, const TRect& target, const TBitmap& strip, int index, int frames,
                   bool transparent) {
  if (Inverted(target)) return;
  TBitmap composed(target.Width(), target.Height());
  StretchCopy(composed, Rect(0, 0, composed.Width(), composed.Height()), strip,
              StripFrameRect(strip, index, frames, false));
  PutComposed(canvas, target, composed, transparent);
}

void DrawSkinFrameCentered(TBitmap& canvas, const TRect& target, const TBitmap& strip, int index, int frames,
                           bool transparent) {
  if (Inverted(target)) return;
  const TBitmap image = strip.Crop(StripFrameRect(strip, index, frames, false));
  const int32_t x = target.Left + (target.Width() - image.Width()) / 2;
  const int32_t y = target.Top + (target.Height() - image.Height()) / 2;
  PutComposed(canvas, Rect(x, y, x + image.Width(), y + image.Height()), image, transparent);
}

void DrawThreeSliceBar(TBitmap& canvas, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                       int index, const TRect& margins) {
  const TRect image = StripFrameRect(strip, index, frames, vertical);
  const int32_t x0 = image.Left, y0 = image.Top, w = image.Width(), h = image.Height();
  if (target.Width() < w) {
    StretchCopy(canvas, target, strip, image);
    return;
  }
  const TRect m = NonNegative(margins);
  const int32_t L = m.Left, R = m.Right;
  StretchCopy(canvas, Rect(target.Left, target.Top, target.Left + L, target.Bottom), strip,
              Rect(x0, y0, x0 + L, y0 + h));
  StretchCopy(canvas, Rect(target.Left + L, target.Top, target.Right - R, target.Bottom), strip,
              Rect(x0 + L, y0, x0 + w - R, y0 + h));
  StretchCopy(canvas, Rect(target.Right - R, target.Top, target.Right, target.Bottom), strip,
              Rect(x0 + w - R, y0, x0 + w, y0 + h));
}

void TileBitmap(TBitmap& canvas, const TRect& target, const TBitmap& source, const TRect& sourceRect) {
  const int64_t tw = sourceRect.Width(), th = sourceRect.Height();
  if (tw <= 0 || th <= 0 || target.Right <= target.Left || target.Bottom <= target.Top) return;
  // Tiles start at the target's left and top and are drawn whole, so the
  // covered area ends with the last tile that starts inside the target.
  const int64_t coveredRight =
      target.Left + (static_cast<int64_t>(target.Right) - target.Left + tw - 1) / tw * tw;
  const int64_t coveredBottom =
      target.Top + (static_cast<int64_t>(target.Bottom) - target.Top + th - 1) / th * th;
  const int64_t x0 = std::max<int64_t>(target.Left, 0), x1 = std::min<int64_t>(coveredRight, canvas.Width());
  const int64_t y0 = std::max<int64_t>(target.Top, 0), y1 = std::min<int64_t>(coveredBottom, canvas.Height());
  // Pixel by pixel rather than tile by tile: a 1 x 1 tile over a window costs
  // no more than a copy. Tile parts outside the source are black, as the
  // temporary tile bitmap of a device-context copy would be.
  for (int64_t y = y0; y < y1; ++y) {
    const int64_t sy = sourceRect.Top + (y - target.Top) % th;
    const bool rowInside = sy >= 0 && sy < source.Height();
    TPixel* out = canvas.Row(static_cast<int32_t>(y));
    for (int64_t x = x0; x < x1; ++x) {
      const int64_t sx = sourceRect.Left + (x - target.Left) % tw;
      out[x] = rowInside && sx >= 0 && sx < source.Width()
                   ? source.Pixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy))
                   : 0;
    }
  }
}

void DrawTransparent(TBitmap& canvas, const TRect& target, const TBitmap& bitmap, TColor key) {
  if (Inverted(target)) return;
  const TPixel keyPixel = ColorToPixel(ResolveColor(key));
  const int32_t width = std::min(target.Width(), bitmap.Width());
  const int32_t height = std::min(target.Height(), bitmap.Height());
  for (int32_t y = 0; y < height; ++y) {
    const int64_t cy = static_cast<int64_t>(target.Top) + y;
    if (cy < 0 || cy >= canvas.Height()) continue;
    const TPixel* in = bitmap.Row(y);
    TPixel* out = canvas.Row(static_cast<int32_t>(cy));
    for (int32_t x = 0; x < width; ++x) {
      const int64_t cx = static_cast<int64_t>(target.Left) + x;
      if (cx >= 0 && cx < canvas.Width() && in[x] != keyPixel) out[cx] = in[x];
    }
  }
}

std::vector<TRect> RegionRectsFromBitmap(const TBitmap& bitmap, int32_t dx, int32_t dy, TColor key,
                                         int toleranceRed, int toleranceGreen, int toleranceBlue) {
  const uint32_t k = ResolveColor(key);
  const int kr = static_cast<int>(k & 0xFF), kg = static_cast<int>((k >> 8) & 0xFF),
            kb = static_cast<int>((k >> 16) & 0xFF);
  const int ur = std::min(255, kr + toleranceRed), ug = std::min(255, kg + toleranceGreen),
            ub = std::min(255, kb + toleranceBlue);
  auto transparent = [&](TPixel p) {
    const int r = PixelRed(p), g = PixelGreen(p), b = PixelBlue(p);
    return kr <= r && r <= ur && kg <= g && g <= ug && kb <= b && b <= ub;
  };
  std::vector<TRect> rects;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const TPixel* row = bitmap.Row(y);
    int32_t x = 0;
    while (x < bitmap.Width()) {
      while (x < bitmap.Width() && transparent(row[x])) ++x;
      const int32_t start = x;
      while (x < bitmap.Width() && !transparent(row[x])) ++x;
      if (x > start) rects.push_back(Rect(start + dx, y + dy, x + dx, y + dy + 1));
    }
  }
  return rects;
}

}  // namespace skin
