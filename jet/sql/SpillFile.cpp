#include "jet/sql/SpillFile.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet::sql {

namespace {

constexpr size_t kBufferBytes = size_t{1} << 16;

// A name no other spill file has: random bits, the clock and the object's
// address, in case a platform's random device is not random.
std::filesystem::path freshPath(const void* owner) {
  std::random_device random;
  const uint64_t tag = ((static_cast<uint64_t>(random()) << 32) ^ random()) ^
                       static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                       (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(owner)) << 16);
  char name[40];
  std::snprintf(name, sizeof name, "quellmark-%016llx.tmp", static_cast<unsigned long long>(tag));
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = ".";
  return folder / name;
}

}  // namespace

SpillFile::SpillFile() : path_(freshPath(this)) {
  out_.open(path_, std::ios::binary | std::ios::trunc);
  if (!out_) fail();
}

SpillFile::~SpillFile() {
  in_.close();
  out_.close();
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

void SpillFile::fail() const {
  throw Error(ErrorCode::Io, msg::ioError(path_.string(), "the temporary file could not be written or read"));
}

void SpillFile::writeBuffer() {
  if (buffer_.empty()) return;
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  if (!out_) fail();
  written_ += buffer_.size();
  buffer_.clear();
}

void SpillFile::append(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferBytes) writeBuffer();
}

void SpillFile::read(uint64_t offset, size_t count, char* out) {
  if (offset + count > size()) fail();
  if (offset >= written_) {
    // Still in the buffer: no need to touch the file.
    buffer_.copy(out, count, static_cast<size_t>(offset - written_));
    return;
  }
  writeBuffer();
  out_.flush();
  if (!out_) fail();
  if (!in_.is_open()) {
    in_.open(path_, std::ios::binary);
    if (!in_) fail();
  }
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(offset));
  if (!in_.read(out, static_cast<std::streamsize>(count))) fail();
}

std::string SpillFile::takeAll() {
  writeBuffer();
  out_.close();
  if (!out_) fail();
  in_.close();
  std::string all(written_, '\0');
  std::ifstream in(path_, std::ios::binary);
  if (!in.read(all.data(), static_cast<std::streamsize>(all.size()))) fail();
  in.close();
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  written_ = 0;
  return all;
}

}  // namespace jet::sql
