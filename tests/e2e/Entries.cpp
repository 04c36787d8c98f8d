// The main window's edits and combo boxes drawn by the skin: each answers the
// skin query; the table combo box opens with the real mouse and with the
// keyboard (F4, Alt+Down), an item is chosen either way and the handler runs
// (the grid reloads, the status bar counts the rows); its button turns hot
// under the mouse but not over the text; and the combo's states look as
// stored (tests/e2e/reference; only the text may differ a little).
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

const wchar_t* const kEntries[] = {L"Edit_MDBPath", L"Edit_SoftVer", L"Edit_OldDatabaseTableName",
                                   L"ComboBox_ID", L"ComboBox_DB_Words"};

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
  const std::vector<HWND> shown = ShownWindows(processId, L"ComboLBox");
  return shown.empty() ? nullptr : shown.front();
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

// The combo's stored pictures: `textWidth` pixels from the left, inside a
// margin of 3, hold its anti-aliased text, where 30 pixels may differ.
void ExpectComboLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                              int textWidth) {
  ExpectLooksAsStoredAroundText(ctx, shot, name, RECT{3, 3, textWidth, shot.Height() - 3}, 64, 30);
}

// The table combo, with the case's database open and the window ready.
struct TableCombo {
  HWND window = nullptr;
  int items = 0;
  int customers = 0;  // the index of "Customers" among the items
};

TableCombo OpenTableCombo(Session& s, const Context& ctx) {
  OpenDatabase(s, ctx);
  MakeReady(s, {L"ComboBox_DB_Words"});
  HWND combo = s.Control(L"Edit_OldDatabaseTableName");
  const std::vector<std::wstring> items = Lines(s.Ask(combo, L"items"));
  const auto customers = std::find(items.begin(), items.end(), L"Customers");
  E2E_CHECK(customers != items.end());
  return TableCombo{combo, static_cast<int>(items.size()), static_cast<int>(customers - items.begin())};
}

// Choosing "Customers" ran the handler: no message, the grid and the status bar show its rows.
void ExpectCustomersChosen(Session& s) {
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring(L"Customers"));
  E2E_CHECK_EQ(s.GridRows(), 11);
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
}

}  // namespace

E2E_CASE(EntriesEveryEditAndComboOfTheMainWindowIsSkinned) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"ComboBox_DB_Words"});
  for (const wchar_t* name : kEntries) {
    HWND h = s.Control(name);
    if (!h || !Skinned(h)) throw Failure(Narrow(name) + " is not skinned");
  }
  E2E_CHECK(s.Close());
}

E2E_CASE(EntriesTableComboOpensWithTheMouseTurnsHotOnlyOverItsButtonAndItsChoiceReloadsTheGrid) {
  Session s(ctx.app, ctx.work);
  const TableCombo table = OpenTableCombo(s, ctx);
  HWND combo = table.window;
  RECT r;
  GetWindowRect(combo, &r);
  const int h = r.bottom - r.top, w = r.right - r.left;
  const POINT text{r.left + 20, r.top + h / 2}, button{r.right - 6, r.top + h / 2};
  // Normal, hot over the button, and still normal over the text.
  const skin::TBitmap normal = Capture(r);
  ExpectComboLooksAsStored(ctx, normal, "entries-combo-normal", w - 24);
  MoveMouse(button);
  E2E_CHECK(WaitFor([&] { return Differing(Capture(r), normal) > 0; }, 1500));
  const skin::TBitmap hot = Capture(r);
  ExpectComboLooksAsStored(ctx, hot, "entries-combo-hot", w - 24);
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
  ExpectComboLooksAsStored(ctx, Capture(both), "entries-combo-dropped", w - 24);  // the caret blinks
  ClickAt(ItemPoint(list, table.customers));
  E2E_CHECK(WaitFor([&] { return !Dropped(combo); }));
  ExpectCustomersChosen(s);
  MoveMouse(kAway);
  E2E_CHECK(s.Close());
}

E2E_CASE(EntriesTableComboOpensWithF4AndAltDownAndTheKeyboardChoosesATable) {
  Session s(ctx.app, ctx.work);
  const TableCombo table = OpenTableCombo(s, ctx);
  HWND combo = table.window;
  // Focus in the combo's text, then F4 opens the list.
  RECT r;
  GetWindowRect(combo, &r);
  ClickAt(POINT{r.left + 20, (r.top + r.bottom) / 2});
  MoveMouse(kAway);
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
  const int steps = table.items;
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
  ExpectCustomersChosen(s);
  E2E_CHECK(s.Close());
}

}  // namespace e2e
