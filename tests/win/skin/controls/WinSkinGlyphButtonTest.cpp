// Skinned bit, speed and menu buttons under Wine, on the framework's gallery
// window. Drawing: each button drawn into a memory DC with a skin whose strip
// images are solid colours, read back: which strip image, where the glyph
// went and which of its images, the embossed disabled glyph, the drop-down
// arrow. Looks with our own skin: the gallery's buttons compared with a
// stored reference. Input: real clicks on the speed button.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gui/ControlGallery.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

using look::BesideProgram;
using look::Near;
using look::WinePath;

constexpr TPixel kImage[kButtonFaceCount + 1] = {0,          0x00E0E0E0, 0x00A0A0F0,
                                                 0x00C8C8C8, 0x00F0E0A0, 0x00E0F0E0};
constexpr TPixel kFaceColour = 0x00B0B0B0;  // the skin's ButtonFace as a pixel
// The gallery's glyph images (MakeTestGlyph): green, grey, blue, red squares on magenta.
constexpr TPixel kGlyph[5] = {0, 0x0000A000, 0x00808080, 0x000000C8, 0x00C80000};

void FillButtonSkin(TSkinData& data) {
  TBitmap strip(30 * kButtonFaceCount, 22);
  for (int k = 1; k <= kButtonFaceCount; ++k) strip.FillRect(Rect(30 * (k - 1), 0, 30 * k, 22), kImage[k]);
  data.Button.Map = strip;
  data.Button.frame = kButtonFaceCount;
  data.Button.r = Rect(3, 3, 3, 3);
  data.Colors[3] = static_cast<TColor>(PixelToColor(kFaceColour));
  data.Colors[4] = 0;
  data.SetOptions(0);
  data.Empty = false;
}

TBitmap DrawWindowed(TSkinButton& b, const fw::TControl& c) {
  TDibSection dib(c.Width(), c.Height());
  b.DrawControl(dib.DC(), RECT{0, 0, c.Width(), c.Height()});
  return dib.ToBitmap();
}

TBitmap DrawSpeed(TSkinSpeedButton& b, const fw::TControl& c) {
  TDibSection dib(c.Width(), c.Height());
  b.DrawSpeedbtn(dib.DC(), RECT{0, 0, c.Width(), c.Height()});
  return dib.ToBitmap();
}

// The bounding box of the pixels of one colour in columns [from, to); empty when there are none.
TRect BoxOf(const TBitmap& bmp, TPixel colour, int from = 0, int to = 1 << 20) {
  TRect box = Rect(bmp.Width(), bmp.Height(), -1, -1);
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = std::max(from, 0); x < std::min(to, bmp.Width()); ++x)
      if (bmp.Pixel(x, y) == colour) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Right < 0 ? TRect{} : box;
}

// The bounding box of dark pixels (caption ink, anti-aliased or not) in columns [from, to).
TRect DarkBox(const TBitmap& bmp, int from = 0, int to = 1 << 20) {
  TRect box = Rect(bmp.Width(), bmp.Height(), -1, -1);
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = std::max(from, 0); x < std::min(to, bmp.Width()); ++x) {
      TPixel p = bmp.Pixel(x, y);
      if (PixelRed(p) + PixelGreen(p) + PixelBlue(p) >= 300) continue;
      box.Left = std::min(box.Left, x);
      box.Top = std::min(box.Top, y);
      box.Right = std::max(box.Right, x + 1);
      box.Bottom = std::max(box.Bottom, y + 1);
    }
  return box.Right < 0 ? TRect{} : box;
}

void Pump(DWORD ms = 40) {
  fw::test::PumpAsProgram(static_cast<int>(ms));
}

class GlyphButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    FillButtonSkin(data);
    gallery = fw::MakeControlGallery(nullptr);
    gallery.form->Show();
    SetForegroundWindow(gallery.form->Handle());
    bit = new TSkinBitButton(gallery.bitButton);
    bit->Init(nullptr, &data, false);
    disabledBit = new TSkinBitButton(gallery.disabledBitButton);
    disabledBit->Init(nullptr, &data, false);
    speed = new TSkinSpeedButton(gallery.speedButton);
    speed->InitGraphicControl(nullptr, &data);
    flat = new TSkinSpeedButton(gallery.flatSpeedButton);
    flat->InitGraphicControl(nullptr, &data);
    down = new TSkinSpeedButton(gallery.downSpeedButton);
    down->InitGraphicControl(nullptr, &data);
    menu = new TSkinMenuButton(gallery.menuButton);
    menu->Init(nullptr, &data, false);
    gallery.button->SetFocus();
    Pump(30);
  }
  void TearDown() override {
    delete gallery.form;
    Pump(10);
  }

  TSkinData data{nullptr};
  fw::TControlGallery gallery;
  TSkinBitButton* bit = nullptr;  // each owned by its control
  TSkinBitButton* disabledBit = nullptr;
  TSkinSpeedButton* speed = nullptr;
  TSkinSpeedButton* flat = nullptr;
  TSkinSpeedButton* down = nullptr;
  TSkinMenuButton* menu = nullptr;
};

TEST_F(GlyphButtonTest, BitButtonPlacesItsGlyphBesideTheCaption) {
  TBitmap shot = DrawWindowed(*bit, *gallery.bitButton);
  EXPECT_EQ(shot.Pixel(2, 2), kImage[bfNormal]);
  TRect square = BoxOf(shot, kGlyph[1]);
  ASSERT_EQ(square.Width(), 10);  // the 10 x 10 square of image 1, magenta left out
  EXPECT_EQ(BoxOf(shot, kMagentaPixel), TRect{});
  // The glyph is centred vertically, its square 3 pixels into the 16 x 16 image.
  EXPECT_EQ(square.Top, (30 - 16 + 1) / 2 + 3);
  // Margin -1 and Spacing 4 centre glyph and caption together: the glyph's
  // left edge and the caption's right edge are as far from the button's edges.
  int glyphLeft = square.Left - 3;
  TRect ink = DarkBox(shot, square.Right + 3);  // the caption, in the font's black
  ASSERT_GT(ink.Width(), 0);
  EXPECT_GE(ink.Left, glyphLeft + 16 + 4);
  EXPECT_LE(std::abs(glyphLeft - (100 - ink.Right)), 3);
}

TEST_F(GlyphButtonTest, BitButtonShowsTheGlyphImageOfItsState) {
  bit->state = Down;
  TBitmap pressed = DrawWindowed(*bit, *gallery.bitButton);
  EXPECT_EQ(pressed.Pixel(2, 2), kImage[bfPressed]);
  // A two-image strip has no pressed image: the first one shows.
  EXPECT_GT(BoxOf(pressed, kGlyph[1]).Width(), 0);
  TBitmap disabled = DrawWindowed(*disabledBit, *gallery.disabledBitButton);
  EXPECT_EQ(disabled.Pixel(2, 2), kImage[bfDisabled]);
  EXPECT_EQ(BoxOf(disabled, kGlyph[1]), TRect{});
  EXPECT_EQ(BoxOf(disabled, kGlyph[2]).Width(), 10);
}

// A picture property is drawn whole (no strip), and the default flag does not choose the focused image.
TEST_F(GlyphButtonTest, PicturePropertyIsDrawnWhole) {
  bit->PicField = L"Glyph";
  gallery.bitButton->SetDefault(true);
  TBitmap shot = DrawWindowed(*bit, *gallery.bitButton);
  EXPECT_EQ(shot.Pixel(2, 2), kImage[bfNormal]);
  TRect first = BoxOf(shot, kGlyph[1]), second = BoxOf(shot, kGlyph[2]);
  ASSERT_EQ(first.Width(), 10);
  ASSERT_EQ(second.Width(), 10);
  EXPECT_EQ(second.Left - first.Left, 16);
  bit->PicField = L"NoSuchPicture";
  EXPECT_EQ(BoxOf(DrawWindowed(*bit, *gallery.bitButton), kGlyph[1]), TRect{});
}

