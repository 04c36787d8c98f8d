// SELECT: sources, joins, grouping, ordering, TOP, DISTINCT, UNION, naming and streaming.
#include <algorithm>
#include <set>

#include "SqlFixture.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql::testing {
namespace {

class Queries : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE Customers (CustID LONG, Name TEXT(30), City TEXT(20))");
    run("INSERT INTO Customers VALUES (1, 'Ann', 'Oslo')");
    run("INSERT INTO Customers VALUES (2, 'Bob', 'Rome')");
    run("INSERT INTO Customers VALUES (3, 'Cid', Null)");
    run("CREATE TABLE Orders (OrderID LONG, CustID LONG, Amount CURRENCY, Qty INTEGER, Note MEMO)");
    run("INSERT INTO Orders VALUES (10, 1, 5.5, 2, 'x')");
    run("INSERT INTO Orders VALUES (11, 1, 4.5, 3, 'x')");
    run("INSERT INTO Orders VALUES (12, 2, 10, 1, Null)");
    run("INSERT INTO Orders VALUES (13, 9, 1, 1, 'y')");
  }
  std::vector<std::string> column(const std::string& sql, size_t c = 0) {
    std::vector<std::string> out;
    for (const Row& r : rows(sql))
      out.push_back(r[c].isNull() ? "<null>" : r[c].isText() ? r[c].asText() : std::to_string(r[c].asInt()));
    return out;
  }
};

using Strings = std::vector<std::string>;

TEST_F(Queries, InnerJoinOnEquality) {
  auto r =
      run("SELECT c.Name, o.OrderID FROM Customers AS c INNER JOIN Orders AS o ON c.CustID = o.CustID "
          "ORDER BY o.OrderID");
  EXPECT_EQ(r.result.fields[0].name, "Name");
  EXPECT_EQ(r.result.fields[1].name, "OrderID");
  ASSERT_EQ(r.result.rows.size(), 3u);
  EXPECT_EQ(r.result.rows[2][0], T("Bob"));
}

TEST_F(Queries, LeftAndRightJoinsKeepUnmatchedRows) {
  EXPECT_EQ(column("SELECT Customers.Name, Orders.OrderID FROM Customers LEFT JOIN Orders ON "
                   "Customers.CustID = Orders.CustID ORDER BY Customers.Name, OrderID",
                   1),
            (Strings{"10", "11", "12", "<null>"}));
  EXPECT_EQ(column("SELECT Customers.Name, Orders.OrderID FROM Customers RIGHT JOIN Orders ON "
                   "Customers.CustID = Orders.CustID ORDER BY OrderID"),
            (Strings{"Ann", "Ann", "Bob", "<null>"}));
  // A condition on the right side of a LEFT JOIN belongs to the join, not to WHERE.
  EXPECT_EQ(column("SELECT c.Name, o.OrderID FROM Customers c LEFT JOIN Orders o ON c.CustID = o.CustID AND "
                   "o.Amount > 5 ORDER BY c.Name",
                   1),
            (Strings{"10", "12", "<null>"}));
}

TEST_F(Queries, NestedJoinsInAccessParentheses) {
  run("CREATE TABLE Cities (City TEXT(20), Country TEXT(20))");
  run("INSERT INTO Cities VALUES ('Oslo', 'Norway')");
  run("INSERT INTO Cities VALUES ('Rome', 'Italy')");
  EXPECT_EQ(column("SELECT Cities.Country, Orders.OrderID FROM (Customers INNER JOIN Orders ON "
                   "Customers.CustID = Orders.CustID) INNER JOIN Cities ON Customers.City = Cities.City "
                   "ORDER BY Orders.OrderID"),
            (Strings{"Norway", "Norway", "Italy"}));
}

TEST_F(Queries, CommaJoinUsesWhereEquality) {
  EXPECT_EQ(column("SELECT Name FROM Customers, Orders WHERE Customers.CustID = Orders.CustID AND Qty > 1 "
                   "ORDER BY OrderID"),
            (Strings{"Ann", "Ann"}));
  EXPECT_EQ(rows("SELECT * FROM Customers, Orders").size(), 12u);
}

TEST_F(Queries, StarNamesCollidingColumnsByTable) {
  auto n = names("SELECT * FROM Customers INNER JOIN Orders ON Customers.CustID = Orders.CustID");
  EXPECT_EQ(
      n, (Strings{"Customers.CustID", "Name", "City", "OrderID", "Orders.CustID", "Amount", "Qty", "Note"}));
  EXPECT_EQ(names("SELECT o.*, c.Name FROM Customers c INNER JOIN Orders o ON c.CustID = o.CustID").size(),
            6u);
}

