// A database file seen as numbered pages. Every read of the file goes through
// here, and every write, allocation and journal entry, so nothing above this
// layer touches bytes on disk.
//
// Pages are handed out as shared, immutable buffers from a bounded LRU cache:
// a table scan holds only the page it is on, so memory does not grow with the
// size of a table.
//
// Writing: a file opened with openForWriting holds the database's write lock
// and has had an interrupted transaction rolled back. Changed pages are kept
// in memory (reads see them) until a transaction level ends, or too many
// accumulate; then the original images of all of them go to the rollback
// journal, the journal is synced once, and only then are the pages written.
// Nested levels map to journal savepoints; the outermost commit makes the
// changes durable, and a rollback (or a crash) leaves the file as it was.
//
// Other processes: a writer holds the change lock (ChangeLock) exclusively
// from its first page write into the file until the transaction has ended;
// a reader of a file on disk holds it shared within beginRead()/endRead()
// (a statement), so that it sees the file as before or after a transaction,
// never in between. A reader drops the pages it keeps when the file changed
// since its last read, and rolls back the journal of a writer that died.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "jet/file/ChangeGate.h"
#include "jet/file/ChangeLock.h"
#include "jet/file/FileIdentity.h"
#include "jet/file/FileLock.h"
#include "jet/file/Header.h"
#include "jet/file/Journal.h"
#include "jet/file/JournalIo.h"
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
  // Takes the write lock (FileError ReadOnly / Locked when refused), rolls
  // back a hot journal, then opens the file for reading and writing. `io`
  // is the seam tests use to simulate failing disks.
  static std::unique_ptr<PageFile> openForWriting(const std::string& path, IoSystem& io = systemIo());
  ~PageFile();

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

  // A read transaction: nested levels count; the outermost takes the
  // shared change lock of a file on disk opened for reading (waiting for a
  // writer, FileError(Locked) after ChangeLock::timeout()), and lets go of
  // it. A writer's own reads need none: these only count there.
  void beginRead();
  void endRead();
  // Goes up whenever a read transaction found the file changed by another
  // process: whatever was read from it before may be stale.
  uint64_t generation() const { return generation_; }
  // Goes up with every page this process changes, allocates or cuts off,
  // every rollback and every change of another process found: row ids and
  // pages read before may mean something else after.
  uint64_t changes() const { return changes_ + rollbacks_ + generation_; }

  // Rolls back the journal of a writer that died, if there is one and no
  // writer holds the database now. Returns whether pages were put back.
  static bool recoverAbandonedJournal(const std::string& path);

  // Pages kept in memory; at least one.
  void setCacheCapacity(size_t pages);
  size_t cacheCapacity() const { return capacity_; }
  size_t cachedPages() const { return lru_.size(); }
  // Pages fetched from the source since opening (cache misses).
  uint64_t pagesLoaded() const { return loads_; }

  // Transaction levels. Writes need one open; begin() on a read-only file
  // throws FileError(ReadOnly). A failure while pages are written to the
  // file rolls the whole transaction back and rethrows.
  void begin();
  void commit();
  void rollback();
  int transactionDepth() const { return depth_; }

  // Replaces the page's content (exactly pageSize() bytes). The page must
  // exist or have been allocated in this transaction.
  void write(uint32_t page, std::span<const uint8_t> bytes);
  // A new zero-filled page at the end of the file; its number.
  uint32_t allocate();
  // Cuts the file to its first `pageCount` pages, which nothing past them
  // may be referred to by. The pages cut go to the journal first, so a
  // rollback or a crash puts them back.
  void truncate(uint32_t pageCount);
  // Rollbacks so far (whole or to a savepoint), for those who keep state
  // that a rollback makes stale.
  uint64_t rollbacks() const { return rollbacks_; }

  // Changed pages held in memory before they are written out together.
  void setDirtyLimit(size_t pages) { dirtyLimit_ = pages < 1 ? 1 : pages; }
  // Holds the file on disk as it is until `gate` is passed: while its work
  // goes on, changed pages stay in memory (up to `heldPages`, however low
  // the dirty limit), and the first page to be journaled or written waits
  // for it. When the work failed, the transaction is undone with its error,
  // nothing having been written. A passed gate is forgotten.
  void holdChangesUntil(std::shared_ptr<ChangeGate> gate, size_t heldPages);
  bool changesHeld() const { return gate_ != nullptr; }

  // Journal records written and synced, pages written to the database (for tests and figures).
  uint64_t pagesWritten() const { return written_; }
  uint64_t syncs() const { return syncs_; }

 private:
  PageFile(std::unique_ptr<PageSource> source, std::string name, bool readOnly);
  void requireTransaction() const;
  void cache(uint32_t page, PageRef buffer);
  void forgetCache();
  // Journals, syncs, then writes every changed page.
  void flush();
  void afterRollback();
  // After a failed write to the database: the whole transaction is undone.
  void abandon();
  // Before the first page of a transaction goes into the file (or its
  // journal): the gate is passed, then the change lock taken.
  void prepareToChange();
  void lockForChanges();
  // Changed pages kept in memory before they are written out.
  size_t dirtyLimitNow();
  // Once no transaction is open: readers may come in again.
  void releaseAfterTransaction();
  void startReading();

  std::unique_ptr<PageSource> source_;
  std::string name_;
  bool readOnly_;
  Header header_;
  uint32_t pageCount_ = 0;

  static constexpr size_t kReadAhead = 16;
  static constexpr size_t kRunPages = 64;  // pages a flush writes at once
  size_t capacity_ = 64;
  uint64_t loads_ = 0;
  uint32_t nextAhead_ = UINT32_MAX;              // the page after those last fetched
  std::list<std::pair<uint32_t, PageRef>> lru_;  // most recent first
  std::unordered_map<uint32_t, std::list<std::pair<uint32_t, PageRef>>::iterator> index_;

  // Other processes.
  std::string realPath_;
  std::unique_ptr<ChangeLock> changeLock_;
  FileSource* fileSource_ = nullptr;  // source_, when a file on disk opened for reading
  int readDepth_ = 0;
  FileStamp stamp_;
  bool stampSettled_ = false;  // stamp_ was past the timestamp granularity when last let go of
  uint64_t generation_ = 0;

  // Writing.
  std::unique_ptr<FileLock> lock_;
  WritableSource* writable_ = nullptr;  // source_, when open for writing
  std::unique_ptr<Journal> journal_;
  int depth_ = 0;
  std::map<uint32_t, PageRef> dirty_;  // in page order: written out sequentially
  size_t dirtyLimit_ = 2048;
  std::shared_ptr<ChangeGate> gate_;
  size_t heldPages_ = 0;
  uint64_t written_ = 0;
  uint64_t syncs_ = 0;
  uint64_t rollbacks_ = 0;
  uint64_t changes_ = 0;  // pages written, allocated or cut off by this process
};

// Holds a read transaction for a scope.
class ReadScope {
 public:
  explicit ReadScope(PageFile& file) : file_(file) { file_.beginRead(); }
  ~ReadScope() { file_.endRead(); }
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  PageFile& file_;
};

}  // namespace jet::file
