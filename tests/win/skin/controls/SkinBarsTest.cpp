// Status bars, progress bars, track bars and size grips drawn from a skin of
// flat numbered images into memory device contexts and read back: which
// image lies where, how far a progress bar is filled over any range, where
// the track bar's channel and thumb go.
#include <gtest/gtest.h>

#include <vector>

#include "gui/Form.h"
#include "gui/StatusBar.h"
#include "gui/TrackBar.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr TPixel kBackground = 0x00102030;
constexpr TColor kFace = 0x00C0D0E0;  // 0x00BBGGRR
constexpr TColor kShadow = 0x00404080;

TPixel Colour(int k) {
  return MakePixel(static_cast<uint8_t>(30 * k), static_cast<uint8_t>(240 - 25 * k), 77);
}

// `frames` flat images of w x h side by side, image k in Colour(k + base).
TBitmap Strip(int frames, int32_t w, int32_t h, int base = 0) {
  TBitmap strip(w * frames, h);
  for (int k = 1; k <= frames; ++k) strip.FillRect(Rect((k - 1) * w, 0, k * w, h), Colour(k + base));
  return strip;
}

template <class T>
std::unique_ptr<T> Element(const char* name, TBitmap map, int frames, const TRect& margins) {
  auto e = std::make_unique<T>(name);
  e->Map = std::move(map);
  e->frame = frames;
  e->r = margins;
  return e;
}

class SkinBarsTest : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    data.Colors[3] = kFace;
    data.Colors[7] = kShadow;
    data.Empty = false;
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    form = new fw::TForm(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(0, 0, 500, 300);
    form->HandleNeeded();
  }
  void TearDown() override {
    for (TSkinControl* object : objects) delete object;
    delete form;
    DestroyWindow(parent);
  }

  HWND Bare(const wchar_t* cls, DWORD style, int w, int h) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, parent, nullptr, nullptr,
                           nullptr);
  }
  template <class T>
  T* SkinBare(HWND hwnd) {
    auto* object = new T(nullptr);
    object->Inithwnd(hwnd, &data, nullptr);
    objects.push_back(object);
    return object;
  }
  template <class T>
  T* SkinFramework(fw::TWinControl* control) {
    auto* object = new T(control);
    object->Init(nullptr, &data, false);
    objects.push_back(object);
    return object;
  }
  fw::TStatusBar* StatusBar(const std::wstring& widths) {
    auto* bar = new fw::TStatusBar(form);
    bar->SetBounds(0, 0, 400, 22);
    bar->SetParent(form);
    if (!widths.empty()) bar->SetPanelWidths(widths);
    bar->HandleNeeded();
    return bar;
  }

  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  TSkinData data{nullptr};
  HWND parent = nullptr;
  fw::TForm* form = nullptr;
  std::vector<TSkinControl*> objects;
};

// ---------------------------------------------------------------- status bar

TEST_F(SkinBarsTest, PanelsShowTheirBevelImageIntoTheGapAndTheLastToTheEdge) {
  data.StatusBar = Element<TDataSkinObject>("StatusBarEdges", Strip(3, 10, 10), 3, Rect(2, 2, 2, 2));
  fw::TStatusBar* bar = StatusBar(L"100,150,50");
  bar->SetPanelBevel(1, fw::pbRaised);
  bar->SetPanelBevel(2, fw::pbNone);
  auto* object = SkinFramework<TSkinStatusBar>(bar);
  RECT first{}, second{};
  ASSERT_TRUE(SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first)));
  ASSERT_TRUE(SendMessageW(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&second)));
  TBitmap picture = Draw(*object, bar->Handle());
  const int y = first.bottom - 1;  // below any text
  EXPECT_EQ(picture.Pixel(first.left, y), Colour(1));
  // Panel 0's background reaches 2 pixels past its right edge, unless the
  // next panel starts there and covers it.
  EXPECT_EQ(picture.Pixel(first.right + 1, y), second.left <= first.right + 1 ? Colour(2) : Colour(1));
  EXPECT_EQ(picture.Pixel(second.left + 3, y), Colour(2));
  // The last panel (no bevel: image 3) runs to the bar's right edge.
  EXPECT_EQ(picture.Pixel(399, y), Colour(3));
  EXPECT_EQ(picture.Pixel(300, y), Colour(3));
}

