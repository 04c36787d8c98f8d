// Check boxes, radio buttons and group frames drawn from a skin into memory
// device contexts and read back: the right image of the strip at the right
// place for each state, and the group frame's caption and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr int32_t kSide = 13;
constexpr TPixel kBackground = 0x00102030;
constexpr TColor kFace = 0x00C0D0E0;    // 0x00BBGGRR
constexpr TColor kShadow = 0x00404080;  // 0x00BBGGRR

// Image k of a strip: a flat colour of its own.
TPixel ImageColour(int k) {
  return MakePixel(static_cast<uint8_t>(20 * k), static_cast<uint8_t>(255 - 15 * k), 90);
}

// `frames` images of kSide x kSide, each with a magenta top-left pixel.
TBitmap NumberedStrip(int frames) {
  TBitmap strip(kSide * frames, kSide);
  for (int k = 1; k <= frames; ++k) {
    strip.FillRect(Rect((k - 1) * kSide, 0, k * kSide, kSide), ImageColour(k));
    strip.SetPixel((k - 1) * kSide, 0, kMagentaPixel);
  }
  return strip;
}

class SkinCheckBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    data.Button.CheckMap = NumberedStrip(4);
    data.Button.checkframe = 4;
    data.Button.RadioMap = NumberedStrip(4);
    data.Button.radioframe = 4;
    data.Colors[3] = kFace;
    data.Colors[7] = kShadow;
    data.Empty = false;
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND MakeButton(DWORD style, const wchar_t* text = L"Option", int width = 120, int height = 21) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent,
                           nullptr, nullptr, nullptr);
  }

  // The control drawn into a memory picture of its size, pre-filled.
  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  // Image shown at the image's centre, 0 when none matches.
  static int ShownImage(const TBitmap& picture, int32_t x, int32_t y) {
    for (int k = 1; k <= 12; ++k)
      if (picture.Pixel(x, y) == ImageColour(k)) return k;
    return 0;
  }

  TSkinData data{nullptr};
  HWND parent = nullptr;
};

TEST_F(SkinCheckBoxTest, BareCheckBoxShowsTheImageOfEachState) {
  HWND hwnd = MakeButton(BS_AUTO3STATE);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(object.kind, 0);
  // 21 high: the image's top is (21 - 13) / 2 = 4, at the left edge.
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 1);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(object.checkState, 2);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 2);
  SendMessageW(hwnd, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 4);
  EnableWindow(hwnd, FALSE);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 4);
  SendMessageW(hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 3);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 4);
}

TEST_F(SkinCheckBoxTest, ImageIsPlacedExactlyAndItsMagentaLeftOut) {
  HWND hwnd = MakeButton(BS_AUTOCHECKBOX);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(0, 4), kBackground);  // the magenta corner
  EXPECT_EQ(picture.Pixel(1, 4), ImageColour(1));
  EXPECT_EQ(picture.Pixel(12, 16), ImageColour(1));
  EXPECT_EQ(picture.Pixel(13, 10), kBackground);
  EXPECT_EQ(picture.Pixel(5, 3), kBackground);
  EXPECT_EQ(picture.Pixel(5, 17), kBackground);
}

TEST_F(SkinCheckBoxTest, TwelveImageStripShowsTheNormalAndDisabledImages) {
  data.Button.CheckMap = NumberedStrip(12);
  data.Button.checkframe = 12;
  HWND hwnd = MakeButton(BS_AUTO3STATE);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 5);
  SendMessageW(hwnd, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 9);
  EnableWindow(hwnd, FALSE);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 12);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 8);
  SendMessageW(hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 4);
}

TEST_F(SkinCheckBoxTest, LeftTextPutsACheckAtTheEdgeAndARadioOnePixelInside) {
  HWND check = MakeButton(BS_AUTOCHECKBOX | BS_LEFTTEXT, L"Left", 100, 21);
  TSkinCheckBox checkObject(nullptr);
  checkObject.Inithwnd(check, &data, nullptr);
  TBitmap picture = Draw(checkObject, check);
  EXPECT_EQ(picture.Pixel(99, 10), ImageColour(1));
  EXPECT_EQ(picture.Pixel(87, 10), ImageColour(1));
  EXPECT_EQ(picture.Pixel(86, 10), kBackground);

  HWND radio = MakeButton(BS_AUTORADIOBUTTON | BS_LEFTTEXT, L"Left", 100, 21);
  TSkinRadioButton radioObject(nullptr);
  radioObject.Inithwnd(radio, &data, nullptr);
  picture = Draw(radioObject, radio);
  EXPECT_EQ(picture.Pixel(99, 10), kBackground);
  EXPECT_EQ(picture.Pixel(98, 10), ImageColour(1));
  EXPECT_EQ(picture.Pixel(86, 10), ImageColour(1));
  EXPECT_EQ(picture.Pixel(85, 10), kBackground);
}

