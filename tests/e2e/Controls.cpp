// The main window's controls drawn by the skin: every push button and group
// box answers the skin query; a button pressed and released by the real
// mouse runs its handler once, and not at all when the mouse is released
// away from it; the client area looks as stored (tests/e2e/reference); and
// the time of a whole repaint of the client area.
//
// The buttons of message boxes and of the open dialog are checked wherever
// a case answers them (Session::Answer, Session::AnswerOpenDialog).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Every push button of the main window, the two hidden ones included, and its group boxes.
const wchar_t* const kButtons[] = {L"Button11",
                                   L"Button_RefreshesTtable",
                                   L"Button14",
                                   L"Button15",
                                   L"Button13",
                                   L"Button_Refresh",
                                   L"Button3",
                                   L"Button9",
                                   L"Button10",
                                   L"Button12",
                                   L"Button_GetDB_AllBiao",
                                   L"Button_GetZiDuan"};
const wchar_t* const kGroupBoxes[] = {L"GroupBox1", L"GroupBox8", L"GroupBox9",
                                      L"GroupBox6", L"GroupBox2", L"GroupBox4"};

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

POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MakeReady(Session& s) {
  MoveMouse(POINT{1270, 790});
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }));
  SetForegroundWindow(s.Main());
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == s.Main(); }));
  // Bound on activation; the last control answers once the pass is over.
  E2E_CHECK(WaitFor([&] { return Skinned(s.Control(L"Button_GetZiDuan")); }));
  s.WaitIdleOrBox();
  Sleep(300);
}

RECT ClientOnScreen(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

std::wstring ReferencePath(const char* name) {
  std::wstring dir = WideText(QM_E2E_REFERENCE_DIR);
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  if (!dir.empty() && dir[0] == L'\\') dir = L"Z:" + dir;
  return dir + L"\\" + WideText(name) + L".bmp";
}

void Save(const skin::TBitmap& b, const std::wstring& path) {
  std::vector<uint8_t> bytes = b.SaveToBmp();
  std::ofstream out(Narrow(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int Distance(skin::TPixel a, skin::TPixel b) {
  return std::max({std::abs(skin::PixelRed(a) - skin::PixelRed(b)),
                   std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)),
                   std::abs(skin::PixelBlue(a) - skin::PixelBlue(b))});
}

}  // namespace

E2E_CASE(ControlsEveryButtonAndGroupBoxOfTheMainWindowIsSkinned) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  for (const wchar_t* name : kButtons) {
    HWND h = s.Control(name);
    if (!h || !Skinned(h)) throw Failure("button " + Narrow(name) + " is not skinned");
  }
  for (const wchar_t* name : kGroupBoxes) {
    HWND h = s.Control(name);
    if (!h || !Skinned(h)) throw Failure("group box " + Narrow(name) + " is not skinned");
  }
  E2E_CHECK(s.Close());
}

E2E_CASE(ControlsMousePressAndReleaseOnAButtonClicksOnceAndReleaseAwayDoesNot) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  // "去重(保留最小id)" with nothing chosen says so in a message box: one box per click.
  HWND button = s.Control(L"Button9");
  MoveMouse(CentreOf(button));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
  auto box = s.WaitIdleOrBox(5000);
  E2E_CHECK(box.has_value());
  E2E_CHECK_EQ(box->text, std::wstring(L"请载入数据库文件或相关选项不可为空."));
  s.Answer(IDOK);
  E2E_CHECK(!s.WaitIdleOrBox(800).has_value());
  // Pressed on the button, released well away from it: nothing runs, and the button is not left pressed.
  SetForegroundWindow(s.Main());
  MoveMouse(CentreOf(button));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  RECT r;
  GetWindowRect(button, &r);
  MoveMouse(POINT{r.right + 120, r.bottom + 80});
  MouseButton(MOUSEEVENTF_LEFTUP);
  E2E_CHECK(!s.WaitIdleOrBox(800).has_value());
  const skin::TBitmap away = Capture(r);
  MoveMouse(POINT{1270, 790});
  Sleep(300);
  const skin::TBitmap normal = Capture(r);
  int differ = 0;
  for (int y = 0; y < normal.Height(); ++y)
    for (int x = 0; x < normal.Width(); ++x) differ += Distance(away.Pixel(x, y), normal.Pixel(x, y)) > 2;
  // Away from it the button shows its normal (focused) face, as with the mouse gone.
  E2E_CHECK_EQ(differ, 0);
  // A click again works as the first.
  MoveMouse(CentreOf(button));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
  box = s.WaitIdleOrBox(5000);
  E2E_CHECK(box.has_value());
  s.Answer(IDOK);
  MoveMouse(POINT{1270, 790});
  E2E_CHECK(s.Close());
}

