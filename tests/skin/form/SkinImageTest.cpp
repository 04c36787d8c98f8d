#include "skin/form/SkinImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace skin::test {
namespace {

// Each pixel says where it came from: x in the low byte, y in the next.
TBitmap Coordinates(int32_t w, int32_t h) {
  TBitmap b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<TPixel>(y << 8 | x));
  return b;
}
int32_t SourceX(TPixel p) {
  return static_cast<int32_t>(p & 0xFF);
}
int32_t SourceY(TPixel p) {
  return static_cast<int32_t>((p >> 8) & 0xFF);
}

const TColor kMagenta = 0x00FF00FF;

TEST(SkinImageTest, StripFrameSelection) {
  EXPECT_EQ(StripFrameRect(100, 20, 3, 5, false), Rect(40, 0, 60, 20));
  EXPECT_EQ(StripFrameRect(20, 100, 2, 4, true), Rect(0, 25, 20, 50));
  // Out-of-range indexes and counts are clamped, never read outside the strip.
  EXPECT_EQ(StripFrameRect(100, 20, 9, 5, false), Rect(80, 0, 100, 20));
  EXPECT_EQ(StripFrameRect(100, 20, 0, 5, false), Rect(0, 0, 20, 20));
  EXPECT_EQ(StripFrameRect(100, 20, 1, 0, false), Rect(0, 0, 100, 20));
  EXPECT_EQ(StripFrameRect(100, 20, -3, -7, true), Rect(0, 0, 100, 20));
}

TEST(SkinImageTest, StretchCopyIsNearestNeighbour) {
  const TBitmap source = Coordinates(2, 1);
  TBitmap target(6, 1);
  StretchCopy(target, Rect(0, 0, 6, 1), source, Rect(0, 0, 2, 1));
  for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(SourceX(target.Pixel(x, 0)), x / 3);
  const TBitmap wide = Coordinates(6, 1);
  TBitmap narrow(3, 1);
  StretchCopy(narrow, Rect(0, 0, 3, 1), wide, Rect(0, 0, 6, 1));
  EXPECT_EQ(SourceX(narrow.Pixel(0, 0)), 1);  // the last of source pixels 0 and 1
  EXPECT_EQ(SourceX(narrow.Pixel(2, 0)), 5);
  // Centres on a border: enlarging takes the earlier pixel, shrinking the last one.
  TBitmap five(5, 1);
  StretchCopy(five, Rect(0, 0, 5, 1), source, Rect(0, 0, 2, 1));
  const int32_t enlarged[5] = {0, 0, 0, 1, 1};
  for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(SourceX(five.Pixel(x, 0)), enlarged[x]) << x;
  TBitmap two(2, 1);
  StretchCopy(two, Rect(0, 0, 2, 1), Coordinates(5, 1), Rect(0, 0, 5, 1));
  EXPECT_EQ(SourceX(two.Pixel(0, 0)), 2);
  EXPECT_EQ(SourceX(two.Pixel(1, 0)), 4);
  // Parts outside either bitmap are neither read nor written.
  TBitmap small(2, 2, 7);
  StretchCopy(small, Rect(-1, -1, 3, 3), source, Rect(0, 0, 4, 1));
  EXPECT_EQ(small.Pixel(0, 0), 1u);  // destination offset 1 takes source x 1
  EXPECT_EQ(small.Pixel(1, 0), 7u);  // would come from source x 2, which does not exist
}

TEST(SkinImageTest, MarginsAreNeverScaled) {
  // Image 2 of a 2-frame strip of 10 x 10 images, margins 2, 3, 4, 1.
  const TBitmap strip = Coordinates(20, 10);
  const TBitmap out = BuildSkinBitmap(Rect(0, 0, 30, 25), strip, Rect(2, 3, 4, 1), 2, 2, false, false);
  ASSERT_EQ(out.Width(), 30);
  ASSERT_EQ(out.Height(), 25);
  // Corners 1:1 from image 2 (x from 10).
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 2; ++x) EXPECT_EQ(out.Pixel(x, y), static_cast<TPixel>(y << 8 | (10 + x)));
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(out.Pixel(26 + x, 0), static_cast<TPixel>(16 + x));
    EXPECT_EQ(out.Pixel(26 + x, 24), static_cast<TPixel>(9 << 8 | (16 + x)));
  }
  // Left edge: stretched vertically only, its columns stay 10 and 11.
  for (int32_t y = 3; y < 24; ++y) {
    EXPECT_EQ(SourceX(out.Pixel(1, y)), 11);
    EXPECT_GE(SourceY(out.Pixel(1, y)), 3);
    EXPECT_LE(SourceY(out.Pixel(1, y)), 8);
  }
  // Middle: from the image's middle only.
  for (int32_t y = 3; y < 24; ++y)
    for (int32_t x = 2; x < 26; ++x) {
      EXPECT_GE(SourceX(out.Pixel(x, y)), 12);
      EXPECT_LE(SourceX(out.Pixel(x, y)), 15);
    }
}

