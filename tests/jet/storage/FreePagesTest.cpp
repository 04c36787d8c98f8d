// Free pages: the file's map of them (page 1, row 0) as Access keeps it, the
// pages a dropped table gives back, and new pages taken from those before
// the file grows. Every file written here is checked for pages owned twice
// or owned yet marked free, and read back by the independent readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/FreePageMap.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/UsageMap.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "jet/storage/NewDatabase.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

format::FreePageMap freeMapOf(JetDatabase& db) {
  return format::FreePageMap(db.pageFile(), format::Layout::forVersion(db.pageFile().version()));
}

// Rows of about `width` bytes, with a memo on every third (some past an LVAL page).
TableSchema wideTable(const std::string& name) {
  return TableSchema{name,
                     {{.name = "Id", .type = DataType::Long, .size = 4},
                      {.name = "Name", .type = DataType::Text, .size = 120},
                      {.name = "Note", .type = DataType::Memo}},
                     {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true},
                      {.name = "ByName", .columns = {{1, true}}}}};
}

Row wideRow(int i) {
  std::string note;
  if (i % 3 == 0)
    note = std::string(static_cast<size_t>(i % 11 == 0 ? 5000 : 300), static_cast<char>('a' + i % 26));
  return {Value::longInt(i), Value::text("名称 " + std::to_string(i * 7919 % 100003) + std::string(60, 'x')),
          note.empty() ? Value() : Value::memo(note)};
}

void fill(JetDatabase& db, const std::string& table, int from, int to) {
  auto t = db.openTable(table);
  ASSERT_TRUE(t);
  db.begin();
  for (int i = from; i < to; ++i) {
    Row r = wideRow(i);
    t->insert(r);
  }
  db.commit();
}

// A new file holding `rows` rows in Wide and a few in Small.
void makeFile(const std::string& path, int rows) {
  auto at = std::make_shared<int>(0);
  auto small = std::make_shared<int>(0);
  std::vector<NewTable> tables;
  tables.push_back({wideTable("Wide"), [=](Row& r) {
                      if (*at >= rows) return false;
                      r = wideRow((*at)++);
                      return true;
                    }});
  tables.push_back({wideTable("Small"), [=](Row& r) {
                      if (*small >= 20) return false;
                      r = wideRow((*small)++);
                      return true;
                    }});
  writeNewDatabase(path, std::move(tables));
}

std::set<uint32_t> pagesOf(JetDatabase& db, const std::string& table) {
  std::set<uint32_t> pages;
  for (const auto& [page, owners] : testing::pageOwners(db).owners)
    if (owners.front() == table) pages.insert(page);
  return pages;
}

TEST(FreePageMap, OnAccessFilesThePagesItCallsFreeBelongToNoTable) {
  QM_REQUIRE_TESTDATA();
  int freeSeen = 0;
  for (const auto& sample : testing::allSamples()) {
    if (sample.rfind("jet4/", 0) != 0) continue;
    SCOPED_TRACE(sample);
    auto db = JetDatabase::open((testing::mdbDir() / sample).string(), testing::passwordOf(sample));
    format::FreePageMap map = freeMapOf(*db);
    ASSERT_TRUE(map.isWindow());
    testing::PageOwners owners = testing::pageOwners(*db);
    EXPECT_TRUE(owners.problems.empty()) << owners.problems.front();
    for (uint32_t p = 0; p < db->pageFile().pageCount(); ++p) {
      if (!map.isFree(p)) continue;
      ++freeSeen;
      EXPECT_GE(p, format::kFirstFreeablePage);
      auto owner = owners.owners.find(p);
      EXPECT_TRUE(owner == owners.owners.end())
          << "page " << p << " is free yet owned by " << owner->second.front();
    }
    // Past the end of the file every page is free.
    EXPECT_TRUE(map.isFree(db->pageFile().pageCount()));
  }
  EXPECT_GT(freeSeen, 20);  // the samples do have free pages inside the file
}

TEST(FreePageMap, NewFilesHaveOneAndNoPageOfThemIsFree) {
  TempFolder dir;
  for (int rows : {0, 12000}) {
    SCOPED_TRACE(rows);
    std::string path = (dir.path() / ("new" + std::to_string(rows) + ".mdb")).string();
    makeFile(path, rows);
    auto db = JetDatabase::open(path, "");
    const uint32_t count = db->pageFile().pageCount();
    format::FreePageMap map = freeMapOf(*db);
    ASSERT_TRUE(map.isWindow());
    EXPECT_TRUE(map.covers(count - 1));
    EXPECT_FALSE(map.firstFree(0, count).has_value());
    EXPECT_TRUE(map.isFree(count));
    if (rows > 0) {
      EXPECT_GT(count, 512u);  // the window has moved up with the file
      EXPECT_GT(map.start(), 0u);
    }
    auto catalog = std::dynamic_pointer_cast<JetTable>(db->openTable("MSysObjects"));
    ASSERT_TRUE(catalog);
    EXPECT_NE(catalog->definition().usedPagesPointer, format::kFreePageMapPointer);
    db.reset();
    testing::expectIndexesValid(path);
    testing::expectReadersAgree(path, "Small");
  }
}

