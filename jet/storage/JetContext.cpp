#include "jet/storage/JetContext.h"

#include "jet/format/UsageMap.h"

namespace jet::storage {

namespace {
// Where every Jet file keeps its map of free pages.
constexpr uint32_t kGlobalMapPointer = 1u << 8;  // page 1, row 0
}  // namespace

uint32_t JetContext::allocatePage() {
  uint32_t page = file->allocate();
  // The page is new, so the map's bit (when it covers the page at all) must
  // say it is in use. Clearing a bit never needs a map page of its own.
  format::changeUsageMap(*file, layout, kGlobalMapPointer, page, false, [] { return 0u; });
  return page;
}

}  // namespace jet::storage
