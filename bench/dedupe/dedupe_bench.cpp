// dedupe_bench: the duplicate tools on a large generated Jet 4 table, beside
// SQLite 3 running the same statement shapes on the same rows in a file, and
// a plain read of the database file. Prints times, ratios and peak memory.
// Not a test: figures depend on the machine.
//   dedupe_bench [--rows N] [--customer-rows M] [--dir DIR] [--repeat R]
// Then the keep-lowest statement on M rows (200000 unless told; 0 skips it)
// shaped like customer data, and the whole `quellmark dedupe` on them.
// --rows 0 runs only that part.
// Each operation runs R times (3 unless told) on fresh copies flushed to disk;
// the best time and the highest peak are printed (the customer-shaped part:
// the median time), so a busy moment does not decide a ratio.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Generator.h"
#include "jet/ado/Connection.h"
#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/NewDatabase.h"

namespace fs = std::filesystem;

namespace {

struct Measure {
  double seconds = 0;
  double cpu = 0;  // user and system seconds: what other work on a busy machine does not stretch
  long peakKiB = 0;
  bool ok = false;
};

// Runs `work` in a child process so that its peak memory is its own.
Measure measured(const std::function<void()>& work) {
  std::fflush(stdout);  // or the child would print the parent's buffered lines again
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    try {
      work();
      std::fflush(stdout);
      _exit(0);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "  failed: %s\n", e.what());
      _exit(1);
    }
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKiB = usage.ru_maxrss;
  auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  m.cpu = secs(usage.ru_utime) + secs(usage.ru_stime);
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

Measure best(const Measure& so, const Measure& now, bool first) {
  if (first) return now;
  return {std::min(so.seconds, now.seconds), std::min(so.cpu, now.cpu), std::max(so.peakKiB, now.peakKiB),
          so.ok && now.ok};
}

void sqliteExec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string m = error ? error : "sqlite error";
    sqlite3_free(error);
    throw std::runtime_error(m);
  }
}

void bindValue(sqlite3_stmt* st, int i, const jet::Value& v) {
  if (v.isNull()) {
    sqlite3_bind_null(st, i);
  } else if (v.isText()) {
    sqlite3_bind_text(st, i, v.asText().data(), static_cast<int>(v.asText().size()), SQLITE_TRANSIENT);
  } else if (v.type() == jet::DataType::Boolean) {
    sqlite3_bind_int(st, i, v.asBool() ? -1 : 0);
  } else if (v.type() == jet::DataType::Currency || v.isIntegral()) {
    sqlite3_bind_int64(st, i, v.asInt());
  } else {
    sqlite3_bind_double(st, i, v.toDouble());
  }
}

// The same rows in a SQLite file, with an integer primary key like the Jet
// table and the same secondary indexes; `keyless` may have no rows.
void buildSqlite(const std::string& path, const mdbgen::Options& keyed, const mdbgen::Options& keyless) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + path);
  sqliteExec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
  std::string cols =
      "Name TEXT, Phone TEXT, City TEXT, Amount INTEGER, Score REAL, Joined REAL, Active INTEGER";
  if (keyed.memos) cols += ", Notes TEXT";
  sqliteExec(db, "CREATE TABLE Records (ID INTEGER PRIMARY KEY, " + cols + ")");
  if (keyed.keyIndexes)
    sqliteExec(db, "CREATE INDEX Name ON Records (Name); CREATE INDEX Phone ON Records (Phone)");
  sqliteExec(db, "CREATE TABLE Loose (" + cols + ")");
  for (const auto* o : {&keyed, &keyless}) {
    sqliteExec(db, "BEGIN");
    std::string marks =
        std::string(o->memos ? "?,?,?,?,?,?,?,?" : "?,?,?,?,?,?,?") + (o->keyless ? "" : ",?");
    std::string sql =
        std::string(o->keyless ? "INSERT INTO Loose" : "INSERT INTO Records") + " VALUES (" + marks + ")";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    for (uint64_t i = 0; i < o->rows; ++i) {
      jet::Row row = mdbgen::generatedRow(*o, i);
      int col = 1;
      if (!o->keyless) sqlite3_bind_int64(st, col++, static_cast<sqlite3_int64>(i + 1));
      for (const jet::Value& v : row) bindValue(st, col++, v);
      sqlite3_step(st);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqliteExec(db, "COMMIT");
  }
  sqlite3_close(db);
}

void runSqlite(const std::string& path, const std::vector<std::string>& statements, bool scan) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  if (scan) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, statements[0].c_str(), -1, &st, nullptr);
    uint64_t n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(st); ++c) (void)sqlite3_column_text(st, c);
      ++n;
    }
    sqlite3_finalize(st);
    std::printf("  (%llu rows)\n", static_cast<unsigned long long>(n));
  } else {
    sqliteExec(db, "BEGIN");
    for (const auto& s : statements) sqliteExec(db, s);
    sqliteExec(db, "COMMIT");
  }
  sqlite3_close(db);
}

