// Jet's Boolean words (Yes, No, True, False, On, Off), names joined by `!`
// and PARAMETERS declarations, as the queries Access saves use them.
#include <gtest/gtest.h>

#include "jet/core/Messages.h"
#include "jet/sql/Parser.h"
#include "tests/jet/sql/SqlFixture.h"

namespace jet::sql::testing {
namespace {

class JetWords : public SqlTest {
 protected:
  void SetUp() override {
    run("CREATE TABLE T (ID LONG, Active YESNO, n LONG, [Yes] TEXT(10))");
    run("INSERT INTO T VALUES (1, True, 5, 'a')");
    run("INSERT INTO T VALUES (2, False, 6, 'b')");
    run("INSERT INTO T VALUES (3, True, 7, 'c')");
  }
  std::vector<int64_t> ids(const std::string& sql) {
    std::vector<int64_t> out;
    for (const Row& r : rows(sql)) out.push_back(r.at(0).asInt());
    return out;
  }
  // The message of a statement that stops for `expected` missing parameters, the first being `first`.
  void expectParameters(const std::string& sql, int expected, const std::string& first) {
    std::string message;
    EXPECT_EQ(failure(sql, &message), ErrorCode::NoSuchField) << sql;
    EXPECT_EQ(message, msg::tooFewParameters(expected, first)) << sql;
  }
};

TEST_F(JetWords, EveryBooleanWordIsAConstantInAnyCase) {
  for (const char* word : {"Yes", "YES", "yes", "True", "true", "On", "ON"})
    EXPECT_EQ(scalar(word), Value::boolean(true)) << word;
  for (const char* word : {"No", "no", "False", "FALSE", "Off", "oFF"})
    EXPECT_EQ(scalar(word), Value::boolean(false)) << word;
  // As numbers they are -1 and 0.
  EXPECT_EQ(scalar("Yes + 0").toDouble(), -1.0);
  EXPECT_EQ(scalar("No + 0").toDouble(), 0.0);
  EXPECT_EQ(scalar("On * 3").toDouble(), -3.0);
}

TEST_F(JetWords, BooleanWordsFilterAsAccessSavesThem) {
  EXPECT_EQ(ids("SELECT ID FROM T WHERE [Active] = No"), std::vector<int64_t>{2});
  EXPECT_EQ(ids("SELECT ID FROM T WHERE (((T.Active)=Yes)) ORDER BY ID"), (std::vector<int64_t>{1, 3}));
  EXPECT_EQ(ids("SELECT ID FROM T WHERE Active = On AND NOT Active = Off ORDER BY ID"),
            (std::vector<int64_t>{1, 3}));
  EXPECT_EQ(ids("SELECT ID FROM T WHERE Active IN (No) ORDER BY ID"), std::vector<int64_t>{2});
  EXPECT_EQ(ids("SELECT ID FROM T WHERE Active <> yes"), std::vector<int64_t>{2});
  EXPECT_EQ(run("UPDATE T SET Active = Yes WHERE ID = 2").rowsAffected, 1);
  EXPECT_EQ(ids("SELECT ID FROM T WHERE Active = No"), std::vector<int64_t>{});
  EXPECT_EQ(run("INSERT INTO T (ID, Active) VALUES (4, Off)").rowsAffected, 1);
  EXPECT_EQ(ids("SELECT ID FROM T WHERE Active = False"), std::vector<int64_t>{4});
}

TEST_F(JetWords, ABracketedWordIsStillAName) {
  auto r = rows("SELECT [Yes] FROM T WHERE ID = 2");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].at(0), T("b"));
  EXPECT_EQ(ids("SELECT ID FROM T WHERE T.[Yes] = 'c'"), std::vector<int64_t>{3});
  // Unbracketed, the same word is the constant, not the field.
  EXPECT_EQ(rows("SELECT Yes FROM T WHERE ID = 2").at(0).at(0), Value::boolean(true));
  EXPECT_EQ(names("SELECT No FROM T"), std::vector<std::string>{"Expr1000"});
}

TEST_F(JetWords, OnStillStartsAJoinCondition) {
  run("CREATE TABLE U (ID LONG, Flag YESNO)");
  run("INSERT INTO U VALUES (1, No)");
  run("INSERT INTO U VALUES (3, Yes)");
  EXPECT_EQ(ids("SELECT T.ID FROM T INNER JOIN U ON T.ID = U.ID AND U.Flag = On"), std::vector<int64_t>{3});
}

TEST_F(JetWords, BangJoinsNamePartsAsADotDoes) {
  EXPECT_EQ(ids("SELECT [T]![ID] FROM T WHERE [T]![n] = 6"), std::vector<int64_t>{2});
  EXPECT_EQ(ids("SELECT T!ID FROM T WHERE T!Active = Yes ORDER BY T!ID"), (std::vector<int64_t>{1, 3}));
  EXPECT_EQ(ids("SELECT x!ID FROM T AS x WHERE x.n = 7"), std::vector<int64_t>{3});
  EXPECT_EQ(rows("SELECT T!* FROM T").size(), 3u);
  EXPECT_EQ(names("SELECT [T]![n] FROM T"), std::vector<std::string>{"n"});
}

