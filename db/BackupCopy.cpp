#include "db/BackupCopy.h"

#include <cstdio>

namespace qm::db {

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

std::string backupCopyPath(const std::string& databasePath, const std::tm& local) {
  return folderOf(databasePath) + "bak_备份_" + timeStamp14(local) + fileNameOf(databasePath);
}

}  // namespace qm::db
