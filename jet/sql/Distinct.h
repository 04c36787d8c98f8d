// DISTINCT and UNION: passes each row whose values (all columns, Memo values
// whole, text without regard to case, Nulls alike) were not seen before, in
// the order the rows first appear.
//
// Over an input that yields the same rows in the same order each time it is
// opened (plain columns of a stored table), memory need not grow with the
// rows' width: a first pass keeps only 8 bytes of hash per row and marks the rows
// whose hash is shared; the second pass passes every other row straight
// through and compares the marked ones by their whole values. No row is ever
// told apart or merged by its hash alone.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/sql/KeyTable.h"
#include "jet/sql/Operator.h"

namespace jet::sql {

class Distinct : public Operator {
 public:
  explicit Distinct(OperatorPtr input, bool repeatableInput = false);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;
  // A set of rows has no order, and neither need its input.
  void allowAnyOrder() override { input_->allowAnyOrder(); }

 private:
  OperatorPtr input_;
  bool twoPass_;
  KeyTable seen_;             // one pass: every distinct row's key; two: those of rows with a shared hash
  std::vector<bool> shared_;  // two passes: rows (by position) whose hash another row shares
  uint64_t position_ = 0;
};

}  // namespace jet::sql
