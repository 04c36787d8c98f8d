#include "skin/controls/ButtonLayout.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

TButtonLook Look(bool focused, bool isDefault, bool hot, bool down, bool enabled = true) {
  return TButtonLook{focused, isDefault, hot, down, enabled};
}

TEST(ButtonFaceTest, PushButtonPrecedence) {
  EXPECT_EQ(PushButtonFace(Look(false, false, false, false)), bfNormal);
  EXPECT_EQ(PushButtonFace(Look(true, false, false, false)), bfFocused);
  EXPECT_EQ(PushButtonFace(Look(false, true, false, false)), bfFocused);
  EXPECT_EQ(PushButtonFace(Look(false, false, true, false)), bfHot);
  // Hot over focus, pressed over hot, disabled over everything.
  EXPECT_EQ(PushButtonFace(Look(true, false, true, false)), 4);
  EXPECT_EQ(PushButtonFace(Look(true, false, false, true)), 2);
  EXPECT_EQ(PushButtonFace(Look(true, true, true, true)), 2);
  EXPECT_EQ(PushButtonFace(Look(false, true, false, false, false)), 3);
  EXPECT_EQ(PushButtonFace(Look(false, false, true, true, false)), 3);
}

TEST(ButtonFaceTest, PictureButtonIgnoresDefault) {
  EXPECT_EQ(PictureButtonFace(Look(false, true, false, false)), bfNormal);
  EXPECT_EQ(PictureButtonFace(Look(true, true, false, false)), bfFocused);
  EXPECT_EQ(PictureButtonFace(Look(false, true, true, false)), bfHot);
}

TEST(ButtonFaceTest, MenuButtonShowsFocusAsHot) {
  EXPECT_EQ(MenuButtonFace(Look(false, false, false, false)), bfNormal);
  EXPECT_EQ(MenuButtonFace(Look(true, false, false, false)), bfHot);
  EXPECT_EQ(MenuButtonFace(Look(false, true, false, false)), bfNormal);  // no default look
  EXPECT_EQ(MenuButtonFace(Look(true, false, false, true)), bfPressed);
  EXPECT_EQ(MenuButtonFace(Look(true, false, true, true, false)), bfDisabled);
}

TEST(ButtonFaceTest, SpeedButtonStuckDownWinsOverDisabled) {
  EXPECT_EQ(SpeedButtonFace({false, false, true, false}), bfNormal);
  EXPECT_EQ(SpeedButtonFace({true, false, true, false}), bfHot);
  EXPECT_EQ(SpeedButtonFace({true, true, true, false}), bfPressed);
  EXPECT_EQ(SpeedButtonFace({true, false, false, false}), bfDisabled);
  TSpeedLook disabledDown{false, false, false, true};
  EXPECT_EQ(SpeedButtonFace(disabledDown), bfPressed);
  EXPECT_EQ(SpeedGlyphIndex(SpeedButtonFace(disabledDown), true), 4);
}

TEST(ButtonFaceTest, FlatSpeedButtonShowsSkinOnlyHotOrPressed) {
  EXPECT_FALSE(SpeedButtonShowsSkin(bfNormal, true));
  EXPECT_FALSE(SpeedButtonShowsSkin(bfDisabled, true));
  EXPECT_TRUE(SpeedButtonShowsSkin(bfHot, true));
  EXPECT_TRUE(SpeedButtonShowsSkin(bfPressed, true));
  EXPECT_TRUE(SpeedButtonShowsSkin(bfNormal, false));
}

TEST(ButtonFaceTest, GlyphIndexFollowsFace) {
  EXPECT_EQ(GlyphIndexForFace(bfNormal), 1);
  EXPECT_EQ(GlyphIndexForFace(bfPressed), 3);
  EXPECT_EQ(GlyphIndexForFace(bfDisabled), 2);
  EXPECT_EQ(GlyphIndexForFace(bfHot), 1);
  EXPECT_EQ(GlyphIndexForFace(bfFocused), 1);
  EXPECT_EQ(SpeedGlyphIndex(bfPressed, false), 3);
}

