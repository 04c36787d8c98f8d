#include "ContactSheet.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "PixelFont.h"

namespace skingen {

namespace {

const Rgb kDesktop{86, 98, 110};
const Rgb kInk{30, 30, 30};

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class MockPainter {
 public:
  MockPainter(const SkinDefinition& skin, Canvas& target) : skin_(skin), c_(target) {}

  int Key(const std::string& section, const std::string& key, int fallback = 0) const {
    for (const IniSection& s : skin_.sections)
      if (s.name == section)
        for (const auto& [k, v] : s.keys)
          if (k == key) return std::stoi(v);
    return fallback;
  }
  std::string Text(const std::string& section, const std::string& key) const {
    for (const IniSection& s : skin_.sections)
      if (s.name == section)
        for (const auto& [k, v] : s.keys)
          if (k == key) return v;
    return {};
  }
  const SkinImage& Image(const std::string& member) const {
    for (const SkinImage& i : skin_.images)
      if (i.member == member) return i;
    throw std::runtime_error("the skin has no " + member);
  }
  Margins ElementMargins(const std::string& section) const {
    return {Key(section, "LeftWidth"), Key(section, "TopHeight"), Key(section, "RightWidth"),
            Key(section, "BottomHeight")};
  }

  // Frame k (from 1) of a strip, cut out.
  Canvas Frame(const SkinImage& image, int k, int frames = 0) const {
    int n = frames > 0 ? frames : image.frames;
    if (image.stacked) {
      int h = image.image.Height() / n;
      return image.image.Crop({0, (k - 1) * h, image.image.Width(), k * h});
    }
    int w = image.image.Width() / n;
    return image.image.Crop({(k - 1) * w, 0, k * w, image.image.Height()});
  }

  // Nine-part drawing: corners 1:1, edges and middle stretched; margins are
  // dropped on an axis where the target is too small for them.
  void Slice(const Canvas& src, Margins m, Box to, bool keyed) {
    if (to.Width() < m.left + m.right) m.left = m.right = 0;
    if (to.Height() < m.top + m.bottom) m.top = m.bottom = 0;
    int sx[4] = {0, m.left, src.Width() - m.right, src.Width()};
    int sy[4] = {0, m.top, src.Height() - m.bottom, src.Height()};
    int dx[4] = {to.x0, to.x0 + m.left, to.x1 - m.right, to.x1};
    int dy[4] = {to.y0, to.y0 + m.top, to.y1 - m.bottom, to.y1};
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) {
        int sw = sx[i + 1] - sx[i], sh = sy[j + 1] - sy[j];
        if (sw <= 0 || sh <= 0) continue;
        for (int y = dy[j]; y < dy[j + 1]; ++y)
          for (int x = dx[i]; x < dx[i + 1]; ++x) {
            int u = sx[i] + (x - dx[i]) * sw / std::max(1, dx[i + 1] - dx[i]);
            int v = sy[j] + (y - dy[j]) * sh / std::max(1, dy[j + 1] - dy[j]);
            Rgb p = src.At(u, v);
            if (!keyed || !(p == kMagenta)) c_.Set(x, y, p);
          }
      }
  }
  void Element(const std::string& member, const std::string& section, int k, Box to, bool keyed,
               int frames = 0) {
    Slice(Frame(Image(member), k, frames), ElementMargins(section), to, keyed);
  }
  void Centred(const Canvas& src, Box in) {
    c_.Paste(src, in.x0 + (in.Width() - src.Width()) / 2, in.y0 + (in.Height() - src.Height()) / 2, true);
  }

