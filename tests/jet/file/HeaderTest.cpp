// Page 0: version, page size, code page, sort order, the obscured password
// and creation date, and the refusals of what is not a readable Jet file.
#include "jet/file/Header.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

#include "jet/core/Error.h"

namespace jet::file {
namespace {

std::filesystem::path mdbDir() {
  return std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
}

std::vector<uint8_t> headerOf(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<uint8_t> bytes(4096);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

ErrorCode parseCode(const std::vector<uint8_t>& bytes) {
  try {
    Header::parse(bytes.data(), bytes.size(), "x.mdb");
  } catch (const Error& e) {
    return e.code();
  }
  return ErrorCode::Invalid;
}

void reobscure(std::vector<uint8_t>& bytes, size_t offset, std::vector<uint8_t> value) {
  const uint8_t key[4] = {0xc7, 0xda, 0x39, 0x6b};
  rc4Apply(key, 4, bytes.data() + 0x18, 0x80);
  std::copy(value.begin(), value.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  rc4Apply(key, 4, bytes.data() + 0x18, 0x80);
}

// Milliseconds since 1970 of "YYYY-MM-DDTHH:MM:SS.mmmZ".
long long isoToMillis(const std::string& iso) {
  int y, mo, d, h, mi, s, ms;
  EXPECT_EQ(std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &y, &mo, &d, &h, &mi, &s, &ms), 7);
  y -= mo <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long long days = era * 146097 + doe - 719468;
  return ((days * 24 + h) * 60 + mi) * 60000LL + s * 1000LL + ms;
}

TEST(Rc4, KnownVector) {
  // The published test vector: key "Key", plaintext "Plaintext".
  const uint8_t key[] = {'K', 'e', 'y'};
  uint8_t data[] = {'P', 'l', 'a', 'i', 'n', 't', 'e', 'x', 't'};
  rc4Apply(key, sizeof key, data, sizeof data);
  const uint8_t expected[] = {0xbb, 0xf3, 0x16, 0xe8, 0xd9, 0x40, 0xaf, 0x0a, 0xd3};
  EXPECT_TRUE(std::equal(data, data + sizeof data, expected));
  rc4Apply(key, sizeof key, data, sizeof data);
  EXPECT_EQ(data[0], 'P');
}

TEST(Header, VersionsAndFacts) {
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases";
  auto h4bytes = headerOf(mdbDir() / "jet4/dups_v2000.mdb");
  Header h4 = Header::parse(h4bytes.data(), h4bytes.size(), "dups");
  EXPECT_EQ(h4.version, JetVersion::Jet4);
  EXPECT_EQ(h4.pageSize, 4096u);
  EXPECT_EQ(h4.codePage, 1252);
  EXPECT_EQ(h4.sortOrder & 0xffff, 1033u);
  EXPECT_EQ(h4.databaseKey, 0u);
  EXPECT_TRUE(h4.password.empty());
  EXPECT_TRUE(h4.acceptsPassword("whatever"));

  auto h3bytes = headerOf(mdbDir() / "jet3/V1997.mdb");
  Header h3 = Header::parse(h3bytes.data(), h3bytes.size(), "v97");
  EXPECT_EQ(h3.version, JetVersion::Jet3);
  EXPECT_EQ(h3.pageSize, 2048u);
  EXPECT_EQ(h3.sortOrder, 1033u);
  EXPECT_TRUE(h3.password.empty());
}

TEST(Header, PasswordsAreRecovered) {
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases";
  struct Case {
    const char* file;
    const char* password;
  } cases[] = {{"jet4/dups_v2000_pw.mdb", "Dup$Pw-2024"},
               {"jet4/V2000_with-password.mdb", "password"},
               {"jet4/V2003_with-password.mdb", "password"},
               {"jet4/V2003_no-password.mdb", ""}};
  for (const auto& c : cases) {
    auto bytes = headerOf(mdbDir() / c.file);
    Header h = Header::parse(bytes.data(), bytes.size(), c.file);
    EXPECT_EQ(h.password, c.password) << c.file;
    EXPECT_TRUE(h.acceptsPassword(c.password));
    if (*c.password) {
      EXPECT_FALSE(h.acceptsPassword(""));
      EXPECT_FALSE(h.acceptsPassword(std::string(c.password) + "x"));
    }
  }
}

// The independent dump records each Jet 4 file's creation date; ours, read
// from the obscured header, must name the same instant.
TEST(Header, CreationDatesAgreeWithTheDump) {
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases";
  std::regex pattern("\"creationDate\": \"([^\"]+)\"");
  int checked = 0;
  for (const auto& e : std::filesystem::directory_iterator(mdbDir() / "jet4")) {
    auto json = mdbDir() / "expected" / (e.path().filename().string() + ".json");
    if (!std::filesystem::exists(json)) continue;
    std::ifstream in(json);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::smatch m;
    if (!std::regex_search(text, m, pattern)) continue;
    auto bytes = headerOf(e.path());
    Header h = Header::parse(bytes.data(), bytes.size(), e.path().string());
    long long ours = std::llround((h.creationDate - 25569.0) * 86400000.0);
    EXPECT_NEAR(static_cast<double>(ours), static_cast<double>(isoToMillis(m[1])), 1.0) << e.path();
    ++checked;
  }
  EXPECT_GE(checked, 15);
}

TEST(Header, RefusesWhatIsNotJet) {
  std::vector<uint8_t> zeros(4096, 0);
  EXPECT_EQ(parseCode(zeros), ErrorCode::NotADatabase);
  EXPECT_EQ(parseCode({}), ErrorCode::NotADatabase);
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases";
  auto good = headerOf(mdbDir() / "jet4/dups_v2000.mdb");
  EXPECT_EQ(parseCode(good), ErrorCode::Invalid);  // parses

  auto shortCopy = std::vector<uint8_t>(good.begin(), good.begin() + 0x40);
  EXPECT_EQ(parseCode(shortCopy), ErrorCode::NotADatabase);
  auto badEngine = good;
  badEngine[5] = 'X';
  EXPECT_EQ(parseCode(badEngine), ErrorCode::NotADatabase);
  auto badMagic = good;
  badMagic[1] = 7;
  EXPECT_EQ(parseCode(badMagic), ErrorCode::NotADatabase);
  auto silly = good;
  silly[0x17] = 0x40;  // a version no Jet ever wrote
  EXPECT_EQ(parseCode(silly), ErrorCode::NotADatabase);

  auto ace = good;
  const char engine[] = "Standard ACE DB";
  std::copy(engine, engine + sizeof engine, ace.begin() + 4);
  EXPECT_EQ(parseCode(ace), ErrorCode::Unsupported);
  auto v2007 = good;
  v2007[0x14] = 2;
  EXPECT_EQ(parseCode(v2007), ErrorCode::Unsupported);

  auto encoded = good;
  reobscure(encoded, 0x3e, {0, 0, 0, 1});
  EXPECT_EQ(parseCode(encoded), ErrorCode::Unsupported);
}

}  // namespace
}  // namespace jet::file
