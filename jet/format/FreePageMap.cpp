#include "jet/format/FreePageMap.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/UsageMap.h"

namespace jet::format {

namespace {
constexpr uint8_t kInlineMap = 0x00;

bool bitOf(const std::vector<uint8_t>& row, size_t header, uint64_t bit) {
  return (row[header + bit / 8] >> (bit % 8)) & 1u;
}
}  // namespace

FreePageMap::FreePageMap(file::PageFile& file, const Layout& layout)
    : file_(file), layout_(layout), row_(readUsageMapRow(file, layout, kFreePageMapPointer)) {
  window_ = row_[0] == kInlineMap;
  if (window_) start_ = file::getU32(row_.data() + 1);
}

std::vector<uint8_t> FreePageMap::encodeNew(uint32_t pageCount, size_t bitmapBytes) {
  std::vector<uint8_t> row(kHeader + bitmapBytes, 0);
  const uint32_t bits = static_cast<uint32_t>(bitmapBytes * 8);
  // Past a window's worth of pages, the window ends half a window beyond the file.
  const uint32_t start = pageCount < bits ? 0 : pageCount - bits / 2;
  row[0] = kInlineMap;
  file::putU32(row.data() + 1, start);
  for (uint32_t b = 0; b < bits; ++b)
    if (start + b >= pageCount) row[kHeader + b / 8] |= static_cast<uint8_t>(1u << (b % 8));
  return row;
}

bool FreePageMap::isFree(uint32_t page) const {
  return covers(page) && bitOf(row_, kHeader, page - start_);
}

std::optional<uint32_t> FreePageMap::firstFree(uint32_t from, uint32_t below) const {
  if (!window_) return std::nullopt;
  uint64_t first = std::max<uint64_t>(from, start_);
  uint64_t last = std::min<uint64_t>(below, end());
  for (uint64_t page = first; page < last; ++page) {
    const uint64_t bit = page - start_;
    // Whole bytes of used pages are passed over at once.
    if (bit % 8 == 0 && row_[kHeader + bit / 8] == 0) {
      page += 7;
      continue;
    }
    if (bitOf(row_, kHeader, bit)) return static_cast<uint32_t>(page);
  }
  return std::nullopt;
}

void FreePageMap::set(uint32_t page, bool free) {
  if (!covers(page)) throw FormatError(ErrorCode::Invalid, msg::pageOutOfRange(page));
  const uint32_t bit = page - start_;
  uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
  if (free) {
    row_[kHeader + bit / 8] |= mask;
  } else {
    row_[kHeader + bit / 8] &= static_cast<uint8_t>(~mask);
  }
}

void FreePageMap::moveWindow(uint32_t start, uint32_t endOfFile) {
  if (!window_) throw FormatError(ErrorCode::Invalid, msg::corruptPage(1));
  std::vector<uint8_t> moved(row_.size(), 0);
  moved[0] = kInlineMap;
  file::putU32(moved.data() + 1, start);
  const uint32_t n = bits();
  for (uint32_t b = 0; b < n; ++b) {
    const uint64_t page = static_cast<uint64_t>(start) + b;
    bool free = page >= endOfFile || (page <= UINT32_MAX && isFree(static_cast<uint32_t>(page)));
    if (free) moved[kHeader + b / 8] |= static_cast<uint8_t>(1u << (b % 8));
  }
  row_ = std::move(moved);
  start_ = start;
}

void FreePageMap::write() {
  rewriteUsageMapRow(file_, layout_, kFreePageMapPointer, row_);
}

}  // namespace jet::format
