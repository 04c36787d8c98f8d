#include "jet/file/Header.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/LittleEndian.h"

namespace jet::file {

namespace {

constexpr uint8_t kMagic[4] = {0x00, 0x01, 0x00, 0x00};
constexpr char kJetEngine[] = "Standard Jet DB";
constexpr char kAceEngine[] = "Standard ACE DB";
constexpr size_t kEngineOffset = 0x04;
constexpr size_t kVersionOffset = 0x14;
constexpr size_t kObscuredOffset = 0x18;
constexpr size_t kObscuredLength = 0x80;
constexpr uint8_t kObscureKey[4] = {0xc7, 0xda, 0x39, 0x6b};  // 0x6b39dac7, little-endian
constexpr size_t kJet3SortOrder = 0x3a;
constexpr size_t kCodePage = 0x3c;
constexpr size_t kDatabaseKey = 0x3e;
constexpr size_t kPassword = 0x42;
constexpr size_t kJet3PasswordLength = 20;
constexpr size_t kJet4PasswordLength = 40;
constexpr size_t kJet4SortOrder = 0x6e;
constexpr size_t kCreationDate = 0x72;

// The stored password ends at the first NUL.
std::string jet3Password(const uint8_t* p) {
  std::string out;
  for (size_t i = 0; i < kJet3PasswordLength && p[i] != 0; ++i) {
    // Access 97 passwords are ANSI; the Latin-1 range covers what a key can type.
    appendUtf8(out, p[i]);
  }
  return out;
}

std::string jet4Password(const uint8_t* p, double creationDate) {
  // The mask is the creation date truncated to an int32; a date outside that
  // range cannot come from Jet and leaves the bytes as they are.
  uint8_t mask[4] = {0, 0, 0, 0};
  if (std::isfinite(creationDate) && creationDate > -2147483648.0 && creationDate < 2147483648.0) {
    putU32(mask, static_cast<uint32_t>(static_cast<int32_t>(creationDate)));
  }
  std::u16string units;
  for (size_t i = 0; i + 1 < kJet4PasswordLength; i += 2) {
    uint16_t u = static_cast<uint16_t>((p[i] ^ mask[i % 4]) | ((p[i + 1] ^ mask[(i + 1) % 4]) << 8));
    if (u == 0) break;
    units.push_back(static_cast<char16_t>(u));
  }
  return utf16ToUtf8(units);
}

}  // namespace

void rc4Apply(const uint8_t* key, size_t keyLength, uint8_t* data, size_t length) {
  uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<uint8_t>(j + s[i] + key[i % keyLength]);
    std::swap(s[i], s[j]);
  }
  uint8_t a = 0, b = 0;
  for (size_t n = 0; n < length; ++n) {
    a = static_cast<uint8_t>(a + 1);
    b = static_cast<uint8_t>(b + s[a]);
    std::swap(s[a], s[b]);
    data[n] ^= s[static_cast<uint8_t>(s[a] + s[b])];
  }
}

Header Header::parse(const uint8_t* data, size_t size, const std::string& name) {
  if (size < kEngineOffset + sizeof kJetEngine || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
    throw FileError(ErrorCode::NotADatabase, msg::notADatabase(name));
  }
  const char* engine = reinterpret_cast<const char*>(data + kEngineOffset);
  if (std::memcmp(engine, kAceEngine, sizeof kAceEngine) == 0) {
    throw FileError(ErrorCode::Unsupported, msg::unsupportedVersion(name));
  }
  if (std::memcmp(engine, kJetEngine, sizeof kJetEngine) != 0) {
    throw FileError(ErrorCode::NotADatabase, msg::notADatabase(name));
  }
  if (size < kMinimumBytes) throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name));

  Header h;
  uint32_t version = getU32(data + kVersionOffset);
  if (version == 0) {
    h.version = JetVersion::Jet3;
    h.pageSize = 2048;
  } else if (version == 1) {
    h.version = JetVersion::Jet4;
    h.pageSize = 4096;
  } else if (version <= 0xff) {
    throw FileError(ErrorCode::Unsupported, msg::unsupportedVersion(name));
  } else {
    throw FileError(ErrorCode::NotADatabase, msg::notADatabase(name));
  }

  uint8_t page[kObscuredOffset + kObscuredLength];
  std::memcpy(page, data, sizeof page);
  rc4Apply(kObscureKey, sizeof kObscureKey, page + kObscuredOffset, kObscuredLength);

  h.codePage = getU16(page + kCodePage);
  h.databaseKey = getU32(page + kDatabaseKey);
  if (h.version == JetVersion::Jet3) {
    h.sortOrder = getU16(page + kJet3SortOrder);
    h.password = jet3Password(page + kPassword);
  } else {
    h.sortOrder = getU32(page + kJet4SortOrder);
    h.creationDate = getF64(page + kCreationDate);
    h.password = jet4Password(page + kPassword, h.creationDate);
  }
  if (h.databaseKey != 0) throw FileError(ErrorCode::Unsupported, msg::encodedDatabase(name));
  return h;
}

