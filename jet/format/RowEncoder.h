// The inverse of RowDecoder: a Row of Values to the bytes of a stored row.
// Memo and OLE values are stored inside the row (long-value pages need page
// allocation, which belongs to the layer that owns the file's free space).
#pragma once

#include <vector>

#include "jet/core/Value.h"
#include "jet/format/Layout.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/ValueCodec.h"

namespace jet::format {

// `row` has one Value per entry of def.columns. Throws FormatError
// (TypeMismatch for a value of the wrong kind, Invalid for a row too large).
std::vector<uint8_t> encodeRowValues(const TableDefinition& def, const Layout& layout, const TextRules& text,
                                     const Row& row);

}  // namespace jet::format
