// The menu bar of a skinned frame on a real window: buttons built from the
// window's menu (which is detached and kept), the band painted into a memory
// DC and read back, hit tests, clicks posted only at real buttons, and the
// drop-downs opened with the platform's tracking while a timer plays the
// keyboard: arrows slide between buttons and into and out of submenus.
#include "skin/form/WinSkinMenuBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/SkinTestArchive.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

constexpr TPixel kActiveBand = MakePixel(10, 20, 30);
constexpr TPixel kInactiveBand = MakePixel(40, 50, 60);
constexpr UINT kOpenCommand = 7;
constexpr UINT kGoCommand = 42;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct TOpened {
  std::vector<HMENU> menus;
  std::vector<std::function<void()>> actions;  // what the user does after each look
  size_t step = 0;
};
TOpened g_script;

BOOL CALLBACK FindInnermost(HWND hwnd, LPARAM lParam) {
  wchar_t cls[16];
  if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) && wcscmp(cls, L"#32768") == 0) {
    *reinterpret_cast<HMENU*>(lParam) = reinterpret_cast<HMENU>(SendMessageW(hwnd, MN_GETHMENU, 0, 0));
    return FALSE;
  }
  return TRUE;
}

// Each tick looks at which menu is open innermost, then presses the next key.
void CALLBACK ScriptTick(HWND, UINT, UINT_PTR id, DWORD) {
  HMENU open = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindInnermost, reinterpret_cast<LPARAM>(&open));
  g_script.menus.push_back(open);
  if (g_script.step >= g_script.actions.size()) {
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
  g_script.actions[g_script.step++]();
  if (g_script.step == g_script.actions.size()) KillTimer(nullptr, id);
}

