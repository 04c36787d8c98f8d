#include "jet/ado/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace jet::ado {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
}

struct Split {
  int64_t year;
  unsigned month, day, hour, minute, second;
};

Split splitDate(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3.0e6) days = 0;
  double whole = std::trunc(days);
  double frac = std::fabs(days - whole);
  auto secs = static_cast<int64_t>(std::llround(frac * 86400.0));
  auto day = static_cast<int64_t>(whole);
  if (secs >= 86400) {
    secs -= 86400;
    day += days < 0 ? -1 : 1;
  }
  Split s{};
  civilFromDays(day - 25569, s.year, s.month, s.day);  // 25569 = days from 1899-12-30 to 1970-01-01
  s.hour = static_cast<unsigned>(secs / 3600);
  s.minute = static_cast<unsigned>(secs / 60 % 60);
  s.second = static_cast<unsigned>(secs % 60);
  return s;
}

void appendDecimalText(std::string& out, unsigned __int128 magnitude, unsigned scale, bool negative) {
  // 39 digits hold any 128-bit magnitude; scale adds leading zeros up to 255.
  char digits[300];
  char* end = digits + sizeof digits;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + static_cast<int>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  while (static_cast<size_t>(end - p) <= scale) *--p = '0';
  char* point = end - scale;
  char* fracEnd = end;
  while (fracEnd > point && fracEnd[-1] == '0') --fracEnd;
  bool zero = point - p == 1 && *p == '0' && fracEnd == point;
  if (negative && !zero) out += '-';
  out.append(p, point);
  if (fracEnd != point) {
    out += '.';
    out.append(point, fracEnd);
  }
}

void appendShortest(std::string& out, double v, bool single) {
  if (std::isnan(v)) {
    out += "NaN";
    return;
  }
  if (std::isinf(v)) {
    out += v > 0 ? "Infinity" : "-Infinity";
    return;
  }
  char buf[64];
  auto r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v))
                  : std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void appendInteger(std::string& out, int64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// Two digits of 0..99.
void appendTwoDigits(std::string& out, unsigned v) {
  out += static_cast<char>('0' + v / 10 % 10);
  out += static_cast<char>('0' + v % 10);
}

}  // namespace

void appendDateTimeText(std::string& out, double days) {
  Split s = splitDate(days);
  if (s.year >= 0 && s.year <= 9999) {
    auto year = static_cast<unsigned>(s.year);
    appendTwoDigits(out, year / 100);
    appendTwoDigits(out, year % 100);
    out += '-';
    appendTwoDigits(out, s.month);
    out += '-';
    appendTwoDigits(out, s.day);
    out += ' ';
    appendTwoDigits(out, s.hour);
    out += ':';
    appendTwoDigits(out, s.minute);
    out += ':';
    appendTwoDigits(out, s.second);
    return;
  }
  // Years outside 0..9999 (a sign, a fifth digit) are rare enough for printf.
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(s.year),
                        s.month, s.day, s.hour, s.minute, s.second);
  out.append(buf, static_cast<size_t>(n));
}

std::string dateTimeText(double days) {
  std::string out;
  appendDateTimeText(out, days);
  return out;
}

void appendNumberText(std::string& out, const Value& v) {
  switch (v.type()) {
    case DataType::Boolean:
      out += v.asBool() ? "-1" : "0";
      return;
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
      appendInteger(out, v.asInt());
      return;
    case DataType::Currency: {
      int64_t units = v.asInt();
      bool neg = units < 0;
      auto mag = static_cast<unsigned __int128>(neg ? -static_cast<__int128>(units) : units);
      appendDecimalText(out, mag, 4, neg);
      return;
    }
    case DataType::Single:
      appendShortest(out, v.asDouble(), true);
      return;
    case DataType::Double:
    case DataType::DateTime:
      appendShortest(out, v.asDouble(), false);
      return;
    case DataType::Decimal: {
      const Decimal& d = v.asDecimal();
      appendDecimalText(out, d.magnitude, d.scale, d.negative);
      return;
    }
    default:
      return;
  }
}

std::string numberText(const Value& v) {
  std::string out;
  appendNumberText(out, v);
  return out;
}

std::string guidText(const Guid& g) {
  const auto& b = g.bytes;
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
  return buf;
}

std::string hexText(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

void appendDisplayText(std::string& out, const Value& v) {
  switch (v.type()) {
    case DataType::Null:
      return;
    case DataType::Boolean:
      out += v.asBool() ? "True" : "False";
      return;
    case DataType::DateTime: {
      size_t start = out.size();
      appendDateTimeText(out, v.asDouble());
      if (out.size() - start > 10 && out.compare(start + 10, 9, " 00:00:00") == 0) out.resize(start + 10);
      return;
    }
    case DataType::Text:
    case DataType::Memo:
      out += v.asText();
      return;
    case DataType::Binary:
    case DataType::LongBinary:
      out += hexText(v.asBytes());
      return;
    case DataType::Guid:
      out += guidText(v.asGuid());
      return;
    default:
      appendNumberText(out, v);
  }
}

std::string displayText(const Value& v) {
  std::string out;
  appendDisplayText(out, v);
  return out;
}

}  // namespace jet::ado
