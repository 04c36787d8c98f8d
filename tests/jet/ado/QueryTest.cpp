// The grid's query on a Jet file: a whole table opened without reading its
// rows, every row the same as the statement's eager result, edits written
// into the row shown, and rows read again when the file changes underneath
// (through this connection or another one).
#include "jet/ado/Query.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"

namespace jet::ado {
namespace {

namespace fs = std::filesystem;

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir = fs::temp_directory_path() / ("qm-query-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(dir);
    path = (dir / "rows.mdb").string();
    {
      auto db = storage::JetDatabase::create(path);
      sql::Session s(*db);
      s.execute(
          "CREATE TABLE [Big Table] (ID COUNTER PRIMARY KEY, Name TEXT(50), City TEXT(20), Notes MEMO, N "
          "LONG)");
      std::vector<Row> rows;
      for (int i = 0; i < kRows; ++i) {
        // Every tenth memo is long enough to live on pages of its own.
        const std::string notes = i % 10 == 0 ? std::string(300 + i % 50, 'n') : "备注 " + std::to_string(i);
        rows.push_back({Value(), Value::text("名字" + std::to_string(i)),
                        Value::text(i % 3 ? "上海" : "Köln"), Value::memo(notes), Value::longInt(i)});
      }
      db->begin();
      db->openTable("Big Table")->insertRows(rows);
      db->commit();
    }
    connection.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
  }
  void TearDown() override {
    connection.close();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  std::vector<Row> eager(const std::string& sql) { return connection.session().execute(sql).result.rows; }
  std::vector<Row> readAll(const Query& q) {
    std::vector<Row> out;
    for (int64_t i = 0; i < q.recordCount(); ++i) out.push_back(q.row(static_cast<size_t>(i)));
    return out;
  }

  static constexpr int kRows = 600;
  fs::path dir;
  std::string path;
  Connection connection;
  Query grid{connection};
  Query statement{connection};
};

TEST_F(QueryTest, WholeTableReadsAsTheEagerResultDoes) {
  grid.setSql("Select * from [Big Table]");
  grid.open();
  ASSERT_EQ(grid.recordCount(), kRows);
  ASSERT_EQ(grid.fields().size(), 5u);
  EXPECT_EQ(grid.fields()[3].name, "Notes");
  EXPECT_EQ(grid.fields()[3].type, DataType::Memo);
  const std::vector<Row> expected = eager("Select * from [Big Table]");
  EXPECT_EQ(readAll(grid), expected);
  std::mt19937 random(3);
  for (int n = 0; n < 3000; ++n) {
    const size_t p = random() % kRows;
    ASSERT_EQ(grid.row(p), expected[p]) << p;
  }
  EXPECT_THROW(grid.row(kRows), Error);
  grid.close();
  EXPECT_THROW(grid.row(0), Error);
  EXPECT_THROW(grid.recordCount(), Error);
}

TEST_F(QueryTest, ComputedResultsStillOpen) {
  grid.setSql("Select City, Count(*) From [Big Table] Group By City Having Count(*) > 1");
  grid.open();
  EXPECT_EQ(readAll(grid), eager("Select City, Count(*) From [Big Table] Group By City Having Count(*) > 1"));
  EXPECT_THROW(grid.updateCell(0, 0, Value::text("x")), Error);
  grid.setSql("delete from [Big Table] where N = 1");
  EXPECT_THROW(grid.open(), Error);
  EXPECT_FALSE(grid.active());
}

TEST_F(QueryTest, ACrosstabOpensInTheGrid) {
  const std::string sql = "TRANSFORM Count(*) SELECT City FROM [Big Table] GROUP BY City PIVOT N Mod 3";
  grid.setSql(sql);
  grid.open();
  ASSERT_EQ(grid.fields().size(), 4u);
  EXPECT_EQ(grid.fields()[1].name, "0");
  EXPECT_EQ(grid.fields()[3].name, "2");
  ASSERT_EQ(grid.recordCount(), 2);
  EXPECT_EQ(readAll(grid), eager(sql));
  // Köln's rows all have N Mod 3 = 0: its other cells are empty.
  EXPECT_EQ(grid.row(0), (Row{Value::text("Köln"), Value::longInt(kRows / 3), Value(), Value()}));
}

TEST_F(QueryTest, DeleteOnTheOtherQueryIsSeenByTheGrid) {
  grid.setSql("Select * from [Big Table]");
  grid.open();
  EXPECT_EQ(grid.row(kRows - 1).at(4), Value::longInt(kRows - 1));
  statement.setSql("Delete from [Big Table] Where N >= 500 Or N < 10");
  EXPECT_EQ(statement.execSql(), 110);
  EXPECT_EQ(grid.recordCount(), kRows - 110);
  EXPECT_EQ(readAll(grid), eager("Select * from [Big Table]"));
  EXPECT_THROW(grid.row(kRows - 1), Error);
}

TEST_F(QueryTest, CellEditIsWrittenIntoTheRowShown) {
  grid.setSql("Select * from [Big Table]");
  grid.open();
  const Row before = grid.row(450);
  grid.updateCell(450, 3, Value::memo(std::string(2000, 'L')));  // now a long value of its own
  grid.updateCell(450, 1, Value::text("改过"));
  Row expected = before;
  expected[1] = Value::text("改过");
  expected[3] = Value::memo(std::string(2000, 'L'));
  EXPECT_EQ(grid.row(450), expected);
  EXPECT_EQ(readAll(grid), eager("Select * from [Big Table]"));
  connection.close();
  connection.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
  EXPECT_EQ(eager("Select * from [Big Table] Where ID = " + std::to_string(before[0].asInt())).at(0),
            expected);
}

TEST_F(QueryTest, ChangeByAnotherConnectionIsReadAgain) {
  Connection viewer;
  viewer.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Mode=Read");
  Query view(viewer);
  view.setSql("Select * from [Big Table]");
  view.open();
  ASSERT_EQ(view.row(5).at(4), Value::longInt(5));
  statement.setSql("Delete from [Big Table] Where N < 100");
  statement.execSql();
  statement.setSql("Update [Big Table] Set Name = 'new' Where N = 200");
  statement.execSql();
  connection.close();  // the writer lets go of the file
  EXPECT_EQ(view.recordCount(), kRows - 100);
  EXPECT_EQ(view.row(0).at(4), Value::longInt(100));
  EXPECT_EQ(view.row(100).at(1), Value::text("new"));
  // The viewer cannot write; its refusal leaves the rows as they are.
  EXPECT_THROW(view.updateCell(0, 1, Value::text("x")), Error);
  EXPECT_EQ(view.row(0).at(1), Value::text("名字100"));
}

TEST_F(QueryTest, ClosingTheConnectionClosesTheGrid) {
  grid.setSql("Select * from [Big Table]");
  grid.open();
  connection.close();
  EXPECT_FALSE(grid.active());
  EXPECT_THROW(grid.row(0), Error);
}

}  // namespace
}  // namespace jet::ado
