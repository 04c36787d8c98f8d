#include "jet/file/Journal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/FileIdentity.h"

namespace jet::file {
namespace {

// Header: magic, version, page size, original database size, salt, then
// what identifies the database (a checksum of its first page, its device and
// file number, its real path), and a checksum of the whole header.
constexpr std::array<uint8_t, 8> kMagic{'Q', 'M', 'J', 'O', 'U', 'R', 'N', '1'};
constexpr uint32_t kVersion = 2;
// Journals of the first version name no database: never applied.
constexpr uint32_t kVersionWithoutIdentity = 1;
constexpr size_t kFixedHeader = 52;  // up to the real path's bytes
constexpr size_t kMaxPath = 32 * 1024;
// Record: kind, 3 spare bytes, page, checksum, then the page image.
constexpr size_t kRecordHeader = 12;
constexpr uint8_t kOriginal = 1;        // what crash recovery puts back
constexpr uint8_t kSavepointImage = 2;  // only for rolling back to a savepoint
constexpr size_t kPendingLimit = size_t{1} << 20;

// CRC-32 (the zlib polynomial), eight bytes a step: table k gives the CRC
// of a byte followed by k zero bytes.
uint32_t crc32(std::span<const uint8_t> data, uint32_t crc = 0) {
  static const auto tables = [] {
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
      for (size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
  }();
  crc = ~crc;
  const uint8_t* p = data.data();
  size_t n = data.size();
  for (; n >= 8; p += 8, n -= 8) {
    const uint32_t low =
        crc ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
          tables[4][low >> 24] ^ tables[3][p[4]] ^ tables[2][p[5]] ^ tables[1][p[6]] ^ tables[0][p[7]];
  }
  for (; n > 0; ++p, --n) crc = tables[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t get64(const uint8_t* p) {
  return get32(p) | (static_cast<uint64_t>(get32(p + 4)) << 32);
}

// The checksum ties a record to its journal (the salt), its page and kind.
uint32_t recordChecksum(uint32_t salt, uint8_t kind, uint32_t page, std::span<const uint8_t> image) {
  uint8_t head[9];
  put32(head, salt);
  head[4] = kind;
  put32(head + 5, page);
  return crc32(image, crc32(head));
}

struct Header {
  uint32_t version = kVersion;
  uint32_t pageSize = 0;
  uint64_t originalSize = 0;
  uint32_t salt = 0;
  uint32_t firstPageChecksum = 0;
  FileNumber number;
  std::string realPath;
  size_t size() const { return kFixedHeader + realPath.size() + 4; }
};

std::vector<uint8_t> encodeHeader(const Header& h) {
  std::vector<uint8_t> b(h.size(), 0);
  std::memcpy(b.data(), kMagic.data(), kMagic.size());
  put32(&b[8], kVersion);
  put32(&b[12], h.pageSize);
  put64(&b[16], h.originalSize);
  put32(&b[24], h.salt);
  put32(&b[28], h.firstPageChecksum);
  put64(&b[32], h.number.device);
  put64(&b[40], h.number.inode);
  put32(&b[48], static_cast<uint32_t>(h.realPath.size()));
  std::memcpy(&b[kFixedHeader], h.realPath.data(), h.realPath.size());
  const size_t end = b.size() - 4;
  put32(&b[end], crc32(std::span(b).first(end)));
  return b;
}

enum class HeaderState { Invalid, Valid, WithoutIdentity };

// Reads the header at the start of `journal`. A first-version header that is
// intact but names no database is told apart from one torn or invalidated.
HeaderState readHeader(IoFile& journal, Header& h) {
  std::array<uint8_t, kFixedHeader> fixed{};
  const size_t got = journal.readAt(0, fixed);
  if (got < 32 || !std::equal(kMagic.begin(), kMagic.end(), fixed.begin())) return HeaderState::Invalid;
  h.version = get32(&fixed[8]);
  h.pageSize = get32(&fixed[12]);
  h.originalSize = get64(&fixed[16]);
  h.salt = get32(&fixed[24]);
  if (h.pageSize < 512 || h.pageSize > 65536) return HeaderState::Invalid;
  if (h.version == kVersionWithoutIdentity)  // 28 bytes, then their checksum
    return get32(&fixed[28]) == crc32(std::span<const uint8_t>(fixed).first(28))
               ? HeaderState::WithoutIdentity
               : HeaderState::Invalid;
  if (h.version != kVersion || got != fixed.size()) return HeaderState::Invalid;
  const uint32_t pathLength = get32(&fixed[48]);
  if (pathLength > kMaxPath) return HeaderState::Invalid;
  std::vector<uint8_t> b(kFixedHeader + pathLength + 4);
  if (journal.readAt(0, b) != b.size()) return HeaderState::Invalid;
  const size_t end = b.size() - 4;
  if (get32(&b[end]) != crc32(std::span<const uint8_t>(b).first(end))) return HeaderState::Invalid;
  h.firstPageChecksum = get32(&b[28]);
  h.number.device = get64(&b[32]);
  h.number.inode = get64(&b[40]);
  h.realPath.assign(reinterpret_cast<const char*>(&b[kFixedHeader]), pathLength);
  return HeaderState::Valid;
}

uint32_t firstPageChecksum(IoFile& database, uint32_t pageSize) {
  std::vector<uint8_t> first(pageSize, 0);
  first.resize(database.readAt(0, first));
  return crc32(first);
}

// A committed or abandoned journal is made unrecognisable before it is
// removed, so that a removal the crash undid cannot roll a commit back.
void invalidate(IoFile& f) {
  std::array<uint8_t, kMagic.size()> zero{};
  f.writeAt(0, zero);
  f.sync();
}

}  // namespace

std::string journalPathFor(const std::string& databasePath) {
  return databasePath + ".qmj";
}

namespace {

// An intact record that puts back a page of the database.
struct Original {
  uint32_t page = 0;
  uint64_t image = 0;  // offset of the page image
};

// Whether the journal was written for `database` as it is now. The path and
// file number must be the same; the first page must be as it was when the
// transaction began, or be one the transaction itself changed (its original
// is in the journal); and a file shorter than it was may only have lost
// pages whose originals were kept before it was cut.
bool belongsTo(const Header& h, const std::string& database, IoFile& db, IoFile& journal,
               const std::vector<Original>& originals) {
  if (h.realPath != database) return false;
  const FileNumber now = fileNumberOf(database);
  if (h.number.known() && now.known() && !(h.number == now)) return false;
  if (firstPageChecksum(db, h.pageSize) != h.firstPageChecksum) {
    bool firstPageRewritten = false;
    std::vector<uint8_t> image(h.pageSize);
    for (const Original& o : originals)
      if (o.page == 0 && journal.readAt(o.image, image) == image.size() &&
          crc32(image) == h.firstPageChecksum)
        firstPageRewritten = true;
    if (!firstPageRewritten) return false;
  }
  const uint64_t size = db.size();
  if (size < h.originalSize) {
    std::vector<bool> kept(static_cast<size_t>(h.originalSize / h.pageSize), false);
    for (const Original& o : originals)
      if (o.page < kept.size()) kept[o.page] = true;
    for (uint64_t page = size / h.pageSize; page < kept.size(); ++page)
      if (!kept[static_cast<size_t>(page)]) return false;
  }
  return true;
}

}  // namespace

bool Journal::recover(const std::string& databasePath, IoSystem& io) {
  const std::string database = realPathOf(databasePath);
  const std::string path = journalPathFor(database);
  if (!io.exists(path)) return false;
  bool restored = false;
  {
    std::unique_ptr<IoFile> journal = io.open(path, false);
    Header h;
    const HeaderState state = readHeader(*journal, h);
    // Without an intact header nothing was written to the database yet (the
    // header is on disk before the first page write): the journal just goes.
    if (state == HeaderState::WithoutIdentity)
      throw FileError(ErrorCode::Corrupt, msg::foreignJournal(path, databasePath));
    if (state == HeaderState::Valid) {
      std::unique_ptr<IoFile> db = io.open(database, false);
      const uint64_t size = journal->size();
      std::vector<uint8_t> record(kRecordHeader + h.pageSize);
      std::vector<Original> originals;
      for (uint64_t at = h.size(); at + record.size() <= size; at += record.size()) {
        if (journal->readAt(at, record) != record.size()) break;
        const uint8_t kind = record[0];
        const uint32_t page = get32(&record[4]);
        auto image = std::span<const uint8_t>(record).subspan(kRecordHeader);
        // A torn record was never followed by its page write: skip it.
        if (kind != kOriginal || get32(&record[8]) != recordChecksum(h.salt, kind, page, image)) continue;
        if (static_cast<uint64_t>(page) * h.pageSize >= h.originalSize) continue;
        originals.push_back({page, at + kRecordHeader});
      }
      // Applied to any other file it would overwrite that file's pages with
      // these: leave both alone and say so.
      if (!belongsTo(h, database, *db, *journal, originals))
        throw FileError(ErrorCode::Corrupt, msg::foreignJournal(path, databasePath));
      std::vector<uint8_t> image(h.pageSize);
      for (const Original& o : originals) {
        if (journal->readAt(o.image, image) != image.size()) break;
        db->writeAt(static_cast<uint64_t>(o.page) * h.pageSize, image);
        restored = true;
      }
      if (db->size() != h.originalSize) {
        db->truncate(h.originalSize);
        restored = true;
      }
      db->sync();
    }
    invalidate(*journal);
  }
  io.remove(path);
  io.syncFolderOf(path);
  return restored;
}

Journal::Journal(std::string databasePath, uint32_t pageSize, IoSystem& io)
    : database_(realPathOf(databasePath)), path_(journalPathFor(database_)), pageSize_(pageSize), io_(io) {}

Journal::~Journal() = default;

void Journal::begin(uint64_t databaseSize) {
  if (active()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  // A journal left by a crash must be undone, never overwritten. The open
  // normally did this already; the database size is then that of before.
  if (io_.exists(path_) && recover(database_, io_)) {
    auto db = io_.open(database_, false);
    databaseSize = db->size();
  }
  std::random_device rd;
  salt_ = rd();
  originalSize_ = databaseSize;
  originals_.clear();
  savepoints_.clear();
  // What recovery checks before it applies this journal to a file.
  Header h;
  h.pageSize = pageSize_;
  h.originalSize = databaseSize;
  h.salt = salt_;
  h.firstPageChecksum = firstPageChecksum(*io_.open(database_, false), pageSize_);
  h.number = fileNumberOf(database_);
  h.realPath = database_;
  file_ = io_.open(path_, true);
  try {
    file_->truncate(0);
    file_->writeAt(0, encodeHeader(h));
  } catch (...) {
    file_.reset();
    io_.remove(path_);
    throw;
  }
  end_ = h.size();
  unsynced_ = true;  // the header must be down before the first page write
  folderSynced_ = false;
}

uint64_t Journal::appendRecord(uint8_t kind, uint32_t page, std::span<const uint8_t> image) {
  if (pending_.empty()) pendingAt_ = end_;
  const size_t start = pending_.size();
  pending_.resize(start + kRecordHeader + pageSize_, 0);
  uint8_t* record = pending_.data() + start;
  record[0] = kind;
  put32(record + 4, page);
  std::copy(image.begin(), image.begin() + std::min<size_t>(image.size(), pageSize_), record + kRecordHeader);
  put32(record + 8,
        recordChecksum(salt_, kind, page, std::span<const uint8_t>(record + kRecordHeader, pageSize_)));
  const uint64_t at = end_;
  end_ += kRecordHeader + pageSize_;
  if (pending_.size() >= kPendingLimit) writePending();
  return at + kRecordHeader;
}

void Journal::writePending() {
  if (pending_.empty()) return;
  file_->writeAt(pendingAt_, pending_);
  pending_.clear();
}

void Journal::journalPage(uint32_t page, std::span<const uint8_t> current) {
  if (!active()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  const uint64_t pageStart = static_cast<uint64_t>(page) * pageSize_;
  uint64_t offset = 0;
  bool have = false;
  if (pageStart < originalSize_ && !originals_.count(page)) {
    offset = appendRecord(kOriginal, page, current);
    originals_[page] = offset;
    have = true;
    unsynced_ = true;
  }
  // Each open savepoint keeps the page as it was when the savepoint began:
  // the content now, if the page has not changed since.
  for (auto it = savepoints_.rbegin(); it != savepoints_.rend(); ++it) {
    if (pageStart >= it->size || it->images.count(page)) continue;
    if (!have) {
      offset = appendRecord(kSavepointImage, page, current);
      have = true;
    }
    it->images[page] = offset;
  }
}

void Journal::journalTruncate(IoFile& database, uint64_t newSize) {
  const uint64_t size = database.size();
  std::vector<uint8_t> image(pageSize_);
  for (uint64_t page = newSize / pageSize_; page * pageSize_ < size; ++page) {
    std::fill(image.begin(), image.end(), 0);
    database.readAt(page * pageSize_, image);
    journalPage(static_cast<uint32_t>(page), image);
  }
}

void Journal::sync() {
  if (!active()) return;
  writePending();
  if (!unsynced_) return;
  file_->sync();
  if (!folderSynced_) {
    io_.syncFolderOf(path_);
    folderSynced_ = true;
  }
  unsynced_ = false;
}

int Journal::savepoint(uint64_t databaseSize) {
  if (!active()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  savepoints_.push_back(Savepoint{databaseSize, {}});
  return static_cast<int>(savepoints_.size());
}

void Journal::release(int level) {
  if (level < 1 || level > savepointLevel()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  // Nothing to merge: journalPage() records a page in every open savepoint
  // at once, so the enclosing one already holds its own, older images.
  savepoints_.resize(static_cast<size_t>(level - 1));
}

std::vector<uint8_t> Journal::readImage(uint64_t offset) {
  std::vector<uint8_t> image(pageSize_);
  // Records not yet written are read from memory: after a write that failed
  // (a full disk) they are nowhere else, and the rollback must not need the
  // disk space that just ran out.
  if (!pending_.empty() && offset >= pendingAt_) {
    const uint64_t at = offset - pendingAt_;
    if (at + pageSize_ > pending_.size()) throw FileError(ErrorCode::Io, msg::corruptJournal(path_));
    std::copy_n(pending_.begin() + static_cast<long>(at), pageSize_, image.begin());
    return image;
  }
  if (file_->readAt(offset, image) != image.size())
    throw FileError(ErrorCode::Io, msg::corruptJournal(path_));
  return image;
}

std::vector<uint32_t> Journal::restore(IoFile& database,
                                       const std::unordered_map<uint32_t, uint64_t>& pages) {
  // In page order: sequential writes, and the same result whatever the map's order.
  std::vector<std::pair<uint32_t, uint64_t>> sorted(pages.begin(), pages.end());
  std::sort(sorted.begin(), sorted.end());
  std::vector<uint32_t> restored;
  for (const auto& [page, offset] : sorted) {
    database.writeAt(static_cast<uint64_t>(page) * pageSize_, readImage(offset));
    restored.push_back(page);
  }
  return restored;
}

std::vector<uint32_t> Journal::rollbackTo(int level, IoFile& database) {
  if (level < 1 || level > savepointLevel()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  Savepoint& sp = savepoints_[static_cast<size_t>(level - 1)];
  // Inner savepoints only hold images newer than this one's, or of pages
  // this one did not cover (created after it began): cutting the file to
  // this savepoint's size removes the latter.
  std::vector<uint32_t> restored = restore(database, sp.images);
  if (database.size() != sp.size) database.truncate(sp.size);
  savepoints_.resize(static_cast<size_t>(level - 1));
  return restored;
}

void Journal::commit(IoFile& database) {
  if (!active()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  database.sync();
  finish();
}

std::vector<uint32_t> Journal::rollback(IoFile& database) {
  if (!active()) throw FileError(ErrorCode::Transaction, msg::noTransaction());
  std::vector<uint32_t> restored = restore(database, originals_);
  if (database.size() != originalSize_) database.truncate(originalSize_);
  database.sync();
  finish();
  return restored;
}

void Journal::finish() {
  pending_ = {};
  invalidate(*file_);
  file_.reset();
  io_.remove(path_);
  originals_.clear();
  savepoints_.clear();
  unsynced_ = false;
}

}  // namespace jet::file
