// Jet's operators, comparison rules and three-valued logic.
#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

class Expressions : public SqlTest {};

TEST_F(Expressions, ArithmeticTypesAndOperators) {
  EXPECT_EQ(scalar("1 + 2"), L(3));
  EXPECT_EQ(scalar("7 \\ 2"), L(3));
  EXPECT_EQ(scalar("-7 \\ 2"), L(-3));
  EXPECT_EQ(scalar("7 Mod 3"), L(1));
  EXPECT_EQ(scalar("-7 mod 3"), L(-1));
  EXPECT_EQ(scalar("7 / 2"), D(3.5));
  EXPECT_EQ(scalar("2 ^ 10"), D(1024));
  EXPECT_EQ(scalar("-2 ^ 2"), D(-4));  // ^ binds tighter than unary minus
  EXPECT_EQ(scalar("2 + 3 * 4"), L(14));
  EXPECT_EQ(scalar("(2 + 3) * 4"), L(20));
  EXPECT_EQ(scalar("1.5 * 2"), D(3));
  EXPECT_EQ(scalar("2147483647 + 1"), D(2147483648.0));  // overflow widens
  EXPECT_EQ(scalar("10 - 2 - 3"), L(5));
}

TEST_F(Expressions, DivisionByZeroIsAnError) {
  std::string m;
  EXPECT_EQ(failure("SELECT 1 / 0", &m), ErrorCode::Invalid);
  EXPECT_EQ(m, "被零除。");
  EXPECT_EQ(failure("SELECT 1 \\ 0"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT 5 Mod 0"), ErrorCode::Invalid);
}

TEST_F(Expressions, ConcatenationAndPlusOnText) {
  EXPECT_EQ(scalar("'a' & 'b'"), T("ab"));
  EXPECT_EQ(scalar("'a' & 1"), T("a1"));
  EXPECT_EQ(scalar("'a' & Null"), T("a"));
  EXPECT_TRUE(scalar("Null & Null").isNull());
  EXPECT_EQ(scalar("'a' + 'b'"), T("ab"));
  EXPECT_TRUE(scalar("'a' + Null").isNull());
  EXPECT_EQ(scalar("'5' + 3"), D(8));
  EXPECT_EQ(failure("SELECT 'x' + 3"), ErrorCode::TypeMismatch);
  EXPECT_EQ(scalar("\"double \"\"quoted\"\"\""), T("double \"quoted\""));
  EXPECT_EQ(scalar("'it''s'"), T("it's"));
}

TEST_F(Expressions, NullPropagatesThroughArithmetic) {
  EXPECT_TRUE(scalar("Null + 1").isNull());
  EXPECT_TRUE(scalar("-Null").isNull());
  EXPECT_TRUE(scalar("Null * 0").isNull());
}

TEST_F(Expressions, TextComparesWithoutCase) {
  EXPECT_EQ(scalar("'abc' = 'ABC'"), Value::boolean(true));
  EXPECT_EQ(scalar("'abc' < 'ABD'"), Value::boolean(true));
  EXPECT_EQ(scalar("'Émile' = 'émile'"), Value::boolean(true));
  EXPECT_EQ(scalar("'10' = 10"), Value::boolean(true));
  EXPECT_EQ(failure("SELECT 'ten' = 10"), ErrorCode::TypeMismatch);
  EXPECT_TRUE(scalar("Null = Null").isNull());
  EXPECT_TRUE(scalar("1 <> Null").isNull());
}

TEST_F(Expressions, ThreeValuedLogic) {
  EXPECT_EQ(scalar("Null And False"), Value::boolean(false));
  EXPECT_TRUE(scalar("Null And True").isNull());
  EXPECT_EQ(scalar("Null Or True"), Value::boolean(true));
  EXPECT_TRUE(scalar("Null Or False").isNull());
  EXPECT_TRUE(scalar("Not Null").isNull());
  EXPECT_EQ(scalar("True Xor False"), Value::boolean(true));
  EXPECT_EQ(scalar("True Eqv True"), Value::boolean(true));
  EXPECT_EQ(scalar("False Imp Null"), Value::boolean(true));
  EXPECT_EQ(scalar("True Imp False"), Value::boolean(false));
  EXPECT_TRUE(scalar("True Imp Null").isNull());
  EXPECT_EQ(scalar("Not 1 = 2"), Value::boolean(true));
}

TEST_F(Expressions, LikePatterns) {
  EXPECT_EQ(scalar("'Hello' Like 'h*'"), Value::boolean(true));
  EXPECT_EQ(scalar("'Hello' Like 'H?llo'"), Value::boolean(true));
  EXPECT_EQ(scalar("'a1' Like 'a#'"), Value::boolean(true));
  EXPECT_EQ(scalar("'ab' Like 'a#'"), Value::boolean(false));
  EXPECT_EQ(scalar("'b' Like '[a-c]'"), Value::boolean(true));
  EXPECT_EQ(scalar("'d' Like '[!a-c]'"), Value::boolean(true));
  EXPECT_EQ(scalar("'a*b' Like 'a[*]b'"), Value::boolean(true));
  EXPECT_EQ(scalar("'axb' Like 'a[*]b'"), Value::boolean(false));
  EXPECT_EQ(scalar("'abc' Like '%c'"), Value::boolean(true));
  EXPECT_EQ(scalar("'abc' Not Like 'a*'"), Value::boolean(false));
  EXPECT_EQ(scalar("'张三丰' Like '张*'"), Value::boolean(true));
  EXPECT_EQ(scalar("'张三' Like '张?'"), Value::boolean(true));
  EXPECT_TRUE(scalar("Null Like '*'").isNull());
  EXPECT_EQ(scalar("'aaaaaaaaaaaaaaaaaaaaaaaaaaaaab' Like '*a*a*a*a*a*a*c'"), Value::boolean(false));
}

TEST_F(Expressions, BetweenAndIn) {
  EXPECT_EQ(scalar("5 Between 1 And 10"), Value::boolean(true));
  EXPECT_EQ(scalar("5 Between 10 And 1"), Value::boolean(true));
  EXPECT_EQ(scalar("5 Not Between 1 And 4"), Value::boolean(true));
  EXPECT_TRUE(scalar("Null Between 1 And 2").isNull());
  EXPECT_EQ(scalar("'b' Between 'A' And 'C'"), Value::boolean(true));
  EXPECT_EQ(scalar("3 In (1, 2, 3)"), Value::boolean(true));
  EXPECT_EQ(scalar("'X' In ('x', 'y')"), Value::boolean(true));
  EXPECT_EQ(scalar("4 Not In (1, 2, 3)"), Value::boolean(true));
  // A Null in the list: Not In can never be true.
  EXPECT_TRUE(scalar("4 Not In (1, Null)").isNull());
  EXPECT_EQ(scalar("1 Not In (1, Null)"), Value::boolean(false));
  EXPECT_TRUE(scalar("Null In (1, 2)").isNull());
}

TEST_F(Expressions, IsNull) {
  EXPECT_EQ(scalar("Null Is Null"), Value::boolean(true));
  EXPECT_EQ(scalar("1 Is Not Null"), Value::boolean(true));
}

TEST_F(Expressions, Literals) {
  EXPECT_EQ(scalar("True"), Value::boolean(true));
  EXPECT_EQ(scalar("False"), Value::boolean(false));
  EXPECT_EQ(scalar("True = -1"), Value::boolean(true));
  EXPECT_EQ(scalar("1e3"), D(1000));
  EXPECT_EQ(scalar(".5"), D(0.5));
  EXPECT_EQ(scalar("3000000000"), D(3000000000.0));
  EXPECT_EQ(scalar("Year(#2001-02-03#)"), Value::integer(2001));
  EXPECT_EQ(scalar("Format(#3/14/2013 09:05:07#, 'yyyy-mm-dd hh:nn:ss')"), T("2013-03-14 09:05:07"));
  EXPECT_EQ(scalar("Format(#2013-03-14 9:05 PM#, 'hh:nn')"), T("21:05"));
  EXPECT_EQ(scalar("#2001-02-03# = #2/3/2001#"), Value::boolean(true));
  EXPECT_EQ(scalar("#2001-02-03# < #2001-02-04#"), Value::boolean(true));
  EXPECT_EQ(scalar("#2001-02-03# + 1 = #2001-02-04#"), Value::boolean(true));
  EXPECT_EQ(scalar("#2001-03-01# - #2001-02-01#"), D(28));
  EXPECT_EQ(failure("SELECT #2001-02-30#"), ErrorCode::Syntax);
  EXPECT_EQ(failure("SELECT #nonsense#"), ErrorCode::Syntax);
}

TEST_F(Expressions, CaseInsensitiveKeywordsAndFunctions) {
  EXPECT_EQ(scalar("uCaSe('x') & lcase('Y')"), T("Xy"));
  EXPECT_EQ(scalar("1 bEtWeEn 0 AnD 2"), Value::boolean(true));
  EXPECT_EQ(rows("sElEcT 1 As x").size(), 1u);
}

class Criteria : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE t (id LONG, name TEXT(20), v DOUBLE)");
    run("INSERT INTO t VALUES (1, 'Ann', 1.5)");
    run("INSERT INTO t VALUES (2, 'bob', Null)");
    run("INSERT INTO t VALUES (3, Null, 3)");
    run("INSERT INTO t VALUES (4, 'ANN', 4)");
  }
  std::vector<int64_t> ids(const std::string& where) {
    std::vector<int64_t> out;
    for (const Row& r : rows("SELECT id FROM t WHERE " + where + " ORDER BY id")) out.push_back(r[0].asInt());
    return out;
  }
};

