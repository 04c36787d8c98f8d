// Builds the operator tree of a query: sources (tables, saved queries and
// derived tables), hash joins on the equalities of ON or WHERE, filters,
// grouping, crosstabs, the select list, DISTINCT, ORDER BY, TOP and UNION.
#pragma once

#include <string>
#include <vector>

#include "jet/sql/Ast.h"
#include "jet/sql/Binder.h"
#include "jet/sql/Operator.h"
#include "jet/sql/PivotColumns.h"
#include "jet/storage/Store.h"

namespace jet::sql {

class Planner : public SubqueryPlanner {
 public:
  explicit Planner(storage::Store& store) : store_(store), binder_(*this) {}

  // The operator's columns are the query's visible output, named as Jet names them.
  OperatorPtr planQuery(const ast::Query& query, const Scope* outer = nullptr, bool* correlated = nullptr);
  OperatorPtr planSubquery(const ast::Query& query, const Scope* outer, bool* correlated) override {
    return planQuery(query, outer, correlated);
  }
  std::optional<Scope> fromScope(const ast::SelectCore& core) override;
  Binder& binder() { return binder_; }
  // Reports names that did not resolve (Jet's "too few parameters").
  void finish() const { binder_.checkUnknown(); }

 private:
  OperatorPtr planCore(const ast::SelectCore& core, const std::vector<ast::OrderItem>* order,
                       const Scope* outer, bool* correlated);
  // The columns of a crosstab: its IN list, else the pivot's values among
  // the rows, read now. `rowHeadings` columns come before them.
  PivotColumns pivotColumns(const ast::SelectCore& core, size_t rowHeadings);
  OperatorPtr planSource(const ast::TableRef& ref, const Scope* outer, bool* correlated);
  OperatorPtr planNamed(const ast::TableRef& ref);
  // Joins two inputs; equalities between them among `conjuncts` become hash
  // keys and are removed; with `allConjuncts` the rest is the join's residual.
  OperatorPtr join(ast::JoinType type, OperatorPtr left, OperatorPtr right,
                   std::vector<const ast::Expr*>& conjuncts, bool allConjuncts, const Scope* outer,
                   bool* correlated);

  // Moves the conjuncts of WHERE that read one source of a comma join onto
  // that source, so each source is filtered before it is joined.
  void pushDownConjuncts(std::vector<OperatorPtr>& sources, std::vector<const ast::Expr*>& where,
                         const Scope* outer, bool* correlated);

  storage::Store& store_;
  Binder binder_;
  std::vector<std::string> openQueries_;  // saved queries being expanded, to catch cycles
  int depth_ = 0;
};

}  // namespace jet::sql
