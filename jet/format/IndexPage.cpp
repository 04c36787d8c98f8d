#include "jet/format/IndexPage.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/format/IndexKey.h"

namespace jet::format {
namespace {

constexpr uint32_t kTdefOffset = 4;
constexpr uint32_t kFreeSpaceOffset = 2;
constexpr uint8_t kPageMarker = 0x01;  // the byte after the page type

size_t pointerBytes(bool leaf) {
  return leaf ? 4 : 8;
}

size_t rawSize(const IndexEntry& e, bool leaf) {
  return e.key.size() + pointerBytes(leaf);
}

// An entry as stored when no prefix is left out.
void appendRaw(Bytes& out, const IndexEntry& e, bool leaf) {
  out.insert(out.end(), e.key.begin(), e.key.end());
  out.push_back(static_cast<uint8_t>(e.dataPage >> 16));
  out.push_back(static_cast<uint8_t>(e.dataPage >> 8));
  out.push_back(static_cast<uint8_t>(e.dataPage));
  out.push_back(e.dataRow);
  if (!leaf)
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(e.childPage >> (8 * i)));
}

[[noreturn]] void corrupt(uint32_t page, const std::string& detail) {
  throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(page, detail));
}

// The page header is little-endian.
uint16_t getLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t getLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void putLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void putLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t getBigEndian(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

uint32_t IndexPageLayout::entryCapacity() const {
  return std::min(pageSize - entryAreaOffset(), maskSize * 8 - 1);
}

IndexPageLayout IndexPageLayout::jet4() {
  return IndexPageLayout{};
}

IndexPageLayout IndexPageLayout::jet3() {
  IndexPageLayout l;
  l.pageSize = 2048;
  l.prevOffset = 8;
  l.nextOffset = 12;
  l.tailOffset = 16;
  l.prefixOffset = 20;
  l.prefixSize = 1;
  l.flagsOffset = 21;
  l.maskOffset = 22;
  l.maskSize = 226;
  return l;
}

int compareEntries(const IndexEntry& a, const IndexEntry& b) {
  int c = compareKeys(a.key, b.key);
  if (c != 0) return c;
  if (a.dataPage != b.dataPage) return a.dataPage < b.dataPage ? -1 : 1;
  if (a.dataRow != b.dataRow) return a.dataRow < b.dataRow ? -1 : 1;
  return 0;
}

IndexPage decodeIndexPage(std::span<const uint8_t> page, const IndexPageLayout& layout, uint32_t pageNumber) {
  if (page.size() < layout.pageSize) corrupt(pageNumber, "page too short");
  const uint8_t* p = page.data();
  IndexPage out;
  if (p[0] == kIndexLeafPage)
    out.leaf = true;
  else if (p[0] == kIndexNodePage)
    out.leaf = false;
  else
    corrupt(pageNumber, "not an index page");
  out.tdefPage = getLe32(p + kTdefOffset);
  out.prevPage = getLe32(p + layout.prevOffset);
  out.nextPage = getLe32(p + layout.nextOffset);
  out.tailPage = getLe32(p + layout.tailOffset);
  out.prefixLength = layout.prefixSize == 1 ? p[layout.prefixOffset] : getLe16(p + layout.prefixOffset);
  out.flags = p[layout.flagsOffset];

  const size_t area = layout.entryAreaOffset();
  const size_t capacity = layout.pageSize - area;
  const size_t minimum = pointerBytes(out.leaf);
  Bytes prefix;
  size_t start = 0;
  for (size_t bit = 0; bit < static_cast<size_t>(layout.maskSize) * 8; ++bit) {
    if (!(p[layout.maskOffset + bit / 8] & (1u << (bit % 8)))) continue;
    if (bit > capacity) corrupt(pageNumber, "entry past the end of the page");
    if (bit <= start) corrupt(pageNumber, "empty entry");
    Bytes raw;
    const bool first = out.entries.empty();
    if (!first) raw = prefix;
    raw.insert(raw.end(), p + area + start, p + area + bit);
    if (raw.size() < minimum) corrupt(pageNumber, "entry shorter than its pointers");
    if (first) {
      if (out.prefixLength > raw.size()) corrupt(pageNumber, "prefix longer than the first entry");
      prefix.assign(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(out.prefixLength));
    }
    IndexEntry e;
    const size_t keyLength = raw.size() - minimum;
    e.key.assign(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(keyLength));
    e.dataPage = getBigEndian(raw.data() + keyLength, 3);
    e.dataRow = raw[keyLength + 3];
    if (!out.leaf) e.childPage = getBigEndian(raw.data() + keyLength + 4, 4);
    out.entries.push_back(std::move(e));
    start = bit;
  }
  return out;
}

size_t commonPrefixLength(std::span<const IndexEntry> entries) {
  if (entries.size() < 2) return 0;
  // Sorted or not, the prefix all keys share is that of each key with the first.
  size_t n = entries.front().key.size();
  for (const IndexEntry& e : entries.subspan(1)) {
    size_t i = 0;
    while (i < n && i < e.key.size() && e.key[i] == entries.front().key[i]) ++i;
    n = i;
  }
  return n;
}

size_t entryAreaBytes(const IndexPage& page) {
  size_t total = 0;
  for (size_t i = 0; i < page.entries.size(); ++i)
    total += rawSize(page.entries[i], page.leaf) - (i == 0 ? 0 : page.prefixLength);
  return total;
}

bool fitsOnPage(const IndexPage& page, const IndexPageLayout& layout) {
  return entryAreaBytes(page) <= layout.entryCapacity();
}

void encodeIndexPage(const IndexPage& page, const IndexPageLayout& layout, std::span<uint8_t> out) {
  if (out.size() < layout.pageSize)
    throw FormatError(ErrorCode::Invalid, msg::indexEntryTooLarge(out.size()));
  const size_t used = entryAreaBytes(page);
  if (used > layout.entryCapacity()) throw FormatError(ErrorCode::Invalid, msg::indexEntryTooLarge(used));
  uint8_t* p = out.data();
  std::memset(p, 0, layout.pageSize);
  p[0] = page.leaf ? kIndexLeafPage : kIndexNodePage;
  p[1] = kPageMarker;
  putLe32(p + kTdefOffset, page.tdefPage);
  putLe32(p + layout.prevOffset, page.prevPage);
  putLe32(p + layout.nextOffset, page.nextPage);
  putLe32(p + layout.tailOffset, page.tailPage);
  if (layout.prefixSize == 1)
    p[layout.prefixOffset] = static_cast<uint8_t>(page.prefixLength);
  else
    putLe16(p + layout.prefixOffset, static_cast<uint16_t>(page.prefixLength));
  p[layout.flagsOffset] = page.flags;

  uint8_t* area = p + layout.entryAreaOffset();
  size_t pos = 0;
  Bytes first;
  Bytes raw;
  for (size_t i = 0; i < page.entries.size(); ++i) {
    raw.clear();
    appendRaw(raw, page.entries[i], page.leaf);
    size_t skip = 0;
    if (i == 0) {
      if (page.prefixLength > raw.size())
        throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(0, "prefix"));
      first = raw;
    } else {
      skip = page.prefixLength;
      if (raw.size() < skip ||
          !std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(skip), raw.begin()))
        throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(0, "entries do not share the prefix"));
    }
    std::memcpy(area + pos, raw.data() + skip, raw.size() - skip);
    pos += raw.size() - skip;
    p[layout.maskOffset + pos / 8] = static_cast<uint8_t>(p[layout.maskOffset + pos / 8] | (1u << (pos % 8)));
  }
  putLe16(p + kFreeSpaceOffset, static_cast<uint16_t>(layout.pageSize - layout.entryAreaOffset() - pos));
}

