#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "jet/core/Error.h"
#include "jet/core/Text.h"
#include "jet/format/IndexKey.h"

namespace jet::format {
namespace {

const KeyOwner kOwner{"客户", "名称"};

Bytes key(DataType type, const Value& v, bool asc = true, SortOrder order = SortOrder::GeneralLegacy) {
  KeyColumn c;
  c.type = type;
  c.ascending = asc;
  c.sortOrder = order;
  Bytes out;
  appendKeyColumn(out, c, v, kOwner);
  return out;
}

Bytes text(const std::string& s, bool asc = true, SortOrder order = SortOrder::GeneralLegacy) {
  return key(DataType::Text, Value::text(s), asc, order);
}

// Expected bytes are worked out by hand from the sort-code data:
// a 4A, b 4C, c 4D, e 51, space 07, '-' unprintable 82, é = e + extra 0E,
// U+0301 (combining acute) modifies the previous extra code by 0C,
// 中 9F3D, 文 B6F6.
TEST(IndexKeyText, PlainLettersFoldCase) {
  EXPECT_EQ(text("abc"), (Bytes{0x7F, 0x4A, 0x4C, 0x4D, 0x01, 0x00}));
  EXPECT_EQ(text("ABC"), text("abc"));
  EXPECT_EQ(text("a b"), (Bytes{0x7F, 0x4A, 0x07, 0x4C, 0x01, 0x00}));
  EXPECT_EQ(text(""), (Bytes{0x7F, 0x01, 0x00}));
}

TEST(IndexKeyText, TrailingSpacesDoNotCountAndLongTextIsCut) {
  EXPECT_EQ(text("ab   "), text("ab"));
  EXPECT_EQ(text(std::string(300, 'a')), text(std::string(255, 'a')));
  EXPECT_NE(text(std::string(254, 'a')), text(std::string(255, 'a')));
}

TEST(IndexKeyText, AccentsGoToTheExtraSectionWithPlaceholders) {
  EXPECT_EQ(text("\xC3\xA9"), (Bytes{0x7F, 0x51, 0x01, 0x0E, 0x00}));               // é
  EXPECT_EQ(text("e\xC3\xA9"), (Bytes{0x7F, 0x51, 0x51, 0x01, 0x02, 0x0E, 0x00}));  // eé
  EXPECT_EQ(text("\xC3\xA9"
                 "e"),
            (Bytes{0x7F, 0x51, 0x51, 0x01, 0x0E, 0x00}));  // trailing placeholder trimmed
  // A combining accent adds to the extra code: the same key as the precomposed letter.
  EXPECT_EQ(text("e\xCC\x81"), text("\xC3\xA9"));
  // Accented sorts after plain, before the next letter.
  EXPECT_LT(compareKeys(text("e"), text("\xC3\xA9")), 0);
  EXPECT_LT(compareKeys(text("\xC3\xA9"), text("f")), 0);
}

TEST(IndexKeyText, UnprintableCharactersGoToTheirOwnSection) {
  // a - b: the '-' leaves the inline codes and is recorded with its position.
  EXPECT_EQ(text("a-b"), (Bytes{0x7F, 0x4A, 0x4C, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x82, 0x00}));
  EXPECT_LT(compareKeys(text("ab"), text("a-b")), 0);
}

TEST(IndexKeyText, CjkAndLatin1) {
  EXPECT_EQ(text("\xE4\xB8\xAD\xE6\x96\x87"), (Bytes{0x7F, 0x9F, 0x3D, 0xB6, 0xF6, 0x01, 0x00}));  // 中文
  // Latin letters sort before CJK ideographs.
  EXPECT_LT(compareKeys(text("zzz"), text("\xE4\xB8\xAD")), 0);
  // ß, Æ and the like have codes too.
  EXPECT_NO_THROW(
      text("Stra\xC3\x9F"
           "e \xC3\x86on \xC3\xB1"));
}

TEST(IndexKeyText, DescendingInvertsAndEndsInAZero) {
  EXPECT_EQ(text("abc", false), (Bytes{0x80, 0xB5, 0xB3, 0xB2, 0xFE, 0xFF, 0x00}));
  EXPECT_GT(compareKeys(text("a", false), text("b", false)), 0);
}

TEST(IndexKeyText, UnknownCharacterIsRefusedWithItsCodeAndTheIndex) {
  try {
    text("ok \xF0\x9F\x98\x80");  // an emoji: a surrogate pair, no code known
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_EQ(e.code(), ErrorCode::Unsupported);
    std::string m = e.what();
    EXPECT_NE(m.find("U+1F600"), std::string::npos) << m;
    EXPECT_NE(m.find("名称"), std::string::npos) << m;
  }
}

TEST(IndexKeyText, Access97UsesNibblesForAccents) {
  Bytes plain = text("abc", true, SortOrder::General97);
  EXPECT_EQ(plain.back(), 0x00);
  EXPECT_EQ(plain.front(), 0x7F);
  Bytes accented = text("\xC3\xA9", true, SortOrder::General97);
  // Inline code, then nibbles 0, accent, 0.
  ASSERT_GE(accented.size(), 3u);
  EXPECT_EQ(accented[accented.size() - 2] >> 4, 0);
  EXPECT_LT(compareKeys(text("e", true, SortOrder::General97), accented), 0);
  // Characters outside the code page are ignored, not refused.
  EXPECT_EQ(text("a\xE4\xB8\xAD", true, SortOrder::General97), text("a", true, SortOrder::General97));
}

TEST(IndexKeyNumbers, IntegersFlipTheSignBit) {
  EXPECT_EQ(key(DataType::Long, Value::longInt(1)), (Bytes{0x7F, 0x80, 0x00, 0x00, 0x01}));
  EXPECT_EQ(key(DataType::Long, Value::longInt(-1)), (Bytes{0x7F, 0x7F, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(key(DataType::Long, Value::longInt(1), false), (Bytes{0x80, 0x7F, 0xFF, 0xFF, 0xFE}));
  EXPECT_EQ(key(DataType::Integer, Value::integer(1)), (Bytes{0x7F, 0x80, 0x01}));
  EXPECT_EQ(key(DataType::Byte, Value::byte(5)), (Bytes{0x7F, 0x05}));
  EXPECT_EQ(key(DataType::Byte, Value::byte(5), false), (Bytes{0x80, 0xFA}));
  // A Long column accepts a narrower integer value.
  EXPECT_EQ(key(DataType::Long, Value::integer(1)), key(DataType::Long, Value::longInt(1)));
  EXPECT_EQ(key(DataType::Currency, Value::currency(15000)),
            (Bytes{0x7F, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x98}));
}

TEST(IndexKeyNumbers, FloatingPointOrdersNegativesFirst) {
  EXPECT_EQ(key(DataType::Double, Value::dbl(1.0)), (Bytes{0x7F, 0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(key(DataType::Double, Value::dbl(-1.0)),
            (Bytes{0x7F, 0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(key(DataType::Double, Value::dbl(1.0), false),
            (Bytes{0x80, 0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(key(DataType::Single, Value::single(1.0f)), (Bytes{0x7F, 0xBF, 0x80, 0, 0}));
  EXPECT_EQ(key(DataType::DateTime, Value::dateTime(1.0)), key(DataType::Double, Value::dbl(1.0)));
}

TEST(IndexKeyNumbers, OrderMatchesValuesBothWays) {
  std::mt19937 rng(42);
  std::uniform_int_distribution<int32_t> ints;
  std::uniform_real_distribution<double> reals(-1e6, 1e6);
  for (int i = 0; i < 2000; ++i) {
    int32_t a = ints(rng), b = ints(rng);
    int want = a < b ? -1 : a > b ? 1 : 0;
    EXPECT_EQ(compareKeys(key(DataType::Long, Value::longInt(a)), key(DataType::Long, Value::longInt(b))),
              want);
    EXPECT_EQ(compareKeys(key(DataType::Long, Value::longInt(a), false),
                          key(DataType::Long, Value::longInt(b), false)),
              -want);
    double x = reals(rng), y = reals(rng);
    int wantD = x < y ? -1 : x > y ? 1 : 0;
    EXPECT_EQ(compareKeys(key(DataType::Double, Value::dbl(x)), key(DataType::Double, Value::dbl(y))), wantD);
    EXPECT_EQ(
        compareKeys(key(DataType::Double, Value::dbl(x), false), key(DataType::Double, Value::dbl(y), false)),
        -wantD);
  }
}

TEST(IndexKeyText, AlphanumericOrderIsCaseInsensitiveDigitsFirst) {
  std::mt19937 rng(7);
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  auto word = [&] {
    std::string s(1 + rng() % 8, 'a');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int i = 0; i < 2000; ++i) {
    std::string a = word(), b = word();
    std::string la = foldCase(a), lb = foldCase(b);
    int want = la < lb ? -1 : la > lb ? 1 : 0;  // ASCII: digits before letters
    EXPECT_EQ(compareKeys(text(a), text(b)), want) << a << " / " << b;
  }
}

TEST(IndexKeyOther, NullsBooleansBinaryGuid) {
  EXPECT_EQ(key(DataType::Long, Value::null()), Bytes{0x00});
  EXPECT_EQ(key(DataType::Text, Value::null(), false), Bytes{0xFF});
  EXPECT_EQ(key(DataType::Boolean, Value::boolean(true)), (Bytes{0x7F, 0x00}));
  EXPECT_EQ(key(DataType::Boolean, Value::boolean(false)), (Bytes{0x7F, 0xFF}));
  EXPECT_EQ(key(DataType::Boolean, Value::null()), key(DataType::Boolean, Value::boolean(false)));
  EXPECT_EQ(key(DataType::Boolean, Value::boolean(true), false), (Bytes{0x80, 0xFF}));
  EXPECT_EQ(key(DataType::Binary, Value::binary({1, 2, 3})), (Bytes{0x7F, 1, 2, 3, 0, 0, 0, 0, 0, 3}));
  Bytes ten = key(DataType::Binary, Value::binary({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(ten, (Bytes{0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 0, 0, 0, 0, 0, 0, 2}));
  Bytes tenDesc = key(DataType::Binary, Value::binary({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), false);
  EXPECT_EQ(tenDesc[9], 9);  // the continuation length stays uninverted
  EXPECT_EQ(tenDesc[1], 0xFE);
  Guid g;
  for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<uint8_t>(i);
  Bytes gk = key(DataType::Guid, Value::guid(g));
  // Text order: the first three groups as big-endian numbers.
  EXPECT_EQ(Bytes(gk.begin() + 1, gk.begin() + 10), (Bytes{3, 2, 1, 0, 5, 4, 7, 6, 9}));
  EXPECT_EQ(gk.size(), 1u + 18u);
}

TEST(IndexKeyOther, WrongTypesAndUnindexableColumnsAreErrors) {
  EXPECT_THROW(key(DataType::Long, Value::text("x")), FormatError);
  EXPECT_THROW(key(DataType::Text, Value::longInt(1)), FormatError);
  try {
    key(DataType::LongBinary, Value::longBinary({1}));
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_EQ(e.code(), ErrorCode::Unsupported);
  }
}

TEST(IndexKeyMulti, ColumnsConcatenateAndLongKeysGetADigest) {
  std::vector<KeyColumn> cols(2);
  cols[0].type = DataType::Long;
  cols[1].type = DataType::Text;
  std::vector<Value> vals{Value::longInt(1), Value::text("a")};
  EXPECT_EQ(encodeKey(cols, vals, kOwner), (Bytes{0x7F, 0x80, 0, 0, 1, 0x7F, 0x4A, 0x01, 0x00}));
  EXPECT_THROW(encodeKey(cols, std::vector<Value>{Value::longInt(1)}, kOwner), FormatError);

  // 255 ideographs take 2 bytes each: more than Access keeps.
  std::string cjk;
  for (int i = 0; i < 255; ++i) cjk += (i % 2) ? "\xE4\xB8\xAD" : "\xE6\x96\x87";
  std::vector<KeyColumn> one(1);
  one[0].type = DataType::Text;
  Bytes full;
  appendKeyColumn(full, one[0], Value::text(cjk), kOwner);
  Bytes cut = encodeKey(one, std::vector<Value>{Value::text(cjk)}, kOwner);
  ASSERT_GT(full.size(), kMaxKeyLength);
  ASSERT_EQ(cut.size(), kMaxKeyLength);
  EXPECT_TRUE(std::equal(cut.begin(), cut.begin() + 508, full.begin()));
  EXPECT_EQ(truncateKey(full), cut);
  // The digest depends on the bytes cut off.
  Bytes other = full;
  other[600 < other.size() ? 600 : 509] ^= 1;
  EXPECT_NE(truncateKey(other), cut);
}

}  // namespace
}  // namespace jet::format
