// Opening Jet files: passwords, refusals of files that are not databases,
// the catalogue's object kinds, table handles, row ids and the read-only
// contract.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/Header.h"
#include "jet/storage/JetDatabase.h"

namespace jet::storage {
namespace {

using testing::mdbDir;
using testing::readBytes;

std::string sample(const std::string& rel) {
  return (mdbDir() / rel).string();
}

ErrorCode openBytesCode(std::vector<uint8_t> bytes, const std::string& password = "") {
  try {
    auto db = JetDatabase::openBytes(std::move(bytes), password);
    for (const auto& e : db->objects()) {
      if (e.kind == ObjectKind::View || e.kind == ObjectKind::Procedure) continue;
      auto c = db->openTable(e.name)->scan();
      while (c->next()) {
      }
    }
  } catch (const Error& e) {
    return e.code();
  }
  return ErrorCode::Invalid;  // stands for "opened and read without complaint"
}

const CatalogEntry* entry(const std::vector<CatalogEntry>& all, const std::string& name) {
  for (const auto& e : all) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

TEST(JetDatabasePassword, RightPasswordOpensWrongOneIsRefused) {
  QM_REQUIRE_TESTDATA();
  struct Case {
    const char* file;
    const char* password;
  } cases[] = {{"jet4/dups_v2000_pw.mdb", "Dup$Pw-2024"},
               {"jet4/V2000_with-password.mdb", "password"},
               {"jet4/V2003_with-password.mdb", "password"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    auto db = JetDatabase::open(sample(c.file), c.password);
    EXPECT_TRUE(db->info().hasPassword);
    EXPECT_NE(db->openTable(std::string(c.file).find("dups") != std::string::npos ? "Customers" : "Table1"),
              nullptr);
    for (const char* wrong : {"", "wrong", "PASSWORD", "Dup$Pw-2025"}) {
      try {
        JetDatabase::open(sample(c.file), wrong);
        ADD_FAILURE() << "opened with " << wrong;
      } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::BadPassword);
        EXPECT_EQ(std::string(e.what()), msg::badPassword());
      }
    }
  }
}

TEST(JetDatabasePassword, FileWithoutPasswordOpensWithAnyPassword) {
  QM_REQUIRE_TESTDATA();
  for (const char* pw : {"", "anything", "Dup$Pw-2024"}) {
    auto db = JetDatabase::open(sample("jet4/dups_v2000.mdb"), pw);
    EXPECT_FALSE(db->info().hasPassword);
    EXPECT_EQ(db->openTable("Customers")->rowCount(), 11u);
  }
  EXPECT_NO_THROW(JetDatabase::open(sample("jet3/V1997.mdb"), "x"));
}

TEST(JetDatabaseRefusal, MissingFileIsFileNotFound) {
  try {
    JetDatabase::open("/nonexistent/dir/none.mdb", "");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::FileNotFound);
  }
}

TEST(JetDatabaseRefusal, GarbageIsNotADatabase) {
  std::vector<uint8_t> zeros(4096 * 4, 0);
  EXPECT_EQ(openBytesCode(zeros), ErrorCode::NotADatabase);
  std::vector<uint8_t> empty;
  EXPECT_EQ(openBytesCode(empty), ErrorCode::NotADatabase);
  std::string text = "This is a text file, not an Access database.\n";
  EXPECT_EQ(openBytesCode(std::vector<uint8_t>(text.begin(), text.end())), ErrorCode::NotADatabase);
  std::vector<uint8_t> noise(4096 * 8);
  uint32_t x = 12345;
  for (auto& b : noise) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  EXPECT_EQ(openBytesCode(noise), ErrorCode::NotADatabase);
}

TEST(JetDatabaseRefusal, TruncatedCopiesAreNotADatabase) {
  QM_REQUIRE_TESTDATA();
  for (const char* file : {"jet4/dups_v2000.mdb", "jet3/overflowTestV1997.mdb"}) {
    SCOPED_TRACE(file);
    auto whole = readBytes(mdbDir() / file);
    size_t page = std::string(file).find("jet3") != std::string::npos ? 2048 : 4096;
    for (size_t size : {size_t{10}, size_t{0x20}, size_t{200}, page - 1, page, page * 2, page * 3 - 7,
                        whole.size() / 2 + 1, whole.size() - 1}) {
      SCOPED_TRACE(size);
      std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(openBytesCode(cut), ErrorCode::NotADatabase);
    }
    // Cut at a page boundary past the catalogue: what is missing shows up
    // as soon as something reaches for it.
    for (size_t pages = 4; pages * page < whole.size(); pages += 3) {
      SCOPED_TRACE(pages);
      std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(pages * page));
      ErrorCode code = openBytesCode(cut);
      EXPECT_TRUE(code == ErrorCode::NotADatabase || code == ErrorCode::Corrupt) << static_cast<int>(code);
    }
  }
}

