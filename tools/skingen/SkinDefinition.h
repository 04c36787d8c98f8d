// A whole skin as the generator makes it: every bitmap with its strip layout,
// and the INI definition as ordered sections of ordered keys. From it come the
// archive members (bitmaps in name order, the INI last, as skinpack stores
// them) and, for tests, a plain listing of every value written.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"
#include "Theme.h"

namespace skingen {

struct SkinImage {
  std::string member;  // file name inside the archive
  Canvas image;
  int frames = 1;
  bool stacked = false;  // frames one above the other instead of side by side
};

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;

  IniSection& Add(const std::string& key, const std::string& value);
  IniSection& Add(const std::string& key, int value);
  IniSection& Add(const std::string& key, Rgb colour);  // "R G B"
};

struct SkinMember {
  std::string name;
  std::vector<uint8_t> bytes;
};

struct SkinDefinition {
  std::string skinName;
  std::string iniName = "skin.ini";
  std::vector<SkinImage> images;
  std::vector<IniSection> sections;

  // CR LF line ends, ASCII only.
  std::string IniText() const;
  // Bitmaps sorted by member name as 24-bit BMP files, then the INI.
  std::vector<SkinMember> Members() const;
  // One line per bitmap ("member NAME WIDTH HEIGHT FRAMES side|stacked") and
  // per key ("key SECTION KEY VALUE"), fields separated by tabs.
  std::string Expectations() const;
};

SkinDefinition BuildSkin(Variant variant);

}  // namespace skingen
