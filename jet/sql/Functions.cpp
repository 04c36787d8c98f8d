#include "jet/sql/Functions.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/DateTime.h"
#include "jet/sql/Format.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

namespace {

using Args = std::vector<Value>;

[[noreturn]] void badArgument(const std::string& text) {
  throw SqlError(ErrorCode::Invalid, msg::invalidArgument(text));
}

bool anyNull(const Args& a, size_t upto) {
  for (size_t i = 0; i < a.size() && i < upto; ++i)
    if (a[i].isNull()) return true;
  return false;
}

std::u32string chars(const Value& v) {
  return utf8ToUtf32(toText(v));
}
// Positions and lengths of text count UTF-16 code units, as Access counts
// them: a character outside the Basic Multilingual Plane is two. A cut
// through such a pair leaves half of it, which UTF-8 holds as U+FFFD.
std::u16string units(const Value& v) {
  return utf8ToUtf16(toText(v));
}
Value unitsResult(const Value& like, std::u16string_view s) {
  std::string u = utf16ToUtf8(s);
  return like.type() == DataType::Memo ? Value::memo(std::move(u)) : Value::text(std::move(u));
}
Value textResult(const Value& like, std::u32string s) {
  std::string u = utf32ToUtf8(s);
  return like.type() == DataType::Memo ? Value::memo(std::move(u)) : Value::text(std::move(u));
}

long longArg(const Value& v, const std::string& text) {
  double d = roundHalfEven(toNumber(v, text));
  if (d < -2147483648.0 || d > 2147483647.0) throw SqlError(ErrorCode::Overflow, msg::overflow(text));
  return static_cast<long>(d);
}

std::u32string folded(std::u32string s) {
  for (char32_t& c : s) c = foldCase(c);
  return s;
}
// Halves of surrogate pairs fold to themselves.
std::u16string foldedUnits(std::u16string s) {
  for (char16_t& c : s) c = static_cast<char16_t>(foldCase(c));
  return s;
}

bool isSpace(char32_t c) {
  return c == U' ';
}

// ---- text ----
Value fnLen(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value();
  if (a[0].isText()) return Value::longInt(static_cast<int32_t>(utf16Length(a[0].asText())));
  return Value::longInt(static_cast<int32_t>(utf16Length(toText(a[0]))));
}
Value fnLeft(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long n = longArg(a[1], t);
  if (n < 0) badArgument(t);
  std::u16string s = units(a[0]);
  return unitsResult(a[0], s.substr(0, static_cast<size_t>(n)));
}
Value fnRight(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long n = longArg(a[1], t);
  if (n < 0) badArgument(t);
  std::u16string s = units(a[0]);
  size_t k = std::min(s.size(), static_cast<size_t>(n));
  return unitsResult(a[0], s.substr(s.size() - k));
}
Value fnMid(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long start = longArg(a[1], t);
  if (start < 1) badArgument(t);
  std::u16string s = units(a[0]);
  if (static_cast<size_t>(start) > s.size()) return unitsResult(a[0], u"");
  size_t len = std::u16string::npos;
  if (a.size() > 2 && !a[2].isNull()) {
    long n = longArg(a[2], t);
    if (n < 0) badArgument(t);
    len = static_cast<size_t>(n);
  }
  return unitsResult(a[0], s.substr(static_cast<size_t>(start - 1), len));
}
Value trimmed(const Value& v, bool left, bool right) {
  if (v.isNull()) return Value();
  std::u32string s = chars(v);
  size_t b = 0, e = s.size();
  if (left)
    while (b < e && isSpace(s[b])) ++b;
  if (right)
    while (e > b && isSpace(s[e - 1])) --e;
  return textResult(v, s.substr(b, e - b));
}
Value fnTrim(const Args& a, const std::string&) {
  return trimmed(a[0], true, true);
}
Value fnLTrim(const Args& a, const std::string&) {
  return trimmed(a[0], true, false);
}
Value fnRTrim(const Args& a, const std::string&) {
  return trimmed(a[0], false, true);
}
Value fnUCase(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value();
  std::u32string s = chars(a[0]);
  for (char32_t& c : s) {
    if (c >= U'a' && c <= U'z')
      c = c - U'a' + U'A';
    else if (foldCase(c) == c && c > 0x7f) {
      // Upper-case letters fold to their lower-case form; find the letter that folds to c.
      for (char32_t u : {c - 32, c - 1, c - 80, c - 48})
        if (u > 0x7f && u != c && foldCase(u) == c) {
          c = u;
          break;
        }
    }
  }
  return textResult(a[0], s);
}
Value fnLCase(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value();
  return textResult(a[0], folded(chars(a[0])));
}
Value fnInStr(const Args& a, const std::string& t) {
  // InStr([start,] string1, string2[, compare]); the text is compared without case, as Jet does.
  size_t i = 0;
  long start = 1;
  if (a.size() >= 3) {
    if (a[0].isNull()) badArgument(t);
    start = longArg(a[0], t);
    if (start < 1) badArgument(t);
    i = 1;
  }
  if (a[i].isNull() || a[i + 1].isNull()) return Value();
  bool binary = a.size() == 4 && !a[3].isNull() && toNumber(a[3], t) == 0;
  std::u16string s = units(a[i]), f = units(a[i + 1]);
  if (!binary) {
    s = foldedUnits(s);
    f = foldedUnits(f);
  }
  if (static_cast<size_t>(start) > s.size() + 1) return Value::longInt(0);
  size_t pos = s.find(f, static_cast<size_t>(start - 1));
  return Value::longInt(pos == std::u16string::npos ? 0 : static_cast<int32_t>(pos + 1));
}
Value fnInStrRev(const Args& a, const std::string& t) {
  if (a[0].isNull() || a[1].isNull()) return Value();
  std::u16string s = foldedUnits(units(a[0])), f = foldedUnits(units(a[1]));
  long start = a.size() > 2 && !a[2].isNull() ? longArg(a[2], t) : -1;
  if (start == 0 || start < -1) badArgument(t);
  size_t from = start == -1 ? std::u16string::npos : static_cast<size_t>(start - 1);
  if (start != -1 && static_cast<size_t>(start) > s.size()) return Value::longInt(0);
  if (from != std::u16string::npos && f.size() > 0 && from + 1 >= f.size()) from = from + 1 - f.size();
  size_t pos = s.rfind(f, from);
  return Value::longInt(pos == std::u16string::npos ? 0 : static_cast<int32_t>(pos + 1));
}
Value fnReplace(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  if (a[1].isNull() || a[2].isNull()) return a[0];
  std::u16string s = units(a[0]), f = units(a[1]), r = units(a[2]);
  long start = a.size() > 3 && !a[3].isNull() ? longArg(a[3], t) : 1;
  long count = a.size() > 4 && !a[4].isNull() ? longArg(a[4], t) : -1;
  if (start < 1 || count < -1) badArgument(t);
  if (static_cast<size_t>(start) > s.size()) return unitsResult(a[0], u"");
  s = s.substr(static_cast<size_t>(start - 1));
  if (f.empty()) return unitsResult(a[0], s);
  std::u16string fs = foldedUnits(s), ff = foldedUnits(f), out;
  size_t i = 0;
  long done = 0;
  while (i < s.size()) {
    if ((count < 0 || done < count) && fs.compare(i, ff.size(), ff) == 0) {
      out += r;
      if (out.size() * 4 > kMaxComputedText) throw SqlError(ErrorCode::Overflow, msg::overflow(t));
      i += f.size();
      ++done;
    } else {
      out += s[i++];
    }
  }
  return unitsResult(a[0], out);
}
Value fnSpace(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long n = longArg(a[0], t);
  if (n < 0) badArgument(t);
  if (static_cast<size_t>(n) > kMaxComputedText) throw SqlError(ErrorCode::Overflow, msg::overflow(t));
  return Value::text(std::string(static_cast<size_t>(n), ' '));
}
Value fnString(const Args& a, const std::string& t) {
  if (a[0].isNull() || a[1].isNull()) return Value();
  long n = longArg(a[0], t);
  if (n < 0) badArgument(t);
  char32_t c;
  if (a[1].isText()) {
    std::u32string s = chars(a[1]);
    if (s.empty()) badArgument(t);
    c = s[0];
  } else {
    long code = longArg(a[1], t);
    if (code < 0) badArgument(t);
    c = static_cast<char32_t>(code % 256);
  }
  if (static_cast<size_t>(n) * 4 > kMaxComputedText) throw SqlError(ErrorCode::Overflow, msg::overflow(t));
  return Value::text(utf32ToUtf8(std::u32string(static_cast<size_t>(n), c)));
}
Value fnAsc(const Args& a, const std::string& t) {
  if (a[0].isNull()) badArgument(t);
  std::u32string s = chars(a[0]);
  if (s.empty()) badArgument(t);
  return Value::longInt(static_cast<int32_t>(s[0]));
}
Value fnChr(const Args& a, const std::string& t) {
  if (a[0].isNull()) badArgument(t);
  long code = longArg(a[0], t);
  if (code < 0 || code > 0xFFFF) badArgument(t);
  std::string s;
  appendUtf8(s, static_cast<char32_t>(code));
  return Value::text(s);
}
Value fnStrComp(const Args& a, const std::string& t) {
  if (a[0].isNull() || a[1].isNull()) return Value();
  bool binary = a.size() > 2 && !a[2].isNull() && toNumber(a[2], t) == 0;
  std::string x = toText(a[0]), y = toText(a[1]);
  int c = binary ? x.compare(y) : compareIgnoreCase(x, y);
  return Value::integer(static_cast<int16_t>(c < 0 ? -1 : c > 0 ? 1 : 0));
}
Value fnStrReverse(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value();
  std::u32string s = chars(a[0]);
  return textResult(a[0], std::u32string(s.rbegin(), s.rend()));
}
Value fnFormat(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  std::string f = a.size() > 1 && !a[1].isNull() ? toText(a[1]) : std::string();
  return Value::text(formatValue(a[0], f, t));
}

// ---- conversions and tests ----
Value fnCStr(const Args& a, const std::string&) {
  return a[0].isNull() ? Value() : Value::text(toText(a[0]));
}
Value fnCLng(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Long, t);
}
Value fnCInt(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Integer, t);
}
Value fnCByte(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Byte, t);
}
Value fnCDbl(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Double, t);
}
Value fnCSng(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Single, t);
}
Value fnCCur(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Currency, t);
}
Value fnCBool(const Args& a, const std::string& t) {
  if (a[0].isText() && !toLogical(a[0])) throw SqlError(ErrorCode::TypeMismatch, msg::typeMismatch(t));
  return convertTo(a[0], DataType::Boolean, t);
}
Value fnCDate(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::DateTime, t);
}
Value fnCDec(const Args& a, const std::string& t) {
  return convertTo(a[0], DataType::Decimal, t);
}
Value fnCVar(const Args& a, const std::string&) {
  return a[0];
}
Value fnIsNull(const Args& a, const std::string&) {
  return Value::boolean(a[0].isNull());
}
Value fnIsNumeric(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value::boolean(false);
  if (a[0].isText()) return Value::boolean(parseNumber(a[0].asText()).has_value());
  return Value::boolean(a[0].isNumeric());
}
Value fnIsDate(const Args& a, const std::string&) {
  if (a[0].type() == DataType::DateTime) return Value::boolean(true);
  if (a[0].isText()) return Value::boolean(parseDateText(a[0].asText(), DateOrder::MonthFirst).has_value());
  return Value::boolean(false);
}
Value fnVal(const Args& a, const std::string&) {
  if (a[0].isNull()) return Value::dbl(0);
  std::string s;
  for (char c : toText(a[0]))
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    long long v = 0;
    for (size_t i = 2; i < s.size(); ++i) {
      int d =
          std::isxdigit(static_cast<unsigned char>(s[i])) ? std::stoi(std::string(1, s[i]), nullptr, 16) : 99;
      if (d >= base) break;
      v = v * base + d;
      if (v > 0xFFFFFFFFLL) break;
    }
    return Value::dbl(static_cast<double>(v));
  }
  // The longest prefix that reads as a number.
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
      s[i] = 'e';
      i = j;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
  }
  double v = std::strtod(s.substr(0, i).c_str(), nullptr);
  return Value::dbl(std::isfinite(v) ? v : 0);
}
Value fnStr(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  double d = toNumber(a[0], t);
  std::string s = toText(a[0].isText() ? Value::dbl(d) : a[0]);
  if (a[0].type() == DataType::DateTime) return Value::text(s);
  return Value::text(d >= 0 ? " " + s : s);
}
Value fnHex(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long v = longArg(a[0], t);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lX",
                v < 0 ? static_cast<unsigned long>(static_cast<uint32_t>(v)) : static_cast<unsigned long>(v));
  return Value::text(buf);
}
Value fnOct(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long v = longArg(a[0], t);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lo",
                v < 0 ? static_cast<unsigned long>(static_cast<uint32_t>(v)) : static_cast<unsigned long>(v));
  return Value::text(buf);
}

