// The screen compared with the pictures stored in tests/e2e/reference. Every
// capture compared is also kept in the run's folder under the same name, to
// be looked at when it differs, or stored when it is new.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Harness.h"
#include "skin/archive/Bitmap.h"

namespace e2e {

// The stored picture NAME.bmp, as a path the driver can open.
std::wstring ReferencePath(const std::string& name);
// A picture written as a 24-bit BMP file.
void Save(const skin::TBitmap& picture, const std::wstring& path);

// The largest difference of two pixels in one colour.
int Distance(skin::TPixel a, skin::TPixel b);
// Pixels of two pictures that differ by more than `tolerance`, over the area both cover, or over `area`.
int Differing(const skin::TBitmap& a, const skin::TBitmap& b, int tolerance = 2);
int Differing(const skin::TBitmap& a, const skin::TBitmap& b, const RECT& area, int tolerance = 2);

// Keeps `shot` in the run's folder and returns the stored picture of that
// name, nothing when none is stored. A stored picture of another size fails the case.
std::optional<skin::TBitmap> KeepAndLoadReference(const Context& ctx, const skin::TBitmap& shot,
                                                  const std::string& name);

// How many pixels may differ from the stored picture where anti-aliased
// text is drawn: `slight` by more than 2, and of those `strong` by more than 64.
struct Allowance {
  int slight = 0;
  int strong = 0;
};
// Fails unless `shot` matches the stored picture `name` within `allowed`. A
// missing picture fails too, or with `missing` is noted there, so that one
// run leaves every capture to look at.
void ExpectLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                         Allowance allowed, std::vector<std::string>* missing = nullptr);
// Fails unless `shot` matches the stored picture within 2 outside `text`,
// and inside it no more than `textPixels` pixels differ by more than `textTolerance`.
void ExpectLooksAsStoredAroundText(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                                   const RECT& text, int textTolerance, int textPixels);
// Fails unless `shot` is the stored picture pixel for pixel.
void ExpectLooksAsStoredExactly(const Context& ctx, const skin::TBitmap& shot, const std::string& name);

}  // namespace e2e
