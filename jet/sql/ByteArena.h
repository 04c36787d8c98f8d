// Bytes that stay where they were put: large blocks, never moved or freed one
// by one, so a million small keys cost their own bytes and no allocation each.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace jet::sql {

class ByteArena {
 public:
  // A copy of `bytes` whose address stays valid until clear().
  const char* store(std::string_view bytes) {
    char* at = allocate(bytes.size());
    if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
    return at;
  }

  char* allocate(size_t n) {
    if (n > free_) {
      // Blocks grow with use, up to 1 MiB; a larger request gets a block of its own.
      size_t size =
          std::max(n, std::min<size_t>(kMaxBlock, kMinBlock << std::min<size_t>(blocks_.size(), 8)));
      blocks_.push_back(std::make_unique<char[]>(size));
      next_ = blocks_.back().get();
      free_ = size;
      reserved_ += size;
    }
    char* at = next_;
    next_ += n;
    free_ -= n;
    return at;
  }

  void clear() {
    blocks_.clear();
    next_ = nullptr;
    free_ = 0;
    reserved_ = 0;
  }

  size_t reservedBytes() const { return reserved_; }

 private:
  static constexpr size_t kMinBlock = 4096, kMaxBlock = size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  size_t free_ = 0;
  size_t reserved_ = 0;
};

}  // namespace jet::sql
