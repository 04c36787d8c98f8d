#include "jet/core/Messages.h"

#include <gtest/gtest.h>

namespace jet::msg {
namespace {

// Restores the default so that other tests keep seeing Chinese texts.
class LanguageGuard {
 public:
  ~LanguageGuard() { setLanguage(Language::Chinese); }
};

TEST(Messages, ChineseIsTheDefault) {
  EXPECT_EQ(language(), Language::Chinese);
  EXPECT_EQ(badPassword(), "不是有效的密码。");
  EXPECT_EQ(syntaxError("FROM x"), "语法错误。（在 'FROM x' 附近）");
}

TEST(Messages, EnglishWhenSwitched) {
  LanguageGuard guard;
  setLanguage(Language::English);
  EXPECT_EQ(badPassword(), "Not a valid password.");
  EXPECT_EQ(syntaxError("FROM x"), "Syntax error. (near 'FROM x')");
  EXPECT_EQ(syntaxErrorIn("WHERE", ""), "Syntax error in WHERE clause.");
  EXPECT_EQ(
      noSuchTable("Nope"),
      "The Microsoft Jet database engine cannot find the input table or query 'Nope'. Make sure it exists "
      "and that its name is spelled correctly.");
  setLanguage(Language::Chinese);
  EXPECT_EQ(tableExists("T"), "表 'T' 已存在。");
}

TEST(Messages, EveryEnglishTextIsPlainAscii) {
  LanguageGuard guard;
  setLanguage(Language::English);
  for (const std::string& text :
       {readOnlyFile("a.mdb"), jet3WriteNotSupported("a.mdb"), cannotModifySystemTable("MSysObjects"),
        interrupted(), diskFull("a.mdb", "No space left"), noSuchField("T", "f"), invalidStatement("x")})
    for (unsigned char c : text) EXPECT_LT(c, 0x80) << text;
}

TEST(Messages, LanguageOfLocaleFollowsPosixOrder) {
  EXPECT_EQ(languageOfLocale(nullptr, nullptr, "zh_CN.UTF-8"), Language::Chinese);
  EXPECT_EQ(languageOfLocale(nullptr, nullptr, "zh_TW"), Language::Chinese);
  EXPECT_EQ(languageOfLocale(nullptr, nullptr, "en_US.UTF-8"), Language::English);
  EXPECT_EQ(languageOfLocale(nullptr, nullptr, "C.UTF-8"), Language::English);
  EXPECT_EQ(languageOfLocale(nullptr, nullptr, nullptr), Language::English);
  // LC_ALL wins over LC_MESSAGES, which wins over LANG; empty counts as unset.
  EXPECT_EQ(languageOfLocale("en_GB", "zh_CN", "zh_CN"), Language::English);
  EXPECT_EQ(languageOfLocale("", "zh_CN", "en_US"), Language::Chinese);
  EXPECT_EQ(languageOfLocale(nullptr, "", "zh_HK.UTF-8"), Language::Chinese);
  EXPECT_EQ(languageOfLocale("C", nullptr, "zh_CN.UTF-8"), Language::English);
}

}  // namespace
}  // namespace jet::msg
