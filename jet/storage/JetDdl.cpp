// Data definition on Jet files: CREATE/DROP TABLE, ALTER TABLE ADD/DROP
// COLUMN and CREATE/DROP INDEX. Each runs in a transaction level of its
// own, so a failure leaves nothing behind. A change to an existing table's
// layout rebuilds it: a new table of the new schema takes the rows, the old
// one is dropped and the new one takes its name.
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/FreePageMap.h"
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

format::IndexPageLayout indexLayoutOf(const format::Layout& layout) {
  return layout.jet3 ? format::IndexPageLayout::jet3() : format::IndexPageLayout::jet4();
}

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

// Every page a table owns alone: its definition chain, data pages, index
// trees, the pages of its reference maps, the page of its map rows when no
// other map lives there, and the LVAL pages only its values use. Sorted,
// each page once.
std::vector<uint32_t> ownedPages(file::PageFile& f, const format::Layout& layout, JetTable& table) {
  const format::TableDefinition& def = table.definition();
  std::vector<uint32_t> owned = table.longValuePagesOwned();
  // A damaged file may chain back to a page already seen: that is corruption, not a loop.
  std::set<uint32_t> seen;
  auto visit = [&](uint32_t p) {
    if (!seen.insert(p).second) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(p));
    owned.push_back(p);
  };
  for (uint32_t p = def.page; p != 0;) {
    visit(p);
    auto page = f.read(p);
    p = file::getU32(page->data() + layout.tdefNextPageOffset);
  }
  format::UsageMap used(f, layout, def.usedPagesPointer);
  while (auto p = used.next()) owned.push_back(*p);
  auto indexLayout = indexLayoutOf(layout);
  std::vector<uint32_t> maps{def.usedPagesPointer};
  if (def.freePagesPointer != 0) maps.push_back(def.freePagesPointer);
  for (const auto& phys : def.physicalIndexes) {
    maps.push_back(phys.usedPagesPointer);
    std::vector<uint32_t> todo{phys.firstPage};
    while (!todo.empty()) {
      uint32_t p = todo.back();
      todo.pop_back();
      if (p == 0) continue;
      visit(p);
      format::IndexPage ip = format::decodeIndexPage(*f.read(p), indexLayout, p);
      if (ip.leaf) continue;
      for (const auto& e : ip.entries) todo.push_back(e.childPage);
      todo.push_back(ip.tailPage);
    }
  }
  std::sort(maps.begin(), maps.end());
  maps.erase(std::unique(maps.begin(), maps.end()), maps.end());
  for (uint32_t pointer : maps) {
    auto pages = format::usageMapPages(f, layout, pointer);
    owned.insert(owned.end(), pages.begin(), pages.end());
  }
  // The rows' page goes too when every row on it is one of these maps.
  const uint32_t mapPage = format::RowPointer::decode(def.usedPagesPointer).page;
  format::DataPage rows(layout, f.read(mapPage), mapPage);
  bool alone = mapPage >= format::kFirstFreeablePage && rows.rowCount() > 0;
  for (unsigned r = 0; alone && r < rows.rowCount(); ++r)
    alone = std::binary_search(maps.begin(), maps.end(),
                               format::RowPointer{mapPage, static_cast<uint8_t>(r)}.encode());
  if (alone) owned.push_back(mapPage);
  std::sort(owned.begin(), owned.end());
  owned.erase(std::unique(owned.begin(), owned.end()), owned.end());
  return owned;
}

// A read-only file is refused before anything else is looked at.
void requireWritable(file::PageFile& f) {
  if (f.readOnly()) throw StorageError(ErrorCode::ReadOnly, msg::readOnlyFile(f.name()));
}

}  // namespace

