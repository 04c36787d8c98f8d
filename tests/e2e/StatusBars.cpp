// The main window's status bar drawn by the skin: it answers the skin query;
// the status panels show the texts the handlers write (opening a database,
// choosing a table: panel 0 counts the rows) and look as stored
// (tests/e2e/reference); before a table is chosen the grid's empty header
// strip shows a face, not black.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

HWND GridHeader(Session& s) {
  return FindWindowExW(s.Control(L"DBGrid1"), nullptr, WC_HEADERW, nullptr);
}

// Opens the case's database through "打开" and the open dialog, then chooses Customers.
void OpenCustomers(Session& s, const Context& ctx) {
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(ctx.database);
  if (auto box = s.WaitIdleOrBox()) throw Failure("unexpected message after opening: " + Narrow(box->text));
  s.Choose(L"Edit_OldDatabaseTableName", L"Customers");
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
}

}  // namespace

E2E_CASE(StatusBarsPanelsShowTheHandlersTextsWithTheSkinOn) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"StatusBar1"});
  HWND bar = s.Control(L"StatusBar1");
  E2E_CHECK(Skinned(bar));
  // Before a table is chosen the grid's header has no items: its strip shows
  // a face, never black.
  HWND header = GridHeader(s);
  E2E_CHECK(header != nullptr);
  const skin::TBitmap empty = Capture(ScreenRect(header));
  int black = 0;
  for (int y = 0; y < empty.Height(); ++y)
    for (int x = 0; x < empty.Width(); ++x) black += empty.Pixel(x, y) == 0;
  E2E_CHECK_EQ(black, 0);
  const RECT barRect = ScreenRect(bar);
  const skin::TBitmap before = Capture(barRect);
  OpenCustomers(s, ctx);
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
  SetForegroundWindow(s.Main());
  MoveMouse(kAway);
  Sleep(300);
  const skin::TBitmap after = Capture(barRect);
  // The count shows in panel 0 (the first 200 pixels), nowhere else.
  const int h = after.Height();
  RECT first{0, 0, std::min(196, after.Width()), h};
  RECT rest{204, 0, after.Width(), h};
  E2E_CHECK(Differing(before, after, first) > 20);
  E2E_CHECK_EQ(Differing(before, after, rest), 0);
  // Only the anti-aliased text may differ a little from the stored picture.
  ExpectLooksAsStored(ctx, after, "status-bar", Allowance{after.Width() * after.Height() / 100, 30});
  E2E_CHECK(s.Close());
}

}  // namespace e2e
