// Writing rows of Access 97 (Jet 3) files: 2 KB pages, one-byte row offsets
// with jump tables, index keys in the Access 97 sort order, the file's map of
// free pages, and text in the file's code page. Each result is read back by
// Quellmark, mdbtools and mdb-reader, and every index is walked.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/file/Header.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

std::string westernWord(std::mt19937& rng, size_t length) {
  static const std::vector<std::string> parts{"Zoë", "Ångström", "delta", "éclair",
                                              "x",   "Müller",   "q",     "ßtraße"};
  std::string s;
  while (utf8ToUtf16Size(s) < length) s += parts[rng() % parts.size()];
  return s;
}

// A copy of a Jet 3 sample whose header names another code page (the
// samples hold only ASCII text, which reads the same in either).
std::string withCodePage(const TempFolder& tmp, const std::string& sample, uint16_t codePage) {
  std::string f = tmp.copy(sample, "cp" + std::to_string(codePage) + ".mdb");
  std::vector<uint8_t> bytes = readBytes(f);
  constexpr size_t kObscured = 0x18, kLength = 0x80, kCodePage = 0x3c;
  const uint8_t key[4] = {0xc7, 0xda, 0x39, 0x6b};
  file::rc4Apply(key, 4, bytes.data() + kObscured, kLength);
  file::putU16(bytes.data() + kCodePage, codePage);
  file::rc4Apply(key, 4, bytes.data() + kObscured, kLength);
  std::ofstream(f, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return f;
}

TEST(Jet3Write, ThousandsOfRowsSplitEveryIndex) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/compIndexTestV1997.mdb");
  std::mt19937 rng(11);
  const uint32_t pagesBefore = JetDatabase::open(f, "")->info().pageCount;
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    ASSERT_FALSE(t->schema().indexes.empty());
    db->begin();
    for (int i = 0; i < 3000; ++i) {
      Row r{Value::longInt(100000 + i), Value::text(westernWord(rng, 1 + rng() % 40)),
            Value::text(westernWord(rng, 1 + rng() % 40))};
      t->insert(r);
    }
    db->commit();
    EXPECT_EQ(t->rowCount(), 3512u);
  }
  auto db = JetDatabase::open(f, "");
  EXPECT_GT(db->info().pageCount, pagesBefore + 100);
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
  IndexReport report = checkIndexes(*t);
  EXPECT_TRUE(report.ok()) << report.problems.front();
  EXPECT_EQ(report.rows, 3512u);
  EXPECT_EQ(report.entries, 3512u * report.indexes);
  expectReadersAgree(f, "Table1");
  // New pages are owned once and the file's map of free pages calls none of them free.
  expectIndexesValid(f);
}

TEST(Jet3Write, DeletesAndUpdatesKeepEveryIndex) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/compIndexTestV1997.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    std::vector<RowId> ids = rowIds(*t);
    ASSERT_EQ(ids.size(), 512u);
    db->begin();
    for (size_t i = 0; i < ids.size(); i += 3) t->remove(ids[i]);
    for (size_t i = 1; i < ids.size(); i += 3) {
      Row r = t->fetch(ids[i]);
      r[1] = Value::text("Geändert " + std::to_string(i) + std::string(i % 40, 'x'));
      EXPECT_EQ(t->update(ids[i], r), ids[i]);
    }
    db->commit();
  }
  auto db = JetDatabase::open(f, "");
  auto t = std::dynamic_pointer_cast<JetTable>(db->openTable("Table1"));
  EXPECT_EQ(t->rowCount(), 512u - 171u);
  size_t changed = 0;
  auto c = t->scan();
  while (c->next()) changed += c->row()[1].asText().starts_with("Geändert ");
  EXPECT_EQ(changed, 171u);
  expectReadersAgree(f, "Table1");
  expectIndexesValid(f);
}

TEST(Jet3Write, IndexSamplesTakeRowsAndLoseThem) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/indexTestV1997.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    for (const char* name : {"Table1", "Table2", "Table3"}) {
      auto t = db->openTable(name);
      const size_t width = t->schema().columns.size();
      for (int i = 0; i < 300; ++i) {
        Row r(width);
        for (size_t k = 0; k < width; ++k)
          r[k] = t->schema().columns[k].type == DataType::Text
                     ? Value::text("wert " + std::to_string(i * 7 % 301))
                     : Value::longInt(1000 + i);
        t->insert(r);
      }
      std::vector<RowId> ids = rowIds(*t);
      for (size_t i = 0; i < ids.size(); i += 4) t->remove(ids[i]);
    }
  }
  for (const char* name : {"Table1", "Table2", "Table3"}) expectReadersAgree(f, name);
  expectIndexesValid(f);
}

