// Results opened as a static cursor opens them: a plain table scan read row
// by row where the rows lie, computed results kept packed (and spilled),
// both against what execute() returns for the same statement.
#include <gtest/gtest.h>

#include <random>

#include "jet/sql/ComputedRows.h"
#include "jet/sql/TableRows.h"
#include "tests/jet/sql/SqlFixture.h"

namespace jet::sql::testing {
namespace {

class StaticResultTest : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE People (ID COUNTER PRIMARY KEY, Name TEXT(40), Town TEXT(20), Notes MEMO, Paid "
        "CURRENCY)");
    // Straight into the table: a statement per row would copy the whole store each time.
    auto table = store.openTable("People");
    for (int i = 0; i < kRows; ++i) {
      Row row = {Value(), Value::text(i % 7 == 0 ? "张三" : "Person" + std::to_string(i)),
                 Value::text(i % 2 ? "北京" : "Wien"),
                 i % 5 == 0 ? Value() : Value::memo("note " + std::string(static_cast<size_t>(i % 300), 'x')),
                 Value::currency(i * 30000)};
      table->insert(row);
    }
  }

  // Every row of `result`, read in order.
  static std::vector<Row> readAll(StaticResult& result) {
    std::vector<Row> out;
    for (uint64_t i = 0; i < result.rowCount(); ++i) out.push_back(result.row(i));
    return out;
  }

  static constexpr int kRows = 300;
};

TEST_F(StaticResultTest, PlainScanReadsEveryRowInOrderAsExecuteDoes) {
  auto result = session.open("select * from [People]");
  ASSERT_NE(dynamic_cast<TableRows*>(result.get()), nullptr);
  const ExecResult eager = run("select * from [People]");
  ASSERT_EQ(result->fields().size(), eager.result.fields.size());
  for (size_t i = 0; i < eager.result.fields.size(); ++i) {
    EXPECT_EQ(result->fields()[i].name, eager.result.fields[i].name);
    EXPECT_EQ(result->fields()[i].type, eager.result.fields[i].type);
    EXPECT_EQ(result->fields()[i].size, eager.result.fields[i].size);
  }
  EXPECT_EQ(result->rowCount(), static_cast<uint64_t>(kRows));
  EXPECT_EQ(readAll(*result), eager.result.rows);
}

TEST_F(StaticResultTest, PlainScanAnswersAnyPositionInAnyOrder) {
  auto result = session.open("SELECT * FROM People");
  const std::vector<Row> eager = rows("SELECT * FROM People");
  std::mt19937 random(7);
  for (int n = 0; n < 2000; ++n) {
    const uint64_t p = random() % kRows;
    ASSERT_EQ(result->row(p), eager[p]) << p;
  }
  // Backwards across every block boundary.
  for (uint64_t p = kRows; p-- > 0;) ASSERT_EQ(result->row(p), eager[p]) << p;
}

TEST_F(StaticResultTest, PositionPastTheEndIsAnErrorNotARow) {
  auto result = session.open("select * from People");
  EXPECT_THROW(result->row(kRows), Error);
  auto empty = session.open("select * from People where ID < 0");
  EXPECT_EQ(empty->rowCount(), 0u);
  EXPECT_THROW(empty->row(0), Error);
}

TEST_F(StaticResultTest, ComputedResultsMatchExecute) {
  for (const char* sql : {"select Town, Count(*), Sum(Paid) from People group by Town",
                          "select * from People order by Name desc, ID", "select distinct Name from People",
                          "select top 17 * from People", "select * from People where Paid > 300",
                          "select Name & '/' & Town, Notes from People"}) {
    auto result = session.open(sql);
    ASSERT_NE(result, nullptr) << sql;
    EXPECT_EQ(dynamic_cast<TableRows*>(result.get()), nullptr) << sql;
    EXPECT_EQ(readAll(*result), rows(sql)) << sql;
  }
}

TEST_F(StaticResultTest, ComputedRowsPastTheBudgetSpillAndReadBack) {
  session.setResultMemoryBudget(4096);
  const std::string sql = "select * from People order by Paid desc";
  auto result = session.open(sql);
  auto* computed = dynamic_cast<ComputedRows*>(result.get());
  ASSERT_NE(computed, nullptr);
  EXPECT_TRUE(computed->spilled());
  const std::vector<Row> eager = rows(sql);
  EXPECT_EQ(readAll(*result), eager);
  std::mt19937 random(11);
  for (int n = 0; n < 1000; ++n) {
    const uint64_t p = random() % kRows;
    ASSERT_EQ(result->row(p), eager[p]) << p;
  }
}

