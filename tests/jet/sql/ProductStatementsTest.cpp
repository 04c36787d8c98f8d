// The statements the duplicate tools send, exactly as they build them.
#include <chrono>

#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

class ProductStatements : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE [Contacts] (ID COUNTER PRIMARY KEY, name TEXT(50), phone TEXT(20), note MEMO)");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (3, 'Ann', '111')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (7, 'ann', '111')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (9, 'Ann', '111')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (10, 'Bob', '222')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (11, 'Bob', '333')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (12, Null, '444')");
    run("INSERT INTO Contacts (ID, name, phone) VALUES (13, Null, '444')");
  }
  std::vector<int64_t> ids() {
    std::vector<int64_t> out;
    for (const Row& r : rows("Select ID From [Contacts] Order By ID")) out.push_back(r[0].asInt());
    return out;
  }
};

TEST_F(ProductStatements, ReportOnOneKeyFieldCountsGroupsCaseInsensitively) {
  auto r = run("Select name,Count(*) From [Contacts] Group By name Having Count(*) > 1");
  ASSERT_TRUE(r.returnsRows);
  ASSERT_EQ(r.result.fields.size(), 2u);
  EXPECT_EQ(r.result.fields[0].name, "name");
  EXPECT_EQ(r.result.fields[1].name, "Expr1001");
  EXPECT_EQ(r.result.fields[1].type, DataType::Long);
  // Groups come in key order, Nulls first; "Ann" and "ann" are one group.
  ASSERT_EQ(r.result.rows.size(), 3u);
  EXPECT_TRUE(r.result.rows[0][0].isNull());
  EXPECT_EQ(r.result.rows[0][1], L(2));
  EXPECT_EQ(r.result.rows[1][1], L(3));
  EXPECT_EQ(r.result.rows[2][0], T("Bob"));
  EXPECT_EQ(r.result.rows[2][1], L(2));
}

TEST_F(ProductStatements, ReportOnSeveralKeyFieldsNamesTheCountExpr1002) {
  auto r = run("Select name,phone,Count(*) From [Contacts] Group By name,phone Having Count(*) > 1");
  ASSERT_EQ(r.result.fields.size(), 3u);
  EXPECT_EQ(r.result.fields[0].name, "name");
  EXPECT_EQ(r.result.fields[1].name, "phone");
  EXPECT_EQ(r.result.fields[2].name, "Expr1002");
  ASSERT_EQ(r.result.rows.size(), 2u);  // (Null,444) x2 and (Ann,111) x3; Bob differs in phone
  EXPECT_EQ(r.result.rows[0][2], L(2));
  EXPECT_EQ(r.result.rows[1][0].asText(), "Ann");
  EXPECT_EQ(r.result.rows[1][2], L(3));
}

TEST_F(ProductStatements, ReportWhenAllKeysDifferIsEmpty) {
  auto r = run("Select ID,Count(*) From [Contacts] Group By ID Having Count(*) > 1");
  EXPECT_TRUE(r.returnsRows);
  EXPECT_TRUE(r.result.rows.empty());
  EXPECT_EQ(r.result.fields.size(), 2u);
}

TEST_F(ProductStatements, KeepLowestLeavesIdThreeAndTheUniqueKeys) {
  auto r = run("Delete from [Contacts] Where ID Not In (Select min(ID) From [Contacts] Group By name,phone)");
  EXPECT_FALSE(r.returnsRows);
  EXPECT_EQ(r.rowsAffected, 3);
  EXPECT_EQ(ids(), (std::vector<int64_t>{3, 10, 11, 12}));
}

TEST_F(ProductStatements, KeepHighestLeavesIdNine) {
  auto r = run("delete from [Contacts] where ID not in (select max(ID) from [Contacts] group by name,phone)");
  EXPECT_EQ(r.rowsAffected, 3);
  EXPECT_EQ(ids(), (std::vector<int64_t>{9, 10, 11, 13}));
}

TEST_F(ProductStatements, RemovalWithoutDuplicatesDeletesNothing) {
  EXPECT_EQ(
      run("Delete from [Contacts] Where ID Not In (Select min(ID) From [Contacts] Group By ID)").rowsAffected,
      0);
  EXPECT_EQ(count("Contacts"), 7);
}

