// Jet's own tables are read-only to every statement: a flagged system table
// and any table whose name starts with "MSys" (in any case) can be read but
// not changed, dropped, altered, indexed or made by SELECT INTO, and the
// refusal names the table.
#include "SqlFixture.h"

#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::sql::testing {
namespace {

class SystemTables : public SqlTest {
 protected:
  void SetUp() override {
    storage::TableSchema aces;
    aces.name = "MSysACEs";
    aces.columns = {{.name = "ACM", .type = DataType::Long, .size = 4},
                    {.name = "SID", .type = DataType::Text, .size = 20}};
    store.addSystemTable(aces);
    // Not flagged, but the name alone makes it one of Jet's own.
    storage::TableSchema named;
    named.name = "MSysNameOnly";
    named.columns = {{.name = "ID", .type = DataType::Long, .size = 4}};
    store.createTable(named);
    for (const char* table : {"MSysACEs", "MSysNameOnly"}) {
      Row row(store.openTable(table)->schema().columns.size(), Value::longInt(7));
      if (row.size() > 1) row[1] = T("admin");
      // Filled through a handle of the store's own, as the engine fills its catalogue.
      auto& data = store.tableData(foldCase(std::string(table)));
      data.rows[data.nextRowId++] = row;
    }
    run("CREATE TABLE People (ID LONG, Name TEXT(10))");
    run("INSERT INTO People VALUES (1, 'Ann')");
  }

  // Every one of these is refused with the table's name in the message, and changes nothing.
  void expectRefused(const std::string& sql, const std::string& table) {
    std::string message;
    EXPECT_EQ(failure(sql, &message), ErrorCode::Invalid) << sql;
    EXPECT_EQ(message, msg::cannotModifySystemTable(table)) << sql;
    EXPECT_EQ(count("MSysACEs"), 1) << sql;
    EXPECT_EQ(count("MSysNameOnly"), 1) << sql;
    EXPECT_EQ(store.openTable("MSysACEs")->schema().columns.size(), 2u) << sql;
    EXPECT_TRUE(store.openTable("MSysACEs")->schema().indexes.empty()) << sql;
  }
};

TEST_F(SystemTables, EveryChangeIsRefusedNamingTheTable) {
  expectRefused("DELETE FROM MSysACEs", "MSysACEs");
  expectRefused("delete from msysaces", "MSysACEs");
  // Refused even when no row would change.
  expectRefused("DELETE FROM MSysACEs WHERE ACM = 0", "MSysACEs");
  expectRefused("UPDATE MSysACEs SET ACM = 1", "MSysACEs");
  expectRefused("UPDATE MSysACEs SET ACM = 1 WHERE 1 = 0", "MSysACEs");
  expectRefused("INSERT INTO MSysACEs (ACM, SID) VALUES (1, 'x')", "MSysACEs");
  expectRefused("INSERT INTO MSysACEs SELECT ID, Name FROM People", "MSysACEs");
  expectRefused("DROP TABLE MSysACEs", "MSysACEs");
  expectRefused("ALTER TABLE MSysACEs ADD COLUMN Extra LONG", "MSysACEs");
  expectRefused("ALTER TABLE MSysACEs DROP COLUMN SID", "MSysACEs");
  expectRefused("CREATE INDEX bySid ON MSysACEs (SID)", "MSysACEs");
  expectRefused("SELECT * INTO MSysACEs FROM People", "MSysACEs");
  expectRefused("DELETE FROM MSysNameOnly", "MSysNameOnly");
  expectRefused("UPDATE msysnameonly SET ID = 2", "MSysNameOnly");
  expectRefused("DROP TABLE MSysNameOnly", "MSysNameOnly");
}

TEST_F(SystemTables, NoNewTableTakesAReservedName) {
  // Such a table could never be changed or dropped afterwards.
  expectRefused("SELECT * INTO MSysCopy FROM People", "MSysCopy");
  expectRefused("CREATE TABLE msysMine (ID LONG)", "msysMine");
  EXPECT_FALSE(store.openTable("MSysCopy"));
  EXPECT_FALSE(store.openTable("msysMine"));
}

TEST_F(SystemTables, ReadingThemStaysAllowed) {
  auto r = rows("SELECT ACM, SID FROM MSysACEs");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], L(7));
  EXPECT_EQ(r[0][1], T("admin"));
  EXPECT_EQ(run("SELECT ACM INTO AcesCopy FROM MSysACEs").rowsAffected, 1);
  EXPECT_EQ(run("INSERT INTO People (ID) SELECT ID FROM MSysNameOnly").rowsAffected, 1);
  EXPECT_EQ(count("People"), 2);
}

TEST_F(SystemTables, ATableHandleRefusesWritesToo) {
  // What the window's grid and the duplicate tools hold: the store's own handle.
  auto t = store.openTable("MSysACEs");
  Row row{L(1), T("x")};
  EXPECT_THROW(t->insert(row), Error);
  auto cursor = t->scan();
  ASSERT_TRUE(cursor->next());
  storage::RowId id = cursor->rowId();
  cursor.reset();
  EXPECT_THROW(t->remove(id), Error);
  EXPECT_THROW(t->update(id, row), Error);
  EXPECT_THROW(store.addColumn("MSysACEs", {.name = "X", .type = DataType::Long, .size = 4}), Error);
  EXPECT_THROW(store.dropIndex("MSysNameOnly", "nothing"), Error);
  EXPECT_EQ(count("MSysACEs"), 1);
}

}  // namespace
}  // namespace jet::sql::testing
