#include "jet/format/ValueCodec.h"

#include "jet/core/Error.h"
#include "jet/core/Messages.h"
#include "jet/file/LittleEndian.h"
#include "jet/format/TextCodec.h"

namespace jet::format {

namespace {

constexpr size_t kDecimalSize = 17;
constexpr uint8_t kDecimalNegative = 0x80;
constexpr uint8_t kJet3SystemBinary = 0x11;

std::string decodeText(std::span<const uint8_t> bytes, const TextRules& text) {
  return text.ucs2 ? decodeUcs2Text(bytes) : decodeCodePageText(bytes, text.codePage);
}

Decimal decodeDecimal(std::span<const uint8_t> b, const ColumnDefinition& c) {
  Decimal d;
  d.negative = (b[0] & kDecimalNegative) != 0;
  unsigned __int128 m = 0;
  for (int word = 0; word < 4; ++word) m = (m << 32) | file::getU32(b.data() + 1 + 4 * word);
  d.magnitude = m;
  d.precision = c.precision;
  d.scale = c.scale;
  return d;
}

[[noreturn]] void mismatch(const ColumnDefinition& c) {
  throw FormatError(ErrorCode::TypeMismatch, msg::typeMismatch(c.name));
}

}  // namespace

std::optional<DataType> dataTypeOf(uint8_t storedType) {
  // 0x11: a binary type of Jet 3's own system tables (MSysAccessObjects.Data).
  if (storedType == kJet3SystemBinary) return DataType::Binary;
  switch (storedType) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 15:
    case 16:
      return static_cast<DataType>(storedType);
    default:
      return std::nullopt;
  }
}

std::optional<Value> decodeValue(const ColumnDefinition& column, std::span<const uint8_t> b,
                                 const TextRules& text) {
  auto type = dataTypeOf(column.type);
  if (!type) return std::nullopt;
  if (column.type == kJet3SystemBinary) return Value::binary(Bytes(b.begin(), b.end()));
  auto need = [&](size_t n) { return b.size() >= n; };
  switch (*type) {
    case DataType::Byte:
      if (!need(1)) return std::nullopt;
      return Value::byte(b[0]);
    case DataType::Integer:
      if (!need(2)) return std::nullopt;
      return Value::integer(static_cast<int16_t>(file::getU16(b.data())));
    case DataType::Long:
      if (!need(4)) return std::nullopt;
      return Value::longInt(static_cast<int32_t>(file::getU32(b.data())));
    case DataType::Currency:
      if (!need(8)) return std::nullopt;
      return Value::currency(static_cast<int64_t>(file::getU64(b.data())));
    case DataType::Single:
      if (!need(4)) return std::nullopt;
      return Value::single(file::getF32(b.data()));
    case DataType::Double:
      if (!need(8)) return std::nullopt;
      return Value::dbl(file::getF64(b.data()));
    case DataType::DateTime:
      if (!need(8)) return std::nullopt;
      return Value::dateTime(file::getF64(b.data()));
    case DataType::Guid: {
      if (!need(16)) return std::nullopt;
      Guid g;
      std::copy(b.begin(), b.begin() + 16, g.bytes.begin());
      return Value::guid(g);
    }
    case DataType::Decimal:
      if (!need(kDecimalSize)) return std::nullopt;
      return Value::decimal(decodeDecimal(b, column));
    case DataType::Text:
      return Value::text(decodeText(b, text));
    case DataType::Binary:
      return Value::binary(Bytes(b.begin(), b.end()));
    case DataType::Memo:
      return Value::memo(decodeText(b, text));
    case DataType::LongBinary:
      return Value::longBinary(Bytes(b.begin(), b.end()));
    case DataType::Boolean:
    case DataType::Null:
      return std::nullopt;
  }
  return std::nullopt;
}

std::vector<uint8_t> encodeValue(const ColumnDefinition& column, const Value& v, const TextRules& text) {
  auto type = dataTypeOf(column.type);
  if (!type) mismatch(column);
  std::vector<uint8_t> out;
  auto fixed = [&](size_t n) { out.assign(n, 0); };
  switch (*type) {
    case DataType::Byte:
      if (!v.isIntegral()) mismatch(column);
      fixed(1);
      out[0] = static_cast<uint8_t>(v.asInt());
      break;
    case DataType::Integer:
      if (!v.isIntegral()) mismatch(column);
      fixed(2);
      file::putU16(out.data(), static_cast<uint16_t>(v.asInt()));
      break;
    case DataType::Long:
      if (!v.isIntegral()) mismatch(column);
      fixed(4);
      file::putU32(out.data(), static_cast<uint32_t>(v.asInt()));
      break;
    case DataType::Currency:
      if (v.type() != DataType::Currency) mismatch(column);
      fixed(8);
      file::putU64(out.data(), static_cast<uint64_t>(v.asInt()));
      break;
    case DataType::Single:
      if (!v.isNumeric()) mismatch(column);
      fixed(4);
      file::putF32(out.data(), static_cast<float>(v.toDouble()));
      break;
    case DataType::Double:
    case DataType::DateTime:
      if (!v.isNumeric()) mismatch(column);
      fixed(8);
      file::putF64(out.data(), v.toDouble());
      break;
    case DataType::Guid:
      if (v.type() != DataType::Guid) mismatch(column);
      out.assign(v.asGuid().bytes.begin(), v.asGuid().bytes.end());
      break;
    case DataType::Decimal: {
      if (v.type() != DataType::Decimal) mismatch(column);
      fixed(kDecimalSize);
      const Decimal& d = v.asDecimal();
      out[0] = d.negative ? kDecimalNegative : 0;
      for (int word = 0; word < 4; ++word) {
        file::putU32(out.data() + 1 + 4 * word, static_cast<uint32_t>(d.magnitude >> (32 * (3 - word))));
      }
      break;
    }
    case DataType::Text:
    case DataType::Memo:
      if (!v.isText()) mismatch(column);
      if (text.ucs2) {
        out = encodeUcs2Text(v.asText(), column.extFlags & kColumnCompressedUnicode);
        break;
      }
      // A '?' in place of a character the code page lacks would lose it silently.
      if (auto missing = firstUnencodable(v.asText(), text.codePage))
        throw FormatError(ErrorCode::Invalid, msg::textNotInCodePage(column.name, *missing, text.codePage));
      out = encodeCodePageText(v.asText(), text.codePage);
      break;
    case DataType::Binary:
    case DataType::LongBinary:
      if (!v.isBinary()) mismatch(column);
      out = v.asBytes();
      break;
    case DataType::Boolean:
    case DataType::Null:
      mismatch(column);
  }
  return out;
}

}  // namespace jet::format
