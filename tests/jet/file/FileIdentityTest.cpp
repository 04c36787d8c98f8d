#include "jet/file/FileIdentity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace jet::file {
namespace {

constexpr int64_t kSecond = 1'000'000'000;

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TEST(FileIdentity, WholeSecondTimesMeanTwoSecondStepsFinerOnesATenth) {
  FileStamp coarse;
  coarse.modifiedNs = 1700000000 * kSecond;
  EXPECT_EQ(timestampGranularityNs(coarse), 2 * kSecond);
  FileStamp fine;
  fine.modifiedNs = 1700000000 * kSecond + 4'000'000;
  EXPECT_EQ(timestampGranularityNs(fine), kSecond / 10);
}

TEST(FileIdentity, RecentWithinTheStepsOfItsOwnKind) {
  const int64_t now = nowNs();
  FileStamp fine;
  fine.modifiedNs = now - kSecond / 2 + 1;  // half a second old, not on a whole second
  if (fine.modifiedNs % kSecond == 0) ++fine.modifiedNs;
  EXPECT_FALSE(changedRecently(fine));
  fine.modifiedNs = now - kSecond / 100 + 1;  // ten milliseconds old
  EXPECT_TRUE(changedRecently(fine));
  // A change of the file's status counts as a write too.
  fine.modifiedNs = now - 10 * kSecond + 7;
  fine.changedNs = now - kSecond / 100;
  EXPECT_TRUE(changedRecently(fine));

  FileStamp coarse;
  coarse.modifiedNs = (now / kSecond - 1) * kSecond;  // at most two seconds old, in whole seconds
  EXPECT_TRUE(changedRecently(coarse));
  coarse.modifiedNs = (now / kSecond - 3) * kSecond;
  EXPECT_FALSE(changedRecently(coarse));
}

TEST(FileIdentity, AWrittenFileHasAFreshStampThatSettles) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("qm-stamp-" + std::to_string(nowNs()) + ".bin");
  std::ofstream(path, std::ios::binary) << "abc";
  const FileStamp first = fileStampOf(path.string());
  EXPECT_EQ(first.size, 3u);
  // The stamp is in the system clock's epoch, so it can be compared with the time now.
  EXPECT_LT(std::llabs(nowNs() - first.modifiedNs), 60 * kSecond);
  EXPECT_TRUE(changedRecently(first));
  std::this_thread::sleep_for(std::chrono::nanoseconds(timestampGranularityNs(first) + kSecond / 20));
  EXPECT_FALSE(changedRecently(fileStampOf(path.string())));
  std::ofstream(path, std::ios::binary | std::ios::app) << "d";
  EXPECT_NE(fileStampOf(path.string()), first);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace jet::file
