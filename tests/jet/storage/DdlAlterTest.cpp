// ALTER TABLE ADD/DROP COLUMN and CREATE/DROP INDEX on copies of the samples:
// a new COUNTER numbers a keyless table's rows 1..n in row order, a unique
// index over duplicates is refused and leaves nothing, every index checks out.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/storage/IndexCheck.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

std::vector<Row> rowsOf(Store& db, const std::string& name) {
  std::vector<Row> out;
  auto c = db.openTable(name)->scan();
  while (c->next()) out.push_back(c->row());
  return out;
}

void expectIndexesValid(Store& db, const std::string& name) {
  auto t = db.openTable(name);
  IndexReport r = checkIndexes(*dynamic_cast<JetTable*>(t.get()));
  EXPECT_TRUE(r.ok()) << name << ": " << (r.problems.empty() ? "" : r.problems.front());
}

// A keyless table with repeated rows, as the keyless rebuild meets it.
std::string keylessFile(TempFolder& dir) {
  std::string path = (dir.path() / "keyless.mdb").string();
  auto db = JetDatabase::create(path);
  db->createTable(TableSchema{"Visits",
                              {{.name = "Who", .type = DataType::Text, .size = 30, .compressedUnicode = true},
                               {.name = "Times", .type = DataType::Integer}},
                              {}});
  auto t = db->openTable("Visits");
  db->begin();
  for (int i = 0; i < 50; ++i) {
    Row r{Value::text("访客 " + std::to_string(i % 9)), Value::integer(static_cast<int16_t>(i % 4))};
    t->insert(r);
  }
  db->commit();
  return path;
}

TEST(DdlAddColumn, CounterNumbersExistingRowsInRowOrder) {
  TempFolder dir;
  std::string path = keylessFile(dir);
  std::vector<Row> before;
  {
    auto db = JetDatabase::open(path, "", false);
    before = rowsOf(*db, "Visits");
    db->addColumn("Visits", {.name = "ID", .type = DataType::Long, .autoNumber = true});
  }
  auto db = JetDatabase::open(path, "");
  auto after = rowsOf(*db, "Visits");
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    ASSERT_EQ(after[i].size(), 3u);
    EXPECT_EQ(after[i][0], before[i][0]);
    EXPECT_EQ(after[i][2], Value::longInt(static_cast<int32_t>(i + 1)));
  }
  EXPECT_TRUE(db->openTable("Visits")->schema().columns[2].autoNumber);
  expectIndexesValid(*db, "MSysObjects");
  if (std::system("mdb-export --version > /dev/null 2>&1") == 0) {
    std::string out = testing::runCommand("mdb-export " + testing::shellQuote(path) + " Visits | head -2");
    EXPECT_NE(out.find("Who,Times,ID"), std::string::npos) << out;
  }
}

TEST(DdlAddColumn, RefusalsChangeNothing) {
  TempFolder dir;
  std::string path = keylessFile(dir);
  auto db = JetDatabase::open(path, "", false);
  EXPECT_THROW(db->addColumn("Visits", {.name = "who", .type = DataType::Text}), StorageError);
  EXPECT_THROW(db->addColumn("Visits", {.name = "Must", .type = DataType::Long, .required = true}),
               StorageError);
  EXPECT_THROW(db->addColumn("Nowhere", {.name = "X", .type = DataType::Long}), StorageError);
  EXPECT_THROW(db->addColumn("MSysObjects", {.name = "X", .type = DataType::Long}), StorageError);
  EXPECT_EQ(db->openTable("Visits")->schema().columns.size(), 2u);
  EXPECT_EQ(rowsOf(*db, "Visits").size(), 50u);
}

TEST(DdlDropColumn, RowsKeepTheOtherFields) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  auto db = JetDatabase::open(path, "", false);
  auto schema = db->openTable("Customers")->schema();
  auto before = rowsOf(*db, "Customers");
  // A field outside every index.
  int victim = -1;
  for (size_t c = 0; c < schema.columns.size() && victim < 0; ++c) {
    bool indexed = false;
    for (const auto& ix : schema.indexes)
      for (const auto& ic : ix.columns) indexed = indexed || ic.column == static_cast<int>(c);
    if (!indexed) victim = static_cast<int>(c);
  }
  ASSERT_GE(victim, 0);
  db->dropColumn("Customers", schema.columns[static_cast<size_t>(victim)].name);
  db.reset();
  db = JetDatabase::open(path, "");
  auto after = rowsOf(*db, "Customers");
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    Row expected = before[i];
    expected.erase(expected.begin() + victim);
    EXPECT_EQ(after[i], expected) << i;
  }
  EXPECT_EQ(db->openTable("Customers")->schema().indexes.size(), schema.indexes.size());
  expectIndexesValid(*db, "Customers");
  EXPECT_THROW(JetDatabase::open(path, "", false)->dropColumn("Customers", "NoSuchField"), StorageError);
}

TEST(DdlCreateIndex, UniqueOverDuplicatesIsRefusedAndLeavesNothing) {
  TempFolder dir;
  std::string path = keylessFile(dir);
  auto size = fs::file_size(path);
  {
    auto db = JetDatabase::open(path, "", false);
    IndexDef unique{.name = "UWho", .columns = {{0, true}}, .unique = true};
    try {
      db->createIndex("Visits", unique);
      FAIL() << "duplicates accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::DuplicateKey);
    }
    EXPECT_EQ(db->transactionDepth(), 0);
  }
  auto db = JetDatabase::open(path, "");
  EXPECT_TRUE(db->openTable("Visits")->schema().indexes.empty());
  EXPECT_EQ(rowsOf(*db, "Visits").size(), 50u);
  for (const auto& o : db->objects()) EXPECT_EQ(o.name.find("~TMP"), std::string::npos) << o.name;
  EXPECT_EQ(fs::file_size(path), size);
}

TEST(DdlCreateIndex, PlainIndexThenDropIt) {
  TempFolder dir;
  std::string path = keylessFile(dir);
  {
    auto db = JetDatabase::open(path, "", false);
    db->createIndex("Visits", {.name = "ByWho", .columns = {{0, true}, {1, false}}});
    EXPECT_THROW(db->createIndex("Visits", {.name = "bywho", .columns = {{1, true}}}), StorageError);
  }
  {
    auto db = JetDatabase::open(path, "");
    auto s = db->openTable("Visits")->schema();
    ASSERT_EQ(s.indexes.size(), 1u);
    EXPECT_EQ(s.indexes[0].name, "ByWho");
    EXPECT_FALSE(s.indexes[0].columns[1].ascending);
    expectIndexesValid(*db, "Visits");
    EXPECT_EQ(rowsOf(*db, "Visits").size(), 50u);
  }
  {
    auto db = JetDatabase::open(path, "", false);
    EXPECT_THROW(db->dropIndex("Visits", "Nope"), StorageError);
    db->dropIndex("Visits", "ByWho");
  }
  auto db = JetDatabase::open(path, "");
  EXPECT_TRUE(db->openTable("Visits")->schema().indexes.empty());
  EXPECT_EQ(rowsOf(*db, "Visits").size(), 50u);
}

}  // namespace
}  // namespace jet::storage
