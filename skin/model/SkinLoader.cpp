// The definition loader: unpack the archive, read the INI member, walk the
// sections in their fixed order (later steps use values of earlier ones:
// the menu-bar colour falls back on ButtonFace, the combo images need the
// frame counts, the tool-bar gradient needs the top border) and build the
// images a skin does not carry.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "skin/archive/ImgUtil.h"
#include "skin/form/SkinImage.h"
#include "skin/model/SkinModel.h"

namespace skin {

namespace {

// Raised inside a load only; LoadArchive turns it into an Empty skin.
class ESkinLoadError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

const char kPersonality[] = "Personality";

std::string UpperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The two channel pictures a skin without track-bar sections gets: silver
// rims around a grey-and-white sunken groove.
TBitmap BuiltinTrackImage(const std::string& name) {
  const TPixel silver = MakePixel(0xC0, 0xC0, 0xC0), grey = MakePixel(0x80, 0x80, 0x80),
               white = MakePixel(0xFF, 0xFF, 0xFF);
  if (name == "TRACK") {
    TBitmap image(16, 4, white);
    image.FillRect(Rect(0, 0, 2, 1), silver);
    image.FillRect(Rect(2, 0, 14, 1), grey);
    image.FillRect(Rect(0, 1, 2, 2), silver);
    image.SetPixel(0, 2, grey);
    image.SetPixel(1, 2, silver);
    image.FillRect(Rect(0, 3, 2, 4), silver);
    return image;
  }
  TBitmap image(4, 16, white);
  image.FillRect(Rect(0, 0, 4, 2), silver);
  image.SetPixel(2, 0, grey);
  image.FillRect(Rect(0, 2, 1, 14), grey);
  return image;
}

// Every record that a skin may leave absent, null where it does.
std::vector<TDataSkinObject*> OptionalRecords(TSkinModel& m) {
  return {m.tab.get(),           m.HSpin.get(),      m.VSpin.get(),        m.combox.get(),
          m.progress.get(),      m.TabSheet.get(),   m.Comboxborder.get(), m.comboxarrow.get(),
          m.ExtraImages.get(),   m.Box.get(),        m.Toolbar.get(),      m.Toolbarbtn.get(),
          m.progresschunk.get(), m.StatusBar.get(),  m.Header.get(),       m.Menubar.get(),
          m.MenuItem.get(),      m.MenuitemBG.get(), m.SArrow.get(),       m.HBar.get(),
          m.VBar.get(),          m.HSlider.get(),    m.VSlider.get(),      m.TrackHorz.get(),
          m.TrackVert.get(),     m.TrackLeft.get(),  m.Trackright.get(),   m.Tracktop.get(),
          m.Trackbottom.get(),   m.TrackBar.get(),   m.TrackBarVert.get(), m.boxlabel.get()};
}

}  // namespace

bool TSkinModel::LoadArchive() {
  Empty = true;
  if (IsDesigning()) return false;
  auto release = [this] {
    reader.reset();
    ms.Clear();
    ini.reset();
    sectionlist.clear();
  };
  try {
    reader = std::make_unique<TSkinReader>();
    reader->doLog = doLog;
    data.SetPosition(0);
    if (!reader->Loadfromstream(data)) {
      release();
      return false;  // the records stay as they were
    }
  } catch (const std::exception& e) {
    if (doLog) doLog(std::string("skin archive cannot be read: ") + e.what());
    release();
    return false;
  }
  try {
    ini = std::make_unique<TQuickIni>();
    std::string iniName;
    reader->readIni(".ini", ms, iniName);
    if (iniName.empty()) throw ESkinLoadError("the skin archive holds no INI member");
    ms.SetPosition(0);
    ini->LoadFromStream(&ms);
    LoadDefinition();
  } catch (const std::exception& e) {
    if (doLog) doLog(std::string("skin definition cannot be read: ") + e.what());
    release();
    ClearSkin();
    return false;
  }
  release();
  return true;
}

void TSkinModel::Readbmp(TBitmap& bmp, const std::string& fname) {
  bmp.Clear();
  if (!reader) return;
  const size_t cut = fname.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? fname : fname.substr(cut + 1);
  const size_t dot = name.rfind('.');
  // The extension is compared as written: ".BMP" names no image.
  if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0) return;
  reader->readfile(name, ms);
  if (ms.Size() == 0) return;
  if (!bmp.LoadFromBmp(ms.Bytes()))
    throw ESkinLoadError("bitmap member \"" + name + "\" is not a usable BMP");
}