// ---- math ----
Value sameKind(const Value& like, double d) {
  switch (like.type()) {
    case DataType::Byte:
      if (d >= 0 && d <= 255) return Value::byte(static_cast<uint8_t>(d));
      break;
    case DataType::Boolean:
    case DataType::Integer:
      if (d >= -32768 && d <= 32767) return Value::integer(static_cast<int16_t>(d));
      break;
    case DataType::Long:
      if (d >= -2147483648.0 && d <= 2147483647.0) return Value::longInt(static_cast<int32_t>(d));
      break;
    case DataType::Currency:
      return Value::currency(static_cast<int64_t>(std::llround(d * 10000.0)));
    case DataType::Single:
      return Value::single(static_cast<float>(d));
    case DataType::DateTime:
      return Value::dateTime(d);
    case DataType::Decimal:
      return convertTo(Value::dbl(d), DataType::Decimal, "");
    default:
      break;
  }
  return Value::dbl(d);
}
Value fnAbs(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  if (a[0].type() == DataType::Currency)
    return Value::currency(a[0].asInt() < 0 ? -a[0].asInt() : a[0].asInt());
  return sameKind(a[0], std::fabs(toNumber(a[0], t)));
}
Value fnSgn(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  double d = toNumber(a[0], t);
  return Value::integer(static_cast<int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}
Value fnSqr(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  double d = toNumber(a[0], t);
  if (d < 0) badArgument(t);
  return Value::dbl(std::sqrt(d));
}
Value fnInt(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  if (a[0].isIntegral() && a[0].type() != DataType::Currency) return a[0];
  return sameKind(a[0], std::floor(toNumber(a[0], t)));
}
Value fnFix(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  if (a[0].isIntegral() && a[0].type() != DataType::Currency) return a[0];
  return sameKind(a[0], std::trunc(toNumber(a[0], t)));
}
Value fnRound(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long digits = a.size() > 1 && !a[1].isNull() ? longArg(a[1], t) : 0;
  if (digits < 0 || digits > 22) badArgument(t);
  if (a[0].isIntegral() && a[0].type() != DataType::Currency) return a[0];
  return sameKind(a[0], roundHalfEven(toNumber(a[0], t), static_cast<int>(digits)));
}
Value mathFn(const Args& a, const std::string& t, double (*f)(double), bool positive) {
  if (a[0].isNull()) return Value();
  double d = toNumber(a[0], t);
  if (positive && d <= 0) badArgument(t);
  double r = f(d);
  if (!std::isfinite(r)) throw SqlError(ErrorCode::Overflow, msg::overflow(t));
  return Value::dbl(r);
}
Value fnExp(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::exp(x); }, false);
}
Value fnLog(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::log(x); }, true);
}
Value fnSin(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::sin(x); }, false);
}
Value fnCos(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::cos(x); }, false);
}
Value fnTan(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::tan(x); }, false);
}
Value fnAtn(const Args& a, const std::string& t) {
  return mathFn(
      a, t, [](double x) { return std::atan(x); }, false);
}

