// Proves the index page codec and the key encoder on files Access wrote: every
// index page re-encodes to its own bytes, every index's entries are in order,
// and the keys encoded from the rows (the independent reader's dump) are
// exactly the stored keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "jet/core/Error.h"
#include "jet/core/Text.h"
#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"

namespace jet::format {
namespace {

namespace fs = std::filesystem;
uint32_t getU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<uint32_t>(p[3]) << 24);
}

const fs::path kSamples = fs::path(QM_TESTDATA_DIR) / "mdb";

Bytes readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Just enough of a table definition to find each index's columns and root.
struct SampleColumn {
  std::string name;
  uint8_t type = 0;
  uint16_t number = 0;
  uint16_t lcid = 0;
  int8_t sortVersion = 0;
  uint8_t scale = 0;
};
struct SampleIndex {
  std::vector<std::pair<uint16_t, bool>> columns;  // column number, ascending
  uint32_t root = 0;
  uint8_t flags = 0;
};
struct SampleTable {
  uint32_t page = 0;
  uint32_t rowCount = 0;
  std::vector<SampleColumn> columns;
  std::vector<SampleIndex> indexes;
};

struct TdefLayout {
  bool jet3;
  uint32_t rowCount, numColumns, numRealIndexes, realIndexCounts, realIndexCountSize, columnSize;
  uint32_t colNumber, colSortOrder, colScale, realIndexSize, realIndexColumns, realIndexRoot, realIndexFlags;
};
constexpr TdefLayout kTdef4{false, 16, 45, 51, 63, 12, 25, 5, 11, 12, 52, 4, 38, 46};
constexpr TdefLayout kTdef3{true, 12, 25, 31, 43, 8, 18, 1, 9, 10, 39, 0, 34, 38};

SampleTable parseTdef(const Bytes& file, uint32_t pageSize, uint32_t first, const TdefLayout& l) {
  // The definition continues on the pages its next-page field names, each
  // after an 8-byte header.
  Bytes def;
  std::set<uint32_t> seen;
  const size_t pages = file.size() / pageSize;
  for (uint32_t pg = first; pg != 0 && pg < pages && seen.insert(pg).second;) {
    const uint8_t* p = file.data() + static_cast<size_t>(pg) * pageSize;
    def.insert(def.end(), p + (def.empty() ? 0 : 8), p + pageSize);
    pg = getU32(p + 4);
  }
  // Bounds-checked reads: a stale page of type 0x02 must not crash the scan.
  auto u8 = [&](size_t at) { return def.at(at); };
  auto u16 = [&](size_t at) { return static_cast<uint16_t>(def.at(at) | (def.at(at + 1) << 8)); };
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(u16(at) | (static_cast<uint32_t>(u16(at + 2)) << 16));
  };
  SampleTable t;
  t.page = first;
  t.rowCount = u32(l.rowCount);
  const uint16_t ncols = u16(l.numColumns);
  const uint32_t nreal = u32(l.numRealIndexes);
  size_t pos = l.realIndexCounts + nreal * l.realIndexCountSize;
  if (ncols > 255 || nreal > 64) throw std::out_of_range("not a table definition");
  for (uint16_t i = 0; i < ncols; ++i, pos += l.columnSize) {
    SampleColumn c;
    c.type = u8(pos);
    c.number = u16(pos + l.colNumber);
    c.lcid = u16(pos + l.colSortOrder);
    c.sortVersion = l.jet3 ? -1 : static_cast<int8_t>(u8(pos + l.colSortOrder + 3));
    c.scale = u8(pos + l.colScale);
    t.columns.push_back(c);
  }
  for (SampleColumn& c : t.columns) {
    if (l.jet3) {
      uint8_t n = u8(pos++);
      c.name.assign(def.begin() + static_cast<std::ptrdiff_t>(pos),
                    def.begin() + static_cast<std::ptrdiff_t>(pos + n));
      pos += n;
    } else {
      uint16_t n = u16(pos);
      pos += 2;
      std::u16string w;
      for (uint16_t k = 0; k + 1 < n; k += 2) w.push_back(static_cast<char16_t>(u16(pos + k)));
      c.name = utf16ToUtf8(w);
      pos += n;
    }
  }
  for (uint32_t i = 0; i < nreal; ++i, pos += l.realIndexSize) {
    SampleIndex ix;
    for (int k = 0; k < 10; ++k) {
      uint16_t col = u16(pos + l.realIndexColumns + 3 * k);
      if (col != 0xFFFF) ix.columns.push_back({col, (u8(pos + l.realIndexColumns + 3 * k + 2) & 0x01) != 0});
    }
    ix.root = u32(pos + l.realIndexRoot);
    ix.flags = u8(pos + l.realIndexFlags);
    t.indexes.push_back(ix);
  }
  return t;
}

