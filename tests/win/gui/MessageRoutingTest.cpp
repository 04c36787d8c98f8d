// The framework's messages as the skinned-control objects rely on them: a
// windowless control's replaceable handler sees its paint (with a DC) and
// its mouse (real input), with enter and leave; windowed controls hear that
// they were enabled or disabled, lost the focus, and that the focus moved.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui/Application.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/SpeedButton.h"
#include "win/gui/RealInput.h"

namespace fw {
namespace {

using test::CentreOf;
using test::ClickAt;
using test::MouseButton;
using test::MoveMouse;
using test::Pump;
using test::PumpUntil;
using test::ScreenPointOf;

struct TRecorded {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// Puts a recorder in front of a control's handler, as a skinned-control object does.
class TRecorder {
 public:
  explicit TRecorder(TControl& control) : control_(control), old_(control.WindowProc) {
    control.WindowProc = [this](TMessage& m) {
      seen.push_back({m.Msg, m.WParam, m.LParam});
      if (m.Msg == WM_PAINT && m.WParam) paintDcKind = GetObjectType(reinterpret_cast<HGDIOBJ>(m.WParam));
      old_(m);
    };
  }
  ~TRecorder() { control_.WindowProc = old_; }
  int Count(UINT msg) const {
    return static_cast<int>(
        std::count_if(seen.begin(), seen.end(), [msg](const TRecorded& r) { return r.msg == msg; }));
  }
  const TRecorded* Last(UINT msg) const {
    for (auto it = seen.rbegin(); it != seen.rend(); ++it)
      if (it->msg == msg) return &*it;
    return nullptr;
  }
  std::vector<TRecorded> seen;
  DWORD paintDcKind = 0;

 private:
  TControl& control_;
  TWndMethod old_;
};

class GraphicRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetClientSize(240, 120);
    form->SetBounds(150, 150, 0, 0);
    button = new TSpeedButton(form);
    button->SetBounds(20, 20, 80, 30);
    button->SetCaption(L"按");
    button->SetParent(form);
    button->OnClick = TEvent{[this](TObject*) { ++clicks; }, L""};
    button->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState shift, int x, int y) {
      downs.push_back({b == mbLeft ? 1u : 2u, shift, static_cast<LPARAM>(x * 1000 + y)});
    };
    form->HandleNeeded();
    recorder = std::make_unique<TRecorder>(*button);
    MoveMouse({0, 0});
    test::ShowInFront(form->Handle());
  }
  void TearDown() override {
    recorder.reset();
    delete form;
    Pump(20);
  }
  TForm* form = nullptr;
  TSpeedButton* button = nullptr;
  std::unique_ptr<TRecorder> recorder;
  int clicks = 0;
  std::vector<TRecorded> downs;
};

TEST_F(GraphicRouting, PaintComesWithADcThroughTheReplacedHandler) {
  recorder->seen.clear();
  InvalidateRect(form->Handle(), nullptr, TRUE);
  UpdateWindow(form->Handle());
  ASSERT_GE(recorder->Count(WM_PAINT), 1);
  EXPECT_NE(recorder->Last(WM_PAINT)->wParam, 0u);
  EXPECT_TRUE(recorder->paintDcKind == OBJ_DC || recorder->paintDcKind == OBJ_MEMDC);
}

TEST_F(GraphicRouting, ThePaintDcHasItsOriginAtTheControl) {
  // A handler that paints (0, 0)-(4, 4) red must colour the control's corner, not the form's.
  TWndMethod old = button->WindowProc;
  button->WindowProc = [&old](TMessage& m) {
    if (m.Msg != WM_PAINT) return old(m);
    RECT r{0, 0, 4, 4};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, red);
    DeleteObject(red);
    // Drawing outside the control is clipped away.
    RECT outside{-10, -10, -2, -2};
    FillRect(reinterpret_cast<HDC>(m.WParam), &outside, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  };
  InvalidateRect(form->Handle(), nullptr, TRUE);
  UpdateWindow(form->Handle());
  EXPECT_EQ(test::ScreenPixel(form->Handle(), 21, 21), RGB(255, 0, 0));
  EXPECT_EQ(test::ScreenPixel(form->Handle(), 14, 14), GetSysColor(COLOR_BTNFACE));
  button->WindowProc = old;
}

TEST_F(GraphicRouting, RealMouseEntersMovesClicksAndLeaves) {
  recorder->seen.clear();
  MoveMouse(ScreenPointOf(*button, 10, 12));
  ASSERT_TRUE(PumpUntil([&] { return recorder->Count(CM_MOUSEENTER) == 1; }));
  EXPECT_TRUE(button->MouseInControl());
  MoveMouse(ScreenPointOf(*button, 30, 15));
  const TRecorded* move = recorder->Last(WM_MOUSEMOVE);
  ASSERT_NE(move, nullptr);
  // In the control's own client coordinates.
  EXPECT_EQ(LOWORD(move->lParam), 30);
  EXPECT_EQ(HIWORD(move->lParam), 15);
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(recorder->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(recorder->Count(WM_LBUTTONUP), 1);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].lParam, 30 * 1000 + 15);
  MoveMouse(ScreenPointOf(*button, 150, 60));
  ASSERT_TRUE(PumpUntil([&] { return recorder->Count(CM_MOUSELEAVE) == 1; }));
  EXPECT_FALSE(button->MouseInControl());
  EXPECT_EQ(recorder->Count(CM_MOUSEENTER), 1);
}

