#include "Generator.h"

#include <algorithm>
#include <array>
#include <memory>

namespace mdbgen {

namespace {

using jet::DataType;
using jet::Value;

// SplitMix64: a tiny, well-mixed generator whose state is one integer, so that
// any row can be produced from its index alone.
uint64_t mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

struct Rng {
  uint64_t state;
  uint64_t next() { return state = mix(state); }
  uint64_t below(uint64_t n) { return next() % n; }
  double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
};

const std::array<const char*, 16> kGiven = {"Alice", "Bob",   "Carol", "Dave",    "Erin", "Frank",
                                            "Grace", "Heidi", "张伟",  "王芳",    "李娜", "刘洋",
                                            "陈静",  "杨帆",  "Zoë",   "Ångström"};
const std::array<const char*, 12> kCities = {"北京", "上海", "广州",  "深圳", "杭州",      "成都",
                                             "Wien", "Köln", "Paris", "Oslo", "São Paulo", "Zürich"};
// The same, spelled with what GBK holds.
const std::array<const char*, 16> kGivenGbk = {"Alice", "Bob",   "Carol", "Dave",    "Erin", "Frank",
                                               "Grace", "Heidi", "张伟",  "王芳",    "李娜", "刘洋",
                                               "陈静",  "杨帆",  "Zoe",   "Angstrom"};
const std::array<const char*, 12> kCitiesGbk = {"北京", "上海",  "广州",  "深圳", "杭州",      "成都",
                                                "Wien", "Koeln", "Paris", "Oslo", "Sao Paulo", "Zurich"};

// The earlier row that row `index` copies directly, if it copies one.
bool picksEarlier(const Options& o, uint64_t index, uint64_t& source) {
  if (index == 0) return false;
  Rng r{mix(o.seed * 0x100000001B3ull + index)};
  if (r.unit() >= o.duplicateShare) return false;
  source = r.below(index);
  return true;
}

// The original row of `index`'s group: copies of copies lead back to it, so a
// group shares one set of values.
uint64_t originOf(const Options& o, uint64_t index) {
  uint64_t source;
  while (picksEarlier(o, index, source)) index = source;
  return index;
}

jet::Row freshRow(const Options& o, uint64_t index) {
  Rng r{mix(o.seed ^ (index * 0xD6E8FEB86659FD93ull))};
  jet::Row row;
  const auto& given = o.gbkText ? kGivenGbk : kGiven;
  const auto& cities = o.gbkText ? kCitiesGbk : kCities;
  std::string name = std::string(given[r.below(given.size())]) + " " + std::to_string(index);
  row.push_back(Value::text(name));
  row.push_back(Value::text("1" + std::to_string(3000000000ull + r.below(999999999ull))));
  row.push_back(Value::text(cities[r.below(cities.size())]));
  row.push_back(Value::currency(static_cast<int64_t>(r.below(100000000)) - 20000000));
  row.push_back(r.below(20) == 0 ? Value() : Value::dbl(r.unit() * 1000.0 - 500.0));
  row.push_back(Value::dateTime(36000.0 + static_cast<double>(r.below(9000)) +
                                static_cast<double>(r.below(86400)) / 86400.0));
  row.push_back(Value::boolean(r.below(2) == 1));
  if (o.memos) {
    uint64_t kind = r.below(10);
    if (kind < 3) {
      row.push_back(Value());
    } else {
      std::string memo = "备注 " + name + ": ";
      // A few long memos so that long values spill onto pages of their own.
      size_t repeat = kind == 9 && o.longMemos ? 400 : 1 + r.below(8);
      for (size_t i = 0; i < repeat; ++i) memo += "重复记录清理测试 record " + std::to_string(i) + "; ";
      row.push_back(Value::memo(memo));
    }
  }
  return row;
}

}  // namespace

jet::storage::TableSchema schemaFor(const Options& o) {
  jet::storage::TableSchema s;
  s.name = o.table;
  if (!o.keyless) s.columns.push_back({.name = "ID", .type = DataType::Long, .size = 4, .autoNumber = true});
  s.columns.push_back({.name = "Name", .type = DataType::Text, .size = 60, .compressedUnicode = true});
  s.columns.push_back({.name = "Phone", .type = DataType::Text, .size = 20, .compressedUnicode = true});
  s.columns.push_back({.name = "City", .type = DataType::Text, .size = 30, .compressedUnicode = true});
  s.columns.push_back({.name = "Amount", .type = DataType::Currency, .size = 8});
  s.columns.push_back({.name = "Score", .type = DataType::Double, .size = 8});
  s.columns.push_back({.name = "Joined", .type = DataType::DateTime, .size = 8});
  s.columns.push_back({.name = "Active", .type = DataType::Boolean, .size = 1});
  if (o.memos) s.columns.push_back({.name = "Notes", .type = DataType::Memo, .compressedUnicode = true});
  if (!o.keyless)
    s.indexes.push_back({.name = "PrimaryKey", .columns = {{0, true}}, .primaryKey = true, .unique = true});
  if (o.keyIndexes) {
    int name = o.keyless ? 0 : 1;
    s.indexes.push_back({.name = "Name", .columns = {{name, true}}});
    s.indexes.push_back({.name = "Phone", .columns = {{name + 1, true}}});
  }
  return s;
}

jet::Row generatedRow(const Options& o, uint64_t index) {
  uint64_t source = originOf(o, index);
  if (source == index) return freshRow(o, index);
  jet::Row row = freshRow(o, source);
  if (!o.keyless) {
    // A keyed duplicate agrees on the key fields (Name, Phone) only.
    jet::Row own = freshRow(o, index);
    own[0] = row[0];
    own[1] = row[1];
    return own;
  }
  return row;
}

jet::storage::NewTable newTable(const Options& o) {
  auto index = std::make_shared<uint64_t>(0);
  return {schemaFor(o), [o, index](jet::Row& row) {
            if (*index >= o.rows) return false;
            row = generatedRow(o, (*index)++);
            if (!o.keyless) row.insert(row.begin(), Value());  // the ID numbers itself
            return true;
          }};
}

void generate(jet::storage::Store& store, const Options& o, const std::function<void(uint64_t)>& progress) {
  store.createTable(schemaFor(o));
  auto table = store.openTable(o.table);
  const uint64_t batch = 10000;
  for (uint64_t done = 0; done < o.rows;) {
    store.begin();
    try {
      uint64_t end = std::min(o.rows, done + batch);
      for (; done < end; ++done) {
        jet::Row row = generatedRow(o, done);
        if (!o.keyless) row.insert(row.begin(), Value());
        table->insert(row);
      }
      store.commit();
    } catch (...) {
      store.rollback();
      throw;
    }
    if (progress) progress(done);
  }
}

}  // namespace mdbgen
