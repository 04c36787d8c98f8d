// The check box, radio button, radio group, bit, speed and menu buttons of
// the gallery window, worked with real input as a user works them.
#include <gtest/gtest.h>

#include <map>

#include "gui/ControlGallery.h"
#include "win/gui/RealInput.h"

namespace fw {
namespace {

using test::CentreOf;
using test::ClickAt;
using test::MouseButton;
using test::MoveMouse;
using test::Pump;
using test::PumpUntil;
using test::ScreenPointOf;
using test::TapKey;

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override {
    g = MakeControlGallery(nullptr);
    MoveMouse({0, 0});
    test::ShowInFront(g.form->Handle());
  }
  void TearDown() override {
    delete g.form;
    Pump(20);
  }
  // Counts OnClick of a control from now on.
  int* CountClicks(TControl* c) {
    auto* n = &counts_[c];
    c->OnClick = TEvent{[n](TObject*) { ++*n; }, L""};
    return n;
  }
  // The mark of a check box or radio button sits at its left end (or right, with the caption left).
  POINT MarkOf(const TControl& c, bool right = false) {
    return ScreenPointOf(c, right ? c.Width() - 7 : 7, c.Height() / 2);
  }
  TControlGallery g;

 private:
  std::map<TControl*, int> counts_;
};

TEST_F(Gallery, ACheckBoxTogglesOnAClickAndOnSpace) {
  int* clicks = CountClicks(g.checkUnchecked);
  ClickAt(MarkOf(*g.checkUnchecked));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  EXPECT_TRUE(g.checkUnchecked->Checked());
  EXPECT_EQ(GetEnumText(g.checkUnchecked, L"State"), L"cbChecked");
  EXPECT_EQ(GetEnumText(g.checkUnchecked, L"Checked"), L"True");
  EXPECT_EQ(GetFocus(), g.checkUnchecked->Handle());
  TapKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 2; }));
  EXPECT_FALSE(g.checkUnchecked->Checked());
  // The window's own mark and the object agree.
  EXPECT_EQ(SendMessageW(g.checkUnchecked->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Gallery, AGreyedCheckBoxCyclesThroughItsThreeStates) {
  EXPECT_EQ(g.checkGrayed->State(), cbGrayed);
  EXPECT_EQ(SendMessageW(g.checkGrayed->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  ClickAt(MarkOf(*g.checkGrayed));
  ASSERT_TRUE(PumpUntil([&] { return g.checkGrayed->State() == cbUnchecked; }));
  ClickAt(MarkOf(*g.checkGrayed));
  ASSERT_TRUE(PumpUntil([&] { return g.checkGrayed->State() == cbChecked; }));
  SetPropText(g.checkGrayed, L"State", L"cbGrayed");
  EXPECT_EQ(SendMessageW(g.checkGrayed->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(Gallery, ADisabledCheckBoxIgnoresTheMouse) {
  int* clicks = CountClicks(g.checkDisabled);
  ClickAt(MarkOf(*g.checkDisabled));
  Pump(50);
  EXPECT_EQ(*clicks, 0);
  EXPECT_TRUE(g.checkDisabled->Checked());
}

TEST_F(Gallery, TheCaptionLeftOfTheMarkIsTheLeftTextStyle) {
  EXPECT_NE(GetWindowLongPtrW(g.checkLeftText->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
  EXPECT_EQ(GetEnumText(g.checkLeftText, L"Alignment"), L"taLeftJustify");
  ClickAt(MarkOf(*g.checkLeftText, true));
  EXPECT_TRUE(PumpUntil([&] { return g.checkLeftText->Checked(); }));
}

TEST_F(Gallery, RadioButtonsOfOneParentExcludeEachOther) {
  int* clicks = CountClicks(g.radioUnchecked);
  ClickAt(MarkOf(*g.radioUnchecked));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  EXPECT_TRUE(g.radioUnchecked->Checked());
  EXPECT_FALSE(g.radioChecked->Checked());
  // Clicking the checked one again is no change: no click.
  ClickAt(MarkOf(*g.radioUnchecked));
  Pump(50);
  EXPECT_EQ(*clicks, 1);
  // From the program, through the property.
  SetPropText(g.radioChecked, L"Checked", L"True");
  EXPECT_TRUE(g.radioChecked->Checked());
  EXPECT_FALSE(g.radioUnchecked->Checked());
  EXPECT_EQ(SendMessageW(g.radioUnchecked->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // Radio buttons of another parent are left alone.
  EXPECT_EQ(g.radioGroup->ItemIndex(), 1);
}

TEST_F(Gallery, ARadioGroupFollowsTheUsersChoice) {
  ASSERT_EQ(g.radioGroup->Buttons().size(), 3u);
  EXPECT_TRUE(g.radioGroup->Buttons()[1]->Checked());
  EXPECT_TRUE(g.radioGroup->Is(TCustomGroupBox::StaticClass()));
  EXPECT_TRUE(g.radioGroup->Is(TCustomRadioGroup::StaticClass()));
  int* clicks = CountClicks(g.radioGroup);
  ClickAt(MarkOf(*g.radioGroup->Buttons()[0]));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  EXPECT_EQ(g.radioGroup->ItemIndex(), 0);
  EXPECT_FALSE(g.radioGroup->Buttons()[1]->Checked());
  SetPropText(g.radioGroup, L"ItemIndex", L"2");
  EXPECT_EQ(*clicks, 2);
  EXPECT_TRUE(g.radioGroup->Buttons()[2]->Checked());
  EXPECT_FALSE(g.radioGroup->Buttons()[0]->Checked());
  // The buttons lie inside the frame, one below the other.
  const auto& b = g.radioGroup->Buttons();
  EXPECT_LT(b[0]->Top(), b[1]->Top());
  EXPECT_GE(b[0]->Top(), 12);
  EXPECT_LE(b[2]->Top() + b[2]->Height(), g.radioGroup->Height());
  // Two columns put the third item beside the first.
  g.radioGroup->SetColumns(2);
  EXPECT_GT(b[2]->Left(), b[0]->Left());
  EXPECT_EQ(b[2]->Top(), b[0]->Top());
  g.radioGroup->SetItemsText(L"一\r\n二");
  EXPECT_EQ(g.radioGroup->Buttons().size(), 2u);
  EXPECT_EQ(g.radioGroup->ItemIndex(), -1);
}

TEST_F(Gallery, SpeedButtonsOfAGroupStayDownOneAtATime) {
  int* clicks = CountClicks(g.groupSpeedButton);
  ClickAt(CentreOf(*g.groupSpeedButton));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  EXPECT_TRUE(g.groupSpeedButton->Down());
  EXPECT_FALSE(g.downSpeedButton->Down());
  EXPECT_EQ(GetEnumText(g.groupSpeedButton, L"Down"), L"True");
  // Without AllowAllUp a click leaves the last one down.
  ClickAt(CentreOf(*g.groupSpeedButton));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 2; }));
  EXPECT_TRUE(g.groupSpeedButton->Down());
  g.groupSpeedButton->SetAllowAllUp(true);
  ClickAt(CentreOf(*g.groupSpeedButton));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 3; }));
  EXPECT_FALSE(g.groupSpeedButton->Down());
  // A button of no group never stays down.
  g.speedButton->SetDown(true);
  EXPECT_FALSE(g.speedButton->Down());
}

TEST_F(Gallery, ASpeedButtonClicksOnlyOnAReleaseOverIt) {
  int* clicks = CountClicks(g.speedButton);
  MoveMouse(CentreOf(*g.speedButton));
  MouseButton(true);
  EXPECT_TRUE(g.speedButton->Pressed());
  MoveMouse(ScreenPointOf(*g.speedButton, 20, -30));
  MouseButton(false);
  Pump(50);
  EXPECT_EQ(*clicks, 0);
  EXPECT_FALSE(g.speedButton->Pressed());
  ClickAt(CentreOf(*g.speedButton));
  EXPECT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  int* disabledClicks = CountClicks(g.disabledSpeedButton);
  ClickAt(CentreOf(*g.disabledSpeedButton));
  Pump(50);
  EXPECT_EQ(*disabledClicks, 0);
}

TEST_F(Gallery, AFlatSpeedButtonKnowsTheMouseIsOverIt) {
  MoveMouse(CentreOf(*g.flatSpeedButton));
  EXPECT_TRUE(PumpUntil([&] { return g.flatSpeedButton->MouseInControl(); }));
  MoveMouse(ScreenPointOf(*g.flatSpeedButton, 30, -40));
  EXPECT_TRUE(PumpUntil([&] { return !g.flatSpeedButton->MouseInControl(); }));
}

TEST_F(Gallery, ABitButtonClicksByMouseEnterAndSpaceButNotWhenDisabled) {
  int* clicks = CountClicks(g.bitButton);
  ClickAt(CentreOf(*g.bitButton));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }));
  EXPECT_EQ(GetFocus(), g.bitButton->Handle());
  // The window's message loop passes keys through the dialog keys, as the program's does.
  auto dialogKey = [this](WORD vk) {
    MSG msg{g.bitButton->Handle(), WM_KEYDOWN, vk, 0, 0, {}};
    if (!IsDialogMessageW(g.form->Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    msg.message = WM_KEYUP;
    if (!IsDialogMessageW(g.form->Handle(), &msg)) DispatchMessageW(&msg);
    Pump(20);
  };
  dialogKey(VK_RETURN);
  EXPECT_EQ(*clicks, 2);
  dialogKey(VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return *clicks == 3; }));
  SendMessageW(g.bitButton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(*clicks, 4);
  int* disabledClicks = CountClicks(g.disabledBitButton);
  ClickAt(CentreOf(*g.disabledBitButton));
  Pump(50);
  EXPECT_EQ(*disabledClicks, 0);
}

TEST_F(Gallery, GlyphButtonsPublishTheirPictureAndLayout) {
  TBitmap* glyph = GetObjProp<TBitmap>(g.bitButton, L"Glyph");
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(glyph->Width(), 32);
  EXPECT_EQ(GetIntProp(g.bitButton, L"NumGlyphs"), 2);
  EXPECT_EQ(GetIntProp(g.bitButton, L"Margin"), -1);
  EXPECT_EQ(GetIntProp(g.bitButton, L"Spacing"), 4);
  EXPECT_EQ(GetEnumText(g.bitButton, L"Layout"), L"blGlyphLeft");
  EXPECT_EQ(GetEnumText(g.bitButton, L"Kind"), L"bkCustom");
  EXPECT_EQ(GetObjProp<TBitmap>(g.flatSpeedButton, L"Glyph"), nullptr);  // none
  EXPECT_EQ(GetEnumText(g.flatSpeedButton, L"Flat"), L"True");
  EXPECT_EQ(GetObjProp<TPopupMenu>(g.menuButton, L"DropdownMenu"), g.menu);
  EXPECT_EQ(GetObjProp<TComponent>(g.menuButton, L"DropdownMenu"), g.menu);
  EXPECT_EQ(GetObjProp<TBitmap>(g.menuButton, L"DropdownMenu"), nullptr);
  EXPECT_TRUE(g.bitButton->Is(TButton::StaticClass()));
  EXPECT_FALSE(g.menuButton->Is(TBitBtn::StaticClass()));
}

// Counts the pixels of one colour in a control's rectangle on the screen.
int CountColour(const TControl& c, COLORREF colour) {
  POINT origin = ScreenPointOf(c, 0, 0);
  TBitmap shot;
  shot.SetSize(c.Width(), c.Height(), 0);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, shot.Handle());
  BitBlt(mem, 0, 0, c.Width(), c.Height(), screen, origin.x, origin.y, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  int n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (shot.Pixel(x, y) == colour) ++n;
  return n;
}

TEST_F(Gallery, GlyphsAreDrawnWithoutTheirBackgroundAndByState) {
  const COLORREF green = RGB(0, 160, 0), grey = RGB(128, 128, 128), magenta = RGB(255, 0, 255);
  // 10 x 10 squares: the up image on the enabled button, the disabled image on the other.
  EXPECT_EQ(CountColour(*g.bitButton, green), 100);
  EXPECT_EQ(CountColour(*g.bitButton, magenta), 0);
  EXPECT_EQ(CountColour(*g.disabledBitButton, grey), 100);
  EXPECT_EQ(CountColour(*g.disabledBitButton, green), 0);
  EXPECT_EQ(CountColour(*g.speedButton, green), 100);
  // Held down, the speed button shows its pressed image (the third).
  MoveMouse(CentreOf(*g.speedButton));
  MouseButton(true);
  UpdateWindow(g.form->Handle());
  EXPECT_EQ(CountColour(*g.speedButton, RGB(0, 0, 200)), 100);
  MouseButton(false);
}

TEST_F(Gallery, AMenuButtonDropsItsMenuBelowItself) {
  int* clicks = CountClicks(g.menuButton);
  int chosen = 0;
  g.menu->Items()[1]->OnClick = TEvent{[&](TObject*) { ++chosen; }, L""};
  // While the menu is open, a timer finds it and picks the second item with the keyboard.
  static RECT menuRect;
  menuRect = {};
  SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    GetWindowRect(popup, &menuRect);
    for (WORD vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      INPUT in[2]{};
      in[0].type = in[1].type = INPUT_KEYBOARD;
      in[0].ki.wVk = in[1].ki.wVk = vk;
      in[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, in, sizeof(INPUT));
    }
  });
  ClickAt(CentreOf(*g.menuButton));
  ASSERT_TRUE(PumpUntil([&] { return *clicks == 1; }, 3000));
  EXPECT_EQ(chosen, 1);
  POINT below = ScreenPointOf(*g.menuButton, 0, g.menuButton->Height());
  EXPECT_EQ(g.menu->PopupPoint().x, below.x);
  EXPECT_EQ(g.menu->PopupPoint().y, below.y);
  EXPECT_EQ(menuRect.left, below.x);
  EXPECT_EQ(menuRect.top, below.y);
}

}  // namespace
}  // namespace fw
