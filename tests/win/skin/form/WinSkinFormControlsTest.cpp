// Control binding on real windows: a framework form and a bare dialog-like
// window are bound by a form skinner with the skin the build makes, and
// every control is asked, as any part of the engine would ask it, whether it
// is skinned. Binding again, the application's own object, the Tags that
// switch skinning off or make a button transparent, the end of a control and
// switching skinning off are each checked by what the windows answer and by
// counting the objects.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/Button.h"
#include "gui/ControlGallery.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "skin/archive/Streams.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"

namespace skin {
namespace {

bool Skinned(HWND hwnd) {
  return SendMessageW(hwnd, WM_ISSKINNED, 0, 0) == 1;
}

bool Skinned(fw::TWinControl* c) {
  return Skinned(c->Handle());
}

// An object the application makes itself; counts how many are alive.
class TAppSkinObject : public TSkinControl {
 public:
  explicit TAppSkinObject(fw::TComponent* owner) : TSkinControl(owner) { ++alive; }
  ~TAppSkinObject() override { --alive; }
  static int alive;
};
int TAppSkinObject::alive = 0;

// GDI objects, menus and windows of this process. Wine's GetGuiResources
// answers 0, so the handle tables are counted instead.
BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

std::pair<int, int> GuiObjects() {
  int gdi = 0, user = 0;
  for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++gdi;
    if (IsMenu(reinterpret_cast<HMENU>(slot))) ++user;
  }
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&user));
  return {gdi, user};
}

bool LoadBuiltSkin(TSkinData& data) {
  return !look::ReadBuiltSkin(data) && !data.Empty;
}

class FormBindingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!LoadBuiltSkin(data)) GTEST_SKIP() << "no skin was built";
    form = new fw::TForm(nullptr);
    form->SetBounds(40, 40, 360, 260);
    form->HandleNeeded();
    one = AddButton(form, L"One", 10, 10);
    two = AddButton(form, L"Two", 100, 10);
    disabled = AddButton(form, L"Off", 190, 10);
    disabled->SetTag(99);
    transparent = AddButton(form, L"Glass", 280, 10);
    transparent->SetTag(5555);
    group = new fw::TGroupBox(form);
    group->SetParent(form);
    group->SetBounds(10, 50, 200, 100);
    group->SetCaption(L"Group");
    group->HandleNeeded();
    inner = AddButton(group, L"Inner", 10, 30);
    edit = new fw::TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 170, 120, 22);
    edit->HandleNeeded();
    label = new fw::TLabel(form);
    label->SetParent(form);
    label->SetBounds(150, 170, 80, 16);
    label->SetCaption(L"Label");
    sf = new TWinSkinForm(form);
    sf->hwnd = form->Handle();
    sf->InitTform(&data, form);
    ASSERT_TRUE(sf->IsSubclassed());
  }
  void TearDown() override {
    if (sf) sf->Release();  // gives the form its procedure back and frees the objects
    delete form;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // A button owned by the form, placed in `parent`.
  fw::TButton* AddButton(fw::TWinControl* parent, const wchar_t* caption, int x, int y) {
    auto* b = new fw::TButton(form);
    b->SetParent(parent);
    b->SetBounds(x, y, 80, 26);
    b->SetCaption(caption);
    b->HandleNeeded();
    return b;
  }
  TSkinControl* ObjectOf(fw::TWinControl* c) const { return sf->FindControlByHandle(c->Handle()); }

  TSkinData data{nullptr};
  fw::TForm* form = nullptr;
  fw::TButton *one = nullptr, *two = nullptr, *disabled = nullptr, *transparent = nullptr, *inner = nullptr;
  fw::TGroupBox* group = nullptr;
  fw::TEdit* edit = nullptr;
  fw::TLabel* label = nullptr;
  TWinSkinForm* sf = nullptr;
};

TEST_F(FormBindingTest, ButtonsAndGroupBoxesGetTheirObjects) {
  sf->InitControls(form);
  for (fw::TButton* b : {one, two, transparent, inner}) {
    EXPECT_TRUE(Skinned(b)) << fw::GetTextProp(*b, L"Caption");
    ASSERT_NE(ObjectOf(b), nullptr);
    EXPECT_TRUE(ObjectOf(b)->Is(TSkinButton::StaticClass()));
    // Owned by its control, so that it dies with it.
    EXPECT_EQ(ObjectOf(b)->Owner(), b);
  }
  EXPECT_TRUE(Skinned(group));
  ASSERT_NE(ObjectOf(group), nullptr);
  EXPECT_TRUE(ObjectOf(group)->Is(TSkinGroupBox::StaticClass()));
  // Tag 99 is never skinned; the edit gets its own object.
  EXPECT_FALSE(Skinned(disabled));
  EXPECT_TRUE(Skinned(edit));
  ASSERT_NE(ObjectOf(edit), nullptr);
  EXPECT_TRUE(ObjectOf(edit)->Is(TSkinEdit::StaticClass()));
  EXPECT_EQ(sf->Controllist.size(), 6u);
}

