// The skin manager: which windows it adopts (every check of AddForm), the
// hook that adopts on activation and never refuses a creation, the timer's
// actions (coalescing, action 7 without the changed event), the choice of
// skin data, and switching off giving a window back exactly as it was.
#include "skin/model/WinSkinManage.h"

#include <gtest/gtest.h>

#include <ostream>

#include "gui/FormReader.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/SkinTestArchive.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

std::vector<uint8_t> PackedSkin() {
  test::TSkinFiles files;
  files.ini = "[TitlebarSkin]\nSkinName=Probe\n[Personality]\nTop=top.bmp\nTopFrame=2\n";
  files.Bitmap("top.bmp", test::Strip(6, 9, 2));
  TMemoryStream packed;
  test::PackInto(files, packed);
  return packed.Bytes();
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string StoredSkin() {
  std::vector<uint8_t> archive = PackedSkin();
  TMemoryStream s;
  s.WriteInt32(static_cast<int32_t>(archive.size()));
  s.WriteBuffer(archive.data(), static_cast<int64_t>(archive.size()));
  return Hex(s.Bytes());
}

// A window that claims to be skinned already, as another skinner's would.
LRESULT CALLBACK AlreadySkinnedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ISSKINNED) return 1;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

ATOM RegisterProbeClass(const wchar_t* name, WNDPROC proc = DefWindowProcW) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return 1;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc);
}

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

struct WindowState {
  LONG_PTR proc, style, exstyle;
  RECT client;
  SIZE outer;
  HMENU menu;
  bool hasRegion;
  bool operator==(const WindowState& o) const {
    return proc == o.proc && style == o.style && exstyle == o.exstyle && EqualRect(&client, &o.client) &&
           outer.cx == o.outer.cx && outer.cy == o.outer.cy && menu == o.menu && hasRegion == o.hasRegion;
  }
};

std::ostream& operator<<(std::ostream& out, const WindowState& s) {
  return out << "proc " << s.proc << " style " << std::hex << s.style << " ex " << s.exstyle << std::dec
             << " client " << s.client.right << "x" << s.client.bottom << " outer " << s.outer.cx << "x"
             << s.outer.cy << " menu " << s.menu << " region " << s.hasRegion;
}

WindowState StateOf(HWND hwnd) {
  WindowState s{};
  s.proc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  s.style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  s.exstyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  GetClientRect(hwnd, &s.client);
  RECT r;
  GetWindowRect(hwnd, &r);
  s.outer = {r.right - r.left, r.bottom - r.top};
  s.menu = GetMenu(hwnd);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  s.hasRegion = GetWindowRgn(hwnd, probe) != ERROR;
  DeleteObject(probe);
  return s;
}

class SkinManageTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinComponents();
    FreeSkinManager();
    RegisterProbeClass(kClass);
    root = std::make_unique<fw::TComponent>(nullptr);
    fw::ReadDefinition(*root,
                       "object Holder: TComponent\n  object SkinData1: TSkinData\n    Active = True\n"
                       "    SkinStream = {" +
                           StoredSkin() + "}\n  end\nend\n");
    data = static_cast<TSkinData*>(root->FindComponent(L"SkinData1"));
    data->OnSkinChanged.handler = [this](fw::TObject*) { ++changed; };
    manager = static_cast<TSkinManage*>(SkinManager());
  }
  void TearDown() override {
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
    FreeSkinManager();
    root.reset();
  }

  HWND Make(const wchar_t* cls, DWORD style, int width = 300, int height = 200, HWND parent = nullptr,
            HINSTANCE instance = GetModuleHandleW(nullptr), HMENU menu = nullptr) {
    HWND hwnd =
        CreateWindowExW(0, cls, L"Probe", style, 40, 40, width, height, parent, menu, instance, nullptr);
    windows.push_back(hwnd);
    return hwnd;
  }
  HWND MakeTop() { return Make(kClass, WS_OVERLAPPEDWINDOW); }

  static constexpr const wchar_t* kClass = L"QuellmarkAdoptProbe";
  std::unique_ptr<fw::TComponent> root;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
  int changed = 0;
  std::vector<HWND> windows;
};

TEST_F(SkinManageTest, StartUpBeforeAnyActivationOnlySwitchesOn) {
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->state, 0);
  EXPECT_TRUE(manager->active);
  EXPECT_FALSE(manager->TimerRunning());
  EXPECT_EQ(manager->MainData, data);
  manager->SetAction(saUnskinAll, 250);
  EXPECT_FALSE(manager->active);
  EXPECT_FALSE(manager->TimerRunning());
}

TEST_F(SkinManageTest, AdoptsAPlainTopLevelWindowOfThisProgramOnce) {
  HWND hwnd = MakeTop();
  ASSERT_TRUE(manager->AddForm(hwnd));
  TWinSkinForm* skinner = FindFormSkinner(hwnd);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(manager->FindSkinForm(hwnd), skinner);
  EXPECT_EQ(skinner->formclass, kClass);
  EXPECT_EQ(skinner->fsd, data);
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 1);
  LONG_PTR proc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  // A second request never subclasses again.
  EXPECT_FALSE(manager->AddForm(hwnd));
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), proc);
  EXPECT_EQ(manager->Flist.size(), 1u);
}

