// The entry gallery (edits, up-downs, combo boxes, date pickers) bound by the
// form skinner with our own skin: every control gets its object, the window
// looks as stored (tests/win/skin/controls/reference, 24-bit BMP; pixels may
// differ by anti-aliasing inside the texts only), and a combo box worked with
// the real mouse and keyboard turns hot over its button only, drops its list
// and takes the chosen item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/EntryGallery.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

bool Skinned(HWND hwnd) {
  return hwnd && SendMessageW(hwnd, WM_ISSKINNED, 0, 0) == 1;
}

class SkinEntryGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (look::ReadBuiltSkin(data) || data.Empty) GTEST_SKIP() << "no skin was built";
    SetCursorPos(1270, 790);
    g = fw::MakeEntryGallery(nullptr);
    sf = new TWinSkinForm(g.form);
    sf->hwnd = g.form->Handle();
    sf->InitTform(&data, g.form);
    ASSERT_TRUE(sf->IsSubclassed());
    sf->InitControls(g.form);
    g.form->Show();
    SetForegroundWindow(g.form->Handle());
    g.edit->SetFocus();
    fw::test::Pump(200);
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete g.form;
    SetCursorPos(1270, 790);
  }

  TSkinControl* ObjectOf(fw::TWinControl* c) { return sf->FindControlByHandle(c->Handle()); }

  TSkinData data{nullptr};
  fw::TEntryGallery g;
  TWinSkinForm* sf = nullptr;
};

TEST_F(SkinEntryGalleryTest, EveryEntryControlGetsItsObjectAndAnswersTheSkinQuery) {
  int index = 0;
  for (fw::TEdit* e : {g.edit, g.plainEdit, g.disabledEdit, g.spinEdit, g.buddyEdit}) {
    EXPECT_TRUE(Skinned(e->Handle())) << "edit " << index;
    EXPECT_TRUE(ObjectOf(e) && ObjectOf(e)->Is(TSkinEdit::StaticClass())) << "edit " << index++;
  }
  for (fw::TUpDown* u : {g.spinVertical, g.spinHorizontal}) {
    EXPECT_TRUE(Skinned(u->Handle()));
    EXPECT_TRUE(ObjectOf(u) && ObjectOf(u)->Is(TSkinUpDown::StaticClass()));
  }
  for (fw::TComboBox* c : {g.dropDown, g.dropDownList, g.disabledCombo, g.leftButtonCombo}) {
    EXPECT_TRUE(Skinned(c->Handle()));
    EXPECT_TRUE(ObjectOf(c) && ObjectOf(c)->Is(TSkinComBox::StaticClass()));
  }
  for (fw::TDateTimePicker* d : {g.datePicker, g.disabledDatePicker}) {
    EXPECT_TRUE(Skinned(d->Handle()));
    EXPECT_TRUE(ObjectOf(d) && ObjectOf(d)->Is(TSkinDateTime::StaticClass()));
  }
  // The up-down inside an edit is found at the edit's first paint.
  EXPECT_TRUE(Skinned(g.spinInEdit));
  auto* edit = static_cast<TSkinEdit*>(ObjectOf(g.spinEdit));
  ASSERT_NE(edit->updown, nullptr);
  EXPECT_TRUE(edit->updown->inedit);
}

TEST_F(SkinEntryGalleryTest, EveryStateLooksAsStored) {
  // Texts: inside each edit, combo and picker, left of its button.
  std::vector<TRect> text;
  for (fw::TWinControl* c : std::initializer_list<fw::TWinControl*>{
           g.edit, g.plainEdit, g.disabledEdit, g.spinEdit, g.buddyEdit, g.dropDown, g.dropDownList,
           g.disabledCombo, g.leftButtonCombo, g.datePicker, g.disabledDatePicker}) {
    RECT r = c->BoundsRect();
    text.push_back(Rect(r.left + 2, r.top + 2, r.right - 20, r.bottom - 2));
  }
  look::ExpectLooksLikeReference(look::ClientShot(g.form->Handle()),
                                 look::ReferenceBeside(__FILE__, "entry-gallery"), "entry-gallery", text);
}

TEST_F(SkinEntryGalleryTest, ComboButtonTurnsHotUnderTheMouseOnlyAndTheMousePicksAnItem) {
  HWND combo = g.dropDownList->Handle();
  auto* object = static_cast<TSkinComBox*>(ObjectOf(g.dropDownList));
  ASSERT_NE(object, nullptr);
  RECT r;
  GetWindowRect(combo, &r);
  const int32_t h = r.bottom - r.top;
  const POINT text{r.left + 20, r.top + h / 2}, button{r.right - 6, r.top + h / 2};
  fw::test::MoveMouse(text);
  fw::test::Pump(60);
  EXPECT_EQ(object->state & Hot, 0);
  const COLORREF cold = fw::test::ScreenPixel(combo, r.right - r.left - 3, 2);
  fw::test::MoveMouse(button);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return (object->state & Hot) != 0; }));
  fw::test::Pump(60);
  EXPECT_NE(fw::test::ScreenPixel(combo, r.right - r.left - 3, 2), cold) << "the hot face is not shown";
  fw::test::MoveMouse(text);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return (object->state & Hot) == 0; }));
  // A click on the button drops the list; a click on its third item chooses it.
  fw::test::ClickAt(button);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  EXPECT_TRUE(object->isDrop);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  POINT item{20, 0};
  ClientToScreen(info.hwndList, &item);
  const int itemHeight = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
  const int topIndex = static_cast<int>(SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0));
  fw::test::ClickAt(POINT{item.x, item.y + (2 - topIndex) * itemHeight + itemHeight / 2});
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_FALSE(object->isDrop);
  EXPECT_EQ(object->state & Down, 0);
}

TEST_F(SkinEntryGalleryTest, KeyboardOpensTheListAndChoosesAnItem) {
  HWND combo = g.dropDownList->Handle();
  auto* object = static_cast<TSkinComBox*>(ObjectOf(g.dropDownList));
  ASSERT_NE(object, nullptr);
  g.dropDownList->SetFocus();
  fw::test::Pump(30);
  fw::test::TapKey(VK_F4);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  EXPECT_TRUE(object->isDrop);
  fw::test::TapKey(VK_DOWN);
  fw::test::TapKey(VK_RETURN);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  // Alt+Down opens it too.
  fw::test::Key(VK_MENU, true);
  fw::test::TapKey(VK_DOWN);
  fw::test::Key(VK_MENU, false);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  fw::test::TapKey(VK_ESCAPE);
  ASSERT_TRUE(fw::test::PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
}

}  // namespace
}  // namespace skin
