// The scroll-bar geometry: hit test, the thumb of a stand-alone control, a
// dragged thumb's clamp, the drop-down list's drag position and the layout
// of arrows, shaft, thumb and grip.
#include "skin/controls/ScrollGeometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(ScrollGeometryTest, MulDivRoundsHalfAwayFromZeroAndFailsOnZero) {
  EXPECT_EQ(MulDivRound(5, 1, 2), 3);
  EXPECT_EQ(MulDivRound(-5, 1, 2), -3);
  EXPECT_EQ(MulDivRound(7, 3, 4), 5);  // 5.25
  EXPECT_EQ(MulDivRound(1, 1, 0), -1);
  EXPECT_EQ(MulDivRound(2000000000, 2000000000, 1), -1);
  EXPECT_EQ(MulDivRound(2000000000, 1000, 1000), 2000000000);  // the product may exceed 32 bits
}

TEST(ScrollGeometryTest, HitTestWalksArrowShaftThumbShaftArrow) {
  TThumbSpan thumb{40, 60};
  EXPECT_EQ(HitTestBar(0, 16, thumb, 200), spLineUp);
  EXPECT_EQ(HitTestBar(15, 16, thumb, 200), spLineUp);
  EXPECT_EQ(HitTestBar(16, 16, thumb, 200), spPageUp);
  EXPECT_EQ(HitTestBar(39, 16, thumb, 200), spPageUp);
  EXPECT_EQ(HitTestBar(40, 16, thumb, 200), spThumbTrack);
  EXPECT_EQ(HitTestBar(59, 16, thumb, 200), spThumbTrack);
  EXPECT_EQ(HitTestBar(60, 16, thumb, 200), spPageDown);
  EXPECT_EQ(HitTestBar(183, 16, thumb, 200), spPageDown);
  EXPECT_EQ(HitTestBar(184, 16, thumb, 200), spLineDown);
}

TEST(ScrollGeometryTest, ControlThumbWithPageAtTheEnds) {
  TScrollValues v{0, 99, 10, 0};
  // 200 long, arrows 16: 168 between them; thumb 168 * 9 / 99 = 15.27 -> 15.
  EXPECT_EQ(ControlThumb(200, 16, v, true), (TThumbSpan{16, 31}));
  v.pos = 90;
  TThumbSpan t = ControlThumb(200, 16, v, true);
  EXPECT_EQ(t.top, MulDivRound(168, 90, 99) + 16);
  EXPECT_EQ(t.Length(), 15);
}

TEST(ScrollGeometryTest, ATinyPageGetsAnEightPixelThumbOnlyWithTheMinimum) {
  TScrollValues v{0, 1000, 1, 500};
  TThumbSpan painted = ControlThumb(200, 16, v, true);
  EXPECT_EQ(painted.Length(), 8);
  EXPECT_EQ(painted.top, MulDivRound(200 - 32 - 8, 500, 1000) + 16);
  TThumbSpan pressed = ControlThumb(200, 16, v, false);
  EXPECT_EQ(pressed.Length(), 0);
  EXPECT_EQ(pressed.top, MulDivRound(168, 500, 1000) + 16);
}

TEST(ScrollGeometryTest, ControlThumbWithoutPageIsOneArrowLong) {
  TScrollValues v{10, 110, 0, 60};
  TThumbSpan t = ControlThumb(116, 16, v, true);
  EXPECT_EQ(t.Length(), 16);
  EXPECT_EQ(t.top, MulDivRound(116 - 48, 50, 100) + 16);
  v.pos = 10;
  EXPECT_EQ(ControlThumb(116, 16, v, true).top, 16);
}

TEST(ScrollGeometryTest, AnEmptyRangeLeavesTheThumbAtTheStart) {
  TScrollValues v{5, 5, 0, 5};
  EXPECT_EQ(ControlThumb(100, 16, v, true), (TThumbSpan{16, 32}));
  v.pos = 6;  // a position past an empty range divides by the stand-in range
  EXPECT_EQ(ControlThumb(100, 16, v, true).top, 16);
}

TEST(ScrollGeometryTest, DraggedThumbFollowsTheCursorBetweenTheArrows) {
  EXPECT_EQ(TrackThumb(50, 10, 20, 16, 200), (TThumbSpan{60, 80}));
  EXPECT_EQ(TrackThumb(50, -100, 20, 16, 200), (TThumbSpan{16, 36}));
  EXPECT_EQ(TrackThumb(50, 500, 20, 16, 200), (TThumbSpan{164, 184}));
  // Too short a bar: the first arrow wins.
  EXPECT_EQ(TrackThumb(20, 5, 30, 16, 50), (TThumbSpan{16, 46}));
}

TEST(ScrollGeometryTest, DropListDragWithAPageReachesTheLastPageExactly) {
  TScrollValues v{0, 99, 10, 0};
  // Room 100 between the arrows, thumb 10 long.
  EXPECT_EQ(DropListDragPosition(0, 0, 100, 10, v), 0);
  EXPECT_EQ(DropListDragPosition(0, 45, 100, 10, v), MulDivRound(45, 89, 90));
  EXPECT_EQ(DropListDragPosition(0, 90, 100, 10, v), 90);
  EXPECT_EQ(DropListDragPosition(0, 500, 100, 10, v), 90);
  EXPECT_EQ(DropListDragPosition(30, -100, 100, 10, v), 0);
}