TEST(SkinImageTest, MarginsAreDroppedWhenTheTargetIsTooSmall) {
  const TBitmap strip = Coordinates(10, 10);
  // 5 wide < 4 + 4: the whole image width is scaled; height keeps its margins.
  const TBitmap out = BuildSkinBitmap(Rect(0, 0, 5, 12), strip, Rect(4, 2, 4, 2), 1, 1, false, false);
  EXPECT_EQ(SourceX(out.Pixel(0, 0)), 1);
  EXPECT_EQ(SourceX(out.Pixel(4, 0)), 9);
  EXPECT_EQ(SourceY(out.Pixel(0, 0)), 0);
  EXPECT_EQ(SourceY(out.Pixel(0, 11)), 9);
  EXPECT_EQ(SourceY(out.Pixel(0, 10)), 8);
}

TEST(SkinImageTest, ZeroMarginsGiveAPlainStretch) {
  const TBitmap strip = Coordinates(4, 4);
  const TBitmap out = BuildSkinBitmap(Rect(0, 0, 8, 8), strip, Rect(0, 0, 0, 0), 1, 1, false, false);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(out.Pixel(x, y), static_cast<TPixel>((y / 2) << 8 | (x / 2)));
}

TEST(SkinImageTest, TiledMiddleIsCutByTheRightAndBottomParts) {
  // 8 x 8 image, margins 2: a 4 x 4 middle tiled over a 7 x 7 middle.
  const TBitmap strip = Coordinates(8, 8);
  const TBitmap out = BuildSkinBitmap(Rect(0, 0, 11, 11), strip, Rect(2, 2, 2, 2), 1, 1, true, false);
  for (int32_t y = 2; y < 9; ++y)
    for (int32_t x = 2; x < 9; ++x) {
      EXPECT_EQ(SourceX(out.Pixel(x, y)), 2 + (x - 2) % 4) << x << "," << y;
      EXPECT_EQ(SourceY(out.Pixel(x, y)), 2 + (y - 2) % 4) << x << "," << y;
    }
  // The right part is drawn after the tiles and covers their overrun.
  for (int32_t y = 2; y < 9; ++y) {
    EXPECT_EQ(SourceX(out.Pixel(9, y)), 6);
    EXPECT_EQ(SourceX(out.Pixel(10, y)), 7);
  }
  EXPECT_EQ(out.Pixel(10, 10), static_cast<TPixel>(7 << 8 | 7));
}

TEST(SkinImageTest, InvertedOrEmptyTargetsDrawNothing) {
  const TBitmap strip = Coordinates(8, 8);
  EXPECT_TRUE(BuildSkinBitmap(Rect(5, 5, 2, 9), strip, TRect{}, 1, 1, false, false).Empty());
  EXPECT_TRUE(BuildSkinBitmap(Rect(5, 5, 5, 9), strip, TRect{}, 1, 1, false, false).Empty());
  TBitmap canvas(10, 10, 3);
  DrawSkinImage(canvas, Rect(5, 5, 2, 9), strip, TRect{}, 1, 1, false, false, false);
  DrawTiledStrip(canvas, Rect(5, 5, 2, 9), strip, TRect{}, 1, 1, false, false);
  DrawSkinFrame(canvas, Rect(5, 9, 9, 5), strip, 1, 1, false);
  DrawSkinFrameCentered(canvas, Rect(5, 9, 9, 5), strip, 1, 1, false);
  DrawSkinImage(canvas, Rect(5, 5, 5, 5), strip, TRect{}, 1, 1, false, false, false);
  EXPECT_EQ(canvas, TBitmap(10, 10, 3));
}

