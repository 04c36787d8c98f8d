// Statements that make, drop and rebuild tables, run through the SQL layer
// and killed at random points: after the next open rolls the hot journal
// back, the database holds exactly the tables and rows of before or of
// after, its catalogue lists exactly the tables that open, and every index
// (MSysObjects' included) passes the walker.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

#include "jet/sql/Session.h"
#include "jet/storage/NewDatabase.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Every table the catalogue lists, with its rows.
struct DatabaseState {
  std::map<std::string, Rows> tables;
  bool operator==(const DatabaseState&) const = default;
};

std::string describe(const DatabaseState& s) {
  std::string out;
  for (const auto& [name, rows] : s.tables) out += name + ":" + std::to_string(rows.size()) + " ";
  return out;
}

DatabaseState stateOf(const std::string& file) {
  DatabaseState s;
  std::vector<std::string> names;
  {
    auto db = JetDatabase::open(file, "");  // the open rolls a hot journal back
    for (const auto& o : db->objects())
      if (o.kind == ObjectKind::Table) names.push_back(o.name);
  }
  for (const auto& n : names) s.tables[n] = ourRows(file, n);
  return s;
}

// The catalogue lists exactly the tables that open (none of `known` is left
// behind half made or half dropped), every index of every table, the system
// tables' included, passes the walker, and no page is owned twice or owned
// yet marked free.
void expectConsistent(const std::string& file, const std::vector<std::string>& known) {
  expectPagesConsistent(file);
  auto db = JetDatabase::open(file, "");
  std::set<std::string> listed;
  for (const auto& o : db->objects()) {
    if (o.kind != ObjectKind::Table && o.kind != ObjectKind::SystemTable) continue;
    if (o.kind == ObjectKind::Table) listed.insert(o.name);
    auto t = std::dynamic_pointer_cast<JetTable>(db->openTable(o.name));
    ASSERT_TRUE(t) << o.name << " is listed but does not open";
    IndexReport r = checkIndexes(*t);
    EXPECT_TRUE(r.ok()) << o.name << ": " << (r.problems.empty() ? "" : r.problems.front());
    EXPECT_EQ(r.rows, t->rowCount()) << o.name << ": recorded row count";
  }
  for (const auto& n : known)
    EXPECT_EQ(db->openTable(n) != nullptr, listed.count(n) == 1) << n << ": catalogue and table disagree";
}

// A keyless table with duplicate rows (every fifth row repeats an earlier
// one) and memos, some long enough for long-value pages; and a keyed table
// no statement touches.
void makeBase(const std::string& path, int rows) {
  TableSchema t{"T",
                {{.name = "Name", .type = DataType::Text, .size = 60},
                 {.name = "Amount", .type = DataType::Long, .size = 4},
                 {.name = "Note", .type = DataType::Memo}},
                {}};
  TableSchema keep{"Keep",
                   {{.name = "Id", .type = DataType::Long, .size = 4},
                    {.name = "Label", .type = DataType::Text, .size = 20}},
                   {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true}}};
  auto at = std::make_shared<int>(0);
  auto keepAt = std::make_shared<int>(0);
  std::vector<NewTable> tables;
  tables.push_back({t, [=](Row& r) {
                      if (*at >= rows) return false;
                      int i = (*at)++;
                      int k = i % 5 == 4 ? i / 3 : i;  // a repeat of an earlier row
                      std::string note = k % 7 == 0 ? std::string(900 + k % 300, char('a' + k % 26))
                                                    : "备注 " + std::to_string(k * 31);
                      r = {Value::text("客户 " + std::to_string(k * 7919 % 100003)), Value::longInt(k % 97),
                           Value::memo(note)};
                      return true;
                    }});
  tables.push_back({keep, [=](Row& r) {
                      if (*keepAt >= 40) return false;
                      int i = (*keepAt)++;
                      r = {Value::longInt(i), Value::text("k" + std::to_string(i))};
                      return true;
                    }});
  writeNewDatabase(path, std::move(tables));
}

void runStatements(const std::string& file, const std::vector<std::string>& statements) {
  auto db = JetDatabase::open(file, "", /*readOnly=*/false);
  db->pageFile().setDirtyLimit(24);  // many write-outs: many points to die at
  jet::sql::Session session(*db);
  for (const auto& s : statements) session.execute(s);
}

struct CrashFigures {
  int rounds = 0, kills = 0, hot = 0, sawBefore = 0, sawAfter = 0;
  long long statementMs = 0;
};

