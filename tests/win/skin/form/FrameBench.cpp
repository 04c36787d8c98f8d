#include "FrameBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin::bench {
namespace {

// Median, best and worst of `runs` calls, in milliseconds.
struct Figures {
  double median, best, worst;
};
Figures Time(int runs, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front(), ms.back()};
}

}  // namespace

int BenchFrame(const char* storedSkinFile) {
  TMemoryStream stored;
  try {
    stored.LoadFromFile(storedSkinFile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench-frame: %s\n", e.what());
    return 1;
  }
  TSkinData data(nullptr);
  data.ReadSkinStream(stored);
  if (data.Empty) {
    std::fprintf(stderr, "bench-frame: the skin does not load\n");
    return 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmFrameBench";
  RegisterClassW(&wc);
  TWinSkinForm sf(nullptr);
  sf.fsd = &data;
  sf.Skinstate = ssActive;
  sf.sMainMenu = true;
  sf.FormBorder = sbsSingle;
  sf.FormIcons = IconBit(sbisystem) | IconBit(sbiMin);
  sf.InitSkinData();
  // The main window's client area with the skin's frame and a menu band around it.
  sf.MenuHeight = GetSystemMetrics(SM_CYMENU);
  const int width = 599 + sf.bw.Left + sf.bw.Right;
  const int height = 632 + sf.bw.Top + sf.bw.Bottom + sf.MenuHeight;
  sf.hwnd = CreateWindowExW(0, wc.lpszClassName, L"Quellmark",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, width, height,
                            nullptr, nullptr, wc.hInstance, nullptr);
  if (!sf.hwnd) return 1;
  ShowWindow(sf.hwnd, SW_SHOWNOACTIVATE);
  UpdateWindow(sf.hwnd);
  constexpr int kRuns = 200;
  sf.PaintFrame(nullptr);
  Figures frame = Time(kRuns, [&] { sf.PaintFrame(nullptr); });
  TWinSysButton* button = nullptr;
  for (const auto& b : sf.SysBtn)
    if (b->visible && b->data->Action == 2) button = b.get();
  Figures one{0, 0, 0};
  if (button) {
    int state = 1;
    one = Time(kRuns, [&] {
      state = state == 1 ? 3 : 1;
      sf.PaintSysButton(button, state);
    });
  }
  std::printf(
      "frame paint of a %dx%d window: median %.3f ms, best %.3f ms, worst %.3f ms; one caption button: "
      "median "
      "%.3f ms (%d runs)\n",
      width, height, frame.median, frame.best, frame.worst, one.median, kRuns);
  DestroyWindow(sf.hwnd);
  return 0;
}

}  // namespace skin::bench
