#include "jet/sql/Binder.h"

#include "jet/core/TypeSize.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/Functions.h"
#include "jet/sql/Like.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

using ast::Expr;
using ast::ExprKind;
using ast::Op;

namespace {

// Text and binary results default to Jet's longest text column.
uint16_t defaultSize(DataType t) {
  if (t == DataType::Text || t == DataType::Binary) return 255;
  return fixedSizeOf(t);
}

BoundPtr make(BoundKind kind, const Expr& e, DataType type) {
  auto b = std::make_unique<BoundExpr>();
  b->kind = kind;
  b->op = e.op;
  b->negated = e.negated;
  b->type = type;
  b->size = defaultSize(type);
  b->text = e.text;
  return b;
}

}  // namespace

void Binder::noteUnknown(const std::string& name) {
  for (const std::string& u : unknown_)
    if (equalsIgnoreCase(u, name)) return;
  unknown_.push_back(name);
}

void Binder::checkUnknown() const {
  if (!unknown_.empty())
    throw SqlError(ErrorCode::NoSuchField,
                   msg::tooFewParameters(static_cast<int>(unknown_.size()), unknown_[0]));
}

bool Binder::containsAggregate(const Expr& e) {
  if (e.kind == ExprKind::Function && isAggregateName(e.name)) return true;
  for (const auto& a : e.args)
    if (a && containsAggregate(*a)) return true;
  return false;
}

std::string Binder::outputName(const ast::SelectItem& item, size_t position) {
  if (!item.alias.empty()) return item.alias;
  if (item.expr && item.expr->kind == ExprKind::Column) return item.expr->name;
  return "Expr" + std::to_string(1000 + position);
}

BoundPtr Binder::columnRef(int depth, int slot, const ColumnInfo& info) {
  auto b = std::make_unique<BoundExpr>();
  b->kind = BoundKind::Column;
  b->depth = depth;
  b->slot = slot;
  b->type = info.type;
  b->size = info.size ? info.size : defaultSize(info.type);
  b->text = info.name;
  return b;
}

BoundPtr Binder::conjunction(std::vector<BoundPtr> parts) {
  if (parts.empty()) return nullptr;
  BoundPtr acc = std::move(parts[0]);
  for (size_t i = 1; i < parts.size(); ++i) {
    auto b = std::make_unique<BoundExpr>();
    b->kind = BoundKind::Logic;
    b->op = Op::And;
    b->type = DataType::Boolean;
    b->args.push_back(std::move(acc));
    b->args.push_back(std::move(parts[i]));
    acc = std::move(b);
  }
  return acc;
}

BoundPtr Binder::bind(const Expr& e, const Scope& scope, const std::string& clause) {
  return node(e, &scope, nullptr, clause);
}

BoundPtr Binder::bindGrouped(const Expr& e, Grouping& g, const std::string& clause) {
  return node(e, g.input, &g, clause);
}

BoundPtr Binder::tryBind(const Expr& e, const Scope& scope) {
  ++probing_;
  try {
    BoundPtr b = node(e, &scope, nullptr, "");
    --probing_;
    return b;
  } catch (const ProbeFailed&) {
    --probing_;
    return nullptr;
  } catch (...) {
    --probing_;
    throw;
  }
}

BoundPtr Binder::groupedColumn(int slot, const ColumnInfo& info, Grouping& g) {
  for (size_t k = 0; k < g.keys.size(); ++k) {
    const BoundExpr& key = *g.keys[k];
    if (key.kind == BoundKind::Column && key.depth == 0 && key.slot == slot)
      return columnRef(0, static_cast<int>(k), info);
  }
  throw SqlError(ErrorCode::Invalid, msg::notInAggregate(info.name));
}

