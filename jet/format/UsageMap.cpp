#include "jet/format/UsageMap.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"

namespace jet::format {

namespace {
constexpr uint8_t kInlineMap = 0x00;
constexpr uint8_t kReferenceMap = 0x01;
constexpr uint32_t kInlineHeader = 5;  // type, start page
constexpr uint32_t kReferencePageHeader = 4;
}  // namespace

UsageMap::UsageMap(file::PageFile& file, const Layout& layout, uint32_t pointer)
    : file_(file), layout_(layout) {
  RowPointer at = RowPointer::decode(pointer);
  DataPage page(layout_, file_.read(at.page), at.page);
  RowSlot slot = page.slot(at.row);
  auto bytes = page.bytes(slot);
  row_.assign(bytes.begin(), bytes.end());
  if (row_.empty()) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
  type_ = row_[0];
  if (type_ == kInlineMap) {
    if (row_.size() < kInlineHeader) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
    inlineStart_ = file::getU32(row_.data() + 1);
  } else if (type_ != kReferenceMap) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
  }
  bitsPerReferencePage_ = static_cast<uint64_t>(layout_.pageSize - kReferencePageHeader) * 8;
}

std::vector<uint8_t> UsageMap::encodeInline(uint32_t start, const std::vector<uint32_t>& pages,
                                            size_t bitmapBytes) {
  std::vector<uint8_t> row(kInlineHeader + bitmapBytes, 0);
  row[0] = kInlineMap;
  file::putU32(row.data() + 1, start);
  for (uint32_t p : pages) {
    if (p < start || p - start >= bitmapBytes * 8) throw FormatError(ErrorCode::Invalid, msg::corruptPage(p));
    row[kInlineHeader + (p - start) / 8] |= static_cast<uint8_t>(1u << ((p - start) % 8));
  }
  return row;
}

void UsageMap::rewind() {
  bit_ = 0;
  reference_ = 0;
  referencePage_.reset();
}

bool UsageMap::loadReferencePage() {
  size_t entries = (row_.size() - 1) / 4;
  while (reference_ < entries) {
    uint32_t page = file::getU32(row_.data() + 1 + 4 * reference_);
    if (page != 0) {
      referencePage_ = file_.read(page);
      if ((*referencePage_)[0] != static_cast<uint8_t>(PageType::UsageMap)) {
        throw FormatError(ErrorCode::Corrupt, msg::corruptPage(page));
      }
      return true;
    }
    ++reference_;
  }
  return false;
}

uint32_t UsageMap::checked(uint64_t page) const {
  // A table owning pages past the end of the file lost them when the file was cut short.
  if (page >= file_.pageCount()) throw FileError(ErrorCode::NotADatabase, msg::truncatedFile(file_.name()));
  return static_cast<uint32_t>(page);
}

std::optional<uint32_t> UsageMap::next() {
  if (type_ == kInlineMap) {
    uint64_t bits = static_cast<uint64_t>(row_.size() - kInlineHeader) * 8;
    while (bit_ < bits) {
      uint64_t b = bit_++;
      if (row_[kInlineHeader + b / 8] & (1u << (b % 8))) {
        return checked(inlineStart_ + b);
      }
    }
    return std::nullopt;
  }
  for (;;) {
    if (!referencePage_ && !loadReferencePage()) return std::nullopt;
    while (bit_ < bitsPerReferencePage_) {
      uint64_t b = bit_++;
      if ((*referencePage_)[kReferencePageHeader + b / 8] & (1u << (b % 8))) {
        return checked(reference_ * bitsPerReferencePage_ + b);
      }
    }
    referencePage_.reset();
    bit_ = 0;
    ++reference_;
  }
}

}  // namespace jet::format
