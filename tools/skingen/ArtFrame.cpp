// The window frame: borders, caption text background, menu bar and the
// caption buttons.
#include <vector>

#include "Artwork.h"

namespace skingen {

namespace {

constexpr int kFrameMiddle = 60;  // width of the top border image

// A small window's frame: accent band and borders, outlined, the top corners
// rounded with the outside left magenta (that is what shapes the window).
Canvas DrawFrameSample(const Theme& theme, bool active, int width, int height) {
  const Palette& p = theme.colours;
  const Geometry& g = theme.sizes;
  Rgb fill = active ? p.accent : p.captionInactive;
  Rgb edge = active ? p.accentDark : p.captionInactiveDark;
  Canvas c(width, height);
  // Running the rounded shape past the bottom keeps the bottom corners square.
  double extra = g.cornerRadius + 1;
  c.FillRoundRect(0, 0, width, height + extra, g.cornerRadius, fill);
  c.StrokeRoundRect(0, 0, width, height + extra, g.cornerRadius, 1, edge);
  c.HLine(0, width, height - 1, edge);
  // The client opening is never part of an image; fill it for clarity.
  c.Fill({g.borderWidth, g.captionHeight, width - g.borderWidth, height - g.borderWidth}, p.face);
  return c;
}

}  // namespace

FrameBorders DrawBorders(const Theme& theme) {
  const Geometry& g = theme.sizes;
  FrameBorders b;
  b.height = g.captionHeight + 36;
  b.topEnds = 10;
  b.bottomEnds = 2;
  int width = g.borderWidth * 2 + kFrameMiddle;
  constexpr int kBottomWidth = 20;
  std::vector<Canvas> left, right, top, bottom;
  for (bool active : {true, false}) {
    Canvas sample = DrawFrameSample(theme, active, width, b.height);
    left.push_back(sample.Crop({0, 0, g.borderWidth, b.height}));
    right.push_back(sample.Crop({width - g.borderWidth, 0, width, b.height}));
    top.push_back(sample.Crop({g.borderWidth, 0, width - g.borderWidth, g.captionHeight}));
    bottom.push_back(
        sample.Crop({g.borderWidth, b.height - g.borderWidth, g.borderWidth + kBottomWidth, b.height}));
  }
  b.left = JoinSideBySide(left);
  b.right = JoinSideBySide(right);
  b.top = JoinStacked(top);
  b.bottom = JoinStacked(bottom);
  return b;
}

Canvas DrawTextBack(const Theme& theme) {
  const Palette& p = theme.colours;
  int h = theme.sizes.captionHeight;
  std::vector<Canvas> frames;
  for (Rgb caption : {p.accent, p.captionInactive}) {
    // A faint lighter pill behind the title; the rest shows the caption.
    Canvas c(20, h);
    c.FillRoundRect(1, 4, 19, h - 4, (h - 8) / 2.0 - 1, Mix(caption, p.titleText, 0.08));
    frames.push_back(c);
  }
  return JoinStacked(frames);
}

Canvas DrawMenuBar(const Theme& theme) {
  const Palette& p = theme.colours;
  int h = theme.sizes.menuHeight;
  std::vector<Canvas> frames;
  for (Rgb band : {p.menuBar, Mix(p.menuBar, p.face, 0.5)}) {
    Canvas c(20, h, band);
    c.HLine(0, 20, h - 1, p.lineLight);
    frames.push_back(c);
  }
  return JoinStacked(frames);
}

Canvas DrawCaptionButton(const Theme& theme, CaptionGlyph glyph) {
  const Palette& p = theme.colours;
  int s = theme.sizes.captionButton;
  bool close = glyph == CaptionGlyph::Close;
  std::vector<Canvas> frames;
  for (int state = 1; state <= 4; ++state) {
    Canvas c(s, s);
    if (state == 2) c.FillRoundRect(0, 0, s, s, 3, close ? p.closePressed : p.accentDark);
    if (state == 3) c.FillRoundRect(0, 0, s, s, 3, close ? p.closeHot : p.accentHot);
    Rgb ink = state == 4 ? p.glyphDisabled : p.titleText;
    double size = s * 0.45, at = (s - size) / 2;
    switch (glyph) {
      case CaptionGlyph::Close:
        DrawCloseGlyph(c, at, at, size, ink);
        break;
      case CaptionGlyph::Maximize:
        DrawMaximizeGlyph(c, at, at, size, ink);
        break;
      case CaptionGlyph::Restore:
        DrawRestoreGlyph(c, at, at, size, ink);
        break;
      case CaptionGlyph::Minimize:
        DrawMinimizeGlyph(c, at, at, size, ink);
        break;
      case CaptionGlyph::Help:
        DrawHelpGlyph(c, at, at - 0.5, size + 1, ink);
        break;
    }
    frames.push_back(c);
  }
  return JoinSideBySide(frames);
}

Canvas DrawMdiControls(const Theme& theme) {
  const Palette& p = theme.colours;
  constexpr int kWidth = 16, kHeight = 14;
  std::vector<Canvas> cells;
  for (CaptionGlyph glyph : {CaptionGlyph::Minimize, CaptionGlyph::Restore, CaptionGlyph::Close})
    for (int state = 1; state <= 4; ++state) {
      // On the menu bar: dark glyphs, a light plate under the mouse.
      Canvas c(kWidth, kHeight);
      if (state == 2) c.FillRoundRect(0, 0, kWidth, kHeight, 2, p.pressedFill);
      if (state >= 3) c.FillRoundRect(0, 0, kWidth, kHeight, 2, p.hotFill);
      double size = 6, x = (kWidth - size) / 2, y = (kHeight - size) / 2;
      if (glyph == CaptionGlyph::Minimize) DrawMinimizeGlyph(c, x, y, size, p.text);
      if (glyph == CaptionGlyph::Restore) DrawRestoreGlyph(c, x, y, size, p.text);
      if (glyph == CaptionGlyph::Close) DrawCloseGlyph(c, x, y, size, p.text);
      cells.push_back(c);
    }
  return JoinSideBySide(cells);
}

}  // namespace skingen