BoundPtr Binder::columnNode(const Expr& e, const Scope& scope) {
  int depth = 0;
  for (const Scope* s = &scope; s; s = s->outer, ++depth) {
    int found = -1;
    int matches = 0;
    for (size_t i = 0; i < s->columns.size(); ++i) {
      const ColumnInfo& c = s->columns[i];
      if (!equalsIgnoreCase(c.name, e.name)) continue;
      if (!e.qualifier.empty() && !equalsIgnoreCase(c.table, e.qualifier)) continue;
      if (found < 0) found = static_cast<int>(i);
      ++matches;
    }
    if (matches > 1) {
      if (probing_) throw ProbeFailed{};
      throw SqlError(ErrorCode::Invalid, msg::ambiguousField(e.text));
    }
    if (found >= 0) {
      // Every query between here and the scope that had the name depends on the outer row.
      int d = 0;
      for (const Scope* t = &scope; t && d < depth; t = t->outer, ++d)
        if (t->correlated) *t->correlated = true;
      auto b = columnRef(depth, found, s->columns[static_cast<size_t>(found)]);
      b->text = e.text;
      return b;
    }
  }
  if (probing_) throw ProbeFailed{};
  noteUnknown(e.qualifier.empty() ? e.name : e.qualifier + "." + e.name);
  auto b = std::make_unique<BoundExpr>();
  b->kind = BoundKind::Literal;
  b->text = e.text;
  return b;
}

BoundPtr Binder::aggregateNode(const Expr& e, Grouping* g, const std::string& clause) {
  if (!g) throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed(clause, e.text));
  AggSpec spec;
  aggregateKind(e.name, spec.kind);
  spec.distinct = e.distinct;
  spec.text = e.text;
  if (e.args.size() != 1) throw SqlError(ErrorCode::Invalid, msg::wrongArgumentCount(e.name));
  if (e.args[0]->kind == ExprKind::Star) {
    if (spec.kind != AggKind::Count) throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn(clause, e.text));
    spec.kind = AggKind::CountStar;
  } else {
    if (containsAggregate(*e.args[0]))
      throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed(clause, e.text));
    spec.arg = node(*e.args[0], g->input, nullptr, clause);
  }
  spec.type = aggregateType(spec.kind, spec.arg ? spec.arg->type : DataType::Long);
  spec.size = spec.arg && (spec.kind == AggKind::Min || spec.kind == AggKind::Max ||
                           spec.kind == AggKind::First || spec.kind == AggKind::Last)
                  ? spec.arg->size
                  : defaultSize(spec.type);
  size_t slot = g->aggs.size();
  for (size_t i = 0; i < g->aggs.size(); ++i) {
    const AggSpec& o = g->aggs[i];
    if (o.kind == spec.kind && o.distinct == spec.distinct && o.pivotColumn == spec.pivotColumn &&
        ((!o.arg && !spec.arg) || (o.arg && spec.arg && sameExpr(*o.arg, *spec.arg)))) {
      slot = i;
      break;
    }
  }
  ColumnInfo info{"", e.text, spec.type, spec.size};
  if (slot == g->aggs.size()) g->aggs.push_back(std::move(spec));
  auto b = columnRef(0, static_cast<int>(g->keys.size() + slot), info);
  b->text = e.text;
  return b;
}

std::shared_ptr<Subquery> Binder::subquery(const Expr& e, const Scope* scope, Grouping* g, bool oneColumn) {
  if (probing_) throw ProbeFailed{};
  auto s = std::make_shared<Subquery>();
  s->text = e.text;
  const Scope* outer = g ? &g->post : scope;
  s->plan = planner_.planSubquery(*e.subquery, outer, &s->correlated);
  if (oneColumn && s->plan->columns().size() != 1)
    throw SqlError(ErrorCode::Invalid, msg::subqueryOneColumn(e.text));
  return s;
}

