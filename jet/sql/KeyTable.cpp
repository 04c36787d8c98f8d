#include "jet/sql/KeyTable.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "jet/sql/VarLength.h"

namespace jet::sql {

namespace {

uint64_t hashBytes(std::string_view key) {
  return std::hash<std::string_view>{}(key);
}

// Spreads every input bit over the result (the finaliser of SplitMix64).
uint64_t mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ULL;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

constexpr size_t kFirstSlots = 16;

}  // namespace

namespace {

// Where a record starts: 40 bits of block number and offset.
constexpr int kWhereBits = 40;
constexpr int kOffsetBits = 20;  // blocks of 1 MiB; a larger key gets a block of its own
constexpr uint64_t kWhereMask = (uint64_t{1} << kWhereBits) - 1;

uint64_t tagOf(uint64_t hash) {
  return hash & ~kWhereMask;  // the top 24 bits; slots are placed by the low ones
}

}  // namespace

const unsigned char* KeyTable::recordAt(uint64_t slot) const {
  const uint64_t where = (slot & kWhereMask) - 1;
  return blocks_[where >> kOffsetBits].get() + (where & ((uint64_t{1} << kOffsetBits) - 1));
}

size_t KeyTable::probe(std::string_view key, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  const uint64_t tag = tagOf(hash);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const uint64_t slot = slots_[i];
    if (slot == 0) return i;
    if ((slot & ~kWhereMask) != tag) continue;
    const unsigned char* at = recordAt(slot) + sizeof(uint32_t);
    const size_t n = takeLength(at);
    if (n == key.size() && std::memcmp(at, key.data(), n) == 0) return i;
  }
}

void KeyTable::grow() {
  // The keys are read back block by block, in the order they were stored.
  slots_.assign(slots_.empty() ? kFirstSlots : slots_.size() * 2, 0);
  const size_t mask = slots_.size() - 1;
  for (size_t b = 0; b < blocks_.size(); ++b) {
    const unsigned char* base = blocks_[b].get();
    for (size_t pos = 0; pos < blockUsed_[b];) {
      const unsigned char* at = base + pos + sizeof(uint32_t);
      const size_t n = takeLength(at);
      const uint64_t hash = hashBytes({reinterpret_cast<const char*>(at), n});
      size_t i = hash & mask;
      while (slots_[i] != 0) i = (i + 1) & mask;
      slots_[i] = tagOf(hash) | ((static_cast<uint64_t>(b) << kOffsetBits | pos) + 1);
      pos = static_cast<size_t>(at + n - base);
    }
  }
}

uint64_t KeyTable::hashOf(std::string_view key) {
  return hashBytes(key);
}

std::pair<size_t, bool> KeyTable::insert(std::string_view key, uint64_t hash) {
  // At most three quarters full, so probes stay short.
  if ((count_ + 1) * 4 > slots_.size() * 3) grow();
  uint64_t& slot = slots_[probe(key, hash)];
  if (slot != 0) {
    uint32_t number;
    std::memcpy(&number, recordAt(slot), sizeof number);
    return {number, false};
  }
  if (count_ >= UINT32_MAX) throw std::length_error("too many distinct keys for one statement");
  const size_t most = sizeof(uint32_t) + 10 + key.size();  // the record's size at most
  if (blocks_.empty() || blockUsed_.back() + most > blockSize_.back()) {
    if (blocks_.size() >= (size_t{1} << (kWhereBits - kOffsetBits)) - 1)
      throw std::length_error("too many distinct keys for one statement");
    // Blocks grow from 4 KiB (a small set costs little) to 1 MiB; a larger
    // key gets a block of its own, where it starts at offset 0.
    const size_t size = std::max(most, std::min<size_t>(size_t{1} << kOffsetBits,
                                                        size_t{4096} << std::min<size_t>(blocks_.size(), 8)));
    blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(size));
    blockUsed_.push_back(0);
    blockSize_.push_back(static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX)));
    blockBytes_ += size;
  }
  const size_t b = blocks_.size() - 1;
  const size_t pos = blockUsed_[b];
  unsigned char* at = blocks_[b].get() + pos;
  const auto number = static_cast<uint32_t>(count_);
  std::memcpy(at, &number, sizeof number);
  unsigned char* bytes = putLength(at + sizeof number, key.size());
  if (!key.empty()) std::memcpy(bytes, key.data(), key.size());
  blockUsed_[b] = static_cast<uint32_t>(bytes + key.size() - blocks_[b].get());
  slot = tagOf(hash) | ((static_cast<uint64_t>(b) << kOffsetBits | pos) + 1);
  return {count_++, true};
}

