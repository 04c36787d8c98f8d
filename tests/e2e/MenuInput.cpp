#include "MenuInput.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "ScreenCapture.h"

namespace e2e {

std::vector<HWND> OpenPopupWindows(const Session& s) {
  return ShownWindows(s.ProcessId(), L"#32768");
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

Bar FindBar(const Session& s) {
  Bar bar;
  POINT origin{0, 0};
  ClientToScreen(s.Main(), &origin);
  RECT client;
  GetClientRect(s.Main(), &client);
  const int height = GetSystemMetrics(SM_CYMENU);
  bar.band = RECT{origin.x, origin.y - height, origin.x + client.right, origin.y};
  const skin::TBitmap shot = Capture(bar.band);
  const int width = shot.Width();
  // Columns holding text: some pixel differs clearly from the band's colour at the far right.
  std::vector<bool> ink(static_cast<size_t>(width), false);
  for (int x = 0; x < width; ++x)
    for (int y = 2; y < height - 2; ++y) {
      const skin::TPixel a = shot.Pixel(x, y), b = shot.Pixel(width - 3, y);
      const int diff = std::abs(skin::PixelRed(a) - skin::PixelRed(b)) +
                       std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)) +
                       std::abs(skin::PixelBlue(a) - skin::PixelBlue(b));
      if (diff > 120) ink[static_cast<size_t>(x)] = true;
    }
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

Menus Ready(Session& s) {
  E2E_CHECK(WaitFor([&] { return Skinned(s.Main()); }, 5000));
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
