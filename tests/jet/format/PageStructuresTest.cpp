// Structures that span pages: row tables with deleted and moved rows, long
// values in one page or in a chain, usage maps of both kinds and table
// definitions continued over several pages. Real samples where they show the
// structure, pages built here where they do not (and for damage).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "jet/core/Error.h"
#include "jet/file/LittleEndian.h"
#include "jet/file/PageFile.h"
#include "jet/format/DataPage.h"
#include "jet/format/LongValue.h"
#include "jet/format/RowLayout.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/TextCodec.h"
#include "jet/format/UsageMap.h"

namespace jet::format {
namespace {

std::filesystem::path mdbDir() {
  return std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
}

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

#define REQUIRE_SAMPLES() \
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases"

// A Jet 4 data page holding `rows` (row 0 at the page end) with slot flags.
std::vector<uint8_t> dataPage(uint32_t owner, const std::vector<std::vector<uint8_t>>& rows,
                              const std::vector<uint16_t>& flags = {}, bool longValue = false) {
  std::vector<uint8_t> p(4096, 0);
  p[0] = 0x01;
  p[1] = 0x01;
  if (longValue) {
    std::copy_n("LVAL", 4, p.begin() + 4);
  } else {
    file::putU32(p.data() + 4, owner);
  }
  file::putU16(p.data() + 0x0c, static_cast<uint16_t>(rows.size()));
  uint32_t end = 4096;
  for (size_t i = 0; i < rows.size(); ++i) {
    uint32_t start = end - static_cast<uint32_t>(rows[i].size());
    std::copy(rows[i].begin(), rows[i].end(), p.begin() + start);
    file::putU16(p.data() + 0x0e + 2 * i, static_cast<uint16_t>(start | (i < flags.size() ? flags[i] : 0)));
    end = start;
  }
  return p;
}

std::vector<uint8_t> pointerThen(uint32_t page, uint8_t row, const std::string& data) {
  std::vector<uint8_t> r(4);
  file::putU32(r.data(), (page << 8) | row);
  r.insert(r.end(), data.begin(), data.end());
  return r;
}

std::vector<uint8_t> longHeader(uint32_t lengthAndFlags, uint32_t page, uint8_t row) {
  std::vector<uint8_t> h(12, 0);
  file::putU32(h.data(), lengthAndFlags);
  file::putU32(h.data() + 4, (page << 8) | row);
  return h;
}

std::string text(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

TEST(DataPageSlots, SamplesShowDeletedAndMovedRows) {
  REQUIRE_SAMPLES();
  auto count = [](const char* file) {
    auto f = file::PageFile::open((mdbDir() / file).string());
    Layout layout = Layout::forVersion(f->version());
    std::map<RowState, int> states;
    for (uint32_t p = 1; p < f->pageCount(); ++p) {
      auto bytes = f->read(p);
      if ((*bytes)[0] != 0x01) continue;
      DataPage page(layout, bytes, p);
      for (unsigned s = 0; s < page.rowCount(); ++s) ++states[page.slot(s).state];
    }
    return states;
  };
  // The Jet 4 sample moved two rows (the Jet 3 one rewrote them in place).
  auto moved = count("jet4/overflowTestV2000.mdb");
  EXPECT_EQ(moved[RowState::OverflowStub], 2);
  EXPECT_EQ(moved[RowState::OverflowTarget], 2);
  for (const char* file : {"jet4/delTestV2000.mdb", "jet3/delTestV1997.mdb"}) {
    EXPECT_GT(count(file)[RowState::Deleted], 0) << file;
  }
}

TEST(DataPageSlots, BoundsAndFlags) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);
  auto bytes =
      std::make_shared<file::PageBuffer>(dataPage(77, {{1, 2, 3}, {4, 5}, {6}, {7}},
                                                  {0, DataPage::kDeletedFlag | DataPage::kOverflowFlag,
                                                   DataPage::kOverflowFlag, DataPage::kDeletedFlag}));
  DataPage page(layout, bytes, 9);
  EXPECT_EQ(page.owner(), 77u);
  EXPECT_FALSE(page.isLongValuePage());
  ASSERT_EQ(page.rowCount(), 4u);
  RowSlot s0 = page.slot(0);
  EXPECT_EQ(s0.state, RowState::Normal);
  EXPECT_EQ(s0.end, 4096u);
  EXPECT_EQ(s0.length(), 3u);
  EXPECT_EQ(page.slot(1).state, RowState::Deleted);
  EXPECT_EQ(page.slot(2).state, RowState::OverflowStub);
  EXPECT_EQ(page.slot(2).length(), 1u);
  EXPECT_EQ(page.slot(3).state, RowState::OverflowTarget);
  EXPECT_THROW(page.slot(4), Error);