TEST_F(Queries, ColumnsOfDifferentTablesUnderOneNameAreKnownByTheirTables) {
  EXPECT_EQ(
      names("SELECT c.CustID, o.CustID, Name, OrderID AS CustID FROM Customers c INNER JOIN Orders o ON "
            "c.CustID = o.CustID"),
      (Strings{"c.CustID", "o.CustID", "Name", "CustID"}));
  EXPECT_EQ(names("SELECT CustID, CustID FROM Customers"), (Strings{"CustID", "CustID"}));
  // A saved query hands those names on.
  store.addQuery("Both",
                 "SELECT Customers.*, Orders.CustID FROM Customers INNER JOIN Orders ON Customers.CustID = "
                 "Orders.CustID");
  EXPECT_EQ(names("SELECT * FROM Both"), (Strings{"Customers.CustID", "Name", "City", "Orders.CustID"}));
  EXPECT_EQ(column("SELECT [Orders.CustID] FROM Both ORDER BY Name"), (Strings{"1", "1", "2"}));
}

TEST_F(Queries, DerivedTablesWithAndWithoutAlias) {
  EXPECT_EQ(rows("SELECT * FROM (SELECT DISTINCT CustID FROM Orders)").size(), 3u);
  EXPECT_EQ(column("SELECT d.n FROM (SELECT Name AS n FROM Customers WHERE CustID > 1) AS d ORDER BY d.n"),
            (Strings{"Bob", "Cid"}));
  EXPECT_EQ(column("SELECT x.n FROM (SELECT Name AS n FROM Customers) x WHERE x.n Like 'a*'"),
            (Strings{"Ann"}));
}

TEST_F(Queries, SavedQueriesActAsTables) {
  store.addQuery("BigOrders", "SELECT OrderID, CustID FROM Orders WHERE Amount >= 5");
  EXPECT_EQ(column("SELECT OrderID FROM [BigOrders] ORDER BY OrderID"), (Strings{"10", "12"}));
  EXPECT_EQ(column("SELECT c.Name FROM Customers c INNER JOIN BigOrders b ON c.CustID = b.CustID ORDER BY "
                   "b.OrderID"),
            (Strings{"Ann", "Bob"}));
  store.addQuery("Loop1", "SELECT * FROM Loop2");
  store.addQuery("Loop2", "SELECT * FROM Loop1");
  EXPECT_EQ(failure("SELECT * FROM Loop1"), ErrorCode::Invalid);
  store.addQuery("Broken", "SELECT nosuch FROM Orders");
  EXPECT_EQ(failure("SELECT * FROM Broken"), ErrorCode::NoSuchField);
}

TEST_F(Queries, AggregatesAndTheirTypes) {
  auto r =
      run("SELECT Count(*), Count(Note), Sum(Qty), Avg(Qty), Min(Amount), Max(Amount), Sum(Amount), "
          "First(OrderID), Last(OrderID) FROM Orders");
  const Row& row = r.result.rows.at(0);
  EXPECT_EQ(row[0], L(4));
  EXPECT_EQ(row[1], L(3));  // Nulls are skipped
  EXPECT_EQ(row[2], D(7));
  EXPECT_EQ(r.result.fields[2].type, DataType::Double);
  EXPECT_EQ(row[3], D(1.75));
  EXPECT_EQ(row[4], Value::currency(10000));
  EXPECT_EQ(row[5], Value::currency(100000));
  EXPECT_EQ(row[6], Value::currency(210000));
  EXPECT_EQ(r.result.fields[6].type, DataType::Currency);
  EXPECT_EQ(row[7], L(10));
  EXPECT_EQ(row[8], L(13));
  EXPECT_EQ(names("SELECT Count(*), Max(OrderID) AS highest, Sum(Qty) FROM Orders"),
            (Strings{"Expr1000", "highest", "Expr1002"}));
}

TEST_F(Queries, AggregatesOverNoRows) {
  auto r = rows("SELECT Count(*), Sum(Qty), Max(OrderID) FROM Orders WHERE OrderID > 100");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], L(0));
  EXPECT_TRUE(r[0][1].isNull());
  EXPECT_TRUE(r[0][2].isNull());
  EXPECT_TRUE(rows("SELECT CustID, Count(*) FROM Orders WHERE OrderID > 100 GROUP BY CustID").empty());
}

