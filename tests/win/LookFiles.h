// What the look tests share: Wine paths for files the build names, where
// captures are left for looking at, and pixel comparison with a tolerance.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "skin/archive/Bitmap.h"

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

}  // namespace skin::look
