// Loads the input as an INI text, reads every section and key, then edits it;
// after each edit the section index must agree with one rebuilt from scratch.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/archive/WinSkinIni.h"

namespace {

void CheckIndex(const skin::TQuickIni& ini) {
  skin::TQuickIni fresh;
  fresh.SetIniFile(ini.IniFile());
  std::vector<std::string> a, b;
  ini.ReadSections(&a);
  fresh.ReadSections(&b);
  if (a != b) std::abort();
  for (const std::string& s : a) {
    std::vector<std::string> x, y;
    ini.ReadSectionValues(s, &x);
    fresh.ReadSectionValues(s, &y);
    if (x != y) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skin::TMemoryStream stream;
  stream.Assign(std::vector<uint8_t>(data, data + size));
  skin::TQuickIni ini;
  ini.LoadFromStream(&stream);

  std::vector<std::string> sections, keys;
  ini.ReadSections(&sections);
  for (const std::string& s : sections) {
    ini.ReadSection(s, &keys);
    for (const std::string& k : keys) {
      ini.ReadString(s, k, "");
      ini.ReadInteger(s, k, 0);
      ini.ReadBool(s, k, false);
    }
  }
  CheckIndex(ini);
  for (size_t i = 0; i < sections.size() && i < 8; ++i) {
    const std::string& s = sections[i];
    ini.ReadSection(s, &keys);
    switch ((data[i % size] + i) % 4) {
      case 0:
        ini.WriteString(s, "fuzzkey", "v");
        break;
      case 1:
        if (!keys.empty()) ini.DeleteKey(s, keys.front());
        break;
      case 2:
        ini.EraseSection(s);
        break;
      default:
        ini.WriteInteger("new" + std::to_string(i), "n", static_cast<int32_t>(i));
        break;
    }
    CheckIndex(ini);
  }
  skin::TMemoryStream out;
  ini.SaveToStream(&out);
  return 0;
}
