// Byte-vector wrappers around the packed-block framing, for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/archive/Streams.h"
#include "skin/archive/WinConvert.h"

namespace skin::test {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

inline Bytes PackBytes(const Bytes& plain) {
  TMemoryStream in, out;
  in.Assign(plain);
  TLZH lzh;
  lzh.PackBlock(in, out);
  return out.Bytes();
}

inline Bytes UnpackBytes(const Bytes& packed) {
  TMemoryStream in, out;
  in.Assign(packed);
  TLZH lzh;
  lzh.UnpackBlock(in, out);
  return out.Bytes();
}

}  // namespace skin::test