TEST_F(GraphicRouting, LeavingTheWindowAltogetherIsALeaveToo) {
  MoveMouse(CentreOf(*button));
  ASSERT_TRUE(PumpUntil([&] { return recorder->Count(CM_MOUSEENTER) == 1; }));
  MoveMouse({2, 2});  // off the form
  EXPECT_TRUE(PumpUntil([&] { return recorder->Count(CM_MOUSELEAVE) == 1; }));
}

TEST_F(GraphicRouting, AReleaseOutsideReachesTheControlAndDoesNotClick) {
  MoveMouse(CentreOf(*button));
  MouseButton(true);
  EXPECT_TRUE(button->Pressed());
  MoveMouse(ScreenPointOf(*button, 200, 80));
  EXPECT_FALSE(button->Pressed());
  MouseButton(false);
  Pump(50);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(recorder->Count(WM_LBUTTONUP), 1);  // the held button's release came to it
  EXPECT_NE(GetCapture(), form->Handle());
  // And the next press and release over it clicks once.
  ClickAt(CentreOf(*button));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
}

TEST_F(GraphicRouting, LabelsStillClickOnAReleaseOverThem) {
  auto* label = new TLabel(form);
  label->SetBounds(120, 20, 80, 20);
  label->SetCaption(L"标签");
  label->SetParent(form);
  int labelClicks = 0;
  label->OnClick = TEvent{[&](TObject*) { ++labelClicks; }, L""};
  ClickAt(CentreOf(*label));
  EXPECT_TRUE(PumpUntil([&] { return labelClicks == 1; }));
  label->SetEnabled(false);
  ClickAt(CentreOf(*label));
  Pump(50);
  EXPECT_EQ(labelClicks, 1);
}

class WindowedNotices : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(nullptr);
    form->SetClientSize(240, 100);
    form->SetBounds(150, 150, 0, 0);
    first = new TEdit(form);
    first->SetBounds(10, 10, 100, 22);
    first->SetParent(form);
    second = new TEdit(form);
    second->SetBounds(10, 40, 100, 22);
    second->SetParent(form);
    form->HandleNeeded();
    firstSeen = std::make_unique<TRecorder>(*first);
    secondSeen = std::make_unique<TRecorder>(*second);
    test::ShowInFront(form->Handle());
  }
  void TearDown() override {
    firstSeen.reset();
    secondSeen.reset();
    delete form;
    Pump(20);
  }
  TForm* form = nullptr;
  TEdit* first = nullptr;
  TEdit* second = nullptr;
  std::unique_ptr<TRecorder> firstSeen, secondSeen;
};

TEST_F(WindowedNotices, EnablingIsAnnouncedOncePerChange) {
  first->SetEnabled(false);
  EXPECT_EQ(firstSeen->Count(CM_ENABLEDCHANGED), 1);
  EXPECT_FALSE(IsWindowEnabled(first->Handle()));
  first->SetEnabled(false);
  EXPECT_EQ(firstSeen->Count(CM_ENABLEDCHANGED), 1);
  first->SetEnabled(true);
  EXPECT_EQ(firstSeen->Count(CM_ENABLEDCHANGED), 2);
  EXPECT_TRUE(IsWindowEnabled(first->Handle()));
}

TEST_F(WindowedNotices, FocusMovesAreBroadcastAndTheLoserHearsItsExit) {
  first->SetFocus();
  Pump(20);
  firstSeen->seen.clear();
  secondSeen->seen.clear();
  second->SetFocus();
  Pump(20);
  EXPECT_EQ(firstSeen->Count(CM_EXIT), 1);
  EXPECT_EQ(secondSeen->Count(CM_EXIT), 0);
  ASSERT_EQ(firstSeen->Count(CM_FOCUSCHANGED), 1);
  ASSERT_EQ(secondSeen->Count(CM_FOCUSCHANGED), 1);
  EXPECT_EQ(firstSeen->Last(CM_FOCUSCHANGED)->lParam, reinterpret_cast<LPARAM>(second));
}

TEST_F(WindowedNotices, AWindowedControlRaisesMouseDownOnARealPress) {
  int downs = 0;
  first->OnMouseDown = [&](TObject* sender, TMouseButton b, TShiftState shift, int, int) {
    if (sender == first && b == mbLeft && (shift & ssLeft)) ++downs;
  };
  ClickAt(CentreOf(*first));
  EXPECT_TRUE(PumpUntil([&] { return downs == 1; }));
}

TEST_F(WindowedNotices, NavigationKeysAreHeardByEveryControlBeforeTheyMoveTheFocus) {
  TApplication app;
  // The program's own loop: dialog keys first.
  auto tap = [&app](WORD vk) {
    test::Key(vk, true);
    test::Key(vk, false);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 150) {
      app.ProcessMessages();
      Sleep(10);
    }
  };
  first->SetFocus();
  Pump(20);
  tap(VK_TAB);
  ASSERT_EQ(secondSeen->Count(CM_DIALOGKEY), 1);
  EXPECT_EQ(secondSeen->Last(CM_DIALOGKEY)->wParam, static_cast<WPARAM>(VK_TAB));
  EXPECT_EQ(firstSeen->Count(CM_DIALOGKEY), 1);
  EXPECT_EQ(GetFocus(), second->Handle());
  // A control that answers keeps the key: the focus stays.
  TWndMethod old = second->WindowProc;
  second->WindowProc = [&old](TMessage& m) {
    old(m);
    if (m.Msg == CM_DIALOGKEY) m.Result = 1;
  };
  tap(VK_TAB);
  EXPECT_EQ(GetFocus(), second->Handle());
  // Letters are no dialog keys.
  int before = firstSeen->Count(CM_DIALOGKEY);
  tap('A');
  EXPECT_EQ(firstSeen->Count(CM_DIALOGKEY), before);
  second->WindowProc = old;
}

}  // namespace
}  // namespace fw
