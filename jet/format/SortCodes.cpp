#include "jet/format/SortCodes.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace jet::format {
namespace {

#include "jet/format/SortCodesData.inc"

// One unpacked character. The longest codes in the data are 8 inline and 3
// extra bytes.
struct Entry {
  uint8_t kind = static_cast<uint8_t>(CharKind::Unknown);
  uint8_t flag = 0;
  uint8_t inlineLength = 0;
  uint8_t secondLength = 0;
  std::array<uint8_t, 8> inlineBytes{};
  std::array<uint8_t, 4> secondBytes{};
};

constexpr size_t kCodeUnits = 0x10000;

// The stream opcodes written by tools/sortgen/sortgen.py:
//   00kkkccc            a full record of kind k and flag c (0, 1 -> 2, 2 -> 3),
//                       then inline length, inline bytes, second length, second bytes;
//   10nnnnnn            n+1 characters whose inline code is the previous one + 1;
//   11nnnnnn            n+1 characters equal to the previous one.
std::vector<Entry> unpack(const uint8_t* data, size_t size) {
  std::vector<Entry> out;
  out.reserve(kCodeUnits);
  size_t pos = 0;
  auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
  while (pos < size && out.size() < kCodeUnits) {
    uint8_t op = next();
    if ((op & 0xC0) == 0xC0 || (op & 0xC0) == 0x80) {
      bool increment = (op & 0xC0) == 0x80;
      int count = (op & 0x3F) + 1;
      for (int i = 0; i < count && !out.empty(); ++i) {
        Entry e = out.back();
        if (increment) {
          for (int b = e.inlineLength - 1; b >= 0; --b)
            if (++e.inlineBytes[b] != 0) break;
        }
        out.push_back(e);
      }
      continue;
    }
    Entry e;
    e.kind = static_cast<uint8_t>(op >> 3);
    uint8_t crazy = op & 0x07;
    e.flag = crazy == 0 ? 0 : static_cast<uint8_t>(crazy + 1);
    e.inlineLength = next();
    for (uint8_t i = 0; i < e.inlineLength && i < e.inlineBytes.size(); ++i) e.inlineBytes[i] = next();
    e.secondLength = next();
    for (uint8_t i = 0; i < e.secondLength && i < e.secondBytes.size(); ++i) e.secondBytes[i] = next();
    out.push_back(e);
  }
  out.resize(kCodeUnits);  // a short stream would leave the rest Unknown
  return out;
}

const std::vector<Entry>& table(SortOrder order) {
  // Each table is unpacked once, on first use, and never changes afterwards.
  switch (order) {
    case SortOrder::GeneralLegacy:
      break;
    case SortOrder::General: {
      static const std::vector<Entry> general = unpack(kGeneralCodes, sizeof kGeneralCodes);
      return general;
    }
    case SortOrder::General97: {
      static const std::vector<Entry> general97 = unpack(kGeneral97Codes, sizeof kGeneral97Codes);
      return general97;
    }
  }
  static const std::vector<Entry> legacy = unpack(kGeneralLegacyCodes, sizeof kGeneralLegacyCodes);
  return legacy;
}

}  // namespace

CharCode sortCode(SortOrder order, char16_t c) {
  const Entry& e = table(order)[static_cast<size_t>(c)];
  CharCode code;
  code.kind = static_cast<CharKind>(e.kind);
  code.inlineBytes = std::span<const uint8_t>(e.inlineBytes.data(), e.inlineLength);
  code.secondBytes = std::span<const uint8_t>(e.secondBytes.data(), e.secondLength);
  code.flag = e.flag;
  return code;
}

bool sortOrderFromId(uint16_t languageId, int8_t version, bool jet3, SortOrder& out) {
  // 0 stands for the default language, General (1033).
  if (languageId != 1033 && languageId != 0) return false;
  if (jet3) {
    out = SortOrder::General97;
    return true;
  }
  if (version == 0) {
    out = SortOrder::GeneralLegacy;
    return true;
  }
  if (version == 1) {
    out = SortOrder::General;
    return true;
  }
  return false;
}

}  // namespace jet::format