TEST_F(Queries, CountDistinctStDevAndVar) {
  EXPECT_EQ(scalar("Count(Distinct CustID) FROM Orders"), L(3));
  Value sd = scalar("StDev(Qty) FROM Orders");
  EXPECT_NEAR(sd.asDouble(), 0.957427, 1e-6);
  EXPECT_NEAR(scalar("VarP(Qty) FROM Orders").asDouble(), 0.6875, 1e-9);
  EXPECT_TRUE(scalar("StDev(Qty) FROM Orders WHERE OrderID = 10").isNull());
}

TEST_F(Queries, GroupByPutsNullsTogetherAndMemoWhole) {
  run("INSERT INTO Customers VALUES (4, 'Dan', Null)");
  EXPECT_EQ(column("SELECT City, Count(*) FROM Customers GROUP BY City", 1), (Strings{"2", "1", "1"}));
  run("INSERT INTO Orders VALUES (14, 1, 1, 1, '" + std::string(300, 'm') + "a')");
  run("INSERT INTO Orders VALUES (15, 1, 1, 1, '" + std::string(300, 'm') + "b')");
  run("INSERT INTO Orders VALUES (16, 1, 1, 1, '" + std::string(300, 'M') + "B')");
  EXPECT_EQ(rows("SELECT Note, Count(*) FROM Orders GROUP BY Note").size(), 5u);  // Null, x, y, ...a, ...b
  EXPECT_EQ(rows("SELECT DISTINCT Note FROM Orders").size(), 5u);
}

TEST_F(Queries, GroupByExpressionsAndHaving) {
  auto odd = rows("SELECT CustID Mod 2 AS odd, Sum(Qty) FROM Orders GROUP BY CustID Mod 2");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0][0], L(0));
  EXPECT_EQ(odd[0][1], D(1));
  EXPECT_EQ(odd[1][1], D(6));
  EXPECT_EQ(column("SELECT CustID FROM Orders GROUP BY CustID HAVING Sum(Qty) > 1"), (Strings{"1"}));
  EXPECT_EQ(column("SELECT CustID, Count(*) AS n FROM Orders GROUP BY CustID ORDER BY Count(*) DESC, CustID"),
            (Strings{"1", "2", "9"}));
  EXPECT_EQ(failure("SELECT OrderID, Count(*) FROM Orders GROUP BY CustID"), ErrorCode::Invalid);
  EXPECT_EQ(scalar("Max(Qty) - Min(Qty) FROM Orders"), L(2));
}

TEST_F(Queries, GroupsAgreeWhetherOrderedOrUsedAsASet) {
  // Enough groups to grow the key table many times; keys differing in case
  // only, Nulls, and text minima kept outside the group records.
  run("CREATE TABLE G (ID LONG, K TEXT(20), S TEXT(20), M CURRENCY)");
  for (int i = 1; i <= 3000; ++i) {
    const std::string key =
        i % 7 == 0 ? "Null" : "'" + std::string(i % 2 ? "k" : "K") + std::to_string(i % 1300) + "'";
    run("INSERT INTO G VALUES (" + std::to_string(i) + ", " + key + ", 's" + std::to_string((i * 37) % 101) +
        "', " + std::to_string(i % 5) + ".25)");
  }
  auto ordered =
      rows("SELECT K, Min(ID), Max(S), Min(S), Count(*), Sum(M), Count(Distinct S) FROM G GROUP BY K");
  ASSERT_EQ(ordered.size(), 1301u);  // 1300 keys and Null
  for (size_t i = 1; i < ordered.size(); ++i) ASSERT_LE(sortCompare(ordered[i - 1][0], ordered[i][0]), 0);
  // The same groups' lowest IDs through an IN list, where the groups' order and keys are not kept.
  std::set<int64_t> lowest;
  for (const Row& r : ordered) lowest.insert(r[1].asInt());
  std::set<int64_t> viaIn;
  for (const Row& r : rows("SELECT ID FROM G WHERE ID IN (SELECT Min(ID) FROM G GROUP BY K, S & '')"))
    viaIn.insert(r[0].asInt());
  std::set<int64_t> byPair;
  for (const Row& r : rows("SELECT Min(ID) FROM G GROUP BY K, S")) byPair.insert(r[0].asInt());
  EXPECT_EQ(viaIn, byPair);
  EXPECT_TRUE(std::includes(byPair.begin(), byPair.end(), lowest.begin(), lowest.end()));
  // A text maximum per group, read back through a correlated subquery.
  for (const Row& r : rows("SELECT K, Max(S) FROM G WHERE K = 'k1' GROUP BY K"))
    EXPECT_EQ(r[1], scalar("Max(S) FROM G WHERE K = 'K1'"));
  EXPECT_EQ(scalar("Count(*) FROM (SELECT K, Count(*) FROM G GROUP BY K)"), L(1301));
  EXPECT_EQ(scalar("Sum(n) FROM (SELECT Count(*) AS n FROM G GROUP BY K)"), D(3000));
}

