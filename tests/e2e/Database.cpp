#include "Database.h"

#include "Harness.h"
#include "db/ConnectionText.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"
#include "jet/ado/ValueText.h"

namespace e2e {

std::vector<std::string> TableNames(const std::wstring& path) {
  jet::ado::Connection c;
  c.setConnectionString(qm::db::connectionStringFor(Narrow(path)));
  return c.tableNames();
}

std::vector<std::string> ColumnTexts(const std::wstring& path, const std::string& sql, size_t column) {
  jet::ado::Connection c;
  c.setConnectionString(qm::db::connectionStringFor(Narrow(path)));
  jet::ado::Query q(c);
  q.setSql(sql);
  q.open();
  std::vector<std::string> out;
  const auto count = static_cast<size_t>(q.recordCount());
  for (size_t i = 0; i < count; ++i) out.push_back(jet::ado::displayText(q.row(i).at(column)));
  return out;
}

size_t RowCount(const std::wstring& path, const std::string& table) {
  return ColumnTexts(path, "Select * from [" + table + "]", 0).size();
}

int64_t Execute(const std::wstring& path, const std::string& sql) {
  jet::ado::Connection c;
  c.setConnectionString(qm::db::connectionStringFor(Narrow(path)));
  jet::ado::Query q(c);
  q.setSql(sql);
  return q.execSql();
}

}  // namespace e2e
