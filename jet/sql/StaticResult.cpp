#include "jet/sql/StaticResult.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet::sql {

const Row& StaticResult::row(uint64_t position) {
  const uint64_t count = knownRowCount();
  if (position >= count) throw Error(ErrorCode::Invalid, msg::noSuchRecord(position, count));
  const uint64_t first = position - position % kBlockRows;
  for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
    if (it->first != first) continue;
    blocks_.splice(blocks_.begin(), blocks_, it);
    return blocks_.front().rows[position - first];
  }
  Block block{first, {}};
  const size_t n = static_cast<size_t>(std::min<uint64_t>(kBlockRows, count - first));
  block.rows.reserve(n);
  readRows(first, n, block.rows);
  if (block.rows.size() != n)
    throw Error(ErrorCode::Invalid, msg::noSuchRecord(position, first + block.rows.size()));
  blocks_.push_front(std::move(block));
  if (blocks_.size() > kCachedBlocks) blocks_.pop_back();
  return blocks_.front().rows[position - first];
}

void StaticResult::forgetDecodedRow(uint64_t position) {
  const uint64_t first = position - position % kBlockRows;
  blocks_.remove_if([first](const Block& b) { return b.first == first; });
}

}  // namespace jet::sql
