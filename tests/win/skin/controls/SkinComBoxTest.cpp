// Combo boxes drawn from the skin into memory device contexts and read back:
// the border, drop button and glyph of each face in the standard style, the
// left-hand button with the mirrored image, the whole-image and flat styles,
// the button-overlay path, and the hot button following the mouse over the
// button but not over the text.
#include <gtest/gtest.h>

#include "gui/Control.h"
#include "skin/archive/ImgUtil.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/skin/controls/DrawnControl.h"

namespace skin {
namespace {

constexpr TPixel kBackground = 0x00102030;
constexpr TColor kFace = 0x00C0D0E0;    // 0x00BBGGRR
constexpr TColor kShadow = 0x00404080;  // 0x00BBGGRR

TPixel PixelOf(TColor c) {
  return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c));
}

TPixel ButtonColour(int k) {
  return MakePixel(static_cast<uint8_t>(40 * k), 200, 30);
}
TPixel MirrorColour(int k) {
  return MakePixel(30, static_cast<uint8_t>(40 * k), 200);
}
TPixel BorderColour(int k) {
  return MakePixel(200, 30, static_cast<uint8_t>(40 * k));
}
TPixel GlyphColour(int k) {
  return MakePixel(static_cast<uint8_t>(50 * k), static_cast<uint8_t>(50 * k), 250);
}

TBitmap Flat(int frames, int32_t width, int32_t height, TPixel (*colour)(int)) {
  TBitmap strip(width * frames, height);
  for (int k = 1; k <= frames; ++k) strip.FillRect(Rect((k - 1) * width, 0, k * width, height), colour(k));
  return strip;
}

int Shown(TPixel p, TPixel (*colour)(int)) {
  for (int k = 1; k <= 5; ++k)
    if (p == colour(k)) return k;
  return 0;
}

class SkinComBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    data.Colors[3] = kFace;
    data.Colors[7] = kShadow;
    data.Empty = false;
    data.combox = std::make_unique<TDataSkinBorder>();
    data.combox->Map = Flat(4, 17, 21, ButtonColour);
    // As the loader makes it: the button strip mirrored as a whole.
    data.combox->MaskMap = data.combox->Map;
    MirrorBitmap(data.combox->MaskMap);
    data.combox->frame = 4;
    data.Comboxborder = std::make_unique<TDataSkinObject>();
    data.Comboxborder->Map = Flat(4, 12, 12, BorderColour);
    data.Comboxborder->r = Rect(2, 2, 2, 2);
    data.Comboxborder->frame = 4;
    data.ExtraImages = std::make_unique<TDataSkinObject>();
    data.ExtraImages->Map = Flat(5, 8, 6, GlyphColour);
    data.ExtraImages->frame = 5;
    parent =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 600, 500, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    cx = GetSystemMetrics(SM_CXHSCROLL);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND MakeCombo(DWORD style, DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExW(exStyle, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 140, 200,
                                parent, nullptr, nullptr, nullptr);
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    return hwnd;
  }

  TBitmap Draw(TSkinControl& object, HWND hwnd) { return DrawnPicture(object, hwnd, kBackground); }

  TSkinData data{nullptr};
  HWND parent = nullptr;
  int cx = 0;
};

TEST_F(SkinComBoxTest, StandardStyleDrawsBorderButtonAndGlyphAndLeavesTheText) {
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  const int32_t w = picture.Width(), h = picture.Height();
  EXPECT_EQ(Shown(picture.Pixel(0, 0), BorderColour), 1);
  EXPECT_EQ(Shown(picture.Pixel(20, h - 1), BorderColour), 1);
  EXPECT_EQ(picture.Pixel(20, h / 2), kBackground);  // the text area
  EXPECT_EQ(picture.Pixel(w - cx - 5, h / 2), kBackground);
  // The button (w - cx - 2 .. w), the glyph centred in (w - cx - 2 .. w - 2).
  EXPECT_EQ(Shown(picture.Pixel(w - cx - 2, 1), ButtonColour), 1);
  EXPECT_EQ(Shown(picture.Pixel(w - 1, h - 1), ButtonColour), 1);
  const int32_t glyphLeft = w - cx - 2 + (cx - 8) / 2, glyphTop = (h - 6) / 2;
  EXPECT_EQ(Shown(picture.Pixel(glyphLeft, glyphTop), GlyphColour), 1);
  EXPECT_EQ(Shown(picture.Pixel(glyphLeft + 7, glyphTop + 5), GlyphColour), 1);
  EXPECT_EQ(Shown(picture.Pixel(glyphLeft - 1, glyphTop), ButtonColour), 1);
  EXPECT_EQ(Shown(picture.Pixel(glyphLeft, glyphTop + 6), ButtonColour), 1);
  EXPECT_EQ(object.rBtn.left, w - cx - 2);
  EXPECT_EQ(object.rBtn.right, w);
}

