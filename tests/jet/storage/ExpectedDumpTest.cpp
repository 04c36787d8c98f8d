// Every sample database read by JetDatabase agrees with an independent
// reader's dump of it (tables, columns, row counts, rows as a multiset) and
// with mdbtools' row counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "TestFiles.h"
#include "jet/core/Error.h"
#include "jet/storage/JetDatabase.h"

namespace jet::storage {
namespace {

using nlohmann::json;
using testing::allSamples;
using testing::mdbDir;
using testing::passwordOf;

std::string isoFromJetDate(double days) {
  // Jet counts days from 1899-12-30, which is 25569 days before the Unix epoch.
  auto ms = static_cast<long long>(std::llround((days - 25569.0) * 86400000.0));
  long long secs = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
  int millis = static_cast<int>(ms - secs * 1000);
  long long daysSinceEpoch = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
  long long rem = secs - daysSinceEpoch * 86400;
  // Civil date from a day count (proleptic Gregorian).
  long long z = daysSinceEpoch + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03dZ", y, m, d, rem / 3600,
                rem / 60 % 60, rem % 60, millis);
  return buf;
}

std::string decimalText(const Decimal& dec) {
  std::string digits;
  unsigned __int128 m = dec.magnitude;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  if (dec.scale > 0) {
    while (digits.size() <= dec.scale) digits.insert(digits.begin(), '0');
    digits.insert(digits.end() - dec.scale, '.');
  }
  return (dec.negative && dec.magnitude != 0 ? "-" : "") + digits;
}

// Our value in the dump's notation; every number becomes a double so that
// 0 and 0.0 compare equal.
json normalise(const Value& v) {
  switch (v.type()) {
    case DataType::Null:
      return nullptr;
    case DataType::Boolean:
      return v.asBool();
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
      return static_cast<double>(v.asInt());
    case DataType::Currency: {
      char buf[40];
      long long u = v.asInt();
      std::snprintf(buf, sizeof buf, "%s%lld.%04lld", u < 0 ? "-" : "", std::llabs(u) / 10000,
                    std::llabs(u) % 10000);
      return buf;
    }
    case DataType::Single:
    case DataType::Double:
      return v.asDouble();
    case DataType::DateTime:
      return isoFromJetDate(v.asDouble());
    case DataType::Text:
    case DataType::Memo:
      return v.asText();
    case DataType::Decimal:
      return decimalText(v.asDecimal());
    case DataType::Binary:
    case DataType::LongBinary:
      return json::binary(v.asBytes());
    case DataType::Guid: {
      const auto& b = v.asGuid().bytes;
      char buf[48];
      std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                    b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                    b[14], b[15]);
      return buf;
    }
  }
  return nullptr;
}

json normaliseExpected(const json& v) {
  if (v.is_number()) return v.get<double>();
  return v;
}

std::multiset<std::string> rowsOf(Table& t) {
  std::multiset<std::string> out;
  auto cursor = t.scan();
  while (cursor->next()) {
    json row = json::array();
    for (const Value& v : cursor->row()) row.push_back(normalise(v));
    out.insert(row.dump());
  }
  return out;
}

