// Grows a B-tree of index pages the way the writer will: entries go into the
// leaf that covers them, an overfull page splits where chooseSplit says, its
// parent gets the entry nodeEntryFor makes, and the root keeps its page
// number. Every page must encode, decode to itself and fit at all times.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"

namespace jet::format {
namespace {

class Tree {
 public:
  explicit Tree(IndexPageLayout layout) : layout_(layout) {
    pages_[kRoot] = IndexPage{};
    pages_[kRoot].tdefPage = 2;
  }

  void insert(const IndexEntry& e) {
    std::vector<uint32_t> path{kRoot};
    while (!pages_[path.back()].leaf) {
      const IndexPage& node = pages_[path.back()];
      uint32_t next = node.tailPage;
      for (const IndexEntry& n : node.entries)
        if (compareEntries(e, n) <= 0) {
          next = n.childPage;
          break;
        }
      path.push_back(next);
    }
    IndexPage& leaf = pages_[path.back()];
    auto at =
        std::upper_bound(leaf.entries.begin(), leaf.entries.end(), e,
                         [](const IndexEntry& a, const IndexEntry& b) { return compareEntries(a, b) < 0; });
    leaf.entries.insert(at, e);
    settle(path);
  }

  void check(const std::vector<IndexEntry>& expected) {
    std::vector<IndexEntry> seen;
    std::vector<uint32_t> leaves;
    walk(kRoot, seen, leaves);
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
      ASSERT_EQ(seen[i].key, expected[i].key) << i;
      ASSERT_EQ(seen[i].dataPage, expected[i].dataPage) << i;
      ASSERT_EQ(seen[i].dataRow, expected[i].dataRow) << i;
    }
    for (size_t i = 0; i < leaves.size(); ++i) {
      EXPECT_EQ(pages_[leaves[i]].prevPage, i ? leaves[i - 1] : 0u);
      EXPECT_EQ(pages_[leaves[i]].nextPage, i + 1 < leaves.size() ? leaves[i + 1] : 0u);
    }
    for (auto& [number, page] : pages_) {
      Bytes bytes = encodeIndexPage(page, layout_);
      IndexPage back = decodeIndexPage(bytes, layout_, number);
      ASSERT_EQ(back.entries, page.entries) << "page " << number;
      ASSERT_EQ(back.tailPage, page.tailPage);
      ASSERT_EQ(encodeIndexPage(back, layout_), bytes);
    }
  }

  size_t pageCount() const { return pages_.size(); }
  int depth() {
    int d = 1;
    for (uint32_t p = kRoot; !pages_[p].leaf; p = pages_[p].tailPage) ++d;
    return d;
  }

 private:
  static constexpr uint32_t kRoot = 1;

  uint32_t allocate() { return next_++; }

  void compress(IndexPage& p) { p.prefixLength = commonPrefixLength(p.entries); }

  // Splits overfull pages from the leaf upwards.
  void settle(std::vector<uint32_t> path) {
    while (!path.empty()) {
      const uint32_t number = path.back();
      path.pop_back();
      IndexPage& page = pages_[number];
      compress(page);
      if (fitsOnPage(page, layout_)) {
        // The parent's entry for this page must still name its greatest entry.
        refreshParent(path, number);
        continue;
      }
      size_t at = chooseSplit(page, layout_);
      auto [left, right] = splitPage(page, at);
      if (!page.leaf) {
        // The left node's last child becomes its tail; its entry leaves the page.
        left.tailPage = left.entries.back().childPage;
        left.entries.pop_back();
        compress(left);
      }
      if (number == kRoot) {
        // The root keeps its page number: both halves move out.
        uint32_t l = allocate(), r = allocate();
        link(left, right, l, r, page.prevPage, page.nextPage);
        pages_[l] = left;
        pages_[r] = right;
        IndexPage root;
        root.leaf = false;
        root.flags = 1;
        root.tdefPage = page.tdefPage;
        root.entries.push_back(greatestUnder(l));
        root.entries.back().childPage = l;
        root.tailPage = r;
        compress(root);
        pages_[kRoot] = root;
        return;
      }
      uint32_t r = allocate();
      const uint32_t oldNext = page.nextPage;
      link(left, right, number, r, page.prevPage, oldNext);
      pages_[number] = left;
      pages_[r] = right;
      IndexPage& parent = pages_[path.back()];
      IndexEntry leftEntry = greatestUnder(number);
      leftEntry.childPage = number;
      if (parent.tailPage == number) {
        parent.tailPage = r;
        parent.entries.push_back(leftEntry);
      } else {
        auto it = std::find_if(parent.entries.begin(), parent.entries.end(),
                               [&](const IndexEntry& e) { return e.childPage == number; });
        *it = greatestUnder(r);
        it->childPage = r;
        parent.entries.insert(it, leftEntry);
      }
    }
  }

