#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "LzhTestUtil.h"
#include "skin/archive/SkinArchive.h"
#include "skin/archive/SkinRead.h"

namespace skin::test {
namespace {

void PutInt32(Bytes& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// An unpacked archive laid out by hand, so that every field can be damaged.
Bytes RawArchive(int32_t version, int32_t infoSize, const std::string& dir, const std::vector<int32_t>& sizes,
                 const Bytes& data, std::optional<int32_t> dirLen = std::nullopt) {
  Bytes out;
  PutInt32(out, version);
  PutInt32(out, dirLen.value_or(static_cast<int32_t>(dir.size())));
  PutInt32(out, 11);
  PutInt32(out, 22);
  out.resize(out.size() + static_cast<size_t>(infoSize), 0xEE);
  out.insert(out.end(), dir.begin(), dir.end());
  for (int32_t s : sizes) PutInt32(out, s);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

bool Load(TSkinReader& reader, const Bytes& packed) {
  TMemoryStream stream;
  stream.Assign(packed);
  return reader.Loadfromstream(stream);
}

std::string Member(const TSkinReader& reader, const std::string& name) {
  TMemoryStream out;
  reader.readfile(name, out);
  EXPECT_EQ(out.Position(), 0);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::vector<TSkinMember> SampleMembers() {
  return {{"Button.BMP", ToBytes("BM-button-bytes")},
          {"title.bmp", ToBytes("BM-title")},
          {"Empty.bmp", {}},
          {"Skin.INI", ToBytes("[Personality]\r\nName=Test\r\n")}};
}

Bytes PackedSample() {
  TMemoryStream out;
  PackSkinArchive(SampleMembers(), out);
  return out.Bytes();
}

TEST(SkinArchiveLayout, BuiltArchiveHasTheCurrentLayout) {
  Bytes raw = BuildSkinArchive(SampleMembers());
  // Header: 70000, DirLen = 4 names + CR LF each.
  std::string dir = "Button.BMP\r\ntitle.bmp\r\nEmpty.bmp\r\nSkin.INI\r\n";
  Bytes expected = RawArchive(70000, 69, dir, {15, 8, 0, 26}, {});
  expected[8] = expected[12] = 0;  // U1, U2
  std::fill(expected.begin() + 16, expected.begin() + 16 + 69, 0);
  for (const auto& m : SampleMembers()) expected.insert(expected.end(), m.data.begin(), m.data.end());
  EXPECT_EQ(raw, expected);
}

TEST(SkinArchiveLayout, BuildRefusesBadNames) {
  EXPECT_THROW(BuildSkinArchive({{"", {}}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive({{"a\r\nb", {}}}), std::invalid_argument);
  std::vector<TSkinMember> many(1002, TSkinMember{"x.bmp", {}});
  EXPECT_THROW(BuildSkinArchive(many), std::invalid_argument);
  many.resize(1001);
  EXPECT_NO_THROW(BuildSkinArchive(many));
}

TEST(SkinReader, ReadsWhatThePackerWrote) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackedSample()));
  EXPECT_EQ(reader.Header().Version, 70000);
  EXPECT_EQ(reader.Num(), 4);
  EXPECT_EQ(reader.Dir(), (std::vector<std::string>{"button.bmp", "title.bmp", "empty.bmp", "skin.ini"}));
  EXPECT_EQ(reader.Size(0), 15);
  EXPECT_EQ(reader.Size(3), 26);
  EXPECT_EQ(reader.Data().Size(), 15 + 8 + 0 + 26);

  EXPECT_EQ(Member(reader, "button.bmp"), "BM-button-bytes");
  EXPECT_EQ(Member(reader, "BUTTON.bmp"), "BM-button-bytes");
  EXPECT_EQ(Member(reader, "TITLE.BMP"), "BM-title");
  EXPECT_EQ(Member(reader, "empty.bmp"), "");
  EXPECT_EQ(Member(reader, "button.bm"), "");
  EXPECT_EQ(Member(reader, " button.bmp"), "");
  EXPECT_EQ(Member(reader, "skin.ini"), "[Personality]\r\nName=Test\r\n");
}

TEST(SkinReader, ReadIniFindsTheFirstNameContainingThePart) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackedSample()));
  TMemoryStream out;
  std::string name = "unchanged";
  reader.readIni(".ini", out, name);
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), "[Personality]\r\nName=Test\r\n");
  EXPECT_EQ(out.Position(), 0);

  reader.readIni(".bmp", out, name);
  EXPECT_EQ(name, "button.bmp");
  // The names are lower case, so an upper-case part matches nothing.
  name = "unchanged";
  reader.readIni(".INI", out, name);
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(out.Size(), 0);
}