TEST_F(Queries, OrderByNameAliasExpressionAndPosition) {
  EXPECT_EQ(column("SELECT Name FROM Customers ORDER BY Name DESC"), (Strings{"Cid", "Bob", "Ann"}));
  EXPECT_EQ(column("SELECT Name AS who FROM Customers ORDER BY who DESC"), (Strings{"Cid", "Bob", "Ann"}));
  EXPECT_EQ(column("SELECT Name FROM Customers ORDER BY 1 DESC"), (Strings{"Cid", "Bob", "Ann"}));
  EXPECT_EQ(column("SELECT Name FROM Customers ORDER BY CustID * -1"), (Strings{"Cid", "Bob", "Ann"}));
  EXPECT_EQ(column("SELECT Name, City FROM Customers ORDER BY City, Name", 0),
            (Strings{"Cid", "Ann", "Bob"}));
  EXPECT_EQ(names("SELECT Name FROM Customers ORDER BY CustID"), (Strings{"Name"}));
  EXPECT_EQ(failure("SELECT Name FROM Customers ORDER BY 5"), ErrorCode::Syntax);
  EXPECT_EQ(failure("SELECT DISTINCT Name FROM Customers ORDER BY CustID"), ErrorCode::Invalid);
}

TEST_F(Queries, TopAndTopPercentWithTies) {
  EXPECT_EQ(column("SELECT TOP 2 OrderID FROM Orders ORDER BY OrderID DESC"), (Strings{"13", "12"}));
  // Jet's TOP returns every row tied with the last one.
  EXPECT_EQ(rows("SELECT TOP 1 OrderID FROM Orders ORDER BY Qty").size(), 2u);
  EXPECT_EQ(rows("SELECT TOP 2 OrderID FROM Orders ORDER BY Qty").size(), 2u);
  EXPECT_EQ(rows("SELECT TOP 50 PERCENT OrderID FROM Orders ORDER BY OrderID").size(), 2u);
  EXPECT_EQ(rows("SELECT TOP 1 * FROM Orders").size(), 1u);
}

TEST_F(Queries, DistinctOverATableMatchesDistinctOverAnyInput) {
  // Plain columns of one table take the hashing path; a WHERE clause takes the
  // row-keeping one. Both must pass the same rows in the same order: case,
  // Nulls and long Memo values included.
  run("CREATE TABLE Loose (a TEXT(10), b LONG, m MEMO)");
  std::string longText(400, 'q');
  const char* values[] = {"('x', 1, 'm')",      "('X', 1, 'm')", "(Null, Null, Null)", "('y', 2, 'm')",
                          "(Null, Null, Null)", "('x', 1, 'M')", "('y', 3, 'm')"};
  for (int round = 0; round < 3; ++round)
    for (const char* v : values) run(std::string("INSERT INTO Loose VALUES ") + v);
  run("INSERT INTO Loose VALUES ('z', 9, '" + longText + "')");
  run("INSERT INTO Loose VALUES ('z', 9, '" + longText + "r')");
  run("INSERT INTO Loose VALUES ('Z', 9, '" + longText + "')");
  auto hashed = rows("SELECT DISTINCT * FROM Loose");
  auto kept = rows("SELECT DISTINCT * FROM Loose WHERE True");
  EXPECT_EQ(hashed, kept);
  ASSERT_EQ(hashed.size(), 6u);  // x/X/M alike, the Null row, y 2, y 3, two long memos
  EXPECT_EQ(hashed[0][0], T("x"));
  EXPECT_TRUE(hashed[1][0].isNull());
  EXPECT_EQ(rows("SELECT DISTINCT a FROM Loose"), rows("SELECT DISTINCT a FROM Loose WHERE 1 = 1"));
  EXPECT_EQ(rows("SELECT DISTINCT b, a FROM Loose").size(), 5u);
}

