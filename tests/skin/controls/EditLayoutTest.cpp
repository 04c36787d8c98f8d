// Faces, halves, glyph places and combo-box parts of the skinned edits,
// combo boxes and up-down controls.
#include "skin/controls/EditLayout.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// ---------------------------------------------------------------- up-down

TEST(EditLayoutTest, SpinDirectionFollowsTheStyleUnlessForced) {
  EXPECT_FALSE(SpinIsHorizontal(0, 0));
  EXPECT_TRUE(SpinIsHorizontal(kUpDownHorzStyle, 0));
  // A tab control's arrows: vertical by style, side by side when forced.
  EXPECT_TRUE(SpinIsHorizontal(0, 1));
  EXPECT_FALSE(SpinIsHorizontal(0x20, 0));
}

TEST(EditLayoutTest, VerticalHalvesSplitTheHeightUpAboveDown) {
  auto halves = SpinHalves(16, 21, false);
  EXPECT_EQ(halves[0].rect, Rect(0, 0, 16, 10));
  EXPECT_EQ(halves[0].arrow, saUp);
  EXPECT_EQ(halves[1].rect, Rect(0, 10, 16, 21));
  EXPECT_EQ(halves[1].arrow, saDown);
}

TEST(EditLayoutTest, HorizontalHalvesSplitTheWidthLeftBeforeRight) {
  auto halves = SpinHalves(33, 14, true);
  EXPECT_EQ(halves[0].rect, Rect(0, 0, 16, 14));
  EXPECT_EQ(halves[0].arrow, saLeft);
  EXPECT_EQ(halves[1].rect, Rect(16, 0, 33, 14));
  EXPECT_EQ(halves[1].arrow, saRight);
}

TEST(EditLayoutTest, SpinFacePressedOrHotOnlyUnderTheCursor) {
  EXPECT_EQ(SpinFace(false, false, false, true), 1);
  EXPECT_EQ(SpinFace(true, false, false, true), 1);
  EXPECT_EQ(SpinFace(true, true, false, true), 2);
  EXPECT_EQ(SpinFace(true, true, true, true), 2);
  EXPECT_EQ(SpinFace(true, false, true, true), 4);
  EXPECT_EQ(SpinFace(false, true, true, true), 1);
  EXPECT_EQ(SpinFace(true, true, true, false), 3);
  EXPECT_EQ(SpinFace(false, false, false, false), 3);
}

TEST(EditLayoutTest, SpinFramesHoldFourFacesPerArrow) {
  EXPECT_EQ(SpinFrameIndex(1, saUp), 1);
  EXPECT_EQ(SpinFrameIndex(4, saUp), 4);
  EXPECT_EQ(SpinFrameIndex(1, saDown), 5);
  EXPECT_EQ(SpinFrameIndex(3, saDown), 7);
  EXPECT_EQ(SpinFrameIndex(1, saLeft), 1);
  EXPECT_EQ(SpinFrameIndex(2, saRight), 6);
}

TEST(EditLayoutTest, SpinInsideAnEditKeepsThreePixelsFromItsEdges) {
  const TRect rc = Rect(0, 0, 16, 20);
  // Edit at (100,50)-(200,74); the spin one pixel below its top, flush right and bottom.
  const TRect edit = Rect(100, 50, 200, 74);
  TRect r = SpinRectInEdit(rc, Rect(184, 51, 200, 71), edit);
  EXPECT_EQ(r.Top, 2);      // 1 pixel from the top: drawn 2 lower
  EXPECT_EQ(r.Bottom, 20);  // 3 from the bottom already
  EXPECT_EQ(r.Right, 13);
  EXPECT_EQ(r.Left, 0);
  // Well inside: unchanged.
  EXPECT_EQ(SpinRectInEdit(rc, Rect(150, 53, 166, 71), edit), rc);
  // Touching the bottom: 3 up.
  EXPECT_EQ(SpinRectInEdit(rc, Rect(150, 54, 166, 74), edit).Bottom, 17);
}

TEST(EditLayoutTest, PlainChevronsAreTheStrokeTables) {
  const auto& up = SpinChevron(saUp);
  ASSERT_EQ(up.size(), 7u);
  EXPECT_EQ(up[0], (TPolyline{{0, 0}, {0, -1}}));
  EXPECT_EQ(up[1], (TPolyline{{1, 1}, {4, 4}}));
  EXPECT_EQ(up[6], (TPolyline{{0, 1}, {-2, 4}}));
  const auto& down = SpinChevron(saDown);
  ASSERT_EQ(down.size(), 7u);
  EXPECT_EQ(down[0], (TPolyline{{0, 3}, {0, 4}}));
  EXPECT_EQ(down[4], (TPolyline{{-1, 2}, {-4, -1}}));
  ASSERT_EQ(SpinChevron(saLeft).size(), 1u);
  EXPECT_EQ(SpinChevron(saLeft)[0], (TPolyline{{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}}));
  EXPECT_EQ(SpinChevron(saRight)[0], (TPolyline{{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}}));
}