TEST_F(SkinBarsTest, PanelTextsAreDrawnInThePanelsAndARightToLeftLeftPanelOnItsRight) {
  data.StatusBar = Element<TDataSkinObject>("StatusBarEdges", Strip(3, 10, 10), 3, Rect(2, 2, 2, 2));
  fw::TStatusBar* bar = StatusBar(L"200,200");
  bar->SetPanelText(0, L"WWWW");
  bar->SetPanelBiDiMode(0, fw::bdRightToLeft);
  bar->SetPanelText(1, L"WWWW");
  auto* object = SkinFramework<TSkinStatusBar>(bar);
  TBitmap picture = Draw(*object, bar->Handle());
  // Ink columns of each panel's text.
  auto inkSpan = [&](int from, int to, TPixel face) {
    int lo = to, hi = from;
    for (int x = from; x < to; ++x)
      for (int y = 4; y < 18; ++y)  // inside the panels' faces
        if (picture.Pixel(x, y) != face) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
    return std::make_pair(lo, hi);
  };
  auto [rtlLo, rtlHi] = inkSpan(0, 198, Colour(1));
  auto [ltrLo, ltrHi] = inkSpan(204, 400, Colour(1));
  ASSERT_LT(rtlLo, rtlHi) << "the right-to-left panel shows no text";
  ASSERT_LT(ltrLo, ltrHi) << "the second panel shows no text";
  EXPECT_GT(rtlLo, 100);  // left-justified, right to left: at the right end
  EXPECT_LT(ltrHi, 300);  // left-justified: at the left end
}

TEST_F(SkinBarsTest, SimpleBarWithEmptyTextIsOneLoweredImageAndTheGripIsImageFive) {
  data.StatusBar = Element<TDataSkinObject>("StatusBarEdges", Strip(3, 10, 10), 3, Rect(2, 2, 2, 2));
  data.ExtraImages = Element<TDataSkinObject>("ExtraImages", Strip(5, 12, 12, 3), 5, TRect{});
  fw::TStatusBar* bar = new fw::TStatusBar(form);
  bar->SetSizeGrip(true);
  bar->SetBounds(0, 0, 400, 22);
  bar->SetParent(form);
  bar->SetPanelWidths(L"100,100");
  bar->SetSimplePanel(true);
  bar->HandleNeeded();
  ASSERT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  auto* object = SkinFramework<TSkinStatusBar>(bar);
  TBitmap picture = Draw(*object, bar->Handle());
  // The grip: 12 x 12 ending one pixel in from the bottom-right corner.
  EXPECT_EQ(picture.Pixel(387, 9), Colour(5 + 3));
  EXPECT_EQ(picture.Pixel(398, 20), Colour(5 + 3));
  EXPECT_EQ(picture.Pixel(399, 21), Colour(1));
  EXPECT_EQ(picture.Pixel(386, 15), Colour(1));
  int other = 0;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 386; ++x) other += picture.Pixel(x, y) != Colour(1);
  EXPECT_EQ(other, 0) << "an empty simple bar is blank";
}

