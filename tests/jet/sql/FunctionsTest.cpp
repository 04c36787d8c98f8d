// The function library: text, conversion, date/time, math and Format.
#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

class Functions : public SqlTest {};

TEST_F(Functions, ChoiceAndNulls) {
  EXPECT_EQ(scalar("IIf(1 > 2, 'yes', 'no')"), T("no"));
  EXPECT_EQ(scalar("IIf(Null, 'yes', 'no')"), T("no"));
  EXPECT_EQ(scalar("IIf(True, 1, 1 / 0)"), L(1));  // only the chosen branch runs
  EXPECT_EQ(scalar("Nz(Null, 5)"), L(5));
  EXPECT_EQ(scalar("Nz(Null)"), T(""));
  EXPECT_EQ(scalar("Nz(3, 5)"), L(3));
  EXPECT_EQ(scalar("IsNull(Null)"), Value::boolean(true));
  EXPECT_EQ(scalar("IsNull('')"), Value::boolean(false));
  EXPECT_EQ(scalar("Choose(2, 'a', 'b', 'c')"), T("b"));
  EXPECT_EQ(scalar("Switch(1 = 2, 'a', 2 = 2, 'b')"), T("b"));
  EXPECT_EQ(scalar("IsNumeric('12.5')"), Value::boolean(true));
  EXPECT_EQ(scalar("IsDate('2001-02-03')"), Value::boolean(true));
}

TEST_F(Functions, Text) {
  EXPECT_EQ(scalar("Len('张三abc')"), L(5));
  EXPECT_TRUE(scalar("Len(Null)").isNull());
  EXPECT_EQ(scalar("Left('abcdef', 2)"), T("ab"));
  EXPECT_EQ(scalar("Right('abcdef', 2)"), T("ef"));
  EXPECT_EQ(scalar("Right('ab', 5)"), T("ab"));
  EXPECT_EQ(scalar("Mid('abcdef', 2, 3)"), T("bcd"));
  EXPECT_EQ(scalar("Mid('abcdef', 4)"), T("def"));
  EXPECT_EQ(scalar("Mid('张三丰', 2, 1)"), T("三"));
  EXPECT_EQ(scalar("Mid('abc', 10)"), T(""));
  EXPECT_EQ(failure("SELECT Mid('abc', 0)"), ErrorCode::Invalid);
  EXPECT_EQ(scalar("Trim('  a b  ')"), T("a b"));
  EXPECT_EQ(scalar("LTrim('  a ')"), T("a "));
  EXPECT_EQ(scalar("RTrim('  a ')"), T("  a"));
  EXPECT_EQ(scalar("UCase('abcÉé')"), T("ABCÉÉ"));
  EXPECT_EQ(scalar("LCase('ABCÉ')"), T("abcé"));
  EXPECT_EQ(scalar("InStr('abcabc', 'C')"), L(3));
  EXPECT_EQ(scalar("InStr(4, 'abcabc', 'c')"), L(6));
  EXPECT_EQ(scalar("InStr('abc', 'z')"), L(0));
  EXPECT_EQ(scalar("InStrRev('abcabc', 'b')"), L(5));
  EXPECT_EQ(scalar("Replace('aXbxc', 'x', '-')"), T("a-b-c"));
  EXPECT_EQ(scalar("Replace('aaa', 'a', 'b', 1, 2)"), T("bba"));
  EXPECT_EQ(scalar("Space(3)"), T("   "));
  EXPECT_EQ(scalar("String(3, 'xy')"), T("xxx"));
  EXPECT_EQ(scalar("String(2, 65)"), T("AA"));
  EXPECT_EQ(scalar("Asc('A')"), L(65));
  EXPECT_EQ(scalar("Chr(66)"), T("B"));
  EXPECT_EQ(scalar("Asc('张')"), L(0x5F20));
  EXPECT_EQ(scalar("StrComp('a', 'A')"), Value::integer(0));
  EXPECT_EQ(scalar("StrReverse('abc')"), T("cba"));
}

