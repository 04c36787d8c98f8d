// Naming and making of the backup copy taken each time a database is opened
// and before every batch change: the database's folder + "bak_备份_" + a
// 14-digit local time stamp + its file name. A copy never replaces another
// file: when that name is taken (two copies within one second), the copy is
// numbered, "bak_备份_" + stamp + "_2_" + file name, then "_3_" and so on.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "db/Ports.h"

namespace qm::db {

// "yyyymmddhhmmss" of a broken-down local time.
std::string timeStamp14(const std::tm& local);

// Folder part of a path, with its trailing separator ('\\', '/' or a drive's ':'); "" when there is none.
std::string folderOf(const std::string& path);
// What follows the folder part.
std::string fileNameOf(const std::string& path);

// The name of the `number`th copy taken at `local`; the first has no number.
std::string backupCopyPath(const std::string& databasePath, const std::tm& local, int number = 1);

struct BackupCopy {
  std::string path;                    // the copy made, or the last name tried
  std::optional<std::string> failure;  // why no copy was made
};

// Copies the database to the first of its backup names that is free.
BackupCopy makeBackupCopy(FileSystem& files, const std::string& databasePath, const std::tm& local);

}  // namespace qm::db
