#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Generator.h"
#include "jet/storage/MemoryStore.h"

namespace mdbgen {
namespace {

std::vector<jet::Row> rowsOf(jet::storage::Store& store, const std::string& table) {
  std::vector<jet::Row> out;
  auto c = store.openTable(table)->scan();
  while (c->next()) out.push_back(c->row());
  return out;
}

TEST(Generator, SameSeedSameRowsAndIdsNumberedFromOne) {
  Options o;
  o.rows = 500;
  jet::storage::MemoryStore a, b;
  generate(a, o);
  generate(b, o);
  auto ra = rowsOf(a, o.table), rb = rowsOf(b, o.table);
  ASSERT_EQ(ra.size(), 500u);
  EXPECT_EQ(ra, rb);
  EXPECT_EQ(ra.front()[0], jet::Value::longInt(1));
  EXPECT_EQ(ra.back()[0], jet::Value::longInt(500));
}

TEST(Generator, DuplicateShareIsRoughlyHonouredOnTheKeyFields) {
  Options o;
  o.rows = 4000;
  o.duplicateShare = 0.3;
  std::set<std::pair<std::string, std::string>> keys;
  for (uint64_t i = 0; i < o.rows; ++i) {
    jet::Row r = generatedRow(o, i);
    keys.insert({r[0].asText(), r[1].asText()});
  }
  double share = 1.0 - static_cast<double>(keys.size()) / static_cast<double>(o.rows);
  EXPECT_GT(share, 0.25);
  EXPECT_LT(share, 0.35);
}

TEST(Generator, KeylessDuplicatesAreWholeRowCopies) {
  Options o;
  o.rows = 2000;
  o.keyless = true;
  o.duplicateShare = 0.5;
  std::map<std::string, jet::Row> byName;
  size_t copies = 0;
  for (uint64_t i = 0; i < o.rows; ++i) {
    jet::Row r = generatedRow(o, i);
    auto [it, inserted] = byName.emplace(r[0].asText(), r);
    if (!inserted) {
      ++copies;
      EXPECT_EQ(it->second, r);
    }
  }
  EXPECT_GT(copies, 800u);
  EXPECT_EQ(schemaFor(o).indexes.size(), 0u);
}

TEST(Generator, RowsCarryCjkTextAndSomeLongMemos) {
  Options o;
  o.rows = 300;
  bool cjk = false, longMemo = false;
  for (uint64_t i = 0; i < o.rows; ++i) {
    jet::Row r = generatedRow(o, i);
    cjk |= r[2].asText().find("京") != std::string::npos || r[2].asText().find("海") != std::string::npos;
    longMemo |= !r.back().isNull() && r.back().asText().size() > 8000;
  }
  EXPECT_TRUE(cjk);
  EXPECT_TRUE(longMemo);
}

TEST(Generator, ShortMemosLeaveTheOtherFieldsAsTheyWere) {
  Options full, brief;
  full.rows = brief.rows = 300;
  brief.longMemos = false;
  size_t longest = 0, memos = 0;
  for (uint64_t i = 0; i < brief.rows; ++i) {
    jet::Row a = generatedRow(full, i), b = generatedRow(brief, i);
    ASSERT_EQ(a.size(), b.size());
    for (size_t f = 0; f + 1 < a.size(); ++f) EXPECT_TRUE(a[f] == b[f]) << i << ":" << f;
    EXPECT_EQ(a.back().isNull(), b.back().isNull());
    if (b.back().isNull()) continue;
    ++memos;
    longest = std::max(longest, b.back().asText().size());
  }
  EXPECT_GT(memos, 150u);
  EXPECT_LT(longest, 600u);
}

}  // namespace
}  // namespace mdbgen
