// Crosstab queries: TRANSFORM value SELECT row headings ... GROUP BY ...
// PIVOT pivot [IN (...)], as Jet answers them: a column per pivot value
// (or per listed heading), Null where a group has no rows of that value.
#include "SqlFixture.h"
#include "jet/core/Messages.h"
#include "jet/sql/StaticResult.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql::testing {
namespace {

using Strings = std::vector<std::string>;

class Crosstabs : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE Sales (Region TEXT(10), Product TEXT(10), Qty LONG, Sold DATETIME, Yr LONG)");
    run("INSERT INTO Sales VALUES ('East', 'Apple', 3, #2024-10-05#, 2024)");
    run("INSERT INTO Sales VALUES ('East', 'Pear', 2, #2024-09-01#, 2024)");
    run("INSERT INTO Sales VALUES ('East', 'apple', 4, #2024-10-05#, 2025)");
    run("INSERT INTO Sales VALUES ('West', 'Apple', 12, #2024-09-01#, 2025)");
    run("INSERT INTO Sales VALUES ('West', Null, 5, #2024-03-01#, 2024)");
    run("INSERT INTO Sales VALUES ('North', 'Pear', Null, #2024-09-01#, 2023)");
  }
  std::string message(const std::string& sql, ErrorCode expected) {
    std::string text;
    EXPECT_EQ(failure(sql, &text), expected) << sql;
    return text;
  }
};

const Value N = Value();  // Null

TEST_F(Crosstabs, SumsPerPivotValueWithNullsFirstAndNullCells) {
  auto r = run("TRANSFORM Sum(Qty) SELECT Region FROM Sales GROUP BY Region PIVOT Product");
  EXPECT_EQ(names("TRANSFORM Sum(Qty) SELECT Region FROM Sales GROUP BY Region PIVOT Product"),
            (Strings{"Region", "<>", "Apple", "Pear"}));
  EXPECT_EQ(r.result.fields[2].type, DataType::Double);
  // Apple and apple are one value, as GROUP BY has them.
  ASSERT_EQ(r.result.rows.size(), 3u);
  EXPECT_EQ(r.result.rows[0], (Row{T("East"), N, D(7), D(2)}));
  EXPECT_EQ(r.result.rows[1], (Row{T("North"), N, N, N}));  // its one Pear has no quantity
  EXPECT_EQ(r.result.rows[2], (Row{T("West"), D(5), D(12), N}));
}

TEST_F(Crosstabs, CountsAreNullOnlyWhereTheGroupHasNoSuchRow) {
  EXPECT_EQ(
      rows("TRANSFORM Count(Qty) SELECT Region FROM Sales GROUP BY Region PIVOT Product"),
      (std::vector<Row>{{T("East"), N, L(2), L(1)}, {T("North"), N, N, L(0)}, {T("West"), L(1), L(1), N}}));
  EXPECT_EQ(
      rows("TRANSFORM Count(*) AS n SELECT Region FROM Sales WHERE Yr > 2023 GROUP BY Region PIVOT Product"),
      (std::vector<Row>{{T("East"), N, L(2), L(1)}, {T("West"), L(1), L(1), N}}));
  // The value may be any expression over aggregates: an empty cell's aggregates are Null.
  EXPECT_EQ(
      rows("TRANSFORM Nz(Count(*), 0) * 10 SELECT Region FROM Sales WHERE Region <> 'North' GROUP BY Region "
           "PIVOT Product")[1],
      (Row{T("West"), L(10), L(10), L(0)}));
}

TEST_F(Crosstabs, WhereDecidesWhichPivotValuesMakeColumns) {
  EXPECT_EQ(names("TRANSFORM Sum(Qty) SELECT Region FROM Sales WHERE Product Is Not Null And Qty > 2 "
                  "GROUP BY Region PIVOT Product"),
            (Strings{"Region", "Apple"}));
  // No row at all: the row headings alone.
  auto r = run("TRANSFORM Sum(Qty) SELECT Region FROM Sales WHERE Yr > 3000 GROUP BY Region PIVOT Product");
  EXPECT_EQ(r.result.fields.size(), 1u);
  EXPECT_TRUE(r.result.rows.empty());
}

TEST_F(Crosstabs, InListGivesExactlyTheListedColumnsInOrder) {
  auto r =
      run("TRANSFORM Sum(Qty) SELECT Region, Sum(Qty) AS Total, Count(*) AS Sales FROM Sales GROUP BY Region "
          "PIVOT Product IN ('Plum', 'PEAR', Null)");
  std::vector<std::string> n;
  for (const auto& f : r.result.fields) n.push_back(f.name);
  EXPECT_EQ(n, (Strings{"Region", "Total", "Sales", "Plum", "PEAR", "<>"}));
  // Unlisted Apples add to no column but count in the row headings' aggregates.
  EXPECT_EQ(r.result.rows, (std::vector<Row>{{T("East"), D(9), L(3), N, D(2), N},
                                             {T("North"), N, L(1), N, N, N},
                                             {T("West"), D(17), L(2), N, N, D(5)}}));
}

