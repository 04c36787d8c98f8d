// Inserting and updating rows of real Access files: free space first, then
// new pages; every index kept (splits included); long values inline, on one
// LVAL page or chained; a row too large for its page moves behind a stub.
// Each result is read back by Quellmark, mdbtools and mdb-reader.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/format/DataPage.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

std::string word(std::mt19937& rng, size_t length) {
  static const std::vector<std::string> parts{"客户",   "Zoë", "Ångström", "delta", "数据库",
                                              "éclair", "x",   "Müller",   "q"};
  std::string s;
  while (utf8ToUtf16Size(s) < length) s += parts[rng() % parts.size()];
  return s;
}

TEST(WriteInsert, ThousandsOfRowsSplitEveryIndex) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/bigIndexTestV2000.mdb");
  std::mt19937 rng(7);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    ASSERT_FALSE(t->schema().indexes.empty());
    db->begin();
    for (int i = 0; i < 3000; ++i) {
      Row r{Value::text(word(rng, 5 + rng() % 60) + std::to_string(i)),
            Value::text(word(rng, 1 + rng() % 30))};
      t->insert(r);
    }
    db->commit();
    EXPECT_EQ(t->rowCount(), 3000u);
  }
  auto db = JetDatabase::open(f, "");
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
  IndexReport report = checkIndexes(*t);
  EXPECT_TRUE(report.ok()) << report.problems.front();
  EXPECT_EQ(report.rows, 3000u);
  EXPECT_EQ(report.entries, 3000u * report.indexes);
  EXPECT_GT(db->info().pageCount, 100u);
  expectReadersAgree(f, "Table1");
}

TEST(WriteInsert, LongValuesInlineOnOnePageAndChained) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  std::mt19937 rng(3);
  const std::vector<std::string> notes{"short", word(rng, 1500), std::string(3000, 'a') + "尾",
                                       word(rng, 30000), std::string(100000, 'z')};
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Customers");
    for (size_t i = 0; i < notes.size(); ++i) {
      Row r{Value::longInt(1000 + static_cast<int32_t>(i)),
            Value::text("名字 " + std::to_string(i)),
            Value::memo(notes[i]),
            Value::dbl(1.5),
            Value::dateTime(40000),
            Value::boolean(i % 2)};
      t->insert(r);
    }
  }
  auto db = JetDatabase::open(f, "");
  auto t = db->openTable("Customers");
  std::map<int64_t, std::string> seen;
  auto c = t->scan();
  while (c->next())
    if (c->row()[0].asInt() >= 1000) seen[c->row()[0].asInt()] = c->row()[2].asText();
  ASSERT_EQ(seen.size(), notes.size());
  for (size_t i = 0; i < notes.size(); ++i) EXPECT_EQ(seen[1000 + static_cast<int64_t>(i)], notes[i]) << i;
  expectReadersAgree(f, "Customers");
  expectIndexesValid(f);
}

TEST(WriteInsert, ADuplicateKeyIsRefusedAndNothingChanges) {
  QM_REQUIRE_TESTDATA();
  int tried = 0;
  for (const char* sample :
       {"jet4/indexTestV2000.mdb", "jet4/testIndexPropertiesV2000.mdb", "jet4/compIndexTestV2000.mdb"}) {
    TempFolder tmp;
    std::string f = tmp.copy(sample);
    auto original = readBytes(f);
    {
      auto db = JetDatabase::open(f, "", false);
      for (const auto& o : db->objects()) {
        if (o.kind != ObjectKind::Table) continue;
        auto t = db->openTable(o.name);
        bool unique = false;
        for (const auto& ix : t->schema().indexes) unique = unique || ix.unique;
        auto c = t->scan();
        if (!unique || !c->next()) continue;
        Row copy = c->row();
        c.reset();
        try {
          t->insert(copy);
          ADD_FAILURE() << o.name << ": a duplicate was accepted";
        } catch (const Error& e) {
          EXPECT_EQ(e.code(), ErrorCode::DuplicateKey) << e.what();
          ++tried;
        }
      }
    }
    EXPECT_EQ(readBytes(f), original) << sample;
  }
  EXPECT_GE(tried, 2);
}

TEST(WriteInsert, RequiredColumnsRefuseNullAndTextIsLimited) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/delTestV2000.mdb");
  auto db = JetDatabase::open(f, "", false);
  auto t = db->openTable("Table");
  Row tooLong{Value::text(std::string(51, 'x')), Value::null()};
  try {
    t->insert(tooLong);
    FAIL() << "51 characters went into a Text(50)";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::Invalid);
  }
  Row wrongCount{Value::text("a")};
  EXPECT_THROW(t->insert(wrongCount), Error);
  Row wrongType{Value::longInt(5), Value::null()};
  try {
    t->insert(wrongType);
    FAIL() << "a number went into a Text column";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::TypeMismatch);
  }
  EXPECT_EQ(rowIds(*t).size(), 2u);
}

