// Writes the reader fuzzer's seed corpus: the tiny Jet 3 and Jet 4
// databases of SeedDatabase.h, plus variants that stop short or carry a
// damaged structure, so the fuzzer starts next to every error path.
//   make_mdb_seeds DIR
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/jet/SeedDatabase.h"

namespace {

bool write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_mdb_seeds DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  bool ok = true;
  for (auto v : {jet::file::JetVersion::Jet3, jet::file::JetVersion::Jet4}) {
    std::string tag = v == jet::file::JetVersion::Jet3 ? "jet3" : "jet4";
    size_t page = v == jet::file::JetVersion::Jet3 ? 2048 : 4096;
    auto db = jet::seed::buildSeedDatabase(v);
    ok &= write(dir + "/" + tag + "_items.mdb", db);
    // Without the table's data page: the catalogue reads, the table is cut off.
    ok &= write(dir + "/" + tag + "_cut.mdb",
                std::vector<uint8_t>(db.begin(), db.end() - static_cast<long>(page)));
    // The catalogue's definition chained to itself.
    auto loop = db;
    jet::file::putU32(loop.data() + jet::seed::kCatalogDefinitionPage * page + 4,
                      jet::seed::kCatalogDefinitionPage);
    ok &= write(dir + "/" + tag + "_tdef_loop.mdb", loop);
    // A row slot pointing into the page header.
    auto slot = db;
    jet::format::Layout layout = jet::format::Layout::forVersion(v);
    jet::file::putU16(slot.data() + jet::seed::kItemsDataPage * page + layout.dataRowTableOffset, 0x0004);
    ok &= write(dir + "/" + tag + "_bad_slot.mdb", slot);
    // The header alone.
    ok &= write(dir + "/" + tag + "_header_only.mdb",
                std::vector<uint8_t>(db.begin(), db.begin() + static_cast<long>(page)));
  }
  if (!ok) std::fprintf(stderr, "make_mdb_seeds: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
