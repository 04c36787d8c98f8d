// The workspace over the real engine, on a copy of a reference database:
// the read paths end to end without a window.
#include <gtest/gtest.h>

#include <filesystem>

#include "db/AdoPorts.h"
#include "db/LocalFiles.h"
#include "db/Workspace.h"
#include "tests/db/Fakes.h"

namespace qm::db {
namespace {

namespace fs = std::filesystem;
using namespace qm::db::testing;

class AdoWorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path source = fs::path(QM_TESTDATA_DIR) / "mdb" / "jet4" / "dups_v2000.mdb";
    if (!fs::exists(source)) GTEST_SKIP() << "reference database missing: " << source;
    dir = fs::temp_directory_path() /
          ("qm_ado_ws_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    database = (dir / "dups_v2000.mdb").string();
    fs::copy_file(source, database);
    view.onPathChanged = [this] { ws.openDatabase(); };
  }
  void TearDown() override {
    connection.close();
    if (!dir.empty()) fs::remove_all(dir);
  }

  fs::path dir;
  std::string database;
  Log log;
  FakeView view{log};
  jet::ado::Connection connection;
  jet::ado::Query gridQuery{connection};
  jet::ado::Query statementQuery{connection};
  AdoConnection connectionPort{connection};
  AdoQuery grid{gridQuery};
  AdoQuery statement{statementQuery};
  LocalFiles files;
  LocalClock clock;
  Workspace ws{view, connectionPort, grid, statement, files, clock};
};

TEST_F(AdoWorkspaceTest, OpeningListsTablesAndViewsAndCopiesTheFile) {
  view.dialogAnswer = database;
  ws.chooseDatabaseFile();
  EXPECT_EQ(view.tableItems, (std::vector<std::string>{"Customers", "Tags", "qryActiveCustomers"}));
  int copies = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().rfind("bak_备份_", 0) == 0) ++copies;
  EXPECT_EQ(copies, 1);
  for (const std::string& line : log) EXPECT_EQ(line.rfind("message:", 0), std::string::npos) << line;
}

TEST_F(AdoWorkspaceTest, TableReportAndConsoleReadTheFile) {
  view.path = database;
  ws.openDatabase();
  view.table = "Customers";
  ws.tableChanged();
  EXPECT_EQ(view.status[0], "共11条信息");
  EXPECT_EQ(view.id, "ID");
  EXPECT_EQ(view.keyItems, (std::vector<std::string>{"ID", "Name", "Notes", "Amount", "Joined", "Active"}));
  view.keys = "Name";
  ws.duplicateReport();
  EXPECT_EQ(view.status[1], "Name字段4条重复信息");
  view.keys = "Name,ID";
  ws.duplicateReport();
  EXPECT_EQ(view.status[1], "Name,ID字段0条重复信息");
  view.sql = "select Name from [Customers] where ID < 4";
  ws.runSql();
  EXPECT_EQ(view.status[0], "共3条信息");
  view.sql = "Select * From []";
  EXPECT_ANY_THROW(ws.runSql());
}

TEST_F(AdoWorkspaceTest, MisspeltTableLeavesTheGridClosed) {
  view.path = database;
  ws.openDatabase();
  view.table = "Custom";
  EXPECT_ANY_THROW(ws.tableChanged());
  EXPECT_FALSE(gridQuery.active());
}

TEST_F(AdoWorkspaceTest, RepeatedIdIsFoundBeforeAnyDelete) {
  view.path = database;
  ws.openDatabase();
  view.table = "Customers";
  view.id = "Active";
  view.keys = "Name";
  ws.keepLowest();
  EXPECT_EQ(log.back(), "message:编号字段 Active 有重复的值，不能用来区分重复记录，没有删除任何记录.");
}

}  // namespace
}  // namespace qm::db
