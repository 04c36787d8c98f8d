// Where the bytes of a database file come from: a file on disk or, for the
// fuzzer and tests, a buffer in memory. PageFile is the only user.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "jet/file/JournalIo.h"

namespace jet::file {

class PageSource {
 public:
  virtual ~PageSource() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly `length` bytes at `offset`; throws FileError(Io) otherwise.
  virtual void readAt(uint64_t offset, uint8_t* out, size_t length) = 0;
};

class FileSource : public PageSource {
 public:
  // Throws FileError: FileNotFound, Io.
  FileSource(const std::string& path, bool readOnly);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  uint64_t size() const override { return size_; }
  void readAt(uint64_t offset, uint8_t* out, size_t length) override;
  // After another process changed the file's length.
  void refreshSize();

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;
};

// A file opened for writing through the journal's I/O seam: PageFile reads
// through it and writes its pages and the journal's rollbacks to it.
class WritableSource : public PageSource {
 public:
  WritableSource(std::unique_ptr<IoFile> file, std::string path);
  uint64_t size() const override { return size_; }
  void readAt(uint64_t offset, uint8_t* out, size_t length) override;
  IoFile& file() { return *file_; }
  // After a write, a truncation or a rollback changed the file's length.
  void refreshSize() { size_ = file_->size(); }

 private:
  std::unique_ptr<IoFile> file_;
  std::string path_;
  uint64_t size_ = 0;
};

class MemorySource : public PageSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  uint64_t size() const override { return bytes_.size(); }
  void readAt(uint64_t offset, uint8_t* out, size_t length) override;

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace jet::file
