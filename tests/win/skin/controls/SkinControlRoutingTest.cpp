// The skinned-control base as a window sees it: which messages reach the
// window's own procedure, what attaching and letting go leave behind, and
// how an object ends with its window or its control.
#include <gtest/gtest.h>

#include <vector>

#include "gui/Button.h"
#include "gui/Form.h"
#include "skin/controls/WinSkinControl.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

constexpr UINT kProbe = WM_APP + 11;
std::vector<UINT> g_seen;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back(msg);
  if (msg == kProbe) return 42;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeRecordingWindow() {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuellmarkSkinControlProbe";
    return RegisterClassExW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(atom), L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 120, 60, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

bool Saw(UINT msg) {
  for (UINT m : g_seen)
    if (m == msg) return true;
  return false;
}

WNDPROC Current(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

// Counts the objects alive, so a test can tell one was freed exactly once.
class TCountedSkinControl : public TSkinControl {
 public:
  explicit TCountedSkinControl(fw::TComponent* owner) : TSkinControl(owner) { ++alive; }
  ~TCountedSkinControl() override { --alive; }
  void DrawControl(HDC, const RECT&) override { ++draws; }
  static int alive;
  int draws = 0;
};
int TCountedSkinControl::alive = 0;

TEST(SkinControlRoutingTest, SkinQueryIsAnsweredAndHiddenFromTheWindowUntilUnsubclassed) {
  HWND hwnd = MakeRecordingWindow();
  ASSERT_NE(hwnd, nullptr);
  {
    TSkinControl object(nullptr);
    object.Inithwnd(hwnd, nullptr, nullptr);
    EXPECT_EQ(object.skinstate, scAttached);
    g_seen.clear();
    EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 1);
    EXPECT_FALSE(Saw(WM_ISSKINNED));
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 42);  // everything else goes through
    object.Unsubclass();
    g_seen.clear();
    EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 0);
    EXPECT_TRUE(Saw(WM_ISSKINNED));
  }
  DestroyWindow(hwnd);
}

TEST(SkinControlRoutingTest, SkinSwitchNeverReachesTheWindowAndRepaintsWhenTurnedOn) {
  HWND hwnd = MakeRecordingWindow();
  ShowWindow(hwnd, SW_SHOWNA);
  TCountedSkinControl object(nullptr);
  object.Inithwnd(hwnd, nullptr, nullptr);
  UpdateWindow(hwnd);
  g_seen.clear();
  SendMessageW(hwnd, WM_SKINSWITCH, 0, 0);
  EXPECT_FALSE(object.skinned);
  int drawsBefore = object.draws;
  SendMessageW(hwnd, WM_SKINSWITCH, 1, 0);
  EXPECT_TRUE(object.skinned);
  EXPECT_FALSE(Saw(WM_SKINSWITCH));
  // Turned on: painted at once, before the call returns.
  EXPECT_GT(object.draws, drawsBefore);
  DestroyWindow(hwnd);
}

TEST(SkinControlRoutingTest, BareWindowGetsItsProcedureBackWhenTheObjectGoes) {
  HWND hwnd = MakeRecordingWindow();
  WNDPROC original = Current(hwnd);
  size_t links = TWindowSubclass::LiveCount();
  {
    TSkinControl object(nullptr);
    object.Inithwnd(hwnd, nullptr, nullptr);
    EXPECT_NE(Current(hwnd), original);
    EXPECT_EQ(object.FPrevWndProc, original);
  }
  EXPECT_EQ(Current(hwnd), original);
  EXPECT_EQ(TWindowSubclass::LiveCount(), links);
  DestroyWindow(hwnd);
}

// Someone who subclassed after us keeps their link when we go; our link
// then only passes messages through.
WNDPROC g_foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_foreignPrevious, hwnd, msg, wParam, lParam);
}

