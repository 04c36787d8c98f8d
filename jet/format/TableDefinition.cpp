#include "jet/format/TableDefinition.h"

#include <algorithm>
#include <unordered_set>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/TextCodec.h"

namespace jet::format {

namespace {

constexpr int kIndexColumnSlots = 10;
constexpr uint16_t kNoColumn = 0xffff;
// Far more than Jet allows (255 columns, 32 indexes); beyond it the counts are garbage.
constexpr uint32_t kMaxColumns = 4096;
constexpr uint32_t kMaxIndexes = 1024;

class Reader {
 public:
  Reader(const std::vector<uint8_t>& bytes, const std::string& table) : bytes_(bytes), table_(table) {}

  const uint8_t* at(size_t offset, size_t length) const {
    if (offset > bytes_.size() || length > bytes_.size() - offset) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(table_));
    }
    return bytes_.data() + offset;
  }
  uint8_t u8(size_t o) const { return *at(o, 1); }
  uint16_t u16(size_t o) const { return file::getU16(at(o, 2)); }
  uint32_t u32(size_t o) const { return file::getU32(at(o, 4)); }

 private:
  const std::vector<uint8_t>& bytes_;
  const std::string& table_;
};

std::string readName(const Reader& r, size_t& pos, const Layout& layout, uint16_t codePage) {
  size_t length = layout.nameLengthSize == 1 ? r.u8(pos) : r.u16(pos);
  pos += layout.nameLengthSize;
  const uint8_t* p = r.at(pos, length);
  pos += length;
  std::span<const uint8_t> bytes(p, length);
  return layout.jet3 ? decodeCodePageText(bytes, codePage) : decodeUcs2Text(bytes);
}

}  // namespace

const ColumnDefinition* TableDefinition::findColumnByNumber(uint16_t number) const {
  for (const auto& c : columns) {
    if (c.number == number) return &c;
  }
  return nullptr;
}

TableDefinition readTableDefinition(file::PageFile& file, const Layout& layout, uint32_t page,
                                    uint16_t codePage, const std::string& tableName) {
  std::vector<uint8_t> bytes;
  std::unordered_set<uint32_t> seen;
  uint32_t current = page;
  while (current != 0) {
    if (!seen.insert(current).second) throw FormatError(ErrorCode::Corrupt, msg::pageChainLoop(page));
    file::PageRef p = file.read(current);
    if ((*p)[0] != static_cast<uint8_t>(PageType::TableDefinition)) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(tableName));
    }
    size_t from = bytes.empty() ? 0 : layout.tdefContinuationHeader;
    bytes.insert(bytes.end(), p->begin() + static_cast<std::ptrdiff_t>(from), p->end());
    current = file::getU32(p->data() + layout.tdefNextPageOffset);
  }
  TableDefinition def = decodeTableDefinition(bytes, layout, codePage, tableName);
  def.page = page;
  return def;
}

TableDefinition decodeTableDefinition(const std::vector<uint8_t>& bytes, const Layout& layout,
                                      uint16_t codePage, const std::string& tableName) {
  Reader r(bytes, tableName);
  if (r.u8(0) != static_cast<uint8_t>(PageType::TableDefinition)) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(tableName));
  }
  TableDefinition def;
  def.rowCount = r.u32(layout.tdefRowCount);
  def.nextAutoNumber = r.u32(layout.tdefAutoNumber);
  def.tableType = r.u8(layout.tdefTableType);
  def.maxColumns = r.u16(layout.tdefMaxColumns);
  def.varColumnCount = r.u16(layout.tdefVarColumns);
  uint32_t columnCount = r.u16(layout.tdefColumns);
  uint32_t logicalCount = r.u32(layout.tdefLogicalIndexes);
  uint32_t realCount = r.u32(layout.tdefRealIndexes);
  def.usedPagesPointer = r.u32(layout.tdefUsedPages);
  def.freePagesPointer = r.u32(layout.tdefFreePages);
  if (columnCount > kMaxColumns || logicalCount > kMaxIndexes || realCount > kMaxIndexes) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(tableName));
  }

  size_t pos = layout.tdefRealIndexCounts + static_cast<size_t>(realCount) * layout.realIndexCountSize;
  def.columns.resize(columnCount);
  for (auto& c : def.columns) {
    const uint8_t* e = r.at(pos, layout.columnEntrySize);
    c.type = e[layout.colType];
    c.number = file::getU16(e + layout.colNumber);
    c.varIndex = file::getU16(e + layout.colVarIndex);
    c.precision = e[layout.colMisc];
    c.scale = e[layout.colMisc + 1];
    c.sortOrder = file::getU16(e + layout.colMisc);
    c.flags = e[layout.colFlags];
    c.extFlags = layout.colExtFlags >= 0 ? e[layout.colExtFlags] : 0;
    c.fixedOffset = file::getU16(e + layout.colFixedOffset);
    c.length = file::getU16(e + layout.colLength);
    pos += layout.columnEntrySize;
  }
  for (auto& c : def.columns) c.name = readName(r, pos, layout, codePage);

  def.physicalIndexes.resize(realCount);
  for (auto& ix : def.physicalIndexes) {
    const uint8_t* e = r.at(pos, layout.realIndexEntrySize);
    for (int k = 0; k < kIndexColumnSlots; ++k) {
      const uint8_t* slot = e + layout.realIndexColumnMap + 3 * k;
      uint16_t number = file::getU16(slot);
      if (number == kNoColumn) continue;
      // Order byte: 0x01 ascending; anything else sorts descending.
      ix.columns.push_back({number, slot[2] == 0x01});
    }
    ix.firstPage = file::getU32(e + layout.realIndexColumnMap + 3 * kIndexColumnSlots + 4);
    ix.flags = e[layout.realIndexFlags];
    pos += layout.realIndexEntrySize;
  }

  def.indexes.resize(logicalCount);
  for (auto& ix : def.indexes) {
    const uint8_t* e = r.at(pos, layout.logicalIndexEntrySize);
    ix.number = file::getU32(e + layout.logicalIndexNumber);
    ix.physical = file::getU32(e + layout.logicalIndexReal);
    ix.relatedTablePage = file::getU32(e + layout.logicalIndexRelatedTable);
    ix.kind = e[layout.logicalIndexType];
    if (ix.physical >= realCount)
      throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(tableName));
    pos += layout.logicalIndexEntrySize;
  }
  for (auto& ix : def.indexes) ix.name = readName(r, pos, layout, codePage);

  std::stable_sort(def.columns.begin(), def.columns.end(),
                   [](const ColumnDefinition& a, const ColumnDefinition& b) { return a.number < b.number; });
  return def;
}

}  // namespace jet::format
