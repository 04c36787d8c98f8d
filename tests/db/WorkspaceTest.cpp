#include <gtest/gtest.h>

#include "db/Texts.h"
#include "db/Workspace.h"
#include "tests/db/Fakes.h"

namespace qm::db {
namespace {

using namespace qm::db::testing;

class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest() {
    clock.at.tm_year = 113, clock.at.tm_mon = 2, clock.at.tm_mday = 14;
    clock.at.tm_hour = 9, clock.at.tm_min = 5, clock.at.tm_sec = 7;
    view.onPathChanged = [this] { ws.openDatabase(); };
    connection.tables = {"Customers", "Tags"};
    files.existing = {"D:\\data\\shop.mdb"};
  }
  // The log from `from` on.
  Log since(size_t from) const { return Log(log.begin() + static_cast<long>(from), log.end()); }
  void openShop() {
    view.dialogAnswer = "D:\\data\\shop.mdb";
    ws.chooseDatabaseFile();
  }
  void chooseTable(const std::string& table, std::vector<std::string> fields, int64_t rows) {
    grid.outcomes["Select * from [" + table + "]"] = {fields, rows, ""};
    view.table = table;
    ws.tableChanged();
  }

  Log log;
  FakeView view{log};
  FakeConnection connection{log};
  FakeQuery grid{log, "q1"};
  FakeQuery statement{log, "q2"};
  FakeFiles files{log};
  FixedClock clock;
  Workspace ws{view, connection, grid, statement, files, clock};
};

TEST_F(WorkspaceTest, OpeningConnectsListsTablesThenCopies) {
  openShop();
  EXPECT_EQ(log,
            (Log{"dialog", "path:D:\\data\\shop.mdb", "disconnect", "grid",
                 "connect:Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\data\\shop.mdb;Persist Security "
                 "Info=False;Jet OLEDB:Database Password=vk3.8812.rqz",
                 "tableNames", "tables:Customers,Tags",
                 "copy:D:\\data\\shop.mdb>D:\\data\\bak_备份_20130314090507shop.mdb"}));
}

TEST_F(WorkspaceTest, ChoosingTheOpenFileAgainOrCancellingDoesNothing) {
  openShop();
  size_t mark = log.size();
  openShop();
  view.dialogAnswer.reset();
  ws.chooseDatabaseFile();
  EXPECT_EQ(since(mark), (Log{"dialog", "dialog"}));
}

TEST_F(WorkspaceTest, MissingFileIsReportedAndNothingElseChanges) {
  view.path = "D:\\gone.mdb";
  ws.openDatabase();
  EXPECT_EQ(log, (Log{"message:数据库文件不存在."}));
}

TEST_F(WorkspaceTest, FailedCopyIsToldWithItsReason) {
  files.copyFailure = "磁盘已满";
  openShop();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(),
            "message:" + text::backupCopyFailed("D:\\data\\bak_备份_20130314090507shop.mdb", "磁盘已满"));
}

TEST_F(WorkspaceTest, CopyWithinTheSameSecondIsNumberedNotOverwritten) {
  files.existing.push_back("D:\\data\\bak_备份_20130314090507shop.mdb");
  openShop();
  Log tail(log.end() - 2, log.end());
  EXPECT_EQ(tail, (Log{"exists:D:\\data\\bak_备份_20130314090507shop.mdb",
                       "copy:D:\\data\\shop.mdb>D:\\data\\bak_备份_20130314090507_2_shop.mdb"}));
}

TEST_F(WorkspaceTest, UnreadableDatabaseStopsBeforeTheCopyAndKeepsTheOldList) {
  openShop();
  view.table = "Customers";
  connection.failTables = "不可识别的数据库格式";
  files.existing.push_back("D:\\bad.mdb");
  size_t mark = log.size();
  view.path = "D:\\bad.mdb";
  EXPECT_THROW(ws.openDatabase(), std::runtime_error);
  Log after = since(mark);
  EXPECT_EQ(after.back(), "tableNames");
  EXPECT_EQ(view.tableItems, (std::vector<std::string>{"Customers", "Tags"}));
  EXPECT_EQ(view.table, "Customers");
}

TEST_F(WorkspaceTest, TableChangeReloadsGridThenFillsFieldChoosers) {
  openShop();
  size_t mark = log.size();
  chooseTable("Customers", {"ID", "name", "phone"}, 11);
  EXPECT_EQ(since(mark), (Log{"q1.open:Select * from [Customers]", "grid", "widths:80", "status0:共11条信息",
                              "clearFields", "fields:ID"}));
  EXPECT_EQ(view.id, "ID");
  EXPECT_EQ(view.keys, "");
  EXPECT_EQ(view.keyItems, (std::vector<std::string>{"ID", "name", "phone"}));
}

TEST_F(WorkspaceTest, GridReloadChecksItsInputsInOrder) {
  ws.reloadGrid();
  view.path = "x";
  ws.reloadGrid();
  EXPECT_EQ(log, (Log{"message:请载入数据库文件.", "message:相关选项不能为空."}));
}