TEST_F(JetWords, ANameThatResolvesToNothingIsAParameter) {
  // A form's control, as saved queries refer to them: three parts, no table of that name.
  expectParameters("SELECT ID FROM T WHERE n = [Forms]![Orders]![Amount]", 1, "Forms.Orders.Amount");
  expectParameters("SELECT ID FROM T WHERE n = Forms!Orders!Amount AND ID = [Forms].[Orders].[ID]", 2,
                   "Forms.Orders.Amount");
  expectParameters("SELECT ID FROM T WHERE n = [Nowhere]![n]", 1, "Nowhere.n");
  expectParameters("DELETE FROM T WHERE ID = [Forms]![F]![ID]", 1, "Forms.F.ID");
  EXPECT_EQ(count("T"), 3);
  // A part after `!` must be a name.
  EXPECT_EQ(failure("SELECT T!5 FROM T"), ErrorCode::Syntax);
  EXPECT_EQ(failure("SELECT ID FROM T WHERE T! = 1"), ErrorCode::Syntax);
}

TEST_F(JetWords, DeleteListsFieldsAsAccessWritesThem) {
  EXPECT_EQ(run("DELETE T.ID, T.n FROM T WHERE (((T.n)>6))").rowsAffected, 1);
  EXPECT_EQ(run("DELETE [T]![ID] FROM T WHERE T.ID = 2").rowsAffected, 1);
  EXPECT_EQ(run("DELETE T.* FROM T WHERE Active = Yes").rowsAffected, 1);
  EXPECT_EQ(count("T"), 0);
  EXPECT_EQ(failure("DELETE T.ID, FROM T"), ErrorCode::Syntax);
  EXPECT_EQ(failure("DELETE 5 FROM T"), ErrorCode::Syntax);
}

TEST(JetWordsParse, BooleanWordsAreLiteralsAndPathsKeepTheirParts) {
  auto s = parseStatement("SELECT a FROM t WHERE a = No AND [b] = [Forms]![F]![c]");
  const auto& where = *std::get<ast::SelectStmt>(s).query->parts[0].where;
  const ast::Expr& no = *where.args[0]->args[1];
  EXPECT_EQ(no.kind, ast::ExprKind::Literal);
  EXPECT_EQ(no.literal, Value::boolean(false));
  const ast::Expr& path = *where.args[1]->args[1];
  EXPECT_EQ(path.kind, ast::ExprKind::Column);
  EXPECT_EQ(path.qualifier, "Forms.F");
  EXPECT_EQ(path.name, "c");
}

TEST_F(JetWords, DeclaredParametersAreAskedForLikeUnknownNames) {
  expectParameters("PARAMETERS [Which] Long; SELECT ID FROM T WHERE ID = [Which]", 1, "Which");
  // Declared ones come first; a name that means a declared one is the same parameter.
  expectParameters("PARAMETERS [a b] Text ( 255 ), c DateTime; SELECT ID FROM T WHERE n = [d] AND ID = [A B]",
                   3, "a b");
  // Declared and never used: still asked for.
  expectParameters("parameters x Long;\nSELECT ID FROM T;", 1, "x");
  expectParameters("PARAMETERS x Decimal (18, 2); SELECT ID FROM T", 1, "x");
}

TEST_F(JetWords, AnyStatementDeclaringParametersIsRefusedAndChangesNothing) {
  expectParameters("PARAMETERS x Long; DELETE FROM T WHERE ID = x", 1, "x");
  expectParameters("PARAMETERS v Text, w Long; UPDATE T SET n = w", 2, "v");
  EXPECT_EQ(count("T"), 3);
  EXPECT_EQ(ids("SELECT n FROM T ORDER BY n"), (std::vector<int64_t>{5, 6, 7}));
}

TEST_F(JetWords, ParametersClauseMustBeWellFormed) {
  for (const char* bad : {"PARAMETERS x; SELECT ID FROM T", "PARAMETERS x Long SELECT ID FROM T",
                          "PARAMETERS ; SELECT ID FROM T", "PARAMETERS x Text(; SELECT ID FROM T",
                          "PARAMETERS x Long,; SELECT ID FROM T", "PARAMETERS x [Long]; SELECT ID FROM T"})
    EXPECT_EQ(failure(bad), ErrorCode::Syntax) << bad;
  // A saved query's text keeps its declarations.
  auto q = parseQuery("PARAMETERS [p] Short, q Text (10); SELECT * FROM T");
  EXPECT_EQ(q->parameters, (std::vector<std::string>{"p", "q"}));
  EXPECT_TRUE(parseQuery("SELECT * FROM T")->parameters.empty());
}

}  // namespace
}  // namespace jet::sql::testing
