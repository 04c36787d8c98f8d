#include "jet/storage/Store.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
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

void Table::forEachRowId(const std::function<void(RowId)>& visit) {
  auto cursor = scan(std::vector<bool>(schema().columns.size(), false));
  while (cursor->next()) visit(cursor->rowId());
}

void Table::insertRows(std::span<Row> rows) {
  for (Row& row : rows) insert(row);
}

void Table::removeRows(std::span<const RowId> ids) {
  for (RowId id : ids) remove(id);
}

bool isSystemTableName(const std::string& name) {
  static constexpr std::string_view kPrefix = "MSys";
  return name.size() >= kPrefix.size() && equalsIgnoreCase(name.substr(0, kPrefix.size()), kPrefix);
}

bool isSystemTable(const std::string& name, ObjectKind kind) {
  return kind == ObjectKind::SystemTable || kind == ObjectKind::AccessTable || isSystemTableName(name);
}

bool isSystemTable(Store& store, const std::string& name) {
  if (isSystemTableName(name)) return true;
  for (const CatalogEntry& o : store.objects())
    if (equalsIgnoreCase(o.name, name)) return isSystemTable(o.name, o.kind);
  return false;
}

void refuseSystemTable(Store& store, const std::string& name) {
  std::string stored = name;  // the catalogue's spelling, when it has the table
  bool system = isSystemTableName(name);
  for (const CatalogEntry& o : store.objects()) {
    if (!equalsIgnoreCase(o.name, name)) continue;
    stored = o.name;
    system = system || isSystemTable(o.name, o.kind);
  }
  if (system) throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(stored));
}

}  // namespace jet::storage
