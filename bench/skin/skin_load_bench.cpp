// Time to turn a packed skin archive into a fully loaded skin: unpack, parse
// the definition, decode every bitmap and build the derived images, as the
// main window does once at start. Also prints the archive's packed and
// unpacked sizes and how much of the load is the unpacking alone.
//
//   skin_load_bench SKIN_ARCHIVE [RUNS]
//
// SKIN_ARCHIVE is a packed block as skinpack writes it, or the stored-skin
// form the main window carries (a 32-bit byte count, then the packed block).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/archive/SkinRead.h"
#include "skin/model/SkinModel.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct TTimes {
  double best = 1e300;
  double total = 0;
  void Add(double ms) {
    best = std::min(best, ms);
    total += ms;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: skin_load_bench SKIN_ARCHIVE [RUNS]\n");
    return 2;
  }
  const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 50;
  skin::TMemoryStream packed;
  try {
    packed.LoadFromFile(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_load_bench: %s\n", e.what());
    return 1;
  }

  // The stored-skin form (a 32-bit count, then the packed archive) is accepted too.
  {
    const std::vector<uint8_t>& raw = packed.Bytes();
    if (raw.size() >= 4) {
      const uint32_t count =
          static_cast<uint32_t>(raw[0] | raw[1] << 8 | raw[2] << 16) | static_cast<uint32_t>(raw[3]) << 24;
      if (count == raw.size() - 4) packed.Assign(std::vector<uint8_t>(raw.begin() + 4, raw.end()));
    }
  }
  skin::TSkinReader reader;
  if (!reader.Loadfromstream(packed)) {
    std::fprintf(stderr, "skin_load_bench: %s is not a skin archive\n", argv[1]);
    return 1;
  }
  int64_t unpacked = 0;
  for (int i = 0; i < reader.Num(); ++i) unpacked += reader.Size(i);

  TTimes unpack, load;
  for (int run = 0; run < runs; ++run) {
    skin::TSkinReader r;
    const Clock::time_point start = Clock::now();
    r.Loadfromstream(packed);
    unpack.Add(Milliseconds(Clock::now() - start));
  }
  skin::TSkinModel model;
  model.data.Assign(packed.Bytes());
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    const bool ok = model.LoadArchive();
    load.Add(Milliseconds(Clock::now() - start));
    if (!ok) {
      std::fprintf(stderr, "skin_load_bench: the skin does not load\n");
      return 1;
    }
  }

  std::printf("skin: %s (\"%s\")\n", argv[1], model.SkinName.c_str());
  const std::vector<uint8_t>& bytes = packed.Bytes();
  const uint32_t archiveSize = bytes.size() >= 4
                                   ? static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                           static_cast<uint32_t>(bytes[3]) << 24)
                                   : 0;
  std::printf("packed %lld bytes holding %u bytes: %d members of %lld bytes\n",
              static_cast<long long>(packed.Size()), archiveSize, reader.Num(),
              static_cast<long long>(unpacked));
  std::printf("unpack only:  best %.3f ms, mean %.3f ms (%d runs)\n", unpack.best, unpack.total / runs, runs);
  std::printf("full load:    best %.3f ms, mean %.3f ms (%d runs; goal <= 20 ms)\n", load.best,
              load.total / runs, runs);
  return 0;
}
