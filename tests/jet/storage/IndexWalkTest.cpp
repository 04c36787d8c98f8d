// The index walker on big generated tables: thousands of inserts (splits at
// every level), half of the rows deleted (pages emptied and unlinked),
// updates that move keys; and the walker itself must notice a missing entry,
// a stray entry and a wrong row count.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

IndexReport checkTable(const std::string& f, const std::string& table) {
  auto db = JetDatabase::open(f, "");
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable(table));
  return checkIndexes(*t);
}

TEST(IndexWalk, CompositeIndexThroughInsertsDeletesAndUpdates) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  std::mt19937 rng(42);
  size_t indexes = 0;
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
    indexes = t->indexWriters().size();
    ASSERT_GE(indexes, 1u);
    db->begin();
    for (int i = 0; i < 4000; ++i) {
      Row r{Value::longInt(100000 + i), Value::text("agente " + std::to_string(rng() % 500)),
            Value::text(std::to_string(rng() % 97) + " Ü 数")};
      t->insert(r);
    }
    db->commit();
    IndexReport r = checkIndexes(*t);
    ASSERT_TRUE(r.ok()) << r.problems.front();
    EXPECT_EQ(r.entries, 4512 * indexes);
    // Half of the rows, chosen at random.
    auto ids = rowIds(*t);
    std::shuffle(ids.begin(), ids.end(), rng);
    db->begin();
    for (size_t i = 0; i < ids.size() / 2; ++i) t->remove(ids[i]);
    db->commit();
    r = checkIndexes(*t);
    ASSERT_TRUE(r.ok()) << r.problems.front();
    EXPECT_EQ(r.rows, 2256u);
    // Keys that move across the tree.
    db->begin();
    for (size_t i = ids.size() / 2; i < ids.size(); i += 7) {
      Row row = t->fetch(ids[i]);
      row[0] = Value::longInt(900000 + static_cast<int32_t>(i));
      row[1] = Value::text("zz " + std::to_string(i));
      t->update(ids[i], row);
    }
    db->commit();
  }
  IndexReport r = checkTable(f, "Table1");
  EXPECT_TRUE(r.ok()) << r.problems.front();
  EXPECT_EQ(r.rows, 2256u);
  EXPECT_EQ(r.entries, 2256 * indexes);
  expectReadersAgree(f, "Table1");
}

TEST(IndexWalk, EveryRowDeletedThenRefilled) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/bigIndexTestV2000.mdb");
  auto db = JetDatabase::open(f, "", false);
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
  for (int round = 0; round < 2; ++round) {
    db->begin();
    for (int i = 0; i < 1500; ++i) {
      Row r{Value::text(std::string(1 + i % 200, 'k') + std::to_string(i)),
            Value::text(std::to_string(i % 10))};
      t->insert(r);
    }
    db->commit();
    IndexReport r = checkIndexes(*t);
    ASSERT_TRUE(r.ok()) << r.problems.front();
    db->begin();
    for (RowId id : rowIds(*t)) t->remove(id);
    db->commit();
    r = checkIndexes(*t);
    ASSERT_TRUE(r.ok()) << r.problems.front();
    EXPECT_EQ(r.rows, 0u);
    EXPECT_EQ(r.entries, 0u);
  }
}

TEST(IndexWalk, NoticesMissingAndStrayEntries) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/indexTestV2000.mdb");
  auto db = JetDatabase::open(f, "", false);
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
  ASSERT_TRUE(checkIndexes(*t).ok());
  auto& ix = *t->indexWriters().front();
  auto ids = rowIds(*t);
  Row row = t->fetch(ids[0]);
  auto key = ix.keyOf(row);
  ASSERT_TRUE(key);
  format::RowPointer at{static_cast<uint32_t>(ids[0] >> 8), static_cast<uint8_t>(ids[0] & 0xff)};
  db->begin();
  ix.remove(*key, at);  // the row stays: its entry is missing
  IndexReport r = checkIndexes(*t);
  EXPECT_FALSE(r.ok());
  ix.insert(*key, at);
  EXPECT_TRUE(checkIndexes(*t).ok());
  ix.insert(*key, format::RowPointer{at.page, 200});  // points at no row
  EXPECT_FALSE(checkIndexes(*t).ok());
  db->rollback();
  EXPECT_TRUE(checkIndexes(*t).ok());
  EXPECT_THROW(ix.remove(Bytes{0x7f, 0x01}, at), Error);
}

}  // namespace
}  // namespace jet::storage::testing
