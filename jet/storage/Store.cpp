#include "jet/storage/Store.h"

#include "jet/core/Text.h"

namespace jet::storage {

int TableSchema::findColumn(const std::string& name) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (equalsIgnoreCase(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

}  // namespace jet::storage
