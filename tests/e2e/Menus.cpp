// The main window's menus skinned: the menu bar and each open menu look as
// stored (the menu items drawn from the skin's menu images on the skin's
// menu background), every popup menu window answers that it is skinned, each
// menu opens with the mouse and with the keyboard, and every item does its
// job when chosen either way: "退出" ends the program (temp.txt goes with
// it), "软件更新" and "关于我们" open the maker's page, "在线教程" does nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "MenuInput.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"

namespace e2e {

namespace {

// Menus show anti-aliased text: one pixel in a hundred may differ a little
// from the stored picture, one in four hundred strongly. A missing picture is
// noted in `missing` (the case fails at its end, with every capture made).
void ExpectMenuLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const char* name,
                             std::vector<std::string>& missing) {
  const int area = shot.Width() * shot.Height();
  ExpectLooksAsStored(ctx, shot, name, Allowance{area / 100, area / 400}, &missing);
}

// The one open popup menu window, skinned.
HWND ExpectOneSkinnedPopup(const Session& s) {
  std::vector<HWND> open = OpenPopupWindows(s);
  E2E_CHECK_EQ(open.size(), size_t{1});
  E2E_CHECK_EQ(AskSkinned(open.front()), LRESULT{1});
  return open.front();
}

std::wstring TempFile(const Context& ctx) {
  return ctx.app.substr(0, ctx.app.find_last_of(L"\\") + 1) + L"temp.txt";
}

void MakeTempFile(const Context& ctx) {
  HANDLE h = CreateFileW(TempFile(ctx).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
}

// The middle of item `i` of `count` equal items of an open menu.
POINT ItemPoint(const RECT& menu, int i, int count) {
  const int height = (menu.bottom - menu.top) / count;
  return POINT{(menu.left + menu.right) / 2, menu.top + height * i + height / 2};
}

// The window in front and the pointer resting away from the menus: an
// address opened a moment ago may have taken the activation, and a pointer
// left over the bar would slide the open menu back to the button under it.
void Front(Session& s, const Menus& m) {
  MoveMouse(POINT{m.bar.band.right - 40, m.bar.band.bottom + 150}, kMenuMs);
  SetForegroundWindow(s.Main());
  Wait(300);
}

// After choosing "在线教程": nothing opens, no box, the program goes on.
void ExpectNothingHappened(Session& s) {
  Wait(600);
  E2E_CHECK(RecordedUrls(0).empty());
  E2E_CHECK(!s.WaitIdleOrBox(3000).has_value());
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"prop:ActivePage"), std::wstring(L"TabSheet4"));
}

}  // namespace

