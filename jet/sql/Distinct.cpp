#include "jet/sql/Distinct.h"

#include "jet/sql/ValueOps.h"

namespace jet::sql {

Distinct::Distinct(OperatorPtr input) : input_(std::move(input)) {
  columns_ = input_->columns();
}

void Distinct::open(const EvalContext* outer) {
  seen_.clear();
  input_->open(outer);
}

bool Distinct::next(Row& out) {
  std::string key;
  while (input_->next(out)) {
    key.clear();
    for (const Value& v : out) appendKey(key, v);
    if (seen_.insert(key).second) return true;
  }
  return false;
}

}  // namespace jet::sql
