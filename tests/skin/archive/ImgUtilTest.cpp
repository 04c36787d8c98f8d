#include "skin/archive/ImgUtil.h"

#include <gtest/gtest.h>

#include "skin/archive/WinSkinIni.h"

namespace skin::test {
namespace {

TBitmap Numbered(int32_t w, int32_t h) {
  TBitmap b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<TPixel>(y * 1000 + x));
  return b;
}

class FakePlatform : public TSkinPlatform {
 public:
  uint32_t GetSysColor(int index) const override { return index == 15 ? 0x00332211u : 0u; }
  int HorzScrollArrowWidth() const override { return 20; }
};

TEST(ImgUtilTest, ReplaceKeyColorChangesOnlyExactMagenta) {
  TBitmap b(3, 1);
  b.SetPixel(0, 0, kMagentaPixel);
  b.SetPixel(1, 0, MakePixel(255, 1, 255));
  b.SetPixel(2, 0, kMagentaPixel);
  ReplaceKeyColor(b, 0x00030201);
  EXPECT_EQ(b.Pixel(0, 0), MakePixel(1, 2, 3));
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(255, 1, 255));
  EXPECT_EQ(b.Pixel(2, 0), MakePixel(1, 2, 3));
}

TEST(ImgUtilTest, SystemColoursAreResolvedThroughTheInstalledPlatform) {
  FakePlatform fake;
  SetSkinPlatform(&fake);
  TBitmap b(1, 1, kMagentaPixel);
  ReplaceKeyColor(b, SysColor(15));
  EXPECT_EQ(b.Pixel(0, 0), ColorToPixel(0x00332211));
  EXPECT_EQ(ResolveColor(SysColor(15)), 0x00332211u);
  SetSkinPlatform(nullptr);
  EXPECT_EQ(ResolveColor(SysColor(15)), 0x00C8D0D4u);  // classic button face 212, 208, 200
  EXPECT_EQ(ResolveColor(0x7F123456), 0x00123456u);
}

TEST(ImgUtilTest, MirrorAndFlip) {
  TBitmap b = Numbered(3, 2);
  MirrorBitmap(b);
  EXPECT_EQ(b.Pixel(0, 0), 2u);
  EXPECT_EQ(b.Pixel(2, 1), 1000u);
  FlipBitmap(b);
  EXPECT_EQ(b.Pixel(0, 0), 1002u);
  EXPECT_EQ(b.Pixel(2, 1), 0u);
}

TEST(ImgUtilTest, RotateLeftIsCounterClockwiseAndRightUndoesIt) {
  TBitmap b = Numbered(3, 2);
  RotateLeft(b);
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 3);
  // The top-right corner comes to the top-left, the top-left to the bottom-left.
  EXPECT_EQ(b.Pixel(0, 0), 2u);
  EXPECT_EQ(b.Pixel(0, 2), 0u);
  EXPECT_EQ(b.Pixel(1, 2), 1000u);
  TBitmap c = Numbered(3, 2);
  RotateRight(c);
  EXPECT_EQ(c.Pixel(0, 0), 1000u);
  EXPECT_EQ(c.Pixel(1, 0), 0u);

  const TBitmap original = Numbered(90, 19);
  TBitmap turned = original;
  RotateLeft(turned);
  RotateRight(turned);
  EXPECT_EQ(turned, original);
}

TEST(ImgUtilTest, BlendColorsWeights) {
  // 150 is per mille: 15 % grey, 85 % of the other colour.
  EXPECT_EQ(BlendColors(0x808080, 0x000000, 150), 0x00131313);  // (128*150 + 500) / 1000 = 19
  EXPECT_EQ(BlendColors(0x0000FF, 0x000000, 50), 0x00000080);   // rounded average of 255 and 0
  EXPECT_EQ(BlendColors(0x0000FF, 0x000000, 100), 0x0000001A);  // 10 %, not 100 %: (25500 + 500) / 1000
  EXPECT_EQ(BlendColors(0x00FF0000, 0x00FF0000, 30), 0x00FF0000);
  EXPECT_EQ(BlendColors(SysColor(15), clWhite, 0), clWhite);
}

