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
// Constants Jet 4 keeps in every definition, column and index entry.
constexpr uint32_t kJet4TableMagic = 0x0659;
constexpr uint32_t kJet4IndexMagic = 0x0783;
// A Jet 4 definition page header: type, a byte, free space, next page.
// Access 97 keeps the letters "VC" where Jet 4 keeps the free space.
constexpr size_t kFreeSpaceOffset = 2;
constexpr uint8_t kJet3DefinitionMark[2] = {'V', 'C'};
// What Access 97 keeps in every column entry: a constant 1 before the sort
// order, and the code page of the column's text after it.
constexpr size_t kJet3ColumnOne = 7;
constexpr size_t kJet3ColumnCodePage = 11;
constexpr size_t kJet4TableMagicOffset = 0x0c;
constexpr size_t kJet4AutoNumberFlag = 0x18;
// What the logical entry of an index that is no foreign key carries in its
// cascade bytes.
constexpr uint8_t kNoCascade = 0x04;

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

void appendName(std::vector<uint8_t>& out, const std::string& name, const Layout& layout, uint16_t codePage) {
  std::vector<uint8_t> bytes = layout.jet3 ? encodeCodePageText(name, codePage) : encodeUcs2Text(name, false);
  if (layout.nameLengthSize == 1) {
    out.push_back(static_cast<uint8_t>(std::min<size_t>(bytes.size(), 0xff)));
    bytes.resize(out.back());
  } else {
    bytes.resize(std::min<size_t>(bytes.size(), 0xfffe));
    out.push_back(static_cast<uint8_t>(bytes.size()));
    out.push_back(static_cast<uint8_t>(bytes.size() >> 8));
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
}

uint8_t* grow(std::vector<uint8_t>& out, size_t n) {
  out.resize(out.size() + n, 0);
  return out.data() + out.size() - n;
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
    ix.usedPagesPointer = file::getU32(e + layout.realIndexColumnMap + 3 * kIndexColumnSlots);
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

std::vector<uint8_t> encodeTableDefinition(const TableDefinition& def, const Layout& layout,
                                           uint16_t codePage) {
  std::vector<uint8_t> out(layout.tdefRealIndexCounts, 0);
  out[0] = static_cast<uint8_t>(PageType::TableDefinition);
  out[1] = 0x01;
  file::putU32(out.data() + layout.tdefRowCount, def.rowCount);
  file::putU32(out.data() + layout.tdefAutoNumber, def.nextAutoNumber);
  out[layout.tdefTableType] = def.tableType;
  file::putU16(out.data() + layout.tdefMaxColumns, def.maxColumns);
  file::putU16(out.data() + layout.tdefVarColumns, def.varColumnCount);
  file::putU16(out.data() + layout.tdefColumns, static_cast<uint16_t>(def.columns.size()));
  file::putU32(out.data() + layout.tdefLogicalIndexes, static_cast<uint32_t>(def.indexes.size()));
  file::putU32(out.data() + layout.tdefRealIndexes, static_cast<uint32_t>(def.physicalIndexes.size()));
  file::putU32(out.data() + layout.tdefUsedPages, def.usedPagesPointer);
  file::putU32(out.data() + layout.tdefFreePages, def.freePagesPointer);
  if (!layout.jet3) {
    file::putU32(out.data() + kJet4TableMagicOffset, kJet4TableMagic);
    out[kJet4AutoNumberFlag] = 0x01;
  }
  // Each physical index records the rows it holds, which is every row.
  for (size_t i = 0; i < def.physicalIndexes.size(); ++i) {
    file::putU32(grow(out, layout.realIndexCountSize) + 4, def.rowCount);
  }

  for (const auto& c : def.columns) {
    uint8_t* e = grow(out, layout.columnEntrySize);
    e[layout.colType] = c.type;
    if (!layout.jet3) file::putU32(e + 1, kJet4TableMagic);
    file::putU16(e + layout.colNumber, c.number);
    file::putU16(e + layout.colVarIndex, c.varIndex);
    file::putU16(e + layout.colNumber + 4, c.number);  // the second copy of the number
    if (layout.jet3) {
      file::putU16(e + kJet3ColumnOne, 1);
      file::putU16(e + kJet3ColumnCodePage, codePage);
    }
    if (c.type == 16) {  // Decimal keeps precision and scale where text keeps its sort order
      e[layout.colMisc] = c.precision;
      e[layout.colMisc + 1] = c.scale;
    } else {
      file::putU16(e + layout.colMisc, c.sortOrder);
    }
    e[layout.colFlags] = c.flags;
    if (layout.colExtFlags >= 0) e[layout.colExtFlags] = c.extFlags;
    file::putU16(e + layout.colFixedOffset, c.fixedOffset);
    file::putU16(e + layout.colLength, c.length);
  }
  for (const auto& c : def.columns) appendName(out, c.name, layout, codePage);

  for (const auto& ix : def.physicalIndexes) {
    uint8_t* e = grow(out, layout.realIndexEntrySize);
    if (!layout.jet3) file::putU32(e, kJet4IndexMagic);
    file::putU32(e + layout.realIndexColumnMap + 3 * kIndexColumnSlots, ix.usedPagesPointer);
    for (int k = 0; k < kIndexColumnSlots; ++k) {
      uint8_t* slot = e + layout.realIndexColumnMap + 3 * k;
      if (static_cast<size_t>(k) < ix.columns.size()) {
        file::putU16(slot, ix.columns[k].columnNumber);
        slot[2] = ix.columns[k].ascending ? 0x01 : 0x02;
      } else {
        file::putU16(slot, kNoColumn);
      }
    }
    file::putU32(e + layout.realIndexColumnMap + 3 * kIndexColumnSlots + 4, ix.firstPage);
    e[layout.realIndexFlags] = ix.flags;
  }
  for (const auto& ix : def.indexes) {
    uint8_t* e = grow(out, layout.logicalIndexEntrySize);
    file::putU32(e + layout.logicalIndexNumber, ix.number);
    file::putU32(e + layout.logicalIndexReal, ix.physical);
    file::putU32(e + layout.logicalIndexRelatedTable - 4, 0xffffffffu);  // no related index
    file::putU32(e + layout.logicalIndexRelatedTable, ix.relatedTablePage);
    e[layout.logicalIndexType] = ix.kind;
    if (!layout.jet3) file::putU32(e, kJet4TableMagic);
    if (ix.kind != kIndexForeignKey) {
      e[layout.logicalIndexType - 2] = kNoCascade;
      e[layout.logicalIndexType - 1] = kNoCascade;
    }
  }
  for (const auto& ix : def.indexes) appendName(out, ix.name, layout, codePage);
  // End of the (empty) list of variable columns' own usage maps.
  uint8_t* end = grow(out, 2);
  file::putU16(end, kNoColumn);
  file::putU32(out.data() + 8, static_cast<uint32_t>(out.size()));
  return out;
}

size_t pagesNeeded(const std::vector<uint8_t>& bytes, const Layout& layout) {
  if (bytes.size() <= layout.pageSize) return 1;
  size_t per = layout.pageSize - layout.tdefContinuationHeader;
  return 1 + (bytes.size() - layout.pageSize + per - 1) / per;
}

std::vector<file::PageBuffer> splitTableDefinition(const std::vector<uint8_t>& bytes, const Layout& layout,
                                                   const std::vector<uint32_t>& pages) {
  std::vector<file::PageBuffer> out;
  size_t at = 0;
  for (size_t i = 0; i < pages.size() && at < bytes.size(); ++i) {
    file::PageBuffer page(layout.pageSize, 0);
    size_t from = i == 0 ? 0 : layout.tdefContinuationHeader;
    size_t take = std::min<size_t>(bytes.size() - at, layout.pageSize - from);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), take,
                page.begin() + static_cast<std::ptrdiff_t>(from));
    page[0] = static_cast<uint8_t>(PageType::TableDefinition);
    page[1] = 0x01;
    if (layout.jet3) {
      std::copy_n(kJet3DefinitionMark, 2, page.begin() + kFreeSpaceOffset);
    } else {
      // Free bytes of the page, as Access keeps them: what the definition leaves, less the header.
      size_t used = from + take + layout.tdefContinuationHeader;
      file::putU16(page.data() + kFreeSpaceOffset,
                   static_cast<uint16_t>(used < page.size() ? page.size() - used : 0));
    }
    at += take;
    file::putU32(page.data() + layout.tdefNextPageOffset,
                 at < bytes.size() && i + 1 < pages.size() ? pages[i + 1] : 0);
    out.push_back(std::move(page));
  }
  if (at < bytes.size()) throw FormatError(ErrorCode::Invalid, msg::corruptTableDefinition(""));
  return out;
}

}  // namespace jet::format
