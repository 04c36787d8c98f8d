// The skinned frame painted into a bitmap (getClipMap) and read back pixel by
// pixel, and the window shape set on a real window. A small skin made here
// gives every part its own colour, so each pixel tells which image drew it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/form/FrameShape.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"

namespace skin {
namespace {

constexpr TPixel kLeftActive = MakePixel(10, 20, 200);
constexpr TPixel kLeftInactive = MakePixel(10, 20, 100);
constexpr TPixel kRightActive = MakePixel(20, 200, 20);
constexpr TPixel kRightInactive = MakePixel(20, 100, 20);
constexpr TPixel kTopActive = MakePixel(30, 140, 160);
constexpr TPixel kTopInactive = MakePixel(120, 120, 130);
constexpr TPixel kBottomActive = MakePixel(90, 40, 140);
constexpr TPixel kBottomInactive = MakePixel(90, 40, 60);
constexpr TPixel kButton[4] = {MakePixel(200, 200, 0), MakePixel(0, 200, 200), MakePixel(250, 120, 0),
                               MakePixel(60, 60, 60)};
constexpr TColor kTitleTextActive = 0x000000FF;  // red
constexpr TColor kTitleTextInactive = 0x00FF0000;

// Two images of one colour each, side by side or stacked.
TBitmap TwoImages(int32_t w, int32_t h, TPixel first, TPixel second, bool stacked) {
  TBitmap b(stacked ? w : 2 * w, stacked ? 2 * h : h, first);
  b.FillRect(stacked ? Rect(0, h, w, 2 * h) : Rect(w, 0, 2 * w, h), second);
  return b;
}

// Borders 6 (left, right), 20 (caption) and 4 (bottom); one close button,
// 16 x 14, anchored 30 pixels from the right edge, with a magenta column on
// its left so the caption shows through.
void FillSkin(TSkinData& data) {
  data.border[1].Map = TwoImages(6, 40, kLeftActive, kLeftInactive, false);
  data.border[2].Map = TwoImages(6, 40, kRightActive, kRightInactive, false);
  data.border[3].Map = TwoImages(30, 20, kTopActive, kTopInactive, true);
  data.border[4].Map = TwoImages(30, 4, kBottomActive, kBottomInactive, true);
  for (int k = 1; k <= 4; ++k) {
    data.border[k].frame = 2;
    data.border[k].Tile = 1;
    data.border[k].trans = 0;
  }
  data.Title.r = Rect(28, 0, 40, 0);
  data.Colors[1] = kTitleTextActive;
  data.Colors[2] = kTitleTextInactive;
  data.Colors[3] = 0x00C0D0E0;
  TDataSkinSysButton close;
  close.Action = 0;
  close.Align = 1;
  close.XCoord = 30;
  close.YCoord = 3;
  close.frame = 4;
  close.Map = TBitmap(64, 14);
  for (int k = 0; k < 4; ++k) {
    close.Map.FillRect(Rect(16 * k, 0, 16 * k + 16, 14), kButton[k]);
    close.Map.FillRect(Rect(16 * k, 0, 16 * k + 2, 14), kMagentaPixel);
  }
  data.SysBtn = {close};
  data.Empty = false;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(int w, int h) {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmFrameTestWindow";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         50, 60, w, h, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class FrameTest : public testing::Test {
 protected:
  void SetUp() override {
    FillSkin(data);
    hwnd = MakeWindow(300, 200);
    ASSERT_NE(hwnd, nullptr);
    sf.hwnd = hwnd;
    sf.fsd = &data;
    sf.Skinstate = ssActive;
    sf.sMainMenu = true;
    sf.FormBorder = sbsSingle;
    sf.FormIcons = IconBit(sbisystem) | IconBit(sbiMin);
    sf.FWindowActive = true;
    sf.InitSkinData();
  }
  void TearDown() override {
    sf.Uncropwindow();
    DestroyWindow(hwnd);
  }
  TBitmap Frame() {
    TBitmap b;
    sf.getClipMap(b);
    return b;
  }
  static int CountRed(const TBitmap& b, const TRect& area) {
    int n = 0;
    for (int32_t y = area.Top; y < area.Bottom; ++y)
      for (int32_t x = area.Left; x < area.Right; ++x) {
        TPixel p = b.Pixel(x, y);
        n += PixelRed(p) > 180 && PixelGreen(p) < 80 && PixelBlue(p) < 80;
      }
    return n;
  }

  TSkinData data{nullptr};
  TWinSkinForm sf{nullptr};
  HWND hwnd = nullptr;
};

TEST_F(FrameTest, BorderWidthsAndButtonsComeFromTheSkin) {
  EXPECT_EQ(sf.bw, Rect(6, 20, 6, 4));
  ASSERT_EQ(sf.SysBtn.size(), 1u);
  EXPECT_EQ(sf.BtnCount, 1);
  EXPECT_EQ(sf.SysBtn[0]->data, &data.SysBtn[0]);
  EXPECT_TRUE(sf.SysBtn[0]->enabled);
  // Rebuilding replaces the objects.
  TWinSysButton* first = sf.SysBtn[0].get();
  sf.ActiveBtn = first;
  sf.InitSkinData();
  EXPECT_EQ(sf.SysBtn.size(), 1u);
  EXPECT_EQ(sf.ActiveBtn, nullptr);
}

TEST_F(FrameTest, ActiveFrameUsesImageOne) {
  TBitmap b = Frame();
  ASSERT_EQ(b.Width(), 300);
  ASSERT_EQ(b.Height(), 200);
  EXPECT_EQ(b.Pixel(2, 100), kLeftActive);
  EXPECT_EQ(b.Pixel(0, 0), kLeftActive);  // the sides run the full height
  EXPECT_EQ(b.Pixel(297, 199), kRightActive);
  EXPECT_EQ(b.Pixel(150, 198), kBottomActive);
  EXPECT_EQ(b.Pixel(10, 5), kTopActive);
  EXPECT_EQ(b.Pixel(150, 100), ColorToPixel(GetSysColor(COLOR_BTNFACE)));
  // The close button, 30 from the right edge: image 1, caption through its magenta.
  EXPECT_EQ(sf.SysBtn[0]->bounds, Rect(270, 3, 286, 17));
  EXPECT_TRUE(sf.SysBtn[0]->visible);
  EXPECT_EQ(b.Pixel(275, 10), kButton[0]);
  EXPECT_EQ(b.Pixel(270, 10), kTopActive);
}

TEST_F(FrameTest, InactiveFrameUsesImageTwoAndTheInactiveButton) {
  sf.FWindowActive = false;
  TBitmap b = Frame();
  EXPECT_EQ(b.Pixel(2, 100), kLeftInactive);
  EXPECT_EQ(b.Pixel(297, 100), kRightInactive);
  EXPECT_EQ(b.Pixel(150, 198), kBottomInactive);
  EXPECT_EQ(b.Pixel(10, 5), kTopInactive);
  EXPECT_EQ(b.Pixel(275, 10), kButton[3]);
  EXPECT_EQ(b.Pixel(270, 10), kTopInactive);
}

TEST_F(FrameTest, SingleImageStripUsesImageOneWhenInactive) {
  data.border[1].Map = TBitmap(6, 40, kLeftActive);
  data.border[1].frame = 1;
  sf.FWindowActive = false;
  TBitmap b = Frame();
  EXPECT_EQ(b.Pixel(2, 100), kLeftActive);
  EXPECT_EQ(b.Pixel(297, 100), kRightInactive);
}

TEST_F(FrameTest, CloseButtonLeavesWindowsWithoutSystemMenu) {
  sf.FormIcons = IconBit(sbiMin);
  TBitmap b = Frame();
  EXPECT_FALSE(sf.SysBtn[0]->visible);
  EXPECT_EQ(b.Pixel(275, 10), kTopActive);
  POINT p{275, 10};
  EXPECT_EQ(sf.FindSysBtn(p), nullptr);
}

TEST_F(FrameTest, HitTestFindsTheButtonAfterAPaint) {
  Frame();
  EXPECT_EQ(sf.FindSysBtn(POINT{275, 10}), sf.SysBtn[0].get());
  EXPECT_EQ(sf.FindSysBtn(POINT{269, 10}), nullptr);
  EXPECT_EQ(sf.FindSysBtn(POINT{286, 10}), nullptr);
  // A decoration at the same place is drawn but never hit.
  data.SysBtn[0].Action = -1;
  Frame();
  EXPECT_EQ(sf.FindSysBtn(POINT{275, 10}), nullptr);
}

TEST_F(FrameTest, TitleTextInTheActiveAndInactiveColours) {
  SetWindowTextW(hwnd, L"WWWWWWWW");
  TBitmap b = Frame();
  const TRect caption = Rect(0, 0, 300, 20);
  EXPECT_GT(CountRed(b, caption), 20);
  // Left-aligned at TextShift: nothing of it before x = 6 + 28.
  EXPECT_EQ(CountRed(b, Rect(0, 0, 34, 20)), 0);
  EXPECT_GE(sf.FTitleRect.Left, 34);
  sf.FWindowActive = false;
  b = Frame();
  EXPECT_EQ(CountRed(b, caption), 0);
  // An empty window text draws nothing.
  SetWindowTextW(hwnd, L"");
  sf.FWindowActive = true;
  b = Frame();
  EXPECT_EQ(CountRed(b, caption), 0);
}

TEST_F(FrameTest, LongTitleStopsBeforeTheRightReserve) {
  SetWindowTextW(hwnd, std::wstring(200, L'W').c_str());
  TBitmap b = Frame();
  // TextRightClip 40 from the caption's right end (x = 294).
  EXPECT_LE(sf.ctr.Right, 294 - 40);
  EXPECT_EQ(CountRed(b, Rect(294 - 40, 0, 300, 20)), 0);
  EXPECT_GT(CountRed(b, Rect(34, 0, 254, 20)), 50);
}

TEST_F(FrameTest, MinimizedWindowIsCaptionOverButtonFace) {
  sf.Windowstate = swsMin;
  TBitmap b = Frame();
  EXPECT_EQ(b.Pixel(150, 100), ColorToPixel(ResolveColor(data.Colors[3])));
  EXPECT_EQ(b.Pixel(2, 100), ColorToPixel(ResolveColor(data.Colors[3])));
  EXPECT_EQ(b.Pixel(10, 5), kTopActive);
  EXPECT_EQ(b.Pixel(2, 5), kTopActive);  // the caption runs the full width
}

TEST_F(FrameTest, NoCaptionBandDrawsNoCaption) {
  data.border[3].Map.Clear();
  sf.InitSkinData();
  EXPECT_EQ(sf.bw.Top, 0);
  TBitmap b = Frame();
  EXPECT_EQ(b.Pixel(150, 0), ColorToPixel(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(b.Pixel(2, 0), kLeftActive);
}

TEST_F(FrameTest, OpaqueBordersGiveAWholeWindowRegion) {
  sf.Cropwindow();
  ASSERT_TRUE(sf.crop);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, r), SIMPLEREGION);
  RECT box{};
  GetRgnBox(r, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 300);
  EXPECT_EQ(box.bottom, 200);
  DeleteObject(r);
  sf.Uncropwindow();
  EXPECT_FALSE(sf.crop);
  EXPECT_EQ(sf.WinRgn, nullptr);
  r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, r), ERROR);
  DeleteObject(r);
}

TEST_F(FrameTest, NothingIsShapedWithoutFrameSkinningOrWhenDestroyed) {
  sf.sMainMenu = false;
  sf.Cropwindow();
  EXPECT_FALSE(sf.crop);
  sf.sMainMenu = true;
  sf.Skinstate = ssDestroyed;
  sf.Cropwindow();
  EXPECT_FALSE(sf.crop);
}

// Our own skin, as the main window stores it.
class OurSkinTest : public testing::Test {
 protected:
  void SetUp() override {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
    ASSERT_FALSE(data.Empty);
    hwnd = MakeWindow(400, 300);
    ASSERT_NE(hwnd, nullptr);
    sf.hwnd = hwnd;
    sf.fsd = &data;
    sf.Skinstate = ssActive;
    sf.sMainMenu = true;
    sf.FormBorder = sbsSingle;
    sf.FormIcons = IconBit(sbisystem) | IconBit(sbiMin);
    sf.InitSkinData();
  }
  void TearDown() override {
    if (hwnd) {
      sf.Uncropwindow();
      DestroyWindow(hwnd);
    }
  }
  TSkinData data{nullptr};
  TWinSkinForm sf{nullptr};
  HWND hwnd = nullptr;
};

TEST_F(OurSkinTest, RegionFollowsTheMagentaCorners) {
  sf.Cropwindow();
  ASSERT_TRUE(sf.crop);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(hwnd, r), COMPLEXREGION);
  const TBitmap left = BorderPicture(data.border[1], 1, sf.bw.Left, 300, true);
  const TBitmap right = BorderPicture(data.border[2], 2, sf.bw.Right, 300, true);
  ASSERT_EQ(left.Pixel(0, 0), kMagentaPixel) << "the skin's corner is rounded";
  int cut = 0;
  for (int32_t y = 0; y < sf.bw.Top; ++y)
    for (int32_t x = 0; x < sf.bw.Left; ++x) {
      bool opaque = left.Pixel(x, y) != kMagentaPixel;
      cut += !opaque;
      EXPECT_EQ(PtInRegion(r, x, y) != 0, opaque) << x << "," << y;
      bool opaqueRight = right.Pixel(x, y) != kMagentaPixel;
      EXPECT_EQ(PtInRegion(r, 400 - sf.bw.Right + x, y) != 0, opaqueRight) << x << "," << y;
    }
  EXPECT_GT(cut, 2);
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_FALSE(PtInRegion(r, 399, 0));
  EXPECT_TRUE(PtInRegion(r, 200, 150));
  EXPECT_TRUE(PtInRegion(r, 200, 0));
  EXPECT_TRUE(PtInRegion(r, 0, 299));
  EXPECT_TRUE(PtInRegion(r, 399, 299));
  EXPECT_FALSE(PtInRegion(r, 400, 150));
  DeleteObject(r);
}

