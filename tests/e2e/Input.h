// A user's input to the program, for the end-to-end cases: the real mouse
// and keyboard (SendInput), and waiting until the program has answered.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>

#include "Session.h"

namespace e2e {

// Handles the driver's own messages for `ms` milliseconds, so no window of
// the driver (the automation replies, a window of a case) is left unanswered.
void Wait(DWORD ms);
// Asks `done` every 20 ms, for at least `ms` milliseconds of sleeping, until it holds.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 3000);

// A window's answer to WM_ISSKINNED; -1 when it does not answer within 2 s.
LRESULT AskSkinned(HWND window);
// True when the window answers WM_ISSKINNED with 1.
bool Skinned(HWND window);

// The pointer away, the main window skinned and in front, each of `controls`
// skinned (they are bound on activation, in order), and the program idle.
void MakeReady(Session& s, std::initializer_list<const wchar_t*> controls = {});

// Where the pointer rests, away from every window of the program.
inline constexpr POINT kAway{1270, 790};

// The pointer moved to `p` (screen) as a user moves it, then a moment for
// the program to follow, and `settleMs` more handling the driver's messages
// (hover and leave states need that). Wine moves the display's pointer for
// SetCursorPos; after input alone the display may later report it where it was.
void MoveMouse(POINT p, DWORD settleMs = 0);
// The pointer moved by input alone, returning at once: for timing how soon the program answers.
void MoveNow(POINT p);
// The left button pressed or released where the pointer is.
void MouseButton(bool down);
// A left click at `p`; `settleMs` as for MoveMouse between the move and the press.
void ClickAt(POINT p, DWORD settleMs = 0);
// One key pressed or released.
void Key(WORD vk, bool down);
// One key pressed and released, then `settleMs` (handling the driver's
// messages) for the program to take it.
void Tap(WORD vk, DWORD settleMs = 0);

}  // namespace e2e
