// Column values to and from their stored bytes: numbers little-endian,
// Currency as an int64 of ten-thousandths, Date/Time as a double, GUIDs in
// stored order, Decimal as a sign byte and four little-endian 32-bit words
// (most significant first), text by the file's text rules, Memo and OLE
// through their long-value header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/core/Value.h"
#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"
#include "jet/format/TableDefinition.h"

namespace jet::format {

struct TextRules {
  bool ucs2 = true;          // Jet 4
  uint16_t codePage = 1252;  // Jet 3
};

// The DataType of a stored column type, or nothing for a type the engine does not read.
std::optional<DataType> dataTypeOf(uint8_t storedType);

// Decodes a present, non-Boolean field that is not a long value. Returns
// nothing when the bytes cannot hold a value of the column's type.
std::optional<Value> decodeValue(const ColumnDefinition& column, std::span<const uint8_t> bytes,
                                 const TextRules& text);

// The stored bytes of a fixed-size or text/binary value (not Boolean, not a
// long value). Throws FormatError(TypeMismatch) when `v` does not fit,
// FormatError(Invalid) for a text the file's code page cannot hold.
std::vector<uint8_t> encodeValue(const ColumnDefinition& column, const Value& v, const TextRules& text);

}  // namespace jet::format
