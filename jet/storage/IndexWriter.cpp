#include "jet/storage/IndexWriter.h"

#include <algorithm>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/format/UsageMap.h"

namespace jet::storage {

using format::IndexEntry;
using format::IndexPage;

namespace {

constexpr int kMaxDepth = 16;
// Decoded pages a batch of removals keeps before writing them back.
constexpr size_t kPagesInHand = 256;

format::SortOrder sortOrderFor(const format::ColumnDefinition& c, const file::Header& h, bool jet3,
                               const std::string& table, const std::string& index) {
  format::SortOrder order;
  const auto version = static_cast<int8_t>((h.sortOrder >> 16) & 0xff);
  if (format::sortOrderFromId(c.sortOrder, jet3 ? 0 : version, jet3, order)) return order;
  // Only the General order's codes are known: another order's keys cannot be written.
  throw FormatError(ErrorCode::Unsupported,
                    msg::columnNotIndexable(table, index, std::to_string(c.sortOrder)));
}

bool before(const IndexEntry& a, const IndexEntry& b) {
  return format::compareEntries(a, b) < 0;
}

}  // namespace

IndexWriter::IndexWriter(JetContext& context, const format::TableDefinition& def, size_t physical,
                         std::string table)
    : context_(context),
      layout_(context.layout.jet3 ? format::IndexPageLayout::jet3() : format::IndexPageLayout::jet4()),
      table_(std::move(table)) {
  const format::PhysicalIndex& ix = def.physicalIndexes.at(physical);
  root_ = ix.firstPage;
  usedPagesPointer_ = ix.usedPagesPointer;
  unique_ = ix.flags & format::kIndexUnique;
  ignoreNulls_ = ix.flags & format::kIndexIgnoreNulls;
  for (const auto& l : def.indexes) {
    if (l.physical != physical) continue;
    if (name_.empty()) name_ = l.name;
    if (l.kind == format::kIndexPrimaryKey) {
      unique_ = true;
      name_ = l.name;
    }
  }
  for (const auto& ic : ix.columns) {
    auto it = std::find_if(def.columns.begin(), def.columns.end(),
                           [&](const format::ColumnDefinition& c) { return c.number == ic.columnNumber; });
    if (it == def.columns.end()) throw FormatError(ErrorCode::Corrupt, msg::corruptTableDefinition(table_));
    format::KeyColumn kc;
    kc.type = static_cast<DataType>(it->type);
    kc.ascending = ic.ascending;
    kc.scale = it->scale;
    if (kc.type == DataType::Text || kc.type == DataType::Memo) {
      kc.sortOrder = sortOrderFor(*it, context_.file->header(), context_.layout.jet3, table_, name_);
    }
    columns_.push_back(kc);
    positions_.push_back(static_cast<size_t>(it - def.columns.begin()));
  }
}

std::optional<Bytes> IndexWriter::keyOf(const Row& row) const {
  std::vector<Value> values;
  bool allNull = true;
  for (size_t p : positions_) {
    values.push_back(row.at(p));
    allNull = allNull && row.at(p).isNull();
  }
  if (allNull && ignoreNulls_) return std::nullopt;
  return format::encodeKey(columns_, values, format::KeyOwner{table_, name_});
}

bool IndexWriter::clashes(const Row& row) const {
  if (!unique_) return false;
  for (size_t p : positions_)
    if (!row.at(p).isNull()) return true;
  return false;
}

IndexPage& IndexWriter::load(uint32_t page) {
  auto it = pages_.find(page);
  if (it != pages_.end()) return it->second;
  if (page == 0 || page >= context_.file->pageCount()) {
    throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(page, "page out of range"));
  }
  return pages_[page] = format::decodeIndexPage(*context_.file->read(page), layout_, page);
}

void IndexWriter::store() {
  for (const auto& [number, on] : dirty_) {
    if (!on) continue;
    context_.file->write(number, format::encodeIndexPage(pages_.at(number), layout_));
  }
  dirty_.clear();
  pages_.clear();
}

std::vector<uint32_t> IndexWriter::descend(const IndexEntry& target) {
  std::vector<uint32_t> path{root_};
  while (!load(path.back()).leaf) {
    if (path.size() > kMaxDepth) throw FormatError(ErrorCode::Corrupt, msg::pageChainLoop(path.back()));
    const IndexPage& node = load(path.back());
    // The first entry not below the target names the child that holds it.
    auto it = std::lower_bound(node.entries.begin(), node.entries.end(), target, before);
    uint32_t next = it == node.entries.end() ? node.tailPage : it->childPage;
    if (next == 0) throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(path.back(), "no child"));
    path.push_back(next);
  }
  return path;
}