TEST_F(WorkspaceTest, MisspeltTableIsAnErrorAndFieldChoosersStay) {
  openShop();
  chooseTable("Customers", {"ID", "name"}, 11);
  grid.outcomes["Select * from [Custom]"] = {{}, 0, "找不到表 Custom"};
  view.table = "Custom";
  size_t mark = log.size();
  EXPECT_THROW(ws.tableChanged(), std::runtime_error);
  EXPECT_EQ(since(mark), (Log{"q1.open:Select * from [Custom]", "grid"}));
  EXPECT_EQ(view.id, "ID");
  EXPECT_EQ(view.status[0], "共11条信息");
}

TEST_F(WorkspaceTest, FieldRefreshOfAnEmptyGridLeavesChoosersEmpty) {
  view.id = "old";
  ws.refreshFieldLists();
  EXPECT_EQ(log, (Log{"clearFields"}));
  EXPECT_EQ(view.id, "");
}

TEST_F(WorkspaceTest, ReportOpensGroupsIntoTheGridAndCountsThem) {
  openShop();
  chooseTable("Customers", {"ID", "name", "phone"}, 11);
  view.keys = "name,phone";
  grid.outcomes["Select name,phone,Count(*) From [Customers] Group By name,phone Having Count(*) > 1"] = {
      {"name", "phone", "Expr1002"}, 3, ""};
  size_t mark = log.size();
  ws.duplicateReport();
  EXPECT_EQ(
      since(mark),
      (Log{"q1.open:Select name,phone,Count(*) From [Customers] Group By name,phone Having Count(*) > 1",
           "grid", "widths:80", "status1:name,phone字段3条重复信息"}));
  EXPECT_EQ(view.status[0], "共11条信息");
}

TEST_F(WorkspaceTest, DedupeInputsAreAllRequired) {
  view.path = "p", view.table = "t", view.id = "ID";
  ws.duplicateReport();
  ws.keepLowest();
  ws.keepHighest();
  view.keys = "name", view.id = "";
  ws.duplicateReport();
  EXPECT_EQ(log, Log(4, "message:请载入数据库文件或相关选项不可为空."));
}

TEST_F(WorkspaceTest, KeepLowestChecksIdConfirmsDeletesAndReloads) {
  openShop();
  chooseTable("Customers", {"ID", "name"}, 11);
  view.keys = "name";
  size_t mark = log.size();
  ws.keepLowest();
  EXPECT_EQ(
      since(mark),
      (Log{"q2.open:Select ID From [Customers] Where ID Is Null",
           "q2.open:Select ID From [Customers] Group By ID Having Count(*) > 1",
           "confirm:提示:真的要删除重复记录吗？(删除重复记录过程请耐心等待程序处理完.)", "process",
           "q2.exec:Delete from [Customers] Where ID Not In (Select min(ID) From [Customers] Group By name)",
           "message:重复记录删除完毕.", "q1.open:Select * from [Customers]", "grid", "widths:80",
           "status0:共11条信息", "widths:80"}));
}

TEST_F(WorkspaceTest, KeepHighestUsesItsOwnStatementAndReportsErrors) {
  openShop();
  chooseTable("Customers", {"ID", "name"}, 11);
  view.keys = "nmae";
  const std::string sql =
      "delete from [Customers] where ID not in (select max(ID) from [Customers] group by nmae)";
  statement.outcomes[sql] = {{}, 0, "参数不足"};
  size_t mark = log.size();
  EXPECT_THROW(ws.keepHighest(), std::runtime_error);
  Log after = since(mark);
  EXPECT_EQ(after.back(), "q2.exec:" + sql);
}

TEST_F(WorkspaceTest, AnsweringNoDeletesNothing) {
  openShop();
  chooseTable("Customers", {"ID", "name"}, 11);
  view.keys = "name";
  view.confirmAnswer = 7;
  size_t mark = log.size();
  ws.keepHighest();
  Log after = since(mark);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[2].rfind("confirm:", 0), 0u);
  EXPECT_EQ(after[3], "widths:80");
}

TEST_F(WorkspaceTest, RepeatedOrNullIdIsRefusedBeforeAnyDelete) {
  openShop();
  chooseTable("Customers", {"ID", "name"}, 11);
  view.keys = "name";
  view.id = "name";
  statement.outcomes["Select name From [Customers] Group By name Having Count(*) > 1"] = {{"name"}, 2, ""};
  size_t mark = log.size();
  ws.keepLowest();
  EXPECT_EQ(since(mark).back(), "message:" + text::idNotUnique("name"));
  view.id = "phone";
  statement.outcomes["Select phone From [Customers] Where phone Is Null"] = {{"phone"}, 1, ""};
  ws.keepHighest();
  EXPECT_EQ(log.back(), "message:" + text::idHasNull("phone"));
  for (const std::string& line : log) EXPECT_EQ(line.find("exec"), std::string::npos) << line;
}

