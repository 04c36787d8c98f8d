#include "jet/format/RowEncoder.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/format/LongValue.h"
#include "jet/format/RowLayout.h"

namespace jet::format {

std::vector<uint8_t> encodeRowValues(const TableDefinition& def, const Layout& layout, const TextRules& text,
                                     const Row& row) {
  if (row.size() != def.columns.size()) throw FormatError(ErrorCode::Invalid, msg::typeMismatch(""));
  std::vector<FieldBytes> fields(def.columns.size());
  for (size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDefinition& c = def.columns[i];
    const Value& v = row[i];
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      if (!v.isNull() && v.type() != DataType::Boolean)
        throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(c.name));
      fields[i].present = !v.isNull() && v.asBool();
      continue;
    }
    if (v.isNull()) continue;
    fields[i].present = true;
    fields[i].bytes = encodeValue(c, v, text);
    if (c.type == static_cast<uint8_t>(DataType::Memo) ||
        c.type == static_cast<uint8_t>(DataType::LongBinary)) {
      fields[i].bytes = encodeInlineLongValue(fields[i].bytes);
    }
  }
  return encodeRow(def, layout, fields);
}

}  // namespace jet::format
