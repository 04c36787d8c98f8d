// INSERT, UPDATE, DELETE, SELECT INTO, the DDL statements, transactions and
// statement atomicity.
#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

class Changes : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE People (ID COUNTER, Name TEXT(10) NOT NULL, Age BYTE, CONSTRAINT pk PRIMARY KEY (ID))");
    run("INSERT INTO People (Name, Age) VALUES ('Ann', 30)");
    run("INSERT INTO People (Name, Age) VALUES ('Bob', 40)");
    run("INSERT INTO People (Name, Age) VALUES ('Cid', Null)");
  }
};

TEST_F(Changes, InsertFillsAutoNumbersAndConvertsValues) {
  EXPECT_EQ(run("INSERT INTO People (Name, Age) VALUES ('Dan', '25')").rowsAffected, 1);
  auto r = rows("SELECT ID, Age FROM People WHERE Name = 'Dan'");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], L(4));
  EXPECT_EQ(r[0][1], Value::byte(25));
  EXPECT_EQ(failure("INSERT INTO People (Name, Age) VALUES ('Eve', 300)"), ErrorCode::Overflow);
  EXPECT_EQ(failure("INSERT INTO People (Name, Age) VALUES ('Eve', 'old')"), ErrorCode::TypeMismatch);
  EXPECT_EQ(failure("INSERT INTO People (Name, Age) VALUES ('Elisabeth-Anne', 1)"), ErrorCode::Invalid);
  EXPECT_EQ(failure("INSERT INTO People (Nome) VALUES ('x')"), ErrorCode::NoSuchField);
  EXPECT_EQ(failure("INSERT INTO People (Name, Age) VALUES ('x')"), ErrorCode::Invalid);
  EXPECT_EQ(failure("INSERT INTO People (Age) VALUES (1)"), ErrorCode::NullInRequired);
  EXPECT_EQ(failure("INSERT INTO Nobody VALUES (1)"), ErrorCode::NoSuchTable);
  EXPECT_EQ(count("People"), 4);
}

TEST_F(Changes, InsertSelectFromItselfReadsTheSourceFirst) {
  run("CREATE TABLE Names (n TEXT(10))");
  EXPECT_EQ(run("INSERT INTO Names SELECT Name FROM People").rowsAffected, 3);
  EXPECT_EQ(run("INSERT INTO Names (n) SELECT n FROM Names").rowsAffected, 3);
  EXPECT_EQ(count("Names"), 6);
  EXPECT_EQ(failure("INSERT INTO Names SELECT Name, Age FROM People"), ErrorCode::Invalid);
}

TEST_F(Changes, InsertSelectIsAtomicOnDuplicateKey) {
  run("CREATE TABLE Keys (k LONG PRIMARY KEY)");
  run("INSERT INTO Keys VALUES (2)");
  // Rows 1 and 3 go in before 2 collides: none of them may stay.
  EXPECT_EQ(failure("INSERT INTO Keys SELECT ID FROM People"), ErrorCode::DuplicateKey);
  EXPECT_EQ(count("Keys"), 1);
}

TEST_F(Changes, UpdateSetsFromTheOldRow) {
  EXPECT_EQ(run("UPDATE People SET Age = Age + 1, Name = UCase(Name) WHERE Age Is Not Null").rowsAffected, 2);
  auto r = rows("SELECT Name, Age FROM People ORDER BY ID");
  EXPECT_EQ(r[0][0], T("ANN"));
  EXPECT_EQ(r[0][1], Value::byte(31));
  EXPECT_EQ(r[2][0], T("Cid"));
  EXPECT_EQ(run("UPDATE People SET Age = 1").rowsAffected, 3);
  EXPECT_EQ(failure("UPDATE People SET Nope = 1"), ErrorCode::NoSuchField);
  EXPECT_EQ(failure("UPDATE People SET ID = 1"), ErrorCode::DuplicateKey);
  EXPECT_EQ(rows("SELECT ID FROM People WHERE ID = 1").size(), 1u);
  EXPECT_EQ(run("UPDATE People SET Age = (SELECT Max(Age) FROM People) + 1").rowsAffected, 3);
  EXPECT_EQ(scalar("Min(Age) FROM People"), Value::byte(2));
}

TEST_F(Changes, DeleteCollectsRowsFirst) {
  EXPECT_EQ(run("DELETE FROM People WHERE Age > (SELECT Min(Age) FROM People)").rowsAffected, 1);
  EXPECT_EQ(run("DELETE * FROM People WHERE Name = 'nobody'").rowsAffected, 0);
  EXPECT_EQ(run("DELETE People.* FROM People").rowsAffected, 2);
  EXPECT_EQ(count("People"), 0);
}

