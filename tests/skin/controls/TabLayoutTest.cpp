// Geometry of skinned tab strips: the side from the window style, the page
// border and band cut from the control, where tabs land in the band buffer
// (and back after the quarter turn), close boxes and faces.
#include "skin/controls/TabLayout.h"

#include <gtest/gtest.h>

#include "skin/archive/ImgUtil.h"

namespace skin {
namespace {

TEST(TabLayoutTest, SideFollowsTheStyleBits) {
  EXPECT_EQ(TabPositionFromStyle(0), StTop);
  EXPECT_EQ(TabPositionFromStyle(kTabStyleBottom), Stbottom);
  EXPECT_EQ(TabPositionFromStyle(kTabStyleVertical), Stleft);
  EXPECT_EQ(TabPositionFromStyle(kTabStyleBottom | kTabStyleVertical), Stright);
  // Other style bits (multiline 0x200, buttons 0x100) do not move the tabs.
  EXPECT_EQ(TabPositionFromStyle(0x200 | 0x100), StTop);
}

TEST(TabLayoutTest, BorderGrowsByFourAndReachesOnePixelIntoTheBand) {
  const TRect display = Rect(4, 24, 196, 106);
  EXPECT_EQ(PageBorderRect(display, StTop), Rect(0, 21, 200, 110));
  EXPECT_EQ(PageBorderRect(display, Stbottom), Rect(0, 20, 200, 109));
  EXPECT_EQ(PageBorderRect(display, Stleft), Rect(1, 20, 200, 110));
  EXPECT_EQ(PageBorderRect(display, Stright), Rect(0, 20, 199, 110));
}

TEST(TabLayoutTest, BandIsTheStripOnTheTabSide) {
  const TRect rc = Rect(0, 0, 200, 110);
  EXPECT_EQ(TabBandRect(rc, Rect(0, 21, 200, 110), StTop), Rect(0, 0, 200, 21));
  EXPECT_EQ(TabBandRect(rc, Rect(0, 0, 200, 88), Stbottom), Rect(0, 88, 200, 110));
  EXPECT_EQ(TabBandRect(rc, Rect(23, 0, 200, 110), Stleft), Rect(0, 0, 23, 110));
  EXPECT_EQ(TabBandRect(rc, Rect(0, 0, 177, 110), Stright), Rect(177, 0, 200, 110));
}

TEST(TabLayoutTest, SideBandsAreComposedLyingDown) {
  TBandSize top = BandBufferSize(Rect(0, 0, 200, 21), StTop);
  EXPECT_EQ(top.width, 200);
  EXPECT_EQ(top.height, 21);
  TBandSize left = BandBufferSize(Rect(0, 0, 23, 110), Stleft);
  EXPECT_EQ(left.width, 110);
  EXPECT_EQ(left.height, 23);
  TBandSize right = BandBufferSize(Rect(177, 0, 200, 110), Stright);
  EXPECT_EQ(right.width, 110);
  EXPECT_EQ(right.height, 23);
}

TEST(TabLayoutTest, TopAndBottomTabsMoveIntoTheBand) {
  EXPECT_EQ(TabInBand(Rect(2, 2, 40, 20), StTop, Rect(0, 21, 200, 110), 200, 200), Rect(2, 3, 40, 21));
  // The bottom band starts at the border's bottom edge: a tab there moves up by that edge plus one.
  EXPECT_EQ(TabInBand(Rect(2, 90, 40, 108), Stbottom, Rect(0, 0, 200, 88), 200, 200), Rect(2, 1, 40, 19));
}

// A tab mapped into a lying-down buffer, marked there, and the buffer turned
// upright: the mark covers the tab's own rectangle (one pixel off at most,
// toward the page, as the strip overlaps the border).
TEST(TabLayoutTest, SideTabsComeBackToTheirPlaceAfterTheTurn) {
  const TRect rc = Rect(0, 0, 200, 110);
  const TRect leftTab = Rect(2, 10, 21, 40);
  const TRect leftBand = Rect(0, 0, 23, 110);
  TBandSize size = BandBufferSize(leftBand, Stleft);
  TBitmap buffer(size.width, size.height, 0);
  TRect m = TabInBand(leftTab, Stleft, Rect(23, 0, 200, 110), size.width, rc.Right);
  buffer.FillRect(m, 0x00FFFFFF);
  RotateLeft(buffer);
  ASSERT_EQ(buffer.Width(), leftBand.Width());
  ASSERT_EQ(buffer.Height(), leftBand.Height());
  EXPECT_EQ(buffer.Pixel(leftTab.Left, leftTab.Top + 1), 0x00FFFFFFu);
  EXPECT_EQ(buffer.Pixel(leftTab.Right - 1, leftTab.Bottom - 1), 0x00FFFFFFu);
  EXPECT_EQ(buffer.Pixel(leftTab.Left, leftTab.Top - 2), 0u);
  EXPECT_EQ(buffer.Pixel(leftTab.Left, leftTab.Bottom + 1), 0u);

  const TRect rightTab = Rect(179, 10, 198, 40);
  const TRect rightBand = Rect(177, 0, 200, 110);
  size = BandBufferSize(rightBand, Stright);
  TBitmap right(size.width, size.height, 0);
  m = TabInBand(rightTab, Stright, Rect(0, 0, 177, 110), size.width, rc.Right);
  right.FillRect(m, 0x00FFFFFF);
  RotateRight(right);
  ASSERT_EQ(right.Width(), rightBand.Width());
  // Band coordinates: x from the band's left edge.
  const int32_t x0 = rightTab.Left - rightBand.Left, x1 = rightTab.Right - rightBand.Left;
  EXPECT_EQ(right.Pixel(x0, rightTab.Top), 0x00FFFFFFu);
  EXPECT_EQ(right.Pixel(x1 - 2, rightTab.Bottom - 2), 0x00FFFFFFu);
  EXPECT_EQ(right.Pixel(x0, rightTab.Bottom + 1), 0u);
  EXPECT_EQ(right.Pixel(x0 + 2, rightTab.Top - 3), 0u);
}

TEST(TabLayoutTest, CloseBoxSitsInTheTopRightCornerAndIsHitInside) {
  const TRect box = CloseBoxRect(Rect(10, 3, 60, 21));
  EXPECT_EQ(box, Rect(52, 5, 58, 11));
  std::vector<TRect> boxes{TRect{}, box, CloseBoxRect(Rect(60, 3, 110, 21))};
  EXPECT_EQ(HitCloseBox(boxes, 52, 5), 1);
  EXPECT_EQ(HitCloseBox(boxes, 57, 10), 1);
  EXPECT_EQ(HitCloseBox(boxes, 58, 10), -1);  // right edge outside
  EXPECT_EQ(HitCloseBox(boxes, 55, 11), -1);  // bottom edge outside
  EXPECT_EQ(HitCloseBox(boxes, 105, 8), 2);
  // A tab without a rectangle has an empty box that nothing hits.
  EXPECT_EQ(HitCloseBox(boxes, 0, 0), -1);
}

TEST(TabLayoutTest, FocusedTabShowsTheSecondFace) {
  EXPECT_EQ(TabFace(0, 0), 2);
  EXPECT_EQ(TabFace(1, 0), 1);
  EXPECT_EQ(TabFace(0, -1), 1);
}

}  // namespace
}  // namespace skin
