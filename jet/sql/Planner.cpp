#include "jet/sql/Planner.h"

#include <algorithm>
#include <optional>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/ColumnUse.h"
#include "jet/sql/Distinct.h"
#include "jet/sql/HashAggregate.h"
#include "jet/sql/HashJoin.h"
#include "jet/sql/Operators.h"
#include "jet/sql/Parser.h"
#include "jet/sql/Sort.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

using ast::Expr;
using ast::ExprKind;

namespace {

// Saved queries may use one another; a chain longer than this is a cycle or abuse.
constexpr int kMaxQueryDepth = 32;

// Marks the columns of the row at hand (depth 0) that `e` reads; anything
// that may read the row in ways not seen here (a correlated subquery, a
// hashed EXISTS) marks them all.
void markColumnsRead(const BoundExpr& e, std::vector<bool>& read) {
  if (e.kind == BoundKind::Column && e.depth == 0 && e.slot >= 0 && static_cast<size_t>(e.slot) < read.size())
    read[static_cast<size_t>(e.slot)] = true;
  if ((e.subquery && e.subquery->correlated) || e.residual) read.assign(read.size(), true);
  for (const auto& a : e.args) markColumnsRead(*a, read);
}

void splitAnd(const Expr* e, std::vector<const Expr*>& out) {
  if (e->kind == ExprKind::Binary && e->op == ast::Op::And) {
    splitAnd(e->args[0].get(), out);
    splitAnd(e->args[1].get(), out);
  } else {
    out.push_back(e);
  }
}

Scope scopeOf(const Operator& op, const Scope* outer, bool* correlated) {
  Scope s;
  s.columns = op.columns();
  s.outer = outer;
  s.correlated = correlated;
  return s;
}

// The type two union members agree on.
DataType unionType(DataType a, DataType b) {
  if (a == b) return a;
  if (a == DataType::Null) return b;
  if (b == DataType::Null) return a;
  if (a == DataType::Memo || b == DataType::Memo) return DataType::Memo;
  if (isTextType(a) || isTextType(b)) return DataType::Text;
  if (isNumericType(a) && isNumericType(b)) return DataType::Double;
  return DataType::LongBinary;
}

struct OutputColumn {
  BoundPtr expr;
  ColumnInfo info;
  bool aliased = false;  // named by AS, which no table changes
};

}  // namespace

OperatorPtr Planner::planQuery(const ast::Query& query, const Scope* outer, bool* correlated) {
  if (++depth_ > kMaxQueryDepth * 4) {
    --depth_;
    throw SqlError(ErrorCode::Syntax, msg::queryTooComplex());
  }
  struct Leave {
    int& d;
    ~Leave() { --d; }
  } leave{depth_};
  // Declared parameters are asked for first; a name in the query that means
  // one of them is the same parameter.
  for (const std::string& name : query.parameters) binder_.noteUnknown(name);

  if (query.parts.size() == 1) return planCore(query.parts[0], &query.orderBy, outer, correlated);

  std::vector<OperatorPtr> parts;
  for (const ast::SelectCore& core : query.parts) parts.push_back(planCore(core, nullptr, outer, correlated));
  std::vector<ColumnInfo> columns = parts[0]->columns();
  for (size_t i = 1; i < parts.size(); ++i) {
    const auto& c = parts[i]->columns();
    if (c.size() != columns.size()) throw SqlError(ErrorCode::Invalid, msg::unionColumnMismatch());
    for (size_t k = 0; k < c.size(); ++k) {
      columns[k].type = unionType(columns[k].type, c[k].type);
      columns[k].size = std::max(columns[k].size, c[k].size);
      columns[k].table.clear();
    }
  }
  bool distinct = std::any_of(query.unionAll.begin(), query.unionAll.end(), [](bool all) { return !all; });
  OperatorPtr op = std::make_unique<UnionAll>(std::move(parts), columns);
  if (distinct) op = std::make_unique<Distinct>(std::move(op));
  if (!query.orderBy.empty()) {
    // A union is ordered by its output columns, named or by position.
    std::vector<SortKey> keys;
    for (const ast::OrderItem& item : query.orderBy) {
      const Expr& e = *item.expr;
      int slot = -1;
      if (e.kind == ExprKind::Literal && e.literal.type() == DataType::Long) {
        slot = static_cast<int>(e.literal.asInt()) - 1;
        if (slot < 0 || slot >= static_cast<int>(columns.size()))
          throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("ORDER BY", e.text));
      } else if (e.kind == ExprKind::Column) {
        for (size_t k = 0; k < columns.size() && slot < 0; ++k)
          if (equalsIgnoreCase(columns[k].name, e.name)) slot = static_cast<int>(k);
        if (slot < 0) binder_.noteUnknown(e.name);
      } else {
        throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("ORDER BY", e.text));
      }
      if (slot >= 0) keys.push_back({slot, item.descending});
    }
    op = std::make_unique<Sort>(std::move(op), std::move(keys));
  }
  return op;
}

