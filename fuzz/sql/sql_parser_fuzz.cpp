// Feeds arbitrary text to the SQL parser and, for statements that cannot
// multiply rows without bound, runs them against a small MemoryStore. Any
// failure must be a jet::Error; anything else (a crash, another exception,
// a sanitizer report) is a bug.
#include <cstddef>
#include <cstdint>
#include <string>

#include "jet/core/Error.h"
#include "jet/sql/Parser.h"
#include "jet/sql/Session.h"
#include "jet/storage/MemoryStore.h"

namespace {

using jet::DataType;
using jet::Value;
using jet::storage::ColumnDef;
using jet::storage::TableSchema;

void fill(jet::storage::MemoryStore& store) {
  TableSchema t;
  t.name = "T";
  t.columns = {ColumnDef{.name = "ID", .type = DataType::Long, .size = 4, .autoNumber = true},
               ColumnDef{.name = "name", .type = DataType::Text, .size = 20},
               ColumnDef{.name = "v", .type = DataType::Double, .size = 8},
               ColumnDef{.name = "d", .type = DataType::DateTime, .size = 8},
               ColumnDef{.name = "m", .type = DataType::Memo}};
  t.indexes = {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true}};
  store.createTable(t);
  auto table = store.openTable("T");
  const char* names[] = {"Ann", "ann", nullptr};
  for (int i = 0; i < 3; ++i) {
    jet::Row r{Value(), names[i] ? Value::text(names[i]) : Value(), Value::dbl(i * 1.5),
               Value::dateTime(40000 + i), Value::memo(std::string(static_cast<size_t>(i) * 100, 'x'))};
    table->insert(r);
  }
  TableSchema u;
  u.name = "U";
  u.columns = {ColumnDef{.name = "ID", .type = DataType::Long, .size = 4},
               ColumnDef{.name = "flag", .type = DataType::Boolean, .size = 1}};
  store.createTable(u);
  auto ut = store.openTable("U");
  for (int i = 0; i < 2; ++i) {
    jet::Row r{Value::longInt(i + 1), Value::boolean(i == 0)};
    ut->insert(r);
  }
  store.addQuery("Q", "SELECT ID, name FROM T WHERE v > 0");
}

// Joins multiply rows; a handful of sources keeps every run small.
bool cheapToRun(const std::string& sql) {
  int sources = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (c == ',' || c == '(') ++sources;
    if ((c == 'j' || c == 'J') && sql.compare(i, 4, "join") == 0) ++sources;
  }
  return sql.size() <= 2048 && sources <= 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string sql(reinterpret_cast<const char*>(data), size);
  try {
    jet::sql::parseStatement(sql);
  } catch (const jet::Error&) {
    return 0;
  }
  if (!cheapToRun(sql)) return 0;
  jet::storage::MemoryStore store;
  fill(store);
  jet::sql::Session session(store);
  try {
    session.execute(sql);
  } catch (const jet::Error&) {
  }
  return 0;
}
