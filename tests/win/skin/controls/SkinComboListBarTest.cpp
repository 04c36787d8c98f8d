// The drop-down list's own bar: painted from the skin into the list's
// non-client area, and its thumb-drag loop, which sleeps between messages
// and ends on release, capture loss, cancel-mode or a quit request (put back).
#include <string>

#include "win/gui/RealInput.h"
#include "win/skin/controls/ScrollBarFixture.h"

namespace skin {
namespace {

using test::PumpFor;

// What the list heard while the loop ran, and what the timer does to end it.
struct LoopProbe {
  std::function<void()> action;
};
LoopProbe* gProbe = nullptr;

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gProbe && gProbe->action) gProbe->action();
}

class SkinComboListBarTest : public test::ScrollBarFixture {
 protected:
  void SetUp() override {
    LoadSkin();
    if (IsSkipped()) return;
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 300, nullptr, nullptr,
                             nullptr, nullptr);
    combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 10,
                            10, 200, 200, parent, nullptr, nullptr, nullptr);
    for (int i = 0; i < 60; ++i) {
      std::wstring item = L"项目 " + std::to_wstring(i);
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    list = info.hwndList;
    bar = new TComboxScrollBar(nullptr);
    bar->Inithwnd(list, &data, nullptr);
    SetForegroundWindow(parent);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    PumpFor(80);
    probe = LoopProbe{};
    gProbe = &probe;
  }
  void TearDown() override {
    gProbe = nullptr;
    if (combo) SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    delete bar;
    if (parent) DestroyWindow(parent);
  }

  SCROLLBARINFO Info() const {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(list, OBJID_VSCROLL, &info);
    return info;
  }
  // Runs the drag loop as a press on the thumb does; `action` runs from a
  // timer inside the loop after `afterMs`.
  LRESULT PressThumb(int afterMs, std::function<void()> action) {
    SCROLLBARINFO info = Info();
    POINT p{(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
            info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    SetCursorPos(p.x, p.y);
    probe.action = std::move(action);
    SetTimer(nullptr, 0, static_cast<UINT>(afterMs), ProbeTimer);
    return SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y));
  }
  int TopIndex() const { return static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); }

  HWND parent = nullptr;
  HWND combo = nullptr;
  HWND list = nullptr;
  TComboxScrollBar* bar = nullptr;
  LoopProbe probe;
};

TEST_F(SkinComboListBarTest, BarIsPaintedFromTheSkinIntoTheList) {
  ASSERT_TRUE(IsWindowVisible(list));
  SCROLLBARINFO info = Info();
  RECT r = info.rcScrollBar;
  HDC screen = GetDC(nullptr);
  TBitmap shown = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
  ReleaseDC(nullptr, screen);
  TBarPictureState s;
  s.vertical = true;
  s.len = r.bottom - r.top;
  s.across = r.right - r.left;
  s.cw = GetSystemMetrics(SM_CXHSCROLL);
  s.thumb = TThumbSpan{info.xyThumbTop, info.xyThumbBottom};
  TBitmap expected = ComposeScrollBar(ScrollBarArt(&data, true, ResolveColor(data.Colors[3])), s);
  EXPECT_TRUE(shown == expected);
}

TEST_F(SkinComboListBarTest, DraggingTheThumbScrollsTheListAndReleaseEndsTheLoop) {
  ASSERT_EQ(TopIndex(), 0);
  LRESULT handled = PressThumb(50, [this] {
    POINT c;
    GetCursorPos(&c);
    SetCursorPos(c.x, c.y + 40);
    PostMessageW(list, WM_MOUSEMOVE, 0, 0);
    SetTimer(nullptr, 0, 50, ProbeTimer);
    probe.action = [this] { PostMessageW(list, WM_LBUTTONUP, 0, 0); };
  });
  EXPECT_EQ(handled, 0);
  EXPECT_GT(TopIndex(), 0);
  EXPECT_NE(GetCapture(), nullptr);  // the open list has the mouse again
  PumpFor(20);
}

TEST_F(SkinComboListBarTest, CancelModeEndsTheLoop) {
  DWORD start = GetTickCount();
  PressThumb(60, [this] { SendMessageW(list, WM_CANCELMODE, 0, 0); });
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(SkinComboListBarTest, LosingTheCaptureEndsTheLoop) {
  DWORD start = GetTickCount();
  PressThumb(60, [] { ReleaseCapture(); });
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(SkinComboListBarTest, AQuitRequestEndsTheLoopAndIsPutBack) {
  PressThumb(60, [] { PostQuitMessage(7); });
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(SkinComboListBarTest, TheLoopSleepsWhileNothingHappens) {
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore);
  DWORD start = GetTickCount();
  PressThumb(400, [this] { PostMessageW(list, WM_LBUTTONUP, 0, 0); });
  DWORD elapsed = GetTickCount() - start;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter);
  auto ticks = [](const FILETIME& f) {
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  uint64_t busy100ns = ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
  EXPECT_GE(elapsed, 350u);
  // A spinning loop would use the whole 400 ms.
  EXPECT_LT(busy100ns / 10000, 150u) << "CPU ms while waiting";
}

}  // namespace
}  // namespace skin
