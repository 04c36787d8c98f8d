#include "jet/sql/PivotColumns.h"

#include "jet/core/Text.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

bool PivotColumns::add(const Value& value) {
  const int column = static_cast<int>(headings_.size());
  if (value.isNull()) {
    if (nullColumn_ >= 0) return false;
    nullColumn_ = column;
    headings_.push_back(kNullHeading);
    return true;
  }
  std::string heading = toText(value);
  if (!byFoldedHeading_.emplace(foldCase(heading), column).second) return false;
  headings_.push_back(std::move(heading));
  return true;
}

int PivotColumns::columnOf(const Value& value) const {
  if (value.isNull()) return nullColumn_;
  auto it = byFoldedHeading_.find(foldCase(toText(value)));
  return it == byFoldedHeading_.end() ? -1 : it->second;
}

}  // namespace jet::sql
