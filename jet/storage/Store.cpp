#include "jet/storage/Store.h"

#include "jet/core/Text.h"

namespace jet::storage {

int TableSchema::findColumn(const std::string& name) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (equalsIgnoreCase(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

std::unique_ptr<RowCursor> Table::scan(const std::vector<bool>&) {
  return scan();
}

void Table::insertRows(std::span<Row> rows) {
  for (Row& row : rows) insert(row);
}

void Table::removeRows(std::span<const RowId> ids) {
  for (RowId id : ids) remove(id);
}

}  // namespace jet::storage
