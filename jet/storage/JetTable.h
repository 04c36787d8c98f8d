// One table of a Jet file. Scans follow the table's usage map page by page
// and hold only the page they are on; overflow stubs are followed to the row
// they point at, deleted rows and moved-row targets are skipped. A row id is
// the page number shifted left by 8 plus the slot, the id of the stub for a
// moved row.
#pragma once

#include <memory>
#include <string>

#include "jet/format/DataPage.h"
#include "jet/format/RowDecoder.h"
#include "jet/format/TableDefinition.h"
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
  Row fetch(RowId id) override;

  RowId insert(Row& row) override;
  void remove(RowId id) override;
  RowId update(RowId id, const Row& row) override;

  const format::TableDefinition& definition() const { return definition_; }

  // Decodes the row in `slot` of `page`, following an overflow stub. Returns
  // false for a slot without a live row (deleted, or a moved row's target).
  bool readRow(const format::DataPage& page, unsigned slot, Row& out) const;

 private:
  TableSchema buildSchema() const;

  std::shared_ptr<JetContext> context_;
  std::string name_;
  format::TableDefinition definition_;
  TableSchema schema_;
  std::unique_ptr<format::RowDecoder> decoder_;
};

}  // namespace jet::storage
