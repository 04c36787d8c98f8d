// Edits and date pickers drawn from the skin into memory device contexts and
// read back: the frame over a bordered window and none over a borderless
// one, the up-down found inside an edit, the printed border, and the edit
// painting its text into a context it is handed.
#include <gtest/gtest.h>

#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr TPixel kBackground = 0x00102030;
constexpr TColor kShadow = 0x00404080;  // 0x00BBGGRR
const TPixel kWhite = MakePixel(255, 255, 255);

TPixel PixelOf(TColor c) {
  return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c));
}

class SkinEditTest : public testing::Test {
 protected:
  void SetUp() override {
    data.Colors[3] = 0x00C0D0E0;
    data.Colors[7] = kShadow;
    data.Empty = false;
    parent =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 600, 500, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND MakeEdit(DWORD exStyle, const wchar_t* text = L"12345") {
    return CreateWindowExW(exStyle, L"EDIT", text, WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, parent, nullptr,
                           nullptr, nullptr);
  }

  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  TSkinData data{nullptr};
  HWND parent = nullptr;
};

TEST_F(SkinEditTest, BorderedEditGetsAShadowLineWithTwoWhitePixelsInside) {
  HWND hwnd = MakeEdit(WS_EX_CLIENTEDGE);
  TSkinEdit object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(0, 0), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(119, 23), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(60, 0), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(1, 1), kWhite);
  EXPECT_EQ(picture.Pixel(2, 12), kWhite);
  EXPECT_EQ(picture.Pixel(117, 21), kWhite);
  // The client area is the window's own.
  EXPECT_EQ(picture.Pixel(3, 12), kBackground);
  EXPECT_EQ(picture.Pixel(60, 3), kBackground);
}

TEST_F(SkinEditTest, BorderlessEditGetsNoFrame) {
  HWND hwnd = MakeEdit(0);
  TSkinEdit object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  for (POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{2, 2}, POINT{119, 23}, POINT{60, 0}})
    EXPECT_EQ(picture.Pixel(p.x, p.y), kBackground) << p.x << "," << p.y;
}

TEST_F(SkinEditTest, UpDownInsideTheEditIsSkinnedOnceAndKeepsClearOfTheBorder) {
  data.SetSkinControls(SetOf(xcEdit) | SetOf(xcSpin));
  HWND hwnd = MakeEdit(WS_EX_CLIENTEDGE, L"5");
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, hwnd, nullptr,
                              nullptr, nullptr);
  EXPECT_EQ(SendMessageW(spin, WM_ISSKINNED, 0, 0), 0);
  fw::TComponent owner(nullptr);
  auto* object = new TSkinEdit(&owner);
  object->Inithwnd(hwnd, &data, nullptr);
  Draw(*object, hwnd);
  ASSERT_NE(object->updown, nullptr);
  EXPECT_TRUE(object->updown->inedit);
  EXPECT_EQ(object->updown->hwnd, spin);
  EXPECT_EQ(object->updown->Owner(), &owner);
  EXPECT_EQ(SendMessageW(spin, WM_ISSKINNED, 0, 0), 1);
  TSkinUpDown* first = object->updown;
  Draw(*object, hwnd);
  EXPECT_EQ(object->updown, first);
  // A second edit object over the same edit finds the up-down already skinned.
  TSkinEdit other(nullptr);
  other.Inithwnd(hwnd, &data, nullptr);
  Draw(other, hwnd);
  EXPECT_EQ(other.updown, nullptr);
}

TEST_F(SkinEditTest, UpDownIsLeftAloneWithoutSpinSkinning) {
  data.SetSkinControls(SetOf(xcEdit));
  HWND hwnd = MakeEdit(WS_EX_CLIENTEDGE, L"5");
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, hwnd, nullptr,
                              nullptr, nullptr);
  TSkinEdit object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  Draw(object, hwnd);
  EXPECT_EQ(object.updown, nullptr);
  EXPECT_EQ(SendMessageW(spin, WM_ISSKINNED, 0, 0), 0);
}

TEST_F(SkinEditTest, PaintsItsTextIntoAHandedContextAndSaysSo) {
  HWND hwnd = MakeEdit(WS_EX_CLIENTEDGE, L"WWWWWWWW");
  TSkinEdit object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  RECT client;
  GetClientRect(hwnd, &client);
  TDibSection dib(client.right, client.bottom);
  dib.Assign(TBitmap(dib.Width(), dib.Height(), kBackground));
  LRESULT answer = SendMessageW(hwnd, WM_SKINPAINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), SKIN_MAGIC);
  EXPECT_EQ(answer, static_cast<LRESULT>(SKIN_MAGIC));
  TBitmap picture = dib.ToBitmap();
  int changed = 0;
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 0; x < picture.Width(); ++x) changed += picture.Pixel(x, y) != kBackground;
  EXPECT_GT(changed, 40);  // the text (and its background) went into our context
  // Another program's message of the same number is not ours.
  EXPECT_EQ(SendMessageW(hwnd, WM_SKINPAINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), 7), 0);
  EXPECT_EQ(SendMessageW(hwnd, WM_SKINPAINTCLIENT, 0, SKIN_MAGIC), 0);
}

TEST_F(SkinEditTest, PrintedBorderUsesTheContextsBrushInsideAShadowLine) {
  HWND hwnd = MakeEdit(WS_EX_CLIENTEDGE);
  TSkinEdit object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TDibSection dib(120, 24);
  dib.Assign(TBitmap(120, 24, kBackground));
  HBRUSH brush = CreateSolidBrush(RGB(0, 200, 100));
  HGDIOBJ old = SelectObject(dib.DC(), brush);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
  SelectObject(dib.DC(), old);
  DeleteObject(brush);
  TBitmap picture = dib.ToBitmap();
  EXPECT_EQ(picture.Pixel(0, 0), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(119, 10), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(1, 1), MakePixel(0, 200, 100));
  EXPECT_EQ(picture.Pixel(60, 22), MakePixel(0, 200, 100));
  // The caller's context is as it was: nothing of the edit's painting state is left in it.
  EXPECT_EQ(GetCurrentObject(dib.DC(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  RECT clip;
  EXPECT_EQ(GetClipBox(dib.DC(), &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right - clip.left, 120);
}

TEST_F(SkinEditTest, DatePickerGetsOneWhitePixelInsideItsShadowLine) {
  HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 150,
                              24, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  TSkinDateTime object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(0, 0), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(1, 1), kWhite);
  EXPECT_EQ(picture.Pixel(2, 12), kBackground);
  EXPECT_EQ(picture.Pixel(149, 23), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(148, 22), kWhite);
}

}  // namespace
}  // namespace skin
