// Tab controls drawn from a skin into memory device contexts and read back:
// the tab image on each side (upside down at the bottom, turned for the
// sides, captions reading upward on the left), the page border turned with
// it, the scroll arrows left out of the band, close boxes that free a page
// or keep it by the form's answer, button-style tabs, and pages.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/PageControl.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr TPixel kBackground = 0x00102030;
constexpr TColor kFace = 0x00D0E0F0;  // 0x00BBGGRR
constexpr int32_t kImage = 20;

// Face k of the tab strip: the upper half split into two colours (outer
// edge left, outer edge right), the lower half (toward the page) a third.
TPixel UpperLeft(int k) {
  return MakePixel(static_cast<uint8_t>(150 + 40 * k), 230, 160);
}
TPixel UpperRight(int k) {
  return MakePixel(160, static_cast<uint8_t>(150 + 40 * k), 230);
}
TPixel Lower(int k) {
  return MakePixel(230, 160, static_cast<uint8_t>(150 + 40 * k));
}
// The page border: its top margin, middle and bottom margin.
constexpr TPixel kBorderTop = MakePixel(250, 200, 200);
constexpr TPixel kBorderMiddle = MakePixel(200, 250, 200);
constexpr TPixel kBorderBottom = MakePixel(200, 200, 250);

TBitmap TabStrip() {
  TBitmap strip(kImage * 2, kImage);
  for (int k = 1; k <= 2; ++k) {
    int32_t x = (k - 1) * kImage;
    strip.FillRect(Rect(x, 0, x + kImage / 2, kImage / 2), UpperLeft(k));
    strip.FillRect(Rect(x + kImage / 2, 0, x + kImage, kImage / 2), UpperRight(k));
    strip.FillRect(Rect(x, kImage / 2, x + kImage, kImage), Lower(k));
  }
  return strip;
}

TBitmap BorderImage() {
  TBitmap border(20, 20, kBorderMiddle);
  border.FillRect(Rect(0, 0, 20, 5), kBorderTop);
  border.FillRect(Rect(0, 16, 20, 20), kBorderBottom);
  return border;
}

bool IsInk(TPixel p) {
  return PixelRed(p) < 110 && PixelGreen(p) < 110 && PixelBlue(p) < 110;
}

// A caption's pixel, anti-aliased ones included: none of the tab image's colours.
bool IsText(TPixel p) {
  for (int k = 1; k <= 2; ++k)
    if (p == UpperLeft(k) || p == UpperRight(k) || p == Lower(k)) return false;
  return true;
}

