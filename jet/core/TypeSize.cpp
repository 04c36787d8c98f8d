#include "jet/core/TypeSize.h"

namespace jet {

uint16_t fixedSizeOf(DataType type) {
  switch (type) {
    case DataType::Boolean:
    case DataType::Byte:
      return 1;
    case DataType::Integer:
      return 2;
    case DataType::Long:
    case DataType::Single:
      return 4;
    case DataType::Currency:
    case DataType::Double:
    case DataType::DateTime:
      return 8;
    case DataType::Guid:
      return 16;
    case DataType::Decimal:
      return 17;
    default:
      return 0;
  }
}

}  // namespace jet
