// Name resolution: turns AST expressions into bound expressions over a scope
// (the columns a FROM clause produces, and the scopes of enclosing queries
// for correlated subqueries), checks aggregates and grouping, infers static
// result types and names unnamed output columns the way Jet does (Expr1000,
// Expr1001, ... by position in the select list).
//
// An unknown name does not stop binding: Jet treats it as a parameter with no
// value, so all of them are collected and reported together as "too few
// parameters" once the statement is bound.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jet/sql/Ast.h"
#include "jet/sql/Eval.h"
#include "jet/sql/HashAggregate.h"

namespace jet::sql {

struct Scope {
  std::vector<ColumnInfo> columns;
  const Scope* outer = nullptr;
  bool* correlated = nullptr;  // set when a name is found in an enclosing scope
};

// The state of binding the select list, HAVING and ORDER BY of a grouped
// query: expressions there are evaluated on the aggregate's output row (group
// keys, then aggregate results).
struct Grouping {
  const Scope* input = nullptr;
  std::vector<BoundPtr> keys;  // bound over input rows
  std::vector<AggSpec> aggs;
  Scope post;  // what a subquery sees of the grouped row
};

class SubqueryPlanner {
 public:
  virtual ~SubqueryPlanner() = default;
  virtual OperatorPtr planSubquery(const ast::Query& query, const Scope* outer, bool* correlated) = 0;
  // The columns the FROM clause of `core` produces (sources without joins only).
  virtual std::optional<Scope> fromScope(const ast::SelectCore& core) = 0;
};

class Binder {
 public:
  explicit Binder(SubqueryPlanner& planner) : planner_(planner) {}

  // `clause` names the clause for messages ("WHERE", "SELECT", ...).
  BoundPtr bind(const ast::Expr& e, const Scope& scope, const std::string& clause);
  BoundPtr bindGrouped(const ast::Expr& e, Grouping& g, const std::string& clause);
  // Binds without side effects; null when a name does not resolve in `scope`
  // alone or the expression holds a subquery.
  BoundPtr tryBind(const ast::Expr& e, const Scope& scope);
  // A column of the grouped row standing for input column `slot`, or an error.
  BoundPtr groupedColumn(int slot, const ColumnInfo& info, Grouping& g);

  // Throws tooFewParameters when names were unknown.
  void checkUnknown() const;
  bool hasUnknown() const { return !unknown_.empty(); }
  void noteUnknown(const std::string& name);

  static bool containsAggregate(const ast::Expr& e);
  static std::string outputName(const ast::SelectItem& item, size_t position);
  static BoundPtr columnRef(int depth, int slot, const ColumnInfo& info);
  static BoundPtr conjunction(std::vector<BoundPtr> parts);

 private:
  struct ProbeFailed {};
  BoundPtr node(const ast::Expr& e, const Scope* scope, Grouping* g, const std::string& clause);
  BoundPtr columnNode(const ast::Expr& e, const Scope& scope);
  BoundPtr aggregateNode(const ast::Expr& e, Grouping* g, const std::string& clause);
  std::shared_ptr<Subquery> subquery(const ast::Expr& e, const Scope* scope, Grouping* g, bool oneColumn);
  // EXISTS whose correlation is only equalities inner = outer: the subquery
  // runs once into a hash set of the inner sides; null when not of that form.
  BoundPtr hashedExists(const ast::Expr& e, const Scope& scope);

  SubqueryPlanner& planner_;
  std::vector<std::string> unknown_;
  int probing_ = 0;
};

}  // namespace jet::sql