class SkinTabTest : public testing::Test {
 protected:
  void SetUp() override {
    data.tab = std::make_unique<TDataSkinBorder>("Tabs");
    data.tab->Map = TabStrip();
    data.tab->frame = 2;
    data.tab->MaskMap = BorderImage();
    data.tab->Normalcolor2 = 0;
    data.tab->Overcolor2 = 0;
    data.Colors[3] = kFace;
    data.Empty = false;
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND MakeTabs(DWORD style, std::initializer_list<const wchar_t*> captions, int width = 200,
                int height = 110) {
    HWND hwnd = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                parent, nullptr, nullptr, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    int i = 0;
    for (const wchar_t* caption : captions) {
      std::wstring text = caption;
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
    }
    return hwnd;
  }

  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  static RECT ItemRect(HWND hwnd, int i) {
    RECT r{};
    SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static TRect Border(HWND hwnd, TSkinTabPosition position) {
    RECT r;
    GetClientRect(hwnd, &r);
    SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return PageBorderRect(Rect(r.left, r.top, r.right, r.bottom), position);
  }
  // The ink centre of a rectangle along one axis, as a share of its length (0 start, 1 end).
  static double InkCentre(const TBitmap& b, RECT r, bool vertical) {
    // Inside the tab's edges, which the band shifts by a pixel.
    InflateRect(&r, -2, -2);
    double sum = 0, n = 0;
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        if (IsText(b.Pixel(x, y))) {
          sum += vertical ? (y - r.top) : (x - r.left);
          ++n;
        }
    const double length = vertical ? r.bottom - r.top : r.right - r.left;
    return n > 0 ? sum / n / length : -1;
  }

  TSkinData data{nullptr};
  HWND parent = nullptr;
};

TEST_F(SkinTabTest, TopTabsShowTheirFacesAndTheBorderAsItIs) {
  HWND hwnd = MakeTabs(0, {L"One", L"Two", L"Three"});
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(object.Position, StTop);
  TBitmap b = Draw(object, hwnd);
  // Tab 0 has the focus: face 2; the others face 1. The tabs sit one pixel lower than the control puts them.
  RECT t0 = ItemRect(hwnd, 0), t1 = ItemRect(hwnd, 1);
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.top + 2), UpperLeft(2));
  EXPECT_EQ(b.Pixel(t0.right - 2, t0.top + 2), UpperRight(2));
  EXPECT_EQ(b.Pixel(t1.left + 1, t1.top + 2), UpperLeft(1));
  EXPECT_EQ(b.Pixel(t1.left + 1, t1.bottom - 3), Lower(1));
  // Beside the tabs, the band shows the parent's face.
  EXPECT_EQ(b.Pixel(196, 3), ColorToPixel(kFace));
  TRect border = Border(hwnd, StTop);
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Top + 1), kBorderTop);
  EXPECT_EQ(b.Pixel(border.Left + 1, border.Top + 30), kBorderMiddle);
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Bottom - 2), kBorderBottom);
  // Another focused tab changes faces.
  SendMessageW(hwnd, TCM_SETCURFOCUS, 1, 0);
  b = Draw(object, hwnd);
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.top + 2), UpperLeft(1));
  EXPECT_EQ(b.Pixel(t1.left + 1, t1.top + 2), UpperLeft(2));
}

TEST_F(SkinTabTest, BottomTabsShowTheImageUpsideDown) {
  HWND hwnd = MakeTabs(TCS_BOTTOM, {L"One", L"Two"});
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(object.Position, Stbottom);
  TBitmap b = Draw(object, hwnd);
  RECT t0 = ItemRect(hwnd, 0);
  // One pixel higher than the control puts it; the page side (now the top)
  // shows the strip's lower half, the outer edge at the bottom its upper half.
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.top + 1), Lower(2));
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.bottom - 3), UpperLeft(2));
  EXPECT_EQ(b.Pixel(t0.right - 2, t0.bottom - 3), UpperRight(2));
  TRect border = Border(hwnd, Stbottom);
  // The border is flipped too: its bottom margin is at the top.
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Top + 1), kBorderBottom);
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Bottom - 2), kBorderTop);
}

TEST_F(SkinTabTest, LeftTabsAreTurnedAndTheirCaptionsReadUpward) {
  HWND hwnd = MakeTabs(TCS_VERTICAL | TCS_MULTILINE, {L"WW......", L"Two"}, 200, 160);
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(object.Position, Stleft);
  TBitmap b = Draw(object, hwnd);
  RECT t0 = ItemRect(hwnd, 0);
  ASSERT_GT(t0.bottom - t0.top, t0.right - t0.left) << "the control lays the tab upright";
  // Turned counter-clockwise: the image's top (outer edge) is at the left,
  // its left half at the bottom; the page side at the right.
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.bottom - 3), UpperLeft(2));
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.top + 2), UpperRight(2));
  EXPECT_EQ(b.Pixel(t0.right - 2, t0.top + 2), Lower(2));
  // "WW......": the ink is at the start, which reads from the bottom up.
  double centre = InkCentre(b, RECT{t0.left, t0.top, t0.right, t0.bottom}, true);
  ASSERT_GE(centre, 0) << "no caption drawn";
  EXPECT_GT(centre, 0.55);
  // The border turned with it: its top margin on the left.
  TRect border = Border(hwnd, Stleft);
  EXPECT_EQ(b.Pixel(border.Left + 1, border.Top + 40), kBorderTop);
  EXPECT_EQ(b.Pixel(border.Right - 2, border.Top + 40), kBorderBottom);
}

