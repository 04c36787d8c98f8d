#include "jet/sql/Dml.h"

#include <algorithm>
#include <optional>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/ColumnUse.h"
#include "jet/sql/Eval.h"
#include "jet/sql/Planner.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

namespace {

// Rows handed to the table at a time: many per page write, few in memory.
constexpr size_t kInsertBatch = 2048;

std::shared_ptr<storage::Table> openTarget(storage::Store& store, const std::string& name) {
  if (auto t = store.openTable(name)) {
    // Refused before any row is read, so that a statement matching no rows is refused too.
    storage::refuseSystemTable(store, name);
    return t;
  }
  if (store.querySql(name)) throw SqlError(ErrorCode::Invalid, msg::notUpdatable(name));
  throw SqlError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
}

Scope tableScope(const storage::Table& table, const std::string& label) {
  Scope s;
  for (const storage::ColumnDef& c : table.schema().columns)
    s.columns.push_back({label, c.name, c.type, c.size, c.precision, c.scale});
  return s;
}

// A value as the column stores it.
Value storedValue(const Value& v, const storage::ColumnDef& col, const std::string& table) {
  std::string where = table + "." + col.name;
  Value out = convertTo(v, col.type, where);
  if (col.type == DataType::Text && col.size > 0 && !out.isNull() && utf16Length(out.asText()) > col.size)
    throw SqlError(ErrorCode::Invalid, msg::valueTooLong(table, col.name));
  if (col.type == DataType::Binary && col.size > 0 && !out.isNull() && out.asBytes().size() > col.size)
    throw SqlError(ErrorCode::Invalid, msg::valueTooLong(table, col.name));
  return out;
}

std::vector<Row> drain(Operator& op) {
  std::vector<Row> rows;
  op.open(nullptr);
  Row r;
  while (op.next(r)) rows.push_back(r);
  return rows;
}

}  // namespace

int64_t runDelete(storage::Store& store, const ast::DeleteStmt& stmt) {
  auto table = openTarget(store, stmt.table);
  Planner planner(store);
  Scope scope = tableScope(*table, stmt.table);
  BoundPtr where = stmt.where ? planner.binder().bind(*stmt.where, scope, "WHERE") : nullptr;
  planner.finish();
  // All victims first: the WHERE clause (and its subqueries) sees the table unchanged.
  // Only the columns the clause names are decoded.
  ColumnUse use;
  if (stmt.where) use.addExpr(*stmt.where);
  std::vector<bool> wanted = use.wanted(table->schema());
  std::vector<storage::RowId> ids;
  auto cursor = table->scan(wanted);
  CancelPoint cancel;
  while (cursor->next()) {
    cancel.check();
    EvalContext ctx{&cursor->row(), nullptr};
    if (!where || evaluatesTrue(*where, ctx)) ids.push_back(cursor->rowId());
  }
  cursor.reset();
  table->removeRows(ids);
  return static_cast<int64_t>(ids.size());
}

int64_t runUpdate(storage::Store& store, const ast::UpdateStmt& stmt) {
  auto table = openTarget(store, stmt.table);
  const storage::TableSchema& schema = table->schema();
  Planner planner(store);
  Scope scope = tableScope(*table, stmt.table);
  std::vector<std::pair<int, BoundPtr>> sets;
  for (const ast::Assignment& a : stmt.set) {
    int col = schema.findColumn(a.column);
    if (col < 0) planner.binder().noteUnknown(a.column);
    sets.emplace_back(col, planner.binder().bind(*a.value, scope, "UPDATE"));
  }
  BoundPtr where = stmt.where ? planner.binder().bind(*stmt.where, scope, "WHERE") : nullptr;
  planner.finish();
  std::vector<std::pair<storage::RowId, Row>> changes;
  auto cursor = table->scan();
  CancelPoint cancel;
  while (cursor->next()) {
    cancel.check();
    const Row& row = cursor->row();
    EvalContext ctx{&row, nullptr};
    if (where && !evaluatesTrue(*where, ctx)) continue;
    Row updated = row;
    for (const auto& [col, expr] : sets)
      updated[static_cast<size_t>(col)] =
          storedValue(evaluate(*expr, ctx), schema.columns[static_cast<size_t>(col)], schema.name);
    changes.emplace_back(cursor->rowId(), std::move(updated));
  }
  cursor.reset();
  for (const auto& [id, row] : changes) {
    cancel.check();
    table->update(id, row);
  }
  return static_cast<int64_t>(changes.size());
}

