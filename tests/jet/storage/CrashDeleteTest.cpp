// A writer killed at random points of a large DELETE followed by INSERTs in
// one transaction: after the next open rolls the hot journal back, the table
// is exactly as before or exactly as after, and its indexes pass the walker.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

constexpr int kBaseRows = 1200;
constexpr int kKills = 50;

void fillBase(const std::string& f) {
  auto db = JetDatabase::open(f, "", false);
  auto t = db->openTable("Table1");
  db->begin();
  for (int i = 0; i < kBaseRows; ++i) {
    Row r{Value::text("base " + std::to_string(i * 7919 % kBaseRows) + " 客户"),
          Value::text("v" + std::to_string(i % 13))};
    t->insert(r);
  }
  db->commit();
}

// The statement the child runs: every second row goes, 150 new ones come.
void theStatement(const std::string& f) {
  auto db = JetDatabase::open(f, "", false);
  db->pageFile().setDirtyLimit(24);  // many write-outs: many points to die at
  auto t = db->openTable("Table1");
  auto ids = rowIds(*t);
  db->begin();
  for (size_t i = 0; i < ids.size(); i += 2) t->remove(ids[i]);
  for (int i = 0; i < 150; ++i) {
    Row r{Value::text("new " + std::to_string(i)), Value::text("n")};
    t->insert(r);
  }
  db->commit();
}

TEST(CrashDelete, EveryKillLeavesTheBeforeOrTheAfterState) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string base = tmp.copy("jet4/bigIndexTestV2000.mdb", "base.mdb");
  fillBase(base);
  const auto before = ourRows(base, "Table1");
  std::string reference = (tmp.path() / "reference.mdb").string();
  fs::copy_file(base, reference);
  fs::permissions(reference, fs::perms::owner_write, fs::perm_options::add);
  auto start = std::chrono::steady_clock::now();
  theStatement(reference);
  const auto span =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const auto after = ourRows(reference, "Table1");
  ASSERT_NE(before, after);
  ASSERT_EQ(after.size(), kBaseRows / 2 + 150u);

  std::mt19937 rng(20261209);
  std::string work = (tmp.path() / "work.mdb").string();
  int kills = 0, rounds = 0, sawBefore = 0, sawAfter = 0;
  // A bound for a badly loaded machine; normally 50 kills take well under a minute.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(300);
  while (kills < kKills && std::chrono::steady_clock::now() < deadline) {
    ++rounds;
    fs::copy_file(base, work, fs::copy_options::overwrite_existing);
    fs::permissions(work, fs::perms::owner_write, fs::perm_options::add);
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
    auto now = ourRows(work, "Table1");  // the open rolls a hot journal back
    ASSERT_TRUE(now == before || now == after) << "round " << rounds << ": " << now.size() << " rows";
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
