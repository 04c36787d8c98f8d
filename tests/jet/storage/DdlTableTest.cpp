// CREATE TABLE and DROP TABLE on Jet 4 files: on copies of the samples and
// on new files, read back by our reader, mdbtools and mdb-reader; refusals
// change nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/storage/IndexCheck.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

bool haveMdbTools() {
  return std::system("mdb-tables --version > /dev/null 2>&1") == 0;
}
bool haveMdbReader() {
  return fs::exists(fs::path(QM_SOURCE_DIR) / "tests/readers/node_modules/mdb-reader") &&
         std::system("node --version > /dev/null 2>&1") == 0;
}
std::string dumpOf(const std::string& file) {
  return testing::runCommand("node " +
                             testing::shellQuote(std::string(QM_SOURCE_DIR) + "/tests/readers/dump.mjs") +
                             " " + testing::shellQuote(file) + " 2>&1");
}

TableSchema orders() {
  TableSchema s;
  s.name = "订单";
  s.columns = {{.name = "ID", .type = DataType::Long, .autoNumber = true, .required = true},
               {.name = "Customer", .type = DataType::Text, .size = 40, .compressedUnicode = true},
               {.name = "Amount", .type = DataType::Currency},
               {.name = "Placed", .type = DataType::DateTime},
               {.name = "Paid", .type = DataType::Boolean},
               {.name = "Notes", .type = DataType::Memo, .compressedUnicode = true}};
  s.indexes = {
      {.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true, .required = true},
      {.name = "ByCustomer", .columns = {{1, true}}}};
  return s;
}

size_t countRows(Table& t) {
  size_t n = 0;
  auto c = t.scan();
  while (c->next()) ++n;
  return n;
}

bool listed(JetDatabase& db, const std::string& name) {
  for (const auto& o : db.objects())
    if (o.name == name) return true;
  return false;
}

void createAndFill(const std::string& path, int rows) {
  auto db = JetDatabase::open(path, "", false);
  db->createTable(orders());
  auto t = db->openTable("订单");
  ASSERT_NE(t, nullptr);
  db->begin();
  for (int i = 0; i < rows; ++i) {
    Row r{Value(),
          Value::text("客户 " + std::to_string(i % 7)),
          Value::currency(i * 10000),
          Value::dateTime(40000 + i),
          Value::boolean(i % 2),
          i % 3 ? Value::memo(std::string(static_cast<size_t>(i) * 40, 'm')) : Value()};
    t->insert(r);
  }
  db->commit();
}

TEST(DdlCreateTable, OnASampleCopyReadsBackEverywhere) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  createAndFill(path, 120);
  auto db = JetDatabase::open(path, "");
  ASSERT_TRUE(listed(*db, "订单"));
  auto t = db->openTable("订单");
  EXPECT_EQ(t->rowCount(), 120u);
  EXPECT_EQ(countRows(*t), 120u);
  EXPECT_EQ(t->schema().indexes.size(), 2u);
  auto c = t->scan();
  ASSERT_TRUE(c->next());
  EXPECT_EQ(c->row()[0], Value::longInt(1));
  EXPECT_EQ(c->row()[1], Value::text("客户 0"));
  // Both new indexes hold every row, in order; the catalogue's indexes took the new row.
  auto* jt = dynamic_cast<JetTable*>(t.get());
  ASSERT_NE(jt, nullptr);
  IndexReport report = checkIndexes(*jt);
  EXPECT_TRUE(report.ok()) << (report.problems.empty() ? "" : report.problems.front());
  auto catalog = db->openTable("MSysObjects");
  IndexReport catalogReport = checkIndexes(*dynamic_cast<JetTable*>(catalog.get()));
  EXPECT_TRUE(catalogReport.ok()) << (catalogReport.problems.empty() ? "" : catalogReport.problems.front());
  // The sample's own tables are untouched.
  EXPECT_EQ(countRows(*db->openTable("Customers")), 11u);
  if (haveMdbTools()) {
    std::string tables = testing::runCommand("mdb-tables -1 " + testing::shellQuote(path));
    EXPECT_NE(tables.find("订单"), std::string::npos) << tables;
    std::string lines = testing::runCommand("mdb-export " + testing::shellQuote(path) + " '订单' | wc -l");
    EXPECT_EQ(std::stoi(lines), 121);
  }
  if (haveMdbReader()) {
    std::string dump = dumpOf(path);
    EXPECT_NE(dump.find("\"table\":\"订单\",\"rowCount\":120"), std::string::npos) << dump.substr(0, 400);
  }
}

TEST(DdlCreateTable, OnANewDatabase) {
  TempFolder dir;
  std::string path = (dir.path() / "new.mdb").string();
  JetDatabase::create(path);
  createAndFill(path, 40);
  auto db = JetDatabase::open(path, "");
  EXPECT_EQ(countRows(*db->openTable("订单")), 40u);
  for (const char* name : {"订单", "MSysObjects"}) {
    auto table = db->openTable(name);
    IndexReport report = checkIndexes(*dynamic_cast<JetTable*>(table.get()));
    EXPECT_TRUE(report.ok()) << name << ": " << (report.problems.empty() ? "" : report.problems.front());
  }
  if (haveMdbTools()) {
    std::string lines = testing::runCommand("mdb-export " + testing::shellQuote(path) + " '订单' | wc -l");
    EXPECT_EQ(std::stoi(lines), 41);
  }
}

