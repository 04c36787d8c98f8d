// The two web addresses of the about page and the help menu: a host, the
// query "/?ref=Vantorel", then the version text appended unchanged (space included).
#pragma once

#include <string>

namespace qm::db {

inline constexpr const char* kProductHost = "quellmark.app";
inline constexpr const char* kMakerHost = "vantorel.com";
inline constexpr const char* kContactMail = "support@quellmark.app";

std::string productSiteAddress(const std::string& version);
std::string makerHomeAddress(const std::string& version);

}  // namespace qm::db
