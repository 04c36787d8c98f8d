// What choosing a table costs the window: "Select * from [table]" opened on
// the grid's query, its record count, and the cells of the first screenful
// as the grid draws them; then the memory the process grew by, per row.
//   grid_bench FILE TABLE [--eager]
// --eager measures the same statement run with every row decoded and kept,
// for comparison. Without arguments it generates tables of 200,000 and
// 1,000,000 rows (CJK text, a memo column) with mdbgen's generator into the
// temporary folder (kept there for the next run, and for the window's
// end-to-end measurement), and measures each both ways, each in a process
// of its own so that one measurement's freed memory does not hide the next
// one's growth.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Generator.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"
#include "jet/ado/ValueText.h"
#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kScreenRows = 40;  // a maximised grid shows about this many

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Resident memory of this process, from the kernel's own count.
long long residentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  return -1;
}

int measure(const std::string& file, const std::string& table, bool eager) {
  try {
    jet::ado::Connection connection;
    connection.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
    connection.open();
    const std::string sql = "Select * from [" + table + "]";
    const long long before = residentBytes();
    auto start = Clock::now();
    if (eager) {
      jet::sql::ExecResult all = connection.session().execute(sql);
      const double ms = millisecondsSince(start);
      const long long grown = residentBytes() - before;
      const double count = static_cast<double>(std::max<size_t>(all.result.rows.size(), 1));
      std::printf("  every row decoded and kept: %zu rows in %.0f ms, memory +%.1f MB = %.1f bytes/row\n",
                  all.result.rows.size(), ms, static_cast<double>(grown) / 1048576.0,
                  static_cast<double>(grown) / count);
      return 0;
    }
    jet::ado::Query grid(connection);
    grid.setSql(sql);
    grid.open();
    const int64_t count = grid.recordCount();
    size_t characters = 0;
    for (int64_t r = 0; r < std::min<int64_t>(count, kScreenRows); ++r)
      for (size_t f = 0; f < grid.fields().size(); ++f)
        characters += jet::ado::displayText(grid.row(static_cast<size_t>(r)).at(f)).size();
    const double firstRows = millisecondsSince(start);
    const long long grown = residentBytes() - before;
    std::printf("table %s in %s: %lld rows, %zu columns, %.0f MB\n", table.c_str(), file.c_str(),
                static_cast<long long>(count), grid.fields().size(),
                static_cast<double>(std::filesystem::file_size(file)) / 1048576.0);
    std::printf(
        "  static result: first %d rows shown after %.0f ms (%zu characters), memory +%.1f MB = %.1f "
        "bytes/row\n",
        kScreenRows, firstRows, characters, static_cast<double>(grown) / 1048576.0,
        count ? static_cast<double>(grown) / static_cast<double>(count) : 0.0);
    // A jump to the end, as dragging the scroll box there does: rows are read where they lie.
    start = Clock::now();
    for (int64_t r = count - 1; r >= 0 && r >= count - kScreenRows; --r)
      characters += grid.row(static_cast<size_t>(r)).size();
    std::printf("  last screenful read in %.1f ms\n", millisecondsSince(start));
  } catch (const jet::Error& e) {
    std::fprintf(stderr, "grid_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}

// The generated table of `rows` rows, made unless an earlier run left it.
std::string generatedFile(uint64_t rows, const std::string& table) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("qm_grid_bench_" + std::to_string(rows) + ".mdb");
  if (std::filesystem::exists(path)) return path.string();
  const std::filesystem::path partial = path.string() + ".part";
  std::filesystem::remove(partial);
  mdbgen::Options options;
  options.rows = rows;
  options.table = table;
  const auto start = Clock::now();
  {
    auto db = jet::storage::JetDatabase::create(partial.string());
    mdbgen::generate(*db, options);
  }
  std::filesystem::rename(partial, path);
  std::printf("generated %llu rows in %.1f s\n", static_cast<unsigned long long>(rows),
              millisecondsSince(start) / 1000);
  return path.string();
}

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 || (argc == 4 && std::string(argv[3]) == "--eager"))
    return measure(argv[1], argv[2], argc == 4);
  if (argc != 1) {
    std::fprintf(stderr, "usage: grid_bench [FILE TABLE [--eager]]\n");
    return 2;
  }
  for (uint64_t rows : {200000u, 1000000u}) {
    std::string file;
    try {
      file = generatedFile(rows, "Records");
    } catch (const jet::Error& e) {
      std::fprintf(stderr, "grid_bench: %s\n", e.what());
      return 1;
    }
    std::fflush(stdout);
    for (const char* way : {"", " --eager"}) {
      const std::string command = shellQuote(argv[0]) + " " + shellQuote(file) + " Records" + way;
      if (std::system(command.c_str()) != 0) return 1;
    }
    std::printf("\n");
  }
  return 0;
}
