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

void HashAggregate::accumulate(Accumulator* accs, const EvalContext& ctx) {
  for (size_t i = 0; i < aggs_.size(); ++i) {
    const AggSpec& spec = aggs_[i];
    Accumulator& acc = accs[i];
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
  groupKeys_.clear();
  accs_.clear();
  order_.clear();
  pos_ = 0;
  const size_t width = aggs_.size();
  // Groups live in two flat arrays (keys, accumulators), found through the
  // encoded key: one allocation per new group, none for a row that joins one.
  std::unordered_map<std::string, size_t> index;
  input_->open(outer);
  Row row;
  Row keyValues(keys_.size());
  std::string key;
  while (input_->next(row)) {
    EvalContext ctx{&row, outer};
    key.clear();
    for (size_t k = 0; k < keys_.size(); ++k) {
      keyValues[k] = evaluate(*keys_[k], ctx);
      appendKey(key, keyValues[k]);
    }
    auto [it, inserted] = index.try_emplace(key, groupKeys_.size());
    if (inserted) {
      groupKeys_.push_back(keyValues);
      accs_.resize(accs_.size() + width);
    }
    accumulate(accs_.data() + it->second * width, ctx);
  }
  index = {};
  if (keys_.empty() && groupKeys_.empty()) {
    groupKeys_.emplace_back();
    accs_.resize(width);
  }
  order_.resize(groupKeys_.size());
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  if (!keys_.empty() && sorted_) {
    std::stable_sort(order_.begin(), order_.end(), [this](size_t a, size_t b) {
      const Row& x = groupKeys_[a];
      const Row& y = groupKeys_[b];
      for (size_t i = 0; i < x.size(); ++i) {
        int c = sortCompare(x[i], y[i]);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }
}

bool HashAggregate::next(Row& out) {
  if (pos_ >= order_.size()) return false;
  const size_t g = order_[pos_++];
  out = groupKeys_[g];
  const Accumulator* accs = accs_.data() + g * aggs_.size();
  for (size_t i = 0; i < aggs_.size(); ++i) out.push_back(result(aggs_[i], accs[i]));
  return true;
}

}  // namespace jet::sql
