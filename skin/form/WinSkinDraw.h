// The skin drawing primitives on device contexts. Each one composes its
// picture with the portable pixel maths (SkinImage.h) in a 32-bit DIB section
// and puts it on the target in one blit, so a painter never shows partial
// drawing. Transparent drawing reads the target's pixels under the picture
// back, leaves the magenta ones out and writes the result in one blit: the
// outcome is pixel-exact on every device, where raster-operation masks
// depend on the driver.
//
// Every function restores what it selects into the DC it is given and leaves
// nothing of its own behind; an inverted target draws nothing.
#pragma once

#include <windows.h>

#include "skin/archive/Bitmap.h"
#include "skin/form/SkinImage.h"

namespace fw {
class TControl;
}

namespace skin {

// A top-down 32-bit DIB section holding a copy of a TBitmap, selected into
// its own memory DC for as long as it lives.
class TDibSection {
 public:
  TDibSection(int32_t width, int32_t height);
  explicit TDibSection(const TBitmap& bitmap);
  ~TDibSection();
  TDibSection(const TDibSection&) = delete;
  TDibSection& operator=(const TDibSection&) = delete;

  bool Valid() const { return dc_ != nullptr; }
  HDC DC() const { return dc_; }
  HBITMAP Handle() const { return bitmap_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Copies the section's pixels into a TBitmap, and a TBitmap into it.
  TBitmap ToBitmap() const;
  void Assign(const TBitmap& bitmap);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  TPixel* bits_ = nullptr;
};

// The pixels of `rect` of a device context (outside the surface: black).
TBitmap ReadDcPixels(HDC dc, const TRect& rect);
// Puts `bitmap` at (x, y) of the DC, 1:1, in one blit.
void BlitBitmap(HDC dc, int32_t x, int32_t y, const TBitmap& bitmap);

void DrawSkinImage(HDC dc, const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                   int frames, bool transparent, bool tile, bool vertical);
void DrawTiledStrip(HDC dc, const TRect& target, const TBitmap& strip, const TRect& margins, int index,
                    int frames, bool transparent, bool vertical);
void DrawSkinFrame(HDC dc, const TRect& target, const TBitmap& strip, int index, int frames,
                   bool transparent);
void DrawSkinFrameCentered(HDC dc, const TRect& target, const TBitmap& strip, int index, int frames,
                           bool transparent);
void DrawThreeSliceBar(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                       int index, const TRect& margins);
// Repeats `sourceRect` of `source` over the target; the last row and column
// are drawn whole and may run past the target, as the painters expect.
void TileBitmap(HDC dc, const TRect& target, const TBitmap& source, const TRect& sourceRect);
// Copies `bitmap` (from its origin, target-sized) to the target, pixels of
// `key` (0x00BBGGRR) left out.
void DrawTransparent(HDC dc, const TRect& target, const TBitmap& bitmap, TColor key);

// Lets the control's parent paint itself into `dc` under the control
// (erase, then paint), with the DC's state saved and restored around it.
void PaintParentBackground(const fw::TControl& control, HDC dc);

// A new region of the pixels of `bitmap` that are not the key colour (within
// the tolerances), offset by (dx, dy); the caller owns it. Rectangles are
// united in batches of 2000 so large bitmaps stay cheap.
HRGN CreateRegionFromBitmap(const TBitmap& bitmap, int32_t dx, int32_t dy, TColor key, int toleranceRed,
                            int toleranceGreen, int toleranceBlue);

// The engine's shared scratch picture: a DIB section in a memory DC with
// COLORONCOLOR stretching. It exists between the first InitScratchBitmap and
// the matching last FinalScratchBitmap.
class TScratchBitmap {
 public:
  TScratchBitmap();
  ~TScratchBitmap();
  TScratchBitmap(const TScratchBitmap&) = delete;
  TScratchBitmap& operator=(const TScratchBitmap&) = delete;

  HDC DC() const { return dc_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Makes the picture at least this large (contents are not kept when it grows).
  void SetSize(int32_t width, int32_t height);

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

void InitScratchBitmap();
void FinalScratchBitmap();
// The scratch picture, or nullptr while it does not exist.
TScratchBitmap* ScratchBitmap();

}  // namespace skin
