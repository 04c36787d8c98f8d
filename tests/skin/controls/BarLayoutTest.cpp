#include "skin/controls/BarLayout.h"

#include <gtest/gtest.h>

#include <climits>

namespace skin {
namespace {

TEST(BarLayoutTest, PanelsReachTwoPixelsIntoTheGapAndTheLastOneToTheEdge) {
  EXPECT_EQ(PanelBackgroundRect(Rect(0, 2, 200, 20), false, 500), Rect(0, 2, 202, 20));
  EXPECT_EQ(PanelBackgroundRect(Rect(202, 2, 300, 20), true, 500), Rect(202, 2, 500, 20));
  EXPECT_EQ(PanelTextRect(Rect(10, 2, 100, 20)), Rect(12, 2, 98, 20));
  EXPECT_EQ(PanelDrawRect(Rect(10, 2, 100, 20)), Rect(12, 4, 98, 18));
}

TEST(BarLayoutTest, PanelFacesFollowTheBevel) {
  EXPECT_EQ(PanelFace(TPanelBevel::Lowered), 1);
  EXPECT_EQ(PanelFace(TPanelBevel::Raised), 2);
  EXPECT_EQ(PanelFace(TPanelBevel::None), 3);
}

TEST(BarLayoutTest, RightToLeftPanelsSwapLeftAndRightButKeepCentre) {
  using A = TPanelAlignment;
  EXPECT_EQ(ShownPanelAlignment(A::Left, true), A::Right);
  EXPECT_EQ(ShownPanelAlignment(A::Right, true), A::Left);
  EXPECT_EQ(ShownPanelAlignment(A::Center, true), A::Center);
  EXPECT_EQ(ShownPanelAlignment(A::Left, false), A::Left);
  EXPECT_EQ(ShownPanelAlignment(A::Right, false), A::Right);
  EXPECT_EQ(PanelTextFormat(A::Left), 0u);
  EXPECT_EQ(PanelTextFormat(A::Right), 2u);
  EXPECT_EQ(PanelTextFormat(A::Center), 1u);
}

TEST(BarLayoutTest, SizeGripSitsOnePixelInFromTheCorner) {
  EXPECT_EQ(SizeGripRect(Rect(0, 0, 400, 22), 12, 12), Rect(387, 9, 399, 21));
}

TEST(BarLayoutTest, ProgressFillsOverAnyRange) {
  EXPECT_EQ(ProgressFill(200, 50, 0, 100), 100);
  EXPECT_EQ(ProgressFill(200, 0, 0, 100), 0);
  EXPECT_EQ(ProgressFill(200, 100, 0, 100), 200);
  EXPECT_EQ(ProgressFill(200, 70, 20, 120), 100);
  EXPECT_EQ(ProgressFill(200, 0, -50, 50), 100);
  EXPECT_EQ(ProgressFill(200, -50, -50, 50), 0);
  EXPECT_EQ(ProgressFill(200, -25, -50, 50), 50);
  EXPECT_EQ(ProgressFill(200, -80, -100, -60), 100);
  // Limits reported the other way round mean the same range.
  EXPECT_EQ(ProgressFill(200, 70, 120, 20), 100);
}

TEST(BarLayoutTest, ProgressPositionIsClampedAndAnEmptyRangeFillsNothing) {
  EXPECT_EQ(ProgressFill(200, 150, 0, 100), 200);
  EXPECT_EQ(ProgressFill(200, -10, 0, 100), 0);
  EXPECT_EQ(ProgressFill(200, 10, 20, 120), 0);
  EXPECT_EQ(ProgressFill(200, 5, 5, 5), 0);
  EXPECT_EQ(ProgressFill(0, 50, 0, 100), 0);
  EXPECT_EQ(ProgressFill(-3, 50, 0, 100), 0);
  EXPECT_EQ(ProgressFill(200, INT_MAX, INT_MIN, INT_MAX), 200);
  EXPECT_EQ(ProgressFill(200, 0, INT_MIN, INT_MAX), 100);
}

TEST(BarLayoutTest, ProgressRoundsAsMulDiv) {
  // 3 * 1 / 2 = 1.5 rounds up; 10 * 1 / 3 = 3.33 rounds down; 10 * 2 / 3 = 6.67 up.
  EXPECT_EQ(ProgressFill(3, 1, 0, 2), 2);
  EXPECT_EQ(ProgressFill(10, 1, 0, 3), 3);
  EXPECT_EQ(ProgressFill(10, 2, 0, 3), 7);
}

TEST(BarLayoutTest, VerticalBarsAreComposedLyingDown) {
  TBarExtent e = LyingBarExtent(20, 150, true);
  EXPECT_EQ(e.length, 150);
  EXPECT_EQ(e.thickness, 20);
  e = LyingBarExtent(150, 20, false);
  EXPECT_EQ(e.length, 150);
  EXPECT_EQ(e.thickness, 20);
}

TEST(BarLayoutTest, ChunksAreRepeatedOnePastTheFillAndCentredAcross) {
  TChunkStrip s = ChunkStripPlacement(100, 20, 8, 10, 1);
  EXPECT_EQ(s.copies, 13);
  EXPECT_EQ(s.x, 3);
  EXPECT_EQ(s.y, 5);
  EXPECT_EQ(ChunkStripPlacement(0, 20, 8, 10, 1).copies, 0);
  EXPECT_EQ(ChunkStripPlacement(100, 20, 0, 10, 1).copies, 0);
}

TEST(BarLayoutTest, HorizontalChannelStartsHalfItsHeightDownWhenTallerThanTheImage) {
  // A 10-pixel channel with a 4-pixel image: drawn from 5 pixels below its top.
  std::vector<TSliceCopy> s = ChannelSlices(Rect(8, 20, 108, 30), false, 12, 4, Rect(3, 1, 3, 1));
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].dst, Rect(8, 25, 11, 29));
  EXPECT_EQ(s[0].src, Rect(0, 0, 3, 4));
  EXPECT_EQ(s[1].dst, Rect(11, 25, 105, 29));
  EXPECT_EQ(s[1].src, Rect(3, 0, 9, 4));
  EXPECT_EQ(s[2].dst, Rect(105, 25, 108, 29));
  EXPECT_EQ(s[2].src, Rect(9, 0, 12, 4));
  // Not taller than the image: at the channel's top.
  s = ChannelSlices(Rect(8, 20, 108, 24), false, 12, 4, Rect(3, 1, 3, 1));
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].dst.Top, 20);
}

