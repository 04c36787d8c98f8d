// A temporary file for rows a statement cannot keep in memory: written in
// order, read back whole or piece by piece, removed when dropped.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace jet::sql {

class SpillFile {
 public:
  SpillFile();
  ~SpillFile();
  SpillFile(const SpillFile&) = delete;
  SpillFile& operator=(const SpillFile&) = delete;

  void append(std::string_view bytes);
  bool empty() const { return written_ == 0 && buffer_.empty(); }
  // Bytes appended so far.
  uint64_t size() const { return written_ + buffer_.size(); }
  // Copies `count` bytes from `offset` (within size()) to `out`; appending may go on after.
  void read(uint64_t offset, size_t count, char* out);
  // Everything appended, in order; the file is removed.
  std::string takeAll();

 private:
  void writeBuffer();
  [[noreturn]] void fail() const;

  std::filesystem::path path_;
  std::ofstream out_;
  std::ifstream in_;  // opened by the first read
  std::string buffer_;
  size_t written_ = 0;
};

}  // namespace jet::sql