void runJet(const std::string& path, const std::vector<std::string>& statements, bool scan) {
  jet::ado::Connection c;
  c.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"" +
                        (scan ? ";Mode=Read" : ""));
  if (scan) {
    uint64_t n = 0;
    c.session().stream(
        statements[0], [](const std::vector<jet::sql::ResultField>&) {}, [&](const jet::Row&) { ++n; });
    std::printf("  (%llu rows)\n", static_cast<unsigned long long>(n));
    return;
  }
  auto& s = c.session();
  s.execute("BEGIN TRANSACTION");
  for (const auto& st : statements) s.execute(st);
  s.execute("COMMIT TRANSACTION");
}

// A fresh copy, on the disk as a user's file is: otherwise the first flush
// of the run under test would also write out the whole copy.
void copyFresh(const std::string& from, const std::string& to) {
  fs::remove(to);
  fs::copy_file(from, to);
  fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write);
  const int fd = ::open(to.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("cannot flush " + to);
  ::close(fd);
}

// The median of several runs: on a shared machine one busy moment moves it
// less than it moves a mean, and unlike the best run it is a typical one.
Measure median(std::vector<Measure> runs) {
  auto middle = [&](auto field) {
    std::vector<double> v;
    for (const Measure& m : runs) v.push_back(field(m));
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  };
  Measure m;
  m.seconds = middle([](const Measure& r) { return r.seconds; });
  m.cpu = middle([](const Measure& r) { return r.cpu; });
  for (const Measure& r : runs) m.peakKiB = std::max(m.peakKiB, r.peakKiB);
  m.ok = std::all_of(runs.begin(), runs.end(), [](const Measure& r) { return r.ok; });
  return m;
}

