#include "jet/ado/Query.h"

#include <optional>
#include <regex>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Session.h"

namespace jet::ado {

namespace {

// The table behind a plain "select * from [name]" (or an unbracketed name),
// the only shape whose rows can be written back cell by cell.
std::optional<std::string> plainTableOf(const std::string& sql) {
  static const std::regex bracketed(R"(^\s*select\s+\*\s+from\s+\[([^\]]+)\]\s*;?\s*$)", std::regex::icase);
  static const std::regex bare(R"(^\s*select\s+\*\s+from\s+([^\s\[\];,()]+)\s*;?\s*$)", std::regex::icase);
  std::smatch m;
  if (std::regex_match(sql, m, bracketed) || std::regex_match(sql, m, bare)) return m[1].str();
  return std::nullopt;
}

}  // namespace

Query::Query(Connection& connection) : connection_(connection) {
  listenerToken_ = connection_.addCloseListener([this] { close(); });
}

Query::~Query() {
  connection_.removeCloseListener(listenerToken_);
}

void Query::open() {
  close();
  sql::ExecResult r = connection_.session().execute(sql_);
  if (!r.returnsRows) throw SqlError(ErrorCode::Invalid, msg::notRowReturning());
  fields_.clear();
  for (const sql::ResultField& f : r.result.fields) fields_.push_back({f.name, f.type, f.size});
  rows_ = std::move(r.result.rows);
  active_ = true;
}

int64_t Query::execSql() {
  close();
  sql::ExecResult r = connection_.session().execute(sql_);
  return r.rowsAffected;
}

void Query::close() {
  active_ = false;
  fields_.clear();
  rows_.clear();
  rows_.shrink_to_fit();
}

int64_t Query::recordCount() const {
  if (!active_) throw Error(ErrorCode::Invalid, msg::closedDataSet());
  return static_cast<int64_t>(rows_.size());
}

void Query::updateCell(size_t row, size_t field, const Value& value) {
  if (!active_) throw Error(ErrorCode::Invalid, msg::closedDataSet());
  if (row >= rows_.size() || field >= fields_.size())
    throw Error(ErrorCode::Invalid, msg::corrupt("row or field"));
  std::optional<std::string> tableName = plainTableOf(sql_);
  storage::Store& store = connection_.store();
  std::shared_ptr<storage::Table> table = tableName ? store.openTable(*tableName) : nullptr;
  if (!table || table->schema().columns.size() != fields_.size())
    throw Error(ErrorCode::ReadOnly, msg::writeNotSupported("this result cannot be edited"));

  const storage::TableSchema& schema = table->schema();
  std::vector<int> match;  // columns that identify the row
  for (const storage::IndexDef& ix : schema.indexes)
    if (ix.primaryKey)
      for (const storage::IndexColumn& c : ix.columns) match.push_back(c.column);
  if (match.empty())
    for (size_t i = 0; i < schema.columns.size(); ++i) match.push_back(static_cast<int>(i));

  const Row& cached = rows_[row];
  // Among rows equal on the matching columns, the cached row's ordinal picks one.
  size_t ordinal = 0;
  for (size_t r = 0; r < row; ++r) {
    bool same = true;
    for (int c : match) same = same && rows_[r][c] == cached[c];
    if (same) ++ordinal;
  }

  store.begin();
  try {
    auto cursor = table->scan();
    bool found = false;
    while (cursor->next()) {
      bool same = true;
      for (int c : match) same = same && cursor->row()[c] == cached[c];
      if (!same) continue;
      if (ordinal-- > 0) continue;
      Row updated = cursor->row();
      updated[field] = value;
      table->update(cursor->rowId(), updated);
      found = true;
      break;
    }
    if (!found) throw Error(ErrorCode::Invalid, msg::rowChanged(schema.name));
    store.commit();
  } catch (...) {
    store.rollback();
    throw;
  }
  rows_[row][field] = value;
}

}  // namespace jet::ado
