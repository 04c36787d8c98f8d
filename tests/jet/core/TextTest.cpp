#include <gtest/gtest.h>

#include "jet/core/Text.h"

namespace jet {
namespace {

TEST(Text, Utf16RoundTripKeepsCjkAndAstralCharacters) {
  std::string s = "ID 表名 \xF0\x9F\x98\x80 é";
  std::u16string w = utf8ToUtf16(s);
  EXPECT_EQ(w.size(), 10u);  // the emoji takes a surrogate pair
  EXPECT_EQ(utf16ToUtf8(w), s);
}

TEST(Text, MalformedInputBecomesReplacementCharacter) {
  EXPECT_EQ(utf8ToUtf32("a\xC3"), (std::u32string{U'a', 0xFFFD}));
  EXPECT_EQ(utf8ToUtf32("\xE0\x80\x80"), std::u32string{0xFFFD});  // overlong
  EXPECT_EQ(utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

TEST(Text, CaseInsensitiveComparisonCoversLatinGreekCyrillic) {
  EXPECT_TRUE(equalsIgnoreCase("Customers", "CUSTOMERS"));
  EXPECT_TRUE(equalsIgnoreCase("ÉCOLE", "école"));
  EXPECT_TRUE(equalsIgnoreCase("ΑΒΓ", "αβγ"));
  EXPECT_TRUE(equalsIgnoreCase("ПРИВЕТ", "привет"));
  EXPECT_FALSE(equalsIgnoreCase("客户", "客户表"));
  EXPECT_LT(compareIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(compareIgnoreCase("abcd", "ABC"), 0);
}

TEST(Text, LengthCountsCodePoints) {
  EXPECT_EQ(utf8Length("a表b"), 3u);
}

TEST(Text, Utf16LengthAgreesWithTheConversion) {
  for (std::string s : {std::string("a表b"), std::string("\xF0\x9F\x98\x80x"), std::string("bad\xC3"),
                        std::string("\xED\xA0\x80"), std::string("")})
    EXPECT_EQ(utf16Length(s), utf8ToUtf16(s).size()) << s;
  EXPECT_EQ(utf16Length("\xF0\x9F\x98\x80"), 2u);
}

}  // namespace
}  // namespace jet

namespace jet {
namespace {

TEST(Utf8Snippet, NeverCutsACharacter) {
  const std::string sql = "select 中文字段 from 表";
  EXPECT_EQ(utf8Snippet(sql, 7, 4), "中文字段");
  EXPECT_EQ(utf8Snippet(sql, 7, 2), "中文");
  // A start inside a character moves on to the next whole one.
  EXPECT_EQ(utf8Snippet(sql, 8, 2), "文字");
  EXPECT_EQ(utf8Snippet(sql, sql.size() - 1, 5), "");
  EXPECT_EQ(utf8Snippet(sql, 100, 5), "");
  EXPECT_EQ(utf8Snippet("ab\xF0\x9F\x98\x80"
                        "cd",
                        0, 3),
            "ab\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace jet
