// Turns the bytes of a stored row into a Row of Values for one table:
// the row layout locates each column, the value codec decodes it, and long
// values are fetched from their pages.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "jet/core/Value.h"
#include "jet/file/PageFile.h"
#include "jet/format/Layout.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/ValueCodec.h"

namespace jet::format {

class RowDecoder {
 public:
  RowDecoder(file::PageFile& file, const Layout& layout, const TableDefinition& def, TextRules text,
             std::string tableName);

  // `page` and `slot` name the row in errors. Throws FormatError(Corrupt).
  // With `wanted` (one flag per column) only those columns are decoded; the
  // others are left Null.
  Row decode(std::span<const uint8_t> row, uint32_t page, unsigned slot,
             const std::vector<bool>* wanted = nullptr) const;

 private:
  file::PageFile& file_;
  const Layout& layout_;
  const TableDefinition& def_;
  TextRules text_;
  std::string table_;
};

}  // namespace jet::format
