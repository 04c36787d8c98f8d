// One table of a Jet file. Scans follow the table's usage map page by page
// and hold only the page they are on; overflow stubs are followed to the row
// they point at, deleted rows and moved-row targets are skipped. A row id is
// the page number shifted left by 8 plus the slot, the id of the stub for a
// moved row.
//
// Writes (the file opened for writing) keep every index, the
// usage maps and the definition's row and auto-number counters in step.
// Each checks what can be refused (Null in a required column, a duplicate
// key, a text too long, a character no index can sort) before it changes a
// page. Outside a transaction a write is a transaction of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "jet/format/DataPage.h"
#include "jet/format/RowDecoder.h"
#include "jet/format/TableDefinition.h"
#include "jet/storage/IndexWriter.h"
#include "jet/storage/JetContext.h"
#include "jet/storage/Store.h"

namespace jet::storage {

class JetTable : public Table, public std::enable_shared_from_this<JetTable> {
 public:
  // Reads the definition at `tdefPage`. Throws jet::Error when it is damaged
  // or holds a column type the engine cannot read.
  JetTable(std::shared_ptr<JetContext> context, std::string name, uint32_t tdefPage);

  const TableSchema& schema() const override { return schema_; }
  uint64_t rowCount() const override { return definition_.rowCount; }
  std::unique_ptr<RowCursor> scan() override;
  std::unique_ptr<RowCursor> scan(const std::vector<bool>& wanted) override;
  // Reads the data pages' slot tables only; a moved row's stub alone sends
  // it to the page the row went to (to skip a stub whose row is gone).
  void forEachRowId(const std::function<void(RowId)>& visit) override;
  Row fetch(RowId id) override;

  RowId insert(Row& row) override;
  // Fills a page in memory and writes it once; the counters are written once.
  void insertRows(std::span<Row> rows) override;
  void remove(RowId id) override;
  // Each data page is rewritten once, each index leaf once, the counters once.
  void removeRows(std::span<const RowId> ids) override;
  RowId update(RowId id, const Row& row) override;

  const format::TableDefinition& definition() const { return definition_; }
  // One of Jet's own tables as opened for a caller: every write is refused.
  // The engine changes the catalogue through handles of its own.
  void markSystemTable() { systemTable_ = true; }

  // Decodes the row in `slot` of `page`, following an overflow stub. Returns
  // false for a slot without a live row (deleted, or a moved row's target).
  bool readRow(const format::DataPage& page, unsigned slot, Row& out,
               const std::vector<bool>* wanted = nullptr) const;

  // The LVAL pages whose every live row is one of this table's long values:
  // nothing else uses them once the table is gone. Sorted.
  std::vector<uint32_t> longValuePagesOwned();

  file::PageFile& pageFileForCheck() { return *context_->file; }
  // The table's indexes as writers (also for the index checker).
  std::vector<std::unique_ptr<IndexWriter>>& indexWriters();
  // Long values at most this long stay inside their row.
  static constexpr size_t kInlineLongValueLimit = 64;

 private:
  TableSchema buildSchema() const;

  // Where a row id's row lives: its slot, and for a moved row the target.
  struct Location {
    format::RowPointer id;
    format::RowState state = format::RowState::Normal;
    format::RowPointer stored;   // == id unless moved
    std::vector<uint8_t> bytes;  // the stored row
  };
  void requireWritable() const;
  Location locate(RowId id) const;
  // Fills auto-numbers, checks Null in required columns and text lengths.
  // `previous` is the row being updated.
  void prepare(Row& row, const Row* previous, uint32_t& lastAutoNumber) const;
  std::vector<std::optional<Bytes>> keysOf(const Row& row);
  // The stored bytes of `row`, long values written to LVAL pages as needed.
  std::vector<uint8_t> encodeStored(const Row& row);
  std::vector<uint8_t> storeLongValue(std::span<const uint8_t> value);
  format::RowPointer placeLongValueRow(std::vector<uint8_t> row);
  // The LVAL rows the long values of a stored row occupy.
  void longValueRowsOf(std::span<const uint8_t> storedRow, std::vector<format::RowPointer>& out);
  // Marks the slots deleted, each page rewritten once.
  void deleteSlots(std::vector<format::RowPointer> slots);
  // Puts a row with slot `flags` on a page of the table with room, else on a new one.
  format::RowPointer placeRow(std::vector<uint8_t> row, uint16_t flags);
  // A data page being filled by insertRows, written when full or done.
  struct PendingPage {
    uint32_t number = 0;
    file::PageBuffer original;
    std::vector<format::StoredRow> rows;
    size_t bytes = 0;  // of the page the rows and the row table take
  };
  format::RowPointer appendRow(PendingPage& pending, std::vector<uint8_t> row);
  void writePending(PendingPage& pending);
  // A new data page of the table, entered in its usage maps.
  uint32_t newDataPage();
  bool replaceRow(format::RowPointer at, std::vector<uint8_t> row, uint16_t flags);
  void writeCounters(int64_t rowDelta, std::optional<uint32_t> lastAutoNumber);
  uint32_t lastInsertPage();

  std::shared_ptr<JetContext> context_;
  std::string name_;
  bool systemTable_ = false;
  format::TableDefinition definition_;
  TableSchema schema_;
  std::unique_ptr<format::RowDecoder> decoder_;

  bool indexesLoaded_ = false;
  std::vector<std::unique_ptr<IndexWriter>> indexes_;
  uint32_t insertPage_ = 0;  // the data page rows were last added to
  uint32_t lvalPage_ = 0;    // the LVAL page long values were last added to
};

}  // namespace jet::storage
