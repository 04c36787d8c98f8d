#include "Output.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

#include "jet/ado/ValueText.h"
#include "jet/core/Text.h"

namespace quellmark {

namespace {

// Bytes JSON must escape, and those CSV must quote a field for.
constexpr bool needsJsonEscape(unsigned char c) {
  return c < 0x20 || c == '"' || c == '\\';
}
constexpr bool needsCsvQuotes(char c) {
  return c == ',' || c == '"' || c == '\r' || c == '\n';
}

// Eight bytes at a time: whether any byte of `word` equals `byte`, or is
// below `limit` (at most 0x80). Long texts are mostly bytes that pass
// unchanged, and testing them a word at a time is what keeps the formats
// cheaper than the scan that feeds them.
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;
constexpr bool hasByte(uint64_t word, unsigned char byte) {
  uint64_t x = word ^ (kOnes * byte);
  return ((x - kOnes) & ~x & kHighs) != 0;
}
constexpr bool hasByteBelow(uint64_t word, unsigned char limit) {
  return ((word - kOnes * limit) & ~word & kHighs) != 0;
}
uint64_t wordAt(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Index of the first byte at or after `from` that JSON must escape, or size.
size_t nextJsonEscape(std::string_view s, size_t from) {
  size_t i = from;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w = wordAt(s.data() + i);
    if (hasByteBelow(w, 0x20) || hasByte(w, '"') || hasByte(w, '\\')) break;
  }
  while (i < s.size() && !needsJsonEscape(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// Index of the first byte that makes CSV quote the field, or size.
size_t firstCsvSpecial(std::string_view s) {
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w = wordAt(s.data() + i);
    if (hasByte(w, ',') || hasByte(w, '"') || hasByte(w, '\r') || hasByte(w, '\n')) break;
  }
  while (i < s.size() && !needsCsvQuotes(s[i])) ++i;
  return i;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  size_t run = 0;  // start of the bytes copied as they are
  for (size_t i = nextJsonEscape(utf8, 0); i < utf8.size(); i = nextJsonEscape(utf8, i + 1)) {
    auto c = static_cast<unsigned char>(utf8[i]);
    out.append(utf8.data() + run, i - run);
    run = i + 1;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default: {
        static const char hex[] = "0123456789abcdef";
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 15];
      }
    }
  }
  out.append(utf8.data() + run, utf8.size() - run);
  out += '"';
}

std::string jsonString(const std::string& utf8) {
  std::string out;
  appendJsonString(out, utf8);
  return out;
}

void appendJsonValue(std::string& out, const jet::Value& v, std::string& scratch) {
  using jet::DataType;
  switch (v.type()) {
    case DataType::Null:
      out += "null";
      return;
    case DataType::Boolean:
      out += v.asBool() ? "true" : "false";
      return;
    case DataType::Text:
    case DataType::Memo:
      appendJsonString(out, v.asText());
      return;
    default:
      break;
  }
  scratch.clear();
  switch (v.type()) {
    case DataType::DateTime:
      jet::ado::appendDateTimeText(scratch, v.asDouble());
      appendJsonString(out, scratch);
      return;
    case DataType::Binary:
    case DataType::LongBinary:
      appendJsonString(out, jet::ado::hexText(v.asBytes()));
      return;
    case DataType::Guid:
      appendJsonString(out, jet::ado::guidText(v.asGuid()));
      return;
    default:
      jet::ado::appendNumberText(scratch, v);
      // JSON has no NaN or infinities.
      if (scratch == "NaN" || scratch == "Infinity" || scratch == "-Infinity")
        appendJsonString(out, scratch);
      else
        out += scratch;
  }
}

std::string jsonValue(const jet::Value& v) {
  std::string out, scratch;
  appendJsonValue(out, v, scratch);
  return out;
}

void appendCsvField(std::string& out, std::string_view text) {
  size_t first = firstCsvSpecial(text);
  if (first == text.size()) {
    out += text;
    return;
  }
  out += '"';
  out.append(text.data(), first);
  size_t run = first;
  for (size_t i = first; i < text.size(); ++i) {
    if (text[i] != '"') continue;
    out.append(text.data() + run, i + 1 - run);  // up to this quote, which is then doubled
    run = i;
  }
  out.append(text.data() + run, text.size() - run);
  out += '"';
}

std::string csvField(const std::string& text) {
  std::string out;
  appendCsvField(out, text);
  return out;
}

std::vector<std::string> uniqueKeys(const std::vector<std::string>& names) {
  std::set<std::string> taken(names.begin(), names.end());
  std::set<std::string> given;
  std::vector<std::string> keys;
  for (const std::string& name : names) {
    std::string key = name;
    for (int n = 2; given.count(key); ++n) {
      key = name + "_" + std::to_string(n);
      if (taken.count(key)) key = name;  // a column of that name comes later; try the next number
    }
    given.insert(key);
    keys.push_back(key);
  }
  return keys;
}

std::string visibleText(const std::string& utf8) {
  std::string out;
  for (char32_t c : jet::utf8ToUtf32(utf8)) {
    switch (c) {
      case '\n':
        out += "\\n";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\t':
        out += "\\t";
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned>(c));
      out += buf;
    } else if (c >= 0x80 && c < 0xA0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    } else {
      jet::appendUtf8(out, c);
    }
  }
  return out;
}

size_t displayWidth(const std::string& utf8) {
  size_t w = 0;
  for (char32_t c : jet::utf8ToUtf32(utf8)) {
    bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    w += wide ? 2 : 1;
  }
  return w;
}

namespace {

// One line of at most `columns` terminal columns; longer text ends in "…".
std::string fitted(const std::string& text, size_t columns) {
  std::u32string in = jet::utf8ToUtf32(text);
  std::string out;
  size_t used = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    std::string one;
    jet::appendUtf8(one, in[i]);
    size_t w = displayWidth(one);
    bool last = i + 1 == in.size();
    if (used + w > columns ||
        (!last && used + w == columns && displayWidth(jet::utf32ToUtf8(in.substr(i))) > w)) {
      if (used + 1 > columns && !out.empty()) out.pop_back();
      return out + "…";
    }
    out += one;
    used += w;
  }
  return out;
}

}  // namespace

