// Real mouse and keyboard input for window tests (SendInput on the virtual
// display), and pumping this thread's messages until something holds.
#pragma once

#include <windows.h>

#include <functional>

#include "gui/Control.h"

namespace fw::test {

// Handles this thread's messages until `done` holds or `timeoutMs` passed; gives `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 1500);
// Handles this thread's messages for about `ms` milliseconds.
void Pump(int ms);
// The same as the program's loop does it: dialog keys (Tab, Enter, Esc) go
// to the window's dialog handling first.
void PumpAsProgram(int ms);
void MoveMouse(POINT screen);
void MouseButton(bool down);
// The same input alone, nothing pumped: for a caller that handles the
// messages its own way, or sends from another thread.
void SendMouseMove(POINT screen);
void SendMouseButton(bool down);
// Moves to `screen`, presses and releases there.
void ClickAt(POINT screen);
// A key goes down or up; nothing is pumped (the caller's loop handles it).
void Key(WORD vk, bool down);
void TapKey(WORD vk);
// A point of a control (x, y from its top-left), on the screen.
POINT ScreenPointOf(const TControl& control, int x, int y);
// The centre of a control, on the screen.
POINT CentreOf(const TControl& control);
// Shows the form in front, with the focus, and waits until it is painted.
void ShowInFront(HWND form);
// The colour a window shows at a point of its client area.
COLORREF ScreenPixel(HWND window, int x, int y);

}  // namespace fw::test
