// What the look tests share: the skin the build makes, Wine paths for files
// the build names, where captures are left for looking at, and comparison
// of a capture with its stored picture.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/model/WinSkinData.h"

namespace skin::look {

// A Unix path as Wine's Z: drive sees it; other paths as they are.
inline std::string WinePath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return !path.empty() && path[0] == '\\' ? "Z:" + path : path;
}

// A file beside the test program (captures stay out of the source tree).
inline std::string BesideProgram(const std::string& name) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string dir(exe);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

// Each channel within `tolerance`.
inline bool Near(TPixel a, TPixel b, int tolerance) {
  return std::abs(PixelRed(a) - PixelRed(b)) <= tolerance &&
         std::abs(PixelGreen(a) - PixelGreen(b)) <= tolerance &&
         std::abs(PixelBlue(a) - PixelBlue(b)) <= tolerance;
}

// Reads the skin the build made into `data`; says why when it cannot (the
// test is skipped then).
std::optional<std::string> ReadBuiltSkin(TSkinData& data);

// The stored picture NAME.bmp in the folder "reference" beside a test's source file.
std::string ReferenceBeside(const char* sourceFile, const std::string& name);

// The client area of a window as the screen shows it.
TBitmap ClientShot(HWND window);

// Keeps `shot` beside the program as NAME.bmp and compares it with the
// stored picture at `reference`: outside the `text` areas every channel
// within 2; inside them anti-aliasing may differ, at most one pixel in 50 of
// their area further than 48 off.
void ExpectLooksLikeReference(const TBitmap& shot, const std::string& reference, const std::string& name,
                              const std::vector<TRect>& text);
// The same for pictures whose text lies anywhere: at most `slight` pixels
// further than 2 off, and `strong` further than 64.
void ExpectNearReference(const TBitmap& shot, const std::string& reference, const std::string& name,
                         int slight, int strong);

}  // namespace skin::look
