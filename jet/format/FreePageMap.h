// The file's map of free pages: row 0 of page 1, a usage map whose set bits
// are pages nobody owns. Access keeps it as an inline window of pages
// (512 for Jet 4) that moves up as the file grows: a page past the window's
// end is free (it lies past the end of the file), a page before its start is
// in use. Free pages keep whatever they last held; only the bit tells.
//
// A FreePageMap is a copy of the row: read it, change it, write() it back
// inside the file's transaction. A reference (type 1) map is read but left to
// changeUsageMap; this class edits only the window.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"

namespace jet::format {

// Page 1, row 0.
constexpr uint32_t kFreePageMapPointer = 1u << 8;
// Pages below this (header, the maps' page, the catalogue's definition) are never free.
constexpr uint32_t kFirstFreeablePage = 3;

class FreePageMap {
 public:
  // Throws FormatError(Corrupt) when page 1 row 0 is not a usage map.
  FreePageMap(file::PageFile& file, const Layout& layout);

  // The row of a new file of `pageCount` pages, none of them free, with a
  // window of `bitmapBytes` * 8 pages.
  static std::vector<uint8_t> encodeNew(uint32_t pageCount, size_t bitmapBytes = 64);

  bool isWindow() const { return window_; }
  uint32_t start() const { return start_; }
  uint32_t end() const { return start_ + bits(); }
  uint32_t halfWindow() const { return bits() / 2; }
  bool covers(uint32_t page) const { return window_ && page >= start_ && page < end(); }
  // Free by its bit; false for a page the window does not cover.
  bool isFree(uint32_t page) const;
  // The lowest page of [from, below) whose bit says free.
  std::optional<uint32_t> firstFree(uint32_t from, uint32_t below) const;
  // Sets a covered page's bit.
  void set(uint32_t page, bool free);
  // Moves the window to begin at `start`. Pages from `endOfFile` on become
  // free; a page below it keeps its bit when the old window covered it and
  // counts as in use otherwise.
  void moveWindow(uint32_t start, uint32_t endOfFile);

  // Writes the row back in place (the file must be in a transaction).
  void write();

 private:
  uint32_t bits() const { return static_cast<uint32_t>((row_.size() - kHeader) * 8); }

  static constexpr size_t kHeader = 5;  // type, start page
  file::PageFile& file_;
  const Layout& layout_;
  std::vector<uint8_t> row_;
  bool window_ = false;
  uint32_t start_ = 0;
};

}  // namespace jet::format
