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

std::string decimalText(unsigned __int128 magnitude, unsigned scale, bool negative) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  while (digits.size() <= scale) digits.insert(digits.begin(), '0');
  std::string out = digits.substr(0, digits.size() - scale);
  std::string frac = digits.substr(digits.size() - scale);
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  if (!frac.empty()) out += "." + frac;
  if (negative && out != "0") out.insert(out.begin(), '-');
  return out;
}

std::string shortest(double v, bool single) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  auto r = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v))
                  : std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

}  // namespace

std::string dateTimeText(double days) {
  Split s = splitDate(days);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(s.year), s.month,
                s.day, s.hour, s.minute, s.second);
  return buf;
}

std::string numberText(const Value& v) {
  switch (v.type()) {
    case DataType::Boolean:
      return v.asBool() ? "-1" : "0";
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
      return std::to_string(v.asInt());
    case DataType::Currency: {
      int64_t units = v.asInt();
      bool neg = units < 0;
      auto mag = static_cast<unsigned __int128>(neg ? -static_cast<__int128>(units) : units);
      return decimalText(mag, 4, neg);
    }
    case DataType::Single:
      return shortest(v.asDouble(), true);
    case DataType::Double:
    case DataType::DateTime:
      return shortest(v.asDouble(), false);
    case DataType::Decimal: {
      const Decimal& d = v.asDecimal();
      return decimalText(d.magnitude, d.scale, d.negative);
    }
    default:
      return "";
  }
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

std::string displayText(const Value& v) {
  switch (v.type()) {
    case DataType::Null:
      return "";
    case DataType::Boolean:
      return v.asBool() ? "True" : "False";
    case DataType::DateTime: {
      std::string t = dateTimeText(v.asDouble());
      if (t.size() > 10 && t.compare(10, 9, " 00:00:00") == 0) t.resize(10);
      return t;
    }
    case DataType::Text:
    case DataType::Memo:
      return v.asText();
    case DataType::Binary:
    case DataType::LongBinary:
      return hexText(v.asBytes());
    case DataType::Guid:
      return guidText(v.asGuid());
    default:
      return numberText(v);
  }
}

}  // namespace jet::ado
