// DISTINCT and UNION: passes each row whose values (all columns, Memo values
// whole, text without regard to case, Nulls alike) were not seen before, in
// the order the rows first appear.
//
// Over an input that yields the same rows in the same order each time it is
// opened (plain columns of a stored table), memory need not grow with the
// rows' width: a first pass keeps only a hash per row and marks the rows
// whose hash is shared; the second pass passes every other row straight
// through and compares the marked ones by their whole values. No row is ever
// told apart or merged by its hash alone.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "jet/sql/Operator.h"

namespace jet::sql {

class Distinct : public Operator {
 public:
  explicit Distinct(OperatorPtr input, bool repeatableInput = false);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  OperatorPtr input_;
  bool twoPass_;
  std::unordered_set<std::string> seen_;  // one pass: every distinct row's key
  // Two passes: rows (by position) whose hash another row shares, and the
  // keys of those already passed, by hash.
  std::vector<bool> shared_;
  std::unordered_map<uint64_t, std::vector<std::string>> sharedSeen_;
  uint64_t position_ = 0;
};

}  // namespace jet::sql