bool IndexWriter::containsKey(const Bytes& key, std::optional<format::RowPointer> except) {
  IndexEntry probe{key, 0, 0, 0};
  std::vector<uint32_t> path = descend(probe);
  uint32_t number = path.back();
  bool found = false;
  for (int hops = 0; number != 0 && !found; ++hops) {
    const IndexPage& leaf = load(number);
    auto it = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), probe, before);
    bool past = false;
    for (; it != leaf.entries.end(); ++it) {
      if (format::compareKeys(it->key, key) != 0) {
        past = true;
        break;
      }
      if (!except || it->dataPage != except->page || it->dataRow != except->row) {
        found = true;
        break;
      }
    }
    if (past || hops > 1000000) break;
    number = leaf.nextPage;
  }
  pages_.clear();
  return found;
}

void IndexWriter::insert(const Bytes& key, format::RowPointer row) {
  IndexEntry e{key, row.page, row.row, 0};
  try {
    std::vector<uint32_t> path = descend(e);
    IndexPage& leaf = load(path.back());
    auto at = std::upper_bound(leaf.entries.begin(), leaf.entries.end(), e, before);
    leaf.entries.insert(at, e);
    dirty_[path.back()] = true;
    settle(path);
    store();
  } catch (...) {
    pages_.clear();
    dirty_.clear();
    throw;
  }
}

void IndexWriter::remove(const Bytes& key, format::RowPointer row) {
  IndexEntry e{key, row.page, row.row, 0};
  try {
    std::vector<uint32_t> path = descend(e);
    IndexPage& leaf = load(path.back());
    auto at = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), e, before);
    if (at == leaf.entries.end() || format::compareEntries(*at, e) != 0) {
      throw StorageError(
          ErrorCode::Corrupt,
          msg::corruptIndexPage(path.back(), "entry missing for row " + std::to_string(row.page) + ":" +
                                                 std::to_string(row.row)));
    }
    leaf.entries.erase(at);
    dirty_[path.back()] = true;
    settle(path);
    store();
  } catch (...) {
    pages_.clear();
    dirty_.clear();
    throw;
  }
}

void IndexWriter::removeMany(std::vector<IndexEntry> entries) {
  std::sort(entries.begin(), entries.end(), before);
  try {
    // Entries in index order fall into the leaves in order: each leaf is
    // found once, loses all of its victims in one merge, and is settled once.
    for (size_t i = 0; i < entries.size();) {
      std::vector<uint32_t> path = descend(entries[i]);
      IndexPage& leaf = load(path.back());
      // Entries up to the leaf's greatest belong to it (the moves below leave that one empty).
      const IndexEntry greatest = leaf.entries.empty() ? IndexEntry{} : leaf.entries.back();
      std::vector<IndexEntry> kept;
      kept.reserve(leaf.entries.size());
      auto at = leaf.entries.begin();
      const auto end = leaf.entries.end();
      do {
        const IndexEntry& victim = entries[i];
        while (at != end && before(*at, victim)) kept.push_back(std::move(*at++));
        if (at == end || format::compareEntries(*at, victim) != 0) {
          throw StorageError(
              ErrorCode::Corrupt,
              msg::corruptIndexPage(path.back(), "entry missing for row " + std::to_string(victim.dataPage) +
                                                     ":" + std::to_string(victim.dataRow)));
        }
        ++at;
        ++i;
      } while (i < entries.size() && format::compareEntries(entries[i], greatest) <= 0);
      for (; at != end; ++at) kept.push_back(std::move(*at));
      leaf.entries = std::move(kept);
      dirty_[path.back()] = true;
      settle(path);
      // The upper levels stay decoded from leaf to leaf; the pages in hand are bounded.
      if (pages_.size() > kPagesInHand) store();
    }
    store();
  } catch (...) {
    pages_.clear();
    dirty_.clear();
    throw;
  }
}

uint32_t IndexWriter::newPage() {
  uint32_t page = context_.allocatePage();
  if (usedPagesPointer_ != 0) {
    format::changeUsageMap(*context_.file, context_.layout, usedPagesPointer_, page, true,
                           [this] { return context_.allocatePage(); });
  }
  return page;
}

IndexEntry IndexWriter::greatestUnder(uint32_t number) {
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    const IndexPage& p = load(number);
    if (p.leaf) {
      if (p.entries.empty())
        throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(number, "empty page"));
      return format::nodeEntryFor(p, number);
    }
    number = p.tailPage;
  }
  throw FormatError(ErrorCode::Corrupt, msg::pageChainLoop(number));
}

