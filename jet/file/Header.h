// The database definition page (page 0): which Jet version wrote the file,
// its code page and sort order, the database key and the database password.
//
// Part of the page is obscured with RC4 under a fixed key; `parse` removes
// that so every field below is plain. The page size of every other page
// follows from the version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet::file {

enum class JetVersion : uint8_t { Jet3 = 0, Jet4 = 1 };

struct Header {
  JetVersion version = JetVersion::Jet4;
  uint32_t pageSize = 4096;
  uint16_t codePage = 0;
  uint32_t sortOrder = 0;  // Jet 3: 2 bytes, Jet 4: 4 bytes (order and version)
  uint32_t databaseKey = 0;
  double creationDate = 0;  // Jet 4 only; days since 1899-12-30
  std::string password;     // UTF-8, empty when the database has none

  // Parses the first bytes of a file. `name` names the file in errors.
  // Throws FileError: NotADatabase (not Jet, too short), Unsupported (ACCDB,
  // encoded database).
  static Header parse(const uint8_t* data, size_t size, const std::string& name);

  // Bytes of the file `parse` needs to see.
  static constexpr size_t kMinimumBytes = 0x80 + 0x18;

  // True when `given` opens the database: any password when none is set,
  // otherwise exactly the stored one.
  bool acceptsPassword(const std::string& given) const { return password.empty() || password == given; }

  const char* versionName() const {
    return version == JetVersion::Jet3 ? "Jet 3 (Access 97)" : "Jet 4 (Access 2000-2003)";
  }
};

// Page 0 of a new Jet 4 database without a password: Windows-1252 code
// page, General sort order, database key 0, created at `creationDate`
// (days since 1899-12-30), with the obscured part obscured again.
std::vector<uint8_t> encodeNewJet4Header(double creationDate);

// Page 0 of a new Access 97 (Jet 3) database without a password, its text
// in `codePage`, General sort order, database key 0, as Access 97 lays it out.
std::vector<uint8_t> encodeNewJet3Header(uint16_t codePage);

// RC4 keystream XOR, used for the obscured part of page 0.
void rc4Apply(const uint8_t* key, size_t keyLength, uint8_t* data, size_t length);

}  // namespace jet::file
