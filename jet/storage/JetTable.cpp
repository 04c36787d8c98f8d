#include "jet/storage/JetTable.h"

#include <algorithm>
#include <random>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/LongValue.h"
#include "jet/format/RowLayout.h"
#include "jet/format/TextCodec.h"
#include "jet/format/UsageMap.h"

namespace jet::storage {

namespace {

// A moved row may move again; Jet never chains more than a few hops.
constexpr int kMaxOverflowHops = 8;

class JetCursor : public RowCursor {
 public:
  JetCursor(std::shared_ptr<const JetTable> table, std::shared_ptr<JetContext> context,
            std::vector<bool> wanted = {})
      : table_(std::move(table)),
        context_(std::move(context)),
        map_(*context_->file, context_->layout, table_->definition().usedPagesPointer),
        wanted_(std::move(wanted)) {}

  bool next() override {
    for (;;) {
      if (page_) {
        while (slot_ < page_->rowCount()) {
          unsigned s = slot_++;
          if (table_->readRow(*page_, s, row_, wanted_.empty() ? nullptr : &wanted_)) {
            id_ = (static_cast<RowId>(page_->pageNumber()) << 8) | s;
            return true;
          }
        }
        page_.reset();
      }
      auto number = map_.next();
      if (!number) return false;
      file::PageRef bytes = context_->file->read(*number);
      // The map may name pages that have since passed to other uses.
      if ((*bytes)[0] != static_cast<uint8_t>(format::PageType::Data) ||
          file::getU32(bytes->data() + context_->layout.dataOwnerOffset) != table_->definition().page) {
        continue;
      }
      page_.emplace(context_->layout, std::move(bytes), *number);
      slot_ = 0;
    }
  }
  const Row& row() const override { return row_; }
  Row takeRow() override { return std::move(row_); }
  RowId rowId() const override { return id_; }

 private:
  std::shared_ptr<const JetTable> table_;
  std::shared_ptr<JetContext> context_;
  format::UsageMap map_;
  std::optional<format::DataPage> page_;
  std::vector<bool> wanted_;  // empty: every column
  unsigned slot_ = 0;
  Row row_;
  RowId id_ = 0;
};

}  // namespace

JetTable::JetTable(std::shared_ptr<JetContext> context, std::string name, uint32_t tdefPage)
    : context_(std::move(context)), name_(std::move(name)) {
  definition_ = format::readTableDefinition(*context_->file, context_->layout, tdefPage,
                                            context_->text.codePage, name_);
  for (const auto& c : definition_.columns) {
    if (!format::dataTypeOf(c.type)) {
      throw StorageError(ErrorCode::Unsupported, msg::unsupportedColumnType(name_, c.name, c.type));
    }
  }
  schema_ = buildSchema();
  decoder_ = std::make_unique<format::RowDecoder>(*context_->file, context_->layout, definition_,
                                                  context_->text, name_);
}

TableSchema JetTable::buildSchema() const {
  TableSchema s;
  s.name = name_;
  for (const auto& c : definition_.columns) {
    ColumnDef col;
    col.name = c.name;
    col.type = *format::dataTypeOf(c.type);
    col.size = c.length;
    if (col.type == DataType::Text && !context_->layout.jet3) col.size = c.length / 2;
    col.autoNumber = c.flags & (format::kColumnAutoLong | format::kColumnAutoGuid);
    col.required = !(c.flags & format::kColumnNullable);
    col.fixedLength = c.fixed();
    col.compressedUnicode = c.extFlags & format::kColumnCompressedUnicode;
    if (col.type == DataType::Decimal) {
      col.precision = c.precision;
      col.scale = c.scale;
    }
    s.columns.push_back(std::move(col));
  }
  for (const auto& ix : definition_.indexes) {
    IndexDef d;
    d.name = ix.name;
    const format::PhysicalIndex& phys = definition_.physicalIndexes[ix.physical];
    for (const auto& ic : phys.columns) {
      for (size_t i = 0; i < definition_.columns.size(); ++i) {
        if (definition_.columns[i].number == ic.columnNumber) {
          d.columns.push_back({static_cast<int>(i), ic.ascending});
          break;
        }
      }
    }
    d.primaryKey = ix.kind == format::kIndexPrimaryKey;
    d.foreignKey = ix.kind == format::kIndexForeignKey;
    d.unique = d.primaryKey || (phys.flags & format::kIndexUnique);
    d.ignoreNulls = phys.flags & format::kIndexIgnoreNulls;
    d.required = d.primaryKey || (phys.flags & format::kIndexRequired);
    s.indexes.push_back(std::move(d));
  }
  return s;
}

bool JetTable::readRow(const format::DataPage& page, unsigned slot, Row& out,
                       const std::vector<bool>* wanted) const {
  format::RowSlot s = page.slot(slot);
  if (s.state == format::RowState::Deleted || s.state == format::RowState::OverflowTarget) return false;
  if (s.state == format::RowState::Normal) {
    out = decoder_->decode(page.bytes(s), page.pageNumber(), slot, wanted);
    return true;
  }
  // An overflow stub: its first 4 bytes point at the moved row.
  uint32_t fromPage = page.pageNumber();
  unsigned fromSlot = slot;
  format::RowSlot current = s;
  std::optional<format::DataPage> target;
  const format::DataPage* at = &page;
  for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
    auto stub = at->bytes(current);
    if (stub.size() < 4) throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, fromPage, fromSlot));
    format::RowPointer p = format::RowPointer::decode(file::getU32(stub.data()));
    target.emplace(context_->layout, context_->file->read(p.page), p.page);
    if (target->owner() != definition_.page) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, fromPage, fromSlot));
    }
    current = target->slot(p.row);
    at = &*target;
    if (current.state == format::RowState::Deleted) return false;
    if (current.state != format::RowState::OverflowStub) {
      out = decoder_->decode(at->bytes(current), p.page, p.row, wanted);
      return true;
    }
  }
  throw FormatError(ErrorCode::Corrupt, msg::pageChainLoop(fromPage));
}

