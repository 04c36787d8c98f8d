// The drawing primitives on real device contexts: each test draws into a
// memory DC holding a DIB section and reads the pixels back.
#include "skin/form/WinSkinDraw.h"

#include <gtest/gtest.h>

#include "skin/form/WinPlatform.h"

namespace skin {
namespace {

constexpr TPixel kRed = MakePixel(200, 0, 0);
constexpr TPixel kGreen = MakePixel(0, 180, 0);
constexpr TPixel kBlue = MakePixel(0, 0, 220);
constexpr TPixel kGrey = MakePixel(90, 90, 90);

// A memory DC with a DIB section of its own selected, filled with grey.
class Surface {
 public:
  Surface(int32_t width, int32_t height) : section_(TBitmap(width, height, kGrey)) {
    originalBitmap_ = GetCurrentObject(section_.DC(), OBJ_BITMAP);
    originalBrush_ = GetCurrentObject(section_.DC(), OBJ_BRUSH);
    originalPen_ = GetCurrentObject(section_.DC(), OBJ_PEN);
    originalFont_ = GetCurrentObject(section_.DC(), OBJ_FONT);
  }
  HDC DC() const { return section_.DC(); }
  TBitmap Pixels() const { return section_.ToBitmap(); }
  // Nothing the primitives selected is left in the DC.
  void ExpectNothingLeftSelected() const {
    EXPECT_EQ(GetCurrentObject(DC(), OBJ_BITMAP), originalBitmap_);
    EXPECT_EQ(GetCurrentObject(DC(), OBJ_BRUSH), originalBrush_);
    EXPECT_EQ(GetCurrentObject(DC(), OBJ_PEN), originalPen_);
    EXPECT_EQ(GetCurrentObject(DC(), OBJ_FONT), originalFont_);
  }

