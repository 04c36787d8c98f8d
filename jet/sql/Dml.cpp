#include "jet/sql/Dml.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/Eval.h"
#include "jet/sql/Planner.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

namespace {

std::shared_ptr<storage::Table> openTarget(storage::Store& store, const std::string& name) {
  if (auto t = store.openTable(name)) return t;
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
  if (col.type == DataType::Text && col.size > 0 && !out.isNull() && utf8Length(out.asText()) > col.size)
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
  std::vector<storage::RowId> ids;
  auto cursor = table->scan();
  while (cursor->next()) {
    EvalContext ctx{&cursor->row(), nullptr};
    if (!where || evaluatesTrue(*where, ctx)) ids.push_back(cursor->rowId());
  }
  cursor.reset();
  for (storage::RowId id : ids) table->remove(id);
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
  while (cursor->next()) {
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
  for (const auto& [id, row] : changes) table->update(id, row);
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
  for (const Row& src : sourceRows) {
    Row row(schema.columns.size());
    for (size_t i = 0; i < targets.size(); ++i) {
      const storage::ColumnDef& col = schema.columns[static_cast<size_t>(targets[i])];
      row[static_cast<size_t>(targets[i])] = storedValue(src[i], col, schema.name);
    }
    table->insert(row);
  }
  return static_cast<int64_t>(sourceRows.size());
}

int64_t runSelectInto(storage::Store& store, const ast::Query& query) {
  const std::string& target = query.parts[0].into;
  if (target.empty()) throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("INTO", "[]"));
  if (store.openTable(target) || store.querySql(target))
    throw SqlError(ErrorCode::TableExists, msg::tableExists(target));
  Planner planner(store);
  OperatorPtr op = planner.planQuery(query);
  planner.finish();
  std::vector<Row> rows = drain(*op);

  storage::TableSchema schema;
  schema.name = target;
  const auto& columns = op->columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    const ColumnInfo& c = columns[i];
    storage::ColumnDef d;
    d.name = c.name;
    d.type = c.type == DataType::Null ? DataType::Text : c.type;
    switch (d.type) {
      case DataType::Text: {
        // Computed text longer than a Text column holds becomes Memo.
        size_t longest = 0;
        for (const Row& r : rows)
          if (r[i].isText()) longest = std::max(longest, utf8Length(r[i].asText()));
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
      }
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
    if (schema.findColumn(d.name) >= 0)
      throw SqlError(ErrorCode::FieldExists, msg::fieldExists(target, d.name));
    schema.columns.push_back(d);
  }
  store.createTable(schema);
  auto table = store.openTable(target);
  for (const Row& src : rows) {
    Row row(schema.columns.size());
    for (size_t i = 0; i < row.size(); ++i) row[i] = storedValue(src[i], schema.columns[i], target);
    table->insert(row);
  }
  return static_cast<int64_t>(rows.size());
}

}  // namespace jet::sql
