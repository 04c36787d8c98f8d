#include "win/gui/RealInput.h"

#include <cstdint>

namespace fw::test {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

void PumpAsProgram(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
      if (root && IsDialogMessageW(root, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() < end);
}

void MoveMouse(POINT p) {
  SendMouseMove(p);
  Pump(30);
}

void MouseButton(bool down) {
  SendMouseButton(down);
  Pump(30);
}

void SendMouseMove(POINT p) {
  // Absolute coordinates are 0..65535 over the screen, rounded up so the
  // system's scaling lands on exactly this pixel.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void SendMouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

void ClickAt(POINT p) {
  MoveMouse(p);
  MouseButton(true);
  MouseButton(false);
}

void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

void TapKey(WORD vk) {
  Key(vk, true);
  Key(vk, false);
  Pump(30);
}

POINT ScreenPointOf(const TControl& control, int x, int y) {
  POINT p{control.Left() + x, control.Top() + y};
  ClientToScreen(control.Parent()->Handle(), &p);
  return p;
}

POINT CentreOf(const TControl& control) {
  return ScreenPointOf(control, control.Width() / 2, control.Height() / 2);
}

void ShowInFront(HWND form) {
  ShowWindow(form, SW_SHOWNORMAL);
  SetForegroundWindow(form);
  UpdateWindow(form);
  PumpUntil([form] { return GetForegroundWindow() == form; }, 1000);
  Pump(50);
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  // What the window shows (its drawing surface), whatever covers it.
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

}  // namespace fw::test
