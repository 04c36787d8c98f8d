#include "SkinDefinition.h"

#include <algorithm>

#include "Artwork.h"
#include "ImageFiles.h"

namespace skingen {

IniSection& IniSection::Add(const std::string& key, const std::string& value) {
  keys.emplace_back(key, value);
  return *this;
}

IniSection& IniSection::Add(const std::string& key, int value) {
  return Add(key, std::to_string(value));
}

IniSection& IniSection::Add(const std::string& key, Rgb c) {
  return Add(key, std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b));
}

std::string SkinDefinition::IniText() const {
  std::string text = "; " + skinName + ", drawn by Quellmark's skin generator\r\n";
  for (const IniSection& s : sections) {
    text += "[" + s.name + "]\r\n";
    for (const auto& [key, value] : s.keys) text += key + "=" + value + "\r\n";
  }
  return text;
}

std::vector<SkinMember> SkinDefinition::Members() const {
  std::vector<SkinMember> members;
  for (const SkinImage& i : images) members.push_back({i.member, EncodeBmp24(i.image)});
  std::sort(members.begin(), members.end(),
            [](const SkinMember& a, const SkinMember& b) { return a.name < b.name; });
  std::string ini = IniText();
  members.push_back({iniName, std::vector<uint8_t>(ini.begin(), ini.end())});
  return members;
}

std::string SkinDefinition::Expectations() const {
  std::string out;
  for (const SkinImage& i : images)
    out += "member\t" + i.member + "\t" + std::to_string(i.image.Width()) + "\t" +
           std::to_string(i.image.Height()) + "\t" + std::to_string(i.frames) + "\t" +
           (i.stacked ? "stacked" : "side") + "\n";
  for (const IniSection& s : sections)
    for (const auto& [key, value] : s.keys) out += "key\t" + s.name + "\t" + key + "\t" + value + "\n";
  return out;
}

namespace {

struct Margins {
  int left, top, right, bottom;
};

// Writes the skin's sections. In the test skin every key the loader reads is
// given, each with a value unlike its default, and values that the two skins
// could share differ per section so that a value read from the wrong section
// is noticed.
class Builder {
 public:
  explicit Builder(const Theme& theme) : full_(theme.variant == Variant::Test) {
    def_.skinName = theme.skinName;
  }

  SkinDefinition Take() { return std::move(def_); }
  bool Full() const { return full_; }

  IniSection& Section(const std::string& name) {
    def_.sections.push_back({name, {}});
    return def_.sections.back();
  }

  std::string Image(const std::string& member, Canvas image, int frames, bool stacked = false) {
    for (const SkinImage& i : def_.images)
      if (i.member == member) return member;
    def_.images.push_back({member, std::move(image), frames, stacked});
    return member;
  }

  static void AddMargins(IniSection& s, Margins m) {
    s.Add("LeftWidth", m.left)
        .Add("TopHeight", m.top)
        .Add("RightWidth", m.right)
        .Add("BottomHeight", m.bottom);
  }

  // Keys the test skin adds to every element: a style and the text colours.
  void AddElementExtras(IniSection& s, bool colours, int style) {
    if (!full_) return;
    s.Add("Style", style);
    if (!colours) return;
    int n = ++sectionNumber_;
    s.Add("NormalColour", 0x010203 * n)
        .Add("MouseOverColour", 0x020301 * n)
        .Add("PressedColour", 0x030102 * n);
    s.Add("NormalColour2", Rgb{static_cast<uint8_t>(10 + n), 20, 30});
    s.Add("MouseOverColour2", Rgb{40, static_cast<uint8_t>(50 + n), 60});
    s.Add("PressedColour2", Rgb{70, 80, static_cast<uint8_t>(90 + n)});
  }

  // A section read by the plain element reader.
  IniSection& Plain(const std::string& name, const std::string& image, Margins m, int frame, int trans,
                    int tile, int style = 1) {
    IniSection& s = Section(name);
    s.Add("Image", image);
    AddMargins(s, m);
    if (frame > 0) s.Add("Frame", frame);
    if (trans != 0 || full_) s.Add("Trans", trans);
    if (tile != 0 || full_) s.Add("Tile", tile);
    AddElementExtras(s, true, style);
    return s;
  }

