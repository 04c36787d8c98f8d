#include "jet/format/LongValue.h"

#include <unordered_set>

#include "jet/core/Error.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"

namespace jet::format {

namespace {
constexpr size_t kChainPointer = 4;
}  // namespace

bool readLongValue(file::PageFile& file, const Layout& layout, std::span<const uint8_t> field,
                   std::vector<uint8_t>& out) {
  out.clear();
  if (field.size() < kLongValueHeader) return false;
  uint32_t word = file::getU32(field.data());
  uint32_t length = word & kLongValueLengthMask;
  RowPointer at = RowPointer::decode(file::getU32(field.data() + 4));

  if (word & kLongValueInline) {
    if (length > field.size() - kLongValueHeader) return false;
    out.assign(field.begin() + kLongValueHeader, field.begin() + kLongValueHeader + length);
    return true;
  }
  try {
    if (word & kLongValueSinglePage) {
      DataPage page(layout, file.read(at.page), at.page);
      auto bytes = page.bytes(page.slot(at.row));
      if (length > bytes.size()) return false;
      out.assign(bytes.begin(), bytes.begin() + length);
      return true;
    }
    // A chain visits each row at most once; a revisit is a loop.
    std::unordered_set<uint32_t> seen;
    while (out.size() < length) {
      if (at.page == 0 || !seen.insert(at.encode()).second) return false;
      DataPage page(layout, file.read(at.page), at.page);
      auto bytes = page.bytes(page.slot(at.row));
      if (bytes.size() < kChainPointer) return false;
      RowPointer nextAt = RowPointer::decode(file::getU32(bytes.data()));
      size_t take = std::min<size_t>(bytes.size() - kChainPointer, length - out.size());
      out.insert(out.end(), bytes.begin() + kChainPointer, bytes.begin() + kChainPointer + take);
      at = nextAt;
    }
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

std::vector<uint8_t> encodeInlineLongValue(std::span<const uint8_t> value) {
  std::vector<uint8_t> out(kLongValueHeader + value.size(), 0);
  file::putU32(out.data(), static_cast<uint32_t>(value.size()) | kLongValueInline);
  std::copy(value.begin(), value.end(), out.begin() + kLongValueHeader);
  return out;
}

std::vector<uint8_t> encodeLongValueHeader(uint32_t length, bool singlePage, RowPointer first) {
  std::vector<uint8_t> out(kLongValueHeader, 0);
  file::putU32(out.data(), (length & kLongValueLengthMask) | (singlePage ? kLongValueSinglePage : 0));
  file::putU32(out.data() + 4, first.encode());
  return out;
}

bool longValueRows(file::PageFile& file, const Layout& layout, std::span<const uint8_t> field,
                   std::vector<RowPointer>& out) {
  out.clear();
  if (field.size() < kLongValueHeader) return false;
  uint32_t word = file::getU32(field.data());
  if (word & kLongValueInline) return true;
  RowPointer at = RowPointer::decode(file::getU32(field.data() + 4));
  if (word & kLongValueSinglePage) {
    out.push_back(at);
    return true;
  }
  uint64_t length = word & kLongValueLengthMask, seen = 0;
  std::unordered_set<uint32_t> visited;
  try {
    while (seen < length) {
      if (at.page == 0 || !visited.insert(at.encode()).second) return false;
      DataPage page(layout, file.read(at.page), at.page);
      auto bytes = page.bytes(page.slot(at.row));
      if (bytes.size() < kChainPointer) return false;
      out.push_back(at);
      seen += bytes.size() - kChainPointer;
      at = RowPointer::decode(file::getU32(bytes.data()));
    }
  } catch (const FormatError&) {
    return false;
  }
  return true;
}

}  // namespace jet::format
