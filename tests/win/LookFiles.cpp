#include "win/LookFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skin/archive/Streams.h"
#include "skin/form/WinSkinDraw.h"

namespace skin::look {

namespace {

// Keeps the capture and reads the stored picture into `stored` (`loaded`
// then true); a missing one, or one of another size, fails the test.
void KeepAndLoad(const TBitmap& shot, const std::string& reference, const std::string& name, TBitmap& stored,
                 bool& loaded) {
  std::vector<uint8_t> bytes = shot.SaveToBmp();
  const std::string capture = BesideProgram(name + ".bmp");
  std::ofstream(capture, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::ifstream in(reference, std::ios::binary);
  ASSERT_TRUE(in) << "no reference " << reference << "; the capture is " << capture;
  std::vector<uint8_t> read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(stored.LoadFromBmp(read)) << reference;
  ASSERT_EQ(shot.Width(), stored.Width()) << name;
  ASSERT_EQ(shot.Height(), stored.Height()) << name;
  loaded = true;
}

}  // namespace

std::optional<std::string> ReadBuiltSkin(TSkinData& data) {
  const std::string path = QM_SKIN_FILE;
  if (path.empty()) return "no skin was built";
  TMemoryStream stored;
  try {
    stored.LoadFromFile(WinePath(path));
  } catch (const std::exception& e) {
    return std::string("skin not readable: ") + e.what();
  }
  data.ReadSkinStream(stored);
  return std::nullopt;
}

std::string ReferenceBeside(const char* sourceFile, const std::string& name) {
  const std::string here = WinePath(sourceFile);
  return here.substr(0, here.find_last_of('\\')) + "\\reference\\" + name + ".bmp";
}

TBitmap ClientShot(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HDC screen = GetDC(nullptr);
  TBitmap shot = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
  ReleaseDC(nullptr, screen);
  return shot;
}

void ExpectLooksLikeReference(const TBitmap& shot, const std::string& reference, const std::string& name,
                              const std::vector<TRect>& text) {
  TBitmap stored;
  bool loaded = false;
  KeepAndLoad(shot, reference, name, stored, loaded);
  if (!loaded) return;
  int outside = 0, inside = 0, textArea = 0;
  for (const TRect& t : text) textArea += t.Width() * t.Height();
  for (int32_t y = 0; y < shot.Height(); ++y)
    for (int32_t x = 0; x < shot.Width(); ++x) {
      bool inText = false;
      for (const TRect& t : text) inText |= x >= t.Left && x < t.Right && y >= t.Top && y < t.Bottom;
      if (Near(shot.Pixel(x, y), stored.Pixel(x, y), inText ? 48 : 2)) continue;
      ++(inText ? inside : outside);
    }
  const std::string capture = BesideProgram(name + ".bmp");
  EXPECT_EQ(outside, 0) << name << ": pixels outside the texts differ from the reference; the capture is "
                        << capture;
  EXPECT_LE(inside, textArea / 50) << name << ": text pixels differ from the reference; the capture is "
                                   << capture;
}

void ExpectNearReference(const TBitmap& shot, const std::string& reference, const std::string& name,
                         int slight, int strong) {
  TBitmap stored;
  bool loaded = false;
  KeepAndLoad(shot, reference, name, stored, loaded);
  if (!loaded) return;
  int offSlightly = 0, offStrongly = 0;
  for (int32_t y = 0; y < shot.Height(); ++y)
    for (int32_t x = 0; x < shot.Width(); ++x) {
      if (Near(shot.Pixel(x, y), stored.Pixel(x, y), 2)) continue;
      ++offSlightly;
      offStrongly += Near(shot.Pixel(x, y), stored.Pixel(x, y), 64) ? 0 : 1;
    }
  EXPECT_LE(offSlightly, slight) << name << ": pixels differ from the reference";
  EXPECT_LE(offStrongly, strong) << name << ": pixels differ strongly from the reference";
}

}  // namespace skin::look
