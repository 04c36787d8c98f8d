// Where captions, the image beside them and the focus rectangle go.
#include "skin/controls/CaptionPlacement.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(CaptionPlacementTest, CentredCaptionSitsOnePixelAboveTheMiddle) {
  EXPECT_EQ(CaptionTextRect(Rect(0, 0, 75, 25), 30, 13, kAlignCenter), Rect(22, 5, 52, 18));
  // Odd remainders truncate toward zero, also when the text is larger than the rectangle.
  EXPECT_EQ(CaptionTextRect(Rect(0, 0, 20, 10), 31, 13, kAlignCenter), Rect(-5, -2, 26, 11));
}

TEST(CaptionPlacementTest, LeftAndRightCaptionsSpanTheRectangleForTheFlagToPlace) {
  EXPECT_EQ(CaptionTextRect(Rect(4, 2, 80, 27), 30, 13, kAlignLeft), Rect(4, 7, 80, 20));
  EXPECT_EQ(CaptionTextRect(Rect(4, 2, 80, 27), 30, 13, kAlignRight), Rect(4, 7, 80, 20));
}

TEST(CaptionPlacementTest, FocusRectangleAroundACentredCaptionClippedToTheControl) {
  EXPECT_EQ(CaptionFocusRect(Rect(0, 0, 75, 25), 30, 13, kAlignCenter), Rect(20, 4, 54, 19));
  EXPECT_EQ(CaptionFocusRect(Rect(0, 0, 30, 13), 30, 13, kAlignCenter), Rect(0, 0, 30, 13));
}

TEST(CaptionPlacementTest, FocusRectangleForRightAndLeftCaptions) {
  EXPECT_EQ(CaptionFocusRect(Rect(10, 5, 110, 30), 40, 13, kAlignRight), Rect(68, 5, 110, 19));
  EXPECT_EQ(CaptionFocusRect(Rect(10, 5, 110, 30), 40, 13, kAlignLeft), Rect(10, 5, 52, 19));
}

TEST(CaptionPlacementTest, CentreTextIgnoresTheAlignment) {
  EXPECT_EQ(CenterTextRect(Rect(10, 0, 60, 20), 20, 12), Rect(25, 4, 45, 16));
}

TEST(CaptionPlacementTest, ImageThenTextLeftAligned) {
  TImgCaptionLayout layout(Rect(0, 0, 100, 24), 16, 16, true);
  EXPECT_EQ(layout.MeasureRect(), Rect(0, 0, 118, 24));
  layout.Place(40, 13, 0);
  EXPECT_EQ(layout.image, Rect(3, 4, 19, 20));
  EXPECT_EQ(layout.text, Rect(19, 5, 59, 18));
}

TEST(CaptionPlacementTest, ImageThenTextCentredAndRight) {
  TImgCaptionLayout centred(Rect(0, 0, 100, 24), 16, 16, true);
  centred.Place(40, 13, 1);
  EXPECT_EQ(centred.image.Left, 22);
  EXPECT_EQ(centred.text.Left, 38);
  TImgCaptionLayout right(Rect(0, 0, 100, 24), 16, 16, true);
  right.Place(40, 13, 2);
  EXPECT_EQ(right.image.Left, 42);
  EXPECT_EQ(right.text, Rect(58, 5, 98, 18));
}

TEST(CaptionPlacementTest, ImageWiderThanTheControlIsLeftOutAndAStartBelowTwoBecomesOne) {
  TImgCaptionLayout layout(Rect(0, 0, 16, 24), 16, 16, true);
  EXPECT_FALSE(layout.drawImage);
  EXPECT_EQ(layout.MeasureRect(), Rect(0, 0, 18, 24));
  layout.Place(30, 13, 1);                     // (16 - 30) / 2 = -7
  EXPECT_EQ(layout.text, Rect(1, 5, 16, 18));  // clipped to the control's right edge
}

TEST(CaptionPlacementTest, NoListLeavesTheMeasureRectangleAlone) {
  TImgCaptionLayout layout(Rect(0, 0, 100, 24), 0, 0, false);
  EXPECT_EQ(layout.MeasureRect(), Rect(0, 0, 100, 24));
  layout.Place(0, 0, 0);
  EXPECT_EQ(layout.text, Rect(3, 12, 3, 12));
}

}  // namespace
}  // namespace skin
