#include "jet/storage/JetContext.h"

#include <algorithm>
#include <optional>

#include "jet/format/FreePageMap.h"
#include "jet/format/UsageMap.h"

namespace jet::storage {

void JetContext::forgetStaleFreePages() {
  if (file->rollbacks() != rollbacksSeen_) {
    sessionFree_.clear();
    rollbacksSeen_ = file->rollbacks();
  }
}

bool JetContext::takeSessionPage(uint32_t page) {
  sessionFree_.erase(page);
  if (page >= file->pageCount()) return false;
  // Dropping blanked it: anything else means it is not ours to take.
  auto bytes = file->read(page);
  return std::all_of(bytes->begin(), bytes->end(), [](uint8_t b) { return b == 0; });
}

uint32_t JetContext::allocatePage() {
  forgetStaleFreePages();
  std::optional<format::FreePageMap> map;
  if (freeMapUsable) map.emplace(*file, layout);

  for (;;) {
    std::optional<uint32_t> inMap;
    if (map) inMap = map->firstFree(format::kFirstFreeablePage, file->pageCount());
    std::optional<uint32_t> inSession;
    if (!sessionFree_.empty()) inSession = *sessionFree_.begin();
    if (!inMap && !inSession) break;
    if (inMap && (!inSession || *inMap < *inSession)) {
      map->set(*inMap, false);
      map->write();
      // A free page keeps what it last held; its new owner starts from zeros.
      file->write(*inMap, file::PageBuffer(file->pageSize(), 0));
      return *inMap;
    }
    if (takeSessionPage(*inSession)) return *inSession;
  }

  const uint32_t page = file->allocate();
  if (!map) return page;
  if (map->isWindow()) {
    if (map->covers(page)) {
      map->set(page, false);
    } else if (page >= map->end()) {
      // The window follows the end of the file, as Access moves it: half of
      // it behind the new page, half ahead.
      map->moveWindow(page - map->halfWindow(), page + 1);
    } else {
      return page;  // before the window: counted as used already
    }
    map->write();
  } else {
    // A reference map: clearing a bit never needs a map page of its own.
    format::changeUsageMap(*file, layout, format::kFreePageMapPointer, page, false, [] { return 0u; });
  }
  return page;
}

void JetContext::freePages(const std::vector<uint32_t>& pages) {
  forgetStaleFreePages();
  std::optional<format::FreePageMap> map;
  if (freeMapUsable) {
    map.emplace(*file, layout);
    if (!map->isWindow()) map.reset();
  }
  const uint32_t count = file->pageCount();
  for (uint32_t page : pages) {
    if (page < format::kFirstFreeablePage || page >= count) continue;
    if (map && map->covers(page)) {
      map->set(page, true);
    } else {
      sessionFree_.insert(page);
    }
  }

  // A reference map does not say how it counts pages past the end: the file keeps its length then.
  const bool mayCut = !freeMapUsable || map;
  uint32_t end = count;
  auto freeAt = [&](uint32_t page) { return sessionFree_.count(page) || (map && map->isFree(page)); };
  while (mayCut && end > format::kFirstFreeablePage && freeAt(end - 1)) --end;
  if (end < count) {
    file->truncate(end);
    sessionFree_.erase(sessionFree_.lower_bound(end), sessionFree_.end());
    if (map) {
      // Every page from the new end on is free; the window must not start past it.
      const uint32_t half = map->halfWindow();
      uint32_t start = map->start();
      if (end < start) start = end > half ? end - half : 0;
      map->moveWindow(start, end);
    }
  }
  if (map) map->write();
}

}  // namespace jet::storage
