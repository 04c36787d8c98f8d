// The parts of TSkinModel that do not walk a definition: construction,
// clearing, colour texts and the caption colour.
#include "skin/model/SkinModel.h"

#include "skin/archive/SkinText.h"

namespace skin {

namespace {

const char* const kBorderNames[5] = {"", "Left", "Right", "Top", "Bottom"};

}  // namespace

TSkinModel::TSkinModel() {
  ClearSkin();
}

TSkinModel::~TSkinModel() = default;

void TSkinModel::ClearSkin() {
  ResetRecords();
  SkinName.clear();
  Empty = true;
}

void TSkinModel::ResetRecords() {
  for (int i = 1; i <= 4; ++i) border[static_cast<size_t>(i)] = TDataSkinBorder(kBorderNames[i]);
  Title = TDataSkinTitle("Title");
  Button = TDataSkinButton("Buttons");
  SysBtn.clear();
  for (std::unique_ptr<TDataSkinBorder>* p : {&tab, &HSpin, &VSpin, &combox, &progress}) p->reset();
  for (std::unique_ptr<TDataSkinObject>* p :
       {&TabSheet,      &Comboxborder, &comboxarrow, &ExtraImages, &Box,         &Toolbar,    &Toolbarbtn,
        &progresschunk, &StatusBar,    &Header,      &Menubar,     &MenuItem,    &MenuitemBG, &SArrow,
        &HBar,          &VBar,         &HSlider,     &VSlider,     &TrackHorz,   &TrackVert,  &TrackLeft,
        &Trackright,    &Tracktop,     &Trackbottom, &TrackBar,    &TrackBarVert})
    p->reset();
  boxlabel.reset();
  // The colours a skin without a [Colours] section would give.
  Colors.fill(0);
  hasColors.fill(false);
  Colors[0] = SysColor(8);
  Colors[1] = SysColor(9);
  Colors[2] = SysColor(19);
  Colors[3] = SysColor(15);
  Colors[4] = SysColor(18);
  Colors[5] = SysColor(20);
  Colors[6] = SysColor(20);
  Colors[7] = SysColor(16);
  Colors[8] = SysColor(21);
  Colors[11] = SysColor(14);
  Colors[12] = SysColor(13);
  Colors[13] = Colors[3];
  Colors[14] = SysColor(7);
  Colors[15] = SysColor(7);
  Colors[16] = SysColor(4);
  Colors[17] = Colors[3];
  Colors[18] = SysColor(0);
  ColorPreset.clear();
  PresetColors.fill(clWhite);
}

TColor TSkinModel::ParseColour(const std::string& text) {
  const std::string trimmed = TrimText(text);
  int components[3] = {0, 0, 0};
  int completed = 0;
  int current = 0;
  bool inNumber = false;
  for (char c : trimmed) {
    if (c >= '0' && c <= '9') {
      // Only the low byte of a component counts, so keep only it.
      current = (current * 10 + (c - '0')) % 256;
      inNumber = true;
    } else if (inNumber) {
      if (completed < 3) components[completed] = current;
      if (completed < 3) ++completed;
      current = 0;
      inNumber = false;
    }
  }
  // A number at the very end is blue only after exactly two others.
  if (inNumber && completed == 2) components[2] = current;
  return components[0] + components[1] * 256 + components[2] * 65536;
}

TColor TSkinModel::GetCaptionColor() const {
  const TDataSkinBorder& top = border[3];
  if (top.Map.Empty()) return Colors[3];
  const int32_t frames = top.frame > 0 ? top.frame : 1;
  const int32_t x = top.Map.Width() / 3;
  const int32_t y = (top.Map.Height() / frames) / 3;
  return static_cast<TColor>(PixelToColor(top.Map.Pixel(x, y)));
}

}  // namespace skin