  auto broken = std::make_shared<file::PageBuffer>(dataPage(77, {{1}}));
  file::putU16(broken->data() + 0x0e, 0x0002);  // a row starting inside the header
  EXPECT_THROW(DataPage(layout, broken, 9).slot(0), Error);
  auto tooMany = std::make_shared<file::PageBuffer>(dataPage(77, {}));
  file::putU16(tooMany->data() + 0x0c, 4000);
  EXPECT_THROW(DataPage(layout, tooMany, 9), Error);
  auto notData = std::make_shared<file::PageBuffer>(4096, 0);
  (*notData)[0] = 0x02;
  EXPECT_THROW(DataPage(layout, notData, 9), Error);
}

TEST(LongValues, InlineSinglePageAndChain) {
  REQUIRE_SAMPLES();
  // Page first: row 0 starts a chain continuing on first+1 row 1; row 1 is a
  // whole value. Page first+1: row 0 unused, row 1 ends the chain.
  auto rebuilt = readAll(mdbDir() / "jet4/dups_v2000.mdb");
  uint32_t first = static_cast<uint32_t>(rebuilt.size() / 4096);
  auto p0 = dataPage(0, {pointerThen(first + 1, 1, "Hello, "), {'w', 'h', 'o', 'l', 'e'}}, {}, true);
  auto p1 = dataPage(0, {{'x'}, pointerThen(0, 0, "world")}, {}, true);
  rebuilt.insert(rebuilt.end(), p0.begin(), p0.end());
  rebuilt.insert(rebuilt.end(), p1.begin(), p1.end());
  auto f = file::PageFile::fromBytes(rebuilt);
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);
  std::vector<uint8_t> out;

  auto chain = longHeader(12, first, 0);
  ASSERT_TRUE(readLongValue(*f, layout, chain, out));
  EXPECT_EQ(text(out), "Hello, world");
  // A stored length shorter than the chain stops early.
  ASSERT_TRUE(readLongValue(*f, layout, longHeader(5, first, 0), out));
  EXPECT_EQ(text(out), "Hello");

  ASSERT_TRUE(readLongValue(*f, layout, longHeader(5 | kLongValueSinglePage, first, 1), out));
  EXPECT_EQ(text(out), "whole");
  EXPECT_FALSE(readLongValue(*f, layout, longHeader(6 | kLongValueSinglePage, first, 1), out));

  auto inlineValue = encodeInlineLongValue(std::vector<uint8_t>{'i', 'n'});
  ASSERT_TRUE(readLongValue(*f, layout, inlineValue, out));
  EXPECT_EQ(text(out), "in");
  inlineValue[0] = 9;  // claims more than the field holds
  EXPECT_FALSE(readLongValue(*f, layout, inlineValue, out));
  EXPECT_FALSE(readLongValue(*f, layout, std::vector<uint8_t>{1, 2, 3}, out));
  // A chain claiming more than it holds ends at a null pointer: damaged.
  EXPECT_FALSE(readLongValue(*f, layout, longHeader(100, first, 0), out));
}

TEST(LongValues, ALoopingChainIsDamageNotAHang) {
  REQUIRE_SAMPLES();
  auto bytes = readAll(mdbDir() / "jet4/dups_v2000.mdb");
  uint32_t first = static_cast<uint32_t>(bytes.size() / 4096);
  auto loop = dataPage(0, {pointerThen(first, 0, "again ")}, {}, true);
  bytes.insert(bytes.end(), loop.begin(), loop.end());
  auto f = file::PageFile::fromBytes(bytes);
  std::vector<uint8_t> out;
  EXPECT_FALSE(
      readLongValue(*f, Layout::forVersion(file::JetVersion::Jet4), longHeader(1000000000, first, 0), out));
  EXPECT_LE(out.size(), 4096u);
}

