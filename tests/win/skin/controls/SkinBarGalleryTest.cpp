// The bar gallery (status bars, progress bars, track bars) bound by a form
// skinner with the skin the build makes: every bar answers the skin query,
// and the window, read back from the screen, looks as stored
// (tests/win/skin/controls/reference, 24-bit BMP). Pixels may differ by
// anti-aliasing inside the status bars' texts only. A missing or different
// reference fails the case and leaves the capture beside the test program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/BarGallery.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

class SkinBarGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
    ASSERT_FALSE(data.Empty);
    gallery = fw::MakeBarGallery(nullptr);
    sf = new TWinSkinForm(gallery.form);
    sf->hwnd = gallery.form->Handle();
    sf->InitTform(&data, gallery.form);
    ASSERT_TRUE(sf->IsSubclassed());
    sf->InitControls(gallery.form);
  }
  void TearDown() override {
    if (sf) sf->Release();
    delete gallery.form;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  TSkinData data{nullptr};
  fw::TBarGallery gallery;
  TWinSkinForm* sf = nullptr;
};

TEST_F(SkinBarGalleryTest, EveryBarIsBoundAndLooksAsStored) {
  const std::vector<fw::TWinControl*> bars{
      gallery.panels,       gallery.rightToLeft, gallery.simple,       gallery.blank, gallery.half,
      gallery.offset,       gallery.negative,    gallery.empty,        gallery.full,  gallery.standing,
      gallery.standingFull, gallery.track,       gallery.trackVertical};
  for (size_t i = 0; i < bars.size(); ++i)
    EXPECT_EQ(SendMessageW(bars[i]->Handle(), WM_ISSKINNED, 0, 0), 1) << "bar " << i << " of the gallery";
  gallery.form->Show();
  SetForegroundWindow(gallery.form->Handle());
  fw::test::Pump(200);
  std::vector<TRect> text;
  for (fw::TStatusBar* bar : {gallery.panels, gallery.rightToLeft, gallery.simple, gallery.blank}) {
    RECT r = bar->BoundsRect();
    text.push_back(Rect(r.left, r.top, r.right, r.bottom));
  }
  look::ExpectLooksLikeReference(look::ClientShot(gallery.form->Handle()),
                                 look::ReferenceBeside(__FILE__, "bar-gallery"), "bar-gallery", text);
}

}  // namespace
}  // namespace skin
