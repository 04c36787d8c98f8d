#include "jet/sql/PackedValues.h"

#include <cstring>

#include "jet/sql/VarLength.h"

namespace jet::sql {

namespace {

template <class T>
void put(std::string& out, const T& v) {
  out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

template <class T>
T take(const char*& at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  at += sizeof v;
  return v;
}

void putSized(std::string& out, const void* data, size_t size) {
  appendLength(out, size);
  out.append(static_cast<const char*>(data), size);
}

std::string_view takeSized(const char*& at) {
  auto* bytes = reinterpret_cast<const unsigned char*>(at);
  const size_t size = takeLength(bytes);
  at = reinterpret_cast<const char*>(bytes) + size;
  return {reinterpret_cast<const char*>(bytes), size};
}

}  // namespace

void packValue(std::string& out, const Value& v) {
  out += static_cast<char>(v.type());
  switch (v.type()) {
    case DataType::Null:
      break;
    case DataType::Boolean:
      out += v.asBool() ? '\1' : '\0';
      break;
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
    case DataType::Currency:
      put(out, v.asInt());
      break;
    case DataType::Single:
    case DataType::Double:
    case DataType::DateTime:
      put(out, v.asDouble());
      break;
    case DataType::Text:
    case DataType::Memo:
      putSized(out, v.asText().data(), v.asText().size());
      break;
    case DataType::Binary:
    case DataType::LongBinary:
      putSized(out, v.asBytes().data(), v.asBytes().size());
      break;
    case DataType::Guid:
      out.append(reinterpret_cast<const char*>(v.asGuid().bytes.data()), 16);
      break;
    case DataType::Decimal: {
      const Decimal& d = v.asDecimal();
      put(out, d.magnitude);
      out += static_cast<char>(d.precision);
      out += static_cast<char>(d.scale);
      out += d.negative ? '\1' : '\0';
      break;
    }
  }
}

Value unpackValue(const char*& at) {
  const auto type = static_cast<DataType>(*at++);
  switch (type) {
    case DataType::Null:
      return Value();
    case DataType::Boolean:
      return Value::boolean(*at++ != 0);
    case DataType::Byte:
      return Value::byte(static_cast<uint8_t>(take<int64_t>(at)));
    case DataType::Integer:
      return Value::integer(static_cast<int16_t>(take<int64_t>(at)));
    case DataType::Long:
      return Value::longInt(static_cast<int32_t>(take<int64_t>(at)));
    case DataType::Currency:
      return Value::currency(take<int64_t>(at));
    case DataType::Single:
      return Value::single(static_cast<float>(take<double>(at)));
    case DataType::Double:
      return Value::dbl(take<double>(at));
    case DataType::DateTime:
      return Value::dateTime(take<double>(at));
    case DataType::Text:
      return Value::text(std::string(takeSized(at)));
    case DataType::Memo:
      return Value::memo(std::string(takeSized(at)));
    case DataType::Binary:
    case DataType::LongBinary: {
      std::string_view b = takeSized(at);
      Bytes bytes(b.begin(), b.end());
      return type == DataType::Binary ? Value::binary(std::move(bytes)) : Value::longBinary(std::move(bytes));
    }
    case DataType::Guid: {
      Guid g;
      std::memcpy(g.bytes.data(), at, 16);
      at += 16;
      return Value::guid(g);
    }
    case DataType::Decimal: {
      Decimal d;
      d.magnitude = take<unsigned __int128>(at);
      d.precision = static_cast<uint8_t>(*at++);
      d.scale = static_cast<uint8_t>(*at++);
      d.negative = *at++ != 0;
      return Value::decimal(d);
    }
  }
  return Value();
}

}  // namespace jet::sql
