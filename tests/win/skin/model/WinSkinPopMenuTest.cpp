// Popup menu windows ("#32768") under the skin manager: a skinner is
// attached when the kind of menu being opened is allowed, the window answers
// that it is skinned, its frame and background come from MenuBackground at
// the window's size, and everything is let go when the menu closes.
// Menus are opened for real with TrackPopupMenu; a timer inside the menu's
// loop looks at the open window and closes the menu.
#include "skin/model/WinSkinPopMenu.h"

#include <gtest/gtest.h>

#include <functional>

#include "gui/FormReader.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/SkinTestArchive.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinManage.h"

namespace skin {
namespace {

constexpr TPixel kFrameColour = MakePixel(200, 30, 40);
constexpr TPixel kInsideColour = MakePixel(240, 230, 210);

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// A skin with a menu background (a red frame 3 pixels wide round a light
// middle) unless `withBackground` is false.
std::string StoredSkin(bool withBackground) {
  test::TSkinFiles files;
  files.ini = "[TitlebarSkin]\nSkinName=Popup\n[Personality]\nTop=top.bmp\nTopFrame=2\n";
  files.Bitmap("top.bmp", test::Strip(6, 9, 2));
  if (withBackground) {
    files.ini +=
        "[MenuBackground]\nImage=menubg.bmp\nLeftWidth=3\nTopHeight=3\nRightWidth=3\nBottomHeight=3\n";
    TBitmap bg(30, 30, kFrameColour);
    bg.FillRect(Rect(3, 3, 27, 27), kInsideColour);
    files.Bitmap("menubg.bmp", bg);
  }
  TMemoryStream packed;
  test::PackInto(files, packed);
  std::vector<uint8_t> archive = packed.Bytes();
  TMemoryStream s;
  s.WriteInt32(static_cast<int32_t>(archive.size()));
  s.WriteBuffer(archive.data(), static_cast<int64_t>(archive.size()));
  return Hex(s.Bytes());
}

// What the timer saw of the open menu.
struct TLook {
  HWND popup = nullptr;
  LRESULT skinned = 0;
  LRESULT skinnedAgain = 0;
  size_t skinners = 0;
  bool backgroundOfWindowSize = false;
  TPixel corner = 0;
  bool ownerdraw = false;
};
TLook g_look;
std::function<void()> g_whileOpen;

BOOL CALLBACK FindPopup(HWND hwnd, LPARAM lParam) {
  wchar_t cls[16];
  if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) && wcscmp(cls, L"#32768") == 0) {
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK LookTick(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND popup = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&popup));
  g_look.popup = popup;
  if (popup) {
    UpdateWindow(popup);
    RECT wr;
    GetWindowRect(popup, &wr);
    g_look.skinned = SendMessageW(popup, WM_ISSKINNED, 0, 0);
    g_look.skinnedAgain = SendMessageW(popup, WM_ISSKINNED, 0, 0);
    if (g_whileOpen) g_whileOpen();
    auto* manager = static_cast<TSkinManage*>(SkinManager());
    g_look.skinners = manager->Mlist.size();
    if (TWinSkinPopMenu* skinner = manager->FindPopup(popup)) {
      g_look.backgroundOfWindowSize =
          skinner->MenuBg.Width() == wr.right - wr.left && skinner->MenuBg.Height() == wr.bottom - wr.top;
      g_look.ownerdraw = skinner->ownerdraw;
    }
    // What the screen shows of the window's frame and inside.
    HDC screen = GetDC(nullptr);
    TBitmap px = ReadDcPixels(screen, Rect(wr.left, wr.top, wr.left + 8, wr.top + 8));
    ReleaseDC(nullptr, screen);
    g_look.corner = px.Pixel(1, 1);
  }
  EndMenu();
}

class PopMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinComponents();
    FreeSkinManager();
    g_look = TLook{};
    g_whileOpen = nullptr;
  }
  void Load(bool withBackground) {
    root = std::make_unique<fw::TComponent>(nullptr);
    fw::ReadDefinition(*root,
                       "object Holder: TComponent\n  object SkinData1: TSkinData\n    Active = True\n"
                       "    SkinStream = {" +
                           StoredSkin(withBackground) + "}\n  end\nend\n");
    data = static_cast<TSkinData*>(root->FindComponent(L"SkinData1"));
    manager = static_cast<TSkinManage*>(SkinManager());
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(manager->active);
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"First item of the menu");
    AppendMenuW(menu, MF_STRING, 2, L"Second");
    AppendMenuW(menu, MF_STRING, 3, L"Third");
  }
  void TearDown() override {
    if (menu) DestroyMenu(menu);
    if (owner) DestroyWindow(owner);
    FreeSkinManager();
    root.reset();
  }
  // Opens the menu as `kind` (0 free popup, 1 menu-bar menu, 2 window menu) and looks at it.
  void Open(int kind) {
    manager->menutype = kind;
    manager->menuactive = kind == 1;
    SetForegroundWindow(owner);
    SetTimer(nullptr, 0, 200, LookTick);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY | TPM_RETURNCMD, 100, 100, 0, owner,
                   nullptr);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  std::unique_ptr<fw::TComponent> root;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(PopMenuTest, AFreePopupMenuIsSkinnedAndLetGoWhenItCloses) {
  Load(true);
  Open(0);
  ASSERT_NE(g_look.popup, nullptr);
  EXPECT_EQ(g_look.skinned, 1);
  EXPECT_EQ(g_look.skinnedAgain, 1);
  EXPECT_EQ(g_look.skinners, 1u);
  EXPECT_TRUE(g_look.backgroundOfWindowSize);
  EXPECT_FALSE(g_look.ownerdraw);
  // The frame on screen is the skin's.
  EXPECT_EQ(g_look.corner, kFrameColour);
  EXPECT_TRUE(manager->Mlist.empty());
  EXPECT_EQ(manager->menutype, 0);
}

TEST_F(PopMenuTest, AMenuOfTheMenuBarIsOwnerDrawn) {
  Load(true);
  Open(1);
  EXPECT_EQ(g_look.skinned, 1);
  EXPECT_TRUE(g_look.ownerdraw);
  EXPECT_TRUE(manager->Mlist.empty());
  EXPECT_FALSE(manager->menuactive);
  EXPECT_EQ(manager->menutype, 0);
}

TEST_F(PopMenuTest, WithoutPopupMenusAllowedAContextMenuKeepsThePlatformsLookButTheBarsMenusAreSkinned) {
  Load(true);
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcPopupMenu));
  Open(0);
  ASSERT_NE(g_look.popup, nullptr);
  EXPECT_EQ(g_look.skinned, 0);
  EXPECT_EQ(g_look.skinners, 0u);
  EXPECT_NE(g_look.corner, kFrameColour);
  Open(1);
  EXPECT_EQ(g_look.skinned, 1);
  EXPECT_EQ(g_look.corner, kFrameColour);
}

TEST_F(PopMenuTest, ASkinWithoutAMenuBackgroundLeavesTheFrameToThePlatform) {
  Load(false);
  Open(0);
  ASSERT_NE(g_look.popup, nullptr);
  // Attached (it answers) but draws nothing of its own.
  EXPECT_EQ(g_look.skinned, 1);
  EXPECT_EQ(g_look.skinners, 1u);
  EXPECT_FALSE(g_look.backgroundOfWindowSize);
  EXPECT_NE(g_look.corner, kFrameColour);
}

TEST_F(PopMenuTest, TheMenuKindGoesBackToAFreePopupWhenANeverSkinnedMenuCloses) {
  Load(true);
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcSystemMenu));
  Open(2);
  EXPECT_EQ(g_look.skinned, 0);
  EXPECT_EQ(manager->menutype, 0);
}

TEST_F(PopMenuTest, AnAlreadySkinnedWindowIsNotSkinnedTwice) {
  Load(true);
  g_whileOpen = [] {
    auto* m = static_cast<TSkinManage*>(SkinManager());
    m->AddPopupMenu(g_look.popup);
    m->AddPopupMenu(g_look.popup);
  };
  Open(0);
  EXPECT_EQ(g_look.skinners, 1u);
  EXPECT_TRUE(manager->Mlist.empty());
}

TEST_F(PopMenuTest, TheBackgroundOfAShownMenuIsFoundByItsMenuOnceKnown) {
  Load(true);
  const TBitmap* found = nullptr;
  const TBitmap* unknown = reinterpret_cast<const TBitmap*>(1);
  g_whileOpen = [&] {
    auto* m = static_cast<TSkinManage*>(SkinManager());
    unknown = m->GetMenuBg(reinterpret_cast<HMENU>(0x1234));
    m->SetHMenu(menu);
    found = m->GetMenuBg(menu);
  };
  Open(0);
  EXPECT_EQ(unknown, nullptr);
  ASSERT_NE(found, nullptr);
}

TEST_F(PopMenuTest, SwitchedOffTheManagerSkinsNoMenu) {
  Load(true);
  manager->active = false;
  Open(0);
  ASSERT_NE(g_look.popup, nullptr);
  EXPECT_EQ(g_look.skinned, 0);
  manager->active = true;
}

}  // namespace
}  // namespace skin