TEST_F(OurSkinTest, RegionIsRebuiltOnlyForANewSizeOrASkinChange) {
  sf.Cropwindow();
  HRGN first = sf.WinRgn;
  ASSERT_NE(first, nullptr);
  sf.Cropwindow();
  EXPECT_EQ(sf.WinRgn, first);
  SetWindowPos(hwnd, nullptr, 0, 0, 500, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  sf.Cropwindow();
  EXPECT_NE(sf.WinRgn, first);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, r), ERROR);
  EXPECT_TRUE(PtInRegion(r, 499, 319));
  EXPECT_FALSE(PtInRegion(r, 499, 0));
  DeleteObject(r);
  HRGN second = sf.WinRgn;
  sf.Skinstate = ssChanging;
  sf.Cropwindow();
  EXPECT_NE(sf.WinRgn, second);
}

TEST_F(OurSkinTest, MainWindowCaptionHasCloseMinimizeAGreyedMaximizeAndTheIcon) {
  SetWindowTextW(hwnd, L"Quellmark");
  TBitmap plain;
  sf.getClipMap(plain);
  std::vector<int> shown;
  TRect iconButton;
  for (const auto& button : sf.SysBtn) {
    if (!button->visible) continue;
    shown.push_back(button->data->Action);
    // Without WS_MAXIMIZEBOX the maximize button is drawn disabled, as Windows does.
    EXPECT_EQ(button->enabled, button->data->Action != 1) << button->data->Action;
    if (button->data->Action == 3) iconButton = button->bounds;
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_GT(sf.FTitleRect.Left, iconButton.Right);
  // The window's icon appears at the caption's left, where the icon button is.
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  TBitmap withIcon;
  sf.getClipMap(withIcon);
  int changed = 0;
  for (int32_t y = 0; y < sf.bw.Top; ++y)
    for (int32_t x = 0; x < withIcon.Width(); ++x)
      if (withIcon.Pixel(x, y) != plain.Pixel(x, y)) {
        ++changed;
        EXPECT_GE(x, 8);
        EXPECT_LT(x, 8 + sf.Iconx);
      }
  EXPECT_GT(changed, 20);
  // The icon button opens the system menu: it is hit, the title beside it is not.
  EXPECT_EQ(sf.FindSysBtn(POINT{iconButton.Left + 2, iconButton.Top + 2})->data->Action, 3);
  EXPECT_EQ(sf.FindSysBtn(POINT{sf.FTitleRect.Left + 2, sf.FTitleRect.Top + 2}), nullptr);
}

}  // namespace
}  // namespace skin
