#include "jet/storage/NewDatabase.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/file/Header.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/DataPage.h"
#include "jet/format/FreePageMap.h"
#include "jet/format/IndexKey.h"
#include "jet/format/IndexPage.h"
#include "jet/format/LongValue.h"
#include "jet/format/RowLayout.h"
#include "jet/format/TableDefinition.h"
#include "jet/format/TextCodec.h"
#include "jet/format/UsageMap.h"
#include "jet/storage/Catalog.h"
#include "jet/storage/DdlPlan.h"
#include "jet/storage/JetDatabase.h"

namespace jet::storage {

namespace {

using format::ColumnDefinition;
using format::IndexEntry;
using format::IndexPage;
using format::RowPointer;
using format::TableDefinition;

// Catalogue ids of the containers every Access database has.
constexpr int32_t kRootContainerId = 0x0f000000;
constexpr int32_t kTablesContainerId = 0x0f000001;
constexpr int32_t kDatabasesContainerId = 0x0f000002;
constexpr int32_t kRelationshipsContainerId = 0x0f000003;
constexpr int32_t kDatabaseObjectId = 0x10000000;
// Access's own containers take ids from the top bit on.
constexpr uint32_t kAccessContainerBase = 0x80000000u;
constexpr int16_t kObjectContainer = 3;
constexpr int16_t kObjectDatabase = 2;

// Owners: the engine's objects, and the ones Access (the admin user) made.
const Bytes kEngineOwner = {0xa7, 0x31};
const Bytes kAccessOwner = {0xa6, 0x33};

// Column flag Jet gives the columns of its own system tables.
constexpr uint8_t kSystemColumnFlag = 0x10;
// ... and, in Access's files, to the columns that hold a security id.
constexpr uint8_t kSidColumnFlag = 0x20;

// A long value up to this many bytes stays inside its row.
constexpr size_t kInlineLongValueLimit = 256;
// Bytes of one link of a long-value chain at most (the rest of its LVAL page holds the pointer and row
// table; an Access 97 page holds less).
constexpr size_t kChainChunk = 4000;
constexpr size_t kChainPointer = 4;
constexpr size_t kReferenceMapHeader = 4;
constexpr uint8_t kReferenceMapType = 1;
// What Access's files carry in the owner field of page 1.
constexpr uint32_t kFreeMapPageOwner = 1;

// What differs between the versions a new file is written in.
struct FileFormat {
  format::Layout layout;
  format::TextRules text;
  format::IndexPageLayout indexLayout;
  format::SortOrder sortOrder = format::SortOrder::GeneralLegacy;

  static FileFormat of(const NewDatabaseOptions& options) {
    FileFormat f;
    const bool jet3 = options.version == file::JetVersion::Jet3;
    f.layout = format::Layout::forVersion(options.version);
    f.text = format::TextRules{!jet3, jet3 ? options.codePage : uint16_t{1252}};
    f.indexLayout = jet3 ? format::IndexPageLayout::jet3() : format::IndexPageLayout::jet4();
    f.sortOrder = jet3 ? format::SortOrder::General97 : format::SortOrder::GeneralLegacy;
    return f;
  }
};

// Pages of the new file, handed out in order and written where they belong.
class PageSink {
 public:
  PageSink(const std::string& path, const FileFormat& format)
      : path_(path), format_(format), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw StorageError(ErrorCode::Io, msg::cannotCreateFile(path, "无法打开文件"));
  }
  const FileFormat& format() const { return format_; }
  uint32_t allocate() { return next_++; }
  uint32_t pageCount() const { return next_; }
  void write(uint32_t page, const file::PageBuffer& bytes) {
    out_.seekp(static_cast<std::streamoff>(page) * format_.layout.pageSize);
    out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out_) throw StorageError(ErrorCode::Io, msg::ioError(path_, "写入失败"));
  }
  void close() {
    out_.flush();
    out_.close();
    if (out_.fail()) throw StorageError(ErrorCode::Io, msg::ioError(path_, "写入失败"));
  }

