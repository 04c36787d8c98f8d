#include "skin/archive/WinSkinIni.h"

#include "skin/archive/SkinText.h"
#include "skin/archive/WinConvert.h"

namespace skin {

namespace {

constexpr const char* kNoList = "The parameter Strings is unassigned!";

void UnpackStream(TStream& source, TStream& target) {
  TLZH lzh;
  lzh.UnpackBlock(source, target);
}

void PackStream(TStream& source, TStream& target) {
  TLZH lzh;
  lzh.PackBlock(source, target);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool TryTextToInt(const std::string& text, int32_t& value) {
  size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p >= text.size()) return false;
  int64_t magnitude = 0;
  if (text[p] == '$') {
    if (++p >= text.size()) return false;
    for (; p < text.size(); ++p) {
      int d = HexDigit(text[p]);
      if (d < 0) return false;
      magnitude = magnitude * 16 + d;
      if (magnitude > 0xFFFFFFFFLL) return false;
    }
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
  }
  for (; p < text.size(); ++p) {
    if (text[p] < '0' || text[p] > '9') return false;
    magnitude = magnitude * 10 + (text[p] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  if (negative) magnitude = -magnitude;
  if (magnitude > 2147483647LL) return false;
  value = static_cast<int32_t>(magnitude);
  return true;
}

std::string TQuickIni::KeyOf(const std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return std::string();
  return LowerAscii(TrimText(std::string_view(line).substr(0, eq)));
}

std::string TQuickIni::ValueOf(const std::string& line, const std::string& key) {
  if (line.empty() || key.empty() || KeyOf(line) != key) return std::string();
  return TrimText(std::string_view(line).substr(line.find('=') + 1));
}

bool TQuickIni::IsSection(const std::string& line) {
  if (line.empty()) return false;
  std::string t = TrimText(line);
  return !t.empty() && t.front() == '[' && t.back() == ']';
}

int TQuickIni::SectionLine(const std::string& section) const {
  auto it = fSectionLookup.find(LowerAscii("[" + section + "]"));
  return it == fSectionLookup.end() ? -1 : FSections[it->second].line;
}

void TQuickIni::AddSection(const std::string& header, int line) {
  FSections.push_back({header, line});
  fSectionLookup.emplace(LowerAscii(header), FSections.size() - 1);
}

size_t TQuickIni::ScanSection(int header, const std::string& key) const {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < FIniFile.size() && !IsSection(FIniFile[i]) && KeyOf(FIniFile[i]) != key) ++i;
  return i;
}

void TQuickIni::SetIniFile(const std::vector<std::string>& lines) {
  FIniFile = lines;
  RebuildSections();
}

void TQuickIni::Clear() {
  FIniFile.clear();
  FSections.clear();
  fSectionLookup.clear();
}

void TQuickIni::RebuildSections() {
  FSections.clear();
  fSectionLookup.clear();
  for (size_t i = 0; i < FIniFile.size(); ++i) {
    const std::string& line = FIniFile[i];
    if (!line.empty() && line.front() == '[' && line.back() == ']')
      AddSection(TrimText(line), static_cast<int>(i));
  }
}

void TQuickIni::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  std::string text(static_cast<size_t>(Stream->Remaining()), '\0');
  Stream->ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  Clear();
  if (size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  int counter = 0;
  for (const std::string& raw : SplitLines(text)) {
    std::string line = TrimText(raw);
    if (line.empty() || line.front() == ';') continue;
    FIniFile.push_back(line);
    if (line.front() == '[' && line.back() == ']') AddSection(line, counter);
    ++counter;
  }
}

void TQuickIni::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, TFileMode::fmOpenRead);
  LoadFromStream(&file);
}

void TQuickIni::LoadFromZip(const std::string& FileName) {
  TMemoryStream packed;
  packed.LoadFromFile(FileName);
  TMemoryStream text;
  UnpackStream(packed, text);
  text.SetPosition(0);
  LoadFromStream(&text);
}

void TQuickIni::SaveToStream(TStream* Stream) const {
  if (!Stream) return;
  std::string text;
  for (const std::string& line : FIniFile) {
    text += line;
    text += "\r\n";
  }
  Stream->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TQuickIni::SaveToFile(const std::string& FileName) const {
  TFileStream file(FileName, TFileMode::fmCreate);
  SaveToStream(&file);
  file.Close();
}

void TQuickIni::SavetoZip(const std::string& FileName) const {
  TMemoryStream text;
  SaveToStream(&text);
  TMemoryStream packed;
  PackStream(text, packed);
  packed.SaveToFile(FileName);
}

std::string TQuickIni::ReadString(const std::string& Section, const std::string& Ident,
                                  const std::string& Default) const {
  std::string key = LowerAscii(Ident);
  int n = FIniFile.empty() ? -1 : SectionLine(Section);
  if (n < 0) return Default;
  size_t i = ScanSection(n, key);
  if (i >= FIniFile.size() || IsSection(FIniFile[i])) return Default;
  std::string value = ValueOf(FIniFile[i], key);
  return value.empty() ? Default : value;
}

int32_t TQuickIni::ReadInteger(const std::string& Section, const std::string& Ident, int32_t Default) const {
  std::string text = ReadString(Section, Ident, "");
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
  int32_t value = 0;
  return TryTextToInt(text, value) ? value : Default;
}

bool TQuickIni::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TQuickIni::ReadSections(std::vector<std::string>* Strings) const {
  if (!Strings) throw EAssertionFailed(kNoList);
  Strings->clear();
  for (const TSectionEntry& s : FSections) {
    std::string t = TrimText(s.header);
    Strings->push_back(t.size() >= 2 ? TrimText(std::string_view(t).substr(1, t.size() - 2)) : std::string());
  }
}

void TQuickIni::ReadSection(const std::string& Section, std::vector<std::string>* Strings) const {
  if (!Strings) throw EAssertionFailed(kNoList);
  Strings->clear();
  int n = SectionLine(Section);
  if (n < 0) return;
  for (size_t i = static_cast<size_t>(n) + 1; i < FIniFile.size() && !IsSection(FIniFile[i]); ++i) {
    std::string key = KeyOf(FIniFile[i]);
    if (!key.empty()) Strings->push_back(key);
  }
}

void TQuickIni::ReadSectionValues(const std::string& Section, std::vector<std::string>* Strings) const {
  if (!Strings) throw EAssertionFailed(kNoList);
  Strings->clear();
  int n = SectionLine(Section);
  if (n < 0) return;
  for (size_t i = static_cast<size_t>(n) + 1; i < FIniFile.size() && !IsSection(FIniFile[i]); ++i)
    Strings->push_back(FIniFile[i]);
}

void TQuickIni::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  std::string key = LowerAscii(Ident);
  int n = SectionLine(Section);
  if (n < 0) {
    std::string header = "[" + Section + "]";
    FIniFile.push_back(header);
    AddSection(TrimText(header), static_cast<int>(FIniFile.size() - 1));
    if (!Ident.empty()) FIniFile.push_back(Ident + "=" + Value);
    return;
  }
  if (Ident.empty()) return;
  size_t i = ScanSection(n, key);
  if (i >= FIniFile.size()) {
    FIniFile.push_back(Ident + "=" + Value);
  } else if (IsSection(FIniFile[i])) {
    FIniFile.insert(FIniFile.begin() + static_cast<std::ptrdiff_t>(i), Ident + "=" + Value);
    for (TSectionEntry& s : FSections)
      if (s.line >= static_cast<int>(i)) ++s.line;
  } else {
    FIniFile[i] = Ident + "=" + Value;
  }
}

void TQuickIni::WriteInteger(const std::string& Section, const std::string& Ident, int32_t Value) {
  WriteString(Section, Ident, std::to_string(Value));
}

void TQuickIni::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

void TQuickIni::DeleteKey(const std::string& Section, const std::string& Ident) {
  int n = SectionLine(Section);
  if (n < 0) return;
  size_t i = ScanSection(n, LowerAscii(Ident));
  if (i >= FIniFile.size() || IsSection(FIniFile[i])) return;
  FIniFile.erase(FIniFile.begin() + static_cast<std::ptrdiff_t>(i));
  RebuildSections();
}

void TQuickIni::EraseSection(const std::string& Section) {
  int n = SectionLine(Section);
  if (n < 0) return;
  size_t end = static_cast<size_t>(n) + 1;
  while (end < FIniFile.size() && !IsSection(FIniFile[end])) ++end;
  FIniFile.erase(FIniFile.begin() + n, FIniFile.begin() + static_cast<std::ptrdiff_t>(end));
  if (n > 0) FIniFile.insert(FIniFile.begin() + n, std::string());
  RebuildSections();
}

}  // namespace skin
