#include "Commands.h"

#include <iostream>

#include "Args.h"
#include "Dedupe.h"
#include "Output.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
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

const Bilingual kTablesHelp = {
    "用法：quellmark tables 文件 [--password 密码]\n"
    "列出表、视图和系统表：类型、制表符、名称，每行一个，先按类型再按名称排序。\n",
    "usage: quellmark tables FILE [--password PW]\n"
    "Lists the tables, views and system tables: TYPE, a tab, NAME, one a line,\n"
    "ordered by type, then name.\n"};

int runTables(const std::vector<std::string>& args) {
  return runGuarded(args, {"password"}, {"help"}, 1, 1, kTablesHelp, [](const ParsedArgs& a) {
    jet::ado::Connection c;
    openConnection(c, a, true);
    for (const auto& t : c.tablesSchema()) std::cout << t.tableType << "\t" << t.tableName << "\n";
    return 0;
  });
}

const Bilingual kQueryHelp = {
    "用法：quellmark query 文件 \"SQL\" [--format table|csv|json] [--password 密码]\n"
    "执行返回记录的语句并打印记录。json 每条记录一个对象（JSON Lines），键按字段顺序；\n"
    "同名的字段依次加编号（a、a_2、a_3……）以保证键不重复。table 格式把控制字符\n"
    "显示为转义序列（\\n、\\t、\\x1b）。\n",
    "usage: quellmark query FILE \"SQL\" [--format table|csv|json] [--password PW]\n"
    "Runs a row-returning statement and prints its rows. json prints one object\n"
    "a row (JSON Lines), keys in field order; a repeated column name gets a number\n"
    "(a, a_2, a_3, ...) so that no key repeats. The table format shows control\n"
    "characters as escapes (\\n, \\t, \\x1b).\n"};

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

const Bilingual kSchemaHelp = {
    "用法：quellmark schema 文件 [表] [--password 密码]\n"
    "打印每个表的字段（类型、大小、标志）和索引及其字段。\n",
    "usage: quellmark schema FILE [TABLE] [--password PW]\n"
    "Prints each table's columns (type, size, flags) and indexes with their columns.\n"};

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

const Bilingual kExecHelp = {
    "用法：quellmark exec 文件 \"SQL\" [--password 密码]\n"
    "执行任意语句并打印受影响的记录数。\n",
    "usage: quellmark exec FILE \"SQL\" [--password PW]\n"
    "Runs any statement and prints the number of records affected.\n"};

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

std::string Bilingual::text() const {
  return jet::msg::said(chinese, english);
}

Format formatFrom(const std::string& f) {
  if (f == "table") return Format::Table;
  if (f == "csv") return Format::Csv;
  if (f == "json") return Format::Json;
  throw UsageError(text::unknownFormat(f));
}

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"tables", {"列出表和视图", "list tables and views"}, runTables},
      {"query", {"打印查询的记录", "print the rows of a query"}, runQuery},
      {"schema", {"显示字段和索引", "show columns and indexes"}, runSchema},
      {"exec", {"执行任意语句", "run any statement"}, runExec},
      {"dupes", {"列出重复记录组", "list duplicate groups"}, runDupes},
      {"dedupe",
       {"删除重复记录，保留最小或最大 ID", "delete duplicates, keeping the lowest or highest ID"},
       runDedupe},
      {"dedupe-rows",
       {"删除完全相同的记录，每组保留一条", "delete identical rows, keeping one of each"},
       runDedupeRows},
  };
  return all;
}

}  // namespace quellmark
