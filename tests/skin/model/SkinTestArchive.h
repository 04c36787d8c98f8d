// Builds skin archives inside a test: an INI text plus BMP members, packed
// into a model's `data` exactly as a stored skin holds them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinArchive.h"
#include "skin/model/SkinModel.h"

namespace skin::test {

struct TSkinFiles {
  std::string ini;
  std::vector<std::pair<std::string, TBitmap>> bitmaps;
  std::vector<TSkinMember> extra;  // raw members, e.g. damaged ones
  bool withIni = true;

  TSkinFiles& Bitmap(const std::string& name, TBitmap bitmap) {
    bitmaps.emplace_back(name, std::move(bitmap));
    return *this;
  }
};

inline std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

inline void PackInto(const TSkinFiles& files, TMemoryStream& target) {
  std::vector<TSkinMember> members;
  for (const auto& [name, bitmap] : files.bitmaps) members.push_back({name, bitmap.SaveToBmp()});
  for (const TSkinMember& m : files.extra) members.push_back(m);
  if (files.withIni) members.push_back({"skin.ini", Bytes(files.ini)});
  target.Clear();
  PackSkinArchive(members, target);
}

inline bool LoadSkin(TSkinModel& model, const TSkinFiles& files) {
  PackInto(files, model.data);
  return model.LoadArchive();
}

// A strip of `frames` images, each filled with its own colour (frame k gets
// red k, green `tag`), so tests can tell images and strips apart.
inline TBitmap Strip(int32_t frameWidth, int32_t height, int frames, uint8_t tag = 0) {
  TBitmap b(frameWidth * frames, height);
  for (int k = 0; k < frames; ++k)
    b.FillRect(Rect(k * frameWidth, 0, (k + 1) * frameWidth, height),
               MakePixel(static_cast<uint8_t>(k + 1), tag, 0));
  return b;
}

}  // namespace skin::test
