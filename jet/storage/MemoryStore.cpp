#include "jet/storage/MemoryStore.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::storage {

namespace {

bool keyEquals(const Value& a, const Value& b) {
  if (a.isText() && b.isText()) return equalsIgnoreCase(a.asText(), b.asText());
  if (a.isNumeric() && b.isNumeric() && a.type() != b.type()) return a.toDouble() == b.toDouble();
  return a == b;
}

void checkIndexes(MemoryStore::TableData& t, const Row& row, RowId self) {
  for (const IndexDef& ix : t.schema.indexes) {
    if (!ix.unique && !ix.primaryKey) continue;
    bool anyNull = false;
    for (const IndexColumn& c : ix.columns) anyNull |= row[c.column].isNull();
    if (anyNull && ix.primaryKey)
      throw StorageError(ErrorCode::NullInRequired,
                         msg::nullInRequired(t.schema.name, t.schema.columns[ix.columns[0].column].name));
    if (anyNull && ix.ignoreNulls) continue;
    for (const auto& [id, other] : t.rows) {
      if (id == self) continue;
      bool same = true;
      for (const IndexColumn& c : ix.columns) same = same && keyEquals(row[c.column], other[c.column]);
      if (same) throw StorageError(ErrorCode::DuplicateKey, msg::duplicateKey(t.schema.name, ix.name));
    }
  }
  for (size_t i = 0; i < t.schema.columns.size(); ++i)
    if (t.schema.columns[i].required && !t.schema.columns[i].autoNumber && row[i].isNull())
      throw StorageError(ErrorCode::NullInRequired, msg::nullInRequired(t.schema.name, t.schema.columns[i].name));
}

class MemoryCursor : public RowCursor {
 public:
  MemoryCursor(MemoryStore& store, std::string key) : store_(store), key_(std::move(key)) {}
  bool next() override {
    auto& rows = store_.tableData(key_).rows;
    auto it = started_ ? rows.upper_bound(id_) : rows.begin();
    started_ = true;
    if (it == rows.end()) return false;
    id_ = it->first;
    row_ = it->second;
    return true;
  }
  const Row& row() const override { return row_; }
  RowId rowId() const override { return id_; }

 private:
  MemoryStore& store_;
  std::string key_;
  bool started_ = false;
  RowId id_ = 0;
  Row row_;
};

class MemoryTable : public Table {
 public:
  MemoryTable(MemoryStore& store, std::string key) : store_(store), key_(std::move(key)) {
    schema_ = data().schema;
  }
  const TableSchema& schema() const override { return schema_; }
  uint64_t rowCount() const override { return store_.tableData(key_).rows.size(); }
  std::unique_ptr<RowCursor> scan() override { return std::make_unique<MemoryCursor>(store_, key_); }
  Row fetch(RowId id) override {
    auto& rows = data().rows;
    auto it = rows.find(id);
    if (it == rows.end()) throw StorageError(ErrorCode::Invalid, msg::corrupt("row id"));
    return it->second;
  }
  RowId insert(Row& row) override {
    requireUserTable();
    auto& t = data();
    row.resize(t.schema.columns.size());
    for (size_t i = 0; i < t.schema.columns.size(); ++i) {
      const ColumnDef& c = t.schema.columns[i];
      if (c.autoNumber && c.type == DataType::Long) {
        if (row[i].isNull()) {
          row[i] = Value::longInt(t.nextAutoNumber++);
        } else if (row[i].asInt() >= t.nextAutoNumber) {
          t.nextAutoNumber = static_cast<int32_t>(row[i].asInt()) + 1;
        }
      }
    }
    checkIndexes(t, row, 0);
    store_.noteChange();
    RowId id = t.nextRowId++;
    t.rows[id] = row;
    return id;
  }
  void remove(RowId id) override {
    requireUserTable();
    if (data().rows.erase(id) == 0) throw StorageError(ErrorCode::Invalid, msg::corrupt("row id"));
    store_.noteChange();
  }
  RowId update(RowId id, const Row& row) override {
    requireUserTable();
    auto& t = data();
    auto it = t.rows.find(id);
    if (it == t.rows.end()) throw StorageError(ErrorCode::Invalid, msg::corrupt("row id"));
    checkIndexes(t, row, id);
    store_.noteChange();
    it->second = row;
    return id;
  }

 private:
  MemoryStore::TableData& data() { return store_.tableData(key_); }
  void requireUserTable() {
    if (isSystemTable(schema_.name, data().kind))
      throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(schema_.name));
  }
  MemoryStore& store_;
  std::string key_;
  TableSchema schema_;
};

}  // namespace

MemoryStore::TableData& MemoryStore::tableData(const std::string& key) {
  auto it = state_.tables.find(key);
  if (it == state_.tables.end()) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(key));
  return it->second;
}

bool MemoryStore::nameTaken(const std::string& key) const {
  return state_.tables.count(key) != 0 || state_.queries.count(key) != 0;
}

void MemoryStore::addQuery(const std::string& name, const std::string& sql, ObjectKind kind) {
  state_.queries[foldCase(name)] = QueryData{name, sql, kind};
}

