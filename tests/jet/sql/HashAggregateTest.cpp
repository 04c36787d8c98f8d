// Grouping that runs out of its memory budget: groups not in memory when the
// budget is passed are made afterwards from temporary files, and every group
// comes out exactly as if all had fitted.
#include "jet/sql/HashAggregate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "jet/sql/Binder.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {
namespace {

class RowsInput : public Operator {
 public:
  RowsInput(std::vector<ColumnInfo> columns, const std::vector<Row>& rows) : rows_(rows) {
    columns_ = std::move(columns);
  }
  void open(const EvalContext*) override { at_ = 0; }
  bool next(Row& out) override {
    if (at_ >= rows_.size()) return false;
    out = rows_[at_++];
    return true;
  }

 private:
  const std::vector<Row>& rows_;
  size_t at_ = 0;
};

// Groups on K (text, Nulls among them) and N Mod 7 with every kind of
// accumulator; `budget` bytes before spilling, none for no limit.
std::vector<Row> grouped(const std::vector<Row>& rows, size_t budget, bool anyOrder) {
  const std::vector<ColumnInfo> columns = {
      {"t", "K", DataType::Text, 20}, {"t", "N", DataType::Long, 4}, {"t", "M", DataType::Currency, 8}};
  auto input = std::make_unique<RowsInput>(columns, rows);
  std::vector<BoundPtr> keys;
  keys.push_back(Binder::columnRef(0, 0, columns[0]));
  keys.push_back(Binder::columnRef(0, 1, columns[1]));
  std::vector<AggSpec> aggs;
  auto agg = [&](AggKind kind, int column, bool distinct = false) {
    AggSpec spec;
    spec.kind = kind;
    if (column >= 0) spec.arg = Binder::columnRef(0, column, columns[static_cast<size_t>(column)]);
    spec.distinct = distinct;
    spec.type = aggregateType(kind, column >= 0 ? columns[static_cast<size_t>(column)].type : DataType::Long);
    aggs.push_back(std::move(spec));
  };
  agg(AggKind::CountStar, -1);
  agg(AggKind::Min, 1);
  agg(AggKind::Max, 0);
  agg(AggKind::First, 2);
  agg(AggKind::Last, 1);
  agg(AggKind::Sum, 2);
  agg(AggKind::Count, 2, true);
  std::vector<ColumnInfo> out(columns.begin(), columns.begin() + 2);
  for (size_t i = 0; i < aggs.size(); ++i) out.push_back({"", "a" + std::to_string(i), aggs[i].type, 0});
  HashAggregate aggregate(std::move(input), std::move(keys), std::move(aggs), out);
  if (budget) aggregate.setMemoryBudget(budget);
  if (anyOrder) aggregate.allowAnyOrder();
  std::vector<Row> result;
  aggregate.open(nullptr);
  for (Row r; aggregate.next(r);) result.push_back(r);
  aggregate.open(nullptr);  // a second run gives the same groups
  size_t again = 0;
  for (Row r; aggregate.next(r);) ++again;
  EXPECT_EQ(again, result.size());
  return result;
}

std::vector<Row> inKeyOrder(std::vector<Row> rows) {
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    for (size_t i = 0; i < 2; ++i)
      if (int c = sortCompare(a[i], b[i])) return c < 0;
    return false;
  });
  return rows;
}

size_t temporaryFiles() {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
    n += entry.path().filename().string().rfind("quellmark-", 0) == 0;
  return n;
}

TEST(HashAggregateSpill, GroupsMadeFromTemporaryFilesEqualGroupsMadeInMemory) {
  const size_t filesBefore = temporaryFiles();
  std::vector<Row> rows;
  for (int i = 0; i < 40000; ++i) {
    const int k = (i * 7919) % 9000;  // many keys, most seen several times, in scattered order
    Value key = k % 97 == 0 ? Value() : Value::text((k % 2 ? "Key" : "kEY") + std::to_string(k / 2));
    rows.push_back({key, Value::longInt(i % 7), Value::currency(static_cast<int64_t>(i % 13) * 2500)});
  }
  const std::vector<Row> inMemory = grouped(rows, 0, false);  // key order, never spills
  ASSERT_GT(inMemory.size(), 5000u);
  for (size_t i = 1; i < inMemory.size(); ++i) ASSERT_LE(sortCompare(inMemory[i - 1][0], inMemory[i][0]), 0);
  for (size_t budget : {size_t{1}, size_t{64} << 10, size_t{1} << 20}) {
    SCOPED_TRACE(budget);
    const std::vector<Row> spilled = inKeyOrder(grouped(rows, budget, true));
    ASSERT_EQ(spilled.size(), inMemory.size());
    for (size_t g = 0; g < spilled.size(); ++g) ASSERT_EQ(spilled[g], inMemory[g]) << "group " << g;
  }
  EXPECT_EQ(temporaryFiles(), filesBefore);  // none left behind
}