TEST(ImgUtilTest, ColorSaturation) {
  EXPECT_EQ(ColorSaturation(0x0000FF), 255);
  EXPECT_EQ(ColorSaturation(0x808080), 200);
  EXPECT_EQ(ColorSaturation(0xFFFFFF), 0);
  EXPECT_EQ(ColorSaturation(0x00C8D0D4), 14);  // (212 - 200) / 212 * 255 = 14.4
}

TEST(ImgUtilTest, GradientsAreComputedAndCached) {
  ResetGradientCache();
  const int slot = GetGradient(40, clWhite, clBlack);
  const std::vector<TColor>& colors = GradientColors(slot);
  ASSERT_EQ(colors.size(), 40u);
  EXPECT_EQ(colors.front(), clWhite);
  // 255 * i / 39 falling: about 6.5 a line, and the last one step short of black.
  EXPECT_EQ(colors[1] & 0xFF, 249);  // 255 + (-255 + 19) / 39
  EXPECT_EQ(colors.back(), 0x00010101);
  // So the cache never finds it again and each request takes a new slot.
  EXPECT_EQ(FindGradient(40, clWhite, clBlack), -1);
  EXPECT_NE(GetGradient(40, clWhite, clBlack), slot);

  ResetGradientCache();
  const int rising = GetGradient(5, clBlack, 0x000000FF);
  EXPECT_EQ(GradientColors(rising).back(), 0x000000FF);
  EXPECT_EQ(GetGradient(5, clBlack, 0x000000FF), rising);
  EXPECT_EQ(GradientColors(GetGradient(1, clBlack, 0x000000FE)).front(), 0x0000007F);
  EXPECT_THROW(MakeGradient(0, clBlack, clWhite), EAssertionFailed);
}

TEST(ImgUtilTest, SeventeenthGradientReusesSlotZero) {
  ResetGradientCache();
  for (int i = 0; i < kGradientSlots; ++i) EXPECT_EQ(GetGradient(2 + i, clBlack, 0x000000FF), i);
  EXPECT_EQ(GetGradient(100, clBlack, 0x000000FF), 0);
  EXPECT_EQ(FindGradient(2, clBlack, 0x000000FF), -1);
}

TEST(ImgUtilTest, FillGradientBandsClippedKeepsEachLinesColour) {
  ResetGradientCache();
  TBitmap whole(2, 10);
  FillGradientBands(whole, Rect(0, 0, 2, 10), clWhite, true, clBlack);
  EXPECT_EQ(whole.Pixel(0, 0), 0x00FFFFFFu);
  TBitmap lower(2, 10, 0x00ABCDEF);
  FillGradientBands(lower, Rect(0, 0, 2, 10), clWhite, true, clBlack, Rect(0, 5, 2, 10));
  for (int32_t y = 0; y < 10; ++y) EXPECT_EQ(lower.Pixel(1, y), y < 5 ? 0x00ABCDEFu : whole.Pixel(1, y)) << y;

  TBitmap across(4, 1);
  FillGradientBands(across, Rect(0, 0, 4, 1), 0x000000FF, false, 0x00FF0000);
  EXPECT_EQ(across.Pixel(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(across.Pixel(3, 0), MakePixel(1, 0, 255));  // red falls one step short
  TBitmap untouched(2, 2, 5);
  FillGradientBands(untouched, Rect(0, 3, 2, 3), clWhite, true, clBlack);
  FillGradientBands(untouched, Rect(10, 10, 20, 20), clWhite, true, clBlack);
  EXPECT_EQ(untouched, TBitmap(2, 2, 5));
}

}  // namespace
}  // namespace skin::test
