#include "jet/ado/Connection.h"

#include <algorithm>
#include <filesystem>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/Session.h"
#include "jet/storage/JetDatabase.h"

namespace jet::ado {

namespace {

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool isTrue(const std::string& v) {
  return equalsIgnoreCase(v, "true") || v == "1" || equalsIgnoreCase(v, "yes");
}

}  // namespace

ConnectionString ConnectionString::parse(const std::string& text) {
  ConnectionString cs;
  bool haveSource = false;
  size_t i = 0;
  while (i < text.size()) {
    size_t eq = text.find('=', i);
    if (eq == std::string::npos) {
      if (!trim(text.substr(i)).empty())
        throw Error(ErrorCode::Invalid, msg::invalidConnectionString(text.substr(i)));
      break;
    }
    std::string key = trim(text.substr(i, eq - i));
    size_t v = eq + 1;
    while (v < text.size() && (text[v] == ' ' || text[v] == '\t')) ++v;
    std::string value;
    if (v < text.size() && (text[v] == '"' || text[v] == '\'')) {
      // A quoted value may hold ';'; a doubled quote stands for one.
      char q = text[v++];
      for (;;) {
        if (v >= text.size()) throw Error(ErrorCode::Invalid, msg::invalidConnectionString(key));
        if (text[v] == q) {
          if (v + 1 < text.size() && text[v + 1] == q) {
            value += q;
            v += 2;
            continue;
          }
          ++v;
          break;
        }
        value += text[v++];
      }
      size_t semi = text.find(';', v);
      if (!trim(text.substr(v, semi == std::string::npos ? std::string::npos : semi - v)).empty())
        throw Error(ErrorCode::Invalid, msg::invalidConnectionString(key));
      i = semi == std::string::npos ? text.size() : semi + 1;
    } else {
      size_t semi = text.find(';', v);
      value = trim(text.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
      i = semi == std::string::npos ? text.size() : semi + 1;
    }
    if (equalsIgnoreCase(key, "Provider")) {
      cs.provider = value;
    } else if (equalsIgnoreCase(key, "Data Source")) {
      cs.dataSource = value;
      haveSource = true;
    } else if (equalsIgnoreCase(key, "Persist Security Info")) {
      cs.persistSecurityInfo = isTrue(value);
    } else if (equalsIgnoreCase(key, "Jet OLEDB:Database Password")) {
      cs.password = value;
    } else if (equalsIgnoreCase(key, "Mode")) {
      cs.readOnly = equalsIgnoreCase(value, "Read");
    }
    // Other keys (User ID, Jet OLEDB:Engine Type, ...) change nothing here.
  }
  if (!cs.provider.empty() && !equalsIgnoreCase(cs.provider, "Microsoft.Jet.OLEDB.4.0"))
    throw Error(ErrorCode::Invalid, msg::invalidConnectionString("Provider=" + cs.provider));
  if (!haveSource || cs.dataSource.empty())
    throw Error(ErrorCode::Invalid, msg::invalidConnectionString("Data Source"));
  return cs;
}

Connection::Connection() = default;

Connection::~Connection() {
  close();
}

void Connection::setConnectionString(const std::string& text) {
  if (text != text_) close();
  text_ = text;
}

void Connection::open() {
  if (store_) return;
  ConnectionString cs = ConnectionString::parse(text_);
  std::error_code ec;
  auto path = std::filesystem::u8path(cs.dataSource);
  if (!std::filesystem::is_regular_file(path, ec))
    throw Error(ErrorCode::FileNotFound, msg::fileNotFound(cs.dataSource));
  if (cs.readOnly) {
    store_ = storage::JetDatabase::open(cs.dataSource, cs.password, true);
  } else {
    try {
      store_ = storage::JetDatabase::open(cs.dataSource, cs.password, false);
    } catch (const Error& e) {
      // A file the user may not change (read-only medium or permissions) can
      // still be viewed; each write is then refused with the read-only error.
      if (e.code() != ErrorCode::ReadOnly) throw;
      store_ = storage::JetDatabase::open(cs.dataSource, cs.password, true);
    }
  }
  session_ = std::make_unique<sql::Session>(*store_);
}

void Connection::close() {
  // Listeners may remove themselves while being called.
  auto listeners = listeners_;
  for (auto& [token, onClose] : listeners) onClose();
  session_.reset();
  store_.reset();
}

storage::Store& Connection::store() {
  open();
  return *store_;
}

sql::Session& Connection::session() {
  open();
  return *session_;
}

std::vector<SchemaTable> Connection::tablesSchema() {
  std::vector<SchemaTable> rows;
  for (const storage::CatalogEntry& e : store().objects()) {
    const char* type = nullptr;
    switch (e.kind) {
      case storage::ObjectKind::Table:
        type = "TABLE";
        break;
      case storage::ObjectKind::SystemTable:
        type = "SYSTEM TABLE";
        break;
      case storage::ObjectKind::AccessTable:
        type = "ACCESS TABLE";
        break;
      case storage::ObjectKind::View:
        type = "VIEW";
        break;
      case storage::ObjectKind::LinkedTable:
        type = "LINK";
        break;
      case storage::ObjectKind::Procedure:
        break;  // reported by the procedures rowset, not this one
    }
    if (type) rows.push_back({e.name, type});
  }
  std::sort(rows.begin(), rows.end(), [](const SchemaTable& a, const SchemaTable& b) {
    if (a.tableType != b.tableType) return a.tableType < b.tableType;
    int c = compareIgnoreCase(a.tableName, b.tableName);
    return c != 0 ? c < 0 : a.tableName < b.tableName;
  });
  return rows;
}

std::vector<std::string> Connection::tableNames() {
  std::vector<std::string> names;
  for (const SchemaTable& t : tablesSchema())
    if (t.tableType == "TABLE" || t.tableType == "VIEW") names.push_back(t.tableName);
  return names;
}

void Connection::beginTrans() {
  session().execute("BEGIN TRANSACTION");
}
void Connection::commitTrans() {
  session().execute("COMMIT TRANSACTION");
}
void Connection::rollbackTrans() {
  session().execute("ROLLBACK TRANSACTION");
}

int Connection::addCloseListener(std::function<void()> onClose) {
  int token = nextToken_++;
  listeners_.emplace_back(token, std::move(onClose));
  return token;
}

void Connection::removeCloseListener(int token) {
  std::erase_if(listeners_, [token](const auto& l) { return l.first == token; });
}

}  // namespace jet::ado