std::unique_ptr<RowCursor> JetTable::scan() {
  return std::make_unique<JetCursor>(shared_from_this(), context_);
}

std::unique_ptr<RowCursor> JetTable::scan(const std::vector<bool>& wanted) {
  if (wanted.size() != definition_.columns.size()) return scan();
  return std::make_unique<JetCursor>(shared_from_this(), context_, wanted);
}

void JetTable::forEachRowId(const std::function<void(RowId)>& visit) {
  format::UsageMap map(*context_->file, context_->layout, definition_.usedPagesPointer);
  const std::vector<bool> noColumns(definition_.columns.size(), false);
  Row scratch;
  while (auto number = map.next()) {
    file::PageRef bytes = context_->file->read(*number);
    // The map may name pages that have since passed to other uses.
    if ((*bytes)[0] != static_cast<uint8_t>(format::PageType::Data) ||
        file::getU32(bytes->data() + context_->layout.dataOwnerOffset) != definition_.page) {
      continue;
    }
    const format::DataPage page(context_->layout, std::move(bytes), *number);
    for (unsigned s = 0; s < page.rowCount(); ++s) {
      const format::RowState state = page.slot(s).state;
      if (state == format::RowState::Deleted || state == format::RowState::OverflowTarget) continue;
      if (state == format::RowState::OverflowStub && !readRow(page, s, scratch, &noColumns)) continue;
      visit((static_cast<RowId>(*number) << 8) | s);
    }
  }
}