TEST_F(Functions, Conversions) {
  EXPECT_EQ(scalar("CStr(12)"), T("12"));
  EXPECT_EQ(scalar("CStr(1.5)"), T("1.5"));
  EXPECT_EQ(scalar("CStr(0.1 + 0.2)"), T("0.3"));
  EXPECT_EQ(scalar("CStr(1e20)"), T("1E+20"));
  EXPECT_EQ(scalar("CStr(0.00001)"), T("1E-05"));
  EXPECT_EQ(scalar("CStr(True)"), T("True"));
  EXPECT_EQ(scalar("CStr(#2001-02-03#)"), T("2001/2/3"));
  EXPECT_EQ(scalar("CStr(#2001-02-03 14:05:06#)"), T("2001/2/3 14:05:06"));
  EXPECT_EQ(scalar("CLng('42')"), L(42));
  EXPECT_EQ(scalar("CLng(2.5)"), L(2));  // banker's rounding
  EXPECT_EQ(scalar("CLng(3.5)"), L(4));
  EXPECT_EQ(scalar("CInt(-2.5)"), Value::integer(-2));
  EXPECT_EQ(failure("SELECT CInt(40000)"), ErrorCode::Overflow);
  EXPECT_EQ(failure("SELECT CLng('abc')"), ErrorCode::TypeMismatch);
  EXPECT_EQ(scalar("CDbl('1.25')"), D(1.25));
  EXPECT_EQ(scalar("CSng(1.5)"), Value::single(1.5f));
  EXPECT_EQ(scalar("CCur(1.23456)"), Value::currency(12346));
  EXPECT_EQ(scalar("CCur(10) * 3"), Value::currency(300000));
  EXPECT_EQ(scalar("CBool(1)"), Value::boolean(true));
  EXPECT_EQ(scalar("CBool('False')"), Value::boolean(false));
  EXPECT_EQ(scalar("CDate('2013-03-14') = #3/14/2013#"), Value::boolean(true));
  EXPECT_EQ(scalar("CVar(5)"), L(5));
  EXPECT_EQ(scalar("Val('  12.5abc')"), D(12.5));
  EXPECT_EQ(scalar("Val('abc')"), D(0));
  EXPECT_EQ(scalar("Val('&HFF')"), D(255));
  EXPECT_EQ(scalar("Str(5)"), T(" 5"));
  EXPECT_EQ(scalar("Str(-5)"), T("-5"));
  EXPECT_EQ(scalar("Hex(255)"), T("FF"));
}

TEST_F(Functions, Math) {
  EXPECT_EQ(scalar("Abs(-3)"), L(3));
  EXPECT_EQ(scalar("Abs(-2.5)"), D(2.5));
  EXPECT_EQ(scalar("Sgn(-7)"), Value::integer(-1));
  EXPECT_EQ(scalar("Sqr(16)"), D(4));
  EXPECT_EQ(failure("SELECT Sqr(-1)"), ErrorCode::Invalid);
  EXPECT_EQ(scalar("Round(2.5)"), D(2));
  EXPECT_EQ(scalar("Round(3.5)"), D(4));
  EXPECT_EQ(scalar("Round(2.675, 2)"), D(2.68));
  EXPECT_EQ(scalar("Round(1.2345, 3)"), D(1.234));
  EXPECT_EQ(scalar("Round(-1.5)"), D(-2));
  EXPECT_EQ(scalar("Int(-2.5)"), D(-3));
  EXPECT_EQ(scalar("Fix(-2.5)"), D(-2));
  EXPECT_EQ(scalar("Int(7)"), L(7));
}

TEST_F(Functions, DatesAndTimes) {
  EXPECT_EQ(scalar("Year(#2013-03-14 09:05:07#)"), Value::integer(2013));
  EXPECT_EQ(scalar("Month(#2013-03-14#)"), Value::integer(3));
  EXPECT_EQ(scalar("Day(#2013-03-14#)"), Value::integer(14));
  EXPECT_EQ(scalar("Hour(#2013-03-14 09:05:07#)"), Value::integer(9));
  EXPECT_EQ(scalar("Minute(#2013-03-14 09:05:07#)"), Value::integer(5));
  EXPECT_EQ(scalar("Second(#2013-03-14 09:05:07#)"), Value::integer(7));
  EXPECT_EQ(scalar("Weekday(#2013-03-14#)"), Value::integer(5));  // a Thursday
  EXPECT_EQ(scalar("Weekday(#2013-03-14#, 2)"), Value::integer(4));
  EXPECT_EQ(scalar("DateSerial(2013, 14, 1) = #2014-02-01#"), Value::boolean(true));
  EXPECT_EQ(scalar("DateSerial(2013, 3, 0) = #2013-02-28#"), Value::boolean(true));
  EXPECT_EQ(scalar("Format(TimeSerial(25, 0, 0), 'yyyy-mm-dd hh:nn')"), T("1899-12-31 01:00"));
  EXPECT_EQ(scalar("DateAdd('m', 1, #2013-01-31#) = #2013-02-28#"), Value::boolean(true));
  EXPECT_EQ(scalar("DateAdd('yyyy', -1, #2012-02-29#) = #2011-02-28#"), Value::boolean(true));
  EXPECT_EQ(scalar("DateAdd('d', 10, #2013-12-25#) = #2014-01-04#"), Value::boolean(true));
  EXPECT_EQ(scalar("Format(DateAdd('h', 5, #2013-01-01 22:00#), 'yyyy-mm-dd hh:nn')"), T("2013-01-02 03:00"));
  EXPECT_EQ(scalar("DateDiff('d', #2013-01-01#, #2013-03-01#)"), L(59));
  EXPECT_EQ(scalar("DateDiff('m', #2013-01-31#, #2013-02-01#)"), L(1));
  EXPECT_EQ(scalar("DateDiff('yyyy', #2012-12-31#, #2013-01-01#)"), L(1));
  EXPECT_EQ(scalar("DateDiff('h', #2013-01-01 10:59#, #2013-01-01 11:00#)"), L(1));
  EXPECT_EQ(scalar("DateDiff('ww', #2013-03-09#, #2013-03-10#)"), L(1));  // Saturday to Sunday
  EXPECT_EQ(scalar("DatePart('q', #2013-08-01#)"), Value::integer(3));
  EXPECT_EQ(scalar("DatePart('y', #2013-02-01#)"), Value::integer(32));
  EXPECT_EQ(scalar("DateValue('2013-03-14 10:00') = #2013-03-14#"), Value::boolean(true));
  EXPECT_EQ(failure("SELECT DateAdd('x', 1, #2013-01-01#)"), ErrorCode::Invalid);
  EXPECT_EQ(scalar("Year(#1899-12-29 06:00#)"), Value::integer(1899));
  EXPECT_EQ(scalar("Format(#1899-12-29 06:00#, 'yyyy-mm-dd hh:nn')"), T("1899-12-29 06:00"));
  // The clock: only plausibility can be checked.
  Value now = scalar("Now()");
  ASSERT_EQ(now.type(), DataType::DateTime);
  EXPECT_GT(now.asDouble(), 45000.0);
  EXPECT_EQ(scalar("Date() <= Now()"), Value::boolean(true));
  EXPECT_EQ(scalar("Time() < 1"), Value::boolean(true));
}

