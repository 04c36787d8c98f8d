// Colour values as controls publish them ("Color"): 0x00BBGGRR for a direct
// colour, 0xFF0000nn for system colour nn (so a control keeps following the
// user's colour scheme), the same 32-bit signed values stored definitions use.
#pragma once

#include <windows.h>

#include <cstdint>

namespace fw {

using TColor = int32_t;

constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index & 0xFF));
}
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

// The RGB value to draw with.
COLORREF ColorToRGB(TColor color);

}  // namespace fw
