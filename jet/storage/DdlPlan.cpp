#include "jet/storage/DdlPlan.h"

#include "jet/core/TypeSize.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/format/TextCodec.h"

namespace jet::storage {

namespace {

// Jet's rule for object names: 1..64 characters, no leading space, none of . ! ` [ ] and no control
// characters.
void checkName(const std::string& name) {
  bool ok = !name.empty() && name.front() != ' ';
  size_t characters = 0;
  for (unsigned char c : name) {
    if ((c & 0xc0) != 0x80) ++characters;
    if (c < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']') ok = false;
  }
  if (!ok || characters > kMaxObjectNameLength)
    throw StorageError(ErrorCode::Invalid, msg::invalidObjectName(name));
}

}  // namespace

bool isFixedType(DataType type) {
  return fixedSizeOf(type) > 0;
}

format::ColumnDefinition planColumn(const ColumnDef& column, uint16_t number, const std::string& table,
                                    const format::Layout& layout) {
  checkName(column.name);
  format::ColumnDefinition c;
  c.name = column.name;
  c.type = static_cast<uint8_t>(column.type);
  c.number = number;
  c.sortOrder = kGeneralSortOrder;
  switch (column.type) {
    case DataType::Null:
      throw StorageError(ErrorCode::Invalid, msg::unsupportedColumnType(table, column.name, 0));
    case DataType::Text:
    case DataType::Binary: {
      int size = column.size == 0 ? kMaxTextCharacters : column.size;
      if (size > kMaxTextCharacters)
        throw StorageError(ErrorCode::Invalid, msg::invalidFieldSize(table, column.name, size));
      // Jet 4 text is UCS-2; Access 97 text takes a byte a character of its code page.
      c.length = static_cast<uint16_t>(column.type == DataType::Text && !layout.jet3 ? 2 * size : size);
      break;
    }
    case DataType::Memo:
    case DataType::LongBinary:
      break;
    default:
      c.length = fixedSizeOf(column.type);
      c.flags |= format::kColumnFixed;
  }
  if (column.fixedLength && (column.type == DataType::Text || column.type == DataType::Binary))
    c.flags |= format::kColumnFixed;
  if (!column.required) c.flags |= format::kColumnNullable;
  if (column.autoNumber) {
    if (column.type == DataType::Long) {
      c.flags |= format::kColumnAutoLong;
    } else if (column.type == DataType::Guid) {
      c.flags |= format::kColumnAutoGuid;
    } else {
      throw StorageError(ErrorCode::Invalid, msg::autoNumberType(table, column.name));
    }
  }
  if (column.type == DataType::Decimal) {
    if (layout.jet3)
      throw StorageError(ErrorCode::Invalid, msg::unsupportedColumnType(table, column.name, c.type));
    c.precision = column.precision == 0 ? 18 : column.precision;
    c.scale = column.scale;
    if (c.precision > 28 || c.scale > c.precision)
      throw StorageError(ErrorCode::Invalid, msg::invalidFieldSize(table, column.name, c.precision));
  }
  if ((column.type == DataType::Text || column.type == DataType::Memo) && column.compressedUnicode &&
      !layout.jet3)
    c.extFlags |= format::kColumnCompressedUnicode;
  return c;
}

uint8_t physicalIndexFlags(const IndexDef& index, const format::Layout& layout) {
  uint8_t flags = layout.jet3 ? 0 : format::kIndexJet4Marker;
  if (index.unique || index.primaryKey) flags |= format::kIndexUnique;
  if (index.ignoreNulls) flags |= format::kIndexIgnoreNulls;
  if (index.required || index.primaryKey) flags |= format::kIndexRequired;
  return flags;
}

format::TableDefinition planTableDefinition(const TableSchema& schema, const format::Layout& layout,
                                            uint8_t tableType) {
  checkName(schema.name);
  if (schema.columns.empty()) throw StorageError(ErrorCode::Invalid, msg::noColumns(schema.name));
  if (schema.columns.size() > kMaxTableColumns)
    throw StorageError(ErrorCode::Invalid, msg::tooManyColumns(schema.name, schema.columns.size()));
  if (schema.indexes.size() > kMaxTableIndexes)
    throw StorageError(ErrorCode::Invalid, msg::tooManyIndexes(schema.name, schema.indexes.size()));

  format::TableDefinition def;
  def.tableType = tableType;
  uint16_t fixedOffset = 0, varIndex = 0;
  for (size_t i = 0; i < schema.columns.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (equalsIgnoreCase(schema.columns[j].name, schema.columns[i].name))
        throw StorageError(ErrorCode::FieldExists, msg::fieldExists(schema.name, schema.columns[i].name));
    }
    format::ColumnDefinition c = planColumn(schema.columns[i], static_cast<uint16_t>(i), schema.name, layout);
    if (c.fixed()) {
      // A Boolean lives in the null mask and takes no room in the fixed area.
      if (c.type != static_cast<uint8_t>(DataType::Boolean)) {
        c.fixedOffset = fixedOffset;
        fixedOffset = static_cast<uint16_t>(fixedOffset + c.length);
      }
    } else {
      c.varIndex = varIndex++;
    }
    def.columns.push_back(std::move(c));
  }
  def.maxColumns = static_cast<uint16_t>(def.columns.size());
  def.varColumnCount = varIndex;

