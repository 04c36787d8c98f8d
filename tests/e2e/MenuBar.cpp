// The menu bar drawn in the skinned frame: "菜单" and "帮助" are painted in
// the band under the caption (the window's own menu bar is gone), and they
// open, slide and choose with real mouse and keyboard input (SendInput), as a
// user works them.
#include <windows.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "MenuInput.h"
#include "ScreenCapture.h"
#include "Session.h"

namespace e2e {

E2E_CASE(MenuBarIsDrawnInTheFrameAndWorksWithTheMouse) {
  DeleteFileW(UrlRecord().c_str());
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  Screenshot(ctx, "menu-bar");
  const auto first = [&](const RECT& r) { return m.IsFirst(r); };
  const auto second = [&](const RECT& r) { return m.IsSecond(r); };
  // A click on "菜单" drops its menu under it.
  ClickAt(m.bar.captions[0], kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  const RECT small = OpenPopups(s).front();
  Screenshot(ctx, "menu-bar-open");
  // A click outside the menus closes it. (Sliding to the neighbour with the
  // mouse is checked in the Windows unit tests: while a menu is open it holds
  // the display's pointer, which input from another program cannot move.)
  ClickAt(POINT{m.bar.band.left + 300, m.bar.band.bottom + 50}, kMenuMs);  // the banner picture
  E2E_CHECK(WaitPopups(s, 0, first));
  // "帮助" by a click, then its middle item "关于我们" by a click: the maker's page opens.
  ClickAt(m.bar.captions[1], kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  RECT help = OpenPopups(s).front();
  E2E_CHECK(help.bottom - help.top > small.bottom - small.top);  // three items against one
  ClickAt(CentreOf(help), kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  std::vector<std::string> urls = RecordedUrls(1);
  E2E_CHECK_EQ(urls.size(), size_t{1});
  E2E_CHECK_EQ(urls[0], std::string(kMakersPage));
  E2E_CHECK(s.Close());
}

E2E_CASE(MenuBarWorksWithTheKeyboard) {
  DeleteFileW(UrlRecord().c_str());
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  const auto first = [&](const RECT& r) { return m.IsFirst(r); };
  const auto second = [&](const RECT& r) { return m.IsSecond(r); };
  // Alt alone opens the first menu; Right and Left slide; Escape closes.
  Tap(VK_MENU, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  Tap(VK_RIGHT, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  Tap(VK_RIGHT, kMenuMs);  // wraps round to the first
  E2E_CHECK(WaitPopups(s, 1, first));
  Tap(VK_LEFT, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  Tap(VK_ESCAPE, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  // F10 does the same; in "帮助" Down moves to "关于我们" and Enter chooses it.
  Tap(VK_F10, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  Tap(VK_LEFT, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  Tap(VK_DOWN, kMenuMs);
  Tap(VK_RETURN, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  std::vector<std::string> urls = RecordedUrls(1);
  E2E_CHECK_EQ(urls.size(), size_t{1});
  E2E_CHECK_EQ(urls[0], std::string(kMakersPage));
  // The program keeps working after the menus: it still answers.
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"prop:ActivePage"), std::wstring(L"TabSheet4"));
  E2E_CHECK(s.Close());
}

E2E_CASE(ExitFromTheSkinnedMenuBarEndsTheProgram) {
  std::wstring temp = ctx.app.substr(0, ctx.app.find_last_of(L"\\") + 1) + L"temp.txt";
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  // "菜单" opens with "退出" highlighted; Enter chooses it and the close handler runs.
  Tap(VK_F10, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, [&](const RECT& r) { return m.IsFirst(r); }));
  Tap(VK_RETURN, kMenuMs);
  E2E_CHECK(s.Exited(10000));
  E2E_CHECK(GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES);
}

}  // namespace e2e