size_t KeyTable::find(std::string_view key, uint64_t hash) const {
  if (count_ == 0) return npos;
  const uint64_t slot = slots_[probe(key, hash)];
  if (slot == 0) return npos;
  uint32_t number;
  std::memcpy(&number, recordAt(slot), sizeof number);
  return number;
}

void KeyTable::clear() {
  blocks_ = decltype(blocks_)();
  blockUsed_ = {};
  blockSize_ = {};
  blockBytes_ = 0;
  slots_ = {};
  count_ = 0;
}

uint64_t NumberSet::bitsOf(double d) {
  if (d == 0) d = 0;  // -0 joins 0
  return std::bit_cast<uint64_t>(d);
}

size_t NumberSet::probe(uint64_t bits) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = mix(bits) & mask;; i = (i + 1) & mask)
    if (slots_[i] == kFree || slots_[i] == bits) return i;
}

void NumberSet::insert(uint64_t bits) {
  if (bits == kFree)
    freeIsMember_ = true;
  else
    slots_[probe(bits)] = bits;
}

void NumberSet::add(double d) {
  if (allWhole_) {
    if (d >= INT32_MIN && d <= INT32_MAX && d == std::trunc(d)) {
      pendingWhole_.push_back(static_cast<int32_t>(d));
      return;
    }
    allWhole_ = false;
    pending_.assign(pendingWhole_.begin(), pendingWhole_.end());
    pendingWhole_ = {};
  }
  pending_.push_back(d);
}

void NumberSet::finish() {
  auto build = [this](const auto& numbers) {
    if (numbers.empty()) return;
    // Whole numbers exactly representable as such, and their range.
    constexpr double kWholeLimit = 9007199254740992.0;  // 2^53
    bool whole = true;
    int64_t low = INT64_MAX, high = INT64_MIN;
    for (double d : numbers) {
      if (!(d == std::trunc(d) && std::fabs(d) < kWholeLimit)) {
        whole = false;
        break;
      }
      low = std::min(low, static_cast<int64_t>(d));
      high = std::max(high, static_cast<int64_t>(d));
    }
    const auto range = whole ? static_cast<uint64_t>(high - low) + 1 : 0;
    if (whole && range / 64 <= numbers.size() + 64) {
      isBitmap_ = true;
      low_ = low;
      bitmap_.assign(range / 64 + 1, 0);
      for (double d : numbers) {
        const auto bit = static_cast<uint64_t>(static_cast<int64_t>(d) - low);
        bitmap_[bit / 64] |= uint64_t{1} << (bit % 64);
      }
    } else {
      slots_.assign(std::bit_ceil(std::max<size_t>(kFirstSlots, numbers.size() * 2)), kFree);
      for (double d : numbers) insert(bitsOf(d));
    }
  };
  if (allWhole_)
    build(pendingWhole_);
  else
    build(pending_);
  pendingWhole_ = {};
  pending_ = {};
}

bool NumberSet::contains(double d) const {
  if (isBitmap_) {
    if (!(d == std::trunc(d)) || d < static_cast<double>(low_)) return false;
    const double offset = d - static_cast<double>(low_);
    if (offset >= static_cast<double>(bitmap_.size() * 64)) return false;
    const auto bit = static_cast<uint64_t>(offset);
    return (bitmap_[bit / 64] >> (bit % 64)) & 1;
  }
  if (slots_.empty()) return false;
  const uint64_t bits = bitsOf(d);
  if (bits == kFree) return freeIsMember_;
  return slots_[probe(bits)] == bits;
}

void NumberSet::clear() {
  pending_ = {};
  pendingWhole_ = {};
  allWhole_ = true;
  bitmap_ = {};
  isBitmap_ = false;
  low_ = 0;
  slots_ = {};
  freeIsMember_ = false;
}

}  // namespace jet::sql
