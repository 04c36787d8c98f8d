// GROUP BY and aggregate functions. Input rows are hashed on their group key
// (Nulls form one group, text groups without regard to case, Memo values are
// compared whole); each group keeps one accumulator per aggregate. The output
// row is the group's key values followed by the aggregate results, groups in
// ascending key order as Jet returns them. Without GROUP BY there is exactly
// one group, even over no rows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/sql/ByteArena.h"
#include "jet/sql/Eval.h"
#include "jet/sql/KeyTable.h"
#include "jet/sql/Operator.h"
#include "jet/sql/PivotColumns.h"
#include "jet/sql/SpillFile.h"

namespace jet::sql {

enum class AggKind { CountStar, Count, Sum, Avg, Min, Max, First, Last, StDev, StDevP, Var, VarP };

struct AggSpec {
  AggKind kind = AggKind::CountStar;
  BoundPtr arg;  // bound over input rows; null for Count(*)
  bool distinct = false;
  DataType type = DataType::Null;  // result type
  uint16_t size = 0;
  std::string text;
  // A crosstab cell: only rows whose pivot value falls in this column count,
  // and a group without such rows gives Null (Count too). -1: every row.
  int pivotColumn = -1;
};

// Parses an aggregate's name ("count", "Sum", ...); false if it is none.
bool aggregateKind(const std::string& name, AggKind& kind);
DataType aggregateType(AggKind kind, DataType argType);

class HashAggregate : public Operator {
 public:
  HashAggregate(OperatorPtr input, std::vector<BoundPtr> keys, std::vector<AggSpec> aggs,
                std::vector<ColumnInfo> columns);
  void open(const EvalContext* outer) override;
  bool next(Row& out) override;
  void allowAnyOrder() override { sorted_ = false; }
  // Which key columns the consumer reads. When the order of the groups does
  // not matter either, the others are not kept and come out Null.
  void setKeysRead(std::vector<bool> read) { keysRead_ = std::move(read); }
  // When the groups may come out in any order and their bookkeeping passes
  // this many bytes, rows of groups not yet in memory go to temporary files
  // by hash; those groups are made afterwards, one file at a time.
  void setMemoryBudget(size_t bytes) { budget_ = bytes; }
  // A crosstab: `pivot`, over input rows, picks the column each row adds
  // to, which only the aggregates of that column (and those of every row) see.
  void setPivot(BoundPtr pivot, PivotColumns columns) {
    pivot_ = std::move(pivot);
    pivotColumns_ = std::move(columns);
  }

 private:
  // A group's accumulators are one record of `recordWidth_` bytes; aggregate
  // i's fields start at `fieldAt_[i]`. See HashAggregate.cpp for the fields.
  // `args` holds each aggregate's argument (Null for Count(*)); `column` is
  // the row's pivot column (-1: none).
  void accumulate(unsigned char* record, std::vector<Value>& args, int column);
  // Whether aggregate `agg` takes rows of pivot column `column`.
  bool takes(size_t agg, int column) const {
    return aggs_[agg].pivotColumn < 0 || aggs_[agg].pivotColumn == column;
  }
  Value result(size_t agg, const unsigned char* record) const;
  void release();
  void newGroup(size_t group, const Row& keyValues);
  size_t memoryInUse(const KeyTable& index) const;
  void appendSpilled(std::string& out, const std::string& key, const Row& keyValues,
                     const std::vector<Value>& args, int column);
  // After the groups of a round are made: their output order.
  void finishRound();
  // Makes the groups of the next spilled file; false when none is left.
  bool nextRound();

  OperatorPtr input_;
  std::vector<BoundPtr> keys_;
  std::vector<AggSpec> aggs_;
  std::vector<bool> keysRead_;
  std::vector<size_t> fieldAt_;
  std::vector<size_t> rowsAt_;  // crosstab cells: where the count of the cell's rows is
  BoundPtr pivot_;
  PivotColumns pivotColumns_;
  size_t recordWidth_ = 0;
  bool sorted_ = true;
  bool orderFree_ = true;  // no aggregate depends on the order of the rows
  // Per aggregate: a Sum or Avg of whole numbers, kept exactly (so in any
  // order of the rows the same), until a value with a fraction turns up.
  std::vector<bool> wholeSum_;

  // recordWidth_ bytes per group, in blocks that never move: growing costs
  // no copy and no spare half.
  static constexpr size_t kGroupsPerBlock = 4096;
  unsigned char* record(size_t group) {
    return records_[group / kGroupsPerBlock].get() + group % kGroupsPerBlock * recordWidth_;
  }
  void addRecord(size_t group);
  std::vector<std::unique_ptr<unsigned char[]>> records_;
  std::vector<Value> boxed_;                     // Min/Max/First/Last values not kept inline
  std::vector<std::unique_ptr<KeyTable>> seen_;  // Distinct: the values seen, per group and aggregate
  ByteArena keyBytes_;                           // the groups' kept key values, packed
  std::vector<const char*> packedKeys_;          // per group
  std::vector<bool> keepKey_;
  std::vector<Row> keyRows_;   // sorted output: the key values unpacked
  std::vector<size_t> order_;  // the groups in output order
  size_t groups_ = 0;
  size_t pos_ = 0;
  bool keepAnyKey_ = false;
  std::string packed_;  // scratch
  static constexpr size_t kSpillFiles = 16;
  size_t budget_ = size_t{8} << 20;
  std::vector<std::unique_ptr<SpillFile>> spills_;
};

}  // namespace jet::sql
