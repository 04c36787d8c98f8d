#include "jet/sql/Ddl.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::sql {

namespace {

std::shared_ptr<storage::Table> existingTable(storage::Store& store, const std::string& name) {
  auto t = store.openTable(name);
  if (!t) throw SqlError(ErrorCode::NoSuchTable, msg::noSuchTable(name));
  storage::refuseSystemTable(store, name);
  return t;
}

int columnIndex(const storage::TableSchema& schema, const std::string& name) {
  int c = schema.findColumn(name);
  if (c < 0) throw SqlError(ErrorCode::NoSuchField, msg::tooFewParameters(1, name));
  return c;
}

storage::IndexDef keyIndex(const std::string& name, std::vector<int> columns, bool primary) {
  storage::IndexDef ix;
  ix.name = name;
  for (int c : columns) ix.columns.push_back({c, true});
  ix.primaryKey = primary;
  ix.unique = true;
  ix.required = primary;
  return ix;
}

}  // namespace

void runCreateTable(storage::Store& store, const ast::CreateTableStmt& stmt) {
  // A table of a reserved name would be one nothing could change or drop.
  storage::refuseSystemTable(store, stmt.table);
  storage::TableSchema schema;
  schema.name = stmt.table;
  for (const ast::ColumnSpec& spec : stmt.columns) {
    if (schema.findColumn(spec.def.name) >= 0)
      throw SqlError(ErrorCode::FieldExists, msg::fieldExists(stmt.table, spec.def.name));
    schema.columns.push_back(spec.def);
  }
  for (size_t i = 0; i < stmt.columns.size(); ++i) {
    const ast::ColumnSpec& spec = stmt.columns[i];
    int col = static_cast<int>(i);
    if (spec.primaryKey) {
      schema.columns[i].required = true;
      schema.indexes.push_back(
          keyIndex(spec.constraintName.empty() ? "PrimaryKey" : spec.constraintName, {col}, true));
    } else if (spec.unique) {
      schema.indexes.push_back(
          keyIndex(spec.constraintName.empty() ? spec.def.name : spec.constraintName, {col}, false));
    }
  }
  for (const ast::TableConstraint& c : stmt.constraints) {
    std::vector<int> cols;
    for (const std::string& name : c.columns) {
      int col = columnIndex(schema, name);
      cols.push_back(col);
      if (c.primaryKey) schema.columns[static_cast<size_t>(col)].required = true;
    }
    std::string name = c.name.empty() ? (c.primaryKey ? "PrimaryKey" : c.columns[0]) : c.name;
    schema.indexes.push_back(keyIndex(name, cols, c.primaryKey));
  }
  for (size_t i = 0; i < schema.indexes.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (equalsIgnoreCase(schema.indexes[i].name, schema.indexes[j].name))
        throw SqlError(ErrorCode::IndexExists, msg::indexExists(stmt.table, schema.indexes[i].name));
  store.createTable(schema);
}

void runDropTable(storage::Store& store, const ast::DropTableStmt& stmt) {
  store.dropTable(stmt.table);
}

void runAlterAddColumn(storage::Store& store, const ast::AlterAddColumnStmt& stmt) {
  auto table = existingTable(store, stmt.table);
  storage::ColumnDef def = stmt.column.def;
  if (stmt.column.primaryKey) def.required = true;
  store.addColumn(stmt.table, def);
  if (stmt.column.primaryKey || stmt.column.unique) {
    auto reopened = existingTable(store, stmt.table);
    int col = columnIndex(reopened->schema(), def.name);
    std::string name = stmt.column.constraintName.empty() ? (stmt.column.primaryKey ? "PrimaryKey" : def.name)
                                                          : stmt.column.constraintName;
    store.createIndex(stmt.table, keyIndex(name, {col}, stmt.column.primaryKey));
  }
}

void runAlterDropColumn(storage::Store& store, const ast::AlterDropColumnStmt& stmt) {
  auto table = existingTable(store, stmt.table);
  columnIndex(table->schema(), stmt.column);
  store.dropColumn(stmt.table, stmt.column);
}

void runCreateIndex(storage::Store& store, const ast::CreateIndexStmt& stmt) {
  auto table = existingTable(store, stmt.table);
  storage::IndexDef ix;
  ix.name = stmt.name;
  for (const auto& [name, ascending] : stmt.columns)
    ix.columns.push_back({columnIndex(table->schema(), name), ascending});
  ix.primaryKey = stmt.primary;
  ix.unique = stmt.unique || stmt.primary;
  ix.ignoreNulls = stmt.ignoreNulls;
  ix.required = stmt.disallowNull || stmt.primary;
  store.createIndex(stmt.table, ix);
}

void runDropIndex(storage::Store& store, const ast::DropIndexStmt& stmt) {
  existingTable(store, stmt.table);
  store.dropIndex(stmt.table, stmt.name);
}

}  // namespace jet::sql
