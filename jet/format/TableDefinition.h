// A table definition (TDEF) as stored: the table's counters, its columns with
// their physical placement in a row, and its indexes. A definition may span
// several pages linked through the next-page field of each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"

namespace jet::format {

// Column flag bits.
constexpr uint8_t kColumnFixed = 0x01;
constexpr uint8_t kColumnNullable = 0x02;
constexpr uint8_t kColumnAutoLong = 0x04;
constexpr uint8_t kColumnReplication = 0x10;
constexpr uint8_t kColumnAutoGuid = 0x40;
constexpr uint8_t kColumnHyperlink = 0x80;
// Extended flag bits (Jet 4).
constexpr uint8_t kColumnCompressedUnicode = 0x01;

// Index flag bits of a physical index.
constexpr uint8_t kIndexUnique = 0x01;
constexpr uint8_t kIndexIgnoreNulls = 0x02;
constexpr uint8_t kIndexRequired = 0x08;
// Set on every index Access 2000 and later write.
constexpr uint8_t kIndexJet4Marker = 0x80;
// Logical index kinds.
constexpr uint8_t kIndexPrimaryKey = 0x01;
constexpr uint8_t kIndexForeignKey = 0x02;

struct ColumnDefinition {
  std::string name;
  uint8_t type = 0;          // Jet column type code
  uint16_t number = 0;       // position in the null mask (deleted columns keep theirs)
  uint16_t varIndex = 0;     // slot in a row's variable-length offset table
  uint16_t fixedOffset = 0;  // from the start of the fixed area
  uint16_t length = 0;       // bytes (text: bytes, twice the characters in Jet 4)
  uint8_t flags = 0;
  uint8_t extFlags = 0;
  uint8_t precision = 0;
  uint8_t scale = 0;
  uint16_t sortOrder = 0;  // text columns

  bool fixed() const { return flags & kColumnFixed; }
};

struct IndexColumnDefinition {
  uint16_t columnNumber = 0;  // ColumnDefinition::number
  bool ascending = true;
};

struct PhysicalIndex {
  std::vector<IndexColumnDefinition> columns;
  uint32_t firstPage = 0;
  uint32_t usedPagesPointer = 0;  // row pointer to the map of the index's pages
  uint8_t flags = 0;
};

struct IndexDefinition {
  std::string name;
  uint32_t number = 0;
  uint32_t physical = 0;  // into TableDefinition::physicalIndexes
  uint8_t kind = 0;       // 0, kIndexPrimaryKey or kIndexForeignKey
  uint32_t relatedTablePage = 0;
};

struct TableDefinition {
  uint32_t page = 0;
  uint32_t rowCount = 0;
  uint32_t nextAutoNumber = 0;
  uint8_t tableType = 0;  // 0x4e user, 0x53 system
  uint16_t maxColumns = 0;
  uint16_t varColumnCount = 0;
  uint32_t usedPagesPointer = 0;  // row pointer to the usage map
  uint32_t freePagesPointer = 0;
  std::vector<ColumnDefinition> columns;  // in column-number order
  std::vector<PhysicalIndex> physicalIndexes;
  std::vector<IndexDefinition> indexes;

  const ColumnDefinition* findColumnByNumber(uint16_t number) const;
};

// Reads and decodes the definition starting at `page`. `codePage` decodes
// Jet 3 names. `tableName` names the table in errors. Throws
// FormatError(Corrupt) for a damaged definition or a looping page chain.
TableDefinition readTableDefinition(file::PageFile& file, const Layout& layout, uint32_t page,
                                    uint16_t codePage, const std::string& tableName);

// Decodes an assembled definition (first page whole, then each further page
// without its header).
TableDefinition decodeTableDefinition(const std::vector<uint8_t>& bytes, const Layout& layout,
                                      uint16_t codePage, const std::string& tableName);

// The inverse of decodeTableDefinition: the assembled bytes of `def`
// (counts, columns, names, indexes). Physical placement (numbers, offsets) is
// taken as given.
std::vector<uint8_t> encodeTableDefinition(const TableDefinition& def, const Layout& layout,
                                           uint16_t codePage);

// Splits assembled definition bytes into pages; `pages` are the page numbers
// they will occupy (as many as needed: see pagesNeeded), chained in order.
std::vector<file::PageBuffer> splitTableDefinition(const std::vector<uint8_t>& bytes, const Layout& layout,
                                                   const std::vector<uint32_t>& pages);
size_t pagesNeeded(const std::vector<uint8_t>& bytes, const Layout& layout);

}  // namespace jet::format
