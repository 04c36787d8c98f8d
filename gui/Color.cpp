#include "gui/Color.h"

namespace fw {

COLORREF ColorToRGB(TColor color) {
  uint32_t value = static_cast<uint32_t>(color);
  if ((value & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(value & 0xFF));
  return value & 0x00FFFFFFu;
}

}  // namespace fw