TEST_F(WorkspaceTest, KeylessRebuildRunsFourStatementsInOneTransaction) {
  openShop();
  chooseTable("Tags", {"tag"}, 5);
  size_t mark = log.size();
  ws.keylessRebuild();
  EXPECT_EQ(since(mark), (Log{"disable", "grid", "begin",
                              "q1.exec:select * INTO [Tags_new] from (select distinct * from [Tags])",
                              "q1.exec:Drop table [Tags]",
                              "q1.exec:select * INTO [Tags] from (select distinct * from [Tags_new])",
                              "q1.exec:Drop table [Tags_new]", "commit", "message:新数据库表去重完毕.",
                              "q1.open:Select * from [Tags]", "grid", "widths:80", "status0:共5条信息",
                              "tableNames", "tables:Customers,Tags", "enable"}));
}

TEST_F(WorkspaceTest, KeylessFailureRollsBackAndReenablesTheButton) {
  openShop();
  view.table = "Tags";
  grid.outcomes["select * INTO [Tags] from (select distinct * from [Tags_new])"] = {{}, 0, "磁盘已满"};
  size_t mark = log.size();
  EXPECT_THROW(ws.keylessRebuild(), std::runtime_error);
  Log after = since(mark);
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[after.size() - 2], "rollback");
  EXPECT_EQ(after.back(), "enable");
  for (const std::string& line : after) EXPECT_NE(line, "message:新数据库表去重完毕.");
}

TEST_F(WorkspaceTest, DropAsksThenClosesTheGridOfThatTableAndRefreshesTheList) {
  ws.dropTable();
  EXPECT_EQ(log, (Log{"message:请选择要删除的数据库表."}));
  openShop();
  chooseTable("Tags", {"tag"}, 5);
  view.confirmAnswer = 7;
  size_t mark = log.size();
  ws.dropTable();
  EXPECT_EQ(since(mark), (Log{"confirm:提示:真的要删除[Tags]表吗?"}));
  EXPECT_TRUE(grid.active());
  view.confirmAnswer = kAnswerYes;
  mark = log.size();
  ws.dropTable();
  EXPECT_EQ(since(mark),
            (Log{"confirm:提示:真的要删除[Tags]表吗?", "process", "grid", "q2.exec:drop table [Tags]",
                 "message:数据库[Tags]表删除完成.", "tableNames", "tables:Customers,Tags"}));
  EXPECT_FALSE(grid.active());
}

TEST_F(WorkspaceTest, DropOfAnotherTableLeavesTheGridOpen) {
  openShop();
  chooseTable("Tags", {"tag"}, 5);
  view.table = "Customers";
  ws.dropTable();
  EXPECT_TRUE(grid.active());
}

TEST_F(WorkspaceTest, BackupTableClosesGridCopiesAndRefreshes) {
  openShop();
  chooseTable("Tags", {"tag"}, 5);
  grid.outcomes["SELECT * into [Tags_Bak] FROM [Tags]"] = {{}, 5, ""};
  size_t mark = log.size();
  ws.backupTable();
  EXPECT_EQ(since(mark), (Log{"grid", "q1.exec:SELECT * into [Tags_Bak] FROM [Tags]",
                              "message:Tags表备份成功.", "tableNames", "tables:Customers,Tags"}));
  EXPECT_EQ(view.table, "");
  grid.outcomes["SELECT * into [Tags_Bak] FROM [Tags]"] = {{}, 0, "表 Tags_Bak 已存在"};
  view.table = "Tags";
  mark = log.size();
  EXPECT_THROW(ws.backupTable(), std::runtime_error);
  EXPECT_EQ(since(mark).back(), "q1.exec:SELECT * into [Tags_Bak] FROM [Tags]");
}

TEST_F(WorkspaceTest, ConsoleOpensSelectsIntoTheGrid) {
  openShop();
  view.sql = "select name from [Customers]";
  grid.outcomes[view.sql] = {{"name"}, 11, ""};
  size_t mark = log.size();
  ws.runSql();
  EXPECT_EQ(since(mark), (Log{"grid", "q1.open:select name from [Customers]", "grid", "widths:80",
                              "status0:共11条信息", "page"}));
}

TEST_F(WorkspaceTest, ConsoleExecutesOtherStatementsAndTellsTheCount) {
  openShop();
  view.sql = "update [Customers] set name = 'x'\r\nwhere ID = 3";
  grid.outcomes[view.sql] = {{}, 1, ""};
  size_t mark = log.size();
  ws.runSql();
  EXPECT_EQ(since(mark),
            (Log{"grid", "q1.exec:" + view.sql, "message:语句执行完毕，影响了1条记录.", "page"}));
}

TEST_F(WorkspaceTest, ConsoleRefusesOnlyAnEmptyText) {
  ws.runSql();
  EXPECT_EQ(log, (Log{"message:没有语言可以执行."}));
  view.sql = "   ";
  grid.outcomes["   "] = {{}, 0, "语法错误"};
  EXPECT_THROW(ws.runSql(), std::runtime_error);
  view.sql = "Select * From []";
  grid.outcomes[view.sql] = {{}, 0, "找不到表"};
  EXPECT_THROW(ws.runSql(), std::runtime_error);
  EXPECT_FALSE(grid.active());
}

}  // namespace
}  // namespace qm::db
