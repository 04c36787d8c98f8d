#include "skin/model/SkinDefinitionCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "skin/archive/Bitmap.h"

namespace skin::test {
namespace {

class TDefinition {
 public:
  explicit TDefinition(const TMemoryStream& packed) {
    TMemoryStream copy;
    copy.Assign(packed.Bytes());
    fOpen = fReader.Loadfromstream(copy);
    TMemoryStream text;
    std::string name;
    fReader.readIni(".ini", text, name);
    text.SetPosition(0);
    fIni.LoadFromStream(&text);
  }

  bool Open() const { return fOpen; }
  const TQuickIni& Ini() const { return fIni; }
  std::string Text(const std::string& section, const std::string& key) const {
    return fIni.ReadString(section, key, "");
  }
  int32_t Int(const std::string& section, const std::string& key, int32_t def) const {
    return fIni.ReadInteger(section, key, def);
  }
  // The picture an image value names: the member of its file-name part, when
  // that ends in ".bmp" exactly.
  TBitmap Image(const std::string& value) const {
    const size_t cut = value.find_last_of("\\:");
    const std::string name = cut == std::string::npos ? value : value.substr(cut + 1);
    TBitmap bitmap;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") != 0) return bitmap;
    TMemoryStream member;
    fReader.readfile(name, member);
    bitmap.LoadFromBmp(member.Bytes());
    return bitmap;
  }
  TColor Colour(const std::string& section, const std::string& key, TColor def) const {
    const std::string text = Text(section, key);
    return text.empty() ? def : TSkinModel::ParseColour(text);
  }

