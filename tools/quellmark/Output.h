// Writing result rows in the tool's three formats.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "jet/core/Value.h"
#include "jet/sql/Session.h"

namespace quellmark {

enum class Format { Table, Csv, Json };

// Streams rows as they come (csv, json); the table format keeps them to align columns.
class RowWriter {
 public:
  RowWriter(std::ostream& out, Format format) : out_(out), format_(format) {}
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;
  ~RowWriter();
  void fields(const std::vector<jet::sql::ResultField>& fields);
  void row(const jet::Row& row);
  void finish();

 private:
  // Rows are formatted into one buffer and written in blocks of about this
  // size: a write call per value costs more than formatting the value.
  static constexpr size_t kFlushBytes = 64 * 1024;
  void flushPending();

  std::ostream& out_;
  Format format_;
  std::vector<jet::sql::ResultField> fields_;
  std::vector<std::string> jsonKeys_;  // each already written as "key":
  std::string pending_;
  std::string scratch_;  // one non-text value's text
  std::vector<std::vector<std::string>> table_;
};

// One JSON value: null, numbers, true/false, dates as "YYYY-MM-DD HH:MM:SS",
// binary as lowercase hex, GUIDs in braces, text escaped.
std::string jsonValue(const jet::Value& v);
std::string jsonString(const std::string& utf8);
std::string csvField(const std::string& text);
// The same appended to `out`; `scratch` holds a number's or a date's text on the way.
void appendJsonValue(std::string& out, const jet::Value& v, std::string& scratch);
void appendJsonString(std::string& out, std::string_view utf8);
void appendCsvField(std::string& out, std::string_view text);
// The keys of a JSON object for these column names, none repeated: a name
// that came before keeps its place and a repeat becomes name_2, name_3, ...
// (the first number that names no column), so "a, a" gives "a", "a_2".
std::vector<std::string> uniqueKeys(const std::vector<std::string>& names);
// Text as the table format shows it: control characters written as escapes
// (\n, \t, \r, \x1b, \u0085 ...) so that no value can move the cursor,
// recolour or clear the user's terminal.
std::string visibleText(const std::string& utf8);
// Columns a text takes on a terminal (CJK and full-width forms take two).
size_t displayWidth(const std::string& utf8);

}  // namespace quellmark
