#include "skin/controls/ButtonGlyph.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

constexpr TPixel kKey = 0x00808000;  // olive, as glyphs often leave transparent
constexpr TPixel kInk = 0x00000080;
constexpr TPixel kFace = 0x00D4D0C8;
constexpr TPixel kLight = 0x00FFFFFF;
constexpr TPixel kShade = 0x00808080;

TEST(ButtonGlyphTest, TransparentColourIsTheBottomLeftPixel) {
  TBitmap g(4, 3, kKey);
  g.SetPixel(0, 0, kInk);
  EXPECT_EQ(GlyphTransparentPixel(g), kKey);
  g.SetPixel(0, 2, kInk);
  EXPECT_EQ(GlyphTransparentPixel(g), kInk);
}

TEST(ButtonGlyphTest, FrameIsCutFromTheStrip) {
  TBitmap strip(12, 2, kKey);
  strip.SetPixel(4, 0, kInk);  // first column of image 2
  strip.SetPixel(11, 1, kLight);
  TBitmap second = GlyphFrameBitmap(strip, ChooseGlyphFrame(12, 2, 3));
  ASSERT_EQ(second.Width(), 4);
  EXPECT_EQ(second.Pixel(0, 0), kInk);
  TBitmap third = GlyphFrameBitmap(strip, ChooseGlyphFrame(12, 3, 3));
  EXPECT_EQ(third.Pixel(3, 1), kLight);
  EXPECT_TRUE(GlyphFrameBitmap(TBitmap(), ChooseGlyphFrame(0, 1, 1)).Empty());
}

TEST(ButtonGlyphTest, EmbossedLookLaysHighlightUnderShadow) {
  // A 4 x 4 glyph with a 2 x 1 dark bar at (1, 1) and a white pixel at (0, 0).
  TBitmap g(4, 4, kKey);
  g.SetPixel(1, 1, kInk);
  g.SetPixel(2, 1, kInk);
  g.SetPixel(0, 0, kLight);
  TBitmap e = EmbossedGlyph(g, kFace, kLight, kShade);
  ASSERT_EQ(e.Width(), 4);
  EXPECT_EQ(e.Pixel(1, 1), kShade);
  EXPECT_EQ(e.Pixel(2, 1), kShade);
  EXPECT_EQ(e.Pixel(3, 2), kLight);  // the highlight shows below-right of the shape
  EXPECT_EQ(e.Pixel(2, 2), kLight);
  EXPECT_EQ(e.Pixel(1, 2), kFace);
  EXPECT_EQ(e.Pixel(0, 0), kFace);  // white vanishes
  EXPECT_EQ(e.Pixel(0, 3), kFace);  // the background becomes the face, left transparent after
  EXPECT_EQ(GlyphTransparentPixel(e), kFace);
}

}  // namespace
}  // namespace skin::test
