// A writer killed at random points of one transaction on an Access 97 file
// (2 KB pages in the journal): deletes, inserts with long values, and a new
// table. After the next open rolls the hot journal back, the file is exactly
// as before or exactly as after, and its indexes and pages pass the checks.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

constexpr int kKills = 20;

// The table's rows and whether the new table is there with its rows.
struct State {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::vector<std::string>> added;
  bool operator==(const State&) const = default;
};

State stateOf(const std::string& f) {
  State s;
  s.rows = ourRows(f, "Table1");  // the open rolls a hot journal back
  auto db = JetDatabase::open(f, "");
  if (db->openTable("Neu")) s.added = ourRows(f, "Neu");
  return s;
}

void theStatement(const std::string& f) {
  auto db = JetDatabase::open(f, "", false);
  db->pageFile().setDirtyLimit(16);  // many write-outs: many points to die at
  auto t = db->openTable("Table1");
  auto ids = rowIds(*t);
  db->begin();
  for (size_t i = 0; i < ids.size(); i += 2) t->remove(ids[i]);
  for (int i = 0; i < 200; ++i) {
    Row r{Value::longInt(50000 + i), Value::text("neu " + std::to_string(i)), Value::text("Straße")};
    t->insert(r);
  }
  db->createTable(
      {"Neu",
       {{.name = "ID", .type = DataType::Long, .autoNumber = true}, {.name = "Text", .type = DataType::Memo}},
       {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true}}});
  auto added = db->openTable("Neu");
  for (int i = 0; i < 40; ++i) {
    Row r{Value(), Value::memo(std::string(100 + i * 150, static_cast<char>('a' + i % 26)))};
    added->insert(r);
  }
  db->commit();
}

TEST(Jet3Crash, EveryKillLeavesTheBeforeOrTheAfterState) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string base = tmp.copy("jet3/compIndexTestV1997.mdb", "base.mdb");
  const State before = stateOf(base);
  std::string reference = (tmp.path() / "reference.mdb").string();
  fs::copy_file(base, reference);
  auto start = std::chrono::steady_clock::now();
  theStatement(reference);
  const auto span =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const State after = stateOf(reference);
  ASSERT_NE(before, after);
  ASSERT_EQ(after.added.size(), 40u);
  expectIndexesValid(reference);

  std::mt19937 rng(19970101);
  std::string work = (tmp.path() / "work.mdb").string();
  int kills = 0, rounds = 0, sawBefore = 0, sawAfter = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(300);
  while (kills < kKills && std::chrono::steady_clock::now() < deadline) {
    ++rounds;
    fs::copy_file(base, work, fs::copy_options::overwrite_existing);
    fs::remove(work + ".qmj");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        theStatement(work);
      } catch (...) {
        _exit(3);
      }
      _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % (span.count() + 1)));
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ++kills;
    } else {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const State now = stateOf(work);
    ASSERT_TRUE(now == before || now == after) << "round " << rounds << ": " << now.rows.size() << " rows";
    (now == before ? sawBefore : sawAfter)++;
    EXPECT_FALSE(fs::exists(work + ".qmj"));
    if (rounds % 5 == 0 || now == after) {
      expectIndexesValid(work);
      if (::testing::Test::HasFailure()) return;
    }
  }
  std::printf("%d rounds, %d kills, %d before, %d after; statement %lld ms\n", rounds, kills, sawBefore,
              sawAfter, static_cast<long long>(span.count() / 1000));
  EXPECT_GE(kills, kKills);
  EXPECT_GT(sawBefore, 0);
}

}  // namespace
}  // namespace jet::storage::testing
