// The main window's edits and combo boxes drawn by the skin: each answers the
// skin query; the table combo box opens with the real mouse and with the
// keyboard (F4, Alt+Down), an item is chosen either way and the handler runs
// (the grid reloads, the status bar counts the rows); its button turns hot
// under the mouse but not over the text; and the combo's states look as
// stored (tests/e2e/reference; only the text may differ a little).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <vector>

#include "Harness.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

constexpr UINT kIsSkinned = 0x3523;

const wchar_t* const kEntries[] = {L"Edit_MDBPath", L"Edit_SoftVer", L"Edit_OldDatabaseTableName",
                                   L"ComboBox_ID", L"ComboBox_DB_Words"};

bool Skinned(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, kIsSkinned, 0, 0, SMTO_BLOCK, 2000, &answer) && answer == 1;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 3000) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

void MoveMouse(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(60);
}

void MouseButton(DWORD flag) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flag;
  SendInput(1, &in, sizeof in);
  Sleep(60);
}

void ClickAt(POINT p) {
  MoveMouse(p);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
}

void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  Sleep(40);
}

void Tap(WORD vk) {
  Key(vk, true);
  Key(vk, false);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> out;
  std::wstringstream in(text);
  for (std::wstring line; std::getline(in, line);) out.push_back(line);
  return out;
}

bool Dropped(HWND combo) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(combo, CB_GETDROPPEDSTATE, 0, 0, SMTO_BLOCK, 2000, &answer) && answer != 0;
}

// The shown drop-down list of the program: a visible ComboLBox window of its process.
HWND ShownList(DWORD processId) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND w, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (pid == s->pid && IsWindowVisible(w) && lstrcmpiW(cls, L"ComboLBox") == 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The centre of item `index` of a shown list, on the screen.
POINT ItemPoint(HWND list, int index) {
  RECT client;
  GetClientRect(list, &client);
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  return POINT{origin.x + 20, origin.y + (index - top) * height + height / 2};
}

void OpenDatabase(Session& s, const Context& ctx) {
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(ctx.database);
  if (auto box = s.WaitIdleOrBox()) throw Failure("unexpected message after opening: " + Narrow(box->text));
}

void MakeReady(Session& s) {
  MoveMouse(POINT{1270, 790});
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }));
  SetForegroundWindow(s.Main());
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == s.Main(); }));
  E2E_CHECK(WaitFor([&] { return Skinned(s.Control(L"ComboBox_DB_Words")); }));
  s.WaitIdleOrBox();
  Sleep(200);
}

std::wstring ReferencePath(const std::string& name) {
  std::wstring dir = WideText(QM_E2E_REFERENCE_DIR);
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  if (!dir.empty() && dir[0] == L'\\') dir = L"Z:" + dir;
  return dir + L"\\" + WideText(name) + L".bmp";
}

int Distance(skin::TPixel a, skin::TPixel b) {
  return std::max({std::abs(skin::PixelRed(a) - skin::PixelRed(b)),
                   std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)),
                   std::abs(skin::PixelBlue(a) - skin::PixelBlue(b))});
}

// Pixels that differ by more than `tolerance`.
int Differing(const skin::TBitmap& a, const skin::TBitmap& b, int tolerance = 2) {
  int n = 0;
  for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
    for (int x = 0; x < std::min(a.Width(), b.Width()); ++x)
      n += Distance(a.Pixel(x, y), b.Pixel(x, y)) > tolerance;
  return n;
}

// Compares a capture with the stored picture of that name; the capture is
// left in the run's folder either way. `textWidth` pixels from the left may
// differ a little (the combo's text is anti-aliased).
void ExpectLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                         int textWidth) {
  std::vector<uint8_t> bytes = shot.SaveToBmp();
  std::ofstream(Narrow(ctx.runRoot + L"\\" + WideText(name) + L".bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::ifstream in(Narrow(ReferencePath(name)), std::ios::binary);
  if (!in)
    throw Failure("no reference " + Narrow(ReferencePath(name)) + "; the capture is in the run's folder");
  std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::TBitmap reference;
  E2E_CHECK(reference.LoadFromBmp(stored));
  E2E_CHECK_EQ(shot.Width(), reference.Width());
  E2E_CHECK_EQ(shot.Height(), reference.Height());
  int outside = 0, inside = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      bool text = x >= 3 && x < textWidth && y >= 3 && y < shot.Height() - 3;
      int d = Distance(shot.Pixel(x, y), reference.Pixel(x, y));
      if (text ? d > 64 : d > 2) ++(text ? inside : outside);
    }
  if (outside > 0 || inside > 30)
    throw Failure(name + ": " + std::to_string(outside) + " pixels outside the text and " +
                  std::to_string(inside) + " inside it differ from the reference");
}

}  // namespace