TEST_F(SkinTabTest, RightTabsAreTurnedTheOtherWayAndReadDownward) {
  HWND hwnd = MakeTabs(TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, {L"WW......", L"Two"}, 200, 160);
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(object.Position, Stright);
  TBitmap b = Draw(object, hwnd);
  RECT t0 = ItemRect(hwnd, 0);
  // Turned clockwise: the outer edge at the right, the image's left half at the top.
  EXPECT_EQ(b.Pixel(t0.right - 2, t0.top + 2), UpperLeft(2));
  EXPECT_EQ(b.Pixel(t0.right - 2, t0.bottom - 4), UpperRight(2));
  EXPECT_EQ(b.Pixel(t0.left + 2, t0.top + 4), Lower(2));
  double centre = InkCentre(b, RECT{t0.left, t0.top, t0.right, t0.bottom}, true);
  ASSERT_GE(centre, 0) << "no caption drawn";
  EXPECT_LT(centre, 0.45);
  TRect border = Border(hwnd, Stright);
  EXPECT_EQ(b.Pixel(border.Right - 2, border.Top + 40), kBorderTop);
  EXPECT_EQ(b.Pixel(border.Left + 1, border.Top + 40), kBorderBottom);
}

TEST_F(SkinTabTest, WithoutATabImageOnlyTheBorderIsDrawn) {
  data.tab->Map = TBitmap();
  HWND hwnd = MakeTabs(0, {L"One", L"Two"});
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap b = Draw(object, hwnd);
  RECT t0 = ItemRect(hwnd, 0);
  EXPECT_EQ(b.Pixel(t0.left + 3, t0.top + 3), kBackground);
  TRect border = Border(hwnd, StTop);
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Top + 1), kBorderTop);
}

TEST_F(SkinTabTest, ScrollArrowsAreLeftOutOfTheBand) {
  HWND hwnd =
      MakeTabs(0, {L"First page", L"Second page", L"Third page", L"Fourth page", L"Fifth page"}, 160, 80);
  HWND arrows = FindWindowExW(hwnd, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr) << "five wide tabs on 160 pixels make scroll arrows";
  ASSERT_TRUE(GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE);
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  // The arrows get their own skin object, side by side.
  ASSERT_NE(object.updown, nullptr);
  EXPECT_EQ(object.updown->hwnd, arrows);
  EXPECT_EQ(object.updown->dir, 1);
  EXPECT_EQ(SendMessageW(arrows, WM_ISSKINNED, 0, 0), 1);
  TBitmap b = Draw(object, hwnd);
  RECT own, r;
  GetWindowRect(hwnd, &own);
  GetWindowRect(arrows, &r);
  OffsetRect(&r, -own.left, -own.top);
  EXPECT_EQ(b.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kBackground);
  EXPECT_EQ(b.Pixel(r.left + 1, r.top + 1), kBackground);
  // Left of the arrows the band is drawn.
  EXPECT_NE(b.Pixel(r.left - 2, (r.top + r.bottom) / 2), kBackground);
}

TEST_F(SkinTabTest, SkinChangeTakesTheNewImages) {
  HWND hwnd = MakeTabs(0, {L"One"});
  TSkinTab object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  data.tab->MaskMap = TBitmap(20, 20, kBorderMiddle);
  object.SkinChange();
  TBitmap b = Draw(object, hwnd);
  TRect border = Border(hwnd, StTop);
  EXPECT_EQ(b.Pixel(border.Left + 10, border.Top + 1), kBorderMiddle);
}

