#include "db/ConnectionText.h"

namespace qm::db {

namespace {

std::string quotedIfNeeded(const std::string& path) {
  if (path.find_first_of(";\"'") == std::string::npos &&
      (path.empty() || (path.front() != ' ' && path.back() != ' ')))
    return path;
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string connectionStringFor(const std::string& path) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + quotedIfNeeded(path) +
         ";Persist Security Info=False;Jet OLEDB:Database Password=" + kDatabasePassword;
}

}  // namespace qm::db
