// Writing a new Jet 4 or Access 97 (Jet 3) database file from nothing: the header page, the
// system tables Access makes (MSysObjects, MSysACEs, MSysQueries,
// MSysRelationships, MSysAccessObjects) with their catalogue rows and
// indexes, and optionally user tables copied from another store with their
// rows, long values, usage maps and index trees built in one pass.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jet/file/Header.h"
#include "jet/storage/Store.h"

namespace jet::storage {

// What a new file records about itself.
struct NewDatabaseOptions {
  // Days since 1899-12-30; 0 means now.
  double creationDate = 0;
  file::JetVersion version = file::JetVersion::Jet4;
  // The ANSI code page of an Access 97 file's text (1252 or 936); Jet 4 text is UCS-2.
  uint16_t codePage = 1252;
};

// A table for a new file: its schema and its rows, produced one at a time so
// that a table need not fit in memory. `nextRow` fills `row` (one value per
// column; Null in an auto-number column takes the next number) and returns
// false after the last row.
struct NewTable {
  TableSchema schema;
  std::function<bool(Row& row)> nextRow;
};

// Writes a new database at `path` holding `tables` in one pass. Refuses an
// existing file and removes a half-written one when anything fails (a
// duplicate in a unique index, a value that does not fit its column, ...).
void writeNewDatabase(const std::string& path, std::vector<NewTable> tables,
                      const NewDatabaseOptions& options = {});

// Writes a new database at `path` holding every user table of `source`
// (schema, indexes, rows in scan order; auto-numbers continue after the
// largest value). Refuses an existing file (StorageError FileExists -> Io)
// and removes a half-written file when anything fails.
void writeNewDatabase(const std::string& path, Store* source, const NewDatabaseOptions& options = {});

// The current time as a Jet date.
double jetNow();

}  // namespace jet::storage
