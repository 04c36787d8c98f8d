// A header control drawn from the skin into a memory device context and read
// back: each item's face, the highlighted item's face, the empty strip after
// the last item, and the mouse-over highlight that ignores 3 pixels at both
// ends of every item and lasts until the mouse leaves the header.
#include <gtest/gtest.h>

#include "skin/controls/WinSkinBars.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

constexpr int32_t kImageWidth = 20;
constexpr int32_t kImageHeight = 18;
constexpr TPixel kBackground = 0x00102030;

TPixel FaceColour(int k) {
  return MakePixel(static_cast<uint8_t>(40 * k), 200, static_cast<uint8_t>(250 - 60 * k));
}

// `frames` flat images side by side.
TBitmap FaceStrip(int frames) {
  TBitmap strip(kImageWidth * frames, kImageHeight);
  for (int k = 1; k <= frames; ++k)
    strip.FillRect(Rect((k - 1) * kImageWidth, 0, k * kImageWidth, kImageHeight), FaceColour(k));
  return strip;
}

class SkinHeaderTest : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    data.Header = std::make_unique<TDataSkinObject>("Headerbar");
    data.Header->Map = FaceStrip(2);
    data.Header->frame = 2;
    data.Header->r = Rect(3, 3, 3, 3);
    data.Empty = false;
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    header = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0, 300, 20, parent,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(header, nullptr);
    AddItem(L"Name", 80);
    AddItem(L"", 60);
  }
  void TearDown() override { DestroyWindow(parent); }

  void AddItem(const wchar_t* text, int width) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<wchar_t*>(text);
    item.cxy = width;
    item.fmt = HDF_LEFT | HDF_STRING;
    int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
  }

  TBitmap Draw(TSkinControl& object) {
    TDibSection dib(300, 20);
    dib.Assign(TBitmap(300, 20, kBackground));
    RECT rc{0, 0, 300, 20};
    object.DrawControl(dib.DC(), rc);
    return dib.ToBitmap();
  }

  static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

  TSkinData data{nullptr};
  HWND parent = nullptr;
  HWND header = nullptr;
};

TEST_F(SkinHeaderTest, ItemsShowTheNormalFaceAndTheStripAfterThemToo) {
  TSkinHeader object(nullptr);
  object.Inithwnd(header, &data, nullptr);
  EXPECT_EQ(object.indexitem, -1);
  TBitmap picture = Draw(object);
  // The first item's corner (its text is further in), the empty second item
  // and the strip right of the last item.
  EXPECT_EQ(picture.Pixel(1, 1), FaceColour(1));
  EXPECT_EQ(picture.Pixel(78, 18), FaceColour(1));
  EXPECT_EQ(picture.Pixel(110, 10), FaceColour(1));
  EXPECT_EQ(picture.Pixel(250, 10), FaceColour(1));
  EXPECT_EQ(picture.Pixel(299, 19), FaceColour(1));
  // The caption is drawn inside the first item.
  int textPixels = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) textPixels += picture.Pixel(x, y) != FaceColour(1);
  EXPECT_GT(textPixels, 10);
  // An item without text shows only its face.
  for (int x = 81; x < 139; ++x) EXPECT_EQ(picture.Pixel(x, 10), FaceColour(1)) << x;
}

TEST_F(SkinHeaderTest, HitAreasAreTheItemsNarrowedByThreePixels) {
  TSkinHeader object(nullptr);
  object.Inithwnd(header, &data, nullptr);
  Draw(object);
  ASSERT_EQ(object.Items.size(), 2u);
  EXPECT_EQ(object.Items[0], Rect(3, 0, 77, 20));
  EXPECT_EQ(object.Items[1], Rect(83, 0, 137, 20));
}

TEST_F(SkinHeaderTest, MouseOverHighlightsTheItemUntilTheMouseLeaves) {
  TSkinHeader object(nullptr);
  object.Inithwnd(header, &data, nullptr);
  Draw(object);
  SendMessageW(header, WM_MOUSEMOVE, 0, At(100, 5));
  EXPECT_EQ(object.indexitem, 1);
  TBitmap picture = Draw(object);
  EXPECT_EQ(picture.Pixel(100, 10), FaceColour(2));
  EXPECT_EQ(picture.Pixel(1, 1), FaceColour(1));
  EXPECT_EQ(picture.Pixel(250, 10), FaceColour(1));  // the strip keeps image 1
  // The 3 pixels at either end of an item and the empty strip keep the highlight.
  SendMessageW(header, WM_MOUSEMOVE, 0, At(79, 5));
  EXPECT_EQ(object.indexitem, 1);
  SendMessageW(header, WM_MOUSEMOVE, 0, At(82, 5));
  EXPECT_EQ(object.indexitem, 1);
  SendMessageW(header, WM_MOUSEMOVE, 0, At(250, 5));
  EXPECT_EQ(object.indexitem, 1);
  SendMessageW(header, WM_MOUSEMOVE, 0, At(76, 5));
  EXPECT_EQ(object.indexitem, 0);
  SendMessageW(header, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(object.indexitem, -1);
  EXPECT_EQ(Draw(object).Pixel(1, 1), FaceColour(1));
}

TEST_F(SkinHeaderTest, AnswersTheSkinQueryAndPaintsItselfWithoutTheImage) {
  TSkinHeader object(nullptr);
  object.Inithwnd(header, &data, nullptr);
  EXPECT_EQ(SendMessageW(header, WM_ISSKINNED, 0, 0), 1);
  // With an image the skin erases nothing (the paint covers everything).
  HDC screen = GetDC(header);
  EXPECT_EQ(SendMessageW(header, WM_ERASEBKGND, reinterpret_cast<WPARAM>(screen), 0), 1);
  ReleaseDC(header, screen);
  data.Header.reset();
  TBitmap picture = Draw(object);
  EXPECT_EQ(picture.Pixel(1, 1), kBackground);  // nothing drawn by the skin
}

TEST_F(SkinHeaderTest, ZeroImageCountIsTakenAsOne) {
  data.Header->frame = 0;
  data.Header->Map = FaceStrip(1);
  TSkinHeader object(nullptr);
  object.Inithwnd(header, &data, nullptr);
  EXPECT_EQ(Draw(object).Pixel(1, 1), FaceColour(1));
}

}  // namespace
}  // namespace skin
