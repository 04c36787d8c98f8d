// The portable geometry of skinned edits, combo boxes and up-down controls:
// which skin image a state shows, where the drop button, its glyph and the
// up-down halves go, how an up-down inside an edit keeps clear of the edit's
// border, and the line-drawn chevrons used when the skin has no up-down art.
//
// Face numbers count from 1: 1 normal, 2 pressed, 3 disabled, 4 hot (or
// focused, for combo boxes).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "skin/archive/Bitmap.h"

namespace skin {

// ---------------------------------------------------------------- up-down

// Arrows of an up-down control: 0 up, 1 down (vertical), 2 left, 3 right.
enum TSpinArrow : int32_t { saUp = 0, saDown = 1, saLeft = 2, saRight = 3 };

// The up-down style bit that lays the arrows side by side.
inline constexpr uint32_t kUpDownHorzStyle = 0x40;

// Side-by-side arrows for a UDS_HORZ window, or when the owner forces them
// (dir 1: a tab control's scroll arrows, whose window style says vertical).
bool SpinIsHorizontal(uint32_t style, int32_t dir);

// One half of an up-down control: its rectangle and the arrow it shows.
struct TSpinHalf {
  TRect rect;
  TSpinArrow arrow = saUp;
};
// The two halves of a w x h control: top then bottom, or left then right.
std::array<TSpinHalf, 2> SpinHalves(int32_t width, int32_t height, bool horizontal);

// The face of one half: pressed or hot only while the cursor is over that
// half; a disabled control shows face 3 whatever the mouse does.
int SpinFace(bool cursorInHalf, bool down, bool hot, bool enabled);

// Image of the 8-image spin strip (four faces per arrow) for a face and arrow.
int SpinFrameIndex(int face, TSpinArrow arrow);

// Where an up-down inside an edit draws: rc (the window at the origin) moved
// in so that at least 3 pixels separate it from the edit's window edges at
// the top, bottom and right. window and parent are screen rectangles.
TRect SpinRectInEdit(const TRect& rc, const TRect& window, const TRect& parent);

// The plain chevron of an arrow as polylines of pixel offsets, drawn from
// the half's glyph origin (SpinGlyphOrigin); each polyline is drawn as
// MoveTo / LineTo, the last point of every line left out.
struct TSpinPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TSpinPoint&) const = default;
};
using TPolyline = std::vector<TSpinPoint>;
const std::vector<TPolyline>& SpinChevron(TSpinArrow arrow);
// The glyph origin of a half: its centre, 2 pixels higher for up and down arrows.
TSpinPoint SpinGlyphOrigin(const TRect& half, TSpinArrow arrow);
// Plain halves are filled with ButtonFace (false) or ButtonShadow (true).
bool SpinPlainShadowed(int face);

// ---------------------------------------------------------------- combo boxes

// The face of the standard and whole-image combo styles: focus shows hot,
// a press beats hover, and a disabled control shows face 3 whatever else.
int ComboFace(bool focused, bool down, bool hot, bool enabled);
// The flat style's face: focus and hover override disabled.
int ComboFlatFace(bool focused, bool down, bool hot, bool enabled);

// The standard style's parts in a w x h window at the origin; cx is the
// system's scroll-arrow width. leftButton: WS_EX_LEFTSCROLLBAR.
struct TComboParts {
  TRect textArea;  // left out of the painting, so the edit's text stays
  TRect button;    // the drop button (also the hot-tracking rectangle)
  TRect glyph;     // the area the arrow glyph is centred in
};
TComboParts ComboParts(int32_t width, int32_t height, int32_t cx, bool leftButton);

// The frame of `face` in a strip that was mirrored left to right as a whole
// (the left-hand combo images): mirroring reverses the order of its frames.
int MirroredFrame(int face, int frames);

// A glyph of glyphWidth x glyphHeight centred in area (rounding toward the
// area's top-left).
TRect CenteredGlyph(const TRect& area, int32_t glyphWidth, int32_t glyphHeight);

// The flat style: r shrunk by 1 is framed, shrunk again its thumbWidth
// pixels at the button side are filled, and the button takes the
// buttonWidth pixels of that side of the inner rectangle, cut to
// buttonHeight when that is less than thumbWidth.
struct TComboFlatParts {
  TRect outer;   // framed with the skin's ButtonShadow
  TRect frame;   // framed with the context's brush
  TRect fill;    // filled with the context's brush
  TRect button;  // the drop button image
};
TComboFlatParts ComboFlatParts(int32_t width, int32_t height, int32_t buttonWidth, int32_t buttonHeight,
                               int32_t thumbWidth, bool leftButton);

// ---------------------------------------------------------------- frames

// True when a window of the given size draws a border: its client area is
// smaller in both directions.
bool HasBorderFrame(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight);
// The printed border of an edit is drawn only when the client area is more
// than 2 pixels smaller than the window in both directions.
bool HasPrintedBorder(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight);

}  // namespace skin
