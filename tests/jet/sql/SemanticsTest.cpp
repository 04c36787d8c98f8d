// Further Jet behaviours across the layers: typed columns in criteria,
// subqueries in odd places, outer joins with WHERE, union typing.
#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

class Semantics : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE Items (ID COUNTER PRIMARY KEY, Title TEXT(40), Price CURRENCY, Added DATETIME, "
        "Active BIT, Code GUID, Blob LONGBINARY, Ratio DECIMAL(10, 2))");
    run("INSERT INTO Items (Title, Price, Added, Active, Code, Ratio) VALUES ('Pen', 1.25, #2013-03-14#, "
        "True, "
        "'{11111111-2222-3333-4444-555555555555}', 0.5)");
    run("INSERT INTO Items (Title, Price, Added, Active, Ratio) VALUES ('pen', 1.25, #2013-03-15 10:00#, "
        "False, "
        "1.25)");
    run("INSERT INTO Items (Title, Price, Added, Active) VALUES ('Ink', 20, #2012-01-01#, True)");
  }
};

TEST_F(Semantics, TypedColumnsInCriteria) {
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Active = True").size(), 2u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Active").size(), 2u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Not Active").size(), 1u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Added >= #2013-03-14#").size(), 2u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Added Between #2013-01-01# And #2013-03-14 23:59#").size(), 1u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Year(Added) = 2013 And Month(Added) = 3").size(), 2u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Price > 1.2 And Price < 1.3").size(), 2u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Code = '{11111111-2222-3333-4444-555555555555}'").size(), 1u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Ratio > 1").size(), 1u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Blob Is Null").size(), 3u);
  EXPECT_EQ(rows("SELECT ID FROM Items WHERE Added = '2012-01-01'").size(), 1u);
}

TEST_F(Semantics, GroupingTypedKeys) {
  EXPECT_EQ(rows("SELECT Title, Price, Count(*) FROM Items GROUP BY Title, Price HAVING Count(*) > 1").size(),
            1u);
  EXPECT_EQ(rows("SELECT Active, Count(*) FROM Items GROUP BY Active").size(), 2u);
  EXPECT_EQ(rows("SELECT DISTINCT Code FROM Items").size(), 2u);
  EXPECT_EQ(rows("SELECT DISTINCT DateValue(Added) FROM Items").size(), 3u);
  auto r = run("SELECT Sum(Price), Avg(Price), Max(Added), Min(Title) FROM Items");
  EXPECT_EQ(r.result.rows[0][0], Value::currency(225000));
  EXPECT_EQ(r.result.fields[1].type, DataType::Currency);
  EXPECT_EQ(r.result.rows[0][1], Value::currency(75000));
  EXPECT_EQ(r.result.fields[2].type, DataType::DateTime);
  EXPECT_EQ(r.result.rows[0][3], T("Ink"));
}

TEST_F(Semantics, SubqueriesInTheSelectListAndHaving) {
  auto r = rows(
      "SELECT Title, (SELECT Count(*) FROM Items AS i WHERE i.Title = Items.Title) AS same FROM Items "
      "ORDER BY ID");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0][1], L(2));
  EXPECT_EQ(r[2][1], L(1));
  auto g = rows(
      "SELECT Title, Count(*) FROM Items GROUP BY Title HAVING Count(*) = (SELECT Count(*) FROM Items "
      "WHERE Price > 10)");
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0][0], T("Ink"));
  auto c = rows(
      "SELECT Title FROM Items GROUP BY Title HAVING Exists (SELECT * FROM Items AS i WHERE i.Title = "
      "Items.Title AND i.Price > 10)");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(scalar("(SELECT Max(ID) FROM Items) + 1"), L(4));
}

TEST_F(Semantics, InSubqueryOverSavedQueryAndDerivedTables) {
  store.addQuery("Cheap", "SELECT ID FROM Items WHERE Price < 10");
  EXPECT_EQ(rows("SELECT Title FROM Items WHERE ID In (SELECT ID FROM Cheap)").size(), 2u);
  EXPECT_EQ(rows("SELECT * FROM (SELECT * FROM (SELECT Title FROM Items) AS a) AS b").size(), 3u);
  EXPECT_EQ(names("SELECT * FROM (SELECT Title AS t, Price * 2 FROM Items)"),
            (std::vector<std::string>{"t", "Expr1001"}));
}