// Page 0 with its obscured part removed, edited, and obscured again.
std::vector<uint8_t> withHeaderEdit(std::vector<uint8_t> bytes, size_t offset, std::vector<uint8_t> value) {
  const uint8_t key[4] = {0xc7, 0xda, 0x39, 0x6b};
  file::rc4Apply(key, 4, bytes.data() + 0x18, 0x80);
  std::copy(value.begin(), value.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  file::rc4Apply(key, 4, bytes.data() + 0x18, 0x80);
  return bytes;
}

TEST(JetDatabaseRefusal, EncodedDatabaseIsUnsupported) {
  QM_REQUIRE_TESTDATA();
  for (const char* file : {"jet4/dups_v2000.mdb", "jet3/V1997.mdb"}) {
    auto bytes = withHeaderEdit(readBytes(mdbDir() / file), 0x3e, {0x01, 0x02, 0x03, 0x04});
    try {
      JetDatabase::openBytes(bytes, "", "enc.mdb");
      ADD_FAILURE() << file;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Unsupported);
      EXPECT_EQ(std::string(e.what()), msg::encodedDatabase("enc.mdb"));
    }
  }
}

TEST(JetDatabaseRefusal, AccessTwentySevenAndLaterAreUnsupported) {
  QM_REQUIRE_TESTDATA();
  auto bytes = readBytes(mdbDir() / "jet4/dups_v2000.mdb");
  auto ace = bytes;
  const char engine[] = "Standard ACE DB";
  std::copy(engine, engine + sizeof engine, ace.begin() + 4);
  ace[0x14] = 2;
  EXPECT_EQ(openBytesCode(ace), ErrorCode::Unsupported);
  auto v2010 = bytes;
  v2010[0x14] = 3;
  EXPECT_EQ(openBytesCode(v2010), ErrorCode::Unsupported);
}

TEST(JetDatabaseCatalog, KindsFollowTheFlagsOfMSysObjects) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "");
  auto all = db->objects();
  ASSERT_NE(entry(all, "MSysObjects"), nullptr);
  EXPECT_EQ(entry(all, "MSysObjects")->kind, ObjectKind::SystemTable);
  EXPECT_EQ(entry(all, "MSysQueries")->kind, ObjectKind::SystemTable);
  EXPECT_EQ(entry(all, "MSysAccessObjects")->kind, ObjectKind::AccessTable);
  EXPECT_EQ(entry(all, "Customers")->kind, ObjectKind::Table);
  EXPECT_EQ(entry(all, "Tags")->kind, ObjectKind::Table);
  EXPECT_EQ(entry(all, "qryActiveCustomers")->kind, ObjectKind::View);
  // Containers, relationships and the database object itself are not listed.
  EXPECT_EQ(entry(all, "Tables"), nullptr);
  EXPECT_EQ(entry(all, "Relationships"), nullptr);

  auto jet3 = JetDatabase::open(sample("jet3/V1997.mdb"), "")->objects();
  EXPECT_EQ(entry(jet3, "MSysModules")->kind, ObjectKind::AccessTable);
  EXPECT_EQ(entry(jet3, "MSysACEs")->kind, ObjectKind::SystemTable);
}

TEST(JetDatabaseCatalog, FileFacts) {
  QM_REQUIRE_TESTDATA();
  auto jet4 = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "")->info();
  EXPECT_EQ(jet4.version, file::JetVersion::Jet4);
  EXPECT_EQ(jet4.pageSize, 4096u);
  EXPECT_EQ(jet4.pageCount, 266240u / 4096);
  EXPECT_EQ(jet4.codePage, 1252);
  EXPECT_EQ(jet4.sortOrder & 0xffff, 1033u);  // General
  auto jet3 = JetDatabase::open(sample("jet3/V1997.mdb"), "")->info();
  EXPECT_EQ(jet3.version, file::JetVersion::Jet3);
  EXPECT_EQ(jet3.pageSize, 2048u);
  EXPECT_EQ(jet3.sortOrder, 1033u);
}

