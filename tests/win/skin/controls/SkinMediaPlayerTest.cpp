// The media-player overlay on the tab gallery's players, worked with the
// real mouse: each overlay button passes its click on to the control
// underneath (OnClick with that button), a press on one button released
// over another clicks nothing, the two-button player 101 pixels wide, the
// overlay following the control's bounds and visibility, and the overlay
// freed with its control, also when the click's own handler frees it.
#include <gtest/gtest.h>

#include <vector>

#include "gui/TabGallery.h"
#include "skin/controls/WinSkinMediaPlayer.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

using fw::test::MouseButton;
using fw::test::MoveMouse;
using fw::test::Pump;
using fw::test::PumpUntil;

constexpr TColor kFace = 0x00C8D8E8;
// The button strip's faces: normal, pressed, disabled.
constexpr TPixel kFaces[3] = {MakePixel(40, 160, 90), MakePixel(200, 60, 60), MakePixel(120, 120, 120)};

int OverlayCount(HWND parent) {
  int n = 0;
  for (HWND h = FindWindowExW(parent, nullptr, L"TWMediaPlayer", nullptr); h;
       h = FindWindowExW(parent, h, L"TWMediaPlayer", nullptr))
    ++n;
  return n;
}

class SkinMediaPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    TBitmap strip(30, 10);
    for (int k = 0; k < 3; ++k) strip.FillRect(Rect(10 * k, 0, 10 * k + 10, 10), kFaces[k]);
    data.Button.Map = strip;
    data.Button.frame = 3;
    data.Colors[3] = kFace;
    data.Empty = false;
    g = fw::MakeTabGallery(nullptr);
    for (fw::TMediaPlayer* p : {g.player, g.narrow}) {
      p->OnClick = [this](fw::TObject* sender, fw::TMPBtnType b) {
        clicks.push_back({sender, b});
        if (freeOnClick && sender == g.player) {
          delete g.player;
          g.player = nullptr;
        }
      };
      auto* object = new TSkinMP(p);
      object->Init(nullptr, &data, false);
      ASSERT_NE(object->mp, nullptr);
    }
    fw::test::ShowInFront(g.form->Handle());
    Pump(100);
  }
  void TearDown() override {
    MouseButton(false);
    delete g.form;
  }
  TWMediaPlayer* Overlay(fw::TMediaPlayer* p) {
    for (fw::TComponent* c : p->Components())
      if (c->Is(TSkinMP::StaticClass())) return static_cast<TSkinMP*>(c)->mp;
    return nullptr;
  }
  // The screen point x pixels into the player, halfway down.
  static POINT At(fw::TMediaPlayer* p, int x) { return fw::test::ScreenPointOf(*p, x, p->Height() / 2); }
  void Click(POINT press, POINT release) {
    MoveMouse(press);
    MouseButton(true);
    MoveMouse(release);
    MouseButton(false);
    Pump(50);
  }
  TPixel Shown(fw::TMediaPlayer* p, int x, int y) {
    COLORREF c = fw::test::ScreenPixel(g.form->Handle(), p->Left() + x, p->Top() + y);
    return ColorToPixel(c);
  }

  struct Click_ {
    fw::TObject* sender;
    fw::TMPBtnType button;
  };
  TSkinData data{nullptr};
  fw::TTabGallery g;
  std::vector<Click_> clicks;
  bool freeOnClick = false;
};

TEST_F(SkinMediaPlayerTest, OverlayLiesExactlyOverTheControlAndIsNotSkinnedItself) {
  TWMediaPlayer* overlay = Overlay(g.player);
  ASSERT_NE(overlay, nullptr);
  RECT a, b;
  GetWindowRect(g.player->Handle(), &a);
  GetWindowRect(overlay->Handle(), &b);
  EXPECT_TRUE(EqualRect(&a, &b));
  EXPECT_EQ(overlay->Tag(), data.DisableTag());
  EXPECT_EQ(overlay->Parent(), g.player->Parent());
  // It is the window the mouse finds there.
  EXPECT_EQ(WindowFromPoint(At(g.player, 15)), overlay->Handle());
}

TEST_F(SkinMediaPlayerTest, EachButtonShowsItsFaceAndForwardsItsClick) {
  TWMediaPlayer* overlay = Overlay(g.player);
  // 270 pixels, nine buttons: 30 each; eject (the last) is disabled.
  EXPECT_EQ(overlay->count, 9);
  EXPECT_EQ(overlay->BtnWidth, 30);
  EXPECT_EQ(Shown(g.player, 15, 15), kFaces[0]);
  EXPECT_EQ(Shown(g.player, 8 * 30 + 15, 15), kFaces[2]);
  for (int b = fw::btPlay; b <= fw::btRecord; ++b) {
    clicks.clear();
    Click(At(g.player, 30 * b + 15), At(g.player, 30 * b + 15));
    ASSERT_EQ(clicks.size(), 1u) << "button " << b;
    EXPECT_EQ(clicks[0].button, b);
    EXPECT_EQ(clicks[0].sender, g.player);
  }
  clicks.clear();
  Click(At(g.player, 8 * 30 + 15), At(g.player, 8 * 30 + 15));
  EXPECT_TRUE(clicks.empty()) << "a disabled button clicks nothing";
}