TEST(EditLayoutTest, GlyphOriginIsTheCentreRaisedForVerticalArrows) {
  EXPECT_EQ(SpinGlyphOrigin(Rect(0, 0, 16, 10), saUp), (TSpinPoint{8, 3}));
  EXPECT_EQ(SpinGlyphOrigin(Rect(0, 10, 16, 21), saDown), (TSpinPoint{8, 13}));
  EXPECT_EQ(SpinGlyphOrigin(Rect(16, 0, 33, 14), saRight), (TSpinPoint{24, 7}));
  EXPECT_FALSE(SpinPlainShadowed(1));
  EXPECT_TRUE(SpinPlainShadowed(2));
  EXPECT_FALSE(SpinPlainShadowed(3));
  EXPECT_TRUE(SpinPlainShadowed(4));
}

// ---------------------------------------------------------------- combo boxes

TEST(EditLayoutTest, ComboFaceDisabledWinsOverEverything) {
  EXPECT_EQ(ComboFace(false, false, false, true), 1);
  EXPECT_EQ(ComboFace(true, false, false, true), 4);
  EXPECT_EQ(ComboFace(true, true, false, true), 2);
  EXPECT_EQ(ComboFace(false, false, true, true), 4);
  EXPECT_EQ(ComboFace(false, true, true, true), 2);
  EXPECT_EQ(ComboFace(true, true, true, false), 3);
}

TEST(EditLayoutTest, FlatComboFaceLetsFocusAndHoverOverrideDisabled) {
  EXPECT_EQ(ComboFlatFace(false, false, false, true), 1);
  EXPECT_EQ(ComboFlatFace(false, false, false, false), 3);
  EXPECT_EQ(ComboFlatFace(true, false, false, false), 4);
  EXPECT_EQ(ComboFlatFace(false, false, true, false), 4);
  EXPECT_EQ(ComboFlatFace(false, true, false, false), 2);
}

TEST(EditLayoutTest, StandardComboButtonAtTheRight) {
  TComboParts p = ComboParts(120, 21, 17, false);
  EXPECT_EQ(p.textArea, Rect(2, 2, 99, 19));
  EXPECT_EQ(p.button, Rect(101, 0, 120, 21));
  EXPECT_EQ(p.glyph, Rect(101, 0, 118, 21));
}

TEST(EditLayoutTest, StandardComboButtonAtTheLeftWithLeftScrollBar) {
  TComboParts p = ComboParts(120, 21, 17, true);
  EXPECT_EQ(p.textArea, Rect(21, 2, 118, 19));
  EXPECT_EQ(p.button, Rect(0, 0, 19, 21));
  EXPECT_EQ(p.glyph, Rect(2, 0, 19, 21));
}

TEST(EditLayoutTest, MirroredStripHoldsItsFramesInReverse) {
  EXPECT_EQ(MirroredFrame(1, 4), 4);
  EXPECT_EQ(MirroredFrame(4, 4), 1);
  EXPECT_EQ(MirroredFrame(2, 4), 3);
  EXPECT_EQ(MirroredFrame(9, 4), 1);
  EXPECT_EQ(MirroredFrame(1, 1), 1);
}

TEST(EditLayoutTest, GlyphIsCentredRoundingUpAndLeft) {
  EXPECT_EQ(CenteredGlyph(Rect(101, 0, 118, 21), 12, 12), Rect(103, 4, 115, 16));
  EXPECT_EQ(CenteredGlyph(Rect(0, 0, 10, 10), 3, 3), Rect(3, 3, 6, 6));
}

TEST(EditLayoutTest, FlatComboPartsAtEitherSide) {
  TComboFlatParts right = ComboFlatParts(100, 22, 15, 18, 16, false);
  EXPECT_EQ(right.outer, Rect(0, 0, 100, 22));
  EXPECT_EQ(right.frame, Rect(1, 1, 99, 21));
  EXPECT_EQ(right.fill, Rect(82, 2, 98, 20));
  EXPECT_EQ(right.button, Rect(83, 2, 98, 20));
  TComboFlatParts left = ComboFlatParts(100, 22, 15, 10, 16, true);
  EXPECT_EQ(left.fill, Rect(2, 2, 18, 20));
  // A button image lower than the thumb width keeps its own height.
  EXPECT_EQ(left.button, Rect(2, 2, 17, 12));
}

TEST(EditLayoutTest, BorderFramesNeedASmallerClientBothWays) {
  EXPECT_TRUE(HasBorderFrame(100, 21, 96, 17));
  EXPECT_FALSE(HasBorderFrame(100, 21, 100, 21));
  EXPECT_FALSE(HasBorderFrame(100, 21, 96, 21));
  EXPECT_TRUE(HasPrintedBorder(100, 21, 96, 17));
  EXPECT_FALSE(HasPrintedBorder(100, 21, 98, 19));
}

}  // namespace
}  // namespace skin