void JetDatabase::createTable(const TableSchema& schema) {
  file::PageFile& f = *context_->file;
  requireWritable(f);
  loadQueries();
  if (find(schema.name)) throw StorageError(ErrorCode::TableExists, msg::tableExists(schema.name));
  format::TableDefinition def = planTableDefinition(schema, context_->layout);
  const format::Layout& layout = context_->layout;
  if (!context_->text.ucs2) requireNamesInCodePage(schema, context_->text.codePage);

  inTransaction(*this, [&] {
    size_t n =
        format::pagesNeeded(format::encodeTableDefinition(def, layout, context_->text.codePage), layout);
    std::vector<uint32_t> tdefPages;
    for (size_t i = 0; i < n; ++i) tdefPages.push_back(context_->allocatePage());
    const uint32_t tdef = tdefPages.front();

    // One page for the table's usage maps: its own pages, its free space, and each index's pages.
    const uint32_t mapPage = context_->allocatePage();
    std::vector<std::vector<uint8_t>> maps;
    // Each map grows into a reference map in place when its window is too narrow.
    maps.push_back(format::UsageMap::encodeInline(mapPage + 1, {}, layout.inlineMapBytes));
    maps.push_back(format::UsageMap::encodeInline(mapPage + 1, {}, layout.inlineMapBytes));
    def.usedPagesPointer = format::RowPointer{mapPage, 0}.encode();
    def.freePagesPointer = format::RowPointer{mapPage, 1}.encode();
    auto indexLayout = indexLayoutOf(layout);
    for (size_t i = 0; i < def.physicalIndexes.size(); ++i) {
      uint32_t root = context_->allocatePage();
      format::IndexPage empty;
      empty.tdefPage = tdef;
      f.write(root, format::encodeIndexPage(empty, indexLayout));
      def.physicalIndexes[i].firstPage = root;
      maps.push_back(format::UsageMap::encodeInline(root, {root}, layout.inlineMapBytes));
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
  requireWritable(f);
  loadQueries();
  const CatalogObject* o = find(name);
  if (!o) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
  if (o->type == kObjectQuery) throw StorageError(ErrorCode::Invalid, msg::cannotDropQuery(o->name));
  if (o->kind != ObjectKind::Table || isSystemTable(o->name, o->kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(o->name));
  const int32_t id = o->id;
  const uint32_t tdef = o->tdefPage();

  inTransaction(*this, [&] {
    std::vector<uint32_t> owned;
    {
      auto table = std::make_shared<JetTable>(context_, o->name, tdef);
      owned = ownedPages(f, context_->layout, *table);
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
    // Freed pages hold nothing of the table any more.
    std::vector<uint8_t> blank(f.pageSize(), 0);
    for (uint32_t p : owned) f.write(p, blank);
    context_->freePages(owned);
    catalog_ = readCatalog(context_);
  });
}

namespace {
// The name a table carries while it is being rebuilt; never a name a user can type (a '!' is refused).
std::string rebuildName(uint32_t tdef) {
  return "~TMP" + std::to_string(tdef);
}
}  // namespace

void JetDatabase::rebuildTable(const std::string& name, const TableSchema& schema,
                               const std::function<Row(const Row&, uint64_t)>& mapRow) {
  const CatalogObject* o = find(name);
  if (!o || o->type == kObjectQuery) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
  if (o->kind != ObjectKind::Table || isSystemTable(o->name, o->kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(o->name));
  const std::string finalName = o->name;
  const uint32_t oldTdef = o->tdefPage();
  inTransaction(*this, [&] {
    TableSchema temporary = schema;
    temporary.name = rebuildName(oldTdef);
    // Planned under the real name first, so that errors name the user's table.
    TableSchema check = schema;
    check.name = finalName;
    planTableDefinition(check, context_->layout);
    if (!context_->text.ucs2) requireNamesInCodePage(check, context_->text.codePage);
    createTable(temporary);
    auto from = std::make_shared<JetTable>(context_, finalName, oldTdef);
    auto to = openTable(temporary.name);
    auto cursor = from->scan();
    uint64_t index = 0;
    while (cursor->next()) {
      Row row = mapRow(cursor->row(), index++);
      to->insert(row);
    }
    cursor.reset();
    to.reset();
    dropTable(finalName);
    // The new table takes the old name in its catalogue row.
    const CatalogObject* fresh = find(temporary.name);
    if (!fresh) throw StorageError(ErrorCode::Corrupt, msg::corruptCatalog(kCatalogTable));
    const int32_t id = fresh->id;
    auto catalog = std::make_shared<JetTable>(context_, kCatalogTable, kCatalogPage);
    auto rows = catalog->scan();
    std::optional<RowId> at;
    Row renamed;
    while (rows->next()) {
      const Value& v = rows->row()[kCatalogIdColumn];
      if (v.isIntegral() && v.asInt() == id) {
        at = rows->rowId();
        renamed = rows->row();
      }
    }
    rows.reset();
    if (!at) throw StorageError(ErrorCode::Corrupt, msg::corruptCatalog(kCatalogTable));
    renamed[2] = Value::text(finalName);
    catalog->update(*at, renamed);
    catalog_ = readCatalog(context_);
  });
}

void JetDatabase::addColumn(const std::string& table, const ColumnDef& column) {
  requireWritable(*context_->file);
  auto t = openTable(table);
  if (!t) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(table));
  refuseSystemTable(*this, table);
  TableSchema schema = t->schema();
  if (schema.findColumn(column.name) >= 0)
    throw StorageError(ErrorCode::FieldExists, msg::fieldExists(schema.name, column.name));
  if (column.required && !column.autoNumber && t->rowCount() > 0)
    throw StorageError(ErrorCode::NullInRequired, msg::requiredFieldOnRows(schema.name, column.name));
  schema.columns.push_back(column);
  const bool counter = column.autoNumber && column.type == DataType::Long;
  t.reset();
  // A new COUNTER numbers the existing rows 1..n in the order they are stored.
  rebuildTable(table, schema, [counter](const Row& row, uint64_t index) {
    Row out = row;
    out.push_back(counter ? Value::longInt(static_cast<int32_t>(index + 1)) : Value());
    return out;
  });
}

void JetDatabase::dropColumn(const std::string& table, const std::string& column) {
  requireWritable(*context_->file);
  auto t = openTable(table);
  if (!t) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(table));
  refuseSystemTable(*this, table);
  TableSchema schema = t->schema();
  t.reset();
  int position = schema.findColumn(column);
  if (position < 0) throw StorageError(ErrorCode::NoSuchField, msg::noSuchField(schema.name, column));
  for (const auto& ix : schema.indexes)
    for (const auto& c : ix.columns)
      if (c.column == position)
        throw StorageError(
            ErrorCode::Invalid,
            msg::fieldInIndex(schema.name, schema.columns[static_cast<size_t>(position)].name, ix.name));
  schema.columns.erase(schema.columns.begin() + position);
  for (auto& ix : schema.indexes)
    for (auto& c : ix.columns)
      if (c.column > position) --c.column;
  rebuildTable(table, schema, [position](const Row& row, uint64_t) {
    Row out = row;
    out.erase(out.begin() + position);
    return out;
  });
}

void JetDatabase::createIndex(const std::string& table, const IndexDef& index) {
  requireWritable(*context_->file);
  auto t = openTable(table);
  if (!t) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(table));
  refuseSystemTable(*this, table);
  TableSchema schema = t->schema();
  t.reset();
  for (const auto& ix : schema.indexes)
    if (equalsIgnoreCase(ix.name, index.name))
      throw StorageError(ErrorCode::IndexExists, msg::indexExists(schema.name, index.name));
  schema.indexes.push_back(index);
  rebuildTable(table, schema, [](const Row& row, uint64_t) { return row; });
}

void JetDatabase::dropIndex(const std::string& table, const std::string& index) {
  requireWritable(*context_->file);
  auto t = openTable(table);
  if (!t) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(table));
  refuseSystemTable(*this, table);
  TableSchema schema = t->schema();
  t.reset();
  auto it = std::find_if(schema.indexes.begin(), schema.indexes.end(),
                         [&](const IndexDef& ix) { return equalsIgnoreCase(ix.name, index); });
  if (it == schema.indexes.end())
    throw StorageError(ErrorCode::NoSuchIndex, msg::noSuchIndex(schema.name, index));
  schema.indexes.erase(it);
  rebuildTable(table, schema, [](const Row& row, uint64_t) { return row; });
}

}  // namespace jet::storage
