// The value rules underneath every operator: keys agree with equality,
// number and date text, rounding, conversions and date arithmetic.
#include <gtest/gtest.h>

#include <cmath>

#include "jet/core/Error.h"
#include "jet/sql/DateTime.h"
#include "jet/sql/Like.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {
namespace {

TEST(ValueOps, KeysAgreeWithEquality) {
  const Value values[] = {Value::text("abc"),     Value::text("ABC"),    Value::memo("abc"),
                          Value::longInt(1),      Value::dbl(1.0),       Value::integer(1),
                          Value::currency(10000), Value::boolean(true),  Value::longInt(-1),
                          Value::dbl(-0.0),       Value::longInt(0),     Value(),
                          Value::text(""),        Value::binary({1, 2}), Value::binary({1, 2, 0})};
  for (const Value& a : values)
    for (const Value& b : values) {
      bool sameKey = keyOf(a) == keyOf(b);
      std::optional<int> c;
      try {
        c = compareValues(a, b);
      } catch (const SqlError&) {
        EXPECT_FALSE(sameKey) << toText(a) << " / " << toText(b);
        continue;
      }
      if (a.isNull() || b.isNull()) {
        EXPECT_EQ(sameKey, a.isNull() && b.isNull());  // Nulls group together
      } else {
        EXPECT_EQ(sameKey, *c == 0) << toText(a) << " / " << toText(b);
      }
    }
}

TEST(ValueOps, SortOrderPutsNullsFirstAndIgnoresCase) {
  EXPECT_LT(sortCompare(Value(), Value::longInt(-5)), 0);
  EXPECT_EQ(sortCompare(Value(), Value()), 0);
  EXPECT_LT(sortCompare(Value::text("apple"), Value::text("Banana")), 0);
  EXPECT_EQ(sortCompare(Value::text("Straße"), Value::text("STRASSE")) != 0, true);
  EXPECT_LT(sortCompare(Value::longInt(2), Value::dbl(2.5)), 0);
}

TEST(ValueOps, NumberText) {
  EXPECT_EQ(numberText(0.1), "0.1");
  EXPECT_EQ(numberText(100), "100");
  EXPECT_EQ(numberText(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(numberText(1e15), "1E+15");
  EXPECT_EQ(numberText(-2.5e-7), "-2.5E-07");
  EXPECT_EQ(numberText(0.1f, true), "0.1");
  EXPECT_EQ(currencyText(12345), "1.2345");
  EXPECT_EQ(currencyText(-50000), "-5");
  EXPECT_EQ(toText(Value::currency(15000)), "1.5");
}

TEST(ValueOps, RoundHalfEven) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(2.345, 2), 2.34);
  EXPECT_EQ(roundHalfEven(2.355, 2), 2.36);
  EXPECT_EQ(roundHalfEven(1234.5678, 1), 1234.6);
}

TEST(ValueOps, ConversionsRefuseWhatDoesNotFit) {
  EXPECT_EQ(convertTo(Value::text(" 42 "), DataType::Long, "x"), Value::longInt(42));
  EXPECT_EQ(convertTo(Value::dbl(255.4), DataType::Byte, "x"), Value::byte(255));
  EXPECT_THROW(convertTo(Value::dbl(255.6), DataType::Byte, "x"), Error);
  EXPECT_THROW(convertTo(Value::text("12abc"), DataType::Double, "x"), Error);
  EXPECT_EQ(convertTo(Value::longInt(5), DataType::Text, "x"), Value::text("5"));
  EXPECT_EQ(convertTo(Value::text("yes"), DataType::Boolean, "x"), Value::boolean(true));
  EXPECT_TRUE(convertTo(Value(), DataType::Long, "x").isNull());
  Value g = convertTo(Value::text("{12345678-9ABC-DEF0-1234-56789ABCDEF0}"), DataType::Guid, "x");
  EXPECT_EQ(toText(g), "{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
  Value dec = convertTo(Value::dbl(-12.25), DataType::Decimal, "x");
  EXPECT_DOUBLE_EQ(dec.toDouble(), -12.25);
  EXPECT_EQ(convertTo(Value::text("2001-02-03"), DataType::DateTime, "x"), Value::dateTime(36925));
}

TEST(ValueOps, ArithmeticKeepsExactTypes) {
  EXPECT_EQ(arithmetic(ast::Op::Add, Value::integer(30000), Value::integer(30000)), Value::longInt(60000));
  EXPECT_EQ(arithmetic(ast::Op::Add, Value::integer(1), Value::integer(2)), Value::integer(3));
  EXPECT_EQ(arithmetic(ast::Op::Mul, Value::currency(15000), Value::longInt(3)), Value::currency(45000));
  EXPECT_EQ(arithmetic(ast::Op::Add, Value::single(1.5f), Value::integer(1)), Value::single(2.5f));
  EXPECT_EQ(arithmetic(ast::Op::Sub, Value::dateTime(2.5), Value::dateTime(1)), Value::dbl(1.5));
  EXPECT_EQ(arithmeticType(ast::Op::Add, DataType::DateTime, DataType::Long), DataType::DateTime);
  EXPECT_EQ(arithmeticType(ast::Op::Concat, DataType::Memo, DataType::Long), DataType::Memo);
  EXPECT_EQ(arithmeticType(ast::Op::Div, DataType::Long, DataType::Long), DataType::Double);
}

TEST(DateTime, SerialsAndParts) {
  EXPECT_EQ(dateSerial(1899, 12, 30), 0);
  EXPECT_EQ(dateSerial(2001, 2, 3), 36925);
  EXPECT_EQ(dateSerial(2000, 13, 1), dateSerial(2001, 1, 1));
  EXPECT_EQ(dateSerial(2000, 0, 1), dateSerial(1999, 12, 1));
  EXPECT_EQ(dateSerial(2000, 3, 0), dateSerial(2000, 2, 29));
  DateParts p = splitDate(36925.75);
  EXPECT_EQ(p.year, 2001);
  EXPECT_EQ(p.month, 2);
  EXPECT_EQ(p.day, 3);
  EXPECT_EQ(p.hour, 18);
  EXPECT_EQ(p.weekday, 7);  // Saturday
  EXPECT_EQ(p.dayOfYear, 34);
  DateParts neg = splitDate(-1.25);
  EXPECT_EQ(neg.day, 29);
  EXPECT_EQ(neg.hour, 6);
  EXPECT_EQ(makeDate(-1, 0.25), -1.25);
  EXPECT_EQ(splitDate(0.99999999).day, 31);  // rounds up to midnight of the next day
}

TEST(DateTime, ParsingTexts) {
  EXPECT_EQ(parseDateText("2001-02-03", DateOrder::MonthFirst), 36925);
  EXPECT_EQ(parseDateText("2/3/2001", DateOrder::MonthFirst), 36925);
  EXPECT_EQ(parseDateText("3/2/2001", DateOrder::DayFirst), 36925);
  EXPECT_EQ(parseDateText("3-Feb-2001", DateOrder::MonthFirst), 36925);
  EXPECT_EQ(parseDateText("February 3, 2001", DateOrder::MonthFirst), 36925);
  EXPECT_EQ(parseDateText("2001/2/3 12:00", DateOrder::MonthFirst), 36925.5);
  EXPECT_EQ(parseDateText("12:00 AM", DateOrder::MonthFirst), 0);
  EXPECT_EQ(parseDateText("6:00 PM", DateOrder::MonthFirst), 0.75);
  EXPECT_EQ(parseDateText("2/30/2001", DateOrder::MonthFirst), std::nullopt);
  EXPECT_EQ(parseDateText("25:00", DateOrder::MonthFirst), std::nullopt);
  EXPECT_EQ(parseDateText("", DateOrder::MonthFirst), std::nullopt);
  EXPECT_EQ(parseDateText("1/2/3/4", DateOrder::MonthFirst), std::nullopt);
  EXPECT_EQ(parseDateText("3/14/13", DateOrder::MonthFirst), dateSerial(2013, 3, 14));
}

TEST(Like, MatcherEdgeCases) {
  EXPECT_TRUE(likeMatches("", compileLike("*")));
  EXPECT_FALSE(likeMatches("", compileLike("?")));
  EXPECT_TRUE(likeMatches("abc", compileLike("a*c")));
  EXPECT_TRUE(likeMatches("ac", compileLike("a*c")));
  EXPECT_FALSE(likeMatches("abcd", compileLike("a*c")));
  EXPECT_TRUE(likeMatches("[x", compileLike("[x")));  // an unclosed bracket is literal
  EXPECT_TRUE(likeMatches("a-", compileLike("a[-]")));
  EXPECT_TRUE(likeMatches("ÄBC", compileLike("äbc")));
  EXPECT_TRUE(likeMatches("a]", compileLike("a[]]")));
}

}  // namespace
}  // namespace jet::sql
