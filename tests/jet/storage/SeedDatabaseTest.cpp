// Databases written by the engine's own encoders (the fuzzer's seeds) read
// back exactly: header, catalogue, table definition with its index, and rows
// of every kind the encoders handle, in both Jet versions.
#include "fuzz/jet/SeedDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "jet/core/Error.h"
#include "jet/storage/JetDatabase.h"

namespace jet::storage {
namespace {

TEST(SeedDatabase, ReadsBackWhatTheEncodersWrote) {
  for (auto v : {file::JetVersion::Jet4, file::JetVersion::Jet3}) {
    SCOPED_TRACE(static_cast<int>(v));
    auto bytes = seed::buildSeedDatabase(v);
    auto db = JetDatabase::openBytes(bytes, "");
    EXPECT_EQ(db->info().version, v);
    EXPECT_FALSE(db->info().hasPassword);
    auto objects = db->objects();
    ASSERT_EQ(objects.size(), 2u);
    auto t = db->openTable("items");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 3u);
    const TableSchema& s = t->schema();
    ASSERT_EQ(s.columns.size(), 7u);
    EXPECT_TRUE(s.columns[0].autoNumber);
    EXPECT_EQ(s.columns[1].size, 50);
    EXPECT_EQ(s.columns[1].compressedUnicode, v == file::JetVersion::Jet4);
    ASSERT_EQ(s.indexes.size(), 1u);
    EXPECT_TRUE(s.indexes[0].primaryKey);
    EXPECT_EQ(s.indexes[0].name, "PrimaryKey");
    std::vector<Row> got;
    auto c = t->scan();
    while (c->next()) got.push_back(c->row());
    EXPECT_EQ(got, seed::itemsRows());
  }
}

TEST(SeedDatabase, RowsPastTheJumpTableLimitRoundTrip) {
  // A Jet 3 row longer than 256 bytes needs a jump table; the memo of row 3
  // (300 bytes inline) makes one.
  auto bytes = seed::buildSeedDatabase(file::JetVersion::Jet3);
  auto db = JetDatabase::openBytes(bytes, "");
  auto rows = db->openTable("Items");
  auto c = rows->scan();
  int n = 0;
  while (c->next()) {
    if (++n == 3) {
      EXPECT_EQ(c->row()[5].asText().size(), 300u);
    }
  }
  EXPECT_EQ(n, 3);
}

TEST(SeedDatabase, EveryTruncationIsRefusedCleanly) {
  for (auto v : {file::JetVersion::Jet4, file::JetVersion::Jet3}) {
    auto bytes = seed::buildSeedDatabase(v);
    size_t page = v == file::JetVersion::Jet3 ? 2048 : 4096;
    for (size_t pages = 0; pages < seed::kPageCount; ++pages) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(pages * page));
      try {
        auto db = JetDatabase::openBytes(cut, "");
        auto c = db->openTable("Items")->scan();
        while (c->next()) {
        }
        ADD_FAILURE() << pages << " pages read without complaint";
      } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::NotADatabase) << pages << ": " << e.what();
      }
    }
  }
}

TEST(SeedDatabase, ATableOverManyPagesScansInFull) {
  for (auto v : {file::JetVersion::Jet4, file::JetVersion::Jet3}) {
    SCOPED_TRACE(static_cast<int>(v));
    auto rows = seed::manyItems(5000);
    auto db = JetDatabase::openBytes(seed::buildItemsDatabase(v, rows), "");
    EXPECT_GT(db->info().pageCount, 60u);
    db->pageFile().setCacheCapacity(4);
    auto t = db->openTable("Items");
    EXPECT_EQ(t->rowCount(), 5000u);
    auto c = t->scan();
    size_t i = 0;
    while (c->next()) {
      ASSERT_LT(i, rows.size());
      EXPECT_EQ(c->row(), rows[i]) << i;
      EXPECT_EQ(t->fetch(c->rowId()), rows[i]);
      ++i;
    }
    EXPECT_EQ(i, rows.size());
    EXPECT_LE(db->pageFile().cachedPages(), 4u);
  }
}

// mdbtools reads what the encoders write: an independent check of the
// written definition, rows and usage map.
TEST(SeedDatabase, MdbExportReadsTheWrittenFile) {
  if (std::system("mdb-export --version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "mdb-export is not installed";
  for (auto v : {file::JetVersion::Jet4, file::JetVersion::Jet3}) {
    SCOPED_TRACE(static_cast<int>(v));
    auto bytes = seed::buildItemsDatabase(v, seed::manyItems(700));
    auto path = std::filesystem::temp_directory_path() / ("qm_seed_" + std::to_string(static_cast<int>(v)) +
                                                          "_" + std::to_string(::getpid()) + ".mdb");
    {
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string cmd = "mdb-export -H -R '<<ROW>>' -d '|' '" + path.string() + "' Items";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0);
    std::filesystem::remove(path);
    std::vector<std::string> lines;
    for (size_t at = 0, next; (next = out.find("<<ROW>>", at)) != std::string::npos; at = next + 7) {
      lines.push_back(out.substr(at, next - at));
    }
    ASSERT_EQ(lines.size(), 700u);
    EXPECT_EQ(lines[1].substr(0, 10), "2|\"Pear 1\"");
    EXPECT_NE(lines[0].find("\"note 0\""), std::string::npos) << lines[0];
    EXPECT_EQ(lines[3].substr(0, 3), "4||");  // a Null name
  }
}

}  // namespace
}  // namespace jet::storage
