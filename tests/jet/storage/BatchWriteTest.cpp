// Rows written and removed in batches: the same file contents as one row at a
// time (indexes, counters, long values, moved rows), and a batch that fails
// anywhere leaves nothing of itself behind.
#include <gtest/gtest.h>

#include <random>

#include "jet/core/Error.h"
#include "jet/sql/Session.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

std::vector<RowId> everyOther(Table& t) {
  std::vector<RowId> ids = rowIds(t), picked;
  for (size_t i = 0; i < ids.size(); i += 2) picked.push_back(ids[i]);
  return picked;
}

TEST(BatchWrite, RemovingABatchEqualsRemovingOneByOne) {
  QM_REQUIRE_TESTDATA();
  struct Case {
    const char* file;
    const char* table;
  };
  // Composite and ignore-nulls indexes, moved rows and long values among them.
  for (Case c : {Case{"jet4/indexTestV2000.mdb", "Table1"}, Case{"jet4/compIndexTestV2000.mdb", "Table1"},
                 Case{"jet4/testIndexPropertiesV2000.mdb", "TableIgnoreNulls2"},
                 Case{"jet4/overflowTestV2000.mdb", "Table1"}, Case{"jet4/dups_v2000.mdb", "Customers"}}) {
    SCOPED_TRACE(c.file);
    TempFolder tmp;
    std::string batched = tmp.copy(c.file), single = tmp.copy(c.file, "single.mdb");
    {
      auto db = JetDatabase::open(batched, "", false);
      auto t = db->openTable(c.table);
      auto ids = everyOther(*t);
      // In no particular order: the table sorts them itself.
      std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
      t->removeRows(ids);
    }
    {
      auto db = JetDatabase::open(single, "", false);
      auto t = db->openTable(c.table);
      db->begin();
      for (RowId id : everyOther(*t)) t->remove(id);
      db->commit();
    }
    auto rows = ourRows(batched, c.table);
    EXPECT_EQ(rows, ourRows(single, c.table));
    EXPECT_EQ(JetDatabase::open(batched, "")->openTable(c.table)->rowCount(), rows.size());
    expectIndexesValid(batched);
    expectReadersAgree(batched, c.table);
  }
}

TEST(BatchWrite, ABatchRemovesEveryRowOfAManyLeafIndex) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    std::vector<Row> rows;
    for (int i = 0; i < 3000; ++i)
      rows.push_back({Value::longInt(200000 + i), Value::text("agente " + std::to_string(i % 311)),
                      Value::text(std::to_string(i % 89) + " Ü 数")});
    t->insertRows(rows);
    auto ids = rowIds(*t);
    ASSERT_EQ(ids.size(), 3512u);
    t->removeRows(ids);
  }
  EXPECT_TRUE(ourRows(f, "Table1").empty());
  expectIndexesValid(f);
  expectReadersAgree(f, "Table1");
}

TEST(BatchWrite, ARepeatedOrStaleRowIdRefusesTheWholeBatch) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Customers");
    auto ids = rowIds(*t);
    ASSERT_GE(ids.size(), 3u);
    std::vector<RowId> repeated{ids[0], ids[1], ids[0]};
    try {
      t->removeRows(repeated);
      FAIL() << "a repeated row was removed";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Invalid);
    }
    // A row id past the table's pages, after good ones.
    std::vector<RowId> stale{ids[0], ids[1], RowId{0xFFFFFF} << 8};
    EXPECT_THROW(t->removeRows(stale), Error);
  }
  EXPECT_EQ(readBytes(f), original);
}

TEST(BatchWrite, InsertedBatchFillsPagesAndKeepsIndexesAndCounters) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  size_t before = ourRows(f, "Customers").size();
  int32_t firstId = 0;
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Customers");
    const TableSchema& s = t->schema();
    std::vector<Row> rows;
    for (int i = 0; i < 1500; ++i) {
      Row r(s.columns.size());
      for (size_t c = 0; c < s.columns.size(); ++c) {
        if (s.columns[c].autoNumber) continue;  // Null asks for the next number
        if (s.columns[c].type == DataType::Text)
          r[c] = Value::text("批量 " + std::to_string(i * 7 + static_cast<int>(c)));
      }
      rows.push_back(std::move(r));
    }
    t->insertRows(rows);
    int id = s.findColumn("ID");
    ASSERT_GE(id, 0);
    // Auto-numbers come back in the rows, one after the other.
    firstId = static_cast<int32_t>(rows.front()[static_cast<size_t>(id)].asInt());
    EXPECT_EQ(rows.back()[static_cast<size_t>(id)].asInt(), firstId + 1499);
  }
  EXPECT_EQ(ourRows(f, "Customers").size(), before + 1500);
  EXPECT_EQ(JetDatabase::open(f, "")->openTable("Customers")->rowCount(), before + 1500);
  expectIndexesValid(f);
  expectReadersAgree(f, "Customers");
}

TEST(BatchWrite, ADuplicateKeyInsideABatchLeavesNothingOfIt) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Customers");
    const TableSchema& s = t->schema();
    const size_t id = static_cast<size_t>(s.findColumn("ID"));
    const size_t name = static_cast<size_t>(s.findColumn("Name"));
    Value taken = t->fetch(rowIds(*t).front())[id];
    std::vector<Row> rows;
    for (int i = 0; i < 600; ++i) {
      Row r(s.columns.size());
      r[id] = Value::longInt(10000 + i);
      r[name] = Value::text("neu " + std::to_string(i));
      rows.push_back(std::move(r));
    }
    rows.back()[id] = taken;  // the primary key already has it
    try {
      t->insertRows(rows);
      FAIL() << "a duplicate key was inserted";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::DuplicateKey);
    }
  }
  EXPECT_EQ(readBytes(f), original);
}

TEST(BatchWrite, StatementsReadingFewColumnsAgreeWithWholeRows) {
  // Grouping and the keep-lowest removal decode only the columns they name;
  // their results must equal what the whole rows say.
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto db = JetDatabase::open(f, "", false);
  jet::sql::Session session(*db);
  auto all = session.execute("SELECT ID, Name, Amount FROM Customers WHERE True").result.rows;
  std::map<std::string, std::pair<int64_t, int>> lowest;  // folded name -> lowest ID, count
  for (const Row& r : all) {
    std::string name = r[1].isNull() ? "<null>" : foldCase(r[1].asText());
    auto [it, fresh] = lowest.try_emplace(name, r[0].asInt(), 0);
    it->second.first = std::min(it->second.first, r[0].asInt());
    ++it->second.second;
  }
  auto groups = session.execute("SELECT Name, Count(*) FROM Customers GROUP BY Name").result.rows;
  ASSERT_EQ(groups.size(), lowest.size());
  for (const Row& g : groups) {
    std::string name = g[0].isNull() ? "<null>" : foldCase(g[0].asText());
    EXPECT_EQ(g[1].asInt(), lowest.at(name).second) << name;
  }
  auto removed = session.execute(
      "Delete from [Customers] Where ID Not In (Select min(ID) From [Customers] Group By Name)");
  EXPECT_EQ(removed.rowsAffected, static_cast<int64_t>(all.size() - lowest.size()));
  std::vector<int64_t> left, expected;
  for (const Row& r : session.execute("SELECT ID FROM Customers").result.rows) left.push_back(r[0].asInt());
  for (const auto& [name, v] : lowest) expected.push_back(v.first);
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
  db.reset();
  expectIndexesValid(f);
  expectReadersAgree(f, "Customers");
}

}  // namespace
}  // namespace jet::storage::testing
