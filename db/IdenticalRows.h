// Removing rows that repeat an earlier row in every column, in place: the
// table keeps its name, columns, indexes, primary key and auto-numbers, and a
// table without such rows is not touched at all. Rows compare as Jet's
// DISTINCT compares them: Nulls alike, text ignoring case, Memo values whole.
// Of each group of identical rows the first in the table's order stays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/storage/Store.h"

namespace qm::db {

struct IdenticalRows {
  uint64_t rows = 0;                         // rows read
  std::vector<jet::storage::RowId> repeats;  // rows equal to an earlier one
};

IdenticalRows findIdenticalRows(jet::storage::Table& table);

// Deletes the repeats of `table` (its stored name) in one transaction of
// `store`: all of them or, after any error, none. Returns how many went.
uint64_t removeIdenticalRows(jet::storage::Store& store, const std::string& table);

}  // namespace qm::db
