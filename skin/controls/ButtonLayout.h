// The rules of a skinned push button, portable: which image of the skin's
// button strip a state shows, which glyph of a glyph strip goes with it,
// which caption colour applies, where glyph, caption and drop-down arrow go
// for each layout, how a caption's "||" splits it, and what the mouse and
// the space key do to the hot and pressed looks and when they click. The
// Windows side (WinSkinButton*.cpp) gathers the facts, measures the caption
// and draws; every decision it takes is made here.
//
// Coordinates are relative to the button's top-left corner. Divisions
// truncate toward zero, as the layouts are defined.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "skin/archive/Bitmap.h"

namespace skin {

// Images of the skin's button strip, counted from 1.
enum TButtonFace : int { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };
inline constexpr int kButtonFaceCount = 5;

// What a push button's look depends on.
struct TButtonLook {
  bool focused = false;
  bool isDefault = false;
  bool hot = false;
  bool down = false;
  bool enabled = true;
};

// Plain and glyph buttons: disabled wins over pressed, pressed over hot, hot
// over focused and default.
int PushButtonFace(const TButtonLook& look);
// Buttons drawing a picture property: only focus, never the default flag, selects image 5.
int PictureButtonFace(const TButtonLook& look);
// Drop-down buttons: focus shows the hot image; there is no default look.
int MenuButtonFace(const TButtonLook& look);

// Speed buttons: `hot` and `pressed` are the object's tracking; `enabled`
// and `stuckDown` the control's "Enabled" and "Down" properties. A button
// held down by its "Down" property shows pressed even when disabled.
struct TSpeedLook {
  bool hot = false;
  bool pressed = false;
  bool enabled = true;
  bool stuckDown = false;
};
int SpeedButtonFace(const TSpeedLook& look);
// A flat speed button shows only its background until hovered or pressed.
bool SpeedButtonShowsSkin(int face, bool flat);

// The image of a glyph strip (1 normal, 2 disabled, 3 pressed, 4 down) for a face.
int GlyphIndexForFace(int face);
int SpeedGlyphIndex(int face, bool stuckDown);

// Which glyph-strip frame to draw: a requested index past the strip's end
// falls back to 1; a single-image glyph asked for its disabled image is
// drawn embossed instead.
struct TGlyphFrame {
  int index = 1;
  int frameWidth = 0;
  bool embossed = false;
};
TGlyphFrame ChooseGlyphFrame(int32_t glyphWidth, int requested, int numGlyphs);
// "NumGlyphs" as read: absent (below 0) or 0 counts as one image.
int NormaliseNumGlyphs(int numGlyphs);

// The colour a caption is drawn in, before it is resolved against the skin.
enum class TCaptionInk { Default, Normal2, Over2, Down2, Disabled };
struct TInkChoice {
  bool newnormal = false;
  bool newover = false;
  bool newdown = false;
};
// Plain and glyph buttons: the skin's normal caption colour is the base of
// every face; the hot and pressed colours and the disabled colour replace it.
TCaptionInk PushCaptionInk(int face, bool enabled, const TInkChoice& choice);
// Speed buttons with a glyph, picture buttons and drop-down buttons: each
// colour belongs to its own face only.
TCaptionInk FaceCaptionInk(int face, bool enabled, const TInkChoice& choice);

// --- captions ---

// The first "||" of a caption becomes a line break.
std::wstring SplitCaptionBars(const std::wstring& caption);

// Where a caption measured as (width, height) inside rc shrunk by 2 is
// drawn: centred, or (left and right aligned) vertically centred across the
// whole width of rc so that the alignment places it.
TRect PlaceButtonCaption(const TRect& rc, int32_t width, int32_t height, bool centred);
// The focus rectangle around a placed caption.
TRect ButtonFocusRect(const TRect& caption);

// --- glyph buttons ---

enum TButtonLayout : int { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };
// "blGlyphRight" and its kin, in any case; anything else (absent included) is glyph-left.
TButtonLayout ParseButtonLayout(const std::wstring& enumText);

enum class TTextAlign { Left, Right, Centre };

struct TSize32 {
  int32_t width = 0, height = 0;
};

// The rectangle a glyph button's caption is measured in: the button shrunk
// by 2, less the glyph and 2 pixels beside or above it.
TRect GlyphCaptionMeasureRect(int32_t width, int32_t height, TButtonLayout layout, int32_t glyphWidth,
                              int32_t glyphHeight);

struct TGlyphLayoutFacts {
  int32_t width = 0, height = 0;            // the button
  int32_t glyphWidth = 0, glyphHeight = 0;  // one glyph image; 0 without a glyph
  int32_t textWidth = 0, textHeight = 0;    // the measured caption; 0 without one
  int32_t margin = -1;                      // "Margin": -1 centres
  int32_t spacing = -1;                     // "Spacing": -1 spreads evenly
  TButtonLayout layout = blGlyphLeft;
  bool centred = false;  // bit buttons whose "Alignment" is taCenter
};

struct TGlyphPlacement {
  int32_t margin = 0, spacing = 0;  // as resolved
  int32_t glyphX = 0, glyphY = 0;
  TRect text;
  TTextAlign align = TTextAlign::Left;
};

TGlyphPlacement BitButtonLayout(const TGlyphLayoutFacts& facts);
// As the bit button, without the "Alignment" test, and a margin computed
// from a given spacing lies one pixel further right (or down).
TGlyphPlacement SpeedButtonLayout(const TGlyphLayoutFacts& facts);

// --- drop-down buttons ---

inline constexpr int32_t kMenuArrowWidth = 8;
inline constexpr int32_t kMenuArrowHeight = 3;

// The caption of a drop-down button is measured in the width the glyph and arrow leave.
TRect MenuCaptionMeasureRect(int32_t width, int32_t height, int32_t glyphWidth);

struct TMenuButtonPlacement {
  int32_t margin = 0, spacing = 0;
  int32_t glyphX = 0, glyphY = 0;
  TRect text;
  int32_t arrowX = 0, arrowY = 0;  // the arrow's centre
};
// Glyph, caption and arrow in one row (the glyph's whole bitmap is one image).
TMenuButtonPlacement MenuButtonLayout(int32_t width, int32_t height, int32_t glyphWidth, int32_t glyphHeight,
                                      int32_t textWidth, int32_t textHeight, int32_t margin, int32_t spacing);

struct TPoint32 {
  int32_t x = 0, y = 0;
  bool operator==(const TPoint32&) const = default;
};
// The down-pointing triangle of the arrow centred at (x, y).
std::array<TPoint32, 3> MenuArrowCorners(int32_t x, int32_t y);

// --- mouse and keyboard ---

// The hot and pressed looks of a push button and its mouse capture. A press
// takes the capture; while it is held the pressed look follows the cursor in
// and out of the button; a release inside clicks once, a release outside
// does not; losing the capture or Esc ends the press without a click. The
// space key only shows the pressed look: the window's own procedure clicks.
class TPushTracker {
 public:
  enum class Capture { Keep, Take, Release };
  struct Outcome {
    bool repaint = false;
    bool click = false;
    Capture capture = Capture::Keep;
  };

  // A left-button press (or double click) inside the button.
  Outcome Press(bool enabled);
  // The cursor moved; `inside` is whether it is over the button.
  Outcome Move(bool inside, bool enabled);
  // The left button came up; `inside` is whether the cursor is over the button.
  Outcome Release(bool inside, bool enabled);
  // The cursor left the window (a leave notification or the skinner's hover tracking).
  Outcome Leave();
  // The capture went elsewhere, or the press was cancelled (Esc, focus lost).
  Outcome Cancel();
  Outcome KeyDown();
  Outcome KeyUp();

  bool Hot() const { return hot_; }
  bool Down() const { return down_; }
  bool Tracking() const { return tracking_; }

 private:
  Outcome Set(bool hot, bool down);

  bool hot_ = false;
  bool down_ = false;
  bool tracking_ = false;  // a mouse press holds the capture
  bool keyDown_ = false;   // the space key holds the pressed look
};

}  // namespace skin
