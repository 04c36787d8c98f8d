// The bar gallery (status bars, progress bars, track bars) bound by a form
// skinner with the skin the build makes: every bar answers the skin query,
// and the window, read back from the screen, looks as stored
// (tests/win/skin/controls/reference, 24-bit BMP). Pixels may differ by
// anti-aliasing inside the status bars' texts only. A missing or different
// reference fails the case and leaves the capture beside the test program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/BarGallery.h"
#include "skin/archive/Streams.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"

namespace skin {
namespace {

using look::BesideProgram;
using look::Near;
using look::WinePath;

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

class SkinBarGalleryTest : public testing::Test {
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

  TBitmap Shot(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    TBitmap shot = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
    ReleaseDC(nullptr, screen);
    return shot;
  }

  void ExpectLooksLikeReference(const TBitmap& shot, const std::string& name,
                                const std::vector<TRect>& text) {
    std::vector<uint8_t> bytes = shot.SaveToBmp();
    std::string capture = BesideProgram(name + ".bmp");
    std::ofstream(capture, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::string here = WinePath(__FILE__);
    std::string reference = here.substr(0, here.find_last_of('\\')) + "\\reference\\" + name + ".bmp";
    std::ifstream in(reference, std::ios::binary);
    ASSERT_TRUE(in) << "no reference " << reference << "; the capture is " << capture;
    std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TBitmap expected;
    ASSERT_TRUE(expected.LoadFromBmp(stored));
    ASSERT_EQ(shot.Width(), expected.Width());
    ASSERT_EQ(shot.Height(), expected.Height());
    int outside = 0, inside = 0, textArea = 0;
    for (const TRect& t : text) textArea += t.Width() * t.Height();
    for (int32_t y = 0; y < shot.Height(); ++y)
      for (int32_t x = 0; x < shot.Width(); ++x) {
        bool inText = false;
        for (const TRect& t : text) inText |= x >= t.Left && x < t.Right && y >= t.Top && y < t.Bottom;
        if (Near(shot.Pixel(x, y), expected.Pixel(x, y), inText ? 48 : 2)) continue;
        ++(inText ? inside : outside);
      }
    EXPECT_EQ(outside, 0) << name << ": pixels outside the texts differ from the reference; capture "
                          << capture;
    EXPECT_LE(inside, textArea / 50) << name << ": text pixels differ from the reference; capture "
                                     << capture;
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
  Pump(200);
  std::vector<TRect> text;
  for (fw::TStatusBar* bar : {gallery.panels, gallery.rightToLeft, gallery.simple, gallery.blank}) {
    RECT r = bar->BoundsRect();
    text.push_back(Rect(r.left, r.top, r.right, r.bottom));
  }
  ExpectLooksLikeReference(Shot(gallery.form->Handle()), "bar-gallery", text);
}

}  // namespace
}  // namespace skin
