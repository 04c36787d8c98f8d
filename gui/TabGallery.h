// A window of page controls with tabs on each side, button-style tabs, tabs
// with close boxes, more tabs than fit (scroll arrows), and media players,
// for tests that look at how they are drawn (plain or skinned) and work
// them with real input. Positions are fixed so screenshots compare.
#pragma once

#include <vector>

#include "gui/Form.h"
#include "gui/MediaPlayer.h"
#include "gui/PageControl.h"

namespace fw {

struct TTabGallery {
  TForm* form = nullptr;
  TPageControl* top = nullptr;      // three pages, tabs on top
  TPageControl* bottom = nullptr;   // tabs at the bottom
  TPageControl* left = nullptr;     // tabs on the left
  TPageControl* right = nullptr;    // tabs on the right
  TPageControl* buttons = nullptr;  // tabs drawn as buttons
  TPageControl* closing = nullptr;  // Tag 7777: close boxes on the tabs
  TPageControl* many = nullptr;     // more tabs than fit: scroll arrows
  TMediaPlayer* player = nullptr;   // every button, play and pause coloured, eject disabled
  TMediaPlayer* narrow = nullptr;   // 101 pixels wide, play and stop only
};

// Builds the gallery form, owned by `owner` (null: the caller deletes
// gallery.form), its window made but not shown.
TTabGallery MakeTabGallery(TComponent* owner);

}  // namespace fw