  bool havePrimaryKey = false;
  for (size_t i = 0; i < schema.indexes.size(); ++i) {
    const IndexDef& ix = schema.indexes[i];
    checkName(ix.name);
    for (size_t j = 0; j < i; ++j) {
      if (equalsIgnoreCase(schema.indexes[j].name, ix.name))
        throw StorageError(ErrorCode::IndexExists, msg::indexExists(schema.name, ix.name));
    }
    if (ix.columns.empty()) throw StorageError(ErrorCode::Invalid, msg::emptyIndex(schema.name, ix.name));
    if (ix.columns.size() > kMaxIndexColumns)
      throw StorageError(ErrorCode::Invalid, msg::tooManyIndexColumns(schema.name, ix.name));
    if (ix.primaryKey) {
      if (havePrimaryKey) throw StorageError(ErrorCode::Invalid, msg::duplicatePrimaryKey(schema.name));
      havePrimaryKey = true;
    }
    format::PhysicalIndex phys;
    for (const IndexColumn& col : ix.columns) {
      if (col.column < 0 || static_cast<size_t>(col.column) >= schema.columns.size())
        throw StorageError(ErrorCode::Invalid, msg::noSuchIndexColumn(schema.name, ix.name));
      DataType t = schema.columns[static_cast<size_t>(col.column)].type;
      if (t == DataType::LongBinary)
        throw StorageError(ErrorCode::Invalid,
                           msg::columnNotIndexable(schema.name, ix.name, dataTypeName(t)));
      phys.columns.push_back({static_cast<uint16_t>(col.column), col.ascending});
    }
    phys.flags = physicalIndexFlags(ix, layout);
    def.physicalIndexes.push_back(std::move(phys));
    format::IndexDefinition logical;
    logical.name = ix.name;
    logical.number = static_cast<uint32_t>(i);
    logical.physical = static_cast<uint32_t>(i);
    logical.kind = ix.primaryKey ? format::kIndexPrimaryKey : 0;
    def.indexes.push_back(std::move(logical));
  }
  return def;
}

void requireNamesInCodePage(const TableSchema& schema, uint16_t codePage) {
  auto check = [&](const std::string& name, const std::string& where) {
    if (auto missing = format::firstUnencodable(name, codePage))
      throw StorageError(ErrorCode::Invalid, msg::textNotInCodePage(where, *missing, codePage));
  };
  check(schema.name, schema.name);
  for (const auto& c : schema.columns) check(c.name, schema.name + "." + c.name);
  for (const auto& ix : schema.indexes) check(ix.name, schema.name + "." + ix.name);
}

}  // namespace jet::storage
