#include "skin/form/CaptionLayout.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

TDataSkinBorder BorderOf(int32_t w, int32_t h, int frames) {
  TDataSkinBorder b;
  b.Map.SetSize(w, h);
  b.frame = frames;
  return b;
}

TDataSkinSysButton Button(int action, int visibility, int visibility1, int align = 1, int32_t x = 30,
                          int32_t y = 3, int32_t stripWidth = 72, int32_t stripHeight = 18, int frames = 4) {
  TDataSkinSysButton b;
  b.Action = action;
  b.Visibility = visibility;
  b.Visibility1 = visibility1;
  b.Align = align;
  b.XCoord = x;
  b.YCoord = y;
  b.Map.SetSize(stripWidth, stripHeight);
  b.frame = frames;
  return b;
}

TEST(CaptionLayoutTest, BorderWidthsDivideByTheStripOrientation) {
  std::array<TDataSkinBorder, 5> border;
  border[1] = BorderOf(16, 60, 2);  // side by side: 8 wide
  border[2] = BorderOf(18, 60, 3);  // 6 wide
  border[3] = BorderOf(60, 48, 2);  // stacked: 24 high
  border[4] = BorderOf(20, 10, 2);  // 5 high
  EXPECT_EQ(BorderWidths(border, false), Rect(8, 24, 6, 5));
  EXPECT_EQ(BorderWidths(border, true), Rect(0, 0, 0, 0));
  // A missing image gives no width; a frame count of 0 counts as one.
  border[4] = TDataSkinBorder{};
  border[1].frame = 0;
  EXPECT_EQ(BorderWidths(border, false), Rect(16, 24, 6, 0));
}

TEST(CaptionLayoutTest, FramePiecesMeetWithoutGapsOrOverlap) {
  TFramePieces p = FramePieces(300, 200, Rect(8, 24, 6, 5), 19);
  EXPECT_EQ(p.left, Rect(0, 0, 8, 200));
  EXPECT_EQ(p.right, Rect(294, 0, 300, 200));
  EXPECT_EQ(p.bottom, Rect(8, 195, 294, 200));
  EXPECT_EQ(p.caption, Rect(0, 0, 300, 24));
  EXPECT_EQ(p.title, Rect(8, 0, 294, 24));
  EXPECT_EQ(p.menuBand, Rect(8, 24, 294, 43));
}

TEST(CaptionLayoutTest, VisibilityTableRows) {
  TCaptionWindowFacts f;
  EXPECT_FALSE(VisibilityRule(-1, false, 0, f));
  EXPECT_FALSE(VisibilityRule(-1, true, 0, f));
  EXPECT_TRUE(VisibilityRule(0, false, 0, f));
  EXPECT_TRUE(VisibilityRule(0, true, 0, f));

  f.maximized = true;
  EXPECT_TRUE(VisibilityRule(1, false, 0, f));
  EXPECT_FALSE(VisibilityRule(2, true, 0, f));
  f.maximized = false;
  EXPECT_FALSE(VisibilityRule(1, true, 0, f));
  EXPECT_TRUE(VisibilityRule(2, false, 0, f));

  f.active = false;
  EXPECT_FALSE(VisibilityRule(3, false, 0, f));
  EXPECT_TRUE(VisibilityRule(4, true, 0, f));

  // 6 and 8: the first column also needs the system menu.
  f.hasMin = true;
  f.hasSystem = false;
  EXPECT_FALSE(VisibilityRule(6, false, 0, f));
  EXPECT_TRUE(VisibilityRule(6, true, 0, f));
  f.hasSystem = true;
  EXPECT_TRUE(VisibilityRule(8, false, 0, f));
  f.hasMin = false;
  EXPECT_FALSE(VisibilityRule(8, true, 0, f));

  f.hasMax = true;
  EXPECT_FALSE(VisibilityRule(7, false, 0, f));
  EXPECT_TRUE(VisibilityRule(9, false, 0, f));

  // 10: help alone in the first column, help at all in the second.
  f.hasHelp = true;
  EXPECT_FALSE(VisibilityRule(10, false, 0, f));
  EXPECT_TRUE(VisibilityRule(10, true, 0, f));
  f.hasMax = false;
  EXPECT_TRUE(VisibilityRule(10, false, 0, f));

  f.mdiChildMaximized = true;
  EXPECT_TRUE(VisibilityRule(100, false, 0, f));
  f.mdiChildMaximized = false;
  EXPECT_FALSE(VisibilityRule(100, false, 0, f));

  f.dialogFrame = true;
  EXPECT_TRUE(VisibilityRule(200, false, 0, f));
  EXPECT_FALSE(VisibilityRule(200, true, 0, f));
  f.messageBox = true;
  EXPECT_FALSE(VisibilityRule(200, false, 0, f));

  EXPECT_TRUE(VisibilityRule(201, false, 0, f));
  EXPECT_TRUE(VisibilityRule(999, false, 0, f));
  EXPECT_FALSE(VisibilityRule(500, true, 0, f));

  EXPECT_FALSE(VisibilityRule(5, false, 0, f));
  EXPECT_FALSE(VisibilityRule(2001, false, 0, f));
  EXPECT_FALSE(VisibilityRule(-7, true, 0, f));
}