 private:
  std::string path_;
  const FileFormat& format_;
  std::ofstream out_;
  uint32_t next_ = 0;
};

// Rows packed into data pages (or LVAL pages) in arrival order.
class RowPages {
 public:
  RowPages(PageSink& sink, uint32_t owner, bool longValue)
      : sink_(sink), owner_(owner), longValue_(longValue) {}

  const FileFormat& format() const { return sink_.format(); }
  size_t capacity() const { return layout().pageSize - layout().dataRowTableOffset - 2; }

  RowPointer add(std::vector<uint8_t> row) {
    if (current_ &&
        (rows_.size() >= 0xff ||
         layout().dataRowTableOffset + 2 * (rows_.size() + 1) + used_ + row.size() > layout().pageSize)) {
      flush();
    }
    if (!current_) current_ = sink_.allocate();
    used_ += row.size();
    rows_.push_back(std::move(row));
    return {*current_, static_cast<uint8_t>(rows_.size() - 1)};
  }
  void flush() {
    if (!current_) return;
    sink_.write(*current_, format::DataPage::build(layout(), owner_, rows_, longValue_));
    pages_.push_back(*current_);
    current_.reset();
    rows_.clear();
    used_ = 0;
  }
  const std::vector<uint32_t>& pages() const { return pages_; }

 private:
  const format::Layout& layout() const { return sink_.format().layout; }
  PageSink& sink_;
  uint32_t owner_;
  bool longValue_;
  std::optional<uint32_t> current_;
  std::vector<std::vector<uint8_t>> rows_;
  size_t used_ = 0;
  std::vector<uint32_t> pages_;
};

// One table on its way into the file.
struct TableBuild {
  std::string name;
  TableDefinition def;
  std::vector<IndexDef> indexes;  // for key encoding
  int32_t id = 0;
  std::vector<uint32_t> tdefPages;
  std::vector<uint32_t> ownedPages;
  std::vector<std::vector<IndexEntry>> entries;  // per physical index
  std::vector<std::vector<uint32_t>> indexPages;
  uint32_t rowCount = 0;
  int64_t largestAutoNumber = 0;
  // Catalogue facts.
  int32_t parentId = kTablesContainerId;
  uint32_t catalogFlags = 0;
  Bytes owner = kAccessOwner;
};

std::vector<uint32_t> reserveDefinitionPages(PageSink& sink, const TableDefinition& def) {
  const FileFormat& f = sink.format();
  size_t n = format::pagesNeeded(format::encodeTableDefinition(def, f.layout, f.text.codePage), f.layout);
  std::vector<uint32_t> pages;
  for (size_t i = 0; i < n; ++i) pages.push_back(sink.allocate());
  return pages;
}

// A long value's row field: inline when short, else on LVAL pages.
std::vector<uint8_t> storeLongValue(const std::vector<uint8_t>& bytes, RowPages& lval) {
  if (bytes.size() <= kInlineLongValueLimit) return format::encodeInlineLongValue(bytes);
  std::vector<uint8_t> field(format::kLongValueHeader, 0);
  if (bytes.size() <= lval.capacity()) {
    RowPointer at = lval.add(bytes);
    file::putU32(field.data(), static_cast<uint32_t>(bytes.size()) | format::kLongValueSinglePage);
    file::putU32(field.data() + 4, at.encode());
    return field;
  }
  // A chain: written last link first, so each link knows the one after it.
  uint32_t next = 0;
  const size_t chunk = std::min(kChainChunk, lval.capacity() - kChainPointer);
  size_t links = (bytes.size() + chunk - 1) / chunk;
  for (size_t i = links; i-- > 0;) {
    size_t from = i * chunk, take = std::min(chunk, bytes.size() - from);
    std::vector<uint8_t> row(kChainPointer + take);
    file::putU32(row.data(), next);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), take, row.begin() + kChainPointer);
    next = lval.add(std::move(row)).encode();
  }
  file::putU32(field.data(), static_cast<uint32_t>(bytes.size()));
  file::putU32(field.data() + 4, next);
  return field;
}