class MenuBarTest : public testing::Test {
 protected:
  void SetUp() override {
    InstallWinSkinPlatform();
    // Menu bar image: active half on top, inactive below; red captions, green
    // disabled ones, a white frame around a hot button.
    test::TSkinFiles files;
    files.ini =
        "[TitlebarSkin]\nSkinName=Menu\n[Personality]\nmenuBar=menubar.bmp\nTileMenu=1\n"
        "TileLeftMenu=2\nTileRightMenu=2\n[Colours]\nMenuBarText=255 0 0\nButtonShadow=0 255 0\n"
        "ButtonHilight=255 255 255\n";
    TBitmap bar(20, 40, kActiveBand);
    bar.FillRect(Rect(0, 20, 20, 40), kInactiveBand);
    files.Bitmap("menubar.bmp", bar);
    ASSERT_TRUE(test::LoadSkin(data, files));
    ASSERT_NE(data.Menubar, nullptr);

    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmMenuBarTest";
    RegisterClassW(&wc);
    fileMenu = CreatePopupMenu();
    AppendMenuW(fileMenu, MF_STRING, kOpenCommand, L"Open");
    emptyMenu = CreatePopupMenu();
    AppendMenuW(emptyMenu, MF_STRING, 8, L"Nothing");
    hiddenMenu = CreatePopupMenu();
    AppendMenuW(hiddenMenu, MF_STRING, 9, L"Hidden");
    deepMenu = CreatePopupMenu();
    AppendMenuW(deepMenu, MF_STRING, 10, L"Deep");
    editMenu = CreatePopupMenu();
    AppendMenuW(editMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(deepMenu), L"More");
    AppendMenuW(editMenu, MF_STRING, 11, L"Cut");
    offMenu = CreatePopupMenu();
    AppendMenuW(offMenu, MF_STRING, 12, L"Never");
    bar_ = CreateMenu();
    AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu), L"&File");
    AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(emptyMenu), L"");
    AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(hiddenMenu), L"Hid");
    AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu), L"&Edit");
    AppendMenuW(bar_, MF_STRING, kGoCommand, L"Go");
    AppendMenuW(bar_, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(offMenu), L"Off");
    hwnd = CreateWindowExW(0, L"QmMenuBarTest", L"menu", WS_OVERLAPPED | WS_VISIBLE, 40, 40, 500, 200,
                           nullptr, bar_, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    SetForegroundWindow(hwnd);

    form = std::make_unique<TWinSkinForm>(nullptr);
    form->hwnd = hwnd;
    form->fsd = &data;
    form->bw = Rect(4, 24, 4, 4);
    form->MenuHeight = 20;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    form->fwidth = wr.right - wr.left;
    form->fheight = wr.bottom - wr.top;
    form->menu = new TWinSkinMenu(form.get());
    form->menu->UpdataBtn();
  }

  void TearDown() override {
    form.reset();
    if (hwnd) DestroyWindow(hwnd);
    if (!GetMenu(hwnd) && IsMenu(bar_)) DestroyMenu(bar_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  // Handles what is queued (painting included, which stays queued until handled).
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  TRect Band() const { return Rect(4, 24, form->fwidth - 4, 44); }

  // The band painted into a memory DC the size of the window, read back.
  TBitmap PaintBand() {
    TDibSection target(form->fwidth, 60);
    form->menu->DrawMenu(target.DC(), Band());
    return target.ToBitmap();
  }

  TMenuBtn& Btn(int i) { return *form->menu->Button(i); }

  // Opens button `first` with the keys played one per tick; the menus seen
  // before each key and at the end.
  std::vector<HMENU> PlayKeys(int first, const std::vector<UINT>& keys) {
    std::vector<std::function<void()>> actions;
    for (UINT key : keys) actions.push_back([this, key] { PostMessageW(hwnd, WM_KEYDOWN, key, 0); });
    return Play(first, std::move(actions));
  }
  std::vector<HMENU> Play(int first, std::vector<std::function<void()>> actions) {
    g_script = TOpened{};
    g_script.actions = std::move(actions);
    SetTimer(nullptr, 0, 150, ScriptTick);
    form->CheckMenu(&Btn(first));
    return g_script.menus;
  }

  // Moves the pointer over a point of button `i` (this process holds the
  // display's pointer while its menu is open, so the move is real).
  std::function<void()> PointAt(int i, int dx = 0) {
    return [this, i, dx] {
      RECT wr;
      GetWindowRect(hwnd, &wr);
      SetCursorPos(wr.left + Btn(i).bounds.Left + 3 + dx, wr.top + Btn(i).bounds.Top + 5);
    };
  }

  TSkinData data{nullptr};
  std::unique_ptr<TWinSkinForm> form;
  HWND hwnd = nullptr;
  HMENU bar_ = nullptr, fileMenu = nullptr, emptyMenu = nullptr, hiddenMenu = nullptr, editMenu = nullptr,
        deepMenu = nullptr, offMenu = nullptr;
};

TEST_F(MenuBarTest, ButtonsComeFromTheWindowsMenuWhichIsDetachedAndKept) {
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  EXPECT_EQ(form->hmenu, bar_);
  EXPECT_EQ(form->menu->hmenu, bar_);
  TWinSkinMenu& bar = *form->menu;
  ASSERT_EQ(bar.Buttons.size(), 6u);
  EXPECT_EQ(bar.count, 6);
  EXPECT_EQ(Btn(0).caption, L"&File");
  EXPECT_EQ(Btn(0).hsubmenu, fileMenu);
  EXPECT_EQ(Btn(1).caption, L"");
  EXPECT_EQ(Btn(4).caption, L"Go");
  EXPECT_EQ(Btn(4).mid, kGoCommand);
  EXPECT_EQ(Btn(4).hsubmenu, nullptr);
  EXPECT_TRUE(Btn(3).enabled);
  EXPECT_FALSE(Btn(5).enabled);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Btn(i).index, i);
  // Rebuilding with the menu already detached reads the kept one again.
  bar.UpdataBtn();
  EXPECT_EQ(bar.Buttons.size(), 6u);
}

TEST_F(MenuBarTest, BandIsPaintedFromTheSkinWithCaptionsInTheSchemeColours) {
  TBitmap shot = PaintBand();
  const TRect band = Band();
  EXPECT_EQ(shot.Pixel(band.Left + 1, band.Top + 1), kActiveBand);
  EXPECT_EQ(shot.Pixel(band.Right - 2, band.Bottom - 1), kActiveBand);
  // The first button starts after the skin's left end (2) plus 4.
  EXPECT_EQ(Btn(0).bounds.Left, band.Left + 6);
  EXPECT_EQ(Btn(0).bounds.Top, band.Top);
  EXPECT_EQ(Btn(0).bounds.Bottom, band.Bottom - 1);
  EXPECT_EQ(Btn(1).bounds.Width(), 0);  // an empty caption takes no room
  // Text is smoothed: count the pixels where the caption colour clearly wins.
  auto count = [&](const TRect& r, int channel) {
    int n = 0;
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x) {
        TPixel p = shot.Pixel(x, y);
        uint8_t c[3] = {PixelRed(p), PixelGreen(p), PixelBlue(p)};
        n += c[channel] > 128 && c[(channel + 1) % 3] < 100 && c[(channel + 2) % 3] < 100;
      }
    return n;
  };
  EXPECT_GT(count(Btn(0).bounds, 0), 5);
  EXPECT_EQ(count(Btn(0).bounds, 1), 0);
  EXPECT_GT(count(Btn(5).bounds, 1), 5);  // disabled: ButtonShadow
  EXPECT_EQ(count(Btn(5).bounds, 0), 0);
  EXPECT_EQ(form->menu->Bar, band);
  EXPECT_EQ(form->menu->bkmap.Width(), band.Width());

  form->FWindowActive = false;
  EXPECT_EQ(PaintBand().Pixel(band.Left + 1, band.Top + 1), kInactiveBand);
}

