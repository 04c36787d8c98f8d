#include "db/BatchNames.h"

#include <gtest/gtest.h>

#include "db/DupStatements.h"
#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "jet/storage/MemoryStore.h"

namespace qm::db {
namespace {

using jet::DataType;
using jet::Row;
using jet::Value;

class BatchNamesTest : public ::testing::Test {
 protected:
  BatchNamesTest() {
    jet::storage::TableSchema s;
    s.name = "Customers";
    s.columns = {{.name = "ID", .type = DataType::Long, .size = 4},
                 {.name = "a-b", .type = DataType::Text, .size = 20},
                 {.name = "my key", .type = DataType::Text, .size = 20},
                 {.name = "it's", .type = DataType::Text, .size = 20}};
    store.createTable(s);
    store.addQuery("Recent", "select * from Customers");
    jet::storage::TableSchema system;
    system.name = "MSysObjects";
    system.columns = {{.name = "Id", .type = DataType::Long, .size = 4}};
    store.addSystemTable(system);
  }
  // The table stays open while its schema is in use.
  const jet::storage::TableSchema& schema() {
    table = store.openTable("Customers");
    return table->schema();
  }
  // The error's message, or "" when `f` does not throw.
  template <class F>
  static std::string refusal(F f) {
    try {
      f();
    } catch (const jet::Error& e) {
      return e.what();
    }
    return "";
  }

  jet::storage::MemoryStore store;
  std::shared_ptr<jet::storage::Table> table;
};

TEST_F(BatchNamesTest, NamesMatchIgnoringCaseAndGiveTheStoredSpelling) {
  EXPECT_EQ(userTableName(store, "customers"), "Customers");
  EXPECT_EQ(fieldName(schema(), "id"), "ID");
  EXPECT_EQ(fieldNames(schema(), "A-B, My Key,IT'S"), (std::vector<std::string>{"a-b", "my key", "it's"}));
  EXPECT_EQ(bracketedList(fieldNames(schema(), "a-b,my key")), "[a-b],[my key]");
}

TEST_F(BatchNamesTest, WhatIsNotAFieldNameIsRefused) {
  for (const char* keys : {"1", "Null", "a-b,,ID", "ID,", ",ID", "", " ", "a", "ID+0"})
    EXPECT_NE(refusal([&] { fieldNames(schema(), keys); }), "") << keys;
  EXPECT_NE(refusal([&] { fieldName(schema(), "Nope"); }).find("Nope"), std::string::npos);
}

TEST_F(BatchNamesTest, OnlyAUserTableCanBeChanged) {
  EXPECT_NE(refusal([&] { userTableName(store, "Recent"); }).find("Recent"), std::string::npos);
  EXPECT_NE(refusal([&] { userTableName(store, "msysobjects"); }).find("MSysObjects"), std::string::npos);
  EXPECT_NE(refusal([&] { userTableName(store, "MSysACEs"); }), "");
  EXPECT_NE(refusal([&] { userTableName(store, "Nope"); }).find("Nope"), std::string::npos);
  EXPECT_EQ(readableTableName(store, "msysobjects"), "MSysObjects");
  EXPECT_NE(refusal([&] { readableTableName(store, "Recent"); }), "");
}

TEST_F(BatchNamesTest, ACloseBracketCannotBeQuotedAndIsRefused) {
  EXPECT_EQ(bracketed("a b"), "[a b]");
  EXPECT_NE(refusal([] { bracketed("a]b"); }).find("a]b"), std::string::npos);
}

// With the names bracketed, keep-lowest groups by the fields themselves: "a-b"
// is not a minus b, and a number is not a constant that puts every row in one group.
TEST_F(BatchNamesTest, BracketedNamesGroupByTheFields) {
  auto t = store.openTable("Customers");
  for (int i = 1; i <= 4; ++i) {
    Row r{Value::longInt(i), Value::text(i <= 2 ? "x" : "y"), Value::text("k"), Value::text("q")};
    t->insert(r);
  }
  std::string keys = bracketedList(fieldNames(schema(), "a-b,my key,it's"));
  jet::sql::Session session(store);
  auto r = session.execute(keepLowestStatement("Customers", bracketed(fieldName(schema(), "id")), keys));
  EXPECT_EQ(r.rowsAffected, 2);
  EXPECT_EQ(store.openTable("Customers")->rowCount(), 2u);
}

}  // namespace
}  // namespace qm::db