// A JSON value of the dump as the engine's Value for a column of `type`;
// false for types this check does not convert (dates, binary, ...).
bool toValue(const nlohmann::json& j, uint8_t type, Value& out) {
  if (j.is_null()) {
    out = Value::null();
    return true;
  }
  switch (static_cast<DataType>(type)) {
    case DataType::Boolean:
      out = Value::boolean(j.get<bool>());
      return true;
    case DataType::Byte:
      out = Value::byte(j.get<uint8_t>());
      return true;
    case DataType::Integer:
      out = Value::integer(j.get<int16_t>());
      return true;
    case DataType::Long:
      out = Value::longInt(j.get<int32_t>());
      return true;
    case DataType::Double:
      out = Value::dbl(j.get<double>());
      return true;
    case DataType::Single:
      out = Value::single(static_cast<float>(j.get<double>()));
      return true;
    case DataType::Text:
    case DataType::Memo:
      out = Value::text(j.get<std::string>());
      return true;
    case DataType::Currency:
    case DataType::Decimal: {
      // The dump writes these as decimal strings ("3.5000", "-1").
      std::string t = j.get<std::string>();
      Decimal d;
      d.negative = !t.empty() && t[0] == '-';
      bool fraction = false;
      for (char ch : t) {
        if (ch == '.') fraction = true;
        if (ch < '0' || ch > '9') continue;
        d.magnitude = d.magnitude * 10 + static_cast<unsigned>(ch - '0');
        if (fraction) ++d.scale;
      }
      if (static_cast<DataType>(type) == DataType::Decimal) {
        out = Value::decimal(d);
        return true;
      }
      int64_t units = static_cast<int64_t>(d.magnitude);
      for (int s = d.scale; s < 4; ++s) units *= 10;
      for (int s = d.scale; s > 4; --s) units /= 10;
      out = Value::currency(d.negative ? -units : units);
      return true;
    }
    case DataType::DateTime: {
      // ISO time in UTC with milliseconds: as Jet days since 1899-12-30.
      std::string t = j.get<std::string>();
      int y, mo, d, h, mi, sec, ms;
      if (std::sscanf(t.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &y, &mo, &d, &h, &mi, &sec, &ms) != 7) return false;
      // Days from the civil date (proleptic Gregorian), then the time of day.
      int yy = y - (mo <= 2);
      int era = (yy >= 0 ? yy : yy - 399) / 400;
      int yoe = yy - era * 400;
      int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
      int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
      long days = era * 146097L + doe - 719468L + 25569L;  // 1970-01-01 is Jet day 25569
      double time = (h * 3600.0 + mi * 60.0 + sec + ms / 1000.0) / 86400.0;
      out = Value::dateTime(static_cast<double>(days) + time);
      return true;
    }
    default:
      return false;
  }
}

std::vector<std::string> sortedRows(const nlohmann::json& rows) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(r.dump());
  std::sort(out.begin(), out.end());
  return out;
}

struct Walk {
  std::vector<IndexEntry> leafEntries;
  std::vector<uint32_t> leafPages;
};