TEST_F(SkinMediaPlayerTest, HeldButtonShowsThePressedFaceUntilReleased) {
  MoveMouse(At(g.player, 45));
  MouseButton(true);
  Pump(50);
  EXPECT_TRUE(Overlay(g.player)->IsDown);
  EXPECT_EQ(Shown(g.player, 45, 15), kFaces[1]);
  EXPECT_EQ(Shown(g.player, 15, 15), kFaces[0]);
  MouseButton(false);
  Pump(50);
  EXPECT_EQ(Shown(g.player, 45, 15), kFaces[0]);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].button, fw::btPause);
}

TEST_F(SkinMediaPlayerTest, PressOnOneButtonReleasedOverAnotherClicksNothing) {
  Click(At(g.player, 15), At(g.player, 45));
  EXPECT_TRUE(clicks.empty());
  // The next ordinary click works.
  Click(At(g.player, 75), At(g.player, 75));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].button, fw::btStop);
}

// Two buttons on 101 pixels, 50 each: the shared edge is the first's, and
// the plain last column still the second's.
TEST_F(SkinMediaPlayerTest, TwoButtonsOnAHundredAndOnePixels) {
  TWMediaPlayer* overlay = Overlay(g.narrow);
  EXPECT_EQ(overlay->count, 2);
  EXPECT_EQ(overlay->BtnWidth, 50);
  EXPECT_EQ(Shown(g.narrow, 100, 15), ColorToPixel(kFace));
  EXPECT_EQ(Shown(g.narrow, 99, 15), kFaces[0]);
  for (auto [x, expected] :
       {std::pair{50, fw::btPlay}, std::pair{51, fw::btStop}, std::pair{100, fw::btStop}}) {
    clicks.clear();
    Click(At(g.narrow, x), At(g.narrow, x));
    ASSERT_EQ(clicks.size(), 1u) << "x " << x;
    EXPECT_EQ(clicks[0].button, expected) << "x " << x;
    EXPECT_EQ(clicks[0].sender, g.narrow);
  }
}

TEST_F(SkinMediaPlayerTest, OverlayFollowsTheControlsBoundsAndVisibility) {
  TWMediaPlayer* overlay = Overlay(g.player);
  g.player->SetBounds(230, 330, 180, 40);
  RECT a, b;
  GetWindowRect(g.player->Handle(), &a);
  GetWindowRect(overlay->Handle(), &b);
  EXPECT_TRUE(EqualRect(&a, &b));
  Pump(50);
  EXPECT_EQ(overlay->BtnWidth, 20);
  g.player->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(overlay->Handle()));
  g.player->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(overlay->Handle()));
  // Clicks land where the buttons are now.
  Click(At(g.player, 50), At(g.player, 50));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].button, fw::btStop);
}

TEST_F(SkinMediaPlayerTest, OverlayIsFreedWithItsControl) {
  HWND parent = g.form->Handle();
  ASSERT_EQ(OverlayCount(parent), 2);
  HWND overlay = Overlay(g.narrow)->Handle();
  delete g.narrow;
  g.narrow = nullptr;
  EXPECT_EQ(OverlayCount(parent), 1);
  EXPECT_FALSE(IsWindow(overlay));
}

TEST_F(SkinMediaPlayerTest, OverlayFreedByTheClickItForwardsGoesWhenTheClickIsOver) {
  HWND parent = g.form->Handle();
  freeOnClick = true;
  Click(At(g.player, 15), At(g.player, 15));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(g.player, nullptr);
  EXPECT_EQ(OverlayCount(parent), 1);
}

TEST_F(SkinMediaPlayerTest, UnskinningFreesTheOverlay) {
  TSkinMP* object = nullptr;
  for (fw::TComponent* c : g.narrow->Components())
    if (c->Is(TSkinMP::StaticClass())) object = static_cast<TSkinMP*>(c);
  ASSERT_NE(object, nullptr);
  object->Unsubclass();
  EXPECT_EQ(object->mp, nullptr);
  EXPECT_EQ(OverlayCount(g.form->Handle()), 1);
  // Without the overlay the control gets the mouse itself, and still clicks.
  Click(At(g.narrow, 20), At(g.narrow, 20));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].button, fw::btPlay);
}

TEST_F(SkinMediaPlayerTest, GlyphIsCentredWithItsOliveTakingTheFace) {
  TWMediaPlayer* overlay = Overlay(g.narrow);
  TBitmap glyph(8, 6, 0x00808000);
  glyph.FillRect(Rect(2, 2, 6, 4), MakePixel(10, 20, 30));
  // Every button of this player is coloured: the coloured glyph is shown.
  overlay->Buttons[btPlay].glyph[2] = glyph;
  InvalidateRect(overlay->Handle(), nullptr, FALSE);
  Pump(50);
  // Button 0 is 50 x 30: the glyph at ((50 - 8) / 2, (30 - 6) / 2) = (21, 12).
  EXPECT_EQ(Shown(g.narrow, 21, 12), ColorToPixel(kFace));
  EXPECT_EQ(Shown(g.narrow, 23, 14), MakePixel(10, 20, 30));
  EXPECT_EQ(Shown(g.narrow, 26, 15), MakePixel(10, 20, 30));
  EXPECT_EQ(Shown(g.narrow, 27, 15), ColorToPixel(kFace));
  EXPECT_EQ(Shown(g.narrow, 30, 15), kFaces[0]);
}

}  // namespace
}  // namespace skin
