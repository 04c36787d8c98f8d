// Little-endian integer access to raw page bytes. Callers check bounds first;
// these helpers only assemble bytes, so they work on any host byte order.
#pragma once

#include <cstdint>
#include <cstring>

namespace jet::file {

inline uint16_t getU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t getU24(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16);
}
inline uint32_t getU32(const uint8_t* p) {
  return getU24(p) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t getU64(const uint8_t* p) {
  return static_cast<uint64_t>(getU32(p)) | (static_cast<uint64_t>(getU32(p + 4)) << 32);
}
inline double getF64(const uint8_t* p) {
  uint64_t bits = getU64(p);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
inline float getF32(const uint8_t* p) {
  uint32_t bits = getU32(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

inline void putU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void putU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void putU64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void putF64(uint8_t* p, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  putU64(p, bits);
}
inline void putF32(uint8_t* p, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  putU32(p, bits);
}

}  // namespace jet::file
