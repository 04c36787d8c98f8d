#include "skin/archive/SkinRead.h"

#include "skin/archive/SkinText.h"
#include "skin/archive/WinConvert.h"

namespace skin {

void TSkinReader::Log(const std::string& message) const {
  if (doLog) doLog(message);
}

void TSkinReader::Decompress(TStream& source, TStream& dest) {
  TLZH lzh;
  lzh.UnpackBlock(source, dest);
}

bool TSkinReader::Loadfromstream(TMemoryStream& stream) {
  TMemoryStream plain;
  try {
    Decompress(stream, plain);
  } catch (const ElzhException& e) {
    Log(std::string("skin archive cannot be unpacked: ") + e.what());
    return false;
  }
  TSkinArchiveLayout layout;
  std::string reason;
  switch (ParseSkinArchive(plain.Memory(), plain.Bytes().size(), layout, reason)) {
    case TSkinArchiveCheck::Ok:
      break;
    case TSkinArchiveCheck::UnknownVersion:
      Log("This is Older Skin File\rPlease update to new version !");
      return false;
    case TSkinArchiveCheck::Damaged:
      Log("skin archive is damaged: " + reason);
      return false;
  }
  fHeader = layout.header;
  fDir.clear();
  for (const std::string& name : layout.names) fDir.push_back(LowerAscii(name));
  fNum = static_cast<int>(fDir.size());
  fSizes.fill(0);
  for (size_t i = 0; i < layout.sizes.size(); ++i) fSizes[i] = layout.sizes[i];
  const std::vector<uint8_t>& bytes = plain.Bytes();
  fMs.Assign(
      std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(layout.dataOffset), bytes.end()));
  return true;
}

bool TSkinReader::loadfromfile(const std::string& fileName) {
  if (!FileExists(fileName)) {
    Log("skin file \"" + fileName + "\" does not exist");
    return false;
  }
  TFileStream file(fileName, TFileMode::fmOpenRead);
  if (file.Size() > TLZH::MaxPackedSize) {
    Log("skin file \"" + fileName + "\" is too large to be a skin archive");
    return false;
  }
  TMemoryStream stream;
  stream.LoadFromStream(file);
  return Loadfromstream(stream);
}

void TSkinReader::CopyMember(int index, int64_t offset, TMemoryStream& target) const {
  int32_t size = fSizes[static_cast<size_t>(index)];
  // Loading checked that the sizes add up to no more than the data part.
  const uint8_t* begin = fMs.Memory() + offset;
  target.Assign(std::vector<uint8_t>(begin, begin + size));
}

void TSkinReader::readfile(const std::string& name, TMemoryStream& target) const {
  target.Clear();
  std::string wanted = LowerAscii(name);
  int64_t offset = 0;
  for (int i = 0; i < fNum; ++i) {
    if (fDir[static_cast<size_t>(i)] == wanted) {
      CopyMember(i, offset, target);
      return;
    }
    offset += fSizes[static_cast<size_t>(i)];
  }
}

void TSkinReader::readIni(const std::string& namePart, TMemoryStream& target, std::string& fileName) const {
  target.Clear();
  int64_t offset = 0;
  for (int i = 0; i < fNum; ++i) {
    const std::string& entry = fDir[static_cast<size_t>(i)];
    if (entry.find(namePart) != std::string::npos) {
      CopyMember(i, offset, target);
      fileName = entry;
      return;
    }
    offset += fSizes[static_cast<size_t>(i)];
  }
}

}  // namespace skin
