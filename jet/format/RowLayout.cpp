#include "jet/format/RowLayout.h"

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

}  // namespace jet::format