// Visits the tree from `page` in key order, checking each intermediate
// entry against the child it names.
void walkTree(const Bytes& file, const IndexPageLayout& layout, uint32_t page, Walk& w, int depth = 0) {
  ASSERT_LT(depth, 8) << "index tree too deep at page " << page;
  IndexPage p = decodeIndexPage(
      std::span(file).subspan(static_cast<size_t>(page) * layout.pageSize, layout.pageSize), layout, page);
  if (p.leaf) {
    w.leafPages.push_back(page);
    w.leafEntries.insert(w.leafEntries.end(), p.entries.begin(), p.entries.end());
    return;
  }
  EXPECT_EQ(p.flags, 1) << "intermediate page " << page;
  std::vector<uint32_t> children;
  for (const IndexEntry& e : p.entries) children.push_back(e.childPage);
  if (p.tailPage != 0) children.push_back(p.tailPage);
  for (size_t i = 0; i < children.size(); ++i) {
    size_t before = w.leafEntries.size();
    walkTree(file, layout, children[i], w, depth + 1);
    if (i < p.entries.size() && w.leafEntries.size() > before) {
      // The entry for a child repeats the child's greatest entry.
      IndexEntry last = w.leafEntries.back();
      EXPECT_EQ(last.key, p.entries[i].key) << "node page " << page << " entry " << i;
      EXPECT_EQ(last.dataPage, p.entries[i].dataPage);
      EXPECT_EQ(last.dataRow, p.entries[i].dataRow);
    }
  }
}

struct Tally {
  int pages = 0, identicalPages = 0, staleTailPages = 0, entries = 0;
  int indexesNotConvertible = 0, nonAsciiKeys = 0, unparsedDefinitions = 0, ambiguousTables = 0,
      indexesWalked = 0, indexesKeyChecked = 0, textIndexesKeyChecked = 0, keysChecked = 0;
};

