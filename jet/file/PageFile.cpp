#include "jet/file/PageFile.h"

#include <algorithm>
#include <filesystem>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"

namespace jet::file {

namespace {
// Page 0 (header), page 1 (global usage map) and page 2 (the catalogue's
// table definition) exist in every Jet file.
constexpr uint32_t kMinimumPages = 3;
}  // namespace

std::unique_ptr<PageFile> PageFile::open(const std::string& path, bool readOnly) {
  const std::string real = realPathOf(path);
  auto changeLock = std::make_unique<ChangeLock>(path, false);
  changeLock->lockShared();
  if (systemIo().exists(journalPathFor(real))) {
    changeLock->unlock();
    recoverAbandonedJournal(path);
    changeLock->lockShared();
  }
  auto source = std::make_unique<FileSource>(path, readOnly);
  FileSource* fileSource = source.get();
  std::unique_ptr<PageFile> f(new PageFile(std::move(source), path, readOnly));
  f->realPath_ = real;
  f->stamp_ = fileStampOf(real);
  f->stampSettled_ = !changedRecently(f->stamp_);
  f->fileSource_ = fileSource;
  changeLock->unlock();
  f->changeLock_ = std::move(changeLock);
  return f;
}

bool PageFile::recoverAbandonedJournal(const std::string& path) {
  if (!systemIo().exists(journalPathFor(realPathOf(path)))) return false;
  std::unique_ptr<FileLock> writer;
  try {
    writer = FileLock::acquire(path, FileLock::Mode::Write);
  } catch (const Error&) {
    // A writer holds the database (the journal is its own), or we may not
    // write the file: read it as it is.
    return false;
  }
  ChangeLock change(path, true);
  change.lockExclusive();
  return Journal::recover(path);
}

std::unique_ptr<PageFile> PageFile::fromBytes(std::vector<uint8_t> bytes, const std::string& name) {
  return std::unique_ptr<PageFile>(
      new PageFile(std::make_unique<MemorySource>(std::move(bytes)), name, true));
}

std::unique_ptr<PageFile> PageFile::openForWriting(const std::string& path, IoSystem& io) {
  // A file nobody may write is read-only for us too, even when the system
  // would let an administrator write it (Access honours the attribute so).
  std::error_code ec;
  const auto perms = std::filesystem::status(std::filesystem::u8path(path), ec).permissions();
  const auto writeBits = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                         std::filesystem::perms::others_write;
  if (!ec && std::filesystem::exists(std::filesystem::u8path(path), ec) &&
      (perms & writeBits) == std::filesystem::perms::none) {
    throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(path));
  }
  auto lock = FileLock::acquire(path, FileLock::Mode::Write);
  const std::string real = realPathOf(path);
  auto changeLock = std::make_unique<ChangeLock>(path, true);
  if (io.exists(journalPathFor(real))) {
    // Putting pages back is a change readers must not see half done.
    changeLock->lockExclusive();
    Journal::recover(path, io);
    changeLock->unlock();
  }
  auto source = std::make_unique<WritableSource>(io.open(path, false), path);
  WritableSource* writable = source.get();
  std::unique_ptr<PageFile> f(new PageFile(std::move(source), path, false));
  f->realPath_ = real;
  f->changeLock_ = std::move(changeLock);
  f->lock_ = std::move(lock);
  f->writable_ = writable;
  f->journal_ = std::make_unique<Journal>(path, f->pageSize(), io);
  return f;
}