// Crosstab cells grouped on K: per pivot column of N (0 to 4; rows of 5 and
// 6 fall in none) Sum(M) and Count(*), after a Count(*) of every row.
std::vector<Row> crosstab(const std::vector<Row>& rows, size_t budget, bool anyOrder) {
  const std::vector<ColumnInfo> columns = {
      {"t", "K", DataType::Text, 20}, {"t", "N", DataType::Long, 4}, {"t", "M", DataType::Currency, 8}};
  std::vector<BoundPtr> keys;
  keys.push_back(Binder::columnRef(0, 0, columns[0]));
  std::vector<AggSpec> aggs(1);
  PivotColumns pivotColumns;
  for (int column = 0; column < 5; ++column) {
    pivotColumns.add(Value::longInt(column));
    AggSpec sum;
    sum.kind = AggKind::Sum;
    sum.arg = Binder::columnRef(0, 2, columns[2]);
    sum.type = DataType::Currency;
    sum.pivotColumn = column;
    aggs.push_back(std::move(sum));
    AggSpec count;
    count.pivotColumn = column;
    aggs.push_back(std::move(count));
  }
  std::vector<ColumnInfo> out(columns.begin(), columns.begin() + 1);
  for (size_t i = 0; i < aggs.size(); ++i) out.push_back({"", "a" + std::to_string(i), aggs[i].type, 0});
  HashAggregate aggregate(std::make_unique<RowsInput>(columns, rows), std::move(keys), std::move(aggs), out);
  aggregate.setPivot(Binder::columnRef(0, 1, columns[1]), std::move(pivotColumns));
  if (budget) aggregate.setMemoryBudget(budget);
  if (anyOrder) aggregate.allowAnyOrder();
  std::vector<Row> result;
  aggregate.open(nullptr);
  for (Row r; aggregate.next(r);) result.push_back(r);
  return result;
}

TEST(HashAggregateSpill, CrosstabCellsFromTemporaryFilesEqualCellsMadeInMemory) {
  std::vector<Row> rows;
  for (int i = 0; i < 15000; ++i) {
    const int k = (i * 7919) % 3000;
    rows.push_back({Value::text("k" + std::to_string(k)), Value::longInt((i / 3) % 7),
                    Value::currency(static_cast<int64_t>(i % 13) * 2500)});
  }
  const std::vector<Row> inMemory = crosstab(rows, 0, false);
  ASSERT_EQ(inMemory.size(), 3000u);
  // One group worked out by hand: every cell from its own rows, Null without any.
  const Row& first = inMemory[0];
  Row expected{first[0], Value::longInt(0)};
  for (int column = 0; column < 5; ++column) {
    int64_t units = 0;
    int32_t count = 0;
    for (const Row& r : rows) {
      if (!(r[0] == first[0])) continue;
      if (column == 0) expected[1] = Value::longInt(static_cast<int32_t>(expected[1].asInt() + 1));
      if (r[1].asInt() != column) continue;
      units += r[2].asInt();
      ++count;
    }
    expected.push_back(count ? Value::currency(units) : Value());
    expected.push_back(count ? Value::longInt(count) : Value());
  }
  EXPECT_EQ(first, expected);
  size_t nullCells = 0;
  for (const Row& r : inMemory) nullCells += static_cast<size_t>(std::count(r.begin(), r.end(), Value()));
  EXPECT_GT(nullCells, 500u);
  const std::vector<Row> spilled = inKeyOrder(crosstab(rows, 1, true));
  ASSERT_EQ(spilled.size(), inMemory.size());
  for (size_t g = 0; g < spilled.size(); ++g) ASSERT_EQ(spilled[g], inMemory[g]) << "group " << g;
}

TEST(HashAggregateSpill, OrderedOutputNeverSpills) {
  std::vector<Row> rows;
  for (int i = 0; i < 5000; ++i)
    rows.push_back({Value::text("k" + std::to_string(i % 3000)), Value::longInt(0), Value::currency(i)});
  const std::vector<Row> ordered = grouped(rows, 1, false);
  ASSERT_EQ(ordered.size(), 3000u);
  for (size_t i = 1; i < ordered.size(); ++i) ASSERT_LT(sortCompare(ordered[i - 1][0], ordered[i][0]), 0);
}

}  // namespace
}  // namespace jet::sql
