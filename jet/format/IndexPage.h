// Index pages: the leaves (type 0x04) and intermediate nodes (type 0x03) of
// an index's B-tree. A page holds its entries back to back after a bitmap in
// which bit n marks the end of an entry at byte n of the entry area; every
// entry after the first leaves out the prefix its page shares.
//
// A leaf entry is key + data page (3 bytes) + row (1 byte); an intermediate
// entry adds its child page (4 bytes), and the key and row pointer are those
// of the greatest entry under that child. The last child of an intermediate
// page has no entry: the page's tail pointer names it. Pointers inside the
// entries are big-endian, the header little-endian.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/core/Value.h"

namespace jet::format {

inline constexpr uint8_t kIndexNodePage = 0x03;
inline constexpr uint8_t kIndexLeafPage = 0x04;

// Where the fields sit in Jet 3 and Jet 4 index pages.
struct IndexPageLayout {
  uint32_t pageSize = 4096;
  uint32_t prevOffset = 12;
  uint32_t nextOffset = 16;
  uint32_t tailOffset = 20;
  uint32_t prefixOffset = 24;
  uint32_t prefixSize = 2;    // bytes of the shared-prefix length
  uint32_t flagsOffset = 26;  // set to 1 on intermediate pages
  uint32_t maskOffset = 27;
  uint32_t maskSize = 453;

  uint32_t entryAreaOffset() const { return maskOffset + maskSize; }
  // The most entry bytes a page can hold: limited by the page and by the bitmap.
  uint32_t entryCapacity() const;

  static IndexPageLayout jet4();
  static IndexPageLayout jet3();
};

struct IndexEntry {
  Bytes key;
  uint32_t dataPage = 0;  // the row's data page (24 bits)
  uint8_t dataRow = 0;
  uint32_t childPage = 0;  // intermediate entries only

  bool operator==(const IndexEntry&) const = default;
};

// Orders entries as the index does: by key, then by row pointer.
int compareEntries(const IndexEntry& a, const IndexEntry& b);

struct IndexPage {
  bool leaf = true;
  uint32_t tdefPage = 0;  // the table the index belongs to
  uint32_t prevPage = 0;  // neighbours on the same level, 0 for none
  uint32_t nextPage = 0;
  uint32_t tailPage = 0;    // intermediate pages: the last child
  uint8_t flags = 0;        // intermediate pages: 1
  size_t prefixLength = 0;  // key bytes every entry shares and only the first stores
  std::vector<IndexEntry> entries;
};

// Decodes a page. Throws FormatError(Corrupt) for a page that is no index
// page or whose entries run past the page (`pageNumber` names it).
IndexPage decodeIndexPage(std::span<const uint8_t> page, const IndexPageLayout& layout, uint32_t pageNumber);

// The longest prefix the keys of `entries` share.
size_t commonPrefixLength(std::span<const IndexEntry> entries);

// Bytes the entries take in the entry area with the page's prefix length.
size_t entryAreaBytes(const IndexPage& page);

// Whether the page, with its prefix length, fits on one page.
bool fitsOnPage(const IndexPage& page, const IndexPageLayout& layout);

// Encodes into `out` (pageSize bytes): header, bitmap, entries, zeros after
// them, the free-space count. Throws FormatError(Invalid) when the entries do
// not fit and FormatError(Corrupt) when the prefix length is longer than the
// keys share.
void encodeIndexPage(const IndexPage& page, const IndexPageLayout& layout, std::span<uint8_t> out);
Bytes encodeIndexPage(const IndexPage& page, const IndexPageLayout& layout);

// The entry an intermediate page keeps for `child`: its greatest entry with
// the child's page number.
IndexEntry nodeEntryFor(const IndexPage& child, uint32_t childPage);

// Splits an overfull page: the entries from the returned position on move to
// a new right-hand page. Both halves fit with their own common prefix, and
// the split keeps the bytes as even as possible. Throws FormatError(Invalid)
// when no split fits (an entry larger than half a page cannot occur for keys
// of at most kMaxKeyLength bytes).
size_t chooseSplit(const IndexPage& page, const IndexPageLayout& layout);

// The two halves of a split at `at`, each with its common prefix; the caller
// links them (prev/next, parent entries) once it has their page numbers.
std::pair<IndexPage, IndexPage> splitPage(const IndexPage& page, size_t at);

}  // namespace jet::format