std::optional<Scope> Planner::fromScope(const ast::SelectCore& core) {
  Scope s;
  for (const auto& ref : core.from) {
    if (ref->kind == ast::TableRef::Kind::Join) return std::nullopt;
    OperatorPtr op = planSource(*ref, nullptr, nullptr);
    for (const ColumnInfo& c : op->columns()) s.columns.push_back(c);
  }
  return s;
}

OperatorPtr Planner::planNamed(const ast::TableRef& ref) {
  const std::string label = ref.alias.empty() ? ref.name : ref.alias;
  if (auto table = store_.openTable(ref.name)) return std::make_unique<TableScan>(table, label);
  auto sql = store_.querySql(ref.name);
  if (!sql) throw SqlError(ErrorCode::NoSuchTable, msg::noSuchTable(ref.name));
  for (const std::string& open : openQueries_)
    if (equalsIgnoreCase(open, ref.name)) throw SqlError(ErrorCode::Invalid, msg::circularQuery(ref.name));
  if (static_cast<int>(openQueries_.size()) >= kMaxQueryDepth)
    throw SqlError(ErrorCode::Invalid, msg::queryTooComplex());
  // A saved query runs as a derived table of that name.
  std::shared_ptr<ast::Query> q = parseQuery(*sql);
  openQueries_.push_back(ref.name);
  OperatorPtr op;
  try {
    op = planQuery(*q, nullptr, nullptr);
  } catch (...) {
    openQueries_.pop_back();
    throw;
  }
  openQueries_.pop_back();
  op->relabel(label);
  return op;
}

OperatorPtr Planner::planSource(const ast::TableRef& ref, const Scope* outer, bool* correlated) {
  switch (ref.kind) {
    case ast::TableRef::Kind::Named:
      return planNamed(ref);
    case ast::TableRef::Kind::Derived: {
      OperatorPtr op = planQuery(*ref.derived, nullptr, nullptr);
      op->relabel(ref.alias);
      return op;
    }
    case ast::TableRef::Kind::Join: {
      OperatorPtr left = planSource(*ref.left, outer, correlated);
      OperatorPtr right = planSource(*ref.right, outer, correlated);
      std::vector<const Expr*> conjuncts;
      splitAnd(ref.on.get(), conjuncts);
      return join(ref.join, std::move(left), std::move(right), conjuncts, true, outer, correlated);
    }
  }
  return nullptr;
}

