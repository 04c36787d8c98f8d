// Push buttons, check boxes, radio buttons, tabs, combo boxes, menus, the
// status bar, progress bar and list headers.
#include <vector>

#include "Artwork.h"

namespace skingen {

namespace {

struct Look {
  Rgb fill, edge;
};

// The face of a push button, a combo frame or an up-down half by state.
enum class State { Normal, Pressed, Disabled, Hot, Focused };

Look FaceLook(const Palette& p, State s) {
  switch (s) {
    case State::Normal:
      return {p.field, p.line};
    case State::Pressed:
      return {p.pressedFill, p.accent};
    case State::Disabled:
      return {p.disabledFill, p.lineLight};
    case State::Hot:
      return {p.hotFill, Mix(p.accent, p.line, 0.4)};
    case State::Focused:
      return {p.field, p.accent};
  }
  return {p.field, p.line};
}

// Check-box and radio looks: kind 0 unchecked, 1 checked, 2 mixed; mode 0
// normal, 1 hot, 2 pressed, 3 disabled.
void DrawToggle(Canvas& c, const Palette& p, bool radio, int kind, int mode) {
  constexpr double kSide = 13;
  bool disabled = mode == 3;
  Rgb fill = mode == 1 ? p.hotFill : mode == 2 ? p.pressedFill : disabled ? p.disabledFill : p.field;
  Rgb edge = disabled ? p.lineLight : mode == 0 ? p.line : p.accent;
  Rgb mark = disabled ? Mix(p.accent, p.disabledFill, 0.6) : p.accent;
  if (radio) {
    c.FillDisc(kSide / 2, kSide / 2, kSide / 2, kind == 1 ? mark : edge);
    c.FillDisc(kSide / 2, kSide / 2, kSide / 2 - 1.2, fill);
    if (kind == 1) c.FillDisc(kSide / 2, kSide / 2, 3, mark);
    return;
  }
  if (kind == 1) {
    c.FillRoundRect(0, 0, kSide, kSide, 2.5, mark);
    DrawCheckMark(c, 3, 3.5, 7, 1.6, disabled ? p.disabledFill : p.field);
    return;
  }
  c.FillRoundRect(0, 0, kSide, kSide, 2.5, edge);
  c.FillRoundRect(1, 1, kSide - 1, kSide - 1, 1.5, fill);
  if (kind == 2) c.Fill({3, 3, 10, 10}, mark);
}

}  // namespace

Canvas DrawPushButton(const Theme& theme) {
  const Palette& p = theme.colours;
  static const State kOrder[] = {State::Normal, State::Pressed, State::Disabled, State::Hot, State::Focused};
  return Strip(5, 30, 22, [&](Canvas& c, int k) {
    Look look = FaceLook(p, kOrder[k - 1]);
    c.FillRoundRect(0, 0, 30, 22, 3, look.edge);
    double inset = kOrder[k - 1] == State::Focused ? 2 : 1;
    c.FillRoundRect(inset, inset, 30 - inset, 22 - inset, 3 - inset, look.fill);
  });
}

Canvas DrawCheckBoxes(const Theme& theme, int frames) {
  return Strip(frames, 13, 13, [&](Canvas& c, int k) {
    if (frames == 4)
      DrawToggle(c, theme.colours, false, (k - 1) % 2, k > 2 ? 3 : 0);
    else
      DrawToggle(c, theme.colours, false, (k - 1) / 4, (k - 1) % 4);
  });
}

Canvas DrawRadioButtons(const Theme& theme, int frames) {
  return Strip(frames, 13, 13, [&](Canvas& c, int k) {
    if (frames == 4)
      DrawToggle(c, theme.colours, true, (k - 1) % 2, k > 2 ? 3 : 0);
    else
      DrawToggle(c, theme.colours, true, (k - 1) / 4, (k - 1) % 4);
  });
}

Canvas DrawTabs(const Theme& theme) {
  const Palette& p = theme.colours;
  constexpr int kW = 40, kH = 22;
  return Strip(5, kW, kH, [&](Canvas& c, int k) {
    bool selected = k == 2 || k == 5;
    Rgb fill = selected ? p.face : k == 3 ? p.hotFill : k == 4 ? p.disabledFill : Mix(p.face, p.line, 0.18);
    double top = selected ? 0 : 2;
    // Rounded top corners only: the shape runs past the bottom edge.
    c.FillRoundRect(0, top, kW, kH + 4, 3, selected ? p.line : p.lineLight);
    c.FillRoundRect(1, top + 1, kW - 1, kH + 4, 2, fill);
    if (selected) c.FillRoundRect(1, 1, kW - 1, 4, 1, p.accent), c.HLine(1, kW - 1, 3, fill);
    // An ordinary tab sits on the page's top edge; the selected one opens into it.
    if (!selected) c.HLine(0, kW, kH - 1, p.line);
  });
}

Canvas DrawTabPageFrame(const Theme& theme, int side) {
  const Palette& p = theme.colours;
  Canvas c(side, side, p.face);
  c.Outline({0, 0, side, side}, p.line);
  return c;
}

Canvas DrawComboButton(const Theme& theme) {
  const Palette& p = theme.colours;
  static const State kOrder[] = {State::Normal, State::Pressed, State::Disabled, State::Hot};
  return Strip(4, 17, 21, [&](Canvas& c, int k) {
    // The outer pixel stays transparent so the field's frame runs round it.
    Look look = FaceLook(p, kOrder[k - 1]);
    c.Fill({1, 1, 16, 20}, look.fill);
    c.VLine(1, 3, 18, kOrder[k - 1] == State::Normal ? p.lineLight : look.edge);
  });
}

Canvas DrawSunkEdge(const Theme& theme) {
  const Palette& p = theme.colours;
  static const State kOrder[] = {State::Normal, State::Pressed, State::Disabled, State::Focused};
  return Strip(4, 10, 10, [&](Canvas& c, int k) {
    Look look = FaceLook(p, kOrder[k - 1]);
    c.Fill({0, 0, 10, 10}, look.fill);
    c.Outline({0, 0, 10, 10}, look.edge);
  });
}

Canvas DrawComboExtras(const Theme& theme) {
  const Palette& p = theme.colours;
  return Strip(5, 12, 12, [&](Canvas& c, int k) {
    if (k == 5) {
      DrawSizeGrip(c, 0, 0, 12, p.line);
      return;
    }
    Rgb ink = k == 3 ? p.textDisabled : k == 4 ? p.accent : p.text;
    DrawChevron(c, 6, 6.5, 8, Direction::Down, 1.4, ink);
  });
}

Canvas DrawMenuItems(const Theme& theme) {
  const Palette& p = theme.colours;
  constexpr int kW = 30, kH = 20;
  return Strip(5, kW, kH, [&](Canvas& c, int k) {
    if (k == 2) {
      // Short separator items take the bottom rows of the image.
      c.HLine(4, kW - 4, kH - 5, p.lineLight);
    } else if (k == 4) {
      c.FillRoundRect(1, 1, kW - 1, kH - 1, 3, p.pressedFill);
      c.FillRoundRect(1, 6, 3, kH - 6, 1, p.accent);
    }
  });
}

Canvas DrawMenuBackground(const Theme& theme) {
  const Palette& p = theme.colours;
  Canvas c(30, 30, p.field);
  c.Outline({0, 0, 30, 30}, p.line);
  return c;
}

Canvas DrawStatusBar(const Theme& theme) {
  const Palette& p = theme.colours;
  return Strip(3, 10, 10, [&](Canvas& c, int k) {
    c.Fill({0, 0, 10, 10}, p.face);
    if (k == 1) c.VLine(9, 2, 8, p.line);  // panels divided by a short rule
    if (k == 2) c.HLine(0, 10, 0, p.field), c.HLine(0, 10, 9, p.lineLight);
  });
}

Canvas DrawProgress(const Theme& theme, int frames) {
  const Palette& p = theme.colours;
  return Strip(frames, 30, 14, [&](Canvas& c, int k) {
    if (k == 1) {
      c.FillRoundRect(0, 0, 30, 14, 3, p.lineLight);
      c.FillRoundRect(1, 1, 29, 13, 2, p.shaft);
    } else {
      c.FillRoundRect(0, 0, 30, 14, 3, p.accentDark);
      c.FillRoundRect(1, 1, 29, 13, 2, p.accent);
    }
  });
}

Canvas DrawHeader(const Theme& theme, int frames) {
  const Palette& p = theme.colours;
  return Strip(frames, 20, 18, [&](Canvas& c, int k) {
    Rgb fill = k == 2 ? p.hotFill : k == 3 ? p.pressedFill : Mix(p.face, p.field, 0.6);
    c.Fill({0, 0, 20, 18}, fill);
    c.HLine(0, 20, 17, p.line);
    c.VLine(19, 3, 15, p.lineLight);
  });
}

Canvas DrawProgressChunk(const Theme& theme) {
  Canvas c(8, 10);
  c.Fill({0, 0, 6, 10}, theme.colours.accent);
  return c;
}

Canvas DrawGroupBoxEdge(const Theme& theme) {
  const Palette& p = theme.colours;
  return Strip(2, 20, 20, [&](Canvas& c, int k) {
    c.StrokeRoundRect(0, 0, 20, 20, 3, 1, k == 1 ? p.line : p.lineLight);
  });
}

Canvas DrawGroupBoxLabel(const Theme& theme) {
  Canvas c(30, 16);
  c.FillRoundRect(0, 0, 30, 16, 8, theme.colours.hotFill);
  return c;
}

Canvas DrawToolBarButtons(const Theme& theme) {
  const Palette& p = theme.colours;
  return Strip(5, 22, 22, [&](Canvas& c, int k) {
    if (k == 1) return;
    Look look = k == 2   ? FaceLook(p, State::Pressed)
                : k == 3 ? FaceLook(p, State::Disabled)
                : k == 4 ? FaceLook(p, State::Hot)
                         : FaceLook(p, State::Focused);
    c.FillRoundRect(0, 0, 22, 22, 3, look.edge);
    c.FillRoundRect(1, 1, 21, 21, 2, look.fill);
  });
}

}  // namespace skingen
