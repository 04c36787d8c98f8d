// The geometry of a skinned scroll bar, portable: which part of the bar a
// point falls on, where the thumb of a stand-alone scroll-bar control lies,
// how a dragged thumb follows the cursor, the position a drop-down list's
// own thumb drag asks for, and the rectangles of arrows, shaft, thumb and
// grip that the painter fills.
//
// Positions along the bar are measured from its start (top of a vertical
// bar, left of a horizontal one); "across" is the bar's thickness.
#pragma once

#include <cstdint>

#include "skin/archive/Bitmap.h"

namespace skin {

// The parts of a bar, as the platform's scroll request codes number them:
// the same codes arrive with a control's scroll notifications, so one field
// holds the active part either way.
enum TScrollPart : int32_t {
  spNone = -1,
  spLineUp = 0,         // first arrow (up or left)
  spLineDown = 1,       // second arrow (down or right)
  spPageUp = 2,         // shaft before the thumb
  spPageDown = 3,       // shaft after the thumb
  spThumbPosition = 4,  // end of a thumb drag
  spThumbTrack = 5,     // the thumb
  spEndScroll = 8,
};

// The platform's MulDiv: a * b / c rounded half away from zero, -1 when c is
// 0 or the result does not fit 32 bits.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

struct TScrollValues {
  int32_t min = 0;
  int32_t max = 0;
  int32_t page = 0;  // 0: the control has no page
  int32_t pos = 0;
};

struct TThumbSpan {
  int32_t top = 0;     // start along the bar
  int32_t bottom = 0;  // end along the bar
  int32_t Length() const { return bottom - top; }
  bool operator==(const TThumbSpan&) const = default;
};

// The thumb of a stand-alone scroll-bar control of `len` pixels with arrows
// `cw` long. `withMinimum`: a paged thumb is never shorter than 8 pixels
// (the painter's view; the press handler measures without it).
TThumbSpan ControlThumb(int32_t len, int32_t cw, const TScrollValues& v, bool withMinimum);

// The part under `along` (overlay coordinates along the bar).
TScrollPart HitTestBar(int32_t along, int32_t cw, const TThumbSpan& thumb, int32_t len);

// A dragged thumb: its start when the press began plus how far the cursor
// has moved, kept between the two arrows (the first arrow wins on a bar too
// short for the thumb); its length stays.
TThumbSpan TrackThumb(int32_t trackThumb, int32_t cursorMoved, int32_t length, int32_t cw, int32_t len);

// The position a drop-down list's thumb drag asks for: offset0 is the
// thumb's start past the first arrow when the press began, moved the
// cursor's travel since, track the room between the arrows, thumbLen the
// thumb's length.
int32_t DropListDragPosition(int32_t offset0, int32_t moved, int32_t track, int32_t thumbLen,
                             const TScrollValues& v);

// The thickness the skin is drawn at: the arrow image's height, unless that
// is more than 2 pixels off the platform's arrow length.
int32_t DrawThickness(int32_t arrowImageHeight, int32_t cw);

// The length of each arrow: cw, or half a bar too short for two.
int32_t ArrowLength(int32_t len, int32_t cw);

// Images of the arrow strip (counted from 1) for the current state.
int ArrowImage(bool vertical, bool second, int32_t scrollpos, bool down);
// Images of the thumb strip: 1 normal, 2 pressed, 3 under the mouse.
int ThumbImage(int32_t scrollpos, bool down);
// Images of the arrow strip for the grip drawn on the thumb.
int GripImage(bool vertical, int32_t scrollpos, bool down);

// Where each piece of a bar is drawn, in the bar picture's coordinates.
struct TBarLayout {
  TRect shaft;
  TRect firstArrow;
  TRect secondArrow;
  bool hasThumb = false;
  TRect thumb;
  bool hasGrip = false;
  TRect grip;
};

struct TBarShape {
  bool vertical = true;
  int32_t len = 0;         // along the bar
  int32_t thickness = 0;   // across: the drawing thickness t
  int32_t cw = 0;          // the platform's arrow length
  int32_t gripLength = 0;  // the arrow image's height: the grip's length along the bar
  bool enabled = true;
  TThumbSpan thumb;
};

TBarLayout LayoutBar(const TBarShape& shape);

}  // namespace skin
