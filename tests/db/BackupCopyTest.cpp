#include "db/BackupCopy.h"

#include <gtest/gtest.h>
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

TEST_F(LocalBackupCopy, MissingSourceFailsWithoutLeavingAFile) {
  LocalFiles files;
  CopyOutcome outcome = files.copyToNewFile(path("none.mdb"), path("copy.mdb"));
  EXPECT_EQ(outcome.kind, CopyOutcome::Failed);
  EXPECT_FALSE(outcome.reason.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "copy.mdb"));
}

}  // namespace
}  // namespace qm::db
