#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "jet/core/Error.h"
#include "jet/file/Journal.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;
constexpr uint32_t kPage = 4096;

using Bytes = std::vector<uint8_t>;

Bytes pageOf(uint8_t fill, uint32_t page) {
  Bytes b(kPage, fill);
  b[0] = static_cast<uint8_t>(page);
  return b;
}

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Fails one chosen operation (counting writes, syncs and truncates) the way a
// full disk or a failing device does.
class FaultyIo : public IoSystem {
 public:
  int failAt = -1;  // the operation number that fails; -1: none
  int count = 0;

  void tick(const std::string& what) {
    if (count++ == failAt) throw FileError(ErrorCode::Io, "injected failure: " + what);
  }

  class File : public IoFile {
   public:
    File(std::unique_ptr<IoFile> inner, FaultyIo& owner) : inner_(std::move(inner)), owner_(owner) {}
    uint64_t size() override { return inner_->size(); }
    size_t readAt(uint64_t o, std::span<uint8_t> out) override { return inner_->readAt(o, out); }
    void writeAt(uint64_t o, std::span<const uint8_t> d) override {
      owner_.tick("write");
      inner_->writeAt(o, d);
    }
    void truncate(uint64_t s) override {
      owner_.tick("truncate");
      inner_->truncate(s);
    }
    void sync() override {
      owner_.tick("sync");
      inner_->sync();
    }

   private:
    std::unique_ptr<IoFile> inner_;
    FaultyIo& owner_;
  };

  std::unique_ptr<IoFile> open(const std::string& path, bool create) override {
    return std::make_unique<File>(systemIo().open(path, create), *this);
  }
  bool exists(const std::string& path) override { return systemIo().exists(path); }
  void remove(const std::string& path) override { systemIo().remove(path); }
  void syncFolderOf(const std::string& path) override { systemIo().syncFolderOf(path); }
};

class JournalTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qm-journal-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    db_ = (dir_ / "test.mdb").string();
    std::ofstream out(db_, std::ios::binary);
    for (uint32_t p = 0; p < 8; ++p) {
      Bytes b = pageOf(0x11, p);
      out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    out.close();
    before_ = readAll(db_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // What a pager does for one page: journal the current content, make the
  // journal durable when needed, then overwrite.
  static void writePage(Journal& j, IoFile& db, uint32_t page, const Bytes& content) {
    Bytes current(kPage, 0);
    if (static_cast<uint64_t>(page) * kPage < db.size())
      db.readAt(static_cast<uint64_t>(page) * kPage, current);
    j.journalPage(page, current);
    if (j.needsSync()) j.sync();
    db.writeAt(static_cast<uint64_t>(page) * kPage, content);
  }

  fs::path dir_;
  std::string db_;
  Bytes before_;
};

TEST_F(JournalTest, CommitKeepsTheChangesAndRemovesTheJournal) {
  auto db = systemIo().open(db_, false);
  Journal j(db_, kPage);
  j.begin(db->size());
  EXPECT_TRUE(fs::exists(journalPathFor(db_)));
  writePage(j, *db, 2, pageOf(0x22, 2));
  writePage(j, *db, 2, pageOf(0x23, 2));  // a second write needs no second image
  writePage(j, *db, 9, pageOf(0x24, 9));  // past the end: nothing to keep
  EXPECT_EQ(j.journaledPages(), 1u);
  j.commit(*db);
  EXPECT_FALSE(j.active());
  EXPECT_FALSE(fs::exists(journalPathFor(db_)));
  Bytes after = readAll(db_);
  ASSERT_EQ(after.size(), 10u * kPage);
  EXPECT_EQ(after[2 * kPage + 1], 0x23);
  EXPECT_FALSE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), after);
}

TEST_F(JournalTest, RollbackPutsBackPagesAndLength) {
  auto db = systemIo().open(db_, false);
  Journal j(db_, kPage);
  j.begin(db->size());
  for (uint32_t p : {0u, 3u, 7u, 8u, 12u}) writePage(j, *db, p, pageOf(0x55, p));
  std::vector<uint32_t> restored = j.rollback(*db);
  EXPECT_EQ(restored, (std::vector<uint32_t>{0, 3, 7}));
  EXPECT_EQ(readAll(db_), before_);
  EXPECT_FALSE(fs::exists(journalPathFor(db_)));
}

