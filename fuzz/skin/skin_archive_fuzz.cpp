// The input is a packed skin archive, or (first byte odd) an unpacked one that
// is packed first so that the layout checks see arbitrary headers, directories
// and size tables. Loading either succeeds and every member can be read, or
// it returns false.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/archive/SkinRead.h"
#include "skin/archive/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  skin::TMemoryStream stream;
  if (data[0] & 1) {
    skin::TMemoryStream plain;
    plain.Assign(std::vector<uint8_t>(data + 1, data + size));
    skin::TLZH lzh;
    lzh.PackBlock(plain, stream);
  } else {
    stream.Assign(std::vector<uint8_t>(data, data + size));
  }
  skin::TSkinReader reader;
  if (!reader.Loadfromstream(stream)) return 0;
  if (reader.Num() > skin::MaxSkinMembers) std::abort();
  int64_t total = 0;
  skin::TMemoryStream member;
  for (int i = 0; i < reader.Num(); ++i) {
    reader.readfile(reader.Dir()[static_cast<size_t>(i)], member);
    total += reader.Size(i);
  }
  if (total > reader.Data().Size()) std::abort();
  std::string name;
  reader.readIni(".ini", member, name);
  return 0;
}