Row JetTable::fetch(RowId id) {
  uint64_t pageNumber = id >> 8;
  unsigned slot = static_cast<unsigned>(id & 0xff);
  if (pageNumber == 0 || pageNumber >= context_->file->pageCount()) {
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  file::PageRef bytes = context_->file->read(static_cast<uint32_t>(pageNumber));
  format::DataPage page(context_->layout, std::move(bytes), static_cast<uint32_t>(pageNumber));
  if (page.owner() != definition_.page || slot >= page.rowCount()) {
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  Row row;
  if (!readRow(page, slot, row)) throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  return row;
}

namespace {

// Runs a write as a transaction of its own when none is open.
class WriteScope {
 public:
  explicit WriteScope(file::PageFile& f) : file_(f), own_(f.transactionDepth() == 0) {
    if (own_) file_.begin();
  }
  ~WriteScope() {
    if (own_ && file_.transactionDepth() > 0) {
      try {
        file_.rollback();
      } catch (const Error&) {
      }
    }
  }
  void done() {
    if (own_) {
      own_ = false;
      file_.commit();
    }
  }

 private:
  file::PageFile& file_;
  bool own_;
};

bool isLong(const format::ColumnDefinition& c) {
  return c.type == static_cast<uint8_t>(DataType::Memo) ||
         c.type == static_cast<uint8_t>(DataType::LongBinary);
}

format::RowPointer pointerOf(RowId id) {
  return {static_cast<uint32_t>(id >> 8), static_cast<uint8_t>(id & 0xff)};
}

RowId idOf(format::RowPointer p) {
  return (static_cast<RowId>(p.page) << 8) | p.row;
}

std::vector<uint8_t> pointerBytes(format::RowPointer p) {
  std::vector<uint8_t> b(4);
  file::putU32(b.data(), p.encode());
  return b;
}

}  // namespace

void JetTable::requireWritable() const {
  if (systemTable_) throw StorageError(ErrorCode::Invalid, msg::cannotModifySystemTable(name_));
  if (context_->file->readOnly())
    throw StorageError(ErrorCode::ReadOnly, msg::readOnlyFile(context_->file->name()));
}

std::vector<std::unique_ptr<IndexWriter>>& JetTable::indexWriters() {
  if (!indexesLoaded_) {
    for (size_t i = 0; i < definition_.physicalIndexes.size(); ++i) {
      indexes_.push_back(std::make_unique<IndexWriter>(*context_, definition_, i, name_));
    }
    indexesLoaded_ = true;
  }
  return indexes_;
}

JetTable::Location JetTable::locate(RowId id) const {
  Location loc;
  loc.id = pointerOf(id);
  if (loc.id.page == 0 || loc.id.page >= context_->file->pageCount() || (id >> 32) != 0) {
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  format::DataPage page(context_->layout, context_->file->read(loc.id.page), loc.id.page);
  if (page.owner() != definition_.page || page.isLongValuePage() || loc.id.row >= page.rowCount()) {
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  format::RowSlot s = page.slot(loc.id.row);
  loc.state = s.state;
  loc.stored = loc.id;
  if (s.state == format::RowState::Deleted || s.state == format::RowState::OverflowTarget) {
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  }
  auto bytes = page.bytes(s);
  if (s.state == format::RowState::OverflowStub) {
    if (bytes.size() < 4)
      throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, loc.id.page, loc.id.row));
    loc.stored = format::RowPointer::decode(file::getU32(bytes.data()));
    if (loc.stored.page == 0 || loc.stored.page >= context_->file->pageCount()) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, loc.id.page, loc.id.row));
    }
    format::DataPage target(context_->layout, context_->file->read(loc.stored.page), loc.stored.page);
    if (target.owner() != definition_.page || loc.stored.row >= target.rowCount()) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, loc.id.page, loc.id.row));
    }
    format::RowSlot ts = target.slot(loc.stored.row);
    if (ts.state != format::RowState::OverflowTarget && ts.state != format::RowState::Normal) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptRow(name_, loc.id.page, loc.id.row));
    }
    auto tb = target.bytes(ts);
    loc.bytes.assign(tb.begin(), tb.end());
    return loc;
  }
  loc.bytes.assign(bytes.begin(), bytes.end());
  return loc;
}

