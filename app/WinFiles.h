// The file system as Windows sees it: the file-exists test follows links, the
// copy is CopyFileW (never overwriting), and a failure is told in the system's words.
#pragma once

#include "db/Ports.h"

class WinFiles : public qm::db::FileSystem {
 public:
  bool fileExists(const std::string& path) const override;
  qm::db::CopyOutcome copyToNewFile(const std::string& from, const std::string& to) override;
};
