// The media player's row of buttons as the skin's overlay sees it: set
// texts, widths, the hit test (shared edges, the plain columns after the last
// button), faces and glyphs.
#include "skin/controls/MediaPlayerLayout.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(MediaPlayerLayoutTest, SetTextsNameTheirElementsExactly) {
  TMPButtonSet set = ParseMPButtonSet(L"[btPlay, btStop ,btEject]");
  EXPECT_TRUE(set[btPlay]);
  EXPECT_TRUE(set[btStop]);
  EXPECT_TRUE(set[btEject]);
  EXPECT_FALSE(set[btPause]);
  EXPECT_EQ(CountMPButtons(set), 3);
  EXPECT_EQ(MPButtonSetText(set), L"[btPlay,btStop,btEject]");
  EXPECT_EQ(CountMPButtons(ParseMPButtonSet(L"[]")), 0);
  EXPECT_EQ(CountMPButtons(ParseMPButtonSet(L"")), 0);
  // A longer name that starts like a button's is not that button.
  EXPECT_EQ(CountMPButtons(ParseMPButtonSet(L"[btPlayAll,xbtStop]")), 0);
}

TEST(MediaPlayerLayoutTest, GlyphNamesJoinStateAndButton) {
  EXPECT_EQ(MPGlyphName(0, btPlay), L"EN_MPPLAY");
  EXPECT_EQ(MPGlyphName(1, btRecord), L"DI_MPRECORD");
  EXPECT_EQ(MPGlyphName(2, btEject), L"CL_MPEJECT");
  EXPECT_EQ(MPGlyphName(3, btPlay), L"");
  EXPECT_STREQ(MPButtonName(btBack), L"btBack");
}

TEST(MediaPlayerLayoutTest, HitTestWalksTheVisibleButtonsInOrder) {
  TMPButtonSet visible{};
  visible[btPause] = visible[btNext] = visible[btEject] = true;
  const int32_t w = MPButtonWidth(90, CountMPButtons(visible));
  ASSERT_EQ(w, 30);
  EXPECT_EQ(HitMPButton(visible, w, 0), btPause);
  EXPECT_EQ(HitMPButton(visible, w, 31), btNext);
  EXPECT_EQ(HitMPButton(visible, w, 89), btEject);
  EXPECT_EQ(HitMPButton(visible, w, 91), kMPNoButton);
  EXPECT_EQ(HitMPButton(visible, w, -1), kMPNoButton);
}

// Two buttons on 101 pixels: each is 50 wide; the shared edge (x 50) is the
// first button's, and the plain last column (x 100) still counts as the
// second, both edges being inside.
TEST(MediaPlayerLayoutTest, TwoButtonsOnAHundredAndOnePixels) {
  TMPButtonSet visible{};
  visible[btPlay] = visible[btStop] = true;
  const int32_t w = MPButtonWidth(101, 2);
  ASSERT_EQ(w, 50);
  EXPECT_EQ(HitMPButton(visible, w, 49), btPlay);
  EXPECT_EQ(HitMPButton(visible, w, 50), btPlay);
  EXPECT_EQ(HitMPButton(visible, w, 51), btStop);
  EXPECT_EQ(HitMPButton(visible, w, 100), btStop);
  EXPECT_EQ(HitMPButton(visible, w, 101), kMPNoButton);
}

TEST(MediaPlayerLayoutTest, NoVisibleButtonHasNoWidthAndNoHit) {
  EXPECT_EQ(MPButtonWidth(200, 0), 0);
  EXPECT_EQ(HitMPButton(TMPButtonSet{}, 0, 0), kMPNoButton);
}

TEST(MediaPlayerLayoutTest, FacesAndGlyphs) {
  EXPECT_EQ(MPButtonFace(true, false, true), 1);
  EXPECT_EQ(MPButtonFace(true, true, true), 2);
  EXPECT_EQ(MPButtonFace(true, true, false), 1);
  EXPECT_EQ(MPButtonFace(false, true, true), 3);  // disabled wins over pressed
  EXPECT_EQ(MPGlyphIndex(true, false), 0);
  EXPECT_EQ(MPGlyphIndex(true, true), 2);
  EXPECT_EQ(MPGlyphIndex(false, true), 1);
}

}  // namespace
}  // namespace skin
