#include "jet/file/FileLock.h"

#include <array>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/FileIdentity.h"

namespace jet::file {

std::string lockFilePathFor(const std::string& databasePath) {
  size_t slash = databasePath.find_last_of("/\\");
  size_t dot = databasePath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return databasePath + ".ldb";
  return databasePath.substr(0, dot) + ".ldb";
}

namespace {

// One entry of the lock file: the computer's name and the user's, 32 bytes
// each, as Jet records every user of a database.
std::array<char, 64> lockFileEntry(const std::string& computer) {
  std::array<char, 64> e{};
  std::memcpy(e.data(), computer.data(), std::min<size_t>(computer.size(), 31));
  std::memcpy(e.data() + 32, "Admin", 5);
  return e;
}

}  // namespace

#ifdef _WIN32

struct FileLock::Handles {
  HANDLE database = INVALID_HANDLE_VALUE;
  HANDLE lockFile = INVALID_HANDLE_VALUE;
  ~Handles() {
    if (database != INVALID_HANDLE_VALUE) CloseHandle(database);
    if (lockFile != INVALID_HANDLE_VALUE) CloseHandle(lockFile);  // deletes it: FILE_FLAG_DELETE_ON_CLOSE
  }
};

namespace {

// Byte-range locks on Windows are mandatory, so ours lies far past any real
// data: it excludes other lockers without blocking anyone's reads or writes.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFF0;

std::wstring wide(const std::string& utf8) {
  std::u16string w = utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

[[noreturn]] void failOpen(const std::string& path, DWORD err, FileLock::Mode mode) {
  if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
    throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
  if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION)
    throw FileError(ErrorCode::Locked, msg::lockedFile(path));
  if ((err == ERROR_ACCESS_DENIED || err == ERROR_WRITE_PROTECT) && mode == FileLock::Mode::Write)
    throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(path));
  throw FileError(ErrorCode::Io, msg::ioError(path, "Windows error " + std::to_string(err)));
}

}  // namespace

std::unique_ptr<FileLock> FileLock::acquire(const std::string& path, Mode mode) {
  // Named after the real file, so that every name it is reached by finds them.
  const std::string databasePath = realPathOf(path);
  auto h = std::make_unique<Handles>();
  const bool write = mode == Mode::Write;
  h->database =
      CreateFileW(wide(databasePath).c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0),
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h->database == INVALID_HANDLE_VALUE) failOpen(path, GetLastError(), mode);
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  if (!LockFileEx(h->database, (write ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &at))
    throw FileError(ErrorCode::Locked, msg::lockedFile(path));
  if (write) {
    const std::string ldb = lockFilePathFor(databasePath);
    // Access keeps its lock file open without sharing deletion: if the file
    // cannot be removed, Access has the database open.
    if (!DeleteFileW(wide(ldb).c_str())) {
      DWORD err = GetLastError();
      if (err != ERROR_FILE_NOT_FOUND)
        failOpen(path, err == ERROR_ACCESS_DENIED ? ERROR_SHARING_VIOLATION : err, mode);
    }
    h->lockFile =
        CreateFileW(wide(ldb).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h->lockFile == INVALID_HANDLE_VALUE) failOpen(path, GetLastError(), mode);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    if (!GetComputerNameA(computer, &length)) computer[0] = 0;
    auto entry = lockFileEntry(computer);
    DWORD written = 0;
    WriteFile(h->lockFile, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
  }
  return std::unique_ptr<FileLock>(new FileLock(databasePath, mode, std::move(h)));
}

#else

struct FileLock::Handles {
  int database = -1;
  int lockFile = -1;
  std::string lockFilePath;
  ~Handles() {
    if (lockFile >= 0) {
      ::unlink(lockFilePath.c_str());  // while still locked: no other user can be inside it
      ::close(lockFile);
    }
    if (database >= 0) ::close(database);
  }
};

namespace {

[[noreturn]] void failOpen(const std::string& path, int err, FileLock::Mode mode) {
  if (err == ENOENT) throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
  if ((err == EACCES || err == EROFS || err == EPERM) && mode == FileLock::Mode::Write)
    throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(path));
  throw FileError(ErrorCode::Io, msg::ioError(path, std::strerror(err)));
}

// flock() locks belong to the open file, not the process: closing another
// descriptor of the same file (the pager's) leaves them in place.
bool lockNow(int fd, bool exclusive) {
  while (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<FileLock> FileLock::acquire(const std::string& path, Mode mode) {
  // Named after the real file, so that every name it is reached by finds them.
  const std::string databasePath = realPathOf(path);
  auto h = std::make_unique<Handles>();
  const bool write = mode == Mode::Write;
  h->database = ::open(databasePath.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (h->database < 0) failOpen(path, errno, mode);
  if (!lockNow(h->database, write)) throw FileError(ErrorCode::Locked, msg::lockedFile(path));
  if (write) {
    const std::string ldb = lockFilePathFor(databasePath);
    int fd = ::open(ldb.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) failOpen(path, errno, mode);
    if (!lockNow(fd, true)) {
      ::close(fd);
      throw FileError(ErrorCode::Locked, msg::lockedFile(path));
    }
    h->lockFile = fd;
    h->lockFilePath = ldb;
    // A lock file left by a crash is ours now: replace its entries.
    char computer[64] = {};
    if (::gethostname(computer, sizeof computer - 1) != 0) computer[0] = 0;
    auto entry = lockFileEntry(computer);
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, entry.data(), entry.size(), 0) != static_cast<ssize_t>(entry.size()))
      throw FileError(ErrorCode::Io, msg::ioError(ldb, std::strerror(errno)));
  }
  return std::unique_ptr<FileLock>(new FileLock(databasePath, mode, std::move(h)));
}

#endif

FileLock::FileLock(std::string database, Mode mode, std::unique_ptr<Handles> handles)
    : database_(std::move(database)),
      lockFile_(lockFilePathFor(database_)),
      mode_(mode),
      handles_(std::move(handles)) {}

FileLock::~FileLock() = default;

}  // namespace jet::file
