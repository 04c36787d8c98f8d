// An independent check of a table's indexes against its rows, for tests, the
// command line and benchmarks: every index's B-tree is walked (pages decode,
// keys in order, intermediate entries naming the greatest entry under their
// child, leaves chained both ways), every entry must point at a live row
// whose values encode to exactly the entry's key, and every live row must be
// in every index (unless the index leaves it out for its Nulls).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jet/storage/JetTable.h"

namespace jet::storage {

struct IndexReport {
  size_t indexes = 0;
  size_t entries = 0;
  size_t rows = 0;
  std::vector<std::string> problems;  // the first few, each naming index and row
  bool ok() const { return problems.empty(); }
};

// Reads only; never throws for what it finds (a damaged page is a problem
// in the report).
IndexReport checkIndexes(JetTable& table);

}  // namespace jet::storage