int TSkinModel::ReadInt(const std::string& section, const std::string& key, int32_t defaultValue) const {
  return ini->ReadInteger(section, key, defaultValue);
}

bool TSkinModel::HasValue(const std::string& section, const std::string& key) const {
  return !ini->ReadString(section, key, "").empty();
}

TColor TSkinModel::ReadColourKey(const std::string& section, const std::string& key, TColor defaultColor,
                                 bool* present) {
  const std::string text = ini->ReadString(section, key, "");
  if (present != nullptr) *present = !text.empty();
  return text.empty() ? defaultColor : ParseColour(text);
}

void TSkinModel::LoadDefinition() {
  sectionlist.clear();
  SkinName = ini->ReadString("TitlebarSkin", "SkinName", "");
  ReadBorders();
  ReadColours();
  ReadCaptionButtons();
  ReadButtons();
  ReadTitle(kPersonality);

  ReadBitmapElement(progress, "Progress");
  ReadElement(progresschunk, "Progress.Chunk");
  ReadMenuBar(kPersonality);
  ReadElement(Box, "GroupBoxEdge");
  ReadGroupLabel(boxlabel, "GroupBox");
  ReadMaskedElement(tab, "Tabs", "Border");
  ReadElement(StatusBar, "StatusBarEdges");
  ReadElement(TabSheet, "Tab.Pane");
  if (TabSheet) {
    // A page frame wider than 4 pixels would eat into the page's controls.
    TRect& m = TabSheet->r;
    m = Rect(std::min(m.Left, 4), std::min(m.Top, 4), std::min(m.Right, 4), std::min(m.Bottom, 4));
  }
  ReadElement(Toolbarbtn, "ToolBars");
  ReadMaskedElement(combox, "ComboButton", "");
  ReadElement(Comboxborder, "SunkEdge");
  if (combox && !combox->Map.Empty()) {
    // The drop button for right-to-left combo boxes, kept as the skin gives it.
    combox->MaskMap = combox->Map;
    MirrorBitmap(combox->MaskMap);
  }
  ReadElement(ExtraImages, "ExtraImages");
  ReadElement(Header, "Headerbar");
  ReadElement(MenuItem, "MenuItem");
  ReadElement(MenuitemBG, "MenuBackground");
  ReadElement(SArrow, "Scrollbar");
  ReadElement(HBar, "HorzScroll");
  ReadElement(VBar, "VertScroll");
  ReadElement(HSlider, "HorzScrollThumb");
  ReadElement(VSlider, "VertScrollThumb");
  ReadElement(TrackHorz, "Trackbar.ThumbHorz");
  ReadElement(TrackVert, "Trackbar.ThumbVert");
  ReadElement(TrackLeft, "Trackbar.ThumbLeft");
  ReadElement(Trackright, "Trackbar.ThumbRight");
  ReadElement(Tracktop, "Trackbar.ThumbUp");
  ReadElement(Trackbottom, "Trackbar.ThumbDown");
  ReadMaskedElement(HSpin, "UpDown.Horz", "GlyphImage");
  ReadMaskedElement(VSpin, "UpDown.Vert", "GlyphImage");
  ReadElement(TrackBar, "Track");
  ReadElement(TrackBarVert, "TRACKVERT");
  if (!TrackBar) LoadBuiltinElement(TrackBar, "TRACK");
  if (!TrackBarVert) LoadBuiltinElement(TrackBarVert, "TRACKVERT");

  FixFrameCounts();
  BuildComboImages();
  BuildComboArrow();
  BuildToolbarImage();
  Colors[17] = GetCaptionColor();
  SchemeColorsLoaded();
  sectionlist.clear();
  Empty = false;
}

