// The layout of one stored row: column count, fixed area, variable area with
// its offset table (Jet 3: one-byte offsets extended by a jump table; Jet 4:
// two-byte offsets) and the null mask at the very end, one bit per column
// number, set when the column holds a value. A Boolean's value is its bit.
//
// splitRow only locates each column's bytes; turning them into values is the
// value codec's job, so a writer can build rows from the same two pieces.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/format/Layout.h"
#include "jet/format/TableDefinition.h"

namespace jet::format {

struct Field {
  bool present = false;  // not Null (for a Boolean: true)
  std::span<const uint8_t> bytes;
};

// One Field per entry of def.columns. Returns nothing when the row's
// structure is impossible (the caller knows which row to report).
std::optional<std::vector<Field>> splitRow(const TableDefinition& def, const Layout& layout,
                                           std::span<const uint8_t> row);

// One column's stored bytes for encodeRow (a Boolean: `present` is its value).
struct FieldBytes {
  bool present = false;
  std::vector<uint8_t> bytes;
};

// The stored form of a row with one FieldBytes per entry of def.columns:
// fixed columns at their offsets (bytes shorter than the column are padded
// with zeros), variable columns in offset-table order. Throws
// FormatError(Invalid) when a row of that size cannot be stored.
std::vector<uint8_t> encodeRow(const TableDefinition& def, const Layout& layout,
                               const std::vector<FieldBytes>& fields);

}  // namespace jet::format
