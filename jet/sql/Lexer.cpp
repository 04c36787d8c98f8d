#include "jet/sql/Lexer.h"

#include <cctype>
#include <cstdlib>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/DateTime.h"

namespace jet::sql {

namespace {

bool isWordStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool isWordChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c >= 0x80;
}

[[noreturn]] void fail(const std::string& sql, size_t pos) {
  throw SqlError(ErrorCode::Syntax, msg::syntaxError(utf8Snippet(sql, pos, 20)));
}

Value numberValue(const std::string& text, bool isFloat) {
  if (!isFloat) {
    // Whole numbers that fit a Long are Long; larger ones become Double as in Jet.
    if (text.size() <= 10) {
      long long v = std::strtoll(text.c_str(), nullptr, 10);
      if (v <= 2147483647LL) return Value::longInt(static_cast<int32_t>(v));
    }
  }
  return Value::dbl(std::strtod(text.c_str(), nullptr));
}

}  // namespace

std::vector<Token> tokenize(const std::string& sql) {
  std::vector<Token> out;
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(sql[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    Token t;
    t.pos = i;
    if (isWordStart(c)) {
      size_t j = i;
      while (j < n && isWordChar(static_cast<unsigned char>(sql[j]))) ++j;
      t.kind = TokenKind::Identifier;
      t.text = sql.substr(i, j - i);
      i = j;
    } else if (std::isdigit(c) ||
               (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
      size_t j = i;
      bool isFloat = false;
      while (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
      if (j < n && sql[j] == '.') {
        isFloat = true;
        ++j;
        while (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
      }
      if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
        size_t k = j + 1;
        if (k < n && (sql[k] == '+' || sql[k] == '-')) ++k;
        if (k < n && std::isdigit(static_cast<unsigned char>(sql[k]))) {
          isFloat = true;
          j = k;
          while (j < n && std::isdigit(static_cast<unsigned char>(sql[j]))) ++j;
        }
      }
      t.kind = TokenKind::Number;
      t.text = sql.substr(i, j - i);
      t.value = numberValue(t.text, isFloat);
      i = j;
    } else if (c == '\'' || c == '"') {
      char quote = static_cast<char>(c);
      size_t j = i + 1;
      std::string s;
      for (;;) {
        if (j >= n) fail(sql, i);
        if (sql[j] == quote) {
          if (j + 1 < n && sql[j + 1] == quote) {
            s += quote;
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        s += sql[j++];
      }
      t.kind = TokenKind::String;
      t.text = std::move(s);
      i = j;
    } else if (c == '[' || c == '`') {
      char close = c == '[' ? ']' : '`';
      size_t j = sql.find(close, i + 1);
      if (j == std::string::npos) fail(sql, i);
      t.kind = TokenKind::Identifier;
      t.quoted = true;
      t.text = sql.substr(i + 1, j - i - 1);
      i = j + 1;
    } else if (c == '#') {
      size_t j = sql.find('#', i + 1);
      if (j == std::string::npos) fail(sql, i);
      std::string body = sql.substr(i + 1, j - i - 1);
      auto d = parseDateText(body, DateOrder::MonthFirst);
      if (!d) fail(sql, i);
      t.kind = TokenKind::Date;
      t.text = body;
      t.value = Value::dateTime(*d);
      i = j + 1;
    } else {
      static const char* const twoChar[] = {"<=", ">=", "<>", "!="};
      t.kind = TokenKind::Symbol;
      for (const char* s : twoChar) {
        if (sql.compare(i, 2, s) == 0) t.text = s;
      }
      if (t.text.empty()) {
        static const std::string single = "=<>+-*/\\^&(),.;!?%";
        if (single.find(static_cast<char>(c)) == std::string::npos) fail(sql, i);
        t.text = std::string(1, static_cast<char>(c));
      }
      if (t.text == "!=") fail(sql, i);
      i += t.text.size();
    }
    t.end = i;
    out.push_back(std::move(t));
  }
  Token end;
  end.kind = TokenKind::End;
  end.pos = n;
  end.end = n;
  out.push_back(end);
  return out;
}

}  // namespace jet::sql
