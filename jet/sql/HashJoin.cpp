#include "jet/sql/HashJoin.h"

#include "jet/sql/ValueOps.h"

namespace jet::sql {

HashJoin::HashJoin(ast::JoinType type, OperatorPtr left, OperatorPtr right, std::vector<BoundPtr> leftKeys,
                   std::vector<BoundPtr> rightKeys, BoundPtr residual)
    : type_(type),
      left_(std::move(left)),
      right_(std::move(right)),
      leftKeys_(std::move(leftKeys)),
      rightKeys_(std::move(rightKeys)),
      residual_(std::move(residual)) {
  columns_ = left_->columns();
  for (const ColumnInfo& c : right_->columns()) columns_.push_back(c);
  leftWidth_ = left_->columns().size();
  rightWidth_ = right_->columns().size();
}

bool HashJoin::keyOf(const std::vector<BoundPtr>& keys, const Row& row, std::string& key) const {
  key.clear();
  EvalContext ctx{&row, outer_};
  for (const BoundPtr& k : keys) {
    Value v = evaluate(*k, ctx);
    if (v.isNull()) return false;
    appendKey(key, v);
  }
  return true;
}

void HashJoin::combine(const Row& left, const Row* right, Row& out) const {
  out.clear();
  out.reserve(leftWidth_ + rightWidth_);
  out.insert(out.end(), left.begin(), left.end());
  if (right)
    out.insert(out.end(), right->begin(), right->end());
  else
    out.resize(leftWidth_ + rightWidth_);
}

void HashJoin::open(const EvalContext* outer) {
  outer_ = outer;
  build_.clear();
  buckets_.clear();
  right_->open(outer);
  Row r;
  std::string key;
  while (right_->next(r)) {
    cancel_.check();
    size_t i = build_.size();
    build_.push_back(r);
    if (keyOf(rightKeys_, r, key)) buckets_[key].push_back(i);
  }
  matched_.assign(build_.size(), false);
  left_->open(outer);
  haveLeft_ = false;
  leftDone_ = false;
  unmatchedPos_ = 0;
}

bool HashJoin::next(Row& out) {
  std::string key;
  while (!leftDone_) {
    if (!haveLeft_) {
      if (!left_->next(leftRow_)) {
        leftDone_ = true;
        break;
      }
      haveLeft_ = true;
      leftMatched_ = false;
      candidatePos_ = 0;
      candidates_ = nullptr;
      if (keyOf(leftKeys_, leftRow_, key)) {
        auto it = buckets_.find(key);
        if (it != buckets_.end()) candidates_ = &it->second;
      }
    }
    while (candidates_ && candidatePos_ < candidates_->size()) {
      cancel_.check();
      size_t idx = (*candidates_)[candidatePos_++];
      combine(leftRow_, &build_[idx], out);
      if (residual_) {
        EvalContext ctx{&out, outer_};
        if (!evaluatesTrue(*residual_, ctx)) continue;
      }
      leftMatched_ = true;
      matched_[idx] = true;
      return true;
    }
    haveLeft_ = false;
    if (type_ == ast::JoinType::Left && !leftMatched_) {
      combine(leftRow_, nullptr, out);
      return true;
    }
  }
  if (type_ == ast::JoinType::Right) {
    while (unmatchedPos_ < build_.size()) {
      size_t idx = unmatchedPos_++;
      if (matched_[idx]) continue;
      out.assign(leftWidth_, Value());
      out.insert(out.end(), build_[idx].begin(), build_[idx].end());
      return true;
    }
  }
  return false;
}

}  // namespace jet::sql
