// Readers and writers of one database in different processes (or handles):
// a reader waits for a writer's transaction and then sees its result; a
// waiting writer keeps new readers out; past the timeout the database is
// reported busy.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "jet/core/Error.h"
#include "jet/file/ChangeLock.h"
#include "jet/file/FileIdentity.h"
#include "jet/file/PageFile.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

fs::path mdbDir() {
  return fs::path(QM_TESTDATA_DIR) / "mdb";
}

class ChangeLockTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qm-change-lock-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    db_ = (dir_ / "db.mdb").string();
    std::ofstream(db_, std::ios::binary) << std::string(4096, 'x');
  }
  void TearDown() override {
    ChangeLock::setTimeout(std::chrono::seconds(30));
    fs::remove_all(dir_);
  }
  fs::path dir_;
  std::string db_;
};

TEST_F(ChangeLockTest, AReaderWaitsForAWriterInAnotherProcess) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ChangeLock writer(db_, true);
    writer.lockExclusive();
    char c = 1;
    if (write(ready[1], &c, 1) != 1) _exit(2);
    std::this_thread::sleep_for(milliseconds(300));
    _exit(0);  // the system lets go of its locks
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ChangeLock reader(db_, false);
  const auto start = Clock::now();
  reader.lockShared();
  EXPECT_GE(Clock::now() - start, milliseconds(200));
  EXPECT_EQ(reader.state(), ChangeLock::State::Shared);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(ChangeLockTest, PastTheTimeoutTheDatabaseIsBusy) {
  ChangeLock::setTimeout(milliseconds(100));
  ChangeLock writer(db_, true);
  writer.lockExclusive();
  ChangeLock reader(db_, false);
  try {
    reader.lockShared();
    FAIL() << "a reader got in under a writer";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), ErrorCode::Locked);
  }
  // A second writer, too, waits for the first.
  ChangeLock other(db_, true);
  EXPECT_THROW(other.lockExclusive(), FileError);
  writer.unlock();
  reader.lockShared();
  EXPECT_THROW(other.lockExclusive(), FileError);  // now the reader holds it
}

TEST_F(ChangeLockTest, AWaitingWriterKeepsNewReadersOut) {
  ChangeLock::setTimeout(milliseconds(600));
  ChangeLock first(db_, false);
  first.lockShared();
  std::atomic<bool> writerIn{false}, done{false};
  std::thread writing([&] {
    ChangeLock writer(db_, true);
    writer.lockExclusive();
    writerIn = true;
    while (!done) std::this_thread::sleep_for(milliseconds(5));
  });
  std::this_thread::sleep_for(milliseconds(50));
  // The writer waits for `first`; a reader that comes now queues behind it.
  std::thread releasing([&] {
    std::this_thread::sleep_for(milliseconds(150));
    first.unlock();
  });
  ChangeLock second(db_, false);
  EXPECT_THROW(second.lockShared(), FileError);
  EXPECT_TRUE(writerIn.load());
  done = true;
  writing.join();
  releasing.join();
  second.lockShared();  // the writer is gone
}

TEST_F(ChangeLockTest, AReaderSeesWhatAWriterCommittedSinceItsLastRead) {
  if (!fs::exists(mdbDir() / "jet4/dups_v2000.mdb")) GTEST_SKIP() << "no reference databases";
  const std::string copy = (dir_ / "dups.mdb").string();
  fs::copy_file(mdbDir() / "jet4/dups_v2000.mdb", copy);
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
  auto reader = PageFile::open(copy);
  std::vector<uint8_t> changed;
  {
    ReadScope reading(*reader);
    changed = *reader->read(3);  // now in the reader's cache
  }
  changed[100] ^= 0xFF;
  {
    auto writer = PageFile::openForWriting(copy);
    writer->begin();
    writer->write(3, changed);
    // The reader cannot start while the writer's pages go in.
    writer->commit();
  }
  ReadScope reading(*reader);
  EXPECT_EQ(*reader->read(3), changed);
}

TEST_F(ChangeLockTest, AReaderKeepsItsPagesWhileTheFileStaysAsItWas) {
  if (!fs::exists(mdbDir() / "jet4/dups_v2000.mdb")) GTEST_SKIP() << "no reference databases";
  const std::string copy = (dir_ / "dups.mdb").string();
  fs::copy_file(mdbDir() / "jet4/dups_v2000.mdb", copy);
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
  const int64_t step = timestampGranularityNs(fileStampOf(copy));
  if (step > 1'000'000'000) GTEST_SKIP() << "this file system keeps whole seconds only";
  std::this_thread::sleep_for(std::chrono::nanoseconds(step) + milliseconds(50));
  auto reader = PageFile::open(copy);
  uint64_t loaded = 0;
  for (int round = 0; round < 3; ++round) {
    ReadScope reading(*reader);
    reader->read(3);
    if (round == 0) loaded = reader->pagesLoaded();
  }
  // Every read transaction looked at the file, found it as it was, and kept the page.
  EXPECT_EQ(reader->generation(), 0u);
  EXPECT_EQ(reader->pagesLoaded(), loaded);

  std::vector<uint8_t> changed = *reader->read(3);
  changed[100] ^= 0xFF;
  {
    auto writer = PageFile::openForWriting(copy);
    writer->begin();
    writer->write(3, changed);
    writer->commit();
  }
  {
    ReadScope reading(*reader);
    EXPECT_EQ(*reader->read(3), changed);
  }
  EXPECT_GE(reader->generation(), 1u);
  // Once the writer's stamp has settled, the reader trusts it again.
  std::this_thread::sleep_for(std::chrono::nanoseconds(step) + milliseconds(50));
  { ReadScope reading(*reader); }
  const uint64_t settled = reader->generation();
  for (int round = 0; round < 3; ++round) {
    ReadScope reading(*reader);
    EXPECT_EQ(*reader->read(3), changed);
  }
  EXPECT_EQ(reader->generation(), settled);
}

TEST_F(ChangeLockTest, AReaderWaitsWhileAWriterHasPagesInTheFile) {
  if (!fs::exists(mdbDir() / "jet4/dups_v2000.mdb")) GTEST_SKIP() << "no reference databases";
  const std::string copy = (dir_ / "dups.mdb").string();
  fs::copy_file(mdbDir() / "jet4/dups_v2000.mdb", copy);
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
  ChangeLock::setTimeout(milliseconds(100));
  auto reader = PageFile::open(copy);
  auto writer = PageFile::openForWriting(copy);
  writer->setDirtyLimit(1);
  writer->begin();
  std::vector<uint8_t> page = *writer->read(3);
  page[100] ^= 0xFF;
  writer->write(3, page);  // written through at once: the limit is one page
  EXPECT_GT(writer->pagesWritten(), 0u);
  EXPECT_THROW(reader->beginRead(), FileError);
  writer->rollback();
  reader->beginRead();
  EXPECT_NE(*reader->read(3), page);
  reader->endRead();
}

}  // namespace
}  // namespace jet::file