TEST_F(SkinBarsTest, WithoutTheImagePanelsGetAOnePixelFrame) {
  fw::TStatusBar* bar = StatusBar(L"100,100");
  bar->SetPanelBevel(1, fw::pbRaised);
  auto* object = SkinFramework<TSkinStatusBar>(bar);
  RECT first{};
  SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  TBitmap picture = Draw(*object, bar->Handle());
  const TPixel shadow = ColorToPixel(GetSysColor(COLOR_BTNSHADOW));
  const TPixel light = ColorToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(picture.Pixel(first.left + 5, first.top), shadow);
  EXPECT_EQ(picture.Pixel(first.left, first.top + 5), shadow);
  EXPECT_EQ(picture.Pixel(first.left + 5, first.bottom - 1), light);
  EXPECT_EQ(picture.Pixel(first.left + 1, first.top + 1), ColorToPixel(kFace));
  RECT second{};
  SendMessageW(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(picture.Pixel(second.left + 5, second.top), light);
  EXPECT_EQ(picture.Pixel(second.left + 5, second.bottom - 1), shadow);
}

TEST_F(SkinBarsTest, OwnerDrawnPanelsGetTheirHandlerAfterTheSkinWithANarrowedRectangle) {
  data.StatusBar = Element<TDataSkinObject>("StatusBarEdges", Strip(3, 10, 10), 3, Rect(2, 2, 2, 2));
  fw::TStatusBar* bar = StatusBar(L"100,100");
  bar->SetPanelStyle(0, fw::psOwnerDraw);
  std::vector<std::pair<int, RECT>> calls;
  bar->OnDrawPanel = [&](fw::TStatusBar&, int panel, HDC dc, const RECT& rect) {
    calls.push_back({panel, rect});
    FillColorRect(dc, rect, RGB(1, 2, 3));
  };
  auto* object = SkinFramework<TSkinStatusBar>(bar);
  RECT first{};
  SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  TBitmap picture = Draw(*object, bar->Handle());
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].first, 0);
  EXPECT_EQ(calls[0].second.left, first.left + 2);
  EXPECT_EQ(calls[0].second.top, first.top + 2);
  EXPECT_EQ(calls[0].second.right, first.right - 2);
  EXPECT_EQ(calls[0].second.bottom, first.bottom - 2);
  EXPECT_EQ(picture.Pixel(first.left + 5, first.top + 5), MakePixel(1, 2, 3));
  EXPECT_EQ(picture.Pixel(first.left, first.bottom - 1), Colour(1));
}

TEST_F(SkinBarsTest, StatusBarTakesItsPaintAndAnswersTheSkinQuery) {
  fw::TStatusBar* bar = StatusBar(L"100");
  SkinFramework<TSkinStatusBar>(bar);
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_ISSKINNED, 0, 0), 1);
  HDC dc = GetDC(bar->Handle());
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(bar->Handle(), dc);
}

// ---------------------------------------------------------------- progress bar

class SkinProgressTest : public SkinBarsTest {
 protected:
  void SetUp() override {
    SkinBarsTest::SetUp();
    data.progress = Element<TDataSkinBorder>("Progress", Strip(2, 10, 10), 2, Rect(3, 3, 3, 3));
  }
  HWND Progress(int lo, int hi, int pos, bool vertical = false) {
    HWND hwnd = vertical ? Bare(PROGRESS_CLASSW, PBS_VERTICAL, 20, 200) : Bare(PROGRESS_CLASSW, 0, 200, 20);
    SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(lo), hi);
    SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    return hwnd;
  }
  // The filled length along a horizontal bar's middle row.
  static int FilledColumns(const TBitmap& picture, TPixel fill) {
    int n = 0;
    for (int x = 0; x < picture.Width(); ++x) n += picture.Pixel(x, picture.Height() / 2) == fill;
    return n;
  }
};

TEST_F(SkinProgressTest, HalfwayFillsExactlyHalfOverEveryRange) {
  const int ranges[][3] = {{0, 100, 50}, {20, 120, 70}, {-50, 50, 0}, {-100, -60, -80}};
  for (const auto& r : ranges) {
    HWND hwnd = Progress(r[0], r[1], r[2]);
    TBitmap picture = Draw(*SkinBare<TSkinProgress>(hwnd), hwnd);
    EXPECT_EQ(picture.Pixel(99, 10), Colour(2)) << r[0] << ".." << r[1];
    EXPECT_EQ(picture.Pixel(100, 10), Colour(1)) << r[0] << ".." << r[1];
    EXPECT_EQ(FilledColumns(picture, Colour(2)), 100) << r[0] << ".." << r[1];
  }
}

TEST_F(SkinProgressTest, EmptyAndFullBars) {
  HWND empty = Progress(0, 100, 0);
  EXPECT_EQ(FilledColumns(Draw(*SkinBare<TSkinProgress>(empty), empty), Colour(2)), 0);
  HWND full = Progress(0, 100, 100);
  EXPECT_EQ(FilledColumns(Draw(*SkinBare<TSkinProgress>(full), full), Colour(2)), 200);
  // A bar whose range is one value fills nothing rather than dividing by zero.
  HWND flat = Progress(5, 5, 5);
  EXPECT_EQ(FilledColumns(Draw(*SkinBare<TSkinProgress>(flat), flat), Colour(2)), 0);
}

