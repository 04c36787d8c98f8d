// Runs Jet SQL statements against a Store. One Session per connection; it
// keeps the state of an explicit transaction (BEGIN TRANSACTION ... COMMIT).
// Each statement is atomic: it runs inside a transaction level of its own and
// is rolled back whole when it fails.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jet/core/Value.h"
#include "jet/storage/Store.h"

namespace jet::sql {

struct ResultField {
  std::string name;
  DataType type = DataType::Null;
  uint16_t size = 0;
};

struct ResultSet {
  std::vector<ResultField> fields;
  std::vector<Row> rows;
};

struct ExecResult {
  bool returnsRows = false;
  ResultSet result;          // filled when returnsRows
  int64_t rowsAffected = 0;  // DML; 0 for DDL
};

class StaticResult;

class Session {
 public:
  explicit Session(storage::Store& store);
  ~Session();

  // Parses and runs one statement (a trailing ';' is allowed).
  ExecResult execute(const std::string& sql);

  // Runs a row-returning statement and hands each row to `onRow` as it is
  // produced, without keeping the result (for large exports). `onFields` is
  // called once before the first row.
  void stream(const std::string& sql, const std::function<void(const std::vector<ResultField>&)>& onFields,
              const std::function<void(const Row&)>& onRow);

  // Opens a row-returning statement as a static cursor does. A plain scan
  // of a stored table ("select * from [t]") keeps where its rows are and
  // reads them when asked for; any other result is computed now and kept
  // packed, in a temporary file past the memory budget. Any other statement
  // runs as execute() runs it, and nothing is returned.
  std::unique_ptr<StaticResult> open(const std::string& sql);
  // Memory a computed result of open() may take before it spills.
  void setResultMemoryBudget(size_t bytes);

  bool inTransaction() const;

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace jet::sql