// The keep-lowest statement on rows shaped like customer data (CJK names, a
// memo column, the key fields indexed) beside SQLite with the same indexes,
// and the whole `quellmark dedupe` (backup copy, ID check, count, delete)
// beside the bare statement.
void runCustomers(const std::string& dir, uint64_t rows, int repeat) {
  mdbgen::Options o;
  o.rows = rows;
  o.table = "Records";
  o.keyIndexes = true;
  mdbgen::Options none = o;
  none.keyless = true;
  none.rows = 0;
  std::string master = dir + "/customers.mdb", work = dir + "/customers-work.mdb";
  std::string liteMaster = dir + "/customers.sqlite", liteWork = dir + "/customers-work.sqlite";
  std::printf("\ncustomer-shaped table: %llu rows, memo column, indexes on Name and Phone\n",
              static_cast<unsigned long long>(rows));
  fs::remove(master);
  fs::remove(liteMaster);
  measured([&] { jet::storage::writeNewDatabase(master, {mdbgen::newTable(o)}); });
  measured([&] { buildSqlite(liteMaster, o, none); });
  std::printf("Jet file %.1f MB; SQLite file %.1f MB\n", static_cast<double>(fs::file_size(master)) / 1e6,
              static_cast<double>(fs::file_size(liteMaster)) / 1e6);
  const std::string jetSql =
      "Delete from [Records] Where ID Not In (Select min(ID) From [Records] Group By Name,Phone)";
  const std::string liteSql =
      "DELETE FROM Records WHERE ID NOT IN (SELECT min(ID) FROM Records GROUP BY Name,Phone)";
  std::vector<Measure> qs, ss, tools;
  for (int r = 0; r < repeat; ++r) {
    copyFresh(master, work);
    copyFresh(liteMaster, liteWork);
    qs.push_back(measured([&] { runJet(work, {jetSql}, false); }));
    ss.push_back(measured([&] { runSqlite(liteWork, {liteSql}, false); }));
#ifdef QM_QUELLMARK
    fs::path sub = fs::path(dir) / "dedupe-run";
    fs::remove_all(sub);
    fs::create_directories(sub);
    std::string file = (sub / "customers.mdb").string();
    copyFresh(master, file);
    std::string cmd = std::string("'") + QM_QUELLMARK + "' dedupe '" + file +
                      "' --table Records --id ID --keys Name,Phone --keep lowest --yes > /dev/null 2>&1";
    tools.push_back(measured([&] {
      if (std::system(cmd.c_str()) != 0) throw std::runtime_error("quellmark dedupe failed");
    }));
    fs::remove_all(sub);
#endif
  }
  const Measure q = median(qs), s = median(ss);
  std::printf("medians of %d runs\n", repeat);
  std::printf("%-22s %9.2fs  %6.2fs CPU\n", "keep lowest, quellmark", q.seconds, q.cpu);
  std::printf("%-22s %9.2fs  %6.2fs CPU\n", "keep lowest, sqlite", s.seconds, s.cpu);
  std::printf("%-22s %9.2f   %6.2f in CPU time%s\n", "ratio", q.seconds / s.seconds, q.cpu / s.cpu,
              q.ok && s.ok ? "" : "  (FAILED)");
  if (!tools.empty()) {
    const Measure tool = median(tools);
    std::printf("%-22s %9.2fs  %6.2fs CPU: %.2fx the bare statement (%.2fx in CPU time)%s\n",
                "quellmark dedupe", tool.seconds, tool.cpu, tool.seconds / q.seconds, tool.cpu / q.cpu,
                tool.ok ? "" : "  (FAILED)");
  }
  fs::remove(work);
  fs::remove(liteWork);
  fs::remove(master);
  fs::remove(liteMaster);
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t rows = 1000000;
  uint64_t customerRows = 200000;
  int repeat = 3;
  std::string dir = (fs::temp_directory_path() / "quellmark-bench").string();
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--rows")
      rows = std::strtoull(argv[i + 1], nullptr, 10);
    else if (a == "--dir")
      dir = argv[i + 1];
    else if (a == "--repeat")
      repeat = std::max(1, std::atoi(argv[i + 1]));
    else if (a == "--customer-rows")
      customerRows = std::strtoull(argv[i + 1], nullptr, 10);
  }
  fs::create_directories(dir);
  if (rows == 0) {
    if (customerRows > 0) runCustomers(dir, customerRows, repeat);
    return 0;
  }
  mdbgen::Options keyed;
  keyed.rows = rows;
  keyed.table = "Records";
  keyed.memos = false;
  mdbgen::Options keyless = keyed;
  keyless.table = "Loose";
  keyless.keyless = true;
  keyless.seed = 2;

  std::string master = dir + "/master.mdb", work = dir + "/work.mdb";
  std::string liteMaster = dir + "/master.sqlite", liteWork = dir + "/work.sqlite";
  std::printf("generating %llu rows in each of two tables...\n", static_cast<unsigned long long>(rows));
  fs::remove(master);
  fs::remove(liteMaster);
  Measure gen = measured([&] {
    jet::storage::writeNewDatabase(master, {mdbgen::newTable(keyed), mdbgen::newTable(keyless)});
  });
  Measure genLite = measured([&] { buildSqlite(liteMaster, keyed, keyless); });
  std::printf("Jet file %.1f MB written in %.2f s; SQLite file %.1f MB in %.2f s\n",
              static_cast<double>(fs::file_size(master)) / 1e6, gen.seconds,
              static_cast<double>(fs::file_size(liteMaster)) / 1e6, genLite.seconds);

  Measure cat = measured([&] {
    std::string cmd = "cat '" + master + "' > /dev/null";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cat failed");
  });

  struct Case {
    const char* name;
    std::vector<std::string> jet, lite;
    bool scan;
  };
  std::vector<Case> cases = {
      {"full scan", {"select * from [Records]"}, {"SELECT * FROM Records"}, true},
      {"keep lowest",
       {"Delete from [Records] Where ID Not In (Select min(ID) From [Records] Group By Name,Phone)"},
       {"DELETE FROM Records WHERE ID NOT IN (SELECT min(ID) FROM Records GROUP BY Name,Phone)"},
       false},
      {"keep highest",
       {"delete from [Records] where ID not in (select max(ID) from [Records] group by Name,Phone)"},
       {"DELETE FROM Records WHERE ID NOT IN (SELECT max(ID) FROM Records GROUP BY Name,Phone)"},
       false},
      {"keyless rebuild",
       {"select * INTO [Loose_new] from (select distinct * from [Loose])", "Drop table [Loose]",
        "select * INTO [Loose] from (select distinct * from [Loose_new])", "Drop table [Loose_new]"},
       {"CREATE TABLE Loose_new AS SELECT DISTINCT * FROM Loose", "DROP TABLE Loose",
        "CREATE TABLE Loose AS SELECT DISTINCT * FROM Loose_new", "DROP TABLE Loose_new"},
       false},
  };
  std::printf("\n%-16s %10s %10s %8s %10s %12s %12s %10s %10s\n", "operation", "quellmark", "sqlite", "ratio",
              "vs cat", "peak MiB", "sqlite MiB", "file MB", "sqlite MB");
  std::printf("%-16s %9.2fs\n", "cat file", cat.seconds);
  for (const Case& c : cases) {
    Measure q, s;
    for (int r = 0; r < repeat; ++r) {
      copyFresh(master, work);
      copyFresh(liteMaster, liteWork);
      q = best(q, measured([&] { runJet(work, c.jet, c.scan); }), r == 0);
      s = best(s, measured([&] { runSqlite(liteWork, c.lite, c.scan); }), r == 0);
    }
    // The files' sizes after the statements: dropped tables must give their room back.
    std::printf("%-16s %9.2fs %9.2fs %8.2f %10.1f %12.1f %12.1f %10.1f %10.1f%s\n", c.name, q.seconds,
                s.seconds, q.seconds / s.seconds, q.seconds / cat.seconds,
                static_cast<double>(q.peakKiB) / 1024.0, static_cast<double>(s.peakKiB) / 1024.0,
                static_cast<double>(fs::file_size(work)) / 1e6,
                static_cast<double>(fs::file_size(liteWork)) / 1e6, q.ok && s.ok ? "" : "  (FAILED)");
  }
  std::printf("\ntable size on disk: %.1f MB (peak memory well under it is the target)\n",
              static_cast<double>(fs::file_size(master)) / 1e6);
  fs::remove(work);
  fs::remove(liteWork);
  if (customerRows > 0) runCustomers(dir, customerRows, repeat);
  return 0;
}
