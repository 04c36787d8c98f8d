#include "db/IdenticalRows.h"

#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/MemoryStore.h"

namespace qm::db {
namespace {

using jet::DataType;
using jet::Row;
using jet::Value;

class IdenticalRowsTest : public ::testing::Test {
 protected:
  IdenticalRowsTest() {
    jet::storage::TableSchema s;
    s.name = "NoKey";
    s.columns = {{.name = "n", .type = DataType::Long, .size = 4},
                 {.name = "t", .type = DataType::Text, .size = 20}};
    s.indexes = {{.name = "ByT", .columns = {{.column = 1}}}};
    store.createTable(s);
  }
  void add(Value n, Value t) {
    Row r{std::move(n), std::move(t)};
    store.openTable("NoKey")->insert(r);
  }
  std::vector<Row> rows() {
    jet::sql::Session session(store);
    return session.execute("select n, t from NoKey").result.rows;
  }

  jet::storage::MemoryStore store;
};

TEST_F(IdenticalRowsTest, KeepsTheFirstOfRowsEqualAsJetComparesThem) {
  add(Value::longInt(1), Value::text("a"));
  add(Value::longInt(1), Value::text("A"));  // text compares ignoring case
  add(Value::longInt(2), Value::text("b"));
  add(Value::null(), Value::null());
  add(Value::null(), Value::null());  // Nulls alike
  add(Value::longInt(1), Value::text("a "));
  EXPECT_EQ(removeIdenticalRows(store, "NoKey"), 2u);
  std::vector<Row> left = rows();
  ASSERT_EQ(left.size(), 4u);
  EXPECT_EQ(left[0][1], Value::text("a"));  // the first of its group, as it was stored
  EXPECT_EQ(left[1][1], Value::text("b"));
  EXPECT_TRUE(left[2][0].isNull());
  EXPECT_EQ(left[3][1], Value::text("a "));
}

TEST_F(IdenticalRowsTest, TableKeepsItsDefinitionAndIndexes) {
  add(Value::longInt(1), Value::text("a"));
  add(Value::longInt(1), Value::text("a"));
  jet::storage::TableSchema before = store.openTable("nokey")->schema();
  EXPECT_EQ(removeIdenticalRows(store, "NoKey"), 1u);
  jet::storage::TableSchema after = store.openTable("NoKey")->schema();
  EXPECT_EQ(after.name, "NoKey");
  ASSERT_EQ(after.indexes.size(), before.indexes.size());
  EXPECT_EQ(after.indexes[0].name, "ByT");
  EXPECT_EQ(after.columns.size(), before.columns.size());
}

TEST_F(IdenticalRowsTest, NothingToRemoveChangesNothing) {
  add(Value::longInt(1), Value::text("a"));
  add(Value::longInt(2), Value::text("a"));
  IdenticalRows found = findIdenticalRows(*store.openTable("NoKey"));
  EXPECT_EQ(found.rows, 2u);
  EXPECT_TRUE(found.repeats.empty());
  EXPECT_EQ(removeIdenticalRows(store, "NoKey"), 0u);
  EXPECT_EQ(rows().size(), 2u);
  EXPECT_EQ(store.transactionDepth(), 0);
}

TEST_F(IdenticalRowsTest, UnknownTableIsRefusedAndTheTransactionEnds) {
  EXPECT_THROW(removeIdenticalRows(store, "Nope"), jet::Error);
  EXPECT_EQ(store.transactionDepth(), 0);
}

}  // namespace
}  // namespace qm::db
