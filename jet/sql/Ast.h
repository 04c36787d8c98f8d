// The parsed form of a statement, before any name is looked up. Names keep the
// spelling the user wrote; the binder resolves them case-insensitively.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "jet/core/Value.h"
#include "jet/storage/Store.h"

namespace jet::sql::ast {

enum class Op {
  Add,
  Sub,
  Mul,
  Div,
  IntDiv,
  Mod,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
  Not,
  Neg,
  Plus,
};

struct Query;

enum class ExprKind {
  Literal,
  Column,  // [qualifier.]name
  Star,    // the * of Count(*)
  Unary,   // Not, Neg, Plus
  Binary,
  Function,    // name(args); aggregates too
  IsNull,      // args[0] Is [Not] Null
  Like,        // args[0] [Not] Like args[1]
  Between,     // args[0] [Not] Between args[1] And args[2]
  InList,      // args[0] [Not] In (args[1..])
  InSubquery,  // args[0] [Not] In (subquery)
  Exists,      // [Not] Exists (subquery)
  Subquery,    // (subquery) as a scalar
};

struct Expr {
  ExprKind kind = ExprKind::Literal;
  Value literal;
  std::string qualifier;  // Column: table or alias, may be empty
  std::string name;       // Column name, Function name
  Op op = Op::Add;
  bool negated = false;   // Not Like, Not Between, Not In, Is Not Null, Not Exists
  bool distinct = false;  // Count(Distinct x)
  std::vector<std::unique_ptr<Expr>> args;
  std::shared_ptr<Query> subquery;
  std::string text;  // the source text, for names and messages
  int height = 1;    // levels of the tree below and including this node
};
using ExprPtr = std::unique_ptr<Expr>;

enum class JoinType { Inner, Left, Right, Cross };

struct TableRef {
  enum class Kind { Named, Derived, Join } kind = Kind::Named;
  std::string name;  // Named
  std::string alias;
  std::shared_ptr<Query> derived;
  JoinType join = JoinType::Inner;
  std::unique_ptr<TableRef> left, right;
  ExprPtr on;
};

struct SelectItem {
  ExprPtr expr;  // null for * and t.*
  std::string alias;
  bool star = false;
  std::string starQualifier;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

struct Top {
  ExprPtr count;
  bool percent = false;
};

// TRANSFORM value [AS alias] ... PIVOT pivot [IN (headings)]: a grouped
// SELECT whose rows gain one column per value of `pivot`.
struct Crosstab {
  ExprPtr value;  // an expression over aggregates
  std::string alias;
  ExprPtr pivot;
  std::vector<ExprPtr> headings;  // the IN list: the columns, in order
  bool fixedHeadings = false;
};

struct SelectCore {
  bool distinct = false;
  std::optional<Top> top;
  std::vector<SelectItem> items;
  std::string into;  // SELECT ... INTO table
  bool hasInto = false;
  std::vector<std::unique_ptr<TableRef>> from;  // comma-separated sources
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
  ExprPtr having;
  std::shared_ptr<const Crosstab> crosstab;  // TRANSFORM ... PIVOT, never changed once parsed
};

struct Query {
  std::vector<SelectCore> parts;  // joined by UNION
  std::vector<bool> unionAll;     // one per UNION, between parts[i] and parts[i+1]
  std::vector<OrderItem> orderBy;
  std::vector<std::string> parameters;  // names a PARAMETERS clause declares: values never given here
};

struct SelectStmt {
  std::shared_ptr<Query> query;
};

struct InsertStmt {
  std::string table;
  std::vector<std::string> columns;          // empty: all, in order
  std::vector<std::vector<ExprPtr>> values;  // VALUES (...)
  std::shared_ptr<Query> select;             // or INSERT ... SELECT
};

struct Assignment {
  std::string column;
  ExprPtr value;
};

struct UpdateStmt {
  std::string table;
  std::vector<Assignment> set;
  ExprPtr where;
};

struct DeleteStmt {
  std::string table;
  ExprPtr where;
};

struct ColumnSpec {
  storage::ColumnDef def;
  bool primaryKey = false;
  bool unique = false;
  std::string constraintName;
};

struct TableConstraint {
  std::string name;
  bool primaryKey = false;  // else UNIQUE
  std::vector<std::string> columns;
};

struct CreateTableStmt {
  std::string table;
  std::vector<ColumnSpec> columns;
  std::vector<TableConstraint> constraints;
};

struct DropTableStmt {
  std::string table;
};

struct AlterAddColumnStmt {
  std::string table;
  ColumnSpec column;
};

struct AlterDropColumnStmt {
  std::string table;
  std::string column;
};

struct CreateIndexStmt {
  std::string name;
  std::string table;
  bool unique = false;
  bool primary = false;
  bool ignoreNulls = false;
  bool disallowNull = false;
  std::vector<std::pair<std::string, bool>> columns;  // name, ascending
};

struct DropIndexStmt {
  std::string name;
  std::string table;
};

enum class TransactionVerb { Begin, Commit, Rollback };
struct TransactionStmt {
  TransactionVerb verb = TransactionVerb::Begin;
};

// Deep copies (subqueries are shared: they are never changed once parsed).
ExprPtr clone(const Expr& e);
std::unique_ptr<TableRef> clone(const TableRef& t);

using Statement =
    std::variant<SelectStmt, InsertStmt, UpdateStmt, DeleteStmt, CreateTableStmt, DropTableStmt,
                 AlterAddColumnStmt, AlterDropColumnStmt, CreateIndexStmt, DropIndexStmt, TransactionStmt>;

}  // namespace jet::sql::ast
