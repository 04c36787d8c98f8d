#include "jet/sql/Eval.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Functions.h"
#include "jet/sql/Like.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

using ast::Op;

namespace {

const Row& rowAt(const EvalContext& ctx, int depth) {
  const EvalContext* c = &ctx;
  for (int i = 0; i < depth && c; ++i) c = c->outer;
  return *c->row;
}

bool compareHolds(Op op, int c) {
  switch (op) {
    case Op::Eq:
      return c == 0;
    case Op::Ne:
      return c != 0;
    case Op::Lt:
      return c < 0;
    case Op::Le:
      return c <= 0;
    case Op::Gt:
      return c > 0;
    case Op::Ge:
      return c >= 0;
    default:
      return false;
  }
}

std::optional<bool> negateIf(std::optional<bool> b, bool negate) {
  if (!negate || !b) return b;
  return !*b;
}

// Runs an IN subquery into its hash set (once, unless correlated).
void fillKeys(Subquery& s, const EvalContext& ctx) {
  if (s.done && !s.correlated) return;
  s.keys.clear();
  s.numbers.clear();
  s.hasNull = false;
  s.empty = true;
  s.plan->allowAnyOrder();  // a set: the order of its rows does not matter
  s.plan->open(&ctx);
  Row r;
  while (s.plan->next(r)) {
    s.empty = false;
    if (r[0].isNull())
      s.hasNull = true;
    else if (r[0].isNumeric())
      s.numbers.add(numberOf(r[0]));
    else
      s.keys.insert(keyOf(r[0]));
  }
  s.numbers.finish();
  s.done = true;
}

// The rows of a decorrelated EXISTS, keyed on all their columns; rows with a
// Null never match (Null equals nothing).
void fillRowKeys(Subquery& s, const EvalContext& ctx) {
  if (s.done) return;
  s.keys.clear();
  s.plan->open(&ctx);
  Row r;
  std::string key;
  s.buckets.clear();
  while (s.plan->next(r)) {
    key.clear();
    bool hasNull = false;
    size_t n = s.keepRows ? s.keyColumns : r.size();
    for (size_t i = 0; i < n; ++i) {
      hasNull = hasNull || r[i].isNull();
      appendKey(key, r[i]);
    }
    if (hasNull) continue;
    if (s.keepRows)
      s.buckets[key].emplace_back(r.begin() + static_cast<long>(n), r.end());
    else
      s.keys.insert(key);
  }
  s.done = true;
}

bool anyRow(Subquery& s, const EvalContext& ctx) {
  if (s.done && !s.correlated) return !s.empty;
  s.plan->open(&ctx);
  Row r;
  s.empty = !s.plan->next(r);
  s.done = true;
  return !s.empty;
}

Value scalarOf(Subquery& s, const EvalContext& ctx) {
  if (s.done && !s.correlated) return s.scalar;
  s.plan->open(&ctx);
  Row r;
  Value v;
  if (s.plan->next(r)) {
    v = r[0];
    Row extra;
    if (s.plan->next(extra)) throw SqlError(ErrorCode::Invalid, msg::subqueryTooManyRows());
  }
  s.scalar = v;
  s.done = true;
  return v;
}

std::optional<bool> logicOf(Op op, const BoundExpr& e, const EvalContext& ctx) {
  std::optional<bool> a = toLogical(evaluate(*e.args[0], ctx));
  if (op == Op::And && a && !*a) return false;
  if (op == Op::Or && a && *a) return true;
  if (op == Op::Imp && a && !*a) return true;
  std::optional<bool> b = toLogical(evaluate(*e.args[1], ctx));
  switch (op) {
    case Op::And:
      if (b && !*b) return false;
      if (!a || !b) return std::nullopt;
      return true;
    case Op::Or:
      if (b && *b) return true;
      if (!a || !b) return std::nullopt;
      return false;
    case Op::Xor:
      if (!a || !b) return std::nullopt;
      return *a != *b;
    case Op::Eqv:
      if (!a || !b) return std::nullopt;
      return *a == *b;
    case Op::Imp:
      if (b && *b) return true;
      if (!a || !b) return std::nullopt;
      return false;  // a true, b false
    default:
      return std::nullopt;
  }
}

}  // namespace

