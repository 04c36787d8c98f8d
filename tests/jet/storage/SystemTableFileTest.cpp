// On a real Jet file: Jet's own tables refuse every change, from a statement
// or from a table handle, and the file stays byte for byte as it was; a
// statement stopped half-way through writing leaves the file as it was too.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Session.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

ErrorCode failure(sql::Session& session, const std::string& statement, std::string* message = nullptr) {
  try {
    session.execute(statement);
  } catch (const Error& e) {
    if (message) *message = e.what();
    return e.code();
  }
  ADD_FAILURE() << "statement succeeded: " << statement;
  return ErrorCode::Invalid;
}

TEST(SystemTableFile, StatementsAndHandlesLeaveTheCatalogueAlone) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  const auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    sql::Session session(*db);
    const Value objects = session.execute("SELECT Count(*) FROM MSysObjects").result.rows.at(0).at(0);
    EXPECT_GT(objects.asInt(), 0);
    for (const char* statement :
         {"DELETE FROM MSysObjects", "delete from msysobjects where Id < 0",
          "UPDATE MSysObjects SET Name = 'x'", "INSERT INTO MSysObjects (Name) VALUES ('x')",
          "DROP TABLE MSysObjects", "ALTER TABLE MSysObjects ADD COLUMN Extra LONG",
          "CREATE INDEX byName ON MSysObjects (Name)", "SELECT * INTO MSysObjects FROM Customers"}) {
      std::string message;
      EXPECT_EQ(failure(session, statement, &message), ErrorCode::Invalid) << statement;
      EXPECT_EQ(message, msg::cannotModifySystemTable("MSysObjects")) << statement;
    }
    for (const auto& o : db->objects()) {
      if (o.kind != ObjectKind::SystemTable && o.kind != ObjectKind::AccessTable) continue;
      EXPECT_EQ(failure(session, "DELETE FROM [" + o.name + "]"), ErrorCode::Invalid) << o.name;
      auto t = db->openTable(o.name);
      auto ids = rowIds(*t);
      if (ids.empty()) continue;
      EXPECT_THROW(t->removeRows(ids), Error) << o.name;
      EXPECT_THROW(t->update(ids.front(), t->fetch(ids.front())), Error) << o.name;
    }
    EXPECT_THROW(db->dropIndex("MSysObjects", "Id"), Error);
    EXPECT_EQ(session.execute("SELECT Count(*) FROM MSysObjects").result.rows.at(0).at(0), objects);
  }
  EXPECT_EQ(readBytes(f), original);
}

TEST(SystemTableFile, AStoppedWriteLeavesTheFileAsItWas) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  const auto original = readBytes(f);
  ClearCancel();
  {
    auto db = JetDatabase::open(f, "", false);
    sql::Session session(*db);
    std::thread stopper([] {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      RequestCancel();
    });
    // Eleven rows seven times over, some twenty million rows, streamed into
    // the new table as they are read: the stop comes mid-write.
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(failure(session,
                      "SELECT a.ID, b.Name INTO Big FROM Customers AS a, Customers AS b, Customers AS c, "
                      "Customers AS d, Customers AS e, Customers AS f, Customers AS g"),
              ErrorCode::Interrupted);
    const auto ran = std::chrono::steady_clock::now() - begun;
    stopper.join();
    ClearCancel();
    EXPECT_LT(ran, std::chrono::seconds(5));
    EXPECT_FALSE(db->openTable("Big"));
    EXPECT_EQ(db->transactionDepth(), 0);
    // The database takes the next statement as usual.
    EXPECT_EQ(session.execute("SELECT Count(*) FROM Customers").result.rows.at(0).at(0), Value::longInt(11));
  }
  EXPECT_FALSE(fs::exists(f + ".qmj"));
  EXPECT_EQ(readBytes(f), original);
  expectPagesConsistent(f);
}

}  // namespace
}  // namespace jet::storage::testing