TEST_F(SkinProgressTest, VerticalBarFillsFromTheBottomUp) {
  HWND hwnd = Progress(0, 100, 30, true);
  TBitmap picture = Draw(*SkinBare<TSkinProgress>(hwnd), hwnd);
  EXPECT_EQ(picture.Pixel(10, 199), Colour(2));
  EXPECT_EQ(picture.Pixel(10, 140), Colour(2));
  EXPECT_EQ(picture.Pixel(10, 139), Colour(1));
  EXPECT_EQ(picture.Pixel(10, 0), Colour(1));
}

TEST_F(SkinProgressTest, ChunkStyleRepeatsTheChunkOverTheFilledPart) {
  data.progress = Element<TDataSkinBorder>("Progress", Strip(1, 10, 10), 1, Rect(3, 3, 3, 3));
  data.progress->style = 1;
  data.progresschunk = Element<TDataSkinObject>("Progress.Chunk", Strip(1, 6, 8, 4), 1, Rect(1, 2, 2, 1));
  data.progresschunk->Tile = 1;
  HWND hwnd = Progress(20, 120, 70);
  TBitmap picture = Draw(*SkinBare<TSkinProgress>(hwnd), hwnd);
  // 100 long from x = r.Left + 2 = 3, 8 high centred in 20: rows 6..13.
  EXPECT_EQ(picture.Pixel(3, 10), Colour(5));
  EXPECT_EQ(picture.Pixel(102, 10), Colour(5));
  EXPECT_EQ(picture.Pixel(103, 10), Colour(1));
  EXPECT_EQ(picture.Pixel(2, 10), Colour(1));
  EXPECT_EQ(picture.Pixel(50, 6), Colour(5));
  EXPECT_EQ(picture.Pixel(50, 5), Colour(1));
  EXPECT_EQ(picture.Pixel(50, 13), Colour(5));
  EXPECT_EQ(picture.Pixel(50, 14), Colour(1));
}

TEST_F(SkinProgressTest, StretchedChunkStyleFillsInsideTwoPixels) {
  data.progress = Element<TDataSkinBorder>("Progress", Strip(1, 10, 10), 1, Rect(3, 3, 3, 3));
  data.progress->style = 1;
  data.progresschunk = Element<TDataSkinObject>("Progress.Chunk", Strip(1, 6, 8, 4), 1, Rect(1, 2, 2, 1));
  HWND hwnd = Progress(0, 100, 50);
  TBitmap picture = Draw(*SkinBare<TSkinProgress>(hwnd), hwnd);
  EXPECT_EQ(picture.Pixel(2, 2), Colour(5));
  EXPECT_EQ(picture.Pixel(101, 17), Colour(5));
  EXPECT_EQ(picture.Pixel(102, 10), Colour(1));
  EXPECT_EQ(picture.Pixel(50, 18), Colour(1));
  EXPECT_EQ(picture.Pixel(1, 10), Colour(1));
}

TEST_F(SkinProgressTest, ChunkStyleWithoutAChunkDrawsNothingAndNoImageLeavesTheBarItsOwnPaint) {
  data.progress->style = 1;
  HWND hwnd = Progress(0, 100, 50);
  auto* object = SkinBare<TSkinProgress>(hwnd);
  EXPECT_EQ(Draw(*object, hwnd).Pixel(5, 10), kBackground);
  data.progress.reset();
  EXPECT_EQ(Draw(*object, hwnd).Pixel(5, 10), kBackground);
}

// ---------------------------------------------------------------- track bar

