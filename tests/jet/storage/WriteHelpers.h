// What the write tests share: temporary copies of the samples, the rows a
// table holds, and the two independent readers (mdbtools, mdb-reader) run on
// a file Quellmark wrote.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "jet/core/Error.h"
#include "jet/core/Text.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/FreePageMap.h"
#include "jet/format/IndexPage.h"
#include "jet/format/UsageMap.h"
#include "jet/storage/IndexCheck.h"
#include "jet/storage/JetDatabase.h"
#include "jet/storage/JetTable.h"
#include "tests/jet/storage/TestFiles.h"

namespace jet::storage::testing {

namespace fs = std::filesystem;

// A fresh folder per test, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("qm-write-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  // A copy of a sample (relative to mdbDir()) in the folder.
  std::string copy(const std::string& sample, const std::string& as = "") const {
    fs::path to = path_ / (as.empty() ? fs::path(sample).filename().string() : as);
    fs::copy_file(mdbDir() / sample, to, fs::copy_options::overwrite_existing);
    // The samples are read-only; their copies are ours to change.
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    return to.string();
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string runCommand(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

inline std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A value as text the readers' outputs can be compared with.
inline std::string plainText(const Value& v) {
  if (v.isNull()) return "";
  if (v.type() == DataType::Boolean) return v.asBool() ? "true" : "false";
  if (v.isIntegral()) return std::to_string(v.asInt());
  if (v.isText()) return v.asText();
  return "?";
}

inline std::string plainText(const nlohmann::json& v) {
  if (v.is_null()) return "";
  if (v.is_boolean()) return v.get<bool>() ? "true" : "false";
  if (v.is_number_integer()) return std::to_string(v.get<int64_t>());
  if (v.is_string()) return v.get<std::string>();
  return "?";
}

// The rows of a table by Quellmark, as text of the comparable columns
// (integers, text, Booleans), sorted.
inline std::vector<std::vector<std::string>> ourRows(const std::string& file, const std::string& table) {
  auto db = JetDatabase::open(file, "");
  auto t = db->openTable(table);
  std::vector<std::vector<std::string>> out;
  auto c = t->scan();
  while (c->next()) {
    std::vector<std::string> r;
    for (size_t i = 0; i < c->row().size(); ++i) {
      DataType ty = t->schema().columns[i].type;
      bool comparable = ty == DataType::Text || ty == DataType::Memo || ty == DataType::Long ||
                        ty == DataType::Integer || ty == DataType::Byte || ty == DataType::Boolean;
      r.push_back(comparable ? plainText(c->row()[i]) : "-");
    }
    out.push_back(std::move(r));
  }
  std::sort(out.begin(), out.end());
  return out;
}

inline bool readersAvailable() {
  return fs::exists(fs::path(QM_SOURCE_DIR) / "tests/readers/node_modules/mdb-reader") &&
         !runCommand("command -v node mdb-export mdb-count").empty();
}

// Both independent readers see exactly Quellmark's rows of `table`, and the
// counts they report equal the rows they scan.
inline void expectReadersAgree(const std::string& file, const std::string& table) {
  if (!readersAvailable()) {
    std::printf("independent readers not installed; skipped for %s\n", file.c_str());
    return;
  }
  SCOPED_TRACE(file + " " + table);
  auto ours = ourRows(file, table);
  // mdb-reader.
  std::string dump = runCommand("node " + shellQuote(std::string(QM_SOURCE_DIR) + "/tests/readers/dump.mjs") +
                                " " + shellQuote(file) + " 2>&1");
  bool found = false;
  size_t at = 0;
  while (at < dump.size()) {
    size_t end = dump.find('\n', at);
    if (end == std::string::npos) end = dump.size();
    auto j = nlohmann::json::parse(dump.substr(at, end - at), nullptr, false);
    at = end + 1;
    ASSERT_FALSE(j.is_discarded()) << "mdb-reader failed: " << dump.substr(0, 400);
    if (j["table"] != table) continue;
    found = true;
    EXPECT_EQ(j["rowCount"].get<size_t>(), j["rows"].size()) << "mdb-reader: count vs rows scanned";
    std::vector<std::vector<std::string>> theirs;
    for (const auto& row : j["rows"]) {
      std::vector<std::string> r;
      for (const auto& v : row) r.push_back(plainText(v));
      theirs.push_back(std::move(r));
    }
    // Columns Quellmark does not compare by text stay out on both sides.
    for (auto& r : theirs)
      for (size_t i = 0; i < r.size(); ++i)
        if (!ours.empty() && i < ours.front().size() && ours.front()[i] == "-") r[i] = "-";
    if (ours.empty())
      for (auto& r : theirs) r.assign(r.size(), "-");
    std::sort(theirs.begin(), theirs.end());
    if (!ours.empty()) {
      EXPECT_EQ(theirs, ours) << "mdb-reader rows differ";
    } else {
      EXPECT_TRUE(theirs.empty());
    }
  }
  EXPECT_TRUE(found) << "mdb-reader does not list " << table;
  // mdbtools: the scan (mdb-export) and the recorded count (mdb-count).
  std::string exported =
      runCommand("mdb-export " + shellQuote(file) + " " + shellQuote(table) +
                 " | python3 -c 'import csv,sys; print(sum(1 for _ in csv.reader(sys.stdin)) - 1)'");
  EXPECT_EQ(std::stoul(exported.empty() ? "0" : exported), ours.size()) << "mdb-export rows";
  std::string counted = runCommand("mdb-count " + shellQuote(file) + " " + shellQuote(table));
  EXPECT_EQ(std::stoul(counted.empty() ? "0" : counted), ours.size()) << "mdb-count";
}

// Which tables own which pages, walked from each table's definition: its
// definition chain, the pages its map lists and its index trees.
struct PageOwners {
  std::map<uint32_t, std::vector<std::string>> owners;
  std::vector<std::string> problems;
};

inline PageOwners pageOwners(JetDatabase& db) {
  PageOwners out;
  file::PageFile& f = db.pageFile();
  const format::Layout layout = format::Layout::forVersion(f.version());
  for (const auto& o : db.objects()) {
    if (o.kind != ObjectKind::Table && o.kind != ObjectKind::SystemTable && o.kind != ObjectKind::AccessTable)
      continue;
    auto t = std::dynamic_pointer_cast<JetTable>(db.openTable(o.name));
    if (!t) continue;
    const format::TableDefinition& def = t->definition();
    auto own = [&](uint32_t p) { out.owners[p].push_back(o.name); };
    for (uint32_t p = def.page, n = 0; p != 0 && n < 64; ++n) {
      own(p);
      p = file::getU32(f.read(p)->data() + layout.tdefNextPageOffset);
    }
    try {
      format::UsageMap used(f, layout, def.usedPagesPointer);
      while (auto p = used.next()) own(*p);
    } catch (const Error& e) {
      out.problems.push_back(o.name + ": " + e.what());
    }
    const auto indexLayout = f.isJet3() ? format::IndexPageLayout::jet3() : format::IndexPageLayout::jet4();
    for (const auto& phys : def.physicalIndexes) {
      std::vector<uint32_t> todo{phys.firstPage};
      while (!todo.empty()) {
        uint32_t p = todo.back();
        todo.pop_back();
        if (p == 0) continue;
        own(p);
        auto ip = format::decodeIndexPage(*f.read(p), indexLayout, p);
        if (ip.leaf) continue;
        for (const auto& e : ip.entries) todo.push_back(e.childPage);
        todo.push_back(ip.tailPage);
      }
    }
  }
  return out;
}

// No page is owned twice or lies past the end, and the file's map of free
// pages calls none of them free.
inline void expectPagesConsistent(const std::string& file) {
  auto db = JetDatabase::open(file, "");
  file::PageFile& f = db->pageFile();
  PageOwners o = pageOwners(*db);
  for (const auto& problem : o.problems) ADD_FAILURE() << file << ": " << problem;
  format::FreePageMap map(f, format::Layout::forVersion(f.version()));
  for (const auto& [page, owners] : o.owners) {
    EXPECT_LT(page, f.pageCount()) << file << ": " << owners.front() << " owns a page past the end";
    EXPECT_EQ(owners.size(), 1u) << file << ": page " << page << " owned by " << owners.front() << " and "
                                 << owners.back();
    EXPECT_FALSE(map.isFree(page)) << file << ": page " << page << " of " << owners.front()
                                   << " is marked free";
  }
}

// The index walker on every table of the file.
inline void expectIndexesValid(const std::string& file) {
  expectPagesConsistent(file);
  auto db = JetDatabase::open(file, "");
  for (const auto& o : db->objects()) {
    if (o.kind != ObjectKind::Table) continue;
    auto t = std::dynamic_pointer_cast<JetTable>(db->openTable(o.name));
    ASSERT_TRUE(t);
    IndexReport r = checkIndexes(*t);
    EXPECT_TRUE(r.ok()) << file << " " << o.name << ": " << (r.problems.empty() ? "" : r.problems.front());
  }
}

inline size_t utf8ToUtf16Size(const std::string& s) {
  return utf8ToUtf16(s).size();
}

inline std::vector<RowId> rowIds(Table& t) {
  std::vector<RowId> ids;
  auto c = t.scan();
  while (c->next()) ids.push_back(c->rowId());
  return ids;
}

}  // namespace jet::storage::testing
