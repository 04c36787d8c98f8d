// The form skinner's window procedure on a real window: attached and
// activated as the manager does it, then fed the messages the system and a
// user's mouse send. Commands the skinner posts are read back from the
// thread's queue; the system popup is closed by a timer while it is open.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <vector>

#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinFormMessages.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

// Borders 5 (sides), 22 (caption), 4 (bottom); a minimise button 40 and a
// close button 20 from the right edge, 16 x 14 each, four images.
void FillSkin(TSkinData& data) {
  const int32_t widths[5] = {0, 5, 5, 40, 40};
  const int32_t heights[5] = {0, 40, 40, 22, 4};
  for (int k = 1; k <= 4; ++k) {
    data.border[k].Map = TBitmap(2 * widths[k], heights[k], MakePixel(40, 60, 120));
    data.border[k].frame = 2;
    data.border[k].Tile = 1;
  }
  data.Title.r = Rect(24, 0, 50, 0);
  auto button = [](int action, int x) {
    TDataSkinSysButton b;
    b.Action = action;
    b.Align = 1;
    b.XCoord = x;
    b.YCoord = 4;
    b.frame = 4;
    b.Map = TBitmap(64, 14, MakePixel(200, 200, 0));
    return b;
  };
  data.SysBtn = {button(2, 40), button(0, 20)};
  data.Empty = false;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow() {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmProcTestWindow";
    wc.style = CS_DBLCLKS;
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"Proc",
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 80, 90, 320, 240, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The posted messages of `msg` waiting for `hwnd`, taken off the queue.
std::vector<MSG> TakePosted(HWND hwnd, UINT msg) {
  std::vector<MSG> found;
  MSG m;
  while (PeekMessageW(&m, hwnd, msg, msg, PM_REMOVE)) found.push_back(m);
  return found;
}

LPARAM ScreenParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

class FormProcTest : public testing::Test {
 protected:
  void SetUp() override {
    FillSkin(data);
    hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    GetClientRect(hwnd, &clientBefore);
    sf = new TWinSkinForm(nullptr);
    sf->hwnd = hwnd;
    sf->InitDlg(&data);
    ASSERT_TRUE(sf->IsSubclassed());
    SendMessageW(hwnd, WM_SKINACTIVATE, 0, 0);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    sf->FWindowActive = true;
    RECT r;
    GetWindowRect(hwnd, &r);
    window = r;
    // A paint lays the caption buttons out.
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    TakePosted(hwnd, WM_SKINDONE);
  }
  void TearDown() override {
    DestroyWindow(hwnd);
    sf->Release();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // A point of the window (window coordinates) on the screen.
  POINT Screen(int x, int y) const { return POINT{window.left + x, window.top + y}; }
  LRESULT HitTest(int x, int y) { return SendMessageW(hwnd, WM_NCHITTEST, 0, ScreenParam(Screen(x, y))); }
  TWinSysButton* Button(int action) {
    for (auto& b : sf->SysBtn)
      if (b->data->Action == action) return b.get();
    return nullptr;
  }
  POINT Centre(TWinSysButton* b) const {
    return Screen((b->bounds.Left + b->bounds.Right) / 2, (b->bounds.Top + b->bounds.Bottom) / 2);
  }
  void Mouse(UINT msg, POINT screen, WPARAM hit = HTCAPTION) {
    SendMessageW(hwnd, msg, hit, ScreenParam(screen));
  }

  TSkinData data{nullptr};
  TWinSkinForm* sf = nullptr;
  HWND hwnd = nullptr;
  RECT clientBefore{};
  RECT window{};
};

TEST_F(FormProcTest, AnswersItIsSkinnedAndSaysSoAgain) {
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 1);
  std::vector<MSG> done = TakePosted(hwnd, WM_SKINDONE);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].lParam, static_cast<LPARAM>(SKIN_MAGIC));
}

TEST_F(FormProcTest, ClientAreaKeepsItsSizeInsideTheSkinsBorders) {
  ASSERT_EQ(sf->Skinstate, ssActive);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, clientBefore.right);
  EXPECT_EQ(client.bottom, clientBefore.bottom);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(origin.x - window.left, sf->bw.Left);
  EXPECT_EQ(origin.y - window.top, sf->bw.Top);
  EXPECT_EQ(window.right - window.left, client.right + sf->bw.Left + sf->bw.Right);
  EXPECT_EQ(window.bottom - window.top, client.bottom + sf->bw.Top + sf->bw.Bottom);
}

