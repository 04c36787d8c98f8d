#include "jet/format/RowDecoder.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/format/LongValue.h"
#include "jet/format/RowLayout.h"

namespace jet::format {

RowDecoder::RowDecoder(file::PageFile& file, const Layout& layout, const TableDefinition& def, TextRules text,
                       std::string tableName)
    : file_(file), layout_(layout), def_(def), text_(text), table_(std::move(tableName)) {}

Row RowDecoder::decode(std::span<const uint8_t> row, uint32_t page, unsigned slot,
                       const std::vector<bool>* wanted) const {
  auto fields = splitRow(def_, layout_, row);
  if (!fields) throw FormatError(ErrorCode::Corrupt, msg::corruptRow(table_, page, slot));
  Row out(def_.columns.size());
  std::vector<uint8_t> longBytes;
  for (size_t i = 0; i < def_.columns.size(); ++i) {
    if (wanted && !(*wanted)[i]) continue;
    const ColumnDefinition& c = def_.columns[i];
    const Field& f = (*fields)[i];
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      out[i] = Value::boolean(f.present);
      continue;
    }
    if (!f.present) continue;
    std::span<const uint8_t> bytes = f.bytes;
    bool isLong = c.type == static_cast<uint8_t>(DataType::Memo) ||
                  c.type == static_cast<uint8_t>(DataType::LongBinary);
    if (isLong) {
      if (!readLongValue(file_, layout_, bytes, longBytes)) {
        throw FormatError(ErrorCode::Corrupt, msg::corruptLongValue(table_, c.name));
      }
      bytes = longBytes;
    }
    auto v = decodeValue(c, bytes, text_);
    if (!v) throw FormatError(ErrorCode::Corrupt, msg::corruptRow(table_, page, slot));
    out[i] = std::move(*v);
  }
  return out;
}

}  // namespace jet::format