 private:
  TSkinReader fReader;
  TQuickIni fIni;
  bool fOpen = false;
};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

void ExpectMargins(const TDataSkinObject& e, const TDefinition& d, const std::string& section, int32_t cap) {
  EXPECT_EQ(e.r.Left, std::min(d.Int(section, "LeftWidth", 0), cap)) << section;
  EXPECT_EQ(e.r.Top, std::min(d.Int(section, "TopHeight", 0), cap)) << section;
  EXPECT_EQ(e.r.Right, std::min(d.Int(section, "RightWidth", 0), cap)) << section;
  EXPECT_EQ(e.r.Bottom, std::min(d.Int(section, "BottomHeight", 0), cap)) << section;
}

void ExpectColours(const TDataSkinObject& e, const TDefinition& d, const std::string& section,
                   TColor buttonText) {
  EXPECT_EQ(e.Normalcolor, d.Int(section, "NormalColour", -1)) << section;
  EXPECT_EQ(e.Overcolor, d.Int(section, "MouseOverColour", -1)) << section;
  EXPECT_EQ(e.Downcolor, d.Int(section, "PressedColour", -1)) << section;
  EXPECT_EQ(e.Normalcolor2, d.Colour(section, "NormalColour2", buttonText)) << section;
  EXPECT_EQ(e.Overcolor2, d.Colour(section, "MouseOverColour2", buttonText)) << section;
  EXPECT_EQ(e.Downcolor2, d.Colour(section, "PressedColour2", buttonText)) << section;
}

enum class TReader { Plain, Masked, Bitmap, GroupLabel };

struct TElement {
  const char* section;
  TReader reader;
  std::function<const TDataSkinObject*(const TSkinModel&)> record;
  int fixedFrames;  // 0: from the "Frame" key; -1: from "FrameCount"; -2: "Frame", 5 when 0; -3: by style
  const char* maskKey = nullptr;
  int32_t marginCap = 1 << 30;
};

std::vector<TElement> Elements() {
  return {
      {"Progress", TReader::Bitmap, [](const TSkinModel& m) { return m.progress.get(); }, -3},
      {"Progress.Chunk", TReader::Plain, [](const TSkinModel& m) { return m.progresschunk.get(); }, 0},
      {"GroupBoxEdge", TReader::Plain, [](const TSkinModel& m) { return m.Box.get(); }, 2},
      {"GroupBox", TReader::GroupLabel, [](const TSkinModel& m) { return m.boxlabel.get(); }, 1},
      {"Tabs", TReader::Masked, [](const TSkinModel& m) { return m.tab.get(); }, 5, "Border"},
      {"StatusBarEdges", TReader::Plain, [](const TSkinModel& m) { return m.StatusBar.get(); }, 3},
      {"Tab.Pane", TReader::Plain, [](const TSkinModel& m) { return m.TabSheet.get(); }, 1, nullptr, 4},
      {"ToolBars", TReader::Plain, [](const TSkinModel& m) { return m.Toolbarbtn.get(); }, 5},
      {"ComboButton", TReader::Masked, [](const TSkinModel& m) { return m.combox.get(); }, 4, ""},
      {"SunkEdge", TReader::Plain, [](const TSkinModel& m) { return m.Comboxborder.get(); }, 4},
      {"ExtraImages", TReader::Plain, [](const TSkinModel& m) { return m.ExtraImages.get(); }, 5},
      {"Headerbar", TReader::Plain, [](const TSkinModel& m) { return m.Header.get(); }, -2},
      {"MenuItem", TReader::Plain, [](const TSkinModel& m) { return m.MenuItem.get(); }, 5},
      {"MenuBackground", TReader::Plain, [](const TSkinModel& m) { return m.MenuitemBG.get(); }, 1},
      {"Scrollbar", TReader::Plain, [](const TSkinModel& m) { return m.SArrow.get(); }, 23},
      {"HorzScroll", TReader::Plain, [](const TSkinModel& m) { return m.HBar.get(); }, 4},
      {"VertScroll", TReader::Plain, [](const TSkinModel& m) { return m.VBar.get(); }, 4},
      {"HorzScrollThumb", TReader::Plain, [](const TSkinModel& m) { return m.HSlider.get(); }, -1},
      {"VertScrollThumb", TReader::Plain, [](const TSkinModel& m) { return m.VSlider.get(); }, -1},
      {"Trackbar.ThumbHorz", TReader::Plain, [](const TSkinModel& m) { return m.TrackHorz.get(); }, 5},
      {"Trackbar.ThumbVert", TReader::Plain, [](const TSkinModel& m) { return m.TrackVert.get(); }, 5},
      {"Trackbar.ThumbLeft", TReader::Plain, [](const TSkinModel& m) { return m.TrackLeft.get(); }, 5},
      {"Trackbar.ThumbRight", TReader::Plain, [](const TSkinModel& m) { return m.Trackright.get(); }, 5},
      {"Trackbar.ThumbUp", TReader::Plain, [](const TSkinModel& m) { return m.Tracktop.get(); }, 5},
      {"Trackbar.ThumbDown", TReader::Plain, [](const TSkinModel& m) { return m.Trackbottom.get(); }, 5},
      {"UpDown.Horz", TReader::Masked, [](const TSkinModel& m) { return m.HSpin.get(); }, 8, "GlyphImage"},
      {"UpDown.Vert", TReader::Masked, [](const TSkinModel& m) { return m.VSpin.get(); }, 8, "GlyphImage"},
      {"Track", TReader::Plain, [](const TSkinModel& m) { return m.TrackBar.get(); }, 0},
      {"TRACKVERT", TReader::Plain, [](const TSkinModel& m) { return m.TrackBarVert.get(); }, 0},
  };
}

void ExpectElements(const TSkinModel& m, const TDefinition& d) {
  const bool comboBuilt = !d.Text("ComboButton", "Image").empty() && !d.Text("SunkEdge", "Image").empty();
  for (const TElement& e : Elements()) {
    const std::string imageKey = e.reader == TReader::Bitmap ? "Bitmap" : "Image";
    const std::string image = d.Text(e.section, imageKey);
    const TDataSkinObject* record = e.record(m);
    if (image.empty()) {
      const bool builtIn = std::string(e.section) == "Track" || std::string(e.section) == "TRACKVERT";
      if (!builtIn) {
        EXPECT_EQ(record, nullptr) << e.section;
      }
      continue;
    }
    ASSERT_NE(record, nullptr) << e.section;
    EXPECT_EQ(record->IDName, e.section);
    const bool rebuilt = comboBuilt && (record == m.combox.get() || record == m.Comboxborder.get());
    if (!rebuilt) {
      EXPECT_EQ(record->Map, d.Image(image)) << e.section;
      ExpectMargins(*record, d, e.section, e.marginCap);
    }
    EXPECT_EQ(record->style, rebuilt && record == m.combox.get() ? 2 : d.Int(e.section, "Style", 0))
        << e.section;
    EXPECT_EQ(record->trans, d.Int(e.section, "Trans", 0)) << e.section;
    const int32_t tile = d.Int(e.section, "Tile", 0);
    EXPECT_EQ(record->Tile, tile > 1 ? (e.reader == TReader::Bitmap ? 1 : 0) : tile) << e.section;
    if (e.reader != TReader::Bitmap) ExpectColours(*record, d, e.section, m.Colors[4]);
    int32_t frames = e.fixedFrames;
    if (frames == 0) frames = d.Int(e.section, "Frame", 0);
    if (frames == -1) frames = d.Int(e.section, "FrameCount", 3);
    if (frames == -2) frames = d.Int(e.section, "Frame", 0) == 0 ? 5 : d.Int(e.section, "Frame", 0);
    if (frames == -3) frames = d.Int(e.section, "Style", 0) == 0 ? 2 : 1;
    EXPECT_EQ(record->frame, std::max(frames, 1)) << e.section;
    if (e.maskKey != nullptr && *e.maskKey != '\0') {
      EXPECT_EQ(static_cast<const TDataSkinBorder*>(record)->MaskMap, d.Image(d.Text(e.section, e.maskKey)))
          << e.section;
    }
    if (e.reader == TReader::GroupLabel) {
      const auto* label = static_cast<const TDataSkinBoxLabel*>(record);
      EXPECT_EQ(label->Alignment, d.Int(e.section, "BackgroundAlignment", 0));
      EXPECT_EQ(label->LeftShift, d.Int(e.section, "BackgroundLeftShift", 0));
      EXPECT_EQ(label->RightShift, d.Int(e.section, "BackgroundRightShift", 0));
    }
  }
  if (comboBuilt) {
    TBitmap mirrored = d.Image(d.Text("ComboButton", "Image"));
    for (int32_t y = 0; y < mirrored.Height(); ++y)
      std::reverse(mirrored.Row(y), mirrored.Row(y) + mirrored.Width());
    EXPECT_EQ(m.combox->MaskMap, mirrored);
    EXPECT_EQ(m.combox->Map.Width(), 200);
    EXPECT_EQ(m.combox->Map.Height(), 21);
  }
}

void ExpectFrameAndTitle(const TSkinModel& m, const TDefinition& d) {
  const char* sides[5] = {"", "Left", "Right", "Top", "Bottom"};
  for (int i = 1; i <= 4; ++i) {
    const std::string s = sides[i];
    const TDataSkinBorder& b = m.border[static_cast<size_t>(i)];
    EXPECT_EQ(b.Map, d.Image(d.Text("Personality", s))) << s;
    const int32_t start = d.Int("Personality", s + "TopHeight", 0),
                  end = d.Int("Personality", s + "BotHeight", 0);
    EXPECT_EQ(b.r, i <= 2 ? Rect(0, start, 0, end) : Rect(start, 0, end, 0)) << s;
    EXPECT_EQ(b.frame, std::max(d.Int("Personality", s + "Frame", 1), 1)) << s;
    EXPECT_EQ(b.Tile, std::min(d.Int("Personality", s + "Stretch", 1), 1)) << s;
    EXPECT_EQ(b.trans, d.Int("Personality", s + "Trans", 1)) << s;
  }
  const TDataSkinTitle& t = m.Title;
  EXPECT_EQ(t.Map, d.Image(d.Text("Personality", "TextBack")));
  EXPECT_EQ(t.r, Rect(d.Int("Personality", "TextShift", 0), d.Int("Personality", "TextShiftVert", 0),
                      d.Int("Personality", "TextRightClip", 0), 0));
  EXPECT_EQ(t.Aligment, d.Int("Personality", "TextAlignment", 0));
  EXPECT_EQ(t.BackGround, d.Int("Personality", "Textbackground", 0));
  EXPECT_EQ(t.backleft, d.Int("Personality", "TXTBackleft", 0));
  EXPECT_EQ(t.backright, d.Int("Personality", "TXTBackRight", 0));
  EXPECT_EQ(t.FontHeight, d.Int("Fonts", "FontHeight", 14));
  EXPECT_EQ(t.frame, 2);
  for (const auto& [prefix, field] :
       {std::pair{"ActiveText", t.activetext}, std::pair{"InActiveText", t.inactivetext}}) {
    const std::string p = prefix;
    const int32_t r = d.Int("Personality", p + "R", -1), g = d.Int("Personality", p + "G", -1),
                  b = d.Int("Personality", p + "B", -1);
    EXPECT_EQ(field, r >= 0 && g >= 0 && b >= 0 ? (r & 255) + (g & 255) * 256 + (b & 255) * 65536 : clNone)
        << p;
  }
  const std::string menuBar = d.Text("Personality", "menuBar");
  if (menuBar.empty()) {
    EXPECT_EQ(m.Menubar, nullptr);
  } else {
    ASSERT_NE(m.Menubar, nullptr);
    EXPECT_EQ(m.Menubar->Map, d.Image(menuBar));
    EXPECT_EQ(m.Menubar->frame, 2);
    EXPECT_EQ(m.Menubar->Tile, std::min(d.Int("Personality", "TileMenu", 1), 1));
    EXPECT_EQ(m.Menubar->r,
              Rect(d.Int("Personality", "TileLeftMenu", 1), 0, d.Int("Personality", "TileRightMenu", 1), 0));
  }
}

void ExpectColoursAndPresets(const TSkinModel& m, const TDefinition& d) {
  const std::pair<int, const char*> keys[] = {
      {0, "WindowText"},   {1, "TitleTextActive"}, {2, "TitleTextNoActive"},
      {3, "ButtonFace"},   {4, "ButtonText"},      {5, "ButtonHilight"},
      {6, "Buttonlight"},  {7, "ButtonShadow"},    {8, "ButtonDkShadow"},
      {11, "HilightText"}, {12, "Hilight"},        {13, "Menubar"},
      {14, "MenuBarText"}, {15, "MenuText"},       {16, "Menu"},
      {18, "Scrollbar"}};
  for (const auto& [index, key] : keys) {
    const std::string text = d.Text("Colours", key);
    EXPECT_EQ(m.hasColors[static_cast<size_t>(index)], !text.empty()) << key;
    if (!text.empty()) {
      EXPECT_EQ(m.Colors[static_cast<size_t>(index)], TSkinModel::ParseColour(text)) << key;
    }
  }
  if (d.Text("Colours", "Menubar").empty()) {
    EXPECT_EQ(m.Colors[13], m.Colors[3]);
  }
  EXPECT_EQ(m.Colors[17], m.GetCaptionColor());
  std::vector<std::string> sections;
  d.Ini().ReadSections(&sections);
  std::vector<TColor> presets;
  for (const std::string& s : sections)
    if (Upper(s).rfind("COLOUR", 0) == 0 && Upper(s) != "COLOURS")
      presets.push_back(d.Colour(s, "color", SysColor(8)));
  EXPECT_EQ(m.ColorPreset, presets);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(m.PresetColors[static_cast<size_t>(i)],
              d.Colour("Customcolors", "Color" + std::to_string(i), clWhite));
}

void ExpectButtons(const TSkinModel& m, const TDefinition& d) {
  const TDataSkinButton& b = m.Button;
  EXPECT_EQ(b.Map, d.Image(d.Text("Buttons", "Bitmap")));
  EXPECT_EQ(b.CheckMap, d.Image(d.Text("Buttons", "CheckButton")));
  EXPECT_EQ(b.RadioMap, d.Image(d.Text("Buttons", "RadioButton")));
  ExpectMargins(b, d, "Buttons", 1 << 30);
  EXPECT_EQ(b.trans, d.Int("Buttons", "Trans", 0));
  const int32_t tile = d.Int("Buttons", "Tile", 0);
  EXPECT_EQ(b.Tile, tile > 1 ? 0 : tile);
  ExpectColours(b, d, "Buttons", m.Colors[4]);
  EXPECT_EQ(b.newnormal, !d.Text("Buttons", "NormalColour2").empty());
  EXPECT_EQ(b.newover, !d.Text("Buttons", "MouseOverColour2").empty());
  EXPECT_EQ(b.newdown, !d.Text("Buttons", "PressedColour2").empty());
  EXPECT_EQ(b.frame, 5);
  if (d.Int("Buttons", "RadioButtonFrame", 0) != 0) {
    EXPECT_EQ(b.radioframe, std::max(d.Int("Buttons", "RadioButtonFrame", 0), 1));
  }
  if (d.Int("Buttons", "CheckButtonFrame", 0) != 0) {
    EXPECT_EQ(b.checkframe, std::max(d.Int("Buttons", "CheckButtonFrame", 0), 1));
  }
}

void ExpectCaptionButtons(const TSkinModel& m, const TDefinition& d) {
  std::vector<std::string> sections;
  d.Ini().ReadSections(&sections);
  std::vector<std::string> buttons;
  for (const std::string& s : sections) {
    const std::string u = Upper(s);
    if (u.rfind("BUTTON", 0) != 0 || u == "BUTTONS" || u == "BUTTON.RADIO" || u == "BUTTON.CHECKBOX" ||
        u == "BUTTON")
      continue;
    if (d.Int(s, "Action", 0) == -1 && d.Int(s, "Visibility", -1) != 0) continue;
    buttons.push_back(s);
  }
  ASSERT_EQ(m.SysBtn.size(), buttons.size() + 3);
  for (size_t j = 0; j < buttons.size(); ++j) {
    const std::string& s = buttons[j];
    const TDataSkinSysButton& b = m.SysBtn[j];
    const int32_t action = d.Int(s, "Action", 0);
    EXPECT_EQ(b.IDName, Upper(s));
    EXPECT_EQ(b.Action, action) << s;
    EXPECT_EQ(b.Align, d.Int(s, "Align", 0)) << s;
    if (action != 4) {
      EXPECT_EQ(b.XCoord, d.Int(s, "Xcoord", 0)) << s;
      EXPECT_EQ(b.YCoord, d.Int(s, "Ycoord", 0)) << s;
    }
    EXPECT_EQ(b.Visibility, d.Int(s, "Visibility", 0)) << s;
    EXPECT_EQ(b.Visibility1, d.Int(s, "Visibility1", action == -1 ? -1 : 0)) << s;
    EXPECT_EQ(b.CombineOp, d.Int(s, "CombineOp", -1)) << s;
    const int32_t frame = d.Int(s, "frame", 0);
    if (frame != 0) {
      EXPECT_EQ(b.frame, std::max(frame, 1)) << s;
      EXPECT_EQ(b.Map, d.Image(d.Text(s, "ButtonImage"))) << s;
    }
  }
  const TBitmap mdi = d.Image(d.Text("MDICONTROLS", "Image"));
  for (size_t i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = m.SysBtn[buttons.size() + i];
    EXPECT_EQ(b.Action, 7 + static_cast<int32_t>(i));
    EXPECT_EQ(b.frame, 4);
    if (!mdi.Empty()) {
      const int32_t w = mdi.Width() / 12;
      EXPECT_EQ(b.Map, mdi.Crop(Rect(4 * w * static_cast<int32_t>(i), 0, 4 * w * static_cast<int32_t>(i + 1),
                                     mdi.Height())));
      EXPECT_EQ(b.XCoord, (w + 4) * (3 - static_cast<int32_t>(i)));
    }
  }
}

}  // namespace

const TDataSkinObject* RecordOfSection(const TSkinModel& model, const std::string& section) {
  for (const TElement& e : Elements())
    if (section == e.section) return e.record(model);
  return nullptr;
}

void ExpectModelMatchesDefinition(const TSkinModel& model, const TMemoryStream& packed) {
  const TDefinition d(packed);
  ASSERT_TRUE(d.Open());
  EXPECT_FALSE(model.Empty);
  EXPECT_EQ(model.SkinName, d.Text("TitlebarSkin", "SkinName"));
  ExpectFrameAndTitle(model, d);
  ExpectColoursAndPresets(model, d);
  ExpectButtons(model, d);
  ExpectCaptionButtons(model, d);
  ExpectElements(model, d);
  ASSERT_NE(model.Toolbar, nullptr);
  EXPECT_EQ(model.Toolbar->Map.Width(), 10);
  ASSERT_NE(model.comboxarrow, nullptr);
}

}  // namespace skin::test