BoundPtr Binder::hashedExists(const Expr& e, const Scope& scope) {
  const ast::Query& q = *e.subquery;
  if (q.parts.size() != 1 || !q.orderBy.empty()) return nullptr;
  const ast::SelectCore& core = q.parts[0];
  if (!core.where || !core.groupBy.empty() || core.having || core.top || core.from.empty()) return nullptr;
  for (const ast::SelectItem& item : core.items)
    if (item.expr && containsAggregate(*item.expr)) return nullptr;
  for (const auto& ref : core.from)
    if (ref->kind == ast::TableRef::Kind::Join) return nullptr;
  std::optional<Scope> inner = planner_.fromScope(core);
  if (!inner) return nullptr;

  std::vector<const Expr*> conjuncts;
  std::vector<const Expr*> pending{core.where.get()};
  while (!pending.empty()) {
    const Expr* c = pending.back();
    pending.pop_back();
    if (c->kind == ExprKind::Binary && c->op == Op::And) {
      pending.push_back(c->args[1].get());
      pending.push_back(c->args[0].get());
    } else {
      conjuncts.push_back(c);
    }
  }
  std::vector<ast::ExprPtr> innerKeys;
  std::vector<BoundPtr> outerKeys;
  std::vector<const Expr*> rest;
  for (const Expr* c : conjuncts) {
    bool used = false;
    if (c->kind == ExprKind::Binary && c->op == Op::Eq) {
      for (int flip = 0; flip < 2 && !used; ++flip) {
        const Expr& a = *c->args[flip];
        const Expr& b = *c->args[1 - flip];
        BoundPtr ia = tryBind(a, *inner);
        if (!ia || !readsRow(*ia) || tryBind(b, *inner)) continue;
        BoundPtr ob = tryBind(b, scope);
        if (!ob || !readsRow(*ob)) continue;
        innerKeys.push_back(ast::clone(a));
        outerKeys.push_back(std::move(ob));
        used = true;
      }
    }
    if (!used) rest.push_back(c);
  }
  if (innerKeys.empty()) return nullptr;
  // Conditions on the inner rows alone filter the subquery; the others are
  // checked per candidate row of the matching bucket.
  std::vector<const Expr*> local, crossing;
  for (const Expr* c : rest) (tryBind(*c, *inner) ? local : crossing).push_back(c);
  size_t keyColumns = innerKeys.size();

  ast::Query keysQuery;
  ast::SelectCore keysCore;
  for (ast::ExprPtr& k : innerKeys) {
    ast::SelectItem item;
    item.expr = std::move(k);
    keysCore.items.push_back(std::move(item));
  }
  if (!crossing.empty()) {
    ast::SelectItem all;
    all.star = true;
    keysCore.items.push_back(std::move(all));
  }
  for (const auto& ref : core.from) keysCore.from.push_back(ast::clone(*ref));
  for (const Expr* c : local) {
    if (!keysCore.where) {
      keysCore.where = ast::clone(*c);
      continue;
    }
    auto both = std::make_unique<Expr>();
    both->kind = ExprKind::Binary;
    both->op = Op::And;
    both->args.push_back(std::move(keysCore.where));
    both->args.push_back(ast::clone(*c));
    keysCore.where = std::move(both);
  }
  keysQuery.parts.push_back(std::move(keysCore));
  auto s = std::make_shared<Subquery>();
  s->text = e.text;
  s->plan = planner_.planSubquery(keysQuery, &scope, &s->correlated);
  if (s->correlated) return nullptr;  // the rest still reads the outer row
  auto b = make(BoundKind::Exists, e, DataType::Boolean);
  if (!crossing.empty()) {
    Scope rowScope;
    rowScope.columns = inner->columns;
    rowScope.outer = &scope;
    bool throughInner = false;
    rowScope.correlated = &throughInner;
    std::vector<BoundPtr> parts;
    for (const Expr* c : crossing) parts.push_back(bind(*c, rowScope, "WHERE"));
    b->residual = conjunction(std::move(parts));
    s->keyColumns = keyColumns;
    s->keepRows = true;
  }
  b->args = std::move(outerKeys);
  b->subquery = std::move(s);
  return b;
}