Bytes encodeIndexPage(const IndexPage& page, const IndexPageLayout& layout) {
  Bytes out(layout.pageSize);
  encodeIndexPage(page, layout, out);
  return out;
}

IndexEntry nodeEntryFor(const IndexPage& child, uint32_t childPage) {
  if (child.entries.empty())
    throw FormatError(ErrorCode::Invalid, msg::corruptIndexPage(childPage, "empty child"));
  IndexEntry e = child.entries.back();
  e.childPage = childPage;
  return e;
}

std::pair<IndexPage, IndexPage> splitPage(const IndexPage& page, size_t at) {
  IndexPage left = page;
  IndexPage right = page;
  left.entries.assign(page.entries.begin(), page.entries.begin() + static_cast<std::ptrdiff_t>(at));
  right.entries.assign(page.entries.begin() + static_cast<std::ptrdiff_t>(at), page.entries.end());
  left.prefixLength = commonPrefixLength(left.entries);
  right.prefixLength = commonPrefixLength(right.entries);
  return {std::move(left), std::move(right)};
}

size_t chooseSplit(const IndexPage& page, const IndexPageLayout& layout) {
  const size_t n = page.entries.size();
  if (n < 2) throw FormatError(ErrorCode::Invalid, msg::indexEntryTooLarge(entryAreaBytes(page)));
  // Uncompressed sizes pick the middle; the prefixes only make halves smaller.
  std::vector<size_t> before(n + 1, 0);
  for (size_t i = 0; i < n; ++i) before[i + 1] = before[i] + rawSize(page.entries[i], page.leaf);
  const size_t total = before[n];
  size_t best = 1;
  size_t bestGap = SIZE_MAX;
  for (size_t at = 1; at < n; ++at) {
    size_t l = before[at];
    size_t r = total - l;
    size_t gap = l > r ? l - r : r - l;
    if (gap < bestGap) {
      bestGap = gap;
      best = at;
    }
  }
  // Walk outwards from the middle until both halves fit.
  for (size_t d = 0; d < n; ++d) {
    for (int side = 0; side < 2; ++side) {
      size_t at = side == 0 ? best + d : best - d;
      if (side == 1 && (d == 0 || d >= best)) continue;
      if (at < 1 || at >= n) continue;
      auto [l, r] = splitPage(page, at);
      if (fitsOnPage(l, layout) && fitsOnPage(r, layout)) return at;
    }
  }
  throw FormatError(ErrorCode::Invalid, msg::indexEntryTooLarge(entryAreaBytes(page)));
}

}  // namespace jet::format