TEST(ButtonGlyphFrameTest, IndexPastTheStripFallsBackToFirst) {
  TGlyphFrame f = ChooseGlyphFrame(64, 3, 4);
  EXPECT_EQ(f.index, 3);
  EXPECT_EQ(f.frameWidth, 16);
  EXPECT_FALSE(f.embossed);
  f = ChooseGlyphFrame(32, 3, 2);
  EXPECT_EQ(f.index, 1);
  EXPECT_EQ(f.frameWidth, 16);
  // A single image asked for its disabled look is embossed.
  f = ChooseGlyphFrame(16, 2, 1);
  EXPECT_TRUE(f.embossed);
  EXPECT_EQ(f.index, 1);
  // An absent NumGlyphs (-1) counts as one image.
  f = ChooseGlyphFrame(16, 2, -1);
  EXPECT_TRUE(f.embossed);
  EXPECT_EQ(f.frameWidth, 16);
  EXPECT_FALSE(ChooseGlyphFrame(32, 2, 2).embossed);
}

TEST(ButtonInkTest, PushRulesLayerOverTheNormalColour) {
  TInkChoice all{true, true, true};
  EXPECT_EQ(PushCaptionInk(bfNormal, true, {}), TCaptionInk::Default);
  EXPECT_EQ(PushCaptionInk(bfNormal, true, all), TCaptionInk::Normal2);
  EXPECT_EQ(PushCaptionInk(bfFocused, true, all), TCaptionInk::Normal2);
  EXPECT_EQ(PushCaptionInk(bfHot, true, all), TCaptionInk::Over2);
  EXPECT_EQ(PushCaptionInk(bfPressed, true, all), TCaptionInk::Down2);
  EXPECT_EQ(PushCaptionInk(bfHot, true, {true, false, false}), TCaptionInk::Normal2);
  EXPECT_EQ(PushCaptionInk(bfDisabled, false, all), TCaptionInk::Disabled);
}

TEST(ButtonInkTest, FaceRulesKeepEachColourToItsFace) {
  TInkChoice all{true, true, true};
  EXPECT_EQ(FaceCaptionInk(bfNormal, true, all), TCaptionInk::Normal2);
  EXPECT_EQ(FaceCaptionInk(bfFocused, true, all), TCaptionInk::Default);
  EXPECT_EQ(FaceCaptionInk(bfHot, true, {true, false, false}), TCaptionInk::Default);
  EXPECT_EQ(FaceCaptionInk(bfPressed, true, all), TCaptionInk::Down2);
  EXPECT_EQ(FaceCaptionInk(bfPressed, false, all), TCaptionInk::Disabled);
}

TEST(ButtonCaptionTest, FirstDoubleBarBecomesLineBreak) {
  EXPECT_EQ(SplitCaptionBars(L"打开||文件"), L"打开\r\n文件");
  EXPECT_EQ(SplitCaptionBars(L"a||b||c"), L"a\r\nb||c");
  EXPECT_EQ(SplitCaptionBars(L"a|b"), L"a|b");
  EXPECT_EQ(SplitCaptionBars(L""), L"");
}

TEST(ButtonCaptionTest, CentredCaptionSitsOnePixelAboveTheMiddle) {
  TRect r = PlaceButtonCaption(Rect(0, 0, 75, 25), 24, 12, true);
  EXPECT_EQ(r, Rect(25, 5, 49, 17));
  // Odd remainders truncate.
  r = PlaceButtonCaption(Rect(0, 0, 76, 26), 25, 13, true);
  EXPECT_EQ(r, Rect(25, 5, 50, 18));
  // A caption taller than the button moves up, never wraps around.
  r = PlaceButtonCaption(Rect(0, 0, 40, 10), 20, 30, true);
  EXPECT_EQ(r, Rect(10, -11, 30, 19));
  EXPECT_EQ(ButtonFocusRect(Rect(25, 5, 49, 17)), Rect(23, 3, 51, 19));
}

