// The main window's status bar drawn by the skin: it answers the skin query;
// the status panels show the texts the handlers write (opening a database,
// choosing a table: panel 0 counts the rows) and look as stored
// (tests/e2e/reference); before a table is chosen the grid's empty header
// strip shows a face, not black.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "Harness.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

constexpr UINT kIsSkinned = 0x3523;

bool Skinned(HWND window) {
  DWORD_PTR answer = 0;
  return window && SendMessageTimeoutW(window, kIsSkinned, 0, 0, SMTO_BLOCK, 2000, &answer) && answer == 1;
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

const POINT kAway{1270, 790};

void MakeReady(Session& s) {
  MoveMouse(kAway);
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }));
  SetForegroundWindow(s.Main());
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == s.Main(); }));
  E2E_CHECK(WaitFor([&] { return Skinned(s.Control(L"StatusBar1")); }));
  s.WaitIdleOrBox();
  Sleep(300);
}

HWND GridHeader(Session& s) {
  return FindWindowExW(s.Control(L"DBGrid1"), nullptr, WC_HEADERW, nullptr);
}

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

int Distance(skin::TPixel a, skin::TPixel b) {
  return std::max({std::abs(skin::PixelRed(a) - skin::PixelRed(b)),
                   std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)),
                   std::abs(skin::PixelBlue(a) - skin::PixelBlue(b))});
}

int CountDiffering(const skin::TBitmap& a, const skin::TBitmap& b, const RECT& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += Distance(a.Pixel(x, y), b.Pixel(x, y)) > 2;
  return n;
}

std::wstring ReferencePath(const char* name) {
  std::wstring dir = WideText(QM_E2E_REFERENCE_DIR);
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  if (!dir.empty() && dir[0] == L'\\') dir = L"Z:" + dir;
  return dir + L"\\" + WideText(name) + L".bmp";
}

// Saves the capture in the run's folder and compares it with the stored
// reference; only anti-aliased text may differ a little.
void ExpectLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const char* name) {
  std::vector<uint8_t> bytes = shot.SaveToBmp();
  std::ofstream(Narrow(ctx.runRoot + L"\\" + WideText(name) + L".bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::ifstream in(Narrow(ReferencePath(name)), std::ios::binary);
  if (!in)
    throw Failure(std::string("no reference ") + Narrow(ReferencePath(name)) +
                  "; the capture is in the run's folder");
  std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::TBitmap reference;
  E2E_CHECK(reference.LoadFromBmp(stored));
  E2E_CHECK_EQ(shot.Width(), reference.Width());
  E2E_CHECK_EQ(shot.Height(), reference.Height());
  int slight = 0, strong = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      int d = Distance(shot.Pixel(x, y), reference.Pixel(x, y));
      slight += d > 2;
      strong += d > 64;
    }
  if (slight > shot.Width() * shot.Height() / 100 || strong > 30)
    throw Failure(std::string(name) + ": " + std::to_string(slight) + " pixels differ, " +
                  std::to_string(strong) + " of them strongly, from the reference");
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
  MakeReady(s);
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
  E2E_CHECK(CountDiffering(before, after, first) > 20);
  E2E_CHECK_EQ(CountDiffering(before, after, rest), 0);
  ExpectLooksAsStored(ctx, after, "status-bar");
  E2E_CHECK(s.Close());
}

}  // namespace e2e
