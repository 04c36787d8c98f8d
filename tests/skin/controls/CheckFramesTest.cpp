// Which skin image a check box or radio button shows, where it and its
// caption go, the group frame's geometry and the glyph strips for other
// libraries' check controls.
#include "skin/controls/CheckFrames.h"

#include <gtest/gtest.h>

#include "skin/form/SkinImage.h"

namespace skin {
namespace {

TCheckState Plain(bool checked, bool indeterminate = false) {
  return CheckStateOf(checked, indeterminate, nullptr);
}

TEST(CheckFramesTest, FourImageCheckStripByStateAndEnabled) {
  EXPECT_EQ(CheckImageIndex(Plain(false), false, 4), 1);
  EXPECT_EQ(CheckImageIndex(Plain(true), false, 4), 2);
  EXPECT_EQ(CheckImageIndex(Plain(false), true, 4), 3);
  EXPECT_EQ(CheckImageIndex(Plain(true), true, 4), 4);
}

TEST(CheckFramesTest, TwelveImageCheckStripUsesTheNormalAndDisabledImageOfEachGroup) {
  EXPECT_EQ(CheckImageIndex(Plain(false), false, 12), 1);
  EXPECT_EQ(CheckImageIndex(Plain(true), false, 12), 5);
  EXPECT_EQ(CheckImageIndex(Plain(false), true, 12), 4);
  EXPECT_EQ(CheckImageIndex(Plain(true), true, 12), 8);
}

TEST(CheckFramesTest, IndeterminateShowsTheGreyImageWhateverTheEnabledState) {
  EXPECT_EQ(CheckImageIndex(Plain(false, true), false, 4), 4);
  EXPECT_EQ(CheckImageIndex(Plain(true, true), true, 4), 4);
  EXPECT_EQ(CheckImageIndex(Plain(false, true), false, 12), 9);
  EXPECT_EQ(CheckImageIndex(Plain(false, true), true, 12), 12);
}

TEST(CheckFramesTest, RadioStripsOfFourAndEightImages) {
  EXPECT_EQ(RadioImageIndex(false, false, 4), 1);
  EXPECT_EQ(RadioImageIndex(true, false, 4), 2);
  EXPECT_EQ(RadioImageIndex(false, true, 4), 3);
  EXPECT_EQ(RadioImageIndex(true, true, 4), 4);
  EXPECT_EQ(RadioImageIndex(false, false, 8), 1);
  EXPECT_EQ(RadioImageIndex(true, false, 8), 5);
  EXPECT_EQ(RadioImageIndex(false, true, 8), 4);
  EXPECT_EQ(RadioImageIndex(true, true, 8), 8);
}

TEST(CheckFramesTest, PublishedStateOverridesTheWindowsAnswer) {
  TCheckProps props;
  props.state = L"cbUnchecked";
  EXPECT_EQ(CheckStateOf(true, false, &props).state, 1);
  props.state = L"cbChecked";
  EXPECT_EQ(CheckStateOf(false, false, &props).state, 2);
  props.state = L"cbGrayed";
  TCheckState grey = CheckStateOf(false, false, &props);
  EXPECT_EQ(grey.state, 4);
  EXPECT_TRUE(grey.indeterminate);
  // A value that matches none of the words keeps the window's answer.
  props.state = L"cbSomething";
  EXPECT_EQ(CheckStateOf(true, false, &props).state, 2);
}

TEST(CheckFramesTest, CheckedPropertyIsReadOnlyWithoutAState) {
  TCheckProps props;
  props.checked = L"TRUE";
  EXPECT_EQ(CheckStateOf(false, false, &props).state, 2);
  props.checked = L"False";
  EXPECT_EQ(CheckStateOf(true, false, &props).state, 1);
  props.state = L"cbChecked";
  EXPECT_EQ(CheckStateOf(false, false, &props).state, 2);
}

TEST(CheckFramesTest, DataAwareStateAndDataBinding) {
  TCheckProps props;
  props.hasDataField = true;
  props.dataState = 0;  // nothing announced yet: the window's answer
  EXPECT_EQ(CheckStateOf(true, false, &props).state, 2);
  props.dataState = 3;
  EXPECT_EQ(CheckStateOf(false, false, &props).state, 4);
  props.dataState = 1;
  EXPECT_EQ(CheckStateOf(true, false, &props).state, 1);
  TCheckProps bound;
  bound.hasDataBinding = true;
  bound.checked = L"True";
  EXPECT_EQ(CheckImageIndex(CheckStateOf(true, true, &bound), false, 4), 1);
}

TEST(CheckFramesTest, ImageAtTheLeftAndCaptionBesideIt) {
  TCheckLayout layout = CheckLayout(Rect(0, 0, 100, 21), 13, 13, false, false, false);
  EXPECT_EQ(layout.image, Rect(0, 4, 13, 17));
  EXPECT_EQ(layout.text, Rect(15, 0, 100, 21));
  EXPECT_EQ(layout.format, kTextExpandTabs | kTextWordBreak);
  EXPECT_EQ(CheckLayout(Rect(0, 0, 100, 21), 13, 13, false, true, false).format,
            kTextRtlReading | kTextExpandTabs | kTextWordBreak);
}

TEST(CheckFramesTest, LeftTextPutsACheckAtTheEdgeAndARadioOnePixelInside) {
  TCheckLayout check = CheckLayout(Rect(0, 0, 100, 20), 13, 13, true, false, false);
  EXPECT_EQ(check.image, Rect(87, 3, 100, 16));
  EXPECT_EQ(check.text, Rect(0, 0, 85, 20));
  TCheckLayout radio = CheckLayout(Rect(0, 0, 100, 20), 13, 13, true, false, true);
  EXPECT_EQ(radio.image, Rect(86, 3, 99, 16));
  EXPECT_EQ(radio.text, Rect(0, 0, 85, 20));
  EXPECT_EQ(CheckLayout(Rect(0, 0, 100, 20), 13, 13, true, true, true).format,
            kTextRtlReading | kTextRight | kTextExpandTabs | kTextWordBreak);
}

TEST(CheckFramesTest, CaptionCentredVertically) {
  EXPECT_EQ(CenterCheckText(Rect(15, 0, 100, 21), 13), Rect(15, 4, 100, 25));
  EXPECT_EQ(CenterCheckText(Rect(15, 0, 100, 10), 13), Rect(15, -1, 100, 9));
}

TEST(CheckFramesTest, GroupCaptionEightPixelsInAndFrameLineThroughItsMiddle) {
  TGroupFrameLayout left = GroupFrameLayout(Rect(0, 0, 180, 90), 14, false);
  EXPECT_EQ(left.caption, Rect(8, 0, 180, 90));
  EXPECT_EQ(left.format, kTextExpandTabs);
  EXPECT_EQ(left.frame, Rect(1, 6, 179, 89));
  EXPECT_EQ(left.wipe, Rect(0, 6, 180, 90));
  TGroupFrameLayout right = GroupFrameLayout(Rect(0, 0, 180, 90), 13, true);
  EXPECT_EQ(right.caption, Rect(0, 0, 172, 90));
  EXPECT_EQ(right.format, kTextExpandTabs | kTextRight);
  EXPECT_EQ(right.frame.Top, 5);
}

TEST(CheckFramesTest, SlotTables) {
  EXPECT_EQ(GlyphSlotSources(1, 4), (std::vector<int>{1, 2, 0, 1, 2, 0, 3, 4, 0}));
  EXPECT_EQ(GlyphSlotSources(1, 5), (std::vector<int>{1, 2, 5, 1, 2, 5, 3, 4, 5}));
  EXPECT_EQ(GlyphSlotSources(2, 4), (std::vector<int>{1, 2, 1, 2, 3, 4}));
  EXPECT_EQ(GlyphSlotSources(3, 4), (std::vector<int>{1, 2, 0, 1, 2, 0}));
  EXPECT_EQ(GlyphSlotSources(3, 5), (std::vector<int>{1, 2, 5, 1, 2, 5}));
  EXPECT_TRUE(GlyphSlotSources(0, 4).empty());
}

// A strip whose image k is filled with the value k.
TBitmap NumberedStrip(int frames, int32_t side) {
  TBitmap strip(side * frames, side);
  for (int k = 1; k <= frames; ++k) strip.FillRect(Rect((k - 1) * side, 0, k * side, side), TPixel(k));
  return strip;
}

TEST(CheckFramesTest, NineSlotCheckStripFromFourThirteenPixelImages) {
  TBitmap glyphs = BuildGlyphStrip(NumberedStrip(4, 13), 4, 1);
  ASSERT_EQ(glyphs.Width(), 117);
  ASSERT_EQ(glyphs.Height(), 13);
  const TPixel expected[] = {1, 2, 0, 1, 2, 0, 3, 4, 0};
  for (int slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(glyphs.Pixel(slot * 13, 0), expected[slot]) << "slot " << slot + 1;
    EXPECT_EQ(glyphs.Pixel(slot * 13 + 12, 12), expected[slot]) << "slot " << slot + 1;
  }
}

TEST(CheckFramesTest, RadioStripHasUncheckedThenCheckedTwice) {
  TBitmap glyphs = BuildGlyphStrip(NumberedStrip(4, 12), 4, 2);
  ASSERT_EQ(glyphs.Width(), 72);
  const TPixel expected[] = {1, 2, 1, 2, 3, 4};
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(glyphs.Pixel(slot * 12 + 5, 5), expected[slot]);
  EXPECT_TRUE(BuildGlyphStrip(TBitmap(), 4, 2).Empty());
  EXPECT_TRUE(BuildGlyphStrip(NumberedStrip(4, 12), 4, 7).Empty());
}

}  // namespace
}  // namespace skin