std::vector<uint8_t> encodeNewJet4Header(double creationDate) {
  constexpr uint32_t kJet4PageSize = 4096;
  constexpr uint16_t kWesternCodePage = 1252;
  constexpr uint32_t kGeneralSortOrder = 1033;  // language 0x0409, version 0
  constexpr size_t kPasswordBytes = 40;
  std::vector<uint8_t> page(kJet4PageSize, 0);
  std::copy_n(kMagic, 4, page.begin());
  std::copy_n("Standard Jet DB", 16, page.begin() + kEngineOffset);
  putU32(page.data() + kVersionOffset, static_cast<uint32_t>(JetVersion::Jet4));
  putU16(page.data() + kCodePage, kWesternCodePage);
  putU32(page.data() + kJet4SortOrder, kGeneralSortOrder);
  putF64(page.data() + kCreationDate, creationDate);
  // An empty password is stored as its mask alone: the creation date's integer part.
  uint8_t mask[4];
  putU32(mask, static_cast<uint32_t>(static_cast<int32_t>(creationDate)));
  for (size_t i = 0; i < kPasswordBytes; ++i) page[kPassword + i] = mask[i % 4];
  rc4Apply(kObscureKey, sizeof kObscureKey, page.data() + kObscuredOffset, kObscuredLength);
  return page;
}

std::vector<uint8_t> encodeNewJet3Header(uint16_t codePage) {
  constexpr uint32_t kJet3PageSize = 2048;
  constexpr uint16_t kGeneralSortOrder = 1033;
  // Values Access 97 keeps in every header whose meaning no reader needs.
  constexpr uint8_t kJet3Constants[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                        0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                        0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
  constexpr size_t kJet3One = 0x38;
  constexpr size_t kJet3Marks[][3] = {{0x56, 0x1e, 0x25}, {0x96, 0x62, 0xd4}};
  constexpr size_t kJet3Table = 0x600;
  constexpr uint8_t kJet3TableStart[] = {0x01, 0x01, 0x14, 0x01};
  std::vector<uint8_t> page(kJet3PageSize, 0);
  std::copy_n(kMagic, 4, page.begin());
  std::copy_n("Standard Jet DB", 16, page.begin() + kEngineOffset);
  putU32(page.data() + kVersionOffset, static_cast<uint32_t>(JetVersion::Jet3));
  std::copy_n(kJet3Constants, sizeof kJet3Constants, page.begin() + kObscuredOffset);
  putU16(page.data() + kJet3One, 1);
  putU16(page.data() + kJet3SortOrder, kGeneralSortOrder);
  putU16(page.data() + kCodePage, codePage);
  for (const auto& mark : kJet3Marks) {
    page[mark[0]] = static_cast<uint8_t>(mark[1]);
    page[mark[0] + 1] = static_cast<uint8_t>(mark[2]);
  }
  std::copy_n(kJet3TableStart, sizeof kJet3TableStart, page.begin() + kJet3Table);
  for (size_t at = kJet3Table + sizeof kJet3TableStart; at + 1 < page.size(); at += 2) page[at + 1] = 0x01;
  rc4Apply(kObscureKey, sizeof kObscureKey, page.data() + kObscuredOffset, kObscuredLength);
  return page;
}

}  // namespace jet::file
