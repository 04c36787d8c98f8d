#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "skin/model/SkinDefinitionCheck.h"
#include "skin/model/SkinModel.h"
#include "skin/model/SkinTestArchive.h"

namespace skin::test {
namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Every section and key the loader reads, none at its default.
const char kEveryKey[] = R"([TitlebarSkin]
SkinName=Every Key
[Personality]
Left=left.bmp
LeftTopHeight=20
LeftBotHeight=3
LeftFrame=2
LeftStretch=0
LeftTrans=0
Right=right.bmp
RightTopHeight=21
RightBotHeight=4
RightFrame=2
RightStretch=2
RightTrans=2
Top=top.bmp
TopTopHeight=9
TopBotHeight=8
TopFrame=2
TopStretch=0
TopTrans=0
Bottom=bottom.bmp
BottomTopHeight=2
BottomBotHeight=3
BottomFrame=2
BottomStretch=0
BottomTrans=0
TextBack=textback.bmp
TextShift=27
TextShiftVert=2
TextRightClip=70
TextAlignment=2
Textbackground=1
TXTBackleft=5
TXTBackRight=4
ActiveTextR=250
ActiveTextG=240
ActiveTextB=230
InActiveTextR=10
InActiveTextG=20
InActiveTextB=30
menuBar=menubar.bmp
TileMenu=0
TileLeftMenu=3
TileRightMenu=2
[Fonts]
FontHeight=13
[Colours]
WindowText=1 1 1
TitleTextActive=2 2 2
TitleTextNoActive=3 3 3
ButtonFace=230 231 232
ButtonText=5 5 5
ButtonHilight=6 6 6
Buttonlight=7 7 7
ButtonShadow=8 8 8
ButtonDkShadow=9 9 9
HilightText=11 11 11
Hilight=12 12 12
Menubar=13 13 13
MenuBarText=14 14 14
MenuText=15 15 15
Menu=16 16 16
Scrollbar=18 18 18
[Colour1]
color=100 0 0
[Colour2]
color=0 100 0
[Customcolors]
Color0=1 2 3
Color1=2 3 4
Color2=3 4 5
Color3=4 5 6
Color4=5 6 7
Color5=6 7 8
Color6=7 8 9
Color7=8 9 10
Color8=9 10 11
Color9=10 11 12
[Button0]
Action=0
Align=1
Xcoord=26
Ycoord=4
Visibility=0
Visibility1=1
CombineOp=1
frame=4
ButtonImage=close.bmp
[Button1]
Action=1
Align=1
Xcoord=46
Ycoord=5
Visibility=2
Visibility1=6
CombineOp=2
frame=4
ButtonImage=max.bmp
[Button2]
Action=2
Align=1
Xcoord=66
Ycoord=6
Visibility=6
Visibility1=7
CombineOp=3
frame=4
ButtonImage=min.bmp
[Button3]
Action=4
Align=1
Visibility=10
Visibility1=10
CombineOp=4
frame=4
ButtonImage=help.bmp
[Button4]
Action=12
Align=0
Xcoord=4
Ycoord=4
Visibility=1
Visibility1=2
CombineOp=5
frame=4
ButtonImage=sys.bmp
[MdiControls]
Image=mdi.bmp
[Buttons]
Bitmap=button.bmp
CheckButton=check.bmp
RadioButton=radio.bmp
CheckButtonFrame=5
RadioButtonFrame=6
LeftWidth=3
RightWidth=4
TopHeight=5
BottomHeight=6
Trans=1
Tile=1
NormalColour=1
MouseOverColour=2
PressedColour=3
NormalColour2=10 20 30
MouseOverColour2=40 50 60
PressedColour2=70 80 90
)";

std::string ElementSection(const std::string& section, const std::string& image, int n,
                           const std::string& extra) {
  return "[" + section + "]\r\nImage=" + image + "\r\nStyle=1\r\nLeftWidth=" + std::to_string(n % 5 + 1) +
         "\r\nRightWidth=" + std::to_string(n % 4 + 1) + "\r\nTopHeight=" + std::to_string(n % 3 + 1) +
         "\r\nBottomHeight=" + std::to_string(n % 2 + 1) +
         "\r\nTrans=1\r\nTile=1\r\nFrame=" + std::to_string(n % 3 + 1) +
         "\r\nNormalColour=" + std::to_string(n) + "\r\nMouseOverColour=" + std::to_string(n + 1) +
         "\r\nPressedColour=" + std::to_string(n + 2) + "\r\nNormalColour2=" + std::to_string(n) +
         " 1 2\r\nMouseOverColour2=" + std::to_string(n) + " 3 4\r\nPressedColour2=" + std::to_string(n) +
         " 5 6\r\n" + extra;
}

