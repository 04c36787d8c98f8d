// The few file operations the journal and its writer need, behind an
// interface so that tests can make any one of them fail (a full disk, an I/O
// error) and check that the database is left as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace jet::file {

class IoFile {
 public:
  virtual ~IoFile() = default;
  // Each throws FileError(Io) naming the file when the system refuses.
  virtual uint64_t size() = 0;
  // Reads up to out.size() bytes at `offset`; returns how many (fewer at the end).
  virtual size_t readAt(uint64_t offset, std::span<uint8_t> out) = 0;
  virtual void writeAt(uint64_t offset, std::span<const uint8_t> data) = 0;
  virtual void truncate(uint64_t size) = 0;
  // Returns once the data written so far is on stable storage.
  virtual void sync() = 0;
};

class IoSystem {
 public:
  virtual ~IoSystem() = default;
  // Opens for reading and writing. Throws FileError: FileNotFound (unless
  // `create`), ReadOnly (no write permission, read-only medium), Io.
  virtual std::unique_ptr<IoFile> open(const std::string& path, bool create) = 0;
  virtual bool exists(const std::string& path) = 0;
  // Removes the file; a missing file is no error. Throws FileError(Io).
  virtual void remove(const std::string& path) = 0;
  // Makes the creation or removal of a file in the folder of `path` durable.
  virtual void syncFolderOf(const std::string& path) = 0;
};

// The operating system's files.
IoSystem& systemIo();

}  // namespace jet::file
