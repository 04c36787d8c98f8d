// Recursive-descent parser for the Jet SQL the engine accepts: SELECT (with
// joins, derived tables, grouping, UNION, TOP, INTO), crosstabs (TRANSFORM
// ... PIVOT), INSERT, UPDATE, DELETE, the DDL statements and transaction
// verbs. Errors name the clause in which the parser stopped. Nesting is
// bounded so hostile input gets a syntax error instead of exhausting the
// stack.
#pragma once

#include <string>

#include "jet/sql/Ast.h"

namespace jet::sql {

ast::Statement parseStatement(const std::string& sql);
// A saved query's text: must be a SELECT or a crosstab.
std::shared_ptr<ast::Query> parseQuery(const std::string& sql);

}  // namespace jet::sql
