// Parsing: the AST shapes the executor relies on, syntax errors that name
// their clause, and bounded nesting.
#include <gtest/gtest.h>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/Lexer.h"
#include "jet/sql/Parser.h"

namespace jet::sql {
namespace {

std::string syntaxMessage(const std::string& sql) {
  try {
    parseStatement(sql);
  } catch (const SqlError& e) {
    EXPECT_EQ(e.code(), ErrorCode::Syntax) << sql;
    return e.what();
  }
  ADD_FAILURE() << "parsed: " << sql;
  return "";
}

TEST(Lexer, TokensOfEveryKind) {
  auto t = tokenize("SELECT [my table].x, 'it''s', \"q\", 12, 1.5e2, #2001-02-03#, a<>b");
  ASSERT_GE(t.size(), 18u);
  EXPECT_EQ(t[1].kind, TokenKind::Identifier);
  EXPECT_TRUE(t[1].quoted);
  EXPECT_EQ(t[1].text, "my table");
  EXPECT_EQ(t[5].text, "it's");
  EXPECT_EQ(t[7].text, "q");
  EXPECT_EQ(t[9].value, Value::longInt(12));
  EXPECT_EQ(t[11].value, Value::dbl(150));
  EXPECT_EQ(t[13].kind, TokenKind::Date);
  EXPECT_EQ(t[16].text, "<>");
  EXPECT_EQ(t.back().kind, TokenKind::End);
  EXPECT_THROW(tokenize("'open"), SqlError);
  EXPECT_THROW(tokenize("[open"), SqlError);
  EXPECT_THROW(tokenize("a @ b"), SqlError);
}

TEST(Parser, ProductStatementShapes) {
  auto s = parseStatement("Select name,phone,Count(*) From [T] Group By name,phone Having Count(*) > 1");
  auto& q = *std::get<ast::SelectStmt>(s).query;
  ASSERT_EQ(q.parts.size(), 1u);
  EXPECT_EQ(q.parts[0].items.size(), 3u);
  EXPECT_EQ(q.parts[0].groupBy.size(), 2u);
  ASSERT_TRUE(q.parts[0].having);
  auto d = parseStatement("Delete from [T] Where ID Not In (Select min(ID) From [T] Group By a,b)");
  auto& del = std::get<ast::DeleteStmt>(d);
  EXPECT_EQ(del.table, "T");
  EXPECT_EQ(del.where->kind, ast::ExprKind::InSubquery);
  EXPECT_TRUE(del.where->negated);
  auto into = parseStatement("select * INTO [T_new] from (select distinct * from [T])");
  auto& iq = *std::get<ast::SelectStmt>(into).query;
  EXPECT_EQ(iq.parts[0].into, "T_new");
  EXPECT_EQ(iq.parts[0].from[0]->kind, ast::TableRef::Kind::Derived);
  EXPECT_TRUE(iq.parts[0].from[0]->alias.empty());
  EXPECT_NO_THROW(parseStatement("Drop table [T];"));
}

TEST(Parser, OperatorPrecedence) {
  auto s = parseStatement("SELECT a Or b And Not c = 1 + 2 * 3");
  const ast::Expr& e = *std::get<ast::SelectStmt>(s).query->parts[0].items[0].expr;
  EXPECT_EQ(e.op, ast::Op::Or);
  EXPECT_EQ(e.args[1]->op, ast::Op::And);
  EXPECT_EQ(e.args[1]->args[1]->op, ast::Op::Not);
  const ast::Expr& cmp = *e.args[1]->args[1]->args[0];
  EXPECT_EQ(cmp.op, ast::Op::Eq);
  EXPECT_EQ(cmp.args[1]->op, ast::Op::Add);
  EXPECT_EQ(cmp.args[1]->args[1]->op, ast::Op::Mul);
}

TEST(Parser, SyntaxErrorsNameTheClause) {
  EXPECT_EQ(syntaxMessage("SELECT * FROM"), msg::syntaxErrorIn("FROM", ""));
  EXPECT_NE(syntaxMessage("SELECT a FROM t WHERE a = = 1").find("WHERE"), std::string::npos);
  EXPECT_NE(syntaxMessage("SELECT a FROM t GROUP a").find("GROUP BY"), std::string::npos);
  EXPECT_NE(syntaxMessage("SELECT a FROM t ORDER BY").find("ORDER BY"), std::string::npos);
  EXPECT_NE(syntaxMessage("SELECT a, FROM t").find("SELECT"), std::string::npos);
  EXPECT_NE(syntaxMessage("CREATE TABLE t (a TEXT(999))").find("CREATE TABLE"), std::string::npos);
  EXPECT_NE(syntaxMessage("SELECT * FROM t WHERE").find("WHERE"), std::string::npos);
  EXPECT_NE(syntaxMessage("SELECT * FROM t extra junk").find("SELECT"), std::string::npos);
  syntaxMessage("HELLO");
  syntaxMessage("");
  syntaxMessage("SELECT * FROM []");
  syntaxMessage("INSERT INTO t");
  syntaxMessage("UPDATE t SET");
  syntaxMessage("ALTER TABLE t RENAME x");
}

// A message holding half a character would show as garbage, or break a JSON or terminal reader.
bool wholeUtf8(const std::string& s) {
  return utf16ToUtf8(utf8ToUtf16(s)) == s;
}

TEST(Parser, QuotedTextNearAFaultKeepsWholeCharacters) {
  // The fault is at "=", followed by more than 24 bytes of three-byte characters.
  std::string m = syntaxMessage("SELECT a FROM t WHERE a = = 中文中文中文中文中文中文中文中文中文中文");
  EXPECT_TRUE(wholeUtf8(m)) << m;
  EXPECT_NE(m.find("= 中文中文"), std::string::npos) << m;
  std::string statement = syntaxMessage("中文中文中文中文中文中文中文中文中文中文 x");
  EXPECT_TRUE(wholeUtf8(statement)) << statement;
}

TEST(Parser, DeepNestingIsASyntaxErrorNotACrash) {
  std::string deep = "SELECT " + std::string(5000, '(') + "1" + std::string(5000, ')');
  EXPECT_EQ(syntaxMessage(deep), msg::queryTooComplex());
  std::string nots = "SELECT ";
  for (int i = 0; i < 5000; ++i) nots += "Not ";
  syntaxMessage(nots + "1");
  std::string minus = "SELECT " + std::string(5000, '-') + "1";
  syntaxMessage(minus);
  std::string subs;
  for (int i = 0; i < 500; ++i) subs += "SELECT * FROM (";
  syntaxMessage(subs + "SELECT 1" + std::string(500, ')'));
  std::string chain = "SELECT 1";
  for (int i = 0; i < 20000; ++i) chain += " + 1";
  EXPECT_EQ(syntaxMessage(chain), msg::queryTooComplex());
  std::string likes = "SELECT 'a'";
  for (int i = 0; i < 5000; ++i) likes += " Like 'a'";
  syntaxMessage(likes);
  // Moderate nesting still parses.
  EXPECT_NO_THROW(parseStatement("SELECT " + std::string(60, '(') + "1" + std::string(60, ')')));
}

TEST(Parser, DdlAndTransactions) {
  auto c = parseStatement("CREATE TABLE [x y] (id COUNTER CONSTRAINT pk PRIMARY KEY, t TEXT(20) NOT NULL)");
  auto& ct = std::get<ast::CreateTableStmt>(c);
  EXPECT_EQ(ct.table, "x y");
  ASSERT_EQ(ct.columns.size(), 2u);
  EXPECT_TRUE(ct.columns[0].primaryKey);
  EXPECT_EQ(ct.columns[0].constraintName, "pk");
  EXPECT_TRUE(ct.columns[1].def.required);
  auto i = parseStatement("CREATE UNIQUE INDEX ix ON t (a DESC, b) WITH PRIMARY");
  auto& ci = std::get<ast::CreateIndexStmt>(i);
  EXPECT_TRUE(ci.unique);
  EXPECT_TRUE(ci.primary);
  EXPECT_FALSE(ci.columns[0].second);
  EXPECT_EQ(std::get<ast::TransactionStmt>(parseStatement("begin transaction")).verb,
            ast::TransactionVerb::Begin);
  EXPECT_EQ(std::get<ast::TransactionStmt>(parseStatement("COMMIT")).verb, ast::TransactionVerb::Commit);
  EXPECT_EQ(std::get<ast::TransactionStmt>(parseStatement("Rollback Transaction")).verb,
            ast::TransactionVerb::Rollback);
}

}  // namespace
}  // namespace jet::sql
