// The database ports over the engine's ado facade: what the window and the
// command-line tool plug into the workspace.
#pragma once

#include "db/Ports.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"

namespace qm::db {

class AdoConnection : public DbConnection {
 public:
  explicit AdoConnection(jet::ado::Connection& connection) : connection_(connection) {}
  void setConnectionString(const std::string& text) override { connection_.setConnectionString(text); }
  void close() override { connection_.close(); }
  std::vector<std::string> tableNames() override { return connection_.tableNames(); }
  void beginTrans() override { connection_.beginTrans(); }
  void commitTrans() override { connection_.commitTrans(); }
  void rollbackTrans() override { connection_.rollbackTrans(); }

 private:
  jet::ado::Connection& connection_;
};

class AdoQuery : public DbQuery {
 public:
  explicit AdoQuery(jet::ado::Query& query) : query_(query) {}
  void close() override { query_.close(); }
  void setSql(const std::string& text) override { query_.setSql(text); }
  std::string sql() const override { return query_.sql(); }
  void open() override { query_.open(); }
  int64_t execSql() override { return query_.execSql(); }
  bool active() const override { return query_.active(); }
  std::vector<std::string> fieldNames() const override;
  int64_t recordCount() const override { return query_.recordCount(); }

 private:
  jet::ado::Query& query_;
};

}  // namespace qm::db
