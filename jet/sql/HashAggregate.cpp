#include "jet/sql/HashAggregate.h"

#include <algorithm>
#include <cmath>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/ValueOps.h"

namespace jet::sql {

bool aggregateKind(const std::string& name, AggKind& kind) {
  static const std::pair<const char*, AggKind> names[] = {
      {"count", AggKind::Count}, {"sum", AggKind::Sum},     {"avg", AggKind::Avg},
      {"min", AggKind::Min},     {"max", AggKind::Max},     {"first", AggKind::First},
      {"last", AggKind::Last},   {"stdev", AggKind::StDev}, {"stdevp", AggKind::StDevP},
      {"var", AggKind::Var},     {"varp", AggKind::VarP}};
  std::string f = foldCase(name);
  for (const auto& [n, k] : names)
    if (f == n) {
      kind = k;
      return true;
    }
  return false;
}

DataType aggregateType(AggKind kind, DataType argType) {
  switch (kind) {
    case AggKind::CountStar:
    case AggKind::Count:
      return DataType::Long;
    case AggKind::Sum:
      // Jet keeps Currency exact; every other number is summed as a Double.
      return argType == DataType::Currency ? DataType::Currency : DataType::Double;
    case AggKind::Avg:
      return argType == DataType::Currency ? DataType::Currency : DataType::Double;
    case AggKind::Min:
    case AggKind::Max:
    case AggKind::First:
    case AggKind::Last:
      return argType;
    default:
      return DataType::Double;
  }
}

HashAggregate::HashAggregate(OperatorPtr input, std::vector<BoundPtr> keys, std::vector<AggSpec> aggs,
                             std::vector<ColumnInfo> columns)
    : input_(std::move(input)), keys_(std::move(keys)), aggs_(std::move(aggs)) {
  columns_ = std::move(columns);
}

void HashAggregate::accumulate(Group& g, const EvalContext& ctx) {
  for (size_t i = 0; i < aggs_.size(); ++i) {
    const AggSpec& spec = aggs_[i];
    Accumulator& acc = g.accs[i];
    if (spec.kind == AggKind::CountStar) {
      ++acc.count;
      continue;
    }
    Value v = evaluate(*spec.arg, ctx);
    if (v.isNull()) continue;  // aggregates skip Nulls
    if (spec.distinct) {
      if (!acc.seen) acc.seen = std::make_unique<std::unordered_set<std::string>>();
      if (!acc.seen->insert(keyOf(v)).second) continue;
    }
    ++acc.count;
    switch (spec.kind) {
      case AggKind::Count:
        break;
      case AggKind::Min:
      case AggKind::Max: {
        if (acc.value.isNull()) {
          acc.value = v;
        } else {
          int c = sortCompare(v, acc.value);
          if ((spec.kind == AggKind::Min && c < 0) || (spec.kind == AggKind::Max && c > 0)) acc.value = v;
        }
        break;
      }
      case AggKind::First:
        if (acc.count == 1) acc.value = v;
        break;
      case AggKind::Last:
        acc.value = v;
        break;
      default: {
        if (v.type() == DataType::Currency) acc.exactSum += v.asInt();
        double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toNumber(v, spec.text);
        acc.sum += d;
        acc.sumSquares += d * d;
      }
    }
  }
}

Value HashAggregate::result(const AggSpec& spec, const Accumulator& acc) const {
  switch (spec.kind) {
    case AggKind::CountStar:
    case AggKind::Count:
      return Value::longInt(static_cast<int32_t>(acc.count));
    case AggKind::Min:
    case AggKind::Max:
    case AggKind::First:
    case AggKind::Last:
      return acc.value;
    case AggKind::Sum:
      if (acc.count == 0) return Value();
      if (spec.type == DataType::Currency) {
        if (acc.exactSum > INT64_MAX || acc.exactSum < INT64_MIN)
          throw SqlError(ErrorCode::Overflow, msg::overflow(spec.text));
        return Value::currency(static_cast<int64_t>(acc.exactSum));
      }
      return Value::dbl(acc.sum);
    case AggKind::Avg:
      if (acc.count == 0) return Value();
      if (spec.type == DataType::Currency)
        return convertTo(
            Value::dbl(static_cast<double>(acc.exactSum) / 10000.0 / static_cast<double>(acc.count)),
            DataType::Currency, spec.text);
      return Value::dbl(acc.sum / static_cast<double>(acc.count));
    default: {
      bool sample = spec.kind == AggKind::StDev || spec.kind == AggKind::Var;
      double n = static_cast<double>(acc.count);
      if (acc.count < (sample ? 2 : 1)) return Value();
      double mean = acc.sum / n;
      double var = (acc.sumSquares - n * mean * mean) / (sample ? n - 1 : n);
      if (var < 0) var = 0;
      bool dev = spec.kind == AggKind::StDev || spec.kind == AggKind::StDevP;
      return Value::dbl(dev ? std::sqrt(var) : var);
    }
  }
}

void HashAggregate::open(const EvalContext* outer) {
  groups_.clear();
  pos_ = 0;
  std::unordered_map<std::string, size_t> index;
  input_->open(outer);
  Row row;
  std::string key;
  while (input_->next(row)) {
    EvalContext ctx{&row, outer};
    key.clear();
    Row keyValues;
    keyValues.reserve(keys_.size());
    for (const BoundPtr& k : keys_) {
      keyValues.push_back(evaluate(*k, ctx));
      appendKey(key, keyValues.back());
    }
    auto [it, inserted] = index.try_emplace(key, groups_.size());
    if (inserted) {
      groups_.push_back(Group{std::move(keyValues), std::vector<Accumulator>(aggs_.size())});
    }
    accumulate(groups_[it->second], ctx);
  }
  if (keys_.empty() && groups_.empty())
    groups_.push_back(Group{Row(), std::vector<Accumulator>(aggs_.size())});
  if (!keys_.empty()) {
    std::stable_sort(groups_.begin(), groups_.end(), [](const Group& a, const Group& b) {
      for (size_t i = 0; i < a.keys.size(); ++i) {
        int c = sortCompare(a.keys[i], b.keys[i]);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }
}

bool HashAggregate::next(Row& out) {
  if (pos_ >= groups_.size()) return false;
  Group& g = groups_[pos_++];
  out = g.keys;
  for (size_t i = 0; i < aggs_.size(); ++i) out.push_back(result(aggs_[i], g.accs[i]));
  return true;
}

}  // namespace jet::sql
