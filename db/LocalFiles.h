// The file system and clock of the machine the program runs on, through the
// standard library (paths are UTF-8).
#pragma once

#include "db/Ports.h"

namespace qm::db {

class LocalFiles : public FileSystem {
 public:
  bool fileExists(const std::string& path) const override;
  CopyOutcome copyToNewFile(const std::string& from, const std::string& to) override;
};

class LocalClock : public Clock {
 public:
  std::tm localNow() const override;
};

}  // namespace qm::db
