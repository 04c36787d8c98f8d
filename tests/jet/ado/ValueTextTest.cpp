#include <gtest/gtest.h>

#include "jet/ado/ValueText.h"

namespace jet::ado {
namespace {

TEST(ValueText, DatesCountFromJetsEpoch) {
  EXPECT_EQ(dateTimeText(0), "1899-12-30 00:00:00");
  EXPECT_EQ(dateTimeText(36925 + (4 * 3600 + 5 * 60 + 6) / 86400.0), "2001-02-03 04:05:06");
  EXPECT_EQ(dateTimeText(36525 + 86399 / 86400.0), "1999-12-31 23:59:59");
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(dateTimeText(-1.25), "1899-12-29 06:00:00");
  // Rounding to the second may carry into the next day.
  EXPECT_EQ(dateTimeText(1.9999999), "1900-01-01 00:00:00");
}

TEST(ValueText, NumbersAreShortestAndExact) {
  EXPECT_EQ(numberText(Value::currency(125000)), "12.5");
  EXPECT_EQ(numberText(Value::currency(-1)), "-0.0001");
  EXPECT_EQ(numberText(Value::dbl(-0.000123)), "-0.000123");
  EXPECT_EQ(numberText(Value::single(0.1f)), "0.1");
  EXPECT_EQ(numberText(Value::longInt(-2147483647 - 1)), "-2147483648");
  Decimal d;
  d.magnitude = 12345;
  d.scale = 3;
  d.negative = true;
  EXPECT_EQ(numberText(Value::decimal(d)), "-12.345");
}

TEST(ValueText, AppendingGivesTheSameTexts) {
  // Far dates take the printf path, near ones the digit writer; both pad alike.
  EXPECT_EQ(dateTimeText(-700000), "-017-06-18 00:00:00");
  EXPECT_EQ(dateTimeText(2958465.5), "9999-12-31 12:00:00");
  EXPECT_EQ(dateTimeText(2958466), "10000-01-01 00:00:00");
  EXPECT_EQ(dateTimeText(-657434), "0100-01-01 00:00:00");
  Decimal zero;
  zero.scale = 5;
  zero.negative = true;
  EXPECT_EQ(numberText(Value::decimal(zero)), "0");
  Decimal small;
  small.magnitude = 5;
  small.scale = 3;
  small.negative = true;
  EXPECT_EQ(numberText(Value::decimal(small)), "-0.005");
  EXPECT_EQ(numberText(Value::currency(-20000)), "-2");
  EXPECT_EQ(numberText(Value::currency(INT64_MIN)), "-922337203685477.5808");
  std::string out = "x";
  appendDisplayText(out, Value::dateTime(36925));
  appendDisplayText(out, Value());
  appendDisplayText(out, Value::boolean(false));
  appendNumberText(out, Value::boolean(true));
  appendDisplayText(out, Value::text("表"));
  EXPECT_EQ(out, "x2001-02-03False-1表");
}

TEST(ValueText, GuidUsesDisplayByteOrder) {
  Guid g;
  for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(guidText(g), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
}

TEST(ValueText, DisplayTextForTheGrid) {
  EXPECT_EQ(displayText(Value()), "");
  EXPECT_EQ(displayText(Value::boolean(true)), "True");
  EXPECT_EQ(displayText(Value::dateTime(36925)), "2001-02-03");
  EXPECT_EQ(displayText(Value::binary({0xAB, 0x01})), "ab01");
  EXPECT_EQ(displayText(Value::text("表")), "表");
}

}  // namespace
}  // namespace jet::ado