// ---- dates ----
double dateArg(const Value& v, const std::string& t) {
  double d = toDate(v, t);
  if (!validDate(d)) badArgument(t);
  return d;
}

double localNow() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t tt = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&tt, &tm);
  return makeDate(dateSerial(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                  timeSerial(tm.tm_hour, tm.tm_min, tm.tm_sec));
}

Value fnNow(const Args&, const std::string&) {
  return Value::dateTime(localNow());
}
Value fnDate(const Args&, const std::string&) {
  return Value::dateTime(datePart(localNow()));
}
Value fnTime(const Args&, const std::string&) {
  return Value::dateTime(timePart(localNow()));
}

Value datePiece(const Args& a, const std::string& t, int which) {
  if (a[0].isNull()) return Value();
  DateParts p = splitDate(dateArg(a[0], t));
  int v = which == 0   ? p.year
          : which == 1 ? p.month
          : which == 2 ? p.day
          : which == 3 ? p.hour
          : which == 4 ? p.minute
                       : p.second;
  return Value::integer(static_cast<int16_t>(v));
}
Value fnYear(const Args& a, const std::string& t) {
  return datePiece(a, t, 0);
}
Value fnMonth(const Args& a, const std::string& t) {
  return datePiece(a, t, 1);
}
Value fnDay(const Args& a, const std::string& t) {
  return datePiece(a, t, 2);
}
Value fnHour(const Args& a, const std::string& t) {
  return datePiece(a, t, 3);
}
Value fnMinute(const Args& a, const std::string& t) {
  return datePiece(a, t, 4);
}
Value fnSecond(const Args& a, const std::string& t) {
  return datePiece(a, t, 5);
}

