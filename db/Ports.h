// What the workspace logic needs of the world around it: the window (texts of
// its controls, messages, confirmations, status panels), the database
// connection and its two queries, the file system and the clock. The window
// implements WorkspaceView; the ado adapters implement the database ports.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace qm::db {

// Answer of a Yes/No confirmation, as MessageBox returns it.
inline constexpr int kAnswerYes = 6;

class WorkspaceView {
 public:
  virtual ~WorkspaceView() = default;

  // Current texts of the main window's inputs.
  virtual std::string databasePath() const = 0;   // Edit_MDBPath
  virtual std::string tableText() const = 0;      // Edit_OldDatabaseTableName
  virtual std::string idFieldText() const = 0;    // ComboBox_ID
  virtual std::string keyFieldsText() const = 0;  // ComboBox_DB_Words
  virtual std::string sqlText() const = 0;        // Memo_Sql

  // The open-file dialog; nothing when the user cancels.
  virtual std::optional<std::string> chooseDatabaseFile() = 0;
  // Sets Edit_MDBPath; a text different from the current one opens that database.
  virtual void setDatabasePath(const std::string& path) = 0;
  // Replaces the table chooser's items; its text becomes empty without counting as a table change.
  virtual void setTableList(const std::vector<std::string>& names) = 0;
  // Empties ComboBox_ID and ComboBox_DB_Words (items and text).
  virtual void clearFieldChoosers() = 0;
  virtual void setFieldChoosers(const std::string& idField, const std::vector<std::string>& keyFields) = 0;

  // The grid query opened, closed or changed its rows: the grid rebuilds its columns.
  virtual void gridChanged() = 0;
  virtual void setGridColumnWidths(int pixels) = 0;
  virtual void setStatus(int panel, const std::string& text) = 0;
  virtual void showSqlResultPage() = 0;  // TabSheet3
  virtual void setKeylessButtonEnabled(bool enabled) = 0;

  virtual void showMessage(const std::string& text) = 0;
  // Yes/No box owned by the main window; returns the button's id (kAnswerYes for Yes).
  virtual int confirm(const std::string& text, const std::string& title) = 0;
  // Lets the messages already waiting run (the repaint under a closed box).
  virtual void processMessages() = 0;
};

class DbConnection {
 public:
  virtual ~DbConnection() = default;
  virtual void setConnectionString(const std::string& text) = 0;
  // Also closes every query on the connection.
  virtual void close() = 0;
  // Names of tables and views in provider order; opens the connection on demand.
  virtual std::vector<std::string> tableNames() = 0;
  virtual void beginTrans() = 0;
  virtual void commitTrans() = 0;
  virtual void rollbackTrans() = 0;
};

class DbQuery {
 public:
  virtual ~DbQuery() = default;
  virtual void close() = 0;
  virtual void setSql(const std::string& text) = 0;
  virtual std::string sql() const = 0;
  virtual void open() = 0;
  virtual int64_t execSql() = 0;
  virtual bool active() const = 0;
  virtual std::vector<std::string> fieldNames() const = 0;
  // Throws when the query is closed.
  virtual int64_t recordCount() const = 0;
};

struct CopyOutcome {
  enum Kind { Copied, TargetExists, Failed };
  Kind kind = Copied;
  std::string reason;  // in words, when Failed
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Follows symbolic links.
  virtual bool fileExists(const std::string& path) const = 0;
  // Copies `from` to a file `to` that this call creates: an existing file of
  // that name is left alone and reported, never overwritten, and the test and
  // the naming are one step, so two programs cannot both take one name. The
  // copy takes the name `to` only once it is whole and on the disk (until then
  // it is `to` + ".part"), so a copy cut short never passes for a backup; a
  // copy that fails part way is removed.
  virtual CopyOutcome copyToNewFile(const std::string& from, const std::string& to) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::tm localNow() const = 0;
};

}  // namespace qm::db
