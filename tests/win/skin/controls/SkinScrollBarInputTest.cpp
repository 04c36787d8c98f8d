// Real mouse input on scroll-bar overlays: the press reaches the real bar
// underneath, so arrows, shaft and thumb scroll as the platform's own do,
// and the painted thumb follows the cursor while dragging. The input comes
// from a second thread: the platform's tracking runs inside the press on
// this one until the button is released.
#include <atomic>
#include <thread>

#include "gui/ScrollGallery.h"
#include "win/gui/RealInput.h"
#include "win/skin/controls/ScrollBarFixture.h"

namespace skin {
namespace {

using test::PumpFor;

// From the input thread: this one pumps meanwhile.
void RawMove(POINT p) {
  fw::test::SendMouseMove(p);
  Sleep(40);
}

void RawButton(bool down) {
  fw::test::SendMouseButton(down);
  Sleep(60);
}

// Runs `inputs` on another thread while this one handles its messages.
void WithInput(const std::function<void()>& inputs) {
  std::atomic<bool> finished{false};
  std::thread driver([&] {
    inputs();
    finished = true;
  });
  fw::test::PumpUntil([&] { return finished.load(); }, 4000);
  driver.join();
  PumpFor(40);
}

void Click(POINT p) {
  WithInput([p] {
    RawMove(p);
    RawButton(true);
    RawButton(false);
  });
}

// A point of an overlay, `along` pixels from the bar's start, mid-thickness.
POINT OnBar(const TWScrollbar& bar, int32_t along) {
  RECT r{};
  GetWindowRect(bar.Handle(), &r);
  if (bar.sbDir == 1) return POINT{(r.left + r.right) / 2, r.top + along};
  return POINT{r.left + along, (r.top + r.bottom) / 2};
}

class SkinScrollBarInputTest : public test::ScrollBarFixture {
 protected:
  void SetUp() override {
    LoadSkin();
    if (IsSkipped()) return;
    gallery = fw::MakeScrollGallery(nullptr);
    memoSkin = new TSkinScrollbar(gallery.memo);
    memoSkin->InitScrollbar(gallery.memo, &data, nullptr);
    for (fw::TScrollBar* b : {gallery.hbar, gallery.disabledBar}) {
      auto* s = new TSkinScControl(b);
      s->InitScrollbar(b, &data, nullptr);
      barSkins.push_back(s);
    }
    fw::test::ShowInFront(gallery.form->Handle());
    PumpFor(80);
  }
  void TearDown() override { delete gallery.form; }
  int FirstLine() const {
    return static_cast<int>(SendMessageW(gallery.memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  }

  fw::TScrollGallery gallery;
  TSkinScrollbar* memoSkin = nullptr;
  std::vector<TSkinScControl*> barSkins;
};

TEST_F(SkinScrollBarInputTest, ArrowsAndShaftOfAWindowBarScrollTheMemo) {
  TWScrollbar& vb = *memoSkin->vb;
  ASSERT_EQ(FirstLine(), 0);
  Click(OnBar(vb, vb.Len - vb.CW / 2));
  EXPECT_EQ(FirstLine(), 1);
  Click(OnBar(vb, vb.CW / 2));
  EXPECT_EQ(FirstLine(), 0);
  Click(OnBar(vb, vb.Len - vb.CW - 3));
  EXPECT_GT(FirstLine(), 2);
  // Released over the arrow it pressed: the arrow's mouse-over face.
  Click(OnBar(vb, vb.Len - vb.CW / 2));
  EXPECT_EQ(vb.scrollpos, spLineDown);
  EXPECT_TRUE(SamePicture(OnScreen(vb), Expected(vb, spLineDown, false), "released-arrow"));
}

TEST_F(SkinScrollBarInputTest, DraggedThumbFollowsTheCursorAndScrollsTheMemo) {
  TWScrollbar& vb = *memoSkin->vb;
  const int32_t start = vb.thumbTop;
  const int32_t grab = (vb.thumbTop + vb.thumbbottom) / 2;
  std::atomic<int32_t> midDrag{-1};
  std::atomic<bool> pressedFace{false};
  WithInput([&] {
    RawMove(OnBar(vb, grab));
    RawButton(true);
    for (int step = 1; step <= 3; ++step) RawMove(OnBar(vb, grab + 10 * step));
    Sleep(60);
    midDrag = vb.thumbTop;
    pressedFace = vb.fdown && vb.scrollpos == spThumbTrack;
    RawButton(false);
  });
  EXPECT_TRUE(pressedFace.load());
  EXPECT_EQ(midDrag.load(), start + 30);
  EXPECT_GT(FirstLine(), 0);
  EXPECT_FALSE(vb.fdown);
}

TEST_F(SkinScrollBarInputTest, AStandAloneBarMovesItsPositionAndADisabledOneDoesNot) {
  TWScrollbar& bar = *barSkins[0]->sb;
  ASSERT_TRUE(bar.sbVisible);
  int changes = 0;
  gallery.hbar->OnChange.handler = [&](fw::TObject*) { ++changes; };
  Click(OnBar(bar, bar.Len - bar.CW / 2));
  EXPECT_EQ(gallery.hbar->Position(), 1);
  EXPECT_EQ(changes, 1);
  Click(OnBar(bar, bar.Len - bar.CW - 3));
  EXPECT_EQ(gallery.hbar->Position(), 11);
  Click(OnBar(bar, bar.CW / 2));
  EXPECT_EQ(gallery.hbar->Position(), 10);

  TWScrollbar& disabled = *barSkins[1]->sb;
  Click(OnBar(disabled, disabled.Len - disabled.CW / 2));
  EXPECT_EQ(gallery.disabledBar->Position(), 0);
}

}  // namespace
}  // namespace skin