TEST_F(Criteria, WhereKeepsOnlyTrue) {
  EXPECT_EQ(ids("name = 'ann'"), (std::vector<int64_t>{1, 4}));
  EXPECT_EQ(ids("name <> 'ann'"), (std::vector<int64_t>{2}));
  EXPECT_EQ(ids("Not (v > 2)"), (std::vector<int64_t>{1}));
  EXPECT_EQ(ids("v > 2 Or name Like 'b*'"), (std::vector<int64_t>{2, 3, 4}));
  EXPECT_EQ(ids("name Is Null"), (std::vector<int64_t>{3}));
  EXPECT_EQ(ids("[t].[v] Is Not Null And t!id > 1"), (std::vector<int64_t>{3, 4}));
}

TEST_F(Criteria, InAndNotInSubqueryFollowTheNullRule) {
  EXPECT_EQ(ids("id In (SELECT id FROM t WHERE v > 2)"), (std::vector<int64_t>{3, 4}));
  // The subquery yields a Null: NOT IN is never true.
  EXPECT_EQ(ids("id Not In (SELECT v FROM t)"), (std::vector<int64_t>{}));
  EXPECT_EQ(ids("id Not In (SELECT v FROM t WHERE v Is Not Null)"), (std::vector<int64_t>{1, 2}));
  // An empty subquery: NOT IN is true even for a Null operand.
  EXPECT_EQ(ids("v Not In (SELECT id FROM t WHERE id > 100)"), (std::vector<int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(ids("name In (SELECT name FROM t WHERE id = 1)"), (std::vector<int64_t>{1, 4}));
}

TEST_F(Criteria, ExistsAndScalarSubqueries) {
  EXPECT_EQ(ids("Exists (SELECT * FROM t AS u WHERE u.name = t.name AND u.id <> t.id)"),
            (std::vector<int64_t>{1, 4}));
  EXPECT_EQ(ids("Not Exists (SELECT * FROM t AS u WHERE u.id > t.id)"), (std::vector<int64_t>{4}));
  EXPECT_EQ(ids("v = (SELECT Max(v) FROM t)"), (std::vector<int64_t>{4}));
  EXPECT_EQ(ids("v > (SELECT Avg(u.v) FROM t u WHERE u.id < t.id)"), (std::vector<int64_t>{3, 4}));
  EXPECT_EQ(failure("SELECT id FROM t WHERE v = (SELECT v FROM t)"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT id FROM t WHERE id In (SELECT id, v FROM t)"), ErrorCode::Invalid);
}

TEST_F(Criteria, ExistsOnEqualitiesRunsAsAHashSemiJoin) {
  run("CREATE TABLE tags (tid LONG, tag TEXT(10))");
  run("INSERT INTO tags VALUES (1, 'x')");
  run("INSERT INTO tags VALUES (4, 'y')");
  run("INSERT INTO tags VALUES (Null, 'x')");
  EXPECT_EQ(ids("Exists (SELECT * FROM tags WHERE tags.tid = t.id)"), (std::vector<int64_t>{1, 4}));
  EXPECT_EQ(ids("Exists (SELECT * FROM tags WHERE t.id = tid And tag = 'y')"), (std::vector<int64_t>{4}));
  EXPECT_EQ(ids("Not Exists (SELECT * FROM tags WHERE tags.tid = t.id)"), (std::vector<int64_t>{2, 3}));
  // Text keys match without regard to case; a Null key matches nothing.
  EXPECT_EQ(ids("Exists (SELECT * FROM t AS u WHERE u.name = t.name And u.v = 4)"),
            (std::vector<int64_t>{1, 4}));
  EXPECT_EQ(ids("Not Exists (SELECT * FROM t AS u WHERE u.name = t.name And u.v = 4)"),
            (std::vector<int64_t>{2, 3}));
  // Equalities hash; the remaining cross condition runs per candidate.
  EXPECT_EQ(ids("Exists (SELECT * FROM t AS u WHERE u.name = t.name And u.id > t.id)"),
            (std::vector<int64_t>{1}));
  EXPECT_EQ(ids("Not Exists (SELECT * FROM t AS u WHERE u.name = t.name And u.id < t.id And u.v >= 0)"),
            (std::vector<int64_t>{1, 2, 3}));
  EXPECT_EQ(ids("Exists (SELECT * FROM tags WHERE tid = t.id And (tag = t.name Or t.v > 3))"),
            (std::vector<int64_t>{4}));
}

TEST(CriteriaScale, CorrelatedExistsOnEqualityIsLinear) {
  storage::MemoryStore store;
  storage::TableSchema a;
  a.name = "A";
  a.columns = {{.name = "k", .type = DataType::Long, .size = 4}};
  store.createTable(a);
  a.name = "B";
  store.createTable(a);
  auto ta = store.openTable("A");
  auto tb = store.openTable("B");
  const int n = 50000;
  for (int i = 0; i < n; ++i) {
    Row r{Value::longInt(i)};
    ta->insert(r);
    Row s{Value::longInt(i * 2)};
    tb->insert(s);
  }
  Session session(store);
  auto r = session.execute("SELECT Count(*) FROM A WHERE Exists (SELECT * FROM B WHERE B.k = A.k)");
  EXPECT_EQ(r.result.rows[0][0], Value::longInt(n / 2));
  r = session.execute("SELECT Count(*) FROM A WHERE A.k In (SELECT k FROM B)");
  EXPECT_EQ(r.result.rows[0][0], Value::longInt(n / 2));
  r = session.execute("SELECT Count(*) FROM A INNER JOIN B ON A.k = B.k");
  EXPECT_EQ(r.result.rows[0][0], Value::longInt(n / 2));
}

TEST_F(Criteria, UnknownFieldsAreCountedAsParameters) {
  std::string m;
  EXPECT_EQ(failure("SELECT foo, bar FROM t WHERE foo = 1", &m), ErrorCode::NoSuchField);
  EXPECT_NE(m.find("2"), std::string::npos);
  EXPECT_NE(m.find("foo"), std::string::npos);
  EXPECT_EQ(failure("SELECT x.id FROM t"), ErrorCode::NoSuchField);
}

TEST_F(Criteria, AggregateInWhereIsRefused) {
  EXPECT_EQ(failure("SELECT id FROM t WHERE Count(*) > 1"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT id, Count(*) FROM t"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT Nosuch(id) FROM t"), ErrorCode::Invalid);
  EXPECT_EQ(failure("SELECT Left(name) FROM t"), ErrorCode::Invalid);
}

}  // namespace
}  // namespace jet::sql::testing
