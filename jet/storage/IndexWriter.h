// Keeps one physical index of a Jet table in step with its rows: the key of a
// row, the uniqueness check, and entry insertion and removal in the index's
// B-tree. The tree is edited the way Jet lays it out: leaves linked both
// ways, each intermediate entry naming the greatest entry under its child,
// the last child reached through the tail pointer, every page storing its
// shared key prefix once. An overfull page splits (the root keeps its page
// number, so the table definition never changes); an emptied page leaves the
// tree and its siblings' chain.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jet/core/Value.h"
#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"
#include "jet/format/TableDefinition.h"
#include "jet/storage/JetContext.h"

namespace jet::storage {

class IndexWriter {
 public:
  // Throws FormatError(Corrupt) when the index names a column the table lacks.
  IndexWriter(JetContext& context, const format::TableDefinition& def, size_t physical, std::string table);

  const std::string& name() const { return name_; }
  bool unique() const { return unique_; }
  uint32_t rootPage() const { return root_; }
  // Positions in a row of the columns the key is made of.
  const std::vector<size_t>& columnPositions() const { return positions_; }

  // The key of `row` (one value per table column), or nothing when the index
  // leaves such a row out (every index column Null in an ignore-nulls
  // index). Throws FormatError for a value that cannot be indexed (a
  // character without a sort code, an OLE column).
  std::optional<Bytes> keyOf(const Row& row) const;
  // Whether a unique index refuses a second entry with this key: an entry
  // with all index columns Null never clashes.
  bool clashes(const Row& row) const;
  // Whether an entry with `key` exists for a row other than `except`.
  bool containsKey(const Bytes& key, std::optional<format::RowPointer> except = std::nullopt);

  void insert(const Bytes& key, format::RowPointer row);
  // Throws StorageError(Corrupt) when the entry is not in the index.
  void remove(const Bytes& key, format::RowPointer row);
  // Removes many entries (keys with their rows) at once, in any order; each
  // leaf is rewritten once however many of them it held.
  void removeMany(std::vector<format::IndexEntry> entries);

 private:
  format::IndexPage& load(uint32_t page);
  void store();
  std::vector<uint32_t> descend(const format::IndexEntry& target);
  void settle(std::vector<uint32_t> path);
  format::IndexEntry greatestUnder(uint32_t page);
  // A new page of this index, entered in the index's own page map.
  uint32_t newPage();
  void link(format::IndexPage& left, format::IndexPage& right, uint32_t l, uint32_t r, uint32_t prev,
            uint32_t next);

  JetContext& context_;
  format::IndexPageLayout layout_;
  std::string table_;
  std::string name_;
  uint32_t root_ = 0;
  uint32_t usedPagesPointer_ = 0;
  bool unique_ = false;
  bool ignoreNulls_ = false;
  std::vector<size_t> positions_;  // of the index columns in a row
  std::vector<format::KeyColumn> columns_;
  // Pages of the operation in progress, decoded; the dirty ones are written at its end.
  std::map<uint32_t, format::IndexPage> pages_;
  std::map<uint32_t, bool> dirty_;
};

}  // namespace jet::storage
