#include "db/DuplicateSummary.h"

#include "db/DupStatements.h"

namespace qm::db {

DuplicateSummary summarizeDuplicates(jet::sql::Session& session, const std::string& table,
                                     const std::string& fields) {
  const auto rows = session.execute(duplicateTotalsStatement(table, fields)).result.rows;
  DuplicateSummary summary;
  if (rows.size() != 1 || rows[0].size() != 2) return summary;
  summary.duplicateGroups = static_cast<int64_t>(rows[0][0].toDouble());
  // Records of the duplicate groups, less the one each keeps (no groups: Null).
  if (!rows[0][1].isNull())
    summary.surplusRecords = static_cast<int64_t>(rows[0][1].toDouble()) - summary.duplicateGroups;
  return summary;
}

}  // namespace qm::db