TEST_F(Changes, SelectIntoTypesColumnsFromTheSource) {
  run("SELECT ID, Name, Age, Age * 2 AS Twice, Name & '!' AS Shout, String(300, 'x') AS Long INTO Copy FROM "
      "People");
  auto t = store.openTable("Copy");
  ASSERT_TRUE(t);
  const auto& c = t->schema().columns;
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[0].type, DataType::Long);
  EXPECT_FALSE(c[0].autoNumber);
  EXPECT_EQ(c[1].type, DataType::Text);
  EXPECT_EQ(c[1].size, 10);
  EXPECT_EQ(c[2].type, DataType::Byte);
  EXPECT_EQ(c[3].type, DataType::Long);
  EXPECT_EQ(c[4].type, DataType::Text);
  EXPECT_EQ(c[5].type, DataType::Memo);  // computed text longer than 255
  EXPECT_TRUE(t->schema().indexes.empty());
  EXPECT_EQ(t->rowCount(), 3u);
}

TEST_F(Changes, CreateTableTypesAndSynonyms) {
  run("CREATE TABLE Types (a TEXT(5), b VARCHAR, c CHAR(3), d MEMO, e LONGTEXT, f BYTE, g SHORT, h SMALLINT, "
      "i INTEGER, j LONG, k SINGLE, l REAL, m DOUBLE, n FLOAT, o CURRENCY, p MONEY, q DATETIME, r DATE, s "
      "BIT, "
      "t YESNO, u LOGICAL, v COUNTER, w AUTOINCREMENT, x GUID, y LONGBINARY, z OLEOBJECT, aa BINARY(8), "
      "ab DECIMAL(10, 2), ac NUMERIC)");
  auto t = store.openTable("Types");
  ASSERT_TRUE(t);
  const auto& c = t->schema().columns;
  const DataType expected[] = {
      DataType::Text,       DataType::Text,     DataType::Text,     DataType::Memo,    DataType::Memo,
      DataType::Byte,       DataType::Integer,  DataType::Integer,  DataType::Long,    DataType::Long,
      DataType::Single,     DataType::Single,   DataType::Double,   DataType::Double,  DataType::Currency,
      DataType::Currency,   DataType::DateTime, DataType::DateTime, DataType::Boolean, DataType::Boolean,
      DataType::Boolean,    DataType::Long,     DataType::Long,     DataType::Guid,    DataType::LongBinary,
      DataType::LongBinary, DataType::Binary,   DataType::Decimal,  DataType::Decimal};
  ASSERT_EQ(c.size(), std::size(expected));
  for (size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i].type, expected[i]) << c[i].name;
  EXPECT_EQ(c[0].size, 5);
  EXPECT_EQ(c[1].size, 255);
  EXPECT_TRUE(c[21].autoNumber);
  EXPECT_EQ(c[26].size, 8);
  EXPECT_EQ(c[27].precision, 10);
  EXPECT_EQ(c[27].scale, 2);
  EXPECT_EQ(failure("CREATE TABLE Types (a LONG)"), ErrorCode::TableExists);
  EXPECT_EQ(failure("CREATE TABLE Bad (a WIDGET)"), ErrorCode::Syntax);
  EXPECT_EQ(failure("CREATE TABLE Bad (a LONG, A TEXT)"), ErrorCode::FieldExists);
}

TEST_F(Changes, CreateTableKeysAndConstraints) {
  run("CREATE TABLE K (a LONG NOT NULL PRIMARY KEY, b TEXT(10) UNIQUE, c LONG, d LONG, "
      "CONSTRAINT cd UNIQUE (c, d))");
  auto t = store.openTable("K");
  const auto& ix = t->schema().indexes;
  ASSERT_EQ(ix.size(), 3u);
  EXPECT_TRUE(ix[0].primaryKey);
  EXPECT_TRUE(ix[1].unique);
  EXPECT_EQ(ix[2].name, "cd");
  EXPECT_EQ(ix[2].columns.size(), 2u);
  run("INSERT INTO K VALUES (1, 'x', 1, 1)");
  EXPECT_EQ(failure("INSERT INTO K VALUES (2, 'X', 2, 2)"), ErrorCode::DuplicateKey);
  EXPECT_EQ(failure("INSERT INTO K VALUES (3, 'y', 1, 1)"), ErrorCode::DuplicateKey);
  run("INSERT INTO K VALUES (4, 'z', 1, 2)");
}

