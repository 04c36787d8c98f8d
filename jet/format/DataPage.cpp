#include "jet/format/DataPage.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"

namespace jet::format {

using file::getU16;
using file::getU32;

DataPage::DataPage(const Layout& layout, file::PageRef page, uint32_t pageNumber)
    : layout_(layout), page_(std::move(page)), number_(pageNumber) {
  const uint8_t* p = page_->data();
  if (p[0] != static_cast<uint8_t>(PageType::Data)) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptPage(pageNumber));
  }
  owner_ = getU32(p + layout_.dataOwnerOffset);
  longValue_ = p[4] == 'L' && p[5] == 'V' && p[6] == 'A' && p[7] == 'L';
  rows_ = getU16(p + layout_.dataRowCountOffset);
  if (layout_.dataRowTableOffset + 2ull * rows_ > layout_.pageSize) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptPage(pageNumber));
  }
}

RowSlot DataPage::slot(unsigned row) const {
  if (row >= rows_) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(number_));
  const uint8_t* table = page_->data() + layout_.dataRowTableOffset;
  uint16_t raw = getU16(table + 2 * row);
  RowSlot s;
  s.start = raw & kOffsetMask;
  s.end = row == 0 ? layout_.pageSize : (getU16(table + 2 * (row - 1)) & kOffsetMask);
  bool deleted = raw & kDeletedFlag, overflow = raw & kOverflowFlag;
  s.state = deleted && overflow ? RowState::Deleted
            : overflow          ? RowState::OverflowStub
            : deleted           ? RowState::OverflowTarget
                                : RowState::Normal;
  if (s.state == RowState::Deleted) {
    // A deleted row's bytes may have been reused; its bounds no longer matter.
    s.end = s.start;
    return s;
  }
  uint32_t tableEnd = layout_.dataRowTableOffset + 2 * rows_;
  if (s.start < tableEnd || s.end > layout_.pageSize || s.start > s.end) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptPage(number_));
  }
  return s;
}

file::PageBuffer DataPage::build(const Layout& layout, uint32_t owner,
                                 const std::vector<std::vector<uint8_t>>& rows, bool longValue) {
  file::PageBuffer page(layout.pageSize, 0);
  page[0] = static_cast<uint8_t>(PageType::Data);
  page[1] = 0x01;
  if (longValue) {
    std::copy_n("LVAL", 4, page.begin() + layout.dataOwnerOffset);
  } else {
    file::putU32(page.data() + layout.dataOwnerOffset, owner);
  }
  size_t tableEnd = layout.dataRowTableOffset + 2 * rows.size();
  size_t used = 0;
  for (const auto& r : rows) used += r.size();
  if (tableEnd + used > layout.pageSize || rows.size() > 0xff) {
    throw FormatError(ErrorCode::Invalid, msg::rowTooLarge(used));
  }
  file::putU16(page.data() + layout.dataRowCountOffset, static_cast<uint16_t>(rows.size()));
  uint32_t end = layout.pageSize;
  for (size_t i = 0; i < rows.size(); ++i) {
    uint32_t start = end - static_cast<uint32_t>(rows[i].size());
    std::copy(rows[i].begin(), rows[i].end(), page.begin() + start);
    file::putU16(page.data() + layout.dataRowTableOffset + 2 * i, static_cast<uint16_t>(start));
    end = start;
  }
  file::putU16(page.data() + 2, static_cast<uint16_t>(end - tableEnd));  // free space
  return page;
}

std::vector<StoredRow> DataPage::storedRows() const {
  std::vector<StoredRow> out(rows_);
  const uint8_t* table = page_->data() + layout_.dataRowTableOffset;
  for (unsigned i = 0; i < rows_; ++i) {
    RowSlot s = slot(i);
    out[i].flags = getU16(table + 2 * i) & static_cast<uint16_t>(~kOffsetMask);
    if (s.state == RowState::Deleted) {
      out[i].flags = kDeletedRow;
      continue;
    }
    auto b = bytes(s);
    out[i].bytes.assign(b.begin(), b.end());
  }
  return out;
}

size_t DataPage::bytesNeeded(const Layout& layout, const std::vector<StoredRow>& rows) {
  size_t used = layout.dataRowTableOffset + 2 * rows.size();
  for (const auto& r : rows) used += r.bytes.size();
  return used;
}

bool DataPage::fits(const Layout& layout, const std::vector<StoredRow>& rows) {
  return rows.size() <= kMaxRows && bytesNeeded(layout, rows) <= layout.pageSize;
}

file::PageBuffer DataPage::pack(const Layout& layout, std::span<const uint8_t> original,
                                const std::vector<StoredRow>& rows) {
  if (!fits(layout, rows)) throw FormatError(ErrorCode::Invalid, msg::rowTooLarge(bytesNeeded(layout, rows)));
  file::PageBuffer page(layout.pageSize, 0);
  std::copy_n(original.begin(), layout.dataRowCountOffset, page.begin());
  file::putU16(page.data() + layout.dataRowCountOffset, static_cast<uint16_t>(rows.size()));
  uint32_t end = layout.pageSize;
  for (size_t i = 0; i < rows.size(); ++i) {
    uint32_t start = end - static_cast<uint32_t>(rows[i].bytes.size());
    std::copy(rows[i].bytes.begin(), rows[i].bytes.end(), page.begin() + start);
    file::putU16(page.data() + layout.dataRowTableOffset + 2 * i,
                 static_cast<uint16_t>(start | rows[i].flags));
    end = start;
  }
  const size_t tableEnd = layout.dataRowTableOffset + 2 * rows.size();
  file::putU16(page.data() + 2, static_cast<uint16_t>(end - tableEnd));  // free space
  return page;
}

}  // namespace jet::format