TSkinFiles EveryKeySkin() {
  TSkinFiles files;
  files.ini = kEveryKey;
  uint8_t tag = 1;
  auto add = [&](const std::string& name, int32_t w, int32_t h, int frames) {
    files.Bitmap(name, Strip(w, h, frames, tag++));
  };
  add("left.bmp", 4, 60, 2);
  add("right.bmp", 4, 60, 2);
  add("top.bmp", 60, 48, 1);
  add("bottom.bmp", 20, 8, 1);
  add("textback.bmp", 20, 48, 1);
  add("menubar.bmp", 20, 40, 1);
  for (const char* b : {"close.bmp", "max.bmp", "min.bmp", "help.bmp", "sys.bmp"}) add(b, 18, 18, 4);
  add("mdi.bmp", 16, 14, 12);
  add("button.bmp", 30, 22, 5);
  add("check.bmp", 13, 13, 5);
  add("radio.bmp", 13, 13, 6);
  add("progress.bmp", 30, 14, 1);
  const char* sections[] = {"Progress.Chunk",
                            "GroupBoxEdge",
                            "GroupBox",
                            "Tabs",
                            "StatusBarEdges",
                            "Tab.Pane",
                            "ToolBars",
                            "ComboButton",
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
                            "UpDown.Horz",
                            "UpDown.Vert",
                            "Track",
                            "TRACKVERT"};
  files.ini +=
      "[Progress]\r\nBitmap=progress.bmp\r\nStyle=1\r\nLeftWidth=3\r\nRightWidth=2\r\nTopHeight=1\r\n"
      "BottomHeight=1\r\nTrans=1\r\nTile=1\r\n";
  int n = 0;
  for (const char* section : sections) {
    const std::string image = "e" + std::to_string(n) + ".bmp";
    std::string extra;
    if (std::string(section) == "Tabs") extra = "Border=mask.bmp\r\n";
    if (std::string(section).rfind("UpDown", 0) == 0) extra = "GlyphImage=mask.bmp\r\n";
    if (std::string(section).find("ScrollThumb") != std::string::npos) extra = "FrameCount=2\r\n";
    if (std::string(section) == "GroupBox")
      extra = "BackgroundAlignment=1\r\nBackgroundLeftShift=-2\r\nBackgroundRightShift=3\r\n";
    std::string text = ElementSection(section, image, n, extra);
    if (std::string(section) == "Tab.Pane")
      text.replace(text.find("LeftWidth=") + 10, 1, "9");  // capped at 4
    files.ini += text;
    add(image, 17, 21, 4);
    ++n;
  }
  add("mask.bmp", 8, 8, 2);
  return files;
}

TEST(SkinFullDefinitionTest, EveryRecordIsFilledAsTheDefinitionSays) {
  TSkinModel m;
  const TSkinFiles files = EveryKeySkin();
  ASSERT_TRUE(LoadSkin(m, files));
  EXPECT_EQ(m.SkinName, "Every Key");
  EXPECT_EQ(m.TabSheet->r.Left, 4);
  EXPECT_EQ(m.SysBtn[3].XCoord, 46);  // help takes the maximize button's place
  EXPECT_EQ(m.SysBtn[3].YCoord, 5);
  ExpectModelMatchesDefinition(m, m.data);
}

TEST(SkinFullDefinitionTest, ALoadIsRepeatable) {
  TSkinModel m;
  ASSERT_TRUE(LoadSkin(m, EveryKeySkin()));
  const TBitmap combo = m.combox->Map;
  ASSERT_TRUE(m.LoadArchive());
  EXPECT_EQ(m.combox->Map, combo);
  ExpectModelMatchesDefinition(m, m.data);
}

// The skins the build generates, when this build has made them: the stored
// form is a 32-bit count and then the packed archive.
void CheckGeneratedSkin(const std::string& fileName) {
  const std::filesystem::path path = std::filesystem::path(QM_BINARY_DIR) / "skins" / fileName;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " has not been generated in this build";
  TMemoryStream stored;
  stored.LoadFromFile(path.string());
  ASSERT_GE(stored.Size(), 4);
  const int32_t count = stored.ReadInt32();
  ASSERT_EQ(count, stored.Size() - 4);
  TSkinModel m;
  m.data.CopyFrom(stored, count);
  ASSERT_TRUE(m.LoadArchive());
  ExpectModelMatchesDefinition(m, m.data);
}