TEST(ScrollGeometryTest, DropListDragWithoutAPageStopsAtTheMaximum) {
  TScrollValues v{10, 60, 0, 10};
  EXPECT_EQ(DropListDragPosition(0, 40, 100, 16, v), MulDivRound(40, 50, 100) + 10);
  EXPECT_EQ(DropListDragPosition(0, 1000, 100, 16, v), MulDivRound(84, 50, 100) + 10);
  EXPECT_LE(DropListDragPosition(0, 1000, 100, 16, v), 60);
  // A room as long as the thumb gives no divisor: the position stays in range.
  TScrollValues paged{0, 99, 10, 0};
  EXPECT_EQ(DropListDragPosition(0, 5, 10, 10, paged), 0);
}

TEST(ScrollGeometryTest, ThicknessFollowsTheImageWithinTwoPixels) {
  EXPECT_EQ(DrawThickness(16, 17), 16);
  EXPECT_EQ(DrawThickness(19, 17), 19);
  EXPECT_EQ(DrawThickness(20, 17), 17);
  EXPECT_EQ(DrawThickness(14, 17), 17);
}

TEST(ScrollGeometryTest, ArrowImagesByPartAndPress) {
  EXPECT_EQ(ArrowImage(true, false, spNone, false), 9);
  EXPECT_EQ(ArrowImage(true, false, spLineUp, true), 10);
  EXPECT_EQ(ArrowImage(true, false, spLineUp, false), 12);
  EXPECT_EQ(ArrowImage(true, true, spLineUp, true), 13);
  EXPECT_EQ(ArrowImage(true, true, spLineDown, true), 14);
  EXPECT_EQ(ArrowImage(false, false, spPageUp, true), 1);
  EXPECT_EQ(ArrowImage(false, true, spLineDown, false), 8);
  EXPECT_EQ(ThumbImage(spThumbTrack, true), 2);
  EXPECT_EQ(ThumbImage(spThumbTrack, false), 3);
  EXPECT_EQ(ThumbImage(spLineUp, true), 1);
  EXPECT_EQ(GripImage(true, spThumbTrack, true), 21);
  EXPECT_EQ(GripImage(true, spThumbTrack, false), 22);
  EXPECT_EQ(GripImage(false, spNone, false), 17);
}

TBarShape Shape(int32_t len, TThumbSpan thumb, bool enabled = true) {
  TBarShape s;
  s.vertical = true;
  s.len = len;
  s.thickness = 16;
  s.cw = 17;
  s.gripLength = 16;
  s.enabled = enabled;
  s.thumb = thumb;
  return s;
}

TEST(ScrollGeometryTest, LayoutOfAnOrdinaryVerticalBar) {
  TBarLayout l = LayoutBar(Shape(200, {40, 80}));
  EXPECT_EQ(l.firstArrow, Rect(0, 0, 16, 17));
  EXPECT_EQ(l.secondArrow, Rect(0, 183, 16, 200));
  EXPECT_EQ(l.shaft, Rect(0, 17, 16, 183));
  ASSERT_TRUE(l.hasThumb);
  EXPECT_EQ(l.thumb, Rect(0, 40, 16, 80));
  ASSERT_TRUE(l.hasGrip);
  EXPECT_EQ(l.grip, Rect(0, 52, 16, 68));
}

TEST(ScrollGeometryTest, AShortBarGetsTwoHalfArrowsAndNoShaft) {
  TBarLayout l = LayoutBar(Shape(21, {0, 0}));
  EXPECT_EQ(l.firstArrow, Rect(0, 0, 16, 10));
  EXPECT_EQ(l.secondArrow, Rect(0, 11, 16, 21));
  EXPECT_LT(l.shaft.Height(), 0);
}

TEST(ScrollGeometryTest, AShortThumbHasNoGripAndOneOfGripMinusOneHas) {
  EXPECT_FALSE(LayoutBar(Shape(200, {40, 54})).hasGrip);
  TBarLayout l = LayoutBar(Shape(200, {40, 55}));
  ASSERT_TRUE(l.hasGrip);
  EXPECT_EQ(l.grip, Rect(0, 40, 16, 56));
}

TEST(ScrollGeometryTest, ADisabledBarHasNeitherThumbNorGrip) {
  TBarLayout l = LayoutBar(Shape(200, {40, 80}, false));
  EXPECT_FALSE(l.hasThumb);
  EXPECT_FALSE(l.hasGrip);
  EXPECT_EQ(l.shaft, Rect(0, 17, 16, 183));
}

TEST(ScrollGeometryTest, AThumbOutsideTheBarIsNotDrawn) {
  EXPECT_FALSE(LayoutBar(Shape(200, {190, 230})).hasThumb);
  EXPECT_FALSE(LayoutBar(Shape(200, {-5, 10})).hasThumb);
}

TEST(ScrollGeometryTest, HorizontalLayoutRunsAlongX) {
  TBarShape s = Shape(100, {30, 50});
  s.vertical = false;
  TBarLayout l = LayoutBar(s);
  EXPECT_EQ(l.firstArrow, Rect(0, 0, 17, 16));
  EXPECT_EQ(l.thumb, Rect(30, 0, 50, 16));
}

}  // namespace
}  // namespace skin
