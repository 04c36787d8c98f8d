#include "db/LocalFiles.h"

#include <fcntl.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace qm::db {

namespace {

std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Creates `path` for writing only if no file of that name exists, in one step.
int createNew(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
  std::ifstream in(pathOf(from), std::ios::binary);
  if (!in) return {CopyOutcome::Failed, std::strerror(errno)};
  const std::filesystem::path target = pathOf(to);
  int fd = createNew(target);
  if (fd < 0) {
    if (errno == EEXIST) return {CopyOutcome::TargetExists, {}};
    return {CopyOutcome::Failed, std::strerror(errno)};
  }
  std::string reason;
  char buffer[1 << 16];
  while (reason.empty()) {
    in.read(buffer, sizeof buffer);
    std::streamsize got = in.gcount();
    if (got > 0 && !writeAll(fd, buffer, static_cast<size_t>(got))) reason = std::strerror(errno);
    if (in.eof()) break;
    if (!in && reason.empty()) reason = "read error";
  }
#ifndef _WIN32
  // A copy the disk has not taken is no backup: flush it before saying it is made.
  if (reason.empty() && ::fsync(fd) != 0) reason = std::strerror(errno);
#endif
  if (closeFile(fd) != 0 && reason.empty()) reason = std::strerror(errno);
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