E2E_CASE(MenusLookAsStoredAndEveryPopupIsSkinned) {
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  const auto first = [&](const RECT& r) { return m.IsFirst(r); };
  const auto second = [&](const RECT& r) { return m.IsSecond(r); };
  std::vector<std::string> missing;
  ExpectMenuLooksAsStored(ctx, Capture(m.bar.band), "menus-bar", missing);
  // By the mouse: each menu under its caption, its first item highlighted.
  ClickAt(m.bar.captions[0], kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  Wait(200);
  ExpectMenuLooksAsStored(ctx, Capture(ScreenRect(ExpectOneSkinnedPopup(s))), "menus-open-1", missing);
  Tap(VK_ESCAPE, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  ClickAt(m.bar.captions[1], kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  Wait(200);
  const HWND help = ExpectOneSkinnedPopup(s);
  ExpectMenuLooksAsStored(ctx, Capture(ScreenRect(help)), "menus-open-2", missing);
  // Down moves the highlight to the next item: the picture changes and is
  // drawn from the skin again.
  const skin::TBitmap before = Capture(ScreenRect(help));
  Tap(VK_DOWN, kMenuMs);
  const skin::TBitmap after = Capture(ScreenRect(help));
  E2E_CHECK(!(before == after));
  Tap(VK_UP, kMenuMs);
  ExpectMenuLooksAsStored(ctx, Capture(ScreenRect(help)), "menus-open-2", missing);
  Tap(VK_ESCAPE, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  // By the keyboard: Alt, F10, Left and Right open the same skinned menus.
  Tap(VK_MENU, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  ExpectOneSkinnedPopup(s);
  Tap(VK_RIGHT, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  ExpectOneSkinnedPopup(s);
  Tap(VK_ESCAPE, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  Tap(VK_F10, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, first));
  Wait(200);
  ExpectMenuLooksAsStored(ctx, Capture(ScreenRect(ExpectOneSkinnedPopup(s))), "menus-open-1", missing);
  Tap(VK_LEFT, kMenuMs);
  E2E_CHECK(WaitPopups(s, 1, second));
  ExpectOneSkinnedPopup(s);
  Tap(VK_ESCAPE, kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  E2E_CHECK(s.Close());
  if (!missing.empty())
    throw Failure("no reference " + Narrow(ReferencePath(missing.front())) + " (and " +
                  std::to_string(missing.size() - 1) + " more); the captures are in the run's folder");
}

E2E_CASE(MenusEveryItemChosenWithTheMouse) {
  DeleteFileW(UrlRecord().c_str());
  MakeTempFile(ctx);
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  const auto first = [&](const RECT& r) { return m.IsFirst(r); };
  // A click on caption `i` opens its menu. The address catcher of a previous
  // choice starts on its own time and may take the activation after the
  // window was brought to the front: then the caption is clicked once more.
  auto openByClick = [&](int i) {
    const auto shown = [&](const RECT& r) { return i == 0 ? m.IsFirst(r) : m.IsSecond(r); };
    Front(s, m);
    ClickAt(m.bar.captions[static_cast<size_t>(i)], kMenuMs);
    if (WaitPopups(s, 1, shown)) return;
    Front(s, m);
    ClickAt(m.bar.captions[static_cast<size_t>(i)], kMenuMs);
    E2E_CHECK(WaitPopups(s, 1, shown));
  };
  // "在线教程" (the third item of "帮助") does nothing.
  openByClick(1);
  ClickAt(ItemPoint(OpenPopups(s).front(), 2, 3), kMenuMs);
  E2E_CHECK(WaitPopups(s, 0, first));
  ExpectNothingHappened(s);
  // "软件更新" and "关于我们" open the maker's page.
  for (int item : {0, 1}) {
    openByClick(1);
    ClickAt(ItemPoint(OpenPopups(s).front(), item, 3), kMenuMs);
    E2E_CHECK(WaitPopups(s, 0, first));
    std::vector<std::string> urls = RecordedUrls(static_cast<size_t>(item + 1));
    E2E_CHECK_EQ(urls.size(), static_cast<size_t>(item + 1));
    E2E_CHECK_EQ(urls.back(), std::string(kMakersPage));
  }
  // "退出" ends the program through its close handler.
  openByClick(0);
  ClickAt(ItemPoint(OpenPopups(s).front(), 0, 1), kMenuMs);
  E2E_CHECK(s.Exited(10000));
  E2E_CHECK(GetFileAttributesW(TempFile(ctx).c_str()) == INVALID_FILE_ATTRIBUTES);
}

E2E_CASE(MenusEveryItemChosenWithTheKeyboard) {
  DeleteFileW(UrlRecord().c_str());
  MakeTempFile(ctx);
  Session s(ctx.app, ctx.work);
  Menus m = Ready(s);
  const auto first = [&](const RECT& r) { return m.IsFirst(r); };
  const auto second = [&](const RECT& r) { return m.IsSecond(r); };
  // "帮助" opens with "软件更新" highlighted; Down moves to the next item.
  // `key` (F10 or Alt) opens "菜单". The address catcher of a previous
  // choice starts on its own time and may take the activation after the
  // window was brought to the front: then the key is pressed once more.
  auto openFirst = [&](WORD key) {
    Front(s, m);
    Tap(key, kMenuMs);
    if (WaitPopups(s, 1, first)) return;
    Front(s, m);
    Tap(key, kMenuMs);
    E2E_CHECK(WaitPopups(s, 1, first));
  };
  auto choose = [&](int downs) {
    openFirst(VK_F10);
    Tap(VK_RIGHT, kMenuMs);
    if (!WaitPopups(s, 1, second)) {
      Screenshot(ctx, "menus-keyboard-right");
      E2E_CHECK(WaitPopups(s, 1, second));
    }
    for (int i = 0; i < downs; ++i) Tap(VK_DOWN, kMenuMs);
    Tap(VK_RETURN, kMenuMs);
    E2E_CHECK(WaitPopups(s, 0, first));
  };
  choose(2);  // "在线教程"
  ExpectNothingHappened(s);
  choose(0);  // "软件更新"
  E2E_CHECK_EQ(RecordedUrls(1).size(), size_t{1});
  choose(1);  // "关于我们"
  std::vector<std::string> urls = RecordedUrls(2);
  E2E_CHECK_EQ(urls.size(), size_t{2});
  E2E_CHECK_EQ(urls[0], std::string(kMakersPage));
  E2E_CHECK_EQ(urls[1], std::string(kMakersPage));
  // Alt opens "菜单" with "退出" highlighted; Enter ends the program.
  openFirst(VK_MENU);
  Tap(VK_RETURN, kMenuMs);
  E2E_CHECK(s.Exited(10000));
  E2E_CHECK(GetFileAttributesW(TempFile(ctx).c_str()) == INVALID_FILE_ATTRIBUTES);
}

}  // namespace e2e
