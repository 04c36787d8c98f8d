// Hash sets of encoded keys (see appendKey) for grouping, DISTINCT and IN,
// built to hold millions of keys: each key's bytes once in large blocks with
// its number, and an open-addressed array of 8-byte slots. Keys are told
// apart by their whole bytes; the hash only finds where to look.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace jet::sql {

class KeyTable {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  // The key's number (0, 1, 2, ... in order of first insertion) and whether
  // this call added it.
  std::pair<size_t, bool> insert(std::string_view key) { return insert(key, hashOf(key)); }
  // The same with the key's hash from hashOf; with prefetch, callers that
  // have several keys at hand overlap the memory accesses of their probes.
  std::pair<size_t, bool> insert(std::string_view key, uint64_t hash);
  static uint64_t hashOf(std::string_view key);
  void prefetch(uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
  }
  // The key's number, or npos.
  size_t find(std::string_view key) const { return find(key, hashOf(key)); }
  size_t find(std::string_view key, uint64_t hash) const;
  // Bytes held, roughly.
  size_t memoryBytes() const { return blockBytes_ + slots_.size() * sizeof(uint64_t); }
  bool contains(std::string_view key) const { return find(key) != npos; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Frees everything, not just the contents.
  void clear();

 private:
  // A slot is where the key's record starts in the blocks (block number and
  // offset, plus one; 0 is a free slot) beside 24 more bits of the key's
  // hash, so most probes end without touching the key's bytes. A record is
  // the key's number (4 bytes), its length (7 bits a byte) and its bytes.
  size_t probe(std::string_view key, uint64_t hash) const;
  const unsigned char* recordAt(uint64_t slot) const;
  void grow();

  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  std::vector<uint32_t> blockUsed_;
  std::vector<uint32_t> blockSize_;
  size_t blockBytes_ = 0;
  std::vector<uint64_t> slots_;
  size_t count_ = 0;
};

// A set of numbers as IN compares them: by value whatever their type (5 and
// 5.0 are one), 0 and -0 alike. Numbers are gathered first; finish() then
// picks the form: a bitmap when they are whole numbers in a range not much
// wider than their count (the usual list of record IDs), else a hash set.
class NumberSet {
 public:
  void add(double d);
  void finish();
  bool contains(double d) const;
  void clear();

 private:
  static uint64_t bitsOf(double d);
  size_t probe(uint64_t bits) const;
  void insert(uint64_t bits);

  // Numbers gathered: as 32-bit integers while they all are (the usual IDs,
  // half the bytes), else as doubles.
  std::vector<int32_t> pendingWhole_;
  std::vector<double> pending_;
  bool allWhole_ = true;
  // Bitmap form: bit (n - low_) for each whole number n.
  std::vector<uint64_t> bitmap_;
  int64_t low_ = 0;
  bool isBitmap_ = false;
  // Hash form: open addressing; a slot holding kFree is free unless
  // freeIsMember_ says the set holds that very bit pattern.
  static constexpr uint64_t kFree = 0x7ff8dead0000beefULL;  // a NaN nobody computes
  std::vector<uint64_t> slots_;
  bool freeIsMember_ = false;
};

}  // namespace jet::sql
