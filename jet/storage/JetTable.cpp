#include "jet/storage/JetTable.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/UsageMap.h"

namespace jet::storage {

namespace {

// A moved row may move again; Jet never chains more than a few hops.
constexpr int kMaxOverflowHops = 8;

class JetCursor : public RowCursor {
 public:
  JetCursor(std::shared_ptr<const JetTable> table, std::shared_ptr<JetContext> context)
      : table_(std::move(table)),
        context_(std::move(context)),
        map_(*context_->file, context_->layout, table_->definition().usedPagesPointer) {}

  bool next() override {
    for (;;) {
      if (page_) {
        while (slot_ < page_->rowCount()) {
          unsigned s = slot_++;
          if (table_->readRow(*page_, s, row_)) {
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
  RowId rowId() const override { return id_; }

 private:
  std::shared_ptr<const JetTable> table_;
  std::shared_ptr<JetContext> context_;
  format::UsageMap map_;
  std::optional<format::DataPage> page_;
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

bool JetTable::readRow(const format::DataPage& page, unsigned slot, Row& out) const {
  format::RowSlot s = page.slot(slot);
  if (s.state == format::RowState::Deleted || s.state == format::RowState::OverflowTarget) return false;
  if (s.state == format::RowState::Normal) {
    out = decoder_->decode(page.bytes(s), page.pageNumber(), slot);
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
      out = decoder_->decode(at->bytes(current), p.page, p.row);
      return true;
    }
  }
  throw FormatError(ErrorCode::Corrupt, msg::pageChainLoop(fromPage));
}

std::unique_ptr<RowCursor> JetTable::scan() {
  return std::make_unique<JetCursor>(shared_from_this(), context_);
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

RowId JetTable::insert(Row&) {
  throw StorageError(ErrorCode::ReadOnly, msg::writeNotSupported(name_));
}
void JetTable::remove(RowId) {
  throw StorageError(ErrorCode::ReadOnly, msg::writeNotSupported(name_));
}
RowId JetTable::update(RowId, const Row&) {
  throw StorageError(ErrorCode::ReadOnly, msg::writeNotSupported(name_));
}

}  // namespace jet::storage