TEST_F(FormProcTest, HitTestOverTheSkinnedFrame) {
  const int w = window.right - window.left, h = window.bottom - window.top;
  EXPECT_EQ(HitTest(w / 2, 10), HTCAPTION);
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(HitTest(close->bounds.Left + 2, close->bounds.Top + 2), HTCAPTION);
  EXPECT_EQ(HitTest(w / 2, h / 2), HTCLIENT);
  EXPECT_EQ(HitTest(1, h / 2), HTBORDER);
  EXPECT_EQ(HitTest(w - 2, h / 2), HTBORDER);
  EXPECT_EQ(HitTest(w / 2, h - 2), HTBORDER);
}

TEST_F(FormProcTest, FramePaintTakesTheSystemMenuStyleAway) {
  if (HasIcon(sf->FormIcons, sbicaption)) GTEST_SKIP() << "a taskbar window keeps its system menu style";
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
  sf->SetSysMenuStyle(true);
  EXPECT_NE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
}

TEST_F(FormProcTest, HoverPressAndReleaseOnCloseAsksToClose) {
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(close->visible);
  Mouse(WM_NCMOUSEMOVE, Centre(close));
  EXPECT_EQ(sf->ActiveBtn, close);
  EXPECT_EQ(close->state, 3);
  Mouse(WM_NCLBUTTONDOWN, Centre(close));
  EXPECT_EQ(close->state, 2);
  TakePosted(hwnd, WM_SYSCOMMAND);
  Mouse(WM_NCLBUTTONUP, Centre(close));
  EXPECT_EQ(close->state, 3);
  std::vector<MSG> posted = TakePosted(hwnd, WM_SYSCOMMAND);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_CLOSE));
}

TEST_F(FormProcTest, PressReleasedElsewhereDoesNothing) {
  TWinSysButton* close = Button(0);
  TWinSysButton* minimize = Button(2);
  ASSERT_NE(close, nullptr);
  ASSERT_NE(minimize, nullptr);
  Mouse(WM_NCLBUTTONDOWN, Centre(close));
  EXPECT_EQ(sf->ActiveBtn, close);
  // Released over the caption, then over the other button.
  Mouse(WM_NCMOUSEMOVE, Screen(60, 10));
  EXPECT_EQ(close->state, 1);
  EXPECT_EQ(sf->ActiveBtn, nullptr);
  Mouse(WM_NCLBUTTONUP, Screen(60, 10));
  Mouse(WM_NCLBUTTONDOWN, Centre(close));
  Mouse(WM_NCLBUTTONUP, Centre(minimize));
  // Held down from close over minimise (which lights up) and released there.
  Mouse(WM_NCLBUTTONDOWN, Centre(close));
  Mouse(WM_NCMOUSEMOVE, Centre(minimize));
  Mouse(WM_NCLBUTTONUP, Centre(minimize));
  EXPECT_TRUE(TakePosted(hwnd, WM_SYSCOMMAND).empty());
  EXPECT_EQ(sf->Windowstate, swsNormal);
}

TEST_F(FormProcTest, MinimiseButtonMinimises) {
  TWinSysButton* minimize = Button(2);
  ASSERT_NE(minimize, nullptr);
  ASSERT_TRUE(minimize->enabled);
  Mouse(WM_NCLBUTTONDOWN, Centre(minimize));
  Mouse(WM_NCLBUTTONUP, Centre(minimize));
  std::vector<MSG> posted = TakePosted(hwnd, WM_SYSCOMMAND);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_MINIMIZE));
  EXPECT_EQ(sf->Windowstate, swsMin);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(hwnd));
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_EQ(sf->Windowstate, swsNormal);
}

TEST_F(FormProcTest, TimerLetsGoOfAButtonTheMouseHasLeft) {
  TWinSysButton* close = Button(0);
  Mouse(WM_NCMOUSEMOVE, Centre(close));
  ASSERT_EQ(sf->ActiveBtn, close);
  POINT saved;
  GetCursorPos(&saved);
  SetCursorPos(Centre(close).x, Centre(close).y);
  sf->TimerTick();
  EXPECT_EQ(sf->ActiveBtn, close);
  SetCursorPos(window.left + 60, window.bottom + 40);
  sf->TimerTick();
  EXPECT_EQ(sf->ActiveBtn, nullptr);
  EXPECT_EQ(close->state, 1);
  SetCursorPos(saved.x, saved.y);
}

