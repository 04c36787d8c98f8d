// Writes that must be refused leave the file exactly as it was: a read-only
// file, a database another writer holds, and a disk that fails (full, or an
// I/O error) at any single operation of a statement.
#include <gtest/gtest.h>
#include <unistd.h>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/JournalIo.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

ErrorCode codeOfOpen(const std::string& f) {
  try {
    JetDatabase::open(f, "", false);
  } catch (const Error& e) {
    return e.code();
  }
  return ErrorCode::Invalid;  // opened
}

TEST(WriteRefusal, ReadOnlyFileIsReportedOnOpen) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  auto original = readBytes(f);
  fs::permissions(f, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // No write permission for anyone: read-only even for root, like the
  // read-only attribute on Windows.
  EXPECT_EQ(codeOfOpen(f), ErrorCode::ReadOnly);
  // Root writes anything with mode 0444; an immutable file it cannot.
  if (std::system(("chattr +i " + shellQuote(f) + " 2>/dev/null").c_str()) == 0) {
    EXPECT_EQ(codeOfOpen(f), ErrorCode::ReadOnly);
    std::system(("chattr -i " + shellQuote(f)).c_str());
  } else {
    std::printf("chattr not available: the immutable case is not covered here\n");
  }
  EXPECT_EQ(readBytes(f), original);
  // Opened for reading, every change is refused.
  auto db = JetDatabase::open(f, "");
  EXPECT_TRUE(db->readOnly());
  auto t = db->openTable("Customers");
  try {
    t->remove(rowIds(*t).front());
    FAIL() << "removed from a read-only database";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::ReadOnly);
  }
  Row r = t->fetch(rowIds(*t).front());
  EXPECT_THROW(t->insert(r), Error);
  EXPECT_EQ(readBytes(f), original);
}

TEST(WriteRefusal, ASecondWriterFindsTheDatabaseLocked) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/dups_v2000.mdb");
  {
    auto first = JetDatabase::open(f, "", false);
    EXPECT_FALSE(first->readOnly());
    EXPECT_EQ(codeOfOpen(f), ErrorCode::Locked);
    EXPECT_TRUE(fs::exists(tmp.path() / "dups_v2000.ldb"));  // what Access sees
  }
  EXPECT_EQ(codeOfOpen(f), ErrorCode::Invalid);  // free again: it opens
}

// Fails the n-th write, sync or truncate, like a full disk or failing device.
class FailingIo : public file::IoSystem {
 public:
  int failAt = -1;
  int count = 0;
  void tick() {
    if (count++ == failAt) throw FileError(ErrorCode::Io, msg::ioError("disk", "no space left on device"));
  }
  class File : public file::IoFile {
   public:
    File(std::unique_ptr<file::IoFile> inner, FailingIo& owner) : inner_(std::move(inner)), owner_(owner) {}
    uint64_t size() override { return inner_->size(); }
    size_t readAt(uint64_t o, std::span<uint8_t> out) override { return inner_->readAt(o, out); }
    void writeAt(uint64_t o, std::span<const uint8_t> d) override {
      owner_.tick();
      inner_->writeAt(o, d);
    }
    void truncate(uint64_t s) override {
      owner_.tick();
      inner_->truncate(s);
    }
    void sync() override {
      owner_.tick();
      inner_->sync();
    }

   private:
    std::unique_ptr<file::IoFile> inner_;
    FailingIo& owner_;
  };
  std::unique_ptr<file::IoFile> open(const std::string& path, bool create) override {
    return std::make_unique<File>(file::systemIo().open(path, create), *this);
  }
  bool exists(const std::string& path) override { return file::systemIo().exists(path); }
  void remove(const std::string& path) override { file::systemIo().remove(path); }
  void syncFolderOf(const std::string& path) override { file::systemIo().syncFolderOf(path); }
};

TEST(WriteRefusal, AFailingDiskLeavesTheFileUnchanged) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  const auto original = readBytes(f);
  int failures = 0;
  for (int failAt = 0;; failAt += 1 + failAt / 8) {
    FailingIo io;
    io.failAt = failAt;
    bool failed = false;
    try {
      auto db = JetDatabase::openForWriting(f, "", io);
      auto t = db->openTable("Table1");
      db->pageFile().setDirtyLimit(4);  // many write-outs within the statement
      auto ids = rowIds(*t);
      db->begin();
      for (size_t i = 0; i < ids.size(); i += 2) t->remove(ids[i]);
      Row r = t->fetch(ids[1]);
      r[0] = Value::longInt(990000);
      t->insert(r);
      db->commit();
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Io) << e.what();
      failed = true;
    }
    // Reopening undoes whatever a failed rollback left in the journal.
    JetDatabase::open(f, "", false).reset();
    if (!failed) break;  // the statement got through: every operation was tried
    ++failures;
    ASSERT_EQ(readBytes(f), original) << "failure at operation " << failAt;
    ASSERT_FALSE(fs::exists(f + ".qmj"));
  }
  EXPECT_GT(failures, 10);
  EXPECT_EQ(ourRows(f, "Table1").size(), 257u);
  expectIndexesValid(f);
}

}  // namespace
}  // namespace jet::storage::testing
