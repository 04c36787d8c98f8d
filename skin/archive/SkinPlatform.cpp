#include "skin/archive/SkinPlatform.h"

#include <array>
#include <cstddef>

namespace skin {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return r | (g << 8) | (b << 16);
}

// The classic Windows scheme, indexed like GetSysColor.
constexpr std::array<uint32_t, 31> kClassicColors = {
    Rgb(212, 208, 200),  // 0 scroll bar
    Rgb(58, 110, 165),   // 1 desktop
    Rgb(10, 36, 106),    // 2 active caption
    Rgb(128, 128, 128),  // 3 inactive caption
    Rgb(212, 208, 200),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(0, 0, 0),        // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(255, 255, 255),  // 9 caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(10, 36, 106),    // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(212, 208, 200),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(212, 208, 200),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(64, 64, 64),     // 21 dark 3-D shadow
    Rgb(212, 208, 200),  // 22 3-D light
    Rgb(0, 0, 0),        // 23 tool-tip text
    Rgb(255, 255, 225),  // 24 tool-tip background
    Rgb(180, 180, 180),  // 25 (unused index)
    Rgb(0, 0, 128),      // 26 hot-tracked item
    Rgb(166, 202, 240),  // 27 active caption gradient
    Rgb(192, 192, 192),  // 28 inactive caption gradient
    Rgb(10, 36, 106),    // 29 menu highlight
    Rgb(212, 208, 200),  // 30 menu bar
};

const TSkinPlatform kDefaultPlatform;
const TSkinPlatform* gPlatform = nullptr;

}  // namespace

uint32_t TSkinPlatform::GetSysColor(int index) const {
  return index >= 0 && static_cast<size_t>(index) < kClassicColors.size()
             ? kClassicColors[static_cast<size_t>(index)]
             : 0;
}

const TSkinPlatform& SkinPlatform() {
  return gPlatform != nullptr ? *gPlatform : kDefaultPlatform;
}

void SetSkinPlatform(const TSkinPlatform* platform) {
  gPlatform = platform;
}

uint32_t ResolveColor(TColor c) {
  if (IsSysColor(c)) return SkinPlatform().GetSysColor(static_cast<int>(c & 0xFF)) & 0x00FFFFFF;
  return static_cast<uint32_t>(c) & 0x00FFFFFF;
}

}  // namespace skin
