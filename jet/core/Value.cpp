#include "jet/core/Value.h"

#include <cmath>

namespace jet {

const char* dataTypeName(DataType t) {
  switch (t) {
    case DataType::Null: return "Null";
    case DataType::Boolean: return "Boolean";
    case DataType::Byte: return "Byte";
    case DataType::Integer: return "Integer";
    case DataType::Long: return "Long";
    case DataType::Currency: return "Currency";
    case DataType::Single: return "Single";
    case DataType::Double: return "Double";
    case DataType::DateTime: return "DateTime";
    case DataType::Binary: return "Binary";
    case DataType::Text: return "Text";
    case DataType::LongBinary: return "LongBinary";
    case DataType::Memo: return "Memo";
    case DataType::Guid: return "Guid";
    case DataType::Decimal: return "Decimal";
  }
  return "Unknown";
}

bool Value::isIntegral() const {
  switch (type_) {
    case DataType::Boolean:
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
    case DataType::Currency: return true;
    default: return false;
  }
}

bool Value::isNumeric() const {
  switch (type_) {
    case DataType::Boolean:
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
    case DataType::Currency:
    case DataType::Single:
    case DataType::Double:
    case DataType::DateTime:
    case DataType::Decimal: return true;
    default: return false;
  }
}

double Value::toDouble() const {
  switch (type_) {
    case DataType::Boolean: return asBool() ? -1.0 : 0.0;
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long: return static_cast<double>(asInt());
    case DataType::Currency: return static_cast<double>(asInt()) / 10000.0;
    case DataType::Single:
    case DataType::Double:
    case DataType::DateTime: return asDouble();
    case DataType::Decimal: {
      const Decimal& d = asDecimal();
      double v = static_cast<double>(d.magnitude) / std::pow(10.0, d.scale);
      return d.negative ? -v : v;
    }
    default: return 0.0;
  }
}

}  // namespace jet
