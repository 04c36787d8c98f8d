// The skin element records: one record per section of a skin definition,
// holding its image strip, margins, frame count, tiling and text colours.
// Every painter reads the skin through these records only.
//
// A record owns its bitmaps (TBitmap members, copied with the record). Image
// k of `Map` (counted from 1) is column block k of `frame` equal blocks, or
// row block k for the elements drawn from vertical strips (the top and bottom
// borders, the caption text background and the menu bar). `r` holds the four
// margins that are never scaled; a few records keep other numbers there.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinPlatform.h"

namespace skin {

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string idName = {}) : IDName(std::move(idName)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  TRect r;            // fixed margins Left, Top, Right, Bottom
  TBitmap Map;        // `frame` images
  int32_t trans = 0;  // 1: magenta pixels are transparent
  int32_t Tile = 0;   // middle: 0 stretched, 1 repeated (borders and menu bar read it inverted)
  std::string IDName;
  int32_t frame = 1;
  int32_t style = 0;
  // Text colours as direct colour values; -1 = not given.
  int32_t Normalcolor = -1;
  int32_t Overcolor = -1;
  int32_t Downcolor = -1;
  // Text colours given as "R G B"; the scheme colour ButtonText when omitted.
  TColor Normalcolor2 = SysColor(18);
  TColor Overcolor2 = SysColor(18);
  TColor Downcolor2 = SysColor(18);
};

// An element with a second image: the page frame of tabs, the glyphs of an
// up-down control, the mirrored drop button of a combo box.
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap MaskMap;
};

// The caption text: r.Left / r.Top text offsets, r.Right the width kept free
// at the right end, r.Bottom 0; Map the image behind the text.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Aligment = 0;  // 0 left, 1 centred, 2 right
  int32_t BackGround = 0;
  int32_t FontHeight = 14;
  int32_t backleft = 0;
  int32_t backright = 0;
  TColor activetext = clNone;
  TColor inactivetext = clNone;
};

// Push buttons, and the images of check boxes and radio buttons.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckMap;
  TBitmap RadioMap;
  int32_t radioframe = 0;
  int32_t checkframe = 0;
  bool newnormal = false;  // whether NormalColour2 / MouseOverColour2 / PressedColour2 were given
  bool newover = false;
  bool newdown = false;
};

// One caption button; IDName holds the upper-cased section name.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = -1;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// The image behind a group-box caption.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t LeftShift = 0;
  int32_t RightShift = 0;
  int32_t Alignment = 0;
};

}  // namespace skin
