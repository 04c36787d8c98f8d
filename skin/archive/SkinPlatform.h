// Skin colour values and the two facts about the platform that portable skin
// code needs: the system colours and the width of a scroll-bar arrow.
//
// A colour value (TColor) is 32 bits: 0x00BBGGRR for a direct colour (red in
// the low byte), 0xFF0000nn for the platform's system colour nn (a negative
// number as int32_t), 0x1FFFFFFF for "no colour". The portable code resolves
// system colours through the installed TSkinPlatform; without one it uses the
// classic Windows colours, so native tests see the values a default Windows
// desktop would give. The Windows side installs an object that asks
// GetSysColor and GetSystemMetrics.
#pragma once

#include <cstdint>

namespace skin {

using TColor = int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBlack = 0;

// The colour value naming system colour `index` (a GetSysColor index).
inline constexpr TColor SysColor(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}
inline constexpr bool IsSysColor(TColor c) {
  return c < 0;
}

class TSkinPlatform {
 public:
  virtual ~TSkinPlatform() = default;
  // The direct colour (0x00BBGGRR) of system colour `index` (0..255);
  // the classic Windows scheme by default, black for unknown indexes.
  virtual uint32_t GetSysColor(int index) const;
  // SM_CXHSCROLL: the width of the arrow of a horizontal scroll bar.
  virtual int HorzScrollArrowWidth() const { return 17; }
};

// The installed platform, or the built-in default. GUI thread only.
const TSkinPlatform& SkinPlatform();
// Installs `platform` (not owned; must outlive its use); nullptr restores the default.
void SetSkinPlatform(const TSkinPlatform* platform);

// A direct colour for any colour value: system colours resolved through
// SkinPlatform(), direct colours with the high byte cleared.
uint32_t ResolveColor(TColor c);

}  // namespace skin
