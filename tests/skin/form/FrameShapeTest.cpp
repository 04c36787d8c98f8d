#include "skin/form/FrameShape.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

constexpr TPixel kActive = MakePixel(10, 120, 130);
constexpr TPixel kInactive = MakePixel(150, 150, 150);

// Border strips of two images (active, inactive): left and right 6 wide
// side by side, top and bottom 20 and 4 high stacked. The top-left 3 x 3 of
// the left image and the top-right 3 x 3 of the right image are magenta, as
// rounded outer corners are.
std::array<TDataSkinBorder, 5> Borders(int trans) {
  std::array<TDataSkinBorder, 5> b;
  b[1].Map = TBitmap(12, 40, kActive);
  b[1].Map.FillRect(Rect(6, 0, 12, 40), kInactive);
  b[1].Map.FillRect(Rect(0, 0, 3, 3), kMagentaPixel);
  b[1].r = Rect(0, 20, 0, 4);
  b[2].Map = TBitmap(12, 40, kActive);
  b[2].Map.FillRect(Rect(6, 0, 12, 40), kInactive);
  b[2].Map.FillRect(Rect(3, 0, 6, 3), kMagentaPixel);
  b[2].r = Rect(0, 20, 0, 4);
  b[3].Map = TBitmap(30, 40, kActive);
  b[3].Map.FillRect(Rect(0, 20, 30, 40), kInactive);
  b[4].Map = TBitmap(30, 8, kActive);
  b[4].Map.FillRect(Rect(0, 4, 30, 8), kInactive);
  for (int k = 1; k <= 4; ++k) {
    b[k].frame = 2;
    b[k].trans = trans;
    b[k].Tile = 1;
  }
  return b;
}

const TRect kBw = Rect(6, 20, 6, 4);

bool Covers(const std::vector<TRect>& rects, int32_t x, int32_t y) {
  for (const TRect& r : rects)
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return true;
  return false;
}

TEST(FrameShapeTest, PictureUsesImageTwoWhenInactiveAndOneForASingleImage) {
  std::array<TDataSkinBorder, 5> b = Borders(1);
  EXPECT_EQ(BorderPicture(b[3], 3, 50, 20, true).Pixel(25, 10), kActive);
  EXPECT_EQ(BorderPicture(b[3], 3, 50, 20, false).Pixel(25, 10), kInactive);
  EXPECT_EQ(BorderPicture(b[1], 1, 6, 100, false).Pixel(4, 50), kInactive);
  b[3].frame = 1;
  b[3].Map = TBitmap(30, 20, kActive);
  EXPECT_EQ(BorderPicture(b[3], 3, 50, 20, false).Pixel(25, 10), kActive);
  EXPECT_TRUE(BorderPicture(b[3], 3, 0, 20, true).Empty());
  EXPECT_TRUE(BorderPicture(b[3], 3, 50, -1, true).Empty());
}

TEST(FrameShapeTest, PictureKeepsTheFixedCornerAtAnyHeight) {
  std::array<TDataSkinBorder, 5> b = Borders(1);
  TBitmap left = BorderPicture(b[1], 1, 6, 300, true);
  EXPECT_EQ(left.Pixel(0, 0), kMagentaPixel);
  EXPECT_EQ(left.Pixel(2, 2), kMagentaPixel);
  EXPECT_EQ(left.Pixel(3, 0), kActive);
  EXPECT_EQ(left.Pixel(0, 3), kActive);
  EXPECT_EQ(left.Pixel(0, 299), kActive);
}

TEST(FrameShapeTest, OpaqueBordersGiveTheWholeWindow) {
  TShapePlan plan = PlanWindowShape(Borders(0), kBw, 200, 100, false);
  EXPECT_FALSE(plan.fromImages);
  EXPECT_EQ(plan.inner, Rect(0, 0, 200, 100));
  EXPECT_TRUE(plan.pieces.empty());
}

