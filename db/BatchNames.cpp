#include "db/BatchNames.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace qm::db {

namespace {

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

std::string bracketed(const std::string& name) {
  if (name.find(']') != std::string::npos)
    throw jet::Error(jet::ErrorCode::Invalid, jet::msg::unquotableName(name));
  return "[" + name + "]";
}

std::string bracketedList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ",") + bracketed(n);
  return out;
}

namespace {

std::string tableName(jet::storage::Store& store, const std::string& typed, bool forChange) {
  using jet::storage::ObjectKind;
  for (const jet::storage::CatalogEntry& o : store.objects()) {
    if (!jet::equalsIgnoreCase(o.name, typed)) continue;
    if (jet::storage::isSystemTable(o.name, o.kind)) {
      if (forChange) throw jet::Error(jet::ErrorCode::Invalid, jet::msg::cannotModifySystemTable(o.name));
      bracketed(o.name);
      return o.name;
    }
    switch (o.kind) {
      case ObjectKind::Table:
        bracketed(o.name);
        return o.name;
      case ObjectKind::View:
      case ObjectKind::Procedure:
        throw jet::Error(jet::ErrorCode::Invalid, jet::msg::queryNotTable(o.name));
      case ObjectKind::LinkedTable:
        throw jet::Error(jet::ErrorCode::Unsupported, jet::msg::linkedTableNotSupported(o.name));
      default:
        break;
    }
  }
  // A name Jet reserves for its own tables is refused even where no such table exists.
  if (forChange && jet::storage::isSystemTableName(typed))
    throw jet::Error(jet::ErrorCode::Invalid, jet::msg::cannotModifySystemTable(typed));
  throw jet::Error(jet::ErrorCode::NoSuchTable, jet::msg::noSuchTable(typed));
}

}  // namespace

std::string userTableName(jet::storage::Store& store, const std::string& typed) {
  return tableName(store, typed, true);
}

std::string readableTableName(jet::storage::Store& store, const std::string& typed) {
  return tableName(store, typed, false);
}

std::string fieldName(const jet::storage::TableSchema& table, const std::string& typed) {
  std::string name = trimmed(typed);
  if (name.empty()) throw jet::Error(jet::ErrorCode::NoSuchField, jet::msg::emptyFieldName(typed));
  int at = table.findColumn(name);
  if (at < 0) throw jet::Error(jet::ErrorCode::NoSuchField, jet::msg::noSuchField(table.name, name));
  const std::string& stored = table.columns[static_cast<size_t>(at)].name;
  bracketed(stored);
  return stored;
}

std::vector<std::string> fieldNames(const jet::storage::TableSchema& table, const std::string& typedList) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    size_t comma = typedList.find(',', start);
    std::string entry =
        typedList.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (trimmed(entry).empty())
      throw jet::Error(jet::ErrorCode::NoSuchField, jet::msg::emptyFieldName(typedList));
    names.push_back(fieldName(table, entry));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

}  // namespace qm::db