int64_t runInsert(storage::Store& store, const ast::InsertStmt& stmt) {
  auto table = openTarget(store, stmt.table);
  const storage::TableSchema& schema = table->schema();
  std::vector<int> targets;
  if (stmt.columns.empty()) {
    for (size_t i = 0; i < schema.columns.size(); ++i) targets.push_back(static_cast<int>(i));
  } else {
    for (const std::string& name : stmt.columns) {
      int col = schema.findColumn(name);
      if (col < 0) throw SqlError(ErrorCode::NoSuchField, msg::unknownInsertField(name));
      targets.push_back(col);
    }
  }
  Planner planner(store);
  std::vector<Row> sourceRows;
  if (stmt.select) {
    OperatorPtr op = planner.planQuery(*stmt.select);
    planner.finish();
    if (op->columns().size() != targets.size()) throw SqlError(ErrorCode::Invalid, msg::valueCountMismatch());
    // Read the whole source first: it may be the target itself.
    sourceRows = drain(*op);
  } else {
    Scope empty;
    std::vector<std::vector<BoundPtr>> exprs;
    for (const auto& row : stmt.values) {
      if (row.size() != targets.size()) throw SqlError(ErrorCode::Invalid, msg::valueCountMismatch());
      std::vector<BoundPtr> bound;
      for (const ast::ExprPtr& e : row) bound.push_back(planner.binder().bind(*e, empty, "VALUES"));
      exprs.push_back(std::move(bound));
    }
    planner.finish();
    Row none;
    EvalContext ctx{&none, nullptr};
    for (const auto& bound : exprs) {
      Row r;
      for (const BoundPtr& b : bound) r.push_back(evaluate(*b, ctx));
      sourceRows.push_back(std::move(r));
    }
  }
  std::vector<Row> batch;
  CancelPoint cancel;
  for (const Row& src : sourceRows) {
    cancel.check();
    Row row(schema.columns.size());
    for (size_t i = 0; i < targets.size(); ++i) {
      const storage::ColumnDef& col = schema.columns[static_cast<size_t>(targets[i])];
      row[static_cast<size_t>(targets[i])] = storedValue(src[i], col, schema.name);
    }
    batch.push_back(std::move(row));
    if (batch.size() == kInsertBatch) {
      table->insertRows(batch);
      batch.clear();
    }
  }
  table->insertRows(batch);
  return static_cast<int64_t>(sourceRows.size());
}

