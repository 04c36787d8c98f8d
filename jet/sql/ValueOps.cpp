#include "jet/sql/ValueOps.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/DateTime.h"
#include "jet/sql/VarLength.h"

namespace jet::sql {

using ast::Op;

namespace {

[[noreturn]] void mismatch(const std::string& where) {
  throw SqlError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
}

[[noreturn]] void overflowError(const std::string& where) {
  throw SqlError(ErrorCode::Overflow, msg::overflow(where));
}

std::string trimSpaces(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

// Day serials to a continuous count of days and back (see DateTime.h).
double dateToLinear(double serial) {
  if (serial >= 0) return serial;
  double whole = std::trunc(serial);
  return whole + std::fabs(serial - whole);
}

bool isFloatType(DataType t) {
  return t == DataType::Single || t == DataType::Double || t == DataType::Decimal || isTextType(t);
}

int typeRank(DataType t) {
  if (t == DataType::Null) return 0;
  if (isNumericType(t)) return 1;
  if (isTextType(t)) return 2;
  return 3 + static_cast<int>(t);
}

int compareBytes(const Bytes& a, const Bytes& b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

template <class T>
int cmp(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

double numberOf(const Value& v) {
  if (v.type() == DataType::DateTime) return v.asDouble();
  return v.toDouble();
}

bool isTextType(DataType t) {
  return t == DataType::Text || t == DataType::Memo;
}

bool isNumericType(DataType t) {
  switch (t) {
    case DataType::Boolean:
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
    case DataType::Currency:
    case DataType::Single:
    case DataType::Double:
    case DataType::DateTime:
    case DataType::Decimal:
      return true;
    default:
      return false;
  }
}

Value logical(std::optional<bool> b) {
  return b ? Value::boolean(*b) : Value();
}

std::optional<bool> toLogical(const Value& v) {
  if (v.isNull()) return std::nullopt;
  if (v.type() == DataType::Boolean) return v.asBool();
  if (v.isNumeric()) return numberOf(v) != 0;
  if (v.isText()) {
    std::string t = foldCase(trimSpaces(v.asText()));
    if (t == "true" || t == "yes" || t == "on") return true;
    if (t == "false" || t == "no" || t == "off") return false;
    if (auto n = parseNumber(t)) return *n != 0;
  }
  mismatch(toText(v));
}

std::optional<double> parseNumber(std::string_view text) {
  std::string s = trimSpaces(text);
  if (s.empty()) return std::nullopt;
  // Thousands separators are accepted as Val and CDbl do on this locale.
  std::string clean;
  for (char c : s)
    if (c != ',') clean += c;
  const char* b = clean.c_str();
  size_t i = 0;
  if (b[i] == '+' || b[i] == '-') ++i;
  bool digits = false;
  while (std::isdigit(static_cast<unsigned char>(b[i]))) ++i, digits = true;
  if (b[i] == '.') {
    ++i;
    while (std::isdigit(static_cast<unsigned char>(b[i]))) ++i, digits = true;
  }
  if (!digits) return std::nullopt;
  if (b[i] == 'e' || b[i] == 'E') {
    size_t j = i + 1;
    if (b[j] == '+' || b[j] == '-') ++j;
    if (!std::isdigit(static_cast<unsigned char>(b[j]))) return std::nullopt;
    while (std::isdigit(static_cast<unsigned char>(b[j]))) ++j;
    i = j;
  }
  if (b[i] != '\0') return std::nullopt;
  double v = std::strtod(b, nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::string numberText(double v, bool single) {
  if (v == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, single ? "%.7G" : "%.15G", v);
  std::string s = buf;
  // VBA writes "1E+20" and "1E-05" like %G, but never a leading "0." before the
  // exponent form and never a trailing point.
  size_t e = s.find('E');
  std::string mant = e == std::string::npos ? s : s.substr(0, e);
  std::string exp = e == std::string::npos ? "" : s.substr(e);
  if (mant.find('.') != std::string::npos) {
    while (!mant.empty() && mant.back() == '0') mant.pop_back();
    if (!mant.empty() && mant.back() == '.') mant.pop_back();
  }
  return mant + exp;
}

std::string currencyText(int64_t units) {
  bool neg = units < 0;
  uint64_t mag = neg ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string s = std::to_string(mag / 10000);
  uint64_t frac = mag % 10000;
  if (frac) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(frac));
    std::string f = buf;
    while (f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return neg ? "-" + s : s;
}

std::string dateText(double serial) {
  DateParts p = splitDate(serial);
  char buf[64];
  bool hasTime = p.hour || p.minute || p.second;
  bool hasDate = std::trunc(serial) != 0;
  if (hasDate && hasTime)
    std::snprintf(buf, sizeof buf, "%d/%d/%d %d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
  else if (hasTime)
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", p.hour, p.minute, p.second);
  else
    std::snprintf(buf, sizeof buf, "%d/%d/%d", p.year, p.month, p.day);
  return buf;
}

std::string toText(const Value& v) {
  switch (v.type()) {
    case DataType::Null:
      return std::string();
    case DataType::Boolean:
      return v.asBool() ? "True" : "False";
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
      return std::to_string(v.asInt());
    case DataType::Currency:
      return currencyText(v.asInt());
    case DataType::Single:
      return numberText(v.asDouble(), true);
    case DataType::Double:
      return numberText(v.asDouble());
    case DataType::Decimal:
      return numberText(v.toDouble());
    case DataType::DateTime:
      return dateText(v.asDouble());
    case DataType::Text:
    case DataType::Memo:
      return v.asText();
    case DataType::Binary:
    case DataType::LongBinary: {
      const Bytes& b = v.asBytes();
      return std::string(b.begin(), b.end());
    }
    case DataType::Guid: {
      const auto& g = v.asGuid().bytes;
      char buf[48];
      std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                    g[3], g[2], g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12], g[13],
                    g[14], g[15]);
      return buf;
    }
  }
  return std::string();
}

double toNumber(const Value& v, const std::string& where) {
  if (v.isNumeric()) return numberOf(v);
  if (v.isText()) {
    if (auto n = parseNumber(v.asText())) return *n;
  }
  mismatch(where);
}

double toDate(const Value& v, const std::string& where) {
  if (v.isNumeric()) return numberOf(v);
  if (v.isText()) {
    if (auto d = parseDateText(v.asText(), DateOrder::MonthFirst)) return *d;
    if (auto n = parseNumber(v.asText())) return *n;
  }
  mismatch(where);
}

std::optional<int> compareValues(const Value& a, const Value& b) {
  if (a.isNull() || b.isNull()) return std::nullopt;
  if (a.isText() && b.isText()) {
    int c = compareIgnoreCase(a.asText(), b.asText());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (a.isNumeric() && b.isNumeric()) {
    if (a.isIntegral() && b.isIntegral() && a.type() != DataType::Currency &&
        b.type() != DataType::Currency) {
      int64_t x = a.type() == DataType::Boolean ? (a.asBool() ? -1 : 0) : a.asInt();
      int64_t y = b.type() == DataType::Boolean ? (b.asBool() ? -1 : 0) : b.asInt();
      return cmp(x, y);
    }
    if (a.type() == DataType::Currency && b.type() == DataType::Currency) return cmp(a.asInt(), b.asInt());
    return cmp(numberOf(a), numberOf(b));
  }
  if (a.isText() && b.isNumeric()) {
    double y = numberOf(b);
    if (b.type() == DataType::DateTime) return cmp(toDate(a, a.asText()), y);
    return cmp(toNumber(a, a.asText()), y);
  }
  if (a.isNumeric() && b.isText()) {
    auto c = compareValues(b, a);
    return c ? std::optional<int>(-*c) : std::nullopt;
  }
  if (a.isBinary() && b.isBinary()) return compareBytes(a.asBytes(), b.asBytes());
  if (a.type() == DataType::Guid && b.type() == DataType::Guid) {
    const auto& x = a.asGuid().bytes;
    const auto& y = b.asGuid().bytes;
    int c = std::memcmp(x.data(), y.data(), x.size());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  if (a.type() == DataType::Guid && b.isText()) return compareValues(Value::text(toText(a)), b);
  if (a.isText() && b.type() == DataType::Guid) return compareValues(a, Value::text(toText(b)));
  mismatch(toText(a) + " / " + toText(b));
}

int sortCompare(const Value& a, const Value& b) {
  if (a.isNull() || b.isNull()) return cmp(!a.isNull(), !b.isNull());
  int ra = typeRank(a.type()), rb = typeRank(b.type());
  if (ra != rb && !(ra <= 2 && rb <= 2)) return cmp(ra, rb);
  try {
    return *compareValues(a, b);
  } catch (const SqlError&) {
    return cmp(ra, rb);
  }
}

void appendKey(std::string& key, const Value& v) {
  // Tag, length, payload: no key is a prefix of another, so a row's keys
  // concatenated stay unambiguous.
  auto appendSized = [&key](char tag, std::string_view payload) {
    key += tag;
    appendLength(key, payload.size());
    key.append(payload);
  };
  if (v.isNull()) {
    key += 'N';
  } else if (v.isText()) {
    // The folded text's length goes in front of it once known; one byte is
    // set aside for it.
    key += 'T';
    const size_t lengthAt = key.size();
    key += '\0';
    appendFoldedCase(key, v.asText());
    std::string length;
    appendLength(length, key.size() - lengthAt - 1);
    key[lengthAt] = length[0];
    if (length.size() > 1) key.insert(lengthAt + 1, length, 1);
  } else if (v.isNumeric()) {
    double d = numberOf(v);
    if (d == 0) d = 0;  // -0 and 0 are one group
    key += 'D';
    key.append(reinterpret_cast<const char*>(&d), sizeof d);
  } else if (v.isBinary()) {
    const Bytes& b = v.asBytes();
    appendSized('B', std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
  } else if (v.type() == DataType::Guid) {
    const auto& g = v.asGuid().bytes;
    appendSized('G', std::string_view(reinterpret_cast<const char*>(g.data()), g.size()));
  }
}

std::string keyOf(const Value& v) {
  std::string k;
  appendKey(k, v);
  return k;
}

double roundHalfEven(double v, int digits) {
  if (!std::isfinite(v)) return v;
  double scale = std::pow(10.0, digits);
  double x = v * scale;
  // Guard against representation error (2.675 * 100 = 267.49999...): round at
  // 1e-9 relative precision first.
  double r = std::round(x * 1e6) / 1e6;
  double fl = std::floor(r);
  double diff = r - fl;
  double out;
  if (diff > 0.5)
    out = fl + 1;
  else if (diff < 0.5)
    out = fl;
  else
    out = std::fmod(fl, 2.0) == 0 ? fl : fl + 1;
  return out / scale;
}

DataType arithmeticType(Op op, DataType a, DataType b) {
  if (op == Op::Concat) return (a == DataType::Memo || b == DataType::Memo) ? DataType::Memo : DataType::Text;
  if (a == DataType::Null && b == DataType::Null) return DataType::Null;
  if (op == Op::Neg) {
    if (a == DataType::Boolean || a == DataType::Byte) return DataType::Integer;
    if (isTextType(a)) return DataType::Double;
    return a;
  }
  if (a == DataType::Null) a = b;
  if (b == DataType::Null) b = a;
  switch (op) {
    case Op::Div:
    case Op::Pow:
      return DataType::Double;
    case Op::IntDiv:
    case Op::Mod:
      return DataType::Long;
    default:
      break;
  }
  if (op == Op::Add && isTextType(a) && isTextType(b))
    return (a == DataType::Memo || b == DataType::Memo) ? DataType::Memo : DataType::Text;
  bool da = a == DataType::DateTime, db = b == DataType::DateTime;
  if (op == Op::Add && (da || db)) return DataType::DateTime;
  if (op == Op::Sub && da && db) return DataType::Double;
  if (op == Op::Sub && (da || db)) return DataType::DateTime;
  if (isFloatType(a) || isFloatType(b) || da || db) {
    auto small = [](DataType t) {
      return t == DataType::Single || t == DataType::Byte || t == DataType::Integer || t == DataType::Boolean;
    };
    if ((a == DataType::Single || b == DataType::Single) && small(a) && small(b)) return DataType::Single;
    return DataType::Double;
  }
  if (a == DataType::Currency || b == DataType::Currency) return DataType::Currency;
  return DataType::Long;
}

Value negate(const Value& a) {
  switch (a.type()) {
    case DataType::Null:
      return a;
    case DataType::Boolean:
      return Value::integer(a.asBool() ? 1 : 0);
    case DataType::Byte:
      return Value::integer(static_cast<int16_t>(-a.asInt()));
    case DataType::Integer:
      if (a.asInt() == -32768) return Value::longInt(32768);
      return Value::integer(static_cast<int16_t>(-a.asInt()));
    case DataType::Long:
      if (a.asInt() == std::numeric_limits<int32_t>::min()) return Value::dbl(2147483648.0);
      return Value::longInt(static_cast<int32_t>(-a.asInt()));
    case DataType::Currency:
      return Value::currency(-a.asInt());
    case DataType::Single:
      return Value::single(static_cast<float>(-a.asDouble()));
    case DataType::Double:
      return Value::dbl(-a.asDouble());
    case DataType::DateTime:
      return Value::dateTime(-a.asDouble());
    case DataType::Decimal: {
      Decimal d = a.asDecimal();
      d.negative = !d.negative;
      return Value::decimal(d);
    }
    default:
      return Value::dbl(-toNumber(a, toText(a)));
  }
}

namespace {

Value integralResult(int64_t r, DataType ta, DataType tb, const std::string& where) {
  auto small = [](DataType t) {
    return t == DataType::Boolean || t == DataType::Byte || t == DataType::Integer;
  };
  if (small(ta) && small(tb) && r >= -32768 && r <= 32767) return Value::integer(static_cast<int16_t>(r));
  if (r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())
    return Value::longInt(static_cast<int32_t>(r));
  (void)where;
  return Value::dbl(static_cast<double>(r));
}

int64_t intOperand(const Value& v, const std::string& where) {
  if (v.type() == DataType::Boolean) return v.asBool() ? -1 : 0;
  if (v.isIntegral() && v.type() != DataType::Currency) return v.asInt();
  double d = roundHalfEven(toNumber(v, where));
  if (d < -9.2e18 || d > 9.2e18) overflowError(where);
  return static_cast<int64_t>(d);
}

}  // namespace

Value arithmetic(Op op, const Value& a, const Value& b) {
  std::string where = toText(a) + " / " + toText(b);
  if (op == Op::Concat) {
    if (a.isNull() && b.isNull()) return Value();
    std::string s = toText(a);
    std::string t = toText(b);
    if (s.size() + t.size() > kMaxComputedText) overflowError("&");
    s += t;
    if (a.type() == DataType::Memo || b.type() == DataType::Memo) return Value::memo(std::move(s));
    return Value::text(std::move(s));
  }
  if (a.isNull() || b.isNull()) return Value();
  if (op == Op::Add && a.isText() && b.isText()) {
    if (a.asText().size() + b.asText().size() > kMaxComputedText) overflowError("+");
    std::string s = a.asText() + b.asText();
    if (a.type() == DataType::Memo || b.type() == DataType::Memo) return Value::memo(std::move(s));
    return Value::text(std::move(s));
  }
  if ((!a.isNumeric() && !a.isText()) || (!b.isNumeric() && !b.isText())) mismatch(where);
  DataType ta = a.isText() ? DataType::Double : a.type();
  DataType tb = b.isText() ? DataType::Double : b.type();
  switch (op) {
    case Op::Div: {
      double y = toNumber(b, where);
      if (y == 0) throw SqlError(ErrorCode::Invalid, msg::divisionByZero());
      return Value::dbl(toNumber(a, where) / y);
    }
    case Op::Pow: {
      double r = std::pow(toNumber(a, where), toNumber(b, where));
      if (!std::isfinite(r)) throw SqlError(ErrorCode::Invalid, msg::invalidArgument("^"));
      return Value::dbl(r);
    }
    case Op::IntDiv:
    case Op::Mod: {
      int64_t x = intOperand(a, where), y = intOperand(b, where);
      if (y == 0) throw SqlError(ErrorCode::Invalid, msg::divisionByZero());
      int64_t r = op == Op::IntDiv ? x / y : x % y;
      return integralResult(r, ta, tb, where);
    }
    default:
      break;
  }
  DataType rt = arithmeticType(op, ta, tb);
  if (rt == DataType::DateTime) {
    double r = op == Op::Add ? dateToLinear(toNumber(a, where)) + dateToLinear(toNumber(b, where))
                             : dateToLinear(toNumber(a, where)) - dateToLinear(toNumber(b, where));
    double s = makeDate(r, 0);
    if (!validDate(s)) overflowError(where);
    return Value::dateTime(s);
  }
  if (ta == DataType::DateTime && tb == DataType::DateTime && op == Op::Sub)
    return Value::dbl(dateToLinear(a.asDouble()) - dateToLinear(b.asDouble()));
  if (rt == DataType::Double || rt == DataType::Single) {
    double x = toNumber(a, where), y = toNumber(b, where);
    double r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
    if (!std::isfinite(r)) overflowError(where);
    if (rt == DataType::Single && std::fabs(r) <= 3.4e38) return Value::single(static_cast<float>(r));
    return Value::dbl(r);
  }
  if (rt == DataType::Currency) {
    // Exact in ten-thousandths while the operands are currency or whole numbers.
    auto units = [&](const Value& v) -> __int128 {
      if (v.type() == DataType::Currency) return v.asInt();
      return static_cast<__int128>(intOperand(v, where)) * 10000;
    };
    __int128 x = units(a), y = units(b), r;
    if (op == Op::Add)
      r = x + y;
    else if (op == Op::Sub)
      r = x - y;
    else {
      __int128 p = x * y;
      __int128 q = p / 10000, rem = p % 10000;
      if (rem < 0) rem = -rem;
      if (rem > 5000 || (rem == 5000 && (q % 2 != 0))) q += p < 0 ? -1 : 1;
      r = q;
    }
    if (r > std::numeric_limits<int64_t>::max() || r < std::numeric_limits<int64_t>::min())
      overflowError(where);
    return Value::currency(static_cast<int64_t>(r));
  }
  int64_t x = intOperand(a, where), y = intOperand(b, where);
  __int128 r = op == Op::Add   ? static_cast<__int128>(x) + y
               : op == Op::Sub ? static_cast<__int128>(x) - y
                               : static_cast<__int128>(x) * y;
  if (r > std::numeric_limits<int64_t>::max() || r < std::numeric_limits<int64_t>::min())
    return Value::dbl(static_cast<double>(r));
  return integralResult(static_cast<int64_t>(r), ta, tb, where);
}

Value convertTo(const Value& v, DataType type, const std::string& where) {
  if (v.isNull() || v.type() == type) {
    if (type == DataType::Text && v.type() == DataType::Memo) return Value::text(v.asText());
    return v;
  }
  auto integral = [&](double lo, double hi) -> int64_t {
    double d;
    if (v.type() == DataType::Boolean)
      d = v.asBool() ? -1 : 0;
    else if (v.isText() && !parseNumber(v.asText()))
      d = toDate(v, where);
    else
      d = toNumber(v, where);
    d = roundHalfEven(d);
    if (d < lo || d > hi) overflowError(where);
    return static_cast<int64_t>(d);
  };
  switch (type) {
    case DataType::Null:
      return Value();
    case DataType::Boolean: {
      auto b = toLogical(v);
      return logical(b);
    }
    case DataType::Byte:
      return Value::byte(static_cast<uint8_t>(integral(0, 255)));
    case DataType::Integer:
      return Value::integer(static_cast<int16_t>(integral(-32768, 32767)));
    case DataType::Long:
      return Value::longInt(static_cast<int32_t>(integral(-2147483648.0, 2147483647.0)));
    case DataType::Currency: {
      if (v.isIntegral() && v.type() != DataType::Boolean) return Value::currency(v.asInt() * 10000);
      double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toNumber(v, where);
      double u = roundHalfEven(d * 10000.0);
      if (u < -9.2e18 || u > 9.2e18) overflowError(where);
      return Value::currency(static_cast<int64_t>(u));
    }
    case DataType::Single: {
      double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toNumber(v, where);
      if (std::fabs(d) > 3.402823466e38) overflowError(where);
      return Value::single(static_cast<float>(d));
    }
    case DataType::Double: {
      if (v.type() == DataType::Boolean) return Value::dbl(v.asBool() ? -1 : 0);
      return Value::dbl(toNumber(v, where));
    }
    case DataType::DateTime: {
      double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toDate(v, where);
      if (!validDate(d)) overflowError(where);
      return Value::dateTime(d);
    }
    case DataType::Text:
      return Value::text(toText(v));
    case DataType::Memo:
      return Value::memo(toText(v));
    case DataType::Binary:
    case DataType::LongBinary: {
      Bytes b;
      if (v.isBinary())
        b = v.asBytes();
      else if (v.isText())
        b.assign(v.asText().begin(), v.asText().end());
      else
        mismatch(where);
      return type == DataType::Binary ? Value::binary(std::move(b)) : Value::longBinary(std::move(b));
    }
    case DataType::Guid: {
      if (!v.isText()) mismatch(where);
      std::string hex;
      for (char c : v.asText())
        if (std::isxdigit(static_cast<unsigned char>(c)))
          hex += c;
        else if (c != '{' && c != '}' && c != '-' && c != ' ')
          mismatch(where);
      if (hex.size() != 32) mismatch(where);
      uint8_t raw[16];
      for (int i = 0; i < 16; ++i)
        raw[i] = static_cast<uint8_t>(std::stoi(hex.substr(i * 2, 2), nullptr, 16));
      Guid g;
      const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
      for (int i = 0; i < 16; ++i) g.bytes[i] = raw[order[i]];
      return Value::guid(g);
    }
    case DataType::Decimal: {
      double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toNumber(v, where);
      if (std::fabs(d) >= 7.9e28) overflowError(where);
      Decimal dec;
      dec.precision = 28;
      // Keep as many decimals as a double carries faithfully.
      int scale = 0;
      double mag = std::fabs(d);
      while (scale < 10 && mag * std::pow(10.0, scale) < 1e15 &&
             std::fabs(mag * std::pow(10.0, scale) - std::round(mag * std::pow(10.0, scale))) > 1e-9)
        ++scale;
      dec.scale = static_cast<uint8_t>(scale);
      dec.magnitude = static_cast<unsigned __int128>(std::round(mag * std::pow(10.0, scale)));
      dec.negative = d < 0;
      return Value::decimal(dec);
    }
  }
  mismatch(where);
}

}  // namespace jet::sql