TEST(SkinFullDefinitionTest, TheTestSkinLoadsAsItsDefinitionSays) {
  CheckGeneratedSkin("quellmark-test.skin");
}

TEST(SkinFullDefinitionTest, OurSkinLoadsAsItsDefinitionSays) {
  CheckGeneratedSkin("quellmark.skin");
}

// The generator lists each member with the size and frame count it drew it
// with; after loading, every record must cut its strip the same way.
TEST(SkinFullDefinitionTest, TheTestSkinsStripsAreCutAsTheyWereDrawn) {
  const std::filesystem::path skins = std::filesystem::path(QM_BINARY_DIR) / "skins";
  const std::filesystem::path expect = skins / "quellmark-test-expect.txt";
  if (!std::filesystem::exists(expect)) GTEST_SKIP() << expect << " has not been generated in this build";
  TMemoryStream stored;
  stored.LoadFromFile((skins / "quellmark-test.skin").string());
  const int32_t count = stored.ReadInt32();
  TSkinModel m;
  m.data.CopyFrom(stored, count);
  ASSERT_TRUE(m.LoadArchive());

  struct TDrawn {
    int32_t width, height, frames;
  };
  std::map<std::string, TDrawn> members;
  std::vector<std::vector<std::string>> keys;
  std::ifstream in(expect);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() >= 5 && fields[0] == "member")
      members[fields[1]] = {std::stoi(fields[2]), std::stoi(fields[3]), std::stoi(fields[4])};
    if (fields.size() == 4 && fields[0] == "key") keys.push_back(fields);
  }
  ASSERT_FALSE(members.empty());
  int checked = 0;
  for (const std::vector<std::string>& k : keys) {
    const auto drawn = members.find(k[3]);
    if (drawn == members.end()) continue;
    const std::string& section = k[1];
    const std::string& key = k[2];
    const TDrawn& d = drawn->second;
    const TBitmap* map = nullptr;
    int32_t frames = 0;
    if (section == "Personality") {
      const std::map<std::string, const TDataSkinObject*> frame = {
          {"Left", &m.border[1]},   {"Right", &m.border[2]}, {"Top", &m.border[3]},
          {"Bottom", &m.border[4]}, {"TextBack", &m.Title},  {"menuBar", m.Menubar.get()}};
      const TDataSkinObject* record = frame.at(key);
      ASSERT_NE(record, nullptr) << key;
      map = &record->Map;
      frames = record->frame;
    } else if (section == "Buttons") {
      map = key == "Bitmap" ? &m.Button.Map : key == "CheckButton" ? &m.Button.CheckMap : &m.Button.RadioMap;
      frames = key == "Bitmap"        ? m.Button.frame
               : key == "CheckButton" ? m.Button.checkframe
                                      : m.Button.radioframe;
    } else if (key == "ButtonImage") {
      for (const TDataSkinSysButton& b : m.SysBtn)
        if (b.IDName == Upper(section)) map = &b.Map, frames = b.frame;
    } else if (key == "Image" && Upper(section) == "MDICONTROLS") {
      // Twelve cells: four for each built-in MDI button.
      const TDataSkinSysButton& first = m.SysBtn[m.SysBtn.size() - 3];
      EXPECT_EQ(first.frame * 3, d.frames);
      EXPECT_EQ(first.Map.Width() * 3, d.width);
      ++checked;
      continue;
    } else if (key == "Image" || key == "Bitmap") {
      const TDataSkinObject* record = RecordOfSection(m, section);
      ASSERT_NE(record, nullptr) << section;
      frames = record->frame;
      // The combo images are rebuilt from two members; only their counts compare.
      if (section != "ComboButton" && section != "SunkEdge") map = &record->Map;
    } else {
      continue;  // masks and glyphs carry no count of their own
    }
    EXPECT_EQ(frames, d.frames) << section << " " << key;
    if (map != nullptr) {
      EXPECT_EQ(map->Width(), d.width) << section << " " << key;
      EXPECT_EQ(map->Height(), d.height) << section << " " << key;
    }
    ++checked;
  }
  EXPECT_GE(checked, 40);
}

}  // namespace
}  // namespace skin::test
