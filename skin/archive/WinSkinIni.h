// TQuickIni: an INI-style text held in memory. Loading keeps only the
// significant lines (trimmed, not empty, not a ";" comment) and indexes the
// section headers, so a lookup scans the lines of one section only. The skin
// definition loader reads every section, string and number of a skin from it.
//
// Invariant: FSections holds, in text order, every header line of FIniFile
// with its current line number. Every operation that moves lines keeps it so
// (deleting a key or erasing a section rebuilds it), so reads and writes after
// any edit find the right lines.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "skin/archive/Streams.h"

namespace skin {

// A caller's mistake (a missing list object), not a condition of the data.
class EAssertionFailed : public std::logic_error {
  using std::logic_error::logic_error;
};

class TQuickIni {
 public:
  TQuickIni() = default;

  const std::vector<std::string>& IniFile() const { return FIniFile; }
  // Copies the lines unchanged, then rebuilds the section index.
  void SetIniFile(const std::vector<std::string>& lines);

  // From the stream's position to its end; a null stream changes nothing.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);
  // The file is a packed block holding the text.
  void LoadFromZip(const std::string& FileName);
  // Each line followed by CR LF, no byte-order mark; a null stream gets nothing.
  void SaveToStream(TStream* Stream) const;
  void SaveToFile(const std::string& FileName) const;
  void SavetoZip(const std::string& FileName) const;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; the default otherwise.
  int32_t ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default) const;
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  void ReadSections(std::vector<std::string>* Strings) const;
  void ReadSection(const std::string& Section, std::vector<std::string>* Strings) const;
  void ReadSectionValues(const std::string& Section, std::vector<std::string>* Strings) const;

  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int32_t Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  void DeleteKey(const std::string& Section, const std::string& Ident);
  void EraseSection(const std::string& Section);

  void RebuildSections();
  void Clear();

 private:
  struct TSectionEntry {
    std::string header;  // trimmed, brackets included
    int line;
  };

  static std::string KeyOf(const std::string& line);
  static std::string ValueOf(const std::string& line, const std::string& key);
  static bool IsSection(const std::string& line);
  int SectionLine(const std::string& section) const;
  void AddSection(const std::string& header, int line);
  // First line after the header at `header` that is a header or has `key`.
  size_t ScanSection(int header, const std::string& key) const;

  std::vector<std::string> FIniFile;
  std::vector<TSectionEntry> FSections;
  // Lower-cased header -> index into FSections of its first occurrence.
  std::unordered_map<std::string, size_t> fSectionLookup;
};

// The platform's integer conversion: optional sign, then decimal digits or "$"
// and hexadecimal digits (up to 32 bits, read as two's complement).
bool TryTextToInt(const std::string& text, int32_t& value);

}  // namespace skin
