// The tab gallery skinned by the form skinner with our own skin: every page
// control gets the tab object of its style, every page its page object,
// every media player its overlay, all answer the skin query; the window
// looks as stored (tests/win/skin/controls/reference/tab-gallery.bmp; pixels
// may differ by anti-aliasing inside the tab captions only).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/TabGallery.h"
#include "skin/controls/WinSkinMediaPlayer.h"
#include "skin/controls/WinSkinTab.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

class SkinTabGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
    ASSERT_FALSE(data.Empty);
    ASSERT_NE(data.tab, nullptr);
    g = fw::MakeTabGallery(nullptr);
    sf = new TWinSkinForm(g.form);
    sf->hwnd = g.form->Handle();
    sf->InitTform(&data, g.form);
    sf->InitControls(g.form);
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete g.form;
  }
  TSkinControl* ObjectOf(fw::TWinControl* c) const { return sf->FindControlByHandle(c->Handle()); }
  static bool Skinned(fw::TWinControl* c) { return SendMessageW(c->Handle(), WM_ISSKINNED, 0, 0) == 1; }

  TSkinData data{nullptr};
  fw::TTabGallery g;
  TWinSkinForm* sf = nullptr;
};

TEST_F(SkinTabGalleryTest, EveryPageControlPageAndPlayerGetsItsObject) {
  for (fw::TPageControl* p : {g.top, g.bottom, g.left, g.right, g.closing, g.many}) {
    TSkinControl* o = ObjectOf(p);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->Is(TSkinTab::StaticClass()));
    EXPECT_TRUE(Skinned(p));
    for (int i = 0; i < p->PageCount(); ++i) {
      TSkinControl* page = ObjectOf(p->Page(i));
      ASSERT_NE(page, nullptr);
      EXPECT_TRUE(page->Is(TSkinTabSheet::StaticClass()));
      EXPECT_TRUE(Skinned(p->Page(i)));
    }
  }
  EXPECT_EQ(static_cast<TSkinTab*>(ObjectOf(g.bottom))->Position, Stbottom);
  EXPECT_EQ(static_cast<TSkinTab*>(ObjectOf(g.left))->Position, Stleft);
  EXPECT_EQ(static_cast<TSkinTab*>(ObjectOf(g.right))->Position, Stright);
  EXPECT_TRUE(static_cast<TSkinTab*>(ObjectOf(g.closing))->showclose);
  EXPECT_FALSE(static_cast<TSkinTab*>(ObjectOf(g.top))->showclose);
  // The arrows of the page control whose tabs do not fit are skinned too.
  HWND arrows = FindWindowExW(g.many->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(SendMessageW(arrows, WM_ISSKINNED, 0, 0), 1);
  ASSERT_NE(ObjectOf(g.buttons), nullptr);
  EXPECT_TRUE(ObjectOf(g.buttons)->Is(TSkinTabBtn::StaticClass()));
  for (fw::TMediaPlayer* m : {g.player, g.narrow}) {
    TSkinControl* o = ObjectOf(m);
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->Is(TSkinMP::StaticClass()));
    EXPECT_NE(static_cast<TSkinMP*>(o)->mp, nullptr);
    EXPECT_TRUE(Skinned(m));
  }
  // Binding again makes nothing new, and the overlays are never bound themselves.
  const size_t count = sf->Controllist.size();
  sf->InitControls(g.form);
  EXPECT_EQ(sf->Controllist.size(), count);
}

TEST_F(SkinTabGalleryTest, WindowLooksAsStored) {
  fw::test::ShowInFront(g.form->Handle());
  fw::test::MoveMouse(POINT{1270, 790});
  fw::test::Pump(200);
  const TBitmap shot = look::ClientShot(g.form->Handle());
  // Text may differ only by anti-aliasing: a few pixels, none of them far off.
  look::ExpectNearReference(shot, look::ReferenceBeside(__FILE__, "tab-gallery"), "tab-gallery",
                            shot.Width() * shot.Height() / 200, 40);
}

}  // namespace
}  // namespace skin
