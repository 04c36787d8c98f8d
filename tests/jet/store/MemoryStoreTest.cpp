#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/storage/MemoryStore.h"

namespace jet::storage {
namespace {

TableSchema people() {
  TableSchema s;
  s.name = "People";
  s.columns = {{.name = "ID", .type = DataType::Long, .size = 4, .autoNumber = true},
               {.name = "Name", .type = DataType::Text, .size = 50}};
  s.indexes = {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true}};
  return s;
}

std::vector<Row> allRows(Table& t) {
  std::vector<Row> out;
  auto c = t.scan();
  while (c->next()) out.push_back(c->row());
  return out;
}

TEST(MemoryStore, AutoNumberAndPrimaryKey) {
  MemoryStore db;
  db.createTable(people());
  auto t = db.openTable("people");
  ASSERT_TRUE(t);
  Row a{Value(), Value::text("Ann")};
  t->insert(a);
  EXPECT_EQ(a[0], Value::longInt(1));
  Row dup{Value::longInt(1), Value::text("Bob")};
  EXPECT_THROW(t->insert(dup), Error);
  EXPECT_EQ(t->rowCount(), 1u);
}

TEST(MemoryStore, NestedRollbackRestoresOnlyInnerLevel) {
  MemoryStore db;
  db.createTable(people());
  db.begin();
  Row a{Value(), Value::text("Ann")};
  db.openTable("People")->insert(a);
  db.begin();
  Row b{Value(), Value::text("Bob")};
  db.openTable("People")->insert(b);
  db.rollback();
  db.commit();
  EXPECT_EQ(allRows(*db.openTable("People")).size(), 1u);
  EXPECT_THROW(db.commit(), Error);
}

TEST(MemoryStore, AddedCounterColumnNumbersRowsInOrder) {
  MemoryStore db;
  TableSchema s;
  s.name = "Loose";
  s.columns = {{.name = "V", .type = DataType::Text, .size = 10}};
  db.createTable(s);
  auto t = db.openTable("Loose");
  for (const char* v : {"x", "y", "x"}) {
    Row r{Value::text(v)};
    t->insert(r);
  }
  db.addColumn("Loose", {.name = "ID", .type = DataType::Long, .size = 4, .autoNumber = true});
  auto rows = allRows(*db.openTable("Loose"));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2][1], Value::longInt(3));
}

TEST(MemoryStore, DropRefusesQueriesAndMissingTables) {
  MemoryStore db;
  db.addQuery("Q", "select 1");
  EXPECT_THROW(db.dropTable("Q"), Error);
  EXPECT_THROW(db.dropTable("Nope"), Error);
  db.createTable(people());
  EXPECT_THROW(db.createTable(people()), Error);
}

}  // namespace
}  // namespace jet::storage
