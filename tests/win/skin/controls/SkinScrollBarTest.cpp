// Scroll-bar overlays on a memo and a grid: laid exactly over the native
// bars, drawn from the skin in each state (read back from memory device
// contexts), and kept in place and up to date when the control moves, hides,
// or scrolls by keyboard, wheel or program.
#include <string>

#include "gui/DBGrid.h"
#include "gui/Form.h"
#include "gui/Memo.h"
#include "gui/ScrollGallery.h"
#include "skin/form/SkinMessages.h"
#include "win/gui/RealInput.h"
#include "win/skin/controls/ScrollBarFixture.h"

namespace skin {
namespace {

using test::PumpFor;

RECT BarRect(HWND hwnd, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(hwnd, object, &info);
  return info.rcScrollBar;
}

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != 0;
}

class SkinScrollBarTest : public test::ScrollBarFixture {
 protected:
  void SetUp() override {
    LoadSkin();
    if (IsSkipped()) return;
    gallery = fw::MakeScrollGallery(nullptr);
    memoSkin = new TSkinScrollbar(gallery.memo);
    memoSkin->InitScrollbar(gallery.memo, &data, nullptr);
    gridSkin = new TSkinListView(gallery.grid);
    gridSkin->InitScrollbar(gallery.grid, &data, nullptr);
    fw::test::ShowInFront(gallery.form->Handle());
    PumpFor(100);
  }
  void TearDown() override { delete gallery.form; }

  HWND Memo() const { return gallery.memo->Handle(); }
  HWND Grid() const { return gallery.grid->Handle(); }

