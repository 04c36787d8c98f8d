// Text helpers shared by every layer: UTF-8 <-> UTF-16 conversion and the
// case-insensitive comparison Jet uses for object names and text values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jet {

// Invalid UTF-8 bytes decode as U+FFFD; unpaired surrogates likewise.
std::u16string utf8ToUtf16(std::string_view s);
std::string utf16ToUtf8(std::u16string_view s);
std::u32string utf8ToUtf32(std::string_view s);
std::string utf32ToUtf8(std::u32string_view s);
void appendUtf8(std::string& out, char32_t c);

// Simple one-to-one case folding (ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic, full-width Latin). CJK has no case and folds to itself.
char32_t foldCase(char32_t c);
std::string foldCase(std::string_view utf8);
// Appends foldCase(utf8) to `out`.
void appendFoldedCase(std::string& out, std::string_view utf8);

// Case-insensitive equality and ordering, as Jet compares names.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
int compareIgnoreCase(std::string_view a, std::string_view b);

// Number of code points.
size_t utf8Length(std::string_view s);
// Number of UTF-16 code units: what Access counts in Len() and in a text
// field's size (a character outside the Basic Multilingual Plane is two).
size_t utf16Length(std::string_view utf8);

// At most `maxChars` characters of `text` from byte `pos` on, for quoting a
// statement near a fault: never starts or ends inside a character.
std::string utf8Snippet(std::string_view text, size_t pos, size_t maxChars);

}  // namespace jet
