// Lengths in front of variable-sized bytes, 7 bits a byte with the low bits
// first: one byte for anything shorter than 128. Used by keys and by the
// rows and key records a statement keeps or spills.
#pragma once

#include <cstddef>
#include <string>

namespace jet::sql {

// Writes at most 10 bytes at `at`; returns the first byte after them.
inline unsigned char* putLength(unsigned char* at, size_t n) {
  for (; n >= 0x80; n >>= 7) *at++ = static_cast<unsigned char>((n & 0x7f) | 0x80);
  *at++ = static_cast<unsigned char>(n);
  return at;
}

inline void appendLength(std::string& out, size_t n) {
  unsigned char bytes[10];
  out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(putLength(bytes, n) - bytes));
}

// Reads a length and moves `at` past it.
inline size_t takeLength(const unsigned char*& at) {
  size_t n = 0;
  for (int shift = 0;; shift += 7) {
    const unsigned char b = *at++;
    n |= static_cast<size_t>(b & 0x7f) << shift;
    if (b < 0x80) return n;
  }
}

}  // namespace jet::sql
