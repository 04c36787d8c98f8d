// The main window's two page controls drawn by the skin: every page control
// and page answers the skin query; tabs change by the real mouse and by
// Ctrl+Tab / Ctrl+Shift+Tab (the page control nearest the focus turns), the
// right page shows; the tab band of each state looks as stored
// (tests/e2e/reference/tabs-*.bmp).
#include <windows.h>

#include <algorithm>
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
const wchar_t* const kPageControls[] = {L"PageControl2", L"PageControl3"};
const wchar_t* const kPages[] = {L"TabSheet4", L"TabSheet5", L"TabSheet2", L"TabSheet3"};

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
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<long long>(p.x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<long long>(p.y) * 65536 + h - 1) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(60);
}

void Click(POINT p) {
  MoveMouse(p);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof in[0]);
  Sleep(100);
}

void KeyEvent(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

// Ctrl+Tab, with Shift when `back`.
void CtrlTab(bool back) {
  KeyEvent(VK_CONTROL, true);
  if (back) KeyEvent(VK_SHIFT, true);
  KeyEvent(VK_TAB, true);
  KeyEvent(VK_TAB, false);
  if (back) KeyEvent(VK_SHIFT, false);
  KeyEvent(VK_CONTROL, false);
  Sleep(150);
}

RECT ParseRect(const std::wstring& text) {
  RECT r{};
  swscanf(text.c_str(), L"%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom);
  return r;
}

POINT CentreOf(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::wstring ReferencePath(const std::string& name) {
  std::wstring dir = WideText(QM_E2E_REFERENCE_DIR);
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  if (!dir.empty() && dir[0] == L'\\') dir = L"Z:" + dir;
  return dir + L"\\" + WideText(name) + L".bmp";
}

int Distance(skin::TPixel a, skin::TPixel b) {
  return std::max({std::abs(skin::PixelRed(a) - skin::PixelRed(b)),
                   std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)),
                   std::abs(skin::PixelBlue(a) - skin::PixelBlue(b))});
}

// The shot is left in the run's folder; it must match the stored picture
// but for anti-aliased text. A missing picture is noted in `missing`, so one
// run leaves every capture to look at.
void ExpectLooksAsStored(const skin::TBitmap& shot, const std::string& name, const Context& ctx,
                         std::vector<std::string>& missing) {
  std::vector<uint8_t> bytes = shot.SaveToBmp();
  std::ofstream(Narrow(ctx.runRoot + L"\\" + WideText(name) + L".bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::ifstream in(Narrow(ReferencePath(name)), std::ios::binary);
  if (!in) {
    missing.push_back(name);
    return;
  }
  std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::TBitmap reference;
  E2E_CHECK(reference.LoadFromBmp(stored));
  E2E_CHECK_EQ(shot.Width(), reference.Width());
  E2E_CHECK_EQ(shot.Height(), reference.Height());
  int slight = 0, strong = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      int d = Distance(shot.Pixel(x, y), reference.Pixel(x, y));
      slight += d > 2;
      strong += d > 64;
    }
  if (slight > shot.Width() * shot.Height() / 100 || strong > 30)
    throw Failure(name + ": " + std::to_string(slight) + " pixels differ, " + std::to_string(strong) +
                  " of them strongly, from the reference");
}

// The band of a page control: its top 26 pixels, where the tabs are.
skin::TBitmap Band(HWND pageControl) {
  RECT r;
  GetWindowRect(pageControl, &r);
  r.bottom = r.top + 26;
  return Capture(r);
}

void MakeReady(Session& s) {
  MoveMouse(POINT{1270, 790});
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }));
  SetForegroundWindow(s.Main());
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == s.Main(); }));
  E2E_CHECK(WaitFor([&] { return Skinned(s.Control(L"Button_GetZiDuan")); }));
  E2E_CHECK(WaitFor([&] { return Skinned(s.Control(L"PageControl3")); }));
  s.WaitIdleOrBox();
  Sleep(300);
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
  MakeReady(s);
  for (const wchar_t* name : kPageControls)
    if (!Skinned(s.Control(name))) throw Failure("page control " + Narrow(name) + " is not skinned");
  for (const wchar_t* name : kPages)
    if (!Skinned(s.Control(name))) throw Failure("page " + Narrow(name) + " is not skinned");
  HWND outer = s.Control(L"PageControl2");
  const wchar_t* const pages[] = {L"TabSheet4", L"TabSheet5", L"TabSheet2"};
  ExpectShown(s, L"PageControl2", L"TabSheet4");
  std::vector<std::string> missing;
  ExpectLooksAsStored(Band(outer), "tabs-outer-1", ctx, missing);
  ExpectLooksAsStored(Band(s.Control(L"PageControl3")), "tabs-inner", ctx, missing);
  for (int i : {1, 2, 0}) {
    RECT tab = ParseRect(s.AskComponent(L"PageControl2", L"tab:" + std::to_wstring(i)));
    E2E_CHECK(tab.right > tab.left);
    Click(CentreOf(tab));
    s.WaitIdleOrBox();
    ExpectShown(s, L"PageControl2", pages[i]);
    for (int j = 0; j < 3; ++j)
      if (j != i) E2E_CHECK(!IsWindowVisible(s.Control(pages[j])));
    MoveMouse(POINT{1270, 790});
    Sleep(200);
    ExpectLooksAsStored(Band(outer), "tabs-outer-" + std::to_string(i + 1), ctx, missing);
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
  MakeReady(s);
  // The focus in the first page, outside the inner page control.
  Click(CentreOf([&] {
    RECT r;
    GetWindowRect(s.Control(L"Edit_MDBPath"), &r);
    return r;
  }()));
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
  Click(CentreOf([&] {
    RECT r;
    GetWindowRect(s.Control(L"DBGrid1"), &r);
    return r;
  }()));
  s.WaitIdleOrBox();
  CtrlTab(false);
  Sleep(200);
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"active"), std::wstring(L"TabSheet4"));
  E2E_CHECK_EQ(s.AskComponent(L"PageControl3", L"active"), std::wstring(L"TabSheet3"));
  E2E_CHECK(s.Close());
}

}  // namespace e2e
