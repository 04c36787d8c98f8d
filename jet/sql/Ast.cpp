#include "jet/sql/Ast.h"

namespace jet::sql::ast {

ExprPtr clone(const Expr& e) {
  auto c = std::make_unique<Expr>();
  c->kind = e.kind;
  c->literal = e.literal;
  c->qualifier = e.qualifier;
  c->name = e.name;
  c->op = e.op;
  c->negated = e.negated;
  c->distinct = e.distinct;
  for (const ExprPtr& a : e.args) c->args.push_back(a ? clone(*a) : nullptr);
  c->subquery = e.subquery;  // subqueries are never changed once parsed
  c->text = e.text;
  c->height = e.height;
  return c;
}

std::unique_ptr<TableRef> clone(const TableRef& t) {
  auto c = std::make_unique<TableRef>();
  c->kind = t.kind;
  c->name = t.name;
  c->alias = t.alias;
  c->derived = t.derived;
  c->join = t.join;
  if (t.left) c->left = clone(*t.left);
  if (t.right) c->right = clone(*t.right);
  if (t.on) c->on = clone(*t.on);
  return c;
}

}  // namespace jet::sql::ast