TEST(SkinControlRoutingTest, LaterSubclasserKeepsItsLinkAndTheWindowAnswersAsBefore) {
  HWND hwnd = MakeRecordingWindow();
  WNDPROC original = Current(hwnd);
  auto* object = new TSkinControl(nullptr);
  object->Inithwnd(hwnd, nullptr, nullptr);
  g_foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  delete object;
  EXPECT_EQ(Current(hwnd), ForeignProc);
  g_seen.clear();
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 0);  // no longer skinned
  EXPECT_TRUE(Saw(WM_ISSKINNED));
  // The foreign link steps out; ours stepped out with it, back to the original.
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrevious));
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 42);
  EXPECT_EQ(Current(hwnd), original);
  DestroyWindow(hwnd);
}

TEST(SkinControlRoutingTest, WindowDestroyedWhileSkinnedMarksTheObjectDead) {
  HWND hwnd = MakeRecordingWindow();
  TCountedSkinControl object(nullptr);
  object.Inithwnd(hwnd, nullptr, nullptr);
  g_seen.clear();
  DestroyWindow(hwnd);
  EXPECT_TRUE(Saw(WM_NCDESTROY));
  EXPECT_EQ(object.skinstate, scDestroyed);
  EXPECT_FALSE(object.skinned);
}

// A framework button on a form: the object takes the control's WindowProc.
struct SkinControlFrameworkTest : ::testing::Test {
  void SetUp() override {
    form = new fw::TForm(nullptr);
    form->SetBounds(10, 10, 200, 120);
    form->HandleNeeded();
    button = new fw::TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 24);
    button->SetCaption(L"OK");
    button->HandleNeeded();
  }
  void TearDown() override { delete form; }
  fw::TForm* form = nullptr;
  fw::TButton* button = nullptr;
};

