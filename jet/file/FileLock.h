// Keeps other programs from corrupting a database while we use it. A writer
// holds an exclusive lock that other Quellmark processes respect, and the
// lock file Access uses ("<db without extension>.ldb"): while it is held,
// Access (and another Quellmark) sees the database as in use. Readers hold a
// shared lock, so that no writer starts under them.
#pragma once

#include <memory>
#include <string>

namespace jet::file {

// "<db without its extension>.ldb", as Access names it. FileLock names it
// after the real path of the database (FileIdentity.h).
std::string lockFilePathFor(const std::string& databasePath);

class FileLock {
 public:
  enum class Mode { Read, Write };

  // Throws FileError: FileNotFound; ReadOnly when writing is asked for a file
  // (or folder) that may not be written (msg::readOnlyFile); Locked when
  // another program holds the database (msg::lockedFile); Io.
  static std::unique_ptr<FileLock> acquire(const std::string& databasePath, Mode mode);

  // Releases the locks and removes the lock file a writer created.
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  Mode mode() const { return mode_; }
  const std::string& databasePath() const { return database_; }
  const std::string& lockFilePath() const { return lockFile_; }

  struct Handles;  // the platform's open files

 private:
  FileLock(std::string database, Mode mode, std::unique_ptr<Handles> handles);

  std::string database_;
  std::string lockFile_;
  Mode mode_;
  std::unique_ptr<Handles> handles_;
};

}  // namespace jet::file