TEST_F(GlyphButtonTest, DisabledSingleImageGlyphIsEmbossed) {
  fw::TBitmap single;
  fw::MakeTestGlyph(single, 1);
  gallery.disabledBitButton->SetGlyph(single);
  gallery.disabledBitButton->SetNumGlyphs(1);
  TBitmap shot = DrawWindowed(*disabledBit, *gallery.disabledBitButton);
  EXPECT_EQ(BoxOf(shot, kGlyph[1]), TRect{});
  // The glyph lies left of x 31 (margin (100 - 16 - 4 - caption) div 2 with a caption of about 56).
  TRect shadow = BoxOf(shot, ColorToPixel(GetSysColor(COLOR_BTNSHADOW)), 0, 31);
  ASSERT_EQ(shadow.Width(), 10);
  // The highlight shows one pixel right of and below the shape.
  EXPECT_EQ(shot.Pixel(shadow.Right, shadow.Bottom), ColorToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(GlyphButtonTest, SpeedButtonFacesAndGlyphs) {
  TBitmap idle = DrawSpeed(*speed, *gallery.speedButton);
  EXPECT_EQ(idle.Pixel(2, 2), kImage[bfNormal]);
  EXPECT_EQ(BoxOf(idle, kGlyph[1]).Width(), 10);
  gallery.speedButton->Perform(fw::CM_MOUSEENTER, 0, 0);
  TBitmap hot = DrawSpeed(*speed, *gallery.speedButton);
  EXPECT_EQ(hot.Pixel(2, 2), kImage[bfHot]);
  gallery.speedButton->Perform(fw::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(speed->state, 0);
  gallery.speedButton->SetEnabled(false);
  TBitmap disabled = DrawSpeed(*speed, *gallery.speedButton);
  EXPECT_EQ(disabled.Pixel(2, 2), kImage[bfDisabled]);
  EXPECT_EQ(BoxOf(disabled, kGlyph[2]).Width(), 10);
}

TEST_F(GlyphButtonTest, FlatSpeedButtonShowsOnlyItsBackgroundUntilHovered) {
  TBitmap idle = DrawSpeed(*flat, *gallery.flatSpeedButton);
  EXPECT_EQ(idle.Pixel(2, 2), kFaceColour);
  gallery.flatSpeedButton->Perform(fw::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(DrawSpeed(*flat, *gallery.flatSpeedButton).Pixel(2, 2), kImage[bfHot]);
}

TEST_F(GlyphButtonTest, DownSpeedButtonShowsPressedEvenDisabled) {
  fw::TBitmap glyph;
  fw::MakeTestGlyph(glyph, 4);
  gallery.downSpeedButton->SetGlyph(glyph);
  gallery.downSpeedButton->SetNumGlyphs(4);
  gallery.downSpeedButton->SetEnabled(false);
  TBitmap shot = DrawSpeed(*down, *gallery.downSpeedButton);
  EXPECT_EQ(shot.Pixel(2, 2), kImage[bfPressed]);
  EXPECT_EQ(BoxOf(shot, kGlyph[4]).Width(), 10);  // the "down" glyph
}

TEST_F(GlyphButtonTest, RealClicksOnBitAndSpeedButtonsClickOnce) {
  using namespace fw::test;
  int bitClicks = 0, speedClicks = 0;
  gallery.bitButton->OnClick.handler = [&](fw::TObject*) { ++bitClicks; };
  gallery.speedButton->OnClick.handler = [&](fw::TObject*) { ++speedClicks; };
  ClickAt(CentreOf(*gallery.bitButton));
  EXPECT_TRUE(PumpUntil([&] { return bitClicks > 0; }));
  Pump(60);
  EXPECT_EQ(bitClicks, 1);
  EXPECT_EQ(GetCapture(), nullptr);

  MoveMouse(CentreOf(*gallery.speedButton));
  EXPECT_TRUE(PumpUntil([&] { return (speed->state & Hot) != 0; }));
  MouseButton(true);
  EXPECT_TRUE(PumpUntil([&] { return (speed->state & Down) != 0; }));
  MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return speedClicks > 0; }));
  Pump(60);
  EXPECT_EQ(speedClicks, 1);
  EXPECT_EQ(speed->state & Down, 0);

  // Pressed, dragged off, released: no click, no pressed look, not hot.
  MouseButton(true);
  POINT away = ScreenPointOf(*gallery.speedButton, 30, 80);
  MoveMouse(away);
  EXPECT_TRUE(PumpUntil([&] { return (speed->state & Down) == 0; }));
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(speedClicks, 1);
  EXPECT_EQ(speed->state, 0);
}

TEST_F(GlyphButtonTest, MenuButtonDrawsItsArrowAndShowsFocusAsHot) {
  TBitmap shot = DrawWindowed(*menu, *gallery.menuButton);
  EXPECT_EQ(shot.Pixel(2, 2), kImage[bfNormal]);
  // The caption and then the arrow, in one row.
  TRect ink = DarkBox(shot);
  EXPECT_GT(ink.Width(), 20);
  // Without a caption only the arrow is left: with the default spacing 4 the
  // margin is (100 - (2 x 4 + 8)) div 2 = 42, the arrow centred at x 42 + 4 + 2 x 4 = 54, y (30 - 3) div 2.
  gallery.menuButton->SetCaption(L"");
  shot = DrawWindowed(*menu, *gallery.menuButton);
  TRect arrow = DarkBox(shot);
  EXPECT_EQ(arrow, Rect(51, 12, 58, 16));
  EXPECT_EQ(shot.Pixel(54, 15), ColorToPixel(GetSysColor(COLOR_WINDOWTEXT)));
  gallery.menuButton->SetFocus();
  EXPECT_EQ(DrawWindowed(*menu, *gallery.menuButton).Pixel(2, 2), kImage[bfHot]);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// The gallery's push-button family in our own skin, each in the looks it
// can show, side by side in rows of cells; compared with
// tests/win/reference/button-gallery.bmp.
TEST(GlyphButtonLookTest, GalleryButtonsMatchTheReference) {
  TSkinData data(nullptr);
  if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
  ASSERT_FALSE(data.Empty);
  fw::TControlGallery g = fw::MakeControlGallery(nullptr);
  g.form->Show();
  SetForegroundWindow(g.form->Handle());
  auto windowed = [&](fw::TWinControl*, TSkinButton* s) {
    s->Init(nullptr, &data, false);
    return s;
  };
  TSkinButton* button = windowed(g.button, new TSkinButton(g.button));
  TSkinButton* defaultButton = windowed(g.defaultButton, new TSkinButton(g.defaultButton));
  TSkinButton* disabledButton = windowed(g.disabledButton, new TSkinButton(g.disabledButton));
  TSkinButton* bit = windowed(g.bitButton, new TSkinBitButton(g.bitButton));
  TSkinButton* disabledBit = windowed(g.disabledBitButton, new TSkinBitButton(g.disabledBitButton));
  TSkinButton* menu = windowed(g.menuButton, new TSkinMenuButton(g.menuButton));
  auto graphic = [&](fw::TGraphicControl* c) {
    auto* s = new TSkinSpeedButton(c);
    s->InitGraphicControl(nullptr, &data);
    return s;
  };
  TSkinSpeedButton* speed = graphic(g.speedButton);
  TSkinSpeedButton* flat = graphic(g.flatSpeedButton);
  TSkinSpeedButton* down = graphic(g.downSpeedButton);
  TSkinSpeedButton* disabledSpeed = graphic(g.disabledSpeedButton);
  g.form->SetFocus();

  struct Cell {
    fw::TControl* control;
    TSkinButton* skin;
    uint8_t state;
  };
  const std::vector<std::vector<Cell>> rows = {
      {{g.button, button, 0},
       {g.button, button, Hot},
       {g.button, button, Down},
       {g.defaultButton, defaultButton, 0},
       {g.disabledButton, disabledButton, 0}},
      {{g.bitButton, bit, 0},
       {g.bitButton, bit, Hot},
       {g.bitButton, bit, Down},
       {g.disabledBitButton, disabledBit, 0},
       {g.menuButton, menu, 0},
       {g.menuButton, menu, Hot}},
      {{g.speedButton, speed, 0},
       {g.speedButton, speed, Hot},
       {g.speedButton, speed, Down},
       {g.flatSpeedButton, flat, 0},
       {g.flatSpeedButton, flat, Hot},
       {g.downSpeedButton, down, 0},
       {g.disabledSpeedButton, disabledSpeed, 0}},
  };
  constexpr int kCellW = 108, kCellH = 34;
  TDibSection sheet(7 * kCellW, static_cast<int>(rows.size()) * kCellH);
  RECT all{0, 0, sheet.Width(), sheet.Height()};
  FillRect(sheet.DC(), &all, GetSysColorBrush(COLOR_BTNFACE));
  std::vector<TRect> cells;
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t i = 0; i < rows[r].size(); ++i) {
      const Cell& c = rows[r][i];
      c.skin->state = c.state;
      TDibSection one(c.control->Width(), c.control->Height());
      RECT rc{0, 0, c.control->Width(), c.control->Height()};
      if (auto* s = dynamic_cast<TSkinSpeedButton*>(c.skin))
        s->DrawSpeedbtn(one.DC(), rc);
      else
        c.skin->DrawControl(one.DC(), rc);
      int x = static_cast<int>(i) * kCellW, y = static_cast<int>(r) * kCellH;
      BitBlt(sheet.DC(), x, y, rc.right, rc.bottom, one.DC(), 0, 0, SRCCOPY);
      cells.push_back(Rect(x, y, x + rc.right, y + rc.bottom));
    }
  TBitmap shot = sheet.ToBitmap();
  std::vector<uint8_t> bmp = shot.SaveToBmp();
  std::ofstream(BesideProgram("button-gallery.bmp"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  delete g.form;

  std::ifstream in(WinePath(std::string(QM_WIN_REFERENCE_DIR) + "/button-gallery.bmp"), std::ios::binary);
  ASSERT_TRUE(in) << "no reference; the capture is " << BesideProgram("button-gallery.bmp");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap reference;
  ASSERT_TRUE(reference.LoadFromBmp(bytes));
  ASSERT_EQ(shot.Width(), reference.Width());
  ASSERT_EQ(shot.Height(), reference.Height());
  // Each button's outer 3-pixel ring is the skin's alone and must match; the
  // inside holds captions, which may differ by anti-aliasing.
  int ringDiffers = 0, insideDiffers = 0, inside = 0;
  for (const TRect& c : cells)
    for (int y = c.Top; y < c.Bottom; ++y)
      for (int x = c.Left; x < c.Right; ++x) {
        bool ring = x < c.Left + 3 || x >= c.Right - 3 || y < c.Top + 3 || y >= c.Bottom - 3;
        inside += !ring;
        if (Near(shot.Pixel(x, y), reference.Pixel(x, y), ring ? 2 : 48)) continue;
        ++(ring ? ringDiffers : insideDiffers);
      }
  EXPECT_EQ(ringDiffers, 0);
  EXPECT_LE(insideDiffers, inside / 50);
}

}  // namespace
}  // namespace skin