std::vector<uint8_t> encodeStoredRow(const TableBuild& t, const Row& row, RowPages& lval) {
  const TableDefinition& def = t.def;
  const format::TextRules& text = lval.format().text;
  std::vector<format::FieldBytes> fields(def.columns.size());
  for (size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDefinition& c = def.columns[i];
    const Value& v = i < row.size() ? row[i] : Value();
    if (c.type == static_cast<uint8_t>(DataType::Boolean)) {
      if (!v.isNull() && v.type() != DataType::Boolean)
        throw StorageError(ErrorCode::TypeMismatch, msg::typeMismatch(c.name));
      fields[i].present = !v.isNull() && v.asBool();
      continue;
    }
    if (v.isNull()) {
      if (!(c.flags & format::kColumnNullable))
        throw StorageError(ErrorCode::NullInRequired, msg::nullInRequired(t.name, c.name));
      continue;
    }
    fields[i].present = true;
    // Text holds at most its declared characters (Access 97: bytes of its
    // code page, which must have every character), Binary its declared bytes.
    const bool isText = c.type == static_cast<uint8_t>(DataType::Text);
    if (!text.ucs2 && v.isText() && (isText || c.type == static_cast<uint8_t>(DataType::Memo))) {
      if (auto missing = format::firstUnencodable(v.asText(), text.codePage))
        throw StorageError(ErrorCode::Invalid,
                           msg::textNotInCodePage(t.name + "." + c.name, *missing, text.codePage));
      if (isText && format::encodeCodePageText(v.asText(), text.codePage).size() > c.length)
        throw StorageError(ErrorCode::Invalid, msg::valueTooLong(t.name, c.name));
    } else if (isText && v.isText() && utf8ToUtf16(v.asText()).size() * 2 > c.length) {
      throw StorageError(ErrorCode::Invalid, msg::valueTooLong(t.name, c.name));
    }
    if (c.type == static_cast<uint8_t>(DataType::Binary) && v.isBinary() && v.asBytes().size() > c.length)
      throw StorageError(ErrorCode::Invalid, msg::valueTooLong(t.name, c.name));
    fields[i].bytes = format::encodeValue(c, v, text);
    if (c.type == static_cast<uint8_t>(DataType::Memo) ||
        c.type == static_cast<uint8_t>(DataType::LongBinary))
      fields[i].bytes = storeLongValue(fields[i].bytes, lval);
  }
  std::vector<uint8_t> bytes = format::encodeRow(def, lval.format().layout, fields);
  if (bytes.size() > lval.capacity()) throw StorageError(ErrorCode::Invalid, msg::rowTooLarge(bytes.size()));
  return bytes;
}

void collectKeys(TableBuild& t, const Row& row, RowPointer at, format::SortOrder sortOrder) {
  for (size_t p = 0; p < t.def.physicalIndexes.size(); ++p) {
    const format::PhysicalIndex& phys = t.def.physicalIndexes[p];
    std::vector<format::KeyColumn> columns;
    std::vector<Value> values;
    bool allNull = true;
    for (const auto& ic : phys.columns) {
      const ColumnDefinition& c = t.def.columns[ic.columnNumber];
      format::KeyColumn k;
      k.type = static_cast<DataType>(c.type);
      k.ascending = ic.ascending;
      k.sortOrder = sortOrder;
      k.scale = c.scale;
      columns.push_back(k);
      values.push_back(ic.columnNumber < row.size() ? row[ic.columnNumber] : Value());
      allNull = allNull && values.back().isNull();
    }
    if (allNull && (phys.flags & format::kIndexIgnoreNulls)) continue;
    std::string indexName = p < t.def.indexes.size() ? t.def.indexes[p].name : "";
    for (const auto& ix : t.def.indexes)
      if (ix.physical == p) indexName = ix.name;
    IndexEntry e;
    e.key = format::encodeKey(columns, values, format::KeyOwner{t.name, indexName});
    e.dataPage = at.page;
    e.dataRow = at.row;
    t.entries[p].push_back(std::move(e));
  }
}