OperatorPtr Planner::join(ast::JoinType type, OperatorPtr left, OperatorPtr right,
                          std::vector<const Expr*>& conjuncts, bool allConjuncts, const Scope* outer,
                          bool* correlated) {
  Scope leftScope = scopeOf(*left, nullptr, nullptr);
  Scope rightScope = scopeOf(*right, nullptr, nullptr);
  std::vector<BoundPtr> leftKeys, rightKeys;
  std::vector<const Expr*> rest;
  for (const Expr* c : conjuncts) {
    bool used = false;
    if (c->kind == ExprKind::Binary && c->op == ast::Op::Eq) {
      for (int flip = 0; flip < 2 && !used; ++flip) {
        const Expr& a = *c->args[flip];
        const Expr& b = *c->args[1 - flip];
        BoundPtr l = binder_.tryBind(a, leftScope);
        if (!l || !readsRow(*l)) continue;
        BoundPtr r = binder_.tryBind(b, rightScope);
        if (!r || !readsRow(*r)) continue;
        leftKeys.push_back(std::move(l));
        rightKeys.push_back(std::move(r));
        used = true;
      }
    }
    if (!used) rest.push_back(c);
  }
  BoundPtr residual;
  if (allConjuncts) {
    Scope both = scopeOf(*left, outer, correlated);
    for (const ColumnInfo& c : right->columns()) both.columns.push_back(c);
    std::vector<BoundPtr> parts;
    for (const Expr* c : rest) parts.push_back(binder_.bind(*c, both, "JOIN"));
    residual = Binder::conjunction(std::move(parts));
    rest.clear();
  }
  conjuncts = rest;
  ast::JoinType jt = type == ast::JoinType::Cross ? ast::JoinType::Inner : type;
  return std::make_unique<HashJoin>(jt, std::move(left), std::move(right), std::move(leftKeys),
                                    std::move(rightKeys), std::move(residual));
}

void Planner::pushDownConjuncts(std::vector<OperatorPtr>& sources, std::vector<const Expr*>& where,
                                const Scope* outer, bool* correlated) {
  // Bound over the joined row first, as WHERE will be: a name that only one
  // source has there means the same column in that source alone.
  Scope joined;
  joined.outer = outer;
  joined.correlated = correlated;
  std::vector<size_t> firstColumn;
  for (const OperatorPtr& s : sources) {
    firstColumn.push_back(joined.columns.size());
    for (const ColumnInfo& c : s->columns()) joined.columns.push_back(c);
  }
  firstColumn.push_back(joined.columns.size());

  std::vector<std::vector<BoundPtr>> pushed(sources.size());
  std::vector<const Expr*> kept;
  for (const Expr* c : where) {
    // Aggregates are refused with the rest of WHERE; subqueries and names of
    // enclosing queries make tryBind give up, and such conjuncts stay.
    BoundPtr whole = Binder::containsAggregate(*c) ? nullptr : binder_.tryBind(*c, joined);
    std::optional<size_t> only;
    bool single = whole != nullptr;
    if (whole) {
      std::vector<bool> read(joined.columns.size(), false);
      markColumnsRead(*whole, read);
      for (size_t s = 0; s < sources.size() && single; ++s)
        for (size_t i = firstColumn[s]; i < firstColumn[s + 1]; ++i) {
          if (!read[i]) continue;
          if (only && *only != s) {
            single = false;
            break;
          }
          only = s;
        }
    }
    // A conjunct reading no column at all stays: it is the same for every row.
    BoundPtr local;
    if (single && only) local = binder_.tryBind(*c, scopeOf(*sources[*only], outer, correlated));
    if (local)
      pushed[*only].push_back(std::move(local));
    else
      kept.push_back(c);
  }
  for (size_t s = 0; s < sources.size(); ++s)
    if (!pushed[s].empty())
      sources[s] = std::make_unique<Filter>(std::move(sources[s]), Binder::conjunction(std::move(pushed[s])));
  where = std::move(kept);
}

