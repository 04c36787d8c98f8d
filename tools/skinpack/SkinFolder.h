// What skinpack does: a folder of 24-bit bitmaps and one INI definition to a
// skin archive and back, in the plain form (a packed block) or the stored form
// of the main window's skin (a 32-bit little-endian byte count, then the
// packed block). Failures are SkinPackError with a message for the user.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/archive/SkinArchive.h"

namespace skinpack {

class SkinPackError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The members in archive order: bitmaps sorted by name, the INI last.
std::vector<skin::TSkinMember> ReadSkinFolder(const std::string& dir);
std::vector<uint8_t> PackArchive(const std::vector<skin::TSkinMember>& members, bool stored);

struct UnpackedArchive {
  skin::archive::TSkinHeader header;
  std::vector<skin::TSkinMember> members;  // names as stored
};
UnpackedArchive UnpackArchive(const std::vector<uint8_t>& file, bool stored);

// Refuses names that could leave the folder, and names given twice.
void WriteSkinFolder(const UnpackedArchive& archive, const std::string& dir);

std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace skinpack
