// A statement on a connection. Open() runs a row-returning statement into a
// static result (fields, all rows, record count); ExecSQL() runs any statement
// and returns no rows. Errors are jet::Error with the engine's message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/ado/Connection.h"
#include "jet/core/Value.h"

namespace jet::ado {

struct Field {
  std::string name;
  DataType type = DataType::Null;
  uint16_t size = 0;
};

class Query {
 public:
  explicit Query(Connection& connection);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  void setSql(const std::string& text) { sql_ = text; }
  const std::string& sql() const { return sql_; }

  // Runs the statement and keeps its rows. Throws when it returns no rows.
  void open();
  // Runs any statement; returns the number of records affected.
  int64_t execSql();
  void close();
  bool active() const { return active_; }

  const std::vector<Field>& fields() const { return fields_; }
  const std::vector<Row>& rows() const { return rows_; }
  // Throws jet::Error when the query is not open (the data set is closed).
  int64_t recordCount() const;

  // Writes one cell of the open result back to its table, when the result is
  // a plain "select * from [table]": the row is found by the table's primary
  // key, or else by matching every column of the row. Throws on refusal and
  // then leaves the cached row unchanged.
  void updateCell(size_t row, size_t field, const Value& value);

 private:
  Connection& connection_;
  int listenerToken_ = 0;
  std::string sql_;
  bool active_ = false;
  std::vector<Field> fields_;
  std::vector<Row> rows_;
};

}  // namespace jet::ado
