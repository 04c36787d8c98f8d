// Jet 4 UCS-2 text with and without compression, Jet 3 code-page text.
#include "jet/format/TextCodec.h"

#include <gtest/gtest.h>

namespace jet::format {
namespace {

std::vector<uint8_t> b(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int x : v) out.push_back(static_cast<uint8_t>(x));
  return out;
}

TEST(Ucs2Text, PlainAndCompressed) {
  EXPECT_EQ(decodeUcs2Text(b({'A', 0, 'b', 0})), "Ab");
  EXPECT_EQ(decodeUcs2Text(b({0x2d, 0x4e, 0x87, 0x65})), "中文");
  EXPECT_EQ(decodeUcs2Text(b({'A', 0, 'b'})), "A");  // a dangling byte is no character
  EXPECT_EQ(decodeUcs2Text({}), "");
  // Compressed: one-byte run, 0x00, two-byte run, 0x00, one-byte run.
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 'a', 'b', 0x00, 0x2d, 0x4e, 0x00, 'c'})), "ab中c");
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 'x', 'y', 'z'})), "xyz");
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe})), "");
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 0xe9})), "é");
}

TEST(Ucs2Text, SurrogatesPairOrBecomeReplacementCharacters) {
  const char* emoji = "\xF0\x9F\x98\x80";  // U+1F600: D83D DE00
  EXPECT_EQ(decodeUcs2Text(b({0x3d, 0xd8, 0x00, 0xde})), emoji);
  EXPECT_EQ(decodeUcs2Text(b({0x3d, 0xd8, 'A', 0})), "\uFFFDA");  // high without its pair
  EXPECT_EQ(decodeUcs2Text(b({0x00, 0xde, 'A', 0})), "\uFFFDA");  // low alone
  EXPECT_EQ(decodeUcs2Text(b({'A', 0, 0x3d, 0xd8})), "A\uFFFD");  // high at the end
  // Compressed: a pair split by a switch still pairs; a one-byte letter after a high ends it.
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 0x00, 0x3d, 0xd8, 0x00, 0x00, 0x01, 0xde})), "\xF0\x9F\x98\x81");
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 0x00, 0x3d, 0xd8, 0x00, 'x'})), "\uFFFDx");
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 0x00, 0x3d, 0xd8, 0x00})), "\uFFFD");
  // A lone byte where a two-byte unit would start ends the text.
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 'a', 0x00, 0x2d, 0x4e, 0x41})), "a中");
  // Latin-1 letters in a one-byte run, and two switches in a row.
  EXPECT_EQ(decodeUcs2Text(b({0xff, 0xfe, 0xfc, 0x00, 0x00, 'z'})), "üz");
}

TEST(Ucs2Text, EncodeRoundTripsAndCompressesWhenItCan) {
  auto compressed = encodeUcs2Text("hello", true);
  EXPECT_EQ(compressed, b({0xff, 0xfe, 'h', 'e', 'l', 'l', 'o'}));
  EXPECT_EQ(decodeUcs2Text(compressed), "hello");
  auto plain = encodeUcs2Text("hello", false);
  EXPECT_EQ(plain.size(), 10u);
  EXPECT_EQ(decodeUcs2Text(plain), "hello");
  auto wide = encodeUcs2Text("ab中", true);  // not one-byte throughout: stored plain
  EXPECT_EQ(wide, b({'a', 0, 'b', 0, 0x2d, 0x4e}));
  EXPECT_EQ(decodeUcs2Text(wide), "ab中");
}

TEST(CodePageText, Windows1252) {
  EXPECT_EQ(decodeCodePageText(b({'C', 'a', 'f', 0xe9, ' ', 0x80}), 1252), "Café €");
  EXPECT_EQ(decodeCodePageText(b({0x93, 'q', 0x94}), 1252), "“q”");
  EXPECT_EQ(encodeCodePageText("Café €", 1252), b({'C', 'a', 'f', 0xe9, ' ', 0x80}));
  EXPECT_EQ(encodeCodePageText("中", 1252), b({'?'}));
  EXPECT_TRUE(codePageSupported(1252));
  EXPECT_FALSE(codePageSupported(1251));
  // An unknown code page reads as Windows-1252.
  EXPECT_EQ(decodeCodePageText(b({'o', 'k', 0xe9}), 1251), "oké");
}

TEST(CodePageText, Gbk) {
  EXPECT_EQ(decodeCodePageText(b({0xd6, 0xd0, 0xce, 0xc4, 'A'}), 936), "中文A");
  EXPECT_EQ(gbkToUnicode(0xb0, 0xa1), U'啊');
  EXPECT_EQ(gbkToUnicode(0x81, 0x40), U'丂');
  EXPECT_EQ(gbkToUnicode(0x80, 0x40), 0u);
  EXPECT_EQ(gbkToUnicode(0xa1, 0x7f), 0u);  // 0x7F is never a trail byte
  EXPECT_EQ(decodeCodePageText(b({'x', 0xd6}), 936), "x\uFFFD");
  EXPECT_EQ(encodeCodePageText("中文A", 936), b({0xd6, 0xd0, 0xce, 0xc4, 'A'}));
  EXPECT_EQ(encodeCodePageText("\u0E01", 936), b({'?'}));  // Thai is not in GBK
  EXPECT_TRUE(codePageSupported(936));
}

}  // namespace
}  // namespace jet::format
