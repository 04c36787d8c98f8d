// The skins the generator makes: valid members, a definition that parses and
// names only members that exist, the archive layout, magenta only where a
// painter keys it, and the test skin giving every key the loader reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "SkinDefinition.h"
#include "skin/archive/SkinArchive.h"
#include "skin/archive/Streams.h"
#include "skin/archive/WinConvert.h"
#include "skin/archive/WinSkinIni.h"

namespace skingen {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string LowerCase(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

skin::TQuickIni ParseIni(const SkinDefinition& def) {
  std::string text = def.IniText();
  skin::TMemoryStream stream;
  stream.Assign(std::vector<uint8_t>(text.begin(), text.end()));
  skin::TQuickIni ini;
  ini.LoadFromStream(&stream);
  return ini;
}

const SkinImage* FindImage(const SkinDefinition& def, const std::string& member) {
  for (const SkinImage& i : def.images)
    if (i.member == member) return &i;
  return nullptr;
}

class BothSkins : public ::testing::TestWithParam<Variant> {
 protected:
  SkinDefinition def_ = BuildSkin(GetParam());
};

INSTANTIATE_TEST_SUITE_P(Skins, BothSkins, ::testing::Values(Variant::Main, Variant::Test),
                         [](const auto& info) { return info.param == Variant::Main ? "Main" : "Test"; });

TEST_P(BothSkins, EveryBitmapIsACompleteBmpOf24BitsWhoseStripDividesIntoItsFrames) {
  for (const SkinMember& m : def_.Members()) {
    if (m.name == def_.iniName) continue;
    SCOPED_TRACE(m.name);
    const std::vector<uint8_t>& b = m.bytes;
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    int32_t width = static_cast<int32_t>(U32(b, 18)), height = static_cast<int32_t>(U32(b, 22));
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);  // bottom-up rows
    EXPECT_EQ(b[26] | b[27] << 8, 1);
    EXPECT_EQ(b[28] | b[29] << 8, 24);
    EXPECT_EQ(U32(b, 30), 0u);
    uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    EXPECT_EQ(b.size(), 54u + stride * height);
    const SkinImage* image = FindImage(def_, m.name);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->image.Width(), width);
    EXPECT_EQ((image->stacked ? height : width) % image->frames, 0);
  }
}

TEST_P(BothSkins, MembersAreTheBitmapsInNameOrderThenTheIni) {
  std::vector<SkinMember> members = def_.Members();
  size_t bitmaps = GetParam() == Variant::Main ? 33 : 46;
  ASSERT_EQ(members.size(), bitmaps + 1);
  EXPECT_EQ(members.back().name, "skin.ini");
  std::set<std::string> lowered;
  for (size_t i = 0; i + 1 < members.size(); ++i) {
    EXPECT_TRUE(members[i].name.ends_with(".bmp")) << members[i].name;
    EXPECT_EQ(members[i].name.find(".ini"), std::string::npos);
    if (i > 0) {
      EXPECT_LT(members[i - 1].name, members[i].name);
    }
    EXPECT_TRUE(lowered.insert(LowerCase(members[i].name)).second) << "names differ only in case";
  }
}

TEST_P(BothSkins, DefinitionParsesAndNamesOnlyMembersThatExistAndEveryBitmapIsUsed) {
  skin::TQuickIni ini = ParseIni(def_);
  std::set<std::string> members, used;
  for (const SkinImage& i : def_.images) members.insert(i.member);
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.size(), def_.sections.size());
  for (const IniSection& s : def_.sections)
    for (const auto& [key, value] : s.keys) {
      // The store gives back every value as written, first occurrence first.
      EXPECT_EQ(ini.ReadString(s.name, key, "<absent>"), value) << s.name << "." << key;
      if (value.ends_with(".bmp")) {
        EXPECT_TRUE(members.count(value)) << s.name << "." << key << " names " << value;
        used.insert(value);
      }
    }
  EXPECT_EQ(used, members);
}

