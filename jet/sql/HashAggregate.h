// GROUP BY and aggregate functions. Input rows are hashed on their group key
// (Nulls form one group, text groups without regard to case, Memo values are
// compared whole); each group keeps one accumulator per aggregate. The output
// row is the group's key values followed by the aggregate results, groups in
// ascending key order as Jet returns them. Without GROUP BY there is exactly
// one group, even over no rows.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "jet/sql/Eval.h"
#include "jet/sql/Operator.h"

namespace jet::sql {

enum class AggKind { CountStar, Count, Sum, Avg, Min, Max, First, Last, StDev, StDevP, Var, VarP };

struct AggSpec {
  AggKind kind = AggKind::CountStar;
  BoundPtr arg;  // bound over input rows; null for Count(*)
  bool distinct = false;
  DataType type = DataType::Null;  // result type
  uint16_t size = 0;
  std::string text;
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

 private:
  struct Accumulator {
    int64_t count = 0;
    double sum = 0, sumSquares = 0;
    __int128 exactSum = 0;                                  // Currency units
    Value value;                                            // Min, Max, First, Last
    std::unique_ptr<std::unordered_set<std::string>> seen;  // Distinct
  };
  // The accumulators of one group, one per aggregate.
  void accumulate(Accumulator* accs, const EvalContext& ctx);
  Value result(const AggSpec& spec, const Accumulator& acc) const;

  OperatorPtr input_;
  std::vector<BoundPtr> keys_;
  std::vector<AggSpec> aggs_;
  std::vector<Row> groupKeys_;     // per group, in order of appearance
  std::vector<Accumulator> accs_;  // aggs_.size() per group
  std::vector<size_t> order_;      // the groups in output order
  size_t pos_ = 0;
  bool sorted_ = true;
};

}  // namespace jet::sql
