#include "jet/file/JournalIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::file {
namespace {

[[noreturn]] void fail(const std::string& path, int err) {
  // Said plainly: the user can free space and try again.
  if (err == ENOSPC
#ifdef EDQUOT
      || err == EDQUOT
#endif
  )
    throw FileError(ErrorCode::Io, msg::diskFull(path, std::strerror(err)));
  throw FileError(ErrorCode::Io, msg::ioError(path, std::strerror(err)));
}

#ifdef _WIN32
using Offset = long long;
int osOpen(const std::string& path, int flags) {
  std::u16string wide = utf8ToUtf16(path);
  return _wopen(reinterpret_cast<const wchar_t*>(wide.c_str()), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}
Offset osSeek(int fd, uint64_t at) {
  return _lseeki64(fd, static_cast<Offset>(at), SEEK_SET);
}
int osReadAt(int fd, void* p, size_t n, uint64_t at) {
  if (osSeek(fd, at) < 0) return -1;
  return _read(fd, p, static_cast<unsigned>(n));
}
int osWriteAt(int fd, const void* p, size_t n, uint64_t at) {
  if (osSeek(fd, at) < 0) return -1;
  return _write(fd, p, static_cast<unsigned>(n));
}
int osSync(int fd) {
  return _commit(fd);
}
int osTruncate(int fd, uint64_t size) {
  return _chsize_s(fd, static_cast<Offset>(size)) == 0 ? 0 : -1;
}
int osClose(int fd) {
  return _close(fd);
}
Offset osSize(int fd) {
  return _lseeki64(fd, 0, SEEK_END);
}
int osUnlink(const std::string& path) {
  std::u16string wide = utf8ToUtf16(path);
  return _wunlink(reinterpret_cast<const wchar_t*>(wide.c_str()));
}
bool osExists(const std::string& path) {
  std::u16string wide = utf8ToUtf16(path);
  struct _stat64 st;
  return _wstat64(reinterpret_cast<const wchar_t*>(wide.c_str()), &st) == 0;
}
#else
using Offset = off_t;
int osOpen(const std::string& path, int flags) {
  return ::open(path.c_str(), flags | O_CLOEXEC, 0666);
}
ssize_t osReadAt(int fd, void* p, size_t n, uint64_t at) {
  return ::pread(fd, p, n, static_cast<Offset>(at));
}
ssize_t osWriteAt(int fd, const void* p, size_t n, uint64_t at) {
  return ::pwrite(fd, p, n, static_cast<Offset>(at));
}
int osSync(int fd) {
  return ::fsync(fd);
}
int osTruncate(int fd, uint64_t size) {
  return ::ftruncate(fd, static_cast<Offset>(size));
}
int osClose(int fd) {
  return ::close(fd);
}
Offset osSize(int fd) {
  return ::lseek(fd, 0, SEEK_END);
}
int osUnlink(const std::string& path) {
  return ::unlink(path.c_str());
}
bool osExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}
#endif

class OsFile : public IoFile {
 public:
  OsFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~OsFile() override { osClose(fd_); }
  OsFile(const OsFile&) = delete;
  OsFile& operator=(const OsFile&) = delete;

  uint64_t size() override {
    Offset end = osSize(fd_);
    if (end < 0) fail(path_, errno);
    return static_cast<uint64_t>(end);
  }

  size_t readAt(uint64_t offset, std::span<uint8_t> out) override {
    size_t done = 0;
    while (done < out.size()) {
      auto n = osReadAt(fd_, out.data() + done, out.size() - done, offset + done);
      if (n < 0) {
        if (errno == EINTR) continue;
        fail(path_, errno);
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }

  void writeAt(uint64_t offset, std::span<const uint8_t> data) override {
    size_t done = 0;
    while (done < data.size()) {
      auto n = osWriteAt(fd_, data.data() + done, data.size() - done, offset + done);
      if (n < 0) {
        if (errno == EINTR) continue;
        fail(path_, errno);
      }
      if (n == 0) fail(path_, ENOSPC);
      done += static_cast<size_t>(n);
    }
  }

  void truncate(uint64_t size) override {
    if (osTruncate(fd_, size) != 0) fail(path_, errno);
  }

  void sync() override {
    if (osSync(fd_) != 0) fail(path_, errno);
  }

 private:
  int fd_;
  std::string path_;
};

class OsSystem : public IoSystem {
 public:
  std::unique_ptr<IoFile> open(const std::string& path, bool create) override {
    int fd = osOpen(path, O_RDWR | (create ? O_CREAT : 0));
    if (fd < 0) {
      int err = errno;
      if (err == ENOENT) throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
      if (err == EACCES || err == EROFS || err == EPERM)
        throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(path));
      fail(path, err);
    }
    return std::make_unique<OsFile>(fd, path);
  }
  bool exists(const std::string& path) override { return osExists(path); }
  void remove(const std::string& path) override {
    if (osUnlink(path) != 0 && errno != ENOENT) fail(path, errno);
  }
  void syncFolderOf(const std::string& path) override {
#ifdef _WIN32
    (void)path;  // NTFS makes directory entries durable with the file's metadata
#else
    std::string folder = path;
    size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;  // some systems do not open folders; nothing more can be done
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (rc != 0 && err != EINVAL && err != EBADF) fail(folder, err);
#endif
  }
};

}  // namespace

IoSystem& systemIo() {
  // Stateless: one instance serves every caller.
  static OsSystem instance;
  return instance;
}

}  // namespace jet::file