// The client area, every control bound, compared with the stored picture.
// Only text may differ a little (anti-aliasing), and the edit's caret blinks.
E2E_CASE(ControlsMainWindowClientAreaLooksAsStored) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  const skin::TBitmap shot = Capture(ClientOnScreen(s.Main()));
  const char* name = "client-skinned";
  Save(shot, ctx.runRoot + L"\\" + WideText(name) + L".bmp");
  std::ifstream in(Narrow(ReferencePath(name)), std::ios::binary);
  if (!in)
    throw Failure(std::string("no reference ") + Narrow(ReferencePath(name)) +
                  "; the capture is in the run's folder");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::TBitmap reference;
  E2E_CHECK(reference.LoadFromBmp(bytes));
  E2E_CHECK_EQ(shot.Width(), reference.Width());
  E2E_CHECK_EQ(shot.Height(), reference.Height());
  int slight = 0, strong = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      int d = Distance(shot.Pixel(x, y), reference.Pixel(x, y));
      slight += d > 2;
      strong += d > 64;
    }
  const int area = shot.Width() * shot.Height();
  if (slight > area / 200 || strong > 60)
    throw Failure("client area: " + std::to_string(slight) + " pixels differ, " + std::to_string(strong) +
                  " of them strongly, from the reference");
  E2E_CHECK(s.Close());
}

// Not a timed check: prints how long a whole repaint of the main window's
// client area takes with every control skinned (erase and paint of the
// window and every window inside it, timed in the program itself), the same
// with skinning switched off, and both for the group of five push buttons
// and for one button, which show what the skinned objects add.
E2E_CASE(ControlsClientRepaintBenchmark) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  HWND main = s.Main();
  const HWND group = s.Control(L"GroupBox6"), button = s.Control(L"Button9");
  auto median = [&](HWND h, int runs) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) t.push_back(_wtoi(s.Ask(h, L"repaint-us").c_str()) / 1000.0);
    std::sort(t.begin(), t.end());
    return std::vector<double>{t[t.size() / 2], t.front(), t.back()};
  };
  constexpr int kRuns = 30;
  const std::vector<double> whole = median(main, kRuns);
  const double groupOn = median(group, 15)[0], buttonOn = median(button, 15)[0];
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"set-active:0"), std::wstring(L"0"));
  E2E_CHECK(WaitFor([&] { return !Skinned(main) && !Skinned(button); }));
  const double wholeOff = median(main, kRuns)[0], groupOff = median(group, 15)[0],
               buttonOff = median(button, 15)[0];
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"set-active:1"), std::wstring(L"1"));
  E2E_CHECK(WaitFor([&] { return Skinned(main) && Skinned(button); }));
  std::printf(
      "client repaint, every control skinned (RedrawWindow of the main window and its children, in the "
      "program): "
      "median %.2f ms, best %.2f ms, worst %.2f ms (%d runs; goal <= 15 ms); skinning off: median %.2f ms\n",
      whole[0], whole[1], whole[2], kRuns, wholeOff);
  std::printf(
      "     the group of five push buttons: %.2f ms skinned, %.2f ms off; one push button: %.2f ms skinned, "
      "%.2f "
      "ms off\n",
      groupOn, groupOff, buttonOn, buttonOff);
  E2E_CHECK(s.Close());
}

}  // namespace e2e