PageFile::~PageFile() {
  // An unfinished transaction is undone; should that fail, the hot journal
  // lets the next open undo it.
  if (depth_ > 0 && journal_ && journal_->active()) {
    try {
      dirty_.clear();
      journal_->rollback(writable_->file());
    } catch (const Error&) {
    }
  }
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

void PageFile::beginRead() {
  if (readDepth_++ > 0 || !fileSource_) return;
  try {
    startReading();
  } catch (...) {
    --readDepth_;
    changeLock_->unlock();
    throw;
  }
}

void PageFile::startReading() {
  changeLock_->lockShared();
  if (systemIo().exists(journalPathFor(realPath_))) {
    changeLock_->unlock();
    recoverAbandonedJournal(realPath_);
    changeLock_->lockShared();
  }
  const FileStamp now = fileStampOf(realPath_);
  // The same stamp proves nothing when it was still fresh as we let go of the
  // file last time: a write since then may have fallen in the same tick.
  if (now == stamp_ && stampSettled_) return;
  stamp_ = now;
  stampSettled_ = false;
  forgetCache();
  nextAhead_ = UINT32_MAX;
  ++generation_;
  fileSource_->refreshSize();
  const uint64_t size = fileSource_->size();
  if (size % header_.pageSize != 0 || size / header_.pageSize < kMinimumPages ||
      size / header_.pageSize > UINT32_MAX)
    throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name_));
  pageCount_ = static_cast<uint32_t>(size / header_.pageSize);
}

void PageFile::endRead() {
  if (readDepth_ == 0) return;
  if (--readDepth_ != 0 || !fileSource_) return;
  // Nobody wrote while we held the lock. Once the stamp is older than the
  // file system's timestamp granularity, any later write must leave another.
  stampSettled_ = !changedRecently(stamp_);
  changeLock_->unlock();
}

void PageFile::holdChangesUntil(std::shared_ptr<ChangeGate> gate, size_t heldPages) {
  gate_ = std::move(gate);
  heldPages_ = heldPages;
}

size_t PageFile::dirtyLimitNow() {
  if (gate_ && !gate_->finished()) return std::max(dirtyLimit_, heldPages_);
  return dirtyLimit_;
}

void PageFile::prepareToChange() {
  if (gate_) {
    try {
      gate_->wait();
    } catch (const Error&) {
      throw;
    } catch (const std::exception& e) {
      // Only jet errors undo the transaction on the way out.
      throw FileError(ErrorCode::Io, e.what());
    }
    gate_.reset();
  }
  lockForChanges();
}

void PageFile::lockForChanges() {
  if (changeLock_) changeLock_->lockExclusive();
}

void PageFile::releaseAfterTransaction() {
  if (depth_ == 0 && changeLock_) changeLock_->unlock();
}

PageRef PageFile::read(uint32_t page) {
  if (!dirty_.empty()) {
    auto d = dirty_.find(page);
    if (d != dirty_.end()) return d->second;
  }
  auto hit = index_.find(page);
  if (hit != index_.end()) {
    lru_.splice(lru_.begin(), lru_, hit->second);
    return hit->second->second;
  }
  if (page >= pageCount_) throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name_));
  // A miss right after the pages last fetched is a scan going on: fetch the
  // pages after it in the same read, so a scan costs a read per run of pages
  // rather than one per page.
  const size_t size = header_.pageSize;
  size_t run = 1;
  const uint64_t onDisk = source_->size() / size;  // pages allocated since are only in memory
  if (page == nextAhead_ && page < onDisk)
    run =
        std::max<size_t>(1, std::min<size_t>({kReadAhead, capacity_ / 4, pageCount_ - page, onDisk - page}));
  nextAhead_ = page + static_cast<uint32_t>(run);
  if (run == 1) {
    auto buffer = std::make_shared<PageBuffer>(size);
    source_->readAt(static_cast<uint64_t>(page) * size, buffer->data(), size);
    ++loads_;
    cache(page, buffer);
    return buffer;
  }
  std::vector<uint8_t> bytes(run * size);
  source_->readAt(static_cast<uint64_t>(page) * size, bytes.data(), bytes.size());
  // Pages ahead that are already cached, or changed in memory, keep that copy.
  for (size_t k = run - 1; k >= 1; --k) {
    const uint32_t ahead = page + static_cast<uint32_t>(k);
    if (dirty_.count(ahead) || index_.count(ahead)) continue;
    ++loads_;
    cache(ahead, std::make_shared<PageBuffer>(bytes.begin() + static_cast<long>(k * size),
                                              bytes.begin() + static_cast<long>((k + 1) * size)));
  }
  auto buffer = std::make_shared<PageBuffer>(bytes.begin(), bytes.begin() + static_cast<long>(size));
  ++loads_;
  cache(page, buffer);
  return buffer;
}