Value evaluate(const BoundExpr& e, const EvalContext& ctx) {
  switch (e.kind) {
    case BoundKind::Literal:
      return e.value;
    case BoundKind::Column:
      return rowAt(ctx, e.depth)[static_cast<size_t>(e.slot)];
    case BoundKind::Unary: {
      Value v = evaluate(*e.args[0], ctx);
      if (e.op == Op::Not) {
        auto b = toLogical(v);
        return logical(b ? std::optional<bool>(!*b) : std::nullopt);
      }
      if (e.op == Op::Neg) return negate(v);
      if (v.isText()) return Value::dbl(toNumber(v, e.text));
      return v;
    }
    case BoundKind::Arith:
      return arithmetic(e.op, evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
    case BoundKind::Compare: {
      auto c = compareValues(evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
      if (!c) return Value();
      return Value::boolean(compareHolds(e.op, *c));
    }
    case BoundKind::Logic:
      return logical(logicOf(e.op, e, ctx));
    case BoundKind::IsNull:
      return Value::boolean(evaluate(*e.args[0], ctx).isNull() != e.negated);
    case BoundKind::Like: {
      Value v = evaluate(*e.args[0], ctx);
      if (v.isNull()) return Value();
      bool m;
      if (e.pattern) {
        m = likeMatches(toText(v), *e.pattern);
      } else {
        Value p = evaluate(*e.args[1], ctx);
        if (p.isNull()) return Value();
        m = likeMatches(toText(v), compileLike(toText(p)));
      }
      return Value::boolean(m != e.negated);
    }
    case BoundKind::Between: {
      Value v = evaluate(*e.args[0], ctx);
      Value lo = evaluate(*e.args[1], ctx);
      Value hi = evaluate(*e.args[2], ctx);
      // Jet accepts the bounds in either order.
      auto order = compareValues(lo, hi);
      if (order && *order > 0) std::swap(lo, hi);
      auto a = compareValues(v, lo);
      auto b = compareValues(v, hi);
      std::optional<bool> r;
      if ((a && *a < 0) || (b && *b > 0))
        r = false;
      else if (a && b)
        r = true;
      return logical(negateIf(r, e.negated));
    }
    case BoundKind::InList: {
      Value v = evaluate(*e.args[0], ctx);
      if (v.isNull()) return Value();
      bool sawNull = false;
      for (size_t i = 1; i < e.args.size(); ++i) {
        auto c = compareValues(v, evaluate(*e.args[i], ctx));
        if (!c)
          sawNull = true;
        else if (*c == 0)
          return Value::boolean(!e.negated);
      }
      if (sawNull) return Value();
      return Value::boolean(e.negated);
    }
    case BoundKind::InSubquery: {
      Subquery& s = *e.subquery;
      Value v = evaluate(*e.args[0], ctx);
      fillKeys(s, ctx);
      if (s.empty) return Value::boolean(e.negated);
      if (v.isNull()) return Value();
      if (v.isNumeric() ? s.numbers.contains(numberOf(v)) : s.keys.contains(keyOf(v)))
        return Value::boolean(!e.negated);
      if (s.hasNull) return Value();
      return Value::boolean(e.negated);
    }
    case BoundKind::Exists: {
      if (e.args.empty()) return Value::boolean(anyRow(*e.subquery, ctx) != e.negated);
      fillRowKeys(*e.subquery, ctx);
      std::string key;
      bool found = true;
      for (const auto& a : e.args) {
        Value v = evaluate(*a, ctx);
        if (v.isNull()) {
          found = false;
          break;
        }
        appendKey(key, v);
      }
      if (found && e.residual) {
        auto it = e.subquery->buckets.find(key);
        found = false;
        if (it != e.subquery->buckets.end()) {
          for (const Row& innerRow : it->second) {
            EvalContext innerCtx{&innerRow, &ctx};
            if (evaluatesTrue(*e.residual, innerCtx)) {
              found = true;
              break;
            }
          }
        }
      } else {
        found = found && e.subquery->keys.contains(key);
      }
      return Value::boolean(found != e.negated);
    }
    case BoundKind::Scalar:
      return scalarOf(*e.subquery, ctx);
    case BoundKind::Function: {
      const FunctionDef& f = *e.function;
      std::string_view name = f.name;
      if (name == "IIf") {
        auto c = toLogical(evaluate(*e.args[0], ctx));
        return evaluate(*e.args[c && *c ? 1 : 2], ctx);
      }
      if (name == "Nz") {
        Value v = evaluate(*e.args[0], ctx);
        if (!v.isNull()) return v;
        return e.args.size() > 1 ? evaluate(*e.args[1], ctx) : Value::text("");
      }
      std::vector<Value> args;
      args.reserve(e.args.size());
      for (const auto& a : e.args) args.push_back(evaluate(*a, ctx));
      return f.call(args, e.text);
    }
  }
  return Value();
}

bool evaluatesTrue(const BoundExpr& e, const EvalContext& ctx) {
  auto b = toLogical(evaluate(e, ctx));
  return b && *b;
}

bool sameExpr(const BoundExpr& a, const BoundExpr& b) {
  if (a.kind != b.kind || a.op != b.op || a.negated != b.negated || a.function != b.function ||
      a.args.size() != b.args.size())
    return false;
  if (a.kind == BoundKind::Literal && !(a.value == b.value)) return false;
  if (a.kind == BoundKind::Column && (a.depth != b.depth || a.slot != b.slot)) return false;
  if (a.subquery != b.subquery) return false;
  for (size_t i = 0; i < a.args.size(); ++i)
    if (!sameExpr(*a.args[i], *b.args[i])) return false;
  return true;
}

bool readsRow(const BoundExpr& e) {
  if (e.kind == BoundKind::Column && e.depth == 0) return true;
  if (e.subquery && e.subquery->correlated) return true;
  for (const auto& a : e.args)
    if (readsRow(*a)) return true;
  return false;
}

BoundPtr cloneShifted(const BoundExpr& e, int fromSlot, int shift) {
  auto c = std::make_unique<BoundExpr>();
  c->kind = e.kind;
  c->op = e.op;
  c->value = e.value;
  c->depth = e.depth;
  c->slot = e.slot;
  if (e.kind == BoundKind::Column && e.depth == 0 && e.slot >= fromSlot) c->slot += shift;
  c->negated = e.negated;
  c->function = e.function;
  for (const auto& a : e.args) c->args.push_back(cloneShifted(*a, fromSlot, shift));
  c->subquery = e.subquery;
  // A residual reads an inner row of its own, never the row shifted here.
  if (e.residual) c->residual = cloneShifted(*e.residual);
  c->pattern = e.pattern;
  c->type = e.type;
  c->size = e.size;
  c->text = e.text;
  return c;
}

}  // namespace jet::sql
