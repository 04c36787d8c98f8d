#include "jet/sql/ComputedRows.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/PackedValues.h"

namespace jet::sql {

namespace {
// Chunks grow to about this size; a larger row gets a chunk of its own.
constexpr size_t kChunkBytes = size_t{1} << 20;
}  // namespace

ComputedRows::ComputedRows(std::vector<ResultField> fields, size_t memoryBudget)
    : StaticResult(std::move(fields)), budget_(memoryBudget) {}

void ComputedRows::append(const Row& row) {
  // Rows are read back by the field count.
  if (row.size() != fields().size()) throw Error(ErrorCode::Invalid, msg::corrupt("result row"));
  packed_.clear();
  for (const Value& v : row) packValue(packed_, v);
  const uint64_t offset = memoryBytes_ + (spill_ ? spill_->size() : 0);
  offsets_.push_back(offset);
  if (!spill_ && memoryBytes_ + packed_.size() > budget_) spill_ = std::make_unique<SpillFile>();
  if (spill_) {
    spill_->append(packed_);
    return;
  }
  if (chunks_.empty() || chunks_.back().size() + packed_.size() > kChunkBytes) {
    chunks_.emplace_back();
    chunks_.back().reserve(std::max(kChunkBytes, packed_.size()));
    chunkStarts_.push_back(memoryBytes_);
  }
  chunks_.back() += packed_;
  memoryBytes_ += packed_.size();
}

void ComputedRows::copyBytes(uint64_t offset, size_t count, std::string& out) {
  out.resize(count);
  char* to = out.data();
  while (count > 0 && offset < memoryBytes_) {
    const size_t chunk =
        static_cast<size_t>(std::upper_bound(chunkStarts_.begin(), chunkStarts_.end(), offset) -
                            chunkStarts_.begin()) -
        1;
    const std::string& bytes = chunks_[chunk];
    const size_t at = static_cast<size_t>(offset - chunkStarts_[chunk]);
    const size_t n = std::min(count, bytes.size() - at);
    bytes.copy(to, n, at);
    to += n;
    offset += n;
    count -= n;
  }
  if (count > 0) spill_->read(offset - memoryBytes_, count, to);
}

void ComputedRows::readRows(uint64_t first, size_t count, std::vector<Row>& out) {
  const uint64_t total = memoryBytes_ + (spill_ ? spill_->size() : 0);
  const uint64_t from = offsets_[first];
  const uint64_t end = first + count < offsets_.size() ? offsets_[first + count] : total;
  // A block is copied at once: one file read for all its rows when spilled.
  std::string bytes;
  copyBytes(from, static_cast<size_t>(end - from), bytes);
  const size_t columns = fields().size();
  for (uint64_t p = first; p < first + count; ++p) {
    const char* at = bytes.data() + (offsets_[p] - from);
    Row row;
    row.reserve(columns);
    for (size_t c = 0; c < columns; ++c) row.push_back(unpackValue(at));
    out.push_back(std::move(row));
  }
}

}  // namespace jet::sql