TEST(JetDatabaseTables, OpenTableIgnoresCaseAndRefusesQueriesAndUnknownNames) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "");
  auto t = db->openTable("cUsToMeRs");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->schema().name, "Customers");
  EXPECT_EQ(db->openTable("NoSuchTable"), nullptr);
  EXPECT_EQ(db->openTable("qryActiveCustomers"), nullptr);
  EXPECT_NE(db->openTable("msysobjects"), nullptr);
}

TEST(JetDatabaseTables, SchemaOfCustomers) {
  QM_REQUIRE_TESTDATA();
  auto t = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "")->openTable("Customers");
  const TableSchema& s = t->schema();
  ASSERT_EQ(s.columns.size(), 6u);
  EXPECT_EQ(s.columns[0].type, DataType::Long);
  EXPECT_TRUE(s.columns[0].autoNumber);
  EXPECT_EQ(s.columns[1].type, DataType::Text);
  EXPECT_EQ(s.columns[1].size, 50);
  EXPECT_TRUE(s.columns[1].compressedUnicode);
  EXPECT_EQ(s.columns[2].type, DataType::Memo);
  EXPECT_EQ(s.columns[3].type, DataType::Double);
  EXPECT_EQ(s.columns[4].type, DataType::DateTime);
  EXPECT_EQ(s.columns[5].type, DataType::Boolean);
  ASSERT_EQ(s.indexes.size(), 2u);
  const IndexDef* pk = s.indexes[0].primaryKey ? &s.indexes[0] : &s.indexes[1];
  const IndexDef* other = pk == &s.indexes[0] ? &s.indexes[1] : &s.indexes[0];
  EXPECT_TRUE(pk->unique);
  ASSERT_EQ(pk->columns.size(), 1u);
  EXPECT_EQ(pk->columns[0].column, 0);
  EXPECT_EQ(other->name, "NameIdx");
  EXPECT_FALSE(other->unique);
  ASSERT_EQ(other->columns.size(), 1u);
  EXPECT_EQ(other->columns[0].column, 1);
  EXPECT_TRUE(other->columns[0].ascending);
}

TEST(JetDatabaseTables, IndexPropertiesMatchTheirTableNames) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open(sample("jet4/testIndexPropertiesV2000.mdb"), "");
  auto dataIndex = [&](const std::string& table) {
    auto t = db->openTable(table);
    for (const auto& ix : t->schema().indexes) {
      if (ix.name == "DataIndex") return ix;
    }
    ADD_FAILURE() << table;
    return IndexDef{};
  };
  EXPECT_TRUE(dataIndex("TableIgnoreNulls1").ignoreNulls);
  EXPECT_FALSE(dataIndex("TableIgnoreNulls1").unique);
  EXPECT_TRUE(dataIndex("TableIgnoreNulls2").ignoreNulls);
  EXPECT_EQ(dataIndex("TableIgnoreNulls2").columns.size(), 2u);
  EXPECT_TRUE(dataIndex("TableUnique1_temp").unique);
  EXPECT_FALSE(dataIndex("TableUnique1_temp").ignoreNulls);
  EXPECT_TRUE(dataIndex("TableUnique2_temp").unique);

  auto fkTable = JetDatabase::open(sample("jet4/indexTestV2000.mdb"), "")->openTable("Table1");
  int foreign = 0;
  for (const auto& ix : fkTable->schema().indexes) foreign += ix.foreignKey;
  EXPECT_EQ(foreign, 2);
}

TEST(JetDatabaseTables, FetchByRowIdReturnsTheScannedRow) {
  QM_REQUIRE_TESTDATA();
  for (const char* file :
       {"jet4/overflowTestV2000.mdb", "jet3/overflowTestV1997.mdb", "jet4/dups_v2000.mdb"}) {
    SCOPED_TRACE(file);
    auto db = JetDatabase::open(sample(file), "");
    auto t = db->openTable(std::string(file).find("dups") != std::string::npos ? "Customers" : "Table1");
    auto c = t->scan();
    std::vector<std::pair<RowId, Row>> seen;
    while (c->next()) seen.emplace_back(c->rowId(), c->row());
    ASSERT_FALSE(seen.empty());
    for (const auto& [id, row] : seen) EXPECT_EQ(t->fetch(id), row);
    EXPECT_THROW(t->fetch((seen.front().first & ~RowId{0xff}) | 0xfe), Error);
    EXPECT_THROW(t->fetch(RowId{0xffffff} << 8), Error);
  }
}