TEST_F(Functions, FormatDates) {
  EXPECT_EQ(scalar("Format(#2001-02-03#, 'yyyy-mm-dd')"), T("2001-02-03"));
  EXPECT_EQ(scalar("Format(#2001-02-03 04:05:06#, 'hh:nn:ss')"), T("04:05:06"));
  EXPECT_EQ(scalar("Format(#2001-02-03 14:05:06#, 'h:mm AM/PM')"), T("2:05 PM"));
  EXPECT_EQ(scalar("Format(#2001-02-03#, 'Short Date')"), T("2001/2/3"));
  EXPECT_EQ(scalar("Format(#2001-02-03#, 'Long Date')"), T("2001年2月3日"));
  EXPECT_EQ(scalar("Format(#2001-02-03 14:05:06#, 'General Date')"), T("2001/2/3 14:05:06"));
  EXPECT_EQ(scalar("Format(#2001-02-03 14:05:06#, 'Long Time')"), T("14:05:06"));
  EXPECT_EQ(scalar("Format(#2001-02-03 14:05:06#, 'Short Time')"), T("14:05"));
  EXPECT_EQ(scalar("Format(#2001-02-03#, 'dddd, mmmm d')"), T("Saturday, February 3"));
  EXPECT_EQ(scalar("Format(#2001-02-03#, 'ddd mmm yy')"), T("Sat Feb 01"));
  EXPECT_EQ(scalar("Format(#2001-02-03#, '\"Q\"q')"), T("Q1"));
  EXPECT_EQ(scalar("Format('2001-02-03', 'yyyymmdd')"), T("20010203"));
}

TEST_F(Functions, FormatNumbers) {
  EXPECT_EQ(scalar("Format(3.14159, '0.00')"), T("3.14"));
  EXPECT_EQ(scalar("Format(2.5, '0')"), T("3"));  // Format rounds half away from zero
  EXPECT_EQ(scalar("Format(1234567.891, '#,##0.00')"), T("1,234,567.89"));
  EXPECT_EQ(scalar("Format(0.5, '#.##')"), T(".5"));
  EXPECT_EQ(scalar("Format(5, '000')"), T("005"));
  EXPECT_EQ(scalar("Format(-5, '0.0')"), T("-5.0"));
  EXPECT_EQ(scalar("Format(-5, '0;(0)')"), T("(5)"));
  EXPECT_EQ(scalar("Format(0, '0;(0);\"zero\"')"), T("zero"));
  EXPECT_EQ(scalar("Format(0.256, 'Percent')"), T("25.60%"));
  EXPECT_EQ(scalar("Format(1234.5, 'Fixed')"), T("1234.50"));
  EXPECT_EQ(scalar("Format(1234.5, 'Standard')"), T("1,234.50"));
  EXPECT_EQ(scalar("Format(1234.5, 'Currency')"), T("¥1,234.50"));
  EXPECT_EQ(scalar("Format(-1234.5, 'Currency')"), T("¥-1,234.50"));
  EXPECT_EQ(scalar("Format(12345, 'Scientific')"), T("1.23E+04"));
  EXPECT_EQ(scalar("Format(1, 'Yes/No')"), T("Yes"));
  EXPECT_EQ(scalar("Format(0.5, '0%')"), T("50%"));
  EXPECT_EQ(scalar("Format(1.5, 'General Number')"), T("1.5"));
  EXPECT_EQ(scalar("Format(12)"), T("12"));
  EXPECT_EQ(scalar("Format('abc', '>')"), T("ABC"));
  EXPECT_TRUE(scalar("Format(Null, '0')").isNull());
}

TEST_F(Functions, ArgumentErrors) {
  std::string m;
  EXPECT_EQ(failure("SELECT Nope(1)", &m), ErrorCode::Invalid);
  EXPECT_NE(m.find("Nope"), std::string::npos);
  EXPECT_EQ(failure("SELECT Len('a', 'b')"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT Left('abc', -1)"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT Chr(-1)"), ErrorCode::Invalid);
}

}  // namespace
}  // namespace jet::sql::testing
