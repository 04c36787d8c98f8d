#include "jet/sql/ColumnUse.h"

#include "jet/core/Text.h"

namespace jet::sql {

void ColumnUse::addExpr(const ast::Expr& e) {
  if (e.kind == ast::ExprKind::Column) names_.push_back(e.name);
  for (const ast::ExprPtr& a : e.args)
    if (a) addExpr(*a);
  if (e.subquery) addNested(*e.subquery);
}

void ColumnUse::addNested(const ast::Query& q) {
  for (const ast::SelectCore& core : q.parts) addCore(core);
  for (const ast::OrderItem& o : q.orderBy)
    if (o.expr) addExpr(*o.expr);
}

void ColumnUse::addCore(const ast::SelectCore& core) {
  for (const ast::SelectItem& item : core.items)
    if (item.expr) addExpr(*item.expr);
  if (core.top && core.top->count) addExpr(*core.top->count);
  for (const auto& ref : core.from)
    if (ref) addSource(*ref);
  if (core.where) addExpr(*core.where);
  for (const ast::ExprPtr& g : core.groupBy)
    if (g) addExpr(*g);
  if (core.having) addExpr(*core.having);
  if (core.crosstab) addCrosstab(*core.crosstab);
}

void ColumnUse::addCrosstab(const ast::Crosstab& crosstab) {
  addExpr(*crosstab.value);
  addExpr(*crosstab.pivot);
  for (const ast::ExprPtr& h : crosstab.headings) addExpr(*h);
}

void ColumnUse::addSource(const ast::TableRef& ref) {
  if (ref.derived) addNested(*ref.derived);
  if (ref.left) addSource(*ref.left);
  if (ref.right) addSource(*ref.right);
  if (ref.on) addExpr(*ref.on);
}

std::vector<bool> ColumnUse::wanted(const storage::TableSchema& schema) const {
  if (all_) return {};
  std::vector<bool> flags(schema.columns.size(), false);
  for (const std::string& n : names_) {
    for (size_t i = 0; i < schema.columns.size(); ++i)
      if (equalsIgnoreCase(schema.columns[i].name, n)) flags[i] = true;
  }
  return flags;
}

ColumnUse columnsOfCore(const ast::SelectCore& core, const std::vector<ast::OrderItem>* order) {
  ColumnUse use;
  for (const ast::SelectItem& item : core.items) {
    if (item.star || !item.expr) {
      use.addAll();
      continue;
    }
    use.addExpr(*item.expr);
  }
  if (core.top && core.top->count) use.addExpr(*core.top->count);
  if (core.where) use.addExpr(*core.where);
  for (const ast::ExprPtr& g : core.groupBy)
    if (g) use.addExpr(*g);
  if (core.having) use.addExpr(*core.having);
  if (core.crosstab) use.addCrosstab(*core.crosstab);
  if (order)
    for (const ast::OrderItem& o : *order)
      if (o.expr) use.addExpr(*o.expr);
  return use;
}

}  // namespace jet::sql