TEST(JetDatabaseTables, ScanStreamsThroughABoundedCache) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open(sample("jet3/compIndexTestV1997.mdb"), "");
  db->pageFile().setCacheCapacity(2);
  auto t = db->openTable("Table1");
  auto c = t->scan();
  uint64_t rows = 0;
  size_t most = 0;
  while (c->next()) {
    ++rows;
    most = std::max(most, db->pageFile().cachedPages());
  }
  EXPECT_EQ(rows, 512u);
  EXPECT_LE(most, 2u);
}

TEST(JetDatabaseTables, SpecificValuesOfOverflowDeletedMemoAndCompressedRows) {
  QM_REQUIRE_TESTDATA();
  auto find = [](Table& t, int col, const std::string& text) -> std::optional<Row> {
    auto c = t.scan();
    while (c->next()) {
      if (c->row()[col].isText() && c->row()[col].asText() == text) return c->row();
    }
    return std::nullopt;
  };
  for (const char* file : {"jet4/overflowTestV2000.mdb", "jet3/overflowTestV1997.mdb"}) {
    SCOPED_TRACE(file);
    auto t = JetDatabase::open(sample(file), "")->openTable("Table1");
    auto r = find(*t, 1, "row3col3");
    ASSERT_TRUE(r);
    EXPECT_TRUE((*r)[0].isNull());
    EXPECT_EQ((*r)[7], Value::text("row3col9"));
  }
  for (const char* file : {"jet4/delTestV2000.mdb", "jet3/delTestV1997.mdb"}) {
    SCOPED_TRACE(file);
    auto t = JetDatabase::open(sample(file), "")->openTable("Table");
    std::vector<std::string> a;
    auto c = t->scan();
    while (c->next()) a.push_back(c->row()[0].asText());
    std::sort(a.begin(), a.end());
    EXPECT_EQ(a, (std::vector<std::string>{"v", "z"}));
  }
  auto customers = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "")->openTable("Customers");
  auto alice = find(*customers, 1, "Alice");
  ASSERT_TRUE(alice);
  EXPECT_EQ((*alice)[2], Value::memo("first customer"));
  EXPECT_EQ((*alice)[3], Value::dbl(12.5));
  EXPECT_EQ((*alice)[5], Value::boolean(true));
  auto numeric = JetDatabase::open(sample("jet4/numeric_V2000.mdb"), "")->openTable("test");
  auto c = numeric->scan();
  ASSERT_TRUE(c->next());
  EXPECT_EQ(c->row()[0], Value::memo("some data"));
  ASSERT_EQ(c->row()[5].type(), DataType::Decimal);
  EXPECT_TRUE(c->row()[5].asDecimal().negative);
  EXPECT_EQ(c->row()[5].asDecimal().magnitude, 1u);
}

TEST(JetDatabaseWrites, AreRefusedAsReadOnly) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open(sample("jet4/dups_v2000.mdb"), "");
  EXPECT_TRUE(db->readOnly());
  auto t = db->openTable("Tags");
  Row row{Value::text("x"), Value::longInt(1)};
  auto expectReadOnly = [](auto&& f) {
    try {
      f();
      ADD_FAILURE() << "write was accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::ReadOnly);
    }
  };
  expectReadOnly([&] { t->insert(row); });
  expectReadOnly([&] { t->remove(1); });
  expectReadOnly([&] { t->update(1, row); });
  expectReadOnly([&] { db->createTable(TableSchema{"New", {}, {}}); });
  expectReadOnly([&] { db->dropTable("Tags"); });
  expectReadOnly([&] { db->addColumn("Tags", ColumnDef{}); });
  expectReadOnly([&] { db->dropColumn("Tags", "Tag"); });
  expectReadOnly([&] { db->createIndex("Tags", IndexDef{}); });
  expectReadOnly([&] { db->dropIndex("Tags", "x"); });
  EXPECT_EQ(db->openTable("Tags")->rowCount(), 3u);

  EXPECT_EQ(db->transactionDepth(), 0);
  db->begin();
  db->begin();
  EXPECT_EQ(db->transactionDepth(), 2);
  db->commit();
  db->rollback();
  EXPECT_EQ(db->transactionDepth(), 0);
  EXPECT_THROW(db->commit(), Error);
  EXPECT_THROW(db->rollback(), Error);
}

}  // namespace
}  // namespace jet::storage
