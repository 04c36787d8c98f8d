#include "jet/sql/Parser.h"

#include <cstdlib>
#include <optional>
#include <set>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/Lexer.h"

namespace jet::sql {

using namespace ast;

namespace {

// Deep enough for any query a person writes, shallow enough for the stack of
// a sanitizer build.
constexpr int kMaxDepth = 400;
// Operator chains (a + b + c ...) parse in a loop but evaluate recursively.
constexpr int kMaxHeight = 1000;

bool isReserved(const std::string& word) {
  static const std::set<std::string> words = {
      "select", "from",   "where",      "group",  "by",     "having",      "order",  "union",
      "into",   "as",     "on",         "join",   "inner",  "left",        "right",  "outer",
      "and",    "or",     "not",        "xor",    "eqv",    "imp",         "mod",    "like",
      "is",     "null",   "between",    "in",     "exists", "distinct",    "top",    "percent",
      "asc",    "desc",   "set",        "values", "all",    "distinctrow", "insert", "update",
      "delete", "create", "drop",       "alter",  "table",  "index",       "with",   "primary",
      "key",    "unique", "constraint", "true",   "false",  "transform",   "pivot"};
  return words.count(foldCase(word)) != 0;
}

// Jet's Boolean constants; a bracketed [Yes] stays a name.
std::optional<bool> booleanWord(const std::string& word) {
  for (const char* w : {"true", "yes", "on"})
    if (equalsIgnoreCase(word, w)) return true;
  for (const char* w : {"false", "no", "off"})
    if (equalsIgnoreCase(word, w)) return false;
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(const std::string& sql) : sql_(sql), toks_(tokenize(sql)) {}

  Statement statement() {
    std::vector<std::string> declared = parameters();
    Statement s = statementBody();
    accept(";");
    if (peek().kind != TokenKind::End) error();
    if (!declared.empty()) {
      auto* select = std::get_if<SelectStmt>(&s);
      // No statement here is given values: one that declares any can run
      // only as a query whose names are counted with the other unknown ones.
      if (!select)
        throw SqlError(ErrorCode::NoSuchField,
                       msg::tooFewParameters(static_cast<int>(declared.size()), declared[0]));
      select->query->parameters = std::move(declared);
    }
    return s;
  }

  std::shared_ptr<Query> queryOnly() {
    std::vector<std::string> declared = parameters();
    clause_ = "SELECT";
    std::shared_ptr<Query> q;
    if (isWord("transform"))
      q = crosstab();
    else if (isWord("select"))
      q = query();
    else
      error();
    q->parameters = std::move(declared);
    // Access writes this option at the end of queries saved with owner's rights.
    if (acceptWord("with")) {
      expectWord("owneraccess");
      expectWord("option");
    }
    accept(";");
    if (peek().kind != TokenKind::End) error();
    return q;
  }

 private:
  // ---- token helpers ----
  const Token& peek(size_t ahead = 0) const {
    size_t i = std::min(pos_ + ahead, toks_.size() - 1);
    return toks_[i];
  }
  const Token& advance() {
    const Token& t = toks_[pos_];
    if (pos_ + 1 < toks_.size()) ++pos_;
    return t;
  }
  bool isWord(const char* w, size_t ahead = 0) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Identifier && !t.quoted && equalsIgnoreCase(t.text, w);
  }
  bool isSymbol(const char* s, size_t ahead = 0) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Symbol && t.text == s;
  }
  bool acceptWord(const char* w) {
    if (!isWord(w)) return false;
    advance();
    return true;
  }
  bool accept(const char* s) {
    if (!isSymbol(s)) return false;
    advance();
    return true;
  }
  void expectWord(const char* w) {
    if (!acceptWord(w)) error();
  }
  void expect(const char* s) {
    if (!accept(s)) error();
  }
  [[noreturn]] void error() const {
    const Token& t = peek();
    std::string near = t.kind == TokenKind::End ? std::string() : utf8Snippet(sql_, t.pos, 24);
    if (clause_ == "TRANSFORM") throw SqlError(ErrorCode::Syntax, msg::crosstabSyntax(near));
    throw SqlError(ErrorCode::Syntax, msg::syntaxErrorIn(clause_, near));
  }
  std::string textFrom(size_t startTok) const {
    if (pos_ <= startTok) return std::string();
    size_t b = toks_[startTok].pos;
    size_t e = toks_[pos_ - 1].end;
    return sql_.substr(b, e - b);
  }

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : p_(p) {
      if (++p_.depth_ > kMaxDepth) {
        throw SqlError(ErrorCode::Syntax, msg::queryTooComplex());
      }
    }
    ~DepthGuard() { --p_.depth_; }
    Parser& p_;
  };

  // A name: bare word that is not reserved, or a quoted one.
  std::string name() {
    const Token& t = peek();
    if (t.kind != TokenKind::Identifier || (!t.quoted && isReserved(t.text))) error();
    advance();
    return t.text;
  }
  bool atName() const {
    const Token& t = peek();
    return t.kind == TokenKind::Identifier && (t.quoted || !isReserved(t.text));
  }
  // Table names may be written as owner-less dotted names only in brackets.
  std::string tableName() { return name(); }

  // ---- statements ----

  // "PARAMETERS name type [(size)], ...;" as Access writes before a query
  // that asks for values: the names declared, in order.
  std::vector<std::string> parameters() {
    std::vector<std::string> names;
    if (!isWord("parameters")) return names;
    clause_ = "PARAMETERS";
    advance();
    do {
      const Token& t = peek();
      if (t.kind != TokenKind::Identifier) error();
      advance();
      names.push_back(t.text);
      // The type: one word (Text, Long, DateTime, ...), perhaps with a size.
      if (peek().kind != TokenKind::Identifier || peek().quoted) error();
      advance();
      if (accept("(")) {
        if (peek().kind != TokenKind::Number) error();
        advance();
        if (accept(",")) {
          if (peek().kind != TokenKind::Number) error();
          advance();
        }
        expect(")");
      }
    } while (accept(","));
    expect(";");
    return names;
  }
  Statement statementBody() {
    if (isWord("transform")) return SelectStmt{crosstab()};
    if (isWord("select")) {
      clause_ = "SELECT";
      return SelectStmt{query()};
    }
    if (isSymbol("(")) {
      clause_ = "SELECT";
      return SelectStmt{query()};
    }
    if (acceptWord("insert")) return insert();
    if (acceptWord("update")) return update();
    if (acceptWord("delete")) return del();
    if (acceptWord("create")) return create();
    if (acceptWord("drop")) return drop();
    if (acceptWord("alter")) return alter();
    if (acceptWord("begin")) {
      clause_ = "BEGIN TRANSACTION";
      acceptWord("transaction") || acceptWord("work");
      return TransactionStmt{TransactionVerb::Begin};
    }
    if (acceptWord("commit")) {
      clause_ = "COMMIT";
      acceptWord("transaction") || acceptWord("work");
      return TransactionStmt{TransactionVerb::Commit};
    }
    if (acceptWord("rollback")) {
      clause_ = "ROLLBACK";
      acceptWord("transaction") || acceptWord("work");
      return TransactionStmt{TransactionVerb::Rollback};
    }
    const Token& t = peek();
    throw SqlError(ErrorCode::Syntax,
                   msg::invalidStatement(t.kind == TokenKind::End ? "" : utf8Snippet(sql_, t.pos, 24)));
  }

  std::shared_ptr<Query> query() {
    DepthGuard g(*this);
    auto q = std::make_shared<Query>();
    q->parts.push_back(selectCoreOrParen());
    while (isWord("union")) {
      advance();
      clause_ = "UNION";
      bool all = acceptWord("all");
      acceptWord("distinct");
      q->unionAll.push_back(all);
      q->parts.push_back(selectCoreOrParen());
    }
    orderBy(*q);
    return q;
  }

  void orderBy(Query& q) {
    if (!isWord("order")) return;
    advance();
    clause_ = "ORDER BY";
    expectWord("by");
    do {
      OrderItem item;
      item.expr = expr();
      if (acceptWord("desc"))
        item.descending = true;
      else
        acceptWord("asc");
      q.orderBy.push_back(std::move(item));
    } while (accept(","));
  }

  // TRANSFORM value [AS alias] SELECT ... GROUP BY ... [ORDER BY ...]
  // PIVOT pivot [IN (heading, ...)]; Access writes ORDER BY before PIVOT,
  // after it is taken too.
  std::shared_ptr<Query> crosstab() {
    DepthGuard g(*this);
    clause_ = "TRANSFORM";
    expectWord("transform");
    auto x = std::make_shared<Crosstab>();
    x->value = expr();
    if (acceptWord("as")) x->alias = name();
    if (!isWord("select")) error();
    auto q = std::make_shared<Query>();
    q->parts.push_back(selectCore());
    SelectCore& core = q->parts[0];
    if (core.hasInto) throw SqlError(ErrorCode::Invalid, msg::crosstabInto());
    orderBy(*q);
    clause_ = "TRANSFORM";
    if (!acceptWord("pivot")) {
      const Token& t = peek();
      throw SqlError(ErrorCode::Syntax,
                     msg::crosstabWithoutPivot(t.kind == TokenKind::End ? "" : utf8Snippet(sql_, t.pos, 24)));
    }
    clause_ = "PIVOT";
    x->pivot = expr();
    // The expression parser reads `pivot IN (...)` as a test: its list is the headings.
    if (x->pivot->kind == ExprKind::InList && !x->pivot->negated) {
      ExprPtr in = std::move(x->pivot);
      x->pivot = std::move(in->args[0]);
      for (size_t i = 1; i < in->args.size(); ++i) x->headings.push_back(std::move(in->args[i]));
      x->fixedHeadings = true;
    } else if (x->pivot->kind == ExprKind::InList || x->pivot->kind == ExprKind::InSubquery) {
      throw SqlError(ErrorCode::Syntax, msg::crosstabSyntax(x->pivot->text));
    }
    if (q->orderBy.empty()) orderBy(*q);
    if (core.groupBy.empty()) throw SqlError(ErrorCode::Syntax, msg::crosstabWithoutGroupBy());
    core.crosstab = std::move(x);
    clause_ = "SELECT";
    return q;
  }

  SelectCore selectCoreOrParen() {
    if (isSymbol("(")) {
      // A parenthesised SELECT as a union member.
      advance();
      DepthGuard g(*this);
      auto inner = query();
      expect(")");
      if (inner->parts.size() != 1 || !inner->orderBy.empty()) error();
      return std::move(inner->parts[0]);
    }
    return selectCore();
  }

  SelectCore selectCore() {
    clause_ = "SELECT";
    expectWord("select");
    SelectCore core;
    // DISTINCTROW drops rows that repeat every column of their sources, which
    // distinct source rows never do: it keeps every row.
    if (acceptWord("distinct"))
      core.distinct = true;
    else if (!acceptWord("distinctrow"))
      acceptWord("all");
    if (acceptWord("top")) {
      Top top;
      const Token& t = peek();
      if (t.kind != TokenKind::Number) error();
      auto e = std::make_unique<Expr>();
      e->kind = ExprKind::Literal;
      e->literal = t.value;
      e->text = t.text;
      advance();
      top.count = std::move(e);
      top.percent = acceptWord("percent");
      core.top = std::move(top);
    }
    do {
      core.items.push_back(selectItem());
    } while (accept(","));
    if (acceptWord("into")) {
      clause_ = "INTO";
      core.into = tableName();
      core.hasInto = true;
    }
    if (acceptWord("from")) {
      clause_ = "FROM";
      do {
        core.from.push_back(joinedTable());
      } while (accept(","));
    }
    if (acceptWord("where")) {
      clause_ = "WHERE";
      core.where = expr();
    }
    if (isWord("group")) {
      advance();
      clause_ = "GROUP BY";
      expectWord("by");
      do {
        core.groupBy.push_back(expr());
      } while (accept(","));
    }
    if (acceptWord("having")) {
      clause_ = "HAVING";
      core.having = expr();
    }
    clause_ = "SELECT";
    return core;
  }

  SelectItem selectItem() {
    SelectItem item;
    if (accept("*")) {
      item.star = true;
      return item;
    }
    // t.* or [t].*
    if (peek().kind == TokenKind::Identifier && (isSymbol(".", 1) || isSymbol("!", 1)) && isSymbol("*", 2)) {
      item.star = true;
      item.starQualifier = advance().text;
      advance();
      advance();
      return item;
    }
    item.expr = expr();
    if (acceptWord("as")) item.alias = name();
    return item;
  }

  std::unique_ptr<TableRef> joinedTable() {
    DepthGuard g(*this);
    auto left = tablePrimary();
    for (;;) {
      JoinType jt;
      if (isWord("inner")) {
        advance();
        jt = JoinType::Inner;
      } else if (isWord("left")) {
        advance();
        acceptWord("outer");
        jt = JoinType::Left;
      } else if (isWord("right")) {
        advance();
        acceptWord("outer");
        jt = JoinType::Right;
      } else if (isWord("join")) {
        jt = JoinType::Inner;
      } else {
        break;
      }
      expectWord("join");
      auto right = tablePrimary();
      expectWord("on");
      auto j = std::make_unique<TableRef>();
      j->kind = TableRef::Kind::Join;
      j->join = jt;
      j->left = std::move(left);
      j->right = std::move(right);
      j->on = expr();
      left = std::move(j);
    }
    return left;
  }

  std::unique_ptr<TableRef> tablePrimary() {
    DepthGuard g(*this);
    if (accept("(")) {
      if (isWord("select")) {
        auto ref = std::make_unique<TableRef>();
        ref->kind = TableRef::Kind::Derived;
        std::string saved = clause_;
        ref->derived = query();
        clause_ = saved;
        expect(")");
        if (acceptWord("as"))
          ref->alias = name();
        else if (atName())
          ref->alias = name();
        return ref;
      }
      // Access nests joins in parentheses: (a INNER JOIN b ON ...) INNER JOIN c ON ...
      auto inner = joinedTable();
      expect(")");
      return inner;
    }
    auto ref = std::make_unique<TableRef>();
    ref->kind = TableRef::Kind::Named;
    const Token& t = peek();
    if (t.kind == TokenKind::Identifier && t.quoted && t.text.empty()) error();
    ref->name = tableName();
    if (acceptWord("as"))
      ref->alias = name();
    else if (atName())
      ref->alias = name();
    return ref;
  }

  Statement insert() {
    clause_ = "INSERT INTO";
    expectWord("into");
    InsertStmt s;
    s.table = tableName();
    if (isSymbol("(") && !isWord("select", 1)) {
      advance();
      do {
        s.columns.push_back(name());
      } while (accept(","));
      expect(")");
    }
    if (acceptWord("values")) {
      do {
        expect("(");
        std::vector<ExprPtr> row;
        do {
          row.push_back(expr());
        } while (accept(","));
        expect(")");
        s.values.push_back(std::move(row));
      } while (accept(","));
      return s;
    }
    if (isWord("select") || isSymbol("(")) {
      clause_ = "SELECT";
      s.select = query();
      return s;
    }
    error();
  }

  Statement update() {
    clause_ = "UPDATE";
    UpdateStmt s;
    s.table = tableName();
    expectWord("set");
    do {
      Assignment a;
      std::string first = name();
      if (accept(".") || accept("!")) first = name();
      a.column = first;
      expect("=");
      a.value = expr();
      s.set.push_back(std::move(a));
    } while (accept(","));
    if (acceptWord("where")) {
      clause_ = "WHERE";
      s.where = expr();
    }
    return s;
  }

  Statement del() {
    clause_ = "DELETE";
    DeleteStmt s;
    // Whole rows go whatever is listed: Access writes `DELETE T.*` or the
    // fields it showed in the design grid (`DELETE T.a, T.b FROM T`).
    if (!isWord("from")) {
      do {
        if (accept("*")) continue;
        name();
        while (accept(".") || accept("!")) {
          if (accept("*")) break;
          name();
        }
      } while (accept(","));
    }
    expectWord("from");
    clause_ = "FROM";
    s.table = tableName();
    if (acceptWord("where")) {
      clause_ = "WHERE";
      s.where = expr();
    }
    return s;
  }

  Statement create() {
    if (acceptWord("table")) {
      clause_ = "CREATE TABLE";
      CreateTableStmt s;
      s.table = tableName();
      expect("(");
      do {
        if (isWord("constraint") || isWord("primary") || isWord("unique")) {
          s.constraints.push_back(tableConstraint());
        } else {
          s.columns.push_back(columnSpec());
        }
      } while (accept(","));
      expect(")");
      return s;
    }
    clause_ = "CREATE INDEX";
    CreateIndexStmt s;
    if (acceptWord("unique")) s.unique = true;
    expectWord("index");
    s.name = name();
    expectWord("on");
    s.table = tableName();
    expect("(");
    do {
      std::string col = name();
      bool asc = true;
      if (acceptWord("desc"))
        asc = false;
      else
        acceptWord("asc");
      s.columns.emplace_back(col, asc);
    } while (accept(","));
    expect(")");
    if (acceptWord("with")) {
      do {
        if (acceptWord("primary"))
          s.primary = true;
        else if (acceptWord("ignore")) {
          expectWord("null");
          s.ignoreNulls = true;
        } else if (acceptWord("disallow")) {
          expectWord("null");
          s.disallowNull = true;
        } else {
          error();
        }
      } while (!isSymbol(";") && peek().kind != TokenKind::End);
    }
    return s;
  }

  TableConstraint tableConstraint() {
    TableConstraint c;
    if (acceptWord("constraint")) c.name = name();
    if (acceptWord("primary")) {
      expectWord("key");
      c.primaryKey = true;
    } else {
      expectWord("unique");
    }
    expect("(");
    do {
      c.columns.push_back(name());
    } while (accept(","));
    expect(")");
    return c;
  }

  int smallNumber() {
    const Token& t = peek();
    if (t.kind != TokenKind::Number || t.value.type() != DataType::Long || t.value.asInt() < 0) error();
    advance();
    return static_cast<int>(t.value.asInt());
  }

  ColumnSpec columnSpec() {
    ColumnSpec c;
    c.def.name = name();
    columnType(c.def);
    for (;;) {
      if (acceptWord("not")) {
        expectWord("null");
        c.def.required = true;
      } else if (acceptWord("null")) {
      } else if (acceptWord("primary")) {
        expectWord("key");
        c.primaryKey = true;
      } else if (acceptWord("unique")) {
        c.unique = true;
      } else if (acceptWord("constraint")) {
        c.constraintName = name();
      } else {
        break;
      }
    }
    return c;
  }

  void columnType(storage::ColumnDef& d) {
    const Token& t = peek();
    if (t.kind != TokenKind::Identifier) error();
    std::string ty = foldCase(t.text);
    advance();
    auto sized = [&](uint16_t deflt) -> uint16_t {
      if (accept("(")) {
        int n = smallNumber();
        expect(")");
        if (n < 1 || n > 255) error();
        return static_cast<uint16_t>(n);
      }
      return deflt;
    };
    if (ty == "text" || ty == "varchar" || ty == "char" || ty == "string" || ty == "alphanumeric" ||
        ty == "nvarchar" || ty == "nchar" || ty == "character") {
      if (ty == "character" && acceptWord("varying")) {
      }
      d.type = DataType::Text;
      d.size = sized(255);
      d.fixedLength = ty == "char" || ty == "nchar";
    } else if (ty == "memo" || ty == "longtext" || ty == "longchar" || ty == "note" || ty == "ntext") {
      d.type = DataType::Memo;
      d.size = 0;
    } else if (ty == "byte" || ty == "tinyint") {
      d.type = DataType::Byte;
      d.size = 1;
    } else if (ty == "short" || ty == "smallint" || ty == "integer2") {
      d.type = DataType::Integer;
      d.size = 2;
    } else if (ty == "integer" || ty == "int" || ty == "long" || ty == "integer4") {
      d.type = DataType::Long;
      d.size = 4;
    } else if (ty == "single" || ty == "real" || ty == "float4" || ty == "ieeesingle") {
      d.type = DataType::Single;
      d.size = 4;
    } else if (ty == "double" || ty == "float" || ty == "float8" || ty == "ieeedouble" || ty == "number") {
      d.type = DataType::Double;
      d.size = 8;
      if (ty == "double") acceptWord("precision");
    } else if (ty == "currency" || ty == "money") {
      d.type = DataType::Currency;
      d.size = 8;
    } else if (ty == "datetime" || ty == "date" || ty == "time" || ty == "timestamp") {
      d.type = DataType::DateTime;
      d.size = 8;
    } else if (ty == "bit" || ty == "yesno" || ty == "logical" || ty == "logical1" || ty == "boolean") {
      d.type = DataType::Boolean;
      d.size = 1;
    } else if (ty == "counter" || ty == "autoincrement" || ty == "identity") {
      d.type = DataType::Long;
      d.size = 4;
      d.autoNumber = true;
      if (accept("(")) {  // seed and increment are accepted and left to the store
        smallNumber();
        if (accept(",")) smallNumber();
        expect(")");
      }
    } else if (ty == "guid" || ty == "uniqueidentifier") {
      d.type = DataType::Guid;
      d.size = 16;
    } else if (ty == "longbinary" || ty == "oleobject" || ty == "general" || ty == "image") {
      d.type = DataType::LongBinary;
      d.size = 0;
    } else if (ty == "binary" || ty == "varbinary") {
      d.type = DataType::Binary;
      d.size = sized(255);
    } else if (ty == "decimal" || ty == "numeric" || ty == "dec") {
      d.type = DataType::Decimal;
      d.size = 17;
      d.precision = 18;
      d.scale = 0;
      if (accept("(")) {
        int p = smallNumber();
        int s = 0;
        if (accept(",")) s = smallNumber();
        expect(")");
        if (p < 1 || p > 28 || s > p) error();
        d.precision = static_cast<uint8_t>(p);
        d.scale = static_cast<uint8_t>(s);
      }
    } else {
      --pos_;
      error();
    }
  }

  Statement drop() {
    if (acceptWord("table")) {
      clause_ = "DROP TABLE";
      DropTableStmt s;
      s.table = tableName();
      return s;
    }
    clause_ = "DROP INDEX";
    expectWord("index");
    DropIndexStmt s;
    s.name = name();
    expectWord("on");
    s.table = tableName();
    return s;
  }

  Statement alter() {
    clause_ = "ALTER TABLE";
    expectWord("table");
    std::string table = tableName();
    if (acceptWord("add")) {
      acceptWord("column");
      AlterAddColumnStmt s;
      s.table = table;
      s.column = columnSpec();
      return s;
    }
    if (acceptWord("drop")) {
      acceptWord("column");
      AlterDropColumnStmt s;
      s.table = table;
      s.column = name();
      return s;
    }
    error();
  }

  // ---- expressions, lowest precedence first ----
  ExprPtr binary(Op op, ExprPtr a, ExprPtr b, size_t startTok) {
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Binary;
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    e->text = textFrom(startTok);
    return measured(std::move(e));
  }
  static ExprPtr measured(ExprPtr e) {
    for (const auto& a : e->args) e->height = std::max(e->height, a->height + 1);
    if (e->height > kMaxHeight) throw SqlError(ErrorCode::Syntax, msg::queryTooComplex());
    return e;
  }

  ExprPtr expr() {
    DepthGuard g(*this);
    size_t s = pos_;
    auto e = eqv();
    while (acceptWord("imp")) e = binary(Op::Imp, std::move(e), eqv(), s);
    return e;
  }
  ExprPtr eqv() {
    size_t s = pos_;
    auto e = xorExpr();
    while (acceptWord("eqv")) e = binary(Op::Eqv, std::move(e), xorExpr(), s);
    return e;
  }
  ExprPtr xorExpr() {
    size_t s = pos_;
    auto e = orExpr();
    while (acceptWord("xor")) e = binary(Op::Xor, std::move(e), orExpr(), s);
    return e;
  }
  ExprPtr orExpr() {
    size_t s = pos_;
    auto e = andExpr();
    while (acceptWord("or")) e = binary(Op::Or, std::move(e), andExpr(), s);
    return e;
  }
  ExprPtr andExpr() {
    size_t s = pos_;
    auto e = notExpr();
    while (acceptWord("and")) e = binary(Op::And, std::move(e), notExpr(), s);
    return e;
  }
  ExprPtr notExpr() {
    DepthGuard g(*this);
    size_t s = pos_;
    if (isWord("not") && !isWord("exists", 1)) {
      advance();
      auto e = std::make_unique<Expr>();
      e->kind = ExprKind::Unary;
      e->op = Op::Not;
      e->args.push_back(notExpr());
      e->text = textFrom(s);
      return measured(std::move(e));
    }
    return comparison();
  }

  ExprPtr comparison() {
    size_t s = pos_;
    auto e = concat();
    for (;;) {
      static const std::pair<const char*, Op> ops[] = {{"=", Op::Eq},  {"<>", Op::Ne}, {"<=", Op::Le},
                                                       {">=", Op::Ge}, {"<", Op::Lt},  {">", Op::Gt}};
      bool matched = false;
      for (const auto& [sym, op] : ops) {
        if (accept(sym)) {
          e = binary(op, std::move(e), concat(), s);
          matched = true;
          break;
        }
      }
      if (matched) continue;
      bool negated = false;
      size_t save = pos_;
      if (acceptWord("not")) negated = true;
      if (acceptWord("like")) {
        auto l = std::make_unique<Expr>();
        l->kind = ExprKind::Like;
        l->negated = negated;
        l->args.push_back(std::move(e));
        l->args.push_back(concat());
        l->text = textFrom(s);
        e = measured(std::move(l));
        continue;
      }
      if (acceptWord("between")) {
        auto b = std::make_unique<Expr>();
        b->kind = ExprKind::Between;
        b->negated = negated;
        b->args.push_back(std::move(e));
        b->args.push_back(concat());
        expectWord("and");
        b->args.push_back(concat());
        b->text = textFrom(s);
        e = measured(std::move(b));
        continue;
      }
      if (acceptWord("in")) {
        expect("(");
        auto in = std::make_unique<Expr>();
        in->negated = negated;
        in->args.push_back(std::move(e));
        if (isWord("select")) {
          in->kind = ExprKind::InSubquery;
          std::string saved = clause_;
          in->subquery = query();
          clause_ = saved;
        } else {
          in->kind = ExprKind::InList;
          do {
            in->args.push_back(expr());
          } while (accept(","));
        }
        expect(")");
        in->text = textFrom(s);
        e = measured(std::move(in));
        continue;
      }
      if (negated) {
        pos_ = save;
        break;
      }
      if (acceptWord("is")) {
        auto n = std::make_unique<Expr>();
        n->kind = ExprKind::IsNull;
        n->negated = acceptWord("not");
        expectWord("null");
        n->args.push_back(std::move(e));
        n->text = textFrom(s);
        e = measured(std::move(n));
        continue;
      }
      break;
    }
    return e;
  }

  ExprPtr concat() {
    size_t s = pos_;
    auto e = additive();
    while (accept("&")) e = binary(Op::Concat, std::move(e), additive(), s);
    return e;
  }
  ExprPtr additive() {
    size_t s = pos_;
    auto e = modExpr();
    for (;;) {
      if (accept("+"))
        e = binary(Op::Add, std::move(e), modExpr(), s);
      else if (accept("-"))
        e = binary(Op::Sub, std::move(e), modExpr(), s);
      else
        break;
    }
    return e;
  }
  ExprPtr modExpr() {
    size_t s = pos_;
    auto e = intDiv();
    while (acceptWord("mod")) e = binary(Op::Mod, std::move(e), intDiv(), s);
    return e;
  }
  ExprPtr intDiv() {
    size_t s = pos_;
    auto e = multiplicative();
    while (accept("\\")) e = binary(Op::IntDiv, std::move(e), multiplicative(), s);
    return e;
  }
  ExprPtr multiplicative() {
    size_t s = pos_;
    auto e = unary();
    for (;;) {
      if (accept("*"))
        e = binary(Op::Mul, std::move(e), unary(), s);
      else if (accept("/"))
        e = binary(Op::Div, std::move(e), unary(), s);
      else
        break;
    }
    return e;
  }
  ExprPtr unary() {
    DepthGuard g(*this);
    size_t s = pos_;
    if (accept("-") || accept("+")) {
      bool neg = toks_[pos_ - 1].text == "-";
      auto e = std::make_unique<Expr>();
      e->kind = ExprKind::Unary;
      e->op = neg ? Op::Neg : Op::Plus;
      e->args.push_back(unary());
      e->text = textFrom(s);
      return measured(std::move(e));
    }
    return power();
  }
  ExprPtr power() {
    size_t s = pos_;
    auto e = primary();
    while (accept("^")) {
      ExprPtr rhs;
      if (isSymbol("-") || isSymbol("+"))
        rhs = unary();
      else
        rhs = primary();
      e = binary(Op::Pow, std::move(e), std::move(rhs), s);
    }
    return e;
  }

  ExprPtr primary() {
    DepthGuard g(*this);
    size_t s = pos_;
    const Token& t = peek();
    auto e = std::make_unique<Expr>();
    switch (t.kind) {
      case TokenKind::Number:
      case TokenKind::Date:
        e->kind = ExprKind::Literal;
        e->literal = t.value;
        advance();
        e->text = textFrom(s);
        return e;
      case TokenKind::String:
        e->kind = ExprKind::Literal;
        e->literal = Value::text(t.text);
        advance();
        e->text = textFrom(s);
        return e;
      case TokenKind::Symbol:
        if (t.text == "(") {
          advance();
          if (isWord("select")) {
            e->kind = ExprKind::Subquery;
            std::string saved = clause_;
            e->subquery = query();
            clause_ = saved;
            expect(")");
            e->text = textFrom(s);
            return e;
          }
          auto inner = expr();
          expect(")");
          return inner;
        }
        error();
      case TokenKind::Identifier:
        break;
      case TokenKind::End:
        error();
    }
    if (!t.quoted) {
      if (isWord("null")) {
        advance();
        e->kind = ExprKind::Literal;
        e->text = "Null";
        return e;
      }
      if (std::optional<bool> truth = booleanWord(t.text)) {
        e->kind = ExprKind::Literal;
        e->literal = Value::boolean(*truth);
        advance();
        e->text = textFrom(s);
        return e;
      }
      if (isWord("exists")) {
        advance();
        expect("(");
        if (!isWord("select")) error();
        e->kind = ExprKind::Exists;
        std::string saved = clause_;
        e->subquery = query();
        clause_ = saved;
        expect(")");
        e->text = textFrom(s);
        return e;
      }
      if (isWord("not") && isWord("exists", 1)) {
        advance();
        auto inner = primary();
        inner->negated = !inner->negated;
        inner->text = textFrom(s);
        return inner;
      }
      // Left, Right and Asc are keywords and also functions.
      bool function = (isWord("left") || isWord("right") || isWord("asc")) && isSymbol("(", 1);
      if (isReserved(t.text) && !function) error();
    }
    std::string first = t.text;
    advance();
    if (!t.quoted && isSymbol("(")) {
      advance();
      e->kind = ExprKind::Function;
      e->name = first;
      if (!accept(")")) {
        if (accept("*")) {
          auto star = std::make_unique<Expr>();
          star->kind = ExprKind::Star;
          star->text = "*";
          e->args.push_back(std::move(star));
        } else {
          if (acceptWord("distinct")) e->distinct = true;
          do {
            e->args.push_back(expr());
          } while (accept(","));
        }
        expect(")");
      }
      e->text = textFrom(s);
      return measured(std::move(e));
    }
    e->kind = ExprKind::Column;
    // `!` joins parts as `.` does. Only table.field can name a column; a
    // longer path (a form's control, say) keeps its parts in the qualifier,
    // matches no table and so stands for a parameter.
    e->name = first;
    while (isSymbol(".") || isSymbol("!")) {
      advance();
      const Token& c = peek();
      if (c.kind != TokenKind::Identifier) error();
      advance();
      e->qualifier = e->qualifier.empty() ? e->name : e->qualifier + "." + e->name;
      e->name = c.text;
    }
    e->text = textFrom(s);
    return e;
  }

  const std::string& sql_;
  std::vector<Token> toks_;
  size_t pos_ = 0;
  int depth_ = 0;
  std::string clause_ = "SELECT";
};

}  // namespace

Statement parseStatement(const std::string& sql) {
  Parser p(sql);
  return p.statement();
}

std::shared_ptr<Query> parseQuery(const std::string& sql) {
  Parser p(sql);
  return p.queryOnly();
}

}  // namespace jet::sql
