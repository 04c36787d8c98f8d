// The date-time picker's skinned drop arrow: placed at the picker's right
// edge, drawn from the skin's combo arrow (normal and under the mouse), and
// handing presses to the picker at the same place.
#include <vector>

#include "gui/Form.h"
#include "gui/Panel.h"
#include "skin/form/SkinImage.h"
#include "win/skin/controls/ScrollBarFixture.h"

namespace skin {
namespace {

using test::PumpFor;

class SkinArrowButtonTest : public test::ScrollBarFixture {
 protected:
  void SetUp() override {
    LoadSkin();
    if (IsSkipped()) return;
    ASSERT_TRUE(data.comboxarrow && !data.comboxarrow->Map.Empty());
    form = new fw::TForm(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(60, 60, 300, 100);
    picker = new fw::TPanel(form);
    picker->SetBounds(10, 10, 120, 24);
    picker->SetParent(form);
    form->HandleNeeded();
    fw::TWndMethod previous = picker->WindowProc;
    picker->WindowProc = [this, previous](fw::TMessage& m) {
      if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) heard.push_back(m);
      previous(m);
    };
    owner = new TSkinControl(picker);
    owner->fsd = &data;
    arrow = new TArrowButton(picker);
    arrow->Attach(owner, picker);
    form->Show();
    PumpFor(50);
  }
  void TearDown() override { delete form; }

  TBitmap PrintArrow() {
    RECT r{};
    GetClientRect(arrow->Handle(), &r);
    TDibSection dib(r.right, r.bottom);
    SendMessageW(arrow->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
    return dib.ToBitmap();
  }
  TBitmap ExpectedFace(int image) {
    RECT r{};
    GetClientRect(arrow->Handle(), &r);
    TBitmap picture(r.right, r.bottom, ColorToPixel(ResolveColor(data.Colors[3])));
    const TDataSkinObject& a = *data.comboxarrow;
    DrawSkinFrame(picture, Rect(0, 0, r.right, picker->Height() - 4), a.Map, image, a.frame, a.trans == 1);
    return picture;
  }

  fw::TForm* form = nullptr;
  fw::TPanel* picker = nullptr;
  TSkinControl* owner = nullptr;
  TArrowButton* arrow = nullptr;
  std::vector<fw::TMessage> heard;
};

TEST_F(SkinArrowButtonTest, SitsAtThePickersRightEdgeAndThePickerClipsIt) {
  RECT r{};
  GetWindowRect(arrow->Handle(), &r);
  MapWindowPoints(nullptr, picker->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 120 - arrow->cw - 4);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, arrow->cw);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_NE(GetWindowLongPtrW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
  RECT wider{0, 0, 200, 24};
  arrow->MoveArrow(wider);
  GetWindowRect(arrow->Handle(), &r);
  MapWindowPoints(nullptr, picker->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 200 - arrow->cw - 4);
}

TEST_F(SkinArrowButtonTest, NormalAndMouseOverFaces) {
  TBitmap normal = PrintArrow();
  EXPECT_TRUE(normal == ExpectedFace(1));
  SendMessageW(arrow->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(arrow->state & Hot);
  TBitmap hot = PrintArrow();
  EXPECT_TRUE(hot == ExpectedFace(4));
  EXPECT_FALSE(hot == normal);
  SendMessageW(arrow->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(arrow->state & Hot);
  EXPECT_TRUE(PrintArrow() == normal);
}

TEST_F(SkinArrowButtonTest, APressReachesThePickerAtTheSamePlace) {
  SendMessageW(arrow->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
  PumpFor(30);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].Msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(heard[1].Msg, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(LOWORD(heard[0].LParam), 120 - arrow->cw - 4 + 3);
  EXPECT_EQ(HIWORD(heard[0].LParam), 5);
  EXPECT_EQ(heard[0].WParam, static_cast<WPARAM>(MK_LBUTTON));
  SendMessageW(arrow->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
  EXPECT_EQ(GetFocus(), picker->Handle());
}

}  // namespace
}  // namespace skin
