// Text lengths and positions count UTF-16 code units, as Access does: a
// character outside the Basic Multilingual Plane (an emoji, a rare CJK
// ideograph) counts two, in Len, in the text functions' positions and in a
// Text field's size.
#include "SqlFixture.h"

namespace jet::sql::testing {
namespace {

using Units = SqlTest;

// U+1F600 and U+20000 lie outside the Basic Multilingual Plane.
const std::string kEmoji = "\xF0\x9F\x98\x80";
const std::string kRareHan = "\xF0\xA0\x80\x80";

TEST_F(Units, LenCountsSurrogatePairsAsTwo) {
  EXPECT_EQ(scalar("Len('" + kEmoji + "')"), L(2));
  EXPECT_EQ(scalar("Len('a" + kEmoji + "b" + kRareHan + "')"), L(6));
  EXPECT_EQ(scalar("Len('张三abc')"), L(5));
  run("CREATE TABLE Notes (Body MEMO)");
  run("INSERT INTO Notes VALUES ('" + kEmoji + kEmoji + "')");
  EXPECT_EQ(scalar("Len(Body) FROM Notes"), L(4));
}

TEST_F(Units, ATextFieldsSizeCountsTheSameUnits) {
  run("CREATE TABLE Short (s TEXT(3))");
  run("INSERT INTO Short VALUES ('a" + kEmoji + "')");
  // Three characters but four units: more than the field holds.
  EXPECT_EQ(failure("INSERT INTO Short VALUES ('a" + kEmoji + "b')"), ErrorCode::Invalid);
  EXPECT_EQ(failure("UPDATE Short SET s = s & 'b'"), ErrorCode::Invalid);
  EXPECT_EQ(scalar("Len(s) FROM Short"), L(3));
  // Whatever Len says fits is what the field accepts.
  EXPECT_EQ(run("UPDATE Short SET s = 'xyz' WHERE Len('xyz') <= 3").rowsAffected, 1);
}

TEST_F(Units, SelectIntoSizesComputedTextByUnits) {
  // 200 characters, 400 units: more than a Text field holds, so the new column is a Memo.
  run("SELECT String(200, '" + kEmoji + "') AS t INTO Dst");
  auto dst = store.openTable("Dst");
  EXPECT_EQ(dst->schema().columns.at(0).type, DataType::Memo);
  EXPECT_EQ(scalar("Len(t) FROM Dst"), L(400));
}

TEST_F(Units, PositionsCountUnitsToo) {
  const std::string s = "'" + kEmoji + "ab'";
  EXPECT_EQ(scalar("InStr(" + s + ", 'a')"), L(3));
  EXPECT_EQ(scalar("InStrRev(" + s + ", 'b')"), L(4));
  EXPECT_EQ(scalar("Mid(" + s + ", 3)"), T("ab"));
  EXPECT_EQ(scalar("Mid(" + s + ", InStr(" + s + ", 'b'))"), T("b"));
  EXPECT_EQ(scalar("Left(" + s + ", 2)"), T(kEmoji));
  EXPECT_EQ(scalar("Right(" + s + ", Len(" + s + ") - 2)"), T("ab"));
  EXPECT_EQ(scalar("Replace(" + s + ", 'a', 'A', 3)"), T("Ab"));
  // A cut through a pair keeps half of it, which UTF-8 can only show as U+FFFD.
  EXPECT_EQ(scalar("Left(" + s + ", 1)"), T("\xEF\xBF\xBD"));
}

}  // namespace
}  // namespace jet::sql::testing