void checkFile(const std::string& relative, Tally& tally) {
  SCOPED_TRACE(relative);
  const fs::path path = kSamples / relative;
  const Bytes file = readFile(path);
  const bool jet3 = relative.starts_with("jet3/");
  const IndexPageLayout layout = jet3 ? IndexPageLayout::jet3() : IndexPageLayout::jet4();
  const TdefLayout& tl = jet3 ? kTdef3 : kTdef4;
  ASSERT_EQ(file.size() % layout.pageSize, 0u);
  const uint32_t pageCount = static_cast<uint32_t>(file.size() / layout.pageSize);

  // (a) every index page decodes and re-encodes to the same bytes. Access
  // leaves stale bytes behind the last entry of some pages; those are the
  // only difference allowed, and we write zeros there.
  std::set<uint32_t> tdefPages, continuation;
  for (uint32_t pg = 1; pg < pageCount; ++pg) {
    auto bytes = std::span(file).subspan(static_cast<size_t>(pg) * layout.pageSize, layout.pageSize);
    if (bytes[0] == 0x02) {
      tdefPages.insert(pg);
      if (uint32_t next = getU32(&bytes[4])) continuation.insert(next);
    }
    if (bytes[0] != kIndexLeafPage && bytes[0] != kIndexNodePage) continue;
    ++tally.pages;
    IndexPage page = decodeIndexPage(bytes, layout, pg);
    tally.entries += static_cast<int>(page.entries.size());
    Bytes again = encodeIndexPage(page, layout);
    const size_t used = layout.entryAreaOffset() + entryAreaBytes(page);
    ASSERT_TRUE(std::equal(again.begin(), again.begin() + static_cast<std::ptrdiff_t>(used), bytes.begin()))
        << "page " << pg << " does not re-encode to its bytes";
    ASSERT_TRUE(std::all_of(again.begin() + static_cast<std::ptrdiff_t>(used), again.end(),
                            [](uint8_t b) { return b == 0; }));
    if (std::equal(again.begin(), again.end(), bytes.begin()))
      ++tally.identicalPages;
    else
      ++tally.staleTailPages;
  }

  // The dump's tables, matched to definitions by their column names and row counts.
  std::ifstream js(kSamples / "expected" / (path.filename().string() + ".json"));
  ASSERT_TRUE(js.good());
  const nlohmann::json dump = nlohmann::json::parse(js);

  for (uint32_t first : tdefPages) {
    if (continuation.count(first)) continue;
    SampleTable table;
    try {
      table = parseTdef(file, layout.pageSize, first, tl);
    } catch (const std::out_of_range&) {
      ++tally.unparsedDefinitions;
      continue;
    }
    std::set<std::string> names;
    for (const SampleColumn& c : table.columns) names.insert(c.name);
    const nlohmann::json* rows = nullptr;
    bool ambiguous = false;
    std::vector<std::string> dumpColumns;
    for (const auto& t : dump["tables"]) {
      std::set<std::string> dn;
      std::vector<std::string> order;
      for (const auto& c : t["columns"]) {
        dn.insert(c["name"].get<std::string>());
        order.push_back(c["name"].get<std::string>());
      }
      if (dn == names && t["rowCount"].get<uint32_t>() == table.rowCount) {
        // Tables alike in columns and size can only be told apart by name;
        // when their rows are the same too, either will do.
        if (rows && sortedRows(*rows) != sortedRows(t["rows"])) ambiguous = true;
        rows = &t["rows"];
        dumpColumns = order;
      }
    }
    if (ambiguous) {
      ++tally.ambiguousTables;
      rows = nullptr;
    }

    for (const SampleIndex& ix : table.indexes) {
      // (b) the entries are in the index's order, the leaves chained in it.
      Walk w;
      walkTree(file, layout, ix.root, w);
      if (testing::Test::HasFatalFailure()) return;
      ++tally.indexesWalked;
      for (size_t i = 1; i < w.leafEntries.size(); ++i)
        ASSERT_LT(compareEntries(w.leafEntries[i - 1], w.leafEntries[i]), 0)
            << "index at page " << ix.root << " out of order at entry " << i;
      for (size_t i = 0; i < w.leafPages.size(); ++i) {
        IndexPage leaf = decodeIndexPage(
            std::span(file).subspan(static_cast<size_t>(w.leafPages[i]) * layout.pageSize, layout.pageSize),
            layout, w.leafPages[i]);
        EXPECT_EQ(leaf.prevPage, i == 0 ? 0u : w.leafPages[i - 1]);
        EXPECT_EQ(leaf.nextPage, i + 1 == w.leafPages.size() ? 0u : w.leafPages[i + 1]);
      }
      if (!rows) continue;

      // (c) the keys encoded from the rows are exactly the stored keys.
      std::vector<KeyColumn> keyColumns;
      std::vector<size_t> dumpIndex;
      bool convertible = true, hasText = false;
      for (auto [number, ascending] : ix.columns) {
        auto col = std::find_if(table.columns.begin(), table.columns.end(),
                                [&](const SampleColumn& c) { return c.number == number; });
        ASSERT_NE(col, table.columns.end());
        KeyColumn kc;
        kc.type = static_cast<DataType>(col->type);
        kc.ascending = ascending;
        kc.scale = col->scale;
        if (kc.type == DataType::Text || kc.type == DataType::Memo) {
          hasText = true;
          ASSERT_TRUE(sortOrderFromId(col->lcid, col->sortVersion, jet3, kc.sortOrder))
              << "sort order " << col->lcid << "/" << int(col->sortVersion);
        }
        keyColumns.push_back(kc);
        dumpIndex.push_back(static_cast<size_t>(std::find(dumpColumns.begin(), dumpColumns.end(), col->name) -
                                                dumpColumns.begin()));
      }
      std::vector<Bytes> expected;
      for (const auto& row : *rows) {
        std::vector<Value> values;
        bool allNull = true;
        for (size_t k = 0; k < keyColumns.size() && convertible; ++k) {
          Value v;
          convertible = toValue(row[dumpIndex[k]], static_cast<uint8_t>(keyColumns[k].type), v);
          allNull = allNull && v.isNull();
          if (v.isText() &&
              std::any_of(v.asText().begin(), v.asText().end(), [](char ch) { return ch & 0x80; }))
            ++tally.nonAsciiKeys;
          values.push_back(v);
        }
        if (!convertible) break;
        if (allNull && (ix.flags & 0x02)) continue;  // the index ignores Nulls
        expected.push_back(encodeKey(keyColumns, values, KeyOwner{"sample", "index"}));
      }
      if (!convertible) {
        ++tally.indexesNotConvertible;
        continue;
      }
      std::sort(expected.begin(), expected.end(),
                [](const Bytes& a, const Bytes& b) { return compareKeys(a, b) < 0; });
      ASSERT_EQ(expected.size(), w.leafEntries.size()) << "index at page " << ix.root;
      for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(expected[i], w.leafEntries[i].key) << "index at page " << ix.root << ", entry " << i;
      ++tally.indexesKeyChecked;
      tally.keysChecked += static_cast<int>(expected.size());
      if (hasText && !expected.empty()) ++tally.textIndexesKeyChecked;
    }
  }
}

