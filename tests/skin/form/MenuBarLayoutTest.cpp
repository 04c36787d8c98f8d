#include "skin/form/MenuBarLayout.h"

#include <gtest/gtest.h>

namespace skin::test {
namespace {

TMenuBarEntry Entry(int32_t textWidth, bool visible = true) {
  TMenuBarEntry e;
  e.textWidth = textWidth;
  e.visible = visible;
  return e;
}

TDataSkinObject MenubarElement(int32_t left, int32_t right) {
  TDataSkinObject m("Personality");
  m.r = Rect(left, 0, right, 0);
  m.Map = TBitmap(20, 40, MakePixel(1, 2, 3));
  m.frame = 2;
  return m;
}

// The band of a window whose border is 4 wide and whose caption is 26 high.
const TRect kBand = Rect(4, 26, 404, 45);

TEST(MenuBarLayoutTest, StartOffsetFollowsTheSkinsFixedEnds) {
  TDataSkinObject m = MenubarElement(2, 3);
  EXPECT_EQ(MenuBarStart(&m, false, 400), 6);
  EXPECT_EQ(MenuBarStart(&m, true, 400), 11);
  EXPECT_EQ(MenuBarStart(nullptr, false, 400), kMenuPlainStart);
  EXPECT_EQ(MenuBarStart(nullptr, true, 400), kMenuPlainStart);
  // A left end of 20 on a band 15 wide: the row starts at 12.
  TDataSkinObject wide = MenubarElement(20, 0);
  EXPECT_EQ(MenuBarStart(&wide, false, 15), 12);
  EXPECT_EQ(MenuBarStart(&wide, false, 24), 24);
}

TEST(MenuBarLayoutTest, LeftToRightRowOfButtons) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(30)};
  LayoutMenuBar(row, kBand, 6, false, kBand.Width());
  EXPECT_EQ(row[0].bounds, Rect(10, 26, 44, 44));
  EXPECT_EQ(row[0].textRect, Rect(6, 0, 40, 18));
  EXPECT_EQ(row[1].bounds, Rect(44, 26, 84, 44));
  EXPECT_EQ(row[1].textRect, Rect(40, 0, 80, 18));
}

TEST(MenuBarLayoutTest, HiddenAndEmptyButtonsTakeNoRoom) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(50, false), Entry(0), Entry(30)};
  LayoutMenuBar(row, kBand, 6, false, kBand.Width());
  EXPECT_EQ(row[1].bounds, TRect{});
  EXPECT_FALSE(row[1].Reachable());
  EXPECT_EQ(row[2].bounds.Width(), 0);
  EXPECT_FALSE(row[2].Reachable());
  // The fourth follows the first directly.
  EXPECT_EQ(row[3].bounds, Rect(44, 26, 84, 44));
}

TEST(MenuBarLayoutTest, RightToLeftRowRunsFromTheRightEdgeAndStopsAtTheLimit) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(30)};
  LayoutMenuBar(row, kBand, 11, true, kBand.Width());
  EXPECT_EQ(row[0].textRect, Rect(355, 0, 389, 18));
  EXPECT_EQ(row[0].bounds, Rect(359, 26, 393, 44));
  EXPECT_EQ(row[1].bounds, Rect(319, 26, 359, 44));
  // Caption buttons of a maximized child at the right end push the row left.
  LayoutMenuBar(row, kBand, 11, true, 300);
  EXPECT_EQ(row[0].textRect, Rect(266, 0, 300, 18));
}

TEST(MenuBarLayoutTest, HitTestSkipsHiddenAndEmptyButtons) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(0), Entry(30)};
  LayoutMenuBar(row, kBand, 6, false, kBand.Width());
  EXPECT_EQ(FindMenuEntry(row, 10, 26), 0);
  EXPECT_EQ(FindMenuEntry(row, 43, 43), 0);
  EXPECT_EQ(FindMenuEntry(row, 44, 30), 2);  // the empty one sits at 44 with no width
  EXPECT_EQ(FindMenuEntry(row, 9, 30), -1);
  EXPECT_EQ(FindMenuEntry(row, 20, 44), -1);  // the band's last row belongs to no button
  EXPECT_EQ(FindMenuEntry(row, 200, 30), -1);
}

TEST(MenuBarLayoutTest, ArrowKeysSkipButtonsThatCannotBeReachedAndWrap) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(10, false), Entry(0), Entry(30)};
  LayoutMenuBar(row, kBand, 6, false, kBand.Width());
  EXPECT_EQ(NextMenuEntry(row, 0, true), 3);
  EXPECT_EQ(NextMenuEntry(row, 3, true), 0);
  EXPECT_EQ(NextMenuEntry(row, 3, false), 0);
  EXPECT_EQ(NextMenuEntry(row, 0, false), 3);
  EXPECT_EQ(NextMenuEntry(row, -1, true), 0);
  EXPECT_EQ(NextMenuEntry(row, -1, false), 3);
  // One reachable button: moving lands on itself.
  std::vector<TMenuBarEntry> one{Entry(0), Entry(20), Entry(5, false)};
  LayoutMenuBar(one, kBand, 6, false, kBand.Width());
  EXPECT_EQ(NextMenuEntry(one, 1, true), 1);
  EXPECT_EQ(NextMenuEntry(one, 1, false), 1);
}

TEST(MenuBarLayoutTest, NoReachableButtonEndsTheSearch) {
  std::vector<TMenuBarEntry> none{Entry(0), Entry(20, false)};
  LayoutMenuBar(none, kBand, 6, false, kBand.Width());
  EXPECT_EQ(NextMenuEntry(none, 0, true), -1);
  EXPECT_EQ(NextMenuEntry(none, -1, false), -1);
  EXPECT_EQ(NextMenuEntry({}, -1, true), -1);
  // An index left over from a longer row is treated as none.
  EXPECT_EQ(NextMenuEntry(none, 7, true), -1);
}

