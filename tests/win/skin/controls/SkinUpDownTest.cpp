// Up-down controls drawn from the skin into memory device contexts and read
// back: the right image of the spin strip in each half for each state, the
// glyphs centred, a tab control's forced side-by-side arrows, the plain
// drawing without skin art, the clearance inside an edit, and a real click
// that steps the value and shows the pressed face on the screen.
#include <gtest/gtest.h>

#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/gui/RealInput.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr int32_t kCell = 12;
constexpr TPixel kBackground = 0x00102030;
constexpr TColor kFace = 0x00C0D0E0;    // 0x00BBGGRR
constexpr TColor kShadow = 0x00404080;  // 0x00BBGGRR
constexpr TColor kDark = 0x00203010;    // 0x00BBGGRR

TPixel PixelOf(TColor c) {
  return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c));
}

TPixel FaceColour(int k) {
  return MakePixel(static_cast<uint8_t>(25 * k), static_cast<uint8_t>(240 - 20 * k), 70);
}
TPixel GlyphColour(int k) {
  return MakePixel(200, static_cast<uint8_t>(10 * k), static_cast<uint8_t>(20 * k));
}

// Eight images, each a flat colour with a magenta top-left pixel.
TBitmap Strip(int32_t width, int32_t height, TPixel (*colour)(int)) {
  TBitmap strip(width * 8, height);
  for (int k = 1; k <= 8; ++k) {
    strip.FillRect(Rect((k - 1) * width, 0, k * width, height), colour(k));
    strip.SetPixel((k - 1) * width, 0, kMagentaPixel);
  }
  return strip;
}

std::unique_ptr<TDataSkinBorder> SpinElement(bool withGlyphs) {
  auto e = std::make_unique<TDataSkinBorder>();
  e->Map = Strip(kCell, kCell, FaceColour);
  e->frame = 8;
  if (withGlyphs) e->MaskMap = Strip(4, 2, GlyphColour);
  return e;
}

int ShownFace(const TBitmap& picture, int32_t x, int32_t y) {
  for (int k = 1; k <= 8; ++k)
    if (picture.Pixel(x, y) == FaceColour(k)) return k;
  return 0;
}

class SkinUpDownTest : public testing::Test {
 protected:
  void SetUp() override {
    data.Colors[3] = kFace;
    data.Colors[7] = kShadow;
    data.Colors[8] = kDark;
    data.Empty = false;
    // Far from the cursor's resting place, so no half counts as under the mouse.
    parent =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 600, 500, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    SetCursorPos(5, 5);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND MakeUpDown(DWORD style, int x, int y, int width, int height, HWND owner = nullptr) {
    return CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           owner ? owner : parent, nullptr, nullptr, nullptr);
  }

  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  TSkinData data{nullptr};
  HWND parent = nullptr;
};

TEST_F(SkinUpDownTest, VerticalHalvesShowTheUpAndDownImagesOfEachState) {
  data.VSpin = SpinElement(false);
  HWND hwnd = MakeUpDown(0, 10, 10, 16, 24);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 8, 5), 1);
  EXPECT_EQ(ShownFace(picture, 8, 18), 5);
  // Stretched over the whole half, the magenta corner left out.
  EXPECT_EQ(ShownFace(picture, 15, 11), 1);
  EXPECT_EQ(ShownFace(picture, 15, 12), 5);
  EXPECT_EQ(picture.Pixel(0, 0), PixelOf(kFace));
  // Pressed and hot only count in the half under the cursor: none here.
  object.state = Down | Hot;
  picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 8, 5), 1);
  EXPECT_EQ(ShownFace(picture, 8, 18), 5);
  object.state = 0;
  EnableWindow(hwnd, FALSE);
  picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 8, 5), 3);
  EXPECT_EQ(ShownFace(picture, 8, 18), 7);
}