void JetTable::prepare(Row& row, const Row* previous, uint32_t& lastAutoNumber) const {
  if (row.size() != definition_.columns.size())
    throw StorageError(ErrorCode::Invalid, msg::valueCountMismatch());
  for (size_t i = 0; i < definition_.columns.size(); ++i) {
    const format::ColumnDefinition& c = definition_.columns[i];
    Value& v = row[i];
    if (c.flags & format::kColumnAutoLong) {
      if (v.isNull()) {
        if (previous) {
          v = (*previous)[i];
        } else {
          if (lastAutoNumber >= static_cast<uint32_t>(INT32_MAX))
            throw StorageError(ErrorCode::Overflow, msg::overflow(c.name));
          v = Value::longInt(static_cast<int32_t>(++lastAutoNumber));
        }
      } else if (v.isIntegral() && v.asInt() > 0 && static_cast<uint64_t>(v.asInt()) > lastAutoNumber &&
                 v.asInt() <= INT32_MAX) {
        lastAutoNumber = static_cast<uint32_t>(v.asInt());  // the next number follows the greatest given
      }
    }
    if ((c.flags & format::kColumnAutoGuid) && v.isNull()) {
      if (previous) {
        v = (*previous)[i];
      } else {
        std::random_device rd;
        Guid g;
        for (auto& b : g.bytes) b = static_cast<uint8_t>(rd());
        g.bytes[7] = static_cast<uint8_t>((g.bytes[7] & 0x0f) | 0x40);  // version 4, stored order
        g.bytes[8] = static_cast<uint8_t>((g.bytes[8] & 0x3f) | 0x80);
        v = Value::guid(g);
      }
    }
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      if (v.isNull()) v = Value::boolean(false);
      if (v.type() != DataType::Boolean) {
        if (!v.isNumeric())
          throw StorageError(ErrorCode::TypeMismatch, msg::typeMismatch(name_ + "." + c.name));
        v = Value::boolean(v.toDouble() != 0);
      }
      continue;
    }
    if (v.isNull()) {
      if (!(c.flags & format::kColumnNullable)) {
        throw StorageError(ErrorCode::NullInRequired, msg::nullInRequired(name_, c.name));
      }
      continue;
    }
    const bool text = c.type == static_cast<uint8_t>(DataType::Text);
    if ((text || c.type == static_cast<uint8_t>(DataType::Memo)) && v.isText() && !context_->text.ucs2) {
      // Access 97 text is in the file's code page: a character it lacks is
      // refused before anything is written, and the length counts bytes.
      if (auto missing = format::firstUnencodable(v.asText(), context_->text.codePage))
        throw StorageError(ErrorCode::Invalid,
                           msg::textNotInCodePage(name_ + "." + c.name, *missing, context_->text.codePage));
      if (text && format::encodeCodePageText(v.asText(), context_->text.codePage).size() > c.length)
        throw StorageError(ErrorCode::Invalid, msg::valueTooLong(name_, c.name));
    } else if (text && v.isText() && utf16Length(v.asText()) > c.length / 2u) {
      throw StorageError(ErrorCode::Invalid, msg::valueTooLong(name_, c.name));
    }
  }
}

std::vector<std::optional<Bytes>> JetTable::keysOf(const Row& row) {
  std::vector<std::optional<Bytes>> keys;
  for (auto& ix : indexWriters()) keys.push_back(ix->keyOf(row));
  return keys;
}

format::RowPointer JetTable::placeLongValueRow(std::vector<uint8_t> row) {
  const format::Layout& layout = context_->layout;
  if (lvalPage_ != 0 && lvalPage_ < context_->file->pageCount()) {
    file::PageRef bytes = context_->file->read(lvalPage_);
    format::DataPage page(layout, bytes, lvalPage_);
    if (page.isLongValuePage()) {
      auto rows = page.storedRows();
      rows.push_back({0, row});
      if (format::DataPage::fits(layout, rows)) {
        context_->file->write(lvalPage_, format::DataPage::pack(layout, *bytes, rows));
        return {lvalPage_, static_cast<uint8_t>(rows.size() - 1)};
      }
    }
  }
  uint32_t number = context_->allocatePage();
  file::PageBuffer empty = format::DataPage::build(layout, 0, {}, true);
  std::vector<format::StoredRow> rows{{0, std::move(row)}};
  context_->file->write(number, format::DataPage::pack(layout, empty, rows));
  lvalPage_ = number;
  return {number, 0};
}

std::vector<uint8_t> JetTable::storeLongValue(std::span<const uint8_t> value) {
  if (value.size() <= kInlineLongValueLimit) return format::encodeInlineLongValue(value);
  if (value.size() > format::kLongValueLengthMask)
    throw StorageError(ErrorCode::Invalid, msg::rowTooLarge(value.size()));
  const size_t most = context_->layout.pageSize - context_->layout.dataRowTableOffset - 2;
  if (value.size() <= most) {
    format::RowPointer at = placeLongValueRow(std::vector<uint8_t>(value.begin(), value.end()));
    return format::encodeLongValueHeader(static_cast<uint32_t>(value.size()), true, at);
  }
  // A chain, written from its end so that each row can name the next.
  const size_t chunk = most - format::kLongValueChainPointer;
  std::vector<size_t> starts;
  for (size_t at = 0; at < value.size(); at += chunk) starts.push_back(at);
  format::RowPointer next{0, 0};
  for (size_t i = starts.size(); i-- > 0;) {
    size_t len = std::min(chunk, value.size() - starts[i]);
    std::vector<uint8_t> row = pointerBytes(next);
    row.insert(row.end(), value.begin() + starts[i], value.begin() + starts[i] + len);
    next = placeLongValueRow(std::move(row));
  }
  return format::encodeLongValueHeader(static_cast<uint32_t>(value.size()), false, next);
}

