#include "db/BackupCopy.h"

#include <cstdio>

#include "jet/core/Messages.h"

namespace qm::db {

namespace {
// Far more copies in one second than any person makes; past it something loops.
constexpr int kMostCopiesPerSecond = 1000;
}  // namespace

std::string timeStamp14(const std::tm& t) {
  // Formatted the way the window always did, "yyyy-mm-dd-hh-mm-ss" with the dashes removed.
  char dashed[80];
  std::snprintf(dashed, sizeof dashed, "%04d-%02d-%02d-%02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  std::string digits;
  for (const char* p = dashed; *p; ++p)
    if (*p != '-') digits += *p;
  return digits;
}

std::string folderOf(const std::string& path) {
  size_t sep = path.find_last_of("\\/:");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string fileNameOf(const std::string& path) {
  return path.substr(folderOf(path).size());
}

std::string backupCopyPath(const std::string& databasePath, const std::tm& local, int number) {
  std::string stamp = timeStamp14(local);
  // The number stands between underscores so that it never reads as part of the stamp or the name.
  if (number > 1) stamp += "_" + std::to_string(number) + "_";
  return folderOf(databasePath) + "bak_备份_" + stamp + fileNameOf(databasePath);
}

BackupCopy makeBackupCopy(FileSystem& files, const std::string& databasePath, const std::tm& local) {
  BackupCopy result;
  for (int number = 1; number <= kMostCopiesPerSecond; ++number) {
    result.path = backupCopyPath(databasePath, local, number);
    CopyOutcome outcome = files.copyToNewFile(databasePath, result.path);
    if (outcome.kind == CopyOutcome::Copied) return result;
    if (outcome.kind == CopyOutcome::Failed) {
      result.failure = outcome.reason;
      return result;
    }
  }
  result.failure =
      jet::msg::said("这一秒的备份副本名称都已被占用", "every backup name of this second is taken");
  return result;
}

}  // namespace qm::db
