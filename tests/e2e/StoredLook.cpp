#include "StoredLook.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

Failure NoReference(const std::string& name) {
  return Failure("no reference " + Narrow(ReferencePath(name)) + "; the capture is in the run's folder");
}

skin::TBitmap RequireReference(const Context& ctx, const skin::TBitmap& shot, const std::string& name) {
  std::optional<skin::TBitmap> reference = KeepAndLoadReference(ctx, shot, name);
  if (!reference) throw NoReference(name);
  return *std::move(reference);
}

}  // namespace

std::wstring ReferencePath(const std::string& name) {
  std::wstring dir = WideText(QM_E2E_REFERENCE_DIR);
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  // The source folder is a Unix path: Wine shows the Unix root as drive Z.
  if (!dir.empty() && dir[0] == L'\\') dir = L"Z:" + dir;
  return dir + L"\\" + WideText(name) + L".bmp";
}

void Save(const skin::TBitmap& picture, const std::wstring& path) {
  std::vector<uint8_t> bytes = picture.SaveToBmp();
  std::ofstream out(Narrow(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int Distance(skin::TPixel a, skin::TPixel b) {
  return std::max({std::abs(skin::PixelRed(a) - skin::PixelRed(b)),
                   std::abs(skin::PixelGreen(a) - skin::PixelGreen(b)),
                   std::abs(skin::PixelBlue(a) - skin::PixelBlue(b))});
}

int Differing(const skin::TBitmap& a, const skin::TBitmap& b, int tolerance) {
  const RECT both{0, 0, std::min(a.Width(), b.Width()), std::min(a.Height(), b.Height())};
  return Differing(a, b, both, tolerance);
}

int Differing(const skin::TBitmap& a, const skin::TBitmap& b, const RECT& area, int tolerance) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += Distance(a.Pixel(x, y), b.Pixel(x, y)) > tolerance;
  return n;
}

std::optional<skin::TBitmap> KeepAndLoadReference(const Context& ctx, const skin::TBitmap& shot,
                                                  const std::string& name) {
  Save(shot, ctx.runRoot + L"\\" + WideText(name) + L".bmp");
  std::ifstream in(Narrow(ReferencePath(name)), std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  skin::TBitmap reference;
  E2E_CHECK(reference.LoadFromBmp(bytes));
  E2E_CHECK_EQ(shot.Width(), reference.Width());
  E2E_CHECK_EQ(shot.Height(), reference.Height());
  return reference;
}

void ExpectLooksAsStored(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                         Allowance allowed, std::vector<std::string>* missing) {
  std::optional<skin::TBitmap> reference = KeepAndLoadReference(ctx, shot, name);
  if (!reference) {
    if (!missing) throw NoReference(name);
    missing->push_back(name);
    return;
  }
  const int slight = Differing(shot, *reference, 2), strong = Differing(shot, *reference, 64);
  if (slight > allowed.slight || strong > allowed.strong)
    throw Failure(name + ": " + std::to_string(slight) + " pixels differ, " + std::to_string(strong) +
                  " of them strongly, from the reference");
}

void ExpectLooksAsStoredAroundText(const Context& ctx, const skin::TBitmap& shot, const std::string& name,
                                   const RECT& text, int textTolerance, int textPixels) {
  const skin::TBitmap reference = RequireReference(ctx, shot, name);
  int outside = 0, inside = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const bool inText = x >= text.left && x < text.right && y >= text.top && y < text.bottom;
      if (Distance(shot.Pixel(x, y), reference.Pixel(x, y)) > (inText ? textTolerance : 2))
        ++(inText ? inside : outside);
    }
  if (outside > 0 || inside > textPixels)
    throw Failure(name + ": " + std::to_string(outside) + " pixels outside the text and " +
                  std::to_string(inside) + " inside it differ from the reference");
}

void ExpectLooksAsStoredExactly(const Context& ctx, const skin::TBitmap& shot, const std::string& name) {
  if (!(shot == RequireReference(ctx, shot, name)))
    throw Failure(name + " differs from its reference; the capture is in the run's folder");
}

}  // namespace e2e
