// The result of a statement whose rows had to be computed (grouping,
// ordering, DISTINCT, joins, expressions, saved queries): every row is kept,
// packed as bytes rather than as Values, with one offset per row. Past a
// memory budget the packed rows go to a temporary file and are read back
// from it when asked for, so a large result costs disk rather than memory.
#pragma once

#include <memory>
#include <string>

#include "jet/sql/SpillFile.h"
#include "jet/sql/StaticResult.h"

namespace jet::sql {

class ComputedRows : public StaticResult {
 public:
  static constexpr size_t kDefaultMemoryBudget = size_t{64} << 20;

  explicit ComputedRows(std::vector<ResultField> fields, size_t memoryBudget = kDefaultMemoryBudget);

  void append(const Row& row);
  uint64_t rowCount() override { return offsets_.size(); }
  // Whether rows went to the temporary file.
  bool spilled() const { return spill_ != nullptr; }

 protected:
  uint64_t knownRowCount() override { return offsets_.size(); }
  void readRows(uint64_t first, size_t count, std::vector<Row>& out) override;

 private:
  // Copies `count` bytes from `offset` of all rows packed end to end.
  void copyBytes(uint64_t offset, size_t count, std::string& out);

  size_t budget_;
  // Rows in memory, in chunks that hold whole rows; chunkStarts_ are the
  // offsets of their first bytes.
  std::vector<std::string> chunks_;
  std::vector<uint64_t> chunkStarts_;
  uint64_t memoryBytes_ = 0;
  std::unique_ptr<SpillFile> spill_;  // the rows past memoryBytes_
  std::vector<uint64_t> offsets_;     // of each row's first byte
  std::string packed_;                // the row being packed
};

}  // namespace jet::sql