int firstDayArg(const Args& a, size_t i, const std::string& t) {
  if (a.size() <= i || a[i].isNull()) return 1;
  long f = longArg(a[i], t);
  if (f == 0) return 1;  // "system setting": Sunday
  if (f < 1 || f > 7) badArgument(t);
  return static_cast<int>(f);
}
int weekdayFrom(int weekday, int firstDay) {
  return (weekday - firstDay + 7) % 7 + 1;
}

Value fnWeekday(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  DateParts p = splitDate(dateArg(a[0], t));
  return Value::integer(static_cast<int16_t>(weekdayFrom(p.weekday, firstDayArg(a, 1, t))));
}
Value fnMonthName(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long m = longArg(a[0], t);
  if (m < 1 || m > 12) badArgument(t);
  bool abbr = a.size() > 1 && !a[1].isNull() && toLogical(a[1]).value_or(false);
  return Value::text(monthName(static_cast<int>(m), abbr));
}
Value fnWeekdayName(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long d = longArg(a[0], t);
  if (d < 1 || d > 7) badArgument(t);
  bool abbr = a.size() > 1 && !a[1].isNull() && toLogical(a[1]).value_or(false);
  int first = firstDayArg(a, 2, t);
  return Value::text(weekdayName((static_cast<int>(d) - 1 + first - 1) % 7 + 1, abbr));
}