PivotColumns Planner::pivotColumns(const ast::SelectCore& core, size_t rowHeadings) {
  const ast::Crosstab& crosstab = *core.crosstab;
  // Jet's limit of fields in one query.
  constexpr size_t kMaxFields = 255;
  auto checkCount = [&](size_t cells) {
    if (rowHeadings + cells > kMaxFields)
      throw SqlError(ErrorCode::Invalid, msg::tooManyCrosstabColumns(cells));
  };
  PivotColumns columns;
  if (crosstab.fixedHeadings) {
    const Scope none;
    for (const ast::ExprPtr& h : crosstab.headings) {
      if (Binder::containsAggregate(*h))
        throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed("PIVOT", h->text));
      BoundPtr b = binder_.bind(*h, none, "PIVOT");
      if (!columns.add(evaluate(*b, EvalContext{})))
        throw SqlError(ErrorCode::Invalid, msg::repeatedColumnHeading(h->text));
      checkCount(columns.size());
    }
    return columns;
  }
  // A name nothing defines fails the statement once it is bound: no need to
  // read the rows for headings it will never show.
  if (binder_.hasUnknown()) return columns;
  // The headings are the pivot's values among the rows WHERE lets through,
  // in ascending order: SELECT pivot FROM ... WHERE ... GROUP BY pivot.
  ast::SelectCore values;
  ast::SelectItem item;
  item.expr = ast::clone(*crosstab.pivot);
  values.items.push_back(std::move(item));
  for (const auto& ref : core.from) values.from.push_back(ast::clone(*ref));
  if (core.where) values.where = ast::clone(*core.where);
  values.groupBy.push_back(ast::clone(*crosstab.pivot));
  OperatorPtr distinct = planCore(values, nullptr, nullptr, nullptr);
  if (binder_.hasUnknown()) return columns;
  distinct->open(nullptr);
  Row row;
  while (distinct->next(row)) {
    columns.add(row[0]);
    checkCount(columns.size());
  }
  return columns;
}