// A table dropped inside the map's window: its pages are marked free there
// and a table made in a later session takes them, so the file keeps its size.
TEST(FreePageMap, DroppedPagesInTheWindowAreTakenAgainInALaterSession) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  std::set<uint32_t> first;
  {
    auto db = JetDatabase::open(path, "", false);
    db->createTable(wideTable("First"));
    fill(*db, "First", 0, 300);
    db->createTable(wideTable("After"));  // keeps First's pages off the end of the file
    fill(*db, "After", 0, 5);
    first = pagesOf(*db, "First");
  }
  const auto size = fs::file_size(path);
  std::set<uint32_t> freed;
  {
    auto db = JetDatabase::open(path, "", false);
    db->dropTable("First");
    format::FreePageMap map = freeMapOf(*db);
    for (uint32_t p : first) EXPECT_TRUE(map.isFree(p)) << p;
    for (uint32_t p = 0; p < db->pageFile().pageCount(); ++p)
      if (map.isFree(p)) freed.insert(p);
  }
  EXPECT_EQ(fs::file_size(path), size);
  testing::expectIndexesValid(path);
  {
    auto db = JetDatabase::open(path, "", false);
    db->createTable(wideTable("Second"));
    fill(*db, "Second", 1000, 1300);
    // Only free pages were taken, and the same rows needed no more of them.
    std::set<uint32_t> second = pagesOf(*db, "Second");
    for (uint32_t p : second) EXPECT_EQ(freed.count(p), 1u) << p;
  }
  EXPECT_EQ(fs::file_size(path), size);
  testing::expectIndexesValid(path);
  testing::expectReadersAgree(path, "Second");
  testing::expectReadersAgree(path, "After");
  testing::expectReadersAgree(path, "Customers");
}

// Past the window, a dropped table's pages serve the rest of the session;
// free pages at the end of the file are cut off.
TEST(FreePageMap, BeyondTheWindowPagesServeTheSessionAndTheFreeTailIsCut) {
  TempFolder dir;
  std::string path = (dir.path() / "big.mdb").string();
  makeFile(path, 6000);
  const auto size = fs::file_size(path);
  {
    auto db = JetDatabase::open(path, "", false);
    std::set<uint32_t> wide = pagesOf(*db, "Wide");
    ASSERT_LT(*wide.begin(), freeMapOf(*db).start());
    db->dropTable("Wide");
    EXPECT_EQ(fs::file_size(path), size);  // Small's pages lie after Wide's
    std::set<uint32_t> blank;              // what the drop gave back: Wide's pages and its long values'
    for (uint32_t p = format::kFirstFreeablePage; p < db->pageFile().pageCount(); ++p) {
      auto page = db->pageFile().read(p);
      if (std::all_of(page->begin(), page->end(), [](uint8_t b) { return b == 0; })) blank.insert(p);
    }
    EXPECT_TRUE(std::includes(blank.begin(), blank.end(), wide.begin(), wide.end()));
    const uint32_t end = db->pageFile().pageCount();
    db->createTable(wideTable("Again"));
    fill(*db, "Again", 0, 6000);
    // Below the old end only given-back pages were taken; row by row
    // inserts split index pages, so a little more room is fair.
    for (uint32_t p : pagesOf(*db, "Again")) {
      if (p < end) {
        EXPECT_EQ(blank.count(p), 1u) << p;
      }
    }
    EXPECT_LE(fs::file_size(path), size + size / 10);
    // A table made at the end and dropped takes its pages with it.
    const auto before = fs::file_size(path);
    db->createTable(wideTable("Tail"));
    fill(*db, "Tail", 0, 2000);
    EXPECT_GT(fs::file_size(path), before);
    db->dropTable("Tail");
    EXPECT_EQ(fs::file_size(path), before);
  }
  testing::expectIndexesValid(path);
  testing::expectReadersAgree(path, "Again");
  testing::expectReadersAgree(path, "Small");
}

// A drop rolled back gives nothing back: its pages are the table's again
// and the next table takes none of them.
TEST(FreePageMap, ADropRolledBackFreesNothing) {
  TempFolder dir;
  std::string path = (dir.path() / "rollback.mdb").string();
  makeFile(path, 3000);
  const auto original = testing::readBytes(path);
  {
    auto db = JetDatabase::open(path, "", false);
    std::set<uint32_t> wide = pagesOf(*db, "Wide");
    db->begin();
    db->dropTable("Wide");
    db->rollback();
    db->createTable(wideTable("Later"));
    fill(*db, "Later", 0, 500);
    std::set<uint32_t> later = pagesOf(*db, "Later");
    for (uint32_t p : later) EXPECT_EQ(wide.count(p), 0u) << p;
    db->dropTable("Later");
  }
  testing::expectIndexesValid(path);
  testing::expectReadersAgree(path, "Wide");
  EXPECT_EQ(testing::ourRows(path, "Wide").size(), 3000u);
  EXPECT_EQ(fs::file_size(path), original.size());
}

