// DISTINCT and UNION: passes each row whose values (all columns, Memo values
// whole, text without regard to case, Nulls alike) were not seen before.
#pragma once

#include <string>
#include <unordered_set>

#include "jet/sql/Operator.h"

namespace jet::sql {

class Distinct : public Operator {
 public:
  explicit Distinct(OperatorPtr input);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  OperatorPtr input_;
  std::unordered_set<std::string> seen_;
};

}  // namespace jet::sql
