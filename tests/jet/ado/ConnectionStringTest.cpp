#include <gtest/gtest.h>

#include "jet/ado/Connection.h"
#include "jet/core/Error.h"

namespace jet::ado {
namespace {

TEST(ConnectionString, ParsesTheWindowsStringExactly) {
  auto cs = ConnectionString::parse(
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\data\\shop.mdb;Persist Security Info=False;"
      "Jet OLEDB:Database Password=vk3.8812.rqz");
  EXPECT_EQ(cs.provider, "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(cs.dataSource, "D:\\data\\shop.mdb");
  EXPECT_EQ(cs.password, "vk3.8812.rqz");
  EXPECT_FALSE(cs.persistSecurityInfo);
  EXPECT_FALSE(cs.readOnly);
}

TEST(ConnectionString, KeysAreCaseInsensitiveAndValuesTrimmed) {
  auto cs = ConnectionString::parse(" provider = microsoft.jet.oledb.4.0 ; DATA SOURCE = /tmp/a b.mdb ;mode=Read");
  EXPECT_EQ(cs.dataSource, "/tmp/a b.mdb");
  EXPECT_TRUE(cs.readOnly);
}

TEST(ConnectionString, QuotedValuesMayHoldSemicolonsAndQuotes) {
  auto cs = ConnectionString::parse(
      "Data Source=\"C:\\x;y\\数据.mdb\";Jet OLEDB:Database Password='it''s;secret'");
  EXPECT_EQ(cs.dataSource, "C:\\x;y\\数据.mdb");
  EXPECT_EQ(cs.password, "it's;secret");
}

TEST(ConnectionString, RefusesMissingSourceForeignProviderAndBrokenQuotes) {
  EXPECT_THROW(ConnectionString::parse("Provider=Microsoft.Jet.OLEDB.4.0;Data Source="), Error);
  EXPECT_THROW(ConnectionString::parse(""), Error);
  EXPECT_THROW(ConnectionString::parse("Provider=SQLOLEDB;Data Source=x.mdb"), Error);
  EXPECT_THROW(ConnectionString::parse("Data Source=\"unterminated"), Error);
  EXPECT_THROW(ConnectionString::parse("Data Source=\"a\"b;"), Error);
}

TEST(Connection, MissingFileIsReportedByName) {
  Connection c;
  c.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/nonexistent/q.mdb");
  try {
    c.open();
    FAIL() << "opened a missing file";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::FileNotFound);
    EXPECT_NE(std::string(e.what()).find("/nonexistent/q.mdb"), std::string::npos);
  }
  EXPECT_FALSE(c.connected());
}

TEST(Connection, EmptyConnectionStringCannotOpen) {
  Connection c;
  EXPECT_THROW(c.tableNames(), Error);
}

}  // namespace
}  // namespace jet::ado