TEST(MenuBarLayoutTest, ClickPointOnlyForReachableButtons) {
  std::vector<TMenuBarEntry> row{Entry(24), Entry(0), Entry(10, false)};
  LayoutMenuBar(row, kBand, 6, false, kBand.Width());
  int32_t x = -1, y = -1;
  EXPECT_TRUE(MenuEntryClickPoint(row[0], 100, 200, x, y));
  EXPECT_EQ(x, 111);
  EXPECT_EQ(y, 227);
  x = y = -1;
  EXPECT_FALSE(MenuEntryClickPoint(row[1], 100, 200, x, y));
  EXPECT_FALSE(MenuEntryClickPoint(row[2], 100, 200, x, y));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
}

TEST(MenuBarLayoutTest, DropDownOpensUnderTheButton) {
  TMenuPopupPlace ltr = MenuPopupPlace(Rect(10, 26, 44, 44), 100, 200, false);
  EXPECT_EQ(ltr.x, 110);
  EXPECT_EQ(ltr.y, 244);
  EXPECT_EQ(ltr.flags, 0x82u);
  TMenuPopupPlace rtl = MenuPopupPlace(Rect(10, 26, 44, 44), 100, 200, true);
  EXPECT_EQ(rtl.x, 144);
  EXPECT_EQ(rtl.y, 244);
  EXPECT_EQ(rtl.flags, 0x8Au);
}

TEST(MenuBarLayoutTest, ArrowKeysWhileADropDownIsOpen) {
  const uint32_t left = 0x25, right = 0x27, down = 0x28;
  EXPECT_EQ(MenuTrackKey(right, false, false, false), TMenuKeyMove::Next);
  EXPECT_EQ(MenuTrackKey(left, false, false, false), TMenuKeyMove::Previous);
  // Right on an item with a submenu opens it; Left in an open submenu closes it.
  EXPECT_EQ(MenuTrackKey(right, false, false, true), TMenuKeyMove::Pass);
  EXPECT_EQ(MenuTrackKey(left, false, true, false), TMenuKeyMove::Pass);
  EXPECT_EQ(MenuTrackKey(left, false, false, true), TMenuKeyMove::Previous);
  EXPECT_EQ(MenuTrackKey(down, false, false, false), TMenuKeyMove::Pass);
  // Right to left: the arrows swap before anything decides.
  EXPECT_EQ(MenuTrackKey(left, true, false, false), TMenuKeyMove::Next);
  EXPECT_EQ(MenuTrackKey(right, true, false, false), TMenuKeyMove::Previous);
  EXPECT_EQ(MenuTrackKey(left, true, false, true), TMenuKeyMove::Pass);
}

TEST(MenuBarLayoutTest, CaptionsAndAccelerators) {
  EXPECT_EQ(MenuCaption(std::wstring(100, L'x')).size(), kMenuCaptionLimit);
  EXPECT_EQ(MenuCaption(L"菜单"), L"菜单");
  EXPECT_EQ(MenuAccelerator(L"&File"), L'F');
  EXPECT_EQ(MenuAccelerator(L"帮助(&H)"), L'H');
  EXPECT_EQ(MenuAccelerator(L"Save && &Quit"), L'Q');
  EXPECT_EQ(MenuAccelerator(L"A&&B"), 0);
  EXPECT_EQ(MenuAccelerator(L"trailing&"), 0);
  EXPECT_EQ(MenuAccelerator(L"菜单"), 0);
  EXPECT_EQ(MenuButtonWidth(0), 0);
  EXPECT_EQ(MenuButtonWidth(24), 34);
}

TEST(MenuBarLayoutTest, BackgroundFromTheSkinOrPlain) {
  const TPixel plain = MakePixel(212, 208, 200);
  TBitmap none = ComposeMenuBarBackground(50, 19, nullptr, true, plain);
  ASSERT_EQ(none.Width(), 50);
  EXPECT_EQ(none.Pixel(49, 18), plain);
  EXPECT_TRUE(ComposeMenuBarBackground(0, 19, nullptr, true, plain).Empty());

  // Active image on top, inactive below; fixed ends of 2 kept at each side.
  TDataSkinObject m = MenubarElement(2, 2);
  m.Map = TBitmap(20, 40, 0);
  m.Map.FillRect(Rect(0, 0, 20, 20), MakePixel(0, 0, 1));   // active middle
  m.Map.FillRect(Rect(0, 20, 20, 40), MakePixel(0, 0, 2));  // inactive middle
  m.Map.FillRect(Rect(0, 0, 2, 40), MakePixel(9, 0, 0));    // left end
  m.Tile = 1;
  TBitmap active = ComposeMenuBarBackground(100, 19, &m, true, plain);
  ASSERT_EQ(active.Width(), 100);
  EXPECT_EQ(active.Pixel(0, 0), MakePixel(9, 0, 0));
  EXPECT_EQ(active.Pixel(50, 10), MakePixel(0, 0, 1));
  TBitmap inactive = ComposeMenuBarBackground(100, 19, &m, false, plain);
  EXPECT_EQ(inactive.Pixel(50, 10), MakePixel(0, 0, 2));
  m.Tile = 0;
  TBitmap tiled = ComposeMenuBarBackground(100, 19, &m, true, plain);
  EXPECT_EQ(tiled.Pixel(1, 5), MakePixel(9, 0, 0));
  EXPECT_EQ(tiled.Pixel(60, 5), MakePixel(0, 0, 1));
}

}  // namespace
}  // namespace skin::test
