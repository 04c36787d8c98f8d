// The columns of a crosstab: one per heading, in the order they were added.
// A heading is a pivot value's text as CStr gives it ("<>" for Null), and
// headings match without regard to case, as Jet matches field names: a row
// adds to the column whose heading its pivot value's text is.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "jet/core/Value.h"

namespace jet::sql {

class PivotColumns {
 public:
  static constexpr const char* kNullHeading = "<>";

  // Adds a column for `value`; false (and nothing added) when a column has
  // that heading already.
  bool add(const Value& value);
  size_t size() const { return headings_.size(); }
  const std::string& heading(size_t column) const { return headings_[column]; }
  // The column rows with this pivot value add to, or -1 when there is none.
  int columnOf(const Value& value) const;

 private:
  std::vector<std::string> headings_;
  std::unordered_map<std::string, int> byFoldedHeading_;
  int nullColumn_ = -1;
};

}  // namespace jet::sql
