// Where each field sits in the page structures of Jet 3 and Jet 4. The two
// versions share their structures but not their offsets and widths; every
// codec takes the layout of its file instead of testing the version itself.
#pragma once

#include <cstdint>

#include "jet/file/Header.h"

namespace jet::format {

struct Layout {
  bool jet3 = false;
  uint32_t pageSize = 4096;

  // Data pages (also long-value pages).
  uint32_t dataOwnerOffset = 0x04;  // table definition page, or "LVAL"
  uint32_t dataRowCountOffset = 0x0c;
  uint32_t dataRowTableOffset = 0x0e;

  // Table definition.
  uint32_t tdefNextPageOffset = 0x04;
  uint32_t tdefContinuationHeader = 8;  // bytes of each further page that are not definition
  uint32_t tdefRowCount = 0x10;
  uint32_t tdefAutoNumber = 0x14;
  uint32_t tdefTableType = 0x28;
  uint32_t tdefMaxColumns = 0x29;
  uint32_t tdefVarColumns = 0x2b;
  uint32_t tdefColumns = 0x2d;
  uint32_t tdefLogicalIndexes = 0x2f;
  uint32_t tdefRealIndexes = 0x33;
  uint32_t tdefUsedPages = 0x37;
  uint32_t tdefFreePages = 0x3b;
  uint32_t tdefRealIndexCounts = 0x3f;  // start of the per-index row counts
  uint32_t realIndexCountSize = 12;

  uint32_t columnEntrySize = 25;
  uint32_t colType = 0;
  uint32_t colNumber = 5;
  uint32_t colVarIndex = 7;
  uint32_t colMisc = 11;  // precision, scale; or text sort order
  uint32_t colFlags = 15;
  int32_t colExtFlags = 16;  // -1: absent
  uint32_t colFixedOffset = 21;
  uint32_t colLength = 23;

  uint32_t nameLengthSize = 2;  // Jet 4 names: u16 byte count + UCS-2; Jet 3: u8 + code page

  uint32_t realIndexEntrySize = 52;
  uint32_t realIndexColumnMap = 4;
  uint32_t realIndexFlags = 46;

  uint32_t logicalIndexEntrySize = 28;
  uint32_t logicalIndexNumber = 4;
  uint32_t logicalIndexReal = 8;
  uint32_t logicalIndexRelatedTable = 17;
  uint32_t logicalIndexType = 23;

  // Rows.
  uint32_t rowColumnCountSize = 2;

  // Bitmap bytes of the inline usage maps Access writes (Jet 4: 512 pages, Jet 3: 1024).
  uint32_t inlineMapBytes = 64;

  static Layout forVersion(file::JetVersion v);
};

inline Layout Layout::forVersion(file::JetVersion v) {
  Layout l;
  if (v == file::JetVersion::Jet4) return l;
  l.jet3 = true;
  l.pageSize = 2048;
  l.dataRowCountOffset = 0x08;
  l.dataRowTableOffset = 0x0a;
  l.tdefRowCount = 0x0c;
  l.tdefAutoNumber = 0x10;
  l.tdefTableType = 0x14;
  l.tdefMaxColumns = 0x15;
  l.tdefVarColumns = 0x17;
  l.tdefColumns = 0x19;
  l.tdefLogicalIndexes = 0x1b;
  l.tdefRealIndexes = 0x1f;
  l.tdefUsedPages = 0x23;
  l.tdefFreePages = 0x27;
  l.tdefRealIndexCounts = 0x2b;
  l.realIndexCountSize = 8;
  l.columnEntrySize = 18;
  l.colType = 0;
  l.colNumber = 1;
  l.colVarIndex = 3;
  l.colMisc = 9;
  l.colFlags = 13;
  l.colExtFlags = -1;
  l.colFixedOffset = 14;
  l.colLength = 16;
  l.nameLengthSize = 1;
  l.realIndexEntrySize = 39;
  l.realIndexColumnMap = 0;
  l.realIndexFlags = 38;
  l.logicalIndexEntrySize = 20;
  l.logicalIndexNumber = 0;
  l.logicalIndexReal = 4;
  l.logicalIndexRelatedTable = 13;
  l.logicalIndexType = 19;
  l.rowColumnCountSize = 1;
  l.inlineMapBytes = 128;
  return l;
}

// Page types (first byte of every page).
enum class PageType : uint8_t {
  Database = 0x00,
  Data = 0x01,
  TableDefinition = 0x02,
  IndexNode = 0x03,
  IndexLeaf = 0x04,
  UsageMap = 0x05,
};

// A row pointer as Jet stores it: the row's slot in its low byte, the page above.
struct RowPointer {
  uint32_t page = 0;
  uint8_t row = 0;
  static RowPointer decode(uint32_t raw) { return {raw >> 8, static_cast<uint8_t>(raw & 0xff)}; }
  uint32_t encode() const { return (page << 8) | row; }
};

}  // namespace jet::format