TEST(FrameShapeTest, TransparentCornersAreCutOut) {
  std::array<TDataSkinBorder, 5> b = Borders(1);
  TShapePlan plan = PlanWindowShape(b, kBw, 200, 100, false);
  EXPECT_TRUE(plan.fromImages);
  EXPECT_EQ(plan.inner, Rect(6, 20, 194, 96));
  ASSERT_EQ(plan.pieces.size(), 4u);
  for (const TShapePiece& p : plan.pieces) EXPECT_NE(p.border, 0);
  std::vector<TRect> rects = WindowShapeRects(plan, b);
  EXPECT_FALSE(Covers(rects, 0, 0));
  EXPECT_FALSE(Covers(rects, 2, 2));
  EXPECT_FALSE(Covers(rects, 199, 0));
  EXPECT_FALSE(Covers(rects, 197, 2));
  EXPECT_TRUE(Covers(rects, 3, 0));
  EXPECT_TRUE(Covers(rects, 196, 0));
  EXPECT_TRUE(Covers(rects, 0, 99));
  EXPECT_TRUE(Covers(rects, 199, 99));
  EXPECT_TRUE(Covers(rects, 100, 50));
  EXPECT_TRUE(Covers(rects, 100, 0));
  EXPECT_FALSE(Covers(rects, 200, 50));
  EXPECT_FALSE(Covers(rects, 100, 100));
}

TEST(FrameShapeTest, NearMagentaCountsAsTransparent) {
  std::array<TDataSkinBorder, 5> b = Borders(1);
  // Green may be 1 above the key's; 2 is a colour of its own.
  b[1].Map.SetPixel(0, 0, MakePixel(255, 1, 255));
  b[1].Map.SetPixel(1, 0, MakePixel(255, 2, 255));
  std::vector<TRect> rects = WindowShapeRects(PlanWindowShape(b, kBw, 200, 100, false), b);
  EXPECT_FALSE(Covers(rects, 0, 0));
  EXPECT_TRUE(Covers(rects, 1, 0));
}

TEST(FrameShapeTest, OnlyTheBottomTransparentStillShapesTheBottom) {
  std::array<TDataSkinBorder, 5> b = Borders(0);
  b[4].trans = 1;
  b[4].Map.FillRect(Rect(0, 2, 30, 4), kMagentaPixel);  // the lower half of the active image
  b[4].r = Rect(0, 0, 0, 0);
  TShapePlan plan = PlanWindowShape(b, kBw, 200, 100, false);
  ASSERT_TRUE(plan.fromImages);
  EXPECT_EQ(plan.pieces[0].border, 0);
  EXPECT_EQ(plan.pieces[1].border, 0);
  EXPECT_EQ(plan.pieces[2].border, 4);
  EXPECT_EQ(plan.pieces[3].border, 0);
  std::vector<TRect> rects = WindowShapeRects(plan, b);
  EXPECT_TRUE(Covers(rects, 100, 97));
  EXPECT_FALSE(Covers(rects, 100, 98));
  EXPECT_TRUE(Covers(rects, 3, 98));  // the left border is a plain rectangle
}

TEST(FrameShapeTest, ThinPiecesFallBackToRectangles) {
  std::array<TDataSkinBorder, 5> b = Borders(1);
  TShapePlan plan = PlanWindowShape(b, Rect(6, 1, 6, 1), 200, 100, false);
  EXPECT_EQ(plan.pieces[2].border, 0);  // bottom, 1 high
  EXPECT_EQ(plan.pieces[2].rect, Rect(6, 99, 194, 100));
  EXPECT_EQ(plan.pieces[3].border, 0);  // top, 1 high
  plan = PlanWindowShape(b, kBw, 200, 1, false);
  EXPECT_EQ(plan.pieces[0].border, 0);
  EXPECT_EQ(plan.pieces[1].border, 0);
  // A window narrower than its two side borders has no top picture.
  plan = PlanWindowShape(b, kBw, 12, 100, false);
  EXPECT_EQ(plan.pieces[3].border, 0);
}

TEST(FrameShapeTest, FramelessKeepsTheInnerRectangle) {
  TShapePlan plan = PlanWindowShape(Borders(1), Rect(0, 0, 0, 0), 200, 100, true);
  EXPECT_TRUE(plan.fromImages);
  EXPECT_EQ(plan.inner, Rect(0, 0, 200, 100));
  EXPECT_TRUE(plan.pieces.empty());
}

}  // namespace
}  // namespace skin::test
