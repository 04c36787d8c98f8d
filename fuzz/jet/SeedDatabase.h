// Builds tiny but complete Jet 3 / Jet 4 databases in memory from the
// engine's own encoders: a header page, the catalogue (MSysObjects) and one
// user table "Items" with a handful of rows of most column types. They seed
// the reader's fuzzer and let tests check that what the encoders write is
// what the reader reads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "jet/core/Value.h"
#include "jet/file/Header.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/Layout.h"
#include "jet/format/RowEncoder.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/UsageMap.h"

namespace jet::seed {

// Page numbers of the built file.
constexpr uint32_t kCatalogDefinitionPage = 2;
constexpr uint32_t kMapPage = 3;
constexpr uint32_t kCatalogDataPage = 4;
constexpr uint32_t kItemsDefinitionPage = 5;
constexpr uint32_t kItemsDataPage = 6;
constexpr uint32_t kPageCount = 7;
constexpr int32_t kTablesContainerId = 0x0f000001;

inline format::ColumnDefinition column(const char* name, DataType type, uint16_t number, bool fixed,
                                       uint16_t place, uint16_t length, uint8_t extraFlags = 0) {
  format::ColumnDefinition c;
  c.name = name;
  c.type = static_cast<uint8_t>(type);
  c.number = number;
  c.flags = static_cast<uint8_t>((fixed ? format::kColumnFixed : 0) | format::kColumnNullable | extraFlags);
  if (fixed) {
    c.fixedOffset = place;
  } else {
    c.varIndex = place;
  }
  c.length = length;
  c.sortOrder = 1033;
  return c;
}

inline format::TableDefinition catalogDefinition(bool jet3) {
  format::TableDefinition d;
  d.tableType = 0x53;
  d.columns = {column("Id", DataType::Long, 0, true, 0, 4), column("ParentId", DataType::Long, 1, true, 4, 4),
               column("Name", DataType::Text, 2, false, 0, jet3 ? 255 : 510),
               column("Type", DataType::Integer, 3, true, 8, 2),
               column("Flags", DataType::Long, 4, true, 10, 4),
               // Unused here, but other readers insist on finding it.
               column("LvProp", DataType::LongBinary, 5, false, 1, 0)};
  d.maxColumns = 6;
  d.varColumnCount = 2;
  d.usedPagesPointer = format::RowPointer{kMapPage, 0}.encode();
  d.freePagesPointer = d.usedPagesPointer;
  return d;
}

inline format::TableDefinition itemsDefinition(bool jet3) {
  format::TableDefinition d;
  d.tableType = 0x4e;
  d.columns = {column("ID", DataType::Long, 0, true, 0, 4, format::kColumnAutoLong),
               column("Name", DataType::Text, 1, false, 0, jet3 ? 50 : 100, 0),
               column("Price", DataType::Currency, 2, true, 4, 8),
               column("Added", DataType::DateTime, 3, true, 12, 8),
               column("Active", DataType::Boolean, 4, true, 0, 0),
               column("Notes", DataType::Memo, 5, false, 1, 0),
               column("Ratio", DataType::Double, 6, true, 20, 8)};
  if (!jet3) d.columns[1].extFlags = format::kColumnCompressedUnicode;
  d.maxColumns = 7;
  d.varColumnCount = 2;
  d.usedPagesPointer = format::RowPointer{kMapPage, 1}.encode();
  d.freePagesPointer = d.usedPagesPointer;
  format::PhysicalIndex pk;
  pk.columns = {{0, true}};
  pk.flags = format::kIndexUnique | format::kIndexRequired;
  d.physicalIndexes = {pk};
  format::IndexDefinition pkIndex;
  pkIndex.name = "PrimaryKey";
  pkIndex.kind = format::kIndexPrimaryKey;
  d.indexes = {pkIndex};
  return d;
}

inline std::vector<Row> itemsRows() {
  return {
      {Value::longInt(1), Value::text("Apple"), Value::currency(12500), Value::dateTime(36925.5),
       Value::boolean(true), Value::memo("crisp"), Value::dbl(0.25)},
      {Value::longInt(2), Value::text("Pear"), Value::currency(-100), Value::null(), Value::boolean(false),
       Value::null(), Value::dbl(-3)},
      {Value::longInt(3), Value::null(), Value::null(), Value::dateTime(0), Value::boolean(true),
       Value::memo(std::string(300, 'm')), Value::null()},
  };
}

// `n` rows of varied content for volume tests and benchmarks.
inline std::vector<Row> manyItems(size_t n) {
  static const char* const kNames[] = {"Apple", "Pear", "Quince", "Fig", "Date", "Lime"};
  std::vector<Row> rows;
  rows.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    auto id = static_cast<int32_t>(i + 1);
    rows.push_back(
        {Value::longInt(id),
         i % 7 == 3 ? Value::null() : Value::text(std::string(kNames[i % 6]) + " " + std::to_string(i)),
         Value::currency(static_cast<int64_t>(i) * 125),
         Value::dateTime(36000.0 + static_cast<double>(i) / 8), Value::boolean(i % 2 == 0),
         i % 5 == 0 ? Value::memo("note " + std::to_string(i)) : Value::null(),
         Value::dbl(static_cast<double>(i) / 3)});
  }
  return rows;
}