TEST(DdlCreateTable, ExistingNameAndBadSchemaChangeNothing) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  auto before = fs::file_size(path);
  auto db = JetDatabase::open(path, "", false);
  TableSchema s = orders();
  s.name = "customers";  // names compare without case
  try {
    db->createTable(s);
    FAIL();
  } catch (const StorageError& e) {
    EXPECT_EQ(e.code(), ErrorCode::TableExists);
  }
  s.name = "Bad";
  s.columns.push_back(s.columns[1]);  // a repeated field name
  EXPECT_THROW(db->createTable(s), StorageError);
  EXPECT_EQ(db->transactionDepth(), 0);
  EXPECT_FALSE(listed(*db, "Bad"));
  db.reset();
  EXPECT_EQ(fs::file_size(path), before);
}

TEST(DdlDropTable, GoneFromAllReadersAndItsPagesBlanked) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  createAndFill(path, 60);
  {
    auto db = JetDatabase::open(path, "", false);
    auto* t = dynamic_cast<JetTable*>(db->openTable("订单").get());
    ASSERT_NE(t, nullptr);
    db->dropTable("订单");
    EXPECT_FALSE(listed(*db, "订单"));
    EXPECT_EQ(db->openTable("订单"), nullptr);
  }
  {
    auto db = JetDatabase::open(path, "");
    EXPECT_FALSE(listed(*db, "订单"));
    EXPECT_EQ(countRows(*db->openTable("Customers")), 11u);
    EXPECT_EQ(countRows(*db->openTable("Tags")), 3u);
  }
  if (haveMdbTools()) {
    std::string tables = testing::runCommand("mdb-tables -1 " + testing::shellQuote(path));
    EXPECT_EQ(tables.find("订单"), std::string::npos) << tables;
    EXPECT_NE(tables.find("Customers"), std::string::npos) << tables;
  }
  if (haveMdbReader()) {
    std::string dump = dumpOf(path);
    EXPECT_EQ(dump.find("订单"), std::string::npos);
    EXPECT_NE(dump.find("\"table\":\"Customers\""), std::string::npos) << dump.substr(0, 300);
  }
}

TEST(DdlDropTable, DroppedPagesHoldNothingOrAreCutOff) {
  TempFolder dir;
  std::string path = (dir.path() / "new.mdb").string();
  JetDatabase::create(path);
  createAndFill(path, 30);
  std::vector<uint32_t> pages;
  {
    auto db = JetDatabase::open(path, "", false);
    auto table = db->openTable("订单");
    auto* t = dynamic_cast<JetTable*>(table.get());
    pages.push_back(t->definition().page);
    for (const auto& phys : t->definition().physicalIndexes) pages.push_back(phys.firstPage);
    table.reset();
    db->dropTable("订单");
  }
  auto db = JetDatabase::open(path, "");
  for (uint32_t p : pages) {
    if (p >= db->pageFile().pageCount()) continue;  // the table was the end of the file
    auto page = db->pageFile().read(p);
    EXPECT_TRUE(std::all_of(page->begin(), page->end(), [](uint8_t b) { return b == 0; })) << p;
  }
}

TEST(DdlDropTable, RefusesSystemTablesQueriesAndUnknownNames) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  auto before = fs::file_size(path);
  auto db = JetDatabase::open(path, "", false);
  try {
    db->dropTable("MSysObjects");
    FAIL();
  } catch (const StorageError& e) {
    EXPECT_NE(std::string(e.what()).find("MSysObjects"), std::string::npos);
  }
  try {
    db->dropTable("qryActiveCustomers");
    FAIL();
  } catch (const StorageError& e) {
    EXPECT_NE(std::string(e.what()).find("查询"), std::string::npos);
  }
  try {
    db->dropTable("NoSuchThing");
    FAIL();
  } catch (const StorageError& e) {
    EXPECT_EQ(e.code(), ErrorCode::NoSuchTable);
  }
  EXPECT_TRUE(listed(*db, "qryActiveCustomers"));
  db.reset();
  EXPECT_EQ(fs::file_size(path), before);
}

TEST(DdlDropTable, ThenCreateAgainUnderTheSameName) {
  QM_REQUIRE_TESTDATA();
  TempFolder dir;
  std::string path = dir.copy("jet4/dups_v2000.mdb");
  {
    auto db = JetDatabase::open(path, "", false);
    db->dropTable("Tags");
  }
  createAndFill(path, 5);
  {
    auto db = JetDatabase::open(path, "", false);
    TableSchema s = orders();
    s.name = "Tags";
    db->createTable(s);
    EXPECT_EQ(countRows(*db->openTable("Tags")), 0u);
  }
  if (haveMdbTools()) {
    std::string tables = testing::runCommand("mdb-tables -1 " + testing::shellQuote(path));
    EXPECT_NE(tables.find("Tags"), std::string::npos);
    EXPECT_NE(tables.find("订单"), std::string::npos);
  }
}

}  // namespace
}  // namespace jet::storage
