// Saved queries: listed with their kinds, SQL rebuilt from MSysQueries.
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/QueryText.h"

namespace jet::storage {
namespace {

using testing::mdbDir;

QueryRow row(uint8_t attribute, std::optional<std::string> expression = std::nullopt, int16_t flag = 0,
             std::optional<std::string> name1 = std::nullopt,
             std::optional<std::string> name2 = std::nullopt) {
  QueryRow r;
  r.attribute = attribute;
  r.expression = std::move(expression);
  r.flag = flag;
  r.name1 = std::move(name1);
  r.name2 = std::move(name2);
  return r;
}

TEST(QueryText, SelectWithTopPercentAliasesAndDescendingOrder) {
  std::vector<QueryRow> rows = {
      row(kQueryType, std::nullopt, 1),
      row(kQueryFlags, std::nullopt, 0x10 | 0x20, "25"),
      row(kQuerySource, std::nullopt, 0, "Order Details", "od"),
      row(kQueryColumn, "od.Qty", 0, "Quantity Sold"),
      row(kQueryColumn, "od.Price"),
      row(kQueryWhere, "od.Qty>1"),
      row(kQueryOrderBy, "od.Qty", 0, "D"),
      row(kQueryOrderBy, "od.Price"),
  };
  QueryText q = rebuildQuery(rows, 0);
  EXPECT_EQ(q.type, QueryType::Select);
  EXPECT_FALSE(q.hasParameters);
  EXPECT_EQ(q.sql,
            "SELECT TOP 25 PERCENT od.Qty AS [Quantity Sold], od.Price\nFROM [Order Details] AS od\nWHERE "
            "od.Qty>1\n"
            "ORDER BY od.Qty DESC, od.Price;");
}

TEST(QueryText, DistinctRowParametersGroupingAndOwnerAccess) {
  std::vector<QueryRow> rows = {
      row(kQueryType, std::nullopt, 1),
      row(kQueryParameter, std::nullopt, 4, "Min Id"),
      row(kQueryFlags, std::nullopt, 0x08 | 0x04),
      row(kQuerySource, std::nullopt, 0, "T"),
      row(kQueryColumn, "T.k"),
      row(kQueryColumn, "Count(*)", 0, "n"),
      row(kQueryWhere, "T.id>[Min Id]"),
      row(kQueryGroupBy, "T.k"),
      row(kQueryHaving, "Count(*)>1"),
  };
  QueryText q = rebuildQuery(rows, 0);
  EXPECT_TRUE(q.hasParameters);
  EXPECT_EQ(q.sql,
            "PARAMETERS [Min Id] Long;\nSELECT DISTINCTROW T.k, Count(*) AS n\nFROM T\nWHERE T.id>[Min Id]\n"
            "GROUP BY T.k\nHAVING Count(*)>1\nWITH OWNERACCESS OPTION;");
}

TEST(QueryText, JoinsNestLeftToRight) {
  std::vector<QueryRow> rows = {
      row(kQueryType, std::nullopt, 1),
      row(kQuerySource, std::nullopt, 0, "A"),
      row(kQuerySource, std::nullopt, 0, "B"),
      row(kQuerySource, std::nullopt, 0, "C"),
      row(kQueryColumn, "A.x"),
      row(kQueryJoin, "A.id=B.id", 2, "A", "B"),
      row(kQueryJoin, "B.id=C.id", 1, "B", "C"),
  };
  EXPECT_EQ(rebuildQuery(rows, 0).sql,
            "SELECT A.x\nFROM (A LEFT JOIN B ON A.id=B.id) INNER JOIN C ON B.id=C.id;");
}

TEST(QueryText, AppendWithValuesAndDeleteAndUpdate) {
  std::vector<QueryRow> append = {
      row(kQueryType, std::nullopt, 3, "Log"),
      row(kQueryColumn, "1", static_cast<int16_t>(0x8000), std::nullopt, "Log.a"),
      row(kQueryColumn, "'x'", static_cast<int16_t>(0x8000), std::nullopt, "Log.b"),
  };
  QueryText a = rebuildQuery(append, 0x40);
  EXPECT_EQ(a.type, QueryType::Append);
  EXPECT_EQ(a.sql, "INSERT INTO Log\nVALUES (1, 'x');");

  std::vector<QueryRow> del = {row(kQueryType, std::nullopt, 5), row(kQuerySource, std::nullopt, 0, "T"),
                               row(kQueryColumn, "T.*"), row(kQueryWhere, "T.a Is Null")};
  EXPECT_EQ(rebuildQuery(del, 0x20).sql, "DELETE T.*\nFROM T\nWHERE T.a Is Null;");

  std::vector<QueryRow> upd = {row(kQueryType, std::nullopt, 4), row(kQuerySource, std::nullopt, 0, "T"),
                               row(kQueryColumn, "0", 0, std::nullopt, "T.n")};
  EXPECT_EQ(rebuildQuery(upd, 0x30).sql, "UPDATE T\nSET T.n = 0;");
}

TEST(QueryText, ObjectFlagsNameTheTypeWhenRowsAreSilent) {
  std::vector<QueryRow> ddl = {row(kQueryType, "DROP TABLE X", 0)};
  QueryText q = rebuildQuery(ddl, 0x60);
  EXPECT_EQ(q.type, QueryType::DataDefinition);
  EXPECT_EQ(q.sql, "DROP TABLE X");
  EXPECT_EQ(rebuildQuery({}, 0x90).type, QueryType::Unknown);
}

std::map<std::string, ObjectKind> queriesOf(JetDatabase& db) {
  std::map<std::string, ObjectKind> out;
  for (const auto& e : db.objects()) {
    if (e.kind == ObjectKind::View || e.kind == ObjectKind::Procedure) out[e.name] = e.kind;
  }
  return out;
}

TEST(QueryTextSamples, SavedQueriesAreListedWithTheirKinds) {
  QM_REQUIRE_TESTDATA();
  for (const char* file : {"jet3/queryTestV1997.mdb", "jet4/queryTestV2000.mdb"}) {
    SCOPED_TRACE(file);
    auto db = JetDatabase::open((mdbDir() / file).string(), "");
    auto q = queriesOf(*db);
    EXPECT_EQ(q.size(), 9u);
    EXPECT_EQ(q["SelectQuery"], ObjectKind::View);
    for (const char* name : {"AppendQuery", "CrosstabQuery", "DataDefinitionQuery", "DeleteQuery",
                             "MakeTableQuery", "PassthroughQuery"}) {
      EXPECT_EQ(q[name], ObjectKind::Procedure) << name;
      EXPECT_TRUE(db->querySql(name).has_value()) << name;
    }
    EXPECT_EQ(
        *db->querySql("selectquery"),
        "SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\n"
        "FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON Table3.col1 = "
        "Table2.col1 AND Table3.col1 = Table2.col2\n"
        "WHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\n"
        "ORDER BY Table2.col1;");
    EXPECT_EQ(*db->querySql("DeleteQuery"),
              "DELETE Table1.col1, Table1.col2, Table1.col3\nFROM Table1\nWHERE (((Table1.col1)>\"blah\"));");
    EXPECT_EQ(*db->querySql("DataDefinitionQuery"), "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);");
    std::string make = *db->querySql("MakeTableQuery");
    EXPECT_EQ(make.rfind("SELECT Max(Table2.col1) AS MaxOfcol1, Table2.col2, Table3.col2 INTO Table4\n", 0),
              0u)
        << make;
    EXPECT_NE(make.find("GROUP BY Table2.col2, Table3.col2\nHAVING"), std::string::npos);
    std::string cross = *db->querySql("CrosstabQuery");
    EXPECT_EQ(cross.rfind("TRANSFORM Count([Table2].[col2]) AS CountOfcol2\nSELECT ", 0), 0u) << cross;
    EXPECT_NE(cross.find("\nPIVOT [Table1].[col1];"), std::string::npos);
    EXPECT_EQ(db->querySql("Table1"), std::nullopt);
    EXPECT_EQ(db->querySql("NoSuchQuery"), std::nullopt);
    {
      EXPECT_EQ(*db->querySql("UpdateQuery"),
                "PARAMETERS [User Name] Text;\nUPDATE Table1\nSET Table1.col1 = \"foo\", Table1.col2 = "
                "[Table2].[col3], [Table2].[col1] = [User Name]\nWHERE ((([Table2].[col1]) Is Not Null));");
      std::string u = *db->querySql("UnionQuery");
      EXPECT_NE(u.find("\nUNION ALL Select Table3.col1, Table3.col2"), std::string::npos) << u;
      EXPECT_EQ(u.find('\r'), std::string::npos);
    }
  }
}

TEST(QueryTextSamples, TheDuplicateSampleKeepsOneView) {
  QM_REQUIRE_TESTDATA();
  auto db = JetDatabase::open((mdbDir() / "jet4/dups_v2000_pw.mdb").string(), "Dup$Pw-2024");
  auto q = queriesOf(*db);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q.begin()->second, ObjectKind::View);
  EXPECT_EQ(*db->querySql(q.begin()->first),
            "SELECT Customers.ID, Customers.Name\nFROM Customers\nWHERE (Customers.Active=True)\n"
            "ORDER BY Customers.Name;");
}

}  // namespace
}  // namespace jet::storage
