// Table scan throughput of the Jet reader, next to mdbtools' mdb-export of
// the same table in the same run.
//   scan_bench [FILE TABLE [PASSWORD]]
// Without arguments it scans the table with the most rows among the sample
// databases, then a generated Jet 4 table of 200000 rows (the samples are
// small, so process start-up dominates mdb-export on them), and an mdbgen
// table of as many rows (CJK text, a memo column). Each side repeats until it
// has run for at least a second. Beside mdb-export's CSV the tool's own
// `quellmark query --format csv|json` is timed the same way, a process a run;
// CPU seconds are printed too, as a busy machine stretches wall time.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Generator.h"
#include "fuzz/jet/SeedDatabase.h"
#include "jet/core/Error.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/NewDatabase.h"

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

// CPU seconds (user and system) of the children that have ended so far.
double childCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return secs(u.ru_utime) + secs(u.ru_stime);
}

struct Runs {
  int count = 0;
  double wall = 0;
  double cpu = 0;  // what a busy machine's other work does not inflate
  bool ok = true;
};

// Runs a shell command until it has run for a second and at least kMinRounds times.
Runs timedRuns(const std::string& cmd) {
  Runs r;
  double cpuBefore = childCpuSeconds();
  auto start = Clock::now();
  while (r.count < kMinRounds || seconds(Clock::now() - start) < kMinSeconds) {
    if (std::system(cmd.c_str()) != 0) {
      r.ok = false;
      return r;
    }
    ++r.count;
  }
  r.wall = seconds(Clock::now() - start);
  r.cpu = childCpuSeconds() - cpuBefore;
  return r;
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
  std::string exportCmd = "mdb-export " + shellQuote(t.file) + " " + shellQuote(t.table) + " > /dev/null";
  Runs theirs = timedRuns(exportCmd);
  if (!theirs.ok) {
    std::printf("mdb-export failed on this table: no comparison\n");
    return 0;
  }
  double theirRate = static_cast<double>(rowsPerScan) * theirs.count / theirs.wall;
  double theirCpuRate = static_cast<double>(rowsPerScan) * theirs.count / theirs.cpu;
  std::printf(
      "mdb-export %d runs in %.3f s: %.0f rows/s, %.0f rows per CPU second (a process per run, CSV "
      "output included)\n",
      theirs.count, theirs.wall, theirRate, theirCpuRate);
  std::printf("ratio     %.1fx mdb-export (scan alone)\n", ourRate / theirRate);
#ifdef QM_QUELLMARK
  // The tool's own export, a process per run as mdb-export is.
  for (const char* format : {"csv", "json"}) {
    std::string cmd = shellQuote(QM_QUELLMARK) + " query " + shellQuote(t.file) + " " +
                      shellQuote("select * from [" + t.table + "]") + " --format " + format +
                      (t.password.empty() ? std::string() : " --password " + shellQuote(t.password)) +
                      " > /dev/null";
    Runs ours = timedRuns(cmd);
    if (!ours.ok) {
      std::printf("quellmark query --format %s failed on this table\n", format);
      continue;
    }
    double rate = static_cast<double>(rowsPerScan) * ours.count / ours.wall;
    double cpuRate = static_cast<double>(rowsPerScan) * ours.count / ours.cpu;
    std::printf(
        "%-4s      quellmark query, %d runs in %.3f s: %.0f rows/s, %.0f rows per CPU second: %.1fx "
        "mdb-export (%.1fx in CPU time)\n",
        format, ours.count, ours.wall, rate, cpuRate, rate / theirRate, cpuRate / theirCpuRate);
  }
#endif
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
  // Rows shaped like customer data: CJK names and cities, a memo column.
  auto customers = std::filesystem::temp_directory_path() / "qm_scan_bench_customers.mdb";
  mdbgen::Options o;
  o.rows = kGeneratedRows;
  jet::storage::writeNewDatabase(customers.string(), {mdbgen::newTable(o)});
  std::printf("\n");
  int customersStatus = measure({customers.string(), o.table, "", o.rows});
  std::filesystem::remove(customers);
  for (int s : {status, generatedStatus, customersStatus})
    if (s != 0) return s;
  return 0;
}