TEST_F(StaticResultTest, ComputedRowsKeepEveryKindOfValue) {
  std::vector<ResultField> fields(9);
  ComputedRows rowsKept(fields, 64);
  Decimal d;
  d.magnitude = 12345;
  d.precision = 10;
  d.scale = 2;
  d.negative = true;
  Guid g;
  for (size_t i = 0; i < g.bytes.size(); ++i) g.bytes[i] = static_cast<uint8_t>(i * 17);
  const Row row = {Value(),
                   Value::boolean(true),
                   Value::single(1.5f),
                   Value::dateTime(45000.25),
                   Value::text("汉字 text"),
                   Value::memo(std::string(5000, 'm')),
                   Value::longBinary(Bytes{1, 2, 3}),
                   Value::decimal(d),
                   Value::guid(g)};
  for (int i = 0; i < 50; ++i) rowsKept.append(row);
  EXPECT_TRUE(rowsKept.spilled());
  for (uint64_t p = 0; p < 50; ++p) ASSERT_EQ(rowsKept.row(p), row) << p;
  EXPECT_THROW(rowsKept.append(Row{Value()}), Error);
}

TEST_F(StaticResultTest, ChangesFromThisProgramAreSeenBeforeTheNextRow) {
  auto result = session.open("select * from People");
  EXPECT_EQ(result->row(5), rows("select * from People")[5]);  // decoded and cached
  run("DELETE FROM People WHERE ID <= 10");
  run("UPDATE People SET Name = 'changed' WHERE ID = 20");
  const std::vector<Row> now = rows("select * from People");
  ASSERT_EQ(result->rowCount(), now.size());
  EXPECT_EQ(readAll(*result), now);
  run("INSERT INTO People (Name) VALUES ('late')");
  EXPECT_EQ(result->rowCount(), now.size() + 1);
  EXPECT_EQ(result->row(now.size()).at(1), Value::text("late"));
}

TEST_F(StaticResultTest, RolledBackChangesAreSeenToo) {
  auto result = session.open("select * from People");
  run("BEGIN TRANSACTION");
  run("DELETE FROM People WHERE ID > 100");
  EXPECT_EQ(result->rowCount(), 100u);
  run("ROLLBACK");
  EXPECT_EQ(readAll(*result), rows("select * from People"));
}

TEST_F(StaticResultTest, DroppedOrReshapedTableHasNoRows) {
  auto dropped = session.open("select * from People");
  auto reshaped = session.open("select * from People");
  run("ALTER TABLE People ADD COLUMN Extra LONG");
  EXPECT_EQ(reshaped->rowCount(), 0u);
  EXPECT_THROW(reshaped->row(0), Error);
  run("DROP TABLE People");
  EXPECT_EQ(dropped->rowCount(), 0u);
}

TEST_F(StaticResultTest, CellEditGoesIntoTheRowAtThatPosition) {
  auto result = session.open("select * from People");
  auto& table = dynamic_cast<TableRows&>(*result);
  const Row before = result->row(42);
  table.updateCell(42, 2, Value::text("上海"));
  Row expected = before;
  expected[2] = Value::text("上海");
  EXPECT_EQ(result->row(42), expected);
  EXPECT_EQ(rows("select * from People where ID = " + std::to_string(before[0].asInt())).at(0), expected);
  // Every other row is as it was.
  const std::vector<Row> now = rows("select * from People");
  EXPECT_EQ(readAll(*result), now);
}

TEST_F(StaticResultTest, CellEditAfterAChangeUnderneathIsRefusedAndRowsAreReadAgain) {
  auto result = session.open("select * from People");
  auto& table = dynamic_cast<TableRows&>(*result);
  const Row shown = result->row(0);
  run("DELETE FROM People WHERE ID = " + std::to_string(shown[0].asInt()));
  EXPECT_THROW(table.updateCell(0, 1, Value::text("x")), Error);
  // Nothing was written, and position 0 is the table's first row now.
  EXPECT_EQ(scalar("Count(*) FROM People WHERE Name = 'x'"), Value::longInt(0));
  EXPECT_EQ(result->row(0), rows("select * from People").at(0));
  // Now the user has seen the rows as they are: the edit goes through.
  table.updateCell(0, 1, Value::text("x"));
  EXPECT_EQ(scalar("Count(*) FROM People WHERE Name = 'x'"), Value::longInt(1));
}

TEST_F(StaticResultTest, RefusedCellEditChangesNothing) {
  run("CREATE UNIQUE INDEX ByPaid ON People (Paid)");
  auto result = session.open("select * from People");
  auto& table = dynamic_cast<TableRows&>(*result);
  const std::vector<Row> before = readAll(*result);
  // Row 1 takes row 3's amount: the unique index refuses.
  EXPECT_THROW(table.updateCell(1, 4, before[3][4]), Error);
  EXPECT_THROW(table.updateCell(kRows, 1, Value::text("y")), Error);
  EXPECT_EQ(readAll(*result), before);
  EXPECT_EQ(rows("select * from People"), before);
}

TEST_F(StaticResultTest, StatementWithoutRowsRunsAndOpensNothing) {
  EXPECT_EQ(session.open("DELETE FROM People WHERE ID = 1"), nullptr);
  EXPECT_EQ(scalar("Count(*) FROM People"), Value::longInt(kRows - 1));
  EXPECT_EQ(session.open("SELECT * INTO Copy FROM People"), nullptr);
  EXPECT_EQ(scalar("Count(*) FROM Copy"), Value::longInt(kRows - 1));
}

}  // namespace
}  // namespace jet::sql::testing
