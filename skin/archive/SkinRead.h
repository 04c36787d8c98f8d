// TSkinReader: unpacks a skin archive into memory once and hands out its
// members by name. The skin data component takes the INI definition with
// readIni and each bitmap with readfile. Names are compared with their ASCII
// letters lower-cased; member bytes are returned as stored.
//
// A damaged or unknown archive is not an error the user sees: loading returns
// false, keeps what the reader held before, and tells only the diagnostic hook.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/archive/SkinArchive.h"
#include "skin/archive/Streams.h"

namespace skin {

// Receives the reader's diagnostics; empty by default, so they go nowhere.
using TLogProc = std::function<void(const std::string& message)>;

class TSkinReader {
 public:
  TSkinReader() = default;

  // `stream` holds a packed block from its start.
  bool Loadfromstream(TMemoryStream& stream);
  // False when no file of that name exists; file errors pass to the caller.
  bool loadfromfile(const std::string& fileName);

  // The member whose name equals `name` ignoring case, or an empty stream.
  void readfile(const std::string& name, TMemoryStream& target) const;
  // The first member whose (lower-case) name contains `namePart`; `fileName`
  // receives its directory name. No match: empty stream, fileName unchanged.
  void readIni(const std::string& namePart, TMemoryStream& target, std::string& fileName) const;

  // Unpacks a packed block (both positions set to 0 first).
  void Decompress(TStream& source, TStream& dest);

  TLogProc doLog;

  const std::vector<std::string>& Dir() const { return fDir; }
  int Num() const { return fNum; }
  int32_t Size(int index) const {
    return index >= 0 && index < fNum ? fSizes[static_cast<size_t>(index)] : 0;
  }
  const archive::TSkinHeader& Header() const { return fHeader; }
  const TMemoryStream& Data() const { return fMs; }

 private:
  void Log(const std::string& message) const;
  // Copies member `index` (found at `offset` in the data) into `target`.
  void CopyMember(int index, int64_t offset, TMemoryStream& target) const;

  std::vector<std::string> fDir;
  int fNum = 0;
  std::array<int32_t, MaxSkinMembers> fSizes{};
  TMemoryStream fMs;
  archive::TSkinHeader fHeader;
};

}  // namespace skin
