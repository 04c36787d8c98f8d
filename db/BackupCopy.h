// Naming of the backup copy made each time a database is opened: the
// database's folder + "bak_备份_" + a 14-digit local time stamp + its file
// name. The command-line tool uses the same naming before a batch dedupe.
#pragma once

#include <ctime>
#include <string>

namespace qm::db {

// "yyyymmddhhmmss" of a broken-down local time.
std::string timeStamp14(const std::tm& local);

// Folder part of a path, with its trailing separator ('\\', '/' or a drive's ':'); "" when there is none.
std::string folderOf(const std::string& path);
// What follows the folder part.
std::string fileNameOf(const std::string& path);

std::string backupCopyPath(const std::string& databasePath, const std::tm& local);

}  // namespace qm::db