TEST(SkinImageTest, VerticalStripsSelectRowBlocks) {
  const TBitmap strip = Coordinates(4, 12);  // three 4 x 4 images stacked
  const TBitmap out = BuildSkinBitmap(Rect(0, 0, 4, 4), strip, Rect(1, 1, 1, 1), 3, 3, false, true);
  EXPECT_EQ(out.Pixel(0, 0), static_cast<TPixel>(8 << 8 | 0));
  EXPECT_EQ(out.Pixel(3, 3), static_cast<TPixel>(11 << 8 | 3));
}

TEST(SkinImageTest, TransparentDrawingLeavesMagentaOut) {
  TBitmap image(3, 1, MakePixel(1, 2, 3));
  image.SetPixel(1, 0, kMagentaPixel);
  TBitmap canvas(5, 1, 9);
  DrawTransparent(canvas, Rect(1, 0, 4, 1), image, kMagenta);
  EXPECT_EQ(canvas.Pixel(0, 0), 9u);
  EXPECT_EQ(canvas.Pixel(1, 0), MakePixel(1, 2, 3));
  EXPECT_EQ(canvas.Pixel(2, 0), 9u);
  EXPECT_EQ(canvas.Pixel(3, 0), MakePixel(1, 2, 3));
  EXPECT_EQ(canvas.Pixel(4, 0), 9u);
  // Through DrawSkinImage with the transparent flag, and opaque without it.
  TBitmap canvas2(3, 1, 9);
  DrawSkinImage(canvas2, Rect(0, 0, 3, 1), image, TRect{}, 1, 1, true, false, false);
  EXPECT_EQ(canvas2.Pixel(1, 0), 9u);
  DrawSkinImage(canvas2, Rect(0, 0, 3, 1), image, TRect{}, 1, 1, false, false, false);
  EXPECT_EQ(canvas2.Pixel(1, 0), kMagentaPixel);
}

TEST(SkinImageTest, TiledStripRepeatsTheMiddleAndStretchesTheEndsVertically) {
  // A 6 x 2 image: left end 1 wide, middle 3 (x 1..3), right end 2 (x 4..5).
  const TBitmap strip = Coordinates(12, 2);  // two frames
  const TBitmap out = ComposeTiledStrip(10, 4, strip, Rect(1, 0, 2, 0), 2, 2, false);
  const int32_t expected[10] = {6, 7, 8, 9, 7, 8, 9, 7, 10, 11};
  for (int32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(SourceX(out.Pixel(x, 0)), expected[x]) << x;
    EXPECT_EQ(SourceY(out.Pixel(x, 3)), 1) << x;
  }
  // A middle of zero or negative width is skipped, never looped over.
  const TBitmap none = ComposeTiledStrip(50, 2, strip, Rect(3, 0, 3, 0), 1, 2, false);
  EXPECT_EQ(SourceX(none.Pixel(49, 0)), 5);
  EXPECT_EQ(none.Pixel(20, 0), 0u);
}

TEST(SkinImageTest, SingleImagesStretchedOrCentred) {
  const TBitmap strip = Coordinates(8, 2);  // four 2 x 2 images
  TBitmap canvas(6, 6, 0x00FFFFFF);
  DrawSkinFrame(canvas, Rect(0, 0, 4, 4), strip, 3, 4, false);
  EXPECT_EQ(canvas.Pixel(0, 0), 4u);
  EXPECT_EQ(canvas.Pixel(3, 3), static_cast<TPixel>(1 << 8 | 5));
  TBitmap centred(6, 6, 0x00FFFFFF);
  DrawSkinFrameCentered(centred, Rect(0, 0, 6, 5), strip, 2, 4, false);
  // (6 - 2) / 2 = 2 across, (5 - 2) / 2 = 1 down.
  EXPECT_EQ(centred.Pixel(2, 1), 2u);
  EXPECT_EQ(centred.Pixel(3, 2), static_cast<TPixel>(1 << 8 | 3));
  EXPECT_EQ(centred.Pixel(1, 1), 0x00FFFFFFu);
  EXPECT_EQ(centred.Pixel(2, 3), 0x00FFFFFFu);
}

