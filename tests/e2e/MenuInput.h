// Working the program's menus as a user does, for the end-to-end cases: the
// open popup menu windows, the skinned menu bar found from the pixels it
// shows, and the web addresses the program asked to open.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "Session.h"

namespace e2e {

// A menu opens, closes or moves its highlight within this time of a key or a click.
inline constexpr DWORD kMenuMs = 300;

// The program's open popup menu windows, topmost first.
std::vector<HWND> OpenPopupWindows(const Session& s);
// Their screen rectangles.
std::vector<RECT> OpenPopups(const Session& s);

// The menu bar as a user sees it: where each caption is drawn in the band
// above the client area (screen coordinates), found from the pixels that
// differ from the band's background.
struct Bar {
  RECT band{};
  std::vector<POINT> captions;  // the centre of each caption, left to right
};
Bar FindBar(const Session& s);

// Waits for the open drop-downs to be `count`, the innermost matching `pred`.
template <class Pred>
bool WaitPopups(const Session& s, size_t count, Pred pred) {
  for (int i = 0; i < 30; ++i) {
    std::vector<RECT> open = OpenPopups(s);
    if (open.size() == count && (count == 0 || pred(open.front()))) return true;
    Wait(100);
  }
  return false;
}

// "菜单" holds one item, "帮助" three: their drop-downs tell apart by height,
// and each opens under its own caption.
struct Menus {
  Bar bar;
  bool IsFirst(const RECT& r) const { return r.left <= bar.captions[0].x && r.left > bar.band.left - 4; }
  bool IsSecond(const RECT& r) const {
    return r.left > bar.captions[0].x && r.left <= bar.captions[1].x && r.top >= bar.band.bottom - 2;
  }
};
// The main window skinned, in front, its bar with its two captions found.
Menus Ready(Session& s);

// Where the catcher of web addresses records them, and what it recorded.
std::wstring UrlRecord();
std::vector<std::string> RecordedUrls(size_t atLeast);

inline constexpr const char* kMakersPage = "https://vantorel.com/?ref=Vantorel1.02 20000101";

}  // namespace e2e