TEST(BarLayoutTest, VerticalChannelIsTransposedThenCentredAcross) {
  // Reported lying down: left/top and right/bottom swap.
  std::vector<TSliceCopy> s = ChannelSlices(Rect(8, 10, 108, 20), true, 4, 12, Rect(1, 3, 1, 3));
  ASSERT_EQ(s.size(), 3u);
  // Transposed: (10, 8, 20, 108); 4 wide in 10: 3 in.
  EXPECT_EQ(s[0].dst, Rect(13, 8, 17, 11));
  EXPECT_EQ(s[0].src, Rect(0, 0, 4, 3));
  EXPECT_EQ(s[1].dst, Rect(13, 11, 17, 105));
  EXPECT_EQ(s[1].src, Rect(0, 3, 4, 9));
  EXPECT_EQ(s[2].dst, Rect(13, 105, 17, 108));
  EXPECT_EQ(s[2].src, Rect(0, 9, 4, 12));
}

TEST(BarLayoutTest, VerticalChannelReportedStandingIsTakenAsItIs) {
  std::vector<TSliceCopy> s = ChannelSlices(Rect(10, 8, 20, 108), true, 4, 12, Rect(1, 3, 1, 3));
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].dst, Rect(13, 8, 17, 11));
  EXPECT_EQ(s[2].dst, Rect(13, 105, 17, 108));
}

TEST(BarLayoutTest, ChannelWithoutImageOrWithHugeMarginsStaysInsideTheImage) {
  EXPECT_TRUE(ChannelSlices(Rect(0, 0, 100, 10), false, 0, 4, TRect{}).empty());
  std::vector<TSliceCopy> s = ChannelSlices(Rect(0, 0, 100, 4), false, 12, 4, Rect(20, 0, 20, 0));
  for (const TSliceCopy& c : s) {
    EXPECT_GE(c.src.Left, 0);
    EXPECT_LE(c.src.Right, 12);
  }
}

TEST(BarLayoutTest, HeaderHitAreasLeaveThreePixelsAtBothEnds) {
  EXPECT_EQ(HeaderHitRect(Rect(80, 0, 160, 20)), Rect(83, 0, 157, 20));
  std::vector<TRect> items = {HeaderHitRect(Rect(0, 0, 80, 20)), HeaderHitRect(Rect(80, 0, 160, 20))};
  EXPECT_EQ(HeaderItemAt(items, 10, 5, -1), 0);
  EXPECT_EQ(HeaderItemAt(items, 100, 5, 0), 1);
  EXPECT_EQ(HeaderItemAt(items, 78, 5, 0), 0);   // in the end of item 0: unchanged
  EXPECT_EQ(HeaderItemAt(items, 81, 5, 0), 0);   // the start of item 1: unchanged
  EXPECT_EQ(HeaderItemAt(items, 300, 5, 1), 1);  // past the last item
  EXPECT_EQ(HeaderItemAt(items, 2, 5, -1), -1);
}

TEST(BarLayoutTest, HeaderFormatGivesAlignmentAndImage) {
  EXPECT_EQ(HeaderTextAlignment(0x0), 0);
  EXPECT_EQ(HeaderTextAlignment(0x1), 2);
  EXPECT_EQ(HeaderTextAlignment(0x2), 1);
  EXPECT_EQ(HeaderTextAlignment(0x4001), 2);
  EXPECT_EQ(HeaderImageIndex(0x4000, 3), -1);
  EXPECT_EQ(HeaderImageIndex(0x4800, 3), 3);
  EXPECT_EQ(HeaderImageIndex(0x8000, 2), 2);
  EXPECT_EQ(HeaderFace(1, 1), 2);
  EXPECT_EQ(HeaderFace(0, 1), 1);
  EXPECT_EQ(HeaderFace(0, -1), 1);
  EXPECT_EQ(SafeFrameCount(0), 1);
  EXPECT_EQ(SafeFrameCount(-4), 1);
  EXPECT_EQ(SafeFrameCount(3), 3);
}

}  // namespace
}  // namespace skin
