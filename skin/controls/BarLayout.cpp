#include "skin/controls/BarLayout.h"

#include <algorithm>

namespace skin {

// ---------------------------------------------------------------- status bar

int PanelFace(TPanelBevel bevel) {
  switch (bevel) {
    case TPanelBevel::Lowered:
      return 1;
    case TPanelBevel::Raised:
      return 2;
    case TPanelBevel::None:
      break;
  }
  return 3;
}

TPanelAlignment ShownPanelAlignment(TPanelAlignment alignment, bool rightToLeft) {
  if (!rightToLeft) return alignment;
  switch (alignment) {
    case TPanelAlignment::Left:
      return TPanelAlignment::Right;
    case TPanelAlignment::Right:
      return TPanelAlignment::Left;
    case TPanelAlignment::Center:
      break;
  }
  return TPanelAlignment::Center;
}

uint32_t PanelTextFormat(TPanelAlignment alignment) {
  switch (alignment) {
    case TPanelAlignment::Left:
      return 0;
    case TPanelAlignment::Right:
      return 2;
    case TPanelAlignment::Center:
      break;
  }
  return 1;
}

TRect PanelBackgroundRect(const TRect& reported, bool last, int32_t barRight) {
  TRect r = reported;
  r.Right = last ? barRight : r.Right + 2;
  return r;
}

TRect PanelTextRect(const TRect& background) {
  return Rect(background.Left + 2, background.Top, background.Right - 2, background.Bottom);
}

TRect PanelDrawRect(const TRect& reported) {
  return Rect(reported.Left + 2, reported.Top + 2, reported.Right - 2, reported.Bottom - 2);
}

TRect SizeGripRect(const TRect& rc, int32_t w, int32_t h) {
  return Rect(rc.Right - 1 - w, rc.Bottom - 1 - h, rc.Right - 1, rc.Bottom - 1);
}

// ---------------------------------------------------------------- progress bar

int32_t ProgressFill(int32_t length, int32_t position, int32_t lo, int32_t hi) {
  if (length <= 0) return 0;
  int64_t low = std::min(lo, hi);
  int64_t high = std::max(lo, hi);
  int64_t span = high - low;
  if (span <= 0) return 0;
  int64_t done = std::clamp<int64_t>(position, low, high) - low;
  // MulDiv's rounding: half a step and more rounds up.
  int64_t fill = (2 * static_cast<int64_t>(length) * done + span) / (2 * span);
  return static_cast<int32_t>(std::min<int64_t>(fill, length));
}

TBarExtent LyingBarExtent(int32_t width, int32_t height, bool vertical) {
  return vertical ? TBarExtent{height, width} : TBarExtent{width, height};
}

TChunkStrip ChunkStripPlacement(int32_t fill, int32_t thickness, int32_t chunkWidth, int32_t chunkHeight,
                                int32_t marginLeft) {
  TChunkStrip s;
  if (fill <= 0 || chunkWidth <= 0) return s;
  s.copies = fill / chunkWidth + 1;
  s.x = marginLeft + 2;
  s.y = (thickness - chunkHeight) / 2;
  return s;
}

// ---------------------------------------------------------------- track bar

namespace {

void AddSlice(std::vector<TSliceCopy>& out, const TRect& dst, const TRect& src) {
  if (dst.Width() <= 0 || dst.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0) return;
  out.push_back({dst, src});
}

}  // namespace

std::vector<TSliceCopy> ChannelSlices(const TRect& reported, bool vertical, int32_t w, int32_t h,
                                      const TRect& margins) {
  std::vector<TSliceCopy> out;
  if (w <= 0 || h <= 0) return out;
  if (vertical) {
    // Windows reports a standing channel as if it lay down; Wine reports it
    // standing. Only a rectangle lying down is turned.
    TRect r = reported.Width() > reported.Height()
                  ? Rect(reported.Top, reported.Left, reported.Bottom, reported.Right)
                  : reported;
    int32_t t = std::clamp(margins.Top, 0, h);
    int32_t b = std::clamp(margins.Bottom, 0, h - t);
    int32_t x = r.Left + (w < r.Width() ? (r.Width() - w) / 2 : 0);
    AddSlice(out, Rect(x, r.Top, x + w, r.Top + t), Rect(0, 0, w, t));
    AddSlice(out, Rect(x, r.Top + t, x + w, r.Bottom - b), Rect(0, t, w, h - b));
    AddSlice(out, Rect(x, r.Bottom - b, x + w, r.Bottom), Rect(0, h - b, w, h));
    return out;
  }
  const TRect& r = reported;
  int32_t l = std::clamp(margins.Left, 0, w);
  int32_t rr = std::clamp(margins.Right, 0, w - l);
  int32_t y = r.Top + (r.Height() > h ? r.Height() / 2 : 0);
  AddSlice(out, Rect(r.Left, y, r.Left + l, y + h), Rect(0, 0, l, h));
  AddSlice(out, Rect(r.Left + l, y, r.Right - rr, y + h), Rect(l, 0, w - rr, h));
  AddSlice(out, Rect(r.Right - rr, y, r.Right, y + h), Rect(w - rr, 0, w, h));
  return out;
}

// ---------------------------------------------------------------- header

TRect HeaderHitRect(const TRect& item) {
  return Rect(item.Left + 3, item.Top, item.Right - 3, item.Bottom);
}

int32_t HeaderItemAt(const std::vector<TRect>& hitRects, int32_t x, int32_t y, int32_t current) {
  for (size_t i = 0; i < hitRects.size(); ++i) {
    const TRect& r = hitRects[i];
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return static_cast<int32_t>(i);
  }
  return current;
}

int HeaderTextAlignment(uint32_t format) {
  switch (format & 0xFF) {
    case 1:  // HDF_RIGHT
      return 2;
    case 2:  // HDF_CENTER
      return 1;
    default:
      return 0;
  }
}

int32_t HeaderImageIndex(uint32_t format, int32_t image) {
  constexpr uint32_t kImage = 0x800;       // HDF_IMAGE
  constexpr uint32_t kOwnerDraw = 0x8000;  // HDF_OWNERDRAW
  return (format & (kImage | kOwnerDraw)) ? image : -1;
}

int HeaderFace(int32_t item, int32_t highlighted) {
  return item == highlighted ? 2 : 1;
}

int32_t SafeFrameCount(int32_t frames) {
  return frames < 1 ? 1 : frames;
}

}  // namespace skin
