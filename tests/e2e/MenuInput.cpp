#include "MenuInput.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace e2e {

namespace {
struct PopupSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<PopupSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16];
  if (pid == s->pid && IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) && wcscmp(cls, L"#32768") == 0)
    s->found.push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> OpenPopupWindows(const Session& s) {
  PopupSearch search{s.ProcessId(), {}};
  EnumWindows(CollectPopup, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<RECT> OpenPopups(const Session& s) {
  std::vector<RECT> rects;
  for (HWND popup : OpenPopupWindows(s)) {
    RECT r;
    GetWindowRect(popup, &r);
    rects.push_back(r);
  }
  return rects;
}

LRESULT AskSkinned(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, 0x3523 /* WM_ISSKINNED */, 0, 0, SMTO_BLOCK, 2000, &answer)) return -1;
  return static_cast<LRESULT>(answer);
}

void Wait(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (GetTickCount() < end);
}

void Screenshot(const Context& ctx, const char* name) {
  std::wstring request = ctx.runRoot + L"\\shot.request", done = ctx.runRoot + L"\\shot.done";
  DeleteFileW(done.c_str());
  HANDLE h = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, name, static_cast<DWORD>(strlen(name)), &written, nullptr);
  CloseHandle(h);
  for (int i = 0; i < 100 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
}

void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Wait(300);
}

void MouseTo(POINT p) {
  // Wine moves the display's pointer for SetCursorPos; after input alone the
  // display may later report the pointer where it was before.
  SetCursorPos(p.x, p.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(INPUT));
  Wait(300);
}

void ClickAt(POINT p) {
  MouseTo(p);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  Wait(400);
}

Bar FindBar(const Session& s) {
  Bar bar;
  POINT origin{0, 0};
  ClientToScreen(s.Main(), &origin);
  RECT client;
  GetClientRect(s.Main(), &client);
  const int height = GetSystemMetrics(SM_CYMENU);
  bar.band = RECT{origin.x, origin.y - height, origin.x + client.right, origin.y};
  const int width = bar.band.right - bar.band.left;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, width, height, screen, bar.band.left, bar.band.top, SRCCOPY);
  GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  // Columns holding text: some pixel differs clearly from the band's colour at the far right.
  std::vector<bool> ink(static_cast<size_t>(width), false);
  for (int x = 0; x < width; ++x)
    for (int y = 2; y < height - 2; ++y) {
      uint32_t a = px[y * width + x] & 0xFFFFFF, b = px[y * width + width - 3] & 0xFFFFFF;
      int diff = 0;
      for (int shift = 0; shift < 24; shift += 8)
        diff += std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255));
      if (diff > 120) ink[static_cast<size_t>(x)] = true;
    }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  // Runs of ink columns closer than 8 pixels belong to one caption.
  int start = -1, last = -100;
  auto close = [&] {
    if (start >= 0)
      bar.captions.push_back(POINT{bar.band.left + (start + last) / 2, (bar.band.top + bar.band.bottom) / 2});
  };
  for (int x = 0; x < width; ++x) {
    if (!ink[static_cast<size_t>(x)]) continue;
    if (x - last > 8) {
      close();
      start = x;
    }
    last = x;
  }
  close();
  return bar;
}

bool WaitSkinned(const Session& s) {
  for (int i = 0; i < 50; ++i) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(s.Main(), 0x3523 /* WM_ISSKINNED */, 0, 0, SMTO_BLOCK, 2000, &answer) &&
        answer == 1)
      return true;
    Wait(100);
  }
  return false;
}

Menus Ready(Session& s) {
  E2E_CHECK(WaitSkinned(s));
  Wait(300);
  // The window's own menu bar gave way to the skinned one.
  E2E_CHECK(GetMenu(s.Main()) == nullptr);
  SetForegroundWindow(s.Main());
  Wait(200);
  Menus m{FindBar(s)};
  E2E_CHECK_EQ(m.bar.captions.size(), size_t{2});
  return m;
}

std::wstring UrlRecord() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  return path.substr(0, path.find_last_of(L"\\") + 1) + L"urls.txt";
}

std::vector<std::string> RecordedUrls(size_t atLeast) {
  std::vector<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    seen.clear();
    std::ifstream in(Narrow(UrlRecord()));
    for (std::string line; std::getline(in, line);) seen.push_back(line);
    if (seen.size() >= atLeast) break;
    Sleep(100);
  }
  return seen;
}

}  // namespace e2e
