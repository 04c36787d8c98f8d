#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jet/core/Error.h"
#include "jet/file/FileLock.h"

namespace jet::file {
namespace {

namespace fs = std::filesystem;
using Mode = FileLock::Mode;

class FileLockTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qm-lock-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    db_ = (dir_ / "客户.mdb").string();
    std::ofstream(db_, std::ios::binary) << std::string(4096, 'x');
  }
  void TearDown() override { fs::remove_all(dir_); }

  ErrorCode failureOf(Mode mode) {
    try {
      FileLock::acquire(db_, mode);
    } catch (const FileError& e) {
      message_ = e.what();
      return e.code();
    }
    return ErrorCode::Invalid;  // acquired: no failure
  }

  fs::path dir_;
  std::string db_;
  std::string message_;
};

TEST(FileLockPath, LockFileReplacesTheExtension) {
  EXPECT_EQ(lockFilePathFor("/a/b/data.mdb"), "/a/b/data.ldb");
  EXPECT_EQ(lockFilePathFor("/a/b.c/data"), "/a/b.c/data.ldb");
  EXPECT_EQ(lockFilePathFor("C:\\x.y\\db.dat"), "C:\\x.y\\db.ldb");
}

TEST_F(FileLockTest, WriterCreatesTheLockFileAndRemovesItOnRelease) {
  {
    auto lock = FileLock::acquire(db_, Mode::Write);
    EXPECT_EQ(lock->mode(), Mode::Write);
    ASSERT_TRUE(fs::exists(lockFilePathFor(db_)));
    EXPECT_EQ(fs::file_size(lockFilePathFor(db_)), 64u);  // one user entry
  }
  EXPECT_FALSE(fs::exists(lockFilePathFor(db_)));
  // A lock file left behind by a crash does not stand in the way.
  std::ofstream(lockFilePathFor(db_)) << std::string(128, 'z');
  auto again = FileLock::acquire(db_, Mode::Write);
  EXPECT_EQ(fs::file_size(lockFilePathFor(db_)), 64u);
}

TEST_F(FileLockTest, OneWriterExcludesWritersAndReaders) {
  auto writer = FileLock::acquire(db_, Mode::Write);
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Locked);
  EXPECT_NE(message_.find("客户.mdb"), std::string::npos) << message_;
  EXPECT_EQ(failureOf(Mode::Read), ErrorCode::Locked);
  writer.reset();
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Invalid);
}

TEST_F(FileLockTest, ReadersShareButKeepWritersOut) {
  auto r1 = FileLock::acquire(db_, Mode::Read);
  auto r2 = FileLock::acquire(db_, Mode::Read);
  EXPECT_FALSE(fs::exists(lockFilePathFor(db_)));
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Locked);
  r1.reset();
  r2.reset();
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Invalid);
}

TEST_F(FileLockTest, AnotherProcessIsLockedOutUntilTheWriterExits) {
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto lock = FileLock::acquire(db_, Mode::Write);
    char c = 1;
    if (write(ready[1], &c, 1) != 1) _exit(2);
    if (read(done[0], &c, 1) != 1) _exit(3);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Locked);
  EXPECT_EQ(failureOf(Mode::Read), ErrorCode::Locked);
  ASSERT_EQ(write(done[1], &c, 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Invalid);
}

TEST_F(FileLockTest, KilledWriterReleasesItsLock) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto lock = FileLock::acquire(db_, Mode::Write);
    pause();
    _exit(0);
  }
  for (int i = 0; i < 200 && !fs::exists(lockFilePathFor(db_)); ++i) usleep(5000);
  usleep(20000);
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Locked);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(fs::exists(lockFilePathFor(db_)));  // left behind, as after a crash
  EXPECT_EQ(failureOf(Mode::Write), ErrorCode::Invalid);
}

TEST_F(FileLockTest, MissingAndUnwritableFiles) {
  EXPECT_THROW(FileLock::acquire((dir_ / "none.mdb").string(), Mode::Read), FileError);
  try {
    FileLock::acquire((dir_ / "none.mdb").string(), Mode::Write);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), ErrorCode::FileNotFound);
  }
  // A file even root may not write.
  const std::string sys = "/sys/kernel/notes";
  if (!fs::exists(sys)) GTEST_SKIP() << sys << " is not present";
  try {
    FileLock::acquire(sys, Mode::Write);
    GTEST_SKIP() << sys << " opened for writing here";
  } catch (const FileError& e) {
    EXPECT_EQ(e.code(), ErrorCode::ReadOnly);
    EXPECT_NE(std::string(e.what()).find("只读"), std::string::npos);
  }
}

}  // namespace
}  // namespace jet::file
