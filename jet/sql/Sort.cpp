#include "jet/sql/Sort.h"

#include <algorithm>

#include "jet/sql/ValueOps.h"

namespace jet::sql {

Sort::Sort(OperatorPtr input, std::vector<SortKey> keys) : input_(std::move(input)), keys_(std::move(keys)) {
  columns_ = input_->columns();
}

void Sort::open(const EvalContext* outer) {
  rows_.clear();
  pos_ = 0;
  input_->open(outer);
  Row r;
  while (input_->next(r)) rows_.push_back(std::move(r));
  std::stable_sort(rows_.begin(), rows_.end(), [this](const Row& a, const Row& b) {
    for (const SortKey& k : keys_) {
      int c = sortCompare(a[static_cast<size_t>(k.column)], b[static_cast<size_t>(k.column)]);
      if (c != 0) return k.descending ? c > 0 : c < 0;
    }
    return false;
  });
}

bool Sort::next(Row& out) {
  if (pos_ >= rows_.size()) return false;
  out = std::move(rows_[pos_++]);
  return true;
}

}  // namespace jet::sql