  void Window(Box w, bool active, const std::string& title) {
    int k = active ? 1 : 2;
    int bwl = Image("left.bmp").image.Width() / 2, bwr = Image("right.bmp").image.Width() / 2;
    int cap = Image("top.bmp").image.Height() / 2, bwb = Image("bottom.bmp").image.Height() / 2;
    int menu = Image("menubar.bmp").image.Height() / 2;
    c_.Fill({w.x0 + bwl, w.y0 + cap, w.x1 - bwr, w.y1 - bwb}, ThemeFace());
    Slice(Frame(Image("left.bmp"), k),
          {0, Key("Personality", "LeftTopHeight"), 0, Key("Personality", "LeftBotHeight")},
          {w.x0, w.y0, w.x0 + bwl, w.y1}, true);
    Slice(Frame(Image("right.bmp"), k),
          {0, Key("Personality", "RightTopHeight"), 0, Key("Personality", "RightBotHeight")},
          {w.x1 - bwr, w.y0, w.x1, w.y1}, true);
    Slice(Frame(Image("top.bmp"), k),
          {Key("Personality", "TopTopHeight"), 0, Key("Personality", "TopBotHeight"), 0},
          {w.x0 + bwl, w.y0, w.x1 - bwr, w.y0 + cap}, true);
    Slice(Frame(Image("bottom.bmp"), k),
          {Key("Personality", "BottomTopHeight"), 0, Key("Personality", "BottomBotHeight"), 0},
          {w.x0 + bwl, w.y1 - bwb, w.x1 - bwr, w.y1}, true);
    // Icon, title over its background, caption buttons.
    c_.FillRoundRect(w.x0 + 8, w.y0 + (cap - 16) / 2.0, w.x0 + 24, w.y0 + (cap + 16) / 2.0, 3,
                     {255, 255, 255});
    c_.FillRoundRect(w.x0 + 11, w.y0 + (cap - 10) / 2.0, w.x0 + 21, w.y0 + (cap + 10) / 2.0, 2,
                     {22, 99, 120});
    int tx = w.x0 + Key("Personality", "TextShift");
    int tw = static_cast<int>(title.size()) * kGlyphAdvance * 2;
    int ends = Key("Personality", "TXTBackleft") + Key("Personality", "TXTBackRight");
    Slice(Frame(Image("textback.bmp"), k),
          {Key("Personality", "TXTBackleft"), 0, Key("Personality", "TXTBackRight"), 0},
          {tx, w.y0, tx + tw + ends, w.y0 + cap}, true);
    Rgb titleColour = ColourKey("Colours", active ? "TitleTextActive" : "TitleTextNoActive");
    DrawLabel(c_, tx + Key("Personality", "TXTBackleft"), w.y0 + (cap - 14) / 2, title, titleColour, 2);
    struct Btn {
      const char* section;
      int face;
    } buttons[] = {{"Button0", 1}, {"Button1", 4}, {"Button3", active ? 3 : 4}};
    for (const Btn& b : buttons) {
      const SkinImage& img = Image(Text(b.section, "ButtonImage"));
      int face = active ? b.face : 4;
      c_.Paste(Frame(img, face, 4), w.x1 - Key(b.section, "Xcoord"), w.y0 + Key(b.section, "Ycoord"), true);
    }
    // Menu bar with its captions; "edit" shown open.
    int my = w.y0 + cap;
    Slice(Frame(Image("menubar.bmp"), k),
          {Key("Personality", "TileLeftMenu"), 0, Key("Personality", "TileRightMenu"), 0},
          {w.x0 + bwl, my, w.x1 - bwr, my + menu}, true);
    int mx = w.x0 + bwl + Key("Personality", "TileLeftMenu") + 4;
    for (const char* item : {"file", "edit", "tools", "help"}) {
      int iw = static_cast<int>(std::string(item).size()) * 6 * 2 + 12;
      if (std::string(item) == "edit" && active)
        c_.FillRoundRect(mx, my + 2, mx + iw, my + menu - 2, 3, ColourKey("Colours", "Hilight"));
      DrawLabel(c_, mx + 6, my + (menu - 14) / 2, item, ColourKey("Colours", "MenuBarText"), 2);
      mx += iw;
    }
  }

  Rgb ColourKey(const std::string& section, const std::string& key) const {
    std::string v = Text(section, key);
    int r = 0, g = 0, b = 0;
    if (std::sscanf(v.c_str(), "%d %d %d", &r, &g, &b) != 3) return kInk;
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  }
  Rgb ThemeFace() const { return ColourKey("Colours", "ButtonFace"); }