void TSkinModel::ReadBorders() {
  static const char* const kSides[5] = {"", "Left", "Right", "Top", "Bottom"};
  for (int i = 1; i <= 4; ++i) {
    const std::string side = kSides[i];
    TDataSkinBorder& b = border[static_cast<size_t>(i)];
    b = TDataSkinBorder(side);
    const int32_t fixedStart = ReadInt(kPersonality, side + "TopHeight", 0);
    const int32_t fixedEnd = ReadInt(kPersonality, side + "BotHeight", 0);
    // Left and right strips run down the window, top and bottom across it.
    b.r = i <= 2 ? Rect(0, fixedStart, 0, fixedEnd) : Rect(fixedStart, 0, fixedEnd, 0);
    b.frame = ReadInt(kPersonality, side + "Frame", 1);
    b.Tile = std::min(ReadInt(kPersonality, side + "Stretch", 1), 1);
    b.trans = ReadInt(kPersonality, side + "Trans", 1);
    Readbmp(b.Map, ini->ReadString(kPersonality, side, ""));
  }
}

void TSkinModel::ReadSchemeColour(int index, const std::string& key, TColor defaultColor) {
  bool present = false;
  const TColor value = ReadColourKey("Colours", key, defaultColor, &present);
  hasColors[static_cast<size_t>(index)] = present;
  Colors[static_cast<size_t>(index)] = value;
}

void TSkinModel::ReadRgbKeys(const std::string& section, const std::string& prefix, TColor& target) {
  const int32_t red = ReadInt(section, prefix + "R", -1);
  const int32_t green = ReadInt(section, prefix + "G", -1);
  const int32_t blue = ReadInt(section, prefix + "B", -1);
  if (red >= 0 && green >= 0 && blue >= 0) target = (red & 255) + (green & 255) * 256 + (blue & 255) * 65536;
}

void TSkinModel::ReadColours() {
  Colors[9] = Colors[10] = Colors[19] = 0;
  hasColors[9] = hasColors[10] = hasColors[17] = hasColors[19] = false;
  ReadSchemeColour(0, "WindowText", SysColor(8));
  ReadSchemeColour(3, "ButtonFace", SysColor(15));
  ReadSchemeColour(18, "Scrollbar", SysColor(0));
  ReadSchemeColour(11, "HilightText", SysColor(14));
  ReadSchemeColour(12, "Hilight", SysColor(13));
  ReadSchemeColour(13, "Menubar", Colors[3]);
  ReadSchemeColour(16, "Menu", SysColor(4));
  ReadSchemeColour(15, "MenuText", SysColor(7));
  ReadSchemeColour(4, "ButtonText", SysColor(18));
  ReadSchemeColour(5, "ButtonHilight", SysColor(20));
  ReadSchemeColour(6, "Buttonlight", SysColor(20));
  ReadSchemeColour(7, "ButtonShadow", SysColor(16));
  ReadSchemeColour(8, "ButtonDkShadow", SysColor(21));
  ReadSchemeColour(14, "MenuBarText", SysColor(7));
  ReadSchemeColour(1, "TitleTextActive", SysColor(9));
  ReadSchemeColour(2, "TitleTextNoActive", SysColor(19));

  ColorPreset.clear();
  ini->ReadSections(&sectionlist);
  for (const std::string& section : sectionlist) {
    const std::string upper = UpperAscii(section);
    if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
      ColorPreset.push_back(ReadColourKey(section, "color", SysColor(8)));
  }
  for (int i = 0; i < kPresetColors; ++i)
    PresetColors[static_cast<size_t>(i)] =
        ReadColourKey("Customcolors", "Color" + std::to_string(i), clWhite);
}