TEST_F(SkinControlFrameworkTest, FrameworkControlAnswersTheQueryAndGetsItsHandlerBack) {
  ASSERT_TRUE(button->HandleAllocated());
  auto* object = new TCountedSkinControl(button);
  object->Init(nullptr, nullptr, false);
  EXPECT_EQ(object->hwnd, button->Handle());
  EXPECT_EQ(object->skinstate, scAttached);
  EXPECT_EQ(SendMessageW(button->Handle(), WM_ISSKINNED, 0, 0), 1);
  object->Init(nullptr, nullptr, false);  // a second Init changes nothing
  EXPECT_EQ(SendMessageW(button->Handle(), WM_ISSKINNED, 0, 0), 1);
  delete object;
  EXPECT_EQ(SendMessageW(button->Handle(), WM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(TCountedSkinControl::alive, 0);
}

TEST_F(SkinControlFrameworkTest, ControlAttachedBeforeItHasAWindowIsSkinnedOnceItGetsOne) {
  fw::TButton loose(nullptr);
  loose.SetBounds(0, 0, 60, 20);
  auto* object = new TCountedSkinControl(&loose);
  object->Init(nullptr, nullptr, false);
  EXPECT_EQ(object->hwnd, nullptr);
  loose.SetParent(form);
  loose.HandleNeeded();
  ASSERT_TRUE(loose.HandleAllocated());
  EXPECT_EQ(SendMessageW(loose.Handle(), WM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(object->hwnd, loose.Handle());
}

TEST_F(SkinControlFrameworkTest, ControlDestroyedWithItsObjectFreesItOnce) {
  int before = TCountedSkinControl::alive;
  for (int cycle = 0; cycle < 20; ++cycle) {
    auto* b = new fw::TButton(form);
    b->SetParent(form);
    b->SetBounds(10, 40, 80, 24);
    b->HandleNeeded();
    auto* object = new TCountedSkinControl(b);
    object->Init(nullptr, nullptr, false);
    ASSERT_EQ(SendMessageW(b->Handle(), WM_ISSKINNED, 0, 0), 1);
    delete b;
  }
  EXPECT_EQ(TCountedSkinControl::alive, before);
}

TEST_F(SkinControlFrameworkTest, ObjectLeavesTheSkinnersListWhenItsControlGoes) {
  auto* skinner = new TWinSkinForm(nullptr);
  auto* first = new fw::TButton(form);
  first->SetParent(form);
  first->HandleNeeded();
  auto* second = new fw::TButton(form);
  second->SetParent(form);
  second->HandleNeeded();
  int before = TCountedSkinControl::alive;
  (new TCountedSkinControl(first))->Init(skinner, nullptr, false);
  (new TCountedSkinControl(second))->Init(skinner, nullptr, false);
  EXPECT_EQ(skinner->Controllist.size(), 2u);
  delete first;
  EXPECT_EQ(skinner->Controllist.size(), 1u);
  EXPECT_EQ(TCountedSkinControl::alive, before + 1);
  // The skinner frees the rest; the control keeps working without it.
  delete skinner;
  EXPECT_EQ(TCountedSkinControl::alive, before);
  EXPECT_EQ(SendMessageW(second->Handle(), WM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(second->ComponentCount(), 0);
  delete second;
}

// Swallows the left press as the push buttons do, and relays it.
class TPressSwallower : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override {
    if (message.Msg != WM_LBUTTONDOWN) return TSkinControl::BeforeProc(message);
    DoMouseDown(message);
    return false;
  }
};

TEST_F(SkinControlFrameworkTest, SwallowedPressStillReachesTheMouseDownEvent) {
  int calls = 0, seenX = 0, seenY = 0;
  fw::TShiftState seenShift = 0;
  button->OnMouseDown = [&](fw::TObject*, fw::TMouseButton b, fw::TShiftState shift, int x, int y) {
    ++calls;
    EXPECT_EQ(b, fw::mbLeft);
    seenShift = shift;
    seenX = x;
    seenY = y;
  };
  auto* object = new TPressSwallower(button);
  object->Init(nullptr, nullptr, false);
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 7));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seenX, -3);
  EXPECT_EQ(seenY, 7);
  EXPECT_TRUE(seenShift & fw::ssShift);
  EXPECT_TRUE(seenShift & fw::ssLeft);
  // Wider than a message's coordinates reach: the cursor tells where.
  button->SetBounds(10, 10, 40000, 24);
  POINT origin{0, 0};
  ClientToScreen(button->Handle(), &origin);
  SetCursorPos(origin.x + 5, origin.y + 6);
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1234, 1));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(seenX, 5);
  EXPECT_EQ(seenY, 6);
}

TEST_F(SkinControlFrameworkTest, ColourReplacedWhileSkinnedAndGivenBackFollowingTheParent) {
  TSkinData data{nullptr};
  data.Colors[3] = 0x00123456;
  form->SetColor(0x00654321);
  ASSERT_TRUE(button->ParentColor());
  auto* object = new TSkinControl(button);
  object->Init(nullptr, &data, true);
  EXPECT_EQ(button->Color(), 0x00123456);
  EXPECT_EQ(object->oldcolor, 0x00654321);
  object->Unsubclass();
  EXPECT_TRUE(button->ParentColor());
  form->SetColor(0x00111111);
  EXPECT_EQ(button->Color(), 0x00111111);
  delete object;
}

TEST_F(SkinControlFrameworkTest, OwnColourGivenBackAndNotWrittenAfterTheWindowIsGone) {
  TSkinData data{nullptr};
  data.Colors[3] = 0x00123456;
  button->SetColor(0x00ABCDEF);
  auto* object = new TCountedSkinControl(button);
  object->Init(nullptr, &data, true);
  EXPECT_EQ(button->Color(), 0x00123456);
  data.Colors[3] = 0x00222222;
  object->SkinChange();
  EXPECT_EQ(button->Color(), 0x00222222);
  DestroyWindow(button->Handle());
  EXPECT_EQ(object->skinstate, scDestroyed);
  EXPECT_EQ(button->Color(), 0x00222222);  // going away: not written back
  delete object;
  EXPECT_EQ(TCountedSkinControl::alive, 0);
}

}  // namespace
}  // namespace skin
