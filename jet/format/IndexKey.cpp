#include "jet/format/IndexKey.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/core/Text.h"

namespace jet::format {
namespace {

// Every non-null column part starts with an entry flag; a Null is the flag alone.
constexpr uint8_t kAscStart = 0x7F;
constexpr uint8_t kAscNull = 0x00;
constexpr uint8_t kDescStart = 0x80;
constexpr uint8_t kDescNull = 0xFF;

// Markers of the text encoding of the General orders.
constexpr uint8_t kEndText = 0x01;
constexpr uint8_t kEndExtraText = 0x00;
constexpr uint8_t kExtraPlaceholder = 0x02;
constexpr uint8_t kUnprintableMidfix = 0x06;
constexpr int kUnprintableStart = 7;
constexpr int kUnprintableStep = 4;
constexpr int kUnprintableFlags = 0x8000;
constexpr uint8_t kFlagByteStart = 0x80;
constexpr uint8_t kFlagTrailing = 0x03;  // the flag value that is dropped at the end
constexpr std::array<uint8_t, 5> kFlagSuffix{0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr uint8_t kFlagUnprintableSuffix = 0xFF;

void flip(Bytes& b, size_t from) {
  for (size_t i = from; i < b.size(); ++i) b[i] = static_cast<uint8_t>(~b[i]);
}

void appendBigEndian(Bytes& out, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

char32_t codePointAt(std::u16string_view text, size_t i) {
  char16_t c = text[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  if (c >= 0xDC00 && c <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF)
    return 0x10000 + ((static_cast<char32_t>(text[i - 1]) - 0xD800) << 10) + (c - 0xDC00);
  return c;
}

std::u16string_view indexedPart(std::u16string_view text) {
  if (text.size() > kMaxIndexedTextUnits) text = text.substr(0, kMaxIndexedTextUnits);
  // Trailing spaces do not count in a text key.
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

CharCode knownCode(SortOrder order, std::u16string_view text, size_t i, const KeyOwner& owner) {
  CharCode code = sortCode(order, text[i]);
  if (code.kind == CharKind::Unknown)
    throw FormatError(ErrorCode::Unsupported,
                      msg::unknownSortCharacter(owner.table, owner.index, codePointAt(text, i)));
  return code;
}

// General and General (legacy): the inline codes, an end marker, then the
// optional sections for accents ("extra"), two-bit flags and unprintable
// characters, each introduced by further end markers.
void appendGeneralText(Bytes& out, std::u16string_view text, SortOrder order, bool ascending,
                       const KeyOwner& owner) {
  const size_t start = out.size();
  Bytes extra;
  bool haveExtra = false;
  size_t extraChars = 0;   // characters the extra section accounts for
  size_t extraPrefix = 0;  // a leading modifier byte that counts for no character
  Bytes unprintable;
  bool haveUnprintable = false;
  Bytes flags;
  size_t charOffset = 0;  // characters with an inline code so far

  for (size_t i = 0; i < text.size(); ++i) {
    CharCode code = knownCode(order, text, i, owner);
    const size_t here = charOffset;
    if (!code.inlineBytes.empty()) {
      out.insert(out.end(), code.inlineBytes.begin(), code.inlineBytes.end());
      ++charOffset;
    }
    if (code.kind == CharKind::Simple || code.kind == CharKind::Significant || code.kind == CharKind::Ignored)
      continue;

    std::span<const uint8_t> extraBytes;
    uint8_t modifier = 0;
    if (code.kind == CharKind::International || code.kind == CharKind::InternationalExt)
      extraBytes = code.secondBytes;
    else if (code.kind == CharKind::UnprintableExt && !code.secondBytes.empty())
      modifier = code.secondBytes[0];
    if (!extraBytes.empty() || modifier != 0) {
      haveExtra = true;
      if (extraChars < here) {
        extra.insert(extra.end(), here - extraChars, kExtraPlaceholder);
        extraChars = here;
      }
      if (!extraBytes.empty()) {
        extra.insert(extra.end(), extraBytes.begin(), extraBytes.end());
        ++extraChars;
      } else if (!extra.empty()) {
        extra.back() = static_cast<uint8_t>(extra.back() + modifier);
      } else {
        extra.push_back(modifier);
        extraPrefix = 1;
      }
    }

    if (code.kind == CharKind::Unprintable) {
      haveUnprintable = true;
      // The position counts the bytes of the extra section, even those that
      // the trimming below removes again.
      size_t position = here;
      if (haveExtra) position = extra.size() + (here - extraChars) - extraPrefix;
      int value = (kUnprintableStart + kUnprintableStep * static_cast<int>(position)) | kUnprintableFlags;
      unprintable.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
      unprintable.push_back(static_cast<uint8_t>(value & 0xFF));
      unprintable.push_back(kUnprintableMidfix);
      unprintable.insert(unprintable.end(), code.secondBytes.begin(), code.secondBytes.end());
    }
    if (code.flag != 0) flags.push_back(code.flag);
  }
  out.push_back(kEndText);

  // Placeholders (and zeros) at the end of the extra section say nothing.
  while (!extra.empty() && extra.back() <= kExtraPlaceholder) extra.pop_back();
  const bool haveFlags = !flags.empty();
  if (!extra.empty() || haveUnprintable || haveFlags) {
    out.insert(out.end(), extra.begin(), extra.end());
    if (haveFlags || haveUnprintable) {
      out.push_back(kEndText);
      out.push_back(kEndText);
      if (haveFlags) {
        while (!flags.empty() && flags.back() == kFlagTrailing) flags.pop_back();
        // Three two-bit flags per byte, under a common 0x80 prefix.
        uint8_t byte = kFlagByteStart;
        int used = 0;
        for (uint8_t f : flags) {
          byte = static_cast<uint8_t>(byte | (f << ((2 - used) * 2)));
          if (++used == 3) {
            out.push_back(byte);
            byte = kFlagByteStart;
            used = 0;
          }
        }
        if (used > 0) out.push_back(byte);
        out.insert(out.end(), kFlagSuffix.begin(), kFlagSuffix.end());
        if (haveUnprintable) out.push_back(kFlagUnprintableSuffix);
      }
      if (haveUnprintable) {
        out.push_back(kEndText);
        out.insert(out.end(), unprintable.begin(), unprintable.end());
      }
    }
  }
  if (!ascending) {
    // Descending keys invert everything including one end marker, and end in
    // an uninverted one.
    out.push_back(kEndExtraText);
    flip(out, start);
  }
  out.push_back(kEndExtraText);
}

// Access 97: inline codes, then accents as a nibble stream between two zero
// nibbles (one nibble of 2 for each significant character before an accented
// one), or a single zero byte when there are no accents.
void appendGeneral97Text(Bytes& out, std::u16string_view text, bool ascending, const KeyOwner& owner) {
  const size_t start = out.size();
  Bytes nibbles;  // one nibble per element
  bool haveExtra = false;
  size_t significant = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    CharCode code = knownCode(SortOrder::General97, text, i, owner);
    out.insert(out.end(), code.inlineBytes.begin(), code.inlineBytes.end());
    if (code.kind == CharKind::Simple) continue;
    if (code.kind == CharKind::Significant) {
      ++significant;
      continue;
    }
    if (code.kind == CharKind::International && !code.secondBytes.empty()) {
      if (!haveExtra) {
        nibbles.push_back(0);
        haveExtra = true;
      }
      nibbles.insert(nibbles.end(), significant, kExtraPlaceholder);
      significant = 0;
      nibbles.push_back(static_cast<uint8_t>(code.secondBytes[0] & 0x0F));
    }
  }
  if (haveExtra) {
    nibbles.push_back(0);
    for (size_t i = 0; i < nibbles.size(); i += 2) {
      uint8_t hi = nibbles[i];
      uint8_t lo = i + 1 < nibbles.size() ? nibbles[i + 1] : 0;
      out.push_back(static_cast<uint8_t>((hi << 4) | lo));
    }
  } else {
    out.push_back(kEndExtraText);
  }
  if (!ascending) flip(out, start);
}

int64_t integralOf(const Value& v, const std::string& where) {
  if (v.isIntegral()) return v.type() == DataType::Boolean ? (v.asBool() ? -1 : 0) : v.asInt();
  if (v.isNumeric()) return static_cast<int64_t>(std::llround(v.toDouble()));
  throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
}

double floatingOf(const Value& v, const std::string& where) {
  if (v.isNumeric()) return v.toDouble();
  throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
}

void appendSignedInteger(Bytes& out, int64_t v, int bytes, bool ascending) {
  const size_t at = out.size();
  appendBigEndian(out, static_cast<uint64_t>(v), bytes);
  out[at] ^= 0x80;  // the sign bit, so that negatives sort first
  if (!ascending) flip(out, at);
}

void appendFloating(Bytes& out, const Bytes& bigEndian, bool ascending) {
  const size_t at = out.size();
  out.insert(out.end(), bigEndian.begin(), bigEndian.end());
  bool negative = (out[at] & 0x80) != 0;
  if (!negative) out[at] ^= 0x80;
  if (negative == ascending) flip(out, at);
}

// Binary data in 8-byte segments, each followed by its length (9: more follows).
void appendSegmented(Bytes& out, std::span<const uint8_t> data, bool ascending) {
  size_t pos = 0;
  size_t left = data.size();
  while (left > 8) {
    const size_t at = out.size();
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
               data.begin() + static_cast<std::ptrdiff_t>(pos + 8));
    if (!ascending) flip(out, at);  // the continuation length stays as it is
    out.push_back(9);
    pos += 8;
    left -= 8;
  }
  if (left > 0) {
    const size_t at = out.size();
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos), data.end());
    out.insert(out.end(), 8 - left, 0);
    out.push_back(static_cast<uint8_t>(left));
    if (!ascending) flip(out, at);
  }
}

// Jet 4's (legacy) Decimal key: sign byte then the 16-byte unscaled value.
void appendDecimal(Bytes& out, const Value& v, uint8_t scale, bool ascending, const std::string& where) {
  if (v.type() != DataType::Decimal) throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
  Decimal d = v.asDecimal();
  unsigned __int128 m = d.magnitude;
  for (int s = d.scale; s < scale; ++s) m *= 10;
  for (int s = d.scale; s > scale; --s) m /= 10;
  const size_t at = out.size();
  bool negative = d.negative && m != 0;
  out.push_back(negative ? 0x80 : 0x00);
  for (int i = 15; i >= 0; --i) out.push_back(static_cast<uint8_t>(m >> (8 * i)));
  if (negative == ascending) flip(out, at);
  out[at] = negative ? 0x00 : 0xFF;
}

std::string describe(const KeyOwner& owner) {
  return owner.table + "." + owner.index;
}

}  // namespace

void appendTextKey(Bytes& key, std::u16string_view text, SortOrder order, bool ascending,
                   const KeyOwner& owner) {
  text = indexedPart(text);
  if (order == SortOrder::General97)
    appendGeneral97Text(key, text, ascending, owner);
  else
    appendGeneralText(key, text, order, ascending, owner);
}

void appendKeyColumn(Bytes& key, const KeyColumn& column, const Value& value, const KeyOwner& owner) {
  const bool asc = column.ascending;
  if (column.type == DataType::Boolean) {
    // Booleans have no Null in an index: Null counts as False.
    bool truth = !value.isNull() && integralOf(value, describe(owner)) != 0;
    key.push_back(asc ? kAscStart : kDescStart);
    key.push_back(truth == asc ? 0x00 : 0xFF);
    return;
  }
  if (value.isNull()) {
    key.push_back(asc ? kAscNull : kDescNull);
    return;
  }
  const std::string where = describe(owner);
  key.push_back(asc ? kAscStart : kDescStart);
  switch (column.type) {
    case DataType::Byte: {
      key.push_back(static_cast<uint8_t>(integralOf(value, where)));
      if (!asc) key.back() = static_cast<uint8_t>(~key.back());
      return;
    }
    case DataType::Integer:
      appendSignedInteger(key, integralOf(value, where), 2, asc);
      return;
    case DataType::Long:
      appendSignedInteger(key, integralOf(value, where), 4, asc);
      return;
    case DataType::Currency: {
      int64_t units = value.type() == DataType::Currency
                          ? value.asInt()
                          : static_cast<int64_t>(std::llround(floatingOf(value, where) * 10000.0));
      appendSignedInteger(key, units, 8, asc);
      return;
    }
    case DataType::Single: {
      float f = static_cast<float>(floatingOf(value, where));
      uint32_t bits;
      std::memcpy(&bits, &f, sizeof bits);
      Bytes be;
      appendBigEndian(be, bits, 4);
      appendFloating(key, be, asc);
      return;
    }
    case DataType::Double:
    case DataType::DateTime: {
      double d = floatingOf(value, where);
      uint64_t bits;
      std::memcpy(&bits, &d, sizeof bits);
      Bytes be;
      appendBigEndian(be, bits, 8);
      appendFloating(key, be, asc);
      return;
    }
    case DataType::Guid: {
      if (value.type() != DataType::Guid)
        throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
      // Keys hold the GUID in its text order; rows store the first three
      // groups little-endian.
      std::array<uint8_t, 16> b = value.asGuid().bytes;
      std::reverse(b.begin(), b.begin() + 4);
      std::reverse(b.begin() + 4, b.begin() + 6);
      std::reverse(b.begin() + 6, b.begin() + 8);
      appendSegmented(key, b, asc);
      return;
    }
    case DataType::Binary: {
      if (!value.isBinary()) throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
      appendSegmented(key, value.asBytes(), asc);
      return;
    }
    case DataType::Decimal:
      appendDecimal(key, value, column.scale, asc, where);
      return;
    case DataType::Text:
    case DataType::Memo: {
      if (!value.isText()) throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(where));
      appendTextKey(key, utf8ToUtf16(value.asText()), column.sortOrder, asc, owner);
      return;
    }
    default:
      break;
  }
  throw FormatError(ErrorCode::Unsupported,
                    msg::columnNotIndexable(owner.table, owner.index, dataTypeName(column.type)));
}

