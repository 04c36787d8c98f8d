// What tells one database file from another: the path with every symbolic
// link and "." / ".." resolved, and the system's number for the file. The
// journal and the lock file are named after the real path, so a database
// reached through a link finds the same ones as through its own name; the
// journal records both, so it is never applied to another file.
#pragma once

#include <cstdint>
#include <string>

namespace jet::file {

// The absolute path with links resolved; for a file that does not exist (yet),
// its folder resolved and the name kept. Never throws: a path the system
// cannot resolve comes back as given.
std::string realPathOf(const std::string& path);

// The device and file number of an existing file; zeros where the system
// does not give them (then they prove nothing either way).
struct FileNumber {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool known() const { return device != 0 || inode != 0; }
  bool operator==(const FileNumber&) const = default;
};
FileNumber fileNumberOf(const std::string& path);

// What changes whenever a file is written: a reader compares it to tell
// whether the pages it keeps may be stale.
struct FileStamp {
  uint64_t size = 0;
  int64_t modifiedNs = 0;
  int64_t changedNs = 0;
  FileNumber number;
  bool operator==(const FileStamp&) const = default;
};
FileStamp fileStampOf(const std::string& path);
// The steps in which the file system records the stamp's times, as far as
// the stamp tells: two seconds for whole-second times, else 100 ms.
int64_t timestampGranularityNs(const FileStamp& stamp);
// Whether the file was written so lately that a later write might still
// leave the same stamp (timestamps are coarser than writes are quick).
bool changedRecently(const FileStamp& stamp);

}  // namespace jet::file
