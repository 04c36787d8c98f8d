// The ADO-like facade the window and the command-line tool use: a connection
// made from a Jet OLE DB connection string, opened on demand, with the tables
// schema rowset and transactions.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jet/storage/Store.h"

namespace jet::sql {
class Session;
}

namespace jet::ado {

// The parts of "Provider=...;Data Source=...;Persist Security Info=...;
// Jet OLEDB:Database Password=..." that the engine uses.
struct ConnectionString {
  std::string provider;
  std::string dataSource;
  std::string password;
  bool persistSecurityInfo = false;
  bool readOnly = false;  // "Mode=Read"

  // Throws jet::Error (Invalid) for a string without a Data Source.
  static ConnectionString parse(const std::string& text);
};

// One row of the tables schema rowset.
struct SchemaTable {
  std::string tableName;
  std::string tableType;  // "TABLE", "VIEW", "SYSTEM TABLE", "ACCESS TABLE", "LINK"
};

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void setConnectionString(const std::string& text);
  const std::string& connectionString() const { return text_; }

  // Opens the database the connection string names; a no-op when open.
  void open();
  // Closes the database and every query opened on this connection.
  void close();
  bool connected() const { return store_ != nullptr; }

  // Ordered by TABLE_TYPE, then TABLE_NAME, as OLE DB documents. Opens on demand.
  std::vector<SchemaTable> tablesSchema();
  // TABLE_NAME of the rows whose type is "TABLE" or "VIEW", in schema order.
  std::vector<std::string> tableNames();

  // The open database and its SQL session; both open on demand.
  storage::Store& store();
  sql::Session& session();

  void beginTrans();
  void commitTrans();
  void rollbackTrans();

  // Queries register here so that closing the connection closes them.
  int addCloseListener(std::function<void()> onClose);
  void removeCloseListener(int token);

 private:
  std::string text_;
  std::unique_ptr<storage::Store> store_;
  std::unique_ptr<sql::Session> session_;
  std::vector<std::pair<int, std::function<void()>>> listeners_;
  int nextToken_ = 1;
};

}  // namespace jet::ado
