// Keeps readers in other processes from seeing a write half done, as
// SQLite's shared and exclusive locks do. A reader holds the lock shared
// while it reads (a statement); a writer holds it exclusively from its first
// page write into the database until its commit or rollback is complete.
// Each side waits for the other, up to a timeout, then reports the database
// busy. A writer first takes a "pending" lock that new readers respect, so a
// stream of short readers cannot keep it out for ever.
//
// The locks lie on bytes far past any data of the file (byte-range locks of
// the open file on Linux, LockFileEx on Windows), apart from the lock that
// keeps a second writer out (FileLock).
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace jet::file {

class ChangeLock {
 public:
  // Opens the database for its locks alone (for writing when `writer`: the
  // system grants an exclusive lock only then). Throws FileError:
  // FileNotFound, ReadOnly, Io.
  ChangeLock(const std::string& databasePath, bool writer);
  ~ChangeLock();
  ChangeLock(const ChangeLock&) = delete;
  ChangeLock& operator=(const ChangeLock&) = delete;

  enum class State { None, Shared, Exclusive };
  State state() const { return state_; }

  // Wait for the lock; throw FileError(Locked, msg::databaseBusy) after the
  // timeout, and Error(Interrupted) as soon as a stop is requested while
  // waiting. Already holding the lock asked for is no error.
  void lockShared();
  void lockExclusive();
  void unlock();

  // How long either side waits (process-wide; 30 seconds unless set).
  static void setTimeout(std::chrono::milliseconds timeout);
  static std::chrono::milliseconds timeout();

  struct Handle;  // the platform's open file

 private:
  std::string path_;
  std::unique_ptr<Handle> handle_;
  State state_ = State::None;
};

}  // namespace jet::file
