#include "jet/sql/Operators.h"

#include <cmath>

#include "jet/sql/ValueOps.h"

namespace jet::sql {

TableScan::TableScan(std::shared_ptr<storage::Table> table, const std::string& label)
    : table_(std::move(table)) {
  for (const storage::ColumnDef& c : table_->schema().columns)
    columns_.push_back({label, c.name, c.type, c.size, c.precision, c.scale});
}

void TableScan::open(const EvalContext*) {
  cursor_ = wanted_.empty() ? table_->scan() : table_->scan(wanted_);
}

bool TableScan::next(Row& out) {
  if (!cursor_ || !cursor_->next()) return false;
  cancel_.check();
  out = cursor_->takeRow();
  return true;
}

bool SingleRow::next(Row& out) {
  if (done_) return false;
  done_ = true;
  out.clear();
  return true;
}

Filter::Filter(OperatorPtr input, BoundPtr predicate)
    : input_(std::move(input)), predicate_(std::move(predicate)) {
  columns_ = input_->columns();
}

void Filter::open(const EvalContext* outer) {
  outer_ = outer;
  input_->open(outer);
}

bool Filter::next(Row& out) {
  while (input_->next(out)) {
    cancel_.check();
    EvalContext ctx{&out, outer_};
    if (evaluatesTrue(*predicate_, ctx)) return true;
  }
  return false;
}

Project::Project(OperatorPtr input, std::vector<BoundPtr> exprs, std::vector<ColumnInfo> columns)
    : input_(std::move(input)), exprs_(std::move(exprs)) {
  columns_ = std::move(columns);
  const size_t width = input_->columns().size();
  std::vector<int> uses(width, 0);
  for (const BoundPtr& e : exprs_)
    if (e->kind == BoundKind::Column && e->depth == 0 && static_cast<size_t>(e->slot) < width)
      ++uses[static_cast<size_t>(e->slot)];
  passThrough_ = exprs_.size() == width;
  for (size_t i = 0; i < exprs_.size(); ++i) {
    const BoundExpr& e = *exprs_[i];
    const bool single = e.kind == BoundKind::Column && e.depth == 0 && static_cast<size_t>(e.slot) < width &&
                        uses[static_cast<size_t>(e.slot)] == 1;
    movedFrom_.push_back(single ? e.slot : -1);
    passThrough_ = passThrough_ && single && static_cast<size_t>(e.slot) == i;
  }
}

void Project::open(const EvalContext* outer) {
  outer_ = outer;
  input_->open(outer);
}

bool Project::next(Row& out) {
  if (passThrough_) return input_->next(out);
  if (!input_->next(row_)) return false;
  EvalContext ctx{&row_, outer_};
  out.resize(exprs_.size());
  // Computed columns first: they may read a column that is then moved out.
  for (size_t i = 0; i < exprs_.size(); ++i)
    if (movedFrom_[i] < 0) out[i] = evaluate(*exprs_[i], ctx);
  for (size_t i = 0; i < exprs_.size(); ++i)
    if (movedFrom_[i] >= 0) out[i] = std::move(row_[static_cast<size_t>(movedFrom_[i])]);
  return true;
}

Top::Top(OperatorPtr input, double count, bool percent, std::vector<int> tieColumns)
    : input_(std::move(input)), count_(count), percent_(percent), tieColumns_(std::move(tieColumns)) {
  columns_ = input_->columns();
}

void Top::open(const EvalContext* outer) {
  input_->open(outer);
  emitted_ = 0;
  tiesDone_ = false;
  buffer_.clear();
  bufferPos_ = 0;
  if (percent_) {
    Row r;
    while (input_->next(r)) buffer_.push_back(r);
    limit_ = static_cast<int64_t>(std::ceil(static_cast<double>(buffer_.size()) * count_ / 100.0));
  } else {
    limit_ = static_cast<int64_t>(count_);
  }
}

bool Top::pull(Row& out) {
  if (!percent_) return input_->next(out);
  if (bufferPos_ >= buffer_.size()) return false;
  out = buffer_[bufferPos_++];
  return true;
}

bool Top::next(Row& out) {
  if (emitted_ < limit_) {
    if (!pull(out)) return false;
    ++emitted_;
    if (emitted_ == limit_) last_ = out;
    return true;
  }
  if (tieColumns_.empty() || tiesDone_ || limit_ <= 0) return false;
  if (!pull(out)) return false;
  for (int c : tieColumns_)
    if (sortCompare(out[static_cast<size_t>(c)], last_[static_cast<size_t>(c)]) != 0) {
      tiesDone_ = true;  // no further ties can follow in a sorted input
      return false;
    }
  return true;
}

UnionAll::UnionAll(std::vector<OperatorPtr> inputs, std::vector<ColumnInfo> columns)
    : inputs_(std::move(inputs)) {
  columns_ = std::move(columns);
}

void UnionAll::open(const EvalContext* outer) {
  outer_ = outer;
  current_ = 0;
  if (!inputs_.empty()) inputs_[0]->open(outer);
}

bool UnionAll::next(Row& out) {
  while (current_ < inputs_.size()) {
    if (inputs_[current_]->next(out)) return true;
    if (++current_ < inputs_.size()) inputs_[current_]->open(outer_);
  }
  return false;
}

}  // namespace jet::sql
