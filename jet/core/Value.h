// A single database value as the engine passes it between layers.
//
// Every Jet column type maps to one DataType; the payload is kept in the
// narrowest form that represents it without loss. Text is UTF-8 (the file
// layer converts from UCS-2 or the file's code page), binary payloads are raw
// bytes, Currency is a 64-bit count of ten-thousandths, Date/Time is Jet's
// double (days since 1899-12-30, fraction = time of day).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Values are Jet's own column type codes so that the format layer can cast.
enum class DataType : uint8_t {
  Null = 0,
  Boolean = 1,
  Byte = 2,
  Integer = 3,   // 16-bit
  Long = 4,      // 32-bit
  Currency = 5,  // int64 / 10000
  Single = 6,
  Double = 7,
  DateTime = 8,
  Binary = 9,
  Text = 10,
  LongBinary = 11,  // OLE object
  Memo = 12,
  Guid = 15,  // Replication ID
  Decimal = 16,
};

const char* dataTypeName(DataType t);

using Bytes = std::vector<uint8_t>;

// A GUID in its stored byte order (first three groups little-endian).
struct Guid {
  std::array<uint8_t, 16> bytes{};
  bool operator==(const Guid&) const = default;
};

// Jet's Decimal: a 96-bit magnitude with sign, precision and scale.
struct Decimal {
  unsigned __int128 magnitude = 0;
  uint8_t precision = 18;
  uint8_t scale = 0;
  bool negative = false;
  bool operator==(const Decimal&) const = default;
};

class Value {
 public:
  Value() = default;  // Null

  static Value null() { return Value(); }
  static Value boolean(bool b) { return Value(DataType::Boolean, b); }
  static Value byte(uint8_t v) { return Value(DataType::Byte, int64_t{v}); }
  static Value integer(int16_t v) { return Value(DataType::Integer, int64_t{v}); }
  static Value longInt(int32_t v) { return Value(DataType::Long, int64_t{v}); }
  // `units` is the amount times 10000.
  static Value currency(int64_t units) { return Value(DataType::Currency, units); }
  static Value single(float v) { return Value(DataType::Single, double{v}); }
  static Value dbl(double v) { return Value(DataType::Double, v); }
  static Value dateTime(double days) { return Value(DataType::DateTime, days); }
  static Value text(std::string utf8) { return Value(DataType::Text, std::move(utf8)); }
  static Value memo(std::string utf8) { return Value(DataType::Memo, std::move(utf8)); }
  static Value binary(Bytes b) { return Value(DataType::Binary, std::move(b)); }
  static Value longBinary(Bytes b) { return Value(DataType::LongBinary, std::move(b)); }
  static Value guid(const Guid& g) { return Value(DataType::Guid, g); }
  static Value decimal(const Decimal& d) { return Value(DataType::Decimal, d); }

  DataType type() const { return type_; }
  bool isNull() const { return type_ == DataType::Null; }
  bool isText() const { return type_ == DataType::Text || type_ == DataType::Memo; }
  bool isBinary() const { return type_ == DataType::Binary || type_ == DataType::LongBinary; }
  // Boolean, Byte, Integer, Long, Currency (raw units).
  bool isIntegral() const;
  bool isNumeric() const;  // any number, Date/Time and Boolean included

  bool asBool() const { return std::get<bool>(data_); }
  int64_t asInt() const { return std::get<int64_t>(data_); }
  // Single, Double, DateTime.
  double asDouble() const { return std::get<double>(data_); }
  const std::string& asText() const { return std::get<std::string>(data_); }
  const Bytes& asBytes() const { return std::get<Bytes>(data_); }
  const Guid& asGuid() const { return std::get<Guid>(data_); }
  const Decimal& asDecimal() const { return std::get<Decimal>(data_); }

  // Any numeric value as a double (Currency scaled, Boolean as -1/0, Decimal scaled).
  double toDouble() const;

  // Exact structural equality (same type and payload). Not SQL comparison.
  bool operator==(const Value& o) const { return type_ == o.type_ && data_ == o.data_; }

 private:
  using Storage = std::variant<std::monostate, bool, int64_t, double, std::string, Bytes, Guid, Decimal>;
  template <class T>
  Value(DataType t, T&& v) : type_(t), data_(std::forward<T>(v)) {}

  DataType type_ = DataType::Null;
  Storage data_;
};

using Row = std::vector<Value>;

}  // namespace jet
