// Sources listed with commas: each source's own conditions filter it before
// it is joined, and the answer is exactly the one the whole cross product
// filtered afterwards gives (same rows, order, duplicates, Null handling).
#include <chrono>
#include <thread>

#include "SqlFixture.h"
#include "jet/core/Cancel.h"

namespace jet::sql::testing {
namespace {

class CommaJoin : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE A (ID LONG, v LONG, Name TEXT(10))");
    run("CREATE TABLE B (ID LONG, w TEXT(10))");
    run("INSERT INTO A VALUES (1, 5, 'one')");
    run("INSERT INTO A VALUES (2, Null, 'two')");
    run("INSERT INTO A VALUES (3, 7, Null)");
    run("INSERT INTO A VALUES (3, 7, Null)");  // a duplicate row stays two rows
    run("INSERT INTO A VALUES (Null, 9, 'none')");
    run("INSERT INTO B VALUES (1, 'x')");
    run("INSERT INTO B VALUES (3, Null)");
    run("INSERT INTO B VALUES (3, 'y')");
    run("INSERT INTO B VALUES (2, 'z')");
    run("INSERT INTO B VALUES (Null, 'n')");
  }

  // `where` holds conditions a planner may move onto one source; `tangled` is
  // the same test written as one condition over both sources, which only the
  // joined row can answer.
  void expectSameAsCrossProduct(const std::string& select, const std::string& where) {
    std::string tangled = "(" + where + ") OR (A.Name = B.w AND 1 = 0)";
    auto direct = session.execute(select + " WHERE " + where);
    auto reference = session.execute(select + " WHERE " + tangled);
    EXPECT_EQ(direct.result.rows, reference.result.rows) << where;
    ASSERT_EQ(direct.result.fields.size(), reference.result.fields.size());
    for (size_t i = 0; i < direct.result.fields.size(); ++i)
      EXPECT_EQ(direct.result.fields[i].name, reference.result.fields[i].name);
  }
};

TEST_F(CommaJoin, OwnConditionsGiveTheCrossProductsAnswer) {
  expectSameAsCrossProduct("SELECT * FROM A, B", "A.v > 4 AND B.w <> 'x'");
  expectSameAsCrossProduct("SELECT * FROM A, B", "A.v > 4 AND B.w <> 'x' AND A.ID = B.ID");
  expectSameAsCrossProduct("SELECT A.Name, B.w FROM A, B", "v IS NULL AND w IS NOT NULL");
  expectSameAsCrossProduct("SELECT * FROM A, B", "NOT (A.v = 7) AND B.ID < 3");
  expectSameAsCrossProduct("SELECT * FROM A, B AS x, B", "A.ID = 3 AND x.ID = A.ID AND B.w LIKE '[xy]'");
  expectSameAsCrossProduct("SELECT * FROM A, B", "1 = 1 AND A.Name IS NULL");
  auto r = rows("SELECT A.ID, B.w FROM A, B WHERE A.v = 7 AND B.ID = 3");
  // Both copies of the duplicate row of A, each with both rows of B with ID 3, in the sources' order.
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0], (Row{L(3), Value()}));
  EXPECT_EQ(r[1], (Row{L(3), T("y")}));
  EXPECT_EQ(r[2], (Row{L(3), Value()}));
  EXPECT_EQ(r[3], (Row{L(3), T("y")}));
}

TEST_F(CommaJoin, NamesResolveAsBefore) {
  // ID is in both sources: the condition is still ambiguous, not quietly moved onto one.
  EXPECT_EQ(failure("SELECT * FROM A, B WHERE ID = 1"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT * FROM A, B WHERE Nothing = 1 AND A.ID = 1"), ErrorCode::NoSuchField);
  EXPECT_EQ(failure("SELECT * FROM A, B WHERE Count(A.ID) > 1"), ErrorCode::Invalid);
  // A condition naming the enclosing query's row stays correct inside a subquery's comma join.
  auto r = rows(
      "SELECT o.Name FROM A AS o WHERE EXISTS (SELECT * FROM B, A AS i WHERE B.ID = o.ID AND i.ID = B.ID AND "
      "B.w IS NOT NULL)");
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0][0], T("one"));
  EXPECT_EQ(r[1][0], T("two"));
  EXPECT_TRUE(r[2][0].isNull());
  // And a correlated subquery as a condition of one source.
  expectSameAsCrossProduct("SELECT * FROM A, B",
                           "EXISTS (SELECT * FROM B AS b2 WHERE b2.ID = A.ID AND b2.w = 'y') AND B.ID = 1");
}

TEST_F(CommaJoin, ThreeLargeSourcesAreFilteredBeforeJoining) {
  run("CREATE TABLE Big (ID LONG, Name TEXT(20))");
  auto big = store.openTable("Big");
  std::vector<Row> batch;
  for (int32_t i = 1; i <= 5000; ++i) batch.push_back(Row{L(i), T("row " + std::to_string(i))});
  big->insertRows(batch);
  // The whole cross product would be 125 billion rows: a stop after a while
  // turns a planner that builds it into a failure rather than a hang.
  std::atomic<bool> finished{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 600 && !finished; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!finished) RequestCancel();
  });
  ExecResult result;
  try {
    result = run("SELECT a.ID, b.ID, c.ID FROM Big AS a, Big AS b, Big AS c WHERE a.ID = 1 AND b.ID < 3");
  } catch (const Error& e) {
    ADD_FAILURE() << e.what();
  }
  finished = true;
  watchdog.join();
  ClearCancel();
  const auto& r = result.result.rows;
  ASSERT_EQ(r.size(), 10000u);
  EXPECT_EQ(r[0], (Row{L(1), L(1), L(1)}));
  EXPECT_EQ(r[4999], (Row{L(1), L(1), L(5000)}));
  EXPECT_EQ(r[5000], (Row{L(1), L(2), L(1)}));
  EXPECT_EQ(r[9999], (Row{L(1), L(2), L(5000)}));
  // Equalities between sources join on hash keys, also across three of them.
  auto keyed =
      rows("SELECT a.Name, c.ID FROM Big AS a, Big AS b, Big AS c WHERE a.ID = b.ID AND c.ID = b.ID + 1");
  ASSERT_EQ(keyed.size(), 4999u);
  EXPECT_EQ(keyed[0], (Row{T("row 1"), L(2)}));
}

}  // namespace
}  // namespace jet::sql::testing
