// The batch tool's summary counts agree with the report and with what the
// removal statements then delete.
#include <gtest/gtest.h>

#include "db/DupStatements.h"
#include "db/DuplicateSummary.h"
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
};

TEST(SummaryStatements, ShapeIsExact) {
  EXPECT_EQ(
      duplicateTotalsStatement("T", "[a],[b]"),
      "Select Count(*), Sum([GroupSize]) From (Select Count(*) As [GroupSize] From [T] Group By [a],[b] "
      "Having Count(*) > 1)");
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
  DuplicateSummary before = summarizeDuplicates(session, "T", "name,phone");
  EXPECT_EQ(before.duplicateGroups, groups);
  EXPECT_EQ(before.surplusRecords, extra);
  EXPECT_EQ(session.execute(keepHighestStatement("T", "ID", "name,phone")).rowsAffected, extra);
  DuplicateSummary after = summarizeDuplicates(session, "T", "name,phone");
  EXPECT_EQ(after.duplicateGroups, 0);
  EXPECT_EQ(after.surplusRecords, 0);
}

TEST_F(SummaryCounts, EmptyTableHasNothingToRemove) {
  session.execute("DELETE FROM T");
  DuplicateSummary none = summarizeDuplicates(session, "T", "name");
  EXPECT_EQ(none.duplicateGroups, 0);
  EXPECT_EQ(none.surplusRecords, 0);
}

TEST_F(SummaryCounts, OneKeyCountsItsOwnGroups) {
  // By phone alone: '1' x3, '2' x2, '3' once, '4' x2.
  DuplicateSummary byPhone = summarizeDuplicates(session, "T", "phone");
  EXPECT_EQ(byPhone.duplicateGroups, 3);
  EXPECT_EQ(byPhone.surplusRecords, 4);
}

}  // namespace
}  // namespace qm::db
