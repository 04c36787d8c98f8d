// The queries Access itself saved in the sample files run as Access runs
// them: every saved select query opens, and the action queries written in
// Access's own forms (a DELETE listing fields, `!` between name parts) run.
#include <gtest/gtest.h>

#include "jet/core/Messages.h"
#include "jet/sql/Parser.h"
#include "jet/sql/Session.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

TEST(SavedQueryRun, EverySavedSelectQueryOpens) {
  QM_REQUIRE_TESTDATA();
  int views = 0;
  for (const std::string& sample : allSamples()) {
    SCOPED_TRACE(sample);
    auto db = JetDatabase::open((mdbDir() / sample).string(), passwordOf(sample));
    sql::Session session(*db);
    for (const auto& e : db->objects()) {
      if (e.kind != ObjectKind::View) continue;
      ++views;
      SCOPED_TRACE(e.name);
      EXPECT_NO_THROW(session.execute("SELECT * FROM [" + e.name + "]"));
    }
  }
  EXPECT_GE(views, 3);
}

TEST(SavedQueryRun, ASavedJoinNamesItsRepeatedColumnsByTable) {
  QM_REQUIRE_TESTDATA();
  for (const char* sample : {"jet4/queryTestV2000.mdb", "jet3/queryTestV1997.mdb"}) {
    SCOPED_TRACE(sample);
    auto db = JetDatabase::open((mdbDir() / sample).string(), "");
    sql::Session session(*db);
    std::vector<std::string> names;
    for (const auto& f : session.execute("SELECT * FROM SelectQuery").result.fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Table1.col1", "Table1.col2", "Table1.col3", "Table2.col1",
                                               "Table2.col2", "Table3.col3"}));
  }
}

TEST(SavedQueryRun, TheSavedDeleteQueryRunsOnACopy) {
  QM_REQUIRE_TESTDATA();
  TempFolder folder;
  for (const char* sample : {"jet4/queryTestV2000.mdb", "jet3/queryTestV1997.mdb"}) {
    SCOPED_TRACE(sample);
    std::string copy = folder.copy(sample);
    std::string sql;
    {
      auto db = JetDatabase::open(copy, "");
      sql = db->querySql("DeleteQuery").value_or("");
      ASSERT_EQ(sql.rfind("DELETE Table1.col1, Table1.col2, Table1.col3\nFROM Table1", 0), 0u) << sql;
    }
    EXPECT_NO_THROW(sql::parseStatement(sql));
    if (std::string(sample).find("jet3") != std::string::npos) continue;  // the Jet 4 copy shows the run
    auto db = JetDatabase::open(copy, "");
    sql::Session session(*db);
    EXPECT_EQ(session.execute(sql).rowsAffected, 0);
  }
}

TEST(SavedQueryRun, TheSavedCrosstabIsRefusedForItsAggregateInWhere) {
  QM_REQUIRE_TESTDATA();
  for (const char* sample : {"jet4/queryTestV2000.mdb", "jet3/queryTestV1997.mdb"}) {
    SCOPED_TRACE(sample);
    auto db = JetDatabase::open((mdbDir() / sample).string(), "");
    sql::Session session(*db);
    // Access saved it with Avg(...) > "10" among the WHERE conditions, which Jet refuses to run.
    try {
      session.execute("SELECT * FROM CrosstabQuery");
      ADD_FAILURE() << "the crosstab ran";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Invalid);
      EXPECT_EQ(std::string(e.what()), msg::aggregateNotAllowed("WHERE", "(Avg(Table2_1.col2))>\"10\""));
    }
    // The same query with that condition where it belongs runs: its tables are empty, so
    // there are the row headings and no pivot column.
    std::string sql = *db->querySql("CrosstabQuery");
    const std::string condition = " And ((Avg(Table2_1.col2))>\"10\")";
    const size_t at = sql.find(condition);
    ASSERT_NE(at, std::string::npos) << sql;
    sql.erase(at, condition.size());
    sql.insert(sql.find("ORDER BY"), "HAVING Avg(Table2_1.col2)>\"10\"\n");
    sql::ExecResult r = session.execute(sql);
    ASSERT_EQ(r.result.fields.size(), 3u);
    EXPECT_EQ(r.result.fields[2].name, "AvgOfcol2");
    EXPECT_TRUE(r.result.rows.empty());
  }
}

TEST(SavedQueryRun, BooleanWordsAndBangNamesOnAnAccessFile) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open((mdbDir() / "jet4/dups_v2000.mdb").string(), "");
  sql::Session session(*db);
  // The sample's own saved query filters on True; the other words and `!` select the same rows.
  auto saved = session.execute("SELECT * FROM qryActiveCustomers").result.rows;
  ASSERT_FALSE(saved.empty());
  for (const char* sql :
       {"SELECT Customers.ID, Customers.Name FROM Customers WHERE (Customers.Active=Yes) ORDER BY "
        "Customers.Name",
        "SELECT [Customers]![ID], [Customers]![Name] FROM Customers WHERE [Customers]![Active] = On ORDER BY "
        "Customers!Name",
        "SELECT ID, Name FROM Customers WHERE NOT Active = No ORDER BY Name"}) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(session.execute(sql).result.rows, saved);
  }
  auto inactive = session.execute("SELECT ID FROM Customers WHERE Active = Off").result.rows;
  auto all = session.execute("SELECT ID FROM Customers").result.rows;
  EXPECT_EQ(inactive.size() + saved.size(), all.size());
  try {
    session.execute("SELECT ID FROM Customers WHERE Name = [Forms]![Search]![Name]");
    ADD_FAILURE() << "a form's control was bound";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::NoSuchField);
    EXPECT_EQ(std::string(e.what()), msg::tooFewParameters(1, "Forms.Search.Name"));
  }
}

}  // namespace
}  // namespace jet::storage::testing
