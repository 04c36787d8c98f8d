#include "jet/storage/IndexCheck.h"

#include <map>
#include <set>

#include "jet/core/Error.h"
#include "jet/format/IndexPage.h"

namespace jet::storage {

namespace {

constexpr size_t kMaxProblems = 20;
constexpr int kMaxDepth = 16;

struct Walker {
  file::PageFile& file;
  format::IndexPageLayout layout;
  std::string index;
  IndexReport& report;
  std::vector<format::IndexEntry> entries;
  std::vector<std::vector<uint32_t>> levels;  // pages of each depth, left to right
  std::set<uint32_t> seen;

  void problem(const std::string& what) {
    if (report.problems.size() < kMaxProblems) report.problems.push_back("index " + index + ": " + what);
  }

  // Returns false when the walk cannot go on below this page.
  bool walk(uint32_t number, size_t depth) {
    if (depth >= kMaxDepth || !seen.insert(number).second) {
      problem("page " + std::to_string(number) + " reached twice or too deep");
      return false;
    }
    if (number == 0 || number >= file.pageCount()) {
      problem("child page " + std::to_string(number) + " out of range");
      return false;
    }
    format::IndexPage p;
    try {
      p = format::decodeIndexPage(*file.read(number), layout, number);
    } catch (const Error& e) {
      problem(e.what());
      return false;
    }
    if (levels.size() <= depth) levels.resize(depth + 1);
    levels[depth].push_back(number);
    if (!format::fitsOnPage(p, layout)) problem("page " + std::to_string(number) + " overfull");
    if (p.leaf) {
      entries.insert(entries.end(), p.entries.begin(), p.entries.end());
      return true;
    }
    for (const format::IndexEntry& e : p.entries) {
      size_t before = entries.size();
      if (!walk(e.childPage, depth + 1)) return false;
      if (entries.size() == before) {
        problem("node " + std::to_string(number) + " names an empty child");
      } else if (entries.back().key != e.key || entries.back().dataPage != e.dataPage ||
                 entries.back().dataRow != e.dataRow) {
        problem("node " + std::to_string(number) + " entry is not the greatest under child " +
                std::to_string(e.childPage));
      }
    }
    if (p.tailPage != 0) return walk(p.tailPage, depth + 1);
    if (!p.entries.empty()) problem("node " + std::to_string(number) + " without a tail page");
    return true;
  }

  void checkLinks() {
    for (const auto& level : levels) {
      for (size_t i = 0; i < level.size(); ++i) {
        format::IndexPage p = format::decodeIndexPage(*file.read(level[i]), layout, level[i]);
        uint32_t prev = i ? level[i - 1] : 0, next = i + 1 < level.size() ? level[i + 1] : 0;
        if (p.prevPage != prev || p.nextPage != next) {
          problem("page " + std::to_string(level[i]) + " is not linked to its neighbours");
        }
      }
    }
  }
};

}  // namespace

IndexReport checkIndexes(JetTable& table) {
  IndexReport report;
  file::PageFile& file = table.pageFileForCheck();
  try {
    // The live rows and the key each index gives them.
    std::map<RowId, Row> rows;
    auto cursor = table.scan();
    while (cursor->next()) rows.emplace(cursor->rowId(), cursor->row());
    report.rows = rows.size();
    if (rows.size() != table.rowCount()) {
      report.problems.push_back("table " + table.schema().name + ": the definition counts " +
                                std::to_string(table.rowCount()) + " rows, a scan finds " +
                                std::to_string(rows.size()));
    }
    for (auto& ix : table.indexWriters()) {
      ++report.indexes;
      Walker w{file,       file.isJet3() ? format::IndexPageLayout::jet3() : format::IndexPageLayout::jet4(),
               ix->name(), report,
               {},         {},
               {}};
      if (!w.walk(ix->rootPage(), 0)) continue;
      w.checkLinks();
      report.entries += w.entries.size();
      for (size_t i = 1; i < w.entries.size(); ++i) {
        if (format::compareEntries(w.entries[i - 1], w.entries[i]) >= 0) {
          w.problem("entries " + std::to_string(i - 1) + " and " + std::to_string(i) + " out of order");
        }
      }
      std::set<RowId> indexed;
      for (const format::IndexEntry& e : w.entries) {
        RowId id = (static_cast<RowId>(e.dataPage) << 8) | e.dataRow;
        auto row = rows.find(id);
        if (row == rows.end()) {
          w.problem("entry for row " + std::to_string(e.dataPage) + ":" + std::to_string(e.dataRow) +
                    ", which is not a live row");
          continue;
        }
        if (!indexed.insert(id).second) w.problem("two entries for row " + std::to_string(id));
        std::optional<Bytes> key;
        try {
          key = ix->keyOf(row->second);
        } catch (const Error& err) {
          w.problem(err.what());
          continue;
        }
        if (!key || *key != e.key) {
          w.problem("the key of row " + std::to_string(e.dataPage) + ":" + std::to_string(e.dataRow) +
                    " differs from its row's values");
        }
      }
      for (const auto& [id, row] : rows) {
        if (indexed.count(id)) continue;
        std::optional<Bytes> key;
        try {
          key = ix->keyOf(row);
        } catch (const Error&) {
          key = Bytes{};
        }
        if (key)
          w.problem("row " + std::to_string(id >> 8) + ":" + std::to_string(id & 0xff) + " is missing");
      }
      if (ix->unique()) {
        for (size_t i = 1; i < w.entries.size(); ++i) {
          const Row& a = rows.count((static_cast<RowId>(w.entries[i].dataPage) << 8) | w.entries[i].dataRow)
                             ? rows[(static_cast<RowId>(w.entries[i].dataPage) << 8) | w.entries[i].dataRow]
                             : Row{};
          if (w.entries[i].key == w.entries[i - 1].key && !a.empty() && ix->clashes(a)) {
            w.problem("duplicate key in a unique index");
          }
        }
      }
    }
  } catch (const Error& e) {
    report.problems.push_back(e.what());
  }
  return report;
}

}  // namespace jet::storage
