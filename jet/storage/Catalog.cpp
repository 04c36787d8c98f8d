#include "jet/storage/Catalog.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/storage/CatalogValues.h"
#include "jet/storage/JetTable.h"

namespace jet::storage {

std::vector<CatalogObject> readCatalog(const std::shared_ptr<JetContext>& context) {
  auto objects = std::make_shared<JetTable>(context, kCatalogTable, kCatalogPage);
  const TableSchema& s = objects->schema();
  int idCol = s.findColumn("Id"), parentCol = s.findColumn("ParentId"), nameCol = s.findColumn("Name"),
      typeCol = s.findColumn("Type"), flagsCol = s.findColumn("Flags");
  if (idCol < 0 || parentCol < 0 || nameCol < 0 || typeCol < 0 || flagsCol < 0) {
    throw StorageError(ErrorCode::Corrupt, msg::corruptCatalog(kCatalogTable));
  }

  struct Raw {
    CatalogObject object;
    int32_t parent;
  };
  std::vector<Raw> raws;
  std::optional<int32_t> tablesContainer;
  auto cursor = objects->scan();
  while (cursor->next()) {
    const Row& r = cursor->row();
    if (!r[nameCol].isText()) continue;
    Raw raw;
    raw.object.name = r[nameCol].asText();
    raw.object.id = static_cast<int32_t>(integerOr(r[idCol], 0));
    raw.object.type = static_cast<int16_t>(integerOr(r[typeCol], 0));
    raw.object.flags = static_cast<uint32_t>(integerOr(r[flagsCol], 0));
    raw.parent = static_cast<int32_t>(integerOr(r[parentCol], 0));
    // The container of tables and queries is named "Tables" and is a child of
    // the database's own container (the one whose parent is not in the table).
    if (raw.object.name == "Tables" && raw.object.type == 3) tablesContainer = raw.object.id;
    raws.push_back(std::move(raw));
  }

  std::vector<CatalogObject> out;
  for (auto& raw : raws) {
    if (tablesContainer && raw.parent != *tablesContainer) continue;
    CatalogObject& o = raw.object;
    switch (o.type & 0x7fff) {
      case kObjectTable:
        o.kind = (o.flags & kAccessSystemObject) ? ObjectKind::AccessTable
                 : (o.flags & kSystemObject)     ? ObjectKind::SystemTable
                                                 : ObjectKind::Table;
        break;
      case kObjectQuery:
        o.kind = ObjectKind::Procedure;
        break;
      case kObjectLinkedTable:
      case kObjectLinkedOdbc:
        o.kind = ObjectKind::LinkedTable;
        break;
      default:
        continue;
    }
    out.push_back(std::move(o));
  }
  return out;
}

}  // namespace jet::storage
