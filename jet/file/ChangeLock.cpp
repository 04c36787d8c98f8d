#include "jet/file/ChangeLock.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/FileIdentity.h"

namespace jet::file {

namespace {

std::atomic<int64_t> timeoutMs{30000};

enum class Range { Pending, Shared };

}  // namespace

#ifdef _WIN32

struct ChangeLock::Handle {
  HANDLE file = INVALID_HANDLE_VALUE;
  ~Handle() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

namespace {

// Past FileLock's byte: byte-range locks on Windows are mandatory, and no
// database reaches this far, so no read or write of data is ever blocked.
constexpr DWORD kOffsetHigh = 0x7FFFFFF0;

OVERLAPPED at(Range r) {
  OVERLAPPED o{};
  o.OffsetHigh = kOffsetHigh;
  o.Offset = r == Range::Pending ? 1 : 2;
  return o;
}

bool tryLock(ChangeLock::Handle& h, Range r, bool exclusive) {
  OVERLAPPED o = at(r);
  return LockFileEx(h.file, (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &o);
}

void release(ChangeLock::Handle& h, Range r) {
  OVERLAPPED o = at(r);
  UnlockFileEx(h.file, 0, 1, 0, &o);
}

std::unique_ptr<ChangeLock::Handle> openHandle(const std::string& path, bool /*writer*/) {
  // Windows grants either lock on a handle opened for reading.
  auto h = std::make_unique<ChangeLock::Handle>();
  std::u16string w = utf8ToUtf16(path);
  h->file = CreateFileW(reinterpret_cast<const wchar_t*>(w.c_str()), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h->file == INVALID_HANDLE_VALUE) {
    DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
      throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
    throw FileError(ErrorCode::Io, msg::ioError(path, "Windows error " + std::to_string(err)));
  }
  return h;
}

}  // namespace

#else

struct ChangeLock::Handle {
  int fd = -1;
  std::string path;
  ~Handle() {
    if (fd >= 0) ::close(fd);
  }
};

namespace {

// Locks of the open file description (not the process): two handles in one
// process exclude each other as two processes do, and closing another
// descriptor of the file leaves them in place. Far past any data.
constexpr off_t kBase = off_t{1} << 62;

bool setLock(ChangeLock::Handle& h, Range r, short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = kBase + (r == Range::Pending ? 0 : 1);
  fl.l_len = 1;
  while (::fcntl(h.fd, F_OFD_SETLK, &fl) != 0) {
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return false;  // held by another
    throw FileError(ErrorCode::Io, msg::ioError(h.path, std::strerror(errno)));
  }
  return true;
}

bool tryLock(ChangeLock::Handle& h, Range r, bool exclusive) {
  return setLock(h, r, exclusive ? F_WRLCK : F_RDLCK);
}

void release(ChangeLock::Handle& h, Range r) {
  setLock(h, r, F_UNLCK);
}

std::unique_ptr<ChangeLock::Handle> openHandle(const std::string& path, bool writer) {
  auto h = std::make_unique<ChangeLock::Handle>();
  h->path = path;
  h->fd = ::open(path.c_str(), (writer ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (h->fd < 0) {
    int err = errno;
    if (err == ENOENT) throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
    if (writer && (err == EACCES || err == EROFS || err == EPERM))
      throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(path));
    throw FileError(ErrorCode::Io, msg::ioError(path, std::strerror(err)));
  }
  return h;
}

}  // namespace

#endif

namespace {

// Tries `attempt` until it succeeds, the timeout passes or a stop is requested.
template <class F>
void waitFor(F&& attempt, const std::string& path) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + ChangeLock::timeout();
  auto pause = std::chrono::microseconds(200);
  while (!attempt()) {
    ThrowIfCancelled();
    if (Clock::now() >= deadline) throw FileError(ErrorCode::Locked, msg::databaseBusy(path));
    std::this_thread::sleep_for(pause);
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
  }
}

}  // namespace

ChangeLock::ChangeLock(const std::string& databasePath, bool writer)
    : path_(databasePath), handle_(openHandle(realPathOf(databasePath), writer)) {}

ChangeLock::~ChangeLock() {
  unlock();
}

void ChangeLock::lockShared() {
  if (state_ != State::None) return;
  // Through the pending byte, which a waiting writer holds: then the reader
  // waits behind it.
  waitFor(
      [this] {
        if (!tryLock(*handle_, Range::Pending, false)) return false;
        const bool shared = tryLock(*handle_, Range::Shared, false);
        release(*handle_, Range::Pending);
        return shared;
      },
      path_);
  state_ = State::Shared;
}

void ChangeLock::lockExclusive() {
  if (state_ == State::Exclusive) return;
  if (state_ == State::Shared) unlock();  // never upgraded in place: two upgraders would wait on each other
  waitFor([this] { return tryLock(*handle_, Range::Pending, true); }, path_);
  try {
    waitFor([this] { return tryLock(*handle_, Range::Shared, true); }, path_);
  } catch (...) {
    release(*handle_, Range::Pending);
    throw;
  }
  state_ = State::Exclusive;
}

void ChangeLock::unlock() {
  if (state_ == State::None) return;
  release(*handle_, Range::Shared);
  if (state_ == State::Exclusive) release(*handle_, Range::Pending);
  state_ = State::None;
}

void ChangeLock::setTimeout(std::chrono::milliseconds timeout) {
  timeoutMs = timeout.count();
}

std::chrono::milliseconds ChangeLock::timeout() {
  return std::chrono::milliseconds(timeoutMs.load());
}

}  // namespace jet::file
