#include "skin/archive/Streams.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace skin {

namespace {

std::string systemReason() {
  return errno ? std::string(": ") + std::strerror(errno) : std::string();
}

}  // namespace

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw EReadError("stream read error: fewer bytes than expected");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count <= 0) return;
  if (Write(buffer, count) != count) throw EWriteError("stream write error");
}

int32_t TStream::ReadInt32() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

void TStream::WriteInt32(int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                  static_cast<uint8_t>(v >> 24)};
  WriteBuffer(b, 4);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  uint8_t chunk[64 * 1024];
  int64_t copied = 0;
  while (copied < count) {
    int64_t want = std::min<int64_t>(count - copied, sizeof chunk);
    source.ReadBuffer(chunk, want);
    WriteBuffer(chunk, want);
    copied += want;
  }
  return copied;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || fPosition >= Size()) return 0;
  int64_t n = std::min(count, Size() - fPosition);
  std::memcpy(buffer, fData.data() + fPosition, static_cast<size_t>(n));
  fPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (fPosition + count > Size()) fData.resize(static_cast<size_t>(fPosition + count));
  std::memcpy(fData.data() + fPosition, buffer, static_cast<size_t>(count));
  fPosition += count;
  return count;
}

void TMemoryStream::SetPosition(int64_t position) {
  fPosition = std::max<int64_t>(position, 0);
}

void TMemoryStream::Clear() {
  fData.clear();
  fPosition = 0;
}

void TMemoryStream::SetSize(int64_t size) {
  fData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  fPosition = std::min(fPosition, Size());
}

void TMemoryStream::Assign(std::vector<uint8_t> bytes) {
  fData = std::move(bytes);
  fPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(source.Size()));
  source.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  Assign(std::move(bytes));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::fmOpenRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) const {
  target.WriteBuffer(fData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, TFileMode::fmCreate);
  SaveToStream(file);
  file.Close();
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fFileName(fileName) {
  errno = 0;
  if (mode == TFileMode::fmOpenRead) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      throw EFOpenError("cannot open file \"" + fileName + "\": it is a folder");
    fFile = std::fopen(fileName.c_str(), "rb");
    if (!fFile) throw EFOpenError("cannot open file \"" + fileName + "\"" + systemReason());
  } else {
    fFile = std::fopen(fileName.c_str(), "wb");
    if (!fFile) throw EFCreateError("cannot create file \"" + fileName + "\"" + systemReason());
  }
}

TFileStream::~TFileStream() {
  if (fFile) std::fclose(fFile);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || !fFile) return 0;
  size_t n = std::fread(buffer, 1, static_cast<size_t>(count), fFile);
  if (n < static_cast<size_t>(count) && std::ferror(fFile))
    throw EReadError("cannot read file \"" + fFileName + "\"");
  return static_cast<int64_t>(n);
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0 || !fFile) return 0;
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), fFile));
}

int64_t TFileStream::Size() const {
  if (!fFile) return 0;
  long here = std::ftell(fFile);
  std::fseek(fFile, 0, SEEK_END);
  long end = std::ftell(fFile);
  std::fseek(fFile, here, SEEK_SET);
  return end < 0 ? 0 : end;
}

int64_t TFileStream::Position() const {
  return fFile ? std::ftell(fFile) : 0;
}

void TFileStream::SetPosition(int64_t position) {
  if (fFile) std::fseek(fFile, static_cast<long>(std::max<int64_t>(position, 0)), SEEK_SET);
}

void TFileStream::Close() {
  if (!fFile) return;
  bool failed = std::fflush(fFile) != 0 || std::ferror(fFile);
  failed = std::fclose(fFile) != 0 || failed;
  fFile = nullptr;
  if (failed) throw EWriteError("cannot write file \"" + fFileName + "\"");
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace skin
