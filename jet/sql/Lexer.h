// Splits Jet SQL text into tokens. Keywords are not told apart here: every
// bare word is an Identifier and the parser decides by its (case-insensitive)
// spelling; a [bracketed] or `quoted` name is an Identifier flagged `quoted`
// and is never a keyword.
#pragma once

#include <string>
#include <vector>

#include "jet/core/Value.h"

namespace jet::sql {

enum class TokenKind { Identifier, Number, String, Date, Symbol, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // the name, the string's contents, or the symbol
  bool quoted = false;
  Value value;     // Number and Date literals
  size_t pos = 0;  // byte offset in the statement
  size_t end = 0;  // byte offset just past the token
};

// Throws SqlError (syntax) on an unterminated string, bracket or date.
std::vector<Token> tokenize(const std::string& sql);

}  // namespace jet::sql