  fw::TScrollGallery gallery;
  TSkinScrollbar* memoSkin = nullptr;
  TSkinScrollbar* gridSkin = nullptr;
};

TEST_F(SkinScrollBarTest, OverlaysLieExactlyOverTheNativeBarsJustAboveTheirControl) {
  for (TSkinScrollbar* skin : {memoSkin, gridSkin}) {
    HWND window = skin->hwnd;
    ASSERT_TRUE(skin->hb && skin->vb);
    EXPECT_TRUE(skin->hb->sbVisible);
    EXPECT_TRUE(skin->vb->sbVisible);
    EXPECT_TRUE(SameRect(WindowRectOf(skin->hb->Handle()), BarRect(window, OBJID_HSCROLL)));
    EXPECT_TRUE(SameRect(WindowRectOf(skin->vb->Handle()), BarRect(window, OBJID_VSCROLL)));
    EXPECT_EQ(GetParent(skin->vb->Handle()), GetParent(window));
    // Both overlays sit right above the control in the sibling order.
    HWND above = GetWindow(window, GW_HWNDPREV);
    EXPECT_TRUE(above == skin->hb->Handle() || above == skin->vb->Handle());
    EXPECT_EQ(SendMessageW(window, WM_ISSKINNED, 0, 0), 1);
    // The overlays are ours, not controls that claim to be skinned.
    EXPECT_EQ(SendMessageW(skin->vb->Handle(), WM_ISSKINNED, 0, 0), 0);
  }
}

TEST_F(SkinScrollBarTest, PrintedBarIsTheSkinPictureWithTheSkinArrows) {
  TWScrollbar& vb = *memoSkin->vb;
  TBitmap printed = Print(vb);
  TBitmap expected = Expected(vb);
  ASSERT_FALSE(expected.Empty());
  EXPECT_TRUE(printed == expected);
  // Independently of the composer: the arrow images of the strip, 1:1 when
  // the skin's arrows are as long as the platform's.
  if (vb.CW == data.SArrow->Map.Height() && printed.Width() == vb.CW) {
    const int32_t n = vb.CW;
    EXPECT_EQ(printed.Pixel(n / 2, n / 2), ArrowPixel(9, n / 2, n / 2, n, n));
    EXPECT_EQ(printed.Pixel(n / 2, printed.Height() - n / 2), ArrowPixel(13, n / 2, n / 2, n, n));
    TBitmap horizontal = Print(*memoSkin->hb);
    EXPECT_EQ(horizontal.Pixel(n / 2, n / 2), ArrowPixel(1, n / 2, n / 2, n, n));
  }
}

TEST_F(SkinScrollBarTest, HotAndPressedArrowsAndThumb) {
  TWScrollbar& vb = *memoSkin->vb;
  TBitmap normal = Print(vb);
  SendMessageW(vb.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(vb.scrollpos, spLineUp);
  TBitmap hot = Print(vb);
  EXPECT_TRUE(hot == Expected(vb, spLineUp, false));
  EXPECT_FALSE(hot == normal);
  vb.fdown = true;
  TBitmap pressed = Print(vb);
  EXPECT_TRUE(pressed == Expected(vb, spLineUp, true));
  EXPECT_FALSE(pressed == hot);
  vb.fdown = false;
  SendMessageW(vb.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(vb.scrollpos, spNone);
  EXPECT_TRUE(Print(vb) == normal);
  // Over the thumb: its mouse-over face.
  int32_t middle = (vb.thumbTop + vb.thumbbottom) / 2;
  SendMessageW(vb.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, middle));
  EXPECT_EQ(vb.scrollpos, spThumbTrack);
  EXPECT_TRUE(Print(vb) == Expected(vb, spThumbTrack, false));
}

TEST_F(SkinScrollBarTest, DisabledBarShowsTheDisabledShaftAndNoThumb) {
  TWScrollbar& vb = *memoSkin->vb;
  TBarGeometry before;
  ASSERT_TRUE(vb.GetGeometry(before));
  EnableScrollBar(Memo(), SB_VERT, ESB_DISABLE_BOTH);
  TBarGeometry g;
  ASSERT_TRUE(vb.GetGeometry(g));
  ASSERT_TRUE(g.unavailable);
  TBitmap printed = Print(vb);
  EXPECT_TRUE(printed == Expected(vb));
  // Where the thumb was, the shaft's disabled image.
  int32_t y = (before.thumb.top + before.thumb.bottom) / 2;
  const TDataSkinObject& shaft = *data.VBar;
  int32_t imageWidth = shaft.Map.Width() / kShaftImages;
  TPixel disabledShaft = shaft.Map.Pixel(2 * imageWidth + imageWidth / 2, shaft.Map.Height() / 2);
  EXPECT_EQ(printed.Pixel(vb.CW / 2, y), disabledShaft);
}

TEST_F(SkinScrollBarTest, AShortBarDrawsTwoHalfArrows) {
  gallery.memo->SetBounds(8, 8, 200, 50);
  PumpFor(50);
  TWScrollbar& vb = *memoSkin->vb;
  ASSERT_TRUE(vb.sbVisible);
  ASSERT_LT(vb.Len, 2 * vb.CW);
  TBitmap printed = Print(vb);
  EXPECT_TRUE(printed == Expected(vb));
  const int32_t half = vb.Len / 2;
  // The up arrow ends and the down arrow begins at the middle.
  EXPECT_EQ(printed.Pixel(vb.CW / 2, 0), ArrowPixel(9, vb.CW / 2, 0, vb.CW, half));
  EXPECT_EQ(printed.Pixel(vb.CW / 2, vb.Len - 1), ArrowPixel(13, vb.CW / 2, half - 1, vb.CW, half));
}

TEST_F(SkinScrollBarTest, OverlaysFollowMovingResizingHidingAndShowing) {
  gallery.memo->SetBounds(30, 20, 170, 110);
  PumpFor(50);
  EXPECT_TRUE(SameRect(WindowRectOf(memoSkin->vb->Handle()), BarRect(Memo(), OBJID_VSCROLL)));
  EXPECT_TRUE(SameRect(WindowRectOf(memoSkin->hb->Handle()), BarRect(Memo(), OBJID_HSCROLL)));
  gallery.memo->SetVisible(false);
  PumpFor(30);
  EXPECT_FALSE(IsWindowVisible(memoSkin->vb->Handle()));
  EXPECT_FALSE(IsWindowVisible(memoSkin->hb->Handle()));
  gallery.memo->SetBounds(10, 10, 190, 120);
  gallery.memo->SetVisible(true);
  PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(memoSkin->vb->Handle()));
  EXPECT_TRUE(SameRect(WindowRectOf(memoSkin->vb->Handle()), BarRect(Memo(), OBJID_VSCROLL)));
}

TEST_F(SkinScrollBarTest, ScreenShowsTheThumbAfterProgramKeyboardAndWheelScrolling) {
  TWScrollbar& memoBar = *memoSkin->vb;
  TBitmap atTop = OnScreen(memoBar);
  ASSERT_TRUE(atTop == Expected(memoBar));
  // By program.
  SendMessageW(Memo(), EM_LINESCROLL, 0, 20);
  PumpFor(50);
  EXPECT_FALSE(OnScreen(memoBar) == atTop);
  EXPECT_TRUE(OnScreen(memoBar) == Expected(memoBar));
  // By keyboard.
  gallery.memo->SetFocus();
  fw::test::TapKey(VK_NEXT);
  PumpFor(80);
  EXPECT_TRUE(OnScreen(memoBar) == Expected(memoBar));
  // By wheel.
  POINT centre = fw::test::CentreOf(*gallery.memo);
  SendMessageW(Memo(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
  PumpFor(50);
  EXPECT_TRUE(OnScreen(memoBar) == Expected(memoBar));
  // The grid, by program and by wheel.
  TWScrollbar& gridBar = *gridSkin->vb;
  TBitmap gridTop = OnScreen(gridBar);
  SendMessageW(Grid(), LVM_ENSUREVISIBLE, 300, FALSE);
  PumpFor(50);
  EXPECT_FALSE(OnScreen(gridBar) == gridTop);
  EXPECT_TRUE(OnScreen(gridBar) == Expected(gridBar));
  centre = fw::test::CentreOf(*gallery.grid);
  SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
  PumpFor(50);
  EXPECT_TRUE(OnScreen(gridBar) == Expected(gridBar));
}

TEST_F(SkinScrollBarTest, UnsubclassGivesTheNativeBarsBack) {
  HWND overlay = memoSkin->vb->Handle();
  memoSkin->Unsubclass();
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(memoSkin->vb, nullptr);
}

}  // namespace
}  // namespace skin
