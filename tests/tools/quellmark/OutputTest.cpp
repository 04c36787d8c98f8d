// The tool's csv and json rows: every byte as a plain one-character-at-a-time
// writer gives it, wherever in a long text the bytes that need care fall.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/quellmark/Output.h"

namespace quellmark {
namespace {

// The formats written the obvious way, one byte at a time.
std::string plainJsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"')
      out += "\\\"";
    else if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}
std::string plainCsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// Texts of 0 to 40 bytes with one special byte at each position, over CJK
// and Latin-1 filler whose bytes are at or above 0x80.
std::vector<std::string> probes() {
  std::vector<std::string> out;
  const std::string filler = "ab表cdÅ efgh重复 ijk";
  const std::string specials[] = {",",    "\"",   "\r", "\n", "\\", "\t", std::string(1, '\0'),
                                  "\x1f", "\x7f", " "};
  for (size_t length = 0; length <= 40; ++length) {
    std::string base;
    while (base.size() < length) base += filler;
    base.resize(length);
    out.push_back(base);
    for (size_t at = 0; at < length; ++at) {
      for (const std::string& special : specials) {
        std::string s = base;
        s.replace(at, 1, special);
        out.push_back(s);
      }
    }
  }
  return out;
}

TEST(Output, JsonStringsEscapeExactlyTheBytesThatNeedIt) {
  for (const std::string& s : probes()) {
    EXPECT_EQ(jsonString(s), plainJsonString(s)) << s;
    std::string appended = "x";
    appendJsonString(appended, s);
    EXPECT_EQ(appended, "x" + plainJsonString(s));
  }
}

TEST(Output, CsvFieldsQuoteExactlyWhenNeeded) {
  for (const std::string& s : probes()) EXPECT_EQ(csvField(s), plainCsvField(s)) << s;
  EXPECT_EQ(csvField("say \"hi\", twice"), "\"say \"\"hi\"\", twice\"");
  EXPECT_EQ(csvField("\"\"\"\"\"\"\"\"\""), "\"" + std::string(18, '"') + "\"");
}

TEST(Output, JsonValuesOfEveryKind) {
  EXPECT_EQ(jsonValue(jet::Value()), "null");
  EXPECT_EQ(jsonValue(jet::Value::boolean(false)), "false");
  EXPECT_EQ(jsonValue(jet::Value::longInt(-7)), "-7");
  EXPECT_EQ(jsonValue(jet::Value::currency(-125000)), "-12.5");
  EXPECT_EQ(jsonValue(jet::Value::dbl(0.1)), "0.1");
  EXPECT_EQ(jsonValue(jet::Value::dbl(1.0 / 0.0)), "\"Infinity\"");
  EXPECT_EQ(jsonValue(jet::Value::dateTime(36925.5)), "\"2001-02-03 12:00:00\"");
  EXPECT_EQ(jsonValue(jet::Value::binary({0x00, 0xff})), "\"00ff\"");
  EXPECT_EQ(jsonValue(jet::Value::memo("a\"b")), "\"a\\\"b\"");
}

std::vector<jet::sql::ResultField> fieldsNamed(const std::vector<std::string>& names) {
  std::vector<jet::sql::ResultField> out;
  for (const auto& n : names) out.push_back({n, jet::DataType::Text, 255});
  return out;
}

TEST(Output, CsvRowsKeepNullAndEmptyTextApart) {
  std::ostringstream out;
  RowWriter w(out, Format::Csv);
  w.fields(fieldsNamed({"a", "b,c", "d", "e"}));
  w.row({jet::Value(), jet::Value::text(""), jet::Value::dateTime(36925), jet::Value::boolean(true)});
  w.row(
      {jet::Value::text("x\ny"), jet::Value::currency(10000), jet::Value::dbl(-0.5), jet::Value::longInt(3)});
  w.finish();
  EXPECT_EQ(out.str(), "a,\"b,c\",d,e\n,\"\",2001-02-03,True\n\"x\ny\",1,-0.5,3\n");
}

TEST(Output, JsonRowsUseUniqueKeys) {
  std::ostringstream out;
  RowWriter w(out, Format::Json);
  w.fields(fieldsNamed({"a", "a", "q\""}));
  w.row({jet::Value::longInt(1), jet::Value(), jet::Value::text("表")});
  w.finish();
  EXPECT_EQ(out.str(), "{\"a\":1,\"a_2\":null,\"q\\\"\":\"表\"}\n");
}

TEST(Output, ManyRowsArriveWholeAndInOrder) {
  std::ostringstream out;
  std::string expected = "n,t\n";
  {
    RowWriter w(out, Format::Csv);
    w.fields(fieldsNamed({"n", "t"}));
    for (int i = 0; i < 20000; ++i) {
      std::string t = "行 " + std::to_string(i) + (i % 3 ? "" : ", quoted");
      w.row({jet::Value::longInt(i), jet::Value::text(t)});
      expected += std::to_string(i) + "," + plainCsvField(t) + "\n";
    }
    // Rows already formatted reach the stream even when finish() is never
    // called, as after a failure part way through a query.
  }
  EXPECT_EQ(out.str(), expected);
}

}  // namespace
}  // namespace quellmark