// Refuses a duplicate in a unique index of the sorted entries.
void checkUnique(const TableBuild& t, size_t p) {
  const auto& phys = t.def.physicalIndexes[p];
  if (!(phys.flags & format::kIndexUnique)) return;
  const auto& es = t.entries[p];
  for (size_t i = 1; i < es.size(); ++i) {
    if (format::compareKeys(es[i - 1].key, es[i].key) == 0) {
      std::string name;
      for (const auto& ix : t.def.indexes)
        if (ix.physical == p) name = ix.name;
      throw StorageError(ErrorCode::DuplicateKey, msg::duplicateKey(t.name, name));
    }
  }
}

// The longest run of `items` from `from` that fits on one page with `make`.
template <typename Make>
size_t longestFit(size_t from, size_t count, const Make& make, const format::IndexPageLayout& layout) {
  size_t lo = 1, hi = count - from;
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    IndexPage p = make(from, mid);
    p.prefixLength = format::commonPrefixLength(p.entries);
    if (format::fitsOnPage(p, layout)) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

// Bulk-loads a B-tree from sorted entries, bottom up; returns the root page.
uint32_t writeIndexTree(PageSink& sink, uint32_t tdefPage, const std::vector<IndexEntry>& entries,
                        std::vector<uint32_t>& pagesOut) {
  const format::IndexPageLayout& layout = sink.format().indexLayout;
  struct Built {
    IndexPage page;
    uint32_t number = 0;
    IndexEntry greatest;
  };
  auto writeLevel = [&](std::vector<Built>& level) {
    for (auto& b : level) b.number = sink.allocate();
    for (size_t i = 0; i < level.size(); ++i) {
      level[i].page.prevPage = i ? level[i - 1].number : 0;
      level[i].page.nextPage = i + 1 < level.size() ? level[i + 1].number : 0;
      level[i].page.prefixLength = format::commonPrefixLength(level[i].page.entries);
      sink.write(level[i].number, format::encodeIndexPage(level[i].page, layout));
      pagesOut.push_back(level[i].number);
    }
  };

  std::vector<Built> level;
  if (entries.empty()) {
    Built b;
    b.page.tdefPage = tdefPage;
    level.push_back(std::move(b));
  }
  for (size_t at = 0; at < entries.size();) {
    auto make = [&](size_t from, size_t n) {
      IndexPage p;
      p.tdefPage = tdefPage;
      p.entries.assign(entries.begin() + static_cast<std::ptrdiff_t>(from),
                       entries.begin() + static_cast<std::ptrdiff_t>(from + n));
      return p;
    };
    size_t n = longestFit(at, entries.size(), make, layout);
    Built b;
    b.page = make(at, n);
    b.greatest = b.page.entries.back();
    level.push_back(std::move(b));
    at += n;
  }
  writeLevel(level);

  while (level.size() > 1) {
    std::vector<IndexEntry> childEntries;
    for (const auto& b : level) {
      IndexEntry e = b.greatest;
      e.childPage = b.number;
      childEntries.push_back(std::move(e));
    }
    std::vector<Built> parents;
    for (size_t at = 0; at < level.size();) {
      // A node holds entries for all its children but the last, which is its tail.
      auto make = [&](size_t from, size_t n) {
        IndexPage p;
        p.leaf = false;
        p.flags = 1;
        p.tdefPage = tdefPage;
        p.entries.assign(childEntries.begin() + static_cast<std::ptrdiff_t>(from),
                         childEntries.begin() + static_cast<std::ptrdiff_t>(from + n));
        return p;
      };
      size_t remaining = level.size() - at;
      size_t n = remaining == 1 ? 0 : std::min(longestFit(at, level.size() - 1, make, layout), remaining - 1);
      Built b;
      b.page = make(at, n);
      b.page.tailPage = level[at + n].number;
      b.greatest = level[at + n].greatest;
      parents.push_back(std::move(b));
      at += n + 1;
    }
    writeLevel(parents);
    level = std::move(parents);
  }
  return level.front().number;
}

// The row of a usage map of `pages`: inline when they fit one bitmap, else a
// reference map whose bitmap pages are written here.
std::vector<uint8_t> usageMapRow(PageSink& sink, std::vector<uint32_t> pages) {
  const format::Layout& layout = sink.format().layout;
  std::sort(pages.begin(), pages.end());
  uint32_t start = pages.empty() ? 0 : pages.front();
  if (pages.empty() || pages.back() - start < layout.inlineMapBytes * 8)
    return format::UsageMap::encodeInline(start, pages, layout.inlineMapBytes);
  const uint32_t perPage = (layout.pageSize - kReferenceMapHeader) * 8;
  std::vector<uint8_t> row(1 + 4 * (pages.back() / perPage + 1), 0);
  row[0] = kReferenceMapType;
  size_t i = 0;
  while (i < pages.size()) {
    uint32_t stretch = pages[i] / perPage;
    file::PageBuffer map(layout.pageSize, 0);
    map[0] = static_cast<uint8_t>(format::PageType::UsageMap);
    map[1] = 0x01;
    for (; i < pages.size() && pages[i] / perPage == stretch; ++i) {
      uint32_t bit = pages[i] - stretch * perPage;
      map[kReferenceMapHeader + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    uint32_t number = sink.allocate();
    sink.write(number, map);
    file::putU32(row.data() + 1 + 4 * stretch, number);
  }
  return row;
}

ColumnDef col(const char* name, DataType type, uint16_t size = 0) {
  ColumnDef c;
  c.name = name;
  c.type = type;
  c.size = size;
  return c;
}

IndexDef index(const char* name, std::vector<int> columns, bool primaryKey, bool unique, bool ignoreNulls,
               bool required) {
  IndexDef d;
  d.name = name;
  for (int c : columns) d.columns.push_back({c, true});
  d.primaryKey = primaryKey;
  d.unique = unique;
  d.ignoreNulls = ignoreNulls;
  d.required = required;
  return d;
}

// A system table as Jet lays it out: the planned definition with Jet's flag
// on every column and the index order of Access's files.
TableBuild systemTable(const TableSchema& schema, const format::Layout& layout,
                       uint8_t tableType = kSystemTableType) {
  TableBuild t;
  t.name = schema.name;
  t.def = planTableDefinition(schema, layout, tableType);
  for (auto& c : t.def.columns) c.flags |= kSystemColumnFlag;
  t.owner = kEngineOwner;
  t.catalogFlags = kSystemObject;
  return t;
}

std::vector<TableBuild> systemTables(const format::Layout& layout) {
  std::vector<TableBuild> out;
  TableSchema objects{
      kCatalogTable,
      {col("Id", DataType::Long), col("ParentId", DataType::Long), col("Name", DataType::Text, 255),
       col("Type", DataType::Integer), col("DateCreate", DataType::DateTime),
       col("DateUpdate", DataType::DateTime), col("Owner", DataType::Binary, 255),
       col("Flags", DataType::Long), col("Database", DataType::Memo), col("Connect", DataType::Memo),
       col("ForeignName", DataType::Text, 255), col("RmtInfoShort", DataType::Binary, 255),
       col("RmtInfoLong", DataType::LongBinary), col("Lv", DataType::LongBinary),
       col("LvProp", DataType::LongBinary), col("LvModule", DataType::LongBinary),
       col("LvExtra", DataType::LongBinary)},
      {index("ParentIdName", {1, 2}, false, true, false, false), index("Id", {0}, true, true, false, false)}};
  out.push_back(systemTable(objects, layout));
  out.back().def.columns[6].flags |= kSidColumnFlag;

  TableSchema aces{"MSysACEs",
                   {col("ObjectId", DataType::Long), col("SID", DataType::Binary, 255),
                    col("ACM", DataType::Long), col("FInheritable", DataType::Boolean)},
                   {index("ObjectId", {0}, false, false, false, true)}};
  out.push_back(systemTable(aces, layout));
  out.back().def.columns[1].flags |= kSidColumnFlag;

  TableSchema queries{
      "MSysQueries",
      {col("ObjectId", DataType::Long), col("Attribute", DataType::Byte), col("Order", DataType::Binary, 255),
       col("Name1", DataType::Text, 255), col("Name2", DataType::Text, 255),
       col("Expression", DataType::Memo), col("Flag", DataType::Integer), col("LvExtra", DataType::Long)},
      {index("ObjectIdAttribute", {0, 1, 2}, true, true, false, false)}};
  // Access 97's MSysQueries has no LvExtra.
  if (layout.jet3) queries.columns.pop_back();
  out.push_back(systemTable(queries, layout));

  TableSchema relationships{
      "MSysRelationships",
      {col("szRelationship", DataType::Text, 255), col("grbit", DataType::Long),
       col("ccolumn", DataType::Long), col("icolumn", DataType::Long), col("szObject", DataType::Text, 255),
       col("szColumn", DataType::Text, 255), col("szReferencedObject", DataType::Text, 255),
       col("szReferencedColumn", DataType::Text, 255)},
      {index("szRelationship", {0}, false, false, true, false),
       index("szObject", {4}, false, false, true, false),
       index("szReferencedObject", {6}, false, false, true, false)}};
  out.push_back(systemTable(relationships, layout));

  // Access's own table: Access, not Jet, made it.
  TableSchema access{"MSysAccessObjects",
                     {col("Data", DataType::Binary, 255), col("ID", DataType::Long)},
                     {index("AOIndex", {1}, true, true, false, false)}};
  TableBuild a = systemTable(access, layout, kUserTableType);
  for (auto& c : a.def.columns) c.flags &= static_cast<uint8_t>(~kSystemColumnFlag);
  a.owner = kAccessOwner;
  a.catalogFlags = kAccessSystemObject;
  out.push_back(std::move(a));
  return out;
}

Row catalogRow(int32_t id, int32_t parent, const std::string& name, int16_t type, double date,
               const Bytes& owner, uint32_t flags) {
  Row r(17);
  r[0] = Value::longInt(id);
  r[1] = Value::longInt(parent);
  r[2] = Value::text(name);
  r[3] = Value::integer(type);
  r[4] = Value::dateTime(date);
  r[5] = Value::dateTime(date);
  r[6] = Value::binary(owner);
  r[7] = Value::longInt(static_cast<int32_t>(flags));
  return r;
}

void writeRows(PageSink& sink, TableBuild& t, const std::function<bool(Row&)>& nextRow) {
  uint32_t owner = t.tdefPages.front();
  RowPages data(sink, owner, false), lval(sink, owner, true);
  t.entries.assign(t.def.physicalIndexes.size(), {});
  int autoColumn = -1;
  for (size_t i = 0; i < t.def.columns.size(); ++i)
    if (t.def.columns[i].flags & format::kColumnAutoLong) autoColumn = static_cast<int>(i);
  Row row;
  while (nextRow(row)) {
    if (row.size() != t.def.columns.size()) throw StorageError(ErrorCode::Invalid, msg::valueCountMismatch());
    if (autoColumn >= 0 && row[static_cast<size_t>(autoColumn)].isNull())
      row[static_cast<size_t>(autoColumn)] = Value::longInt(static_cast<int32_t>(t.largestAutoNumber + 1));
    RowPointer at = data.add(encodeStoredRow(t, row, lval));
    collectKeys(t, row, at, sink.format().sortOrder);
    if (autoColumn >= 0 && row[static_cast<size_t>(autoColumn)].isIntegral())
      t.largestAutoNumber = std::max(t.largestAutoNumber, row[static_cast<size_t>(autoColumn)].asInt());
    ++t.rowCount;
  }
  data.flush();
  lval.flush();
  // Readers walk the owned-pages map for rows; LVAL pages are reached through their rows only.
  t.ownedPages = data.pages();
}

void writeFile(const std::string& path, std::vector<NewTable>& sources, double created,
               const FileFormat& format) {
  const format::Layout& layout = format.layout;
  PageSink sink(path, format);
  uint32_t headerPage = sink.allocate();
  uint32_t freeMapPage = sink.allocate();  // page 1: the map of free pages, written last
  std::vector<TableBuild> tables = systemTables(layout);
  for (const auto& source : sources) {
    TableBuild t;
    t.name = source.schema.name;
    t.def = planTableDefinition(source.schema, layout);
    if (!format.text.ucs2) requireNamesInCodePage(source.schema, format.text.codePage);
    for (const auto& other : tables)
      if (equalsIgnoreCase(other.name, t.name))
        throw StorageError(ErrorCode::TableExists, msg::tableExists(t.name));
    tables.push_back(std::move(t));
  }
  // The catalogue's definition must be on page 2.
  for (auto& t : tables) {
    t.tdefPages = reserveDefinitionPages(sink, t.def);
    t.id = static_cast<int32_t>(t.tdefPages.front());
  }
  if (tables.front().id != static_cast<int32_t>(kCatalogPage))
    throw StorageError(ErrorCode::Invalid, msg::corruptCatalog(kCatalogTable));

  const size_t systemCount = tables.size() - sources.size();
  for (size_t i = 0; i < sources.size(); ++i) writeRows(sink, tables[systemCount + i], sources[i].nextRow);

  std::vector<Row> catalog;
  catalog.push_back(catalogRow(kTablesContainerId, kRootContainerId, "Tables", kObjectContainer, created,
                               kEngineOwner, kSystemObject));
  catalog.push_back(catalogRow(kDatabasesContainerId, kRootContainerId, "Databases", kObjectContainer,
                               created, kEngineOwner, kSystemObject));
  catalog.push_back(catalogRow(kRelationshipsContainerId, kRootContainerId, "Relationships", kObjectContainer,
                               created, kEngineOwner, kSystemObject));
  catalog.push_back(catalogRow(kDatabaseObjectId, kDatabasesContainerId, "MSysDb", kObjectDatabase, created,
                               kAccessOwner, kSystemObject));
  const char* accessContainers[] = {"DataAccessPages", "Forms", "Modules", "Reports", "Scripts", "SysRel"};
  for (uint32_t i = 0; i < std::size(accessContainers); ++i) {
    catalog.push_back(catalogRow(static_cast<int32_t>(kAccessContainerBase + i), kRootContainerId,
                                 accessContainers[i], kObjectContainer, created, kAccessOwner, 0));
  }
  for (const auto& t : tables)
    catalog.push_back(catalogRow(t.id, t.parentId, t.name, kObjectTable, created, t.owner, t.catalogFlags));
  for (size_t i = 0; i < systemCount; ++i) {
    std::vector<Row>* rows = i == 0 ? &catalog : nullptr;
    size_t at = 0;
    writeRows(sink, tables[i], [&](Row& r) {
      if (!rows || at >= rows->size()) return false;
      r = (*rows)[at++];
      return true;
    });
  }

  for (auto& t : tables) {
    t.indexPages.assign(t.def.physicalIndexes.size(), {});
    for (size_t p = 0; p < t.def.physicalIndexes.size(); ++p) {
      std::sort(t.entries[p].begin(), t.entries[p].end(),
                [](const IndexEntry& a, const IndexEntry& b) { return format::compareEntries(a, b) < 0; });
      checkUnique(t, p);
      t.def.physicalIndexes[p].firstPage =
          writeIndexTree(sink, t.tdefPages.front(), t.entries[p], t.indexPages[p]);
      t.entries[p].clear();
      t.entries[p].shrink_to_fit();
    }
  }

  // Usage maps: the pages each table owns, its free space (none recorded), and each index's pages.
  // Map rows fill pages of their own.
  std::vector<std::vector<uint8_t>> mapRows;
  struct MapSlot {
    size_t table;
    int which;  // -2 owned, -1 free, else physical index
  };
  std::vector<MapSlot> slots;
  for (size_t ti = 0; ti < tables.size(); ++ti) {
    auto& t = tables[ti];
    mapRows.push_back(usageMapRow(sink, t.ownedPages));
    slots.push_back({ti, -2});
    mapRows.push_back(usageMapRow(sink, {}));
    slots.push_back({ti, -1});
    for (size_t p = 0; p < t.indexPages.size(); ++p) {
      mapRows.push_back(usageMapRow(sink, t.indexPages[p]));
      slots.push_back({ti, static_cast<int>(p)});
    }
  }
  std::vector<std::vector<uint8_t>> pageRows;
  uint32_t mapPage = sink.allocate();
  auto flushMaps = [&]() {
    sink.write(mapPage, format::DataPage::build(layout, 0, pageRows));
    pageRows.clear();
  };
  size_t used = 0;
  for (size_t i = 0; i < mapRows.size(); ++i) {
    if (pageRows.size() >= 0xff ||
        layout.dataRowTableOffset + 2 * (pageRows.size() + 1) + used + mapRows[i].size() > layout.pageSize) {
      flushMaps();
      mapPage = sink.allocate();
      used = 0;
    }
    uint32_t pointer = RowPointer{mapPage, static_cast<uint8_t>(pageRows.size())}.encode();
    used += mapRows[i].size();
    pageRows.push_back(std::move(mapRows[i]));
    TableBuild& t = tables[slots[i].table];
    if (slots[i].which == -2) {
      t.def.usedPagesPointer = pointer;
    } else if (slots[i].which == -1) {
      t.def.freePagesPointer = pointer;
    } else {
      t.def.physicalIndexes[static_cast<size_t>(slots[i].which)].usedPagesPointer = pointer;
    }
  }
  flushMaps();

  for (auto& t : tables) {
    t.def.rowCount = t.rowCount;
    t.def.nextAutoNumber = static_cast<uint32_t>(t.largestAutoNumber + 1);
    auto pages = format::splitTableDefinition(
        format::encodeTableDefinition(t.def, layout, format.text.codePage), layout, t.tdefPages);
    for (size_t i = 0; i < pages.size(); ++i) sink.write(t.tdefPages[i], pages[i]);
  }
  // Row 0 of page 1 is the file's map of free pages (none yet); row 1 stays empty, as in Access's files.
  sink.write(freeMapPage,
             format::DataPage::build(layout, kFreeMapPageOwner,
                                     {format::FreePageMap::encodeNew(sink.pageCount(), layout.inlineMapBytes),
                                      format::UsageMap::encodeInline(0, {}, layout.inlineMapBytes)}));
  sink.write(headerPage, layout.jet3 ? file::encodeNewJet3Header(format.text.codePage)
                                     : file::encodeNewJet4Header(created));
  sink.close();
}

}  // namespace

double jetNow() {
  using namespace std::chrono;
  // 1970-01-01 is day 25569 of Jet's calendar.
  double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
  return 25569.0 + seconds / 86400.0;
}

void writeNewDatabase(const std::string& path, std::vector<NewTable> tables,
                      const NewDatabaseOptions& options) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) throw StorageError(ErrorCode::Io, msg::fileExists(path));
  try {
    if (options.version == file::JetVersion::Jet3 && !format::codePageSupported(options.codePage))
      throw StorageError(ErrorCode::Unsupported, msg::unsupportedCodePage(options.codePage));
    writeFile(path, tables, options.creationDate != 0 ? options.creationDate : jetNow(),
              FileFormat::of(options));
  } catch (...) {
    std::filesystem::remove(path, ec);
    throw;
  }
}

void writeNewDatabase(const std::string& path, Store* source, const NewDatabaseOptions& options) {
  std::vector<NewTable> tables;
  if (source) {
    for (const auto& o : source->objects()) {
      if (o.kind != ObjectKind::Table) continue;
      std::shared_ptr<Table> table = source->openTable(o.name);
      if (!table) continue;
      std::shared_ptr<RowCursor> cursor = table->scan();
      tables.push_back({table->schema(), [table, cursor](Row& r) {
                          if (!cursor->next()) return false;
                          r = cursor->row();
                          return true;
                        }});
    }
  }
  writeNewDatabase(path, std::move(tables), options);
}

std::unique_ptr<JetDatabase> JetDatabase::create(const std::string& path) {
  writeNewDatabase(path, std::vector<NewTable>{});
  return open(path, "", false);
}

}  // namespace jet::storage
