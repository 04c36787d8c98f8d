// A window with status bars, progress bars and track bars in several states,
// for tests that look at how they are drawn (plain or skinned). Positions
// are fixed so screenshots compare.
#pragma once

#include "gui/Form.h"
#include "gui/ProgressBar.h"
#include "gui/StatusBar.h"
#include "gui/TrackBar.h"

namespace fw {

struct TBarGallery {
  TForm* form = nullptr;
  TStatusBar* panels = nullptr;          // three panels: lowered left, raised centred, plain right-aligned
  TStatusBar* rightToLeft = nullptr;     // right-to-left bar: its left-justified panel shows on the right
  TStatusBar* simple = nullptr;          // simple text with a size grip
  TStatusBar* blank = nullptr;           // simple, empty text
  TProgressBar* half = nullptr;          // 0..100 at 50
  TProgressBar* offset = nullptr;        // 20..120 at 70
  TProgressBar* negative = nullptr;      // -50..50 at 25
  TProgressBar* empty = nullptr;         // 0..100 at 0
  TProgressBar* full = nullptr;          // 0..100 at 100
  TProgressBar* standing = nullptr;      // vertical, 0..100 at 30
  TProgressBar* standingFull = nullptr;  // vertical, -10..10 at 10
  TTrackBar* track = nullptr;            // 0..10 at 3
  TTrackBar* trackVertical = nullptr;    // 0..20 at 15
};

// Builds the gallery form, owned by `owner` (null: the caller deletes
// gallery.form), its window made but not shown.
TBarGallery MakeBarGallery(TComponent* owner);

}  // namespace fw