TEST(Jet3Write, LongRowsUseTheJumpTable) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/overflowTestV1997.mdb");
  std::mt19937 rng(5);
  std::vector<std::string> written;
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    const auto& columns = t->schema().columns;
    for (int i = 0; i < 40; ++i) {
      Row r(columns.size());
      for (size_t k = 0; k < columns.size(); ++k) {
        // Up to the column's size: most rows pass 256 and 512 bytes.
        r[k] = Value::text(std::to_string(i) + std::string(rng() % (columns[k].size - 3), 'a' + k));
        written.push_back(r[k].asText());
      }
      t->insert(r);
    }
  }
  std::vector<std::string> read;
  auto db = JetDatabase::open(f, "");
  auto c = db->openTable("Table1")->scan();
  while (c->next())
    for (const Value& v : c->row())
      if (!v.isNull()) read.push_back(v.asText());
  for (const std::string& w : written) EXPECT_NE(std::find(read.begin(), read.end(), w), read.end());
  expectReadersAgree(f, "Table1");
}

TEST(Jet3Write, TextTheCodePageLacksIsRefusedAndNothingChanges) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/indexTestV1997.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table2");
    Row r{Value::longInt(77), Value::text("客户")};
    try {
      t->insert(r);
      ADD_FAILURE() << "a Chinese text went into a Western file";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Invalid);
      EXPECT_NE(std::string(e.what()).find("U+5BA2"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("1252"), std::string::npos) << e.what();
    }
    RowId first = rowIds(*t).front();
    Row changed = t->fetch(first);
    changed[1] = Value::text("naïve ✓");
    EXPECT_THROW(t->update(first, changed), Error);
    // In a transaction, the refusal leaves the earlier writes to the caller.
    db->begin();
    Row fine{Value::longInt(78), Value::text("Straße")};
    t->insert(fine);
    EXPECT_THROW(t->insert(r), Error);
    db->rollback();
  }
  EXPECT_EQ(readBytes(f), original);
}

TEST(Jet3Write, ChineseTextInAGbkFile) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = withCodePage(tmp, "jet3/delTestV1997.mdb", 936);
  const std::vector<std::string> texts{"客户名称", "重复记录", "数据库 abc", "删除"};
  {
    auto db = JetDatabase::open(f, "", false);
    ASSERT_EQ(db->info().codePage, 936);
    auto t = db->openTable("Table");
    for (const auto& s : texts) {
      Row r{Value::text(s), Value::text(s + "2")};
      t->insert(r);
    }
    // A character GBK lacks is refused by name.
    Row thai{Value::text("\u0E01"), Value()};
    EXPECT_THROW(t->insert(thai), Error);
  }
  // Two bytes a character: the stored row holds GBK.
  auto bytes = readBytes(f);
  const std::vector<uint8_t> gbk{0xbf, 0xcd, 0xbb, 0xa7};  // 客户
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), gbk.begin(), gbk.end()), bytes.end());
  auto rows = ourRows(f, "Table");
  for (const auto& s : texts)
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const auto& r) {
      return r[0] == s && r[1] == s + "2";
    })) << s;
  if (readersAvailable()) {
    std::string exported = runCommand("MDB_JET3_CHARSET=CP936 mdb-export " + shellQuote(f) + " Table");
    for (const auto& s : texts) EXPECT_NE(exported.find(s), std::string::npos) << exported;
  }
  expectIndexesValid(f);
}

TEST(Jet3Write, RollbackLeavesTheFileByteForByte) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/compIndexTestV1997.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("Table1");
    db->begin();
    for (RowId id : rowIds(*t)) t->remove(id);
    for (int i = 0; i < 500; ++i) {
      Row r{Value::longInt(i), Value::text("r" + std::to_string(i)), Value::text("d")};
      t->insert(r);
    }
    db->rollback();
    EXPECT_EQ(rowIds(*db->openTable("Table1")).size(), 512u);
  }
  EXPECT_EQ(readBytes(f), original);
  EXPECT_FALSE(fs::exists(f + ".qmj"));
}

}  // namespace
}  // namespace jet::storage::testing
