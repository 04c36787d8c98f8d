#include <gtest/gtest.h>

#include "db/BackupCopy.h"
#include "db/ConnectionText.h"
#include "db/DupStatements.h"

namespace qm::db {
namespace {

TEST(DupStatements, ShapesAndLetterCaseAreExact) {
  EXPECT_EQ(gridStatement("Customers"), "Select * from [Customers]");
  EXPECT_EQ(duplicateReportStatement("T", "name,phone"),
            "Select name,phone,Count(*) From [T] Group By name,phone Having Count(*) > 1");
  EXPECT_EQ(keepLowestStatement("T", "ID", "name"),
            "Delete from [T] Where ID Not In (Select min(ID) From [T] Group By name)");
  EXPECT_EQ(keepHighestStatement("T", "ID", "name,phone"),
            "delete from [T] where ID not in (select max(ID) from [T] group by name,phone)");
  EXPECT_EQ(dropTableStatement("订单 2"), "drop table [订单 2]");
  EXPECT_EQ(backupTableStatement("Orders"), "SELECT * into [Orders_Bak] FROM [Orders]");
}

TEST(DupStatements, KeylessRebuildRunsThroughASideTable) {
  auto s = keylessRebuildStatements("Tags");
  EXPECT_EQ(s[0], "select * INTO [Tags_new] from (select distinct * from [Tags])");
  EXPECT_EQ(s[1], "Drop table [Tags]");
  EXPECT_EQ(s[2], "select * INTO [Tags] from (select distinct * from [Tags_new])");
  EXPECT_EQ(s[3], "Drop table [Tags_new]");
}

TEST(DupStatements, EmptyTextsAreInsertedUnchanged) {
  EXPECT_EQ(gridStatement(""), "Select * from []");
  EXPECT_EQ(backupTableStatement(""), "SELECT * into [_Bak] FROM []");
}

TEST(DupStatements, IdChecksLookForNullAndRepeatedValues) {
  EXPECT_EQ(nullIdStatement("T", "ID"), "Select ID From [T] Where ID Is Null");
  EXPECT_EQ(repeatedIdStatement("T", "ID"), "Select ID From [T] Group By ID Having Count(*) > 1");
}

TEST(ReturnsRows, SelectsGiveRowsOtherStatementsDoNot) {
  EXPECT_TRUE(returnsRows("Select * From [T]"));
  EXPECT_TRUE(returnsRows("  \r\nselect a from t"));
  EXPECT_TRUE(returnsRows("(select a from t) union (select a from u)"));
  EXPECT_TRUE(returnsRows("TRANSFORM Count(*) SELECT a FROM t GROUP BY a PIVOT b"));
  EXPECT_TRUE(returnsRows("select a from (select b as into_x from t)"));
  EXPECT_TRUE(returnsRows("select [into] from t where x = 'into'"));
  EXPECT_FALSE(returnsRows("SELECT * into [T_Bak] FROM [T]"));
  EXPECT_FALSE(returnsRows("update t set a = 1"));
  EXPECT_FALSE(returnsRows("delete from t"));
  EXPECT_FALSE(returnsRows("drop table t"));
  EXPECT_FALSE(returnsRows("   "));
  EXPECT_FALSE(returnsRows(""));
  EXPECT_FALSE(returnsRows("selection"));
}

TEST(BackupCopy, NameIsFolderPrefixStampAndFileName) {
  std::tm t{};
  t.tm_year = 2013 - 1900, t.tm_mon = 2, t.tm_mday = 14, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7;
  EXPECT_EQ(timeStamp14(t), "20130314090507");
  EXPECT_EQ(backupCopyPath("D:\\data\\shop.mdb", t), "D:\\data\\bak_备份_20130314090507shop.mdb");
  EXPECT_EQ(backupCopyPath("/tmp/x/数据.dat", t), "/tmp/x/bak_备份_20130314090507数据.dat");
  EXPECT_EQ(backupCopyPath("C:shop.mdb", t), "C:bak_备份_20130314090507shop.mdb");
}

TEST(BackupCopy, CopyOfACopyGetsAFurtherPrefix) {
  std::tm t{};
  t.tm_year = 2024 - 1900, t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59, t.tm_sec = 58;
  std::string first = backupCopyPath("C:\\a\\b.mdb", t);
  EXPECT_EQ(backupCopyPath(first, t), "C:\\a\\bak_备份_20241231235958bak_备份_20241231235958b.mdb");
  EXPECT_EQ(folderOf("plain.mdb"), "");
  EXPECT_EQ(fileNameOf("plain.mdb"), "plain.mdb");
}

TEST(ConnectionText, PlainPathIsInsertedAsIs) {
  EXPECT_EQ(connectionStringFor("C:\\d\\shop.mdb"),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\d\\shop.mdb;Persist Security Info=False;"
            "Jet OLEDB:Database Password=vk3.8812.rqz");
}

TEST(ConnectionText, PathsThatWouldBreakTheStringAreQuoted) {
  EXPECT_NE(connectionStringFor("C:\\a;b\\x.mdb").find("Data Source=\"C:\\a;b\\x.mdb\";"), std::string::npos);
  EXPECT_NE(connectionStringFor("C:\\it's\\x.mdb").find("Data Source=\"C:\\it's\\x.mdb\";"),
            std::string::npos);
  EXPECT_NE(connectionStringFor("a\"b").find("Data Source=\"a\"\"b\";"), std::string::npos);
  EXPECT_NE(connectionStringFor(" lead.mdb").find("Data Source=\" lead.mdb\";"), std::string::npos);
}

}  // namespace
}  // namespace qm::db
