#include "Dedupe.h"

#include <iostream>

#include "Args.h"
#include "Commands.h"
#include "Output.h"
#include "Progress.h"
#include "ToolTexts.h"
#include "db/BackupCopy.h"
#include "db/BackupInBackground.h"
#include "db/BatchNames.h"
#include "db/DupStatements.h"
#include "db/DuplicateSummary.h"
#include "db/IdenticalRows.h"
#include "db/LocalFiles.h"
#include "jet/ado/Connection.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"

namespace quellmark {

const Bilingual kDupesHelp = {
    "用法：quellmark dupes 文件 --table 表 --keys a,b [--format table|csv|json] [--password 密码]\n"
    "列出关键字段相等且记录多于一条的每一组：关键字段和该组的记录数。--table 和\n"
    "--keys 是名称（不区分大小写），不是 SQL：未知或空的名称会被拒绝。\n",
    "usage: quellmark dupes FILE --table T --keys a,b [--format table|csv|json] [--password PW]\n"
    "Lists each group of records with equal key fields that has more than one\n"
    "record: the key fields and the group's size. --table and --keys are names\n"
    "(matched ignoring case), never SQL: an unknown or empty name is refused.\n"};

const Bilingual kDedupeHelp = {
    "用法：quellmark dedupe 文件 --table 表 --id ID --keys a,b --keep lowest|highest [--yes] [--password "
    "密码]\n"
    "删除每组重复记录中除 ID 最小（或最大）的一条以外的所有记录。ID 字段在每条记录中\n"
    "都必须不同且不为 Null。--table、--id 和 --keys 是名称（不区分大小写），不是 SQL；\n"
    "未知或空的名称、保存的查询、系统表和只读文件都在写入任何内容之前\n"
    "被拒绝。先在文件旁写一个带时间戳的备份副本（该名称已被占用时加编号）。除非给出\n"
    "--yes，删除前会先询问。\n",
    "usage: quellmark dedupe FILE --table T --id ID --keys a,b --keep lowest|highest [--yes] [--password "
    "PW]\n"
    "Deletes every record of a duplicate group but the one with the lowest (or\n"
    "highest) ID. The ID field must be distinct and non-Null in every record.\n"
    "--table, --id and --keys are names (matched ignoring case), never SQL; an\n"
    "unknown or empty name, a saved query, a system table and a read-only file\n"
    "are refused before anything is written.\n"
    "First writes a time-stamped backup copy beside the file (numbered when that\n"
    "name is taken). Asks before deleting unless --yes is given.\n"};

const Bilingual kDedupeRowsHelp = {
    "用法：quellmark dedupe-rows 文件 --table 表 [--yes] [--password 密码]\n"
    "删除每个字段都与前面某条记录相同的记录，每组保留第一条。记录按 Jet 的方式比较：\n"
    "文本不区分大小写，Null 相同，备注值整体比较。表保留其名称、字段、索引、主键和\n"
    "自动编号；没有相同记录的表保持原样，也不做备份。否则先在文件旁写一个带时间戳的\n"
    "备份副本；删除在一个事务中完成。\n",
    "usage: quellmark dedupe-rows FILE --table T [--yes] [--password PW]\n"
    "Removes the records that repeat an earlier record in every field, keeping\n"
    "the first of each group. Records compare as Jet compares them: text\n"
    "ignoring case, Nulls alike, Memo values whole. The table keeps its name,\n"
    "columns, indexes, primary key and auto-numbers; a table without identical\n"
    "records is left as it is and no backup is made. Otherwise first writes a\n"
    "time-stamped backup copy beside the file; the removal is one transaction.\n"};

namespace {

std::string required(const ParsedArgs& a, const std::string& name) {
  std::string v = a.value(name);
  if (v.empty()) throw UsageError(text::optionRequired(name));
  return v;
}

void connect(jet::ado::Connection& c, const ParsedArgs& a, bool readOnly) {
  c.setConnectionString(
      connectionStringFor(a.positional.at(0), a.value("password", kDefaultPassword), readOnly));
  c.open();
}

// Opened for writing, refusing a file we may not change before anything is
// written to it or beside it.
void connectForWriting(jet::ado::Connection& c, const ParsedArgs& a) {
  const std::string& file = a.positional.at(0);
  connect(c, a, false);
  if (c.store().readOnly()) throw jet::Error(jet::ErrorCode::ReadOnly, jet::msg::readOnlyFile(file));
}

// Asks on the terminal; without one, only --yes lets the change go ahead.
bool confirmed(const ParsedArgs& a, const std::string& question) {
  if (a.flags.count("yes")) return true;
  if (!stdinIsTerminal()) throw UsageError(text::notAskingWithoutTerminal());
  std::cerr << question << " " << text::yesNoHint() << " " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return text::isYes(answer);
}

// Changed pages a delete keeps in memory while the backup copy is still being
// made, so that it need not wait for the copy at its first few thousand pages.
constexpr size_t kPagesHeldForBackup = 8192;

void reportBackupCopy(const std::string& path) {
  if (stderrIsTerminal()) std::cerr << "\r\033[K";  // over the progress line
  std::cerr << text::backupCopyMade(path) << "\n";
}

jet::file::PageFile& pageFileOf(jet::storage::Store& store) {
  auto* database = dynamic_cast<jet::storage::JetDatabase*>(&store);
  if (!database) throw jet::Error(jet::ErrorCode::Invalid, "not a database file");
  return database->pageFile();
}

// The copy is the user's only undo: no copy, no change.
std::string makeBackup(const std::string& file) {
  qm::db::LocalFiles files;
  qm::db::BackupCopy copy = qm::db::makeBackupCopy(files, file, qm::db::LocalClock().localNow());
  if (copy.failure) throw jet::Error(jet::ErrorCode::Io, text::backupCopyFailed(copy.path, *copy.failure));
  std::cerr << text::backupCopyMade(copy.path) << "\n";
  return copy.path;
}

int64_t countRows(jet::sql::Session& s, const std::string& sql) {
  return static_cast<int64_t>(s.execute(sql).result.rows.size());
}

// The checked names of a dedupe: stored spellings, each already bracketed.
struct DedupeNames {
  std::string table;  // stored name, unbracketed: the statement builders bracket it
  std::string id;
  std::string keys;
  std::string idName;  // stored name of the ID field, for messages
};

DedupeNames checkedNames(jet::storage::Store& store, const ParsedArgs& a) {
  DedupeNames n;
  n.table = qm::db::userTableName(store, required(a, "table"));
  auto table = store.openTable(n.table);
  if (!table) throw jet::Error(jet::ErrorCode::NoSuchTable, jet::msg::noSuchTable(n.table));
  n.idName = qm::db::fieldName(table->schema(), required(a, "id"));
  n.id = qm::db::bracketed(n.idName);
  n.keys = qm::db::bracketedList(qm::db::fieldNames(table->schema(), required(a, "keys")));
  return n;
}

// Whether the ID field alone is the table's primary key: Jet keeps such a
// field distinct and non-Null, so the two full scans that would check it
// can be spared.
bool idIsPrimaryKey(jet::storage::Store& store, const DedupeNames& n) {
  auto table = store.openTable(n.table);
  if (!table) return false;
  const jet::storage::TableSchema& schema = table->schema();
  for (const auto& ix : schema.indexes) {
    if (!ix.primaryKey || ix.columns.size() != 1) continue;
    auto column = static_cast<size_t>(ix.columns[0].column);
    if (column < schema.columns.size() && schema.columns[column].name == n.idName) return true;
  }
  return false;
}

}  // namespace

int runDupes(const std::vector<std::string>& args) {
  return runGuarded(
      args, {"password", "table", "keys", "format"}, {"help"}, 1, 1, kDupesHelp, [](const ParsedArgs& a) {
        Format format = formatFrom(a.value("format", "table"));
        jet::ado::Connection c;
        connect(c, a, true);
        std::string table = qm::db::readableTableName(c.store(), required(a, "table"));
        auto schema = c.store().openTable(table);
        if (!schema) throw jet::Error(jet::ErrorCode::NoSuchTable, jet::msg::noSuchTable(table));
        std::string keys = qm::db::bracketedList(qm::db::fieldNames(schema->schema(), required(a, "keys")));
        std::string sql = qm::db::duplicateReportStatement(table, keys);
        RowWriter writer(std::cout, format);
        c.session().stream(
            sql, [&](const std::vector<jet::sql::ResultField>& f) { writer.fields(f); },
            [&](const jet::Row& r) { writer.row(r); });
        writer.finish();
        return 0;
      });
}

int runDedupe(const std::vector<std::string>& args) {
  return runGuarded(
      args, {"password", "table", "id", "keys", "keep"}, {"help", "yes"}, 1, 1, kDedupeHelp,
      [](const ParsedArgs& a) {
        // Usage errors first, before the file is opened.
        for (const char* option : {"table", "id", "keys"}) required(a, option);
        std::string keep = required(a, "keep");
        if (keep != "lowest" && keep != "highest") throw UsageError(text::keepLowestOrHighest());
        const std::string& file = a.positional[0];

        // Every refusal comes here, before the question and the backup copy.
        // The connection then stays open for the delete, holding the file's
        // write lock, so no other writer changes what was counted.
        qm::db::LocalFiles files;  // outlives the connection, whose writes wait for the copy it makes
        jet::ado::Connection c;
        connectForWriting(c, a);
        const DedupeNames names = checkedNames(c.store(), a);
        jet::sql::Session& s = c.session();
        if (!idIsPrimaryKey(c.store(), names)) {
          if (countRows(s, qm::db::repeatedIdStatement(names.table, names.id)) > 0)
            throw jet::Error(jet::ErrorCode::Invalid, text::idNotDistinct(names.table, names.idName));
          if (countRows(s, qm::db::nullIdStatement(names.table, names.id)) > 0)
            throw jet::Error(jet::ErrorCode::Invalid, text::idHasNull(names.table, names.idName));
        }
        // The ID is distinct and non-Null: one record of each group stays.
        const qm::db::DuplicateSummary found = qm::db::summarizeDuplicates(s, names.table, names.keys);
        std::cout << text::duplicateSummary(found.duplicateGroups, found.surplusRecords, keep == "lowest",
                                            names.idName)
                  << "\n";
        if (found.surplusRecords == 0) return 0;
        if (!confirmed(a, text::confirmDelete(found.surplusRecords, names.table))) {
          std::cout << text::nothingChanged() << "\n";
          return 0;
        }
        std::string sql = keep == "lowest" ? qm::db::keepLowestStatement(names.table, names.id, names.keys)
                                           : qm::db::keepHighestStatement(names.table, names.id, names.keys);
        int64_t deleted;
        {
          // The copy is made while the delete reads the table; its first
          // write waits for the copy, and a failed copy undoes it unwritten.
          auto backup = std::make_shared<qm::db::BackupInBackground>(
              files, file, qm::db::LocalClock().localNow(), text::backupCopyFailed, reportBackupCopy);
          pageFileOf(c.store()).holdChangesUntil(backup, kPagesHeldForBackup);
          try {
            Progress p(text::progressDeleting());
            deleted = s.execute(sql).rowsAffected;
            backup->wait();
          } catch (...) {
            backup->outcome();  // a copy that was made is named, whatever stopped the delete
            throw;
          }
        }
        std::cout << text::recordsDeleted(deleted) << "\n";
        return 0;
      });
}

namespace {

int dedupeRows(const ParsedArgs& a) {
  required(a, "table");
  const std::string& file = a.positional[0];
  std::string table;
  qm::db::IdenticalRows found;
  {
    // Every refusal comes here, before the question and the backup copy.
    jet::ado::Connection c;
    connectForWriting(c, a);
    table = qm::db::userTableName(c.store(), a.value("table"));
    // One state of the file, even while another process writes to it.
    jet::storage::ReadGuard reading(c.store());
    auto t = c.store().openTable(table);
    if (!t) throw jet::Error(jet::ErrorCode::NoSuchTable, jet::msg::noSuchTable(table));
    found = qm::db::findIdenticalRows(*t);
  }
  std::cout << text::identicalSummary(found.rows, found.repeats.size()) << "\n";
  if (found.repeats.empty()) {
    std::cout << text::noIdenticalRows() << "\n";
    return 0;
  }
  if (!confirmed(a, text::confirmRemoveIdentical(found.repeats.size(), table))) {
    std::cout << text::nothingChanged() << "\n";
    return 0;
  }
  jet::ado::Connection c;
  connectForWriting(c, a);
  table = qm::db::userTableName(c.store(), table);
  makeBackup(file);
  uint64_t removed;
  {
    Progress p(text::progressRemovingIdentical());
    // Found again inside the transaction: the rows may have changed since the count above.
    removed = qm::db::removeIdenticalRows(c.store(), table);
  }
  std::cout << text::identicalRemoved(removed) << "\n";
  return 0;
}

}  // namespace

int runDedupeRows(const std::vector<std::string>& args) {
  return runGuarded(args, {"password", "table"}, {"help", "yes"}, 1, 1, kDedupeRowsHelp, dedupeRows);
}

}  // namespace quellmark
