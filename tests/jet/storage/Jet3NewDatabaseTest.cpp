// New Access 97 (Jet 3) files from nothing: the header Access 97 writes,
// the system tables of its catalogue, and user tables with Chinese text in
// code page 936, long values and indexes, read back by Quellmark, mdbtools
// (told the code page) and mdb-reader, walked by the index checker; then
// written again through the ordinary write path.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/file/Header.h"
#include "jet/storage/NewDatabase.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

NewDatabaseOptions jet3(uint16_t codePage) {
  NewDatabaseOptions o;
  o.version = file::JetVersion::Jet3;
  o.codePage = codePage;
  return o;
}

TableSchema customers() {
  TableSchema s;
  s.name = "客户";
  s.columns = {{.name = "编号", .type = DataType::Long, .autoNumber = true, .required = true},
               {.name = "姓名", .type = DataType::Text, .size = 40},
               {.name = "城市", .type = DataType::Text, .size = 20},
               {.name = "备注", .type = DataType::Memo}};
  s.indexes = {
      {.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true, .required = true},
      {.name = "按城市", .columns = {{2, true}}}};
  return s;
}

std::string nameOf(size_t i) {
  static const std::vector<std::string> family{"王", "李", "张", "刘", "陈", "Smith "};
  return family[i % family.size()] + "客户" + std::to_string(i);
}
std::string cityOf(size_t i) {
  static const std::vector<std::string> cities{"北京", "上海", "广州", "深圳", "Berlin"};
  return cities[i % cities.size()];
}
std::string noteOf(size_t i) {
  if (i % 3 == 0) return "";
  std::string s;
  for (size_t k = 0; k < (i % 7 == 1 ? 400 : 3); ++k) s += "重复记录清理 " + std::to_string(k) + "; ";
  return s;
}

void writeCustomers(const std::string& path, size_t rows, const NewDatabaseOptions& options) {
  size_t at = 0;
  std::vector<NewTable> tables{{customers(), [&](Row& r) {
                                  if (at >= rows) return false;
                                  r = Row{Value(), Value::text(nameOf(at)), Value::text(cityOf(at)),
                                          noteOf(at).empty() ? Value() : Value::memo(noteOf(at))};
                                  ++at;
                                  return true;
                                }}};
  writeNewDatabase(path, std::move(tables), options);
}

// mdbtools, told the file's code page, exports exactly our rows.
void expectMdbToolsAgree(const std::string& file, const std::string& table, size_t rows) {
  if (!readersAvailable()) return;
  std::string exported = runCommand(
      "LC_ALL=C.UTF-8 MDB_JET3_CHARSET=CP936 mdb-export " + shellQuote(file) + " " + shellQuote(table) +
      " | python3 -c 'import csv,sys; print(sum(1 for _ in csv.reader(sys.stdin)) - 1)'");
  EXPECT_EQ(std::stoul(exported.empty() ? "0" : exported), rows);
  std::string all = runCommand("LC_ALL=C.UTF-8 MDB_JET3_CHARSET=CP936 mdb-export " + shellQuote(file) + " " +
                               shellQuote(table));
  auto ours = ourRows(file, table);
  for (size_t i = 0; i < ours.size(); i += 97)
    EXPECT_NE(all.find(ours[i][1]), std::string::npos) << ours[i][1];
  // mdb-reader reads Access 97 text as Windows-1252 whatever the code page: its counts must agree.
  std::string dump = runCommand("node " + shellQuote(std::string(QM_SOURCE_DIR) + "/tests/readers/dump.mjs") +
                                " " + shellQuote(file) + " 2>&1");
  EXPECT_NE(dump.find("\"rowCount\":" + std::to_string(rows)), std::string::npos) << dump.substr(0, 300);
}

TEST(Jet3NewDatabase, HeaderIsTheOneAccess97Writes) {
  QM_REQUIRE_TESTDATA();
  std::vector<uint8_t> ours = file::encodeNewJet3Header(1252);
  std::vector<uint8_t> access = readBytes(mdbDir() / "jet3/V1997.mdb");
  ASSERT_EQ(ours.size(), 2048u);
  // Everything but the few bytes at 0x600 that differ from file to file.
  EXPECT_TRUE(std::equal(ours.begin(), ours.begin() + 0x600, access.begin()));
  EXPECT_TRUE(std::equal(ours.begin() + 0x604, ours.end(), access.begin() + 0x604));
  file::Header h = file::Header::parse(file::encodeNewJet3Header(936).data(), 2048, "new");
  EXPECT_EQ(h.version, file::JetVersion::Jet3);
  EXPECT_EQ(h.codePage, 936);
  EXPECT_EQ(h.sortOrder, 1033u);
  EXPECT_TRUE(h.password.empty());
}

