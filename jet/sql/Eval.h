// Bound expressions and their evaluation. The binder turns an AST expression
// into a BoundExpr whose column references are slots of the row it will be
// evaluated on (or of an enclosing query's row, for correlated subqueries).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "jet/core/Value.h"
#include "jet/sql/Ast.h"
#include "jet/sql/KeyTable.h"
#include "jet/sql/Operator.h"

namespace jet::sql {

struct FunctionDef;

// The row an expression is evaluated on, and the rows of the enclosing queries.
struct EvalContext {
  const Row* row = nullptr;
  const EvalContext* outer = nullptr;
};

// A subquery inside an expression. An uncorrelated one runs once, on first
// use, and keeps its result: a hash set of keys for IN (a hash semi/anti
// join), the first row for scalars and EXISTS. A correlated one runs again
// for every outer row.
struct Subquery {
  OperatorPtr plan;
  bool correlated = false;
  bool done = false;
  KeyTable keys;      // IN, and EXISTS turned into a hash semi-join
  NumberSet numbers;  // IN: the list's numbers, kept apart from its other keys
  // EXISTS whose condition also compares inner and outer rows otherwise: the
  // inner rows by key, the first `keyColumns` columns being the key.
  size_t keyColumns = 0;
  bool keepRows = false;
  std::unordered_map<std::string, std::vector<Row>> buckets;
  bool hasNull = false;  // IN: the list holds a Null
  bool empty = true;
  Value scalar;
  std::string text;
};

enum class BoundKind {
  Literal,
  Column,
  Unary,  // Not, Neg, Plus
  Arith,  // arithmetic and &
  Compare,
  Logic,  // And, Or, Xor, Eqv, Imp
  IsNull,
  Like,
  Between,
  InList,
  InSubquery,
  Exists,
  Scalar,
  Function,
};

struct BoundExpr {
  BoundKind kind = BoundKind::Literal;
  ast::Op op = ast::Op::Add;
  Value value;    // Literal
  int depth = 0;  // Column: 0 = this query's row, 1 = the enclosing one, ...
  int slot = 0;
  bool negated = false;
  const FunctionDef* function = nullptr;
  std::vector<std::unique_ptr<BoundExpr>> args;
  std::shared_ptr<Subquery> subquery;
  // Hashed EXISTS: the rest of the condition, over an inner row (depth 0)
  // inside the outer one.
  std::unique_ptr<BoundExpr> residual;
  // A Like pattern known at bind time, folded once.
  std::shared_ptr<std::u32string> pattern;
  DataType type = DataType::Null;  // static result type
  uint16_t size = 0;
  std::string text;  // the source text
};
using BoundPtr = std::unique_ptr<BoundExpr>;

Value evaluate(const BoundExpr& e, const EvalContext& ctx);
// WHERE / HAVING / ON: true only when the value is True (Null and False reject).
bool evaluatesTrue(const BoundExpr& e, const EvalContext& ctx);
// Structural equality of two bound expressions (GROUP BY matching, aggregate reuse).
bool sameExpr(const BoundExpr& a, const BoundExpr& b);
// Whether `e` reads columns of the row at depth 0.
bool readsRow(const BoundExpr& e);
// A deep copy (subqueries and Like patterns shared): references to columns
// of the row at hand from `fromSlot` on point `shift` columns further.
BoundPtr cloneShifted(const BoundExpr& e, int fromSlot = 0, int shift = 0);

}  // namespace jet::sql
