// Access 97 table definitions written back: every one-page definition of the
// Jet 3 samples decodes, encodes and decodes again to the same definition,
// and the header fields, column entries and names come out byte for byte as
// Access 97 wrote them. Text in code page 936 round-trips; a character
// neither code page holds is reported, not replaced.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/core/Error.h"
#include "jet/file/LittleEndian.h"
#include "jet/file/PageFile.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/TextCodec.h"

namespace jet::format {
namespace {

std::filesystem::path mdbDir() {
  return std::filesystem::path(QM_TESTDATA_DIR) / "mdb";
}

bool sameDefinition(const TableDefinition& a, const TableDefinition& b) {
  if (a.rowCount != b.rowCount || a.nextAutoNumber != b.nextAutoNumber || a.tableType != b.tableType ||
      a.maxColumns != b.maxColumns || a.varColumnCount != b.varColumnCount ||
      a.usedPagesPointer != b.usedPagesPointer || a.freePagesPointer != b.freePagesPointer ||
      a.columns.size() != b.columns.size() || a.physicalIndexes.size() != b.physicalIndexes.size() ||
      a.indexes.size() != b.indexes.size())
    return false;
  for (size_t i = 0; i < a.columns.size(); ++i) {
    const auto &x = a.columns[i], &y = b.columns[i];
    if (x.name != y.name || x.type != y.type || x.number != y.number || x.varIndex != y.varIndex ||
        x.fixedOffset != y.fixedOffset || x.length != y.length || x.flags != y.flags ||
        x.sortOrder != y.sortOrder)
      return false;
  }
  for (size_t i = 0; i < a.physicalIndexes.size(); ++i) {
    const auto &x = a.physicalIndexes[i], &y = b.physicalIndexes[i];
    if (x.firstPage != y.firstPage || x.usedPagesPointer != y.usedPagesPointer || x.flags != y.flags ||
        x.columns.size() != y.columns.size())
      return false;
  }
  for (size_t i = 0; i < a.indexes.size(); ++i)
    if (a.indexes[i].name != b.indexes[i].name || a.indexes[i].physical != b.indexes[i].physical ||
        a.indexes[i].kind != b.indexes[i].kind)
      return false;
  return true;
}

TEST(Jet3Definition, SampleDefinitionsSurviveEncodeAndDecode) {
  if (!std::filesystem::is_directory(mdbDir())) GTEST_SKIP() << "no reference databases";
  const Layout layout = Layout::forVersion(file::JetVersion::Jet3);
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(mdbDir() / "jet3")) {
    auto f = file::PageFile::open(entry.path().string());
    auto isDefinition = [&](uint32_t page) {
      return (*f->read(page))[0] == static_cast<uint8_t>(PageType::TableDefinition);
    };
    // Pages that continue another definition are no definitions of their own.
    std::vector<bool> continuation(f->pageCount(), false);
    for (uint32_t page = 1; page < f->pageCount(); ++page) {
      uint32_t next =
          isDefinition(page) ? file::getU32(f->read(page)->data() + layout.tdefNextPageOffset) : 0;
      if (next != 0 && next < f->pageCount()) continuation[next] = true;
    }
    for (uint32_t page = 1; page < f->pageCount(); ++page) {
      file::PageRef bytes = f->read(page);
      if (!isDefinition(page) || continuation[page] ||
          file::getU32(bytes->data() + layout.tdefNextPageOffset) != 0)
        continue;
      SCOPED_TRACE(entry.path().filename().string() + " page " + std::to_string(page));
      TableDefinition def;
      try {
        def = readTableDefinition(*f, layout, page, 1252, "t");
      } catch (const Error&) {
        continue;  // a page a dropped definition left behind
      }
      std::vector<uint8_t> encoded = encodeTableDefinition(def, layout, 1252);
      ASSERT_LE(encoded.size(), layout.pageSize);
      auto pages = splitTableDefinition(encoded, layout, {page});
      ASSERT_EQ(pages.size(), 1u);
      TableDefinition again = decodeTableDefinition(encoded, layout, 1252, "t");
      EXPECT_TRUE(sameDefinition(def, again));
      ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

TEST(Jet3Definition, NamesAndTextInCodePage936) {
  const Layout layout = Layout::forVersion(file::JetVersion::Jet3);
  TableDefinition def;
  def.tableType = 0x4e;
  ColumnDefinition c;
  c.name = "客户名称";
  c.type = 10;
  c.length = 40;
  c.flags = kColumnNullable;
  c.sortOrder = 1033;
  def.columns.push_back(c);
  def.maxColumns = 1;
  def.varColumnCount = 1;
  std::vector<uint8_t> bytes = encodeTableDefinition(def, layout, 936);
  TableDefinition back = decodeTableDefinition(bytes, layout, 936, "t");
  ASSERT_EQ(back.columns.size(), 1u);
  EXPECT_EQ(back.columns[0].name, "客户名称");
  // The column entry names the code page its text is kept in.
  EXPECT_EQ(file::getU16(bytes.data() + layout.tdefRealIndexCounts + 11), 936);

  EXPECT_EQ(encodeCodePageText("数据", 936), (std::vector<uint8_t>{0xca, 0xfd, 0xbe, 0xdd}));
  EXPECT_EQ(decodeCodePageText(encodeCodePageText("€ 重复 abc", 936), 936), "€ 重复 abc");
  EXPECT_FALSE(firstUnencodable("重复 abc €", 936));
  EXPECT_EQ(firstUnencodable("abc \u0E01 x", 936), std::optional<char32_t>(0x0E01));
  EXPECT_EQ(firstUnencodable("Straße 中", 1252), std::optional<char32_t>(U'中'));
  EXPECT_FALSE(firstUnencodable("Straße €", 1252));
  EXPECT_EQ(firstUnencodable("😀", 936), std::optional<char32_t>(0x1F600));
}

}  // namespace
}  // namespace jet::format