TEST_F(ProductStatements, MisspeltKeyFieldIsTooFewParameters) {
  std::string message;
  EXPECT_EQ(failure("Select nmae,Count(*) From [Contacts] Group By nmae Having Count(*) > 1", &message),
            ErrorCode::NoSuchField);
  EXPECT_NE(message.find("nmae"), std::string::npos);
  EXPECT_NE(message.find("1"), std::string::npos);
  EXPECT_EQ(failure("Delete from [Contacts] Where ID Not In (Select min(ID) From [Contacts] Group By nmae)"),
            ErrorCode::NoSuchField);
  EXPECT_EQ(count("Contacts"), 7);
}

TEST_F(ProductStatements, KeylessRebuildKeepsOneOfEachIdenticalRow) {
  run("CREATE TABLE [Plain] (n LONG, s TEXT(10), m MEMO)");
  run("INSERT INTO Plain VALUES (1, 'a', 'long text')");
  run("INSERT INTO Plain VALUES (1, 'a', 'long text')");
  run("INSERT INTO Plain VALUES (2, 'b', Null)");
  run("INSERT INTO Plain VALUES (2, 'b', 'other')");
  EXPECT_EQ(run("select * INTO [Plain_new] from (select distinct * from [Plain])").rowsAffected, 3);
  run("Drop table [Plain]");
  EXPECT_EQ(count("Plain"), -1);
  EXPECT_EQ(run("select * INTO [Plain] from (select distinct * from [Plain_new])").rowsAffected, 3);
  run("Drop table [Plain_new]");
  EXPECT_EQ(count("Plain_new"), -1);
  auto t = store.openTable("Plain");
  ASSERT_TRUE(t);
  const auto& cols = t->schema().columns;
  ASSERT_EQ(cols.size(), 3u);
  EXPECT_EQ(cols[0].type, DataType::Long);
  EXPECT_EQ(cols[1].type, DataType::Text);
  EXPECT_EQ(cols[1].size, 10);
  EXPECT_EQ(cols[2].type, DataType::Memo);  // long text stays Memo
  EXPECT_TRUE(t->schema().indexes.empty());
  EXPECT_EQ(rows("select * from Plain where n = 1").size(), 1u);
  EXPECT_EQ(rows("select * from Plain where n = 2").size(), 2u);
}

TEST_F(ProductStatements, KeylessRebuildFailsWhenTheSideTableExists) {
  run("CREATE TABLE [Contacts_new] (x LONG)");
  EXPECT_EQ(failure("select * INTO [Contacts_new] from (select distinct * from [Contacts])"),
            ErrorCode::TableExists);
  EXPECT_EQ(count("Contacts_new"), 0);
}

TEST_F(ProductStatements, SelectIntoDropsAutoNumberAndIndexes) {
  run("SELECT * into [Contacts_Bak] FROM [Contacts]");
  auto t = store.openTable("Contacts_Bak");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->rowCount(), 7u);
  EXPECT_FALSE(t->schema().columns[0].autoNumber);
  EXPECT_TRUE(t->schema().indexes.empty());
  EXPECT_EQ(t->schema().columns[1].size, 50);
}

TEST_F(ProductStatements, BackupTwiceFailsTheSecondTime) {
  EXPECT_EQ(run("SELECT * into [Contacts_Bak] FROM [Contacts]").rowsAffected, 7);
  std::string message;
  EXPECT_EQ(failure("SELECT * into [Contacts_Bak] FROM [Contacts]", &message), ErrorCode::TableExists);
  EXPECT_NE(message.find("Contacts_Bak"), std::string::npos);
  EXPECT_EQ(count("Contacts_Bak"), 7);
}

TEST_F(ProductStatements, BackupOfEmptyTableNameFails) {
  EXPECT_EQ(failure("SELECT * into [_Bak] FROM []"), ErrorCode::Syntax);
  EXPECT_EQ(count("_Bak"), -1);
}

TEST_F(ProductStatements, ConsoleInitialTextFails) {
  EXPECT_EQ(failure("Select * From []"), ErrorCode::Syntax);
}

TEST_F(ProductStatements, ConsoleTextOfSpacesIsRejected) {
  EXPECT_EQ(failure("   "), ErrorCode::Syntax);
  EXPECT_EQ(failure(" \r\n "), ErrorCode::Syntax);
}

TEST_F(ProductStatements, GridStatementOverMissingTableNamesIt) {
  std::string message;
  EXPECT_EQ(failure("Select * from [Contact]", &message), ErrorCode::NoSuchTable);
  EXPECT_NE(message.find("'Contact'"), std::string::npos);
}

TEST_F(ProductStatements, DropTableStatement) {
  run("drop table [Contacts]");
  EXPECT_EQ(count("Contacts"), -1);
  EXPECT_EQ(failure("drop table [Contacts]"), ErrorCode::NoSuchTable);
}