TEST_F(SkinManageTest, EveryAdoptionCheckRefuses) {
  HWND normal = MakeTop();
  // 1: switched off.
  manager->active = false;
  EXPECT_FALSE(manager->AddForm(normal));
  manager->active = true;
  // 3: another skinner's window.
  RegisterProbeClass(L"QuellmarkSkinnedElsewhere", AlreadySkinnedProc);
  EXPECT_FALSE(manager->AddForm(Make(L"QuellmarkSkinnedElsewhere", WS_OVERLAPPEDWINDOW)));
  // 6: a plain child window, unless child forms are asked for.
  HWND child = Make(kClass, WS_CHILD | WS_VISIBLE, 50, 50, normal);
  EXPECT_TRUE(TSkinManage::IsPlainChildWindow(child));
  EXPECT_FALSE(manager->AddForm(child));
  // 7: a window of another module that is no system dialog box.
  HWND foreign = Make(L"Static", WS_POPUP | WS_CAPTION, 300, 200, nullptr, GetModuleHandleW(L"user32.dll"));
  EXPECT_FALSE(manager->AddForm(foreign));
  // 8: a hidden helper window of zero size.
  EXPECT_FALSE(manager->AddForm(Make(kClass, WS_POPUP, 0, 0)));
  // 10: the application window's class.
  RegisterProbeClass(L"TApplication");
  EXPECT_FALSE(manager->AddForm(Make(L"TApplication", WS_OVERLAPPEDWINDOW)));
  // 11: the application's own rule.
  data->OnFormSkin = [](fw::TObject*, const std::wstring& name, bool& doSkin) {
    if (name == kClass) doSkin = false;
  };
  EXPECT_FALSE(manager->AddForm(normal));
  data->OnFormSkin = nullptr;
  // 12: no skin loaded.
  data->Empty = true;
  EXPECT_FALSE(manager->AddForm(normal));
  data->Empty = false;
  EXPECT_TRUE(manager->Flist.empty());
  // And the same window with every check passed.
  EXPECT_TRUE(manager->AddForm(normal));
}

TEST_F(SkinManageTest, SystemDialogBoxesAreAdoptedUnlessTheyAskForTheForeground) {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tmpl{};
  tmpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  tmpl.t.cx = 120;
  tmpl.t.cy = 60;
  HWND plain = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tmpl.t, nullptr, EmptyDialogProc, 0);
  tmpl.t.style |= DS_SETFOREGROUND;
  HWND foreground =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tmpl.t, nullptr, EmptyDialogProc, 0);
  windows.push_back(plain);
  windows.push_back(foreground);
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(foreground, nullptr);
  EXPECT_TRUE(manager->ShouldSkinWindow(plain, L"#32770"));
  EXPECT_FALSE(manager->ShouldSkinWindow(foreground, L"#32770"));
  EXPECT_FALSE(manager->AddForm(foreground));
  EXPECT_TRUE(manager->AddForm(plain));
  ASSERT_NE(FindFormSkinner(plain), nullptr);
  EXPECT_TRUE(FindFormSkinner(plain)->ismessagebox);
  EXPECT_EQ(FindFormSkinner(plain)->FormBorder, sbsDialog);
}

TEST_F(SkinManageTest, ChildrenOfAnMdiClientAreNotPlainChildren) {
  HWND frame = MakeTop();
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, frame,
                                nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  HWND inMdi = Make(kClass, WS_CHILD, 50, 50, client);
  EXPECT_FALSE(TSkinManage::IsPlainChildWindow(inMdi));
  EXPECT_FALSE(TSkinManage::IsPlainChildWindow(frame));
  EXPECT_TRUE(TSkinManage::IsPlainChildWindow(client));
}

