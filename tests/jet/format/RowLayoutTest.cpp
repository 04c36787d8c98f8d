// Locating columns inside a stored row: fixed area, variable offsets (with
// the Jet 3 jump table), the null mask, and rows whose structure is broken.
#include "jet/format/RowLayout.h"

#include <gtest/gtest.h>

#include "jet/core/Value.h"

namespace jet::format {
namespace {

ColumnDefinition col(DataType t, uint16_t number, bool fixed, uint16_t offset = 0, uint16_t length = 0) {
  ColumnDefinition c;
  c.name = "c" + std::to_string(number);
  c.type = static_cast<uint8_t>(t);
  c.number = number;
  c.flags = fixed ? kColumnFixed : 0;
  if (fixed) {
    c.fixedOffset = offset;
  } else {
    c.varIndex = offset;
  }
  c.length = length;
  return c;
}

// A Jet 4 table: Long (fixed), Text (variable 0), Boolean, Text (variable 1).
TableDefinition jet4Table() {
  TableDefinition d;
  d.columns = {col(DataType::Long, 0, true, 0, 4), col(DataType::Text, 1, false, 0),
               col(DataType::Boolean, 2, true), col(DataType::Text, 3, false, 1)};
  d.varColumnCount = 2;
  return d;
}

std::vector<uint8_t> jet4Row(uint8_t nullMask, uint16_t varCount = 1) {
  // count | long | "ab" UCS-2 | offsets (reversed) | var count | null mask
  std::vector<uint8_t> r = {4, 0, 0x2a, 0, 0, 0, 'a', 0, 'b', 0};
  std::vector<uint16_t> offsets = {6, 10};
  if (varCount == 2) offsets.push_back(10);
  for (size_t i = offsets.size(); i-- > 0;) {
    r.push_back(static_cast<uint8_t>(offsets[i]));
    r.push_back(static_cast<uint8_t>(offsets[i] >> 8));
  }
  r.push_back(static_cast<uint8_t>(varCount));
  r.push_back(0);
  r.push_back(nullMask);
  return r;
}

TEST(RowLayout, Jet4FixedVariableBooleanAndMissingVariable) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);
  TableDefinition def = jet4Table();
  auto row = jet4Row(0b0111);
  auto fields = splitRow(def, layout, row);
  ASSERT_TRUE(fields);
  ASSERT_EQ(fields->size(), 4u);
  EXPECT_TRUE((*fields)[0].present);
  EXPECT_EQ((*fields)[0].bytes.size(), 4u);
  EXPECT_EQ((*fields)[0].bytes[0], 0x2a);
  EXPECT_TRUE((*fields)[1].present);
  EXPECT_EQ(std::vector<uint8_t>((*fields)[1].bytes.begin(), (*fields)[1].bytes.end()),
            (std::vector<uint8_t>{'a', 0, 'b', 0}));
  EXPECT_TRUE((*fields)[2].present);   // Boolean true: its null-mask bit
  EXPECT_FALSE((*fields)[3].present);  // the row predates variable column 1

  auto nulls = splitRow(def, layout, jet4Row(0b0000));
  ASSERT_TRUE(nulls);
  for (const auto& f : *nulls) EXPECT_FALSE(f.present);
  // With two variable entries and its bit set, column 3 is present and empty.
  auto empty = splitRow(def, layout, jet4Row(0b1001, 2));
  ASSERT_TRUE(empty);
  EXPECT_TRUE((*empty)[3].present);
  EXPECT_TRUE((*empty)[3].bytes.empty());
  EXPECT_FALSE((*empty)[2].present);  // Boolean false
}

TEST(RowLayout, ColumnsAddedAfterTheRowWasWrittenAreNull) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);
  TableDefinition def = jet4Table();
  def.columns.push_back(col(DataType::Long, 9, true, 4, 4));
  auto fields = splitRow(def, layout, jet4Row(0xff));
  ASSERT_TRUE(fields);
  EXPECT_FALSE((*fields)[4].present);
}

TEST(RowLayout, BrokenRowsAreRefused) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet4);
  TableDefinition def = jet4Table();
  EXPECT_FALSE(splitRow(def, layout, std::vector<uint8_t>{}));
  EXPECT_FALSE(splitRow(def, layout, std::vector<uint8_t>{0xff, 0xff, 1}));  // mask longer than the row
  auto row = jet4Row(0b0111);
  row[10] = 200;  // end of variable column 0 past the row
  EXPECT_FALSE(splitRow(def, layout, row));
  auto backwards = jet4Row(0b0111);
  backwards[12] = 9;  // start after end
  backwards[10] = 8;
  EXPECT_FALSE(splitRow(def, layout, backwards));
  auto manyVars = jet4Row(0b0111);
  manyVars[14] = 0xff;  // more variable entries than bytes
  EXPECT_FALSE(splitRow(def, layout, manyVars));
  TableDefinition wide = def;
  wide.columns[0].fixedOffset = 100;  // fixed column beyond the row
  EXPECT_FALSE(splitRow(wide, layout, jet4Row(0b0111)));
}

TEST(RowLayout, Jet3OffsetsBeyond255UseTheJumpTable) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet3);
  TableDefinition def;
  def.columns = {col(DataType::Text, 0, false, 0), col(DataType::Text, 1, false, 1)};
  def.varColumnCount = 2;
  // count | 200 bytes 'a' | 100 bytes 'b' | offsets 45(+256), 201, 1 | jump 2 | var count | mask
  std::vector<uint8_t> r = {2};
  r.insert(r.end(), 200, 'a');
  r.insert(r.end(), 100, 'b');
  r.insert(r.end(), {45, 201, 1, 2, 2, 0b11});
  ASSERT_EQ(r.size(), 307u);
  auto fields = splitRow(def, layout, r);
  ASSERT_TRUE(fields);
  EXPECT_EQ((*fields)[0].bytes.size(), 200u);
  EXPECT_EQ((*fields)[0].bytes[0], 'a');
  EXPECT_EQ((*fields)[1].bytes.size(), 100u);
  EXPECT_EQ((*fields)[1].bytes[0], 'b');
  EXPECT_EQ((*fields)[1].bytes[99], 'b');
}

TEST(RowLayout, Jet3ShortRowWithoutJumps) {
  Layout layout = Layout::forVersion(file::JetVersion::Jet3);
  TableDefinition def;
  def.columns = {col(DataType::Byte, 0, true, 0, 1), col(DataType::Text, 1, false, 0)};
  def.varColumnCount = 1;
  // count | byte 7 | "hi" | offsets 4, 2 | var count 1 | mask
  std::vector<uint8_t> r = {2, 7, 'h', 'i', 4, 2, 1, 0b11};
  auto fields = splitRow(def, layout, r);
  ASSERT_TRUE(fields);
  EXPECT_EQ((*fields)[0].bytes[0], 7);
  EXPECT_EQ(std::string((*fields)[1].bytes.begin(), (*fields)[1].bytes.end()), "hi");
}

}  // namespace
}  // namespace jet::format
