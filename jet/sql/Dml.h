// The statements that change rows: DELETE, UPDATE, INSERT (VALUES or SELECT)
// and SELECT ... INTO. Each first decides every row it will touch (reading
// the whole source) and only then writes, so a statement never sees its own
// changes; the session runs it inside a transaction level of its own.
#pragma once

#include <cstdint>

#include "jet/sql/Ast.h"
#include "jet/storage/Store.h"

namespace jet::sql {

// Each returns the number of rows affected.
int64_t runDelete(storage::Store& store, const ast::DeleteStmt& stmt);
int64_t runUpdate(storage::Store& store, const ast::UpdateStmt& stmt);
int64_t runInsert(storage::Store& store, const ast::InsertStmt& stmt);
// Creates `query.parts[0].into` with columns typed from the query's output
// (no indexes, no auto-numbers) and fills it.
int64_t runSelectInto(storage::Store& store, const ast::Query& query);

}  // namespace jet::sql
