#include "skin/archive/SkinArchive.h"

#include <stdexcept>

#include "skin/archive/SkinText.h"
#include "skin/archive/WinConvert.h"

namespace skin {

namespace {

int32_t LoadInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void StoreInt32(std::vector<uint8_t>& out, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace

int32_t SkinInfoBlockSize(int32_t version) {
  switch (version) {
    case 20000:
      return 0;
    case 30000:
      return 256;
    case 40000:
      return 80;
    case 50000:
      return 48;
    case 60000:
      return 117;
    case 70000:
      return 69;
    default:
      return -1;
  }
}

TSkinArchiveCheck ParseSkinArchive(const uint8_t* data, size_t size, TSkinArchiveLayout& layout,
                                   std::string& reason) {
  if (size < static_cast<size_t>(SkinHeaderSize)) {
    reason = "skin archive is shorter than its 16-byte header";
    return TSkinArchiveCheck::Damaged;
  }
  layout = TSkinArchiveLayout{};
  archive::TSkinHeader& h = layout.header;
  h.Version = LoadInt32(data);
  h.DirLen = LoadInt32(data + 4);
  h.U1 = LoadInt32(data + 8);
  h.U2 = LoadInt32(data + 12);
  int32_t info = SkinInfoBlockSize(h.Version);
  if (info < 0) {
    reason = "unknown skin archive version " + std::to_string(h.Version);
    return TSkinArchiveCheck::UnknownVersion;
  }
  uint64_t dirStart = static_cast<uint64_t>(SkinHeaderSize) + static_cast<uint64_t>(info);
  if (h.DirLen < 0 || dirStart + static_cast<uint64_t>(h.DirLen) > size) {
    reason = "directory length " + std::to_string(h.DirLen) + " does not fit in the archive";
    return TSkinArchiveCheck::Damaged;
  }
  std::string_view dirText(reinterpret_cast<const char*>(data + dirStart), static_cast<size_t>(h.DirLen));
  layout.names = SplitLines(dirText);
  if (layout.names.size() > static_cast<size_t>(MaxSkinMembers)) {
    reason = "archive has " + std::to_string(layout.names.size()) + " members, more than " +
             std::to_string(MaxSkinMembers);
    return TSkinArchiveCheck::Damaged;
  }
  uint64_t sizesStart = dirStart + static_cast<uint64_t>(h.DirLen);
  uint64_t dataStart = sizesStart + 4 * static_cast<uint64_t>(layout.names.size());
  if (dataStart > size) {
    reason = "member size table runs past the end of the archive";
    return TSkinArchiveCheck::Damaged;
  }
  uint64_t total = 0;
  for (size_t i = 0; i < layout.names.size(); ++i) {
    int32_t s = LoadInt32(data + sizesStart + 4 * i);
    if (s < 0) {
      reason = "member \"" + layout.names[i] + "\" has a negative size";
      return TSkinArchiveCheck::Damaged;
    }
    total += static_cast<uint64_t>(s);
    layout.sizes.push_back(s);
  }
  if (total > size - dataStart) {
    reason = "member sizes add up to " + std::to_string(total) + " bytes but the archive holds " +
             std::to_string(size - dataStart);
    return TSkinArchiveCheck::Damaged;
  }
  layout.dataOffset = static_cast<size_t>(dataStart);
  return TSkinArchiveCheck::Ok;
}

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinMember>& members) {
  if (members.size() > static_cast<size_t>(MaxSkinMembers))
    throw std::invalid_argument("a skin archive holds at most " + std::to_string(MaxSkinMembers) +
                                " members");
  std::string dir;
  uint64_t total = 0;
  for (const TSkinMember& m : members) {
    if (m.name.empty()) throw std::invalid_argument("a member name is empty");
    if (m.name.find_first_of("\r\n") != std::string::npos)
      throw std::invalid_argument("member name \"" + m.name + "\" contains a line break");
    dir += m.name;
    dir += "\r\n";
    total += m.data.size();
  }
  uint64_t size =
      SkinHeaderSize + SkinInfoBlockSize(CurrentSkinVersion) + dir.size() + 4 * members.size() + total;
  if (size > static_cast<uint64_t>(TLZH::MaxUnpackedSize))
    throw std::invalid_argument("the skin archive would be " + std::to_string(size) +
                                " bytes, more than the 64 MiB a packed block may hold");
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(size));
  StoreInt32(out, CurrentSkinVersion);
  StoreInt32(out, static_cast<int32_t>(dir.size()));
  StoreInt32(out, 0);
  StoreInt32(out, 0);
  out.resize(out.size() + static_cast<size_t>(SkinInfoBlockSize(CurrentSkinVersion)), 0);
  out.insert(out.end(), dir.begin(), dir.end());
  for (const TSkinMember& m : members) StoreInt32(out, static_cast<int32_t>(m.data.size()));
  for (const TSkinMember& m : members) out.insert(out.end(), m.data.begin(), m.data.end());
  return out;
}

void PackSkinArchive(const std::vector<TSkinMember>& members, TStream& target) {
  TMemoryStream plain;
  plain.Assign(BuildSkinArchive(members));
  TLZH lzh;
  lzh.PackBlock(plain, target);
}

}  // namespace skin
