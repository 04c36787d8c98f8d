#include "db/AdoPorts.h"

namespace qm::db {

std::vector<std::string> AdoQuery::fieldNames() const {
  std::vector<std::string> names;
  for (const jet::ado::Field& f : query_.fields()) names.push_back(f.name);
  return names;
}

}  // namespace qm::db