TEST_F(SkinCheckBoxTest, RadioButtonStatesWithFourAndEightImages) {
  HWND hwnd = MakeButton(BS_AUTORADIOBUTTON);
  TSkinRadioButton object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 1);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 2);
  EnableWindow(hwnd, FALSE);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 4);
  data.Button.RadioMap = NumberedStrip(8);
  data.Button.radioframe = 8;
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 8);
  EnableWindow(hwnd, TRUE);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 5);
  SendMessageW(hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(ShownImage(Draw(object, hwnd), 6, 10), 1);
}

TEST_F(SkinCheckBoxTest, WithoutACheckImageTheWindowPaintsItself) {
  data.Button.CheckMap = TBitmap();
  HWND hwnd = MakeButton(BS_AUTOCHECKBOX);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  object.kind = 1;
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(object.kind, 0);
  EXPECT_EQ(picture.Pixel(6, 10), kBackground);
  EXPECT_EQ(picture.Pixel(60, 10), kBackground);
}

TEST_F(SkinCheckBoxTest, WholeControlDrawnFillsTheFaceAndWritesTheCaption) {
  HWND hwnd = MakeButton(BS_AUTOCHECKBOX, L"MMMM");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  object.kind = 1;
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(0, 4), ColorToPixel(kFace));  // the face under the magenta corner
  EXPECT_EQ(picture.Pixel(110, 2), ColorToPixel(kFace));
  int textPixels = 0;
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 15; x < 60; ++x)
      if (picture.Pixel(x, y) != ColorToPixel(kFace)) ++textPixels;
  EXPECT_GT(textPixels, 20);
}

TEST_F(SkinCheckBoxTest, GroupCaptionEightPixelsInAndFrameLineThroughItsMiddle) {
  HWND hwnd = MakeButton(BS_GROUPBOX, L"MMMM", 200, 100);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  TSkinGroupBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  int32_t line = zero.cy / 2 - 1;
  const TPixel shadow = ColorToPixel(kShadow);
  EXPECT_EQ(picture.Pixel(7, line), shadow);
  EXPECT_NE(picture.Pixel(8, line), shadow);  // the opaque caption cuts the line
  EXPECT_EQ(picture.Pixel(150, line), shadow);
  EXPECT_EQ(picture.Pixel(1, 50), shadow);
  EXPECT_EQ(picture.Pixel(198, 50), shadow);
  EXPECT_EQ(picture.Pixel(100, 98), shadow);
  // The caption starts 8 pixels in: nothing of it left of x = 8.
  bool captionSeen = false;
  for (int32_t y = 0; y < zero.cy; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      TPixel p = picture.Pixel(x, y);
      EXPECT_TRUE(p == kBackground || p == shadow || y >= line) << x << "," << y;
    }
    for (int32_t x = 8; x < 40; ++x)
      if (picture.Pixel(x, y) != ColorToPixel(kFace) && picture.Pixel(x, y) != shadow) captionSeen = true;
  }
  EXPECT_TRUE(captionSeen);
  DeleteObject(font);
}

TEST_F(SkinCheckBoxTest, RightAlignedGroupCaptionEndsEightPixelsIn) {
  HWND hwnd = CreateWindowExW(WS_EX_RIGHT, L"BUTTON", L"MMMM", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10,
                              200, 100, parent, nullptr, nullptr, nullptr);
  TSkinGroupBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  const TPixel shadow = ColorToPixel(kShadow);
  bool rightOfCaption = true;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 193; x < 200; ++x)
      if (picture.Pixel(x, y) != kBackground && picture.Pixel(x, y) != shadow) rightOfCaption = false;
  EXPECT_TRUE(rightOfCaption);
  bool caption = false;
  for (int32_t x = 150; x < 192; ++x)
    if (picture.Pixel(x, 3) == ColorToPixel(kFace)) caption = true;
  EXPECT_TRUE(caption);
}

// Not a timed test: the figure is printed for the record.
TEST_F(SkinCheckBoxTest, PaintFigureOfOneCheckBoxDrawnWhole) {
  HWND hwnd = MakeButton(BS_AUTOCHECKBOX, L"Option");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  TSkinCheckBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  object.kind = 1;
  TDibSection dib(120, 21);
  RECT rc{0, 0, 120, 21};
  // The best of several batches: the machine may be busy with other work.
  constexpr int kBatches = 10, kRounds = 20;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 1e9;
  for (int batch = 0; batch < kBatches; ++batch) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRounds; ++i) object.DrawControl(dib.DC(), rc);
    QueryPerformanceCounter(&end);
    double ms =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    best = std::min(best, ms / kRounds);
  }
  std::printf("check box drawn whole: %.3f ms a paint (best of %d batches)\n", best, kBatches);
  EXPECT_GT(best, 0.0);
}

}  // namespace
}  // namespace skin