TEST_F(Crosstabs, NumbersAndDatesAsHeadingsInValueOrder) {
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Qty"),
            (Strings{"Region", "<>", "2", "3", "4", "5", "12"}));
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Sold"),
            (Strings{"Region", "2024/3/1", "2024/9/1", "2024/10/5"}));
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Qty > 4"),
            (Strings{"Region", "<>", "True", "False"}));
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Qty / 4"),
            (Strings{"Region", "<>", "0.5", "0.75", "1", "1.25", "3"}));
  // Listed numbers and dates are named by their text and match values of that text.
  auto r = run(
      "TRANSFORM Sum(Qty) SELECT Region FROM Sales GROUP BY Region PIVOT Yr IN (2025, '2024', #2024-10-05#)");
  EXPECT_EQ(r.result.fields[1].name, "2025");
  EXPECT_EQ(r.result.fields[3].name, "2024/10/5");
  EXPECT_EQ(r.result.rows[0], (Row{T("East"), D(4), D(5), N}));
  EXPECT_EQ(
      rows("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Sold IN (#2024-10-05#)")[0],
      (Row{T("East"), L(2)}));
}

TEST_F(Crosstabs, RowsFollowTheGroupUnlessOrderBySaysOtherwise) {
  const char* grouped = "TRANSFORM Count(*) SELECT Yr, Region FROM Sales GROUP BY Yr, Region";
  auto column = [&](const std::string& sql, size_t c) {
    Strings out;
    for (const Row& r : rows(sql)) out.push_back(toText(r[c]));
    return out;
  };
  EXPECT_EQ(column(std::string(grouped) + " PIVOT Product", 1),
            (Strings{"North", "East", "West", "East", "West"}));
  EXPECT_EQ(column(std::string(grouped) + " ORDER BY Region DESC, Yr PIVOT Product", 1),
            (Strings{"West", "West", "North", "East", "East"}));
  // Written after PIVOT too, and by an expression that is no column.
  EXPECT_EQ(column(std::string(grouped) + " PIVOT Product ORDER BY Count(*) DESC, Region, Yr", 0),
            (Strings{"2024", "2025", "2023", "2024", "2025"}));
}

TEST_F(Crosstabs, AHeadingNamedLikeARowHeadingColumnNamesThatColumnByItsTable) {
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT Product FROM Sales GROUP BY Product PIVOT Region IN ('East', "
                  "'product')"),
            (Strings{"Sales.Product", "East", "product"}));
  EXPECT_EQ(names("TRANSFORM Count(*) SELECT s.Region FROM Sales AS s GROUP BY s.Region PIVOT 'Region'"),
            (Strings{"s.Region", "Region"}));
}

TEST_F(Crosstabs, UnknownNamesAreParametersLikeAnywhereElse) {
  EXPECT_EQ(message("TRANSFORM Sum(Qty) SELECT Region FROM Sales WHERE Yr > [Min Year] GROUP BY Region "
                    "PIVOT Product",
                    ErrorCode::NoSuchField),
            msg::tooFewParameters(1, "Min Year"));
  EXPECT_EQ(message("PARAMETERS [Min Year] Long; TRANSFORM Sum(Qty) SELECT Region FROM Sales WHERE Yr > [Min "
                    "Year] GROUP BY Region PIVOT Colour",
                    ErrorCode::NoSuchField),
            msg::tooFewParameters(2, "Min Year"));
  EXPECT_EQ(message("TRANSFORM Sum(Weight) SELECT Region FROM Sales GROUP BY Region PIVOT Product IN (Top1)",
                    ErrorCode::NoSuchField),
            msg::tooFewParameters(2, "Weight"));
}

