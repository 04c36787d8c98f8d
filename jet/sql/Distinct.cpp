#include "jet/sql/Distinct.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "jet/sql/ValueOps.h"

namespace jet::sql {

namespace {

void keyOfRow(const Row& row, std::string& key) {
  key.clear();
  for (const Value& v : row) appendKey(key, v);
}

uint64_t hashOf(const std::string& key) {
  return std::hash<std::string_view>{}(key);
}

}  // namespace

Distinct::Distinct(OperatorPtr input, bool repeatableInput)
    : input_(std::move(input)), twoPass_(repeatableInput) {
  columns_ = input_->columns();
}

void Distinct::open(const EvalContext* outer) {
  seen_.clear();
  shared_.clear();
  position_ = 0;
  input_->open(outer);
  if (!twoPass_) return;
  std::vector<std::pair<uint64_t, uint64_t>> hashes;  // hash, position
  Row row;
  std::string key;
  while (input_->next(row)) {
    keyOfRow(row, key);
    hashes.emplace_back(hashOf(key), hashes.size());
  }
  shared_.assign(hashes.size(), false);
  std::sort(hashes.begin(), hashes.end());
  for (size_t i = 0; i < hashes.size();) {
    size_t j = i + 1;
    while (j < hashes.size() && hashes[j].first == hashes[i].first) ++j;
    if (j - i > 1)
      for (size_t k = i; k < j; ++k) shared_[hashes[k].second] = true;
    i = j;
  }
  hashes = {};
  input_->open(outer);
}

bool Distinct::next(Row& out) {
  std::string key;
  while (input_->next(out)) {
    if (twoPass_) {
      const uint64_t at = position_++;
      // A hash no other row has: no other row has these values either.
      if (at < shared_.size() && !shared_[at]) return true;
    }
    keyOfRow(out, key);
    if (seen_.insert(key).second) return true;
  }
  seen_.clear();
  shared_ = {};
  return false;
}

}  // namespace jet::sql
