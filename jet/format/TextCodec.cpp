#include "jet/format/TextCodec.h"

#include <algorithm>
#include <utility>

#include "jet/core/Text.h"

namespace jet::format {

namespace {

constexpr char32_t kReplacement = 0xfffd;

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 control
// of the same value, as Windows' own conversion does.
constexpr char16_t kCp1252High[32] = {0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
                                      0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
                                      0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
                                      0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

char32_t cp1252ToUnicode(uint8_t b) {
  if (b >= 0x80 && b < 0xa0) return kCp1252High[b - 0x80];
  return b;
}

int unicodeToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c) return 0x80 + i;
  }
  return -1;
}

// GBK by character, built once from the decoding table: a bulk write of
// Chinese text looks up every character.
const std::vector<std::pair<char32_t, uint16_t>>& gbkByCharacter() {
  static const std::vector<std::pair<char32_t, uint16_t>> table = [] {
    std::vector<std::pair<char32_t, uint16_t>> t;
    for (int lead = 0x81; lead <= 0xfe; ++lead) {
      for (int trail = 0x40; trail <= 0xfe; ++trail) {
        char32_t c = gbkToUnicode(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
        if (c != 0) t.emplace_back(c, static_cast<uint16_t>((lead << 8) | trail));
      }
    }
    // The first pair of a character wins, as a forward search would find it.
    std::stable_sort(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return t;
  }();
  return table;
}

// The bytes of one character in the code page (one or two), or 0 bytes when it has none.
size_t encodeCharacter(char32_t c, uint16_t codePage, uint8_t out[2]) {
  if (c < 0x80) {
    out[0] = static_cast<uint8_t>(c);
    return 1;
  }
  if (codePage == 936) {
    if (c == 0x20ac) {
      out[0] = 0x80;
      return 1;
    }
    const auto& table = gbkByCharacter();
    auto it =
        std::lower_bound(table.begin(), table.end(), c,
                         [](const std::pair<char32_t, uint16_t>& e, char32_t v) { return e.first < v; });
    if (it == table.end() || it->first != c) return 0;
    out[0] = static_cast<uint8_t>(it->second >> 8);
    out[1] = static_cast<uint8_t>(it->second & 0xff);
    return 2;
  }
  int b = unicodeToCp1252(c);
  if (b < 0) return 0;
  out[0] = static_cast<uint8_t>(b);
  return 1;
}

}  // namespace

std::string decodeUcs2Text(std::span<const uint8_t> bytes) {
  // UTF-16 straight to UTF-8; an unpaired surrogate becomes U+FFFD. Every
  // row of a scan decodes its texts here, so the bytes go through a pointer
  // into room made beforehand: no unit takes more than two bytes of UTF-8
  // per stored byte (a compressed Latin-1 letter: 1 -> 2; a UTF-16 unit:
  // 2 -> at most 3; a surrogate pair: 4 -> 4), and a lone high surrogate at
  // the end 2 -> 3.
  std::string out(bytes.size() * 2 + 4, '\0');
  char* p = out.data();
  auto put = [&p](char32_t c) {
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  char16_t high = 0;  // a high surrogate waiting for its pair
  auto emit = [&](char16_t u) {
    if (high != 0) {
      if (u >= 0xDC00 && u <= 0xDFFF) {
        put(0x10000 + ((char32_t{high} - 0xD800) << 10) + (u - 0xDC00));
        high = 0;
        return;
      }
      put(0xFFFD);
      high = 0;
    }
    if (u >= 0xD800 && u <= 0xDBFF)
      high = u;
    else
      put(u >= 0xDC00 && u <= 0xDFFF ? char32_t{0xFFFD} : char32_t{u});
  };
  // Most units are neither surrogates nor follow one; they skip `emit`.
  auto emitPlain = [&](char16_t u) {
    if (high == 0 && (u < 0xD800 || u > 0xDFFF))
      put(u);
    else
      emit(u);
  };
  const uint8_t* b = bytes.data();
  const size_t n = bytes.size();
  if (n >= 2 && b[0] == 0xff && b[1] == 0xfe) {
    // Compressed: runs of one byte a character, switched by zero bytes.
    size_t i = 2;
    while (i < n) {
      // A run of one-byte characters, up to the zero that ends it.
      if (b[i] != 0 && high != 0) {
        put(0xFFFD);
        high = 0;
      }
      for (; i < n && b[i] != 0; ++i) {
        if (b[i] < 0x80) {
          *p++ = static_cast<char>(b[i]);
        } else {
          *p++ = static_cast<char>(0xC0 | (b[i] >> 6));
          *p++ = static_cast<char>(0x80 | (b[i] & 0x3F));
        }
      }
      if (++i >= n) break;  // the zero switching to two bytes a character
      // A run of UTF-16 units, up to a zero byte where a unit would start.
      for (; i + 1 < n && b[i] != 0; i += 2) emitPlain(static_cast<char16_t>(b[i] | (b[i + 1] << 8)));
      if (i < n && b[i] != 0) break;  // a lone last byte
      ++i;                            // the zero switching back
    }
  } else {
    for (size_t i = 0; i + 1 < n; i += 2) emitPlain(static_cast<char16_t>(b[i] | (b[i + 1] << 8)));
  }
  if (high != 0) put(0xFFFD);
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

std::vector<uint8_t> encodeUcs2Text(std::string_view utf8, bool compress) {
  std::u16string units = utf8ToUtf16(utf8);
  std::vector<uint8_t> out;
  bool fitsOneByte = compress;
  for (char16_t u : units) {
    if (u == 0 || u > 0xff) fitsOneByte = false;
  }
  if (fitsOneByte) {
    out.reserve(units.size() + 2);
    out.push_back(0xff);
    out.push_back(0xfe);
    for (char16_t u : units) out.push_back(static_cast<uint8_t>(u));
    return out;
  }
  out.reserve(units.size() * 2);
  for (char16_t u : units) {
    out.push_back(static_cast<uint8_t>(u));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
  return out;
}

bool codePageSupported(uint16_t codePage) {
  return codePage == 1252 || codePage == 936;
}

std::string decodeCodePageText(std::span<const uint8_t> bytes, uint16_t codePage) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t b = bytes[i];
    if (codePage == 936 && b >= 0x81 && b <= 0xfe) {
      if (i + 1 < bytes.size()) {
        char32_t c = gbkToUnicode(b, bytes[i + 1]);
        appendUtf8(out, c ? c : kReplacement);
        ++i;
      } else {
        appendUtf8(out, kReplacement);
      }
    } else if (codePage == 936) {
      appendUtf8(out, b == 0x80 ? char32_t{0x20ac} : char32_t{b});
    } else {
      appendUtf8(out, cp1252ToUnicode(b));
    }
  }
  return out;
}

std::vector<uint8_t> encodeCodePageText(std::string_view utf8, uint16_t codePage) {
  std::vector<uint8_t> out;
  out.reserve(utf8.size());
  for (char32_t c : utf8ToUtf32(utf8)) {
    uint8_t bytes[2];
    size_t n = encodeCharacter(c, codePage, bytes);
    if (n == 0) out.push_back('?');
    out.insert(out.end(), bytes, bytes + n);
  }
  return out;
}

std::optional<char32_t> firstUnencodable(std::string_view utf8, uint16_t codePage) {
  for (char32_t c : utf8ToUtf32(utf8)) {
    uint8_t bytes[2];
    if (encodeCharacter(c, codePage, bytes) == 0) return c;
  }
  return std::nullopt;
}

}  // namespace jet::format
