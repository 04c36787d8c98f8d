// The main window's two page controls drawn by the skin: every page control
// and page answers the skin query; tabs change by the real mouse and by
// Ctrl+Tab / Ctrl+Shift+Tab (the page control nearest the focus turns), the
// right page shows; the tab band of each state looks as stored
// (tests/e2e/reference/tabs-*.bmp).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

const wchar_t* const kPageControls[] = {L"PageControl2", L"PageControl3"};
const wchar_t* const kPages[] = {L"TabSheet4", L"TabSheet5", L"TabSheet2", L"TabSheet3"};

// Ctrl+Tab, with Shift when `back`.
void CtrlTab(bool back) {
  Key(VK_CONTROL, true);
  if (back) Key(VK_SHIFT, true);
  Key(VK_TAB, true);
  Key(VK_TAB, false);
  if (back) Key(VK_SHIFT, false);
  Key(VK_CONTROL, false);
  Sleep(150);
}

RECT ParseRect(const std::wstring& text) {
  RECT r{};
  swscanf(text.c_str(), L"%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom);
  return r;
}

// Tab bands show anti-aliased text: one pixel in a hundred may differ a
// little from the stored picture, thirty strongly. A missing picture is noted
// in `missing`, so one run leaves every capture to look at.
void ExpectBandLooksAsStored(const Context& ctx, const skin::TBitmap& band, const std::string& name,
                             std::vector<std::string>& missing) {
  ExpectLooksAsStored(ctx, band, name, Allowance{band.Width() * band.Height() / 100, 30}, &missing);
}

// The band of a page control: its top 26 pixels, where the tabs are.
skin::TBitmap Band(HWND pageControl) {
  RECT r;
  GetWindowRect(pageControl, &r);
  r.bottom = r.top + 26;
  return Capture(r);
}

// The shown page answers, the others are hidden.
void ExpectShown(Session& s, const wchar_t* pageControl, const wchar_t* page) {
  E2E_CHECK(WaitFor([&] { return s.AskComponent(pageControl, L"active") == page; }, 2000));
  E2E_CHECK_EQ(s.AskComponent(pageControl, L"active"), std::wstring(page));
  E2E_CHECK(IsWindowVisible(s.Control(page)));
}

}  // namespace

E2E_CASE(TabsAreSkinnedChangeByMouseAndLookAsStored) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"Button_GetZiDuan", L"PageControl3"});
  for (const wchar_t* name : kPageControls)
    if (!Skinned(s.Control(name))) throw Failure("page control " + Narrow(name) + " is not skinned");
  for (const wchar_t* name : kPages)
    if (!Skinned(s.Control(name))) throw Failure("page " + Narrow(name) + " is not skinned");
  HWND outer = s.Control(L"PageControl2");
  const wchar_t* const pages[] = {L"TabSheet4", L"TabSheet5", L"TabSheet2"};
  ExpectShown(s, L"PageControl2", L"TabSheet4");
  std::vector<std::string> missing;
  ExpectBandLooksAsStored(ctx, Band(outer), "tabs-outer-1", missing);
  ExpectBandLooksAsStored(ctx, Band(s.Control(L"PageControl3")), "tabs-inner", missing);
  for (int i : {1, 2, 0}) {
    RECT tab = ParseRect(s.AskComponent(L"PageControl2", L"tab:" + std::to_wstring(i)));
    E2E_CHECK(tab.right > tab.left);
    ClickAt(CentreOf(tab));
    s.WaitIdleOrBox();
    ExpectShown(s, L"PageControl2", pages[i]);
    for (int j = 0; j < 3; ++j)
      if (j != i) E2E_CHECK(!IsWindowVisible(s.Control(pages[j])));
    MoveMouse(kAway);
    Sleep(200);
    ExpectBandLooksAsStored(ctx, Band(outer), "tabs-outer-" + std::to_string(i + 1), missing);
  }
  E2E_CHECK(s.Close());
  if (!missing.empty()) {
    std::string names;
    for (const std::string& name : missing) names += " " + name;
    throw Failure("no reference for" + names + " beside " + Narrow(ReferencePath("tabs-outer-1")) +
                  "; the captures are in the run's folder");
  }
}

E2E_CASE(TabsChangeByCtrlTabInThePageControlNearestTheFocus) {
  Session s(ctx.app, ctx.work);
  MakeReady(s, {L"Button_GetZiDuan", L"PageControl3"});
  // The focus in the first page, outside the inner page control.
  ClickAt(CentreOf(ScreenRect(s.Control(L"Edit_MDBPath"))));
  s.WaitIdleOrBox();
  CtrlTab(false);
  ExpectShown(s, L"PageControl2", L"TabSheet5");
  CtrlTab(false);
  ExpectShown(s, L"PageControl2", L"TabSheet2");
  CtrlTab(false);
  ExpectShown(s, L"PageControl2", L"TabSheet4");
  CtrlTab(true);
  ExpectShown(s, L"PageControl2", L"TabSheet2");
  CtrlTab(true);
  ExpectShown(s, L"PageControl2", L"TabSheet5");
  CtrlTab(true);
  ExpectShown(s, L"PageControl2", L"TabSheet4");
  // The focus inside the inner page control (its only page): the outer one keeps its page.
  ClickAt(CentreOf(ScreenRect(s.Control(L"DBGrid1"))));
  s.WaitIdleOrBox();
  CtrlTab(false);
  Sleep(200);
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"active"), std::wstring(L"TabSheet4"));
  E2E_CHECK_EQ(s.AskComponent(L"PageControl3", L"active"), std::wstring(L"TabSheet3"));
  E2E_CHECK(s.Close());
}

}  // namespace e2e