TEST(CaptionLayoutTest, QueryCodesAskTheWindowWithCodeAndAction) {
  TCaptionWindowFacts f;
  int askedVisibility = 0, askedAction = 0, calls = 0;
  intptr_t answer = 1;
  f.ask = [&](int visibility, int action) {
    ++calls;
    askedVisibility = visibility;
    askedAction = action;
    return answer;
  };
  EXPECT_TRUE(VisibilityRule(1500, false, 42, f));
  EXPECT_EQ(askedVisibility, 1500);
  EXPECT_EQ(askedAction, 42);
  answer = 0;
  EXPECT_FALSE(VisibilityRule(1000, false, 42, f));
  answer = -3;
  EXPECT_FALSE(VisibilityRule(2000, false, 42, f));
  // The second column never asks.
  calls = 0;
  answer = 1;
  EXPECT_FALSE(VisibilityRule(1500, true, 42, f));
  EXPECT_EQ(calls, 0);
  // Nobody to ask: hidden.
  f.ask = nullptr;
  EXPECT_FALSE(VisibilityRule(1500, false, 42, f));
}

TEST(CaptionLayoutTest, ShowCombinesBothColumnsAndTheActionRules) {
  TCaptionWindowFacts f;
  f.hasSystem = true;
  f.hasMin = true;
  // Active-only button: shown only while the window is active.
  EXPECT_TRUE(CaptionButtonShow(Button(5, 3, 0), f).visible);
  f.active = false;
  EXPECT_FALSE(CaptionButtonShow(Button(5, 3, 0), f).visible);
  f.active = true;

  // Close needs the system menu.
  EXPECT_TRUE(CaptionButtonShow(Button(0, 0, 0), f).visible);
  f.hasSystem = false;
  EXPECT_FALSE(CaptionButtonShow(Button(0, 0, 0), f).visible);
  f.hasSystem = true;

  // Maximize without WS_MAXIMIZEBOX is shown but disabled; minimize is enabled.
  TCaptionButtonShow max = CaptionButtonShow(Button(1, 2, 6), f);
  EXPECT_TRUE(max.visible);
  ASSERT_TRUE(max.enabled.has_value());
  EXPECT_FALSE(*max.enabled);
  TCaptionButtonShow min = CaptionButtonShow(Button(2, 6, 0), f);
  ASSERT_TRUE(min.enabled.has_value());
  EXPECT_TRUE(*min.enabled);
  EXPECT_FALSE(CaptionButtonShow(Button(4, 0, 0), f).enabled.has_value());

  // Icon and system-menu buttons leave dialog frames.
  for (int action : {3, 11, 12}) {
    f.dialogFrame = false;
    EXPECT_TRUE(CaptionButtonShow(Button(action, 0, 0), f).visible) << action;
    f.dialogFrame = true;
    EXPECT_FALSE(CaptionButtonShow(Button(action, 0, 0), f).visible) << action;
  }
  f.dialogFrame = false;

  // 100 in the second column repeats the first column's decision.
  EXPECT_TRUE(CaptionButtonShow(Button(7, 0, 100), f).visible);
  EXPECT_FALSE(CaptionButtonShow(Button(7, 100, 100), f).visible);
  f.mdiChildMaximized = true;
  EXPECT_TRUE(CaptionButtonShow(Button(7, 100, 100), f).visible);
  // A decoration needs both columns 0.
  EXPECT_FALSE(CaptionButtonShow(Button(-1, 0, -1), f).visible);
  EXPECT_TRUE(CaptionButtonShow(Button(-1, 0, 0), f).visible);
}

