// What every object of one open Jet database shares: the page file, its
// layout and text rules. Tables keep it alive, so a table handle stays usable
// even if the database object that made it is gone.
#pragma once

#include <cstdint>
#include <memory>

#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"
#include "jet/format/ValueCodec.h"

namespace jet::storage {

struct JetContext {
  std::unique_ptr<file::PageFile> file;
  format::Layout layout;
  format::TextRules text;

  // A new page for the database's own structures (data, LVAL, index, usage
  // map, table definition pages): appended to the file and taken out of the
  // global map of free pages (page 1, row 0), as Jet does. Inside a
  // transaction of `file`.
  uint32_t allocatePage();
};

}  // namespace jet::storage