void IndexWriter::link(IndexPage& left, IndexPage& right, uint32_t l, uint32_t r, uint32_t prev,
                       uint32_t next) {
  left.prevPage = prev;
  left.nextPage = r;
  right.prevPage = l;
  right.nextPage = next;
  if (next) {
    load(next).prevPage = r;
    dirty_[next] = true;
  }
  if (prev) {
    load(prev).nextPage = l;
    dirty_[prev] = true;
  }
}

void IndexWriter::settle(std::vector<uint32_t> path) {
  while (!path.empty()) {
    const uint32_t number = path.back();
    path.pop_back();
    IndexPage* page = &load(number);
    const bool empty = page->entries.empty() && (page->leaf || page->tailPage == 0);
    if (empty && number != root_) {
      // The page leaves the tree: out of its parent and its level's chain.
      const uint32_t prev = page->prevPage, next = page->nextPage;
      if (prev) {
        load(prev).nextPage = next;
        dirty_[prev] = true;
      }
      if (next) {
        load(next).prevPage = prev;
        dirty_[next] = true;
      }
      IndexPage& parent = load(path.back());
      if (parent.tailPage == number) {
        if (parent.entries.empty()) {
          parent.tailPage = 0;
        } else {
          parent.tailPage = parent.entries.back().childPage;
          parent.entries.pop_back();
        }
      } else {
        auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                               [&](const IndexEntry& x) { return x.childPage == number; });
        if (it == parent.entries.end())
          throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(number, "orphan"));
        parent.entries.erase(it);
      }
      dirty_[path.back()] = true;
      dirty_[number] = false;
      continue;
    }
    if (empty) {
      // An empty root becomes an empty leaf again.
      page->leaf = true;
      page->flags = 0;
      page->tailPage = 0;
      page->prefixLength = 0;
      dirty_[number] = true;
      continue;
    }
    page->prefixLength = format::commonPrefixLength(page->entries);
    if (format::fitsOnPage(*page, layout_)) {
      if (!path.empty()) {
        // The parent's entry for this page names its greatest entry.
        IndexPage& parent = load(path.back());
        for (IndexEntry& x : parent.entries) {
          if (x.childPage != number) continue;
          IndexEntry g = greatestUnder(number);
          g.childPage = number;
          if (!(g == x)) {
            x = g;
            dirty_[path.back()] = true;
          }
        }
      }
      continue;
    }
    dirty_[number] = true;
    size_t at = format::chooseSplit(*page, layout_);
    auto [left, right] = format::splitPage(*page, at);
    if (!page->leaf) {
      // The left node's last child becomes its tail; its entry leaves the page.
      left.tailPage = left.entries.back().childPage;
      left.entries.pop_back();
      left.prefixLength = format::commonPrefixLength(left.entries);
    }
    if (number == root_) {
      // The root keeps its page number: both halves move out.
      const uint32_t l = newPage(), r = newPage();
      const uint32_t prev = page->prevPage, next = page->nextPage, tdef = page->tdefPage;
      link(left, right, l, r, prev, next);
      pages_[l] = std::move(left);
      pages_[r] = std::move(right);
      dirty_[l] = dirty_[r] = true;
      IndexPage root;
      root.leaf = false;
      root.flags = 1;
      root.tdefPage = tdef;
      IndexEntry g = greatestUnder(l);
      g.childPage = l;
      root.entries.push_back(g);
      root.tailPage = r;
      root.prefixLength = format::commonPrefixLength(root.entries);
      pages_[root_] = std::move(root);
      return;
    }
    const uint32_t r = newPage();
    page = &load(number);
    const uint32_t prev = page->prevPage, next = page->nextPage;
    link(left, right, number, r, prev, next);
    pages_[number] = std::move(left);
    pages_[r] = std::move(right);
    dirty_[r] = true;
    IndexPage& parent = load(path.back());
    IndexEntry leftEntry = greatestUnder(number);
    leftEntry.childPage = number;
    if (parent.tailPage == number) {
      parent.tailPage = r;
      parent.entries.push_back(leftEntry);
    } else {
      auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                             [&](const IndexEntry& x) { return x.childPage == number; });
      if (it == parent.entries.end())
        throw FormatError(ErrorCode::Corrupt, msg::corruptIndexPage(number, "orphan"));
      IndexEntry g = greatestUnder(r);
      g.childPage = r;
      *it = g;
      parent.entries.insert(it, leftEntry);
    }
    dirty_[path.back()] = true;
  }
}

}  // namespace jet::storage
