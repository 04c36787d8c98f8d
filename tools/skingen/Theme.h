// The look of a skin in one place: its colours and the few sizes that the
// artwork and the definition must agree on (caption height, border width,
// caption-button size). The production skin is calm and flat with one deep
// teal accent; the test skin uses other colours and sizes so that a loader
// which takes a default instead of the skin's value shows up in tests.
#pragma once

#include <string>

#include "Canvas.h"

namespace skingen {

enum class Variant { Main, Test };

struct Palette {
  Rgb accent;           // active caption and frame, selections' edges, checked boxes
  Rgb accentDark;       // frame outline, pressed caption buttons
  Rgb accentHot;        // hot caption buttons
  Rgb captionInactive;  // caption and frame of an inactive window
  Rgb captionInactiveDark;
  Rgb titleText;
  Rgb titleTextInactive;
  Rgb glyphDisabled;  // caption-button glyphs on an inactive or disabled button
  Rgb closeHot;       // the close button under the mouse
  Rgb closePressed;

  Rgb face;   // window and dialog background (ButtonFace)
  Rgb field;  // edit fields, buttons at rest, menus
  Rgb text;
  Rgb textDisabled;
  Rgb line;         // control outlines
  Rgb lineLight;    // dividers, disabled outlines
  Rgb hotFill;      // control under the mouse
  Rgb pressedFill;  // control being pressed, menu selection
  Rgb disabledFill;
  Rgb shaft;  // scroll-bar shafts, progress tracks
  Rgb thumb;
  Rgb thumbHot;
  Rgb menuBar;
};

struct Geometry {
  int captionHeight;  // height of each top-border image = caption band
  int borderWidth;    // left, right and bottom frame thickness
  int cornerRadius;   // rounded top corners (0 = square, no cut-out)
  int captionButton;  // side of a caption button cell
  int menuHeight;     // height of each menu-bar image
  int scrollSize;     // scroll-bar arrow cell and shaft thickness
};

struct Theme {
  Variant variant;
  std::string skinName;
  Palette colours;
  Geometry sizes;
};

const Theme& ThemeOf(Variant variant);

}  // namespace skingen