std::vector<uint8_t> JetTable::encodeStored(const Row& row) {
  std::vector<format::FieldBytes> fields(definition_.columns.size());
  for (size_t i = 0; i < definition_.columns.size(); ++i) {
    const format::ColumnDefinition& c = definition_.columns[i];
    const Value& v = row[i];
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      fields[i].present = v.asBool();
      continue;
    }
    if (v.isNull()) continue;
    fields[i].present = true;
    try {
      fields[i].bytes = format::encodeValue(c, v, context_->text);
    } catch (const FormatError& e) {
      if (e.code() == ErrorCode::TypeMismatch)
        throw StorageError(ErrorCode::TypeMismatch, msg::typeMismatch(name_ + "." + c.name));
      throw;
    }
    if (isLong(c)) fields[i].bytes = storeLongValue(fields[i].bytes);
  }
  std::vector<uint8_t> bytes = format::encodeRow(definition_, context_->layout, fields);
  const size_t most = context_->layout.pageSize - context_->layout.dataRowTableOffset - 2;
  if (bytes.size() > most) throw StorageError(ErrorCode::Invalid, msg::rowTooLarge(bytes.size()));
  return bytes;
}

void JetTable::longValueRowsOf(std::span<const uint8_t> storedRow, std::vector<format::RowPointer>& out) {
  auto fields = format::splitRow(definition_, context_->layout, storedRow);
  if (!fields) return;
  std::vector<format::RowPointer> rows;
  for (size_t i = 0; i < definition_.columns.size(); ++i) {
    if (!isLong(definition_.columns[i]) || !(*fields)[i].present) continue;
    if (!format::longValueRows(*context_->file, context_->layout, (*fields)[i].bytes, rows)) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptLongValue(name_, definition_.columns[i].name));
    }
    out.insert(out.end(), rows.begin(), rows.end());
  }
}

std::vector<uint32_t> JetTable::longValuePagesOwned() {
  std::vector<uint32_t> pages;
  if (std::none_of(definition_.columns.begin(), definition_.columns.end(), isLong)) return pages;
  file::PageFile& file = *context_->file;
  const format::Layout& layout = context_->layout;
  std::vector<format::RowPointer> used;
  format::UsageMap map(file, layout, definition_.usedPagesPointer);
  while (auto number = map.next()) {
    format::DataPage page(layout, file.read(*number), *number);
    if (page.owner() != definition_.page || page.isLongValuePage()) continue;
    for (unsigned r = 0; r < page.rowCount(); ++r) {
      format::RowSlot slot = page.slot(r);
      // A moved row's bytes are at its target; the stub holds only a pointer.
      if (slot.state == format::RowState::Normal || slot.state == format::RowState::OverflowTarget)
        longValueRowsOf(page.bytes(slot), used);
    }
  }
  std::sort(used.begin(), used.end(), [](format::RowPointer a, format::RowPointer b) {
    return a.page != b.page ? a.page < b.page : a.row < b.row;
  });
  for (size_t i = 0; i < used.size();) {
    const uint32_t number = used[i].page;
    std::vector<bool> ours;
    for (; i < used.size() && used[i].page == number; ++i) {
      if (used[i].row >= ours.size()) ours.resize(used[i].row + 1u, false);
      ours[used[i].row] = true;
    }
    format::DataPage page(layout, file.read(number), number);
    if (!page.isLongValuePage()) continue;
    bool alone = true;
    for (unsigned r = 0; alone && r < page.rowCount(); ++r)
      alone = page.slot(r).state == format::RowState::Deleted || (r < ours.size() && ours[r]);
    if (alone) pages.push_back(number);
  }
  return pages;
}