TEST(ButtonCaptionTest, AlignedCaptionSpansTheWidth) {
  TRect r = PlaceButtonCaption(Rect(0, 0, 75, 25), 24, 12, false);
  EXPECT_EQ(r, Rect(0, 5, 75, 17));
  r = PlaceButtonCaption(Rect(10, 20, 85, 45), 24, 12, false);
  EXPECT_EQ(r, Rect(10, 25, 85, 37));
}

TEST(ButtonLayoutParseTest, LayoutNamesInAnyCase) {
  EXPECT_EQ(ParseButtonLayout(L"blGlyphRight"), blGlyphRight);
  EXPECT_EQ(ParseButtonLayout(L"BLGLYPHTOP"), blGlyphTop);
  EXPECT_EQ(ParseButtonLayout(L"blglyphbottom"), blGlyphBottom);
  EXPECT_EQ(ParseButtonLayout(L"blGlyphLeft"), blGlyphLeft);
  EXPECT_EQ(ParseButtonLayout(L""), blGlyphLeft);
  EXPECT_EQ(ParseButtonLayout(L"sideways"), blGlyphLeft);
}

TEST(ButtonLayoutMeasureTest, GlyphTakesRoomBesideOrAbove) {
  EXPECT_EQ(GlyphCaptionMeasureRect(100, 30, blGlyphLeft, 16, 16), Rect(2, 2, 80, 28));
  EXPECT_EQ(GlyphCaptionMeasureRect(100, 30, blGlyphRight, 16, 16), Rect(2, 2, 80, 28));
  EXPECT_EQ(GlyphCaptionMeasureRect(100, 60, blGlyphTop, 16, 20), Rect(2, 2, 98, 36));
  EXPECT_EQ(GlyphCaptionMeasureRect(100, 60, blGlyphBottom, 0, 0), Rect(2, 2, 98, 56));
}

TGlyphLayoutFacts Facts(TButtonLayout layout, int32_t margin, int32_t spacing) {
  TGlyphLayoutFacts f;
  f.width = 100;
  f.height = 30;
  f.glyphWidth = 16;
  f.glyphHeight = 16;
  f.textWidth = 40;
  f.textHeight = 13;
  f.margin = margin;
  f.spacing = spacing;
  f.layout = layout;
  return f;
}

TEST(BitButtonLayoutTest, AutomaticMarginAndSpacingSplitTheRestInThree) {
  TGlyphPlacement p = BitButtonLayout(Facts(blGlyphLeft, -1, -1));
  EXPECT_EQ(p.margin, 14);
  EXPECT_EQ(p.spacing, 14);
  EXPECT_EQ(p.glyphX, 14);
  EXPECT_EQ(p.glyphY, 7);  // (30 - 16 + 1) div 2
  EXPECT_EQ(p.text, Rect(44, 9, 84, 22));
  EXPECT_EQ(p.align, TTextAlign::Left);
}

TEST(BitButtonLayoutTest, GivenSpacingCentresTheGroup) {
  TGlyphPlacement p = BitButtonLayout(Facts(blGlyphLeft, -1, 4));
  EXPECT_EQ(p.margin, 20);  // (100 - 16 - 4 - 40) div 2
  EXPECT_EQ(p.glyphX, 20);
  EXPECT_EQ(p.text.Left, 40);
  // taCenter overrides a given margin the same way.
  TGlyphLayoutFacts f = Facts(blGlyphLeft, 3, 4);
  f.centred = true;
  EXPECT_EQ(BitButtonLayout(f).margin, 20);
}

TEST(BitButtonLayoutTest, GivenMarginSpreadsTheSpacing) {
  TGlyphPlacement p = BitButtonLayout(Facts(blGlyphLeft, 4, -1));
  EXPECT_EQ(p.spacing, 20);  // (100 - 4 - 16 - 40) div 2
  EXPECT_EQ(p.glyphX, 4);
  EXPECT_EQ(p.text.Left, 40);
  p = BitButtonLayout(Facts(blGlyphLeft, 4, 2));
  EXPECT_EQ(p.glyphX, 4);
  EXPECT_EQ(p.text.Left, 22);
}