// Close boxes on a page control marked with the Tag: the form's answer to
// WM_SKINTABCLOSE decides whether the page goes.
class SkinTabCloseTest : public SkinTabTest {
 protected:
  void SetUp() override {
    SkinTabTest::SetUp();
    form = new fw::TForm(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(30, 30, 300, 200);
    form->HandleNeeded();
    fw::TWndMethod previous = form->WindowProc;
    form->WindowProc = [this, previous](fw::TMessage& m) {
      if (m.Msg == WM_SKINTABCLOSE) {
        asked.push_back(static_cast<int>(m.LParam));
        askedWindow = reinterpret_cast<HWND>(m.WParam);
        m.Result = answer;
        return;
      }
      previous(m);
    };
    pages = new fw::TPageControl(form);
    pages->SetBounds(10, 10, 240, 120);
    pages->SetTag(kCloseBoxTag);
    pages->SetParent(form);
    for (const wchar_t* caption : {L"One", L"Two", L"Three"}) {
      auto* sheet = new fw::TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetParent(pages);
      sheet->SetPageControl(pages);
    }
    pages->SetActivePage(pages->Page(0));
    object = new TSkinTab(pages);
    object->Init(nullptr, &data, false);
  }
  void TearDown() override {
    delete form;
    SkinTabTest::TearDown();
  }
  // Where the close box of tab i is, in the control's client coordinates.
  POINT CloseBoxCentre(int i) {
    Draw(*object, pages->Handle());
    const TRect& box = object->CloseRect.at(static_cast<size_t>(i));
    return POINT{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
  }
  LRESULT Press(POINT p) {
    return SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }

  fw::TForm* form = nullptr;
  fw::TPageControl* pages = nullptr;
  TSkinTab* object = nullptr;
  LRESULT answer = 0;
  std::vector<int> asked;
  HWND askedWindow = nullptr;
};

TEST_F(SkinTabCloseTest, BoxesAreDrawnOnEveryTab) {
  ASSERT_TRUE(object->showclose);
  TBitmap b = Draw(*object, pages->Handle());
  ASSERT_EQ(object->CloseRect.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const TRect& box = object->CloseRect[i];
    RECT t = ItemRect(pages->Handle(), static_cast<int>(i));
    EXPECT_EQ(box, Rect(t.right - 8, t.top + 3, t.right - 2, t.top + 9));
    // The frame and the cross in the DC's pen (black); inside, between them, the tab image.
    EXPECT_TRUE(IsInk(b.Pixel(box.Left, box.Top)));
    EXPECT_TRUE(IsInk(b.Pixel(box.Right, box.Bottom)));
    EXPECT_TRUE(IsInk(b.Pixel(box.Left + 3, box.Top + 3)));
    EXPECT_FALSE(IsInk(b.Pixel(box.Left + 3, box.Top + 1)));
  }
}

TEST_F(SkinTabCloseTest, ZeroAnswerFreesThePageBeforeTheClickArrives) {
  answer = 0;
  EXPECT_EQ(Press(CloseBoxCentre(1)), 0);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], 1);
  EXPECT_EQ(askedWindow, pages->Handle());
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->Page(1)->Caption(), L"Three");
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  // The click did not reach the control: the first page stays chosen.
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(pages->ActivePage(), pages->Page(0));
}

