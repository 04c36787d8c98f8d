// The rows of a row-returning statement as a static cursor offers them: a
// record count and any row by its position, in any order. Rows are read (or
// unpacked) when asked for, a block at a time; a few blocks stay decoded, so
// a grid scrolling through a screenful asks the store once per block.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "jet/core/Value.h"
#include "jet/sql/Session.h"

namespace jet::sql {

class StaticResult {
 public:
  explicit StaticResult(std::vector<ResultField> fields) : fields_(std::move(fields)) {}
  virtual ~StaticResult() = default;
  StaticResult(const StaticResult&) = delete;
  StaticResult& operator=(const StaticResult&) = delete;

  const std::vector<ResultField>& fields() const { return fields_; }
  // The record count, after looking whether the rows changed underneath.
  virtual uint64_t rowCount() = 0;
  // The row at `position`; throws jet::Error past the end. The reference
  // holds until the next call on this result.
  const Row& row(uint64_t position);

  static constexpr uint64_t kBlockRows = 32;
  static constexpr size_t kCachedBlocks = 8;

 protected:
  // The record count as far as this program knows without asking the file
  // (the cheap check made for every row asked for).
  virtual uint64_t knownRowCount() = 0;
  // Fills `out` with `count` rows from `first` on (all within rowCount()).
  virtual void readRows(uint64_t first, size_t count, std::vector<Row>& out) = 0;
  // After the rows changed: nothing decoded before is shown again.
  void forgetDecodedRows() { blocks_.clear(); }
  // After one row changed in place.
  void forgetDecodedRow(uint64_t position);

 private:
  struct Block {
    uint64_t first = 0;
    std::vector<Row> rows;
  };
  std::vector<ResultField> fields_;
  std::list<Block> blocks_;  // most recently used first
};

}  // namespace jet::sql