TEST(UsageMaps, InlineAndReferenceMaps) {
  REQUIRE_SAMPLES();
  auto bytes = readAll(mdbDir() / "jet4/dups_v2000.mdb");
  uint32_t first = static_cast<uint32_t>(bytes.size() / 4096);
  // Row 0: an inline map starting at page 3 with bits 0, 2, 9 set.
  // Row 1: a reference map naming a bitmap page (first + 1) for pages 0..32735.
  std::vector<uint8_t> inlineMap = {0x00, 3, 0, 0, 0, 0b101, 0b10};
  std::vector<uint8_t> referenceMap(1 + 4 * 4, 0);
  referenceMap[0] = 0x01;
  file::putU32(referenceMap.data() + 1, first + 1);
  auto mapPage = dataPage(0, {inlineMap, referenceMap});
  std::vector<uint8_t> bitmap(4096, 0);
  bitmap[0] = 0x05;
  bitmap[1] = 0x01;
  bitmap[4 + 0] = 0b0010'0000;  // page 5
  bitmap[4 + 8] = 0b0000'0001;  // page 64
  bytes.insert(bytes.end(), mapPage.begin(), mapPage.end());
  bytes.insert(bytes.end(), bitmap.begin(), bitmap.end());
  auto f = file::PageFile::fromBytes(bytes);
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);

  auto drain = [](UsageMap& m) {
    std::vector<uint32_t> pages;
    while (auto p = m.next()) pages.push_back(*p);
    return pages;
  };
  UsageMap inlineUse(*f, layout, first << 8);
  EXPECT_EQ(drain(inlineUse), (std::vector<uint32_t>{3, 5, 12}));
  inlineUse.rewind();
  EXPECT_EQ(drain(inlineUse).size(), 3u);
  UsageMap referenceUse(*f, layout, (first << 8) | 1);
  EXPECT_EQ(drain(referenceUse), (std::vector<uint32_t>{5, 64}));

  // A map naming a page past the end of the file: the file was cut short.
  auto cut = bytes;
  std::vector<uint8_t> farMap = {0x00, 0xf0, 0xff, 0, 0, 1};
  auto farPage = dataPage(0, {farMap});
  std::copy(farPage.begin(), farPage.end(), cut.begin() + static_cast<std::ptrdiff_t>(first) * 4096);
  auto g = file::PageFile::fromBytes(cut);
  UsageMap far(*g, layout, first << 8);
  try {
    far.next();
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::NotADatabase);
  }
  std::vector<uint8_t> badType = {0x07, 0, 0, 0, 0};
  auto badPage = dataPage(0, {badType});
  std::copy(badPage.begin(), badPage.end(), cut.begin() + static_cast<std::ptrdiff_t>(first) * 4096);
  auto h = file::PageFile::fromBytes(cut);
  EXPECT_THROW(UsageMap(*h, layout, first << 8), Error);
}

// Access stores short Latin text compressed (0xFF 0xFE, one byte a
// character) when the column allows it; the sample's names are stored so.
TEST(CompressedText, SampleNamesAreStoredCompressed) {
  REQUIRE_SAMPLES();
  auto f = file::PageFile::open((mdbDir() / "jet4/dups_v2000.mdb").string());
  Layout layout = Layout::forVersion(f->version());
  uint32_t customers = 0;
  TableDefinition def;
  for (uint32_t p = 3; p < f->pageCount() && !customers; ++p) {
    auto bytes = f->read(p);
    if ((*bytes)[0] != 0x02) continue;
    def = readTableDefinition(*f, layout, p, 1252, "?");
    if (def.columns.size() == 6 && def.columns[1].name == "Name") customers = p;
  }
  ASSERT_NE(customers, 0u);
  EXPECT_TRUE(def.columns[1].extFlags & kColumnCompressedUnicode);
  int compressed = 0;
  std::multiset<std::string> names;
  for (uint32_t p = 3; p < f->pageCount(); ++p) {
    auto bytes = f->read(p);
    if ((*bytes)[0] != 0x01 || file::getU32(bytes->data() + 4) != customers) continue;
    DataPage page(layout, bytes, p);
    for (unsigned s = 0; s < page.rowCount(); ++s) {
      RowSlot slot = page.slot(s);
      if (slot.state != RowState::Normal) continue;
      auto fields = splitRow(def, layout, page.bytes(slot));
      ASSERT_TRUE(fields);
      const Field& name = (*fields)[1];
      if (!name.present) continue;
      if (name.bytes.size() >= 2 && name.bytes[0] == 0xff && name.bytes[1] == 0xfe) ++compressed;
      names.insert(decodeUcs2Text(name.bytes));
    }
  }
  EXPECT_GT(compressed, 0);
  EXPECT_EQ(names.count("Alice"), 3u);
  EXPECT_EQ(names.count("ALICE"), 1u);
}

