// The form skinner binds the scroll-bar family: a memo gets a scroll-bar
// object, the grid (a list view window) the list view's with its column
// header skinned, a stand-alone scroll bar its own; WM_SKINRESCROLL makes a
// control's object anew; switching skinning off takes every overlay away.
#include "gui/ScrollGallery.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "win/skin/controls/ScrollBarFixture.h"

namespace skin {
namespace {

using test::PumpFor;

class SkinScrollBindingTest : public test::ScrollBarFixture {
 protected:
  void SetUp() override {
    LoadSkin();
    if (IsSkipped()) return;
    g = fw::MakeScrollGallery(nullptr);
    sf = new TWinSkinForm(g.form);
    sf->hwnd = g.form->Handle();
    sf->InitTform(&data, g.form);
    ASSERT_TRUE(sf->IsSubclassed());
    sf->InitControls(g.form);
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete g.form;
  }
  TSkinControl* ObjectOf(fw::TWinControl* c) const { return sf->FindControlByHandle(c->Handle()); }

  fw::TScrollGallery g;
  TWinSkinForm* sf = nullptr;
};

TEST_F(SkinScrollBindingTest, EachScrollableControlGetsItsObject) {
  TSkinControl* memo = ObjectOf(g.memo);
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->Is(TSkinScrollbar::StaticClass()));
  EXPECT_FALSE(memo->Is(TSkinListView::StaticClass()));
  TSkinControl* grid = ObjectOf(g.grid);
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(grid->Is(TSkinListView::StaticClass()));
  HWND header = reinterpret_cast<HWND>(SendMessageW(g.grid->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  TSkinControl* headerObject = sf->FindControlByHandle(header);
  ASSERT_NE(headerObject, nullptr);
  EXPECT_TRUE(headerObject->Is(TSkinHeader::StaticClass()));
  EXPECT_EQ(SendMessageW(header, WM_ISSKINNED, 0, 0), 1);
  for (fw::TScrollBar* bar : {g.hbar, g.vbar, g.disabledBar}) {
    TSkinControl* object = ObjectOf(bar);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->Is(TSkinScControl::StaticClass()));
    EXPECT_NE(static_cast<TSkinScControl*>(object)->sb, nullptr);
  }
  for (fw::TWinControl* c : std::initializer_list<fw::TWinControl*>{g.memo, g.grid, g.hbar, g.vbar})
    EXPECT_EQ(SendMessageW(c->Handle(), WM_ISSKINNED, 0, 0), 1);
  // A second pass makes no second object.
  size_t count = sf->Controllist.size();
  sf->InitControls(g.form);
  EXPECT_EQ(sf->Controllist.size(), count);
}

TEST_F(SkinScrollBindingTest, RescrollMakesTheObjectAnewOfTheSameKind) {
  auto* before = static_cast<TSkinScrollbar*>(ObjectOf(g.grid));
  ASSERT_NE(before, nullptr);
  HWND oldOverlay = before->vb->Handle();
  PostMessageW(g.form->Handle(), WM_SKINRESCROLL, reinterpret_cast<WPARAM>(g.grid->Handle()), 0);
  PumpFor(50);
  TSkinControl* after = ObjectOf(g.grid);
  ASSERT_NE(after, nullptr);
  EXPECT_TRUE(after->Is(TSkinListView::StaticClass()));
  EXPECT_FALSE(IsWindow(oldOverlay));
  auto* fresh = static_cast<TSkinScrollbar*>(after);
  ASSERT_NE(fresh->vb, nullptr);
  EXPECT_TRUE(fresh->vb->sbVisible);
  EXPECT_EQ(SendMessageW(g.grid->Handle(), WM_ISSKINNED, 0, 0), 1);
}

TEST_F(SkinScrollBindingTest, SkinningOffTakesTheOverlaysAway) {
  auto* memo = static_cast<TSkinScrollbar*>(ObjectOf(g.memo));
  ASSERT_NE(memo, nullptr);
  HWND overlay = memo->vb->Handle();
  // The gallery form itself is never shown: the overlay's own state says it is placed.
  ASSERT_TRUE(IsWindow(overlay));
  ASSERT_TRUE(memo->vb->sbVisible);
  sf->Release();
  sf = nullptr;
  PumpFor(30);
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_NE(SendMessageW(g.memo->Handle(), WM_ISSKINNED, 0, 0), 1);
}

}  // namespace
}  // namespace skin
