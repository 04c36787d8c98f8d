// A temporary file for rows a statement cannot keep in memory: written in
// order, read back whole, removed when dropped.
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
  // Everything appended, in order; the file is removed.
  std::string takeAll();

 private:
  void writeBuffer();
  [[noreturn]] void fail() const;

  std::filesystem::path path_;
  std::ofstream out_;
  std::string buffer_;
  size_t written_ = 0;
};

}  // namespace jet::sql