TEST(TableDefinitions, ASampleTableSpanningPages) {
  REQUIRE_SAMPLES();
  // Table2 of the Access 97 sample has 89 text columns: more than one 2 KB page.
  auto f = file::PageFile::open((mdbDir() / "jet3/V1997.mdb").string());
  Layout layout = Layout::forVersion(f->version());
  uint32_t found = 0;
  for (uint32_t p = 3; p < f->pageCount() && !found; ++p) {
    auto bytes = f->read(p);
    if ((*bytes)[0] == 0x02 && file::getU16(bytes->data() + layout.tdefColumns) == 89) found = p;
  }
  ASSERT_NE(found, 0u);
  EXPECT_NE(file::getU32(f->read(found)->data() + 4), 0u);  // continued on another page
  TableDefinition def = readTableDefinition(*f, layout, found, 1252, "Table2");
  ASSERT_EQ(def.columns.size(), 89u);
  for (size_t i = 0; i < def.columns.size(); ++i) {
    EXPECT_EQ(def.columns[i].name, "column" + std::to_string(i + 1));
    EXPECT_EQ(def.columns[i].type, 10);
    EXPECT_EQ(def.columns[i].length, 50);
  }
  EXPECT_EQ(def.varColumnCount, 89);
}

TEST(TableDefinitions, CatalogueDefinitionAndDamage) {
  REQUIRE_SAMPLES();
  auto f = file::PageFile::open((mdbDir() / "jet4/dups_v2000.mdb").string());
  Layout layout = Layout::forVersion(f->version());
  TableDefinition def = readTableDefinition(*f, layout, 2, 1252, "MSysObjects");
  EXPECT_EQ(def.tableType, 0x53);  // system table
  ASSERT_NE(def.findColumnByNumber(0), nullptr);
  bool hasName = false;
  for (const auto& c : def.columns) hasName |= c.name == "Name";
  EXPECT_TRUE(hasName);
  EXPECT_EQ(def.findColumnByNumber(999), nullptr);

  auto bytes = readAll(mdbDir() / "jet4/dups_v2000.mdb");
  std::vector<uint8_t> tdef(bytes.begin() + 2 * 4096, bytes.begin() + 3 * 4096);
  auto decoded = decodeTableDefinition(tdef, layout, 1252, "MSysObjects");
  EXPECT_EQ(decoded.columns.size(), def.columns.size());
  // Counts past any real table, and definitions cut short, are damage.
  auto huge = tdef;
  file::putU16(huge.data() + layout.tdefColumns, 60000);
  EXPECT_THROW(decodeTableDefinition(huge, layout, 1252, "x"), Error);
  std::vector<uint8_t> shortDef(tdef.begin(), tdef.begin() + 200);
  EXPECT_THROW(decodeTableDefinition(shortDef, layout, 1252, "x"), Error);
  auto badIndex = tdef;
  file::putU32(badIndex.data() + layout.tdefLogicalIndexes, 3);
  file::putU32(badIndex.data() + layout.tdefRealIndexes, 0);
  EXPECT_THROW(decodeTableDefinition(badIndex, layout, 1252, "x"), Error);

  // A definition whose next-page field points back at itself.
  auto looped = bytes;
  file::putU32(looped.data() + 2 * 4096 + 4, 2);
  auto g = file::PageFile::fromBytes(looped);
  try {
    readTableDefinition(*g, layout, 2, 1252, "MSysObjects");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::Corrupt);
  }
}

}  // namespace
}  // namespace jet::format