std::string intervalArg(const Value& v, const std::string& t) {
  if (!v.isText()) badArgument(t);
  std::string s = foldCase(v.asText());
  static const char* const known[] = {"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
  for (const char* k : known)
    if (s == k) return s;
  badArgument(t);
}

double linear(double serial) {
  if (serial >= 0) return serial;
  double w = std::trunc(serial);
  return w + std::fabs(serial - w);
}

Value fnDateAdd(const Args& a, const std::string& t) {
  if (a[1].isNull() || a[2].isNull()) return Value();
  std::string iv = intervalArg(a[0], t);
  double n = std::trunc(toNumber(a[1], t));
  double d = dateArg(a[2], t);
  double out;
  if (iv == "yyyy" || iv == "q" || iv == "m") {
    long months = static_cast<long>(n) * (iv == "yyyy" ? 12 : iv == "q" ? 3 : 1);
    DateParts p = splitDate(d);
    long total = p.year * 12L + (p.month - 1) + months;
    long y = total / 12, m = total % 12 + 1;
    if (y < 100 || y > 9999) badArgument(t);
    // The day is clipped to the end of the month (Jan 31 + 1 month = Feb 28/29).
    double first = dateSerial(y, m, 1);
    int last = splitDate(dateSerial(y, m + 1, 1) - 1).day;
    out = makeDate(first + std::min(p.day, last) - 1, timePart(d));
  } else {
    double unit = iv == "h"    ? 1.0 / 24
                  : iv == "n"  ? 1.0 / 1440
                  : iv == "s"  ? 1.0 / 86400
                  : iv == "ww" ? 7
                               : 1;
    out = makeDate(linear(d) + n * unit, 0);
  }
  if (!validDate(out)) badArgument(t);
  return Value::dateTime(out);
}

Value fnDateDiff(const Args& a, const std::string& t) {
  if (a[1].isNull() || a[2].isNull()) return Value();
  std::string iv = intervalArg(a[0], t);
  double d1 = dateArg(a[1], t), d2 = dateArg(a[2], t);
  DateParts p1 = splitDate(d1), p2 = splitDate(d2);
  double r;
  if (iv == "yyyy")
    r = p2.year - p1.year;
  else if (iv == "q")
    r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
  else if (iv == "m")
    r = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
  else if (iv == "d" || iv == "y")
    r = std::floor(linear(d2)) - std::floor(linear(d1));
  else if (iv == "w")
    r = std::trunc((std::floor(linear(d2)) - std::floor(linear(d1))) / 7);
  else if (iv == "ww") {
    int first = firstDayArg(a, 3, t);
    auto weekStart = [first](double d) {
      DateParts p = splitDate(d);
      return std::floor(linear(d)) - (weekdayFrom(p.weekday, first) - 1);
    };
    r = (weekStart(d2) - weekStart(d1)) / 7;
  } else {
    double per = iv == "h" ? 24 : iv == "n" ? 1440 : 86400;
    r = std::floor(linear(d2) * per + 1e-7) - std::floor(linear(d1) * per + 1e-7);
  }
  return Value::longInt(static_cast<int32_t>(r));
}

Value fnDatePart(const Args& a, const std::string& t) {
  if (a[1].isNull()) return Value();
  std::string iv = intervalArg(a[0], t);
  DateParts p = splitDate(dateArg(a[1], t));
  int first = firstDayArg(a, 2, t);
  int r;
  if (iv == "yyyy")
    r = p.year;
  else if (iv == "q")
    r = (p.month - 1) / 3 + 1;
  else if (iv == "m")
    r = p.month;
  else if (iv == "y")
    r = p.dayOfYear;
  else if (iv == "d")
    r = p.day;
  else if (iv == "w")
    r = weekdayFrom(p.weekday, first);
  else if (iv == "ww") {
    // Week 1 is the week containing January 1.
    DateParts jan1 = splitDate(dateSerial(p.year, 1, 1));
    int offset = weekdayFrom(jan1.weekday, first) - 1;
    r = (p.dayOfYear - 1 + offset) / 7 + 1;
  } else if (iv == "h")
    r = p.hour;
  else if (iv == "n")
    r = p.minute;
  else
    r = p.second;
  return Value::integer(static_cast<int16_t>(r));
}

Value fnDateSerial(const Args& a, const std::string& t) {
  if (anyNull(a, 3)) return Value();
  double d = dateSerial(longArg(a[0], t), longArg(a[1], t), longArg(a[2], t));
  if (!validDate(d)) badArgument(t);
  return Value::dateTime(makeDate(d, 0));
}
Value fnTimeSerial(const Args& a, const std::string& t) {
  if (anyNull(a, 3)) return Value();
  double f = timeSerial(longArg(a[0], t), longArg(a[1], t), longArg(a[2], t));
  if (f < -657434.0 || f > 2958465.0) badArgument(t);
  double days = std::floor(f);
  return Value::dateTime(makeDate(days, f - days));
}
Value fnDateValue(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  return Value::dateTime(datePart(dateArg(a[0], t)));
}
Value fnTimeValue(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  return Value::dateTime(timePart(dateArg(a[0], t)));
}

// ---- choice ----
Value fnChoose(const Args& a, const std::string& t) {
  if (a[0].isNull()) return Value();
  long i = static_cast<long>(std::trunc(toNumber(a[0], t)));
  if (i < 1 || static_cast<size_t>(i) >= a.size()) return Value();
  return a[static_cast<size_t>(i)];
}
Value fnSwitch(const Args& a, const std::string& t) {
  if (a.size() % 2 != 0) throw SqlError(ErrorCode::Invalid, msg::wrongArgumentCount(t));
  for (size_t i = 0; i + 1 < a.size(); i += 2)
    if (toLogical(a[i]).value_or(false)) return a[i + 1];
  return Value();
}
Value fnIIfEager(const Args& a, const std::string&) {
  return toLogical(a[0]).value_or(false) ? a[1] : a[2];
}
Value fnNzEager(const Args& a, const std::string&) {
  if (!a[0].isNull()) return a[0];
  return a.size() > 1 ? a[1] : Value::text("");
}

constexpr int kNone = -1;
constexpr int kMany = 64;

const FunctionDef kFunctions[] = {
    {"IIf", 3, 3, fnIIfEager, DataType::Null, 1},
    {"Nz", 1, 2, fnNzEager, DataType::Null, 0},
    {"IsNull", 1, 1, fnIsNull, DataType::Boolean, kNone},
    {"IsNumeric", 1, 1, fnIsNumeric, DataType::Boolean, kNone},
    {"IsDate", 1, 1, fnIsDate, DataType::Boolean, kNone},
    {"Len", 1, 1, fnLen, DataType::Long, kNone},
    {"Left", 2, 2, fnLeft, DataType::Text, kNone},
    {"Left$", 2, 2, fnLeft, DataType::Text, kNone},
    {"Right", 2, 2, fnRight, DataType::Text, kNone},
    {"Right$", 2, 2, fnRight, DataType::Text, kNone},
    {"Mid", 2, 3, fnMid, DataType::Text, kNone},
    {"Mid$", 2, 3, fnMid, DataType::Text, kNone},
    {"Trim", 1, 1, fnTrim, DataType::Text, kNone},
    {"LTrim", 1, 1, fnLTrim, DataType::Text, kNone},
    {"RTrim", 1, 1, fnRTrim, DataType::Text, kNone},
    {"UCase", 1, 1, fnUCase, DataType::Text, kNone},
    {"LCase", 1, 1, fnLCase, DataType::Text, kNone},
    {"InStr", 2, 4, fnInStr, DataType::Long, kNone},
    {"InStrRev", 2, 4, fnInStrRev, DataType::Long, kNone},
    {"Replace", 3, 6, fnReplace, DataType::Text, kNone},
    {"Space", 1, 1, fnSpace, DataType::Text, kNone},
    {"String", 2, 2, fnString, DataType::Text, kNone},
    {"Asc", 1, 1, fnAsc, DataType::Long, kNone},
    {"AscW", 1, 1, fnAsc, DataType::Long, kNone},
    {"Chr", 1, 1, fnChr, DataType::Text, kNone},
    {"ChrW", 1, 1, fnChr, DataType::Text, kNone},
    {"Chr$", 1, 1, fnChr, DataType::Text, kNone},
    {"StrComp", 2, 3, fnStrComp, DataType::Integer, kNone},
    {"StrReverse", 1, 1, fnStrReverse, DataType::Text, kNone},
    {"Format", 1, 4, fnFormat, DataType::Text, kNone},
    {"Format$", 1, 4, fnFormat, DataType::Text, kNone},
    {"CStr", 1, 1, fnCStr, DataType::Text, kNone},
    {"CLng", 1, 1, fnCLng, DataType::Long, kNone},
    {"CInt", 1, 1, fnCInt, DataType::Integer, kNone},
    {"CByte", 1, 1, fnCByte, DataType::Byte, kNone},
    {"CDbl", 1, 1, fnCDbl, DataType::Double, kNone},
    {"CSng", 1, 1, fnCSng, DataType::Single, kNone},
    {"CCur", 1, 1, fnCCur, DataType::Currency, kNone},
    {"CBool", 1, 1, fnCBool, DataType::Boolean, kNone},
    {"CDate", 1, 1, fnCDate, DataType::DateTime, kNone},
    {"CVDate", 1, 1, fnCDate, DataType::DateTime, kNone},
    {"CDec", 1, 1, fnCDec, DataType::Decimal, kNone},
    {"CVar", 1, 1, fnCVar, DataType::Null, 0},
    {"Val", 1, 1, fnVal, DataType::Double, kNone},
    {"Str", 1, 1, fnStr, DataType::Text, kNone},
    {"Hex", 1, 1, fnHex, DataType::Text, kNone},
    {"Oct", 1, 1, fnOct, DataType::Text, kNone},
    {"Abs", 1, 1, fnAbs, DataType::Null, 0},
    {"Sgn", 1, 1, fnSgn, DataType::Integer, kNone},
    {"Sqr", 1, 1, fnSqr, DataType::Double, kNone},
    {"Int", 1, 1, fnInt, DataType::Null, 0},
    {"Fix", 1, 1, fnFix, DataType::Null, 0},
    {"Round", 1, 2, fnRound, DataType::Null, 0},
    {"Exp", 1, 1, fnExp, DataType::Double, kNone},
    {"Log", 1, 1, fnLog, DataType::Double, kNone},
    {"Sin", 1, 1, fnSin, DataType::Double, kNone},
    {"Cos", 1, 1, fnCos, DataType::Double, kNone},
    {"Tan", 1, 1, fnTan, DataType::Double, kNone},
    {"Atn", 1, 1, fnAtn, DataType::Double, kNone},
    {"Now", 0, 0, fnNow, DataType::DateTime, kNone},
    {"Date", 0, 0, fnDate, DataType::DateTime, kNone},
    {"Time", 0, 0, fnTime, DataType::DateTime, kNone},
    {"Year", 1, 1, fnYear, DataType::Integer, kNone},
    {"Month", 1, 1, fnMonth, DataType::Integer, kNone},
    {"Day", 1, 1, fnDay, DataType::Integer, kNone},
    {"Hour", 1, 1, fnHour, DataType::Integer, kNone},
    {"Minute", 1, 1, fnMinute, DataType::Integer, kNone},
    {"Second", 1, 1, fnSecond, DataType::Integer, kNone},
    {"Weekday", 1, 2, fnWeekday, DataType::Integer, kNone},
    {"MonthName", 1, 2, fnMonthName, DataType::Text, kNone},
    {"WeekdayName", 1, 3, fnWeekdayName, DataType::Text, kNone},
    {"DateAdd", 3, 3, fnDateAdd, DataType::DateTime, kNone},
    {"DateDiff", 3, 5, fnDateDiff, DataType::Long, kNone},
    {"DatePart", 2, 4, fnDatePart, DataType::Integer, kNone},
    {"DateSerial", 3, 3, fnDateSerial, DataType::DateTime, kNone},
    {"TimeSerial", 3, 3, fnTimeSerial, DataType::DateTime, kNone},
    {"DateValue", 1, 1, fnDateValue, DataType::DateTime, kNone},
    {"TimeValue", 1, 1, fnTimeValue, DataType::DateTime, kNone},
    {"Choose", 2, kMany, fnChoose, DataType::Null, 1},
    {"Switch", 2, kMany, fnSwitch, DataType::Null, 1},
};

}  // namespace

