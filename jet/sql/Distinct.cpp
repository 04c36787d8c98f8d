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
  // One 8-byte entry a row: the top bits of its hash above its position.
  // Rows whose hash bits match another row's are compared whole in the
  // second pass; bits that match by chance only cost that comparison.
  constexpr int kPositionBits = 26;
  constexpr uint64_t kHashBits = ~((uint64_t{1} << kPositionBits) - 1);
  std::vector<uint64_t> entries;
  Row row;
  std::string key;
  while (input_->next(row)) {
    if (entries.size() >> kPositionBits) {
      // More rows than positions: every row's key is kept instead.
      entries = {};
      input_->open(outer);
      return;
    }
    keyOfRow(row, key);
    entries.push_back((hashOf(key) & kHashBits) | entries.size());
  }
  shared_.assign(entries.size(), false);
  std::sort(entries.begin(), entries.end());
  for (size_t i = 0; i < entries.size();) {
    size_t j = i + 1;
    while (j < entries.size() && (entries[j] & kHashBits) == (entries[i] & kHashBits)) ++j;
    if (j - i > 1)
      for (size_t k = i; k < j; ++k) shared_[entries[k] & ~kHashBits] = true;
    i = j;
  }
  entries = {};
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
