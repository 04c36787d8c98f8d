// The handlers of the database workspace and the duplicate tools, as plain
// C++: which statement runs on which query, which text is shown, in what
// order. Errors not caught here are jet::Error (or std::exception) for the
// window's default error report.
#pragma once

#include <optional>
#include <string>

#include "db/Ports.h"

namespace qm::db {

class Workspace {
 public:
  Workspace(WorkspaceView& view, DbConnection& connection, DbQuery& gridQuery, DbQuery& statementQuery,
            FileSystem& files, Clock& clock);

  // Opening a database.
  void chooseDatabaseFile();  // "打开"
  void openDatabase();        // Edit_MDBPath changed
  void refreshTableList();    // "刷新表" and the invisible table-list button

  // The table view.
  void tableChanged();       // the table chooser's text changed by the user
  void reloadGrid();         // "刷新"
  void refreshFieldLists();  // the invisible field-list button

  // Duplicate tools.
  void duplicateReport();  // "查询重复记录"
  void keepLowest();       // "去重(保留最小id)"
  void keepHighest();      // "去重(保留最大id)"
  void keylessRebuild();   // "无主键去重"

  // Table tools and the console.
  void dropTable();    // "删除表"
  void backupTable();  // "备份表"
  void runSql();       // "执行"

 private:
  enum class Keep { Lowest, Highest };
  void removeDuplicates(Keep keep);
  bool dedupeInputsPresent() const;
  std::optional<std::string> idFieldProblem(const std::string& table, const std::string& id);
  void showGridCount();

  WorkspaceView& view_;
  DbConnection& connection_;
  DbQuery& grid_;
  DbQuery& statement_;
  FileSystem& files_;
  Clock& clock_;
};

}  // namespace qm::db
