#include "jet/format/RowLayout.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Value.h"
#include "jet/file/LittleEndian.h"

namespace jet::format {

namespace {

// Offsets (relative to the row) of each variable column, plus the end of the
// variable area as the last entry. Empty optional when the table is damaged.
std::optional<std::vector<uint32_t>> varOffsets(const Layout& layout, std::span<const uint8_t> row,
                                                size_t nullMaskSize) {
  const size_t len = row.size();
  std::vector<uint32_t> offsets;
  if (!layout.jet3) {
    if (len < nullMaskSize + 2 + 2) return std::nullopt;
    size_t countAt = len - nullMaskSize - 2;
    uint32_t count = file::getU16(row.data() + countAt);
    if (static_cast<size_t>(count + 1) * 2 > countAt) return std::nullopt;
    offsets.resize(count + 1);
    for (uint32_t i = 0; i <= count; ++i) offsets[i] = file::getU16(row.data() + countAt - 2 - 2 * i);
    return offsets;
  }
  if (len < nullMaskSize + 1 + 1) return std::nullopt;
  size_t countAt = len - nullMaskSize - 1;
  uint32_t count = row[countAt];
  size_t jumps = (len - 1) / 256;
  if (countAt < jumps + 1) return std::nullopt;
  size_t first = countAt - jumps - 1;  // the offset of variable column 0
  if (first < count) return std::nullopt;
  // The number of jump entries follows from the row size, so the last may be
  // a dummy that no offset uses.
  if ((first - count) / 256 < jumps) --jumps;
  offsets.resize(count + 1);
  size_t used = 0;
  for (uint32_t i = 0; i <= count; ++i) {
    while (used < jumps && i == row[countAt - 1 - used]) ++used;
    offsets[i] = row[first - i] + static_cast<uint32_t>(used) * 256;
  }
  return offsets;
}

}  // namespace

std::optional<std::vector<Field>> splitRow(const TableDefinition& def, const Layout& layout,
                                           std::span<const uint8_t> row) {
  const size_t header = layout.rowColumnCountSize;
  if (row.size() < header) return std::nullopt;
  uint32_t columnCount = layout.jet3 ? row[0] : file::getU16(row.data());
  size_t nullMaskSize = (columnCount + 7) / 8;
  if (row.size() < header + nullMaskSize) return std::nullopt;
  const uint8_t* nullMask = row.data() + row.size() - nullMaskSize;

  std::optional<std::vector<uint32_t>> offsets;
  if (def.varColumnCount > 0) {
    offsets = varOffsets(layout, row, nullMaskSize);
    if (!offsets) return std::nullopt;
  }
  std::vector<Field> fields(def.columns.size());
  for (size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDefinition& c = def.columns[i];
    Field& f = fields[i];
    // Columns added after the row was written are not in it: Null.
    bool bit = c.number < columnCount && (nullMask[c.number / 8] & (1u << (c.number % 8)));
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      f.present = bit;
      continue;
    }
    if (!bit) continue;
    if (c.fixed()) {
      size_t start = header + c.fixedOffset;
      if (start + c.length > row.size() - nullMaskSize) return std::nullopt;
      f.present = true;
      f.bytes = row.subspan(start, c.length);
      continue;
    }
    if (!offsets || size_t{c.varIndex} + 1 >= offsets->size()) continue;
    uint32_t start = (*offsets)[c.varIndex], end = (*offsets)[c.varIndex + 1];
    if (start > end || end > row.size() - nullMaskSize) return std::nullopt;
    f.present = true;
    f.bytes = row.subspan(start, end - start);
  }
  return fields;
}

std::vector<uint8_t> encodeRow(const TableDefinition& def, const Layout& layout,
                               const std::vector<FieldBytes>& fields) {
  const bool jet3 = layout.jet3;
  uint32_t columnCount = def.maxColumns;
  uint32_t fixedSize = 0;
  int varCount = 0;
  for (const auto& c : def.columns) {
    columnCount = std::max<uint32_t>(columnCount, c.number + 1u);
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) continue;
    if (c.fixed()) {
      fixedSize = std::max<uint32_t>(fixedSize, c.fixedOffset + c.length);
    } else {
      varCount = std::max(varCount, c.varIndex + 1);
    }
  }
  const size_t header = layout.rowColumnCountSize;
  std::vector<uint8_t> row(header + fixedSize, 0);
  if (jet3) {
    row[0] = static_cast<uint8_t>(columnCount);
  } else {
    file::putU16(row.data(), static_cast<uint16_t>(columnCount));
  }
  std::vector<uint8_t> nullMask((columnCount + 7) / 8, 0);
  std::vector<const FieldBytes*> byVarIndex(static_cast<size_t>(varCount), nullptr);
  for (size_t i = 0; i < def.columns.size() && i < fields.size(); ++i) {
    const ColumnDefinition& c = def.columns[i];
    const FieldBytes& f = fields[i];
    if (f.present) nullMask[c.number / 8] |= static_cast<uint8_t>(1u << (c.number % 8));
    if (c.type == static_cast<uint8_t>(DataType::Boolean) || !f.present) continue;
    if (c.fixed()) {
      std::copy_n(f.bytes.begin(), std::min<size_t>(f.bytes.size(), c.length),
                  row.begin() + header + c.fixedOffset);
    } else {
      byVarIndex[c.varIndex] = &f;
    }
  }
  std::vector<uint32_t> offsets;
  if (def.varColumnCount > 0) {
    for (int v = 0; v < varCount; ++v) {
      offsets.push_back(static_cast<uint32_t>(row.size()));
      if (byVarIndex[v]) row.insert(row.end(), byVarIndex[v]->bytes.begin(), byVarIndex[v]->bytes.end());
    }
    offsets.push_back(static_cast<uint32_t>(row.size()));  // end of the variable area
  }
  const size_t dataSize = row.size();
  if (!jet3) {
    if (dataSize > 0xffff) throw FormatError(ErrorCode::Invalid, msg::rowTooLarge(dataSize));
    if (def.varColumnCount > 0) {
      for (size_t i = offsets.size(); i-- > 0;) {
        row.resize(row.size() + 2);
        file::putU16(row.data() + row.size() - 2, static_cast<uint16_t>(offsets[i]));
      }
      row.push_back(static_cast<uint8_t>(varCount));
      row.push_back(static_cast<uint8_t>(varCount >> 8));
    }
  } else if (def.varColumnCount > 0) {
    // The jump table's size follows from the whole row's size, which includes it.
    size_t jumps = 0;
    for (;;) {
      size_t total = dataSize + offsets.size() + jumps + 1 + nullMask.size();
      size_t want = (total - 1) / 256;
      if (want == jumps) break;
      jumps = want;
    }
    for (size_t i = offsets.size(); i-- > 0;) row.push_back(static_cast<uint8_t>(offsets[i] & 0xff));
    // Stored last-first: entry k names the first offset at or past (k+1)*256.
    std::vector<uint8_t> table(jumps, 0xff);
    for (size_t k = 0; k < jumps; ++k) {
      for (size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] >= (k + 1) * 256) {
          table[k] = static_cast<uint8_t>(i);
          break;
        }
      }
    }
    for (size_t k = jumps; k-- > 0;) row.push_back(table[k]);
    row.push_back(static_cast<uint8_t>(varCount));
  }
  row.insert(row.end(), nullMask.begin(), nullMask.end());
  return row;
}

}  // namespace jet::format
