// The executor's building block: a pull-based operator producing rows. A plan
// is a tree of operators; `open` (re)starts it, `next` yields one row at a
// time. Operators that need their whole input (sort, grouping, the build side
// of a join) gather it in `open`; the rest stream.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/core/Value.h"

namespace jet::sql {

struct EvalContext;

// One column of an operator's output as the binder sees it.
struct ColumnInfo {
  std::string table;  // the source's name or alias, empty for computed columns
  std::string name;
  DataType type = DataType::Null;
  uint16_t size = 0;
  uint8_t precision = 0;  // Decimal
  uint8_t scale = 0;
};

class Operator {
 public:
  virtual ~Operator() = default;
  // `outer` is the row of the enclosing query for correlated subqueries; it
  // must stay valid until the operator is opened again.
  virtual void open(const EvalContext* outer) = 0;
  virtual bool next(Row& out) = 0;
  // The consumer does not care in which order the rows come (an IN list), so
  // an operator may skip ordering work. Passed down through operators that
  // keep their input's order.
  virtual void allowAnyOrder() {}
  const std::vector<ColumnInfo>& columns() const { return columns_; }
  // A derived table or saved query is known by its alias from outside.
  void relabel(const std::string& table) {
    for (ColumnInfo& c : columns_) c.table = table;
  }
  void rename(size_t column, const std::string& name) { columns_[column].name = name; }

 protected:
  std::vector<ColumnInfo> columns_;
};

using OperatorPtr = std::unique_ptr<Operator>;

}  // namespace jet::sql