BoundPtr Binder::node(const Expr& e, const Scope* scope, Grouping* g, const std::string& clause) {
  if (g && !containsAggregate(e) && e.kind != ExprKind::Literal) {
    // In a grouped query a sub-expression that is a GROUP BY expression reads the group's key.
    bool hasSubquery = false;
    BoundPtr plain;
    if (e.subquery) hasSubquery = true;
    if (!hasSubquery) plain = tryBind(e, *g->input);
    if (plain) {
      for (size_t k = 0; k < g->keys.size(); ++k)
        if (sameExpr(*plain, *g->keys[k])) {
          ColumnInfo info{"", e.text, g->keys[k]->type, g->keys[k]->size};
          auto b = columnRef(0, static_cast<int>(k), info);
          b->text = e.text;
          return b;
        }
      if (!readsRow(*plain)) return plain;
    }
    if (e.kind == ExprKind::Column) {
      if (!plain && !probing_) {
        // Unknown here: record it like any other unknown name.
        return columnNode(e, g->post);
      }
      if (plain && plain->depth > 0) return plain;
      throw SqlError(ErrorCode::Invalid, msg::notInAggregate(e.text));
    }
  }
  switch (e.kind) {
    case ExprKind::Literal: {
      auto b = make(BoundKind::Literal, e, e.literal.type());
      b->value = e.literal;
      return b;
    }
    case ExprKind::Column:
      return columnNode(e, *scope);
    case ExprKind::Star:
      if (probing_) throw ProbeFailed{};
      throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn(clause, "*"));
    case ExprKind::Unary: {
      BoundPtr a = node(*e.args[0], scope, g, clause);
      DataType t = e.op == Op::Not   ? DataType::Boolean
                   : e.op == Op::Neg ? arithmeticType(Op::Neg, a->type, a->type)
                                     : a->type;
      if (e.op == Op::Plus && isTextType(t)) t = DataType::Double;
      auto b = make(BoundKind::Unary, e, t);
      b->args.push_back(std::move(a));
      return b;
    }
    case ExprKind::Binary: {
      BoundPtr l = node(*e.args[0], scope, g, clause);
      BoundPtr r = node(*e.args[1], scope, g, clause);
      BoundKind kind;
      DataType t = DataType::Boolean;
      switch (e.op) {
        case Op::Eq:
        case Op::Ne:
        case Op::Lt:
        case Op::Le:
        case Op::Gt:
        case Op::Ge:
          kind = BoundKind::Compare;
          break;
        case Op::And:
        case Op::Or:
        case Op::Xor:
        case Op::Eqv:
        case Op::Imp:
          kind = BoundKind::Logic;
          break;
        default:
          kind = BoundKind::Arith;
          t = arithmeticType(e.op, l->type, r->type);
      }
      auto b = make(kind, e, t);
      b->args.push_back(std::move(l));
      b->args.push_back(std::move(r));
      return b;
    }
    case ExprKind::IsNull: {
      auto b = make(BoundKind::IsNull, e, DataType::Boolean);
      b->args.push_back(node(*e.args[0], scope, g, clause));
      return b;
    }
    case ExprKind::Like: {
      auto b = make(BoundKind::Like, e, DataType::Boolean);
      b->args.push_back(node(*e.args[0], scope, g, clause));
      b->args.push_back(node(*e.args[1], scope, g, clause));
      if (b->args[1]->kind == BoundKind::Literal && !b->args[1]->value.isNull())
        b->pattern = std::make_shared<std::u32string>(compileLike(toText(b->args[1]->value)));
      return b;
    }
    case ExprKind::Between:
    case ExprKind::InList: {
      auto b =
          make(e.kind == ExprKind::Between ? BoundKind::Between : BoundKind::InList, e, DataType::Boolean);
      for (const auto& a : e.args) b->args.push_back(node(*a, scope, g, clause));
      return b;
    }
    case ExprKind::InSubquery: {
      auto b = make(BoundKind::InSubquery, e, DataType::Boolean);
      b->args.push_back(node(*e.args[0], scope, g, clause));
      b->subquery = subquery(e, scope, g, true);
      return b;
    }
    case ExprKind::Exists: {
      if (!g && !probing_)
        if (BoundPtr hashed = hashedExists(e, *scope)) return hashed;
      auto b = make(BoundKind::Exists, e, DataType::Boolean);
      b->subquery = subquery(e, scope, g, false);
      return b;
    }
    case ExprKind::Subquery: {
      auto s = subquery(e, scope, g, true);
      const ColumnInfo& c = s->plan->columns()[0];
      auto b = make(BoundKind::Scalar, e, c.type);
      b->size = c.size;
      b->subquery = std::move(s);
      return b;
    }
    case ExprKind::Function: {
      if (isAggregateName(e.name)) {
        if (probing_) throw ProbeFailed{};
        return aggregateNode(e, g, clause);
      }
      const FunctionDef* f = findFunction(e.name);
      if (!f) {
        if (probing_) throw ProbeFailed{};
        throw SqlError(ErrorCode::Invalid, msg::unknownFunction(e.name));
      }
      int n = static_cast<int>(e.args.size());
      if (n < f->minArgs || n > f->maxArgs || e.distinct) {
        if (probing_) throw ProbeFailed{};
        throw SqlError(ErrorCode::Invalid, msg::wrongArgumentCount(e.name));
      }
      auto b = make(BoundKind::Function, e, DataType::Null);
      b->function = f;
      std::vector<DataType> types;
      for (const auto& a : e.args) {
        b->args.push_back(node(*a, scope, g, clause));
        types.push_back(b->args.back()->type);
      }
      b->type = functionType(*f, types);
      b->size = defaultSize(b->type);
      return b;
    }
  }
  return nullptr;
}

}  // namespace jet::sql
