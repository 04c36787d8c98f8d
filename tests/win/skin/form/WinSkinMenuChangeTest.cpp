// A framework form whose menu changes while its skinned menu bar stands in:
// the form gives the window a native menu built afresh and tells it
// (CM_MENUCHANGED); the bar is rebuilt from it when the skin data's
// MenuUpdate is set, and the window shows no native menu bar either way.
#include <gtest/gtest.h>

#include "gui/Form.h"
#include "gui/Menus.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinMenuBar.h"
#include "skin/model/SkinTestArchive.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

class MenuChangeTest : public testing::Test {
 protected:
  void SetUp() override {
    InstallWinSkinPlatform();
    test::TSkinFiles files;
    files.ini = "[TitlebarSkin]\nSkinName=Change\n[Personality]\nTop=top.bmp\nTopFrame=2\n";
    files.Bitmap("top.bmp", test::Strip(6, 9, 2));
    ASSERT_TRUE(test::LoadSkin(data, files));
    form = new fw::TForm(nullptr);
    form->SetBounds(40, 40, 360, 260);
    mainMenu = new fw::TMainMenu(form);
    top = new fw::TMenuItem(form);
    top->SetCaption(L"File");
    auto* quit = new fw::TMenuItem(form);
    quit->SetCaption(L"Quit");
    top->Add(quit);
    mainMenu->Add(top);
    form->SetMenu(mainMenu);
    form->HandleNeeded();
    ASSERT_NE(GetMenu(form->Handle()), nullptr);
  }
  void Skin() {
    sf = new TWinSkinForm(form);
    sf->hwnd = form->Handle();
    sf->InitTform(&data, form);
    ASSERT_TRUE(sf->IsSubclassed());
    ASSERT_NE(sf->menu, nullptr);
    ASSERT_EQ(sf->menu->Buttons.size(), 1u);
    EXPECT_EQ(sf->menu->Buttons[0]->caption, L"File");
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete form;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  TSkinData data{nullptr};
  fw::TForm* form = nullptr;
  fw::TMainMenu* mainMenu = nullptr;
  fw::TMenuItem* top = nullptr;
  TWinSkinForm* sf = nullptr;
};

TEST_F(MenuChangeTest, TheBarIsRebuiltWhenMenuUpdateIsSet) {
  data.SetMenuUpdate(true);
  Skin();
  top->SetCaption(L"Edit");
  auto* more = new fw::TMenuItem(form);
  more->SetCaption(L"Help");
  auto* about = new fw::TMenuItem(form);
  about->SetCaption(L"About");
  more->Add(about);
  mainMenu->Add(more);
  form->MenuChanged();
  ASSERT_EQ(sf->menu->Buttons.size(), 2u);
  EXPECT_EQ(sf->menu->Buttons[0]->caption, L"Edit");
  EXPECT_EQ(sf->menu->Buttons[1]->caption, L"Help");
  EXPECT_NE(sf->menu->Buttons[1]->hsubmenu, nullptr);
  // The skinned bar stands in for the new menu too, which is kept to be given back.
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(sf->hmenu, mainMenu->Handle());
}

TEST_F(MenuChangeTest, TheBarStaysWithoutMenuUpdate) {
  data.SetMenuUpdate(false);
  Skin();
  top->SetCaption(L"Edit");
  form->MenuChanged();
  ASSERT_EQ(sf->menu->Buttons.size(), 1u);
  EXPECT_EQ(sf->menu->Buttons[0]->caption, L"File");
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MenuChangeTest, SkinningEndsWithTheNewMenuGivenBack) {
  data.SetMenuUpdate(true);
  Skin();
  top->SetCaption(L"Edit");
  form->MenuChanged();
  sf->UnSubclass();
  EXPECT_EQ(GetMenu(form->Handle()), mainMenu->Handle());
}

}  // namespace
}  // namespace skin