void PageFile::cache(uint32_t page, PageRef buffer) {
  auto hit = index_.find(page);
  if (hit != index_.end()) {
    lru_.erase(hit->second);
    index_.erase(hit);
  }
  lru_.emplace_front(page, std::move(buffer));
  index_[page] = lru_.begin();
  while (lru_.size() > capacity_) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
}

void PageFile::forgetCache() {
  lru_.clear();
  index_.clear();
}

void PageFile::requireTransaction() const {
  if (readOnly_ || !writable_) throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(name_));
  if (depth_ == 0) throw FileError(ErrorCode::Transaction, msg::noTransaction());
}

void PageFile::begin() {
  if (readOnly_ || !writable_) throw FileError(ErrorCode::ReadOnly, msg::readOnlyFile(name_));
  if (depth_ == 0) {
    journal_->begin(writable_->size());
  } else {
    // A savepoint keeps the images pages have on disk: what this level
    // changed before must be there first.
    flush();
    journal_->savepoint(writable_->size());
  }
  ++depth_;
}

void PageFile::commit() {
  if (depth_ == 0) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  if (depth_ > 1) {
    journal_->release(depth_ - 1);
    --depth_;
    return;
  }
  // The last moment a stop can still undo the transaction; from here the
  // commit goes through as a whole.
  ThrowIfCancelled();
  flush();
  try {
    journal_->commit(writable_->file());
    ++syncs_;
  } catch (const Error&) {
    // The database could not be synced: undo what was written.
    try {
      journal_->rollback(writable_->file());
    } catch (const Error&) {
    }
    depth_ = 0;
    afterRollback();
    releaseAfterTransaction();
    throw;
  }
  depth_ = 0;
  releaseAfterTransaction();
}

void PageFile::rollback() {
  if (depth_ == 0) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  dirty_.clear();
  try {
    if (depth_ == 1) {
      journal_->rollback(writable_->file());
    } else {
      journal_->rollbackTo(depth_ - 1, writable_->file());
    }
  } catch (const Error&) {
    depth_ = 0;
    afterRollback();
    releaseAfterTransaction();
    throw;
  }
  --depth_;
  afterRollback();
  releaseAfterTransaction();
}

void PageFile::afterRollback() {
  ++rollbacks_;
  forgetCache();
  writable_->refreshSize();
  pageCount_ = static_cast<uint32_t>(writable_->size() / header_.pageSize);
}

void PageFile::write(uint32_t page, std::span<const uint8_t> bytes) {
  requireTransaction();
  if (bytes.size() != header_.pageSize || page >= pageCount_ || page == 0) {
    throw FileError(ErrorCode::Invalid, msg::pageOutOfRange(page));
  }
  ++changes_;
  auto buffer = std::make_shared<PageBuffer>(bytes.begin(), bytes.end());
  auto hit = index_.find(page);
  if (hit != index_.end()) {
    lru_.erase(hit->second);
    index_.erase(hit);
  }
  dirty_[page] = std::move(buffer);
  if (dirty_.size() >= dirtyLimitNow()) flush();
}

uint32_t PageFile::allocate() {
  requireTransaction();
  if (pageCount_ == UINT32_MAX >> 8) throw FileError(ErrorCode::Invalid, msg::pageOutOfRange(pageCount_));
  uint32_t page = pageCount_++;
  ++changes_;
  dirty_[page] = std::make_shared<PageBuffer>(header_.pageSize, 0);
  if (dirty_.size() >= dirtyLimitNow()) flush();
  return page;
}