const FunctionDef* findFunction(const std::string& name) {
  static const std::map<std::string, const FunctionDef*> byName = [] {
    std::map<std::string, const FunctionDef*> m;
    for (const FunctionDef& f : kFunctions) m[foldCase(f.name)] = &f;
    return m;
  }();
  auto it = byName.find(foldCase(name));
  return it == byName.end() ? nullptr : it->second;
}

DataType functionType(const FunctionDef& f, const std::vector<DataType>& argTypes) {
  if (f.typeFromArg < 0) return f.type;
  if (static_cast<size_t>(f.typeFromArg) >= argTypes.size()) return DataType::Null;
  DataType t = argTypes[static_cast<size_t>(f.typeFromArg)];
  // Numeric functions of text give Double; IIf, Nz and the like keep text.
  if (isTextType(t) && std::string(f.name) != "IIf" && std::string(f.name) != "Nz" &&
      std::string(f.name) != "CVar" && std::string(f.name) != "Choose" && std::string(f.name) != "Switch")
    return DataType::Double;
  if (std::string(f.name) == "IIf" && argTypes.size() == 3 && t == DataType::Null) return argTypes[2];
  return t;
}

bool isAggregateName(const std::string& name) {
  static const char* const names[] = {"count", "sum",   "avg",    "min", "max", "first",
                                      "last",  "stdev", "stdevp", "var", "varp"};
  std::string f = foldCase(name);
  for (const char* n : names)
    if (f == n) return true;
  return false;
}

}  // namespace jet::sql