TEST_F(SkinComBoxTest, FacesFollowDisabledPressedHotAndFocus) {
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  auto buttonFace = [&] {
    TBitmap p = Draw(object, hwnd);
    return Shown(p.Pixel(p.Width() - 1, 1), ButtonColour);
  };
  auto borderFace = [&] { return Shown(Draw(object, hwnd).Pixel(0, 0), BorderColour); };
  EXPECT_EQ(buttonFace(), 1);
  object.state = Down;
  EXPECT_EQ(buttonFace(), 2);
  EXPECT_EQ(borderFace(), 2);
  object.state = Hot;
  EXPECT_EQ(buttonFace(), 4);
  object.state = Down | Hot;
  EXPECT_EQ(buttonFace(), 2);
  EnableWindow(hwnd, FALSE);
  EXPECT_EQ(buttonFace(), 3);
  EXPECT_EQ(borderFace(), 3);
  EnableWindow(hwnd, TRUE);
  object.state = 0;
  ShowWindow(parent, SW_SHOW);
  SetForegroundWindow(parent);
  SetFocus(hwnd);
  ASSERT_EQ(GetFocus(), hwnd);
  EXPECT_EQ(buttonFace(), 4);
}

TEST_F(SkinComBoxTest, LeftScrollBarPutsTheMirroredButtonAtTheLeft) {
  // The mirrored image is told apart by a column of its own at the left of each frame.
  for (int k = 1; k <= 4; ++k)
    data.combox->MaskMap.FillRect(Rect(17 * (k - 1), 0, 17 * (k - 1) + 1, 21), MirrorColour(5 - k));
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST, WS_EX_LEFTSCROLLBAR);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  const int32_t w = picture.Width(), h = picture.Height();
  EXPECT_EQ(Shown(picture.Pixel(0, h / 2), MirrorColour), 1);   // from the mirrored strip
  EXPECT_EQ(Shown(picture.Pixel(cx + 1, 1), ButtonColour), 1);  // the normal face, not the hot one
  object.state = Hot;
  picture = Draw(object, hwnd);
  EXPECT_EQ(Shown(picture.Pixel(cx + 1, 1), ButtonColour), 4);
  EXPECT_EQ(Shown(picture.Pixel(0, h / 2), MirrorColour), 4);
  object.state = 0;
  picture = Draw(object, hwnd);
  EXPECT_EQ(Shown(picture.Pixel(cx + 2, 0), BorderColour), 1);
  EXPECT_EQ(picture.Pixel(cx + 6, h / 2), kBackground);
  EXPECT_EQ(Shown(picture.Pixel(w - 1, h / 2), BorderColour), 1);
  EXPECT_EQ(object.rBtn.left, 0);
  EXPECT_EQ(object.rBtn.right, cx + 2);
  // The glyph centred in (2 .. cx + 2).
  EXPECT_EQ(Shown(picture.Pixel(2 + (cx - 8) / 2, (h - 6) / 2), GlyphColour), 1);
}

TEST_F(SkinComBoxTest, WholeImageStyleDrawsOneImageAndTheBorderImageForLeftButtons) {
  data.combox->style = 2;
  data.combox->Map = Flat(4, 40, 21, ButtonColour);
  data.combox->r = Rect(2, 2, 19, 2);
  data.Comboxborder->Map = data.combox->Map;  // as the loader makes it: the whole strip mirrored
  MirrorBitmap(data.Comboxborder->Map);
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(Shown(picture.Pixel(20, picture.Height() / 2), ButtonColour), 1);
  object.state = Hot;
  picture = Draw(object, hwnd);
  EXPECT_EQ(Shown(picture.Pixel(20, picture.Height() / 2), ButtonColour), 4);
  HWND left = MakeCombo(CBS_DROPDOWNLIST, WS_EX_LEFTSCROLLBAR);
  TSkinComBox leftObject(nullptr);
  leftObject.Inithwnd(left, &data, nullptr);
  EXPECT_EQ(Shown(Draw(leftObject, left).Pixel(20, 5), ButtonColour), 1);
  leftObject.state = Down;
  EXPECT_EQ(Shown(Draw(leftObject, left).Pixel(20, 5), ButtonColour), 2);
  // Without the border image a left-hand combo keeps its own look.
  data.Comboxborder.reset();
  EXPECT_EQ(Draw(leftObject, left).Pixel(20, 5), kBackground);
}

