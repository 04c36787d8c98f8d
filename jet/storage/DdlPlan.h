// How a table's schema becomes the definition Jet stores: column numbers,
// each column's place in a row (fixed area offset or variable slot), its
// stored length and flags, and one physical index per logical index. Used by
// CREATE TABLE, by ALTER TABLE and by the builder of new database files.
#pragma once

#include <cstdint>

#include "jet/format/Layout.h"
#include "jet/format/TableDefinition.h"
#include "jet/storage/Store.h"

namespace jet::storage {

// Jet's limits on a table.
inline constexpr size_t kMaxTableColumns = 255;
inline constexpr size_t kMaxTableIndexes = 32;
inline constexpr size_t kMaxIndexColumns = 10;
inline constexpr size_t kMaxObjectNameLength = 64;
inline constexpr uint16_t kMaxTextCharacters = 255;

// Sort order every column of a new Jet 4 table records (General, 1033).
inline constexpr uint16_t kGeneralSortOrder = 1033;

// Table types of a definition.
inline constexpr uint8_t kUserTableType = 0x4e;
inline constexpr uint8_t kSystemTableType = 0x53;

// Checks the schema (names, sizes, counts, index columns) and lays it out.
// Index first pages and usage-map pointers are left 0 for the caller, who
// owns page allocation. Throws StorageError: Invalid for a schema Jet cannot
// store (in an Access 97 layout also a Decimal column), FieldExists /
// IndexExists for repeated names.
format::TableDefinition planTableDefinition(const TableSchema& schema, const format::Layout& layout,
                                            uint8_t tableType = kUserTableType);

// The stored column for `column`, given its number and placement; the
// building block of planTableDefinition.
format::ColumnDefinition planColumn(const ColumnDef& column, uint16_t number, const std::string& table,
                                    const format::Layout& layout);

// The flags byte of a physical index for `index`.
uint8_t physicalIndexFlags(const IndexDef& index, const format::Layout& layout);

// Access 97 keeps names in the file's code page: refuses (StorageError
// Invalid) a table, column or index name holding a character it lacks.
void requireNamesInCodePage(const TableSchema& schema, uint16_t codePage);

// Whether a type is kept in a row's fixed area.
bool isFixedType(DataType type);

}  // namespace jet::storage