class IndexSamples : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kSamples)) GTEST_SKIP() << "sample databases not found at " << kSamples;
  }
};

TEST_F(IndexSamples, Jet4PagesReencodeKeysMatchRows) {
  Tally t;
  for (const char* f :
       {"jet4/indexTestV2000.mdb", "jet4/compIndexTestV2000.mdb", "jet4/bigIndexTestV2000.mdb",
        "jet4/testIndexPropertiesV2000.mdb", "jet4/indexCursorTestV2000.mdb", "jet4/dups_v2000.mdb",
        "jet4/delTestV2000.mdb", "jet4/overflowTestV2000.mdb", "jet4/fixedTextTestV2000.mdb",
        "jet4/numeric_V2000.mdb", "jet4/delColTestV2000.mdb", "jet4/V2003_no-password.mdb"}) {
    checkFile(f, t);
    if (HasFatalFailure()) return;
  }
  // Enough of each kind was really compared for the test to mean something.
  EXPECT_GT(t.pages, 100);
  EXPECT_GT(t.identicalPages, 90);
  EXPECT_GT(t.indexesKeyChecked, 20);
  EXPECT_GE(t.textIndexesKeyChecked, 8);
  EXPECT_GT(t.keysChecked, 600);
  EXPECT_GT(t.nonAsciiKeys, 0);  // Latin-1, a dash and CJK in the Name index of dups_v2000
  std::printf(
      "jet4: %d index pages (%d byte-identical, %d with stale tails), %d entries; %d indexes walked, "
      "%d key-checked (%d with text, %d not comparable), %d keys (%d of non-ASCII text)\n",
      t.pages, t.identicalPages, t.staleTailPages, t.entries, t.indexesWalked, t.indexesKeyChecked,
      t.textIndexesKeyChecked, t.indexesNotConvertible, t.keysChecked, t.nonAsciiKeys);
}

TEST_F(IndexSamples, Jet3PagesReencodeKeysMatchRows) {
  Tally t;
  for (const char* f : {"jet3/indexTestV1997.mdb", "jet3/compIndexTestV1997.mdb", "jet3/delTestV1997.mdb",
                        "jet3/overflowTestV1997.mdb", "jet3/V1997.mdb"}) {
    checkFile(f, t);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(t.pages, 50);
  EXPECT_GT(t.indexesKeyChecked, 5);
  EXPECT_GT(t.keysChecked, 500);
  std::printf(
      "jet3: %d index pages (%d byte-identical), %d entries; %d indexes key-checked (%d with text), %d "
      "keys\n",
      t.pages, t.identicalPages, t.entries, t.indexesKeyChecked, t.textIndexesKeyChecked, t.keysChecked);
}

}  // namespace
}  // namespace jet::format