TEST_F(FormBindingTest, GroupBoxBindsItsChildrenBeforeItself) {
  sf->InitControls(form);
  auto at = [&](fw::TWinControl* c) {
    for (size_t i = 0; i < sf->Controllist.size(); ++i)
      if (sf->Controllist[i]->hwnd == c->Handle()) return static_cast<int>(i);
    return -1;
  };
  ASSERT_GE(at(inner), 0);
  EXPECT_LT(at(inner), at(group));
}

TEST_F(FormBindingTest, BindingTwiceMakesNoSecondObject) {
  sf->InitControls(form);
  std::vector<TSkinControl*> first = sf->Controllist;
  sf->InitControls(form);
  sf->AddComp(one, form);
  sf->AddComp(inner, group);
  // The bare-window road honours the Tag that switches skinning off too.
  sf->InitHwndControls(form->Handle());
  EXPECT_FALSE(Skinned(disabled));
  EXPECT_EQ(sf->Controllist, first);
  // One object per control among the control's own components too.
  int owned = 0;
  for (fw::TComponent* c : one->Components())
    if (c->Is(TSkinControl::StaticClass())) ++owned;
  EXPECT_EQ(owned, 1);
}

TEST_F(FormBindingTest, AControlSkinnedElsewhereIsNotGivenASecondObject) {
  auto* other = new TAppSkinObject(one);
  other->Init(nullptr, &data, false);
  ASSERT_TRUE(Skinned(one));
  sf->InitControls(form);
  EXPECT_EQ(ObjectOf(one), nullptr);
  EXPECT_EQ(TAppSkinObject::alive, 1);
  sf->InitHwndControls(form->Handle());
  EXPECT_EQ(ObjectOf(one), nullptr);
  delete other;
  EXPECT_EQ(TAppSkinObject::alive, 0);
}