  void Controls(int x, int y) {
    Rgb ink = ColourKey("Colours", "ButtonText");
    const char* states[] = {"normal", "pressed", "disabled", "hot", "focus"};
    for (int k = 1; k <= 5; ++k) {
      Box b{x + (k - 1) * 96, y, x + (k - 1) * 96 + 88, y + 26};
      Element("button.bmp", "Buttons", k, b, true);
      int tw = static_cast<int>(std::string(states[k - 1]).size()) * 6;
      DrawLabel(c_, b.x0 + (b.Width() - tw) / 2, b.y0 + 10, states[k - 1],
                k == 3 ? ColourKey("Colours", "ButtonShadow") : ink);
    }
    y += 40;
    const SkinImage& check = Image("check.bmp");
    const SkinImage& radio = Image("radio.bmp");
    const char* checks[] = {"off", "on", "off dis", "on dis"};
    for (int k = 1; k <= 4; ++k) {
      int cx = x + (k - 1) * 96;
      int checkFrame = check.frames == 12 ? (k == 1 ? 1 : k == 2 ? 5 : k == 3 ? 4 : 8) : k;
      int radioFrame = radio.frames == 8 ? (k == 1 ? 1 : k == 2 ? 5 : k == 3 ? 4 : 8) : k;
      c_.Paste(Frame(check, checkFrame), cx, y, true);
      DrawLabel(c_, cx + 17, y + 3, checks[k - 1], ink);
      c_.Paste(Frame(radio, radioFrame), cx, y + 20, true);
      DrawLabel(c_, cx + 17, y + 23, checks[k - 1], ink);
    }
    y += 46;
    // Tabs over their page.
    Box page{x, y + 22, x + 300, y + 130};
    Slice(Frame(Image("tabborder.bmp"), 1), {4, 5, 4, 4}, page, false);
    const char* tabs[] = {"table", "fields", "sql"};
    for (int i = 0; i < 3; ++i) {
      bool selected = i == 1;
      Box t{x + 2 + i * 72, y + (selected ? 0 : 2), x + 2 + i * 72 + 72, y + 24};
      Element("tab.bmp", "Tabs", selected ? 2 : (i == 2 ? 3 : 1), t, true);
      DrawLabel(c_, t.x0 + 14, t.y0 + 8, tabs[i], ink);
    }
    // Inside the page: an edit, a combo, a spin, a progress bar.
    int px = page.x0 + 12, py = page.y0 + 12;
    Element("sunkedge.bmp", "SunkEdge", 1, {px, py, px + 130, py + 21}, false);
    DrawLabel(c_, px + 5, py + 7, "c:/data.mdb", ink);
    Element("sunkedge.bmp", "SunkEdge", 4, {px + 140, py, px + 270, py + 21}, false);
    DrawLabel(c_, px + 145, py + 7, "focused", ink);
    py += 30;
    Combo(px, py, 1, "customers");
    Combo(px + 140, py, 4, "hot");
    py += 30;
    Element("sunkedge.bmp", "SunkEdge", 1, {px, py, px + 60, py + 21}, false);
    DrawLabel(c_, px + 5, py + 7, "42", ink);
    const SkinImage& spin = Image("spinv.bmp");
    const SkinImage& glyph = Image("spinvglyph.bmp");
    Box up{px + 60, py, px + 76, py + 11}, down{px + 60, py + 11, px + 76, py + 21};
    Slice(Frame(spin, 1), {}, up, true);
    Slice(Frame(spin, 8), {}, down, true);
    Centred(Frame(glyph, 1), up);
    Centred(Frame(glyph, 8), down);
    Box bar{px + 90, py + 4, px + 270, py + 18};
    Element("progress.bmp", "Progress", 1, bar, true);
    if (Image("progress.bmp").frames == 2)
      Element("progress.bmp", "Progress", 2, {bar.x0, bar.y0, bar.x0 + bar.Width() * 3 / 5, bar.y1}, true);
  }

