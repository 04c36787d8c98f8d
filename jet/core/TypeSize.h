// Bytes a value of each fixed-size Jet type takes in a row (0 for the
// variable-length types). One table for the SQL layer's result types and the
// storage layer's table layouts.
#pragma once

#include <cstdint>

#include "jet/core/Value.h"

namespace jet {

uint16_t fixedSizeOf(DataType type);

}  // namespace jet
