// Stored bytes of every column type, both ways.
#include "jet/format/ValueCodec.h"

#include <gtest/gtest.h>

#include "jet/core/Error.h"

namespace jet::format {
namespace {

ColumnDefinition column(DataType t, uint16_t length = 0) {
  ColumnDefinition c;
  c.name = "c";
  c.type = static_cast<uint8_t>(t);
  c.length = length;
  return c;
}

Value roundTrip(const ColumnDefinition& c, const Value& v, const TextRules& text = {}) {
  auto bytes = encodeValue(c, v, text);
  auto back = decodeValue(c, bytes, text);
  EXPECT_TRUE(back.has_value());
  return back ? *back : Value();
}

TEST(ValueCodec, FixedTypesRoundTrip) {
  EXPECT_EQ(roundTrip(column(DataType::Byte), Value::byte(200)), Value::byte(200));
  EXPECT_EQ(roundTrip(column(DataType::Integer), Value::integer(-12345)), Value::integer(-12345));
  EXPECT_EQ(roundTrip(column(DataType::Long), Value::longInt(-2000000000)), Value::longInt(-2000000000));
  EXPECT_EQ(roundTrip(column(DataType::Currency), Value::currency(-123456789012345)),
            Value::currency(-123456789012345));
  EXPECT_EQ(roundTrip(column(DataType::Single), Value::single(1.5f)), Value::single(1.5f));
  EXPECT_EQ(roundTrip(column(DataType::Double), Value::dbl(-0.1)), Value::dbl(-0.1));
  EXPECT_EQ(roundTrip(column(DataType::DateTime), Value::dateTime(36925.17)), Value::dateTime(36925.17));
  Guid g;
  for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<uint8_t>(i * 17);
  EXPECT_EQ(roundTrip(column(DataType::Guid), Value::guid(g)), Value::guid(g));
}

TEST(ValueCodec, LittleEndianLayout) {
  EXPECT_EQ(encodeValue(column(DataType::Long), Value::longInt(0x01020304), {}),
            (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(encodeValue(column(DataType::Integer), Value::integer(-2), {}),
            (std::vector<uint8_t>{0xfe, 0xff}));
  auto d = encodeValue(column(DataType::Double), Value::dbl(1.0), {});
  EXPECT_EQ(d, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xf0, 0x3f}));
}

TEST(ValueCodec, DecimalIsSignAndFourWordsMostSignificantFirst) {
  ColumnDefinition c = column(DataType::Decimal, 17);
  c.precision = 28;
  c.scale = 4;
  std::vector<uint8_t> bytes(17, 0);
  bytes[0] = 0x80;
  bytes[13] = 0x39;  // least significant word, little-endian: 12345
  bytes[14] = 0x30;
  bytes[5] = 0x01;  // third word from the bottom: 1 << 64
  auto v = decodeValue(c, bytes, {});
  ASSERT_TRUE(v);
  const Decimal& dec = v->asDecimal();
  EXPECT_TRUE(dec.negative);
  EXPECT_EQ(dec.magnitude, (static_cast<unsigned __int128>(1) << 64) + 12345);
  EXPECT_EQ(dec.scale, 4);
  EXPECT_EQ(dec.precision, 28);
  EXPECT_EQ(encodeValue(c, *v, {}), bytes);
}

TEST(ValueCodec, TextFollowsTheFileRules) {
  ColumnDefinition text = column(DataType::Text, 100);
  text.extFlags = kColumnCompressedUnicode;
  TextRules jet4;
  auto bytes = encodeValue(text, Value::text("abc"), jet4);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xff, 0xfe, 'a', 'b', 'c'}));
  EXPECT_EQ(*decodeValue(text, bytes, jet4), Value::text("abc"));
  TextRules jet3{false, 1252};
  EXPECT_EQ(encodeValue(text, Value::text("é"), jet3), (std::vector<uint8_t>{0xe9}));
  EXPECT_EQ(*decodeValue(text, std::vector<uint8_t>{0xe9}, jet3), Value::text("é"));
  EXPECT_EQ(*decodeValue(column(DataType::Memo), std::vector<uint8_t>{'m', 0}, jet4), Value::memo("m"));
  EXPECT_EQ(*decodeValue(column(DataType::Binary), std::vector<uint8_t>{1, 2}, jet4), Value::binary({1, 2}));
  EXPECT_EQ(*decodeValue(column(DataType::LongBinary), std::vector<uint8_t>{3}, jet4),
            Value::longBinary({3}));
}

TEST(ValueCodec, ShortBytesAndUnknownTypesDecodeToNothing) {
  std::vector<uint8_t> three{1, 2, 3};
  EXPECT_FALSE(decodeValue(column(DataType::Long), three, {}));
  EXPECT_FALSE(decodeValue(column(DataType::Double), three, {}));
  EXPECT_FALSE(decodeValue(column(DataType::Guid), three, {}));
  EXPECT_FALSE(decodeValue(column(DataType::Decimal), three, {}));
  ColumnDefinition odd;
  odd.type = 0x0e;
  EXPECT_FALSE(decodeValue(odd, three, {}));
  EXPECT_FALSE(dataTypeOf(0x12));
  EXPECT_EQ(dataTypeOf(0x11), DataType::Binary);
  EXPECT_EQ(dataTypeOf(0x04), DataType::Long);
}

TEST(ValueCodec, EncodingTheWrongKindOfValueIsATypeMismatch) {
  try {
    encodeValue(column(DataType::Long), Value::text("x"), {});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::TypeMismatch);
  }
  EXPECT_THROW(encodeValue(column(DataType::Guid), Value::longInt(1), {}), Error);
  EXPECT_THROW(encodeValue(column(DataType::Boolean), Value::boolean(true), {}), Error);
  EXPECT_THROW(encodeValue(column(DataType::Text), Value::longInt(1), {}), Error);
}

}  // namespace
}  // namespace jet::format