std::vector<RowId> idsWithoutValues(Table& t) {
  std::vector<RowId> ids;
  t.forEachRowId([&](RowId id) { ids.push_back(id); });
  return ids;
}

// Rows of ~100 bytes until the table has two pages: the first page is full.
std::vector<RowId> fillTwoPages(Table& t, std::mt19937& rng) {
  for (int i = 0; i < 80; ++i) {
    Row r{Value::text("row " + std::to_string(i) + " " + std::string(90, 'a' + i % 26)),
          Value::text(word(rng, 5))};
    t.insert(r);
  }
  return rowIds(t);
}

TEST(WriteUpdate, InPlaceWhenItFitsMovedBehindAStubOtherwise) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/bigIndexTestV2000.mdb");
  std::mt19937 rng(11);
  RowId moved = 0;
  const std::string wide = word(rng, 250);  // CJK and accents: no compression, ~500 bytes
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
    auto ids = fillTwoPages(*t, rng);
    ASSERT_NE(ids.front() >> 8, ids.back() >> 8);
    // Smaller: stays.
    Row small{Value::text("tiny"), Value::text("t")};
    EXPECT_EQ(t->update(ids[1], small), ids[1]);
    // Larger than the first page's free space: moves.
    moved = ids[0];
    Row big{Value::text(wide), Value::text(wide)};
    EXPECT_EQ(t->update(moved, big), moved);
    const format::Layout layout;
    format::DataPage page(layout, db->pageFile().read(static_cast<uint32_t>(moved >> 8)),
                          static_cast<uint32_t>(moved >> 8));
    EXPECT_EQ(page.slot(moved & 0xff).state, format::RowState::OverflowStub);
    EXPECT_EQ(t->fetch(moved)[0].asText(), wide);
    // A moved row updates again and keeps its id.
    Row again{Value::text(wide + "!"), Value::text("x")};
    EXPECT_EQ(t->update(moved, again), moved);
    EXPECT_EQ(t->fetch(moved)[0].asText(), wide + "!");
    // The ids alone, read from the slot tables, are the scan's: the stub's, not its target's.
    const std::vector<RowId> all = idsWithoutValues(*t);
    EXPECT_EQ(all, rowIds(*t));
    EXPECT_EQ(std::count(all.begin(), all.end(), moved), 1);
    IndexReport r = checkIndexes(*t);
    EXPECT_TRUE(r.ok()) << r.problems.front();
  }
  expectReadersAgree(f, "Table1");
  expectIndexesValid(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    t->remove(moved);
    EXPECT_THROW(t->fetch(moved), Error);
    const std::vector<RowId> left = idsWithoutValues(*t);
    EXPECT_EQ(left, rowIds(*t));
    EXPECT_EQ(std::count(left.begin(), left.end(), moved), 0);
  }
  expectReadersAgree(f, "Table1");
  expectIndexesValid(f);
}

TEST(WriteUpdate, UniqueIndexesRefuseAnotherRowsKey) {
  QM_REQUIRE_TESTDATA();
  int tried = 0;
  for (const char* sample : {"jet4/indexTestV2000.mdb", "jet4/testIndexPropertiesV2000.mdb"}) {
    TempFolder tmp;
    std::string f = tmp.copy(sample);
    {
      auto db = JetDatabase::open(f, "", false);
      for (const auto& o : db->objects()) {
        if (o.kind != ObjectKind::Table) continue;
        auto t = db->openTable(o.name);
        bool unique = false;
        for (const auto& ix : t->schema().indexes) unique = unique || ix.unique;
        auto ids = rowIds(*t);
        if (!unique || ids.size() < 2) continue;
        Row second = t->fetch(ids[1]);
        try {
          t->update(ids[0], second);
          ADD_FAILURE() << o.name << ": took another row's key";
        } catch (const Error& e) {
          EXPECT_EQ(e.code(), ErrorCode::DuplicateKey);
          ++tried;
        }
        // Its own key is no clash.
        Row first = t->fetch(ids[0]);
        EXPECT_NO_THROW(t->update(ids[0], first));
      }
    }
    expectIndexesValid(f);
  }
  EXPECT_GE(tried, 2);
}

TEST(WriteUpdate, MemoGrowsFromInlineToAChainAndShrinksBack) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  std::mt19937 rng(5);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Customers");
    auto ids = rowIds(*t);
    for (size_t i = 0; i < ids.size(); ++i) {
      Row r = t->fetch(ids[i]);
      r[2] = Value::memo(i % 2 ? word(rng, 9000) : "kurz");
      t->update(ids[i], r);
    }
    for (size_t i = 0; i < ids.size(); i += 3) {
      Row r = t->fetch(ids[i]);
      r[2] = Value::null();
      t->update(ids[i], r);
    }
  }
  expectReadersAgree(f, "Customers");
  expectIndexesValid(f);
}

}  // namespace
}  // namespace jet::storage::testing