TEST_F(SkinComBoxTest, FlatStyleFramesWithTheContextsBrushAndDrawsTheButtonInside) {
  data.combox->style = 1;
  data.combox->Map = Flat(4, 10, 21, ButtonColour);  // narrower than the filled strip
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  RECT r;
  GetWindowRect(hwnd, &r);
  TDibSection dib(r.right - r.left, r.bottom - r.top);
  dib.Assign(TBitmap(dib.Width(), dib.Height(), kBackground));
  HBRUSH brush = CreateSolidBrush(RGB(0, 200, 100));
  HGDIOBJ old = SelectObject(dib.DC(), brush);
  RECT rc{0, 0, dib.Width(), dib.Height()};
  EnableWindow(hwnd, FALSE);
  object.DrawControl(dib.DC(), rc);
  SelectObject(dib.DC(), old);
  DeleteObject(brush);
  TBitmap picture = dib.ToBitmap();
  const int32_t w = picture.Width(), h = picture.Height();
  const TPixel green = MakePixel(0, 200, 100);
  EXPECT_EQ(picture.Pixel(0, 0), PixelOf(kShadow));
  EXPECT_EQ(picture.Pixel(1, 1), green);
  EXPECT_EQ(picture.Pixel(20, h / 2), kBackground);
  const int thumb = GetSystemMetrics(SM_CYVTHUMB);
  EXPECT_EQ(picture.Pixel(w - 2 - thumb, h / 2), green);  // the filled strip left of the button
  EXPECT_EQ(Shown(picture.Pixel(w - 3, 2), ButtonColour), 3);
  EXPECT_EQ(Shown(picture.Pixel(w - 2 - 10, 2), ButtonColour), 3);
  EXPECT_EQ(object.rBtn.right, w - 2);
  EXPECT_EQ(object.rBtn.left, w - 2 - 10);
}

TEST_F(SkinComBoxTest, ButtonOverlayFillsTheButtonWithTheArrowImage) {
  data.comboxarrow = std::make_unique<TDataSkinObject>();
  data.comboxarrow->Map = Flat(4, 10, 10, GlyphColour);
  data.comboxarrow->frame = 4;
  // A combo box keeps no border outside its client area, so no frame is drawn.
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST, WS_EX_CLIENTEDGE);
  TSkinComBox object(nullptr);
  object.HasButton = true;
  object.Inithwnd(hwnd, &data, nullptr);
  object.state = Hot;
  TBitmap picture = Draw(object, hwnd);
  const int32_t w = picture.Width(), h = picture.Height();
  EXPECT_EQ(picture.Pixel(0, 0), kBackground);
  EXPECT_EQ(Shown(picture.Pixel(w - cx / 2 - 1, h / 2), GlyphColour), 4);
  EXPECT_EQ(picture.Pixel(20, h / 2), kBackground);
}

TEST_F(SkinComBoxTest, NoComboImageKeepsTheWindowsOwnLook) {
  data.combox->Map = TBitmap();
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  TBitmap picture = Draw(object, hwnd);
  EXPECT_EQ(picture.Pixel(0, 0), kBackground);
  EXPECT_EQ(picture.Pixel(picture.Width() - 1, 1), kBackground);
}

TEST_F(SkinComBoxTest, MouseOverTheButtonMakesItHotButNotOverTheText) {
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  Draw(object, hwnd);  // the button rectangle is known from the first paint on
  RECT r;
  GetClientRect(hwnd, &r);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, r.bottom / 2));
  EXPECT_EQ(object.state & Hot, 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.right - 4, r.bottom / 2));
  EXPECT_NE(object.state & Hot, 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, r.bottom / 2));
  EXPECT_EQ(object.state & Hot, 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.right - 4, r.bottom / 2));
  SendMessageW(hwnd, fw::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(object.state & Hot, 0);
  // A disabled combo never turns hot.
  EnableWindow(hwnd, FALSE);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.right - 4, r.bottom / 2));
  EXPECT_EQ(object.state & Hot, 0);
}

TEST_F(SkinComBoxTest, DropDownAndCloseUpNotificationsSetIsDrop) {
  HWND hwnd = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox object(nullptr);
  object.Inithwnd(hwnd, &data, nullptr);
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 1);
  EXPECT_FALSE(object.isDrop);
  SendMessageW(hwnd, fw::CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
  EXPECT_TRUE(object.isDrop);
  SendMessageW(hwnd, fw::CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), 0);
  EXPECT_FALSE(object.isDrop);
}

TEST_F(SkinComBoxTest, SimpleComboKnowsItsListAndADropDownDoesNot) {
  HWND simple = MakeCombo(CBS_SIMPLE);
  TSkinComBox object(nullptr);
  object.Inithwnd(simple, &data, nullptr);
  ASSERT_NE(object.hlist, nullptr);
  EXPECT_EQ(object.dwStyle, static_cast<uint32_t>(GetWindowLongPtrW(object.hlist, GWL_STYLE)));
  HWND drop = MakeCombo(CBS_DROPDOWN);
  TSkinComBox dropObject(nullptr);
  dropObject.Inithwnd(drop, &data, nullptr);
  EXPECT_EQ(dropObject.hlist, nullptr);
  EXPECT_EQ(dropObject.hbtn, nullptr);  // a Unicode window's edit is not followed
}

}  // namespace
}  // namespace skin
