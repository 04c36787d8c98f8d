#include <gtest/gtest.h>

#include "db/WebLinks.h"

namespace qm::db {
namespace {

TEST(WebLinks, VersionIsAppendedUnchangedWithItsSpace) {
  EXPECT_EQ(productSiteAddress("1.02 20000101"), "https://quellmark.app/?ref=Vantorel1.02 20000101");
  EXPECT_EQ(makerHomeAddress("1.02 20000101"), "https://vantorel.com/?ref=Vantorel1.02 20000101");
  EXPECT_NE(std::string(kProductHost), std::string(kMakerHost));
}

}  // namespace
}  // namespace qm::db
