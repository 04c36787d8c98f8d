// Data definition on Jet 4 files: CREATE TABLE and DROP TABLE. Each runs in
// a transaction level of its own, so a failure leaves nothing behind.
#include <functional>
#include <memory>
#include <optional>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/IndexPage.h"
#include "jet/format/UsageMap.h"
#include "jet/storage/DdlPlan.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "jet/storage/NewDatabase.h"

namespace jet::storage {

namespace {

constexpr int32_t kTablesContainerId = 0x0f000001;
const Bytes kAccessOwner = {0xa6, 0x33};
constexpr int kCatalogIdColumn = 0;
// Bytes of bitmap in each new inline usage map (512 pages; the map grows into a reference map in place).
constexpr size_t kNewMapBytes = 64;

// Runs `work` in a transaction level of `db`: committed when it returns, rolled back when it throws.
void inTransaction(Store& db, const std::function<void()>& work) {
  db.begin();
  try {
    work();
  } catch (...) {
    db.rollback();
    throw;
  }
  db.commit();
}

Row catalogRow(int32_t id, const std::string& name, double now) {
  Row r(17);
  r[0] = Value::longInt(id);
  r[1] = Value::longInt(kTablesContainerId);
  r[2] = Value::text(name);
  r[3] = Value::integer(kObjectTable);
  r[4] = Value::dateTime(now);
  r[5] = Value::dateTime(now);
  r[6] = Value::binary(kAccessOwner);
  r[7] = Value::longInt(0);
  return r;
}

}  // namespace

void JetDatabase::createTable(const TableSchema& schema) {
  file::PageFile& f = *context_->file;
  if (f.readOnly()) throw StorageError(ErrorCode::ReadOnly, msg::readOnlyFile(f.name()));
  if (f.isJet3()) throw StorageError(ErrorCode::Unsupported, msg::jet3WriteNotSupported(f.name()));
  loadQueries();
  if (find(schema.name)) throw StorageError(ErrorCode::TableExists, msg::tableExists(schema.name));
  format::TableDefinition def = planTableDefinition(schema, context_->layout);
  const format::Layout& layout = context_->layout;

  inTransaction(*this, [&] {
    size_t n =
        format::pagesNeeded(format::encodeTableDefinition(def, layout, context_->text.codePage), layout);
    std::vector<uint32_t> tdefPages;
    for (size_t i = 0; i < n; ++i) tdefPages.push_back(f.allocate());
    const uint32_t tdef = tdefPages.front();

    // One page for the table's usage maps: its own pages, its free space, and each index's pages.
    const uint32_t mapPage = f.allocate();
    std::vector<std::vector<uint8_t>> maps;
    maps.push_back(format::UsageMap::encodeInline(mapPage + 1, {}, kNewMapBytes));
    maps.push_back(format::UsageMap::encodeInline(mapPage + 1, {}, kNewMapBytes));
    def.usedPagesPointer = format::RowPointer{mapPage, 0}.encode();
    def.freePagesPointer = format::RowPointer{mapPage, 1}.encode();
    auto indexLayout = format::IndexPageLayout::jet4();
    for (size_t i = 0; i < def.physicalIndexes.size(); ++i) {
      uint32_t root = f.allocate();
      format::IndexPage empty;
      empty.tdefPage = tdef;
      f.write(root, format::encodeIndexPage(empty, indexLayout));
      def.physicalIndexes[i].firstPage = root;
      maps.push_back(format::UsageMap::encodeInline(root, {root}, kNewMapBytes));
      def.physicalIndexes[i].usedPagesPointer =
          format::RowPointer{mapPage, static_cast<uint8_t>(maps.size() - 1)}.encode();
    }
    f.write(mapPage, format::DataPage::build(layout, 0, maps));
    auto pages = format::splitTableDefinition(
        format::encodeTableDefinition(def, layout, context_->text.codePage), layout, tdefPages);
    for (size_t i = 0; i < pages.size(); ++i) f.write(tdefPages[i], pages[i]);

    auto catalog = std::make_shared<JetTable>(context_, kCatalogTable, kCatalogPage);
    Row row = catalogRow(static_cast<int32_t>(tdef), schema.name, jetNow());
    catalog->insert(row);
    catalog_ = readCatalog(context_);
  });
}

void JetDatabase::dropTable(const std::string& name) {
  file::PageFile& f = *context_->file;
  loadQueries();
  const CatalogObject* o = find(name);
  if (!o) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
  if (o->type == kObjectQuery) throw StorageError(ErrorCode::Invalid, msg::cannotDropQuery(o->name));
  if (o->kind != ObjectKind::Table)
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(o->name));
  if (f.readOnly()) throw StorageError(ErrorCode::ReadOnly, msg::readOnlyFile(f.name()));
  if (f.isJet3()) throw StorageError(ErrorCode::Unsupported, msg::jet3WriteNotSupported(f.name()));
  const int32_t id = o->id;
  const uint32_t tdef = o->tdefPage();

  inTransaction(*this, [&] {
    // The pages the table owned: its definition chain, data pages and index trees.
    std::vector<uint32_t> owned;
    {
      auto table = std::make_shared<JetTable>(context_, o->name, tdef);
      const format::TableDefinition& def = table->definition();
      for (uint32_t p = tdef; p != 0;) {
        owned.push_back(p);
        auto page = f.read(p);
        p = file::getU32(page->data() + context_->layout.tdefNextPageOffset);
      }
      format::UsageMap used(f, context_->layout, def.usedPagesPointer);
      while (auto p = used.next()) owned.push_back(*p);
      auto indexLayout = format::IndexPageLayout::jet4();
      for (const auto& phys : def.physicalIndexes) {
        std::vector<uint32_t> todo{phys.firstPage};
        while (!todo.empty()) {
          uint32_t p = todo.back();
          todo.pop_back();
          if (p == 0) continue;
          owned.push_back(p);
          format::IndexPage ip = format::decodeIndexPage(*f.read(p), indexLayout, p);
          if (ip.leaf) continue;
          for (const auto& e : ip.entries) todo.push_back(e.childPage);
          todo.push_back(ip.tailPage);
        }
      }
    }
    auto catalog = std::make_shared<JetTable>(context_, kCatalogTable, kCatalogPage);
    auto cursor = catalog->scan();
    std::optional<RowId> row;
    while (cursor->next()) {
      const Value& v = cursor->row()[kCatalogIdColumn];
      if (v.isIntegral() && v.asInt() == id) row = cursor->rowId();
    }
    if (!row) throw StorageError(ErrorCode::Corrupt, msg::corruptCatalog(kCatalogTable));
    cursor.reset();
    catalog->remove(*row);
    // Freed pages hold nothing of the table any more; the file's tail shrinks only when compacted.
    std::vector<uint8_t> blank(f.pageSize(), 0);
    for (uint32_t p : owned) f.write(p, blank);
    catalog_ = readCatalog(context_);
  });
}

}  // namespace jet::storage