 private:
  bool full_;
  int sectionNumber_ = 0;
  SkinDefinition def_;
};

void AddPersonality(Builder& b, const Theme& t) {
  const Geometry& g = t.sizes;
  FrameBorders borders = DrawBorders(t);
  bool full = b.Full();
  // Rounded corners need the border's magenta cut out of the window; the
  // square-cornered test frame is opaque.
  int trans = g.cornerRadius > 0 ? 1 : 0;
  IniSection& s = b.Section("Personality");
  struct Side {
    const char* name;
    Canvas* image;
    bool stacked;
    int fixedStart, fixedEnd;
  } sides[] = {
      {"Left", &borders.left, false, g.captionHeight, g.borderWidth},
      {"Right", &borders.right, false, g.captionHeight, g.borderWidth},
      {"Top", &borders.top, true, borders.topEnds, borders.topEnds},
      {"Bottom", &borders.bottom, true, borders.bottomEnds, borders.bottomEnds},
  };
  for (Side& side : sides) {
    std::string n = side.name;
    std::string member = n == "Left"    ? "left.bmp"
                         : n == "Right" ? "right.bmp"
                         : n == "Top"   ? "top.bmp"
                                        : "bottom.bmp";
    s.Add(n, b.Image(member, *side.image, 2, side.stacked));
    s.Add(n + "TopHeight", side.fixedStart).Add(n + "BotHeight", side.fixedEnd).Add(n + "Frame", 2);
    // The middles are plain colour: stretched in the production skin,
    // repeated in the test skin so that the other reading is exercised.
    s.Add(n + "Stretch", full ? 0 : 1).Add(n + "Trans", trans);
  }
  s.Add("TextBack", b.Image("textback.bmp", DrawTextBack(t), 2, true));
  s.Add("TXTBackleft", 6).Add("TXTBackRight", 6);
  // The window icon sits at x = 8, 16 pixels wide.
  s.Add("TextShift", 28).Add("TextRightClip", 3 * (g.captionButton + 2) + g.borderWidth + 10);
  if (full) {
    s.Add("TextShiftVert", 2).Add("TextAlignment", 1).Add("Textbackground", 1);
    s.Add("ActiveTextR", t.colours.titleText.r).Add("ActiveTextG", t.colours.titleText.g);
    s.Add("ActiveTextB", t.colours.titleText.b);
    s.Add("InActiveTextR", t.colours.titleTextInactive.r).Add("InActiveTextG", t.colours.titleTextInactive.g);
    s.Add("InActiveTextB", t.colours.titleTextInactive.b);
  }
  s.Add("menuBar", b.Image("menubar.bmp", DrawMenuBar(t), 2, true));
  s.Add("TileMenu", full ? 0 : 1).Add("TileLeftMenu", full ? 3 : 2).Add("TileRightMenu", full ? 4 : 2);
}

void AddColours(Builder& b, const Theme& t) {
  const Palette& p = t.colours;
  IniSection& s = b.Section("Colours");
  s.Add("WindowText", p.text)
      .Add("TitleTextActive", p.titleText)
      .Add("TitleTextNoActive", p.titleTextInactive);
  s.Add("ButtonFace", p.face).Add("ButtonText", p.text).Add("ButtonHilight", p.field);
  s.Add("Buttonlight", Mix(p.face, p.field, 0.5)).Add("ButtonShadow", p.line);
  s.Add("ButtonDkShadow", Mix(p.line, p.text, 0.5));
  // Menu selections are a light tint, so their text stays dark.
  s.Add("HilightText", p.text).Add("Hilight", p.pressedFill);
  s.Add("Menubar", p.menuBar).Add("MenuBarText", p.text).Add("MenuText", p.text).Add("Menu", p.field);
  s.Add("Scrollbar", p.shaft);
  if (!b.Full()) return;
  b.Section("Colour1").Add("color", p.accent);
  b.Section("COLOURWarm").Add("color", Rgb{200, 120, 40});
  IniSection& custom = b.Section("Customcolors");
  for (int i = 0; i < 10; ++i)
    custom.Add(
        "Color" + std::to_string(i),
        Rgb{static_cast<uint8_t>(20 * i), static_cast<uint8_t>(200 - 15 * i), static_cast<uint8_t>(7 * i)});
}

void AddCaptionButtons(Builder& b, const Theme& t) {
  const Geometry& g = t.sizes;
  int step = g.captionButton + 2;
  int first = g.borderWidth + g.captionButton + (b.Full() ? 3 : 4);
  int y = (g.captionHeight - g.captionButton) / 2;
  struct Spec {
    CaptionGlyph glyph;
    const char* member;
    int action, xcoord, visibility, visibility1;
  } specs[] = {
      {CaptionGlyph::Close, "btnclose.bmp", 0, first, 0, 0},
      {CaptionGlyph::Maximize, "btnmax.bmp", 1, first + step, 2, 6},
      {CaptionGlyph::Restore, "btnrestore.bmp", 1, first + step, 1, 6},
      {CaptionGlyph::Minimize, "btnmin.bmp", 2, first + 2 * step, 6, 0},
      {CaptionGlyph::Help, "btnhelp.bmp", 4, first + step, 10, 10},
  };
  int n = 0;
  for (const Spec& spec : specs) {
    IniSection& s = b.Section("Button" + std::to_string(n++));
    s.Add("Action", spec.action).Add("Align", 1).Add("Xcoord", spec.xcoord).Add("Ycoord", y);
    s.Add("Visibility", spec.visibility).Add("Visibility1", spec.visibility1);
    if (b.Full()) s.Add("CombineOp", n);
    // Four frames must be said: a 4:1 strip would otherwise be read as six.
    s.Add("frame", 4).Add("ButtonImage", b.Image(spec.member, DrawCaptionButton(t, spec.glyph), 4));
  }
  if (!b.Full()) {
    // The window icon at the caption's left, where TextShift leaves room:
    // the engine draws the window's own icon there, and a click opens the
    // system menu. No image: the loader takes the icon for this action.
    IniSection& icon = b.Section("Button" + std::to_string(n++));
    icon.Add("Action", 3).Add("Align", 0).Add("Xcoord", 8).Add("Ycoord", (g.captionHeight - 16) / 2);
    icon.Add("Visibility", 0).Add("Visibility1", 0);
  }
  b.Section("MdiControls").Add("Image", b.Image("mdicontrols.bmp", DrawMdiControls(t), 12));
}

void AddButtons(Builder& b, const Theme& t) {
  bool full = b.Full();
  int checkFrames = full ? 12 : 4, radioFrames = full ? 8 : 4;
  IniSection& s = b.Section("Buttons");
  s.Add("Bitmap", b.Image("button.bmp", DrawPushButton(t), 5));
  s.Add("CheckButton", b.Image("check.bmp", DrawCheckBoxes(t, checkFrames), checkFrames));
  s.Add("RadioButton", b.Image("radio.bmp", DrawRadioButtons(t, radioFrames), radioFrames));
  s.Add("CheckButtonFrame", checkFrames).Add("RadioButtonFrame", radioFrames);
  Builder::AddMargins(s, {3, 3, 3, 3});
  s.Add("Trans", 1).Add("Tile", full ? 1 : 0);
  if (full) {
    s.Add("NormalColour", 0x112233).Add("MouseOverColour", 0x223311).Add("PressedColour", 0x331122);
  }
  const Palette& p = t.colours;
  s.Add("NormalColour2", p.text)
      .Add("MouseOverColour2", full ? p.accentDark : p.text)
      .Add("PressedColour2", p.text);
}

void AddElements(Builder& b, const Theme& t) {
  bool full = b.Full();
  const Palette& p = t.colours;
  int progressFrames = full ? 1 : 2;
  {
    // The progress bar is read by the reader of "Bitmap" elements.
    IniSection& s = b.Section("Progress");
    s.Add("Bitmap", b.Image("progress.bmp", DrawProgress(t, progressFrames), progressFrames));
    s.Add("Style", full ? 1 : 0);
    Builder::AddMargins(s, {3, 3, 3, 3});
    s.Add("Trans", 1);
    if (full) s.Add("Tile", 1);
  }
  if (full) {
    b.Plain("Progress.Chunk", b.Image("progresschunk.bmp", DrawProgressChunk(t), 1), {1, 2, 2, 1}, 1, 1, 1);
    b.Plain("GroupBoxEdge", b.Image("groupboxedge.bmp", DrawGroupBoxEdge(t), 2), {4, 4, 4, 4}, 2, 1, 1);
    IniSection& label = b.Section("GroupBox");
    label.Add("Image", b.Image("groupbox.bmp", DrawGroupBoxLabel(t), 1));
    Builder::AddMargins(label, {6, 2, 6, 2});
    label.Add("Trans", 1).Add("Tile", 1);
    b.AddElementExtras(label, true, 1);
    label.Add("BackgroundAlignment", 2).Add("BackgroundLeftShift", -3).Add("BackgroundRightShift", 5);
  }
  {
    IniSection& s = b.Section("Tabs");
    s.Add("Image", b.Image("tab.bmp", DrawTabs(t), 5));
    s.Add("Border", b.Image("tabborder.bmp", DrawTabPageFrame(t, 20), 1));
    s.Add("Style", full ? 1 : 0);
    Builder::AddMargins(s, {4, 4, 4, 2});
    s.Add("Trans", 1);
    if (full) {
      s.Add("Tile", 1)
          .Add("NormalColour", 0x0A0B0C)
          .Add("MouseOverColour", 0x0B0C0A)
          .Add("PressedColour", 0x0C0A0B);
      s.Add("PressedColour2", p.accentDark);
    }
    s.Add("NormalColour2", p.text).Add("MouseOverColour2", p.text);
  }
  IniSection& status = b.Plain("StatusBarEdges", b.Image("statusbar.bmp", DrawStatusBar(t), 3), {2, 2, 2, 2},
                               full ? 3 : 0, 0, 0);
  if (!full) status.Add("NormalColour2", p.text);  // the test skin's own colours are already there
  b.Plain("Tab.Pane", b.Image("tabpane.bmp", DrawTabPageFrame(t, 12), 1), {2, 2, 2, 2}, full ? 1 : 0, 0, 0);
  if (full) b.Plain("ToolBars", b.Image("toolbars.bmp", DrawToolBarButtons(t), 5), {3, 3, 3, 3}, 5, 1, 1);
  {
    IniSection& s = b.Section("ComboButton");
    s.Add("Image", b.Image("combobutton.bmp", DrawComboButton(t), 4));
    Builder::AddMargins(s, {2, 2, 2, 2});
    s.Add("Trans", 1);
    if (full) s.Add("Tile", 1);
    b.AddElementExtras(s, true, 1);
  }
  b.Plain("SunkEdge", b.Image("sunkedge.bmp", DrawSunkEdge(t), 4), {2, 2, 2, 2}, full ? 4 : 0, 0, 0);
  b.Plain("ExtraImages", b.Image("extra.bmp", DrawComboExtras(t), 5), {0, 0, 0, 0}, full ? 5 : 0, 1, 0);
  int headerFrames = full ? 3 : 2;
  b.Plain("Headerbar", b.Image("header.bmp", DrawHeader(t, headerFrames), headerFrames), {3, 3, 3, 3},
          headerFrames, 0, 0);
  b.Plain("MenuItem", b.Image("menuitem.bmp", DrawMenuItems(t), 5), {4, 2, 4, 2}, full ? 5 : 0, 1, 0);
  b.Plain("MenuBackground", b.Image("menubg.bmp", DrawMenuBackground(t), 1), {3, 3, 3, 3}, full ? 1 : 0, 0,
          0);
}

void AddScrollAndSpin(Builder& b, const Theme& t) {
  bool full = b.Full();
  int s = t.sizes.scrollSize;
  b.Plain("Scrollbar", b.Image("scrollarrows.bmp", DrawScrollArrows(t), 23), {0, 0, 0, 0}, full ? 23 : 0, 1,
          0);
  b.Plain("HorzScroll", b.Image("hscroll.bmp", DrawScrollShaft(t, true), 4), {0, 0, 0, 0}, full ? 4 : 0, 0,
          0);
  b.Plain("VertScroll", b.Image("vscroll.bmp", DrawScrollShaft(t, false), 4), {0, 0, 0, 0}, full ? 4 : 0, 0,
          0);
  // The test skin's thumbs carry a fourth (unused) frame so that their
  // FrameCount differs from the default of three.
  int thumbFrames = full ? 4 : 3;
  for (bool horizontal : {true, false}) {
    Canvas thumb = DrawScrollThumb(t, horizontal);
    if (full) thumb = JoinSideBySide({thumb, thumb.Crop({0, 0, s, s})});
    Margins m = horizontal ? Margins{4, 0, 4, 0} : Margins{0, 4, 0, 4};
    if (full) m = horizontal ? Margins{4, 1, 4, 1} : Margins{1, 4, 1, 4};
    b.Plain(horizontal ? "HorzScrollThumb" : "VertScrollThumb",
            b.Image(horizontal ? "hthumb.bmp" : "vthumb.bmp", thumb, thumbFrames), m, full ? thumbFrames : 0,
            1, 0)
        .Add("FrameCount", thumbFrames);
  }
  if (full) {
    Margins none{1, 1, 1, 1};
    b.Plain("Trackbar.ThumbHorz", b.Image("trackthumbh.bmp", DrawTrackThumb(t, Direction::Down, false), 5),
            none, 5, 1, 1);
    b.Plain("Trackbar.ThumbVert", b.Image("trackthumbv.bmp", DrawTrackThumb(t, Direction::Right, true), 5),
            none, 5, 1, 1);
    b.Plain("Trackbar.ThumbLeft", b.Image("trackleft.bmp", DrawTrackThumb(t, Direction::Left, true), 5), none,
            5, 1, 1);
    b.Plain("Trackbar.ThumbRight", b.Image("trackright.bmp", DrawTrackThumb(t, Direction::Right, true), 5),
            none, 5, 1, 1);
    // Up and down share one member: two sections may name the same bitmap.
    std::string upDown = b.Image("trackupdown.bmp", DrawTrackThumb(t, Direction::Up, false), 5);
    b.Plain("Trackbar.ThumbUp", upDown, none, 5, 1, 1);
    b.Plain("Trackbar.ThumbDown", upDown, none, 5, 1, 1);
  }
  for (bool vertical : {false, true}) {
    if (!vertical && !full) continue;  // the production skin has no horizontal up-down control
    IniSection& sec = b.Section(vertical ? "UpDown.Vert" : "UpDown.Horz");
    sec.Add("Image", b.Image(vertical ? "spinv.bmp" : "spinh.bmp", DrawSpinFaces(t, vertical), 8));
    sec.Add("GlyphImage",
            b.Image(vertical ? "spinvglyph.bmp" : "spinhglyph.bmp", DrawSpinGlyphs(t, vertical), 8));
    Builder::AddMargins(sec, full ? Margins{2, 2, 2, 2} : Margins{0, 0, 0, 0});
    sec.Add("Trans", 1);
    if (full) sec.Add("Tile", 1);
    b.AddElementExtras(sec, true, 1);
  }
  if (full) {
    b.Plain("Track", b.Image("track.bmp", DrawTrackChannel(t, false), 1), {3, 1, 3, 1}, 1, 1, 1);
    b.Plain("TRACKVERT", b.Image("trackvert.bmp", DrawTrackChannel(t, true), 1), {1, 3, 1, 3}, 1, 1, 1);
  }
}

}  // namespace

SkinDefinition BuildSkin(Variant variant) {
  const Theme& t = ThemeOf(variant);
  Builder b(t);
  b.Section("TitlebarSkin").Add("SkinName", t.skinName);
  AddPersonality(b, t);
  b.Section("Fonts").Add("FontHeight", variant == Variant::Test ? 13 : 14);
  AddColours(b, t);
  AddCaptionButtons(b, t);
  AddButtons(b, t);
  AddElements(b, t);
  AddScrollAndSpin(b, t);
  return b.Take();
}

}  // namespace skingen