TEST_F(FormBindingTest, TransparentTagMakesTheButtonDrawOverItsParent) {
  sf->InitControls(form);
  auto* glass = static_cast<TSkinButton*>(ObjectOf(transparent));
  auto* plain = static_cast<TSkinButton*>(ObjectOf(one));
  ASSERT_NE(glass, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(glass->trans);
  EXPECT_FALSE(plain->trans);
}

TEST_F(FormBindingTest, ApplicationEventCanSupplyItsOwnObject) {
  std::vector<std::wstring> asked;
  data.OnSkinControl = [&](fw::TComponent*, TSkinData*, fw::TControl*, fw::TControl* control,
                           const std::wstring& cls, fw::TComponent*& skinned) {
    asked.push_back(cls + L":" + fw::GetTextProp(*control, L"Caption"));
    if (control == two) skinned = new TAppSkinObject(two);
  };
  sf->InitControls(form);
  ASSERT_NE(ObjectOf(two), nullptr);
  EXPECT_NE(dynamic_cast<TAppSkinObject*>(ObjectOf(two)), nullptr);
  EXPECT_EQ(TAppSkinObject::alive, 1);
  EXPECT_TRUE(Skinned(two));
  EXPECT_TRUE(ObjectOf(one)->Is(TSkinButton::StaticClass()));
  // The Tag that switches skinning off is tested before the application is asked.
  for (const std::wstring& a : asked) EXPECT_NE(a, L"TBUTTON:Off");
  EXPECT_NE(std::find(asked.begin(), asked.end(), L"TBUTTON:Two"), asked.end());
  // Binding again asks nothing about controls that have their object.
  asked.clear();
  sf->InitControls(form);
  EXPECT_EQ(std::find(asked.begin(), asked.end(), L"TBUTTON:Two"), asked.end());
  EXPECT_EQ(TAppSkinObject::alive, 1);
  sf->FreeSkinControls();
  EXPECT_EQ(TAppSkinObject::alive, 0);
}

TEST_F(FormBindingTest, ApplicationEventGivingSomethingElseLeavesTheControlUnskinned) {
  fw::TComponent* stranger = nullptr;
  data.OnSkinControl = [&](fw::TComponent*, TSkinData*, fw::TControl*, fw::TControl* control,
                           const std::wstring&, fw::TComponent*& skinned) {
    if (control == one) skinned = stranger = new fw::TComponent(form);
  };
  sf->InitControls(form);
  EXPECT_FALSE(Skinned(one));
  EXPECT_EQ(ObjectOf(one), nullptr);
  EXPECT_TRUE(Skinned(two));
  ASSERT_NE(stranger, nullptr);
}

TEST_F(FormBindingTest, AControlWithoutParentIsNotSkinned) {
  auto* loose = new fw::TButton(form);
  loose->SetCaption(L"Loose");
  sf->InitControls(form);
  for (TSkinControl* c : sf->Controllist) EXPECT_NE(c->Owner(), loose);
}

TEST_F(FormBindingTest, AControlThatGoesTakesItsObjectWithIt) {
  sf->InitControls(form);
  size_t before = sf->Controllist.size();
  HWND window = two->Handle();
  delete two;
  two = nullptr;
  EXPECT_EQ(sf->Controllist.size(), before - 1);
  EXPECT_EQ(sf->FindControlByHandle(window), nullptr);
  // Freeing the rest afterwards touches nothing twice.
  sf->FreeSkinControls();
  EXPECT_TRUE(sf->Controllist.empty());
}

TEST_F(FormBindingTest, SwitchingOffGivesEveryControlItsLookBackAndFreesEveryObject) {
  auto countObjects = [&] {
    int n = 0;
    for (fw::TComponent* owner : std::vector<fw::TComponent*>{one, two, transparent, inner, group})
      for (fw::TComponent* c : owner->Components())
        if (c->Is(TSkinControl::StaticClass())) ++n;
    return n;
  };
  sf->InitControls(form);
  sf->FreeSkinControls();
  const std::pair<int, int> before = GuiObjects();
  ASSERT_GT(before.first, 0);
  for (int round = 0; round < 3; ++round) {
    sf->InitControls(form);
    EXPECT_EQ(countObjects(), 5);
    EXPECT_TRUE(Skinned(one));
    sf->FreeSkinControls();
    EXPECT_EQ(countObjects(), 0);
    EXPECT_TRUE(sf->Controllist.empty());
    for (fw::TWinControl* c : std::vector<fw::TWinControl*>{one, two, transparent, inner, group})
      EXPECT_FALSE(Skinned(c));
  }
  EXPECT_EQ(GuiObjects(), before);
}

// A group of radio buttons as a library would name it: only its class name
// tells the binding what it is.
class TTestRadioGroup : public fw::TGroupBox {
  FW_CLASS(TTestRadioGroup)
 public:
  using fw::TGroupBox::TGroupBox;
};
const fw::TClassInfo& TTestRadioGroup::StaticClass() {
  static const fw::TClassInfo info{L"TTestRadioGroup", &fw::TGroupBox::StaticClass(), {}};
  return info;
}

TEST_F(FormBindingTest, DisabledRadioGroupKeepsItsButtonsUnskinnedInEveryPass) {
  auto* radios = new TTestRadioGroup(form);
  radios->SetParent(form);
  radios->SetBounds(220, 50, 120, 100);
  radios->HandleNeeded();
  fw::TButton* first = AddButton(radios, L"A", 10, 20);
  fw::TButton* second = AddButton(radios, L"B", 10, 50);
  radios->SetTag(99);
  sf->InitControls(form);
  EXPECT_FALSE(Skinned(radios));
  for (fw::TButton* b : {first, second}) {
    EXPECT_EQ(b->Tag(), 99);
    EXPECT_FALSE(Skinned(b));
  }
  // Even when the group itself is let go, its buttons stay as they were made.
  radios->SetTag(0);
  sf->InitControls(form);
  EXPECT_FALSE(Skinned(first));
  EXPECT_FALSE(Skinned(second));
  EXPECT_TRUE(Skinned(one));
}

// ---------------------------------------------------------------- the control gallery

class GalleryBindingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!LoadBuiltSkin(data)) GTEST_SKIP() << "no skin was built";
    g = fw::MakeControlGallery(nullptr);
    sf = new TWinSkinForm(g.form);
    sf->hwnd = g.form->Handle();
    sf->InitTform(&data, g.form);
    ASSERT_TRUE(sf->IsSubclassed());
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete g.form;
  }
  bool Has(fw::TControl* c, const fw::TClassInfo& cls) const {
    for (TSkinControl* o : sf->Controllist)
      if ((o->control == c || o->GControl == c) && o->Is(cls)) return true;
    return false;
  }

  TSkinData data{nullptr};
  fw::TControlGallery g;
  TWinSkinForm* sf = nullptr;
};

