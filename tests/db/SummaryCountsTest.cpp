// The batch tool's summary counts agree with the report and with what the
// removal statements then delete.
#include <gtest/gtest.h>

#include "db/DupStatements.h"
#include "jet/sql/Session.h"
#include "jet/storage/MemoryStore.h"

namespace qm::db {
namespace {

class SummaryCounts : public ::testing::Test {
 protected:
  jet::storage::MemoryStore store;
  jet::sql::Session session{store};

  void SetUp() override {
    session.execute("CREATE TABLE T (ID LONG, name TEXT(20), phone TEXT(20))");
    // Groups: (a,1) x3, (A,1) joins it (case is ignored), (b,2) x2, (c,3) once, (Null,4) x2.
    const char* rows[] = {"1,'a','1'", "2,'b','2'", "3,'a','1'",  "4,'c','3'",
                          "5,'A','1'", "6,'b','2'", "7,Null,'4'", "8,Null,'4'"};
    for (const char* r : rows) session.execute(std::string("INSERT INTO T VALUES (") + r + ")");
  }
  int64_t count(const std::string& sql) {
    auto rows = session.execute(sql).result.rows;
    EXPECT_EQ(rows.size(), 1u);
    return static_cast<int64_t>(rows.at(0).at(0).toDouble());
  }
};

TEST(SummaryStatements, ShapesAreExact) {
  EXPECT_EQ(duplicateGroupCountStatement("T", "[a],[b]"),
            "Select Count(*) From (Select Count(*) From [T] Group By [a],[b] Having Count(*) > 1)");
  EXPECT_EQ(groupCountStatement("T", "[a]"), "Select Count(*) From (Select Count(*) From [T] Group By [a])");
  EXPECT_EQ(recordCountStatement("T"), "Select Count(*) From [T]");
}

TEST_F(SummaryCounts, AgreeWithTheReportAndTheRemoval) {
  auto report = session.execute(duplicateReportStatement("T", "name,phone")).result.rows;
  int64_t groups = 0, extra = 0;
  for (const auto& r : report) {
    ++groups;
    extra += static_cast<int64_t>(r.back().toDouble()) - 1;
  }
  EXPECT_EQ(groups, 3);
  EXPECT_EQ(extra, 4);
  auto doomed = [&] {
    return count(recordCountStatement("T")) - count(groupCountStatement("T", "name,phone"));
  };
  EXPECT_EQ(count(duplicateGroupCountStatement("T", "name,phone")), groups);
  EXPECT_EQ(doomed(), extra);
  EXPECT_EQ(session.execute(keepHighestStatement("T", "ID", "name,phone")).rowsAffected, extra);
  EXPECT_EQ(count(duplicateGroupCountStatement("T", "name,phone")), 0);
  EXPECT_EQ(doomed(), 0);
}

}  // namespace
}  // namespace qm::db