TEST_P(BothSkins, ArchiveUnpacksToTheMembersInOrderAsFormat70000) {
  std::vector<SkinMember> generated = def_.Members();
  std::vector<skin::TSkinMember> members;
  for (const SkinMember& m : generated) members.push_back({m.name, m.bytes});
  skin::TMemoryStream packed;
  skin::PackSkinArchive(members, packed);
  packed.SetPosition(0);
  skin::TMemoryStream plain;
  skin::TLZH lzh;
  lzh.UnpackBlock(packed, plain);
  skin::TSkinArchiveLayout layout;
  std::string reason;
  ASSERT_EQ(skin::ParseSkinArchive(plain.Memory(), plain.Bytes().size(), layout, reason),
            skin::TSkinArchiveCheck::Ok)
      << reason;
  EXPECT_EQ(layout.header.Version, 70000);
  ASSERT_EQ(layout.names.size(), generated.size());
  size_t offset = layout.dataOffset;
  for (size_t i = 0; i < generated.size(); ++i) {
    EXPECT_EQ(layout.names[i], generated[i].name);
    ASSERT_EQ(static_cast<size_t>(layout.sizes[i]), generated[i].bytes.size());
    EXPECT_TRUE(std::equal(generated[i].bytes.begin(), generated[i].bytes.end(), plain.Memory() + offset));
    offset += generated[i].bytes.size();
  }
  EXPECT_EQ(offset, plain.Bytes().size());
}

TEST_P(BothSkins, OutputIsTheSameBytesEveryTime) {
  std::vector<SkinMember> first = def_.Members();
  std::vector<SkinMember> second = BuildSkin(GetParam()).Members();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].name, second[i].name);
    EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
  }
  EXPECT_EQ(def_.Expectations(), BuildSkin(GetParam()).Expectations());
}

// Images whose painter always draws them with magenta transparent.
bool AlwaysKeyed(const std::string& member) {
  static const std::set<std::string> keyed = {
      "btnclose.bmp",    "btnmax.bmp",     "btnrestore.bmp", "btnmin.bmp", "btnhelp.bmp",
      "mdicontrols.bmp", "check.bmp",      "radio.bmp",      "extra.bmp",  "scrollarrows.bmp",
      "textback.bmp",    "spinvglyph.bmp", "spinhglyph.bmp"};
  return keyed.count(member) > 0;
}

int Magenta(const Canvas& c, Box in) {
  int n = 0;
  for (int y = in.y0; y < in.y1; ++y)
    for (int x = in.x0; x < in.x1; ++x) n += c.At(x, y) == kMagenta;
  return n;
}

TEST_P(BothSkins, ImagesDrawnOpaqueHoldNoMagenta) {
  skin::TQuickIni ini = ParseIni(def_);
  int checked = 0;
  for (const IniSection& s : def_.sections)
    for (const auto& [key, value] : s.keys) {
      if (!value.ends_with(".bmp") || AlwaysKeyed(value)) continue;
      std::string transKey = s.name == "Personality" ? key + "Trans" : "Trans";
      int fallback = s.name == "Personality" ? 1 : 0;
      // A mask image (page frame) is drawn opaque whatever the element says.
      bool opaque = key == "Border" || ini.ReadInteger(s.name, transKey, fallback) != 1;
      if (s.name == "Personality" && (key == "TextBack" || key == "menuBar")) continue;
      if (!opaque) continue;
      const Canvas& c = FindImage(def_, value)->image;
      EXPECT_EQ(Magenta(c, {0, 0, c.Width(), c.Height()}), 0) << s.name << "." << key << " = " << value;
      ++checked;
    }
  EXPECT_GE(checked, 8);
}

TEST_P(BothSkins, FacesAreOpaqueInTheirMiddles) {
  for (const char* member : {"button.bmp", "tab.bmp", "progress.bmp", "hthumb.bmp", "vthumb.bmp",
                             "menubar.bmp", "combobutton.bmp", "spinv.bmp"}) {
    const SkinImage* image = FindImage(def_, member);
    ASSERT_NE(image, nullptr) << member;
    for (int k = 0; k < image->frames; ++k) {
      int w = image->stacked ? image->image.Width() : image->image.Width() / image->frames;
      int h = image->stacked ? image->image.Height() / image->frames : image->image.Height();
      int x0 = image->stacked ? 0 : k * w, y0 = image->stacked ? k * h : 0;
      EXPECT_EQ(Magenta(image->image, {x0 + w / 2 - 1, y0 + h / 2 - 1, x0 + w / 2 + 1, y0 + h / 2 + 1}), 0)
          << member << " frame " << k + 1;
    }
  }
  // The menu background, the page frame and the shafts are opaque throughout.
  for (const char* member : {"menubg.bmp", "tabborder.bmp", "hscroll.bmp", "vscroll.bmp", "statusbar.bmp"}) {
    const Canvas& c = FindImage(def_, member)->image;
    EXPECT_EQ(Magenta(c, {0, 0, c.Width(), c.Height()}), 0) << member;
  }
}

