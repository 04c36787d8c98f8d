// The portable rules of skinned check boxes, radio buttons, group frames
// and the glyph strips handed to other libraries' check controls: which
// image of the skin's strip a state shows, where the image and the caption
// go, and which strip slot takes which skin image.
//
// Image numbers count from 1. A 4-image strip is: 1 unchecked, 2 checked,
// 3 unchecked disabled, 4 checked disabled (or indeterminate). The 12-image
// check strip and the 8-image radio strip hold four images per check state
// (normal, hot, pressed, disabled); only normal and disabled are shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"

namespace skin {

// DrawText flags the layouts hand back (the same numbers as the platform's).
inline constexpr uint32_t kTextRight = 0x2;
inline constexpr uint32_t kTextWordBreak = 0x10;
inline constexpr uint32_t kTextExpandTabs = 0x40;
inline constexpr uint32_t kTextRtlReading = 0x20000;

// What a framework check box publishes about its state; absent properties
// are empty. dataState is the state the control last announced (1
// unchecked, 2 checked, 3 indeterminate; 0 none).
struct TCheckProps {
  std::optional<std::wstring> state;    // "State": cbUnchecked, cbChecked, cbGrayed ...
  std::optional<std::wstring> checked;  // "Checked": "True" / "False"
  bool hasDataField = false;
  int32_t dataState = 0;
  bool hasDataBinding = false;
};

// The check state a check box shows: 1 unchecked, 2 checked, 4 grey, from
// the window's own answer, overridden by the framework control's properties.
struct TCheckState {
  int32_t state = 1;
  bool indeterminate = false;
};
TCheckState CheckStateOf(bool windowChecked, bool windowIndeterminate, const TCheckProps* props);

// The image a check box shows for its state (1 or 2), enabled state and
// indeterminate flag in a strip of `frames` images.
int CheckImageIndex(const TCheckState& state, bool disabled, int frames);
// The same for a radio button.
int RadioImageIndex(bool checked, bool disabled, int frames);

// Where the image and the caption of a check box or radio button go in rc
// (the window at the origin). leftText: BS_LEFTTEXT, the image at the right.
struct TCheckLayout {
  TRect image;
  TRect text;
  uint32_t format = 0;  // DrawText format of the caption
};
TCheckLayout CheckLayout(const TRect& rc, int32_t imageWidth, int32_t imageHeight, bool leftText, bool rtl,
                         bool radio);
// The caption rectangle moved down so a caption of the measured height sits
// in the middle of it.
TRect CenterCheckText(const TRect& text, int32_t measuredHeight);

// The group frame: the rounded frame and the caption that cuts its top
// line. textHeight is the height of the caption font's "0".
struct TGroupFrameLayout {
  TRect wipe;   // the window's own two-pixel frame (bare windows)
  TRect frame;  // RoundRect bounds, 5 x 5 corners
  TRect caption;
  uint32_t format = 0;
};
TGroupFrameLayout GroupFrameLayout(const TRect& rc, int32_t textHeight, bool rightAligned);

// Glyph strips for other libraries' check controls. glyphKind 1: a
// nine-slot check strip, 2: a six-slot radio strip, 3: a six-slot check
// strip. For each slot (from 1) the skin image copied into it; 0: blank.
std::vector<int> GlyphSlotSources(int glyphKind, int skinFrames);
// The strip itself: slots as wide as one skin image and as tall as the
// strip, blank slots zero. Empty for an unknown kind or an empty image.
TBitmap BuildGlyphStrip(const TBitmap& skinStrip, int skinFrames, int glyphKind);

}  // namespace skin