TEST_F(GalleryBindingTest, EveryCheckRadioGroupAndPushButtonGetsItsObject) {
  sf->InitControls(g.form);
  for (fw::TCheckBox* c :
       {g.checkUnchecked, g.checkChecked, g.checkGrayed, g.checkDisabled, g.checkLeftText}) {
    EXPECT_TRUE(Has(c, TSkinCheckBox::StaticClass())) << fw::GetTextProp(c, L"Caption");
    EXPECT_TRUE(Skinned(c));
  }
  for (fw::TRadioButton* r : {g.radioChecked, g.radioUnchecked, g.radioDisabled})
    EXPECT_TRUE(Has(r, TSkinRadioButton::StaticClass())) << fw::GetTextProp(r, L"Caption");
  // The radio group: a radio object for each of its buttons, a group frame with colour for itself.
  ASSERT_EQ(g.radioGroup->Controls().size(), 3u);
  for (fw::TControl* item : g.radioGroup->Controls()) EXPECT_TRUE(Has(item, TSkinRadioButton::StaticClass()));
  ASSERT_TRUE(Has(g.radioGroup, TSkinGroupBox::StaticClass()));
  EXPECT_TRUE(sf->FindControlByHandle(g.radioGroup->Handle())->newColor);
  for (fw::TGroupBox* frame : {g.checkFrame, g.radioFrame}) {
    EXPECT_TRUE(Has(frame, TSkinGroupBox::StaticClass()));
    EXPECT_FALSE(sf->FindControlByHandle(frame->Handle())->newColor);
  }
  for (fw::TButton* b : {g.button, g.defaultButton, g.disabledButton})
    EXPECT_TRUE(Has(b, TSkinButton::StaticClass())) << fw::GetTextProp(b, L"Caption");
  for (fw::TBitBtn* b : {g.bitButton, g.disabledBitButton})
    EXPECT_TRUE(Has(b, TSkinBitButton::StaticClass()));
  for (fw::TSpeedButton* b :
       {g.speedButton, g.flatSpeedButton, g.downSpeedButton, g.groupSpeedButton, g.disabledSpeedButton}) {
    EXPECT_TRUE(Has(b, TSkinSpeedButton::StaticClass())) << fw::GetTextProp(b, L"Caption");
    EXPECT_EQ(b->Perform(WM_ISSKINNED, 0, 0), 1);
  }
  // A menu button is a push button to the class table; Skin3rd can name its kind.
  EXPECT_TRUE(Has(g.menuButton, TSkinButton::StaticClass()));
  EXPECT_FALSE(Has(g.menuButton, TSkinMenuButton::StaticClass()));
  // Binding again changes nothing.
  std::vector<TSkinControl*> first = sf->Controllist;
  sf->InitControls(g.form);
  EXPECT_EQ(sf->Controllist, first);
}

TEST_F(GalleryBindingTest, Skin3rdMakesTheMenuButtonADropDownButtonAndCanLeaveBitButtonsAlone) {
  std::vector<std::wstring> lines = data.Skin3rd();
  lines.push_back(L"TMenuButton=menubtn");
  lines.push_back(L"TBitBtn=nil");
  data.SetSkin3rd(lines);
  sf->InitControls(g.form);
  EXPECT_TRUE(Has(g.menuButton, TSkinMenuButton::StaticClass()));
  EXPECT_FALSE(Skinned(g.bitButton));
  EXPECT_TRUE(Skinned(g.button));
}

TEST_F(GalleryBindingTest, WithoutBitBtnABitButtonStaysUnskinnedThoughButtonsAreSkinned) {
  data.SetSkinControls(data.SkinControls() & ~SetOf(xcBitBtn));
  sf->InitControls(g.form);
  EXPECT_FALSE(Skinned(g.bitButton));
  EXPECT_EQ(sf->FindControlByHandle(g.bitButton->Handle()), nullptr);
  EXPECT_TRUE(Skinned(g.button));
}

TEST_F(GalleryBindingTest, DisabledRadioGroupPassesItsTagToItsButtons) {
  g.radioGroup->SetTag(99);
  sf->InitControls(g.form);
  EXPECT_FALSE(Skinned(g.radioGroup));
  for (fw::TControl* item : g.radioGroup->Controls()) {
    EXPECT_EQ(item->Tag(), 99);
    EXPECT_FALSE(Skinned(static_cast<fw::TWinControl*>(item)));
  }
  EXPECT_TRUE(Skinned(g.radioChecked));
}