E2E_CASE(EntriesEveryEditAndComboOfTheMainWindowIsSkinned) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  for (const wchar_t* name : kEntries) {
    HWND h = s.Control(name);
    if (!h || !Skinned(h)) throw Failure(Narrow(name) + " is not skinned");
  }
  E2E_CHECK(s.Close());
}

E2E_CASE(EntriesTableComboOpensWithTheMouseTurnsHotOnlyOverItsButtonAndItsChoiceReloadsTheGrid) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  MakeReady(s);
  HWND combo = s.Control(L"Edit_OldDatabaseTableName");
  const std::vector<std::wstring> items = Lines(s.Ask(combo, L"items"));
  const auto customers = std::find(items.begin(), items.end(), L"Customers");
  E2E_CHECK(customers != items.end());
  RECT r;
  GetWindowRect(combo, &r);
  const int h = r.bottom - r.top, w = r.right - r.left;
  const POINT text{r.left + 20, r.top + h / 2}, button{r.right - 6, r.top + h / 2};
  // Normal, hot over the button, and still normal over the text.
  const skin::TBitmap normal = Capture(r);
  ExpectLooksAsStored(ctx, normal, "entries-combo-normal", w - 24);
  MoveMouse(button);
  E2E_CHECK(WaitFor([&] { return Differing(Capture(r), normal) > 0; }, 1500));
  const skin::TBitmap hot = Capture(r);
  ExpectLooksAsStored(ctx, hot, "entries-combo-hot", w - 24);
  MoveMouse(text);
  E2E_CHECK(WaitFor([&] { return Differing(Capture(r), normal) == 0; }, 1500));
  // The mouse opens the list and picks "Customers".
  ClickAt(button);
  E2E_CHECK(WaitFor([&] { return Dropped(combo); }));
  HWND list = ShownList(s.ProcessId());
  E2E_CHECK(list != nullptr);
  RECT listRect;
  GetWindowRect(list, &listRect);
  RECT both{r.left, r.top, std::max(r.right, listRect.right), listRect.bottom};
  Sleep(150);
  ExpectLooksAsStored(ctx, Capture(both), "entries-combo-dropped", w - 24);  // the caret blinks
  ClickAt(ItemPoint(list, static_cast<int>(customers - items.begin())));
  E2E_CHECK(WaitFor([&] { return !Dropped(combo); }));
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring(L"Customers"));
  E2E_CHECK_EQ(s.GridRows(), 11);
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
  MoveMouse(POINT{1270, 790});
  E2E_CHECK(s.Close());
}

E2E_CASE(EntriesTableComboOpensWithF4AndAltDownAndTheKeyboardChoosesATable) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  MakeReady(s);
  HWND combo = s.Control(L"Edit_OldDatabaseTableName");
  const std::vector<std::wstring> items = Lines(s.Ask(combo, L"items"));
  const auto customers = std::find(items.begin(), items.end(), L"Customers");
  E2E_CHECK(customers != items.end());
  // Focus in the combo's text, then F4 opens the list.
  RECT r;
  GetWindowRect(combo, &r);
  ClickAt(POINT{r.left + 20, (r.top + r.bottom) / 2});
  MoveMouse(POINT{1270, 790});
  Tap(VK_F4);
  E2E_CHECK(WaitFor([&] { return Dropped(combo); }));
  Tap(VK_ESCAPE);
  E2E_CHECK(WaitFor([&] { return !Dropped(combo); }));
  // Alt+Down opens it too; the arrows walk the list (each step runs the
  // handler, as in the program's own window) until the table is chosen.
  Key(VK_MENU, true);
  Tap(VK_DOWN);
  Key(VK_MENU, false);
  E2E_CHECK(WaitFor([&] { return Dropped(combo); }));
  const int steps = static_cast<int>(items.size());
  for (int i = 0; i <= steps && s.Text(L"Edit_OldDatabaseTableName") != L"Customers"; ++i) {
    Tap(VK_DOWN);
    s.WaitIdleOrBox();
  }
  for (int i = 0; i <= steps && s.Text(L"Edit_OldDatabaseTableName") != L"Customers"; ++i) {
    Tap(VK_UP);
    s.WaitIdleOrBox();
  }
  E2E_CHECK(Dropped(combo));
  Tap(VK_RETURN);
  E2E_CHECK(WaitFor([&] { return !Dropped(combo); }));
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring(L"Customers"));
  E2E_CHECK_EQ(s.GridRows(), 11);
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
  E2E_CHECK(s.Close());
}

}  // namespace e2e
