// The bytes of an index entry's key: each column's value encoded so that
// comparing keys byte by byte (unsigned, shorter first on a tie) orders them
// as Access does. Leaf and intermediate index pages store these bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "jet/core/Value.h"
#include "jet/format/SortCodes.h"

namespace jet::format {

// One column of an index, as the key encoder needs it.
struct KeyColumn {
  DataType type = DataType::Long;  // the column's declared type
  bool ascending = true;
  SortOrder sortOrder = SortOrder::GeneralLegacy;  // Text and Memo
  uint8_t scale = 0;                               // Decimal
};

// Names the index in error messages.
struct KeyOwner {
  std::string table;
  std::string index;
};

// Access keeps at most this many key bytes; a longer key ends in a digest.
inline constexpr size_t kMaxKeyLength = 510;
// Text is indexed up to this many UTF-16 units.
inline constexpr size_t kMaxIndexedTextUnits = 255;

// Appends one column's part of a key. Throws FormatError: TypeMismatch when
// the value cannot be stored in the column's type, Unsupported for a type Jet
// cannot index (Memo is indexed by its start; OLE objects are not indexed) or
// for a character without a known sort code (msg::unknownSortCharacter).
void appendKeyColumn(Bytes& key, const KeyColumn& column, const Value& value, const KeyOwner& owner);

// The whole key of a row for a multi-column index; `values` has one value per
// index column, in index order. Long keys are truncated as Access does.
Bytes encodeKey(std::span<const KeyColumn> columns, std::span<const Value> values, const KeyOwner& owner);

// The text part alone (no leading entry flag), for UTF-16 input.
void appendTextKey(Bytes& key, std::u16string_view text, SortOrder order, bool ascending,
                   const KeyOwner& owner);

// Cuts a key longer than kMaxKeyLength to its first 508 bytes followed by a
// two-byte digest of the rest, the form Access stores.
Bytes truncateKey(Bytes key);

// Orders keys as the index does.
int compareKeys(std::span<const uint8_t> a, std::span<const uint8_t> b);

}  // namespace jet::format