std::vector<std::string> userTables(Store& db) {
  std::vector<std::string> out;
  for (const auto& e : db.objects()) {
    if (e.kind == ObjectKind::Table) out.push_back(e.name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(JetDatabaseSamples, EverySampleOpensAndScansEveryTable) {
  QM_REQUIRE_TESTDATA();
  auto samples = allSamples();
  ASSERT_GE(samples.size(), 27u);
  for (const auto& s : samples) {
    SCOPED_TRACE(s);
    auto db = JetDatabase::open((mdbDir() / s).string(), passwordOf(s));
    auto objects = db->objects();
    ASSERT_FALSE(objects.empty());
    for (const auto& e : objects) {
      if (e.kind == ObjectKind::View || e.kind == ObjectKind::Procedure) continue;
      auto t = db->openTable(e.name);
      ASSERT_NE(t, nullptr) << e.name;
      uint64_t n = 0;
      auto cursor = t->scan();
      while (cursor->next()) {
        ASSERT_EQ(cursor->row().size(), t->schema().columns.size());
        ++n;
      }
      // Jet keeps the count of a user table in its definition; a scan must
      // find exactly that many. (It does not keep it exactly for MSysQueries.)
      if (e.kind == ObjectKind::Table) {
        EXPECT_EQ(n, t->rowCount()) << e.name;
      }
    }
  }
}

TEST(JetDatabaseSamples, RowsMatchTheIndependentDump) {
  QM_REQUIRE_TESTDATA();
  int compared = 0;
  for (const auto& s : allSamples()) {
    std::string file = std::filesystem::path(s).filename().string();
    std::filesystem::path expectedPath = mdbDir() / "expected" / (file + ".json");
    if (!std::filesystem::exists(expectedPath)) continue;
    SCOPED_TRACE(s);
    std::ifstream in(expectedPath);
    json expected = json::parse(in);
    auto db = JetDatabase::open((mdbDir() / s).string(), passwordOf(s));

    std::vector<std::string> expectedTables;
    for (const auto& t : expected["tables"]) expectedTables.push_back(t["name"].get<std::string>());
    std::sort(expectedTables.begin(), expectedTables.end());
    EXPECT_EQ(userTables(*db), expectedTables);

    for (const auto& et : expected["tables"]) {
      std::string name = et["name"];
      SCOPED_TRACE(name);
      auto t = db->openTable(name);
      ASSERT_NE(t, nullptr);
      EXPECT_EQ(t->rowCount(), et["rowCount"].get<uint64_t>());
      const auto& cols = t->schema().columns;
      ASSERT_EQ(cols.size(), et["columns"].size());
      for (size_t i = 0; i < cols.size(); ++i) {
        EXPECT_EQ(cols[i].name, et["columns"][i]["name"].get<std::string>());
        EXPECT_EQ(cols[i].autoNumber && cols[i].type == DataType::Long,
                  et["columns"][i]["autoLong"].get<bool>())
            << cols[i].name;
        EXPECT_EQ(!cols[i].required, et["columns"][i]["nullable"].get<bool>()) << cols[i].name;
      }
      std::multiset<std::string> want;
      for (const auto& r : et["rows"]) {
        json row = json::array();
        for (const auto& v : r) row.push_back(normaliseExpected(v));
        want.insert(row.dump());
      }
      EXPECT_EQ(rowsOf(*t), want);
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}

// mdbtools is an independent reader too; where it is installed its row
// counts must agree with ours.
TEST(JetDatabaseSamples, RowCountsAgreeWithMdbExport) {
  QM_REQUIRE_TESTDATA();
  if (std::system("mdb-export --version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "mdb-export is not installed";
  int checked = 0;
  for (const auto& s : allSamples()) {
    if (!passwordOf(s).empty()) continue;  // mdbtools cannot be given a password
    SCOPED_TRACE(s);
    auto db = JetDatabase::open((mdbDir() / s).string(), "");
    for (const auto& name : userTables(*db)) {
      std::string cmd = "mdb-export -H -R '<<ROW>>' '" + (mdbDir() / s).string() + "' '" + name + "'";
      FILE* p = popen(cmd.c_str(), "r");
      ASSERT_NE(p, nullptr);
      std::string out;
      char buf[4096];
      size_t n;
      while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
      ASSERT_EQ(pclose(p), 0) << cmd;
      uint64_t rows = 0;
      for (size_t at = out.find("<<ROW>>"); at != std::string::npos; at = out.find("<<ROW>>", at + 1)) ++rows;
      uint64_t ours = 0;
      auto cursor = db->openTable(name)->scan();
      while (cursor->next()) ++ours;
      EXPECT_EQ(ours, rows) << name;
      ++checked;
    }
  }
  EXPECT_GE(checked, 30);
}

}  // namespace
}  // namespace jet::storage