TEST_F(ProductStatements, GridReloadOfAViewWorks) {
  store.addQuery("Anns", "SELECT ID, name FROM Contacts WHERE name = 'ann'");
  auto r = run("Select * from [Anns]");
  ASSERT_EQ(r.result.fields.size(), 2u);
  EXPECT_EQ(r.result.rows.size(), 3u);
}

TEST_F(ProductStatements, ChineseNamesWorkWithoutBrackets) {
  run("CREATE TABLE [客户 表] (编号 COUNTER, 姓名 TEXT(20), 电话 TEXT(20))");
  run("INSERT INTO [客户 表] (姓名, 电话) VALUES ('张三', '1')");
  run("INSERT INTO [客户 表] (姓名, 电话) VALUES ('张三', '1')");
  run("INSERT INTO [客户 表] (姓名, 电话) VALUES ('李四', '2')");
  auto r = run("Select 姓名,电话,Count(*) From [客户 表] Group By 姓名,电话 Having Count(*) > 1");
  ASSERT_EQ(r.result.rows.size(), 1u);
  EXPECT_EQ(r.result.fields[0].name, "姓名");
  EXPECT_EQ(r.result.rows[0][0], T("张三"));
  EXPECT_EQ(
      run("Delete from [客户 表] Where 编号 Not In (Select min(编号) From [客户 表] Group By 姓名,电话)")
          .rowsAffected,
      1);
  EXPECT_EQ(count("客户 表"), 2);
}

TEST_F(ProductStatements, SavedQueryTextAsAccessWritesIt) {
  store.addQuery("Owners", "SELECT DISTINCTROW Contacts.* FROM Contacts WITH OWNERACCESS OPTION;");
  EXPECT_EQ(rows("Select * from [Owners]").size(), 7u);
}

// Keep-lowest over 200,000 rows: a quadratic plan would run for hours; the
// hash anti-join finishes in seconds even under the sanitizers.
TEST(ProductStatementsScale, KeepLowestOnTwoHundredThousandRowsIsLinear) {
  storage::MemoryStore store;
  storage::TableSchema s;
  s.name = "Big";
  s.columns = {{.name = "ID", .type = DataType::Long, .size = 4},
               {.name = "a", .type = DataType::Text, .size = 20},
               {.name = "b", .type = DataType::Long, .size = 4}};
  store.createTable(s);
  auto t = store.openTable("Big");
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    Row r{Value::longInt(i + 1), Value::text("k" + std::to_string(i % 50000)), Value::longInt(7)};
    t->insert(r);
  }
  Session session(store);
  auto start = std::chrono::steady_clock::now();
  auto r = session.execute("Delete from [Big] Where ID Not In (Select min(ID) From [Big] Group By a,b)");
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.rowsAffected, n - 50000);
  EXPECT_EQ(store.openTable("Big")->rowCount(), 50000u);
  auto left = session.execute("Select min(ID), max(ID) From [Big]").result.rows;
  EXPECT_EQ(left[0][0], Value::longInt(1));
  EXPECT_EQ(left[0][1], Value::longInt(50000));
  RecordProperty("seconds", std::to_string(seconds));
}

// The same removal written with a correlated NOT EXISTS (as users type it in
// the console): the equalities hash, the ID comparison runs per bucket.
TEST(ProductStatementsScale, KeepLowestWithNotExistsIsLinear) {
  storage::MemoryStore store;
  storage::TableSchema s;
  s.name = "Big";
  s.columns = {{.name = "ID", .type = DataType::Long, .size = 4},
               {.name = "a", .type = DataType::Text, .size = 20}};
  store.createTable(s);
  auto t = store.openTable("Big");
  const int n = 100000;
  for (int i = 0; i < n; ++i) {
    Row r{Value::longInt(i + 1), Value::text("k" + std::to_string(i % 25000))};
    t->insert(r);
  }
  Session session(store);
  auto r = session.execute(
      "DELETE FROM Big WHERE Exists (SELECT * FROM Big AS b WHERE b.a = Big.a AND b.ID < Big.ID)");
  EXPECT_EQ(r.rowsAffected, n - 25000);
  auto left = session.execute("SELECT Max(ID), Count(*) FROM Big").result.rows;
  EXPECT_EQ(left[0][0], Value::longInt(25000));
  EXPECT_EQ(left[0][1], Value::longInt(25000));
}

}  // namespace
}  // namespace jet::sql::testing
