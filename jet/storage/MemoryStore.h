// A Store kept entirely in memory. It gives the SQL layer's tests a database
// with exactly the Store semantics (unique indexes, auto-numbers, nested
// transactions) without any file underneath.
#pragma once

#include <map>

#include "jet/storage/Store.h"

namespace jet::storage {

class MemoryStore : public Store {
 public:
  MemoryStore() = default;

  // Adds a saved query to the catalogue (tests of views and procedures).
  void addQuery(const std::string& name, const std::string& sql, ObjectKind kind = ObjectKind::View);
  void addSystemTable(const TableSchema& schema);

  std::vector<CatalogEntry> objects() override;
  std::shared_ptr<Table> openTable(const std::string& name) override;
  std::optional<std::string> querySql(const std::string& name) override;
  bool readOnly() const override { return false; }

  void createTable(const TableSchema& schema) override;
  void dropTable(const std::string& name) override;
  void addColumn(const std::string& table, const ColumnDef& column) override;
  void dropColumn(const std::string& table, const std::string& column) override;
  void createIndex(const std::string& table, const IndexDef& index) override;
  void dropIndex(const std::string& table, const std::string& index) override;

  void begin() override;
  void commit() override;
  void rollback() override;
  int transactionDepth() const override { return static_cast<int>(savepoints_.size()); }
  uint64_t changeCount() const override { return changes_; }
  // The table handles report each row they write.
  void noteChange() { ++changes_; }

  struct TableData {
    TableSchema schema;
    ObjectKind kind = ObjectKind::Table;
    std::map<RowId, Row> rows;
    RowId nextRowId = 1;
    int32_t nextAutoNumber = 1;
  };
  struct QueryData {
    std::string name;
    std::string sql;
    ObjectKind kind;
  };
  struct State {
    std::map<std::string, TableData> tables;  // keyed by folded name
    std::map<std::string, QueryData> queries;
  };

  // Used by the table handles; throws NoSuchTable when the table is gone.
  TableData& tableData(const std::string& key);

 private:
  bool nameTaken(const std::string& key) const;

  State state_;
  std::vector<State> savepoints_;
  uint64_t changes_ = 0;
};

}  // namespace jet::storage
