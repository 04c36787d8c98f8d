// A comma join over stored tables decodes only the columns the query names;
// every column it does name comes back whole.
#include <gtest/gtest.h>

#include "jet/sql/Session.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

TEST(CommaJoinFile, NamedColumnsArriveWhole) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open((mdbDir() / "jet4/dups_v2000.mdb").string(), "");
  sql::Session session(*db);
  auto single = session.execute("SELECT ID, Name, Amount FROM Customers ORDER BY ID").result.rows;
  ASSERT_FALSE(single.empty());
  // Weight is named without its table: only Tags has it, and only one of its rows weighs 2.
  auto joined = session
                    .execute(
                        "SELECT a.ID, b.Name, b.Amount FROM Customers AS a, Tags, Customers AS b "
                        "WHERE a.ID = b.ID AND Weight = 2 ORDER BY a.ID")
                    .result.rows;
  EXPECT_EQ(joined, single);
  // A star asks for every column of its table.
  auto whole = session.execute("SELECT * FROM Customers ORDER BY ID").result.rows;
  auto starred = session
                     .execute(
                         "SELECT b.* FROM Customers AS a, Customers AS b WHERE a.ID = b.ID AND a.ID > 0 "
                         "ORDER BY b.ID")
                     .result.rows;
  EXPECT_EQ(starred, whole);
}

}  // namespace
}  // namespace jet::storage::testing
