// The tab gallery skinned by the form skinner with our own skin: every page
// control gets the tab object of its style, every page its page object,
// every media player its overlay, all answer the skin query; the window
// looks as stored (tests/win/skin/controls/reference/tab-gallery.bmp; pixels
// may differ by anti-aliasing inside the tab captions only).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/TabGallery.h"
#include "skin/archive/Streams.h"
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

using look::BesideProgram;
using look::Near;
using look::WinePath;

class SkinTabGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = QM_SKIN_FILE;
    if (path.empty()) GTEST_SKIP() << "no skin was built";
    TMemoryStream stored;
    try {
      stored.LoadFromFile(WinePath(path));
    } catch (const std::exception& e) {
      GTEST_SKIP() << "skin not readable: " << e.what();
    }
    data.ReadSkinStream(stored);
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
  RECT r;
  GetClientRect(g.form->Handle(), &r);
  MapWindowPoints(g.form->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  HDC screen = GetDC(nullptr);
  TBitmap shot = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
  ReleaseDC(nullptr, screen);
  const std::string name = "tab-gallery";
  std::vector<uint8_t> bytes = shot.SaveToBmp();
  std::ofstream(BesideProgram(name + ".bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::string here = WinePath(__FILE__);
  std::string reference = here.substr(0, here.find_last_of('\\')) + "\\reference\\" + name + ".bmp";
  std::ifstream in(reference, std::ios::binary);
  ASSERT_TRUE(in) << "no reference " << reference << "; the capture is " << BesideProgram(name + ".bmp");
  std::vector<uint8_t> storedBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap stored;
  ASSERT_TRUE(stored.LoadFromBmp(storedBytes));
  ASSERT_EQ(shot.Width(), stored.Width());
  ASSERT_EQ(shot.Height(), stored.Height());
  // Text may differ only by anti-aliasing: a few pixels, none of them far off.
  int slight = 0, strong = 0;
  for (int32_t y = 0; y < shot.Height(); ++y)
    for (int32_t x = 0; x < shot.Width(); ++x) {
      if (Near(shot.Pixel(x, y), stored.Pixel(x, y), 2)) continue;
      ++slight;
      strong += Near(shot.Pixel(x, y), stored.Pixel(x, y), 64) ? 0 : 1;
    }
  EXPECT_LE(slight, shot.Width() * shot.Height() / 200) << name << ": pixels differ from the reference";
  EXPECT_LE(strong, 40) << name << ": pixels differ strongly from the reference";
}

}  // namespace
}  // namespace skin
