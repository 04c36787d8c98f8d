// Reading the system tables' cells defensively: a damaged catalogue may hold
// a value of another type than the column normally has.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "jet/core/Value.h"

namespace jet::storage {

// The integer in a Byte, Integer, Long or Currency cell; nothing otherwise.
inline std::optional<int64_t> integerOf(const Value& v) {
  switch (v.type()) {
    case DataType::Byte:
    case DataType::Integer:
    case DataType::Long:
    case DataType::Currency:
      return v.asInt();
    default:
      return std::nullopt;
  }
}

inline int64_t integerOr(const Value& v, int64_t fallback) {
  return integerOf(v).value_or(fallback);
}

// Text of a Text or Memo cell without the C terminator some system rows keep.
inline std::optional<std::string> textOf(const Value& v) {
  if (!v.isText()) return std::nullopt;
  std::string s = v.asText();
  while (!s.empty() && s.back() == '\0') s.pop_back();
  return s;
}

}  // namespace jet::storage
