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
#include <cstdio>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

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

}  // namespace

E2E_CASE(ControlsEveryButtonAndGroupBoxOfTheMainWindowIsSkinned) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"Button_GetZiDuan"});
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
  MakeReady(s, {L"Button_GetZiDuan"});
  // "去重(保留最小id)" with nothing chosen says so in a message box: one box per click.
  HWND button = s.Control(L"Button9");
  ClickAt(CentreOf(ScreenRect(button)));
  auto box = s.WaitIdleOrBox(5000);
  E2E_CHECK(box.has_value());
  E2E_CHECK_EQ(box->text, std::wstring(L"请载入数据库文件或相关选项不可为空."));
  s.Answer(IDOK);
  E2E_CHECK(!s.WaitIdleOrBox(800).has_value());
  // Pressed on the button, released well away from it: nothing runs, and the button is not left pressed.
  SetForegroundWindow(s.Main());
  MoveMouse(CentreOf(ScreenRect(button)));
  MouseButton(true);
  const RECT r = ScreenRect(button);
  MoveMouse(POINT{r.right + 120, r.bottom + 80});
  MouseButton(false);
  E2E_CHECK(!s.WaitIdleOrBox(800).has_value());
  const skin::TBitmap away = Capture(r);
  MoveMouse(kAway);
  Sleep(300);
  const skin::TBitmap normal = Capture(r);
  // Away from it the button shows its normal (focused) face, as with the mouse gone.
  E2E_CHECK_EQ(Differing(away, normal), 0);
  // A click again works as the first.
  ClickAt(CentreOf(ScreenRect(button)));
  box = s.WaitIdleOrBox(5000);
  E2E_CHECK(box.has_value());
  s.Answer(IDOK);
  MoveMouse(kAway);
  E2E_CHECK(s.Close());
}

// The client area, every control bound, compared with the stored picture.
// Only text may differ a little (anti-aliasing), and the edit's caret blinks.
E2E_CASE(ControlsMainWindowClientAreaLooksAsStored) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"Button_GetZiDuan"});
  const skin::TBitmap shot = Capture(ClientOnScreen(s.Main()));
  const int area = shot.Width() * shot.Height();
  ExpectLooksAsStored(ctx, shot, "client-skinned", Allowance{area / 200, 60});
  E2E_CHECK(s.Close());
}

// Not a timed check: prints how long a whole repaint of the main window's
// client area takes with every control skinned (erase and paint of the
// window and every window inside it, timed in the program itself), the same
// with skinning switched off, and both for the group of five push buttons
// and for one button, which show what the skinned objects add.
E2E_CASE(ControlsClientRepaintBenchmark) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"Button_GetZiDuan"});
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
