#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "jet/format/SortCodes.h"

namespace jet::format {
namespace {

namespace fs = std::filesystem;
const fs::path kSortData = fs::path(QM_TESTDATA_DIR) / "jet-sort";

std::vector<std::string> lines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);)
    if (!l.empty()) out.push_back(l);
  return out;
}

std::string hex(std::span<const uint8_t> b) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (uint8_t x : b) {
    s.push_back(digits[x >> 4]);
    s.push_back(digits[x & 15]);
  }
  return s;
}

// The data files drop a leading zero of a hex group; compare as bytes.
std::string normal(std::string group) {
  if (group.size() % 2) group = "0" + group;
  return group;
}

std::vector<std::string> split(const std::string& s) {
  std::vector<std::string> parts;
  std::stringstream ss(s);
  for (std::string p; std::getline(ss, p, ',');) parts.push_back(p);
  if (!s.empty() && s.back() == ',') parts.push_back("");
  return parts;
}

// What one line of a data file says, in the terms of CharCode.
std::string describe(const std::string& line) {
  const char kind = line[0];
  std::vector<std::string> g = split(line.substr(1));
  switch (kind) {
    case 'S':
    case 'G':
      return std::string(1, kind) + normal(g.at(0)) + "|";
    case 'I':
      return "I" + normal(g.at(0)) + "|" + normal(g.at(1));
    case 'U':
    case 'P':
      return std::string(1, kind) + "|" + normal(g.at(0));
    case 'Z':
      return "Z" + normal(g.at(0)) + "|" + normal(g.size() > 1 ? g[1] : "") +
             (g.size() > 2 && g[2] == "1" ? "2" : "3");
    case 'X':
      return "X|";
  }
  return "?";
}

std::string describe(const CharCode& c) {
  static const char kinds[] = {'S', 'I', 'U', 'P', 'Z', 'G', 'X', '?'};
  std::string s(1, kinds[static_cast<int>(c.kind)]);
  s += hex(c.inlineBytes) + "|" + hex(c.secondBytes);
  if (c.kind == CharKind::InternationalExt) s += std::to_string(c.flag);
  return s;
}

class SortCodesData : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kSortData)) GTEST_SKIP() << "sort-code data files not found at " << kSortData;
  }
  // Every code unit of the order against its line in the data files.
  void compareAll(SortOrder order, const char* base, const char* ext) {
    std::vector<std::string> b = lines(kSortData / base), e = lines(kSortData / ext);
    ASSERT_EQ(b.size(), 256u);
    ASSERT_EQ(e.size(), 0x10000u - 0x100 - 0x800);
    size_t next = 0;
    for (uint32_t c = 0; c < 0x10000; ++c) {
      std::string want;
      if (c < 0x100)
        want = describe(b[c]);
      else if (c >= 0xD800 && c <= 0xDFFF)
        want = "?|";
      else
        want = describe(e[next++]);
      ASSERT_EQ(describe(sortCode(order, static_cast<char16_t>(c))), want) << "U+" << std::hex << c;
    }
  }
};

TEST_F(SortCodesData, GeneralLegacyMatchesEveryLineOfItsDataFiles) {
  compareAll(SortOrder::GeneralLegacy, "index_codes_genleg.txt", "index_codes_ext_genleg.txt");
}

TEST_F(SortCodesData, GeneralMatchesEveryLineOfItsDataFiles) {
  compareAll(SortOrder::General, "index_codes_gen.txt", "index_codes_ext_gen.txt");
}

TEST_F(SortCodesData, Access97MatchesItsCodesAndMappings) {
  std::vector<std::string> b = lines(kSortData / "index_codes_gen_97.txt");
  ASSERT_EQ(b.size(), 256u);
  for (uint32_t c = 0; c < 0x100; ++c)
    ASSERT_EQ(describe(sortCode(SortOrder::General97, static_cast<char16_t>(c))), describe(b[c])) << c;
  int mapped = 0;
  for (const std::string& l : lines(kSortData / "index_mappings_ext_gen_97.txt")) {
    std::vector<std::string> g = split(l);
    char16_t from = static_cast<char16_t>(std::stoi(g[0]));
    size_t to = std::stoul(g[1]);
    EXPECT_EQ(describe(sortCode(SortOrder::General97, from)), describe(b.at(to))) << l;
    ++mapped;
  }
  EXPECT_EQ(mapped, 27);
  // Beyond the code page, Access 97 ignores a character.
  EXPECT_EQ(sortCode(SortOrder::General97, u'\u4E2D').kind, CharKind::Ignored);
}

// These hold without the data files: the generated table is part of the build.
TEST(SortCodes, AsciiLettersFoldCaseAndDigitsSortBeforeLetters) {
  for (SortOrder o : {SortOrder::GeneralLegacy, SortOrder::General, SortOrder::General97}) {
    CharCode upper = sortCode(o, u'A'), lower = sortCode(o, u'a');
    ASSERT_FALSE(upper.inlineBytes.empty());
    EXPECT_TRUE(std::ranges::equal(upper.inlineBytes, lower.inlineBytes));
    EXPECT_TRUE(std::ranges::lexicographical_compare(sortCode(o, u'9').inlineBytes, upper.inlineBytes));
    EXPECT_TRUE(std::ranges::lexicographical_compare(upper.inlineBytes, sortCode(o, u'B').inlineBytes));
  }
  EXPECT_EQ(hex(sortCode(SortOrder::GeneralLegacy, u'A').inlineBytes), "4A");
}

TEST(SortCodes, AccentedLettersShareTheBaseLetterAndCarryAnExtraCode) {
  CharCode e = sortCode(SortOrder::GeneralLegacy, u'e');
  CharCode acute = sortCode(SortOrder::GeneralLegacy, u'\u00E9');
  EXPECT_EQ(acute.kind, CharKind::International);
  EXPECT_TRUE(std::ranges::equal(acute.inlineBytes, e.inlineBytes));
  EXPECT_FALSE(acute.secondBytes.empty());
}

TEST(SortCodes, CjkHasCodesAndSurrogatesHaveNone) {
  for (char16_t c : {u'\u4E2D', u'\u6587', u'\u8868', u'\u540D'}) {
    CharCode code = sortCode(SortOrder::GeneralLegacy, c);
    EXPECT_EQ(code.kind, CharKind::Simple) << static_cast<int>(c);
    EXPECT_GE(code.inlineBytes.size(), 2u);
  }
  EXPECT_EQ(sortCode(SortOrder::GeneralLegacy, char16_t{0xD83D}).kind, CharKind::Unknown);
  EXPECT_EQ(sortCode(SortOrder::General, char16_t{0xDE00}).kind, CharKind::Unknown);
}

TEST(SortCodes, SortOrderIds) {
  SortOrder o{};
  EXPECT_TRUE(sortOrderFromId(1033, 0, false, o));
  EXPECT_EQ(o, SortOrder::GeneralLegacy);
  EXPECT_TRUE(sortOrderFromId(1033, 1, false, o));
  EXPECT_EQ(o, SortOrder::General);
  EXPECT_TRUE(sortOrderFromId(0, -1, true, o));
  EXPECT_EQ(o, SortOrder::General97);
  EXPECT_FALSE(sortOrderFromId(2052, 0, false, o));  // Chinese (PRC) stroke order: codes unknown
}

}  // namespace
}  // namespace jet::format
