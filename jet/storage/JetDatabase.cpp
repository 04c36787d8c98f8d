#include "jet/storage/JetDatabase.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/format/FreePageMap.h"
#include "jet/format/TextCodec.h"
#include "jet/storage/CatalogValues.h"
#include "jet/storage/JetTable.h"

namespace jet::storage {

namespace {
// Jet 3 files of Western locales leave the code page 0 and mean Windows-1252.
constexpr uint16_t kDefaultCodePage = 1252;

// Whether row 0 of page 1 is a map of free pages we may take pages from and
// give them back to. Files our first writer made keep the catalogue's page
// map there; a file whose row is damaged is left as it is too.
bool freePageMapUsable(const std::shared_ptr<JetContext>& context) {
  if (context->file->readOnly()) return false;
  try {
    format::FreePageMap map(*context->file, context->layout);
    JetTable catalog(context, kCatalogTable, kCatalogPage);
    const format::TableDefinition& def = catalog.definition();
    if (def.usedPagesPointer == format::kFreePageMapPointer ||
        def.freePagesPointer == format::kFreePageMapPointer)
      return false;
    for (const auto& index : def.physicalIndexes)
      if (index.usedPagesPointer == format::kFreePageMapPointer) return false;
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

std::unique_ptr<JetDatabase> JetDatabase::open(const std::string& path, const std::string& password,
                                               bool readOnly) {
  if (!readOnly) {
    return std::unique_ptr<JetDatabase>(new JetDatabase(file::PageFile::openForWriting(path), password));
  }
  // The page file rolls back the journal of a writer that died, when it may.
  return std::unique_ptr<JetDatabase>(new JetDatabase(file::PageFile::open(path, true), password));
}

std::unique_ptr<JetDatabase> JetDatabase::openForWriting(const std::string& path, const std::string& password,
                                                         file::IoSystem& io) {
  return std::unique_ptr<JetDatabase>(new JetDatabase(file::PageFile::openForWriting(path, io), password));
}

std::unique_ptr<JetDatabase> JetDatabase::openBytes(std::vector<uint8_t> bytes, const std::string& password,
                                                    const std::string& name) {
  return std::unique_ptr<JetDatabase>(
      new JetDatabase(file::PageFile::fromBytes(std::move(bytes), name), password));
}

JetDatabase::JetDatabase(std::unique_ptr<file::PageFile> file, const std::string& password)
    : context_(std::make_shared<JetContext>()) {
  if (!file->header().acceptsPassword(password))
    throw StorageError(ErrorCode::BadPassword, msg::badPassword());
  context_->layout = format::Layout::forVersion(file->version());
  context_->text.ucs2 = !file->isJet3();
  uint16_t cp = file->header().codePage;
  context_->text.codePage = format::codePageSupported(cp) ? cp : kDefaultCodePage;
  context_->file = std::move(file);
  file::ReadScope reading(*context_->file);
  generation_ = context_->file->generation();
  catalog_ = readCatalog(context_);
  context_->freeMapUsable = freePageMapUsable(context_);
}

DatabaseInfo JetDatabase::info() const {
  const file::Header& h = context_->file->header();
  DatabaseInfo i;
  i.version = h.version;
  i.formatName = h.versionName();
  i.pageSize = h.pageSize;
  i.pageCount = context_->file->pageCount();
  i.codePage = h.codePage;
  i.sortOrder = h.sortOrder;
  i.hasPassword = !h.password.empty();
  return i;
}

const CatalogObject* JetDatabase::find(const std::string& name) const {
  for (const auto& o : catalog_) {
    if (equalsIgnoreCase(o.name, name)) return &o;
  }
  return nullptr;
}

void JetDatabase::loadQueries() {
  if (queriesLoaded_) return;
  queriesLoaded_ = true;
  const CatalogObject* q = find(kQueryTable);
  if (!q || q->kind == ObjectKind::Table) return;
  auto shared = std::make_shared<JetTable>(context_, q->name, q->tdefPage());
  const TableSchema& s = shared->schema();
  int attr = s.findColumn("Attribute"), expr = s.findColumn("Expression"), flag = s.findColumn("Flag"),
      extra = s.findColumn("LvExtra"), name1 = s.findColumn("Name1"), name2 = s.findColumn("Name2"),
      object = s.findColumn("ObjectId");
  if (attr < 0 || expr < 0 || flag < 0 || name1 < 0 || name2 < 0 || object < 0) {
    throw StorageError(ErrorCode::Corrupt, msg::corruptCatalog(kQueryTable));
  }
  std::map<int32_t, std::vector<QueryRow>> rows;
  auto cursor = shared->scan();
  while (cursor->next()) {
    const Row& r = cursor->row();
    auto objectId = integerOf(r[object]), attribute = integerOf(r[attr]);
    if (!objectId || !attribute) continue;
    QueryRow qr;
    qr.attribute = static_cast<uint8_t>(*attribute);
    qr.expression = textOf(r[expr]);
    qr.flag = static_cast<int16_t>(integerOr(r[flag], 0));
    qr.extra = extra >= 0 ? static_cast<int32_t>(integerOr(r[extra], 0)) : 0;
    qr.name1 = textOf(r[name1]);
    qr.name2 = textOf(r[name2]);
    rows[static_cast<int32_t>(*objectId)].push_back(std::move(qr));
  }
  for (auto& o : catalog_) {
    if (o.type != kObjectQuery) continue;
    QueryText text = rebuildQuery(rows[o.id], o.flags);
    // The Jet provider lists plain select queries as views, everything else
    // (actions, unions, crosstabs, parameter queries) as procedures.
    o.kind = text.type == QueryType::Select && !text.hasParameters ? ObjectKind::View : ObjectKind::Procedure;
    queries_[o.id] = std::move(text);
  }
}

std::vector<CatalogEntry> JetDatabase::objects() {
  ReadGuard reading(*this);
  loadQueries();
  std::vector<CatalogEntry> out;
  for (const auto& o : catalog_) out.push_back({o.name, o.kind});
  return out;
}

std::shared_ptr<Table> JetDatabase::openTable(const std::string& name) {
  ReadGuard reading(*this);
  const CatalogObject* o = find(name);
  if (!o || o->type == kObjectQuery) return nullptr;
  if (o->kind == ObjectKind::LinkedTable) {
    throw StorageError(ErrorCode::Unsupported, msg::linkedTableNotSupported(o->name));
  }
  auto table = std::make_shared<JetTable>(context_, o->name, o->tdefPage());
  if (isSystemTable(o->name, o->kind)) table->markSystemTable();
  return table;
}

std::optional<std::string> JetDatabase::querySql(const std::string& name) {
  ReadGuard reading(*this);
  loadQueries();
  const CatalogObject* o = find(name);
  if (!o || o->type != kObjectQuery) return std::nullopt;
  auto it = queries_.find(o->id);
  if (it == queries_.end() || it->second.sql.empty()) return std::nullopt;
  return it->second.sql;
}

// Data definition: JetDdl.cpp.

void JetDatabase::begin() {
  if (context_->file->readOnly()) {
    // Nothing can change, so a level only counts.
    ++depth_;
    return;
  }
  // Levels inside a transaction a failed write already undid would map to
  // the wrong levels of the file: that transaction must be ended first.
  if (context_->file->transactionDepth() < depth_)
    throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  context_->file->begin();
  ++depth_;
  commitFailed_ = false;
}

void JetDatabase::commit() {
  if (depth_ == 0) throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  --depth_;
  if (context_->file->readOnly()) return;
  // A failed write to the file undid the whole transaction already.
  if (context_->file->transactionDepth() != depth_ + 1)
    throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  try {
    context_->file->commit();
  } catch (const Error&) {
    // The file rolled the transaction back; the caller's rollback of this
    // level then has nothing left to do, and must not bury this error
    // under one of its own.
    if (context_->file->transactionDepth() <= depth_)
      commitFailed_ = true;
    else
      ++depth_;
    throw;
  }
}

void JetDatabase::rollback() {
  if (depth_ == 0) {
    if (commitFailed_) {
      commitFailed_ = false;
      return;
    }
    throw StorageError(ErrorCode::Transaction, msg::noTransaction());
  }
  --depth_;
  if (!context_->file->readOnly()) {
    // Levels the file no longer has (a failed write undid them) are only counted down.
    if (context_->file->transactionDepth() > depth_) context_->file->rollback();
    // Definitions read inside the level may describe pages that are gone.
    catalog_ = readCatalog(context_);
  }
}

void JetDatabase::beginRead() {
  context_->file->beginRead();
  if (readDepth_++ > 0 || context_->file->generation() == generation_) return;
  // Another process changed the file since the last read: what was read
  // from its catalogue may be stale.
  try {
    generation_ = context_->file->generation();
    catalog_ = readCatalog(context_);
    queriesLoaded_ = false;
    queries_.clear();
  } catch (...) {
    generation_ = UINT64_MAX;
    endRead();
    throw;
  }
}

void JetDatabase::endRead() {
  if (readDepth_ == 0) return;
  --readDepth_;
  context_->file->endRead();
}

}  // namespace jet::storage
