// The backup copy made beside a statement: not finished while the copy is
// under way, a failure becomes the error that stops the change, the notice of
// a made copy comes once, and the object never leaves a copy half made.
#include "db/BackupInBackground.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "jet/core/Error.h"

namespace qm::db {
namespace {

// Copies only when let go; records what was asked on which thread.
class HeldFiles : public FileSystem {
 public:
  std::optional<std::string> failure;
  std::vector<std::string> taken;  // names that exist already
  std::vector<std::string> copies;
  std::thread::id copier;
  std::promise<void> letGo;

  bool fileExists(const std::string& path) const override {
    return std::find(taken.begin(), taken.end(), path) != taken.end();
  }
  CopyOutcome copyToNewFile(const std::string& from, const std::string& to) override {
    if (fileExists(to)) return {CopyOutcome::TargetExists, {}};
    copier = std::this_thread::get_id();
    released.wait();
    copies.push_back(from + ">" + to);
    if (failure) return {CopyOutcome::Failed, *failure};
    return {CopyOutcome::Copied, {}};
  }

 private:
  std::shared_future<void> released = letGo.get_future().share();
};

std::tm noon() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 10;
  t.tm_hour = 12;
  return t;
}

std::string failureText(const std::string& path, const std::string& reason) {
  return path + " failed: " + reason;
}

TEST(BackupInBackground, CopiesOnItsOwnThreadAndTellsOnceWhenMade) {
  HeldFiles files;
  files.taken = {"/d/bak_备份_20261210120000a.mdb"};
  std::vector<std::pair<std::string, std::thread::id>> notices;
  BackupInBackground backup(files, "/d/a.mdb", noon(), failureText, [&](const std::string& path) {
    notices.emplace_back(path, std::this_thread::get_id());
  });
  EXPECT_FALSE(backup.finished());
  files.letGo.set_value();
  backup.wait();
  EXPECT_TRUE(backup.finished());
  EXPECT_NE(files.copier, std::this_thread::get_id());
  // The taken name is passed over, as a copy made before the statement does.
  ASSERT_EQ(files.copies.size(), 1u);
  EXPECT_EQ(files.copies[0], "/d/a.mdb>/d/bak_备份_20261210120000_2_a.mdb");
  backup.wait();
  EXPECT_FALSE(backup.outcome().failure);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].first, "/d/bak_备份_20261210120000_2_a.mdb");
  EXPECT_EQ(notices[0].second, std::this_thread::get_id());
}

TEST(BackupInBackground, AFailedCopyIsAnErrorEveryTimeItIsWaitedFor) {
  HeldFiles files;
  files.failure = "disk full";
  int notices = 0;
  BackupInBackground backup(files, "/d/a.mdb", noon(), failureText, [&](const std::string&) { ++notices; });
  files.letGo.set_value();
  for (int time = 0; time < 2; ++time) {
    try {
      backup.wait();
      ADD_FAILURE() << "a failed copy let the change go on";
    } catch (const jet::Error& e) {
      EXPECT_EQ(e.code(), jet::ErrorCode::Io);
      EXPECT_EQ(std::string(e.what()), "/d/bak_备份_20261210120000a.mdb failed: disk full");
    }
  }
  EXPECT_TRUE(backup.finished());
  EXPECT_EQ(backup.outcome().failure, "disk full");
  EXPECT_EQ(notices, 0);
}

TEST(BackupInBackground, GoingAwayWaitsForTheCopyUnderWay) {
  HeldFiles files;
  {
    BackupInBackground backup(files, "/d/a.mdb", noon(), failureText);
    // Let go only after a moment, from elsewhere: the object must not end first.
    std::thread later([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      files.letGo.set_value();
    });
    later.detach();
  }
  EXPECT_EQ(files.copies.size(), 1u);
}

}  // namespace
}  // namespace qm::db
