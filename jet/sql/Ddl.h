// Data definition: CREATE / DROP TABLE, ALTER TABLE ADD / DROP COLUMN,
// CREATE / DROP INDEX, translated to the Store's calls.
#pragma once

#include "jet/sql/Ast.h"
#include "jet/storage/Store.h"

namespace jet::sql {

void runCreateTable(storage::Store& store, const ast::CreateTableStmt& stmt);
void runDropTable(storage::Store& store, const ast::DropTableStmt& stmt);
void runAlterAddColumn(storage::Store& store, const ast::AlterAddColumnStmt& stmt);
void runAlterDropColumn(storage::Store& store, const ast::AlterDropColumnStmt& stmt);
void runCreateIndex(storage::Store& store, const ast::CreateIndexStmt& stmt);
void runDropIndex(storage::Store& store, const ast::DropIndexStmt& stmt);

}  // namespace jet::sql