TEST_F(SkinTabCloseTest, FreeingTheShownPageShowsItsNeighbour) {
  answer = 0;
  Press(CloseBoxCentre(0));
  ASSERT_EQ(pages->PageCount(), 2);
  ASSERT_NE(pages->ActivePage(), nullptr);
  EXPECT_EQ(pages->ActivePage()->Caption(), L"Two");
  EXPECT_TRUE(IsWindowVisible(pages->ActivePage()->Handle()) || !IsWindowVisible(form->Handle()));
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(SkinTabCloseTest, NonZeroAnswerKeepsThePage) {
  answer = 1;
  Press(CloseBoxCentre(2));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], 2);
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(SkinTabCloseTest, APressBesideTheBoxesReachesTheControl) {
  RECT t = ItemRect(pages->Handle(), 1);
  CloseBoxCentre(1);
  Press(POINT{t.left + 4, t.bottom - 4});
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(SkinTabCloseTest, OnlyTopTabsWithTheTagGetBoxes) {
  auto* other = new fw::TPageControl(form);
  other->SetBounds(10, 140, 200, 50);
  other->SetParent(form);
  auto* sheet = new fw::TTabSheet(form);
  sheet->SetCaption(L"One");
  sheet->SetParent(other);
  sheet->SetPageControl(other);
  auto* plain = new TSkinTab(other);
  plain->Init(nullptr, &data, false);
  EXPECT_FALSE(plain->showclose);
  Draw(*plain, other->Handle());
  for (const TRect& box : plain->CloseRect) EXPECT_EQ(box, TRect{});
}

// Button-style tabs take the push-button image; without one the band is not drawn.
TEST_F(SkinTabTest, ButtonTabsUseTheButtonImage) {
  TBitmap strip(kImage * 2, kImage);
  strip.FillRect(Rect(0, 0, kImage, kImage), Lower(1));
  strip.FillRect(Rect(kImage, 0, 2 * kImage, kImage), Lower(2));
  data.Button.Map = strip;
  data.Button.frame = 2;
  HWND hwnd = MakeTabs(TCS_BUTTONS, {L"One", L"Two"});
  TSkinTabBtn object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap b = Draw(object, hwnd);
  RECT t0 = ItemRect(hwnd, 0), t1 = ItemRect(hwnd, 1);
  EXPECT_EQ(b.Pixel(t0.left + 1, t0.top + 2), Lower(2));
  EXPECT_EQ(b.Pixel(t1.left + 1, t1.top + 2), Lower(1));
  EXPECT_EQ(b.Pixel(t1.right + 2, t1.top + 2), ColorToPixel(kFace));
}

TEST_F(SkinTabTest, ButtonTabsWithoutAButtonImageDrawNothingButStillTakeThePaint) {
  data.Button.Map = TBitmap();
  HWND hwnd = MakeTabs(TCS_BUTTONS, {L"One", L"Two"});
  TSkinTabBtn object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap b = Draw(object, hwnd);
  for (int32_t y = 0; y < b.Height(); y += 7)
    for (int32_t x = 0; x < b.Width(); x += 7) ASSERT_EQ(b.Pixel(x, y), kBackground) << x << "," << y;
  fw::TMessage paint{WM_PAINT, 0, 0, 0};
  EXPECT_FALSE(object.BeforeProc(paint));
}

TEST_F(SkinTabTest, PageFillsTheFaceAndPaintsItsLabels) {
  fw::TForm form(nullptr);
  form.SetBounds(30, 30, 300, 200);
  auto* pages = new fw::TPageControl(&form);
  pages->SetBounds(0, 0, 240, 120);
  pages->SetParent(&form);
  auto* sheet = new fw::TTabSheet(&form);
  sheet->SetCaption(L"One");
  sheet->SetParent(pages);
  sheet->SetPageControl(pages);
  auto* label = new fw::TLabel(&form);
  label->SetBounds(4, 4, 60, 16);
  label->SetCaption(L"MMMM");
  label->SetParent(sheet);
  form.HandleNeeded();
  pages->SetActivePage(sheet);
  auto* object = new TSkinTabSheet(sheet);
  object->Init(nullptr, &data, false);
  TBitmap b = Draw(*object, sheet->Handle());
  EXPECT_EQ(b.Pixel(b.Width() - 3, b.Height() - 3), ColorToPixel(kFace));
  int ink = 0;
  for (int32_t y = 4; y < 20; ++y)
    for (int32_t x = 4; x < 64; ++x) ink += IsInk(b.Pixel(x, y)) ? 1 : 0;
  EXPECT_GT(ink, 20);
  EXPECT_EQ(sheet->Perform(0x3523, 0, 0), 1);
}

}  // namespace
}  // namespace skin
