// Byte streams of the skin archive layer: a seekable stream interface, a
// growable in-memory stream and a file stream. The codec, the archive reader
// and the INI store move every byte through these; read and write failures are
// exceptions so that callers never continue on a half-read buffer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace skin {

class EStreamError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};

class TStream {
 public:
  virtual ~TStream() = default;

  // Copies up to `count` bytes into `buffer` and returns how many it gave.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes `count` bytes and returns how many were taken.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Size() const = 0;
  virtual int64_t Position() const = 0;
  // Positions past the end are allowed; reading there yields nothing.
  virtual void SetPosition(int64_t position) = 0;

  int64_t Remaining() const {
    int64_t left = Size() - Position();
    return left > 0 ? left : 0;
  }
  // Exactly `count` bytes or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  int32_t ReadInt32();
  void WriteInt32(int32_t value);
  // Copies `count` bytes from the current position of `source`; 0 copies
  // everything from source position 0 to its end. Returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Size() const override { return static_cast<int64_t>(fData.size()); }
  int64_t Position() const override { return fPosition; }
  void SetPosition(int64_t position) override;

  void Clear();
  void SetSize(int64_t size);
  // The whole content, independent of the position.
  const std::vector<uint8_t>& Bytes() const { return fData; }
  const uint8_t* Memory() const { return fData.data(); }
  void Assign(std::vector<uint8_t> bytes);

  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream& target) const;
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<uint8_t> fData;
  int64_t fPosition = 0;
};

enum class TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
 public:
  // fmOpenRead: an existing file, read only (EFOpenError otherwise);
  // fmCreate: a new or emptied file (EFCreateError otherwise).
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Size() const override;
  int64_t Position() const override;
  void SetPosition(int64_t position) override;

  // Flushes and closes; a failure to write the last bytes is EWriteError.
  void Close();

 private:
  std::FILE* fFile = nullptr;
  std::string fFileName;
};

bool FileExists(const std::string& fileName);

}  // namespace skin