TEST_F(Semantics, WhereAfterLeftJoinFiltersTheJoinedRows) {
  run("CREATE TABLE Sales (ItemID LONG, Qty LONG)");
  run("INSERT INTO Sales VALUES (1, 5)");
  run("INSERT INTO Sales VALUES (1, 7)");
  // Unsold items: the classic LEFT JOIN ... WHERE right Is Null.
  auto unsold = rows(
      "SELECT Items.ID FROM Items LEFT JOIN Sales ON Items.ID = Sales.ItemID WHERE Sales.ItemID "
      "Is Null ORDER BY Items.ID");
  ASSERT_EQ(unsold.size(), 2u);
  EXPECT_EQ(unsold[0][0], L(2));
  auto sums = rows(
      "SELECT Items.Title, Sum(Sales.Qty) FROM Items LEFT JOIN Sales ON Items.ID = Sales.ItemID "
      "GROUP BY Items.ID, Items.Title ORDER BY Items.ID");
  ASSERT_EQ(sums.size(), 3u);
  EXPECT_EQ(sums[0][1], D(12));
  EXPECT_TRUE(sums[1][1].isNull());
  // A join condition that is not an equality still works (without a hash key).
  EXPECT_EQ(rows("SELECT Items.ID FROM Items INNER JOIN Sales ON Sales.Qty > Items.ID").size(), 6u);
}

TEST_F(Semantics, UnionWidensTypes) {
  auto r = run("SELECT ID FROM Items UNION ALL SELECT Price FROM Items");
  EXPECT_EQ(r.result.fields[0].type, DataType::Double);
  EXPECT_EQ(r.result.rows.size(), 6u);
  auto t = run("SELECT Title FROM Items UNION SELECT ID FROM Items");
  EXPECT_EQ(t.result.fields[0].type, DataType::Text);
  EXPECT_EQ(t.result.rows.size(), 5u);  // Pen/pen are one
}

TEST_F(Semantics, InsertWithColumnListAndUpdateOfRequiredField) {
  run("CREATE TABLE Req (a LONG NOT NULL, b TEXT(5))");
  EXPECT_EQ(run("INSERT INTO Req (b, a) SELECT Left(Title, 3), ID FROM Items").rowsAffected, 3);
  EXPECT_EQ(failure("UPDATE Req SET a = Null WHERE a = 1"), ErrorCode::NullInRequired);
  EXPECT_EQ(rows("SELECT a FROM Req WHERE a = 1").size(), 1u);
  EXPECT_EQ(run("UPDATE Req SET b = b & 'xx' WHERE a > 1").rowsAffected, 2);
  EXPECT_EQ(failure("UPDATE Req SET b = b & 'xxxx'"), ErrorCode::Invalid);  // longer than TEXT(5)
  EXPECT_EQ(rows("SELECT b FROM Req WHERE b = 'Penxx'").size(), 1u);
}

TEST_F(Semantics, StreamReportsErrorsBeforeAnyRow) {
  int fieldsCalls = 0;
  EXPECT_THROW(session.stream(
                   "SELECT Nope FROM Items", [&](const auto&) { ++fieldsCalls; }, [](const Row&) {}),
               Error);
  EXPECT_EQ(fieldsCalls, 0);
  EXPECT_THROW(session.stream(
                   "SELECT * INTO X FROM Items", [](const auto&) {}, [](const Row&) {}),
               Error);
  EXPECT_EQ(count("X"), -1);
  std::vector<std::string> order;
  session.stream(
      "SELECT Title FROM Items ORDER BY Price DESC, ID", [](const auto&) {},
      [&](const Row& r) { order.push_back(r[0].asText()); });
  EXPECT_EQ(order, (std::vector<std::string>{"Ink", "Pen", "pen"}));
}

TEST_F(Semantics, TextFormatPatterns) {
  EXPECT_EQ(scalar("Format('abc', '@@@@@')"), T("  abc"));
  EXPECT_EQ(scalar("Format('abcdef', '@@@')"), T("abcdef"));
  EXPECT_EQ(scalar("Format('ABC', '<')"), T("abc"));
  EXPECT_EQ(scalar("Format(Price, 'Currency') FROM Items WHERE ID = 3"), T("¥20.00"));
  EXPECT_EQ(scalar("Format(Added, 'yyyy年m月d日') FROM Items WHERE ID = 1"), T("2013年3月14日"));
}

}  // namespace
}  // namespace jet::sql::testing