void JetTable::deleteSlots(std::vector<format::RowPointer> slots) {
  std::sort(slots.begin(), slots.end(), [](format::RowPointer a, format::RowPointer b) {
    return a.page != b.page ? a.page < b.page : a.row < b.row;
  });
  for (size_t i = 0; i < slots.size();) {
    const uint32_t number = slots[i].page;
    file::PageRef bytes = context_->file->read(number);
    format::DataPage page(context_->layout, bytes, number);
    file::PageBuffer copy(*bytes);
    for (; i < slots.size() && slots[i].page == number; ++i) {
      if (slots[i].row >= page.rowCount()) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(number));
      uint8_t* entry = copy.data() + context_->layout.dataRowTableOffset + 2 * slots[i].row;
      uint16_t offset = file::getU16(entry) & format::DataPage::kOffsetMask;
      file::putU16(entry, static_cast<uint16_t>(offset | format::DataPage::kDeletedRow));
    }
    context_->file->write(number, copy);
  }
}

bool JetTable::replaceRow(format::RowPointer at, std::vector<uint8_t> row, uint16_t flags) {
  file::PageRef bytes = context_->file->read(at.page);
  format::DataPage page(context_->layout, bytes, at.page);
  auto rows = page.storedRows();
  if (at.row >= rows.size()) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
  rows[at.row] = {flags, std::move(row)};
  if (!format::DataPage::fits(context_->layout, rows)) return false;
  context_->file->write(at.page, format::DataPage::pack(context_->layout, *bytes, rows));
  return true;
}

uint32_t JetTable::lastInsertPage() {
  // A page added by a transaction since rolled back is gone again.
  if (insertPage_ >= context_->file->pageCount()) insertPage_ = 0;
  if (insertPage_ != 0) return insertPage_;
  format::UsageMap map(*context_->file, context_->layout, definition_.usedPagesPointer);
  while (auto page = map.next()) {
    file::PageRef bytes = context_->file->read(*page);
    if ((*bytes)[0] == static_cast<uint8_t>(format::PageType::Data) &&
        file::getU32(bytes->data() + context_->layout.dataOwnerOffset) == definition_.page) {
      insertPage_ = *page;
    }
  }
  return insertPage_;
}

format::RowPointer JetTable::placeRow(std::vector<uint8_t> row, uint16_t flags) {
  const format::Layout& layout = context_->layout;
  if (uint32_t candidate = lastInsertPage(); candidate != 0) {
    file::PageRef bytes = context_->file->read(candidate);
    format::DataPage page(layout, bytes, candidate);
    if (page.owner() == definition_.page && !page.isLongValuePage()) {
      auto rows = page.storedRows();
      rows.push_back({flags, row});
      if (format::DataPage::fits(layout, rows)) {
        context_->file->write(candidate, format::DataPage::pack(layout, *bytes, rows));
        return {candidate, static_cast<uint8_t>(rows.size() - 1)};
      }
    }
  }
  uint32_t number = newDataPage();
  file::PageBuffer empty = format::DataPage::build(layout, definition_.page, {});
  std::vector<format::StoredRow> rows{{flags, std::move(row)}};
  context_->file->write(number, format::DataPage::pack(layout, empty, rows));
  insertPage_ = number;
  return {number, 0};
}

uint32_t JetTable::newDataPage() {
  const format::Layout& layout = context_->layout;
  uint32_t number = context_->allocatePage();
  auto allocate = [this] { return context_->allocatePage(); };
  format::changeUsageMap(*context_->file, layout, definition_.usedPagesPointer, number, true, allocate);
  if (definition_.freePagesPointer != 0) {
    format::changeUsageMap(*context_->file, layout, definition_.freePagesPointer, number, true, allocate);
  }
  return number;
}

format::RowPointer JetTable::appendRow(PendingPage& pending, std::vector<uint8_t> row) {
  const format::Layout& layout = context_->layout;
  auto fitsWith = [&](const PendingPage& p) {
    return p.rows.size() < format::DataPage::kMaxRows && p.bytes + 2 + row.size() <= layout.pageSize;
  };
  if (pending.number == 0) {
    // Start on the page rows were last added to, when it still has room.
    if (uint32_t candidate = lastInsertPage(); candidate != 0) {
      file::PageRef bytes = context_->file->read(candidate);
      format::DataPage page(layout, bytes, candidate);
      if (page.owner() == definition_.page && !page.isLongValuePage()) {
        pending.number = candidate;
        pending.original = *bytes;
        pending.rows = page.storedRows();
        pending.bytes = format::DataPage::bytesNeeded(layout, pending.rows);
      }
    }
  }
  if (pending.number == 0 || !fitsWith(pending)) {
    writePending(pending);
    pending.number = newDataPage();
    pending.original = format::DataPage::build(layout, definition_.page, {});
    pending.rows.clear();
    pending.bytes = format::DataPage::bytesNeeded(layout, pending.rows);
    insertPage_ = pending.number;
    if (!fitsWith(pending)) throw StorageError(ErrorCode::Invalid, msg::rowTooLarge(row.size()));
  }
  pending.bytes += 2 + row.size();
  pending.rows.push_back({0, std::move(row)});
  return {pending.number, static_cast<uint8_t>(pending.rows.size() - 1)};
}