TEST(BitButtonLayoutTest, GlyphRightAlignsTheCaptionRight) {
  TGlyphPlacement p = BitButtonLayout(Facts(blGlyphRight, 4, 2));
  EXPECT_EQ(p.glyphX, 80);  // 100 - 4 - 16
  EXPECT_EQ(p.text, Rect(38, 9, 78, 22));
  EXPECT_EQ(p.align, TTextAlign::Right);
}

TEST(BitButtonLayoutTest, VerticalLayoutsCentreAcross) {
  TGlyphLayoutFacts f = Facts(blGlyphTop, -1, -1);
  f.height = 60;
  TGlyphPlacement p = BitButtonLayout(f);
  EXPECT_EQ(p.margin, 10);  // (60 - 16 - 13) div 3
  EXPECT_EQ(p.glyphX, 42);  // (100 - 16 + 1) div 2
  EXPECT_EQ(p.glyphY, 10);
  EXPECT_EQ(p.text, Rect(30, 36, 70, 49));
  EXPECT_EQ(p.align, TTextAlign::Centre);
  f.layout = blGlyphBottom;
  p = BitButtonLayout(f);
  EXPECT_EQ(p.glyphY, 34);  // 60 - 10 - 16
  EXPECT_EQ(p.text.Top, 11);
  EXPECT_EQ(p.align, TTextAlign::Centre);
}

TEST(BitButtonLayoutTest, NoCaptionOrNoGlyphMeansNoSpacing) {
  TGlyphLayoutFacts f = Facts(blGlyphLeft, -1, 6);
  f.textWidth = 0;
  f.textHeight = 0;
  TGlyphPlacement p = BitButtonLayout(f);
  EXPECT_EQ(p.spacing, 0);
  EXPECT_EQ(p.glyphX, 42);  // the glyph alone, centred
  f = Facts(blGlyphLeft, -1, -1);
  f.glyphWidth = 0;
  f.glyphHeight = 0;
  p = BitButtonLayout(f);
  EXPECT_EQ(p.margin, 30);  // (100 - 40) div 2
  EXPECT_EQ(p.text.Left, 30);
}

TEST(SpeedButtonLayoutTest, MarginFromSpacingLiesOnePixelFurther) {
  TGlyphPlacement p = SpeedButtonLayout(Facts(blGlyphLeft, -1, 4));
  EXPECT_EQ(p.margin, 21);
  EXPECT_EQ(SpeedButtonLayout(Facts(blGlyphLeft, -1, -1)).margin, 14);
  // No "Alignment" test: a given margin stays.
  TGlyphLayoutFacts f = Facts(blGlyphLeft, 3, 4);
  f.centred = true;
  EXPECT_EQ(SpeedButtonLayout(f).glyphX, 3);
}

TEST(MenuButtonLayoutTest, RowOfGlyphCaptionAndArrow) {
  EXPECT_EQ(MenuCaptionMeasureRect(100, 24, 16), Rect(2, 2, 74, 22));
  TMenuButtonPlacement p = MenuButtonLayout(100, 24, 16, 16, 40, 13, -1, -1);
  EXPECT_EQ(p.margin, 9);  // (100 - 64) div 4
  EXPECT_EQ(p.spacing, 9);
  EXPECT_EQ(p.glyphX, 9);
  EXPECT_EQ(p.glyphY, 4);
  EXPECT_EQ(p.text, Rect(34, 6, 74, 19));
  EXPECT_EQ(p.arrowX, 92);
  EXPECT_EQ(p.arrowY, 10);
  p = MenuButtonLayout(100, 24, 16, 16, 40, 13, -1, 5);
  EXPECT_EQ(p.margin, 13);  // (100 - (16 + 10 + 40 + 8)) div 2
  p = MenuButtonLayout(100, 24, 0, 0, 40, 13, 4, -1);
  EXPECT_EQ(p.spacing, 30);  // (100 - 8 - 0 + 8 - 40) div 2
  EXPECT_EQ(p.text.Left, 34);
}