TEST(MainSkin, RoundedWindowCornersAreCutOutOfTheBordersAndNothingElseIs) {
  SkinDefinition def = BuildSkin(Variant::Main);
  const Geometry& g = ThemeOf(Variant::Main).sizes;
  const Canvas& left = FindImage(def, "left.bmp")->image;
  const Canvas& right = FindImage(def, "right.bmp")->image;
  const Canvas& top = FindImage(def, "top.bmp")->image;
  for (int frame = 0; frame < 2; ++frame) {
    int x0 = frame * g.borderWidth;
    EXPECT_EQ(left.At(x0, 0), kMagenta);
    EXPECT_EQ(right.At(x0 + g.borderWidth - 1, 0), kMagenta);
    // Below the corner radius every border pixel is drawn.
    EXPECT_EQ(Magenta(left, {x0, g.cornerRadius, x0 + g.borderWidth, left.Height()}), 0);
    EXPECT_EQ(Magenta(right, {x0, g.cornerRadius, x0 + g.borderWidth, right.Height()}), 0);
    int y0 = frame * g.captionHeight;
    EXPECT_EQ(Magenta(top, {0, y0 + g.cornerRadius, top.Width(), y0 + g.captionHeight}), 0);
    // The stretched middle of the top border and its far ends stay whole.
    EXPECT_EQ(Magenta(top, {10, y0, top.Width() - 10, y0 + g.captionHeight}), 0);
  }
  // The caption colour the loader samples (a third into the active image) is the accent.
  EXPECT_EQ(top.At(top.Width() / 3, g.captionHeight / 3), ThemeOf(Variant::Main).colours.accent);
}

TEST(MainSkin, CaptionButtonsSitInsideTheCaptionAndClearOfTheRightBorder) {
  SkinDefinition def = BuildSkin(Variant::Main);
  skin::TQuickIni ini = ParseIni(def);
  const Geometry& g = ThemeOf(Variant::Main).sizes;
  for (int i = 0; i < 5; ++i) {
    std::string section = "Button" + std::to_string(i);
    const SkinImage* image = FindImage(def, ini.ReadString(section, "ButtonImage", ""));
    ASSERT_NE(image, nullptr);
    int frames = ini.ReadInteger(section, "frame", 0);
    EXPECT_EQ(frames, 4);
    int w = image->image.Width() / frames;
    EXPECT_EQ(ini.ReadInteger(section, "Align", -1), 1);
    EXPECT_GE(ini.ReadInteger(section, "Xcoord", 0), w + g.borderWidth);
    EXPECT_LE(ini.ReadInteger(section, "Ycoord", 0) + image->image.Height(), g.captionHeight);
  }
}

TEST(MainSkin, WindowIconButtonSitsInTheRoomTheTitleLeaves) {
  skin::TQuickIni ini = ParseIni(BuildSkin(Variant::Main));
  const Geometry& g = ThemeOf(Variant::Main).sizes;
  EXPECT_EQ(ini.ReadInteger("Button5", "Action", -1), 3);
  EXPECT_EQ(ini.ReadInteger("Button5", "Align", -1), 0);
  EXPECT_EQ(ini.ReadString("Button5", "ButtonImage", ""), "");
  const int x = ini.ReadInteger("Button5", "Xcoord", -1), y = ini.ReadInteger("Button5", "Ycoord", -1);
  // A small icon, 16 pixels, between the left border and the title text.
  EXPECT_GE(x, g.borderWidth);
  EXPECT_LE(x + 16, g.borderWidth + ini.ReadInteger("Personality", "TextShift", 0));
  EXPECT_GE(y, 0);
  EXPECT_LE(y + 16, g.captionHeight);
}

