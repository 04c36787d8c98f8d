#include "db/Workspace.h"

#include "db/BackupCopy.h"
#include "db/ConnectionText.h"
#include "db/DupStatements.h"
#include "db/Texts.h"
#include "jet/core/Text.h"

namespace qm::db {

namespace {

constexpr int kColumnWidth = 80;
constexpr int kRecordsPanel = 0;
constexpr int kDuplicatesPanel = 1;

}  // namespace

Workspace::Workspace(WorkspaceView& view, DbConnection& connection, DbQuery& gridQuery,
                     DbQuery& statementQuery, FileSystem& files, Clock& clock)
    : view_(view),
      connection_(connection),
      grid_(gridQuery),
      statement_(statementQuery),
      files_(files),
      clock_(clock) {}

void Workspace::chooseDatabaseFile() {
  std::optional<std::string> path = view_.chooseDatabaseFile();
  if (path) view_.setDatabasePath(*path);
}

void Workspace::openDatabase() {
  const std::string path = view_.databasePath();
  if (!files_.fileExists(path)) {
    view_.showMessage(text::databaseMissing());
    return;
  }
  connection_.close();
  view_.gridChanged();
  connection_.setConnectionString(connectionStringFor(path));
  refreshTableList();
  // The copy is the only undo of a removal, so a failure is told, not swallowed.
  const BackupCopy copy = makeBackupCopy(files_, path, clock_.localNow());
  if (copy.failure) view_.showMessage(text::backupCopyFailed(copy.path, *copy.failure));
}

void Workspace::refreshTableList() {
  std::vector<std::string> names = connection_.tableNames();
  view_.setTableList(names);
}

void Workspace::tableChanged() {
  reloadGrid();
  refreshFieldLists();
}

void Workspace::reloadGrid() {
  if (view_.databasePath().empty()) {
    view_.showMessage(text::loadDatabaseFirst());
    return;
  }
  const std::string table = view_.tableText();
  if (table.empty()) {
    view_.showMessage(text::optionsEmpty());
    return;
  }
  grid_.close();
  grid_.setSql(gridStatement(table));
  try {
    grid_.open();
  } catch (...) {
    view_.gridChanged();
    throw;
  }
  view_.gridChanged();
  view_.setGridColumnWidths(kColumnWidth);
  showGridCount();
}

void Workspace::refreshFieldLists() {
  // Any failure here leaves the choosers as far as they got, silently.
  try {
    view_.clearFieldChoosers();
    std::vector<std::string> fields = grid_.fieldNames();
    if (fields.empty()) return;
    view_.setFieldChoosers(fields.front(), fields);
  } catch (...) {
  }
}

bool Workspace::dedupeInputsPresent() const {
  return !view_.databasePath().empty() && !view_.tableText().empty() && !view_.idFieldText().empty() &&
         !view_.keyFieldsText().empty();
}

void Workspace::duplicateReport() {
  if (!dedupeInputsPresent()) {
    view_.showMessage(text::dedupeInputsEmpty());
    return;
  }
  const std::string fields = view_.keyFieldsText();
  grid_.close();
  grid_.setSql(duplicateReportStatement(view_.tableText(), fields));
  try {
    grid_.open();
  } catch (...) {
    view_.gridChanged();
    throw;
  }
  view_.gridChanged();
  view_.setGridColumnWidths(kColumnWidth);
  view_.setStatus(kDuplicatesPanel, text::duplicateSummary(fields, grid_.recordCount()));
}

void Workspace::keepLowest() {
  removeDuplicates(Keep::Lowest);
}

void Workspace::keepHighest() {
  removeDuplicates(Keep::Highest);
}

std::optional<std::string> Workspace::idFieldProblem(const std::string& table, const std::string& id) {
  // A repeated or Null ID would keep duplicates (or delete nothing) while the
  // completion message claims success, so such a field is refused up front.
  auto anyRow = [this](const std::string& sql) {
    statement_.close();
    statement_.setSql(sql);
    statement_.open();
    const bool found = statement_.recordCount() > 0;
    statement_.close();
    return found;
  };
  if (anyRow(nullIdStatement(table, id))) return text::idHasNull(id);
  if (anyRow(repeatedIdStatement(table, id))) return text::idNotUnique(id);
  return std::nullopt;
}

void Workspace::removeDuplicates(Keep keep) {
  if (!dedupeInputsPresent()) {
    view_.showMessage(text::dedupeInputsEmpty());
    return;
  }
  const std::string table = view_.tableText();
  const std::string id = view_.idFieldText();
  const std::string fields = view_.keyFieldsText();
  if (std::optional<std::string> problem = idFieldProblem(table, id)) {
    view_.showMessage(*problem);
    return;
  }
  if (view_.confirm(text::confirmDedupe(), text::kConfirmTitle) == kAnswerYes) {
    view_.processMessages();
    statement_.close();
    statement_.setSql(keep == Keep::Lowest ? keepLowestStatement(table, id, fields)
                                           : keepHighestStatement(table, id, fields));
    statement_.execSql();
    view_.showMessage(text::dedupeDone());
    reloadGrid();
  }
  view_.setGridColumnWidths(kColumnWidth);
}

void Workspace::keylessRebuild() {
  view_.setKeylessButtonEnabled(false);
  struct Reenable {
    WorkspaceView& view;
    ~Reenable() { view.setKeylessButtonEnabled(true); }
  } reenable{view_};

  const std::string table = view_.tableText();
  grid_.close();
  grid_.setSql("");
  view_.gridChanged();
  // One transaction: a failure at any of the four statements leaves the database as it was.
  connection_.beginTrans();
  try {
    for (const std::string& sql : keylessRebuildStatements(table)) {
      grid_.setSql(sql);
      grid_.execSql();
      grid_.close();
      grid_.setSql("");
    }
    connection_.commitTrans();
  } catch (...) {
    connection_.rollbackTrans();
    throw;
  }
  view_.showMessage(text::keylessDone());
  reloadGrid();
  refreshTableList();
}

void Workspace::dropTable() {
  const std::string table = view_.tableText();
  if (table.empty()) {
    view_.showMessage(text::chooseTableToDrop());
    return;
  }
  if (view_.confirm(text::confirmDrop(table), text::kConfirmTitle) != kAnswerYes) return;
  view_.processMessages();
  // The grid must not keep showing (and writing to) a table that is gone.
  if (jet::equalsIgnoreCase(grid_.sql(), gridStatement(table))) {
    grid_.close();
    view_.gridChanged();
  }
  statement_.close();
  statement_.setSql(dropTableStatement(table));
  statement_.execSql();
  view_.showMessage(text::dropDone(table));
  refreshTableList();
}

void Workspace::backupTable() {
  const std::string table = view_.tableText();
  grid_.close();
  view_.gridChanged();
  grid_.setSql(backupTableStatement(table));
  grid_.execSql();
  view_.showMessage(text::backupDone(table));
  refreshTableList();
}

void Workspace::runSql() {
  const std::string sql = view_.sqlText();
  if (sql.empty()) {
    view_.showMessage(text::nothingToRun());
    return;
  }
  grid_.close();
  grid_.setSql("");
  view_.gridChanged();
  grid_.setSql(sql);
  if (returnsRows(sql)) {
    try {
      grid_.open();
    } catch (...) {
      view_.gridChanged();
      throw;
    }
    view_.gridChanged();
    view_.setGridColumnWidths(kColumnWidth);
    showGridCount();
    view_.showSqlResultPage();
    return;
  }
  const int64_t affected = grid_.execSql();
  view_.showMessage(text::statementDone(affected));
  view_.showSqlResultPage();
}

void Workspace::showGridCount() {
  view_.setStatus(kRecordsPanel, text::recordCount(grid_.recordCount()));
}

}  // namespace qm::db
