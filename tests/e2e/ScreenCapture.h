// Where the program's windows lie on the screen and what the display shows
// there, for checks of the skinned windows.
#pragma once

#include <windows.h>

#include "Harness.h"
#include "skin/archive/Bitmap.h"

namespace e2e {

// A rectangle of the screen as the display shows it.
skin::TBitmap Capture(const RECT& r);
// A window's rectangle on the screen.
RECT ScreenRect(HWND window);
// A window's client area on the screen.
RECT ClientOnScreen(HWND window);
POINT CentreOf(const RECT& r);
// Asks the run's screenshot taker (the script around the driver) for a
// picture of the whole display, saved as NAME.png in the run's folder.
void Screenshot(const Context& ctx, const char* name);

}  // namespace e2e