TEST(MenuButtonLayoutTest, ArrowPointsDown) {
  auto c = MenuArrowCorners(50, 10);
  EXPECT_EQ(c[0], (TPoint32{50, 12}));
  EXPECT_EQ(c[1], (TPoint32{47, 9}));
  EXPECT_EQ(c[2], (TPoint32{53, 9}));
}

TEST(PushTrackerTest, PressAndReleaseInsideClicksOnce) {
  TPushTracker t;
  auto o = t.Move(true, true);
  EXPECT_TRUE(o.repaint);
  EXPECT_TRUE(t.Hot());
  o = t.Press(true);
  EXPECT_TRUE(o.repaint);
  EXPECT_EQ(o.capture, TPushTracker::Capture::Take);
  EXPECT_TRUE(t.Down());
  o = t.Release(true, true);
  EXPECT_TRUE(o.click);
  EXPECT_EQ(o.capture, TPushTracker::Capture::Release);
  EXPECT_FALSE(t.Down());
  EXPECT_TRUE(t.Hot());
  // A second release (no press) does nothing.
  o = t.Release(true, true);
  EXPECT_FALSE(o.click);
  EXPECT_EQ(o.capture, TPushTracker::Capture::Keep);
}

TEST(PushTrackerTest, ReleaseOutsideDoesNotClickAndLeavesNoPressedLook) {
  TPushTracker t;
  t.Press(true);
  auto o = t.Move(false, true);
  EXPECT_TRUE(o.repaint);
  EXPECT_FALSE(t.Down());
  EXPECT_FALSE(t.Hot());
  // Back in: pressed again.
  t.Move(true, true);
  EXPECT_TRUE(t.Down());
  t.Move(false, true);
  o = t.Release(false, true);
  EXPECT_FALSE(o.click);
  EXPECT_EQ(o.capture, TPushTracker::Capture::Release);
  EXPECT_FALSE(t.Down());
  EXPECT_FALSE(t.Tracking());
  // Later moves elsewhere change nothing pressed.
  t.Move(false, true);
  EXPECT_FALSE(t.Down());
}

TEST(PushTrackerTest, LeaveDuringPressKeepsTheCapture) {
  TPushTracker t;
  t.Press(true);
  auto o = t.Leave();
  EXPECT_EQ(o.capture, TPushTracker::Capture::Keep);
  EXPECT_FALSE(t.Down());
  EXPECT_TRUE(t.Tracking());
  t.Move(true, true);
  EXPECT_TRUE(t.Release(true, true).click);
}

TEST(PushTrackerTest, CancelEndsThePressWithoutClick) {
  TPushTracker t;
  t.Press(true);
  auto o = t.Cancel();
  EXPECT_EQ(o.capture, TPushTracker::Capture::Release);
  EXPECT_FALSE(t.Down());
  EXPECT_FALSE(t.Release(true, true).click);
  // Cancelling with nothing pressed releases nothing.
  EXPECT_EQ(t.Cancel().capture, TPushTracker::Capture::Keep);
}

TEST(PushTrackerTest, DisabledButtonNeitherPressesNorClicksNorLights) {
  TPushTracker t;
  auto o = t.Press(false);
  EXPECT_FALSE(o.repaint);
  EXPECT_EQ(o.capture, TPushTracker::Capture::Keep);
  EXPECT_FALSE(t.Down());
  t.Move(true, false);
  EXPECT_FALSE(t.Hot());
  // Disabled while held: the release does not click.
  t.Press(true);
  EXPECT_FALSE(t.Release(true, false).click);
}

TEST(PushTrackerTest, SpaceShowsPressedWithoutClicking) {
  TPushTracker t;
  auto o = t.KeyDown();
  EXPECT_TRUE(o.repaint);
  EXPECT_FALSE(o.click);
  EXPECT_TRUE(t.Down());
  o = t.KeyUp();
  EXPECT_FALSE(o.click);
  EXPECT_FALSE(t.Down());
}

}  // namespace
}  // namespace skin::test