  void Combo(int x, int y, int face, const std::string& text) {
    Box cell{x, y, x + 130, y + 21};
    Element("sunkedge.bmp", "SunkEdge", face, cell, false);
    Box button{cell.x1 - 18, y, cell.x1, cell.y1};
    Element("combobutton.bmp", "ComboButton", face, button, true);
    Centred(Frame(Image("extra.bmp"), face), button);
    DrawLabel(c_, x + 5, y + 7, text, ColourKey("Colours", "ButtonText"));
  }

  void ListWithScrollBars(Box list) {
    int s = Image("hscroll.bmp").image.Height();
    c_.Fill(list, {255, 255, 255});
    c_.Outline(list, ColourKey("Colours", "ButtonShadow"));
    Box inner = list.Shrunk(1);
    const char* heads[] = {"id", "name", "city"};
    for (int i = 0; i < 3; ++i) {
      Box h{inner.x0 + i * 70, inner.y0, inner.x0 + i * 70 + 70, inner.y0 + 18};
      Element("header.bmp", "Headerbar", i == 1 ? 2 : 1, h, false);
      DrawLabel(c_, h.x0 + 6, h.y0 + 6, heads[i], ColourKey("Colours", "ButtonText"));
    }
    Element("header.bmp", "Headerbar", 1, {inner.x0 + 210, inner.y0, inner.x1 - s, inner.y0 + 18}, false);
    // Vertical bar: arrows, shaft, thumb with grip.
    Box v{inner.x1 - s, inner.y0, inner.x1, inner.y1 - s};
    const SkinImage& arrows = Image("scrollarrows.bmp");
    Element("vscroll.bmp", "VertScroll", 1, {v.x0, v.y0 + s, v.x1, v.y1 - s}, false);
    Slice(Frame(arrows, 9), {}, {v.x0, v.y0, v.x1, v.y0 + s}, true);
    Slice(Frame(arrows, 16), {}, {v.x0, v.y1 - s, v.x1, v.y1}, true);
    Box thumb{v.x0, v.y0 + s + 10, v.x1, v.y0 + s + 60};
    Element("vthumb.bmp", "VertScrollThumb", 1, thumb, true);
    Centred(Frame(arrows, 20), thumb);
    Box h{inner.x0, inner.y1 - s, inner.x1 - s, inner.y1};
    Element("hscroll.bmp", "HorzScroll", 1, {h.x0 + s, h.y0, h.x1 - s, h.y1}, false);
    Slice(Frame(arrows, 2), {}, {h.x0, h.y0, h.x0 + s, h.y1}, true);
    Slice(Frame(arrows, 5), {}, {h.x1 - s, h.y0, h.x1, h.y1}, true);
    Box hthumb{h.x0 + s + 30, h.y0, h.x0 + s + 120, h.y1};
    Element("hthumb.bmp", "HorzScrollThumb", 3, hthumb, true);
    Centred(Frame(arrows, 19), hthumb);
    c_.Fill({inner.x1 - s, inner.y1 - s, inner.x1, inner.y1}, ThemeFace());
    for (int row = 0; row < 5; ++row)
      DrawLabel(c_, inner.x0 + 6, inner.y0 + 26 + row * 16,
                std::to_string(row + 1) + "   name " + std::to_string(row + 1),
                ColourKey("Colours", "WindowText"));
  }

  void PopupMenu(Box m) {
    Element("menubg.bmp", "MenuBackground", 1, m, false);
    int y = m.y0 + 3, ih = 20;
    const char* items[] = {"undo", "-", "copy", "select all"};
    for (int i = 0; i < 4; ++i) {
      Box item{m.x0 + 3, y, m.x1 - 3, y + (items[i][0] == '-' ? 9 : ih)};
      if (items[i][0] == '-') {
        // Separator: the bottom rows of image 2.
        Canvas sep = Frame(Image("menuitem.bmp"), 2);
        Canvas rows = sep.Crop({0, sep.Height() - item.Height(), sep.Width(), sep.Height()});
        Slice(rows, {Key("MenuItem", "LeftWidth"), 0, Key("MenuItem", "RightWidth"), 0}, item, true);
      } else {
        Element("menuitem.bmp", "MenuItem", i == 2 ? 4 : 1, item, true);
        DrawLabel(c_, item.x0 + 24, item.y0 + 7, items[i],
                  ColourKey("Colours", i == 2 ? "HilightText" : "MenuText"));
      }
      y = item.y1;
    }
  }

