// What every object of one open Jet database shares: the page file, its
// layout and text rules, and where new pages come from. Tables keep it
// alive, so a table handle stays usable even if the database object that
// made it is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"
#include "jet/format/ValueCodec.h"

namespace jet::storage {

struct JetContext {
  std::unique_ptr<file::PageFile> file;
  format::Layout layout;
  format::TextRules text;
  // Whether row 0 of page 1 is the file's map of free pages. Files our
  // first writer made keep the catalogue's own page map there instead: in
  // them that row is never touched and no page is taken from it.
  bool freeMapUsable = true;

  // A zero-filled page for the database's own structures (data, LVAL,
  // index, usage map and table definition pages), inside a transaction of
  // `file`: the lowest free page when there is one, else a new page at the
  // end. Either way the file's map of free pages then counts it as used.
  uint32_t allocatePage();

  // Gives back pages nothing refers to any more (a dropped table's). Pages
  // the free-page map covers are marked free there, for this and later
  // sessions; others are kept for this session only (the map cannot record
  // them). Free pages at the end of the file are cut off.
  void freePages(const std::vector<uint32_t>& pages);

 private:
  std::set<uint32_t> sessionFree_;  // blanked pages the map cannot record
  uint64_t rollbacksSeen_ = 0;
  // A rollback may have made pages free in memory live again (or cut them
  // off): forget them.
  void forgetStaleFreePages();
  bool takeSessionPage(uint32_t page);
};

}  // namespace jet::storage