// The keyless rebuild (copy out the distinct rows, drop, copy back, drop) in
// one transaction leaves the file no larger, memos included.
TEST(FreePageMap, KeylessRebuildKeepsTheFileSize) {
  TempFolder dir;
  std::string path = (dir.path() / "rebuild.mdb").string();
  auto at = std::make_shared<int>(0);
  std::vector<NewTable> tables;
  TableSchema loose{
      "Loose",
      {{.name = "Name", .type = DataType::Text, .size = 60}, {.name = "Note", .type = DataType::Memo}},
      {}};
  // Every fourth row repeats an earlier one.
  auto keyOf = [](int i) { return i % 4 == 3 ? i / 2 : i; };
  std::set<int> distinct;
  for (int i = 0; i < 4000; ++i) distinct.insert(keyOf(i));
  tables.push_back({loose, [=](Row& r) {
                      if (*at >= 4000) return false;
                      int k = keyOf((*at)++);
                      std::string note(static_cast<size_t>(k % 9 == 0 ? 4500 : 200),
                                       static_cast<char>('a' + k % 26));
                      r = {Value::text("客户 " + std::to_string(k)), Value::memo(note)};
                      return true;
                    }});
  writeNewDatabase(path, std::move(tables));
  const auto size = fs::file_size(path);
  {
    auto db = JetDatabase::open(path, "", false);
    sql::Session session(*db);
    for (const char* s :
         {"BEGIN TRANSACTION", "SELECT DISTINCT * INTO [Loose_tmp] FROM [Loose]", "DROP TABLE [Loose]",
          "SELECT * INTO [Loose] FROM [Loose_tmp]", "DROP TABLE [Loose_tmp]", "COMMIT"})
      session.execute(s);
  }
  EXPECT_LE(fs::file_size(path), size);
  EXPECT_EQ(testing::ourRows(path, "Loose").size(), distinct.size());
  testing::expectIndexesValid(path);
  testing::expectReadersAgree(path, "Loose");
}

// Files our first writer made keep the catalogue's page map in row 0 of
// page 1. There that row is no map of free pages: no page is taken from it
// and none of its bits is cleared.
TEST(FreePageMap, WhereRowZeroIsTheCataloguesMapNoPageIsTakenFromIt) {
  TempFolder dir;
  std::string path = (dir.path() / "first.mdb").string();
  makeFile(path, 300);
  const format::Layout layout = format::Layout::forVersion(file::JetVersion::Jet4);
  {
    format::TableDefinition catalog;
    {
      auto db = JetDatabase::open(path, "");
      catalog = std::dynamic_pointer_cast<JetTable>(db->openTable("MSysObjects"))->definition();
    }
    auto f = file::PageFile::openForWriting(path);
    std::vector<uint32_t> chain;
    for (uint32_t p = catalog.page; p != 0; p = file::getU32(f->read(p)->data() + layout.tdefNextPageOffset))
      chain.push_back(p);
    f->begin();
    std::vector<uint8_t> row = format::readUsageMapRow(*f, layout, catalog.usedPagesPointer);
    f->write(1, format::DataPage::build(layout, 1, {row, std::vector<uint8_t>(row.size(), 0)}));
    catalog.usedPagesPointer = format::kFreePageMapPointer;
    auto pages =
        format::splitTableDefinition(format::encodeTableDefinition(catalog, layout, 1252), layout, chain);
    for (size_t i = 0; i < pages.size(); ++i) f->write(chain[i], pages[i]);
    f->commit();
  }
  std::vector<uint32_t> catalogPages;
  {
    auto db = JetDatabase::open(path, "");
    format::FreePageMap row = freeMapOf(*db);
    for (uint32_t p = 0; p < db->pageFile().pageCount(); ++p)
      if (row.isFree(p)) catalogPages.push_back(p);
  }
  ASSERT_FALSE(catalogPages.empty());
  {
    auto db = JetDatabase::open(path, "", false);
    db->createTable(wideTable("New"));
    fill(*db, "New", 0, 200);
    db->dropTable("Small");
    db->createTable(wideTable("Newer"));
    fill(*db, "Newer", 0, 200);
  }
  auto db = JetDatabase::open(path, "");
  format::FreePageMap row = freeMapOf(*db);
  for (uint32_t p : catalogPages) EXPECT_TRUE(row.isFree(p)) << p;
  testing::PageOwners owners = testing::pageOwners(*db);
  EXPECT_TRUE(owners.problems.empty());
  for (const auto& [page, names] : owners.owners) EXPECT_EQ(names.size(), 1u) << page << " " << names.front();
  for (const char* table : {"MSysObjects", "Wide", "New", "Newer"}) {
    auto t = std::dynamic_pointer_cast<JetTable>(db->openTable(table));
    ASSERT_TRUE(t) << table;
    IndexReport r = checkIndexes(*t);
    EXPECT_TRUE(r.ok()) << table << ": " << (r.problems.empty() ? "" : r.problems.front());
  }
  EXPECT_EQ(db->openTable("Small"), nullptr);
  db.reset();
  testing::expectReadersAgree(path, "New");
  testing::expectReadersAgree(path, "Newer");
  testing::expectReadersAgree(path, "Wide");
}

}  // namespace
}  // namespace jet::storage
