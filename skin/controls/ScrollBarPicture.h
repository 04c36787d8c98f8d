// The picture of a skinned scroll bar, composed off screen so that a paint
// puts the whole bar on the window at once and no partial bar is ever seen.
//
// Elements: the arrow strip (23 images side by side: left, right, up and
// down arrows in groups of four -- normal, pressed, unused, under the
// mouse -- then the grips of a horizontal and a vertical thumb in groups of
// three -- normal, pressed, under the mouse -- and one unused image), the
// shaft (4 images: 1 enabled, 3 disabled) and the thumb (normal, pressed,
// under the mouse). A skin with arrows but no shaft or no thumb leaves that
// part in the face colour.
#pragma once

#include <cstdint>

#include "skin/archive/Bitmap.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/model/SkinElements.h"

namespace skin {

inline constexpr int kArrowImages = 23;
inline constexpr int kShaftImages = 4;

struct TScrollBarArt {
  const TDataSkinObject* arrows = nullptr;  // SArrow
  const TDataSkinObject* shaft = nullptr;   // HBar or VBar, as the bar lies
  const TDataSkinObject* thumb = nullptr;   // HSlider or VSlider
  TPixel face = 0;                          // scheme colour ButtonFace
};

struct TBarPictureState {
  bool vertical = true;
  int32_t len = 0;     // along the bar
  int32_t across = 0;  // the picture's thickness (the bar's, or the drawing thickness)
  int32_t cw = 0;      // the platform's arrow length
  bool enabled = true;
  int32_t scrollpos = spNone;
  bool down = false;
  TThumbSpan thumb;
};

// True when the skin has arrows to draw a bar with.
bool CanDrawScrollBar(const TScrollBarArt& art);

// The drawing thickness for the art: see DrawThickness.
int32_t ArtThickness(const TScrollBarArt& art, int32_t cw);

// The bar's picture (len along, across wide), empty when the art cannot draw
// it or a size is 0 or less. The skin is drawn ArtThickness thick from the
// picture's near edge; what lies beyond shows the face colour.
TBitmap ComposeScrollBar(const TScrollBarArt& art, const TBarPictureState& state);

}  // namespace skin