RowWriter::~RowWriter() {
  // Rows formatted before a failure still reach the output, as each row did
  // when it was written on its own.
  try {
    flushPending();
  } catch (...) {
    // A stream that cannot take them now has already failed for the user.
  }
}

void RowWriter::flushPending() {
  if (pending_.empty()) return;
  out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
}

void RowWriter::fields(const std::vector<jet::sql::ResultField>& fields) {
  fields_ = fields;
  std::vector<std::string> names;
  for (const auto& f : fields) names.push_back(f.name);
  jsonKeys_.clear();
  for (const std::string& key : uniqueKeys(names)) jsonKeys_.push_back(jsonString(key) + ":");
  if (format_ == Format::Csv) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i) pending_ += ',';
      appendCsvField(pending_, fields[i].name);
    }
    pending_ += '\n';
    flushPending();
  }
}

void RowWriter::row(const jet::Row& row) {
  switch (format_) {
    case Format::Json:
      pending_ += '{';
      for (size_t i = 0; i < row.size() && i < fields_.size(); ++i) {
        if (i) pending_ += ',';
        pending_ += jsonKeys_[i];
        appendJsonValue(pending_, row[i], scratch_);
      }
      pending_ += "}\n";
      break;
    case Format::Csv:
      for (size_t i = 0; i < row.size(); ++i) {
        if (i) pending_ += ',';
        const jet::Value& v = row[i];
        if (v.isText()) {
          // Null stays an empty field; empty text is quoted so the two differ.
          if (v.asText().empty())
            pending_ += "\"\"";
          else
            appendCsvField(pending_, v.asText());
        } else {
          scratch_.clear();
          jet::ado::appendDisplayText(scratch_, v);
          appendCsvField(pending_, scratch_);
        }
      }
      pending_ += '\n';
      break;
    case Format::Table: {
      std::vector<std::string> cells;
      for (const jet::Value& v : row)
        cells.push_back(v.isNull() ? "NULL" : visibleText(jet::ado::displayText(v)));
      table_.push_back(std::move(cells));
      return;
    }
  }
  if (pending_.size() >= kFlushBytes) flushPending();
}

void RowWriter::finish() {
  if (format_ != Format::Table) {
    flushPending();
    out_.flush();
    return;
  }
  std::vector<size_t> width(fields_.size(), 0);
  std::vector<std::string> names;
  for (const auto& f : fields_) names.push_back(visibleText(f.name));
  for (size_t i = 0; i < names.size(); ++i) width[i] = displayWidth(names[i]);
  for (const auto& r : table_)
    for (size_t i = 0; i < r.size() && i < width.size(); ++i)
      width[i] = std::max(width[i], std::min<size_t>(displayWidth(r[i]), 60));
  auto line = [&](const std::vector<std::string>& cells) {
    std::string s;
    for (size_t i = 0; i < cells.size() && i < width.size(); ++i) {
      std::string c = fitted(cells[i], width[i]);
      size_t w = displayWidth(c);
      s += (i ? " | " : "") + c + std::string(w < width[i] ? width[i] - w : 0, ' ');
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    out_ << s << "\n";
  };
  line(names);
  std::string rule;
  for (size_t i = 0; i < width.size(); ++i) rule += (i ? "-+-" : "") + std::string(width[i], '-');
  out_ << rule << "\n";
  for (const auto& r : table_) line(r);
  out_ << "(" << table_.size() << (table_.size() == 1 ? " row)\n" : " rows)\n");
  out_.flush();
}

}  // namespace quellmark
