#include "ButtonBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "skin/controls/WinSkinButton.h"
#include "skin/model/WinSkinData.h"

namespace skin::bench {

int BenchButton(const char* storedSkinFile) {
  TMemoryStream stored;
  try {
    stored.LoadFromFile(storedSkinFile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench-button: %s\n", e.what());
    return 1;
  }
  TSkinData data(nullptr);
  data.ReadSkinStream(stored);
  if (data.Empty) {
    std::fprintf(stderr, "bench-button: the skin does not load\n");
    return 1;
  }
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 40, 200, 80, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"刷新表", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 75,
                                25, parent, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
  HFONT font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  auto* skinned = new TSkinButton(nullptr);
  skinned->Inithwnd(button, &data, nullptr);

  constexpr int kRuns = 500;
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    // Alternate the look so no run repeats the previous picture.
    skinned->state = static_cast<uint8_t>(i % 2 == 0 ? 0 : Hot);
    auto start = std::chrono::steady_clock::now();
    skinned->PaintControl(nullptr);
    GdiFlush();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("push-button paint (75 x 25, caption): median %.3f ms, best %.3f ms, worst %.3f ms (%d runs)\n",
              ms[ms.size() / 2], ms.front(), ms.back(), kRuns);
  DestroyWindow(parent);
  delete skinned;
  DeleteObject(font);
  return 0;
}

}  // namespace skin::bench
