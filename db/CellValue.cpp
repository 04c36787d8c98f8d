#include "db/CellValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace qm::db {

namespace {

[[noreturn]] void mismatch(const std::string& field) {
  throw jet::Error(jet::ErrorCode::TypeMismatch, jet::msg::typeMismatch(field));
}

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

int64_t wholeNumber(const std::string& s, int64_t lo, int64_t hi, const std::string& field) {
  int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) mismatch(field);
  return v;
}

double realNumber(const std::string& s, const std::string& field) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) mismatch(field);
  return v;
}

// Days since 1899-12-30 of a proleptic Gregorian date.
int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return int64_t{era} * 146097 + doe - 719468 + 25569;  // 1970-01-01 is day 25569
}

double dateTime(const std::string& s, const std::string& field) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
  char tail = 0;
  int n = std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &se, &tail);
  if (!(n == 3 || n == 5 || n == 6) || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 ||
      mi > 59 || se < 0 || se > 59 || y < 100 || y > 9999)
    mismatch(field);
  const double time = (h * 3600 + mi * 60 + se) / 86400.0;
  const int64_t days = daysFromCivil(y, mo, d);
  // Jet counts the fraction forward from midnight even before 1899-12-30.
  return days >= 0 ? days + time : days - time;
}

int64_t currencyUnits(const std::string& s, const std::string& field) {
  size_t dot = s.find('.');
  std::string whole = s.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
  if (frac.size() > 4 || frac.find_first_not_of("0123456789") != std::string::npos) mismatch(field);
  bool negative = !whole.empty() && whole[0] == '-';
  int64_t w =
      wholeNumber(whole.empty() || whole == "-" ? "0" : whole, std::numeric_limits<int64_t>::min() / 10000,
                  std::numeric_limits<int64_t>::max() / 10000, field);
  frac.resize(4, '0');
  int64_t f = wholeNumber(frac, 0, 9999, field);
  return w * 10000 + (negative || (whole == "-") ? -f : f);
}

}  // namespace

jet::Value cellValue(const std::string& text, jet::DataType type, const std::string& field) {
  using jet::DataType;
  using jet::Value;
  if (type == DataType::Text) return text.empty() ? Value::null() : Value::text(text);
  if (type == DataType::Memo) return text.empty() ? Value::null() : Value::memo(text);
  const std::string s = trimmed(text);
  if (s.empty()) return Value::null();
  switch (type) {
    case DataType::Boolean:
      if (jet::equalsIgnoreCase(s, "true") || s == "-1" || s == "1") return Value::boolean(true);
      if (jet::equalsIgnoreCase(s, "false") || s == "0") return Value::boolean(false);
      mismatch(field);
    case DataType::Byte:
      return Value::byte(static_cast<uint8_t>(wholeNumber(s, 0, 255, field)));
    case DataType::Integer:
      return Value::integer(static_cast<int16_t>(wholeNumber(s, -32768, 32767, field)));
    case DataType::Long:
      return Value::longInt(static_cast<int32_t>(
          wholeNumber(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), field)));
    case DataType::Currency:
      return Value::currency(currencyUnits(s, field));
    case DataType::Single: {
      double v = realNumber(s, field);
      if (std::fabs(v) > std::numeric_limits<float>::max()) mismatch(field);
      return Value::single(static_cast<float>(v));
    }
    case DataType::Double:
      return Value::dbl(realNumber(s, field));
    case DataType::DateTime:
      return Value::dateTime(dateTime(s, field));
    default:
      // Binary, OLE, GUID and Decimal cells are not typed in by hand.
      throw jet::Error(jet::ErrorCode::ReadOnly, jet::msg::writeNotSupported(field));
  }
}

}  // namespace qm::db
