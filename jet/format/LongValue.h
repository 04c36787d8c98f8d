// Memo and OLE values. A row keeps a 12-byte header for them: a 30-bit
// length with two flag bits, a row pointer, and 4 unused bytes.
//   0x80 in the top byte: the value follows the header inside the row;
//   0x40: the value is the whole of one row on a long-value (LVAL) page;
//   neither: a chain of LVAL rows, each starting with a pointer to the next.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"

namespace jet::format {

constexpr size_t kLongValueHeader = 12;
constexpr uint32_t kLongValueInline = 0x80000000u;
constexpr uint32_t kLongValueSinglePage = 0x40000000u;
constexpr uint32_t kLongValueLengthMask = 0x3fffffffu;

// Returns false when `field` is not a well-formed header or the value it
// points to is damaged (a chain that loops or runs off its pages); the
// caller reports which column. Memory used is bounded by what is actually
// read, never by the stored length.
bool readLongValue(file::PageFile& file, const Layout& layout, std::span<const uint8_t> field,
                   std::vector<uint8_t>& out);

// The header of a value stored inside the row (what the writer emits for
// short values).
std::vector<uint8_t> encodeInlineLongValue(std::span<const uint8_t> value);
// The header of a value stored on LVAL pages: one row (`singlePage`) or a
// chain starting at `first`.
std::vector<uint8_t> encodeLongValueHeader(uint32_t length, bool singlePage, RowPointer first);

// The LVAL rows a header's value occupies, in chain order (none for an
// inline value). Returns false for a damaged header or chain.
bool longValueRows(file::PageFile& file, const Layout& layout, std::span<const uint8_t> field,
                   std::vector<RowPointer>& out);

// Bytes of a chain row before its part of the value: the next row's pointer.
inline constexpr size_t kLongValueChainPointer = 4;

}  // namespace jet::format
