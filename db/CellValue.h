// Reading a value typed into a grid cell as a value of the field's type, so
// that an edit is written back as the column's own kind of value.
#pragma once

#include <string>

#include "jet/core/Value.h"

namespace qm::db {

// Empty text is Null. Throws jet::Error (TypeMismatch) naming the field when
// the text is not a value of that type.
jet::Value cellValue(const std::string& text, jet::DataType type, const std::string& field);

}  // namespace qm::db
