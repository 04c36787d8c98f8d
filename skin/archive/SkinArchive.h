// The layout of an unpacked skin archive, little-endian:
//   header (16 bytes: Version, DirLen, U1, U2), an info block whose size the
//   version fixes, the directory (DirLen bytes of names, one per line), one
//   signed 32-bit size per name, then the members' bytes in directory order.
// Parsing checks every length against the bytes at hand, so a damaged archive
// is rejected before anything is read from it. Building writes format 70000,
// the version current skins use, and packs it into a packed block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/archive/Streams.h"

namespace skin {

// The archive's header record lives in a namespace of its own: the skinned
// header control (skin/controls) has the same name.
namespace archive {
struct TSkinHeader {
  int32_t Version = 0;
  int32_t DirLen = 0;
  int32_t U1 = 0;
  int32_t U2 = 0;
};
}  // namespace archive

constexpr int32_t SkinHeaderSize = 16;
constexpr int32_t MaxSkinMembers = 1001;
constexpr int32_t CurrentSkinVersion = 70000;

// Size of the info block that follows the header, or -1 for an unknown version.
int32_t SkinInfoBlockSize(int32_t version);

enum class TSkinArchiveCheck { Ok, UnknownVersion, Damaged };

struct TSkinArchiveLayout {
  archive::TSkinHeader header;
  std::vector<std::string> names;  // as stored, letter case kept
  std::vector<int32_t> sizes;
  size_t dataOffset = 0;  // where the first member starts
};

// On anything but Ok, `reason` says what is wrong and `layout` is unspecified.
TSkinArchiveCheck ParseSkinArchive(const uint8_t* data, size_t size, TSkinArchiveLayout& layout,
                                   std::string& reason);

struct TSkinMember {
  std::string name;
  std::vector<uint8_t> data;
};

// Throws std::invalid_argument for an empty name, a name with a line break or
// more than MaxSkinMembers members; the info block and U1, U2 are zeros.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinMember>& members);
// BuildSkinArchive, packed as a packed block into `target` from position 0.
void PackSkinArchive(const std::vector<TSkinMember>& members, TStream& target);

}  // namespace skin