TEST_F(SkinUpDownTest, HalfUnderTheCursorShowsPressedThenHot) {
  data.VSpin = SpinElement(false);
  HWND hwnd = MakeUpDown(0, 10, 10, 16, 24);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  RECT r;
  GetWindowRect(hwnd, &r);
  SetCursorPos(r.left + 8, r.top + 18);  // the lower half
  object.state = Down;
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 8, 5), 1);
  EXPECT_EQ(ShownFace(picture, 8, 18), 6);
  object.state = Hot;
  picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 8, 18), 8);
  SetCursorPos(r.left + 8, r.top + 3);
  EXPECT_EQ(ShownFace(Draw(object, hwnd), 8, 5), 4);
  SetCursorPos(5, 5);
}

TEST_F(SkinUpDownTest, GlyphOfTheSameImageIsCentredAtItsOwnSize) {
  data.VSpin = SpinElement(true);
  HWND hwnd = MakeUpDown(0, 10, 10, 16, 24);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  // Upper half 16 x 12: a 4 x 2 glyph at (6, 5); its magenta corner shows the face.
  EXPECT_EQ(picture.Pixel(6, 5), FaceColour(1));
  EXPECT_EQ(picture.Pixel(7, 5), GlyphColour(1));
  EXPECT_EQ(picture.Pixel(9, 6), GlyphColour(1));
  EXPECT_EQ(picture.Pixel(10, 6), FaceColour(1));
  EXPECT_EQ(picture.Pixel(9, 7), FaceColour(1));
  // Lower half (0, 12)-(16, 24): glyph at (6, 17) of image 5.
  EXPECT_EQ(picture.Pixel(8, 17), GlyphColour(5));
  EXPECT_EQ(picture.Pixel(8, 16), FaceColour(5));
}

TEST_F(SkinUpDownTest, TabArrowsAreSideBySideThoughTheStyleIsVertical) {
  data.HSpin = SpinElement(false);
  data.VSpin = SpinElement(false);
  data.VSpin->Map = TBitmap(kCell * 8, kCell, kMagentaPixel);  // a vertical strip would show nothing
  HWND hwnd = MakeUpDown(0, 10, 10, 32, 16);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  object.dir = 1;
  TBitmap picture = Draw(object, hwnd);
  // A vertical up-down keeps its own width; the halves split it.
  const int32_t middle = picture.Width() / 2;
  EXPECT_EQ(ShownFace(picture, 2, 8), 1);
  EXPECT_EQ(ShownFace(picture, middle - 1, picture.Height() - 1), 1);
  EXPECT_EQ(ShownFace(picture, middle, picture.Height() - 1), 5);
  EXPECT_EQ(ShownFace(picture, picture.Width() - 1, 1), 5);
}

TEST_F(SkinUpDownTest, HorizontalStyleUsesTheHorizontalStrip) {
  data.HSpin = SpinElement(false);
  HWND hwnd = MakeUpDown(UDS_HORZ, 10, 10, 32, 16);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EnableWindow(hwnd, FALSE);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 5, 8), 3);
  EXPECT_EQ(ShownFace(picture, 26, 8), 7);
}

TEST_F(SkinUpDownTest, WithoutSpinArtTheHalvesAreFramedRectanglesWithChevrons) {
  HWND hwnd = MakeUpDown(0, 10, 10, 16, 24);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  const TPixel dark = PixelOf(kDark), face = PixelOf(kFace), shadow = PixelOf(kShadow);
  // Upper half (0,0)-(16,12): frame, inside, and the up chevron from (8, 4).
  EXPECT_EQ(picture.Pixel(0, 0), dark);
  EXPECT_EQ(picture.Pixel(15, 11), dark);
  EXPECT_EQ(picture.Pixel(2, 2), face);
  EXPECT_EQ(picture.Pixel(8, 4), dark);   // the tip
  EXPECT_EQ(picture.Pixel(11, 7), dark);  // (1,1)-(4,4) reaches (3,3)
  EXPECT_EQ(picture.Pixel(12, 8), face);  // the end point is left out
  EXPECT_EQ(picture.Pixel(5, 7), dark);
  // Lower half (0,12)-(16,24): the down chevron from (8, 16), tip at (8, 19).
  EXPECT_EQ(picture.Pixel(8, 19), dark);
  EXPECT_EQ(picture.Pixel(0, 12), dark);
  EXPECT_EQ(picture.Pixel(8, 21), face);
  // Pressed under the cursor: that half is filled with ButtonShadow.
  RECT r;
  GetWindowRect(hwnd, &r);
  SetCursorPos(r.left + 3, r.top + 20);
  object.state = Down;
  picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(2, 21), shadow);
  EXPECT_EQ(picture.Pixel(2, 2), face);
  SetCursorPos(5, 5);
}

