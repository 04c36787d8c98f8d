// The connection string the window uses for every database it opens.
#pragma once

#include <string>

namespace qm::db {

// The fixed database password of every file the tool opens.
inline constexpr const char* kDatabasePassword = "vk3.8812.rqz";

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Persist Security Info=False;
// Jet OLEDB:Database Password=<password>". A path holding ';' or a quote is
// written in double quotes (inner ones doubled) so it cannot end the value early.
std::string connectionStringFor(const std::string& path);

}  // namespace qm::db
