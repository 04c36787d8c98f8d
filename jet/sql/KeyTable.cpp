#include "jet/sql/KeyTable.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>

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

// Keys are stored with their length in front: 7 bits a byte, low bits first.
char* putLength(char* at, size_t n) {
  while (n >= 0x80) {
    *at++ = static_cast<char>((n & 0x7f) | 0x80);
    n >>= 7;
  }
  *at++ = static_cast<char>(n);
  return at;
}

std::string_view storedKey(const char* at) {
  size_t n = 0;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(*at++);
    n |= static_cast<size_t>(b & 0x7f) << shift;
    if (b < 0x80) break;
  }
  return {at, n};
}

}  // namespace

size_t KeyTable::probe(std::string_view key, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.key == nullptr || (slot.hash == hash && storedKey(slot.key) == key)) return i;
  }
}

void KeyTable::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstSlots : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.key == nullptr) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].key != nullptr) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

uint64_t KeyTable::hashOf(std::string_view key) {
  return hashBytes(key);
}

std::pair<size_t, bool> KeyTable::insert(std::string_view key, uint64_t fullHash) {
  // At most three quarters full, so probes stay short.
  if ((count_ + 1) * 4 > slots_.size() * 3) grow();
  const auto hash = static_cast<uint32_t>(fullHash);
  Slot& slot = slots_[probe(key, hash)];
  if (slot.key != nullptr) return {slot.number, false};
  if (count_ >= UINT32_MAX) throw std::length_error("too many distinct keys for one statement");
  char* at = bytes_.allocate(key.size() + 10);
  char* bytes = putLength(at, key.size());
  if (!key.empty()) std::memcpy(bytes, key.data(), key.size());
  bytes_.giveBack(static_cast<size_t>(at + key.size() + 10 - (bytes + key.size())));
  slot = {at, static_cast<uint32_t>(count_), hash};
  return {count_++, true};
}

size_t KeyTable::find(std::string_view key) const {
  if (count_ == 0) return npos;
  const Slot& slot = slots_[probe(key, static_cast<uint32_t>(hashBytes(key)))];
  return slot.key == nullptr ? npos : slot.number;
}

void KeyTable::clear() {
  bytes_.clear();
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

void NumberSet::finish() {
  if (pending_.empty()) return;
  // Whole numbers exactly representable as such, and their range.
  constexpr double kWholeLimit = 9007199254740992.0;  // 2^53
  bool whole = true;
  int64_t low = INT64_MAX, high = INT64_MIN;
  for (double d : pending_) {
    if (!(d == std::trunc(d) && std::fabs(d) < kWholeLimit)) {
      whole = false;
      break;
    }
    low = std::min(low, static_cast<int64_t>(d));
    high = std::max(high, static_cast<int64_t>(d));
  }
  const auto range = whole ? static_cast<uint64_t>(high - low) + 1 : 0;
  if (whole && range / 64 <= pending_.size() + 64) {
    isBitmap_ = true;
    low_ = low;
    bitmap_.assign(range / 64 + 1, 0);
    for (double d : pending_) {
      const auto bit = static_cast<uint64_t>(static_cast<int64_t>(d) - low);
      bitmap_[bit / 64] |= uint64_t{1} << (bit % 64);
    }
  } else {
    slots_.assign(std::bit_ceil(std::max<size_t>(kFirstSlots, pending_.size() * 2)), kFree);
    for (double d : pending_) insert(bitsOf(d));
  }
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
  bitmap_ = {};
  isBitmap_ = false;
  low_ = 0;
  slots_ = {};
  freeIsMember_ = false;
}

}  // namespace jet::sql
