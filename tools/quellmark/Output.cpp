#include "Output.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "jet/ado/ValueText.h"
#include "jet/core/Text.h"

namespace quellmark {

std::string jsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
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
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string jsonValue(const jet::Value& v) {
  using jet::DataType;
  switch (v.type()) {
    case DataType::Null:
      return "null";
    case DataType::Boolean:
      return v.asBool() ? "true" : "false";
    case DataType::DateTime:
      return jsonString(jet::ado::dateTimeText(v.asDouble()));
    case DataType::Text:
    case DataType::Memo:
      return jsonString(v.asText());
    case DataType::Binary:
    case DataType::LongBinary:
      return jsonString(jet::ado::hexText(v.asBytes()));
    case DataType::Guid:
      return jsonString(jet::ado::guidText(v.asGuid()));
    default: {
      std::string n = jet::ado::numberText(v);
      // JSON has no NaN or infinities.
      if (n == "NaN" || n == "Infinity" || n == "-Infinity") return jsonString(n);
      return n;
    }
  }
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
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

void RowWriter::fields(const std::vector<jet::sql::ResultField>& fields) {
  fields_ = fields;
  std::vector<std::string> names;
  for (const auto& f : fields) names.push_back(f.name);
  jsonKeys_ = uniqueKeys(names);
  if (format_ == Format::Csv) {
    for (size_t i = 0; i < fields.size(); ++i) out_ << (i ? "," : "") << csvField(fields[i].name);
    out_ << "\n";
  }
}

void RowWriter::row(const jet::Row& row) {
  switch (format_) {
    case Format::Json:
      out_ << "{";
      for (size_t i = 0; i < row.size() && i < fields_.size(); ++i)
        out_ << (i ? "," : "") << jsonString(jsonKeys_[i]) << ":" << jsonValue(row[i]);
      out_ << "}\n";
      break;
    case Format::Csv:
      for (size_t i = 0; i < row.size(); ++i) {
        // Null stays an empty field; empty text is quoted so the two differ.
        std::string t = jet::ado::displayText(row[i]);
        out_ << (i ? "," : "") << (row[i].isText() && t.empty() ? "\"\"" : csvField(t));
      }
      out_ << "\n";
      break;
    case Format::Table: {
      std::vector<std::string> cells;
      for (const jet::Value& v : row)
        cells.push_back(v.isNull() ? "NULL" : visibleText(jet::ado::displayText(v)));
      table_.push_back(std::move(cells));
      break;
    }
  }
}

void RowWriter::finish() {
  if (format_ != Format::Table) {
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
