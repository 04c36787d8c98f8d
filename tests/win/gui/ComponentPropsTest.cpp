// Published properties read and written by name on any control, the class
// identities the skin engine's binding asks about, and the order in which a
// control frees what it owns.
#include <gtest/gtest.h>

#include <stdexcept>

#include "gui/Button.h"
#include "gui/ComboBox.h"
#include "gui/DBGrid.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "gui/Memo.h"
#include "gui/PageControl.h"
#include "gui/StatusBar.h"

namespace fw {
namespace {

TEST(PublishedProperties, MissingPropertiesAndNullInstancesGiveNeutralResults) {
  TButton button(nullptr);
  const TComponent* none = nullptr;
  EXPECT_EQ(GetIntProp(&button, L"NoSuchProperty"), -1);
  EXPECT_EQ(GetIntProp(none, L"Left"), -1);
  EXPECT_EQ(GetTextProp(none, L"Caption"), L"");
  EXPECT_EQ(GetEnumText(&button, L"NoSuchProperty"), L"");
  EXPECT_EQ(GetEnumText(none, L"Default"), L"");
  EXPECT_EQ(GetObjProp<TFont>(&button, L"NoSuchProperty"), nullptr);
  EXPECT_EQ(GetObjProp<TFont>(none, L"Font"), nullptr);
  // The pointer form sets nothing on a null instance or a missing property, and does not throw.
  SetPropText(static_cast<TComponent*>(nullptr), L"Caption", L"x");
  SetPropText(&button, L"NoSuchProperty", L"x");
  // Another kind gives the neutral result too: Caption is no integer, Left no enumeration.
  EXPECT_EQ(GetIntProp(&button, L"Caption"), -1);
  EXPECT_EQ(GetEnumText(&button, L"Left"), L"");
}

TEST(PublishedProperties, EnumerationsAndBooleansGiveTheirValueNames) {
  TButton button(nullptr);
  EXPECT_EQ(GetEnumText(&button, L"default"), L"False");
  button.SetDefault(true);
  EXPECT_EQ(GetEnumText(&button, L"Default"), L"True");
  button.SetAlign(alClient);
  EXPECT_EQ(GetEnumText(&button, L"ALIGN"), L"alClient");
  SetPropText(&button, L"Align", L"altop");
  EXPECT_EQ(button.Align(), alTop);
  EXPECT_THROW(SetPropText(&button, L"Align", L"sideways"), std::invalid_argument);
}

TEST(PublishedProperties, IntegerPropertiesRefuseTextThatIsNoNumber) {
  TButton button(nullptr);
  SetPropText(&button, L"Tag", L"5555");
  EXPECT_EQ(button.Tag(), 5555);
  EXPECT_EQ(GetIntProp(&button, L"tag"), 5555);
  EXPECT_THROW(SetPropText(&button, L"Tag", L"12x"), std::invalid_argument);
  EXPECT_EQ(button.Tag(), 5555);
}

TEST(PublishedProperties, FontIsAnObjectPropertyReadByType) {
  TForm form(nullptr);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  // Without a font of its own the button shows its parent's.
  EXPECT_EQ(GetObjProp<TFont>(button, L"Font"), &form.Font());
  button->OwnFont().SetHeight(-20);
  TFont* font = GetObjProp<TFont>(button, L"font");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Height(), -20);
  // Asked for another type, the property gives nothing.
  EXPECT_EQ(GetObjProp<TComponent>(button, L"Font"), nullptr);
  EXPECT_EQ(GetObjProp<int>(button, L"Font"), nullptr);
  // Texts do not replace objects.
  SetPropText(button, L"Font", L"Arial");
  EXPECT_EQ(GetObjProp<TFont>(button, L"Font"), font);
}

TEST(PublishedProperties, ColorFollowsTheParentUntilSetAndEditsStartWhite) {
  TForm form(nullptr);
  auto* box = new TGroupBox(&form);
  box->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(box);
  EXPECT_EQ(GetIntProp(&form, L"Color"), static_cast<int>(clBtnFace));
  EXPECT_EQ(GetIntProp(box, L"Color"), static_cast<int>(clBtnFace));
  EXPECT_EQ(GetIntProp(edit, L"Color"), static_cast<int>(clWindow));
  SetPropText(&form, L"Color", L"255");
  EXPECT_EQ(box->Color(), 255);
  EXPECT_EQ(GetEnumText(box, L"ParentColor"), L"True");
  SetPropText(box, L"Color", std::to_wstring(clBtnFace));
  EXPECT_EQ(box->Color(), clBtnFace);
  EXPECT_EQ(GetEnumText(box, L"ParentColor"), L"False");
  EXPECT_EQ(edit->Color(), clWindow);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(0x00336699), static_cast<COLORREF>(0x336699));
}