TEST_F(SkinUpDownTest, InsideAnEditItKeepsThreePixelsFromTheEditsEdges) {
  data.VSpin = SpinElement(false);
  HWND edit = CreateWindowExW(0, L"EDIT", L"42", WS_CHILD | WS_VISIBLE, 10, 10, 100, 26, parent, nullptr,
                              nullptr, nullptr);
  // 1 pixel from the edit's top, 5 from its bottom, flush with its right edge.
  HWND hwnd = MakeUpDown(0, 84, 1, 16, 20, edit);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  object.inedit = true;
  TBitmap picture = Draw(object, hwnd);
  const TPixel white = MakePixel(255, 255, 255);
  EXPECT_EQ(picture.Pixel(5, 0), white);
  EXPECT_EQ(picture.Pixel(5, 1), white);
  EXPECT_EQ(ShownFace(picture, 5, 2), 1);  // drawn 2 pixels lower
  EXPECT_EQ(ShownFace(picture, 12, 5), 1);
  EXPECT_EQ(picture.Pixel(13, 5), white);   // 3 pixels kept from the right edge
  EXPECT_EQ(ShownFace(picture, 5, 19), 5);  // the bottom was clear already
  object.inedit = false;
  picture = Draw(object, hwnd);
  EXPECT_EQ(ShownFace(picture, 5, 0), 1);  // at the window's own top
  EXPECT_EQ(ShownFace(picture, 14, 5), 1);
}

TEST_F(SkinUpDownTest, AnswersTheSkinQueryAndErasesWhite) {
  HWND hwnd = MakeUpDown(0, 10, 10, 16, 24);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 1);
  TDibSection dib(16, 24);
  dib.Assign(TBitmap(16, 24, kBackground));
  EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0), 1);
  EXPECT_EQ(dib.ToBitmap().Pixel(7, 7), MakePixel(255, 255, 255));
}

TEST_F(SkinUpDownTest, RealClickStepsTheBuddyAndShowsThePressedHalf) {
  data.VSpin = SpinElement(false);
  ShowWindow(parent, SW_SHOW);
  HWND buddy = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 80, 24, parent,
                               nullptr, nullptr, nullptr);
  HWND hwnd = MakeUpDown(UDS_SETBUDDYINT, 100, 10, 16, 24);
  SendMessageW(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageW(hwnd, UDM_SETRANGE32, 0, 100);
  SendMessageW(hwnd, UDM_SETPOS32, 0, 5);
  TSkinUpDown object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  SetForegroundWindow(parent);
  fw::test::Pump(50);
  RECT r;
  GetWindowRect(hwnd, &r);
  fw::test::MoveMouse(POINT{r.left + 8, r.top + 4});
  fw::test::MouseButton(true);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return (object.state & Down) != 0; }));
  // The pressed up half on the screen.
  EXPECT_EQ(fw::test::ScreenPixel(hwnd, 8, 5),
            RGB(PixelRed(FaceColour(2)), PixelGreen(FaceColour(2)), PixelBlue(FaceColour(2))));
  fw::test::MouseButton(false);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return (object.state & Down) == 0; }));
  fw::test::Pump(30);
  EXPECT_EQ(SendMessageW(hwnd, UDM_GETPOS32, 0, 0), 6);
  EXPECT_EQ(fw::test::ScreenPixel(hwnd, 8, 5),
            RGB(PixelRed(FaceColour(1)), PixelGreen(FaceColour(1)), PixelBlue(FaceColour(1))));
  SetCursorPos(5, 5);
}

}  // namespace
}  // namespace skin