 private:
  TDibSection section_;
  HGDIOBJ originalBitmap_, originalBrush_, originalPen_, originalFont_;
};

// One 10 x 10 image: 3-pixel corners red, edges green, middle a blue/black
// column pattern so tiling and stretching look different.
TBitmap FramedImage() {
  TBitmap b(10, 10, kGreen);
  for (int32_t y = 3; y < 7; ++y)
    for (int32_t x = 3; x < 7; ++x) b.SetPixel(x, y, x % 2 ? kBlue : MakePixel(0, 0, 0));
  b.FillRect(Rect(0, 0, 3, 3), kRed);
  b.FillRect(Rect(7, 0, 10, 3), kRed);
  b.FillRect(Rect(0, 7, 3, 10), kRed);
  b.FillRect(Rect(7, 7, 10, 10), kRed);
  return b;
}

TBitmap FourFrames() {
  TBitmap b(40, 8);
  const TPixel colours[4] = {kRed, kGreen, kBlue, MakePixel(250, 250, 0)};
  for (int k = 0; k < 4; ++k) b.FillRect(Rect(k * 10, 0, k * 10 + 10, 8), colours[k]);
  return b;
}

int CountPixels(const TBitmap& b, const TRect& area, TPixel p) {
  int n = 0;
  for (int32_t y = area.Top; y < area.Bottom; ++y)
    for (int32_t x = area.Left; x < area.Right; ++x) n += b.Pixel(x, y) == p;
  return n;
}

TEST(WinSkinDraw, MarginsAreNeverScaled) {
  Surface s(60, 50);
  const TRect target = Rect(5, 4, 5 + 41, 4 + 33);
  DrawSkinImage(s.DC(), target, FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, false, false);
  TBitmap px = s.Pixels();
  // Each corner is exactly 3 x 3 red at the target's corners.
  EXPECT_EQ(CountPixels(px, Rect(5, 4, 8, 7), kRed), 9);
  EXPECT_EQ(CountPixels(px, Rect(43, 4, 46, 7), kRed), 9);
  EXPECT_EQ(CountPixels(px, Rect(5, 34, 8, 37), kRed), 9);
  EXPECT_EQ(CountPixels(px, Rect(43, 34, 46, 37), kRed), 9);
  EXPECT_EQ(CountPixels(px, Rect(0, 0, 60, 50), kRed), 36);
  // Edges stay 3 wide; the grey outside the target is untouched.
  EXPECT_EQ(px.Pixel(8, 5), kGreen);
  EXPECT_EQ(px.Pixel(20, 36), kGreen);
  EXPECT_EQ(px.Pixel(7, 20), kGreen);
  EXPECT_EQ(px.Pixel(8, 20) == kGreen, false);
  EXPECT_EQ(px.Pixel(4, 20), kGrey);
  EXPECT_EQ(px.Pixel(46, 20), kGrey);
  EXPECT_EQ(px.Pixel(20, 37), kGrey);
  s.ExpectNothingLeftSelected();
}

TEST(WinSkinDraw, DeviceResultMatchesThePortableComposition) {
  for (bool tile : {false, true}) {
    Surface s(50, 40);
    const TRect target = Rect(2, 3, 2 + 37, 3 + 29);
    DrawSkinImage(s.DC(), target, FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, tile, false);
    TBitmap expected = BuildSkinBitmap(target, FramedImage(), Rect(3, 3, 3, 3), 1, 1, tile, false);
    EXPECT_EQ(s.Pixels().Crop(target), expected) << "tile " << tile;
  }
}

TEST(WinSkinDraw, TilingRepeatsTheMiddleWhereStretchingScalesIt) {
  Surface tiled(40, 20), stretched(40, 20);
  const TRect target = Rect(0, 0, 30, 10);
  DrawSkinImage(tiled.DC(), target, FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, true, false);
  DrawSkinImage(stretched.DC(), target, FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, false, false);
  TBitmap t = tiled.Pixels(), st = stretched.Pixels();
  // Tiled: middle column i shows source column 3 + i mod 4 at its own size.
  for (int32_t i = 0; i < 24; ++i)
    EXPECT_EQ(t.Pixel(3 + i, 5), (3 + i % 4) % 2 ? kBlue : MakePixel(0, 0, 0)) << i;
  // Stretched: the four middle columns widen to runs of six.
  EXPECT_EQ(st.Pixel(3, 5), st.Pixel(8, 5));
  EXPECT_NE(st.Pixel(3, 5), st.Pixel(9, 5));
  EXPECT_NE(t.Crop(target), st.Crop(target));
}

TEST(WinSkinDraw, TheKthFrameOfAStrip) {
  const TPixel colours[4] = {kRed, kGreen, kBlue, MakePixel(250, 250, 0)};
  for (int k = 1; k <= 4; ++k) {
    Surface s(30, 30);
    DrawSkinFrame(s.DC(), Rect(4, 4, 24, 20), FourFrames(), k, 4, false);
    TBitmap px = s.Pixels();
    EXPECT_EQ(CountPixels(px, Rect(4, 4, 24, 20), colours[k - 1]), 20 * 16) << k;
    EXPECT_EQ(px.Pixel(3, 3), kGrey);
  }
  // Indexes outside 1..frames are clamped.
  Surface low(20, 20), high(20, 20);
  DrawSkinFrame(low.DC(), Rect(0, 0, 10, 10), FourFrames(), 0, 4, false);
  DrawSkinFrame(high.DC(), Rect(0, 0, 10, 10), FourFrames(), 9, 4, false);
  EXPECT_EQ(low.Pixels().Pixel(5, 5), kRed);
  EXPECT_EQ(high.Pixels().Pixel(5, 5), MakePixel(250, 250, 0));
}

TEST(WinSkinDraw, CentredFrameKeepsItsSize) {
  Surface s(40, 40);
  DrawSkinFrameCentered(s.DC(), Rect(0, 0, 31, 21), FourFrames(), 3, 4, false);
  TBitmap px = s.Pixels();
  // A 10 x 8 image in 31 x 21: left (31 - 10) / 2 = 10, top (21 - 8) / 2 = 6.
  EXPECT_EQ(CountPixels(px, Rect(0, 0, 40, 40), kBlue), 80);
  EXPECT_EQ(CountPixels(px, Rect(10, 6, 20, 14), kBlue), 80);
}

TEST(WinSkinDraw, MagentaIsLeftOut) {
  Surface s(20, 20);
  TBitmap picture(10, 10, kBlue);
  picture.FillRect(Rect(0, 0, 5, 10), kMagentaPixel);
  DrawTransparent(s.DC(), Rect(3, 3, 13, 13), picture, static_cast<TColor>(PixelToColor(kMagentaPixel)));
  TBitmap px = s.Pixels();
  EXPECT_EQ(CountPixels(px, Rect(3, 3, 8, 13), kGrey), 50);
  EXPECT_EQ(CountPixels(px, Rect(8, 3, 13, 13), kBlue), 50);
  EXPECT_EQ(CountPixels(px, Rect(0, 0, 20, 20), kMagentaPixel), 0);
  // Through a strip primitive with its transparent flag, too.
  Surface strip(20, 20);
  DrawSkinFrame(strip.DC(), Rect(0, 0, 10, 10), picture, 1, 1, true);
  EXPECT_EQ(CountPixels(strip.Pixels(), Rect(0, 0, 5, 10), kGrey), 50);
  strip.ExpectNothingLeftSelected();
}

TEST(WinSkinDraw, ThreePartStripRepeatsItsMiddle) {
  TBitmap image(9, 4, kGreen);
  image.FillRect(Rect(0, 0, 2, 4), kRed);
  image.FillRect(Rect(7, 0, 9, 4), kBlue);
  image.SetPixel(2, 0, MakePixel(1, 2, 3));
  Surface s(40, 20);
  DrawTiledStrip(s.DC(), Rect(0, 0, 30, 8), image, Rect(2, 0, 2, 0), 1, 1, false, false);
  TBitmap px = s.Pixels();
  EXPECT_EQ(CountPixels(px, Rect(0, 0, 2, 8), kRed), 16);
  EXPECT_EQ(CountPixels(px, Rect(28, 0, 30, 8), kBlue), 16);
  // The middle (5 wide) starts again every 5 pixels, stretched only vertically.
  EXPECT_EQ(px.Pixel(2, 0), MakePixel(1, 2, 3));
  EXPECT_EQ(px.Pixel(7, 0), MakePixel(1, 2, 3));
  EXPECT_EQ(px.Pixel(2, 2), kGreen);
  EXPECT_EQ(px.Pixel(30, 0), kGrey);
}

TEST(WinSkinDraw, TilingWithAnEmptySourceDrawsNothingAndEnds) {
  Surface s(20, 20);
  TileBitmap(s.DC(), Rect(0, 0, 20, 20), FramedImage(), Rect(3, 3, 3, 9));
  TileBitmap(s.DC(), Rect(0, 0, 20, 20), FramedImage(), Rect(5, 5, 2, 9));
  EXPECT_EQ(CountPixels(s.Pixels(), Rect(0, 0, 20, 20), kGrey), 400);
  TileBitmap(s.DC(), Rect(1, 1, 8, 8), FramedImage(), Rect(0, 0, 3, 3));
  // 3 x 3 tiles from (1, 1) while x < 8: at 1, 4, 7 -> the last one runs to 10.
  EXPECT_EQ(CountPixels(s.Pixels(), Rect(0, 0, 20, 20), kRed), 81);
}

TEST(WinSkinDraw, InvertedTargetsDrawNothing) {
  Surface s(20, 20);
  DrawSkinImage(s.DC(), Rect(10, 10, 5, 15), FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, false, false);
  DrawSkinFrame(s.DC(), Rect(10, 10, 15, 5), FourFrames(), 1, 4, false);
  DrawTransparent(s.DC(), Rect(10, 10, 5, 5), FourFrames(), 0);
  DrawThreeSliceBar(s.DC(), Rect(10, 10, 5, 5), FourFrames(), false, 4, 1, Rect(2, 0, 2, 0));
  DrawSkinImage(s.DC(), Rect(3, 3, 3, 3), FramedImage(), Rect(3, 3, 3, 3), 1, 1, false, false, false);
  EXPECT_EQ(CountPixels(s.Pixels(), Rect(0, 0, 20, 20), kGrey), 400);
}

TEST(WinSkinDraw, RegionFromBitmapEqualsOneBuiltByHand) {
  TBitmap b(8, 6, kBlue);
  b.FillRect(Rect(0, 0, 2, 1), kMagentaPixel);  // rounded top corners
  b.SetPixel(0, 1, kMagentaPixel);
  b.FillRect(Rect(6, 0, 8, 1), kMagentaPixel);
  b.SetPixel(7, 1, MakePixel(255, 1, 255));     // within tolerance 1: transparent too
  b.FillRect(Rect(3, 3, 5, 4), kMagentaPixel);  // a hole
  HRGN made = CreateRegionFromBitmap(b, 10, 20, static_cast<TColor>(PixelToColor(kMagentaPixel)), 1, 1, 1);
  ASSERT_NE(made, nullptr);
  HRGN hand = CreateRectRgn(12, 20, 16, 21);
  auto add = [&](int l, int t, int r, int bottom) {
    HRGN part = CreateRectRgn(l, t, r, bottom);
    CombineRgn(hand, hand, part, RGN_OR);
    DeleteObject(part);
  };
  add(11, 21, 17, 22);
  add(10, 22, 18, 23);
  add(10, 23, 13, 24);
  add(15, 23, 18, 24);
  add(10, 24, 18, 26);
  EXPECT_TRUE(EqualRgn(made, hand));
  DeleteObject(made);
  DeleteObject(hand);

  HRGN none = CreateRegionFromBitmap(TBitmap(5, 5, kMagentaPixel), 0, 0, 0xFF00FF, 0, 0, 0);
  RECT box;
  EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
  DeleteObject(none);
  HRGN full = CreateRegionFromBitmap(TBitmap(5, 4, kRed), 3, 2, 0xFF00FF, 0, 0, 0);
  HRGN rect = CreateRectRgn(3, 2, 8, 6);
  EXPECT_TRUE(EqualRgn(full, rect));
  DeleteObject(full);
  DeleteObject(rect);
}

TEST(WinSkinDraw, LargeRegionsAreUnitedInBatches) {
  // A checkerboard of 100 x 100 has 5000 one-pixel runs: three batches.
  TBitmap b(100, 100, kMagentaPixel);
  for (int32_t y = 0; y < 100; ++y)
    for (int32_t x = (y % 2); x < 100; x += 2) b.SetPixel(x, y, kRed);
  HRGN r = CreateRegionFromBitmap(b, 0, 0, 0xFF00FF, 0, 0, 0);
  for (int32_t y = 0; y < 100; y += 7)
    for (int32_t x = 0; x < 100; x += 3)
      EXPECT_EQ(PtInRegion(r, x, y) != 0, (x + y) % 2 == 0) << x << "," << y;
  DeleteObject(r);
}

TEST(WinSkinDraw, ScratchBitmapIsReferenceCounted) {
  EXPECT_EQ(ScratchBitmap(), nullptr);
  InitScratchBitmap();
  InitScratchBitmap();
  ASSERT_NE(ScratchBitmap(), nullptr);
  EXPECT_EQ(GetStretchBltMode(ScratchBitmap()->DC()), COLORONCOLOR);
  ScratchBitmap()->SetSize(30, 20);
  EXPECT_EQ(ScratchBitmap()->Width(), 30);
  FinalScratchBitmap();
  EXPECT_NE(ScratchBitmap(), nullptr);
  FinalScratchBitmap();
  EXPECT_EQ(ScratchBitmap(), nullptr);
  FinalScratchBitmap();  // one too many does nothing
  EXPECT_EQ(ScratchBitmap(), nullptr);
}

TEST(WinPlatform, LookedUpFunctionsAndTheirFallbacks) {
  EXPECT_TRUE(HasGetScrollBarInfo());
  EXPECT_TRUE(HasTrackMouseEvent());
  TWinPlatformFunctions none;
  OverrideWinPlatformFunctions(&none);
  SCROLLBARINFO info{};
  EXPECT_FALSE(SkinGetScrollBarInfo(GetDesktopWindow(), OBJID_VSCROLL, info));
  COMBOBOXINFO combo{};
  EXPECT_FALSE(SkinGetComboBoxInfo(GetDesktopWindow(), combo));
  RequestMouseLeave(GetDesktopWindow());  // nothing to call: nothing happens
  OverrideWinPlatformFunctions(nullptr);
  EXPECT_TRUE(IsWinNT());
  std::wstring out;
  CopyWide(L"abcdef", 3, out);
  EXPECT_EQ(out, L"abc");
  CopyWide(L"abcdef", -1, out);
  EXPECT_EQ(out, L"abcdef");
  AnsiToWide("skin", out);
  EXPECT_EQ(out, L"skin");
}

TEST(WinPlatform, SystemColoursComeFromTheDesktop) {
  InstallWinSkinPlatform();
  EXPECT_EQ(SkinPlatform().GetSysColor(COLOR_BTNFACE), static_cast<uint32_t>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ResolveColor(SysColor(COLOR_WINDOW)), static_cast<uint32_t>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(SkinPlatform().HorzScrollArrowWidth(), GetSystemMetrics(SM_CXHSCROLL));
}

}  // namespace
}  // namespace skin