TEST_F(FormProcTest, DoubleClickOnTheCaptionOfAWindowThatCannotMaximiseChangesNothing) {
  Mouse(WM_NCLBUTTONDBLCLK, Screen(60, 10));
  EXPECT_TRUE(TakePosted(hwnd, WM_SYSCOMMAND).empty());
  EXPECT_FALSE(IsZoomed(hwnd));
  sf->FormIcons |= IconBit(sbiMax);
  Mouse(WM_NCLBUTTONDBLCLK, Screen(60, 10));
  std::vector<MSG> posted = TakePosted(hwnd, WM_SYSCOMMAND);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_MAXIMIZE));
  EXPECT_EQ(sf->Windowstate, swsMax);
}

TEST_F(FormProcTest, WindowCommandsFromASkinDrawnPopupArriveAsSystemCommands) {
  SendMessageW(hwnd, WM_COMMAND, SC_MINIMIZE, 0);
  std::vector<MSG> posted = TakePosted(hwnd, WM_SYSCOMMAND);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_MINIMIZE));
  // A control's notification with the same number stays a command.
  SendMessageW(hwnd, WM_COMMAND, SC_MINIMIZE, reinterpret_cast<LPARAM>(hwnd));
  EXPECT_TRUE(TakePosted(hwnd, WM_SYSCOMMAND).empty());
}

// While the popup is open: what it holds, then close it.
struct OpenPopup {
  HMENU menu = nullptr;
  int items = -1;
  UINT restoreState = 0, minimizeState = 0, closeState = 0;
  bool sawWindow = false;
  RECT popupRect{};
};
OpenPopup* g_open = nullptr;
TWinSkinForm* g_sf = nullptr;

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_open->menu = g_sf->sysmenu;
  g_open->items = GetMenuItemCount(g_sf->sysmenu);
  g_open->restoreState = GetMenuState(g_sf->sysmenu, SC_RESTORE, MF_BYCOMMAND);
  g_open->minimizeState = GetMenuState(g_sf->sysmenu, SC_MINIMIZE, MF_BYCOMMAND);
  g_open->closeState = GetMenuState(g_sf->sysmenu, SC_CLOSE, MF_BYCOMMAND);
  HWND popup = FindWindowW(L"#32768", nullptr);
  g_open->sawWindow = popup && IsWindowVisible(popup);
  if (popup) GetWindowRect(popup, &g_open->popupRect);
  EndMenu();
}

TEST_F(FormProcTest, AltSpaceOpensTheSystemPopupAtTheClientOriginAndFreesIt) {
  OpenPopup open;
  g_open = &open;
  g_sf = sf;
  SetTimer(nullptr, 0, 200, LookAndClose);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, L' ');
  EXPECT_TRUE(open.sawWindow);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(open.popupRect.left, origin.x);
  EXPECT_EQ(open.popupRect.top, origin.y);
  ASSERT_NE(open.menu, nullptr);
  EXPECT_EQ(open.items, GetMenuItemCount(GetSystemMenu(hwnd, FALSE)));
  EXPECT_NE(open.restoreState & MF_GRAYED, 0u);
  EXPECT_EQ(open.minimizeState & MF_GRAYED, 0u);
  EXPECT_EQ(open.closeState & MF_GRAYED, 0u);
  // Closed without a choice: nothing posted, the menu gone.
  EXPECT_EQ(sf->sysmenu, nullptr);
  EXPECT_FALSE(IsMenu(open.menu));
  EXPECT_TRUE(TakePosted(hwnd, WM_SYSCOMMAND).empty());
  g_open = nullptr;
}

TEST(SysMenuMirrorTest, MirrorsEveryItemWithStatesFromTheWindow) {
  HWND w = CreateWindowExW(0, L"STATIC", L"m", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  HMENU system = GetSystemMenu(w, FALSE);
  ASSERT_NE(system, nullptr);
  EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  HMENU mirror = MirrorSystemMenu(system, TSysMenuWindow{1, true, false, true});
  ASSERT_NE(mirror, nullptr);
  const int n = GetMenuItemCount(system);
  ASSERT_EQ(GetMenuItemCount(mirror), n);
  for (int i = 0; i < n; ++i) EXPECT_EQ(GetMenuItemID(mirror, i), GetMenuItemID(system, i)) << i;
  // Maximised: restore on, move and maximise off; close grayed as in the system menu.
  EXPECT_EQ(GetMenuState(mirror, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(GetMenuState(mirror, SC_MOVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(GetMenuState(mirror, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(GetMenuState(mirror, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_TRUE(DestroyMenu(mirror));
  EXPECT_EQ(MirrorSystemMenu(nullptr, TSysMenuWindow{0, true, true, true}), nullptr);
  DestroyWindow(w);
}

}  // namespace
}  // namespace skin
