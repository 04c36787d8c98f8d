#include "db/LocalFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "jet/core/Messages.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qm::db {

namespace {

std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

int openToRead(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
#else
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
}

// Creates `path` for writing only if no file of that name exists, in one step.
int createNew(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

// The size of an open file; -1 when the system cannot tell.
int64_t sizeOf(int fd) {
#ifdef _WIN32
  struct _stat64 st {};
  return _fstat64(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
#else
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
#endif
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
#ifdef _WIN32
    int n = _write(fd, data, static_cast<unsigned>(size));
#else
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
#endif
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Copies from the current positions to the end of `in`; the bytes copied,
// or -1 with errno set.
int64_t copyByBuffer(int in, int out) {
  // Large reads and writes: a database is copied in a few hundred calls, not tens of thousands.
  constexpr size_t kBuffer = size_t{1} << 20;
  std::unique_ptr<char[]> buffer(new char[kBuffer]);
  int64_t copied = 0;
  for (;;) {
#ifdef _WIN32
    int got = _read(in, buffer.get(), static_cast<unsigned>(kBuffer));
#else
    ssize_t got = ::read(in, buffer.get(), kBuffer);
    if (got < 0 && errno == EINTR) continue;
#endif
    if (got < 0) return -1;
    if (got == 0) return copied;
    if (!writeAll(out, buffer.get(), static_cast<size_t>(got))) return -1;
    copied += got;
  }
}

// Copies all of `in` to `out`; the bytes copied, or -1 with errno set.
int64_t copyAll(int in, int out, int64_t size) {
#ifdef __linux__
  // The kernel copies between the files itself (sharing the blocks where the
  // file system can); where it cannot, the bytes go through a buffer.
  int64_t copied = 0;
  while (copied < size) {
    ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(size - copied), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
      return copyByBuffer(in, out);
    if (n < 0) return -1;
    if (n == 0) break;  // the file got shorter since its size was taken
    copied += n;
  }
  // Whatever the file gained meanwhile follows too; the size check then tells.
  const int64_t rest = copyByBuffer(in, out);
  return rest < 0 ? -1 : copied + rest;
#else
  (void)size;
  return copyByBuffer(in, out);
#endif
}

// Makes the system put the file's bytes on the disk before returning.
int flushToDisk(int fd) {
#ifdef _WIN32
  return _commit(fd);
#else
  return ::fsync(fd);
#endif
}

int closeFile(int fd) {
#ifdef _WIN32
  return _close(fd);
#else
  return ::close(fd);
#endif
}

}  // namespace

bool LocalFiles::fileExists(const std::string& path) const {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(pathOf(path), ec);
}

CopyOutcome LocalFiles::copyToNewFile(const std::string& from, const std::string& to) {
  const int in = openToRead(pathOf(from));
  if (in < 0) return {CopyOutcome::Failed, std::strerror(errno)};
  const std::filesystem::path target = pathOf(to);
  const int out = createNew(target);
  if (out < 0) {
    const int error = errno;
    closeFile(in);
    if (error == EEXIST) return {CopyOutcome::TargetExists, {}};
    return {CopyOutcome::Failed, std::strerror(error)};
  }
  std::string reason;
  const int64_t size = sizeOf(in);
  const int64_t copied = size < 0 ? -1 : copyAll(in, out, size);
  if (copied < 0) reason = std::strerror(errno);
  // The copy is the user's only undo: it must hold every byte the file had.
  else if (copied != size || sizeOf(out) != size)
    reason = jet::msg::said("副本与原文件大小不同", "the copy's size differs from the file's");
  // A copy the disk has not taken is no backup: flush it before saying it is made.
  else if (flushToDisk(out) != 0)
    reason = std::strerror(errno);
  if (closeFile(out) != 0 && reason.empty()) reason = std::strerror(errno);
  closeFile(in);
  if (reason.empty()) return {CopyOutcome::Copied, {}};
  // Half a copy would pass for a good one; only the file we created is removed.
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
  return {CopyOutcome::Failed, reason};
}

std::tm LocalClock::localNow() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

}  // namespace qm::db
