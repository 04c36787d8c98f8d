#include "db/IdenticalRows.h"

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/KeyTable.h"
#include "jet/sql/ValueOps.h"

namespace qm::db {

IdenticalRows findIdenticalRows(jet::storage::Table& table) {
  IdenticalRows found;
  jet::sql::KeyTable seen;
  jet::CancelPoint cancel;
  std::string key;
  auto cursor = table.scan();
  while (cursor->next()) {
    cancel.check();
    key.clear();
    // The key DISTINCT and GROUP BY use, so that this agrees with "select distinct *".
    for (const jet::Value& v : cursor->row()) jet::sql::appendKey(key, v);
    ++found.rows;
    if (!seen.insert(key).second) found.repeats.push_back(cursor->rowId());
  }
  return found;
}

uint64_t removeIdenticalRows(jet::storage::Store& store, const std::string& name) {
  // Found and removed inside the one transaction, so no other writer can
  // change the rows between the two.
  const int outer = store.transactionDepth();
  store.begin();
  try {
    std::shared_ptr<jet::storage::Table> table = store.openTable(name);
    if (!table) throw jet::Error(jet::ErrorCode::NoSuchTable, jet::msg::noSuchTable(name));
    IdenticalRows found = findIdenticalRows(*table);
    if (!found.repeats.empty()) table->removeRows(found.repeats);
    store.commit();
    return found.repeats.size();
  } catch (...) {
    // A commit that failed may have ended the transaction itself.
    if (store.transactionDepth() > outer) store.rollback();
    throw;
  }
}

}  // namespace qm::db
