// The streaming operators: they hold at most one input row at a time, so a
// scan-filter-project query runs in constant memory whatever the table size.
#pragma once

#include <memory>

#include "jet/core/Cancel.h"

#include "jet/sql/Eval.h"
#include "jet/sql/Operator.h"
#include "jet/storage/Store.h"

namespace jet::sql {

// Every row of a stored table, in the store's order.
class TableScan : public Operator {
 public:
  TableScan(std::shared_ptr<storage::Table> table, const std::string& label);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;
  // Only these columns (one flag each) are read; the rest come back Null.
  void readOnly(std::vector<bool> wanted) { wanted_ = std::move(wanted); }
  const storage::TableSchema& schema() const { return table_->schema(); }

 private:
  std::shared_ptr<storage::Table> table_;
  std::unique_ptr<storage::RowCursor> cursor_;
  std::vector<bool> wanted_;  // empty: every column
  CancelPoint cancel_;
};

// One row without columns: SELECT without FROM.
class SingleRow : public Operator {
 public:
  void open(const EvalContext*) override { done_ = false; }
  bool next(Row& out) override;

 private:
  bool done_ = false;
};

// Rows of the input for which the predicate is True.
class Filter : public Operator {
 public:
  Filter(OperatorPtr input, BoundPtr predicate);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;
  void allowAnyOrder() override { input_->allowAnyOrder(); }

 private:
  OperatorPtr input_;
  BoundPtr predicate_;
  const EvalContext* outer_ = nullptr;
  Row row_;
  CancelPoint cancel_;
};

// One output column per expression over the input row.
class Project : public Operator {
 public:
  Project(OperatorPtr input, std::vector<BoundPtr> exprs, std::vector<ColumnInfo> columns);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;
  void allowAnyOrder() override { input_->allowAnyOrder(); }

 private:
  OperatorPtr input_;
  std::vector<BoundPtr> exprs_;
  // Output columns that are an input column named once: the value is moved,
  // not copied (-1: computed). When every output is its own input column,
  // rows pass through untouched.
  std::vector<int> movedFrom_;
  bool passThrough_ = false;
  const EvalContext* outer_ = nullptr;
  Row row_;
};

// The first n rows (or n percent), and with an ORDER BY every further row
// tied with the last one on the sort keys, as Jet's TOP does.
class Top : public Operator {
 public:
  Top(OperatorPtr input, double count, bool percent, std::vector<int> tieColumns);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  bool pull(Row& out);
  OperatorPtr input_;
  double count_;
  bool percent_;
  std::vector<int> tieColumns_;
  int64_t limit_ = 0;
  int64_t emitted_ = 0;
  bool tiesDone_ = false;
  Row last_;
  std::vector<Row> buffer_;  // TOP n PERCENT needs the row count first
  size_t bufferPos_ = 0;
};

// The rows of each input in turn (UNION ALL).
class UnionAll : public Operator {
 public:
  UnionAll(std::vector<OperatorPtr> inputs, std::vector<ColumnInfo> columns);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  std::vector<OperatorPtr> inputs_;
  const EvalContext* outer_ = nullptr;
  size_t current_ = 0;
};

}  // namespace jet::sql
