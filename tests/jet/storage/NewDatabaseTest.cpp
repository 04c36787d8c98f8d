// New Jet 4 files written from nothing: empty ones, and ones filled from an
// in-memory store with every column type, long values on LVAL pages, large
// tables with reference usage maps and multi-level index trees. Each is read
// back by our reader and, where installed, by mdbtools and mdb-reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "jet/core/Error.h"
#include "jet/file/Header.h"
#include "jet/format/IndexPage.h"
#include "jet/storage/IndexCheck.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "jet/storage/MemoryStore.h"
#include "jet/storage/NewDatabase.h"

namespace jet::storage {
namespace {

namespace fs = std::filesystem;

struct TempPath {
  fs::path path;
  explicit TempPath(const std::string& stem)
      : path(fs::temp_directory_path() / ("qm_newdb_" + stem + "_" + std::to_string(::getpid()) + ".mdb")) {
    fs::remove(path);
  }
  ~TempPath() { fs::remove(path); }
  std::string str() const { return path.string(); }
};

int run(const std::string& cmd, std::string& out) {
  out.clear();
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  return pclose(p);
}

bool haveMdbTools() {
  return std::system("mdb-tables --version > /dev/null 2>&1") == 0;
}
bool haveMdbReader() {
  return fs::exists(fs::path(QM_SOURCE_DIR) / "tests/readers/node_modules/mdb-reader") &&
         std::system("node --version > /dev/null 2>&1") == 0;
}

// mdb-reader's view: table name -> (rowCount, rows).
std::map<std::string, nlohmann::json> mdbReaderDump(const std::string& file) {
  std::string out;
  std::string cmd =
      "node '" + (fs::path(QM_SOURCE_DIR) / "tests/readers/dump.mjs").string() + "' '" + file + "'";
  EXPECT_EQ(run(cmd, out), 0) << out;
  std::map<std::string, nlohmann::json> tables;
  size_t at = 0;
  while (at < out.size()) {
    size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    if (end > at) {
      auto j = nlohmann::json::parse(out.substr(at, end - at));
      tables[j["table"].get<std::string>()] = j;
    }
    at = end + 1;
  }
  return tables;
}

std::vector<std::string> userTables(JetDatabase& db) {
  std::vector<std::string> out;
  for (const auto& o : db.objects())
    if (o.kind == ObjectKind::Table) out.push_back(o.name);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<Row> readAll(Table& t) {
  std::vector<Row> rows;
  auto c = t.scan();
  while (c->next()) rows.push_back(c->row());
  return rows;
}

TEST(NewDatabase, EmptyDatabaseHoldsTheSystemTables) {
  TempPath p("empty");
  auto db = JetDatabase::create(p.str());
  ASSERT_NE(db, nullptr);
  EXPECT_TRUE(userTables(*db).empty());
  std::set<std::string> system;
  for (const auto& o : db->objects())
    if (o.kind == ObjectKind::SystemTable || o.kind == ObjectKind::AccessTable) system.insert(o.name);
  for (const char* name :
       {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships", "MSysAccessObjects"})
    EXPECT_TRUE(system.count(name)) << name;
  auto catalog = db->openTable("MSysObjects");
  ASSERT_NE(catalog, nullptr);
  EXPECT_EQ(catalog->schema().columns.size(), 17u);
  EXPECT_EQ(catalog->rowCount(), readAll(*catalog).size());
  EXPECT_EQ(db->info().version, file::JetVersion::Jet4);
  EXPECT_FALSE(db->info().hasPassword);
  // A fresh creation date: within a minute of now.
  EXPECT_NEAR(db->pageFile().header().creationDate, jetNow(), 1.0 / 1440);
  auto queries = db->openTable("MSysQueries");
  ASSERT_NE(queries, nullptr);
  EXPECT_EQ(queries->rowCount(), 0u);
}

TEST(NewDatabase, RefusesAnExistingFileAndLeavesIt) {
  TempPath p("exists");
  { std::ofstream(p.path) << "precious"; }
  EXPECT_THROW(JetDatabase::create(p.str()), StorageError);
  std::ifstream in(p.path);
  std::string s;
  in >> s;
  EXPECT_EQ(s, "precious");
}

TEST(NewDatabase, FailedWriteLeavesNoFile) {
  TempPath p("failed");
  MemoryStore source;
  source.createTable(
      TableSchema{"Bad",
                  {{.name = "A", .type = DataType::Long}},
                  {{.name = "PK", .columns = {{0, true}}, .primaryKey = true, .unique = true}}});
  // The in-memory store allows this schema, Jet does not: a name with a '!'.
  source.createTable(TableSchema{"Bad!", {{.name = "A", .type = DataType::Long}}, {}});
  EXPECT_THROW(writeNewDatabase(p.str(), &source), StorageError);
  EXPECT_FALSE(fs::exists(p.path));
}

TEST(NewDatabase, EmptyDatabaseOpensInMdbToolsAndMdbReader) {
  TempPath p("empty_readers");
  JetDatabase::create(p.str());
  if (haveMdbTools()) {
    std::string out;
    ASSERT_EQ(run("mdb-tables -S -1 '" + p.str() + "'", out), 0);
    for (const char* name :
         {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships", "MSysAccessObjects"})
      EXPECT_NE(out.find(name), std::string::npos) << name << "\n" << out;
    ASSERT_EQ(run("mdb-export '" + p.str() + "' MSysObjects | wc -l", out), 0);
    EXPECT_EQ(std::stoi(out), 1 + 15);  // heading + containers, database and system tables
  }
  if (haveMdbReader()) {
    EXPECT_TRUE(mdbReaderDump(p.str()).empty());
  }
}

TableSchema everyType() {
  TableSchema s;
  s.name = "全部类型";
  s.columns = {
      {.name = "ID", .type = DataType::Long, .size = 4, .autoNumber = true, .required = true},
      {.name = "Flag", .type = DataType::Boolean},
      {.name = "Small", .type = DataType::Byte},
      {.name = "Short", .type = DataType::Integer},
      {.name = "Money", .type = DataType::Currency},
      {.name = "Real", .type = DataType::Single},
      {.name = "Wide", .type = DataType::Double},
      {.name = "When", .type = DataType::DateTime},
      {.name = "Raw", .type = DataType::Binary, .size = 16},
      {.name = "名称", .type = DataType::Text, .size = 50, .compressedUnicode = true},
      {.name = "Blob", .type = DataType::LongBinary},
      {.name = "Notes", .type = DataType::Memo, .compressedUnicode = true},
      {.name = "Guid", .type = DataType::Guid},
      {.name = "Exact", .type = DataType::Decimal, .precision = 18, .scale = 4},
  };
  s.indexes = {
      {.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true, .required = true},
      {.name = "ByName", .columns = {{9, true}, {3, false}}}};
  return s;
}

Row everyTypeRow(int i) {
  Guid g{};
  for (size_t k = 0; k < g.bytes.size(); ++k) g.bytes[k] = static_cast<uint8_t>(i + k);
  Decimal d;
  d.scale = 4;
  d.negative = i % 2;
  d.magnitude = static_cast<unsigned __int128>(i) * 12345;
  std::string notes = i % 3 == 0 ? std::string() : "备注 " + std::to_string(i);
  if (i % 5 == 1) notes = std::string(3000, 'x') + std::to_string(i);   // one LVAL page
  if (i % 7 == 2) notes = std::string(20000, 'y') + std::to_string(i);  // a chain of them
  return {Value(),
          Value::boolean(i % 2 == 0),
          Value::byte(static_cast<uint8_t>(i)),
          Value::integer(static_cast<int16_t>(i * 3 - 100)),
          Value::currency(i * 10000 + 1234),
          Value::single(static_cast<float>(i) / 4),
          Value::dbl(i * 1.5),
          Value::dateTime(40000.5 + i),
          Value::binary(Bytes{static_cast<uint8_t>(i), 0xff, 0x00}),
          i % 4 == 3 ? Value() : Value::text("客户 " + std::to_string(i % 10) + " Zoë"),
          Value::longBinary(Bytes(static_cast<size_t>(i % 4) * 200, static_cast<uint8_t>(i))),
          notes.empty() ? Value() : Value::memo(notes),
          Value::guid(g),
          Value::decimal(d)};
}

TEST(NewDatabase, EveryColumnTypeRoundTrips) {
  MemoryStore source;
  source.createTable(everyType());
  auto t = source.openTable("全部类型");
  std::vector<Row> written;
  for (int i = 0; i < 60; ++i) {
    Row r = everyTypeRow(i);
    t->insert(r);
    written.push_back(r);
  }
  TempPath p("types");
  writeNewDatabase(p.str(), &source);
  auto db = JetDatabase::open(p.str(), "");
  ASSERT_EQ(userTables(*db), std::vector<std::string>{"全部类型"});
  auto back = db->openTable("全部类型");
  ASSERT_NE(back, nullptr);
  const TableSchema& s = back->schema();
  ASSERT_EQ(s.columns.size(), 14u);
  for (size_t c = 0; c < s.columns.size(); ++c) {
    EXPECT_EQ(s.columns[c].name, everyType().columns[c].name);
    EXPECT_EQ(s.columns[c].type, everyType().columns[c].type) << c;
  }
  EXPECT_TRUE(s.columns[0].autoNumber);
  EXPECT_EQ(s.columns[9].size, 50);
  ASSERT_EQ(s.indexes.size(), 2u);
  EXPECT_TRUE(s.indexes[0].primaryKey);
  EXPECT_EQ(s.indexes[1].columns.size(), 2u);
  EXPECT_FALSE(s.indexes[1].columns[1].ascending);
  auto rows = readAll(*back);
  EXPECT_EQ(back->rowCount(), 60u);
  ASSERT_EQ(rows.size(), written.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t c = 0; c < rows[i].size(); ++c)
      EXPECT_EQ(rows[i][c], written[i][c]) << "row " << i << " col " << c;
  }
  // The auto-number continues after the largest stored number.
  auto* jt = dynamic_cast<JetTable*>(back.get());
  ASSERT_NE(jt, nullptr);
  EXPECT_EQ(jt->definition().nextAutoNumber, 61u);
  for (const char* name : {"全部类型", "MSysObjects"}) {
    auto table = db->openTable(name);
    IndexReport report = checkIndexes(*dynamic_cast<JetTable*>(table.get()));
    EXPECT_TRUE(report.ok()) << name << ": " << (report.problems.empty() ? "" : report.problems.front());
  }

  if (haveMdbTools()) {
    std::string out;
    ASSERT_EQ(run("mdb-export -b hex '" + p.str() + "' '全部类型' | wc -l", out), 0);
    EXPECT_EQ(std::stoi(out), 61);
    ASSERT_EQ(run("mdb-schema '" + p.str() + "' 2>&1", out), 0);
    EXPECT_NE(out.find("全部类型"), std::string::npos) << out;
  }
  if (haveMdbReader()) {
    auto dump = mdbReaderDump(p.str());
    ASSERT_TRUE(dump.count("全部类型"));
    EXPECT_EQ(dump["全部类型"]["rowCount"], 60);
    ASSERT_EQ(dump["全部类型"]["rows"].size(), 60u);
    const auto& r1 = dump["全部类型"]["rows"][1];
    EXPECT_EQ(r1[11].get<std::string>(), written[1][11].asText());  // memo on its own LVAL page
    const auto& r2 = dump["全部类型"]["rows"][2];
    EXPECT_EQ(r2[11].get<std::string>(), written[2][11].asText());  // memo in a chain
    EXPECT_EQ(r1[9].get<std::string>(), "客户 1 Zoë");
  }
}

// Walks an index tree from its root: every leaf entry in order, the node
// entries naming the greatest key below them.
void walkIndex(file::PageFile& f, uint32_t page, std::vector<format::IndexEntry>& out, int depth = 0) {
  ASSERT_LT(depth, 8);
  auto layout = format::IndexPageLayout::jet4();
  auto ref = f.read(page);
  format::IndexPage p = format::decodeIndexPage(*ref, layout, page);
  if (p.leaf) {
    out.insert(out.end(), p.entries.begin(), p.entries.end());
    return;
  }
  for (const auto& e : p.entries) {
    walkIndex(f, e.childPage, out, depth + 1);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back().key, e.key);
  }
  walkIndex(f, p.tailPage, out, depth + 1);
}

TEST(NewDatabase, LargeTableHasReferenceMapsAndDeepIndexes) {
  MemoryStore source;
  TableSchema s{"Big",
                {{.name = "ID", .type = DataType::Long, .autoNumber = true, .required = true},
                 {.name = "Name", .type = DataType::Text, .size = 200}},
                {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true},
                 {.name = "Name", .columns = {{1, true}}}}};
  source.createTable(s);
  auto t = source.openTable("Big");
  const int n = 5000;
  for (int i = 0; i < n; ++i) {
    Row r{Value(), Value::text("name " + std::to_string((i * 7919) % n) + std::string(150, 'z'))};
    t->insert(r);
  }
  TempPath p("big");
  writeNewDatabase(p.str(), &source);
  auto db = JetDatabase::open(p.str(), "");
  auto back = db->openTable("Big");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->rowCount(), static_cast<uint64_t>(n));
  EXPECT_EQ(readAll(*back).size(), static_cast<size_t>(n));
  EXPECT_GT(db->info().pageCount, 512u);  // beyond one inline map's reach
  auto* jt = dynamic_cast<JetTable*>(back.get());
  for (const auto& phys : jt->definition().physicalIndexes) {
    std::vector<format::IndexEntry> entries;
    walkIndex(db->pageFile(), phys.firstPage, entries);
    ASSERT_EQ(entries.size(), static_cast<size_t>(n));
    for (size_t i = 1; i < entries.size(); ++i)
      ASSERT_LE(format::compareEntries(entries[i - 1], entries[i]), 0);
  }
  if (haveMdbTools()) {
    std::string out;
    ASSERT_EQ(run("mdb-export '" + p.str() + "' Big | wc -l", out), 0);
    EXPECT_EQ(std::stoi(out), n + 1);
  }
}

}  // namespace
}  // namespace jet::storage

namespace jet::storage {
namespace {

NewTable counted(TableSchema schema, int rows, std::function<Row(int)> make) {
  auto at = std::make_shared<int>(0);
  return {std::move(schema), [=](Row& r) {
            if (*at >= rows) return false;
            r = make((*at)++);
            return true;
          }};
}

TEST(NewDatabase, DuplicateInUniqueIndexRefusesTheWholeFile) {
  TempPath p("dup");
  TableSchema s{
      "T", {{.name = "A", .type = DataType::Long}}, {{.name = "UA", .columns = {{0, true}}, .unique = true}}};
  std::vector<NewTable> tables;
  tables.push_back(counted(s, 100, [](int i) { return Row{Value::longInt(i == 57 ? 3 : i)}; }));
  try {
    writeNewDatabase(p.str(), std::move(tables));
    FAIL() << "duplicate accepted";
  } catch (const StorageError& e) {
    EXPECT_EQ(e.code(), ErrorCode::DuplicateKey);
    EXPECT_NE(std::string(e.what()).find("UA"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(p.path));
}

TEST(NewDatabase, StreamedTablesNumberTheirAutoNumbersAndRefuseBadRows) {
  TableSchema s{"Keyed",
                {{.name = "ID", .type = DataType::Long, .autoNumber = true, .required = true},
                 {.name = "Name", .type = DataType::Text, .size = 10}},
                {{.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true}}};
  {
    TempPath p("auto");
    std::vector<NewTable> tables;
    tables.push_back(counted(s, 20, [](int i) {
      return Row{Value(), Value::text("n" + std::to_string(i))};
    }));
    writeNewDatabase(p.str(), std::move(tables));
    auto db = JetDatabase::open(p.str(), "");
    auto rows = readAll(*db->openTable("Keyed"));
    ASSERT_EQ(rows.size(), 20u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(rows[static_cast<size_t>(i)][0], Value::longInt(i + 1));
  }
  {
    TempPath p("toolong");
    std::vector<NewTable> tables;
    tables.push_back(counted(s, 2, [](int) { return Row{Value(), Value::text(std::string(11, 'x'))}; }));
    EXPECT_THROW(writeNewDatabase(p.str(), std::move(tables)), Error);
    EXPECT_FALSE(fs::exists(p.path));
  }
  {
    TempPath p("twice");
    std::vector<NewTable> tables;
    tables.push_back(counted(s, 1, [](int) { return Row{Value(), Value()}; }));
    tables.push_back(counted(s, 1, [](int) { return Row{Value(), Value()}; }));
    EXPECT_THROW(writeNewDatabase(p.str(), std::move(tables)), StorageError);
    EXPECT_FALSE(fs::exists(p.path));
  }
}

TEST(NewDatabase, CompareScriptAgreesOnAGeneratedFile) {
  fs::path quellmark = fs::path(QM_BINARY_DIR) / "tools/quellmark/quellmark";
  if (!fs::exists(quellmark) || !haveMdbReader()) GTEST_SKIP() << "quellmark or mdb-reader not built here";
  TempPath p("compare");
  MemoryStore source;
  source.createTable(everyType());
  auto t = source.openTable("全部类型");
  for (int i = 0; i < 30; ++i) {
    Row r = everyTypeRow(i);
    t->insert(r);
  }
  writeNewDatabase(p.str(), &source);
  std::string out;
  EXPECT_EQ(run("python3 '" + (fs::path(QM_SOURCE_DIR) / "tests/readers/compare.py").string() + "' '" +
                    quellmark.string() + "' '" + p.str() + "' 2>&1",
                out),
            0)
      << out;
}

}  // namespace
}  // namespace jet::storage
