// A Jet 3 / Jet 4 database file as a Store: the catalogue, table
// definitions, scans and row fetches come from the file. Opened for writing
// (readOnly false) it holds the write lock, and each transaction level is a
// level of the page file's rollback journal. Access 97 (Jet 3) files are
// written in their own layout, their text in the file's code page.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jet/storage/Catalog.h"
#include "jet/storage/JetContext.h"
#include "jet/storage/QueryText.h"
#include "jet/storage/Store.h"

namespace jet::storage {

// File facts for a `schema` listing.
struct DatabaseInfo {
  file::JetVersion version = file::JetVersion::Jet4;
  std::string formatName;
  uint32_t pageSize = 0;
  uint32_t pageCount = 0;
  uint16_t codePage = 0;
  uint32_t sortOrder = 0;
  bool hasPassword = false;
};

class JetDatabase : public Store {
 public:
  // Throws jet::Error: FileNotFound, Io, NotADatabase, Unsupported (ACCDB,
  // encoded database), BadPassword, Corrupt.
  static std::unique_ptr<JetDatabase> open(const std::string& path, const std::string& password,
                                           bool readOnly = true);
  // Writes a new, empty Jet 4 database at `path` (refused when the file
  // exists) and opens it for writing.
  static std::unique_ptr<JetDatabase> create(const std::string& path);
  // Opens for writing with file operations through `io` (tests simulate a
  // full disk or a failing device with it).
  static std::unique_ptr<JetDatabase> openForWriting(const std::string& path, const std::string& password,
                                                     file::IoSystem& io);
  // The same from the bytes of a file; `name` stands for it in messages.
  static std::unique_ptr<JetDatabase> openBytes(std::vector<uint8_t> bytes, const std::string& password,
                                                const std::string& name = "<memory>");

  DatabaseInfo info() const;
  file::PageFile& pageFile() { return *context_->file; }

  std::vector<CatalogEntry> objects() override;
  std::shared_ptr<Table> openTable(const std::string& name) override;
  std::optional<std::string> querySql(const std::string& name) override;
  bool readOnly() const override { return context_->file->readOnly(); }

  void createTable(const TableSchema& schema) override;
  void dropTable(const std::string& name) override;
  void addColumn(const std::string& table, const ColumnDef& column) override;
  void dropColumn(const std::string& table, const std::string& column) override;
  void createIndex(const std::string& table, const IndexDef& index) override;
  void dropIndex(const std::string& table, const std::string& index) override;

  void begin() override;
  void commit() override;
  void rollback() override;
  int transactionDepth() const override { return depth_; }
  void beginRead() override;
  void endRead() override;
  uint64_t changeCount() const override { return context_->file->changes(); }

 private:
  JetDatabase(std::unique_ptr<file::PageFile> file, const std::string& password);
  const CatalogObject* find(const std::string& name) const;
  // Replaces a table by one of `schema` holding mapRow(row, index) of each row (JetDdl.cpp).
  void rebuildTable(const std::string& name, const TableSchema& schema,
                    const std::function<Row(const Row&, uint64_t)>& mapRow);
  void loadQueries();

  std::shared_ptr<JetContext> context_;
  std::vector<CatalogObject> catalog_;
  bool queriesLoaded_ = false;
  std::map<int32_t, QueryText> queries_;  // by object id
  int depth_ = 0;
  bool commitFailed_ = false;  // the file undid the transaction whose commit failed
  int readDepth_ = 0;
  uint64_t generation_ = 0;  // of the page file, when the catalogue was read
};

}  // namespace jet::storage