TEST_F(JournalTest, HotJournalIsRolledBackOnTheNextOpen) {
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    for (uint32_t p = 0; p < 10; ++p) writePage(j, *db, p, pageOf(0x66, p));
    // The process dies here: no commit, no rollback.
  }
  EXPECT_TRUE(fs::exists(journalPathFor(db_)));
  EXPECT_NE(readAll(db_), before_);
  EXPECT_TRUE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), before_);
  EXPECT_FALSE(fs::exists(journalPathFor(db_)));
}

TEST_F(JournalTest, TornRecordIsSkippedAndATornTailIgnored) {
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    writePage(j, *db, 1, pageOf(0x77, 1));
    writePage(j, *db, 4, pageOf(0x77, 4));
    // Page 5's record is torn by the crash, so page 5 was never written.
    Bytes current(kPage);
    db->readAt(5 * kPage, current);
    j.journalPage(5, current);
    j.sync();
  }
  const std::string jp = journalPathFor(db_);
  Bytes journal = readAll(jp);
  const size_t record = 12 + kPage;
  ASSERT_GT(journal.size(), 3 * record);
  const size_t header = journal.size() - 3 * record;
  journal[header + 2 * record + 100] ^= 0xFF;  // a flipped byte in the last record's image
  journal.resize(journal.size() + 50, 0xAB);   // and a partial record after it
  std::ofstream(jp, std::ios::binary)
      .write(reinterpret_cast<const char*>(journal.data()), static_cast<std::streamsize>(journal.size()));
  EXPECT_TRUE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), before_);
}

TEST_F(JournalTest, JournalWithoutAValidHeaderIsRemovedAndTheDatabaseLeftAlone) {
  std::ofstream(journalPathFor(db_), std::ios::binary) << "QMJOURN1 but then nothing valid";
  EXPECT_FALSE(Journal::recover(db_));
  EXPECT_FALSE(fs::exists(journalPathFor(db_)));
  EXPECT_EQ(readAll(db_), before_);
  // A committed journal whose removal did not happen is invalid as well.
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    writePage(j, *db, 1, pageOf(0x99, 1));
    j.commit(*db);
  }
  Bytes committed = readAll(db_);
  EXPECT_FALSE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), committed);
}

TEST_F(JournalTest, NestedSavepointsRollBackStatements) {
  auto db = systemIo().open(db_, false);
  Journal j(db_, kPage);
  j.begin(db->size());
  writePage(j, *db, 1, pageOf(0xA1, 1));
  Bytes afterFirst = readAll(db_);
  int s1 = j.savepoint(db->size());
  writePage(j, *db, 1, pageOf(0xB1, 1));
  writePage(j, *db, 8, pageOf(0xB8, 8));  // grows the file
  Bytes afterSecond = readAll(db_);
  int s2 = j.savepoint(db->size());
  EXPECT_EQ(s2, 2);
  writePage(j, *db, 1, pageOf(0xC1, 1));
  writePage(j, *db, 2, pageOf(0xC2, 2));
  writePage(j, *db, 8, pageOf(0xC8, 8));
  writePage(j, *db, 9, pageOf(0xC9, 9));
  j.rollbackTo(s2, *db);
  EXPECT_EQ(readAll(db_), afterSecond);
  EXPECT_EQ(j.savepointLevel(), 1);
  j.rollbackTo(s1, *db);
  EXPECT_EQ(readAll(db_), afterFirst);
  // A released savepoint's changes belong to the enclosing level.
  int outer = j.savepoint(db->size());
  j.savepoint(db->size());
  writePage(j, *db, 3, pageOf(0xD3, 3));
  j.release(2);
  writePage(j, *db, 4, pageOf(0xD4, 4));
  j.rollbackTo(outer, *db);
  EXPECT_EQ(readAll(db_), afterFirst);
  // And the whole transaction still rolls back to the start.
  j.rollback(*db);
  EXPECT_EQ(readAll(db_), before_);
}