namespace {

// The column SELECT ... INTO makes for a result column; `longest` is the
// longest text it will hold, in UTF-16 code units (what a text size counts).
storage::ColumnDef intoColumn(const ColumnInfo& c, size_t longest) {
  storage::ColumnDef d;
  d.name = c.name;
  d.type = c.type == DataType::Null ? DataType::Text : c.type;
  switch (d.type) {
    case DataType::Text:
      // Computed text longer than a Text column holds becomes Memo.
      d.size = c.size ? c.size : 255;
      if (longest > d.size) {
        if (longest > 255) {
          d.type = DataType::Memo;
          d.size = 0;
        } else {
          d.size = 255;
        }
      }
      d.compressedUnicode = true;
      break;
    case DataType::Memo:
    case DataType::LongBinary:
      d.size = 0;
      break;
    case DataType::Binary:
      d.size = c.size ? c.size : 255;
      break;
    case DataType::Decimal:
      d.size = 17;
      d.precision = c.precision ? c.precision : 18;
      d.scale = c.scale;
      break;
    default:
      d.size = c.size;
      break;
  }
  if (d.size == 0 && d.type != DataType::Memo && d.type != DataType::LongBinary) {
    static const std::pair<DataType, uint16_t> sizes[] = {
        {DataType::Boolean, 1}, {DataType::Byte, 1},     {DataType::Integer, 2},
        {DataType::Long, 4},    {DataType::Currency, 8}, {DataType::Single, 4},
        {DataType::Double, 8},  {DataType::DateTime, 8}, {DataType::Guid, 16}};
    for (const auto& [t, n] : sizes)
      if (t == d.type) d.size = n;
  }
  return d;
}

storage::TableSchema intoSchema(const std::string& target, const std::vector<ColumnInfo>& columns,
                                const std::vector<size_t>& longest) {
  storage::TableSchema schema;
  schema.name = target;
  for (size_t i = 0; i < columns.size(); ++i) {
    storage::ColumnDef d = intoColumn(columns[i], longest[i]);
    if (schema.findColumn(d.name) >= 0)
      throw SqlError(ErrorCode::FieldExists, msg::fieldExists(target, d.name));
    schema.columns.push_back(d);
  }
  return schema;
}

// Whether every text value of `row` fits the column made for it.
bool fitsColumns(const Row& row, const storage::TableSchema& schema) {
  for (size_t i = 0; i < row.size(); ++i) {
    const storage::ColumnDef& d = schema.columns[i];
    if (d.type == DataType::Text && row[i].isText() && utf16Length(row[i].asText()) > d.size) return false;
  }
  return true;
}

// Creates the table and fills it from `next`, in batches. Returns the rows
// written, or nothing as soon as a row does not fit its columns (the caller
// then undoes the level the table was made in).
template <typename Next>
std::optional<int64_t> fillInto(storage::Store& store, const storage::TableSchema& schema, bool checkFit,
                                Next&& next) {
  store.createTable(schema);
  auto table = store.openTable(schema.name);
  std::vector<Row> batch;
  int64_t count = 0;
  Row src;
  CancelPoint cancel;
  while (next(src)) {
    cancel.check();
    if (checkFit && !fitsColumns(src, schema)) return std::nullopt;
    Row row(schema.columns.size());
    for (size_t i = 0; i < row.size(); ++i) row[i] = storedValue(src[i], schema.columns[i], schema.name);
    batch.push_back(std::move(row));
    ++count;
    if (batch.size() == kInsertBatch) {
      table->insertRows(batch);
      batch.clear();
    }
  }
  table->insertRows(batch);
  return count;
}

}  // namespace

int64_t runSelectInto(storage::Store& store, const ast::Query& query) {
  const std::string& target = query.parts[0].into;
  if (target.empty()) throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("INTO", "[]"));
  // A new table of a reserved name would be one nothing could change or drop.
  storage::refuseSystemTable(store, target);
  if (store.openTable(target) || store.querySql(target))
    throw SqlError(ErrorCode::TableExists, msg::tableExists(target));
  Planner planner(store);
  OperatorPtr op = planner.planQuery(query);
  planner.finish();
  const std::vector<ColumnInfo>& columns = op->columns();

  // Streamed with the columns the source declares, so that memory does not
  // grow with the row count. A computed text longer than its declared size
  // needs a wider column: then the rows are gathered and measured first.
  {
    storage::TableSchema schema = intoSchema(target, columns, std::vector<size_t>(columns.size(), 0));
    store.begin();
    std::optional<int64_t> written;
    try {
      op->open(nullptr);
      written = fillInto(store, schema, true, [&](Row& r) { return op->next(r); });
    } catch (...) {
      store.rollback();
      throw;
    }
    if (written) {
      store.commit();
      return *written;
    }
    store.rollback();
  }
  std::vector<Row> rows = drain(*op);
  std::vector<size_t> longest(columns.size(), 0);
  for (const Row& r : rows)
    for (size_t i = 0; i < r.size(); ++i)
      if (r[i].isText()) longest[i] = std::max(longest[i], utf16Length(r[i].asText()));
  storage::TableSchema schema = intoSchema(target, columns, longest);
  size_t at = 0;
  return *fillInto(store, schema, false, [&](Row& r) {
    if (at == rows.size()) return false;
    r = std::move(rows[at++]);
    return true;
  });
}

}  // namespace jet::sql
