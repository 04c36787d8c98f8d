#include "jet/ado/Query.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Session.h"
#include "jet/sql/StaticResult.h"
#include "jet/sql/TableRows.h"

namespace jet::ado {

Query::Query(Connection& connection) : connection_(connection) {
  listenerToken_ = connection_.addCloseListener([this] { close(); });
}

Query::~Query() {
  connection_.removeCloseListener(listenerToken_);
}

void Query::open() {
  close();
  std::unique_ptr<sql::StaticResult> result = connection_.session().open(sql_);
  if (!result) throw SqlError(ErrorCode::Invalid, msg::notRowReturning());
  for (const sql::ResultField& f : result->fields()) fields_.push_back({f.name, f.type, f.size});
  result_ = std::move(result);
  active_ = true;
}

int64_t Query::execSql() {
  close();
  sql::ExecResult r = connection_.session().execute(sql_);
  return r.rowsAffected;
}

void Query::close() {
  active_ = false;
  fields_.clear();
  result_.reset();
}

int64_t Query::recordCount() const {
  if (!active_) throw Error(ErrorCode::Invalid, msg::closedDataSet());
  return static_cast<int64_t>(result_->rowCount());
}

const Row& Query::row(size_t position) const {
  if (!active_) throw Error(ErrorCode::Invalid, msg::closedDataSet());
  return result_->row(position);
}

void Query::updateCell(size_t row, size_t field, const Value& value) {
  if (!active_) throw Error(ErrorCode::Invalid, msg::closedDataSet());
  // Only a plain scan of a stored table knows which stored row each one is.
  auto* tableRows = dynamic_cast<sql::TableRows*>(result_.get());
  if (!tableRows) throw Error(ErrorCode::ReadOnly, msg::writeNotSupported("this result cannot be edited"));
  tableRows->updateCell(row, field, value);
}

}  // namespace jet::ado
