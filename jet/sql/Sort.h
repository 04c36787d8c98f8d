// ORDER BY: gathers the input and sorts it stably on the key columns (Nulls
// first in ascending order, text without regard to case).
#pragma once

#include <vector>

#include "jet/sql/Operator.h"

namespace jet::sql {

struct SortKey {
  int column = 0;
  bool descending = false;
};

class Sort : public Operator {
 public:
  Sort(OperatorPtr input, std::vector<SortKey> keys);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  OperatorPtr input_;
  std::vector<SortKey> keys_;
  std::vector<Row> rows_;
  size_t pos_ = 0;
};

}  // namespace jet::sql
