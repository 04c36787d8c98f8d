// What a keep-lowest or keep-highest removal will do, counted before it runs:
// the groups of records with equal key fields that have more than one record,
// and the records beyond the first of each (those the removal deletes when the
// ID field is distinct and non-Null). One grouped pass over the table, its
// groups in no order.
#pragma once

#include <cstdint>
#include <string>

#include "jet/sql/Session.h"

namespace qm::db {

struct DuplicateSummary {
  int64_t duplicateGroups = 0;
  int64_t surplusRecords = 0;
};

// `fields` is the bracketed key list, as the removal statements take it.
DuplicateSummary summarizeDuplicates(jet::sql::Session& session, const std::string& table,
                                     const std::string& fields);

}  // namespace qm::db
