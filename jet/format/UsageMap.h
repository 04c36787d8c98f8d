// A usage map: the set of pages owned by a table (or holding its free space).
// The map lives in a row: type 0 carries a start page and a bitmap inline;
// type 1 lists usage-map pages (type 0x05), each a bitmap of the pages in its
// stretch of the file. Pages come out in increasing order, one at a time, so
// a scan never holds the whole list.
//
// changeUsageMap edits a map in place, the way Jet keeps them: a type 0 map
// whose window cannot take a page slides its window when the pages it holds
// allow, otherwise becomes a type 1 map in the same row.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"

namespace jet::format {

class UsageMap {
 public:
  // `pointer` is the row pointer kept in the table definition. Throws
  // FormatError(Corrupt) when it does not lead to a map.
  UsageMap(file::PageFile& file, const Layout& layout, uint32_t pointer);

  // The row of an inline map covering `pages` (all at or after `start`, and
  // within the bitmap that `bitmapBytes` holds).
  static std::vector<uint8_t> encodeInline(uint32_t start, const std::vector<uint32_t>& pages,
                                           size_t bitmapBytes);

  // The next page in the map, or nothing at the end.
  std::optional<uint32_t> next();
  void rewind();

 private:
  bool loadReferencePage();
  uint32_t checked(uint64_t page) const;

  file::PageFile& file_;
  const Layout& layout_;
  uint8_t type_ = 0;
  std::vector<uint8_t> row_;  // the map row, copied out of its page

  // Position: within the inline bitmap, or within the current reference page.
  uint32_t inlineStart_ = 0;
  uint64_t bit_ = 0;
  size_t reference_ = 0;         // index of the current page in a type 1 map
  file::PageRef referencePage_;  // its bitmap
  uint64_t bitsPerReferencePage_ = 0;
};

// Adds (`present`) or removes `page` in the map whose row `pointer` names,
// writing through `file` (inside its transaction). New map pages come from
// `allocate`. Removing a page the map does not cover changes nothing. Throws
// FormatError(Corrupt) for a damaged map, FormatError(Invalid) when even a
// type 1 map of that row cannot reach the page.
void changeUsageMap(file::PageFile& file, const Layout& layout, uint32_t pointer, uint32_t page, bool present,
                    const std::function<uint32_t()>& allocate);

// The map row `pointer` names, copied out. Throws FormatError(Corrupt) when
// it is not a usage map.
std::vector<uint8_t> readUsageMapRow(file::PageFile& file, const Layout& layout, uint32_t pointer);
// Replaces the map row with `bytes` of the same length, in place.
void rewriteUsageMapRow(file::PageFile& file, const Layout& layout, uint32_t pointer,
                        const std::vector<uint8_t>& bytes);
// The bitmap pages of a reference map (none for an inline one): they belong
// to the map alone.
std::vector<uint32_t> usageMapPages(file::PageFile& file, const Layout& layout, uint32_t pointer);

}  // namespace jet::format