TEST_F(GalleryBindingTest, TransparentTagOnACheckBox) {
  g.checkChecked->SetTag(5555);
  sf->InitControls(g.form);
  auto* glass = static_cast<TSkinCheckBox*>(sf->FindControlByHandle(g.checkChecked->Handle()));
  auto* plain = static_cast<TSkinCheckBox*>(sf->FindControlByHandle(g.checkUnchecked->Handle()));
  ASSERT_NE(glass, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(glass->trans);
  EXPECT_FALSE(plain->trans);
}

// ---------------------------------------------------------------- bare windows

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class WindowBindingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!LoadBuiltSkin(data)) GTEST_SKIP() << "no skin was built";
    static ATOM cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = HostProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QmBindingHost";
      return RegisterClassW(&wc);
    }();
    host = CreateWindowExW(0, MAKEINTATOM(cls), L"Host", WS_OVERLAPPED | WS_CAPTION, 60, 60, 420, 300,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    sf = new TWinSkinForm(nullptr);
    sf->hwnd = host;
    sf->InitDlg(&data);
  }
  void TearDown() override {
    if (!host) return;
    DestroyWindow(host);
    sf->Release();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND Child(HWND parent, const wchar_t* cls, DWORD style, int y) {
    return CreateWindowExW(0, cls, L"Item", WS_CHILD | WS_VISIBLE | style, 10, y, 150, 24, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }

  TSkinData data{nullptr};
  HWND host = nullptr;
  TWinSkinForm* sf = nullptr;
};

TEST_F(WindowBindingTest, ButtonWindowsByTheirStyle) {
  HWND push = Child(host, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0);
  HWND def = Child(host, L"BUTTON", BS_DEFPUSHBUTTON, 30);
  HWND check = Child(host, L"BUTTON", BS_AUTOCHECKBOX, 60);
  HWND pushBox = Child(host, L"BUTTON", BS_PUSHBOX, 90);
  HWND radio = Child(host, L"BUTTON", BS_AUTORADIOBUTTON, 120);
  HWND frame = Child(host, L"BUTTON", BS_GROUPBOX, 150);
  HWND owner = Child(host, L"BUTTON", BS_OWNERDRAW, 180);
  HWND text = Child(host, L"STATIC", 0, 210);
  HWND notChild = CreateWindowExW(0, L"BUTTON", L"Popup", WS_POPUP, 0, 0, 50, 20, host, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  sf->InitHwndControls(host);
  auto is = [&](HWND h, const fw::TClassInfo& cls) {
    TSkinControl* c = sf->FindControlByHandle(h);
    return c && c->Is(cls) && Skinned(h);
  };
  EXPECT_TRUE(is(push, TSkinButton::StaticClass()));
  EXPECT_TRUE(is(def, TSkinButton::StaticClass()));
  EXPECT_TRUE(is(check, TSkinCheckBox::StaticClass()));
  EXPECT_TRUE(is(pushBox, TSkinCheckBox::StaticClass()));
  EXPECT_TRUE(is(radio, TSkinRadioButton::StaticClass()));
  for (HWND h : {frame, owner, text, notChild}) {
    EXPECT_EQ(sf->FindControlByHandle(h), nullptr);
    EXPECT_FALSE(Skinned(h));
  }
  // Bare-window objects belong to the skinner.
  EXPECT_EQ(sf->FindControlByHandle(push)->Owner(), sf);
  EXPECT_EQ(sf->Controllist.size(), 5u);
  sf->InitHwndControls(host);
  EXPECT_EQ(sf->Controllist.size(), 5u);
  DestroyWindow(notChild);
}

TEST_F(WindowBindingTest, DialogInsideReachesItsOwnChildren) {
  HWND dialog = CreateWindowExW(0, MAKEINTATOM(32770), L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, host,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  HWND deep = Child(dialog, L"BUTTON", BS_PUSHBUTTON, 10);
  sf->InitHwndControls(host);
  EXPECT_TRUE(Skinned(deep));
  ASSERT_NE(sf->FindControlByHandle(dialog), nullptr);
  EXPECT_TRUE(sf->FindControlByHandle(dialog)->Is(TSkinBoxH::StaticClass()));
  // The inner window was bound before the dialog itself.
  EXPECT_EQ(sf->Controllist.front()->hwnd, deep);
}

TEST_F(WindowBindingTest, AWindowThatGoesIsDroppedByTheNextPass) {
  HWND push = Child(host, L"BUTTON", BS_PUSHBUTTON, 0);
  sf->InitHwndControls(host);
  ASSERT_EQ(sf->Controllist.size(), 1u);
  DestroyWindow(push);
  EXPECT_EQ(sf->Controllist.front()->skinstate, scDestroyed);
  sf->InitHwndControls(host);
  EXPECT_TRUE(sf->Controllist.empty());
}

}  // namespace
}  // namespace skin