class SkinTrackBarTest : public SkinBarsTest {
 protected:
  void SetUp() override {
    SkinBarsTest::SetUp();
    data.TrackBar = Element<TDataSkinObject>("Track", Strip(1, 12, 4, 6), 1, Rect(3, 1, 3, 1));
    data.TrackHorz = Element<TDataSkinObject>("Trackbar.ThumbHorz", Strip(5, 11, 20), 5, Rect(1, 1, 1, 1));
  }
  LRESULT CustomDraw(TSkinTrackBar& object, HDC dc, DWORD stage, DWORD_PTR item) {
    NMCUSTOMDRAW draw{};
    draw.hdc = dc;
    draw.dwDrawStage = stage;
    draw.dwItemSpec = item;
    return object.TrackCustomDraw(draw);
  }
  TBitmap DrawItem(TSkinTrackBar& object, HWND hwnd, DWORD_PTR item, LRESULT* result) {
    RECT r;
    GetClientRect(hwnd, &r);
    TDibSection dib(r.right, r.bottom);
    dib.Assign(TBitmap(dib.Width(), dib.Height(), kBackground));
    *result = CustomDraw(object, dib.DC(), CDDS_ITEMPREPAINT, item);
    return dib.ToBitmap();
  }
};

TEST_F(SkinTrackBarTest, StagesAskForItemsAndSkipTheDefaultForThumbAndChannelOnly) {
  HWND hwnd = Bare(TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS, 200, 32);
  auto* object = SkinBare<TSkinTrackBar>(hwnd);
  TDibSection dib(200, 32);
  EXPECT_EQ(CustomDraw(*object, dib.DC(), CDDS_PREPAINT, 0), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(CustomDraw(*object, dib.DC(), CDDS_ITEMPREPAINT, TBCD_THUMB), CDRF_SKIPDEFAULT);
  EXPECT_EQ(CustomDraw(*object, dib.DC(), CDDS_ITEMPREPAINT, TBCD_CHANNEL), CDRF_SKIPDEFAULT);
  EXPECT_EQ(CustomDraw(*object, dib.DC(), CDDS_ITEMPREPAINT, TBCD_TICS), CDRF_DODEFAULT);
  EXPECT_EQ(CustomDraw(*object, dib.DC(), CDDS_POSTPAINT, 0), 0);
}

TEST_F(SkinTrackBarTest, ThumbShowsImageTwoStretchedOverTheThumb) {
  HWND hwnd = Bare(TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS, 200, 32);
  SendMessageW(hwnd, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(hwnd, TBM_SETPOS, TRUE, 4);
  auto* object = SkinBare<TSkinTrackBar>(hwnd);
  RECT thumb{};
  SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  ASSERT_GT(thumb.right - thumb.left, 2);
  LRESULT result = 0;
  TBitmap picture = DrawItem(*object, hwnd, TBCD_THUMB, &result);
  EXPECT_EQ(result, CDRF_SKIPDEFAULT);
  EXPECT_EQ(picture.Pixel(thumb.left, thumb.top), Colour(2));
  EXPECT_EQ(picture.Pixel(thumb.right - 1, thumb.bottom - 1), Colour(2));
  EXPECT_EQ(picture.Pixel((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2), Colour(2));
  EXPECT_EQ(picture.Pixel(thumb.right, thumb.top), kBackground);
}

TEST_F(SkinTrackBarTest, ChannelIsDrawnHalfItsHeightDownWhenTallerThanTheImage) {
  HWND hwnd = Bare(TRACKBAR_CLASSW, TBS_HORZ, 200, 32);
  auto* object = SkinBare<TSkinTrackBar>(hwnd);
  RECT channel{};
  SendMessageW(hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  LRESULT result = 0;
  TBitmap picture = DrawItem(*object, hwnd, TBCD_CHANNEL, &result);
  const int height = channel.bottom - channel.top;
  const int top = channel.top + (height > 4 ? height / 2 : 0);
  const int mid = (channel.left + channel.right) / 2;
  EXPECT_EQ(picture.Pixel(mid, top), Colour(7));
  EXPECT_EQ(picture.Pixel(mid, top + 3), Colour(7));
  EXPECT_EQ(picture.Pixel(mid, top + 4), kBackground);
  EXPECT_EQ(picture.Pixel(channel.left, top), Colour(7));
  EXPECT_EQ(picture.Pixel(channel.right - 1, top), Colour(7));
  EXPECT_EQ(picture.Pixel(channel.right, top), kBackground);
  if (height > 4) {
    EXPECT_EQ(picture.Pixel(mid, top - 1), kBackground);
  }
}

TEST_F(SkinTrackBarTest, VerticalChannelStandsInTheControlCentredAcross) {
  data.TrackBarVert = Element<TDataSkinObject>("TRACKVERT", Strip(1, 4, 12, 5), 1, Rect(1, 3, 1, 3));
  HWND hwnd = Bare(TRACKBAR_CLASSW, TBS_VERT, 32, 200);
  auto* object = SkinBare<TSkinTrackBar>(hwnd);
  RECT reported{};
  SendMessageW(hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
  // Standing whichever way the control reports it.
  RECT channel = reported;
  if (reported.right - reported.left > reported.bottom - reported.top)
    channel = RECT{reported.top, reported.left, reported.bottom, reported.right};
  LRESULT result = 0;
  TBitmap picture = DrawItem(*object, hwnd, TBCD_CHANNEL, &result);
  const int width = channel.right - channel.left;
  const int left = channel.left + (width > 4 ? (width - 4) / 2 : 0);
  const int mid = (channel.top + channel.bottom) / 2;
  EXPECT_EQ(picture.Pixel(left, mid), Colour(6));
  EXPECT_EQ(picture.Pixel(left + 3, mid), Colour(6));
  EXPECT_EQ(picture.Pixel(left + 4, mid), kBackground);
  EXPECT_EQ(picture.Pixel(left, channel.top), Colour(6));
  EXPECT_EQ(picture.Pixel(left, channel.bottom - 1), Colour(6));
  EXPECT_EQ(picture.Pixel(left, channel.bottom), kBackground);
}

TEST_F(SkinTrackBarTest, WithoutThumbImagesTheThumbIsWhiteOutlinedInShadow) {
  data.TrackHorz.reset();
  data.TrackBar.reset();
  HWND hwnd = Bare(TRACKBAR_CLASSW, TBS_HORZ, 200, 32);
  auto* object = SkinBare<TSkinTrackBar>(hwnd);
  RECT thumb{};
  SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  LRESULT result = 0;
  TBitmap picture = DrawItem(*object, hwnd, TBCD_THUMB, &result);
  EXPECT_EQ(picture.Pixel(thumb.left, thumb.top), ColorToPixel(kShadow));
  EXPECT_EQ(picture.Pixel((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
            MakePixel(255, 255, 255));
  // No channel image: nothing drawn, the default still skipped.
  TBitmap channel = DrawItem(*object, hwnd, TBCD_CHANNEL, &result);
  EXPECT_EQ(result, CDRF_SKIPDEFAULT);
  for (int x = 0; x < 200; x += 7) EXPECT_EQ(channel.Pixel(x, 16), kBackground);
}

TEST_F(SkinTrackBarTest, FrameworkTrackBarAnswersItsReflectedCustomDrawAndIgnoresSkinDone) {
  auto* track = new fw::TTrackBar(form);
  track->SetBounds(0, 0, 200, 32);
  track->SetParent(form);
  track->HandleNeeded();
  SkinFramework<TSkinTrackBar>(track);
  EXPECT_EQ(SendMessageW(track->Handle(), WM_ISSKINNED, 0, 0), 1);
  // WM_SKINDONE carries no notification header: nothing may read one.
  EXPECT_EQ(track->Perform(WM_SKINDONE, 0, SKIN_MAGIC), 0);
  NMCUSTOMDRAW draw{};
  draw.hdr.hwndFrom = track->Handle();
  draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  draw.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(track->Perform(fw::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  // Through the parent, as the control sends it.
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  // Another notification code is left to the control.
  draw.hdr.code = static_cast<UINT>(NM_RELEASEDCAPTURE);
  EXPECT_EQ(track->Perform(fw::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), 0);
}

// ---------------------------------------------------------------- size grip

TEST_F(SkinBarsTest, SizeGripBecomesAPlainFaceRectangle) {
  HWND grip = Bare(L"SCROLLBAR", SBS_SIZEGRIP, 16, 16);
  auto* object = SkinBare<TSkinSizer>(grip);
  TBitmap picture = Draw(*object, grip);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(picture.Pixel(x, y), ColorToPixel(kFace)) << x << "," << y;
  EXPECT_EQ(SendMessageW(grip, WM_ISSKINNED, 0, 0), 1);
}

}  // namespace
}  // namespace skin
