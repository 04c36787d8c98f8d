// The rollback journal that makes a transaction all-or-nothing. Before a page
// of the database is overwritten for the first time in a transaction, its
// original image goes to a journal file beside the database ("<db>.qmj"),
// and the journal is on disk before the page is written. Committing syncs the
// database and then invalidates and removes the journal; opening a database
// whose journal is still there ("hot") puts the original pages back and cuts
// the file to its original size. Records carry checksums, so a record torn by
// a crash is recognised and skipped: the page it covers was never written.
// The header records which file the journal belongs to (its real path, file
// number, size and a checksum of its first page), and recovery applies it to
// that file only.
//
// Savepoints give statement-level rollback inside a transaction: each keeps
// the image a page had when the savepoint began, for the pages changed since.
// Those images live in the same file (recovery ignores them), indexed in
// memory.
//
// Use: hold the database's FileLock for writing; Journal::recover(db) once on
// open; then per transaction begin(size), journalPage(n, current) before
// each page write, sync() when needsSync() before writing the database,
// savepoint()/release()/rollbackTo() around statements, and commit(db) or
// rollback(db) at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "jet/file/JournalIo.h"

namespace jet::file {

// "<db>.qmj", for the real path of the database (FileIdentity.h).
std::string journalPathFor(const std::string& databasePath);

class Journal {
 public:
  // Rolls back the interrupted transaction of `databasePath` if its journal is
  // hot, and removes a journal that is not. Returns true when pages were put
  // back. Call it only while holding the database's write lock. Throws
  // FileError: ReadOnly (a hot journal needs write access), Io; Corrupt
  // (msg::foreignJournal) for a journal that was not written for this file
  // as it is now, or that does not say which file it was written for: both
  // are left as they are.
  static bool recover(const std::string& databasePath, IoSystem& io = systemIo());

  Journal(std::string databasePath, uint32_t pageSize, IoSystem& io = systemIo());
  // A transaction still open stays hot on disk, for the next open to undo.
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  bool active() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }

  // Starts a transaction on a database of `databaseSize` bytes. A journal
  // still on disk is rolled back first (a cache of pages read before must
  // then be dropped: recover() on open avoids this).
  void begin(uint64_t databaseSize);
  // Before page `page` is overwritten; `current` is its content now (the
  // page size). Pages past the original end need nothing kept: rolling back
  // cuts them off.
  void journalPage(uint32_t page, std::span<const uint8_t> current);
  // Before the database is cut to `newSize`: keeps the pages that go.
  void journalTruncate(IoFile& database, uint64_t newSize);
  // Whether records were written that must reach the disk before the
  // database is written.
  bool needsSync() const { return unsynced_; }
  void sync();

  // Opens a savepoint on a database of `databaseSize` bytes; returns its
  // level (1 for the outermost).
  int savepoint(uint64_t databaseSize);
  // Keeps the changes since the savepoint as part of the enclosing level.
  void release(int level);
  // Puts back every page changed since the savepoint and cuts the database to
  // its size then; closes that savepoint and those inside it. Returns the
  // pages put back (a page cache must forget them).
  std::vector<uint32_t> rollbackTo(int level, IoFile& database);
  int savepointLevel() const { return static_cast<int>(savepoints_.size()); }

  // Syncs the database, then ends the transaction.
  void commit(IoFile& database);
  // Puts back every page, cuts the database to its original size, syncs it,
  // then ends the transaction.
  std::vector<uint32_t> rollback(IoFile& database);

  // Pages whose original image is kept.
  size_t journaledPages() const { return originals_.size(); }

 private:
  struct Savepoint {
    uint64_t size = 0;
    std::unordered_map<uint32_t, uint64_t> images;  // page -> record offset
  };

  uint64_t appendRecord(uint8_t kind, uint32_t page, std::span<const uint8_t> image);
  // Records are gathered and written in large pieces; anything that reads
  // the journal or relies on it being on disk writes them out first.
  void writePending();
  std::vector<uint8_t> readImage(uint64_t offset);
  std::vector<uint32_t> restore(IoFile& database, const std::unordered_map<uint32_t, uint64_t>& pages);
  void finish();

  std::string database_;
  std::string path_;
  uint32_t pageSize_;
  IoSystem& io_;
  std::unique_ptr<IoFile> file_;
  uint32_t salt_ = 0;
  uint64_t originalSize_ = 0;
  uint64_t end_ = 0;              // where the next record goes
  std::vector<uint8_t> pending_;  // records not yet written, which start at pendingAt_
  uint64_t pendingAt_ = 0;
  bool unsynced_ = false;
  bool folderSynced_ = false;
  std::unordered_map<uint32_t, uint64_t> originals_;
  std::vector<Savepoint> savepoints_;
};

}  // namespace jet::file