// Runs `statements` to the end once for the after state, then kills a child
// running them after a seeded random delay until `kills` kills landed or the
// time is up (a bound for a loaded machine; a round takes about a second),
// checking each reopened file.
CrashFigures crashRounds(const std::string& base, const fs::path& folder,
                         const std::vector<std::string>& statements, const std::vector<std::string>& known,
                         int kills, uint32_t seed, std::chrono::seconds budget) {
  CrashFigures f;
  const DatabaseState before = stateOf(base);
  // Statements outside a transaction commit one by one: a kill between two
  // of them leaves the state after the first, which is as sound as any.
  std::vector<DatabaseState> between;
  if (statements.size() > 1 && statements.front() != "BEGIN TRANSACTION") {
    std::string step = (folder / "step.mdb").string();
    fs::copy_file(base, step, fs::copy_options::overwrite_existing);
    for (size_t i = 0; i + 1 < statements.size(); ++i) {
      runStatements(step, {statements[i]});
      between.push_back(stateOf(step));
    }
  }
  std::string reference = (folder / "reference.mdb").string();
  fs::copy_file(base, reference, fs::copy_options::overwrite_existing);
  auto start = std::chrono::steady_clock::now();
  runStatements(reference, statements);
  const auto span =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  f.statementMs = span.count() / 1000;
  const DatabaseState after = stateOf(reference);
  EXPECT_NE(before, after);
  expectConsistent(reference, known);
  if (::testing::Test::HasFailure()) return f;

  std::mt19937 rng(seed);
  std::string work = (folder / "work.mdb").string();
  const auto deadline = std::chrono::steady_clock::now() + budget;
  auto window = static_cast<uint64_t>(span.count());  // microseconds to wait before the kill, at most
  while (f.kills < kills && std::chrono::steady_clock::now() < deadline) {
    ++f.rounds;
    fs::copy_file(base, work, fs::copy_options::overwrite_existing);
    fs::remove(work + ".qmj");
    pid_t child = fork();
    EXPECT_GE(child, 0);
    if (child < 0) return f;
    if (child == 0) {
      try {
        runStatements(work, statements);
      } catch (...) {
        _exit(3);
      }
      _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % (window + 1)));
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == 0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ++f.kills;
      if (fs::exists(work + ".qmj")) ++f.hot;  // died with changes under way
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << f.rounds << ": child failed";
      window = window * 3 / 4;  // the children run faster than the reference did: aim earlier
    }
    DatabaseState now = stateOf(work);
    const bool committedState =
        now == before || now == after || std::find(between.begin(), between.end(), now) != between.end();
    EXPECT_TRUE(committedState) << "round " << f.rounds << ": " << describe(now) << "; before "
                                << describe(before) << "; after " << describe(after);
    (now == before ? f.sawBefore : f.sawAfter)++;
    EXPECT_FALSE(fs::exists(work + ".qmj"));
    expectConsistent(work, known);
    if (::testing::Test::HasFailure()) return f;
  }
  std::printf("%d rounds, %d kills (%d with a hot journal), %d before, %d after; statements %lld ms\n",
              f.rounds, f.kills, f.hot, f.sawBefore, f.sawAfter, f.statementMs);
  return f;
}

class CrashDdl : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = (tmp_.path() / "base.mdb").string();
    makeBase(base_, 1500);
  }
  TempFolder tmp_;
  std::string base_;
};

TEST_F(CrashDdl, SelectIntoLeavesNoTableOrTheWholeCopy) {
  auto f = crashRounds(base_, tmp_.path(), {"select * INTO [T_Bak] FROM [T]"}, {"T", "Keep", "T_Bak"}, 20,
                       20261209, std::chrono::seconds(40));
  EXPECT_GE(f.kills, 20);
  EXPECT_GT(f.hot, 0);
}

TEST_F(CrashDdl, AddCounterColumnLeavesTheOldOrTheNumberedTable) {
  auto f = crashRounds(base_, tmp_.path(), {"ALTER TABLE [T] ADD COLUMN NewId COUNTER"}, {"T", "Keep"}, 15,
                       20261210, std::chrono::seconds(35));
  EXPECT_GE(f.kills, 15);
  EXPECT_GT(f.hot, 0);
}

TEST_F(CrashDdl, RemovalByNotInSubqueryIsAllOrNothing) {
  // The removal statement's batch path: data pages, long values and the
  // index of Keep rewritten together.
  auto f =
      crashRounds(base_, tmp_.path(),
                  {"Delete from [T] Where Amount Not In (Select min(Amount) From [T] Group By Amount mod 5)",
                   "delete from [Keep] where Id not in (select max(Id) from [Keep] group by Id mod 3)"},
                  {"T", "Keep"}, 15, 20261212, std::chrono::seconds(35));
  EXPECT_GE(f.kills, 15);
  EXPECT_GT(f.hot, 0);
}

TEST_F(CrashDdl, KeylessRebuildInOneTransactionIsAllOrNothing) {
  auto f = crashRounds(
      base_, tmp_.path(),
      {"BEGIN TRANSACTION", "select * INTO [T_new] from (select distinct * from [T])", "Drop table [T]",
       "select * INTO [T] from (select distinct * from [T_new])", "Drop table [T_new]", "COMMIT"},
      {"T", "Keep", "T_new"}, 20, 20261211, std::chrono::seconds(50));
  EXPECT_GE(f.kills, 20);
  EXPECT_GT(f.hot, 0);
}

}  // namespace
}  // namespace jet::storage::testing
