#include "db/DupStatements.h"

#include <cctype>
#include <vector>

namespace qm::db {

std::string gridStatement(const std::string& table) {
  return "Select * from [" + table + "]";
}

std::string duplicateReportStatement(const std::string& table, const std::string& fields) {
  return "Select " + fields + ",Count(*) From [" + table + "] Group By " + fields + " Having Count(*) > 1";
}

std::string keepLowestStatement(const std::string& table, const std::string& id, const std::string& fields) {
  return "Delete from [" + table + "] Where " + id + " Not In (Select min(" + id + ") From [" + table +
         "] Group By " + fields + ")";
}

std::string keepHighestStatement(const std::string& table, const std::string& id, const std::string& fields) {
  return "delete from [" + table + "] where " + id + " not in (select max(" + id + ") from [" + table +
         "] group by " + fields + ")";
}

std::array<std::string, 4> keylessRebuildStatements(const std::string& table) {
  const std::string side = table + "_new";
  return {
      "select * INTO [" + side + "] from (select distinct * from [" + table + "])",
      "Drop table [" + table + "]",
      "select * INTO [" + table + "] from (select distinct * from [" + side + "])",
      "Drop table [" + side + "]",
  };
}

std::string dropTableStatement(const std::string& table) {
  return "drop table [" + table + "]";
}

std::string backupTableStatement(const std::string& table) {
  return "SELECT * into [" + table + "_Bak" + "] FROM [" + table + "]";
}

std::string repeatedIdStatement(const std::string& table, const std::string& id) {
  return "Select " + id + " From [" + table + "] Group By " + id + " Having Count(*) > 1";
}

std::string duplicateTotalsStatement(const std::string& table, const std::string& fields) {
  return "Select Count(*), Sum([GroupSize]) From (Select Count(*) As [GroupSize] From [" + table +
         "] Group By " + fields + " Having Count(*) > 1)";
}

std::string nullIdStatement(const std::string& table, const std::string& id) {
  return "Select " + id + " From [" + table + "] Where " + id + " Is Null";
}

namespace {

bool wordChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c >= 0x80;
}

bool sameWord(const std::string& word, const char* keyword) {
  size_t i = 0;
  for (; keyword[i]; ++i)
    if (i >= word.size() || std::tolower(static_cast<unsigned char>(word[i])) != keyword[i]) return false;
  return i == word.size();
}

// Splits the statement into words outside quotes, brackets and comments,
// noting the parenthesis depth of each.
struct Word {
  std::string text;
  int depth;
};

std::vector<Word> topWords(const std::string& sql) {
  std::vector<Word> words;
  int depth = 0;
  size_t i = 0;
  while (i < sql.size()) {
    unsigned char c = static_cast<unsigned char>(sql[i]);
    if (c == '\'' || c == '"') {
      size_t end = sql.find(static_cast<char>(c), i + 1);
      i = end == std::string::npos ? sql.size() : end + 1;
    } else if (c == '[') {
      size_t end = sql.find(']', i + 1);
      i = end == std::string::npos ? sql.size() : end + 1;
    } else if (c == '(') {
      ++depth, ++i;
    } else if (c == ')') {
      --depth, ++i;
    } else if (wordChar(c)) {
      size_t start = i;
      while (i < sql.size() && wordChar(static_cast<unsigned char>(sql[i]))) ++i;
      words.push_back({sql.substr(start, i - start), depth});
    } else {
      ++i;
    }
  }
  return words;
}

}  // namespace

bool returnsRows(const std::string& sql) {
  std::vector<Word> words = topWords(sql);
  // A statement may be wrapped in parentheses; its first word decides.
  if (words.empty()) return false;
  int outer = words.front().depth;
  if (!sameWord(words.front().text, "select") && !sameWord(words.front().text, "transform")) return false;
  for (const Word& w : words)
    if (w.depth == outer && sameWord(w.text, "into")) return false;
  return true;
}

}  // namespace qm::db
