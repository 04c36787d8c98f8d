// Feeds untrusted bytes to the Jet reader as a whole database file: open it,
// list the catalogue, rebuild every saved query's SQL and scan every table.
// Refusals are jet::Error; anything else (a crash, a leak, a hang, memory
// driven by an unchecked size) is a bug.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/core/Error.h"
#include "jet/storage/JetDatabase.h"

namespace {
// Enough to reach every row of any input the fuzzer builds, few enough that
// a table claiming millions of rows on a cycle of pages still ends.
constexpr uint64_t kMaxRowsPerTable = 100000;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    auto db = jet::storage::JetDatabase::openBytes(std::vector<uint8_t>(data, data + size), "");
    db->pageFile().setCacheCapacity(8);
    (void)db->info();
    for (const auto& entry : db->objects()) {
      try {
        if (entry.kind == jet::storage::ObjectKind::View ||
            entry.kind == jet::storage::ObjectKind::Procedure) {
          (void)db->querySql(entry.name);
          continue;
        }
        auto table = db->openTable(entry.name);
        if (!table) continue;
        auto cursor = table->scan();
        uint64_t rows = 0;
        while (cursor->next() && ++rows < kMaxRowsPerTable) {
          if (rows == 1) (void)table->fetch(cursor->rowId());
        }
      } catch (const jet::Error&) {
        // One damaged table does not stop the others being tried.
      }
    }
  } catch (const jet::Error&) {
  }
  return 0;
}
