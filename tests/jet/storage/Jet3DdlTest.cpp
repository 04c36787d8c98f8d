// Data definition on Access 97 (Jet 3) files: new tables in the Jet 3
// layout with every column type Access 97 has and long values of each size,
// then ALTER TABLE, CREATE/DROP INDEX and DROP TABLE, each read back by
// Quellmark, mdbtools and mdb-reader and walked by the index checker.
// What the Jet 3 layout cannot hold is refused and changes nothing.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/format/LongValue.h"
#include "tests/jet/storage/WriteHelpers.h"

namespace jet::storage::testing {
namespace {

TableSchema people() {
  TableSchema s;
  s.name = "Personen";
  s.columns = {{.name = "ID", .type = DataType::Long, .autoNumber = true, .required = true},
               {.name = "Name", .type = DataType::Text, .size = 60},
               {.name = "Age", .type = DataType::Byte},
               {.name = "Rank", .type = DataType::Integer},
               {.name = "Score", .type = DataType::Double},
               {.name = "Born", .type = DataType::DateTime},
               {.name = "Paid", .type = DataType::Currency},
               {.name = "Active", .type = DataType::Boolean},
               {.name = "Tag", .type = DataType::Binary, .size = 16},
               {.name = "Notes", .type = DataType::Memo},
               {.name = "Picture", .type = DataType::LongBinary}};
  s.indexes = {
      {.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true, .required = true},
      {.name = "ByName", .columns = {{1, true}, {3, false}}}};
  return s;
}

// Notes of every size: inline, one LVAL row, a chain over several 2 KB pages.
std::string noteFor(int i) {
  switch (i % 4) {
    case 0:
      return "kurz " + std::to_string(i);
    case 1:
      return std::string(900, 'm') + std::to_string(i);
    case 2:
      return std::string(7000 + i, 'c');
    default: {
      std::string s = "Grüße aus Köln ";
      for (int k = 0; k < 300; ++k) s += "ö";
      return s;
    }
  }
}

void fillPeople(JetDatabase& db, int rows) {
  auto t = db.openTable("Personen");
  ASSERT_NE(t, nullptr);
  db.begin();
  for (int i = 0; i < rows; ++i) {
    Row r{Value(),
          Value::text("Müller " + std::to_string(i % 37)),
          Value::byte(static_cast<uint8_t>(i % 90)),
          Value::integer(static_cast<int16_t>(i - 50)),
          Value::dbl(i * 0.25),
          Value::dateTime(36000 + i),
          Value::currency(i * 10000),
          Value::boolean(i % 2 == 0),
          Value::binary(Bytes{1, 2, static_cast<uint8_t>(i)}),
          Value::memo(noteFor(i)),
          i % 5 == 0 ? Value::binary(Bytes(3000, static_cast<uint8_t>(i))) : Value()};
    t->insert(r);
  }
  db.commit();
}

TEST(Jet3Ddl, NewTableWithEveryTypeAndLongValues) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/V1997.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    db->createTable(people());
    fillPeople(*db, 120);
  }
  auto db = JetDatabase::open(f, "");
  auto t = db->openTable("Personen");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->schema().columns[1].size, 60);
  EXPECT_EQ(t->rowCount(), 120u);
  int seen = 0;
  auto c = t->scan();
  while (c->next()) {
    const Row& r = c->row();
    const int i = static_cast<int>(r[0].asInt()) - 1;
    EXPECT_EQ(r[9].asText(), noteFor(i)) << i;
    EXPECT_EQ(r[7].asBool(), i % 2 == 0);
    if (i % 5 == 0) {
      EXPECT_EQ(r[10].asBytes().size(), 3000u);
    } else {
      EXPECT_TRUE(r[10].isNull());
    }
    ++seen;
  }
  EXPECT_EQ(seen, 120);
  expectReadersAgree(f, "Personen");
  expectReadersAgree(f, "Table1");
  expectIndexesValid(f);
  if (readersAvailable()) {
    // mdbtools reads the memo chains too.
    std::string notes = runCommand("mdb-export " + shellQuote(f) + " Personen");
    EXPECT_NE(notes.find(std::string(7002, 'c')), std::string::npos);
  }
}