TEST(CaptionLayoutTest, PlacementForEveryAlign) {
  TCaptionGeometry g;
  g.windowWidth = 400;
  g.title = Rect(40, 2, 160, 22);
  g.bw = Rect(8, 24, 6, 5);
  g.menuHeight = 20;
  g.menuBarLeftMargin = 3;
  // 72 x 18 strip of four: 18 x 18 buttons.
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 0, 5, 3), g), Rect(5, 3, 23, 21));
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 1, 30, 3), g), Rect(370, 3, 388, 21));
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 2, 4, 3), g), Rect(18, 3, 36, 21));
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 8, 4, 3), g), Rect(18, 3, 36, 21));
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 3, 4, 3), g), Rect(164, 3, 182, 21));
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 9, 4, 3), g), Rect(164, 3, 182, 21));
  // On the menu bar: from the right edge inside the border and the menu
  // bar's left margin, centred in the band.
  EXPECT_EQ(PlaceCaptionButton(Button(7, 100, 100, 100, 40, 99, 48, 14, 4), g), Rect(351, 27, 363, 41));
  // Unknown aligns sit at the origin.
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 5, 40, 9), g), Rect(0, 0, 18, 18));
  // A frame count of 0 counts as one image.
  EXPECT_EQ(PlaceCaptionButton(Button(0, 0, 0, 0, 1, 1, 20, 10, 0), g), Rect(1, 1, 21, 11));
}

TEST(CaptionLayoutTest, HitTestTakesTheFirstVisibleActionButton) {
  std::vector<TCaptionButtonHit> buttons = {
      {Rect(10, 2, 28, 20), true, -1},  // decoration over the close button: never hit
      {Rect(10, 2, 28, 20), true, 0},   // close
      {Rect(30, 2, 48, 20), false, 1},  // hidden maximize
      {Rect(30, 2, 48, 20), true, 2},   // minimize under it
      {Rect(30, 2, 48, 20), true, 4},   // later one at the same place
  };
  EXPECT_EQ(HitCaptionButton(buttons, 10, 2), 1);
  EXPECT_EQ(HitCaptionButton(buttons, 27, 19), 1);
  EXPECT_EQ(HitCaptionButton(buttons, 28, 10), -1);  // right and bottom edges are outside
  EXPECT_EQ(HitCaptionButton(buttons, 20, 20), -1);
  EXPECT_EQ(HitCaptionButton(buttons, 35, 10), 3);
  EXPECT_EQ(HitCaptionButton(buttons, 5, 5), -1);
  EXPECT_EQ(HitCaptionButton({}, 5, 5), -1);
}

TEST(CaptionLayoutTest, ImagesForPaintAndState) {
  EXPECT_EQ(CaptionButtonImage(4, true, true), 1);
  EXPECT_EQ(CaptionButtonImage(4, false, true), 4);
  EXPECT_EQ(CaptionButtonImage(4, true, false), 4);
  EXPECT_EQ(CaptionButtonImage(3, false, false), 1);

  EXPECT_EQ(CaptionButtonStateImage(3, true, 4, 0), 3);
  EXPECT_EQ(CaptionButtonStateImage(2, true, 4, 0), 2);
  EXPECT_EQ(CaptionButtonStateImage(3, false, 4, 0), 4);
  EXPECT_EQ(CaptionButtonStateImage(2, false, 3, 0), 1);
  // Menu-bar buttons show image 4 for hot.
  EXPECT_EQ(CaptionButtonStateImage(3, true, 4, 100), 4);
  EXPECT_EQ(CaptionButtonStateImage(2, true, 4, 100), 2);
}

TEST(CaptionLayoutTest, Hints) {
  for (int a : {0, 9, 62}) EXPECT_EQ(CaptionButtonHint(a), L"Close") << a;
  for (int a : {1, 22}) EXPECT_EQ(CaptionButtonHint(a), L"Maximize") << a;
  for (int a : {2, 7, 23, 60}) EXPECT_EQ(CaptionButtonHint(a), L"Minimize") << a;
  for (int a : {8, 61}) EXPECT_EQ(CaptionButtonHint(a), L"Restore") << a;
  for (int a : {-1, 3, 4, 11, 12, 63, 1000}) EXPECT_EQ(CaptionButtonHint(a), L"") << a;
}

