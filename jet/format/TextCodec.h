// Text as Jet stores it. Jet 4 keeps UCS-2, optionally "compressed": a
// 0xFF 0xFE prefix, then runs of one-byte characters (high byte zero) and
// runs of two-byte characters, each 0x00 switching between the two. Jet 3
// keeps text in the database's ANSI code page.
//
// Decoding never fails: bytes with no meaning become U+FFFD.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jet::format {

std::string decodeUcs2Text(std::span<const uint8_t> bytes);
// UCS-2 little-endian; compressed when `compress` and every character fits in
// one byte (Jet stores the shorter form).
std::vector<uint8_t> encodeUcs2Text(std::string_view utf8, bool compress);

// Code pages with a full table: 1252 (Western), 936 (Simplified Chinese,
// GBK). Any other code page decodes its ASCII range and maps the rest as
// Windows-1252, which is what Jet 3 files written in Western locales use.
std::string decodeCodePageText(std::span<const uint8_t> bytes, uint16_t codePage);
// Characters the code page cannot hold become '?', as Windows does.
std::vector<uint8_t> encodeCodePageText(std::string_view utf8, uint16_t codePage);
// The first character of `utf8` the code page cannot hold, if any: writers
// refuse such a text instead of storing '?' in its place.
std::optional<char32_t> firstUnencodable(std::string_view utf8, uint16_t codePage);

bool codePageSupported(uint16_t codePage);

// One GBK double-byte character, or 0 when the pair is unassigned.
char32_t gbkToUnicode(uint8_t lead, uint8_t trail);

}  // namespace jet::format
