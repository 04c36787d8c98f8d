// A disk that fills up while a statement commits: the statement fails with
// the disk's own error (not a complaint about the transaction the failure
// already ended), the journal goes, and the file is as it was.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/Journal.h"
#include "jet/file/JournalIo.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

// Once `full` is set, no file may grow: a write past a file's end fails as
// on a full disk, while writes over bytes it has still go through.
class FillingIo : public file::IoSystem {
 public:
  bool full = false;
  class File : public file::IoFile {
   public:
    File(std::unique_ptr<file::IoFile> inner, FillingIo& owner) : inner_(std::move(inner)), owner_(owner) {}
    uint64_t size() override { return inner_->size(); }
    size_t readAt(uint64_t o, std::span<uint8_t> out) override { return inner_->readAt(o, out); }
    void writeAt(uint64_t o, std::span<const uint8_t> d) override {
      if (owner_.full && o + d.size() > inner_->size())
        throw FileError(ErrorCode::Io, msg::diskFull("disk", "No space left on device"));
      inner_->writeAt(o, d);
    }
    void truncate(uint64_t s) override { inner_->truncate(s); }
    void sync() override { inner_->sync(); }

   private:
    std::unique_ptr<file::IoFile> inner_;
    FillingIo& owner_;
  };
  std::unique_ptr<file::IoFile> open(const std::string& path, bool create) override {
    return std::make_unique<File>(file::systemIo().open(path, create), *this);
  }
  bool exists(const std::string& path) override { return file::systemIo().exists(path); }
  void remove(const std::string& path) override { file::systemIo().remove(path); }
  void syncFolderOf(const std::string& path) override { file::systemIo().syncFolderOf(path); }
};

TEST(FailedCommit, AFullDiskIsReportedAsSuchAndTheFileKept) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet4/compIndexTestV2000.mdb");
  const auto original = readBytes(f);
  for (bool explicitTransaction : {false, true}) {
    FillingIo io;
    {
      auto db = JetDatabase::openForWriting(f, "", io);
      sql::Session session(*db);
      if (explicitTransaction) session.execute("BEGIN TRANSACTION");
      io.full = true;
      try {
        session.execute("DELETE FROM Table1");
        if (explicitTransaction) session.execute("COMMIT");
        FAIL() << "the commit went through on a full disk";
      } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::Io) << e.what();
        EXPECT_NE(std::string(e.what()).find("磁盘已满"), std::string::npos) << e.what();
      }
      // Undoing what is left is no error either.
      if (explicitTransaction) {
        EXPECT_NO_THROW(session.execute("ROLLBACK"));
      }
    }
    EXPECT_EQ(readBytes(f), original);
    EXPECT_FALSE(fs::exists(file::journalPathFor(f)));
  }
}

}  // namespace
}  // namespace jet::storage::testing
