// A control's Color is what the user sees behind it, and setting it back
// gives the same pixels; glyph pictures come from BMP files and stored
// definitions, and bad data is refused without losing the picture held.
#include <gtest/gtest.h>

#include "gui/BitBtn.h"
#include "gui/CheckBox.h"
#include "gui/Form.h"
#include "gui/FormReader.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "gui/MenuButton.h"
#include "gui/Menus.h"
#include "gui/RadioGroup.h"
#include "gui/SpeedButton.h"
#include "win/gui/RealInput.h"

namespace fw {
namespace {

using test::Pump;
using test::ScreenPixel;

TEST(ControlColor, FormGroupBoxAndCheckBoxPaintTheirColorAndGoBackExactly) {
  TForm form(nullptr);
  form.SetClientSize(240, 140);
  form.SetBounds(150, 150, 0, 0);
  auto* box = new TGroupBox(&form);
  box->SetBounds(10, 10, 200, 100);
  box->SetCaption(L"框");
  box->SetParent(&form);
  auto* check = new TCheckBox(&form);
  check->SetBounds(10, 30, 170, 20);
  check->SetCaption(L"勾");
  check->SetParent(box);
  auto* label = new TLabel(&form);
  label->SetBounds(10, 60, 60, 16);
  label->SetParent(box);
  form.HandleNeeded();
  test::ShowInFront(form.Handle());
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Points with nothing drawn on them: the form, inside the frame, the check box right of its caption, the
  // label.
  auto formPixel = [&] { return ScreenPixel(form.Handle(), 230, 130); };
  auto boxPixel = [&] { return ScreenPixel(box->Handle(), 190, 80); };
  auto checkPixel = [&] { return ScreenPixel(check->Handle(), 160, 10); };
  auto labelPixel = [&] { return ScreenPixel(box->Handle(), 60, 70); };
  ASSERT_EQ(formPixel(), face);
  ASSERT_EQ(boxPixel(), face);
  ASSERT_EQ(checkPixel(), face);
  ASSERT_EQ(labelPixel(), face);

  // A skinned-control object sets the colour by name, as the skin engine does.
  int saved = GetIntProp(&form, L"Color");
  SetPropText(&form, L"Color", std::to_wstring(RGB(40, 90, 160)));
  Pump(50);
  EXPECT_EQ(formPixel(), RGB(40, 90, 160));
  EXPECT_EQ(boxPixel(), RGB(40, 90, 160));
  EXPECT_EQ(checkPixel(), RGB(40, 90, 160));
  EXPECT_EQ(labelPixel(), RGB(40, 90, 160));
  // A colour of its own wins over the parent's.
  SetPropText(check, L"Color", std::to_wstring(RGB(200, 30, 30)));
  Pump(50);
  EXPECT_EQ(checkPixel(), RGB(200, 30, 30));
  EXPECT_EQ(boxPixel(), RGB(40, 90, 160));

  SetPropText(&form, L"Color", std::to_wstring(saved));
  SetPropText(check, L"ParentColor", L"True");
  Pump(50);
  EXPECT_EQ(formPixel(), face);
  EXPECT_EQ(boxPixel(), face);
  EXPECT_EQ(checkPixel(), face);
  EXPECT_EQ(labelPixel(), face);
}

// A BMP file of 2 x 2 pixels, 24 bits, bottom-up: blue, green / red, white (top row first as seen).
std::vector<uint8_t> SmallBmp() {
  std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                              40,  0,   0,  0, 2, 0, 0, 0, 2, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
                              16,  0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0};
  // Bottom row: red, white; top row: blue, green. Pixels are B, G, R; rows padded to 4 bytes.
  const uint8_t rows[] = {0, 0, 255, 255, 255, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  bmp.insert(bmp.end(), std::begin(rows), std::end(rows));
  return bmp;
}

TEST(Pictures, ABmpFileLoadsWithItsPixelsTheRightWayUp) {
  TBitmap picture;
  std::vector<uint8_t> bmp = SmallBmp();
  ASSERT_TRUE(picture.LoadFromBmp(bmp.data(), bmp.size()));
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Height(), 2);
  EXPECT_EQ(picture.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(picture.Pixel(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(picture.Pixel(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(picture.Pixel(1, 1), RGB(255, 255, 255));
  // Its own file reads back the same.
  std::vector<uint8_t> saved = picture.SaveToBmp();
  TBitmap again;
  ASSERT_TRUE(again.LoadFromBmp(saved.data(), saved.size()));
  EXPECT_EQ(again.Pixel(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(again.Pixel(0, 1), RGB(255, 0, 0));
}

TEST(Pictures, BadBmpDataIsRefusedAndThePictureKept) {
  TBitmap picture;
  picture.SetSize(3, 3, RGB(1, 2, 3));
  std::vector<uint8_t> bmp = SmallBmp();
  std::vector<uint8_t> truncated(bmp.begin(), bmp.end() - 1);
  EXPECT_FALSE(picture.LoadFromBmp(truncated.data(), truncated.size()));
  std::vector<uint8_t> notBmp = bmp;
  notBmp[0] = 'X';
  EXPECT_FALSE(picture.LoadFromBmp(notBmp.data(), notBmp.size()));
  std::vector<uint8_t> hugeWidth = bmp;
  hugeWidth[18] = 0xFF, hugeWidth[19] = 0xFF, hugeWidth[20] = 0xFF, hugeWidth[21] = 0x7F;
  EXPECT_FALSE(picture.LoadFromBmp(hugeWidth.data(), hugeWidth.size()));
  std::vector<uint8_t> badDepth = bmp;
  badDepth[28] = 7;
  EXPECT_FALSE(picture.LoadFromBmp(badDepth.data(), badDepth.size()));
  std::vector<uint8_t> bitsOutside = bmp;
  bitsOutside[10] = 200;
  EXPECT_FALSE(picture.LoadFromBmp(bitsOutside.data(), bitsOutside.size()));
  EXPECT_FALSE(picture.LoadFromBmp(nullptr, 0));
  // The definition form: a count larger than what follows is refused too.
  std::vector<uint8_t> stored = {static_cast<uint8_t>(bmp.size() + 1), 0, 0, 0};
  stored.insert(stored.end(), bmp.begin(), bmp.end());
  EXPECT_FALSE(picture.LoadFromDefinitionData(stored));
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Pixel(2, 2), RGB(1, 2, 3));
  stored[0] = static_cast<uint8_t>(bmp.size());
  EXPECT_TRUE(picture.LoadFromDefinitionData(stored));
  EXPECT_EQ(picture.Width(), 2);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) out += {digits[b >> 4], digits[b & 15]};
  return out;
}

TEST(StoredDefinitions, TheNewControlsReadTheirProperties) {
  std::vector<uint8_t> bmp = SmallBmp();
  std::vector<uint8_t> stored = {static_cast<uint8_t>(bmp.size()), 0, 0, 0};
  stored.insert(stored.end(), bmp.begin(), bmp.end());
  std::string text =
      "object F: TForm\n"
      "  object C1: TCheckBox\n    Caption = 'c'\n    AllowGrayed = True\n    State = cbGrayed\n  end\n"
      "  object R1: TRadioGroup\n    Items.Text = 'a'#13#10'b'\n    ItemIndex = 1\n    Columns = 2\n  end\n"
      "  object B1: TBitBtn\n    Glyph.Data = {" +
      Hex(stored) +
      "}\n    NumGlyphs = 2\n    Layout = blGlyphTop\n    Margin = 3\n  end\n"
      "  object S1: TSpeedButton\n    GroupIndex = 4\n    Down = True\n    Flat = True\n  end\n"
      "  object M1: TMenuButton\n    DropdownMenu = P1\n  end\n"
      "  object P1: TPopupMenu\n    object I1: TMenuItem\n      Caption = 'x'\n    end\n  end\n"
      "end\n";
  TForm form(nullptr);
  ReadDefinition(form, text);
  auto* check = static_cast<TCheckBox*>(form.FindComponent(L"C1"));
  EXPECT_EQ(check->State(), cbGrayed);
  auto* group = static_cast<TRadioGroup*>(form.FindComponent(L"R1"));
  EXPECT_EQ(group->Items().size(), 2u);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(group->Columns(), 2);
  auto* bit = static_cast<TBitBtn*>(form.FindComponent(L"B1"));
  EXPECT_EQ(bit->Glyph().Width(), 2);
  EXPECT_EQ(bit->Glyph().Pixel(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(bit->NumGlyphs(), 2);
  EXPECT_EQ(bit->Layout(), blGlyphTop);
  EXPECT_EQ(bit->Margin(), 3);
  auto* speed = static_cast<TSpeedButton*>(form.FindComponent(L"S1"));
  EXPECT_TRUE(speed->Down());
  EXPECT_TRUE(speed->Flat());
  auto* menuButton = static_cast<TMenuButton*>(form.FindComponent(L"M1"));
  auto* menu = static_cast<TPopupMenu*>(form.FindComponent(L"P1"));
  EXPECT_EQ(menuButton->DropdownMenu(), menu);
  ASSERT_EQ(menu->Items().size(), 1u);
  EXPECT_EQ(GetTextProp(menuButton, L"DropdownMenu"), L"P1");

  TForm bad(nullptr);
  EXPECT_THROW(ReadDefinition(
                   bad, "object F: TForm\n  object B1: TBitBtn\n    Glyph.Data = {0100000042}\n  end\nend\n"),
               std::runtime_error);
}

}  // namespace
}  // namespace fw