TEST_F(Crosstabs, EachMistakeHasItsOwnError) {
  const std::string head = "TRANSFORM Sum(Qty) SELECT Region FROM Sales ";
  EXPECT_EQ(message(head + "GROUP BY Region", ErrorCode::Syntax), msg::crosstabWithoutPivot(""));
  EXPECT_EQ(message(head + "GROUP BY Region ORDER BY Region;", ErrorCode::Syntax),
            msg::crosstabWithoutPivot(";"));
  EXPECT_EQ(message(head + "PIVOT Product", ErrorCode::Syntax), msg::crosstabWithoutGroupBy());
  EXPECT_EQ(
      message("TRANSFORM Qty SELECT Region FROM Sales GROUP BY Region PIVOT Product", ErrorCode::Invalid),
      msg::transformNotAggregate("Qty"));
  EXPECT_EQ(message(head + "WHERE Sum(Qty) > 1 GROUP BY Region PIVOT Product", ErrorCode::Invalid),
            msg::aggregateNotAllowed("WHERE", "Sum(Qty) > 1"));
  EXPECT_EQ(message(head + "GROUP BY Region PIVOT Max(Yr)", ErrorCode::Invalid),
            msg::aggregateNotAllowed("PIVOT", "Max(Yr)"));
  EXPECT_EQ(message(head + "GROUP BY Region PIVOT Product IN ('Pear', Max(Yr))", ErrorCode::Invalid),
            msg::aggregateNotAllowed("PIVOT", "Max(Yr)"));
  EXPECT_EQ(message(head + "GROUP BY Region PIVOT Product IN ('Pear', 'pear')", ErrorCode::Invalid),
            msg::repeatedColumnHeading("'pear'"));
  EXPECT_EQ(message(head + "GROUP BY Region PIVOT Product Not In ('Pear')", ErrorCode::Syntax),
            msg::crosstabSyntax("Product Not In ('Pear')"));
  EXPECT_EQ(message("TRANSFORM Sum(Qty) SELECT Region, Product FROM Sales GROUP BY Region PIVOT Yr",
                    ErrorCode::Invalid),
            msg::notInAggregate("Product"));
  EXPECT_EQ(failure("TRANSFORM Sum(Qty) FROM Sales GROUP BY Region PIVOT Yr"), ErrorCode::Syntax);
  EXPECT_EQ(failure(head + "GROUP BY Region PIVOT Yr UNION SELECT Region FROM Sales"), ErrorCode::Syntax);
  // A crosstab makes no table.
  EXPECT_EQ(message("TRANSFORM Sum(Qty) SELECT Region INTO Made FROM Sales GROUP BY Region PIVOT Yr",
                    ErrorCode::Invalid),
            msg::crosstabInto());
  EXPECT_EQ(count("Made"), -1);
}

TEST_F(Crosstabs, NoMoreColumnsThanAQueryMayHave) {
  std::string list;
  for (int i = 1; i <= 254; ++i) list += (i > 1 ? ", " : "") + std::to_string(i);
  EXPECT_EQ(
      names("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Yr IN (" + list + ")").size(),
      255u);
  EXPECT_EQ(
      message("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Yr IN (" + list + ", 255)",
              ErrorCode::Invalid),
      msg::tooManyCrosstabColumns(255));
  for (int i = 0; i < 255; ++i)
    run("INSERT INTO Sales (Region, Qty) VALUES ('South', " + std::to_string(100 + i) + ")");
  EXPECT_EQ(
      message("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Qty", ErrorCode::Invalid),
      msg::tooManyCrosstabColumns(255));
}

TEST_F(Crosstabs, StreamedAndStaticResultsMatchExecute) {
  const std::string sql =
      "TRANSFORM Max(Sold) SELECT Region, Count(*) AS n FROM Sales GROUP BY Region ORDER BY Count(*) DESC, "
      "Region "
      "PIVOT Product";
  ExecResult executed = run(sql);
  ASSERT_EQ(executed.result.rows.size(), 3u);
  EXPECT_EQ(executed.result.fields.size(), 5u);
  EXPECT_EQ(executed.result.fields[3].type, DataType::DateTime);
  std::vector<ResultField> fields;
  std::vector<Row> streamed;
  session.stream(
      sql, [&](const std::vector<ResultField>& f) { fields = f; },
      [&](const Row& r) { streamed.push_back(r); });
  EXPECT_EQ(streamed, executed.result.rows);
  ASSERT_EQ(fields.size(), executed.result.fields.size());
  for (size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].name, executed.result.fields[i].name);
  std::unique_ptr<StaticResult> opened = session.open(sql);
  ASSERT_NE(opened, nullptr);
  ASSERT_EQ(opened->rowCount(), 3u);
  for (uint64_t i = 0; i < 3; ++i) EXPECT_EQ(opened->row(i), executed.result.rows[i]);
}

TEST_F(Crosstabs, ASavedCrosstabIsATable) {
  const std::string sql =
      "TRANSFORM Sum(Qty) AS SumOfQty\nSELECT Sales.Region\nFROM Sales\nGROUP BY Sales.Region\nPIVOT "
      "Sales.Product;";
  store.addQuery("QtyByProduct", sql, storage::ObjectKind::Procedure);
  auto direct = run(sql);
  auto saved = run("SELECT * FROM QtyByProduct");
  EXPECT_EQ(saved.result.rows, direct.result.rows);
  EXPECT_EQ(names("SELECT * FROM QtyByProduct"), (Strings{"Region", "<>", "Apple", "Pear"}));
  EXPECT_EQ(rows("SELECT q.Region FROM QtyByProduct AS q WHERE q.Apple > 10"),
            (std::vector<Row>{{T("West")}}));
  // Read in any order beneath an aggregate, it still gives its groups.
  EXPECT_EQ(rows("SELECT Count(*), Max(Pear) FROM QtyByProduct"), (std::vector<Row>{{L(3), D(2)}}));
  store.addQuery("Broken",
                 "TRANSFORM Sum(Qty) SELECT Region FROM Sales WHERE Avg(Qty) > 1 GROUP BY Region PIVOT Yr",
                 storage::ObjectKind::Procedure);
  EXPECT_EQ(message("SELECT * FROM Broken", ErrorCode::Invalid),
            msg::aggregateNotAllowed("WHERE", "Avg(Qty) > 1"));
}

}  // namespace
}  // namespace jet::sql::testing
