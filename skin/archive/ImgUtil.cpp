#include "skin/archive/ImgUtil.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "skin/archive/WinSkinIni.h"

namespace skin {

namespace {

struct TRgb {
  int red, green, blue;
};

TRgb Channels(uint32_t color) {
  return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
          static_cast<int>((color >> 16) & 0xFF)};
}

TColor FromChannels(int red, int green, int blue) {
  return static_cast<TColor>((static_cast<uint32_t>(red) & 0xFF) |
                             ((static_cast<uint32_t>(green) & 0xFF) << 8) |
                             ((static_cast<uint32_t>(blue) & 0xFF) << 16));
}

struct TGradientCache {
  std::array<std::vector<TColor>, kGradientSlots> slots;
  int counter = 0;
};

TGradientCache& Cache() {
  static TGradientCache cache;
  return cache;
}

}  // namespace

void ReplaceKeyColor(TBitmap& bitmap, TColor color) {
  const TPixel replacement = ColorToPixel(ResolveColor(color));
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    TPixel* row = bitmap.Row(y);
    std::replace(row, row + bitmap.Width(), kMagentaPixel, replacement);
  }
}

void MirrorBitmap(TBitmap& bitmap) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) std::reverse(bitmap.Row(y), bitmap.Row(y) + bitmap.Width());
}

void FlipBitmap(TBitmap& bitmap) {
  for (int32_t top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bitmap.Row(top), bitmap.Row(top) + bitmap.Width(), bitmap.Row(bottom));
}

// Rows and columns are counted from the top-left corner.
void RotateLeft(TBitmap& bitmap) {
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  TBitmap rotated(h, w);
  for (int32_t row = 0; row < h; ++row)
    for (int32_t col = 0; col < w; ++col) rotated.SetPixel(row, w - 1 - col, bitmap.Pixel(col, row));
  bitmap = std::move(rotated);
}

void RotateRight(TBitmap& bitmap) {
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  TBitmap rotated(h, w);
  for (int32_t row = 0; row < h; ++row)
    for (int32_t col = 0; col < w; ++col) rotated.SetPixel(h - 1 - row, col, bitmap.Pixel(col, row));
  bitmap = std::move(rotated);
}

TColor BlendColors(TColor a, TColor b, int w) {
  const TRgb ca = Channels(ResolveColor(a)), cb = Channels(ResolveColor(b));
  const int scale = w < 100 ? 100 : 1000;
  auto mix = [&](int x, int y) { return (x * w + y * (scale - w) + scale / 2) / scale; };
  return FromChannels(mix(ca.red, cb.red), mix(ca.green, cb.green), mix(ca.blue, cb.blue));
}

int ColorSaturation(TColor c) {
  const TRgb rgb = Channels(ResolveColor(c));
  if (rgb.red < 160 && rgb.green < 160 && rgb.blue < 160) return 200;
  const int hi = std::max({rgb.red, rgb.green, rgb.blue});
  const int lo = std::min({rgb.red, rgb.green, rgb.blue});
  if (hi == 0) return 0;
  // Round half to even, as the platform's Round does.
  return static_cast<int>(std::nearbyint(static_cast<double>(hi - lo) / hi * 255.0));
}

int FindGradient(int n, TColor c1, TColor c2) {
  const TGradientCache& cache = Cache();
  for (int slot = kGradientSlots - 1; slot >= 0; --slot) {
    const std::vector<TColor>& colors = cache.slots[static_cast<size_t>(slot)];
    if (static_cast<int>(colors.size()) == n && n > 0 && colors.front() == c1 && colors.back() == c2)
      return slot;
  }
  return -1;
}

int MakeGradient(int n, TColor c1, TColor c2) {
  if (n < 1) throw EAssertionFailed("MakeGradient: a gradient needs at least one colour");
  TGradientCache& cache = Cache();
  const int slot = cache.counter;
  cache.counter = (cache.counter + 1) % kGradientSlots;
  std::vector<TColor>& colors = cache.slots[static_cast<size_t>(slot)];
  colors.assign(static_cast<size_t>(n), 0);
  const TRgb from = Channels(static_cast<uint32_t>(c1)), to = Channels(static_cast<uint32_t>(c2));
  const int dr = to.red - from.red, dg = to.green - from.green, db = to.blue - from.blue;
  if (n == 1) {
    colors[0] = FromChannels(from.red + dr / 2, from.green + dg / 2, from.blue + db / 2);
    return slot;
  }
  const int m = n - 1, half = m / 2;
  for (int i = 0; i <= m; ++i) {
    // 64-bit: a long gradient times a channel difference can pass 2^31.
    auto step = [&](int d) { return static_cast<int>((static_cast<int64_t>(d) * i + half) / m); };
    colors[static_cast<size_t>(i)] =
        FromChannels(from.red + step(dr), from.green + step(dg), from.blue + step(db));
  }
  return slot;
}

int GetGradient(int n, TColor c1, TColor c2) {
  const int slot = FindGradient(n, c1, c2);
  return slot >= 0 ? slot : MakeGradient(n, c1, c2);
}

const std::vector<TColor>& GradientColors(int slot) {
  static const std::vector<TColor> kNone;
  if (slot < 0 || slot >= kGradientSlots) return kNone;
  return Cache().slots[static_cast<size_t>(slot)];
}

void ResetGradientCache() {
  for (std::vector<TColor>& slot : Cache().slots) slot.clear();
  Cache().counter = 0;
}

void FillGradientBands(TBitmap& target, const TRect& rect, TColor c1, bool vertical, TColor c2) {
  FillGradientBands(target, rect, c1, vertical, c2, Rect(0, 0, target.Width(), target.Height()));
}

void FillGradientBands(TBitmap& target, const TRect& rect, TColor c1, bool vertical, TColor c2,
                       const TRect& clip) {
  const TRect box = Rect(std::max(clip.Left, 0), std::max(clip.Top, 0), std::min(clip.Right, target.Width()),
                         std::min(clip.Bottom, target.Height()));
  // Nothing of the rectangle visible: nothing to compute.
  if (std::max(rect.Left, box.Left) >= std::min(rect.Right, box.Right) ||
      std::max(rect.Top, box.Top) >= std::min(rect.Bottom, box.Bottom))
    return;
  const TColor from = static_cast<TColor>(ResolveColor(c1)), to = static_cast<TColor>(ResolveColor(c2));
  const int32_t start = vertical ? rect.Top : rect.Left;
  const int32_t end = vertical ? rect.Bottom : rect.Right;
  const int32_t clipStart = vertical ? box.Top : box.Left;
  const int32_t clipEnd = vertical ? box.Bottom : box.Right;
  const int32_t n = end - start;
  if (n <= 0) return;
  const int32_t first = clipStart > start ? clipStart - start : 0;
  const int32_t last = clipEnd < end ? n - 1 - (end - clipEnd) : n - 1;
  const std::vector<TColor>& colors = GradientColors(GetGradient(n, from, to));
  for (int32_t i = first; i <= last; ++i) {
    const TPixel p = ColorToPixel(static_cast<uint32_t>(colors[static_cast<size_t>(i)]));
    if (vertical)
      target.FillRect(Rect(rect.Left, start + i, rect.Right, start + i + 1), p);
    else
      target.FillRect(Rect(start + i, rect.Top, start + i + 1, rect.Bottom), p);
  }
}

}  // namespace skin
