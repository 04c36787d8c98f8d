#include "SkinFolder.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "Bitmap24.h"
#include "skin/archive/SkinText.h"
#include "skin/archive/Streams.h"
#include "skin/archive/WinConvert.h"

namespace skinpack {

namespace fs = std::filesystem;

namespace {

std::string Extension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : skin::LowerAscii(name.substr(dot));
}

bool SafeMemberName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  try {
    skin::TFileStream file(path, skin::TFileMode::fmOpenRead);
    // Nothing skinpack reads can be larger than a packed block may be.
    if (file.Size() > skin::TLZH::MaxPackedSize)
      throw SkinPackError("\"" + path + "\" is larger than any skin archive or member can be");
    skin::TMemoryStream stream;
    stream.LoadFromStream(file);
    return stream.Bytes();
  } catch (const skin::EStreamError& e) {
    throw SkinPackError(e.what());
  }
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  try {
    skin::TMemoryStream stream;
    stream.Assign(bytes);
    stream.SaveToFile(path);
  } catch (const skin::EStreamError& e) {
    throw SkinPackError(e.what());
  }
}

std::vector<skin::TSkinMember> ReadSkinFolder(const std::string& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) throw SkinPackError("\"" + dir + "\" is not a folder");
  std::vector<std::string> bitmaps;
  std::vector<std::string> inis;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
    std::string name = entry.path().filename().string();
    std::string ext = Extension(name);
    if (!entry.is_regular_file() || (ext != ".bmp" && ext != ".ini"))
      throw SkinPackError("\"" + name + "\" in \"" + dir +
                          "\" is neither a .bmp nor an .ini file; a skin folder holds only those");
    (ext == ".bmp" ? bitmaps : inis).push_back(name);
  }
  if (ec) throw SkinPackError("cannot list \"" + dir + "\": " + ec.message());
  if (inis.size() != 1)
    throw SkinPackError("\"" + dir + "\" holds " + std::to_string(inis.size()) +
                        " .ini files; a skin needs exactly one definition");
  std::sort(bitmaps.begin(), bitmaps.end());

  uintmax_t total = 0;
  for (const std::string& name : bitmaps) total += fs::file_size(fs::path(dir) / name, ec);
  total += fs::file_size(fs::path(dir) / inis[0], ec);
  if (total > static_cast<uintmax_t>(skin::TLZH::MaxUnpackedSize))
    throw SkinPackError("the files in \"" + dir + "\" add up to " + std::to_string(total) +
                        " bytes, more than the 64 MiB a skin archive may hold");

  std::vector<skin::TSkinMember> members;
  std::set<std::string> seen;
  for (const std::string& name : bitmaps) {
    std::vector<uint8_t> bytes = ReadWholeFile((fs::path(dir) / name).string());
    if (std::string problem = Check24BitBmp(bytes); !problem.empty())
      throw SkinPackError("\"" + name + "\": " + problem);
    members.push_back({name, std::move(bytes)});
  }
  members.push_back({inis[0], ReadWholeFile((fs::path(dir) / inis[0]).string())});
  for (const skin::TSkinMember& m : members)
    if (!seen.insert(skin::LowerAscii(m.name)).second)
      throw SkinPackError("\"" + m.name + "\" differs from another file only in letter case");
  if (members.size() > static_cast<size_t>(skin::MaxSkinMembers))
    throw SkinPackError("a skin holds at most " + std::to_string(skin::MaxSkinMembers) + " files, \"" + dir +
                        "\" has " + std::to_string(members.size()));
  return members;
}

std::vector<uint8_t> PackArchive(const std::vector<skin::TSkinMember>& members, bool stored) {
  skin::TMemoryStream packed;
  try {
    skin::PackSkinArchive(members, packed);
  } catch (const std::invalid_argument& e) {
    throw SkinPackError(e.what());
  } catch (const skin::ElzhException& e) {
    throw SkinPackError(e.what());
  }
  if (!stored) return packed.Bytes();
  skin::TMemoryStream out;
  out.WriteInt32(static_cast<int32_t>(packed.Size()));
  out.WriteBuffer(packed.Memory(), packed.Size());
  return out.Bytes();
}

UnpackedArchive UnpackArchive(const std::vector<uint8_t>& file, bool stored) {
  skin::TMemoryStream packed;
  if (stored) {
    if (file.size() < 4) throw SkinPackError("stored skin is shorter than its 4-byte count");
    uint32_t count = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
    if (count != file.size() - 4)
      throw SkinPackError("stored skin says " + std::to_string(count) + " bytes follow, but " +
                          std::to_string(file.size() - 4) + " do");
    packed.Assign(std::vector<uint8_t>(file.begin() + 4, file.end()));
  } else {
    packed.Assign(file);
  }
  skin::TMemoryStream plain;
  try {
    skin::TLZH lzh;
    lzh.UnpackBlock(packed, plain);
  } catch (const skin::ElzhException& e) {
    throw SkinPackError(std::string("not a skin archive: ") + e.what());
  }
  skin::TSkinArchiveLayout layout;
  std::string reason;
  if (skin::ParseSkinArchive(plain.Memory(), plain.Bytes().size(), layout, reason) !=
      skin::TSkinArchiveCheck::Ok)
    throw SkinPackError("not a usable skin archive: " + reason);
  UnpackedArchive out;
  out.header = layout.header;
  size_t offset = layout.dataOffset;
  for (size_t i = 0; i < layout.names.size(); ++i) {
    const uint8_t* begin = plain.Memory() + offset;
    out.members.push_back({layout.names[i], std::vector<uint8_t>(begin, begin + layout.sizes[i])});
    offset += static_cast<size_t>(layout.sizes[i]);
  }
  return out;
}

void WriteSkinFolder(const UnpackedArchive& archive, const std::string& dir) {
  std::set<std::string> seen;
  for (const skin::TSkinMember& m : archive.members) {
    if (!SafeMemberName(m.name))
      throw SkinPackError("member name \"" + m.name + "\" is not a plain file name");
    if (!seen.insert(skin::LowerAscii(m.name)).second)
      throw SkinPackError("member name \"" + m.name + "\" appears more than once");
  }
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec)) throw SkinPackError("cannot create folder \"" + dir + "\"");
  for (const skin::TSkinMember& m : archive.members)
    WriteWholeFile((fs::path(dir) / m.name).string(), m.data);
}

}  // namespace skinpack
