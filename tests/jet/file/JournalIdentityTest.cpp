// A journal is applied only to the file it was written for: one left beside
// another database, or beside a file that replaced its own, is refused and
// left where it is; a database reached through a link finds its journal.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jet/core/Error.h"
#include "jet/file/FileIdentity.h"
#include "jet/file/Journal.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;
constexpr uint32_t kPage = 4096;
using Bytes = std::vector<uint8_t>;

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// `pages` pages, each filled with `fill` and numbered in its first byte.
Bytes database(uint8_t fill, uint32_t pages) {
  Bytes all;
  for (uint32_t p = 0; p < pages; ++p) {
    Bytes b(kPage, fill);
    b[0] = static_cast<uint8_t>(p);
    all.insert(all.end(), b.begin(), b.end());
  }
  return all;
}

class JournalIdentityTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qm-journal-id-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    db_ = (dir_ / "a.mdb").string();
    writeAll(db_, database(0x11, 8));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A transaction through `path` that overwrites pages 1..3 and grows the
  // file by two pages, then dies without committing.
  static void crashMidTransaction(const std::string& path) {
    auto db = systemIo().open(path, false);
    Journal j(path, kPage);
    j.begin(db->size());
    Bytes current(kPage);
    for (uint32_t p = 1; p <= 3; ++p) {
      db->readAt(p * kPage, current);
      j.journalPage(p, current);
      j.sync();
      db->writeAt(p * kPage, Bytes(kPage, 0xEE));
    }
    db->writeAt(9 * kPage, Bytes(kPage, 0xEE));
  }

  static ErrorCode recoverError(const std::string& path) {
    try {
      Journal::recover(path);
    } catch (const Error& e) {
      return e.code();
    }
    return ErrorCode::Invalid;  // recovered without complaint
  }

  fs::path dir_;
  std::string db_;
};

TEST_F(JournalIdentityTest, AJournalBesideAnotherDatabaseIsRefusedAndKept) {
  crashMidTransaction(db_);
  const std::string other = (dir_ / "b.mdb").string();
  writeAll(other, database(0x22, 4));
  fs::copy_file(journalPathFor(db_), journalPathFor(other));
  const Bytes otherBefore = readAll(other);
  EXPECT_EQ(recoverError(other), ErrorCode::Corrupt);
  EXPECT_EQ(readAll(other), otherBefore);
  EXPECT_TRUE(fs::exists(journalPathFor(other)));
  // Its own database still gets its pages back.
  EXPECT_TRUE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), database(0x11, 8));
}

TEST_F(JournalIdentityTest, AFileThatReplacedTheDatabaseIsLeftAlone) {
  crashMidTransaction(db_);
  // Another database copied over the name (a new file), then one written in place.
  const fs::path replacement = dir_ / "new.mdb";
  writeAll(replacement, database(0x33, 2));
  fs::rename(replacement, db_);
  const Bytes small = readAll(db_);
  EXPECT_EQ(recoverError(db_), ErrorCode::Corrupt);
  EXPECT_EQ(readAll(db_), small);
  EXPECT_TRUE(fs::exists(journalPathFor(db_)));
  writeAll(db_, database(0x44, 10));
  const Bytes sameLength = readAll(db_);
  EXPECT_EQ(recoverError(db_), ErrorCode::Corrupt);
  EXPECT_EQ(readAll(db_), sameLength);
}

TEST_F(JournalIdentityTest, AShorterFileMustHaveLostOnlyPagesTheJournalKept) {
  crashMidTransaction(db_);
  // The same first page, but cut by something else than the transaction.
  Bytes cut = readAll(db_);
  cut.resize(5 * kPage);
  writeAll(db_, cut);
  EXPECT_EQ(recoverError(db_), ErrorCode::Corrupt);
  EXPECT_EQ(readAll(db_), cut);
}

TEST_F(JournalIdentityTest, ATruncationTheJournalKeptIsUndone) {
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    j.journalTruncate(*db, 3 * kPage);
    j.sync();
    db->truncate(3 * kPage);
  }
  EXPECT_TRUE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), database(0x11, 8));
}

TEST_F(JournalIdentityTest, ADatabaseReachedThroughALinkFindsItsJournal) {
  const fs::path link = dir_ / "link.mdb";
  fs::create_symlink(db_, link);
  EXPECT_EQ(realPathOf(link.string()), realPathOf(db_));
  crashMidTransaction(link.string());
  // The journal lies beside the real file, under its name.
  EXPECT_TRUE(fs::exists(journalPathFor(realPathOf(db_))));
  EXPECT_FALSE(fs::exists(link.string() + ".qmj"));
  EXPECT_TRUE(Journal::recover(link.string()));
  EXPECT_EQ(readAll(db_), database(0x11, 8));
  EXPECT_FALSE(fs::exists(journalPathFor(realPathOf(db_))));
  // And the other way round: written through the real name, found through the link.
  crashMidTransaction(db_);
  EXPECT_TRUE(Journal::recover(link.string()));
  EXPECT_EQ(readAll(db_), database(0x11, 8));
}

TEST_F(JournalIdentityTest, AJournalThatNamesNoDatabaseIsNeverApplied) {
  // The first journal version: magic, version 1, page size, original size,
  // salt, header checksum; then an intact record for page 1.
  crashMidTransaction(db_);
  const std::string jp = journalPathFor(realPathOf(db_));
  Bytes v2 = readAll(jp);
  Bytes v1(32, 0);
  std::copy(v2.begin(), v2.begin() + 8, v1.begin());
  v1[8] = 1;
  v1[13] = kPage >> 8;
  const uint64_t size = 8 * kPage;
  for (int i = 0; i < 8; ++i) v1[16 + i] = static_cast<uint8_t>(size >> (8 * i));
  // crc32 of the first 28 bytes, computed bit by bit.
  uint32_t crc = 0xFFFFFFFFu;
  for (int i = 0; i < 28; ++i) {
    crc ^= v1[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  crc = ~crc;
  for (int i = 0; i < 4; ++i) v1[28 + i] = static_cast<uint8_t>(crc >> (8 * i));
  writeAll(jp, v1);
  const Bytes now = readAll(db_);
  EXPECT_EQ(recoverError(db_), ErrorCode::Corrupt);
  EXPECT_EQ(readAll(db_), now);
  EXPECT_EQ(readAll(jp), v1);
}

}  // namespace
}  // namespace jet::file
