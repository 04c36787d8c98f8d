// What choosing a table costs the window: "Select * from [table]" opened on
// the grid's query, its record count, and the cells of the first screenful
// as the grid draws them; then the memory the process grew by, per row.
//   grid_bench FILE TABLE [--eager | --edit]
// --eager measures the same statement run with every row decoded and kept,
// for comparison. --edit then also times one cell edit through the grid
// (the fourth field of the fifth row) and another connection's one-row
// change (the same field where ID is 7), each followed by the screenful
// drawn again: it changes the file. Without arguments it generates tables of 200,000 and
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

// Every field of the first screenful, as the grid draws it; the number of characters.
size_t drawScreen(jet::ado::Query& grid) {
  size_t characters = 0;
  const int64_t count = grid.recordCount();
  for (int64_t r = 0; r < std::min<int64_t>(count, kScreenRows); ++r)
    for (size_t f = 0; f < grid.fields().size(); ++f)
      characters += jet::ado::displayText(grid.row(static_cast<size_t>(r)).at(f)).size();
  return characters;
}

// Another connection's change seen by a grid opened read-only (a writable
// connection keeps the file to itself), then a cell edited through the
// grid, each followed by the screenful drawn again (twice: the second shows
// whether the first left the rows' positions known).
void measureEdits(const std::string& file, const std::string& table) {
  const std::string stamp =
      std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 1000000);
  const std::string sql = "Select * from [" + table + "]";
  {
    jet::ado::Connection viewer;
    viewer.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read;Data Source=" + file);
    viewer.open();
    jet::ado::Query grid(viewer);
    grid.setSql(sql);
    grid.open();
    drawScreen(grid);
    {
      jet::ado::Connection other;
      other.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
      other.open();
      jet::ado::Query change(other);
      change.setSql("update [" + table + "] set [City] = '改 " + stamp + "' where [ID] = 7");
      change.execSql();
    }
    auto start = Clock::now();
    drawScreen(grid);
    const double after = millisecondsSince(start);
    start = Clock::now();
    drawScreen(grid);
    std::printf(
        "  another connection changed one row under a read-only grid: the screenful drawn again in %.1f ms, "
        "once more in %.1f ms\n",
        after, millisecondsSince(start));
  }
  jet::ado::Connection connection;
  connection.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
  connection.open();
  jet::ado::Query grid(connection);
  grid.setSql(sql);
  grid.open();
  drawScreen(grid);
  auto start = Clock::now();
  grid.updateCell(4, 3, jet::Value::text("编辑 " + stamp));
  const double write = millisecondsSince(start);
  start = Clock::now();
  drawScreen(grid);
  const double redraw = millisecondsSince(start);
  start = Clock::now();
  drawScreen(grid);
  std::printf(
      "  one cell edited through the grid: written in %.1f ms; the screenful drawn again in %.1f ms, once "
      "more in %.1f ms\n",
      write, redraw, millisecondsSince(start));
}

int measure(const std::string& file, const std::string& table, bool eager, bool edit) {
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
    size_t characters = drawScreen(grid);
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
    if (edit) {
      grid.close();
      connection.close();  // a writable connection keeps the file from other writers
      measureEdits(file, table);
    }
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
  const std::string way = argc == 4 ? argv[3] : "";
  if (argc == 3 || (argc == 4 && (way == "--eager" || way == "--edit")))
    return measure(argv[1], argv[2], way == "--eager", way == "--edit");
  if (argc != 1) {
    std::fprintf(stderr, "usage: grid_bench [FILE TABLE [--eager | --edit]]\n");
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
    for (const char* way : {" --edit", " --eager"}) {
      const std::string command = shellQuote(argv[0]) + " " + shellQuote(file) + " Records" + way;
      if (std::system(command.c_str()) != 0) return 1;
    }
    std::printf("\n");
  }
  return 0;
}
