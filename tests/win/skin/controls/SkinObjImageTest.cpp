// Glyph strips handed to check controls of other libraries through their
// published properties, shown here by small stand-in control classes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Bitmap.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

// A check control that takes a custom glyph strip, and records what is set.
class TFakeGlyphCheck : public fw::TWinControl {
  FW_CLASS(TFakeGlyphCheck)
 public:
  using fw::TWinControl::TWinControl;
  fw::TBitmap glyphs;
  bool useCustom = false;
  int transparent = 0;
  std::vector<std::wstring> log;
};

const fw::TClassInfo& TFakeGlyphCheck::StaticClass() {
  static const fw::TClassInfo info{
      L"TXbCheckBox",
      &fw::TWinControl::StaticClass(),
      {
          fw::ObjProp<fw::TBitmap>(L"CustomGlyphs",
                                   [](const fw::TComponent& c) {
                                     return &const_cast<TFakeGlyphCheck&>(fw::As<TFakeGlyphCheck>(c)).glyphs;
                                   }),
          fw::BoolProp(
              L"UseCustomGlyphs",
              [](const fw::TComponent& c) { return fw::As<TFakeGlyphCheck>(c).useCustom; },
              [](fw::TComponent& c, bool v) {
                auto& self = fw::As<TFakeGlyphCheck>(c);
                self.useCustom = v;
                self.log.push_back(v ? L"on" : L"off");
              }),
          fw::IntProp(
              L"TransparentColor",
              [](const fw::TComponent& c) { return fw::As<TFakeGlyphCheck>(c).transparent; },
              [](fw::TComponent& c, int v) { fw::As<TFakeGlyphCheck>(c).transparent = v; }),
      }};
  return info;
}

// The "Properties" object of a control of the third kind, holding the "Glyph".
class TFakeProperties : public fw::TComponent {
  FW_CLASS(TFakeProperties)
 public:
  using fw::TComponent::TComponent;
  fw::TBitmap glyph;
};

const fw::TClassInfo& TFakeProperties::StaticClass() {
  static const fw::TClassInfo info{
      L"TFakeProperties",
      &fw::TComponent::StaticClass(),
      {
          fw::ObjProp<fw::TBitmap>(L"Glyph",
                                   [](const fw::TComponent& c) {
                                     return &const_cast<TFakeProperties&>(fw::As<TFakeProperties>(c)).glyph;
                                   }),
      }};
  return info;
}

class TFakePropertiesCheck : public fw::TWinControl {
  FW_CLASS(TFakePropertiesCheck)
 public:
  explicit TFakePropertiesCheck(fw::TComponent* owner)
      : fw::TWinControl(owner), properties(new TFakeProperties(this)) {}
  TFakeProperties* properties;
};

const fw::TClassInfo& TFakePropertiesCheck::StaticClass() {
  static const fw::TClassInfo info{
      L"TXcCheckBox",
      &fw::TWinControl::StaticClass(),
      {
          fw::ObjProp<TFakeProperties>(
              L"Properties",
              [](const fw::TComponent& c) { return fw::As<TFakePropertiesCheck>(c).properties; }),
      }};
  return info;
}

constexpr int32_t kSide = 13;

COLORREF ImageColour(int k) {
  return RGB(20 * k, 200 - 20 * k, 100);
}

class SkinObjImageTest : public testing::Test {
 protected:
  void SetUp() override {
    TBitmap strip(kSide * 4, kSide);
    for (int k = 1; k <= 4; ++k)
      strip.FillRect(Rect((k - 1) * kSide, 0, k * kSide, kSide), ColorToPixel(ImageColour(k)));
    data.Button.CheckMap = strip;
    data.Button.checkframe = 4;
    data.Button.RadioMap = strip;
    data.Button.radioframe = 4;
    data.Empty = false;
  }
  TSkinData data{nullptr};
};

TEST_F(SkinObjImageTest, NineSlotCheckStripHandedOverAndSwitchedOffAndOn) {
  TFakeGlyphCheck check(nullptr);
  auto* object = new TSkinObjImage(&check);
  object->glyphKind = 1;
  object->Init(nullptr, &data, false);
  ASSERT_EQ(check.glyphs.Width(), 117);
  ASSERT_EQ(check.glyphs.Height(), 13);
  const int expected[] = {1, 2, 0, 1, 2, 0, 3, 4, 0};
  for (int slot = 0; slot < 9; ++slot) {
    COLORREF pixel = check.glyphs.Pixel(slot * kSide + 6, 6);
    if (expected[slot] == 0)
      EXPECT_EQ(pixel, RGB(0, 0, 0)) << "slot " << slot + 1;
    else
      EXPECT_EQ(pixel, ImageColour(expected[slot])) << "slot " << slot + 1;
  }
  EXPECT_EQ(check.transparent, 0x00FF00FF);
  EXPECT_EQ(check.log, (std::vector<std::wstring>{L"off", L"on"}));
  object->Init(nullptr, &data, false);  // once only
  EXPECT_EQ(check.log.size(), 2u);
  object->Unsubclass();
  EXPECT_FALSE(check.useCustom);
}

TEST_F(SkinObjImageTest, RadioStripAndANewSkin) {
  TFakeGlyphCheck radio(nullptr);
  auto* object = new TSkinObjImage(&radio);
  object->glyphKind = 2;
  object->Init(nullptr, &data, false);
  ASSERT_EQ(radio.glyphs.Width(), 6 * kSide);
  const int expected[] = {1, 2, 1, 2, 3, 4};
  for (int slot = 0; slot < 6; ++slot)
    EXPECT_EQ(radio.glyphs.Pixel(slot * kSide + 6, 6), ImageColour(expected[slot]));
  // A skin with a narrower radio image: the control gets strips cut from it.
  data.Button.RadioMap = TBitmap(40, 10, ColorToPixel(ImageColour(3)));
  object->SkinChange();
  EXPECT_EQ(radio.glyphs.Width(), 60);
  EXPECT_EQ(radio.log, (std::vector<std::wstring>{L"off", L"on", L"off", L"on"}));
}

TEST_F(SkinObjImageTest, PropertiesGlyphTakesASixSlotStripAndIsClearedAtTheEnd) {
  TFakePropertiesCheck check(nullptr);
  auto* object = new TSkinObjImage(&check);
  object->glyphKind = 3;
  object->Init(nullptr, &data, false);
  ASSERT_EQ(check.properties->glyph.Width(), 6 * kSide);
  EXPECT_EQ(check.properties->glyph.Pixel(kSide + 6, 6), ImageColour(2));
  EXPECT_EQ(check.properties->glyph.Pixel(2 * kSide + 6, 6), RGB(0, 0, 0));
  object->Unsubclass();
  EXPECT_TRUE(check.properties->glyph.Empty());
}

TEST_F(SkinObjImageTest, NoImageNoKindNothingHandedOver) {
  data.Button.CheckMap = TBitmap();
  TFakeGlyphCheck check(nullptr);
  auto* object = new TSkinObjImage(&check);
  object->glyphKind = 1;
  object->Init(nullptr, &data, false);
  EXPECT_TRUE(check.glyphs.Empty());
  EXPECT_TRUE(check.log.empty());
  auto* other = new TSkinObjImage(&check);
  other->glyphKind = 0;
  other->Init(nullptr, &data, false);
  EXPECT_TRUE(check.log.empty());
}

}  // namespace
}  // namespace skin
