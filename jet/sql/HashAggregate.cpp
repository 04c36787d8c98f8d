#include "jet/sql/HashAggregate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "jet/core/Cancel.h"
#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"
#include "jet/sql/PackedValues.h"
#include "jet/sql/SpillFile.h"
#include "jet/sql/ValueOps.h"
#include "jet/sql/VarLength.h"

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

namespace {

// The fields of one aggregate inside a group's record:
//   Count(*), Count           count (int64)
//   Min, Max, First, Last     a Slot: the value (Null type: none yet)
//   Sum, Avg, StDev, Var, ... count (int64), sum (double), sum of squares
//                             (double), exact sum of Currency units (int128)
// DISTINCT appends the number of the group's KeyTable in seen_, plus one
// (0: none yet); a crosstab cell then appends the count of its rows (int64).
// Records start zeroed, which is every field's empty state.
struct Slot {
  uint64_t payload;  // int64 or double bits, or an index into boxed_
  DataType type;
  bool boxed;
};
constexpr size_t kSlotWidth = 10;  // in a record: payload, type, boxed
constexpr size_t kSumsWidth = 8 + 8 + 8 + 16;

bool wholeNumberType(DataType type) {
  return type == DataType::Boolean || type == DataType::Byte || type == DataType::Integer ||
         type == DataType::Long;
}

// A whole number's value in a sum: Jet's True is -1.
int64_t wholeNumber(const Value& v) {
  return v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : v.asInt();
}

size_t baseWidth(AggKind kind) {
  switch (kind) {
    case AggKind::CountStar:
    case AggKind::Count:
      return sizeof(int64_t);
    case AggKind::Min:
    case AggKind::Max:
    case AggKind::First:
    case AggKind::Last:
      return kSlotWidth;
    default:
      return kSumsWidth;
  }
}

template <class T>
T load(const unsigned char* at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void store(unsigned char* at, const T& v) {
  std::memcpy(at, &v, sizeof v);
}

Slot loadSlot(const unsigned char* at) {
  Slot s;
  std::memcpy(&s.payload, at, 8);
  s.type = static_cast<DataType>(at[8]);
  s.boxed = at[9] != 0;
  return s;
}

void storeSlot(unsigned char* at, const Slot& s) {
  std::memcpy(at, &s.payload, 8);
  at[8] = static_cast<unsigned char>(s.type);
  at[9] = s.boxed ? 1 : 0;
}

// Values that fit a slot's 8 bytes: every number but Decimal.
bool inlineType(DataType t) {
  return isNumericType(t) && t != DataType::Decimal;
}

Value inlineValue(const Slot& s) {
  const auto i = static_cast<int64_t>(s.payload);
  const double d = std::bit_cast<double>(s.payload);
  switch (s.type) {
    case DataType::Boolean:
      return Value::boolean(i != 0);
    case DataType::Byte:
      return Value::byte(static_cast<uint8_t>(i));
    case DataType::Integer:
      return Value::integer(static_cast<int16_t>(i));
    case DataType::Long:
      return Value::longInt(static_cast<int32_t>(i));
    case DataType::Currency:
      return Value::currency(i);
    case DataType::Single:
      return Value::single(static_cast<float>(d));
    case DataType::Double:
      return Value::dbl(d);
    case DataType::DateTime:
      return Value::dateTime(d);
    default:
      return Value();
  }
}

}  // namespace

HashAggregate::HashAggregate(OperatorPtr input, std::vector<BoundPtr> keys, std::vector<AggSpec> aggs,
                             std::vector<ColumnInfo> columns)
    : input_(std::move(input)), keys_(std::move(keys)), aggs_(std::move(aggs)) {
  columns_ = std::move(columns);
  for (const AggSpec& spec : aggs_) {
    fieldAt_.push_back(recordWidth_);
    recordWidth_ += baseWidth(spec.kind) + (spec.distinct ? sizeof(uint64_t) : 0);
    rowsAt_.push_back(recordWidth_);
    if (spec.pivotColumn >= 0) recordWidth_ += sizeof(int64_t);
    // A sum of whole numbers is kept exactly, and so comes out the same in any
    // order of the rows (a grouped table beneath need not be sorted first).
    const bool whole = (spec.kind == AggKind::Sum || spec.kind == AggKind::Avg) && spec.arg &&
                       wholeNumberType(spec.arg->type);
    wholeSum_.push_back(whole);
    // First and Last follow the rows' order; so, in their last bits, do sums of doubles.
    orderFree_ = orderFree_ && (spec.kind == AggKind::CountStar || spec.kind == AggKind::Count ||
                                spec.kind == AggKind::Min || spec.kind == AggKind::Max || whole);
  }
}

void HashAggregate::accumulate(unsigned char* record, std::vector<Value>& args, int column) {
  auto slotValue = [this](const Slot& s) { return s.boxed ? boxed_[s.payload] : inlineValue(s); };
  auto put = [this](unsigned char* at, Value v) {
    Slot s = loadSlot(at);
    s.type = v.type();
    if (inlineType(v.type())) {
      s.payload = v.type() == DataType::Boolean ? uint64_t{v.asBool()}
                  : v.isIntegral()              ? static_cast<uint64_t>(v.asInt())
                                                : std::bit_cast<uint64_t>(v.asDouble());
      s.boxed = false;
    } else if (s.boxed) {
      boxed_[s.payload] = std::move(v);
    } else {
      s.payload = boxed_.size();
      s.boxed = true;
      boxed_.push_back(std::move(v));
    }
    storeSlot(at, s);
  };
  for (size_t i = 0; i < aggs_.size(); ++i) {
    const AggSpec& spec = aggs_[i];
    unsigned char* field = record + fieldAt_[i];
    if (spec.pivotColumn >= 0) {
      if (spec.pivotColumn != column) continue;
      unsigned char* rows = record + rowsAt_[i];
      store(rows, load<int64_t>(rows) + 1);
    }
    if (spec.kind == AggKind::CountStar) {
      store(field, load<int64_t>(field) + 1);
      continue;
    }
    Value& v = args[i];
    if (v.isNull()) continue;  // aggregates skip Nulls
    if (spec.distinct) {
      unsigned char* setField = field + baseWidth(spec.kind);
      auto set = load<uint64_t>(setField);
      if (set == 0) {
        seen_.push_back(std::make_unique<KeyTable>());
        set = seen_.size();
        store(setField, set);
      }
      if (!seen_[set - 1]->insert(keyOf(v)).second) continue;
    }
    switch (spec.kind) {
      case AggKind::Count:
        store(field, load<int64_t>(field) + 1);
        break;
      case AggKind::Min:
      case AggKind::Max: {
        const Slot s = loadSlot(field);
        if (s.type != DataType::Null) {
          const int c = sortCompare(v, slotValue(s));
          if (spec.kind == AggKind::Min ? c >= 0 : c <= 0) break;
        }
        put(field, std::move(v));
        break;
      }
      case AggKind::First:
      case AggKind::Last: {
        if (spec.kind == AggKind::First && loadSlot(field).type != DataType::Null) break;
        put(field, std::move(v));
        break;
      }
      default: {
        store(field, load<int64_t>(field) + 1);
        if (v.type() == DataType::Currency) {
          store(field + 24, load<__int128>(field + 24) + v.asInt());
        } else if (wholeSum_[i]) {
          if (wholeNumberType(v.type()))
            store(field + 24, load<__int128>(field + 24) + wholeNumber(v));
          else
            wholeSum_[i] = false;  // a value the argument's type did not promise: the sum of doubles stands
        }
        const double d = v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : toNumber(v, spec.text);
        store(field + 8, load<double>(field + 8) + d);
        store(field + 16, load<double>(field + 16) + d * d);
      }
    }
  }
}

Value HashAggregate::result(size_t agg, const unsigned char* record) const {
  const AggSpec& spec = aggs_[agg];
  const unsigned char* field = record + fieldAt_[agg];
  if (spec.pivotColumn >= 0 && load<int64_t>(record + rowsAt_[agg]) == 0) return Value();
  switch (spec.kind) {
    case AggKind::CountStar:
    case AggKind::Count:
      return Value::longInt(static_cast<int32_t>(load<int64_t>(field)));
    case AggKind::Min:
    case AggKind::Max:
    case AggKind::First:
    case AggKind::Last: {
      const Slot s = loadSlot(field);
      if (s.type == DataType::Null) return Value();
      return s.boxed ? boxed_[s.payload] : inlineValue(s);
    }
    default:
      break;
  }
  const auto count = load<int64_t>(field);
  const auto sum = load<double>(field + 8), sumSquares = load<double>(field + 16);
  const auto exactSum = load<__int128>(field + 24);
  switch (spec.kind) {
    case AggKind::Sum:
      if (count == 0) return Value();
      if (spec.type == DataType::Currency) {
        if (exactSum > INT64_MAX || exactSum < INT64_MIN)
          throw SqlError(ErrorCode::Overflow, msg::overflow(spec.text));
        return Value::currency(static_cast<int64_t>(exactSum));
      }
      if (wholeSum_[agg]) return Value::dbl(static_cast<double>(exactSum));
      return Value::dbl(sum);
    case AggKind::Avg:
      if (count == 0) return Value();
      if (spec.type == DataType::Currency)
        return convertTo(Value::dbl(static_cast<double>(exactSum) / 10000.0 / static_cast<double>(count)),
                         DataType::Currency, spec.text);
      if (wholeSum_[agg]) return Value::dbl(static_cast<double>(exactSum) / static_cast<double>(count));
      return Value::dbl(sum / static_cast<double>(count));
    default: {
      bool sample = spec.kind == AggKind::StDev || spec.kind == AggKind::Var;
      double n = static_cast<double>(count);
      if (count < (sample ? 2 : 1)) return Value();
      double mean = sum / n;
      double var = (sumSquares - n * mean * mean) / (sample ? n - 1 : n);
      if (var < 0) var = 0;
      bool dev = spec.kind == AggKind::StDev || spec.kind == AggKind::StDevP;
      return Value::dbl(dev ? std::sqrt(var) : var);
    }
  }
}

void HashAggregate::addRecord(size_t group) {
  // Zeroed: every field's empty state.
  if (group % kGroupsPerBlock == 0)
    records_.push_back(
        std::make_unique<unsigned char[]>(std::max<size_t>(recordWidth_, 1) * kGroupsPerBlock));
}

void HashAggregate::release() {
  records_ = decltype(records_)();
  boxed_ = {};
  seen_ = decltype(seen_)();
  keyBytes_.clear();
  packedKeys_ = {};
  keyRows_ = {};
  order_ = {};
  groups_ = 0;
  pos_ = 0;
}

size_t HashAggregate::memoryInUse(const KeyTable& index) const {
  return index.memoryBytes() + records_.size() * kGroupsPerBlock * recordWidth_ + keyBytes_.reservedBytes() +
         packedKeys_.capacity() * sizeof(const char*) + boxed_.size() * sizeof(Value);
}

void HashAggregate::newGroup(size_t group, const Row& keyValues) {
  addRecord(group);
  if (!keepAnyKey_) return;
  packed_.clear();
  for (size_t k = 0; k < keys_.size(); ++k)
    if (keepKey_[k]) packValue(packed_, keyValues[k]);
  packedKeys_.push_back(keyBytes_.store(packed_));
}

void HashAggregate::open(const EvalContext* outer) {
  release();
  spills_ = decltype(spills_)();
  keepKey_.assign(keys_.size(), true);
  if (!sorted_ && keysRead_.size() == keys_.size()) keepKey_ = keysRead_;
  keepAnyKey_ = std::find(keepKey_.begin(), keepKey_.end(), true) != keepKey_.end();
  // Groups handed out in any order may be made in several rounds: past the
  // memory budget, rows of groups not in memory go to temporary files.
  const bool maySpill = !sorted_ && !keys_.empty();

  // Groups are found by their encoded keys, which are dropped once every row
  // is in: the output needs only the kept key values and the records.
  KeyTable index;
  if (orderFree_) input_->allowAnyOrder();
  input_->open(outer);
  // Rows are taken a handful at a time: their keys are hashed first and the
  // slots they probe fetched ahead, so the probes do not wait on memory one
  // by one.
  constexpr size_t kBatch = 16;
  std::vector<Row> rows(kBatch);
  std::vector<std::string> keys(kBatch);
  std::vector<uint64_t> hashes(kBatch);
  std::vector<Row> keyValues(kBatch, Row(keys_.size()));
  std::vector<Value> args(aggs_.size());
  std::string spilled;
  bool spilling = false;
  for (bool more = true; more;) {
    size_t n = 0;
    while (n < kBatch && (more = input_->next(rows[n]))) {
      EvalContext ctx{&rows[n], outer};
      keys[n].clear();
      for (size_t k = 0; k < keys_.size(); ++k) {
        keyValues[n][k] = evaluate(*keys_[k], ctx);
        appendKey(keys[n], keyValues[n][k]);
      }
      hashes[n] = KeyTable::hashOf(keys[n]);
      index.prefetch(hashes[n]);
      ++n;
    }
    for (size_t i = 0; i < n; ++i) {
      EvalContext ctx{&rows[i], outer};
      const int column = pivot_ ? pivotColumns_.columnOf(evaluate(*pivot_, ctx)) : -1;
      for (size_t a = 0; a < aggs_.size(); ++a)
        args[a] =
            aggs_[a].kind == AggKind::CountStar || !takes(a, column) ? Value() : evaluate(*aggs_[a].arg, ctx);
      size_t group;
      if (spilling) {
        // A group is made in one round only: in memory if it was there when
        // spilling began, else from its file, so every group sees all its
        // rows in their order.
        group = index.find(keys[i], hashes[i]);
        if (group == KeyTable::npos) {
          spilled.clear();
          appendSpilled(spilled, keys[i], keyValues[i], args, column);
          spills_[hashes[i] >> 60]->append(spilled);
          continue;
        }
      } else {
        auto [number, inserted] = index.insert(keys[i], hashes[i]);
        group = number;
        if (inserted) {
          newGroup(group, keyValues[i]);
          if (maySpill && (group & 1023) == 0 && memoryInUse(index) > budget_) {
            spilling = true;
            for (size_t p = 0; p < kSpillFiles; ++p) spills_.push_back(std::make_unique<SpillFile>());
          }
        }
      }
      accumulate(record(group), args, column);
    }
  }
  groups_ = index.size();
  index.clear();
  finishRound();
}

void HashAggregate::finishRound() {
  if (keys_.empty() && groups_ == 0) {
    addRecord(0);
    groups_ = 1;
  }
  order_.resize(groups_);
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  if (!keys_.empty() && sorted_) {
    keyRows_.resize(groups_);
    for (size_t g = 0; g < groups_; ++g) {
      const char* at = packedKeys_[g];
      for (size_t k = 0; k < keys_.size(); ++k) keyRows_[g].push_back(unpackValue(at));
    }
    keyBytes_.clear();
    packedKeys_ = {};
    std::stable_sort(order_.begin(), order_.end(), [this](size_t a, size_t b) {
      const Row& x = keyRows_[a];
      const Row& y = keyRows_[b];
      for (size_t i = 0; i < x.size(); ++i) {
        int c = sortCompare(x[i], y[i]);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }
}

// A spilled row: its encoded key, its kept key values, its aggregates'
// arguments and in a crosstab its pivot column, each with its length in front.
void HashAggregate::appendSpilled(std::string& out, const std::string& key, const Row& keyValues,
                                  const std::vector<Value>& args, int column) {
  appendLength(out, key.size());
  out += key;
  packed_.clear();
  for (size_t k = 0; k < keys_.size(); ++k)
    if (keepKey_[k]) packValue(packed_, keyValues[k]);
  for (const Value& v : args) packValue(packed_, v);
  if (pivot_) packValue(packed_, Value::longInt(column));
  appendLength(out, packed_.size());
  out += packed_;
}

bool HashAggregate::nextRound() {
  while (!spills_.empty()) {
    std::unique_ptr<SpillFile> file = std::move(spills_.back());
    spills_.pop_back();
    if (file->empty()) continue;
    const std::string rows = file->takeAll();
    file.reset();
    release();
    KeyTable index;
    Row keyValues(keys_.size());
    std::vector<Value> args(aggs_.size());
    const auto* at = reinterpret_cast<const unsigned char*>(rows.data());
    const auto* end = at + rows.size();
    CancelPoint cancel;  // a spilled round re-reads rows no scan sees again
    while (at < end) {
      cancel.check();
      const size_t keyLength = takeLength(at);
      const std::string_view key(reinterpret_cast<const char*>(at), keyLength);
      at += keyLength;
      const size_t packedLength = takeLength(at);
      const char* values = reinterpret_cast<const char*>(at);
      at += packedLength;
      for (size_t k = 0; k < keys_.size(); ++k) keyValues[k] = keepKey_[k] ? unpackValue(values) : Value();
      for (Value& v : args) v = unpackValue(values);
      const int column = pivot_ ? static_cast<int>(unpackValue(values).asInt()) : -1;
      auto [group, inserted] = index.insert(key);
      if (inserted) newGroup(group, keyValues);
      accumulate(record(group), args, column);
    }
    groups_ = index.size();
    index.clear();
    finishRound();
    if (groups_ > 0) return true;
  }
  return false;
}

bool HashAggregate::next(Row& out) {
  while (pos_ >= order_.size()) {
    if (!nextRound()) {
      release();  // drained: give the memory back before the consumer goes on
      return false;
    }
  }
  const size_t g = order_[pos_++];
  out.clear();
  if (!keyRows_.empty()) {
    out = std::move(keyRows_[g]);
  } else {
    const char* at = packedKeys_.empty() ? nullptr : packedKeys_[g];
    for (size_t k = 0; k < keys_.size(); ++k) out.push_back(keepKey_[k] ? unpackValue(at) : Value());
  }
  const unsigned char* record = this->record(g);
  for (size_t i = 0; i < aggs_.size(); ++i) out.push_back(result(i, record));
  return true;
}

}  // namespace jet::sql
