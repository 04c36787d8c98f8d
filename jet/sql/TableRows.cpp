#include "jet/sql/TableRows.h"

#include <limits>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet::sql {

namespace {

// Whether the table still has the columns the result was opened with.
bool sameColumns(const storage::TableSchema& schema, const std::vector<ResultField>& fields) {
  if (schema.columns.size() != fields.size()) return false;
  for (size_t i = 0; i < fields.size(); ++i)
    if (schema.columns[i].name != fields[i].name || schema.columns[i].type != fields[i].type) return false;
  return true;
}

}  // namespace

TableRows::TableRows(storage::Store& store, std::shared_ptr<storage::Table> table,
                     std::vector<ResultField> fields)
    : StaticResult(std::move(fields)),
      store_(store),
      table_(std::move(table)),
      name_(table_->schema().name),
      columnCount_(table_->schema().columns.size()) {
  changesSeen_ = store_.changeCount();
  collectIds();
}

void TableRows::collectIds() {
  narrow_ = {};
  wide_ = {};
  if (!table_) return;
  // The count the definition records is a good guess and saves regrowing.
  narrow_.reserve(static_cast<size_t>(std::min<uint64_t>(table_->rowCount(), uint64_t{1} << 28)));
  CancelPoint cancel;
  table_->forEachRowId([&](storage::RowId id) {
    cancel.check();
    if (wide_.empty() && id <= std::numeric_limits<uint32_t>::max()) {
      narrow_.push_back(static_cast<uint32_t>(id));
      return;
    }
    if (wide_.empty()) {
      wide_.assign(narrow_.begin(), narrow_.end());
      narrow_ = {};
    }
    wide_.push_back(id);
  });
  // A definition that counted too many leaves room nobody will use.
  if (narrow_.capacity() - narrow_.size() > narrow_.size() / 8 + 1024) narrow_.shrink_to_fit();
}

void TableRows::revalidate() {
  if (store_.changeCount() == changesSeen_) return;
  forgetDecodedRows();
  // The ids go first: whatever happens next, none of them is used again.
  narrow_ = {};
  wide_ = {};
  changesSeen_ = store_.changeCount();
  table_ = store_.openTable(name_);
  if (table_ && !sameColumns(table_->schema(), fields())) table_.reset();
  collectIds();
  changesSeen_ = store_.changeCount();
}

uint64_t TableRows::rowCount() {
  storage::ReadGuard reading(store_);
  revalidate();
  return size();
}

uint64_t TableRows::knownRowCount() {
  revalidate();
  return size();
}

void TableRows::readRows(uint64_t first, size_t count, std::vector<Row>& out) {
  storage::ReadGuard reading(store_);
  // Another process may have changed the file since the ids were taken.
  revalidate();
  const uint64_t end = std::min<uint64_t>(first + count, size());
  for (uint64_t p = first; p < end; ++p) out.push_back(table_->fetch(idAt(p)));
}

void TableRows::setId(uint64_t position, storage::RowId id) {
  if (wide_.empty() && id <= std::numeric_limits<uint32_t>::max()) {
    narrow_[position] = static_cast<uint32_t>(id);
    return;
  }
  if (wide_.empty()) {
    wide_.assign(narrow_.begin(), narrow_.end());
    narrow_ = {};
  }
  wide_[position] = id;
}

void TableRows::updateCell(uint64_t position, size_t column, const Value& value) {
  storage::ReadGuard reading(store_);
  if (store_.changeCount() != changesSeen_) {
    // What the user edited was read before the change: show the table as it
    // is now rather than write into a row that may not be the one seen.
    revalidate();
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  if (position >= size()) throw Error(ErrorCode::Invalid, msg::noSuchRecord(position, size()));
  if (column >= columnCount_)
    throw Error(ErrorCode::Invalid, msg::corrupt("field " + std::to_string(column)));
  // A fresh handle: a write may leave state in the handle it went through.
  std::shared_ptr<storage::Table> table = store_.openTable(name_);
  if (!table) throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  const storage::RowId id = idAt(position);
  const uint64_t before = store_.changeCount();
  store_.begin();
  storage::RowId moved = id;
  try {
    Row updated = table->fetch(id);
    updated.at(column) = value;
    moved = table->update(id, updated);
    store_.commit();
  } catch (...) {
    store_.rollback();
    // Undone to exactly what the ids were taken from: they still hold.
    if (before == changesSeen_) changesSeen_ = store_.changeCount();
    throw;
  }
  forgetDecodedRow(position);
  setId(position, moved);
  changesSeen_ = store_.changeCount();
}

}  // namespace jet::sql
