// What the SQL layer sees of a database: a catalogue of named objects, tables
// that can be scanned and changed row by row, data definition, and nested
// transactions. The Jet file implementation (JetDatabase) and the in-memory
// one used by tests (MemoryStore) both provide exactly this.
//
// Names are compared case-insensitively, as Jet does. Row ids are opaque to
// callers; they stay valid until the row is deleted or the statement ends.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "jet/core/Value.h"

namespace jet::storage {

enum class ObjectKind {
  Table,        // a user table
  SystemTable,  // MSys* and the like
  AccessTable,  // a system table Jet reports as "ACCESS TABLE"
  View,         // a saved select query
  Procedure,    // any other saved query (action, parameter, crosstab, ...)
  LinkedTable,
};

struct CatalogEntry {
  std::string name;
  ObjectKind kind = ObjectKind::Table;
};

struct ColumnDef {
  std::string name;
  DataType type = DataType::Text;
  // Text: maximum length in UTF-16 code units (as Len counts). Binary: bytes. Fixed types: byte size.
  uint16_t size = 0;
  bool autoNumber = false;  // COUNTER (Long) or auto-generated GUID
  bool required = false;    // NOT NULL
  bool fixedLength = false;
  bool compressedUnicode = false;  // Jet 4 text compression allowed
  uint8_t precision = 0;           // Decimal
  uint8_t scale = 0;               // Decimal
};

struct IndexColumn {
  int column = 0;  // position in TableSchema::columns
  bool ascending = true;
};

struct IndexDef {
  std::string name;
  std::vector<IndexColumn> columns;
  bool primaryKey = false;
  bool unique = false;
  bool ignoreNulls = false;
  bool required = false;
  bool foreignKey = false;
};

struct TableSchema {
  std::string name;
  std::vector<ColumnDef> columns;
  std::vector<IndexDef> indexes;

  // Position of a column by name (case-insensitive), or -1.
  int findColumn(const std::string& name) const;
};

using RowId = uint64_t;

// A forward-only pass over a table. `row()` is valid after `next()` returned
// true and until the following call.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  virtual bool next() = 0;
  virtual const Row& row() const = 0;
  virtual RowId rowId() const = 0;
  // The row, which the cursor may give up (row() is then unspecified until next()).
  virtual Row takeRow() { return row(); }
};

class Table {
 public:
  virtual ~Table() = default;
  virtual const TableSchema& schema() const = 0;
  // The row count the table definition records.
  virtual uint64_t rowCount() const = 0;
  virtual std::unique_ptr<RowCursor> scan() = 0;
  // A scan that needs only the columns flagged in `wanted` (one flag per
  // column); the others may come back Null.
  virtual std::unique_ptr<RowCursor> scan(const std::vector<bool>& wanted);
  // The id of every row in scan order, without reading the rows' values: a
  // table may tell where its rows are far quicker than it reads them.
  virtual void forEachRowId(const std::function<void(RowId)>& visit);
  virtual Row fetch(RowId id) = 0;

  // Writes. `row` has one value per column; Null in an auto-number column
  // asks for the next number. Returns the new row's id. The stored row
  // (auto-numbers filled) is written back into `row`.
  virtual RowId insert(Row& row) = 0;
  // Inserts the rows in order as one write: all of them or none. Each stored
  // row is written back as insert() does (after a failure the rows may hold
  // values half prepared for storing). A table may place many rows with one
  // page write.
  virtual void insertRows(std::span<Row> rows);
  virtual void remove(RowId id) = 0;
  // Removes every row of `ids` as one write: all of them or none. A table
  // may do this in far fewer page writes than removing them one by one.
  virtual void removeRows(std::span<const RowId> ids);
  // Returns the row's id after the update (it may move).
  virtual RowId update(RowId id, const Row& row) = 0;
};

class Store {
 public:
  virtual ~Store() = default;

  // Every object of the catalogue, in no particular order.
  virtual std::vector<CatalogEntry> objects() = 0;
  // nullptr when no table (or system table) of that name exists.
  virtual std::shared_ptr<Table> openTable(const std::string& name) = 0;
  // The SQL text of a saved query, or nothing.
  virtual std::optional<std::string> querySql(const std::string& name) = 0;
  virtual bool readOnly() const = 0;

  // Data definition. Each throws jet::Error on refusal and changes nothing.
  virtual void createTable(const TableSchema& schema) = 0;
  virtual void dropTable(const std::string& name) = 0;
  // A new auto-number column numbers the existing rows 1..n in row order.
  virtual void addColumn(const std::string& table, const ColumnDef& column) = 0;
  virtual void dropColumn(const std::string& table, const std::string& column) = 0;
  virtual void createIndex(const std::string& table, const IndexDef& index) = 0;
  virtual void dropIndex(const std::string& table, const std::string& index) = 0;

  // Nested transactions: each begin() opens a level; commit() folds the
  // innermost level into its parent (the outermost commit makes the changes
  // durable), rollback() undoes everything since the matching begin().
  // The SQL layer wraps each statement in a level of its own.
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() = 0;
  virtual int transactionDepth() const = 0;

  // A read transaction: everything read between these sees one state of the
  // database, never another process's write half done. Levels nest. A
  // store no other process can change needs nothing here.
  virtual void beginRead() {}
  virtual void endRead() {}

  // Goes up whenever stored rows may have changed: a write or rollback of
  // this program, or another process's change that a read transaction found.
  // Row ids taken before a change may name other rows, or none, after it.
  virtual uint64_t changeCount() const = 0;
};

// Holds a read transaction of `store` for a scope.
class ReadGuard {
 public:
  explicit ReadGuard(Store& store) : store_(store) { store_.beginRead(); }
  ~ReadGuard() { store_.endRead(); }
  ReadGuard(const ReadGuard&) = delete;
  ReadGuard& operator=(const ReadGuard&) = delete;

 private:
  Store& store_;
};

// Jet's own tables: the catalogue flags them as system objects, and any name
// starting with "MSys" (in any case) is reserved for them. No statement or
// tool may change them; reading them is allowed.
bool isSystemTableName(const std::string& name);
bool isSystemTable(const std::string& name, ObjectKind kind);
// Whether `name` is one of Jet's own tables in `store` (or reserved for one).
bool isSystemTable(Store& store, const std::string& name);
// Throws jet::Error naming the table when it is one of Jet's own.
void refuseSystemTable(Store& store, const std::string& name);

}  // namespace jet::storage