  void StatusBar(Box s) {
    c_.Fill(s, ThemeFace());
    Element("statusbar.bmp", "StatusBarEdges", 1, {s.x0, s.y0, s.x0 + 150, s.y1}, false);
    Element("statusbar.bmp", "StatusBarEdges", 3, {s.x0 + 150, s.y0, s.x1, s.y1}, false);
    DrawLabel(c_, s.x0 + 6, s.y0 + (s.Height() - 7) / 2, "records: 1024", ColourKey("Colours", "ButtonText"));
    const SkinImage& extra = Image("extra.bmp");
    Canvas grip = Frame(extra, 5);
    c_.Paste(grip, s.x1 - 1 - grip.Width(), s.y1 - 1 - grip.Height(), true);
  }

 private:
  const SkinDefinition& skin_;
  Canvas& c_;
};

}  // namespace

Canvas RenderMockWindow(const SkinDefinition& skin) {
  Canvas c(760, 470, kDesktop);
  MockPainter m(skin, c);
  // An inactive window behind the active one.
  m.Window({470, 14, 750, 200}, false, "sql");
  Box w{10, 40, 640, 460};
  m.Window(w, true, "Quellmark");
  int bw = skin.images.empty() ? 4 : m.Image("left.bmp").image.Width() / 2;
  int top = w.y0 + m.Image("top.bmp").image.Height() / 2 + m.Image("menubar.bmp").image.Height() / 2;
  int bottom = w.y1 - m.Image("bottom.bmp").image.Height() / 2;
  m.Controls(w.x0 + bw + 12, top + 12);
  m.ListWithScrollBars({w.x0 + bw + 330, top + 78, w.x1 - bw - 12, top + 260});
  m.PopupMenu({w.x0 + bw + 80, top + 2, w.x0 + bw + 200, top + 77});
  m.StatusBar({w.x0 + bw, bottom - 22, w.x1 - m.Image("right.bmp").image.Width() / 2, bottom});
  return c;
}

Canvas RenderContactSheet(const SkinDefinition& skin) {
  constexpr int kPad = 10;
  Canvas mock = RenderMockWindow(skin);
  int width = mock.Width() + 2 * kPad, height = mock.Height() + 2 * kPad;
  for (const SkinImage& i : skin.images) {
    width = std::max(width, i.image.Width() * 4 + 2 * kPad);
    height += kGlyphHeight + 6 + i.image.Height() * 5 + 2 * kPad;
  }
  Canvas c(width, height, {226, 228, 230});
  c.Paste(mock, kPad, kPad);
  int y = mock.Height() + 2 * kPad;
  for (const SkinImage& i : skin.images) {
    std::string label = i.member + "  " + std::to_string(i.image.Width()) + "x" +
                        std::to_string(i.image.Height()) + "  " + std::to_string(i.frames) +
                        (i.stacked ? " frames stacked" : " frames");
    DrawLabel(c, kPad, y, label, kInk);
    y += kGlyphHeight + 6;
    c.Paste(i.image, kPad, y);
    Canvas big = i.image.Enlarged(4);
    // Frame boundaries at 4x, so each state can be told apart.
    for (int k = 1; k < i.frames; ++k) {
      if (i.stacked)
        big.HLine(0, big.Width(), k * (big.Height() / i.frames), {0, 200, 0});
      else
        big.VLine(k * (big.Width() / i.frames), 0, big.Height(), {0, 200, 0});
    }
    c.Paste(big, kPad, y + i.image.Height() + 4);
    y += i.image.Height() * 5 + 2 * kPad;
  }
  return c;
}

}  // namespace skingen