void JetTable::writePending(PendingPage& pending) {
  if (pending.number == 0) return;
  context_->file->write(pending.number,
                        format::DataPage::pack(context_->layout, pending.original, pending.rows));
  pending.number = 0;
}

void JetTable::writeCounters(int64_t rowDelta, std::optional<uint32_t> lastAutoNumber) {
  file::PageRef bytes = context_->file->read(definition_.page);
  file::PageBuffer copy(*bytes);
  uint8_t* rows = copy.data() + context_->layout.tdefRowCount;
  int64_t count = static_cast<int64_t>(file::getU32(rows)) + rowDelta;
  file::putU32(rows, static_cast<uint32_t>(std::max<int64_t>(count, 0)));
  definition_.rowCount = file::getU32(rows);
  if (lastAutoNumber) {
    file::putU32(copy.data() + context_->layout.tdefAutoNumber, *lastAutoNumber);
    definition_.nextAutoNumber = *lastAutoNumber;
  }
  context_->file->write(definition_.page, copy);
}

RowId JetTable::insert(Row& row) {
  requireWritable();
  WriteScope scope(*context_->file);
  // Counters as the file has them now: another handle may have written.
  file::PageRef tdef = context_->file->read(definition_.page);
  uint32_t last = file::getU32(tdef->data() + context_->layout.tdefAutoNumber);
  const uint32_t lastBefore = last;
  Row stored = row;
  prepare(stored, nullptr, last);
  auto keys = keysOf(stored);
  auto& indexes = indexWriters();
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (keys[i] && indexes[i]->clashes(stored) && indexes[i]->containsKey(*keys[i])) {
      throw StorageError(ErrorCode::DuplicateKey, msg::duplicateKey(name_, indexes[i]->name()));
    }
  }
  format::RowPointer at = placeRow(encodeStored(stored), 0);
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (keys[i]) indexes[i]->insert(*keys[i], at);
  }
  writeCounters(1, last != lastBefore ? std::optional<uint32_t>(last) : std::nullopt);
  scope.done();
  row = std::move(stored);
  return idOf(at);
}

void JetTable::insertRows(std::span<Row> rows) {
  if (rows.empty()) return;
  requireWritable();
  WriteScope scope(*context_->file);
  file::PageRef tdef = context_->file->read(definition_.page);
  uint32_t last = file::getU32(tdef->data() + context_->layout.tdefAutoNumber);
  const uint32_t lastBefore = last;
  auto& indexes = indexWriters();
  PendingPage pending;
  // Each row is prepared in place: it ends up as stored, which is what the
  // caller gets back.
  for (Row& values : rows) {
    prepare(values, nullptr, last);
    auto keys = keysOf(values);
    for (size_t i = 0; i < indexes.size(); ++i) {
      if (keys[i] && indexes[i]->clashes(values) && indexes[i]->containsKey(*keys[i])) {
        throw StorageError(ErrorCode::DuplicateKey, msg::duplicateKey(name_, indexes[i]->name()));
      }
    }
    format::RowPointer at = appendRow(pending, encodeStored(values));
    for (size_t i = 0; i < indexes.size(); ++i) {
      if (keys[i]) indexes[i]->insert(*keys[i], at);
    }
  }
  writePending(pending);
  writeCounters(static_cast<int64_t>(rows.size()),
                last != lastBefore ? std::optional<uint32_t>(last) : std::nullopt);
  scope.done();
}

void JetTable::remove(RowId id) {
  removeRows(std::span<const RowId>(&id, 1));
}

