// The window-procedure link: messages reach the handler first, the old
// procedure is put back only while ours is current, removal inside a
// running message is deferred, and links stack in any order.
#include "skin/form/WindowSubclass.h"

#include <gtest/gtest.h>

#include <vector>

namespace skin {
namespace {

constexpr UINT kProbe = WM_APP + 7;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe) return 100 + static_cast<LRESULT>(wParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow() {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuellmarkSubclassProbe";
    return RegisterClassExW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

WNDPROC Current(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

// Another piece of code subclassing the window the classic way.
WNDPROC g_foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe && wParam == 99) return 99;
  return CallWindowProcW(g_foreignPrevious, hwnd, msg, wParam, lParam);
}

TEST(WindowSubclassTest, HandlerSeesMessagesFirstAndReachesThePreviousProcedure) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  size_t before = TWindowSubclass::LiveCount();
  std::vector<UINT> seen;
  TWindowSubclass* link = nullptr;
  link = TWindowSubclass::Install(hwnd, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == kProbe) seen.push_back(msg);
    if (msg == kProbe && w == 1) return 7;
    return link->CallPrevious(msg, w, l);
  });
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Previous(), &ProbeProc);
  EXPECT_EQ(Current(hwnd), link->Procedure());
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 1, 0), 7);
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 2, 0), 102);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(TWindowSubclass::LiveCount(), before + 1);
  link->Remove();
  EXPECT_EQ(Current(hwnd), &ProbeProc);
  EXPECT_EQ(TWindowSubclass::LiveCount(), before);
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 1, 0), 101);
  DestroyWindow(hwnd);
}

TEST(WindowSubclassTest, NotPutBackWhileSomeoneSubclassedAfterUsThenFreedWithTheWindow) {
  HWND hwnd = MakeWindow();
  size_t before = TWindowSubclass::LiveCount();
  int handled = 0;
  TWindowSubclass* link = nullptr;
  link = TWindowSubclass::Install(hwnd, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == kProbe) ++handled;
    return link->CallPrevious(msg, w, l);
  });
  ASSERT_NE(link, nullptr);
  g_foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  EXPECT_EQ(g_foreignPrevious, link->Procedure());
  link->Remove();
  // The foreign link stays first and still reaches the class procedure through ours.
  EXPECT_EQ(Current(hwnd), &ForeignProc);
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 5, 0), 105);
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 99, 0), 99);
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(TWindowSubclass::LiveCount(), before + 1);
  DestroyWindow(hwnd);
  EXPECT_EQ(TWindowSubclass::LiveCount(), before);
}

TEST(WindowSubclassTest, RemovedInsideItsOwnMessageIsFreedWhenTheMessageReturns) {
  HWND hwnd = MakeWindow();
  size_t before = TWindowSubclass::LiveCount();
  TWindowSubclass* link = nullptr;
  size_t liveInside = 0;
  LRESULT nested = 0;
  link = TWindowSubclass::Install(hwnd, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == kProbe && w == 3) {
      TWindowSubclass* self = link;
      link = nullptr;
      self->Remove();
      liveInside = TWindowSubclass::LiveCount();
      // Still usable for the rest of this message.
      nested = self->CallPrevious(kProbe, 4, 0);
      return 33;
    }
    return link->CallPrevious(msg, w, l);
  });
  EXPECT_EQ(SendMessageW(hwnd, kProbe, 3, 0), 33);
  EXPECT_EQ(liveInside, before + 1);
  EXPECT_EQ(nested, 104);
  EXPECT_EQ(TWindowSubclass::LiveCount(), before);
  EXPECT_EQ(Current(hwnd), &ProbeProc);
  DestroyWindow(hwnd);
}

TEST(WindowSubclassTest, TwoLinksOnOneWindowRemovedInEitherOrder) {
  for (bool newestFirst : {true, false}) {
    HWND hwnd = MakeWindow();
    size_t before = TWindowSubclass::LiveCount();
    std::vector<int> order;
    TWindowSubclass* older = nullptr;
    TWindowSubclass* newer = nullptr;
    older = TWindowSubclass::Install(hwnd, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg == kProbe) order.push_back(1);
      return older->CallPrevious(msg, w, l);
    });
    newer = TWindowSubclass::Install(hwnd, [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg == kProbe) order.push_back(2);
      return newer->CallPrevious(msg, w, l);
    });
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 100);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    if (newestFirst) {
      newer->Remove();
      EXPECT_EQ(Current(hwnd), older->Procedure());
      older->Remove();
      EXPECT_EQ(Current(hwnd), &ProbeProc);
      EXPECT_EQ(TWindowSubclass::LiveCount(), before);
    } else {
      TWindowSubclass* keep = newer;
      older->Remove();  // not current: passes through from now on
      order.clear();
      EXPECT_EQ(SendMessageW(hwnd, kProbe, 1, 0), 101);
      EXPECT_EQ(order, (std::vector<int>{2}));
      keep->Remove();  // current: puts back the older link's procedure
      EXPECT_EQ(Current(hwnd), older->Procedure());
      // The older link, first again, steps out at its next message.
      EXPECT_EQ(SendMessageW(hwnd, kProbe, 2, 0), 102);
      EXPECT_EQ(Current(hwnd), &ProbeProc);
      EXPECT_EQ(TWindowSubclass::LiveCount(), before);
    }
    DestroyWindow(hwnd);
    EXPECT_EQ(TWindowSubclass::LiveCount(), before);
  }
}

TEST(WindowSubclassTest, RefusesWindowsThatAreGone) {
  HWND hwnd = MakeWindow();
  DestroyWindow(hwnd);
  EXPECT_EQ(TWindowSubclass::Install(hwnd, [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }), nullptr);
  EXPECT_EQ(TWindowSubclass::Install(nullptr, [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }), nullptr);
}

}  // namespace
}  // namespace skin