void TSkinModel::ReadCaptionButtons() {
  SysBtn.clear();
  ini->ReadSections(&sectionlist);
  auto notCaptionButton = [this](const std::string& section) {
    const std::string upper = UpperAscii(section);
    if (!StartsWith(upper, "BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
      return true;
    // A disabled button: Action -1 unless it is explicitly visible.
    return ReadInt(section, "Action", 0) == -1 && ReadInt(section, "Visibility", -1) != 0;
  };
  sectionlist.erase(std::remove_if(sectionlist.begin(), sectionlist.end(), notCaptionButton),
                    sectionlist.end());

  const size_t n = sectionlist.size();
  SysBtn.reserve(n + 3);
  int32_t rememberedX = 0, rememberedY = 0;
  for (const std::string& section : sectionlist) {
    TDataSkinSysButton& b = SysBtn.emplace_back(UpperAscii(section));
    b.Action = ReadInt(section, "Action", 0);
    b.Align = ReadInt(section, "Align", 0);
    b.XCoord = ReadInt(section, "Xcoord", 0);
    b.YCoord = ReadInt(section, "Ycoord", 0);
    b.Visibility = ReadInt(section, "Visibility", 0);
    b.Visibility1 = ReadInt(section, "Visibility1", b.Action == -1 ? -1 : 0);
    // The context-help button sits where the maximize button shows when it can.
    if (b.Action == 1 && b.Visibility == 2) rememberedX = b.XCoord, rememberedY = b.YCoord;
    if (b.Action == 4) b.XCoord = rememberedX, b.YCoord = rememberedY;
    b.CombineOp = ReadInt(section, "CombineOp", -1);
    b.frame = ReadInt(section, "frame", 0);
    Readbmp(b.Map, ini->ReadString(section, "ButtonImage", ""));
    if (b.frame == 0) {
      b.frame = 6;
      if (!b.Map.Empty())
        b.frame = static_cast<double>(b.Map.Width()) / static_cast<double>(b.Map.Height()) <= 3.8 ? 3 : 6;
      if (b.Action < 0) b.frame = 6;
      if (b.Action == 3 || b.Action == 11) b.Map.Clear();  // drawn as the window icon
    }
  }
  for (int action = 7; action <= 9; ++action) {
    TDataSkinSysButton& b = SysBtn.emplace_back("MDICONTROLS");
    b.Action = action;
    b.Align = b.Visibility = b.Visibility1 = 100;
    b.frame = 4;
  }
  ReadMdiControls(n);
}

void TSkinModel::ReadMdiControls(size_t firstIndex) {
  TBitmap cells;
  Readbmp(cells, ini->ReadString("MDICONTROLS", "Image", ""));
  if (cells.Empty()) return;
  // Twelve equal cells: four states each of minimize, restore and close.
  const int32_t w = cells.Width() / 12, h = cells.Height();
  for (int32_t i = 0; i < 3; ++i) {
    TDataSkinSysButton& b = SysBtn[firstIndex + static_cast<size_t>(i)];
    b.Map = cells.Crop(Rect(4 * w * i, 0, 4 * w * (i + 1), h));
    b.XCoord = (w + 4) * (3 - i);
  }
}

void TSkinModel::ReadButtons() {
  const std::string section = "Buttons";
  Button = TDataSkinButton(section);
  Readbmp(Button.Map, ini->ReadString(section, "Bitmap", ""));
  Readbmp(Button.CheckMap, ini->ReadString(section, "CheckButton", ""));
  Readbmp(Button.RadioMap, ini->ReadString(section, "RadioButton", ""));
  Button.r = Rect(ReadInt(section, "LeftWidth", 0), ReadInt(section, "TopHeight", 0),
                  ReadInt(section, "RightWidth", 0), ReadInt(section, "BottomHeight", 0));
  Button.trans = ReadInt(section, "Trans", 0);
  Button.Tile = ReadInt(section, "Tile", 0);
  if (Button.Tile > 1) Button.Tile = 0;
  Button.Normalcolor = ReadInt(section, "NormalColour", -1);
  Button.Overcolor = ReadInt(section, "MouseOverColour", -1);
  Button.Downcolor = ReadInt(section, "PressedColour", -1);
  Button.Normalcolor2 = ReadColourKey(section, "NormalColour2", Colors[4], &Button.newnormal);
  Button.Overcolor2 = ReadColourKey(section, "MouseOverColour2", Colors[4], &Button.newover);
  Button.Downcolor2 = ReadColourKey(section, "PressedColour2", Colors[4], &Button.newdown);
  Button.radioframe = ReadInt(section, "RadioButtonFrame", 0);
  Button.checkframe = ReadInt(section, "CheckButtonFrame", 0);
}

void TSkinModel::ReadTitle(const std::string& section) {
  Title = TDataSkinTitle("Title");
  Readbmp(Title.Map, ini->ReadString(section, "TextBack", ""));
  Title.r = Rect(ReadInt(section, "TextShift", 0), ReadInt(section, "TextShiftVert", 0),
                 ReadInt(section, "TextRightClip", 0), 0);
  Title.Aligment = ReadInt(section, "TextAlignment", 0);
  Title.BackGround = ReadInt(section, "Textbackground", 0);
  Title.backleft = ReadInt(section, "TXTBackleft", 0);
  Title.backright = ReadInt(section, "TXTBackRight", 0);
  Title.FontHeight = ReadInt("Fonts", "FontHeight", 14);
  Title.activetext = clNone;
  Title.inactivetext = clNone;
  ReadRgbKeys(section, "ActiveText", Title.activetext);
  ReadRgbKeys(section, "InActiveText", Title.inactivetext);
}

void TSkinModel::ReadMenuBar(const std::string& section) {
  Menubar.reset();
  const std::string image = ini->ReadString(section, "menuBar", "");
  if (image.empty()) return;
  Menubar = std::make_unique<TDataSkinObject>(section);
  Readbmp(Menubar->Map, image);
  Menubar->Tile = std::min(ReadInt(section, "TileMenu", 1), 1);
  Menubar->r = Rect(ReadInt(section, "TileLeftMenu", 1), 0, ReadInt(section, "TileRightMenu", 1), 0);
}

void TSkinModel::ReadElementKeys(TDataSkinObject& element, const std::string& section, bool withFrame,
                                 bool withColours, int tileAboveOneBecomes) {
  element.style = ReadInt(section, "Style", 0);
  element.r = Rect(ReadInt(section, "LeftWidth", 0), ReadInt(section, "TopHeight", 0),
                   ReadInt(section, "RightWidth", 0), ReadInt(section, "BottomHeight", 0));
  if (withFrame) element.frame = ReadInt(section, "Frame", 0);
  element.trans = ReadInt(section, "Trans", 0);
  element.Tile = ReadInt(section, "Tile", 0);
  if (element.Tile > 1) element.Tile = tileAboveOneBecomes;
  if (!withColours) return;
  element.Normalcolor = ReadInt(section, "NormalColour", -1);
  element.Overcolor = ReadInt(section, "MouseOverColour", -1);
  element.Downcolor = ReadInt(section, "PressedColour", -1);
  element.Normalcolor2 = ReadColourKey(section, "NormalColour2", Colors[4]);
  element.Overcolor2 = ReadColourKey(section, "MouseOverColour2", Colors[4]);
  element.Downcolor2 = ReadColourKey(section, "PressedColour2", Colors[4]);
}

template <class TRecord>
void TSkinModel::ReadElement(std::unique_ptr<TRecord>& element, const std::string& section) {
  element.reset();
  const std::string image = ini->ReadString(section, "Image", "");
  if (image.empty()) return;
  element = std::make_unique<TRecord>(section);
  Readbmp(element->Map, image);
  ReadElementKeys(*element, section, true, true, 0);
}

void TSkinModel::ReadMaskedElement(std::unique_ptr<TDataSkinBorder>& element, const std::string& section,
                                   const std::string& maskKey) {
  element.reset();
  const std::string image = ini->ReadString(section, "Image", "");
  if (image.empty()) return;
  element = std::make_unique<TDataSkinBorder>(section);
  Readbmp(element->Map, image);
  if (!maskKey.empty()) Readbmp(element->MaskMap, ini->ReadString(section, maskKey, ""));
  ReadElementKeys(*element, section, false, true, 0);
}

void TSkinModel::ReadBitmapElement(std::unique_ptr<TDataSkinBorder>& element, const std::string& section) {
  element.reset();
  const std::string image = ini->ReadString(section, "Bitmap", "");
  if (image.empty()) return;
  element = std::make_unique<TDataSkinBorder>(section);
  Readbmp(element->Map, image);
  ReadElementKeys(*element, section, false, false, 1);
}

void TSkinModel::ReadGroupLabel(std::unique_ptr<TDataSkinBoxLabel>& element, const std::string& section) {
  element.reset();
  const std::string image = ini->ReadString(section, "Image", "");
  if (image.empty()) return;
  element = std::make_unique<TDataSkinBoxLabel>(section);
  Readbmp(element->Map, image);
  ReadElementKeys(*element, section, false, true, 0);
  element->Alignment = ReadInt(section, "BackgroundAlignment", 0);
  element->LeftShift = ReadInt(section, "BackgroundLeftShift", 0);
  element->RightShift = ReadInt(section, "BackgroundRightShift", 0);
}

void TSkinModel::LoadBuiltinElement(std::unique_ptr<TDataSkinObject>& element, const std::string& imageName) {
  element = std::make_unique<TDataSkinObject>(imageName);
  element->Map = BuiltinTrackImage(imageName);
  element->r = Rect(3, 3, 3, 3);
  element->Tile = 0;
  element->frame = 1;
}

void TSkinModel::FixFrameCounts() {
  // Check-box and radio strips without a count: 13-pixel cells in a low
  // strip, 16-pixel cells otherwise, and never fewer than the 4 states.
  auto cellCount = [](const TBitmap& strip) {
    const int32_t cell = strip.Height() < 16 ? 13 : 16;
    return std::max(strip.Width() / cell, 4);
  };
  Button.frame = 5;
  if (Button.radioframe == 0) Button.radioframe = cellCount(Button.RadioMap);
  if (Button.checkframe == 0) Button.checkframe = cellCount(Button.CheckMap);

  auto set = [](auto& element, int32_t frames) {
    if (element) element->frame = frames;
  };
  Title.frame = 2;
  set(Menubar, 2);
  set(Box, 2);
  if (progress) progress->frame = progress->style == 0 ? 2 : 1;
  for (auto* p : {&Toolbar, &TabSheet, &MenuitemBG}) set(*p, 1);
  set(boxlabel, 1);
  for (auto* p : {&Toolbarbtn, &ExtraImages, &MenuItem, &TrackHorz, &TrackVert, &TrackLeft, &Trackright,
                  &Tracktop, &Trackbottom})
    set(*p, 5);
  set(tab, 5);
  if (Header && Header->frame == 0) Header->frame = 5;
  set(StatusBar, 3);
  set(combox, 4);
  for (auto* p : {&Comboxborder, &HBar, &VBar}) set(*p, 4);
  set(SArrow, 23);
  set(HSpin, 8);
  set(VSpin, 8);
  set(HSlider, ReadInt("HorzScrollThumb", "FrameCount", 3));
  set(VSlider, ReadInt("VertScrollThumb", "FrameCount", 3));

  // Painters divide by these counts: whatever a skin says, at least one image.
  auto atLeastOne = [](TDataSkinObject* element) {
    if (element && element->frame < 1) element->frame = 1;
  };
  for (int i = 1; i <= 4; ++i) atLeastOne(&border[static_cast<size_t>(i)]);
  for (TDataSkinSysButton& b : SysBtn) atLeastOne(&b);
  for (TDataSkinObject* p : OptionalRecords(*this)) atLeastOne(p);
  Button.radioframe = std::max(Button.radioframe, 1);
  Button.checkframe = std::max(Button.checkframe, 1);
}

void TSkinModel::BuildComboImages() {
  if (!Comboxborder || !combox) return;
  constexpr int32_t kCellWidth = 50, kCellHeight = 21;
  const int32_t b = SkinPlatform().HorzScrollArrowWidth() + 2;
  const int32_t frames = Comboxborder->frame;
  TBitmap strip(kCellWidth * frames, kCellHeight, kMagentaPixel);
  const TRect cellRect = Rect(0, 0, kCellWidth, kCellHeight);
  const TRect buttonRect = Rect(kCellWidth - b, 0, kCellWidth, kCellHeight);
  for (int k = 1; k <= frames; ++k) {
    // Magenta underneath, so what the frame leaves transparent stays so.
    TBitmap cell(kCellWidth, kCellHeight, kMagentaPixel);
    DrawSkinImage(cell, cellRect, Comboxborder->Map, Comboxborder->r, k, frames, Comboxborder->trans == 1,
                  false, false);
    DrawSkinImage(cell, buttonRect, combox->Map, combox->r, k, combox->frame, true, false, false);
    if (ExtraImages) DrawSkinFrameCentered(cell, buttonRect, ExtraImages->Map, k, ExtraImages->frame, true);
    cell.FillRect(Rect(2, 2, kCellWidth - 1 - b, kCellHeight - 3), kMagentaPixel);  // the edit area
    CopyRect(strip, kCellWidth * (k - 1), 0, cell, cellRect);
  }
  combox->style = 2;
  combox->r = Comboxborder->r;
  combox->r.Left = 2;
  combox->r.Right = b + 2;
  combox->Map = strip;
  MirrorBitmap(strip);
  Comboxborder->Map = std::move(strip);
  Comboxborder->r.Left = b + 2;
  Comboxborder->r.Right = 2;
}

void TSkinModel::BuildComboArrow() {
  if (!comboxarrow) comboxarrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  if (Comboxborder && combox && combox->style == 2) {
    // The 17 x 17 drop arrow of a date-time picker, cut from each built combo face.
    const int32_t frames = Comboxborder->frame;
    const int32_t cellWidth = combox->Map.Width() / frames;
    TBitmap arrows(17 * frames, 17);
    for (int32_t k = 1; k <= frames; ++k)
      CopyRect(arrows, 17 * (k - 1), 0, combox->Map, Rect(k * cellWidth - 19, 2, k * cellWidth - 2, 19));
    comboxarrow->frame = frames;
    comboxarrow->Map = std::move(arrows);
  } else if (combox) {
    comboxarrow->Map = combox->Map;
    ReplaceKeyColor(comboxarrow->Map, Colors[3]);
    comboxarrow->frame = combox->frame;
  }
}

void TSkinModel::BuildToolbarImage() {
  const TColor caption = GetCaptionColor();
  const int saturation = ColorSaturation(caption);
  TColor bottom = BlendColors(0x808080, caption, 150);
  const TColor top = BlendColors(Colors[3], clWhite, 150);
  // A vivid caption colour would make a loud bar: lighten it more the more vivid it is.
  if (saturation > 110) bottom = BlendColors(caption, clWhite, (5625 - 25 * saturation) / 140 + 50);
  TBitmap gradient(10, 40);
  FillGradientBands(gradient, Rect(0, 0, 10, 40), top, true, bottom);
  if (!Toolbar) Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
  Toolbar->Map = std::move(gradient);
  Toolbar->frame = 1;
}

}  // namespace skin
