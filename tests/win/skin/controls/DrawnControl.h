// What a skinned object draws for its window, read back from memory: the
// drawing tests check the picture pixel by pixel.
#pragma once

#include <windows.h>

#include "skin/archive/Bitmap.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

// The object's drawing at the window's size, over `background`, so that
// what it leaves undrawn shows.
TBitmap DrawnPicture(TSkinControl& object, HWND window, TPixel background);

}  // namespace skin