void MemoryStore::addSystemTable(const TableSchema& schema) {
  createTable(schema);
  state_.tables[foldCase(schema.name)].kind = ObjectKind::SystemTable;
}

std::vector<CatalogEntry> MemoryStore::objects() {
  std::vector<CatalogEntry> out;
  for (const auto& [key, t] : state_.tables) out.push_back({t.schema.name, t.kind});
  for (const auto& [key, q] : state_.queries) out.push_back({q.name, q.kind});
  return out;
}

std::shared_ptr<Table> MemoryStore::openTable(const std::string& name) {
  std::string key = foldCase(name);
  if (state_.tables.count(key) == 0) return nullptr;
  return std::make_shared<MemoryTable>(*this, key);
}

std::optional<std::string> MemoryStore::querySql(const std::string& name) {
  auto it = state_.queries.find(foldCase(name));
  if (it == state_.queries.end()) return std::nullopt;
  return it->second.sql;
}

void MemoryStore::createTable(const TableSchema& schema) {
  std::string key = foldCase(schema.name);
  if (nameTaken(key)) throw StorageError(ErrorCode::TableExists, msg::tableExists(schema.name));
  TableData t;
  t.schema = schema;
  state_.tables[key] = std::move(t);
  noteChange();
}

void MemoryStore::dropTable(const std::string& name) {
  std::string key = foldCase(name);
  if (state_.queries.count(key)) throw StorageError(ErrorCode::Invalid, msg::cannotDropQuery(name));
  auto it = state_.tables.find(key);
  if (it == state_.tables.end()) throw StorageError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
  if (isSystemTable(it->second.schema.name, it->second.kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(it->second.schema.name));
  state_.tables.erase(it);
  noteChange();
}

void MemoryStore::addColumn(const std::string& table, const ColumnDef& column) {
  TableData& t = tableData(foldCase(table));
  if (isSystemTable(t.schema.name, t.kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(t.schema.name));
  if (t.schema.findColumn(column.name) >= 0)
    throw StorageError(ErrorCode::FieldExists, msg::fieldExists(table, column.name));
  if (column.required && !column.autoNumber && !t.rows.empty())
    throw StorageError(ErrorCode::NullInRequired, msg::nullInRequired(table, column.name));
  t.schema.columns.push_back(column);
  noteChange();
  int32_t n = 1;
  for (auto& [id, row] : t.rows) {
    if (column.autoNumber && column.type == DataType::Long)
      row.push_back(Value::longInt(n++));
    else
      row.push_back(Value());
  }
  if (column.autoNumber) t.nextAutoNumber = n;
}

void MemoryStore::dropColumn(const std::string& table, const std::string& column) {
  TableData& t = tableData(foldCase(table));
  if (isSystemTable(t.schema.name, t.kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(t.schema.name));
  int pos = t.schema.findColumn(column);
  if (pos < 0) throw StorageError(ErrorCode::NoSuchField, msg::tooFewParameters(1, column));
  for (const IndexDef& ix : t.schema.indexes)
    for (const IndexColumn& c : ix.columns)
      if (c.column == pos) throw StorageError(ErrorCode::Invalid, msg::noSuchIndex(table, ix.name));
  t.schema.columns.erase(t.schema.columns.begin() + pos);
  noteChange();
  for (IndexDef& ix : t.schema.indexes)
    for (IndexColumn& c : ix.columns)
      if (c.column > pos) --c.column;
  for (auto& [id, row] : t.rows) row.erase(row.begin() + pos);
}

void MemoryStore::createIndex(const std::string& table, const IndexDef& index) {
  TableData& t = tableData(foldCase(table));
  if (isSystemTable(t.schema.name, t.kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(t.schema.name));
  for (const IndexDef& ix : t.schema.indexes)
    if (equalsIgnoreCase(ix.name, index.name))
      throw StorageError(ErrorCode::IndexExists, msg::indexExists(table, index.name));
  TableData trial = t;
  trial.schema.indexes.push_back(index);
  trial.rows.clear();
  for (const auto& [id, row] : t.rows) {
    checkIndexes(trial, row, 0);
    trial.rows[id] = row;
  }
  t.schema.indexes.push_back(index);
}

void MemoryStore::dropIndex(const std::string& table, const std::string& index) {
  TableData& t = tableData(foldCase(table));
  if (isSystemTable(t.schema.name, t.kind))
    throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(t.schema.name));
  for (size_t i = 0; i < t.schema.indexes.size(); ++i) {
    if (equalsIgnoreCase(t.schema.indexes[i].name, index)) {
      t.schema.indexes.erase(t.schema.indexes.begin() + static_cast<long>(i));
      return;
    }
  }
  throw StorageError(ErrorCode::NoSuchIndex, msg::noSuchIndex(table, index));
}

void MemoryStore::begin() { savepoints_.push_back(state_); }

void MemoryStore::commit() {
  if (savepoints_.empty()) throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  savepoints_.pop_back();
}

void MemoryStore::rollback() {
  if (savepoints_.empty()) throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  state_ = std::move(savepoints_.back());
  savepoints_.pop_back();
  noteChange();
}

}  // namespace jet::storage