inline std::vector<uint8_t> headerPage(file::JetVersion v, uint32_t pageSize) {
  std::vector<uint8_t> p(pageSize, 0);
  const uint8_t magic[4] = {0x00, 0x01, 0x00, 0x00};
  std::memcpy(p.data(), magic, 4);
  std::memcpy(p.data() + 4, "Standard Jet DB", 16);
  file::putU32(p.data() + 0x14, static_cast<uint32_t>(v));
  file::putU16(p.data() + 0x3c, 1252);
  if (v == file::JetVersion::Jet3) {
    file::putU16(p.data() + 0x3a, 1033);
  } else {
    file::putU32(p.data() + 0x6e, 1033);
    double created = 40000.25;
    file::putF64(p.data() + 0x72, created);
    // No password: the stored bytes are the creation-date mask itself.
    uint8_t mask[4];
    file::putU32(mask, static_cast<uint32_t>(static_cast<int32_t>(created)));
    for (int i = 0; i < 40; ++i) p[0x42 + i] = mask[i % 4];
  }
  const uint8_t key[4] = {0xc7, 0xda, 0x39, 0x6b};
  file::rc4Apply(key, 4, p.data() + 0x18, 0x80);
  return p;
}

// A database whose "Items" table holds `rows` (values as itemsRows()
// has them), packed into as many data pages as they need after page 6.
inline std::vector<uint8_t> buildItemsDatabase(file::JetVersion v, const std::vector<Row>& rows) {
  const bool jet3 = v == file::JetVersion::Jet3;
  format::Layout layout = format::Layout::forVersion(v);
  format::TextRules text{!jet3, 1252};
  std::vector<file::PageBuffer> pages(kItemsDataPage, file::PageBuffer(layout.pageSize, 0));
  pages[0] = headerPage(v, layout.pageSize);

  format::TableDefinition catalog = catalogDefinition(jet3);
  format::TableDefinition items = itemsDefinition(jet3);
  auto catalogRows = std::vector<Row>{
      {Value::longInt(kTablesContainerId), Value::longInt(0x0f000000), Value::text("Tables"),
       Value::integer(3), Value::longInt(0), Value::null()},
      {Value::longInt(kCatalogDefinitionPage), Value::longInt(kTablesContainerId), Value::text("MSysObjects"),
       Value::integer(1), Value::longInt(static_cast<int32_t>(0x80000000u)), Value::null()},
      {Value::longInt(kItemsDefinitionPage), Value::longInt(kTablesContainerId), Value::text("Items"),
       Value::integer(1), Value::longInt(0), Value::null()},
  };
  catalog.rowCount = static_cast<uint32_t>(catalogRows.size());
  items.rowCount = static_cast<uint32_t>(rows.size());
  items.nextAutoNumber = static_cast<uint32_t>(rows.size() + 1);

  // Fill data pages in order, leaving room for the row table's slots.
  std::vector<uint32_t> itemPages;
  std::vector<std::vector<uint8_t>> onPage;
  size_t used = layout.dataRowTableOffset;
  auto flushPage = [&] {
    itemPages.push_back(static_cast<uint32_t>(pages.size()));
    pages.push_back(format::DataPage::build(layout, kItemsDefinitionPage, onPage));
    onPage.clear();
    used = layout.dataRowTableOffset;
  };
  for (const auto& r : rows) {
    auto bytes = format::encodeRowValues(items, layout, text, r);
    if (!onPage.empty() && (used + bytes.size() + 2 > layout.pageSize || onPage.size() == 0xff)) flushPage();
    used += bytes.size() + 2;
    onPage.push_back(std::move(bytes));
  }
  if (!onPage.empty() || itemPages.empty()) flushPage();

  pages[kCatalogDefinitionPage] = format::splitTableDefinition(
      format::encodeTableDefinition(catalog, layout, 1252), layout, {kCatalogDefinitionPage})[0];
  pages[kItemsDefinitionPage] = format::splitTableDefinition(
      format::encodeTableDefinition(items, layout, 1252), layout, {kItemsDefinitionPage})[0];
  size_t itemsMapBytes = std::max<size_t>(64, (pages.size() + 7) / 8);
  pages[kMapPage] = format::DataPage::build(layout, 0,
                                            {format::UsageMap::encodeInline(0, {kCatalogDataPage}, 64),
                                             format::UsageMap::encodeInline(0, itemPages, itemsMapBytes)});
  std::vector<std::vector<uint8_t>> encoded;
  for (const auto& r : catalogRows) encoded.push_back(format::encodeRowValues(catalog, layout, text, r));
  pages[kCatalogDataPage] = format::DataPage::build(layout, kCatalogDefinitionPage, encoded);

  std::vector<uint8_t> out;
  out.reserve(pages.size() * layout.pageSize);
  for (const auto& p : pages) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline std::vector<uint8_t> buildSeedDatabase(file::JetVersion v) {
  return buildItemsDatabase(v, itemsRows());
}

}  // namespace jet::seed
