#include <gtest/gtest.h>

#include "db/CellValue.h"
#include "jet/core/Error.h"

namespace qm::db {
namespace {

using jet::DataType;
using jet::Value;

TEST(CellValue, TextKeepsEverythingAndEmptyIsNull) {
  EXPECT_EQ(cellValue(" 张三 ", DataType::Text, "name"), Value::text(" 张三 "));
  EXPECT_EQ(cellValue("", DataType::Text, "name"), Value::null());
  EXPECT_EQ(cellValue("long", DataType::Memo, "note"), Value::memo("long"));
  EXPECT_EQ(cellValue("  ", DataType::Long, "ID"), Value::null());
}

TEST(CellValue, WholeNumbersAreRangeChecked) {
  EXPECT_EQ(cellValue("255", DataType::Byte, "b"), Value::byte(255));
  EXPECT_EQ(cellValue("-32768", DataType::Integer, "i"), Value::integer(-32768));
  EXPECT_EQ(cellValue(" 42 ", DataType::Long, "ID"), Value::longInt(42));
  EXPECT_THROW(cellValue("256", DataType::Byte, "b"), jet::Error);
  EXPECT_THROW(cellValue("32768", DataType::Integer, "i"), jet::Error);
  EXPECT_THROW(cellValue("12abc", DataType::Long, "ID"), jet::Error);
  EXPECT_THROW(cellValue("1.5", DataType::Long, "ID"), jet::Error);
}

TEST(CellValue, MismatchNamesTheField) {
  try {
    cellValue("x", DataType::Long, "编号");
    FAIL();
  } catch (const jet::Error& e) {
    EXPECT_EQ(e.code(), jet::ErrorCode::TypeMismatch);
    EXPECT_NE(std::string(e.what()).find("编号"), std::string::npos);
  }
}

TEST(CellValue, RealsBooleansAndCurrency) {
  EXPECT_EQ(cellValue("2.5", DataType::Double, "d"), Value::dbl(2.5));
  EXPECT_EQ(cellValue("0.5", DataType::Single, "s"), Value::single(0.5f));
  EXPECT_THROW(cellValue("1e999", DataType::Double, "d"), jet::Error);
  EXPECT_EQ(cellValue("True", DataType::Boolean, "f"), Value::boolean(true));
  EXPECT_EQ(cellValue("0", DataType::Boolean, "f"), Value::boolean(false));
  EXPECT_THROW(cellValue("yes", DataType::Boolean, "f"), jet::Error);
  EXPECT_EQ(cellValue("12.34", DataType::Currency, "c"), Value::currency(123400));
  EXPECT_EQ(cellValue("-0.5", DataType::Currency, "c"), Value::currency(-5000));
  EXPECT_THROW(cellValue("1.23456", DataType::Currency, "c"), jet::Error);
}

TEST(CellValue, DatesCountDaysFrom1899December30) {
  EXPECT_EQ(cellValue("1899-12-30", DataType::DateTime, "d"), Value::dateTime(0));
  EXPECT_EQ(cellValue("2000-01-01", DataType::DateTime, "d"), Value::dateTime(36526));
  EXPECT_EQ(cellValue("2000-01-01 12:00:00", DataType::DateTime, "d"), Value::dateTime(36526.5));
  EXPECT_EQ(cellValue("1899-12-29 06:00", DataType::DateTime, "d"), Value::dateTime(-1.25));
  EXPECT_THROW(cellValue("2000-13-01", DataType::DateTime, "d"), jet::Error);
  EXPECT_THROW(cellValue("tomorrow", DataType::DateTime, "d"), jet::Error);
}

TEST(CellValue, BinaryCellsAreNotTypedIn) {
  EXPECT_THROW(cellValue("00ff", DataType::Binary, "blob"), jet::Error);
  EXPECT_THROW(cellValue("{0}", DataType::Guid, "g"), jet::Error);
}

}  // namespace
}  // namespace qm::db
