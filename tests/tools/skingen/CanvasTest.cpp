#include <gtest/gtest.h>

#include "Canvas.h"
#include "ImageFiles.h"

namespace skingen {
namespace {

TEST(Canvas, EdgesOfAShapeOverMagentaAreHardSoCutOutsStayExactlyKeyed) {
  Canvas c(16, 16);
  c.FillDisc(8, 8, 6.3, {20, 100, 120});
  const Rgb ink{20, 100, 120};
  for (Rgb p : c.Pixels()) EXPECT_TRUE(p == kMagenta || p == ink);
  EXPECT_EQ(c.At(0, 0), kMagenta);
  EXPECT_EQ(c.At(8, 8), (Rgb{20, 100, 120}));
}

TEST(Canvas, BlendingNeverLandsOnTheKeyColour) {
  Canvas c(1, 1, {255, 0, 200});
  c.Blend(0, 0, {255, 0, 255}, 0.99);
  EXPECT_NE(c.At(0, 0), kMagenta);
}

TEST(Canvas, AntiAliasedEdgesMixOverOpaquePixels) {
  Canvas c(10, 10, {255, 255, 255});
  c.FillRoundRect(0, 0, 10, 10, 4, {0, 0, 0});
  Rgb corner = c.At(0, 0), edge = c.At(1, 1);
  EXPECT_EQ(corner, (Rgb{255, 255, 255}));
  EXPECT_GT(edge.r, 0);
  EXPECT_LT(edge.r, 255);
  EXPECT_EQ(c.At(5, 5), (Rgb{0, 0, 0}));
}

TEST(Canvas, StripsJoinCellByCellAndCropBack) {
  Canvas a(3, 2, {1, 2, 3}), b(3, 2, {4, 5, 6});
  Canvas side = JoinSideBySide({a, b});
  ASSERT_EQ(side.Width(), 6);
  EXPECT_EQ(side.At(2, 1), (Rgb{1, 2, 3}));
  EXPECT_EQ(side.At(3, 0), (Rgb{4, 5, 6}));
  Canvas stacked = JoinStacked({a, b});
  ASSERT_EQ(stacked.Height(), 4);
  EXPECT_EQ(stacked.At(0, 2), (Rgb{4, 5, 6}));
  EXPECT_EQ(side.Crop({3, 0, 6, 2}).Pixels(), b.Pixels());
}

TEST(Canvas, TurnsAndMirrors) {
  Canvas c(3, 2, {0, 0, 0});
  c.Set(0, 0, {9, 9, 9});
  EXPECT_EQ(c.Mirrored().At(2, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(c.Flipped().At(0, 1), (Rgb{9, 9, 9}));
  Canvas turned = c.RotatedClockwise();
  ASSERT_EQ(turned.Width(), 2);
  ASSERT_EQ(turned.Height(), 3);
  EXPECT_EQ(turned.At(1, 0), (Rgb{9, 9, 9}));
}

TEST(ImageFiles, BmpRowsAreBottomUpBgrAndPaddedToFourBytes) {
  Canvas c(1, 2, {0, 0, 0});
  c.Set(0, 0, {10, 20, 30});  // top row
  std::vector<uint8_t> bmp = EncodeBmp24(c);
  ASSERT_EQ(bmp.size(), 54u + 2 * 4);
  // The first stored row is the bottom one (black), then the top one.
  EXPECT_EQ(bmp[54], 0);
  EXPECT_EQ(bmp[58], 30);
  EXPECT_EQ(bmp[59], 20);
  EXPECT_EQ(bmp[60], 10);
}

TEST(ImageFiles, PngHasItsSignatureAndHeader) {
  std::vector<uint8_t> png = EncodePng(Canvas(300, 2, {1, 2, 3}));
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png[1], 'P');
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(png[16 + 2], 1);  // width 300 = 0x12C, big-endian
  EXPECT_EQ(png[16 + 3], 0x2C);
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
}

}  // namespace
}  // namespace skingen
