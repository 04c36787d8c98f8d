#include "db/BackupCopy.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "db/LocalFiles.h"
#include "tests/db/Fakes.h"

namespace qm::db {
namespace {

std::tm noon() {
  std::tm t{};
  t.tm_year = 2026 - 1900, t.tm_mon = 11, t.tm_mday = 10, t.tm_hour = 12;
  return t;
}

TEST(BackupCopyNaming, LaterCopiesOfOneSecondAreNumbered) {
  EXPECT_EQ(backupCopyPath("/d/file.mdb", noon(), 1), "/d/bak_备份_20261210120000file.mdb");
  EXPECT_EQ(backupCopyPath("/d/file.mdb", noon(), 2), "/d/bak_备份_20261210120000_2_file.mdb");
  EXPECT_EQ(backupCopyPath("C:\\d\\file.mdb", noon(), 12), "C:\\d\\bak_备份_20261210120000_12_file.mdb");
}

TEST(BackupCopyNaming, TakesTheFirstFreeName) {
  testing::Log log;
  testing::FakeFiles files(log);
  files.existing = {"/d/bak_备份_20261210120000file.mdb", "/d/bak_备份_20261210120000_2_file.mdb"};
  BackupCopy copy = makeBackupCopy(files, "/d/file.mdb", noon());
  EXPECT_FALSE(copy.failure);
  EXPECT_EQ(copy.path, "/d/bak_备份_20261210120000_3_file.mdb");
}

TEST(BackupCopyNaming, FailureStopsAndNamesTheTarget) {
  testing::Log log;
  testing::FakeFiles files(log);
  files.copyFailure = "No space left on device";
  BackupCopy copy = makeBackupCopy(files, "/d/file.mdb", noon());
  ASSERT_TRUE(copy.failure);
  EXPECT_EQ(*copy.failure, "No space left on device");
  EXPECT_EQ(copy.path, "/d/bak_备份_20261210120000file.mdb");
  EXPECT_EQ(log.size(), 1u);
}

class LocalBackupCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qm_backup_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    write(dir_ / "file.mdb", "original rows");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static void write(const std::filesystem::path& p, const std::string& text) { std::ofstream(p) << text; }
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(LocalBackupCopy, SecondCopyInOneSecondKeepsTheFirst) {
  LocalFiles files;
  BackupCopy first = makeBackupCopy(files, path("file.mdb"), noon());
  ASSERT_FALSE(first.failure) << *first.failure;
  write(dir_ / "file.mdb", "rows after a change");
  BackupCopy second = makeBackupCopy(files, path("file.mdb"), noon());
  ASSERT_FALSE(second.failure) << *second.failure;
  EXPECT_EQ(second.path, path("bak_备份_20261210120000_2_file.mdb"));
  EXPECT_EQ(read(first.path), "original rows");
  EXPECT_EQ(read(second.path), "rows after a change");
}

TEST_F(LocalBackupCopy, ExistingTargetIsReportedAndLeftAlone) {
  LocalFiles files;
  write(dir_ / "other.mdb", "someone else's file");
  CopyOutcome outcome = files.copyToNewFile(path("file.mdb"), path("other.mdb"));
  EXPECT_EQ(outcome.kind, CopyOutcome::TargetExists);
  EXPECT_EQ(read(dir_ / "other.mdb"), "someone else's file");
}

TEST_F(LocalBackupCopy, CopyIsNamedOnlyWhenWhole) {
  LocalFiles files;
  BackupCopy copy = makeBackupCopy(files, path("file.mdb"), noon());
  ASSERT_FALSE(copy.failure) << *copy.failure;
  EXPECT_EQ(read(copy.path), "original rows");
  EXPECT_FALSE(std::filesystem::exists(copy.path + ".part"));
  // A partial copy left by a killed run keeps its name from being reused.
  write(dir_ / "next.mdb.part", "half");
  EXPECT_EQ(files.copyToNewFile(path("file.mdb"), path("next.mdb")).kind, CopyOutcome::TargetExists);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "next.mdb"));
  EXPECT_EQ(read(dir_ / "next.mdb.part"), "half");
}

// A copy killed part way through: watched from outside, the backup's name
// never shows a file shorter than the database.
TEST_F(LocalBackupCopy, KilledCopyNeverLeavesAShortBackup) {
  const std::filesystem::path big = dir_ / "big.mdb";
  {
    std::ofstream out(big, std::ios::binary);
    std::string block(1 << 20, 'x');
    for (int i = 0; i < 96; ++i) out << block;
  }
  const auto size = std::filesystem::file_size(big);
  const std::filesystem::path target = dir_ / "bak.mdb";
  std::filesystem::path partial = target;
  partial += ".part";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LocalFiles files;
    files.copyToNewFile(big.string(), target.string());
    _exit(0);
  }
  bool sawPartial = false, sawShort = false;
  for (int i = 0; i < 200000; ++i) {
    std::error_code ec;
    const auto now = std::filesystem::file_size(target, ec);
    if (!ec && now != size) sawShort = true;
    if (std::filesystem::exists(partial)) {
      sawPartial = true;
      break;
    }
    if (!ec) break;  // already whole
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  std::error_code ec;
  const auto left = std::filesystem::file_size(target, ec);
  EXPECT_FALSE(sawShort);
  EXPECT_TRUE(ec || left == size) << left << " of " << size << " bytes under the backup's name";
  EXPECT_TRUE(sawPartial || !ec);
}

TEST_F(LocalBackupCopy, MissingSourceFailsWithoutLeavingAFile) {
  LocalFiles files;
  CopyOutcome outcome = files.copyToNewFile(path("none.mdb"), path("copy.mdb"));
  EXPECT_EQ(outcome.kind, CopyOutcome::Failed);
  EXPECT_FALSE(outcome.reason.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "copy.mdb"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "copy.mdb.part"));
}

}  // namespace
}  // namespace qm::db
