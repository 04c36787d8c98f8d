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

#ifndef _WIN32
// Puts a folder's entries on the disk: a renamed file's new name survives a
// power cut only once its folder is flushed. 0 or an errno value.
int syncFolderOf(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return error;
}
#endif

// The name a copy is written under until it is complete.
std::filesystem::path partialCopyPath(const std::filesystem::path& target) {
  std::filesystem::path partial = target;
  partial += ".part";
  return partial;
}

// Whether some file or link has the name; a name the system cannot look at
// is left to the creating call, which then tells why.
bool nameIsTaken(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_type type = std::filesystem::symlink_status(path, ec).type();
  return type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
}

// Gives the complete copy `from` the name `to` unless a file has that name,
// and makes the new name durable. 0, EEXIST, or another errno value.
int publishWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  // The C library's rename never replaces an existing file on Windows.
  if (_wrename(from.c_str(), to.c_str()) == 0) return 0;
  const int error = errno;
  return nameIsTaken(to) ? EEXIST : error;
#else
  int error = 0;
#ifdef __linux__
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return syncFolderOf(to);
  error = errno;
  if (error == EEXIST) return EEXIST;
  if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) return error;
#endif
  // Where the file system cannot rename without replacing: a second link,
  // which fails when the name is taken, then the partial name goes.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return syncFolderOf(to);
  }
  error = errno;
  if (error == EEXIST) return EEXIST;
  // Nor links (some network and FAT file systems): checked, then renamed.
  if (nameIsTaken(to)) return EEXIST;
  if (::rename(from.c_str(), to.c_str()) != 0) return errno;
  return syncFolderOf(to);
#endif
}

}  // namespace

bool LocalFiles::fileExists(const std::string& path) const {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(pathOf(path), ec);
}

CopyOutcome LocalFiles::copyToNewFile(const std::string& from, const std::string& to) {
  const std::filesystem::path target = pathOf(to);
  // No copy is made for a name that is taken (the publishing step checks again).
  if (nameIsTaken(target)) return {CopyOutcome::TargetExists, {}};
  const int in = openToRead(pathOf(from));
  if (in < 0) return {CopyOutcome::Failed, std::strerror(errno)};
  // The copy is written under a name of its own and takes the backup's name
  // only when whole and on the disk: a copy cut short (the program killed,
  // the power gone) never passes for a backup.
  const std::filesystem::path partial = partialCopyPath(target);
  const int out = createNew(partial);
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
  CopyOutcome outcome{CopyOutcome::Copied, {}};
  if (!reason.empty()) {
    outcome = {CopyOutcome::Failed, reason};
  } else {
    const int published = publishWithoutReplacing(partial, target);
    if (published == EEXIST)
      outcome = {CopyOutcome::TargetExists, {}};
    else if (published != 0)
      outcome = {CopyOutcome::Failed, std::strerror(published)};
  }
  // Only the partial copy this call created is removed.
  if (outcome.kind != CopyOutcome::Copied) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
  }
  return outcome;
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
