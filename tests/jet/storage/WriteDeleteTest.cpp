// Deleting rows from real Access files: the rows are flagged as Access does,
// every index loses their entries, the row count follows, and Quellmark,
// mdbtools and mdb-reader all read exactly the remaining rows.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

// Deletes the rows whose position in a scan `pick` selects; returns how many remain.
template <class Pick>
size_t deleteWhere(const std::string& file, const std::string& table, Pick pick) {
  auto db = JetDatabase::open(file, "", false);
  auto t = db->openTable(table);
  std::vector<RowId> ids = rowIds(*t);
  db->begin();
  size_t kept = 0;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (pick(i, t->fetch(ids[i]))) {
      t->remove(ids[i]);
    } else {
      ++kept;
    }
  }
  db->commit();
  return kept;
}

TEST(WriteDelete, CustomersLoseTheChosenRowsOnly) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto before = ourRows(f, "Customers");
  size_t kept = deleteWhere(f, "Customers", [](size_t i, const Row&) { return i % 3 == 1; });
  auto after = ourRows(f, "Customers");
  ASSERT_EQ(after.size(), kept);
  EXPECT_LT(after.size(), before.size());
  for (const auto& r : after) EXPECT_TRUE(std::binary_search(before.begin(), before.end(), r));
  auto db = JetDatabase::open(f, "");
  EXPECT_EQ(db->openTable("Customers")->rowCount(), kept);
  expectReadersAgree(f, "Customers");
  expectReadersAgree(f, "Tags");
  expectIndexesValid(f);
}

TEST(WriteDelete, IndexHeavySamplesStayConsistent) {
  QM_REQUIRE_TESTDATA();
  struct Case {
    const char* file;
    const char* table;
  };
  for (Case c : {Case{"jet4/indexTestV2000.mdb", "Table1"}, Case{"jet4/indexTestV2000.mdb", "Table3"},
                 Case{"jet4/compIndexTestV2000.mdb", "Table1"}, Case{"jet4/delTestV2000.mdb", "Table"},
                 Case{"jet4/testIndexPropertiesV2000.mdb", "TableIgnoreNulls2"},
                 Case{"jet4/overflowTestV2000.mdb", "Table1"}}) {
    SCOPED_TRACE(c.file);
    TempFolder tmp;
    std::string f = tmp.copy(c.file);
    expectIndexesValid(f);  // the walker accepts what Access wrote
    size_t total = ourRows(f, c.table).size();
    size_t kept = deleteWhere(f, c.table, [](size_t i, const Row&) { return i % 2 == 0; });
    EXPECT_EQ(kept, total / 2);
    EXPECT_EQ(ourRows(f, c.table).size(), kept);
    expectIndexesValid(f);
    expectReadersAgree(f, c.table);
  }
}

TEST(WriteDelete, EveryRowOfACompositeIndexTable) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  EXPECT_EQ(deleteWhere(f, "Table1", [](size_t, const Row&) { return true; }), 0u);
  EXPECT_TRUE(ourRows(f, "Table1").empty());
  expectIndexesValid(f);
  expectReadersAgree(f, "Table1");
}

TEST(WriteDelete, RollbackLeavesTheFileByteForByte) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    db->begin();
    for (RowId id : rowIds(*t)) t->remove(id);
    db->rollback();
    EXPECT_EQ(rowIds(*db->openTable("Table1")).size(), 512u);
  }
  EXPECT_EQ(readBytes(f), original);
  EXPECT_FALSE(fs::exists(f + ".qmj"));
}

TEST(WriteDelete, NestedLevelUndoesOnlyItsOwnDeletes) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    auto ids = rowIds(*t);
    db->begin();
    for (size_t i = 0; i < 100; ++i) t->remove(ids[i]);
    db->begin();
    for (size_t i = 100; i < 300; ++i) t->remove(ids[i]);
    db->rollback();
    EXPECT_EQ(db->transactionDepth(), 1);
    db->commit();
  }
  EXPECT_EQ(ourRows(f, "Table1").size(), 412u);
  expectIndexesValid(f);
}

TEST(WriteDelete, ADeletedRowCannotBeDeletedAgain) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto db = JetDatabase::open(f, "", false);
  auto t = db->openTable("Customers");
  RowId id = rowIds(*t).front();
  t->remove(id);
  try {
    t->remove(id);
    FAIL() << "removed twice";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::Invalid);
  }
}

}  // namespace
}  // namespace jet::storage::testing