TEST_F(SkinManageTest, TheHookAdoptsOnActivationAndNeverRefusesACreation) {
  HWND hwnd = MakeTop();
  EXPECT_EQ(FindFormSkinner(hwnd), nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetActiveWindow(hwnd);
  EXPECT_EQ(manager->state, 1);
  ASSERT_NE(FindFormSkinner(hwnd), nullptr);
  Pump(100);
  EXPECT_TRUE(FindFormSkinner(hwnd)->Active());
  // A size grip inside a skinned window, and a window of any class, is created.
  HWND grip = Make(L"ScrollBar", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 16, 16, hwnd);
  EXPECT_NE(grip, nullptr);
  EXPECT_NE(Make(L"ScrollBar", WS_CHILD | SBS_VERT, 16, 60, hwnd), nullptr);
  RegisterProbeClass(L"TApplication");
  EXPECT_NE(Make(L"TApplication", WS_POPUP, 0, 0), nullptr);
}

TEST_F(SkinManageTest, ARequestBeforeTheTickReplacesTheEarlierOne) {
  manager->state = 1;
  manager->UpdateData = data;
  manager->SetAction(saSkinAll, 250);
  manager->SetAction(saUnskinAll, 250);
  EXPECT_EQ(manager->PendingAction(), saUnskinAll);
  EXPECT_TRUE(manager->active);
  Pump(400);
  EXPECT_FALSE(manager->active);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(manager->UpdateData, nullptr);
  EXPECT_FALSE(manager->TimerRunning());
}

TEST_F(SkinManageTest, ReskinningOneWindowDoesNotFireTheChangedEvent) {
  HWND hwnd = MakeTop();
  ASSERT_TRUE(manager->AddForm(hwnd));
  Pump(50);
  manager->state = 1;
  manager->UpdateData = data;
  manager->lpara = hwnd;
  manager->SetAction(saReskinForm, 10);
  Pump(200);
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(manager->UpdateData, data);
  TWinSkinForm* after = FindFormSkinner(hwnd);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(manager->Flist.size(), 1u);
  EXPECT_EQ(manager->FindSkinForm(hwnd), after);
}

TEST_F(SkinManageTest, SwitchingOffGivesTheWindowBackExactlyAndOnSkinsItAgain) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 1, L"菜单");
  HWND hwnd = Make(kClass, WS_OVERLAPPEDWINDOW, 320, 240, nullptr, GetModuleHandleW(nullptr), bar);
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  WindowState unskinned = StateOf(hwnd);
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(manager->AddForm(hwnd)) << round;
    Pump(60);
    ASSERT_NE(FindFormSkinner(hwnd), nullptr);
    EXPECT_TRUE(FindFormSkinner(hwnd)->Active());
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), unskinned.proc);
    // The skinned frame keeps the client area, with the menu bar drawn in the frame.
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_TRUE(EqualRect(&client, &unskinned.client)) << client.right << "x" << client.bottom;
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    manager->state = 1;
    manager->UpdateData = data;
    manager->SetAction(saUnskinAll, 10);
    Pump(100);
    EXPECT_EQ(FindFormSkinner(hwnd), nullptr);
    EXPECT_TRUE(manager->Flist.empty());
    EXPECT_EQ(StateOf(hwnd), unskinned) << round;
    EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 0);
    manager->active = true;
  }
}

TEST_F(SkinManageTest, AWindowDestroyedWhileAdoptedIsDroppedAndFreed) {
  HWND hwnd = MakeTop();
  ASSERT_TRUE(manager->AddForm(hwnd));
  Pump(50);
  TWinSkinForm* skinner = FindFormSkinner(hwnd);
  ASSERT_NE(skinner, nullptr);
  DestroyWindow(hwnd);
  EXPECT_EQ(skinner->Skinstate, ssDestroyed);
  manager->DeleteForm3();
  EXPECT_TRUE(manager->Flist.empty());
}

TEST_F(SkinManageTest, ASkinnerLetGoInsideItsOwnMessageIsFreedWhenTheMessageReturns) {
  HWND hwnd = MakeTop();
  LONG_PTR original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  bool inside = false;
  // Runs inside the skinner's activation message: the component going away
  // makes the manager give the window back and free its skinner.
  data->OnAfterSkinForm = [&](fw::TObject*, HWND, const std::wstring&) {
    inside = true;
    manager->RemoveSkinData(data);
    // Given back at once, but the object is still there for the rest of the message.
    EXPECT_EQ(FindFormSkinner(hwnd), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  };
  ASSERT_TRUE(manager->AddForm(hwnd));
  size_t links = TWindowSubclass::LiveCount();
  Pump(100);
  EXPECT_TRUE(inside);
  EXPECT_TRUE(manager->Flist.empty());
  EXPECT_EQ(FindFormSkinner(hwnd), nullptr);
  EXPECT_EQ(TWindowSubclass::LiveCount(), links - 1);
  EXPECT_EQ(SendMessageW(hwnd, WM_ISSKINNED, 0, 0), 0);
  data->OnAfterSkinForm = nullptr;
}

TEST_F(SkinManageTest, SkinDataIsChosenByKindAndOrder) {
  fw::TComponent dialogs(nullptr);
  fw::ReadDefinition(dialogs,
                     "object Holder: TComponent\n  object A: TSkinData\n    SkinFormtype = sfDialog\n  end\n"
                     "  object B: TSkinData\n    SkinFormtype = sfDialog\n  end\nend\n");
  auto* b = static_cast<TSkinData*>(dialogs.FindComponent(L"B"));
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tmpl{};
  tmpl.t.style = WS_POPUP | WS_CAPTION;
  tmpl.t.cx = 50;
  tmpl.t.cy = 20;
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tmpl.t, nullptr, EmptyDialogProc, 0);
  windows.push_back(dialog);
  // The last dialog component for a system dialog box, the main one for any other window.
  EXPECT_EQ(manager->SelectSkinData(dialog), b);
  EXPECT_EQ(manager->SelectSkinData(MakeTop()), data);
}

}  // namespace
}  // namespace skin