TEST(Jet3Ddl, AlterIndexAndDropKeepTheFileSound) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/V1997.mdb");
  {
    auto db = JetDatabase::open(f, "", false);
    db->createTable(people());
    fillPeople(*db, 60);
    db->addColumn("Personen", {.name = "Extra", .type = DataType::Text, .size = 20});
    db->dropColumn("Personen", "Tag");
    db->createIndex("Personen", {.name = "ByScore", .columns = {{4, true}}});
    db->dropIndex("Personen", "ByName");
    db->createIndex("Table1", {.name = "ByA", .columns = {{0, true}}});
  }
  {
    auto db = JetDatabase::open(f, "");
    auto t = db->openTable("Personen");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 60u);
    EXPECT_GE(t->schema().findColumn("Extra"), 0);
    EXPECT_LT(t->schema().findColumn("Tag"), 0);
    ASSERT_EQ(t->schema().indexes.size(), 2u);
    EXPECT_EQ(t->schema().indexes[1].name, "ByScore");
    expectReadersAgree(f, "Personen");
    expectReadersAgree(f, "Table1");
    expectIndexesValid(f);
  }
  std::vector<uint32_t> owned;
  {
    auto db = JetDatabase::open(f, "");
    for (const auto& [page, owners] : pageOwners(*db).owners)
      if (owners.front() == "Personen") owned.push_back(page);
  }
  ASSERT_GE(owned.size(), 4u);  // definition, data pages, two index roots
  {
    auto db = JetDatabase::open(f, "", false);
    db->dropTable("Personen");
  }
  auto db = JetDatabase::open(f, "");
  EXPECT_EQ(db->openTable("Personen"), nullptr);
  // Every page the table had is free again in the file's map, or cut off the end.
  const format::Layout layout = format::Layout::forVersion(file::JetVersion::Jet3);
  format::FreePageMap map(db->pageFile(), layout);
  for (uint32_t page : owned)
    EXPECT_TRUE(page >= db->info().pageCount || map.isFree(page)) << "page " << page << " is still in use";
  expectReadersAgree(f, "Table1");
  expectIndexesValid(f);
  if (readersAvailable()) {
    EXPECT_EQ(runCommand("mdb-tables -1 " + shellQuote(f)).find("Personen"), std::string::npos);
  }
}

TEST(Jet3Ddl, WhatTheLayoutCannotHoldIsRefused) {
  QM_REQUIRE_TESTDATA();
  TempFolder tmp;
  std::string f = tmp.copy("jet3/V1997.mdb");
  auto original = readBytes(f);
  {
    auto db = JetDatabase::open(f, "", false);
    TableSchema decimal{"Money", {{.name = "Amount", .type = DataType::Decimal, .precision = 10}}, {}};
    EXPECT_THROW(db->createTable(decimal), Error);
    TableSchema chinese{"客户", {{.name = "Name", .type = DataType::Text, .size = 10}}, {}};
    try {
      db->createTable(chinese);
      ADD_FAILURE() << "a Chinese name went into a Western file";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Invalid);
      EXPECT_NE(std::string(e.what()).find("U+5BA2"), std::string::npos) << e.what();
    }
    TableSchema wide{"Wide", {{.name = "Text", .type = DataType::Text, .size = 256}}, {}};
    EXPECT_THROW(db->createTable(wide), Error);
    EXPECT_THROW(db->addColumn("Table1", {.name = "名", .type = DataType::Long}), Error);
  }
  EXPECT_EQ(readBytes(f), original);
}

}  // namespace
}  // namespace jet::storage::testing
