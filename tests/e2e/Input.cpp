#include "Input.h"

#include "Harness.h"
#include "skin/form/SkinMessages.h"

namespace e2e {

namespace {
constexpr DWORD kPollMs = 20;
constexpr DWORD kMouseMs = 60;
constexpr DWORD kKeyMs = 40;
}  // namespace

void Wait(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (GetTickCount() < end);
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  // Counted in sleeps, not by the clock: a slow answer (a capture, a message
  // to a busy program) never shortens the number of times it is asked.
  for (DWORD slept = 0; slept < ms; slept += kPollMs) {
    if (done()) return true;
    Sleep(kPollMs);
  }
  return done();
}

LRESULT AskSkinned(HWND window) {
  DWORD_PTR answer = 0;
  if (!window || !SendMessageTimeoutW(window, skin::WM_ISSKINNED, 0, 0, SMTO_BLOCK, 2000, &answer)) return -1;
  return static_cast<LRESULT>(answer);
}

bool Skinned(HWND window) {
  return AskSkinned(window) == 1;
}

void MakeReady(Session& s, std::initializer_list<const wchar_t*> controls) {
  MoveMouse(kAway);
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }));
  SetForegroundWindow(s.Main());
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == s.Main(); }));
  for (const wchar_t* control : controls) E2E_CHECK(WaitFor([&] { return Skinned(s.Control(control)); }));
  s.WaitIdleOrBox();
  Sleep(300);
}

void MoveMouse(POINT p, DWORD settleMs) {
  SetCursorPos(p.x, p.y);
  MoveNow(p);
  // A sleep, not Wait: handling the driver's messages while a thumb is
  // dragged was seen to change where it ends. Hover states need them
  // handled, which the longer settling does.
  Sleep(kMouseMs);
  if (settleMs > 0) Wait(settleMs);
}

void MoveNow(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
  Sleep(kMouseMs);
}

void ClickAt(POINT p, DWORD settleMs) {
  MoveMouse(p, settleMs);
  MouseButton(true);
  MouseButton(false);
}

void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  Sleep(kKeyMs);
}

void Tap(WORD vk, DWORD settleMs) {
  Key(vk, true);
  Key(vk, false);
  if (settleMs > 0) Wait(settleMs);
}

}  // namespace e2e