TEST(SkinReader, ReadfileClearsTheTarget) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackedSample()));
  TMemoryStream out;
  out.Assign(ToBytes("old content"));
  reader.readfile("missing.bmp", out);
  EXPECT_EQ(out.Size(), 0);
}

TEST(SkinReader, EveryVersionSkipsItsInfoBlock) {
  const std::pair<int32_t, int32_t> versions[] = {{20000, 0},  {30000, 256}, {40000, 80},
                                                  {50000, 48}, {60000, 117}, {70000, 69}};
  for (auto [version, info] : versions) {
    Bytes raw = RawArchive(version, info, "a.bmp\r\nb.ini\r\n", {3, 2}, ToBytes("AAABB"));
    TSkinReader reader;
    ASSERT_TRUE(Load(reader, PackBytes(raw))) << version;
    EXPECT_EQ(reader.Header().Version, version);
    EXPECT_EQ(reader.Dir(), (std::vector<std::string>{"a.bmp", "b.ini"}));
    EXPECT_EQ(Member(reader, "a.bmp"), "AAA");
    EXPECT_EQ(Member(reader, "b.ini"), "BB");
  }
  // Version 20000 has no info block: the directory starts at offset 16.
  Bytes raw = RawArchive(20000, 0, "x\r\n", {1}, ToBytes("Z"));
  EXPECT_EQ(raw[16], 'x');
}

TEST(SkinReader, DirectoryLinesEndAtCrLfCrOrLf) {
  Bytes raw = RawArchive(70000, 69, "One\rTwo\nThree\r\nFour", {1, 1, 1, 1}, ToBytes("1234"));
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackBytes(raw)));
  EXPECT_EQ(reader.Dir(), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(Member(reader, "FOUR"), "4");
}

TEST(SkinReader, OnlyAsciiLettersAreLowerCased) {
  Bytes raw = RawArchive(70000, 69, "\xC6\xA4Skin_\xD6.BMP\r\n", {2}, ToBytes("ok"));
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackBytes(raw)));
  EXPECT_EQ(reader.Dir()[0], "\xC6\xA4skin_\xD6.bmp");
  EXPECT_EQ(Member(reader, "\xC6\xA4SKIN_\xD6.bmp"), "ok");
  EXPECT_EQ(Member(reader, "\xE6\xA4skin_\xF6.bmp"), "");
}

TEST(SkinReader, TrailingDataAfterTheMembersIsKept) {
  Bytes raw = RawArchive(70000, 69, "a\r\n", {2}, ToBytes("abcdef"));
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackBytes(raw)));
  EXPECT_EQ(Member(reader, "a"), "ab");
}

TEST(SkinReader, UnknownVersionFailsQuietlyThroughTheHook) {
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackedSample()));
  std::vector<std::string> log;
  reader.doLog = [&](const std::string& m) { log.push_back(m); };
  EXPECT_FALSE(Load(reader, PackBytes(RawArchive(10000, 0, "a\r\n", {1}, ToBytes("a")))));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "This is Older Skin File\rPlease update to new version !");
  // What the reader held stays.
  EXPECT_EQ(reader.Num(), 4);
  EXPECT_EQ(Member(reader, "title.bmp"), "BM-title");

  TSkinReader silent;  // no hook: nothing is reported anywhere
  EXPECT_FALSE(Load(silent, PackBytes(RawArchive(80000, 0, "a\r\n", {1}, ToBytes("a")))));
  EXPECT_EQ(silent.Num(), 0);
}