TEST_F(MenuBarTest, LayoutWithoutPaintingMatchesThePaintedOne) {
  PaintBand();
  std::vector<TRect> painted;
  for (auto& b : form->menu->Buttons) painted.push_back(b->bounds);
  for (auto& b : form->menu->Buttons) b->bounds = TRect{};
  form->menu->SetMenuRect();
  for (size_t i = 0; i < painted.size(); ++i) EXPECT_EQ(form->menu->Buttons[i]->bounds, painted[i]);
}

TEST_F(MenuBarTest, HitTestAndHiddenButtons) {
  Btn(2).visible = false;
  PaintBand();
  EXPECT_EQ(Btn(2).bounds, TRect{});
  const TRect f = Btn(0).bounds;
  EXPECT_EQ(form->menu->FindBtn(POINT{f.Left + 2, f.Top + 2}), &Btn(0));
  EXPECT_EQ(form->menu->FindBtn(POINT{Btn(1).bounds.Left, f.Top + 2}), &Btn(3));  // the empty one is skipped
  EXPECT_EQ(form->menu->FindBtn(POINT{f.Left - 1, f.Top + 2}), nullptr);
  EXPECT_EQ(form->menu->FindBtn(POINT{f.Left + 2, f.Bottom}), nullptr);
  EXPECT_EQ(form->menu->FirstButton(), &Btn(0));
}

