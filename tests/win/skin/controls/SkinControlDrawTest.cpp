// The drawing operations every skinned control shares, drawn into memory
// device contexts and read back, and the bare-container object.
#include <gtest/gtest.h>

#include "skin/controls/WinSkinCheck.h"
#include "skin/controls/WinSkinControl.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

constexpr TPixel kBackground = 0x00FFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);

// Pixels of `picture` other than the background, and whether all of them are `colour`.
struct Ink {
  int count = 0;
  bool allOf = true;
  TRect bounds{1 << 20, 1 << 20, -1, -1};
};

Ink InkOf(const TBitmap& picture, TPixel colour) {
  Ink ink;
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 0; x < picture.Width(); ++x) {
      TPixel p = picture.Pixel(x, y);
      if (p == kBackground) continue;
      ++ink.count;
      if (p != colour) ink.allOf = false;
      ink.bounds.Left = std::min(ink.bounds.Left, x);
      ink.bounds.Top = std::min(ink.bounds.Top, y);
      ink.bounds.Right = std::max(ink.bounds.Right, x + 1);
      ink.bounds.Bottom = std::max(ink.bounds.Bottom, y + 1);
    }
  return ink;
}

class SkinControlDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    dib.Assign(TBitmap(120, 40, kBackground));
    // Plain pixels: no anti-aliasing, so every pixel of the text is the text colour.
    font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                       L"Tahoma");
    oldFont = SelectObject(dib.DC(), font);
    SetTextColor(dib.DC(), kRed);
  }
  void TearDown() override {
    SelectObject(dib.DC(), oldFont);
    DeleteObject(font);
  }
  TDibSection dib{120, 40};
  HFONT font = nullptr;
  HGDIOBJ oldFont = nullptr;
  TSkinControl object{nullptr};
};

TEST_F(SkinControlDrawTest, DisabledCaptionIsDrawnInTheButtonShadowColourAndTheContextKeepsItsOwn) {
  RECT rc{0, 0, 120, 40};
  object.DrawCaption(dib.DC(), rc, L"Text", false, DT_CENTER);
  Ink ink = InkOf(dib.ToBitmap(), ColorToPixel(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_GT(ink.count, 10);
  EXPECT_TRUE(ink.allOf);
  EXPECT_EQ(GetTextColor(dib.DC()), kRed);
  EXPECT_EQ(GetBkMode(dib.DC()), OPAQUE);
}

TEST_F(SkinControlDrawTest, CentredCaptionSitsInTheMiddle) {
  RECT rc{0, 0, 120, 40};
  object.DrawCaption(dib.DC(), rc, L"MM", true, DT_CENTER);
  Ink ink = InkOf(dib.ToBitmap(), ColorToPixel(kRed));
  ASSERT_GT(ink.count, 10);
  EXPECT_TRUE(ink.allOf);
  EXPECT_NEAR((ink.bounds.Left + ink.bounds.Right) / 2, 60, 3);
  EXPECT_NEAR((ink.bounds.Top + ink.bounds.Bottom) / 2, 19, 4);
}

TEST_F(SkinControlDrawTest, RightAlignedCaptionEndsAtTheRightEdge) {
  RECT rc{0, 0, 120, 40};
  object.DrawCaption(dib.DC(), rc, L"MM", true, DT_RIGHT);
  Ink ink = InkOf(dib.ToBitmap(), ColorToPixel(kRed));
  ASSERT_GT(ink.count, 10);
  EXPECT_GE(ink.bounds.Right, 114);
  EXPECT_GT(ink.bounds.Left, 80);
}

TEST_F(SkinControlDrawTest, CentreTextDisabledIsShadowColoured) {
  RECT rc{0, 0, 120, 40};
  DrawCenterText(dib.DC(), rc, L"MM", 0, false);
  Ink ink = InkOf(dib.ToBitmap(), ColorToPixel(GetSysColor(COLOR_BTNSHADOW)));
  ASSERT_GT(ink.count, 10);
  EXPECT_TRUE(ink.allOf);
  EXPECT_NEAR((ink.bounds.Left + ink.bounds.Right) / 2, 60, 3);
}

TEST_F(SkinControlDrawTest, SkinMapKeepsMarginsAndAnInvertedRectangleDrawsNothing) {
  TDataSkinObject element;
  element.Map = TBitmap(20, 10, MakePixel(0, 0, 200));
  element.Map.FillRect(Rect(10, 0, 20, 10), MakePixel(0, 200, 0));
  element.frame = 2;
  element.r = Rect(2, 2, 2, 2);
  RECT inverted{50, 10, 40, 30};
  object.DrawSkinMap(dib.DC(), inverted, element, 2, 2);
  EXPECT_EQ(InkOf(dib.ToBitmap(), 0).count, 0);
  RECT rc{10, 5, 70, 35};
  object.DrawSkinMap(dib.DC(), rc, element, 2, 2);
  Ink ink = InkOf(dib.ToBitmap(), MakePixel(0, 200, 0));
  EXPECT_TRUE(ink.allOf);
  EXPECT_EQ(ink.bounds, Rect(10, 5, 70, 35));
}

TEST_F(SkinControlDrawTest, StretchedImageLeavesMagentaOut) {
  TBitmap strip(8, 4, MakePixel(10, 20, 30));
  strip.FillRect(Rect(4, 0, 8, 4), kMagentaPixel);
  strip.SetPixel(4, 0, MakePixel(9, 9, 9));
  RECT rc{0, 0, 40, 20};
  object.DrawSkinMap1(dib.DC(), rc, strip, 2, 2);
  TBitmap picture = dib.ToBitmap();
  EXPECT_EQ(picture.Pixel(2, 2), MakePixel(9, 9, 9));
  EXPECT_EQ(picture.Pixel(20, 10), kBackground);
  object.DrawSkinMap2(dib.DC(), rc, strip, 1, 2);
  EXPECT_EQ(dib.ToBitmap().Pixel(20, 10), MakePixel(10, 20, 30));
}

TEST(SkinControlWindowTest, PopupWindowsAreThoseOfTheDesktop) {
  HWND top = CreateWindowExW(0, L"STATIC", L"Title", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                             nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsPopupWindow(top));
  EXPECT_FALSE(IsPopupWindow(child));
  EXPECT_TRUE(IsPopupWindow(popup));
  EXPECT_EQ(GetWindowCaption(top), L"Title");
  EXPECT_EQ(GetWindowCaption(child), L"");
  DestroyWindow(popup);
  DestroyWindow(top);
}

TEST(SkinControlWindowTest, BareContainerErasesInTheSkinFaceAndGivesStaticsTheSkinBrush) {
  TSkinData data{nullptr};
  data.Colors[3] = 0x00336699;
  HBRUSH brush = CreateSolidBrush(0x00336699);
  data.BGBrush = brush;
  HWND box = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 30, 20, nullptr, nullptr, nullptr, nullptr);
  TSkinBoxH object(nullptr);
  object.Inithwnd(box, &data, nullptr);
  TDibSection dib(30, 20);
  dib.Assign(TBitmap(30, 20, kBackground));
  EXPECT_EQ(SendMessageW(box, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0), 0);
  EXPECT_EQ(dib.ToBitmap().Pixel(29, 19), ColorToPixel(0x00336699));
  EXPECT_EQ(SendMessageW(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dib.DC()), 0),
            reinterpret_cast<LRESULT>(brush));
  DestroyWindow(box);
  data.BGBrush = nullptr;
  DeleteObject(brush);
}

}  // namespace
}  // namespace skin