TEST(SkinReader, DamagedArchivesAreRefused) {
  const std::string dir = "a\r\nb\r\n";
  const Bytes data = ToBytes("aaabb");
  struct Case {
    const char* what;
    Bytes raw;
  };
  std::string bigDir;
  for (int i = 0; i < 1002; ++i) bigDir += "m\r\n";
  std::vector<int32_t> zeros(1002, 0);
  const Case cases[] = {
      {"header cut", Bytes{0x70, 0x11, 0x01}},
      {"negative DirLen", RawArchive(70000, 69, dir, {3, 2}, data, -5)},
      {"DirLen past the end", RawArchive(70000, 69, dir, {3, 2}, data, 1000)},
      {"size table cut", RawArchive(70000, 69, dir, {3}, {})},
      {"negative size", RawArchive(70000, 69, dir, {-1, 6}, data)},
      {"sizes beyond the data", RawArchive(70000, 69, dir, {3, 3}, data)},
      {"sizes overflowing 32 bits", RawArchive(70000, 69, dir, {0x7FFFFFFF, 0x7FFFFFFF}, data)},
      {"more than 1001 members", RawArchive(70000, 69, bigDir, zeros, {})},
      {"info block cut", RawArchive(30000, 100, "", {}, {})},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    ASSERT_TRUE(Load(reader, PackedSample()));
    std::string logged;
    reader.doLog = [&](const std::string& m) { logged = m; };
    EXPECT_FALSE(Load(reader, PackBytes(c.raw))) << c.what;
    EXPECT_FALSE(logged.empty()) << c.what;
    EXPECT_EQ(reader.Num(), 4) << c.what;
    EXPECT_EQ(Member(reader, "button.bmp"), "BM-button-bytes") << c.what;
  }
}

TEST(SkinReader, NegativeDirLenIsRefused) {
  TSkinReader reader;
  EXPECT_FALSE(Load(reader, PackBytes(RawArchive(70000, 69, "a\r\n", {1}, ToBytes("a"), -1))));
}

TEST(SkinReader, ExactlyTheMemberLimitIsAccepted) {
  std::string dir;
  for (int i = 0; i < 1001; ++i) dir += "m" + std::to_string(i) + "\r\n";
  TSkinReader reader;
  ASSERT_TRUE(Load(reader, PackBytes(RawArchive(70000, 69, dir, std::vector<int32_t>(1001, 0), {}))));
  EXPECT_EQ(reader.Num(), 1001);
}

TEST(SkinReader, DamagedPackedBlocksAreRefused) {
  Bytes packed = PackedSample();
  TSkinReader reader;
  std::string logged;
  reader.doLog = [&](const std::string& m) { logged = m; };
  EXPECT_FALSE(Load(reader, Bytes(packed.begin(), packed.begin() + 3)));
  EXPECT_FALSE(Load(reader, Bytes(packed.begin(), packed.end() - 10)));
  EXPECT_NE(logged.find("unpacked"), std::string::npos);
  EXPECT_FALSE(Load(reader, {}));
  EXPECT_EQ(reader.Num(), 0);
  // Every single-byte corruption either loads or is refused; none crashes.
  for (size_t i = 0; i < packed.size(); ++i) {
    Bytes bad = packed;
    bad[i] ^= 0x5A;
    TSkinReader r;
    if (Load(r, bad)) {
      EXPECT_LE(r.Num(), 1001);
    }
  }
}

TEST(SkinReader, LoadFromFile) {
  auto dir = std::filesystem::temp_directory_path() /
             ("skinread_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  std::string file = (dir / "sample.skn").string();
  TMemoryStream packed;
  PackSkinArchive(SampleMembers(), packed);
  packed.SaveToFile(file);

  TSkinReader reader;
  EXPECT_FALSE(reader.loadfromfile((dir / "missing.skn").string()));
  ASSERT_TRUE(reader.loadfromfile(file));
  EXPECT_EQ(Member(reader, "Title.bmp"), "BM-title");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace skin::test
