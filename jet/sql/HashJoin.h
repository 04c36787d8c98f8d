// INNER, LEFT and RIGHT joins. The right input is read once into a hash table
// keyed by the equality conditions of ON (or of WHERE for a comma join); each
// left row then probes it, and the rest of the condition is checked on the
// joined row. Without any equality the table has one bucket (a nested loop
// over the buffered right side), which only non-equi joins need.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "jet/core/Cancel.h"
#include "jet/sql/Ast.h"
#include "jet/sql/Eval.h"
#include "jet/sql/Operator.h"

namespace jet::sql {

class HashJoin : public Operator {
 public:
  // `leftKeys` are bound over left rows, `rightKeys` over right rows,
  // `residual` (may be null) over the joined row (left columns, then right).
  HashJoin(ast::JoinType type, OperatorPtr left, OperatorPtr right, std::vector<BoundPtr> leftKeys,
           std::vector<BoundPtr> rightKeys, BoundPtr residual);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;

 private:
  // Nothing when a key part is Null: Null never equals anything.
  bool keyOf(const std::vector<BoundPtr>& keys, const Row& row, std::string& key) const;
  void combine(const Row& left, const Row* right, Row& out) const;

  ast::JoinType type_;
  OperatorPtr left_, right_;
  std::vector<BoundPtr> leftKeys_, rightKeys_;
  BoundPtr residual_;
  const EvalContext* outer_ = nullptr;

  std::vector<Row> build_;
  std::vector<bool> matched_;
  std::unordered_map<std::string, std::vector<size_t>> buckets_;
  Row leftRow_;
  const std::vector<size_t>* candidates_ = nullptr;
  size_t candidatePos_ = 0;
  bool leftMatched_ = false;
  bool haveLeft_ = false;
  bool leftDone_ = false;
  size_t unmatchedPos_ = 0;
  size_t leftWidth_ = 0, rightWidth_ = 0;
  // Pairs tried, not rows returned: a join whose condition rejects most pairs still stops.
  CancelPoint cancel_;
};

}  // namespace jet::sql