TEST(Jet3NewDatabase, ChineseTablesInCodePage936) {
  TempFolder tmp;
  std::string f = (tmp.path() / "新.mdb").string();
  writeCustomers(f, 2500, jet3(936));
  {
    auto db = JetDatabase::open(f, "");
    EXPECT_EQ(db->info().version, file::JetVersion::Jet3);
    EXPECT_EQ(db->info().pageSize, 2048u);
    EXPECT_EQ(db->info().codePage, 936);
    auto t = db->openTable("客户");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 2500u);
    size_t i = 0;
    auto c = t->scan();
    while (c->next()) {
      const Row& r = c->row();
      size_t n = static_cast<size_t>(r[0].asInt()) - 1;
      EXPECT_EQ(r[1].asText(), nameOf(n));
      EXPECT_EQ(r[2].asText(), cityOf(n));
      EXPECT_EQ(r[3].isNull() ? "" : r[3].asText(), noteOf(n)) << n;
      ++i;
    }
    EXPECT_EQ(i, 2500u);
    for (const char* system : {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"})
      EXPECT_NE(db->openTable(system), nullptr) << system;
    EXPECT_LT(db->openTable("MSysQueries")->schema().findColumn("LvExtra"), 0);
  }
  expectMdbToolsAgree(f, "客户", 2500);
  if (readersAvailable()) {
    std::string tables = runCommand("LC_ALL=C.UTF-8 MDB_JET3_CHARSET=CP936 mdb-tables -1 " + shellQuote(f));
    EXPECT_NE(tables.find("客户"), std::string::npos) << tables;
  }
  expectIndexesValid(f);

  // The ordinary write path takes over: rows, a new table, a dropped one.
  {
    auto db = JetDatabase::open(f, "", false);
    auto t = db->openTable("客户");
    Row r{Value(), Value::text("新客户"), Value::text("杭州"), Value::memo(std::string(5000, 'x'))};
    t->insert(r);
    // The Access 97 General order has no codes for Chinese characters (its
    // keys leave them out), so the catalogue's unique name index tells this
    // name from 客户 by its Latin letters only.
    db->createTable({"Cities", {{.name = "名称", .type = DataType::Text, .size = 10}}, {}});
    Row city{Value::text("南京")};
    db->openTable("Cities")->insert(city);
    Row thai{Value(), Value::text("\u0E01"), Value(), Value()};
    EXPECT_THROW(t->insert(thai), Error);
  }
  expectMdbToolsAgree(f, "客户", 2501);
  expectIndexesValid(f);
}

TEST(Jet3NewDatabase, WesternFileAndRefusals) {
  TempFolder tmp;
  std::string f = (tmp.path() / "west.mdb").string();
  std::vector<NewTable> tables{
      {{"Items",
        {{.name = "Name", .type = DataType::Text, .size = 30}, {.name = "Qty", .type = DataType::Integer}},
        {{.name = "ByName", .columns = {{0, true}}}}},
       [n = 0](Row& r) mutable {
         if (n >= 300) return false;
         r = Row{Value::text("Bücher Ærø " + std::to_string(n)), Value::integer(static_cast<int16_t>(n))};
         ++n;
         return true;
       }}};
  writeNewDatabase(f, std::move(tables), jet3(1252));
  expectReadersAgree(f, "Items");
  expectIndexesValid(f);

  // Chinese text in a Western file, and a code page we cannot encode: refused, no file left.
  std::string g = (tmp.path() / "refused.mdb").string();
  EXPECT_THROW(writeCustomers(g, 10, jet3(1252)), Error);
  EXPECT_FALSE(fs::exists(g));
  EXPECT_THROW(writeCustomers(g, 10, jet3(1251)), Error);
  EXPECT_FALSE(fs::exists(g));
}

}  // namespace
}  // namespace jet::storage::testing