TEST_F(Changes, AlterTableAndIndexes) {
  run("ALTER TABLE People ADD COLUMN Email TEXT(50)");
  run("ALTER TABLE People ADD Phone TEXT(20)");
  EXPECT_EQ(store.openTable("People")->schema().columns.size(), 5u);
  EXPECT_TRUE(rows("SELECT Email FROM People WHERE Email Is Not Null").empty());
  EXPECT_EQ(failure("ALTER TABLE People ADD Email TEXT"), ErrorCode::FieldExists);
  run("ALTER TABLE People DROP COLUMN Phone");
  EXPECT_EQ(failure("ALTER TABLE People DROP COLUMN Phone"), ErrorCode::NoSuchField);
  run("CREATE UNIQUE INDEX byName ON People (Name DESC)");
  EXPECT_EQ(failure("INSERT INTO People (Name) VALUES ('ann')"), ErrorCode::DuplicateKey);
  EXPECT_EQ(failure("CREATE INDEX byName ON People (Age)"), ErrorCode::IndexExists);
  run("DROP INDEX byName ON People");
  run("INSERT INTO People (Name) VALUES ('ann')");
  EXPECT_EQ(failure("CREATE INDEX p2 ON People (Age) WITH PRIMARY"), ErrorCode::NullInRequired);
  run("CREATE INDEX byAge ON People (Age ASC, Name)");
  EXPECT_EQ(store.openTable("People")->schema().indexes.back().columns.size(), 2u);
  EXPECT_EQ(failure("DROP INDEX nope ON People"), ErrorCode::NoSuchIndex);
  EXPECT_EQ(failure("CREATE INDEX i ON People (Nope)"), ErrorCode::NoSuchField);
  EXPECT_EQ(failure("ALTER TABLE Nobody ADD x LONG"), ErrorCode::NoSuchTable);
}

TEST_F(Changes, DropTableRefusesQueriesAndSystemTables) {
  store.addQuery("Q", "SELECT * FROM People");
  storage::TableSchema sys;
  sys.name = "MSysObjects";
  sys.columns = {{.name = "Id", .type = DataType::Long, .size = 4}};
  store.addSystemTable(sys);
  EXPECT_EQ(failure("DROP TABLE Q"), ErrorCode::Invalid);
  EXPECT_EQ(failure("DROP TABLE MSysObjects"), ErrorCode::Invalid);
  EXPECT_EQ(failure("DELETE FROM Q"), ErrorCode::Invalid);
}

TEST_F(Changes, ExplicitTransactions) {
  EXPECT_FALSE(session.inTransaction());
  run("BEGIN TRANSACTION");
  EXPECT_TRUE(session.inTransaction());
  run("DELETE FROM People");
  EXPECT_EQ(count("People"), 0);
  run("ROLLBACK");
  EXPECT_FALSE(session.inTransaction());
  EXPECT_EQ(count("People"), 3);
  run("BEGIN TRANSACTION");
  run("DELETE FROM People WHERE ID = 1");
  run("COMMIT TRANSACTION");
  EXPECT_EQ(count("People"), 2);
  EXPECT_EQ(store.transactionDepth(), 0);
  EXPECT_EQ(failure("COMMIT"), ErrorCode::Transaction);
  EXPECT_EQ(failure("ROLLBACK TRANSACTION"), ErrorCode::Transaction);
}

TEST_F(Changes, FailedStatementInsideTransactionLeavesEarlierWork) {
  run("BEGIN TRANSACTION");
  run("INSERT INTO People (Name) VALUES ('Dan')");
  EXPECT_EQ(failure("INSERT INTO People (ID, Name) VALUES (1, 'Dup')"), ErrorCode::DuplicateKey);
  EXPECT_EQ(count("People"), 4);
  run("COMMIT");
  EXPECT_EQ(count("People"), 4);
}

TEST_F(Changes, SessionClosedWithOpenTransactionRollsBack) {
  {
    Session other(store);
    other.execute("BEGIN TRANSACTION");
    other.execute("DELETE FROM People");
    EXPECT_EQ(count("People"), 0);
  }
  EXPECT_EQ(count("People"), 3);
  EXPECT_EQ(store.transactionDepth(), 0);
}

TEST_F(Changes, SelectIntoWithTwoColumnsOfOneNameFails) {
  EXPECT_EQ(failure("SELECT Name, Name INTO Twice FROM People"), ErrorCode::FieldExists);
  EXPECT_EQ(count("Twice"), -1);
}

TEST_F(Changes, FailedSelectIntoLeavesNoTable) {
  EXPECT_EQ(failure("SELECT ID, 1 / (ID - 2) AS x INTO Broken FROM People"), ErrorCode::Invalid);
  EXPECT_EQ(count("Broken"), -1);
}

}  // namespace
}  // namespace jet::sql::testing
