#include "jet/file/PageSource.h"

#include <cerrno>
#include <cstring>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::file {

namespace {

std::FILE* openFile(const std::string& path, bool readOnly) {
#ifdef _WIN32
  std::u16string wide = utf8ToUtf16(path);
  return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), readOnly ? L"rb" : L"r+b");
#else
  return std::fopen(path.c_str(), readOnly ? "rb" : "r+b");
#endif
}

bool seekTo(std::FILE* f, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

uint64_t tellEnd(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return 0;
  return static_cast<uint64_t>(_ftelli64(f));
#else
  if (fseeko(f, 0, SEEK_END) != 0) return 0;
  return static_cast<uint64_t>(ftello(f));
#endif
}

}  // namespace

FileSource::FileSource(const std::string& path, bool readOnly) : path_(path) {
  file_ = openFile(path, readOnly);
  if (!file_) {
    int err = errno;
    if (err == ENOENT) throw FileError(ErrorCode::FileNotFound, msg::fileNotFound(path));
    throw FileError(ErrorCode::Io, msg::ioError(path, std::strerror(err)));
  }
  // Unbuffered: another process may change the file between two reads, and a
  // stream buffer would hand back the bytes of before.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  size_ = tellEnd(file_);
}

void FileSource::refreshSize() {
  size_ = tellEnd(file_);
}

FileSource::~FileSource() {
  if (file_) std::fclose(file_);
}

void FileSource::readAt(uint64_t offset, uint8_t* out, size_t length) {
  if (!seekTo(file_, offset) || std::fread(out, 1, length, file_) != length) {
    throw FileError(ErrorCode::Io, msg::ioError(path_, std::strerror(errno)));
  }
}

WritableSource::WritableSource(std::unique_ptr<IoFile> file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {
  size_ = file_->size();
}

void WritableSource::readAt(uint64_t offset, uint8_t* out, size_t length) {
  if (file_->readAt(offset, std::span<uint8_t>(out, length)) != length) {
    throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(path_));
  }
}

void MemorySource::readAt(uint64_t offset, uint8_t* out, size_t length) {
  if (offset > bytes_.size() || length > bytes_.size() - offset) {
    throw FileError(ErrorCode::Io, msg::ioError("<memory>", "read past end"));
  }
  std::memcpy(out, bytes_.data() + offset, length);
}

}  // namespace jet::file
