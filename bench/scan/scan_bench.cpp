// Table scan throughput of the Jet reader, next to mdbtools' mdb-export of
// the same table in the same run.
//   scan_bench [FILE TABLE [PASSWORD]]
// Without arguments it scans the table with the most rows among the sample
// databases, then a generated Jet 4 table of 200000 rows (the samples are
// small, so process start-up dominates mdb-export on them). Each side
// repeats until it has run for at least a second.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/jet/SeedDatabase.h"
#include "jet/core/Error.h"
#include "jet/storage/JetDatabase.h"

namespace {

constexpr size_t kGeneratedRows = 200000;

using Clock = std::chrono::steady_clock;
constexpr double kMinSeconds = 1.0;
constexpr int kMinRounds = 3;

struct Target {
  std::string file;
  std::string table;
  std::string password;
  uint64_t rows = 0;
};

bool findLargestTable(Target& best) {
  std::filesystem::path root = std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
  if (!std::filesystem::is_directory(root)) return false;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (e.path().extension() != ".mdb") continue;
    try {
      auto db = jet::storage::JetDatabase::open(e.path().string(), "");
      for (const auto& o : db->objects()) {
        if (o.kind != jet::storage::ObjectKind::Table) continue;
        uint64_t rows = db->openTable(o.name)->rowCount();
        if (rows > best.rows) best = {e.path().string(), o.name, "", rows};
      }
    } catch (const jet::Error&) {
      // Password-protected and damaged samples are not candidates.
    }
  }
  return best.rows > 0;
}

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

int measure(const Target& t) {
  uint64_t rowsPerScan = 0;
  int rounds = 0;
  uint64_t pagesLoaded = 0;
  Clock::duration ours{};
  try {
    auto db = jet::storage::JetDatabase::open(t.file, t.password);
    auto table = db->openTable(t.table);
    if (!table) {
      std::fprintf(stderr, "scan_bench: no table %s in %s\n", t.table.c_str(), t.file.c_str());
      return 2;
    }
    auto start = Clock::now();
    while (rounds < kMinRounds || seconds(Clock::now() - start) < kMinSeconds) {
      uint64_t n = 0;
      auto cursor = table->scan();
      while (cursor->next()) ++n;
      rowsPerScan = n;
      ++rounds;
    }
    ours = Clock::now() - start;
    pagesLoaded = db->pageFile().pagesLoaded();
  } catch (const jet::Error& e) {
    std::fprintf(stderr, "scan_bench: %s\n", e.what());
    return 1;
  }
  double ourRate = static_cast<double>(rowsPerScan) * rounds / seconds(ours);
  std::printf("table     %s in %s\n", t.table.c_str(), t.file.c_str());
  std::printf("quellmark %llu rows x %d scans in %.3f s: %.0f rows/s (%llu pages read from the file)\n",
              static_cast<unsigned long long>(rowsPerScan), rounds, seconds(ours), ourRate,
              static_cast<unsigned long long>(pagesLoaded));

  if (std::system("mdb-export --version > /dev/null 2>&1") != 0) {
    std::printf("mdb-export not installed: no comparison\n");
    return 0;
  }
  std::string cmd = "mdb-export " + shellQuote(t.file) + " " + shellQuote(t.table) + " > /dev/null";
  int exports = 0;
  auto start = Clock::now();
  while (exports < kMinRounds || seconds(Clock::now() - start) < kMinSeconds) {
    if (std::system(cmd.c_str()) != 0) {
      std::printf("mdb-export failed on this table: no comparison\n");
      return 0;
    }
    ++exports;
  }
  double theirs = seconds(Clock::now() - start);
  double theirRate = static_cast<double>(rowsPerScan) * exports / theirs;
  std::printf("mdb-export %d runs in %.3f s: %.0f rows/s (a process per run, CSV output included)\n", exports,
              theirs, theirRate);
  std::printf("ratio     %.1fx mdb-export\n", ourRate / theirRate);
  return 0;
}

int main(int argc, char** argv) {
  Target t;
  if (argc >= 3) {
    t.file = argv[1];
    t.table = argv[2];
    if (argc >= 4) t.password = argv[3];
    return measure(t);
  }
  int status = 0;
  if (findLargestTable(t)) {
    status = measure(t);
  } else {
    std::printf("no sample databases under %s\n", QM_TESTDATA_DIR);
  }
  // A generated table large enough that reading rows, not starting a process, is what is timed.
  auto path = std::filesystem::temp_directory_path() / "qm_scan_bench.mdb";
  {
    auto bytes =
        jet::seed::buildItemsDatabase(jet::file::JetVersion::Jet4, jet::seed::manyItems(kGeneratedRows));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::printf("\n");
  Target generated{path.string(), "Items", "", kGeneratedRows};
  int generatedStatus = measure(generated);
  std::filesystem::remove(path);
  return status != 0 ? status : generatedStatus;
}
