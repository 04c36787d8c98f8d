// Every index entry of the sample files, system tables included, against the
// row it points at: the row is read through the table-definition and row
// codecs, its index columns encoded, and the result must be the stored key.
// This ties each key to its own row (not only to the set of rows) and covers
// the catalog's own indexes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "jet/core/Error.h"
#include "jet/file/PageFile.h"
#include "jet/format/DataPage.h"
#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"
#include "jet/format/Layout.h"
#include "jet/format/RowDecoder.h"
#include "jet/format/TableDefinition.h"

namespace jet::format {
namespace {

namespace fs = std::filesystem;
const fs::path kSamples = fs::path(QM_TESTDATA_DIR) / "mdb";

struct Tally {
  int tables = 0, indexes = 0, entries = 0, textEntries = 0, skippedIndexes = 0;
};

void collectLeaves(file::PageFile& f, const IndexPageLayout& layout, uint32_t page,
                   std::vector<IndexEntry>& out, int depth = 0) {
  ASSERT_LT(depth, 8);
  IndexPage p = decodeIndexPage(*f.read(page), layout, page);
  if (p.leaf) {
    out.insert(out.end(), p.entries.begin(), p.entries.end());
    return;
  }
  for (const IndexEntry& e : p.entries) collectLeaves(f, layout, e.childPage, out, depth + 1);
  if (p.tailPage) collectLeaves(f, layout, p.tailPage, out, depth + 1);
}

void checkFile(const std::string& relative, Tally& tally) {
  SCOPED_TRACE(relative);
  auto f = file::PageFile::open((kSamples / relative).string(), true);
  const Layout layout = Layout::forVersion(f->version());
  const IndexPageLayout indexLayout = f->isJet3() ? IndexPageLayout::jet3() : IndexPageLayout::jet4();
  const TextRules text{!f->isJet3(), f->header().codePage ? f->header().codePage : uint16_t{1252}};

  std::set<uint32_t> definitions, continuations;
  for (uint32_t pg = 1; pg < f->pageCount(); ++pg) {
    file::PageRef bytes = f->read(pg);
    if ((*bytes)[0] != static_cast<uint8_t>(PageType::TableDefinition)) continue;
    definitions.insert(pg);
    uint32_t next =
        (*bytes)[4] | ((*bytes)[5] << 8) | ((*bytes)[6] << 16) | (static_cast<uint32_t>((*bytes)[7]) << 24);
    if (next) continuations.insert(next);
  }
  for (uint32_t tdef : definitions) {
    if (continuations.count(tdef)) continue;
    TableDefinition def;
    try {
      def = readTableDefinition(*f, layout, tdef, text.codePage, "t" + std::to_string(tdef));
    } catch (const Error&) {
      continue;  // a stale definition page no table uses any more
    }
    RowDecoder decoder(*f, layout, def, text, "t" + std::to_string(tdef));
    ++tally.tables;
    for (const PhysicalIndex& ix : def.physicalIndexes) {
      std::vector<KeyColumn> columns;
      std::vector<size_t> positions;
      bool usable = true, hasText = false;
      for (const IndexColumnDefinition& ic : ix.columns) {
        auto it = std::find_if(def.columns.begin(), def.columns.end(),
                               [&](const ColumnDefinition& c) { return c.number == ic.columnNumber; });
        ASSERT_NE(it, def.columns.end());
        KeyColumn kc;
        kc.type = static_cast<DataType>(it->type);
        kc.ascending = ic.ascending;
        kc.scale = it->scale;
        if (kc.type == DataType::Text || kc.type == DataType::Memo) {
          hasText = true;
          usable = usable && (it->sortOrder == 1033 || it->sortOrder == 0);
          kc.sortOrder = f->isJet3() ? SortOrder::General97 : SortOrder::GeneralLegacy;
        }
        if (kc.type == DataType::LongBinary || kc.type == DataType::Memo) usable = false;
        columns.push_back(kc);
        positions.push_back(static_cast<size_t>(it - def.columns.begin()));
      }
      if (!usable) {
        ++tally.skippedIndexes;
        continue;
      }
      std::vector<IndexEntry> entries;
      collectLeaves(*f, indexLayout, ix.firstPage, entries);
      if (testing::Test::HasFatalFailure()) return;
      ++tally.indexes;
      std::set<std::pair<uint32_t, uint8_t>> pointers;
      for (const IndexEntry& e : entries) {
        ASSERT_TRUE(pointers.insert({e.dataPage, e.dataRow}).second) << "two entries for one row";
        DataPage page(layout, f->read(e.dataPage), e.dataPage);
        ASSERT_EQ(page.owner(), tdef) << "entry points into another table's page";
        RowSlot slot = page.slot(e.dataRow);
        ASSERT_NE(slot.state, RowState::Deleted) << "entry for a deleted row on page " << e.dataPage;
        std::span<const uint8_t> bytes = page.bytes(slot);
        std::optional<DataPage> moved;
        if (slot.state == RowState::OverflowStub) {
          // The entry names the row's original place; the row lives where the stub points.
          RowPointer to = RowPointer::decode(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                             (static_cast<uint32_t>(bytes[3]) << 24));
          moved.emplace(layout, f->read(to.page), to.page);
          bytes = moved->bytes(moved->slot(to.row));
        }
        Row row = decoder.decode(bytes, e.dataPage, e.dataRow);
        std::vector<Value> values;
        for (size_t p : positions) values.push_back(row.at(p));
        Bytes key = encodeKey(columns, values, KeyOwner{"t", "i"});
        ASSERT_EQ(key, e.key) << "table at page " << tdef << ", index at page " << ix.firstPage << ", row "
                              << e.dataPage << ":" << int(e.dataRow);
        ++tally.entries;
        if (hasText) ++tally.textEntries;
      }
    }
  }
}

TEST(IndexRows, EveryEntryIsTheKeyOfTheRowItPointsAt) {
  if (!fs::exists(kSamples)) GTEST_SKIP() << "sample databases not found at " << kSamples;
  Tally t;
  // Every sample file: the indexes of each table, the catalog's among them.
  std::vector<std::string> files;
  for (const char* folder : {"jet4", "jet3"})
    for (const auto& e : fs::directory_iterator(kSamples / folder))
      if (e.path().extension() == ".mdb")
        files.push_back(std::string(folder) + "/" + e.path().filename().string());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 20u);
  for (const std::string& f : files) {
    checkFile(f, t);
    if (testing::Test::HasFatalFailure()) return;
  }
  std::printf(
      "%d tables, %d indexes, %d entries checked against their rows (%d with text); %d indexes skipped\n",
      t.tables, t.indexes, t.entries, t.textEntries, t.skippedIndexes);
  EXPECT_GT(t.indexes, 100);
  EXPECT_GT(t.entries, 3000);
  EXPECT_GT(t.textEntries, 400);
}

}  // namespace
}  // namespace jet::format
