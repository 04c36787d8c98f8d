// A database file seen as numbered pages. Every read of the file goes through
// here (and, once writing arrives, every write, allocation and journal entry),
// so nothing above this layer touches bytes on disk.
//
// Pages are handed out as shared, immutable buffers from a bounded LRU cache:
// a table scan holds only the page it is on, so memory does not grow with the
// size of a table.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "jet/file/Header.h"
#include "jet/file/PageSource.h"

namespace jet::file {

using PageBuffer = std::vector<uint8_t>;
using PageRef = std::shared_ptr<const PageBuffer>;

class PageFile {
 public:
  // Throws FileError: FileNotFound, Io, NotADatabase, Unsupported.
  static std::unique_ptr<PageFile> open(const std::string& path, bool readOnly = true);
  // `name` stands for the file in messages.
  static std::unique_ptr<PageFile> fromBytes(std::vector<uint8_t> bytes,
                                             const std::string& name = "<memory>");

  const Header& header() const { return header_; }
  JetVersion version() const { return header_.version; }
  bool isJet3() const { return header_.version == JetVersion::Jet3; }
  uint32_t pageSize() const { return header_.pageSize; }
  uint32_t pageCount() const { return pageCount_; }
  const std::string& name() const { return name_; }
  bool readOnly() const { return readOnly_; }

  // The page's bytes (exactly pageSize()). A page past the end of the file
  // means the file was cut short: FileError(NotADatabase).
  PageRef read(uint32_t page);

  // Pages kept in memory; at least one.
  void setCacheCapacity(size_t pages);
  size_t cacheCapacity() const { return capacity_; }
  size_t cachedPages() const { return lru_.size(); }
  // Pages fetched from the source since opening (cache misses).
  uint64_t pagesLoaded() const { return loads_; }

 private:
  PageFile(std::unique_ptr<PageSource> source, std::string name, bool readOnly);

  std::unique_ptr<PageSource> source_;
  std::string name_;
  bool readOnly_;
  Header header_;
  uint32_t pageCount_ = 0;

  size_t capacity_ = 64;
  uint64_t loads_ = 0;
  std::list<std::pair<uint32_t, PageRef>> lru_;  // most recent first
  std::unordered_map<uint32_t, std::list<std::pair<uint32_t, PageRef>>::iterator> index_;
};

}  // namespace jet::file
