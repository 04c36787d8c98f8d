// Reading back what the display shows, for checks of the skinned frame.
#pragma once

#include <windows.h>

#include "skin/archive/Bitmap.h"

namespace e2e {

// A rectangle of the screen as the display shows it.
skin::TBitmap Capture(const RECT& r);

}  // namespace e2e