TEST(CaptionLayoutTest, RightReserveCountsVisibleRightAnchoredImages) {
  EXPECT_EQ(RightButtonReserve({}), 0);
  EXPECT_EQ(RightButtonReserve({{1, 30, true, true}, {1, 70, true, true}, {1, 50, true, true}}), 70);
  EXPECT_EQ(RightButtonReserve(
                {{1, 30, true, true}, {1, 70, false, true}, {0, 90, true, true}, {1, 80, true, false}}),
            30);
}

// A caption 300 wide from x = 8, 24 high; title ends 6 each side.
class TitleTest : public testing::Test {
 protected:
  TitleTest() {
    title.r = Rect(28, 4, 70, 0);
    title.backleft = 6;
    title.backright = 6;
    in.caption = Rect(8, 0, 308, 24);
    in.textWidth = 100;
    in.textHeight = 16;
    in.element = &title;
    in.rightButtons = 60;
  }
  TDataSkinTitle title;
  TTitleInput in;
};

TEST_F(TitleTest, LeftAligned) {
  TTitlePlacement p = PlaceTitle(in);
  // x = TextShift, y = (24 - 16) / 2 + 4 / 2.
  EXPECT_EQ(p.back, Rect(36, 6, 148, 22));
  EXPECT_EQ(p.text, Rect(42, 6, 142, 22));
}

TEST_F(TitleTest, CentredAndRightAligned) {
  title.Aligment = 1;
  EXPECT_EQ(PlaceTitle(in).back, Rect(8 + 94, 6, 8 + 94 + 112, 22));
  title.Aligment = 2;
  // 300 - 70 - 112 = 118.
  EXPECT_EQ(PlaceTitle(in).back, Rect(126, 6, 238, 22));
  title.Aligment = 7;
  EXPECT_EQ(PlaceTitle(in).back, Rect(8, 6, 120, 22));
}

TEST_F(TitleTest, WideTextIsCutBeforeTheRightReserve) {
  in.textWidth = 1000;
  TTitlePlacement p = PlaceTitle(in);
  EXPECT_EQ(p.back.Right, 308 - 70);
  EXPECT_EQ(p.text.Right, 308 - 70 - 6);
  // Popup windows stop before the right-anchored buttons instead.
  in.popup = true;
  EXPECT_EQ(PlaceTitle(in).back.Right, 308 - 60 - 5);
  // ... only when those take more than 5 pixels.
  in.rightButtons = 5;
  EXPECT_EQ(PlaceTitle(in).back.Right, 36 + 1012);
  // A short popup title is not touched.
  in.rightButtons = 60;
  in.textWidth = 100;
  EXPECT_EQ(PlaceTitle(in).back, Rect(36, 6, 148, 22));
}

TEST_F(TitleTest, RightToLeft) {
  in.rightToLeft = true;
  // Aligment 0: ends rightButtons before the caption's right end, then 10 right.
  TTitlePlacement p = PlaceTitle(in);
  EXPECT_EQ(p.back, Rect(8 + 300 - 60 - 112 + 10, 6, 8 + 300 - 60 + 10, 22));
  title.Aligment = 1;
  EXPECT_EQ(PlaceTitle(in).back.Left, 8 + (300 - 112 - 60) / 2 + 10);
  title.Aligment = 2;
  EXPECT_EQ(PlaceTitle(in).back.Left, 8 + 28 + 10);
  // A title that does not fit starts at TextShift.
  title.Aligment = 0;
  in.textWidth = 400;
  p = PlaceTitle(in);
  EXPECT_EQ(p.back.Left, 28 + 10);
  EXPECT_EQ(p.back.Right, 8 + (300 - 60 - 412) + 412 + 10);
}

TEST_F(TitleTest, DialogFramesStartWhereTheIconWouldBe) {
  in.dialogFrame = true;
  EXPECT_EQ(PlaceTitle(in).back.Left, 36 - 16);
  title.Aligment = 1;
  EXPECT_EQ(PlaceTitle(in).back.Left, 8 + 94);
}

TEST_F(TitleTest, NoTitleElementLaysOutAtZeroOffsets) {
  in.element = nullptr;
  EXPECT_EQ(PlaceTitle(in).back, Rect(8, 4, 108, 20));
}

TEST(CaptionLayoutTest, IconIsCentredOnTheTitleText) {
  EXPECT_EQ(IconTop(Rect(40, 6, 140, 22), 16), 6);
  EXPECT_EQ(IconTop(Rect(40, 4, 140, 24), 16), 6);
  EXPECT_EQ(IconTop(Rect(40, 0, 140, 13), 16), -2);
}

}  // namespace
}  // namespace skin::test
