#include "skin/form/MenuItemLayout.h"

#include <gtest/gtest.h>

#include "skin/archive/SkinPlatform.h"

namespace skin::test {
namespace {

constexpr TPixel kMagenta = 0xFF00FF;

// A MenuItem strip of five 10 x 20 images, each filled with its own colour;
// image 2 (the separator) has a dark bottom row.
TDataSkinObject MenuItemElement(int32_t left = 4, int32_t right = 4) {
  TDataSkinObject m("MenuItem");
  m.r = Rect(left, 2, right, 2);
  m.Map = TBitmap(50, 20);
  for (int k = 0; k < 5; ++k)
    m.Map.FillRect(Rect(k * 10, 0, k * 10 + 10, 20), MakePixel(static_cast<uint8_t>(10 * (k + 1)), 0, 0));
  m.Map.FillRect(Rect(10, 19, 20, 20), MakePixel(1, 1, 1));
  m.frame = 5;
  return m;
}

TEST(MenuItemLayoutTest, MainMenuItemsGrowBy35WithoutPicturesPlusTheLeftMargin) {
  TDataSkinObject m = MenuItemElement(4, 4);
  EXPECT_EQ(MainMenuItemWidth(60, nullptr, false), 95);
  EXPECT_EQ(MainMenuItemWidth(60, &m, false), 99);
  EXPECT_EQ(MainMenuItemWidth(60, &m, true), 74);
}

TEST(MenuItemLayoutTest, PopupItemsGrowBy35WithoutPicturesPlusTheLeftMargin) {
  TDataSkinObject m = MenuItemElement(6, 4);
  EXPECT_EQ(PopupMenuItemWidth(60, nullptr, false), 95);
  EXPECT_EQ(PopupMenuItemWidth(60, &m, false), 101);
  EXPECT_EQ(PopupMenuItemWidth(60, &m, true), 78);
}

TEST(MenuItemLayoutTest, NativeItemSizes) {
  TDataSkinObject m = MenuItemElement(4, 4);
  TMenuItemSize text = NativeMenuItemSize(50, 15, true, &m, false);
  EXPECT_EQ(text.width, 80);
  EXPECT_EQ(text.height, 19);
  EXPECT_EQ(NativeMenuItemSize(50, 15, true, nullptr, false).width, 76);
  // An empty native item (a separator) is 8 pixels high, 12 on Windows 9x.
  EXPECT_EQ(NativeMenuItemSize(0, 15, false, &m, false).height, 8);
  EXPECT_EQ(NativeMenuItemSize(0, 15, false, &m, true).height, 12);
  EXPECT_EQ(NativeMenuItemSize(50, 15, true, &m, true).height, 23);
}

TEST(MenuItemLayoutTest, AnAmpersandOrEmptyCaptionStillMeasuresOneLine) {
  EXPECT_EQ(MeasuredMenuText(L"&"), L"& ");
  EXPECT_EQ(MeasuredMenuText(L""), L" ");
  EXPECT_EQ(MeasuredMenuText(L"&&"), L"&&");
  EXPECT_EQ(MeasuredMenuText(L"退出"), L"退出");
}

TEST(MenuItemLayoutTest, NativeCaptionsAreCutAndEmptyOnesAreSeparators) {
  EXPECT_EQ(NativeMenuCaption(L""), L"-");
  EXPECT_EQ(NativeMenuCaption(std::wstring(100, L'x')).size(), kMenuItemTextLimit);
  EXPECT_EQ(NativeMenuCaption(L"Close\tAlt+F4"), L"Close\tAlt+F4");
}

TEST(MenuItemLayoutTest, GlyphCellSize) {
  EXPECT_EQ(MenuGlyphSize(0, false), 16);
  EXPECT_EQ(MenuGlyphSize(24, false), 24);
  EXPECT_EQ(MenuGlyphSize(12, false), 12);
  EXPECT_EQ(MenuGlyphSize(12, true), 16);
}

TEST(MenuItemLayoutTest, GlyphCellAndTextLeftToRight) {
  TDataSkinObject m = MenuItemElement(4, 4);
  const TRect R = Rect(0, 20, 120, 40);
  const TRect cell = MenuGlyphCell(R, 16, &m, false, false);
  EXPECT_EQ(cell, Rect(5, 21, 21, 37));
  EXPECT_EQ(MenuGlyphCell(R, 16, nullptr, false, false), Rect(1, 21, 17, 37));
  EXPECT_EQ(MenuTextRect(R, cell, false), Rect(24, 20, 119, 40));
  // A separator has no cell: the text would start at 3.
  const TRect none = MenuGlyphCell(R, 16, &m, false, true);
  EXPECT_EQ(none.Left, 0);
  EXPECT_EQ(none.Right, 0);
}

TEST(MenuItemLayoutTest, MirroredGlyphCellAndText) {
  TDataSkinObject m = MenuItemElement(4, 4);
  const TRect R = Rect(0, 20, 120, 40);
  const TRect cell = MenuGlyphCell(R, 16, &m, true, false);
  EXPECT_EQ(cell, Rect(99, 21, 115, 37));
  EXPECT_EQ(MenuTextRect(R, cell, true), Rect(1, 20, 96, 40));
  const TRect none = MenuGlyphCell(R, 16, &m, true, true);
  EXPECT_EQ(none.Left, 120);
  EXPECT_EQ(none.Right, 120);
  // The shortcut goes left, from 11 pixels in to the caption's start.
  EXPECT_EQ(MenuShortcutRect(R, Rect(60, 23, 96, 37), true), Rect(11, 23, 60, 37));
}

TEST(MenuItemLayoutTest, TextIsCentredAndTheShortcutFollowsIt) {
  const TRect R = Rect(0, 20, 120, 42);
  const TRect text = CentreMenuText(Rect(24, 20, 60, 34), 14, R);
  EXPECT_EQ(text, Rect(24, 24, 60, 38));
  EXPECT_EQ(MenuShortcutRect(R, text, false), Rect(60, 24, 109, 38));
}

TEST(MenuItemLayoutTest, CheckMarkIsCentredInASixteenPixelCell) {
  const TRect R = Rect(0, 20, 120, 40);
  const TRect cell = MenuGlyphCell(R, 16, nullptr, false, false);  // (1, 21, 17, 37)
  // A 12 x 10 mark: 2 pixels in from each side of the cell, plus the one-pixel offset.
  TMenuPoint p = MenuCheckMarkOrigin(cell, 16, R, 12, 10, false);
  EXPECT_EQ(p, (TMenuPoint{4, 26}));
  EXPECT_EQ(p.x - cell.Left - 1, cell.Right - (p.x - 1 + 12));
  const TRect mirrored = MenuGlyphCell(R, 16, nullptr, true, false);  // (103, 21, 119, 37)
  EXPECT_EQ(MenuCheckMarkOrigin(mirrored, 16, R, 12, 10, true), (TMenuPoint{106, 25}));
}

TEST(MenuItemLayoutTest, PictureCellTop) {
  const TRect R = Rect(0, 20, 120, 44);
  const TRect cell = Rect(1, 21, 17, 37);
  EXPECT_EQ(MenuImageTop(cell, R, 12, false, false), 26);
  EXPECT_EQ(MenuImageTop(cell, R, 12, true, false), 24);
  EXPECT_EQ(MenuImageTop(cell, R, 12, true, true), 21);
}

TEST(MenuItemLayoutTest, TextColours) {
  std::array<TColor, 20> colors{};
  for (int i = 0; i < 20; ++i) colors[static_cast<size_t>(i)] = static_cast<TColor>(0x010101 * i);
  EXPECT_EQ(MenuItemTextColor(colors, true, false), colors[15]);
  EXPECT_EQ(MenuItemTextColor(colors, true, true), colors[11]);
  EXPECT_EQ(MenuItemTextColor(colors, false, true), colors[7]);
  // A skin whose ButtonShadow is its MenuText: disabled items take the system's button shadow.
  colors[7] = colors[15];
  EXPECT_EQ(MenuItemTextColor(colors, false, false), SysColor(16));
  EXPECT_EQ(MenuItemTextColor(colors, true, false), colors[15]);
}

TEST(MenuItemLayoutTest, ItemBackgroundComesFromTheMenusBackgroundInsideItsFrame) {
  TBitmap bg(40, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 40; ++x)
      bg.SetPixel(x, y, MakePixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0));
  TBitmap under = ComposeMenuItemBackground(Rect(0, 10, 30, 30), &bg, kMagenta);
  ASSERT_EQ(under.Width(), 30);
  ASSERT_EQ(under.Height(), 20);
  EXPECT_EQ(under.Pixel(0, 0), MakePixel(3, 13, 0));
  EXPECT_EQ(under.Pixel(29, 19), MakePixel(32, 32, 0));
  // Without a background the item is filled.
  TBitmap plain = ComposeMenuItemBackground(Rect(0, 10, 30, 30), nullptr, MakePixel(9, 9, 9));
  EXPECT_EQ(plain.Pixel(15, 10), MakePixel(9, 9, 9));
}

TEST(MenuItemLayoutTest, FaceIsImageOneOrFourOverTheBackground) {
  TDataSkinObject m = MenuItemElement();
  const TRect R = Rect(0, 0, 80, 20);
  TBitmap normal = ComposeMenuItemFace(R, nullptr, MakePixel(9, 9, 9), m, false);
  TBitmap selected = ComposeMenuItemFace(R, nullptr, MakePixel(9, 9, 9), m, true);
  EXPECT_EQ(normal.Pixel(40, 10), MakePixel(10, 0, 0));
  EXPECT_EQ(selected.Pixel(40, 10), MakePixel(40, 0, 0));
  // A transparent element lets the background through its magenta pixels.
  m.trans = 1;
  m.Map.FillRect(Rect(0, 0, 10, 20), kMagenta);
  TBitmap see = ComposeMenuItemFace(R, nullptr, MakePixel(9, 9, 9), m, false);
  EXPECT_EQ(see.Pixel(40, 10), MakePixel(9, 9, 9));
}

TEST(MenuItemLayoutTest, SeparatorUsesTheBottomRowsOfImageTwo) {
  TDataSkinObject m = MenuItemElement(4, 3);
  auto slices = MenuSeparatorSlices(100, 8, 50, 20, m.r);
  EXPECT_EQ(slices[0].source, Rect(10, 12, 14, 20));
  EXPECT_EQ(slices[0].target, Rect(0, 0, 4, 8));
  EXPECT_EQ(slices[1].source, Rect(17, 12, 20, 20));
  EXPECT_EQ(slices[1].target, Rect(97, 0, 100, 8));
  EXPECT_EQ(slices[2].source, Rect(14, 12, 17, 20));
  EXPECT_EQ(slices[2].target, Rect(4, 0, 97, 8));
  // An item taller than the image takes the whole image.
  EXPECT_EQ(MenuSeparatorSlices(100, 30, 50, 20, m.r)[2].source, Rect(14, 0, 17, 20));
  TBitmap sep = ComposeMenuSeparator(100, 8, m);
  EXPECT_EQ(sep.Pixel(50, 7), MakePixel(1, 1, 1));
  EXPECT_EQ(sep.Pixel(50, 0), MakePixel(20, 0, 0));
}

TEST(MenuItemLayoutTest, MenuBackgroundIsTheSkinsImageAtTheWindowsSize) {
  TDataSkinObject bg("MenuBackground");
  bg.r = Rect(3, 3, 3, 3);
  bg.Map = TBitmap(30, 30, MakePixel(200, 200, 200));
  bg.Map.FillRect(Rect(0, 0, 30, 3), MakePixel(0, 0, 0));
  TBitmap whole = ComposeMenuBackground(120, 90, bg);
  ASSERT_EQ(whole.Width(), 120);
  ASSERT_EQ(whole.Height(), 90);
  EXPECT_EQ(whole.Pixel(60, 1), MakePixel(0, 0, 0));
  EXPECT_EQ(whole.Pixel(60, 45), MakePixel(200, 200, 200));
  EXPECT_TRUE(ComposeMenuBackground(0, 90, bg).Empty());
  EXPECT_TRUE(ComposeMenuBackground(120, 90, TDataSkinObject("x")).Empty());
}

}  // namespace
}  // namespace skin::test
