// The input is a packed block: it must unpack to exactly its stated size or
// raise ElzhException. Small inputs are also packed and unpacked again, which
// must give them back unchanged. Stated sizes above 1 MiB that the stream
// could yield are skipped: they only slow the search down.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/archive/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  int64_t stated = 0;
  if (size >= 4)
    stated =
        static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24);
  bool slow = size >= 4 && stated > (1 << 20) &&
              stated <= static_cast<int64_t>(size - 4) * skin::TLZH::MaxBytesPerInputByte;
  if (!slow) {
    skin::TMemoryStream in, out;
    in.Assign(bytes);
    skin::TLZH lzh;
    try {
      lzh.UnpackBlock(in, out);
      if (out.Size() != (stated > 0 ? stated : 0)) std::abort();
    } catch (const skin::ElzhException&) {
    }
  }
  if (size <= 8192) {
    skin::TMemoryStream in, packed, out;
    in.Assign(bytes);
    skin::TLZH lzh;
    lzh.PackBlock(in, packed);
    lzh.UnpackBlock(packed, out);
    if (out.Bytes() != bytes) std::abort();
  }
  return 0;
}
