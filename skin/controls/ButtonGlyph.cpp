#include "skin/controls/ButtonGlyph.h"

#include <vector>

namespace skin {

TPixel GlyphTransparentPixel(const TBitmap& glyph) {
  return glyph.Empty() ? kMagentaPixel : glyph.Pixel(0, glyph.Height() - 1);
}

TBitmap GlyphFrameBitmap(const TBitmap& glyph, const TGlyphFrame& frame) {
  if (glyph.Empty() || frame.frameWidth <= 0) return {};
  int32_t left = (frame.index - 1) * frame.frameWidth;
  return glyph.Crop(Rect(left, 0, left + frame.frameWidth, glyph.Height()));
}

namespace {

// Light pixels vanish in the embossed look, as a monochrome copy drops them.
bool NearWhite(TPixel p) {
  return PixelRed(p) >= 0xC0 && PixelGreen(p) >= 0xC0 && PixelBlue(p) >= 0xC0;
}

}  // namespace

TBitmap EmbossedGlyph(const TBitmap& glyph, TPixel face, TPixel highlight, TPixel shadow) {
  if (glyph.Empty()) return {};
  int32_t w = glyph.Width(), h = glyph.Height();
  TPixel key = GlyphTransparentPixel(glyph);
  std::vector<bool> shape(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      TPixel p = glyph.Pixel(x, y);
      shape[static_cast<size_t>(y) * w + x] = p != key && !NearWhite(p);
    }
  TBitmap out(w, h, face);
  for (int32_t y = 0; y + 1 < h; ++y)
    for (int32_t x = 0; x + 1 < w; ++x)
      if (shape[static_cast<size_t>(y) * w + x]) out.SetPixel(x + 1, y + 1, highlight);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (shape[static_cast<size_t>(y) * w + x]) out.SetPixel(x, y, shadow);
  return out;
}

}  // namespace skin
