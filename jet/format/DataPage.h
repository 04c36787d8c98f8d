// The row table of a data page (and of a long-value page, which shares the
// layout): how many rows the page holds, where each row lies and its flags.
//
// Rows are stored from the end of the page backwards; a row ends where the
// previous slot's row begins. The top two bits of a slot mark the row:
//   0xC000 deleted, 0x4000 an overflow stub (its 4 bytes point to the moved
//   row), 0x8000 the moved row itself (reached only through its stub).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"

namespace jet::format {

enum class RowState { Normal, Deleted, OverflowStub, OverflowTarget };

// A slot as the writer handles it: its flag bits (the top two of the slot
// entry) and the row's bytes (none for a deleted row).
struct StoredRow {
  uint16_t flags = 0;
  std::vector<uint8_t> bytes;
};

struct RowSlot {
  uint32_t start = 0;
  uint32_t end = 0;  // one past the last byte
  RowState state = RowState::Normal;
  uint32_t length() const { return end - start; }
};

class DataPage {
 public:
  // Throws FormatError(Corrupt) when the page is not a data page or its row
  // table does not fit.
  DataPage(const Layout& layout, file::PageRef page, uint32_t pageNumber);

  uint32_t pageNumber() const { return number_; }
  uint32_t owner() const { return owner_; }  // table definition page
  bool isLongValuePage() const { return longValue_; }
  unsigned rowCount() const { return rows_; }
  // Throws FormatError(Corrupt) for a slot whose bounds are impossible.
  RowSlot slot(unsigned row) const;
  std::span<const uint8_t> bytes(const RowSlot& s) const { return {page_->data() + s.start, s.length()}; }
  const file::PageRef& page() const { return page_; }

  // A data page holding `rows` (row 0 last in the page), owned by the table
  // whose definition is on `owner`, or a long-value page when `longValue`.
  // Throws FormatError(Invalid) when the rows do not fit.
  static file::PageBuffer build(const Layout& layout, uint32_t owner,
                                const std::vector<std::vector<uint8_t>>& rows, bool longValue = false);

  // Every slot with its flags and bytes, for rewriting the page.
  std::vector<StoredRow> storedRows() const;
  // Bytes of the page the row table and the rows take.
  static size_t bytesNeeded(const Layout& layout, const std::vector<StoredRow>& rows);
  // Whether the rows fit on one page.
  static bool fits(const Layout& layout, const std::vector<StoredRow>& rows);
  // The page with `rows` packed from its end, row 0 last; everything before
  // the row table (type, owner) is kept from `original`. Throws
  // FormatError(Invalid) when they do not fit.
  static file::PageBuffer pack(const Layout& layout, std::span<const uint8_t> original,
                               const std::vector<StoredRow>& rows);
  // The most rows one page holds: a row pointer keeps the slot in a byte.
  static constexpr unsigned kMaxRows = 255;

  static constexpr uint16_t kOffsetMask = 0x1fff;
  static constexpr uint16_t kDeletedFlag = 0x8000;
  static constexpr uint16_t kOverflowFlag = 0x4000;
  static constexpr uint16_t kDeletedRow = kDeletedFlag | kOverflowFlag;

 private:
  const Layout& layout_;
  file::PageRef page_;
  uint32_t number_;
  uint32_t owner_ = 0;
  bool longValue_ = false;
  unsigned rows_ = 0;
};

}  // namespace jet::format
