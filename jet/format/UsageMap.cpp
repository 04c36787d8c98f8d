#include "jet/format/UsageMap.h"

#include <algorithm>
#include <map>

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

namespace {

struct MapRow {
  file::PageRef page;
  RowSlot slot;
  std::vector<uint8_t> bytes;
};

MapRow readMapRow(file::PageFile& file, const Layout& layout, RowPointer at) {
  MapRow m;
  m.page = file.read(at.page);
  DataPage page(layout, m.page, at.page);
  m.slot = page.slot(at.row);
  auto b = page.bytes(m.slot);
  m.bytes.assign(b.begin(), b.end());
  if (m.bytes.empty() || (m.bytes[0] == kInlineMap && m.bytes.size() < kInlineHeader) ||
      (m.bytes[0] != kInlineMap && m.bytes[0] != kReferenceMap)) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
  }
  return m;
}

// The map row has the same size whatever its content, so it is rewritten in place.
void writeMapRow(file::PageFile& file, const Layout& layout, RowPointer at,
                 const std::vector<uint8_t>& bytes) {
  MapRow now = readMapRow(file, layout, at);
  if (now.bytes.size() != bytes.size()) throw FormatError(ErrorCode::Corrupt, msg::corruptPage(at.page));
  file::PageBuffer copy(*now.page);
  std::copy(bytes.begin(), bytes.end(), copy.begin() + now.slot.start);
  file.write(at.page, copy);
}

void setBit(uint8_t* bitmap, uint64_t bit, bool on) {
  if (on) {
    bitmap[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
  } else {
    bitmap[bit / 8] &= static_cast<uint8_t>(~(1u << (bit % 8)));
  }
}

std::vector<uint32_t> inlinePages(const std::vector<uint8_t>& row) {
  std::vector<uint32_t> pages;
  uint32_t start = file::getU32(row.data() + 1);
  for (uint64_t b = 0; b < (row.size() - kInlineHeader) * 8; ++b)
    if (row[kInlineHeader + b / 8] & (1u << (b % 8))) pages.push_back(static_cast<uint32_t>(start + b));
  return pages;
}

}  // namespace

std::vector<uint8_t> readUsageMapRow(file::PageFile& file, const Layout& layout, uint32_t pointer) {
  return readMapRow(file, layout, RowPointer::decode(pointer)).bytes;
}

void rewriteUsageMapRow(file::PageFile& file, const Layout& layout, uint32_t pointer,
                        const std::vector<uint8_t>& bytes) {
  writeMapRow(file, layout, RowPointer::decode(pointer), bytes);
}

std::vector<uint32_t> usageMapPages(file::PageFile& file, const Layout& layout, uint32_t pointer) {
  std::vector<uint8_t> row = readUsageMapRow(file, layout, pointer);
  std::vector<uint32_t> pages;
  if (row[0] != kReferenceMap) return pages;
  for (size_t at = 1; at + 4 <= row.size(); at += 4)
    if (uint32_t page = file::getU32(row.data() + at); page != 0) pages.push_back(page);
  return pages;
}

void changeUsageMap(file::PageFile& file, const Layout& layout, uint32_t pointer, uint32_t page, bool present,
                    const std::function<uint32_t()>& allocate) {
  const RowPointer at = RowPointer::decode(pointer);
  MapRow map = readMapRow(file, layout, at);
  std::vector<uint8_t> row = map.bytes;
  const uint64_t perReferencePage = static_cast<uint64_t>(layout.pageSize - kReferencePageHeader) * 8;

  if (row[0] == kInlineMap) {
    const uint32_t start = file::getU32(row.data() + 1);
    const uint64_t bits = (row.size() - kInlineHeader) * 8;
    if (page >= start && page - start < bits) {
      setBit(row.data() + kInlineHeader, page - start, present);
      writeMapRow(file, layout, at, row);
      return;
    }
    if (!present) return;
    std::vector<uint32_t> pages = inlinePages(row);
    pages.push_back(page);
    const uint32_t low = *std::min_element(pages.begin(), pages.end());
    const uint32_t high = *std::max_element(pages.begin(), pages.end());
    if (high - low < bits) {
      row = UsageMap::encodeInline(low, pages, row.size() - kInlineHeader);
      writeMapRow(file, layout, at, row);
      return;
    }
    // Too wide for a window: list map pages instead, in the same row.
    const size_t entries = (row.size() - 1) / 4;
    std::map<uint64_t, std::vector<uint32_t>> byMapPage;
    for (uint32_t p : pages) byMapPage[p / perReferencePage].push_back(p);
    if (byMapPage.rbegin()->first >= entries)
      throw FormatError(ErrorCode::Invalid, msg::pageOutOfRange(page));
    std::vector<uint8_t> reference(row.size(), 0);
    reference[0] = kReferenceMap;
    for (const auto& [index, members] : byMapPage) {
      uint32_t mapPage = allocate();
      file::PageBuffer bitmap(layout.pageSize, 0);
      bitmap[0] = static_cast<uint8_t>(PageType::UsageMap);
      bitmap[1] = 0x01;
      for (uint32_t p : members)
        setBit(bitmap.data() + kReferencePageHeader, p - index * perReferencePage, true);
      file.write(mapPage, bitmap);
      file::putU32(reference.data() + 1 + 4 * index, mapPage);
    }
    writeMapRow(file, layout, at, reference);
    return;
  }

  const uint64_t index = page / perReferencePage;
  const size_t entries = (row.size() - 1) / 4;
  if (index >= entries) {
    if (!present) return;
    throw FormatError(ErrorCode::Invalid, msg::pageOutOfRange(page));
  }
  uint32_t mapPage = file::getU32(row.data() + 1 + 4 * index);
  file::PageBuffer bitmap(layout.pageSize, 0);
  if (mapPage == 0) {
    if (!present) return;
    mapPage = allocate();
    bitmap[0] = static_cast<uint8_t>(PageType::UsageMap);
    bitmap[1] = 0x01;
    file::putU32(row.data() + 1 + 4 * index, mapPage);
    writeMapRow(file, layout, at, row);
  } else {
    file::PageRef current = file.read(mapPage);
    if ((*current)[0] != static_cast<uint8_t>(PageType::UsageMap)) {
      throw FormatError(ErrorCode::Corrupt, msg::corruptPage(mapPage));
    }
    bitmap.assign(current->begin(), current->end());
  }
  setBit(bitmap.data() + kReferencePageHeader, page - index * perReferencePage, present);
  file.write(mapPage, bitmap);
}

}  // namespace jet::format
