// Jet's text sort orders: for every UTF-16 code unit, the codes an index key
// is built from. The facts are a generated table (SortCodesData.inc, made by
// tools/sortgen from the Jackcess data files); IndexKey turns them into keys.
#pragma once

#include <cstdint>
#include <span>

namespace jet::format {

// The sort orders whose codes we know. The header of a Jet 4 file and each
// text column name theirs; Access 2000-2007 write General (legacy).
enum class SortOrder : uint8_t {
  GeneralLegacy,  // "General", Access 2000-2007 (Jet 4, version 0)
  General,        // "General", Access 2010 and later (version 1)
  General97,      // Access 97 (Jet 3)
};

// How a character contributes to a key.
enum class CharKind : uint8_t {
  Simple,            // inline code only
  International,     // inline code plus an extra (accent) code
  Unprintable,       // no inline code; an entry in the unprintable section
  UnprintableExt,    // modifies the previous extra code
  InternationalExt,  // inline code, optional extra code and a two-bit flag
  Significant,       // Access 97: inline code that counts for extra-code positions
  Ignored,           // leaves no trace in the key
  Unknown,           // no code is known: refuse to index it
};

struct CharCode {
  CharKind kind = CharKind::Unknown;
  std::span<const uint8_t> inlineBytes;
  // International / InternationalExt: the extra code (may be empty for the
  // latter); Unprintable: the unprintable code; UnprintableExt: one byte, the
  // amount added to the previous extra code.
  std::span<const uint8_t> secondBytes;
  uint8_t flag = 0;  // InternationalExt: 2 or 3
};

// The code of one UTF-16 code unit. Surrogates are Unknown.
CharCode sortCode(SortOrder order, char16_t c);

// The sort order a Jet 4 file records as (language id, version); false when
// the pair is none we know (the caller must not write text keys then).
bool sortOrderFromId(uint16_t languageId, int8_t version, bool jet3, SortOrder& out);

}  // namespace jet::format