// Every key the skin loader reads, by section; the test skin must give each.
std::map<std::string, std::vector<std::string>> KeysTheLoaderReads() {
  std::vector<std::string> personality = {
      "TextBack",      "TextShift",     "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
      "TXTBackleft",   "TXTBackRight",  "ActiveTextR",   "ActiveTextG",   "ActiveTextB",   "InActiveTextR",
      "InActiveTextG", "InActiveTextB", "menuBar",       "TileMenu",      "TileLeftMenu",  "TileRightMenu"};
  for (const char* side : {"Left", "Right", "Top", "Bottom"})
    for (const char* suffix : {"", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
      personality.push_back(std::string(side) + suffix);
  std::vector<std::string> margins = {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight",
                                      "Style",     "Trans",      "Tile"};
  std::vector<std::string> colours = {"NormalColour",  "MouseOverColour",  "PressedColour",
                                      "NormalColour2", "MouseOverColour2", "PressedColour2"};
  auto plain = [&](bool frame) {
    std::vector<std::string> keys = {"Image"};
    keys.insert(keys.end(), margins.begin(), margins.end());
    keys.insert(keys.end(), colours.begin(), colours.end());
    if (frame) keys.push_back("Frame");
    return keys;
  };
  std::map<std::string, std::vector<std::string>> keys;
  keys["Personality"] = personality;
  keys["Fonts"] = {"FontHeight"};
  keys["TitlebarSkin"] = {"SkinName"};
  keys["MdiControls"] = {"Image"};
  keys["Colours"] = {"WindowText",       "ButtonFace",   "Scrollbar",      "HilightText", "Hilight",
                     "Menubar",          "Menu",         "MenuText",       "ButtonText",  "ButtonHilight",
                     "Buttonlight",      "ButtonShadow", "ButtonDkShadow", "MenuBarText", "TitleTextActive",
                     "TitleTextNoActive"};
  keys["Customcolors"] = {"Color0", "Color1", "Color2", "Color3", "Color4",
                          "Color5", "Color6", "Color7", "Color8", "Color9"};
  for (int i = 0; i < 5; ++i)
    keys["Button" + std::to_string(i)] = {"Action",      "Align",     "Xcoord", "Ycoord",     "Visibility",
                                          "Visibility1", "CombineOp", "frame",  "ButtonImage"};
  keys["Buttons"] = {"Bitmap",
                     "CheckButton",
                     "RadioButton",
                     "LeftWidth",
                     "RightWidth",
                     "TopHeight",
                     "BottomHeight",
                     "Trans",
                     "Tile",
                     "NormalColour",
                     "MouseOverColour",
                     "PressedColour",
                     "NormalColour2",
                     "MouseOverColour2",
                     "PressedColour2",
                     "RadioButtonFrame",
                     "CheckButtonFrame"};
  keys["Progress"] = {"Bitmap",       "LeftWidth", "RightWidth", "TopHeight",
                      "BottomHeight", "Style",     "Trans",      "Tile"};
  for (const char* s : {"Progress.Chunk",
                        "GroupBoxEdge",
                        "StatusBarEdges",
                        "Tab.Pane",
                        "ToolBars",
                        "SunkEdge",
                        "ExtraImages",
                        "Headerbar",
                        "MenuItem",
                        "MenuBackground",
                        "Scrollbar",
                        "HorzScroll",
                        "VertScroll",
                        "HorzScrollThumb",
                        "VertScrollThumb",
                        "Trackbar.ThumbHorz",
                        "Trackbar.ThumbVert",
                        "Trackbar.ThumbLeft",
                        "Trackbar.ThumbRight",
                        "Trackbar.ThumbUp",
                        "Trackbar.ThumbDown",
                        "Track",
                        "TRACKVERT"})
    keys[s] = plain(true);
  keys["HorzScrollThumb"].push_back("FrameCount");
  keys["VertScrollThumb"].push_back("FrameCount");
  keys["ComboButton"] = plain(false);
  keys["Tabs"] = plain(false);
  keys["Tabs"].push_back("Border");
  keys["UpDown.Horz"] = plain(false);
  keys["UpDown.Horz"].push_back("GlyphImage");
  keys["UpDown.Vert"] = keys["UpDown.Horz"];
  keys["GroupBox"] = plain(false);
  for (const char* k : {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"})
    keys["GroupBox"].push_back(k);
  return keys;
}

TEST(TestSkin, GivesEveryKeyTheLoaderReads) {
  SkinDefinition def = BuildSkin(Variant::Test);
  skin::TQuickIni ini = ParseIni(def);
  int images = 0;
  for (const auto& [section, keys] : KeysTheLoaderReads())
    for (const std::string& key : keys) {
      std::string value = ini.ReadString(section, key, "");
      EXPECT_FALSE(value.empty()) << section << "." << key;
      images += value.ends_with(".bmp");
    }
  EXPECT_EQ(images, 47);
  // Presets: colour sections besides "Colours".
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  int presets = 0;
  for (const std::string& s : sections) {
    std::string upper = s;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    if (upper.starts_with("COLOUR") && upper != "COLOURS") ++presets;
  }
  EXPECT_GE(presets, 2);
}

TEST(TestSkin, TakesNoDefaultWhereAValueCouldDiffer) {
  skin::TQuickIni ini = ParseIni(BuildSkin(Variant::Test));
  struct Default {
    const char* section;
    const char* key;
    int value;
  } defaults[] = {
      {"Personality", "LeftFrame", 1},
      {"Personality", "LeftStretch", 1},
      {"Personality", "LeftTrans", 1},
      {"Personality", "TopTrans", 1},
      {"Personality", "TileMenu", 1},
      {"Personality", "TileLeftMenu", 1},
      {"Personality", "TileRightMenu", 1},
      {"Personality", "TextShift", 0},
      {"Personality", "TextAlignment", 0},
      {"Personality", "TextShiftVert", 0},
      {"Fonts", "FontHeight", 14},
      {"Buttons", "CheckButtonFrame", 0},
      {"Buttons", "RadioButtonFrame", 0},
      {"Buttons", "Trans", 0},
      {"Buttons", "Tile", 0},
      {"Buttons", "NormalColour", -1},
      {"Tabs", "Style", 0},
      {"Progress", "Style", 0},
      {"Headerbar", "Frame", 0},
      {"Progress.Chunk", "Frame", 0},
      {"HorzScrollThumb", "FrameCount", 3},
      {"VertScrollThumb", "FrameCount", 3},
      {"Button1", "CombineOp", -1},
      {"Track", "Frame", 0},
  };
  for (const Default& d : defaults)
    EXPECT_NE(ini.ReadInteger(d.section, d.key, d.value), d.value) << d.section << "." << d.key;
}

TEST(TestSkin, ExpectationsListEveryBitmapAndEveryValueWritten) {
  SkinDefinition def = BuildSkin(Variant::Test);
  std::string text = def.Expectations();
  size_t members = 0, keys = 0, total = 0;
  for (const IniSection& s : def.sections) total += s.keys.size();
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end - at);
    members += line.starts_with("member\t");
    keys += line.starts_with("key\t");
    at = end + 1;
  }
  EXPECT_EQ(members, 46u);
  EXPECT_EQ(keys, total);
  EXPECT_NE(text.find("member\tcheck.bmp\t156\t13\t12\tside\n"), std::string::npos);
  EXPECT_NE(text.find("key\tButtons\tCheckButtonFrame\t12\n"), std::string::npos);
}

// The build's packed skin is exactly what the generator and skinpack make.
TEST(BuiltSkin, StoredFileHoldsTheGeneratedArchive) {
  std::filesystem::path file = std::filesystem::path(QM_BINARY_DIR) / "skins" / "quellmark.skin";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not built (target quellmark_skin)";
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(stored.size(), 4u);
  EXPECT_EQ(U32(stored, 0), stored.size() - 4);
  std::vector<skin::TSkinMember> members;
  for (const SkinMember& m : BuildSkin(Variant::Main).Members()) members.push_back({m.name, m.bytes});
  skin::TMemoryStream packed;
  skin::PackSkinArchive(members, packed);
  EXPECT_TRUE(std::equal(packed.Bytes().begin(), packed.Bytes().end(), stored.begin() + 4, stored.end()));
}

}  // namespace
}  // namespace skingen