TEST(SkinImageTest, ThreeSliceBar) {
  const TBitmap strip = Coordinates(6, 1);
  TBitmap canvas(12, 2);
  DrawThreeSliceBar(canvas, Rect(0, 0, 12, 2), strip, false, 1, 1, Rect(1, 0, 2, 0));
  EXPECT_EQ(SourceX(canvas.Pixel(0, 1)), 0);
  for (int32_t x = 1; x < 10; ++x) {
    EXPECT_GE(SourceX(canvas.Pixel(x, 0)), 1);
    EXPECT_LE(SourceX(canvas.Pixel(x, 0)), 3);
  }
  EXPECT_EQ(SourceX(canvas.Pixel(10, 0)), 4);
  EXPECT_EQ(SourceX(canvas.Pixel(11, 0)), 5);
  // Narrower than one image: the whole image scaled down.
  TBitmap narrow(3, 1);
  DrawThreeSliceBar(narrow, Rect(0, 0, 3, 1), strip, false, 1, 1, Rect(1, 0, 2, 0));
  EXPECT_EQ(SourceX(narrow.Pixel(0, 0)), 1);
  EXPECT_EQ(SourceX(narrow.Pixel(2, 0)), 5);
}

TEST(SkinImageTest, TileBitmapDrawsWholeTilesAndStopsOnEmptySources) {
  const TBitmap source = Coordinates(5, 5);
  TBitmap canvas(7, 3);
  TileBitmap(canvas, Rect(0, 0, 5, 3), source, Rect(1, 1, 3, 3));
  // The last column of tiles is drawn whole, past the target's right edge.
  EXPECT_EQ(SourceX(canvas.Pixel(4, 0)), 1);
  EXPECT_EQ(SourceX(canvas.Pixel(5, 0)), 2);
  EXPECT_EQ(canvas.Pixel(6, 0), 0u);
  EXPECT_EQ(SourceY(canvas.Pixel(0, 2)), 1);
  TBitmap untouched(4, 4, 1);
  TileBitmap(untouched, Rect(0, 0, 4, 4), source, Rect(2, 2, 2, 4));
  TileBitmap(untouched, Rect(0, 0, 4, 4), source, Rect(2, 2, 1, 4));
  EXPECT_EQ(untouched, TBitmap(4, 4, 1));
  // A tile running past its source is black there.
  TBitmap edge(4, 1, 9);
  TileBitmap(edge, Rect(0, 0, 4, 1), source, Rect(3, 0, 7, 1));
  EXPECT_EQ(SourceX(edge.Pixel(1, 0)), 4);
  EXPECT_EQ(edge.Pixel(2, 0), 0u);
  // A vast target costs only what the canvas shows.
  TileBitmap(untouched, Rect(-2000000000, -2000000000, 2000000000, 2000000000), source, Rect(0, 0, 1, 1));
  EXPECT_EQ(untouched.Pixel(3, 3), 0u);
}

TEST(SkinImageTest, RegionOfAllMagentaIsEmptyAndOfNoMagentaIsTheWholeBitmap) {
  EXPECT_TRUE(RegionRectsFromBitmap(TBitmap(4, 3, kMagentaPixel), 0, 0, kMagenta, 0, 1, 0).empty());
  const std::vector<TRect> full = RegionRectsFromBitmap(TBitmap(4, 3, 0), 10, 20, kMagenta, 0, 1, 0);
  ASSERT_EQ(full.size(), 3u);
  for (int32_t y = 0; y < 3; ++y) EXPECT_EQ(full[static_cast<size_t>(y)], Rect(10, 20 + y, 14, 21 + y));
}

TEST(SkinImageTest, RegionRunsMatchAHandBuiltList) {
  // Rounded corners: row 0 keyed at both ends, row 1 at x 0, row 2 with a hole.
  TBitmap b(5, 3, 0x00336699);
  b.SetPixel(0, 0, kMagentaPixel);
  b.SetPixel(4, 0, MakePixel(255, 1, 255));  // green 1 lies within the tolerance
  b.SetPixel(0, 1, kMagentaPixel);
  b.SetPixel(2, 2, kMagentaPixel);
  b.SetPixel(3, 1, MakePixel(255, 2, 255));  // green 2 does not
  const std::vector<TRect> rects = RegionRectsFromBitmap(b, 1, 0, kMagenta, 0, 1, 0);
  const std::vector<TRect> expected = {Rect(2, 0, 5, 1), Rect(2, 1, 6, 2), Rect(1, 2, 3, 3),
                                       Rect(4, 2, 6, 3)};
  EXPECT_EQ(rects, expected);
}

}  // namespace
}  // namespace skin::test
