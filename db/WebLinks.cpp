#include "db/WebLinks.h"

namespace qm::db {

namespace {
std::string address(const char* host, const std::string& version) {
  return std::string("https://") + host + "/?ref=Vantorel" + version;
}
}  // namespace

std::string productSiteAddress(const std::string& version) {
  return address(kProductHost, version);
}
std::string makerHomeAddress(const std::string& version) {
  return address(kMakerHost, version);
}

}  // namespace qm::db