TEST_F(Queries, ColumnsNamedOnlyInsideSubqueriesAreStillRead) {
  // The outer table's columns reached from a correlated subquery, and an
  // aggregate's argument, must be decoded although the select list omits them.
  EXPECT_EQ(column("SELECT Name FROM Customers c WHERE EXISTS (SELECT * FROM Orders o WHERE o.CustID = "
                   "c.CustID AND o.Amount > 5) ORDER BY Name"),
            (Strings{"Ann", "Bob"}));
  EXPECT_EQ(column("SELECT Max(OrderID) FROM Orders GROUP BY CustID HAVING Sum(Qty) > 2"), (Strings{"11"}));
  run("DELETE FROM Orders WHERE OrderID NOT IN (SELECT Min(OrderID) FROM Orders GROUP BY CustID)");
  EXPECT_EQ(column("SELECT OrderID FROM Orders ORDER BY OrderID"), (Strings{"10", "12", "13"}));
}

TEST_F(Queries, DistinctAndUnion) {
  EXPECT_EQ(rows("SELECT DISTINCT CustID FROM Orders").size(), 3u);
  EXPECT_EQ(rows("SELECT DISTINCTROW CustID FROM Orders").size(), 4u);
  EXPECT_EQ(rows("SELECT ALL CustID FROM Orders").size(), 4u);
  EXPECT_EQ(column("SELECT Name FROM Customers WHERE CustID = 1 UNION SELECT 'ann' FROM Orders"),
            (Strings{"Ann"}));
  EXPECT_EQ(rows("SELECT CustID FROM Customers UNION ALL SELECT CustID FROM Orders").size(), 7u);
  EXPECT_EQ(column("SELECT CustID FROM Customers UNION SELECT CustID FROM Orders ORDER BY 1 DESC"),
            (Strings{"9", "3", "2", "1"}));
  EXPECT_EQ(names("SELECT Name AS n FROM Customers UNION SELECT City FROM Customers"), (Strings{"n"}));
  EXPECT_EQ(failure("SELECT Name FROM Customers UNION SELECT Name, City FROM Customers"), ErrorCode::Invalid);
}

TEST_F(Queries, SelectWithoutFromAndExpressionNames) {
  auto r = run("SELECT 1 + 1, 'x' AS y, Name FROM Customers WHERE CustID = 1");
  EXPECT_EQ(r.result.fields[0].name, "Expr1000");
  EXPECT_EQ(r.result.fields[1].name, "y");
  EXPECT_EQ(r.result.fields[2].name, "Name");
  EXPECT_EQ(r.result.fields[2].type, DataType::Text);
  EXPECT_EQ(r.result.fields[2].size, 30);
}

TEST_F(Queries, AmbiguousNamesAreRefused) {
  EXPECT_EQ(failure("SELECT CustID FROM Customers INNER JOIN Orders ON Customers.CustID = Orders.CustID"),
            ErrorCode::Invalid);
}

TEST_F(Queries, StreamHandsOverRowsOneByOne) {
  std::vector<ResultField> fields;
  std::vector<Row> seen;
  session.stream(
      "SELECT Name FROM Customers WHERE CustID > 1", [&](const std::vector<ResultField>& f) { fields = f; },
      [&](const Row& r) { seen.push_back(r); });
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_THROW(session.stream(
                   "DELETE FROM Orders", [](const auto&) {}, [](const Row&) {}),
               Error);
  EXPECT_EQ(count("Orders"), 4);
}

// A store whose table scan counts rows read and refuses to be read twice
// through one cursor, to show that a streamed filter never materialises.
TEST(QueryStreaming, ScanFilterProjectDoesNotBufferTheTable) {
  storage::MemoryStore store;
  storage::TableSchema s;
  s.name = "Many";
  s.columns = {{.name = "n", .type = DataType::Long, .size = 4}};
  store.createTable(s);
  auto t = store.openTable("Many");
  for (int i = 0; i < 1000; ++i) {
    Row r{Value::longInt(i)};
    t->insert(r);
  }
  Session session(store);
  int delivered = 0;
  // Deleting rows ahead of the cursor while streaming: a materialised result
  // would still hand them over, a streaming one cannot see them.
  session.stream(
      "SELECT n FROM Many WHERE n Mod 2 = 0", [](const auto&) {},
      [&](const Row& r) {
        ++delivered;
        if (r[0].asInt() == 10) {
          auto c = t->scan();
          std::vector<storage::RowId> later;
          while (c->next())
            if (c->row()[0].asInt() > 10) later.push_back(c->rowId());
          for (auto id : later) t->remove(id);
        }
      });
  EXPECT_EQ(delivered, 6);  // 0, 2, 4, 6, 8, 10
}

}  // namespace
}  // namespace jet::sql::testing
