// Fills a table with realistic rows for tests and benchmarks: an auto-number
// primary key (or none), text keys of which a chosen share repeat an earlier
// row, CJK text, memos, numbers, dates and flags. The same seed always gives
// the same rows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "jet/storage/NewDatabase.h"
#include "jet/storage/Store.h"

namespace mdbgen {

struct Options {
  std::string table = "Records";
  uint64_t rows = 1000;
  // Share of rows (0..1) that copy the key fields of an earlier row; in a
  // keyless table such rows copy the whole earlier row.
  double duplicateShare = 0.25;
  bool keyless = false;  // no ID column and no primary key
  bool memos = true;
  // A tenth of the memos run to a dozen kilobytes (pages of their own);
  // without them memos are a few sentences, as customer notes are, and a
  // table takes about 400 bytes a row on disk.
  bool longMemos = true;
  // Secondary indexes on the key fields (Name, Phone), as customer tables
  // often have; every delete then updates them too.
  bool keyIndexes = false;
  uint64_t seed = 1;
  // Only text a Chinese Access 97 file (code page 936, GBK) can hold: the
  // Latin names lose the accents GBK has no letters for.
  bool gbkText = false;
};

// The table's layout for the given options.
jet::storage::TableSchema schemaFor(const Options& options);

// Creates the table and inserts the rows, in batches of one transaction level
// each; `progress` (if set) gets the number of rows written so far.
void generate(jet::storage::Store& store, const Options& options,
              const std::function<void(uint64_t)>& progress = nullptr);

// Row number `index` (0-based) exactly as generate() writes it, ID excluded.
jet::Row generatedRow(const Options& options, uint64_t index);

// The table for writeNewDatabase: its layout and its rows in order, each
// with a Null ID that numbers itself.
jet::storage::NewTable newTable(const Options& options);

}  // namespace mdbgen
