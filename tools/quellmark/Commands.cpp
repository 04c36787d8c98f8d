#include "Commands.h"

#include <iostream>

#include "Args.h"
#include "Dedupe.h"
#include "Output.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"
#include "jet/core/Error.h"
#include "jet/core/Value.h"
#include "jet/sql/Session.h"

namespace quellmark {

namespace {

void openConnection(jet::ado::Connection& c, const ParsedArgs& a, bool readOnly) {
  c.setConnectionString(
      connectionStringFor(a.positional.at(0), a.value("password", kDefaultPassword), readOnly));
  c.open();
}

std::string typeText(const jet::storage::ColumnDef& c) {
  using jet::DataType;
  std::string t = jet::dataTypeName(c.type);
  switch (c.type) {
    case DataType::Text:
    case DataType::Binary:
      t += "(" + std::to_string(c.size) + ")";
      break;
    case DataType::Decimal:
      t += "(" + std::to_string(c.precision) + "," + std::to_string(c.scale) + ")";
      break;
    default:
      break;
  }
  return t;
}

const char* kTablesHelp =
    "usage: quellmark tables FILE [--password PW]\n"
    "Lists the tables, views and system tables: TYPE, a tab, NAME, one a line,\n"
    "ordered by type, then name.\n";

int runTables(const std::vector<std::string>& args) {
  return runGuarded(args, {"password"}, {"help"}, 1, 1, kTablesHelp, [](const ParsedArgs& a) {
    jet::ado::Connection c;
    openConnection(c, a, true);
    for (const auto& t : c.tablesSchema()) std::cout << t.tableType << "\t" << t.tableName << "\n";
    return 0;
  });
}

const char* kQueryHelp =
    "usage: quellmark query FILE \"SQL\" [--format table|csv|json] [--password PW]\n"
    "Runs a row-returning statement and prints its rows. json prints one object\n"
    "a row (JSON Lines), keys in field order.\n";

int runQuery(const std::vector<std::string>& args) {
  return runGuarded(args, {"password", "format"}, {"help"}, 2, 2, kQueryHelp, [](const ParsedArgs& a) {
    Format format = formatFrom(a.value("format", "table"));
    jet::ado::Connection c;
    openConnection(c, a, true);
    RowWriter writer(std::cout, format);
    c.session().stream(
        a.positional[1], [&](const std::vector<jet::sql::ResultField>& fields) { writer.fields(fields); },
        [&](const jet::Row& row) { writer.row(row); });
    writer.finish();
    return 0;
  });
}

const char* kSchemaHelp =
    "usage: quellmark schema FILE [TABLE] [--password PW]\n"
    "Prints each table's columns (type, size, flags) and indexes with their columns.\n";

int runSchema(const std::vector<std::string>& args) {
  return runGuarded(args, {"password"}, {"help"}, 1, 2, kSchemaHelp, [](const ParsedArgs& a) {
    jet::ado::Connection c;
    openConnection(c, a, true);
    std::vector<std::string> names;
    if (a.positional.size() == 2) {
      names.push_back(a.positional[1]);
    } else {
      for (const auto& t : c.tablesSchema())
        if (t.tableType == "TABLE") names.push_back(t.tableName);
    }
    for (const std::string& name : names) {
      auto table = c.store().openTable(name);
      if (!table) {
        if (auto sqlText = c.store().querySql(name)) {
          std::cout << "QUERY " << name << "\n  " << *sqlText << "\n";
          continue;
        }
        // Let the engine word the error, naming the object.
        c.session().execute("select * from [" + name + "]");
        continue;
      }
      const auto& s = table->schema();
      std::cout << "TABLE " << s.name << " (" << table->rowCount() << " rows)\n";
      for (const auto& col : s.columns) {
        std::cout << "  COLUMN " << col.name << " " << typeText(col);
        if (col.autoNumber) std::cout << " AUTOINCREMENT";
        if (col.required) std::cout << " NOT NULL";
        std::cout << "\n";
      }
      for (const auto& ix : s.indexes) {
        std::cout << "  INDEX " << ix.name << " (";
        for (size_t i = 0; i < ix.columns.size(); ++i) {
          const auto& ic = ix.columns[i];
          std::string colName = ic.column >= 0 && static_cast<size_t>(ic.column) < s.columns.size()
                                    ? s.columns[ic.column].name
                                    : "?";
          std::cout << (i ? ", " : "") << colName << (ic.ascending ? " ASC" : " DESC");
        }
        std::cout << ")";
        if (ix.primaryKey) std::cout << " PRIMARY KEY";
        if (ix.unique && !ix.primaryKey) std::cout << " UNIQUE";
        if (ix.ignoreNulls) std::cout << " IGNORE NULLS";
        if (ix.foreignKey) std::cout << " FOREIGN KEY";
        std::cout << "\n";
      }
    }
    return 0;
  });
}

const char* kExecHelp =
    "usage: quellmark exec FILE \"SQL\" [--password PW]\n"
    "Runs any statement and prints the number of records affected.\n";

int runExec(const std::vector<std::string>& args) {
  return runGuarded(args, {"password"}, {"help"}, 2, 2, kExecHelp, [](const ParsedArgs& a) {
    jet::ado::Connection c;
    openConnection(c, a, false);
    jet::sql::ExecResult r = c.session().execute(a.positional[1]);
    std::cout << r.rowsAffected << "\n";
    return 0;
  });
}

}  // namespace

namespace {
std::string quoteValue(const std::string& v) {
  std::string out = "\"";
  for (char c : v) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}
}  // namespace

std::string connectionStringFor(const std::string& file, const std::string& password, bool readOnly) {
  std::string s = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + quoteValue(file) +
                  ";Persist Security Info=False;Jet OLEDB:Database Password=" + quoteValue(password);
  if (readOnly) s += ";Mode=Read";
  return s;
}

Format formatFrom(const std::string& f) {
  if (f == "table") return Format::Table;
  if (f == "csv") return Format::Csv;
  if (f == "json") return Format::Json;
  throw UsageError(text::unknownFormat(f));
}

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"tables", "list tables and views", kTablesHelp, runTables},
      {"query", "print the rows of a query", kQueryHelp, runQuery},
      {"schema", "show columns and indexes", kSchemaHelp, runSchema},
      {"exec", "run any statement", kExecHelp, runExec},
      {"dupes", "list duplicate groups", kDupesHelp, runDupes},
      {"dedupe", "delete duplicates, keeping the lowest or highest ID", kDedupeHelp, runDedupe},
      {"dedupe-rows", "rebuild a keyless table with identical rows once", kDedupeRowsHelp, runDedupeRows},
  };
  return all;
}

}  // namespace quellmark