void PageFile::abandon() {
  dirty_.clear();
  try {
    journal_->rollback(writable_->file());
  } catch (const Error&) {
    // The hot journal stays for the next open to roll back.
  }
  depth_ = 0;
  afterRollback();
  releaseAfterTransaction();
}

void PageFile::truncate(uint32_t pageCount) {
  requireTransaction();
  if (pageCount >= pageCount_) return;
  if (pageCount == 0) throw FileError(ErrorCode::Invalid, msg::pageOutOfRange(0));
  ++changes_;
  dirty_.erase(dirty_.lower_bound(pageCount), dirty_.end());
  for (auto it = lru_.begin(); it != lru_.end();) {
    if (it->first >= pageCount) {
      index_.erase(it->first);
      it = lru_.erase(it);
    } else {
      ++it;
    }
  }
  nextAhead_ = UINT32_MAX;
  IoFile& db = writable_->file();
  const uint64_t newSize = static_cast<uint64_t>(pageCount) * header_.pageSize;
  try {
    // Pages on disk past the cut keep their originals in the journal, which
    // is on disk before the file shrinks.
    if (writable_->size() > newSize) {
      prepareToChange();
      journal_->journalTruncate(db, newSize);
      if (journal_->needsSync()) {
        journal_->sync();
        ++syncs_;
      }
      db.truncate(newSize);
    }
  } catch (const Error&) {
    abandon();
    throw;
  }
  writable_->refreshSize();
  pageCount_ = pageCount;
}

void PageFile::flush() {
  if (dirty_.empty()) return;
  IoFile& db = writable_->file();
  try {
    prepareToChange();
    const uint64_t size = writable_->size();
    const size_t pageSize = header_.pageSize;
    // Runs of consecutive pages go in one read and one write each.
    std::vector<uint8_t> run;
    auto forEachRun = [this](auto&& handle) {
      auto first = dirty_.begin();
      while (first != dirty_.end()) {
        auto last = std::next(first);
        size_t length = 1;
        while (last != dirty_.end() && last->first == first->first + length && length < kRunPages) {
          ++last;
          ++length;
        }
        handle(first, last, length);
        first = last;
      }
    };
    forEachRun([&](auto first, auto /*last*/, size_t length) {
      const uint64_t at = static_cast<uint64_t>(first->first) * pageSize;
      if (at >= size) return;  // new since the transaction began: rollback cuts them off
      // Pages of the run that existed when it began keep their originals.
      const size_t existing = std::min<uint64_t>(length, (size - at) / pageSize);
      run.resize(existing * pageSize);
      if (db.readAt(at, run) != run.size())
        throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(name_));
      for (size_t k = 0; k < existing; ++k)
        journal_->journalPage(first->first + static_cast<uint32_t>(k),
                              std::span<const uint8_t>(run).subspan(k * pageSize, pageSize));
    });
    // Nothing reaches the database before its undo records are on disk.
    if (journal_->needsSync()) {
      journal_->sync();
      ++syncs_;
    }
    forEachRun([&](auto first, auto last, size_t length) {
      run.resize(length * pageSize);
      size_t k = 0;
      for (auto it = first; it != last; ++it, ++k)
        std::copy(it->second->begin(), it->second->end(), run.begin() + static_cast<long>(k * pageSize));
      db.writeAt(static_cast<uint64_t>(first->first) * pageSize, run);
      written_ += length;
    });
  } catch (const Error&) {
    abandon();
    throw;
  }
  for (auto& [page, buffer] : dirty_) cache(page, std::move(buffer));
  dirty_.clear();
  writable_->refreshSize();
}

void PageFile::setCacheCapacity(size_t pages) {
  capacity_ = std::max<size_t>(pages, 1);
  while (lru_.size() > capacity_) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
}

}  // namespace jet::file