Bytes encodeKey(std::span<const KeyColumn> columns, std::span<const Value> values, const KeyOwner& owner) {
  if (columns.size() != values.size())
    throw FormatError(ErrorCode::Invalid, msg::typeMismatch(describe(owner)));
  Bytes key;
  for (size_t i = 0; i < columns.size(); ++i) appendKeyColumn(key, columns[i], values[i], owner);
  return truncateKey(std::move(key));
}

namespace {

// The digest step: the MSB-first CRC-16 step of polynomial 0x8005 with the
// register kept in its on-disk byte order.
std::array<uint16_t, 256> makeDigestTable() {
  std::array<uint16_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned reg = i << 8;
    for (int j = 0; j < 8; ++j) reg = ((reg << 1) & 0xFFFF) ^ ((reg & 0x8000) ? 0x8005u : 0u);
    t[i] = static_cast<uint16_t>(((reg & 0xFF) << 8) | (reg >> 8));
  }
  return t;
}

}  // namespace

Bytes truncateKey(Bytes key) {
  if (key.size() <= kMaxKeyLength) return key;
  static const std::array<uint16_t, 256> table = makeDigestTable();
  constexpr size_t kept = kMaxKeyLength - 2;
  unsigned digest = 0;
  // Every discarded byte but the very last feeds the digest.
  for (size_t i = kept; i + 1 < key.size(); ++i)
    digest = ((digest >> 8) ^ table[digest & 0xFF] ^ key[i]) & 0xFFFF;
  key.resize(kMaxKeyLength);
  key[kept] = static_cast<uint8_t>(digest >> 8);
  key[kept + 1] = static_cast<uint8_t>(digest & 0xFF);
  return key;
}

int compareKeys(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  size_t n = std::min(a.size(), b.size());
  int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace jet::format