void JetTable::removeRows(std::span<const RowId> ids) {
  if (ids.empty()) return;
  requireWritable();
  WriteScope scope(*context_->file);
  std::vector<RowId> order(ids.begin(), ids.end());
  std::sort(order.begin(), order.end());
  if (std::adjacent_find(order.begin(), order.end()) != order.end())
    throw StorageError(ErrorCode::Invalid, msg::rowChanged(name_));
  auto& indexes = indexWriters();
  const bool hasLong = std::any_of(definition_.columns.begin(), definition_.columns.end(), isLong);
  std::vector<bool> keyColumns(definition_.columns.size(), false);
  for (const auto& ix : indexes)
    for (size_t p : ix->columnPositions()) keyColumns[p] = true;
  // In slices, so that the index entries in hand stay few whatever the count;
  // everything is still one transaction.
  constexpr size_t kSlice = 16384;
  for (size_t from = 0; from < order.size(); from += kSlice) {
    const size_t to = std::min(order.size(), from + kSlice);
    std::vector<std::vector<format::IndexEntry>> entries(indexes.size());
    std::vector<format::RowPointer> dead;
    dead.reserve(to - from);
    for (size_t i = from; i < to; ++i) {
      Location loc = locate(order[i]);
      if (!indexes.empty()) {
        Row values = decoder_->decode(loc.bytes, loc.stored.page, loc.stored.row, &keyColumns);
        for (size_t k = 0; k < indexes.size(); ++k) {
          if (auto key = indexes[k]->keyOf(values))
            entries[k].push_back({std::move(*key), loc.id.page, loc.id.row, 0});
        }
      }
      if (hasLong) longValueRowsOf(loc.bytes, dead);
      if (loc.state == format::RowState::OverflowStub) dead.push_back(loc.stored);
      dead.push_back(loc.id);
    }
    for (size_t k = 0; k < indexes.size(); ++k) indexes[k]->removeMany(std::move(entries[k]));
    deleteSlots(std::move(dead));
  }
  writeCounters(-static_cast<int64_t>(order.size()), std::nullopt);
  scope.done();
}

RowId JetTable::update(RowId id, const Row& row) {
  requireWritable();
  WriteScope scope(*context_->file);
  Location loc = locate(id);
  Row old = decoder_->decode(loc.bytes, loc.stored.page, loc.stored.row);
  file::PageRef tdef = context_->file->read(definition_.page);
  uint32_t last = file::getU32(tdef->data() + context_->layout.tdefAutoNumber);
  const uint32_t lastBefore = last;
  Row stored = row;
  prepare(stored, &old, last);
  auto oldKeys = keysOf(old);
  auto newKeys = keysOf(stored);
  auto& indexes = indexWriters();
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (newKeys[i] && newKeys[i] != oldKeys[i] && indexes[i]->clashes(stored) &&
        indexes[i]->containsKey(*newKeys[i], loc.id)) {
      throw StorageError(ErrorCode::DuplicateKey, msg::duplicateKey(name_, indexes[i]->name()));
    }
  }
  std::vector<uint8_t> bytes = encodeStored(stored);
  std::vector<format::RowPointer> oldLongValues;
  longValueRowsOf(loc.bytes, oldLongValues);
  deleteSlots(std::move(oldLongValues));
  if (loc.state == format::RowState::OverflowStub) {
    // Already moved: in its current place if it fits, else to a new one.
    uint16_t targetFlags = format::DataPage::kDeletedFlag;
    if (!replaceRow(loc.stored, bytes, targetFlags)) {
      deleteSlots({loc.stored});
      format::RowPointer to = placeRow(std::move(bytes), targetFlags);
      if (!replaceRow(loc.id, pointerBytes(to), format::DataPage::kOverflowFlag)) {
        throw FormatError(ErrorCode::Corrupt, msg::corruptPage(loc.id.page));
      }
    }
  } else if (!replaceRow(loc.id, bytes, 0)) {
    // Too large for its page: the row moves, and a stub keeps its place and id.
    format::RowPointer to = placeRow(std::move(bytes), format::DataPage::kDeletedFlag);
    if (!replaceRow(loc.id, pointerBytes(to), format::DataPage::kOverflowFlag)) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptPage(loc.id.page));
    }
  }
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (oldKeys[i] == newKeys[i]) continue;
    if (oldKeys[i]) indexes[i]->remove(*oldKeys[i], loc.id);
    if (newKeys[i]) indexes[i]->insert(*newKeys[i], loc.id);
  }
  if (last != lastBefore) writeCounters(0, last);
  scope.done();
  return id;
}

}  // namespace jet::storage