OperatorPtr Planner::planCore(const ast::SelectCore& core, const std::vector<ast::OrderItem>* order,
                              const Scope* outer, bool* correlated) {
  // FROM, with comma-separated sources joined on the equalities of WHERE.
  std::vector<const Expr*> where;
  if (core.where) splitAnd(core.where.get(), where);
  OperatorPtr op;
  bool storedTable = false;  // FROM is one stored table
  if (core.from.empty()) {
    op = std::make_unique<SingleRow>();
  } else {
    op = planSource(*core.from[0], outer, correlated);
    if (auto* scan = dynamic_cast<TableScan*>(op.get()); scan && core.from.size() == 1) {
      // One stored table: decode only the columns the query names.
      scan->readOnly(columnsOfCore(core, order).wanted(scan->schema()));
      storedTable = true;
    }
    if (core.from.size() > 1) {
      std::vector<OperatorPtr> sources;
      sources.push_back(std::move(op));
      for (size_t i = 1; i < core.from.size(); ++i)
        sources.push_back(planSource(*core.from[i], outer, correlated));
      // Stored tables named directly decode only the columns the query names
      // (under any qualifier: reading a few too many is harmless).
      const ColumnUse use = columnsOfCore(core, order);
      for (OperatorPtr& source : sources)
        if (auto* scan = dynamic_cast<TableScan*>(source.get())) scan->readOnly(use.wanted(scan->schema()));
      pushDownConjuncts(sources, where, outer, correlated);
      op = std::move(sources[0]);
      for (size_t i = 1; i < sources.size(); ++i)
        op =
            join(ast::JoinType::Cross, std::move(op), std::move(sources[i]), where, false, outer, correlated);
    }
  }
  Scope input = scopeOf(*op, outer, correlated);
  if (!where.empty()) {
    std::vector<BoundPtr> parts;
    for (const Expr* c : where) {
      if (Binder::containsAggregate(*c))
        throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed("WHERE", c->text));
      parts.push_back(binder_.bind(*c, input, "WHERE"));
    }
    op = std::make_unique<Filter>(std::move(op), Binder::conjunction(std::move(parts)));
  }

  bool grouped = !core.groupBy.empty() || (core.having != nullptr);
  for (const ast::SelectItem& item : core.items)
    if (item.expr && Binder::containsAggregate(*item.expr)) grouped = true;
  if (order)
    for (const ast::OrderItem& item : *order)
      if (Binder::containsAggregate(*item.expr)) grouped = true;

  const ast::Crosstab* crosstab = core.crosstab.get();
  if (crosstab) grouped = true;

  Grouping grouping;
  grouping.input = &input;
  if (grouped) {
    for (const ast::ExprPtr& k : core.groupBy) {
      if (Binder::containsAggregate(*k))
        throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed("GROUP BY", k->text));
      grouping.keys.push_back(binder_.bind(*k, input, "GROUP BY"));
    }
    // Subqueries in the grouped part see the group's key columns by their names.
    for (size_t k = 0; k < grouping.keys.size(); ++k) {
      const BoundExpr& key = *grouping.keys[k];
      ColumnInfo info{"", core.groupBy[k]->text, key.type, key.size};
      if (key.kind == BoundKind::Column && key.depth == 0)
        info = input.columns[static_cast<size_t>(key.slot)];
      grouping.post.columns.push_back(info);
    }
    grouping.post.outer = outer;
    grouping.post.correlated = correlated;
  }
  auto bindItem = [&](const Expr& e, const std::string& clause) {
    return grouped ? binder_.bindGrouped(e, grouping, clause) : binder_.bind(e, input, clause);
  };

  // A crosstab's value is bound first and its aggregates taken apart: each
  // pivot column gets copies of them of its own, which no other clause shares.
  BoundPtr cellValue, pivot;
  std::vector<AggSpec> cellAggs;
  if (crosstab) {
    if (!Binder::containsAggregate(*crosstab->value))
      throw SqlError(ErrorCode::Invalid, msg::transformNotAggregate(crosstab->value->text));
    cellValue = binder_.bindGrouped(*crosstab->value, grouping, "TRANSFORM");
    cellAggs = std::move(grouping.aggs);
    grouping.aggs.clear();
    if (Binder::containsAggregate(*crosstab->pivot))
      throw SqlError(ErrorCode::Invalid, msg::aggregateNotAllowed("PIVOT", crosstab->pivot->text));
    pivot = binder_.bind(*crosstab->pivot, input, "PIVOT");
  }

  // The select list.
  std::vector<OutputColumn> outputs;
  for (size_t pos = 0; pos < core.items.size(); ++pos) {
    const ast::SelectItem& item = core.items[pos];
    if (item.star) {
      bool any = false;
      for (size_t i = 0; i < input.columns.size(); ++i) {
        const ColumnInfo& c = input.columns[i];
        if (!item.starQualifier.empty() && !equalsIgnoreCase(c.table, item.starQualifier)) continue;
        any = true;
        OutputColumn out;
        out.info = c;
        bool duplicate = false;
        for (size_t j = 0; j < input.columns.size(); ++j)
          if (j != i && equalsIgnoreCase(input.columns[j].name, c.name)) duplicate = true;
        if (duplicate && item.starQualifier.empty() && !c.table.empty())
          out.info.name = c.table + "." + c.name;
        out.expr = grouped ? binder_.groupedColumn(static_cast<int>(i), c, grouping)
                           : Binder::columnRef(0, static_cast<int>(i), c);
        outputs.push_back(std::move(out));
      }
      if (!any) {
        if (item.starQualifier.empty()) throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("SELECT", "*"));
        throw SqlError(ErrorCode::NoSuchTable, msg::noSuchTable(item.starQualifier));
      }
      continue;
    }
    OutputColumn out;
    out.expr = bindItem(*item.expr, "SELECT");
    out.info.name = Binder::outputName(item, pos);
    out.aliased = !item.alias.empty();
    out.info.type = out.expr->type;
    out.info.size = out.expr->size;
    if (out.expr->kind == BoundKind::Column && !grouped && out.expr->depth == 0) {
      const ColumnInfo& src = input.columns[static_cast<size_t>(out.expr->slot)];
      out.info.table = src.table;
      out.info.precision = src.precision;
      out.info.scale = src.scale;
    }
    outputs.push_back(std::move(out));
  }

  BoundPtr having;
  if (core.having) having = bindItem(*core.having, "HAVING");

  // ORDER BY: an output column by position or name, else an expression
  // computed as a hidden column.
  std::vector<SortKey> sortKeys;
  size_t visible = outputs.size();
  if (order) {
    for (const ast::OrderItem& item : *order) {
      const Expr& e = *item.expr;
      int slot = -1;
      if (e.kind == ExprKind::Literal && e.literal.type() == DataType::Long) {
        slot = static_cast<int>(e.literal.asInt()) - 1;
        if (slot < 0 || slot >= static_cast<int>(visible))
          throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("ORDER BY", e.text));
      } else if (e.kind == ExprKind::Column && e.qualifier.empty()) {
        for (size_t k = 0; k < visible && slot < 0; ++k)
          if (equalsIgnoreCase(outputs[k].info.name, e.name)) slot = static_cast<int>(k);
      }
      if (slot < 0) {
        BoundPtr b = bindItem(e, "ORDER BY");
        for (size_t k = 0; k < outputs.size() && slot < 0; ++k)
          if (sameExpr(*outputs[k].expr, *b)) slot = static_cast<int>(k);
        if (slot < 0) {
          if (core.distinct) throw SqlError(ErrorCode::Invalid, msg::orderByConflictsDistinct(e.text));
          OutputColumn hidden;
          hidden.info = {"", e.text, b->type, b->size};
          hidden.expr = std::move(b);
          slot = static_cast<int>(outputs.size());
          outputs.push_back(std::move(hidden));
        }
      }
      sortKeys.push_back({slot, item.descending});
    }
  }

  PivotColumns columns;
  if (crosstab) {
    columns = pivotColumns(core, visible);
    const size_t cells = columns.size();
    std::vector<OutputColumn> cellColumns;
    const int keyCount = static_cast<int>(grouping.keys.size());
    for (size_t column = 0; column < cells; ++column) {
      const int shift = static_cast<int>(grouping.aggs.size());
      for (const AggSpec& a : cellAggs) {
        AggSpec cell;
        cell.kind = a.kind;
        cell.arg = a.arg ? cloneShifted(*a.arg) : nullptr;
        cell.distinct = a.distinct;
        cell.type = a.type;
        cell.size = a.size;
        cell.text = a.text;
        cell.pivotColumn = static_cast<int>(column);
        grouping.aggs.push_back(std::move(cell));
      }
      OutputColumn out;
      out.expr = cloneShifted(*cellValue, keyCount, shift);
      out.info = {"", columns.heading(column), cellValue->type, cellValue->size};
      cellColumns.push_back(std::move(out));
    }
    // A row heading read straight from a table column whose name a pivot
    // column takes is known by its table too, as `*` names clashing columns.
    for (size_t k = 0; k < visible; ++k) {
      OutputColumn& heading = outputs[k];
      const BoundExpr& e = *heading.expr;
      bool clash = false;
      for (const OutputColumn& cell : cellColumns)
        clash = clash || equalsIgnoreCase(cell.info.name, heading.info.name);
      if (!clash || e.kind != BoundKind::Column || e.depth != 0 || e.slot >= keyCount) continue;
      const ColumnInfo& source = grouping.post.columns[static_cast<size_t>(e.slot)];
      if (!source.table.empty() && equalsIgnoreCase(source.name, heading.info.name))
        heading.info.name = source.table + "." + source.name;
    }
    outputs.insert(outputs.begin() + static_cast<long>(visible), std::make_move_iterator(cellColumns.begin()),
                   std::make_move_iterator(cellColumns.end()));
    for (SortKey& k : sortKeys)
      if (k.column >= static_cast<int>(visible)) k.column += static_cast<int>(cells);
    visible += cells;
  }

  if (grouped) {
    std::vector<ColumnInfo> aggColumns;
    for (size_t k = 0; k < grouping.keys.size(); ++k) aggColumns.push_back(grouping.post.columns[k]);
    for (const AggSpec& a : grouping.aggs) aggColumns.push_back({"", a.text, a.type, a.size});
    std::vector<bool> keysRead(grouping.keys.size(), false);
    for (const OutputColumn& o : outputs) markColumnsRead(*o.expr, keysRead);
    if (having) markColumnsRead(*having, keysRead);
    std::vector<BoundPtr> keys = std::move(grouping.keys);
    auto aggregate = std::make_unique<HashAggregate>(std::move(op), std::move(keys), std::move(grouping.aggs),
                                                     std::move(aggColumns));
    aggregate->setKeysRead(std::move(keysRead));
    if (crosstab) aggregate->setPivot(std::move(pivot), std::move(columns));
    op = std::move(aggregate);
    if (having) op = std::make_unique<Filter>(std::move(op), std::move(having));
  }

  // Columns of different tables that come out under one name are known by
  // their tables ("Table1.col1", "Table2.col1"), as `*` names them; a saved
  // query hands those names on to the queries that read it.
  std::vector<size_t> qualify;
  for (size_t k = 0; k < visible; ++k) {
    const ColumnInfo& info = outputs[k].info;
    if (info.table.empty() || outputs[k].aliased) continue;
    for (size_t j = 0; j < visible; ++j) {
      const ColumnInfo& other = outputs[j].info;
      if (j != k && equalsIgnoreCase(other.name, info.name) && !equalsIgnoreCase(other.table, info.table)) {
        qualify.push_back(k);
        break;
      }
    }
  }
  for (size_t k : qualify) outputs[k].info.name = outputs[k].info.table + "." + outputs[k].info.name;

  std::vector<BoundPtr> exprs;
  std::vector<ColumnInfo> infos;
  for (OutputColumn& o : outputs) {
    exprs.push_back(std::move(o.expr));
    infos.push_back(o.info);
  }
  op = std::make_unique<Project>(std::move(op), std::move(exprs), infos);
  if (core.distinct) {
    // Plain columns of one stored table read the same rows again when
    // reopened, which lets DISTINCT keep hashes rather than whole rows.
    bool plainColumns = storedTable && !grouped && !core.where;
    for (const ast::SelectItem& item : core.items)
      plainColumns = plainColumns && (item.star || (item.expr && item.expr->kind == ast::ExprKind::Column));
    op = std::make_unique<Distinct>(std::move(op), plainColumns);
  }
  std::vector<int> tieColumns;
  for (const SortKey& k : sortKeys) tieColumns.push_back(k.column);
  if (!sortKeys.empty()) op = std::make_unique<Sort>(std::move(op), std::move(sortKeys));
  if (core.top) {
    const Value& n = core.top->count->literal;
    double count = n.toDouble();
    if (count < 0 || (core.top->percent && count > 100) || (!core.top->percent && n.type() != DataType::Long))
      throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn("SELECT", core.top->count->text));
    op = std::make_unique<Top>(std::move(op), count, core.top->percent, tieColumns);
  }
  if (infos.size() > visible) {
    std::vector<BoundPtr> trim;
    std::vector<ColumnInfo> kept(infos.begin(), infos.begin() + static_cast<long>(visible));
    for (size_t k = 0; k < visible; ++k) trim.push_back(Binder::columnRef(0, static_cast<int>(k), infos[k]));
    op = std::make_unique<Project>(std::move(op), std::move(trim), kept);
  }
  return op;
}

}  // namespace jet::sql