TEST(ClassIdentity, AbstractClassesOfTheBindingTable) {
  TMemo memo(nullptr);
  TEdit edit(nullptr);
  TComboBox combo(nullptr);
  TGroupBox group(nullptr);
  TPageControl pages(nullptr);
  TStatusBar status(nullptr);
  TDBGrid grid(nullptr);
  TForm form(nullptr);
  TButton button(nullptr);
  EXPECT_TRUE(memo.Is(TCustomMemo::StaticClass()));
  EXPECT_TRUE(memo.Is(TCustomEdit::StaticClass()));
  EXPECT_TRUE(edit.Is(TCustomEdit::StaticClass()));
  EXPECT_FALSE(edit.Is(TCustomMemo::StaticClass()));
  EXPECT_TRUE(combo.Is(TCustomComboBox::StaticClass()));
  EXPECT_TRUE(group.Is(TCustomGroupBox::StaticClass()));
  EXPECT_TRUE(pages.Is(TCustomTabControl::StaticClass()));
  EXPECT_TRUE(status.Is(TCustomStatusBar::StaticClass()));
  EXPECT_TRUE(grid.Is(TCustomGrid::StaticClass()));
  EXPECT_TRUE(form.Is(TCustomForm::StaticClass()));
  EXPECT_FALSE(button.Is(TCustomEdit::StaticClass()));
  EXPECT_FALSE(button.Is(TCustomGroupBox::StaticClass()));
  EXPECT_EQ(memo.ClassName(), L"TMemo");
  EXPECT_EQ(form.ClassName(), L"TForm");
}

// Owned by a control, replaces its message handler and puts the old one back
// when freed, as a skinned-control object does.
class THandlerSwap : public TComponent {
 public:
  THandlerSwap(TControl* control, int* seen, bool* sawDestroying)
      : TComponent(control), control_(control), seen_(seen), sawDestroying_(sawDestroying) {
    old_ = control->WindowProc;
    control->WindowProc = [this](TMessage& m) {
      ++*seen_;
      old_(m);
    };
  }
  ~THandlerSwap() override {
    *sawDestroying_ = (control_->ComponentState() & csDestroying) != 0;
    control_->WindowProc = old_;
    // The control is still whole: its handler answers.
    control_->Perform(WM_NULL, 0, 0);
  }

 private:
  TControl* control_;
  TWndMethod old_;
  int* seen_;
  bool* sawDestroying_;
};

TEST(DestructionOrder, AnOwnedObjectPutsTheHandlerBackWhileTheControlIsWhole) {
  TForm form(nullptr);
  form.SetClientSize(200, 100);
  form.HandleNeeded();
  int buttonSeen = 0, labelSeen = 0;
  bool buttonDestroying = false, labelDestroying = false;
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(5, 5, 80, 24);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  new THandlerSwap(button, &buttonSeen, &buttonDestroying);
  new THandlerSwap(label, &labelSeen, &labelDestroying);
  ASSERT_TRUE(button->HandleAllocated());
  SendMessageW(button->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_GT(buttonSeen, 0);
  label->Perform(WM_NULL, 0, 0);
  EXPECT_EQ(labelSeen, 1);
  delete button;
  delete label;
  EXPECT_TRUE(buttonDestroying);
  EXPECT_TRUE(labelDestroying);
}

TEST(DestructionOrder, AFormWithSwappedHandlersClosesCleanly) {
  int seen = 0;
  bool destroying = false;
  {
    TForm form(nullptr);
    form.HandleNeeded();
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    new THandlerSwap(edit, &seen, &destroying);
    new THandlerSwap(&form, &seen, &destroying);
  }
  EXPECT_TRUE(destroying);
}

}  // namespace
}  // namespace fw
