#include "MenuBench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gui/FormReader.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinManage.h"
#include "skin/model/WinSkinPopMenu.h"

namespace skin::bench {
namespace {

constexpr int kRuns = 20;

int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double Ms(int64_t ticks) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

// Set by the timer that runs inside the menu's loop: when the open popup was
// first painted with the skin (0 while it was not).
int64_t g_painted = 0;

void CALLBACK WatchTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto* manager = static_cast<TSkinManage*>(SkinManager());
  for (TWinSkinPopMenu* popup : manager->Mlist)
    if (popup->firstSkinnedPaint != 0) g_painted = popup->firstSkinnedPaint;
  if (g_painted == 0) return;
  KillTimer(nullptr, id);
  EndMenu();
}

std::string Hex(const std::vector<char>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int BenchMenu(const char* storedSkinFile) {
  std::ifstream in(storedSkinFile, std::ios::binary);
  std::vector<char> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (stored.empty()) {
    std::fprintf(stderr, "bench-menu: cannot read %s\n", storedSkinFile);
    return 1;
  }
  RegisterSkinComponents();
  auto root = std::make_unique<fw::TComponent>(nullptr);
  fw::ReadDefinition(*root,
                     "object Holder: TComponent\n  object SkinData1: TSkinData\n    Active = True\n"
                     "    SkinStream = {" +
                         Hex(stored) + "}\n  end\nend\n");
  auto* manager = static_cast<TSkinManage*>(SkinManager());
  if (!manager || !manager->active) {
    std::fprintf(stderr, "bench-menu: the skin does not load\n");
    return 1;
  }
  // A window with the main window's menu: "菜单" (one item) and "帮助" (three).
  HMENU first = CreatePopupMenu();
  AppendMenuW(first, MF_STRING, 5001, L"退出");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, 5002, L"软件更新");
  AppendMenuW(help, MF_STRING, 5003, L"关于我们");
  AppendMenuW(help, MF_STRING, 5004, L"在线教程");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(first), L"菜单");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"帮助");
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmMenuBench";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"QmMenuBench", L"menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 600, 400,
                              nullptr, bar, GetModuleHandleW(nullptr), nullptr);
  // Activating the window lets the manager's hook adopt it.
  SetForegroundWindow(hwnd);
  Pump();
  if (!FindFormSkinner(hwnd) && !manager->AddForm(hwnd)) {
    std::fprintf(stderr, "bench-menu: the window was not skinned\n");
    DestroyWindow(hwnd);
    return 1;
  }
  for (int i = 0; i < 20; ++i) {
    Pump();
    Sleep(10);
  }
  std::vector<double> ms;
  for (int run = 0; run < kRuns; ++run) {
    g_painted = 0;
    SetTimer(nullptr, 0, 5, WatchTick);
    const int64_t start = Now();
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
    // The menu opens and closes inside the handling of that message.
    for (int i = 0; i < 200 && g_painted == 0; ++i) {
      Pump();
      Sleep(1);
    }
    Pump();
    if (g_painted == 0) {
      std::fprintf(stderr, "bench-menu: the menu did not open skinned\n");
      DestroyWindow(hwnd);
      return 1;
    }
    ms.push_back(Ms(g_painted - start));
  }
  DestroyWindow(hwnd);
  Pump();
  std::sort(ms.begin(), ms.end());
  const double p95 = ms[std::min(ms.size() - 1, (ms.size() * 95 + 99) / 100 - 1)];
  std::printf(
      "menu open, key request to the popup's first skinned paint: median %.2f ms, p95 %.2f ms, "
      "best %.2f ms, worst %.2f ms (%d runs)\n",
      ms[ms.size() / 2], p95, ms.front(), ms.back(), kRuns);
  FreeSkinManager();
  root.reset();
  return 0;
}

}  // namespace skin::bench
