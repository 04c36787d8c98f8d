#include "Dedupe.h"

#include <ctime>
#include <iostream>

#include "Args.h"
#include "Commands.h"
#include "Output.h"
#include "Progress.h"
#include "db/BackupCopy.h"
#include "db/DupStatements.h"
#include "db/LocalFiles.h"
#include "jet/ado/Connection.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/sql/Session.h"

namespace quellmark {

const char* const kDupesHelp =
    "usage: quellmark dupes FILE --table T --keys a,b [--format table|csv|json] [--password PW]\n"
    "Lists each group of records with equal key fields that has more than one\n"
    "record: the key fields and the group's size.\n";

const char* const kDedupeHelp =
    "usage: quellmark dedupe FILE --table T --id ID --keys a,b --keep lowest|highest [--yes] [--password "
    "PW]\n"
    "Deletes every record of a duplicate group but the one with the lowest (or\n"
    "highest) ID. The ID field must be distinct and non-Null in every record.\n"
    "First writes a time-stamped backup copy beside the file. Asks before\n"
    "deleting unless --yes is given.\n";

const char* const kDedupeRowsHelp =
    "usage: quellmark dedupe-rows FILE --table T [--yes] [--password PW]\n"
    "Rebuilds a table without a usable key so that identical rows appear once\n"
    "(the table's indexes and properties are not kept). First writes a\n"
    "time-stamped backup copy beside the file; the rebuild runs in one transaction.\n";

namespace {

std::string required(const ParsedArgs& a, const std::string& name) {
  std::string v = a.value(name);
  if (v.empty()) throw UsageError("--" + name + " is required");
  return v;
}

void connect(jet::ado::Connection& c, const ParsedArgs& a, bool readOnly) {
  c.setConnectionString(
      connectionStringFor(a.positional.at(0), a.value("password", kDefaultPassword), readOnly));
  c.open();
}

// Opened for writing before the backup copy is made, so that a file we may
// not change is refused before anything happens.
void connectForWriting(jet::ado::Connection& c, const ParsedArgs& a) {
  connect(c, a, false);
  if (c.store().readOnly())
    throw jet::Error(jet::ErrorCode::ReadOnly, jet::msg::readOnlyFile(a.positional.at(0)));
}

// Asks on the terminal; without one, only --yes lets the change go ahead.
bool confirmed(const ParsedArgs& a, const std::string& question) {
  if (a.flags.count("yes")) return true;
  if (!stdinIsTerminal()) throw UsageError("not asking without a terminal: pass --yes to go ahead");
  std::cerr << question << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return answer == "y" || answer == "Y" || answer == "yes";
}

// The copy is the user's only undo: no copy, no change.
std::string makeBackup(const std::string& file) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  std::string target = qm::db::backupCopyPath(file, local);
  qm::db::LocalFiles files;
  if (auto failure = files.copyFile(file, target))
    throw jet::Error(jet::ErrorCode::Io, "备份副本 '" + target + "' 创建失败：" + *failure);
  std::cerr << "backup copy: " << target << "\n";
  return target;
}

int64_t countRows(jet::sql::Session& s, const std::string& sql) {
  return static_cast<int64_t>(s.execute(sql).result.rows.size());
}

}  // namespace

int runDupes(const std::vector<std::string>& args) {
  return runGuarded(
      args, {"password", "table", "keys", "format"}, {"help"}, 1, 1, kDupesHelp, [](const ParsedArgs& a) {
        Format format = formatFrom(a.value("format", "table"));
        jet::ado::Connection c;
        connect(c, a, true);
        std::string sql = qm::db::duplicateReportStatement(required(a, "table"), required(a, "keys"));
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
        std::string table = required(a, "table"), id = required(a, "id"), keys = required(a, "keys");
        std::string keep = required(a, "keep");
        if (keep != "lowest" && keep != "highest") throw UsageError("--keep must be lowest or highest");
        const std::string& file = a.positional[0];

        int64_t groups = 0, doomed = 0;
        {
          jet::ado::Connection c;
          connect(c, a, true);
          jet::sql::Session& s = c.session();
          if (countRows(s, qm::db::repeatedIdStatement(table, id)) > 0)
            throw jet::Error(jet::ErrorCode::Invalid, "字段 '" + id + "' 在表 '" + table +
                                                          "' 中有重复的值，不能用作区分记录的 ID 字段。");
          if (countRows(s, qm::db::nullIdStatement(table, id)) > 0)
            throw jet::Error(jet::ErrorCode::Invalid, "字段 '" + id + "' 在表 '" + table +
                                                          "' 中有 Null 值，不能用作区分记录的 ID 字段。");
          auto report = s.execute(qm::db::duplicateReportStatement(table, keys)).result;
          for (const jet::Row& r : report.rows) {
            ++groups;
            doomed += static_cast<int64_t>(r.back().toDouble()) - 1;
          }
        }
        std::cout << groups << " duplicate groups, " << doomed << " records to delete (keeping the " << keep
                  << " " << id << " of each group)\n";
        if (doomed == 0) return 0;
        if (!confirmed(a, "Delete " + std::to_string(doomed) + " records from [" + table + "]?")) {
          std::cout << "nothing changed\n";
          return 0;
        }
        jet::ado::Connection c;
        connectForWriting(c, a);
        makeBackup(file);
        std::string sql = keep == "lowest" ? qm::db::keepLowestStatement(table, id, keys)
                                           : qm::db::keepHighestStatement(table, id, keys);
        int64_t deleted;
        {
          Progress p("deleting duplicates");
          deleted = c.session().execute(sql).rowsAffected;
        }
        std::cout << deleted << " records deleted\n";
        return 0;
      });
}

int runDedupeRows(const std::vector<std::string>& args) {
  return runGuarded(
      args, {"password", "table"}, {"help", "yes"}, 1, 1, kDedupeRowsHelp, [](const ParsedArgs& a) {
        std::string table = required(a, "table");
        const std::string& file = a.positional[0];
        int64_t before = 0, distinct = 0;
        {
          jet::ado::Connection c;
          connect(c, a, true);
          auto& s = c.session();
          before = countRows(s, "select * from [" + table + "]");
          distinct = countRows(s, "select distinct * from [" + table + "]");
        }
        std::cout << before << " records, " << distinct << " distinct\n";
        if (!confirmed(a,
                       "Rebuild [" + table + "] with " + std::to_string(distinct) + " distinct records?")) {
          std::cout << "nothing changed\n";
          return 0;
        }
        jet::ado::Connection c;
        connectForWriting(c, a);
        makeBackup(file);
        auto& s = c.session();
        {
          Progress p("rebuilding table");
          s.execute("BEGIN TRANSACTION");
          try {
            for (const std::string& sql : qm::db::keylessRebuildStatements(table)) s.execute(sql);
            s.execute("COMMIT TRANSACTION");
          } catch (...) {
            if (s.inTransaction()) s.execute("ROLLBACK TRANSACTION");
            throw;
          }
        }
        std::cout << (before - distinct) << " duplicate records removed\n";
        return 0;
      });
}

}  // namespace quellmark
