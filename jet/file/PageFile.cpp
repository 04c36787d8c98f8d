#include "jet/file/PageFile.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet::file {

namespace {
// Page 0 (header), page 1 (global usage map) and page 2 (the catalogue's
// table definition) exist in every Jet file.
constexpr uint32_t kMinimumPages = 3;
}  // namespace

std::unique_ptr<PageFile> PageFile::open(const std::string& path, bool readOnly) {
  return std::unique_ptr<PageFile>(
      new PageFile(std::make_unique<FileSource>(path, readOnly), path, readOnly));
}

std::unique_ptr<PageFile> PageFile::fromBytes(std::vector<uint8_t> bytes, const std::string& name) {
  return std::unique_ptr<PageFile>(
      new PageFile(std::make_unique<MemorySource>(std::move(bytes)), name, true));
}

PageFile::PageFile(std::unique_ptr<PageSource> source, std::string name, bool readOnly)
    : source_(std::move(source)), name_(std::move(name)), readOnly_(readOnly) {
  uint64_t size = source_->size();
  if (size == 0) throw FileError(ErrorCode::NotADatabase, msg::notADatabase(name_));
  std::vector<uint8_t> start(static_cast<size_t>(std::min<uint64_t>(size, 4096)));
  source_->readAt(0, start.data(), start.size());
  header_ = Header::parse(start.data(), start.size(), name_);
  // Jet always grows a file by whole pages; anything else was cut short.
  if (size % header_.pageSize != 0 || size / header_.pageSize < kMinimumPages ||
      size / header_.pageSize > UINT32_MAX) {
    throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name_));
  }
  pageCount_ = static_cast<uint32_t>(size / header_.pageSize);
}

PageRef PageFile::read(uint32_t page) {
  auto hit = index_.find(page);
  if (hit != index_.end()) {
    lru_.splice(lru_.begin(), lru_, hit->second);
    return hit->second->second;
  }
  if (page >= pageCount_) throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name_));
  auto buffer = std::make_shared<PageBuffer>(header_.pageSize);
  source_->readAt(static_cast<uint64_t>(page) * header_.pageSize, buffer->data(), buffer->size());
  ++loads_;
  lru_.emplace_front(page, buffer);
  index_[page] = lru_.begin();
  while (lru_.size() > capacity_) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
  return buffer;
}

void PageFile::setCacheCapacity(size_t pages) {
  capacity_ = std::max<size_t>(pages, 1);
  while (lru_.size() > capacity_) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
}

}  // namespace jet::file
