// The backup copy of a database made on a thread of its own while the
// statement that will change the database reads it, instead of before the
// statement starts. The copy is the gate of the database's writes: the
// statement's first page written to the file waits until the copy is
// complete, its size checked and flushed, and a failed copy undoes the
// statement before anything was written.
#pragma once

#include <ctime>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "db/BackupCopy.h"
#include "db/Ports.h"
#include "jet/file/ChangeGate.h"

namespace qm::db {

class BackupInBackground : public jet::file::ChangeGate {
 public:
  // The error text of a failed copy, from its path and the reason.
  using FailureText = std::function<std::string(const std::string& path, const std::string& reason)>;
  // Called once, on the caller's thread, when the copy is known to be made.
  using MadeNotice = std::function<void(const std::string& path)>;

  // Starts copying at once; `files` must outlive this object.
  BackupInBackground(FileSystem& files, std::string databasePath, const std::tm& local,
                     FailureText failureText, MadeNotice made = {});
  // Waits for a copy still under way: its file is never left half written.
  ~BackupInBackground() override;
  BackupInBackground(const BackupInBackground&) = delete;
  BackupInBackground& operator=(const BackupInBackground&) = delete;

  bool finished() override;
  // Throws jet::Error(ErrorCode::Io) with the failure text when no copy was made.
  void wait() override;
  // Waits, then tells what came of it (without throwing).
  const BackupCopy& outcome();

 private:
  std::future<BackupCopy> copying_;
  std::optional<BackupCopy> outcome_;
  FailureText failureText_;
  MadeNotice made_;
};

}  // namespace qm::db