  void link(IndexPage& left, IndexPage& right, uint32_t l, uint32_t r, uint32_t prev, uint32_t next) {
    left.prevPage = prev;
    left.nextPage = r;
    right.prevPage = l;
    right.nextPage = next;
    if (next) pages_[next].prevPage = r;
    if (prev) pages_[prev].nextPage = l;
  }

  IndexEntry greatestUnder(uint32_t number) {
    const IndexPage& p = pages_[number];
    if (p.leaf) return nodeEntryFor(p, number);
    return greatestUnder(p.tailPage);
  }

  void refreshParent(const std::vector<uint32_t>& path, uint32_t number) {
    if (path.empty()) return;
    IndexPage& parent = pages_[path.back()];
    for (IndexEntry& e : parent.entries)
      if (e.childPage == number) {
        e = greatestUnder(number);
        e.childPage = number;
      }
  }

  void walk(uint32_t number, std::vector<IndexEntry>& out, std::vector<uint32_t>& leaves) {
    const IndexPage& p = pages_[number];
    ASSERT_TRUE(fitsOnPage(p, layout_)) << number;
    if (p.leaf) {
      leaves.push_back(number);
      out.insert(out.end(), p.entries.begin(), p.entries.end());
      return;
    }
    ASSERT_EQ(p.flags, 1);
    for (const IndexEntry& e : p.entries) {
      size_t before = out.size();
      walk(e.childPage, out, leaves);
      ASSERT_GT(out.size(), before);
      ASSERT_EQ(out.back().key, e.key) << "node " << number;
    }
    walk(p.tailPage, out, leaves);
  }

  IndexPageLayout layout_;
  std::map<uint32_t, IndexPage> pages_;
  uint32_t next_ = kRoot + 1;
};

std::vector<IndexEntry> randomEntries(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<KeyColumn> cols(2);
  cols[0].type = DataType::Long;
  cols[1].type = DataType::Text;
  cols[1].ascending = false;
  const std::vector<std::string> words{"客户",   "Zoë",    "Ångström", "delta",
                                       "数据库", "éclair", "x-ray",    "Müller"};
  std::vector<IndexEntry> out;
  for (size_t i = 0; i < n; ++i) {
    std::vector<Value> v{Value::longInt(static_cast<int32_t>(rng() % 5000)),
                         Value::text(words[rng() % words.size()] + std::string(rng() % 40, 'q'))};
    out.push_back(IndexEntry{encodeKey(cols, v, KeyOwner{"t", "i"}), 100 + static_cast<uint32_t>(i / 200),
                             static_cast<uint8_t>(i % 200), 0});
  }
  return out;
}

TEST(IndexTree, RandomInsertionsSplitIntoAValidTree) {
  for (IndexPageLayout layout : {IndexPageLayout::jet4(), IndexPageLayout::jet3()}) {
    Tree tree(layout);
    std::vector<IndexEntry> entries = randomEntries(6000, 99);
    std::vector<IndexEntry> sorted;
    for (size_t i = 0; i < entries.size(); ++i) {
      tree.insert(entries[i]);
      if (i % 1500 == 1499 || i + 1 == entries.size()) {
        sorted.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(i + 1));
        std::sort(sorted.begin(), sorted.end(),
                  [](const IndexEntry& a, const IndexEntry& b) { return compareEntries(a, b) < 0; });
        tree.check(sorted);
        if (testing::Test::HasFatalFailure()) return;
      }
    }
    EXPECT_GE(tree.depth(), 3);  // intermediate pages split too
    EXPECT_GT(tree.pageCount(), 40u);
  }
}

TEST(IndexTree, AscendingInsertionsFillPages) {
  Tree tree(IndexPageLayout::jet4());
  KeyColumn c;
  std::vector<IndexEntry> entries;
  for (int i = 0; i < 5000; ++i) {
    Bytes key;
    appendKeyColumn(key, c, Value::longInt(i), KeyOwner{"t", "i"});
    entries.push_back(
        IndexEntry{key, 200 + static_cast<uint32_t>(i / 100), static_cast<uint8_t>(i % 100), 0});
    tree.insert(entries.back());
  }
  tree.check(entries);
  // Prefix compression keeps an ascending Long index small.
  EXPECT_LT(tree.pageCount(), 20u);
}

}  // namespace
}  // namespace jet::format