TEST_F(MenuBarTest, ClickIsPostedOnlyAtARealButton) {
  Btn(2).visible = false;
  PaintBand();
  Drain();
  MSG msg;
  form->ClickButton(&Btn(2));
  form->ClickButton(&Btn(1));
  form->ClickButton(nullptr);
  EXPECT_FALSE(PeekMessageW(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  form->ClickButton(&Btn(3));
  ASSERT_TRUE(PeekMessageW(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  RECT wr;
  GetWindowRect(hwnd, &wr);
  EXPECT_EQ(static_cast<short>(LOWORD(msg.lParam)), wr.left + Btn(3).bounds.Left + 1);
  EXPECT_EQ(static_cast<short>(HIWORD(msg.lParam)), wr.top + Btn(3).bounds.Top + 1);
}

TEST_F(MenuBarTest, PlainCommandAndNoButtonOpenNothing) {
  PaintBand();
  Drain();
  MSG msg;
  EXPECT_FALSE(form->CheckMenu(nullptr));
  EXPECT_FALSE(form->CheckMenu(&Btn(4)));
  ASSERT_TRUE(PeekMessageW(&msg, hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, kGoCommand);
  EXPECT_FALSE(form->fInMenu);
}

TEST_F(MenuBarTest, ChoosingAnItemPostsItsCommand) {
  PaintBand();
  std::vector<HMENU> seen = PlayKeys(0, {VK_RETURN});
  ASSERT_GE(seen.size(), 1u);
  EXPECT_EQ(seen[0], fileMenu);
  MSG msg;
  bool chosen = false;
  while (PeekMessageW(&msg, hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) chosen |= msg.wParam == kOpenCommand;
  EXPECT_TRUE(chosen);
  EXPECT_FALSE(form->fInMenu);
  EXPECT_EQ(Btn(0).state, 1);
}

TEST_F(MenuBarTest, ArrowsSlideBetweenButtonsAndIntoSubmenus) {
  Btn(2).visible = false;
  PaintBand();
  std::vector<HMENU> seen = PlayKeys(0, {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_LEFT, VK_LEFT, VK_ESCAPE});
  // File; Right skips the empty, hidden ones to Edit, whose first item has a
  // submenu: Right opens it, Left closes it; Left goes back to File, Left
  // again wraps past the disabled and plain buttons to Edit; Escape closes.
  std::vector<HMENU> expected{fileMenu, editMenu, deepMenu, editMenu, fileMenu, editMenu};
  ASSERT_GE(seen.size(), expected.size());
  seen.resize(expected.size());
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(form->fInMenu);
  EXPECT_EQ(MenuTrackingForm(), form.get());
  // Nothing is open any more: the neighbours are the first and last buttons that open.
  EXPECT_EQ(NextMenuButton(true), &Btn(0));
  EXPECT_EQ(NextMenuButton(false), &Btn(3));
}

TEST_F(MenuBarTest, MouseSlidesToAnotherButtonsDropDownButNotToAPlainCommand) {
  PaintBand();
  std::vector<HMENU> seen =
      Play(0, std::vector<std::function<void()>>{PointAt(3), PointAt(3, 2), PointAt(4), PointAt(0),
                                                 [this] { PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0); }});
  // Over Edit its drop-down replaces File's; resting there changes nothing;
  // over the plain command Go nothing opens; back over File, File's again.
  std::vector<HMENU> expected{fileMenu, editMenu, editMenu, editMenu, fileMenu};
  ASSERT_GE(seen.size(), expected.size());
  seen.resize(expected.size());
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(form->fInMenu);
}

TEST_F(MenuBarTest, AFreedSkinnerIsForgottenByTheTracking) {
  PaintBand();
  PlayKeys(0, {VK_ESCAPE});
  EXPECT_EQ(MenuTrackingForm(), form.get());
  form.reset();
  EXPECT_EQ(MenuTrackingForm(), nullptr);
  EXPECT_EQ(GetMenu(hwnd), nullptr);  // the skinner was not attached: the menu is the test's to give back
  SetMenu(hwnd, bar_);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(hwnd, msg, wParam, lParam);
}

TEST_F(MenuBarTest, MaximizedMdiChildsButtonsSitAtTheBandsRightEnd) {
  // An MDI client inside the window with one maximized child.
  WNDCLASSW wc{};
  wc.lpfnWndProc = ChildProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmMenuBarChild";
  RegisterClassW(&wc);
  CLIENTCREATESTRUCT ccs{nullptr, 1000};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 400, 100, hwnd,
                                nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  MDICREATESTRUCTW mcs{L"QmMenuBarChild", L"child", GetModuleHandleW(nullptr), 0, 0, 200, 80, WS_MAXIMIZE, 0};
  ASSERT_NE(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)), 0);
  form->FormStyle = sfsMDIform;
  form->ClientHwnd = client;
  ASSERT_TRUE(form->MDIChildMax());
  // The child's close button: Visibility 100, a blue image, at the band's right end.
  TDataSkinSysButton close("CLOSE");
  close.Visibility = 100;
  close.Map = TBitmap(12, 12, MakePixel(0, 0, 255));
  form->SysBtn.push_back(std::make_unique<TWinSysButton>(form.get(), &close));
  TWinSysButton& b = *form->SysBtn.back();
  b.visible = true;
  const TRect band = Band();
  b.bounds = Rect(band.Right - 20, band.Top + 4, band.Right - 8, band.Top + 16);
  form->bidileft = true;
  TBitmap shot = PaintBand();
  EXPECT_EQ(shot.Pixel(band.Right - 14, band.Top + 10), MakePixel(0, 0, 255));
  // A right-to-left row ends 5 pixels before the child's buttons.
  EXPECT_LE(Btn(0).bounds.Right, b.bounds.Left - 5);
  EXPECT_GT(Btn(0).bounds.Right, b.bounds.Left - 40);
  // Without a maximized child the image is not drawn and the row runs to the end.
  form->FormStyle = sfsNormal;
  shot = PaintBand();
  EXPECT_NE(shot.Pixel(band.Right - 14, band.Top + 10), MakePixel(0, 0, 255));
  EXPECT_GT(Btn(0).bounds.Right, b.bounds.Left - 5);
  form->SysBtn.clear();
  DestroyWindow(client);
}

TEST_F(MenuBarTest, MarkingADropDownOwnerDrawnReachesSubmenus) {
  MakeMenuOwnerDrawn(editMenu);
  for (HMENU m : {editMenu, deepMenu}) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(m, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  }
  MENUITEMINFOW untouched{};
  untouched.cbSize = sizeof untouched;
  untouched.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(fileMenu, 0, TRUE, &untouched));
  EXPECT_FALSE(untouched.fType & MFT_OWNERDRAW);
}

}  // namespace
}  // namespace skin
