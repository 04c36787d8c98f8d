// The Windows unit tests, and with "--bench-skin FILE" the time to read a
// stored skin (count + archive, as SkinStream holds it) to a fully loaded
// skin: unpack, parse, build the images; with "--bench-frame FILE" the time
// of one frame paint in that skin; with "--bench-button FILE" the time of
// one skinned push button's paint; with "--bench-menu FILE" the time to
// open a menu of the skinned menu bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "skin/model/WinSkinData.h"
#include "win/skin/controls/ButtonBench.h"
#include "win/skin/form/FrameBench.h"
#include "win/skin/form/MenuBench.h"

namespace {

int BenchSkin(const char* fileName) {
  skin::TMemoryStream stored;
  try {
    stored.LoadFromFile(fileName);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench-skin: %s\n", e.what());
    return 1;
  }
  constexpr int kRuns = 30;
  std::vector<double> ms;
  bool empty = true;
  for (int i = 0; i < kRuns; ++i) {
    skin::TSkinData data(nullptr);
    stored.SetPosition(0);
    auto start = std::chrono::steady_clock::now();
    data.ReadSkinStream(stored);
    auto stop = std::chrono::steady_clock::now();
    empty = data.Empty;
    ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf(
      "skin load from SkinStream: %lld stored bytes, loaded=%s, median %.2f ms, best %.2f ms, worst %.2f ms "
      "(%d runs)\n",
      static_cast<long long>(stored.Size()), empty ? "no" : "yes", ms[ms.size() / 2], ms.front(), ms.back(),
      kRuns);
  return empty ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--bench-skin") == 0) return BenchSkin(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--bench-frame") == 0) return skin::bench::BenchFrame(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--bench-button") == 0) return skin::bench::BenchButton(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--bench-menu") == 0) return skin::bench::BenchMenu(argv[2]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
