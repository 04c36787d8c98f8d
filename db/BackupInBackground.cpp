#include "db/BackupInBackground.h"

#include <chrono>
#include <exception>

#include "jet/core/Error.h"

namespace qm::db {

BackupInBackground::BackupInBackground(FileSystem& files, std::string databasePath, const std::tm& local,
                                       FailureText failureText, MadeNotice made)
    : failureText_(std::move(failureText)), made_(std::move(made)) {
  copying_ = std::async(std::launch::async, [&files, path = std::move(databasePath), local]() -> BackupCopy {
    try {
      return makeBackupCopy(files, path, local);
    } catch (const std::exception& e) {
      return {{}, std::string(e.what())};
    }
  });
}

BackupInBackground::~BackupInBackground() {
  if (copying_.valid()) copying_.wait();
}

bool BackupInBackground::finished() {
  return outcome_ || copying_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

const BackupCopy& BackupInBackground::outcome() {
  if (!outcome_) {
    outcome_ = copying_.get();
    if (!outcome_->failure && made_) made_(outcome_->path);
  }
  return *outcome_;
}

void BackupInBackground::wait() {
  const BackupCopy& copy = outcome();
  if (copy.failure) throw jet::Error(jet::ErrorCode::Io, failureText_(copy.path, *copy.failure));
}

}  // namespace qm::db
