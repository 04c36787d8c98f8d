// Which columns of a table a statement may read, found from its text before
// binding, so that a scan decodes only those. It errs on the side of reading
// more: every name anywhere in the expressions counts, subqueries included
// (a correlated one names the outer table's columns the same way), and a
// star at the level of the scanned table means every column.
#pragma once

#include <string>
#include <vector>

#include "jet/sql/Ast.h"
#include "jet/storage/Store.h"

namespace jet::sql {

class ColumnUse {
 public:
  // Names in an expression, its subqueries' whole text included.
  void addExpr(const ast::Expr& e);
  // A query nested inside: its names count, its stars do not (they are its own).
  void addNested(const ast::Query& q);
  // The TRANSFORM value, the pivot and its headings.
  void addCrosstab(const ast::Crosstab& crosstab);
  void addAll() { all_ = true; }

  // One flag per column of `schema`, or empty when every column is needed.
  std::vector<bool> wanted(const storage::TableSchema& schema) const;

 private:
  void addCore(const ast::SelectCore& core);
  void addSource(const ast::TableRef& ref);

  bool all_ = false;
  std::vector<std::string> names_;
};

// For a SELECT core reading one stored table: the columns it uses, through
// its select list, WHERE, GROUP BY, HAVING, a crosstab's TRANSFORM and PIVOT
// and the query's ORDER BY.
ColumnUse columnsOfCore(const ast::SelectCore& core, const std::vector<ast::OrderItem>* order);

}  // namespace jet::sql