TEST_F(JournalTest, SavepointImagesAreNotUsedByCrashRecovery) {
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    writePage(j, *db, 1, pageOf(0xA1, 1));
    j.savepoint(db->size());
    writePage(j, *db, 1, pageOf(0xB1, 1));
  }
  EXPECT_TRUE(Journal::recover(db_));
  EXPECT_EQ(readAll(db_), before_);
}

TEST_F(JournalTest, BeginNeverOverwritesAHotJournal) {
  {
    auto db = systemIo().open(db_, false);
    Journal j(db_, kPage);
    j.begin(db->size());
    writePage(j, *db, 2, pageOf(0x42, 2));
  }
  // A second writer starting without recovering first still gets the original back.
  auto db = systemIo().open(db_, false);
  Journal j(db_, kPage);
  j.begin(db->size());
  EXPECT_EQ(readAll(db_), before_);
  writePage(j, *db, 3, pageOf(0x43, 3));
  j.rollback(*db);
  EXPECT_EQ(readAll(db_), before_);
}

TEST_F(JournalTest, MisuseIsAnError) {
  auto db = systemIo().open(db_, false);
  Journal j(db_, kPage);
  EXPECT_THROW(j.journalPage(0, pageOf(0, 0)), FileError);
  EXPECT_THROW(j.savepoint(0), FileError);
  EXPECT_THROW(j.commit(*db), FileError);
  j.begin(db->size());
  EXPECT_THROW(j.begin(db->size()), FileError);
  EXPECT_THROW(j.rollbackTo(1, *db), FileError);
  EXPECT_THROW(j.release(3), FileError);
  j.rollback(*db);
}

// Every single write, sync or truncate of a transaction fails in turn; the
// error is an I/O error, and after the caller's rollback (or, if that fails
// too, the next open) the database is exactly as before.
TEST_F(JournalTest, AnyFailingOperationLeavesTheDatabaseUnchanged) {
  FaultyIo io;
  int operations = 0;
  {
    auto db = io.open(db_, false);
    Journal j(db_, kPage, io);
    j.begin(db->size());
    for (uint32_t p : {1u, 5u, 9u}) writePage(j, *db, p, pageOf(0xEE, p));
    j.rollback(*db);
    operations = io.count;
  }
  ASSERT_EQ(readAll(db_), before_);
  ASSERT_GT(operations, 8);
  int failures = 0;
  for (int failAt = 0; failAt < operations; ++failAt) {
    io.count = 0;
    io.failAt = failAt;
    bool failed = false;
    {
      auto db = io.open(db_, false);
      Journal j(db_, kPage, io);
      try {
        j.begin(db->size());
        for (uint32_t p : {1u, 5u, 9u}) writePage(j, *db, p, pageOf(0xEE, p));
        db->sync();
        throw std::runtime_error("statement fails after its writes");
      } catch (const FileError& e) {
        EXPECT_EQ(e.code(), ErrorCode::Io);
        failed = true;
      } catch (const std::runtime_error&) {
      }
      try {
        if (j.active()) j.rollback(*db);
      } catch (const FileError& e) {
        EXPECT_EQ(e.code(), ErrorCode::Io);  // the journal stays hot
      }
    }
    failures += failed;
    io.failAt = -1;
    Journal::recover(db_);
    ASSERT_EQ(readAll(db_), before_) << "failure at operation " << failAt;
    ASSERT_FALSE(fs::exists(journalPathFor(db_)));
  }
  EXPECT_GT(failures, 5);
}

TEST_F(JournalTest, AFileTheSystemWillNotWriteIsReportedReadOnly) {
  // Even root may not open this for writing.
  const std::string file = "/sys/kernel/notes";
  if (!fs::exists(file)) GTEST_SKIP() << file << " is not present";
  try {
    systemIo().open(file, false);
    GTEST_SKIP() << file << " opened for writing here";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), ErrorCode::ReadOnly);
  }
  EXPECT_THROW(systemIo().open((dir_ / "missing.mdb").string(), false), FileError);
}

}  // namespace
}  // namespace jet::file
