// A statement on a connection. Open() runs a row-returning statement into a
// static result (fields, record count, any row by position); ExecSQL() runs
// any statement and returns no rows. Errors are jet::Error with the engine's
// message. A plain "select * from [table]" reads its rows as they are asked
// for, so a table of any size opens at once; see sql::TableRows for what
// happens when the table changes underneath.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jet/ado/Connection.h"
#include "jet/core/Value.h"

namespace jet::sql {
class StaticResult;
}

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
  // Throws jet::Error when the query is not open (the data set is closed).
  int64_t recordCount() const;
  // The row at a position of the open result; throws jet::Error past the end
  // or when closed. The reference holds until the next call on this query.
  const Row& row(size_t position) const;

  // Writes one cell of the open result back to its table, when the result is
  // a plain "select * from [table]": into the row shown at that position.
  // Refused when the table changed since the result last read it (the rows
  // are read again then). Throws on refusal and changes nothing.
  void updateCell(size_t row, size_t field, const Value& value);

 private:
  Connection& connection_;
  int listenerToken_ = 0;
  std::string sql_;
  bool active_ = false;
  std::vector<Field> fields_;
  std::unique_ptr<sql::StaticResult> result_;
};

}  // namespace jet::ado
