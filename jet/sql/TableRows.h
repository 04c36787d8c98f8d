// The result of a plain scan of a stored table ("select * from [t]"): it
// keeps where each row is (its row id, four bytes while ids fit) and reads
// the rows when they are asked for, so a table of a million rows opens at
// the cost of walking its pages once, and memory grows by the ids only.
//
// The ids are only good while the table stays as it was. Whenever the store
// reports a change (this program's write or rollback, another process's
// commit) the result walks the table again before it answers, so it never
// shows a row that is gone or one that took another's place. A table that
// was dropped, or whose columns changed, then has no rows.
#pragma once

#include <memory>
#include <string>

#include "jet/sql/StaticResult.h"
#include "jet/storage/Store.h"

namespace jet::sql {

class TableRows : public StaticResult {
 public:
  // Walks the table now (inside the caller's read transaction).
  TableRows(storage::Store& store, std::shared_ptr<storage::Table> table, std::vector<ResultField> fields);

  uint64_t rowCount() override;
  const std::string& tableName() const { return name_; }

  // Writes `value` into one cell of the row at `position`, in a transaction
  // of its own. Refused (rowChanged) when the table changed since this
  // result last looked: the rows the user saw are read again instead, and
  // the one at that position may be another row now.
  void updateCell(uint64_t position, size_t column, const Value& value);

 protected:
  uint64_t knownRowCount() override;
  void readRows(uint64_t first, size_t count, std::vector<Row>& out) override;

 private:
  // Takes the ids again when the store changed since they were taken.
  void revalidate();
  // Opens the table again and takes the ids of its rows.
  void collectIds();
  uint64_t size() const { return wide_.empty() ? narrow_.size() : wide_.size(); }
  storage::RowId idAt(uint64_t position) const { return wide_.empty() ? narrow_[position] : wide_[position]; }
  void setId(uint64_t position, storage::RowId id);

  storage::Store& store_;
  std::shared_ptr<storage::Table> table_;  // null when the table is gone
  std::string name_;
  size_t columnCount_;
  // Ids of the rows in scan order: four bytes each, or eight once one needs it.
  std::vector<uint32_t> narrow_;
  std::vector<storage::RowId> wide_;
  uint64_t changesSeen_ = 0;
};

}  // namespace jet::sql
