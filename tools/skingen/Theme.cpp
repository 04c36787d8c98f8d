#include "Theme.h"

namespace skingen {

namespace {

Theme MainTheme() {
  Palette p;
  p.accent = {22, 99, 120};
  p.accentDark = {14, 70, 86};
  p.accentHot = {52, 128, 148};
  p.captionInactive = {118, 135, 142};
  p.captionInactiveDark = {92, 107, 114};
  p.titleText = {255, 255, 255};
  p.titleTextInactive = {226, 232, 234};
  p.glyphDisabled = {172, 186, 191};
  p.closeHot = {200, 52, 40};
  p.closePressed = {160, 36, 28};
  p.face = {241, 243, 244};
  p.field = {255, 255, 255};
  p.text = {24, 30, 33};
  p.textDisabled = {150, 158, 162};
  p.line = {164, 174, 179};
  p.lineLight = {208, 214, 217};
  p.hotFill = {228, 241, 244};
  p.pressedFill = {196, 225, 232};
  p.disabledFill = {236, 238, 239};
  p.shaft = {232, 235, 237};
  p.thumb = {184, 192, 196};
  p.thumbHot = {148, 158, 163};
  p.menuBar = {249, 250, 250};
  return {Variant::Main, "Quellmark Teal", p, {24, 4, 7, 18, 20, 16}};
}

// Warm plum and sand, other sizes: nothing here equals a loader default.
Theme TestTheme() {
  Palette p;
  p.accent = {118, 44, 96};
  p.accentDark = {84, 28, 68};
  p.accentHot = {148, 74, 126};
  p.captionInactive = {150, 136, 128};
  p.captionInactiveDark = {120, 108, 100};
  p.titleText = {255, 250, 240};
  p.titleTextInactive = {236, 230, 220};
  p.glyphDisabled = {196, 180, 190};
  p.closeHot = {214, 90, 20};
  p.closePressed = {170, 64, 10};
  p.face = {238, 233, 224};
  p.field = {252, 250, 245};
  p.text = {40, 20, 30};
  p.textDisabled = {160, 150, 140};
  p.line = {170, 156, 146};
  p.lineLight = {212, 204, 194};
  p.hotFill = {244, 228, 238};
  p.pressedFill = {226, 196, 214};
  p.disabledFill = {232, 228, 222};
  p.shaft = {228, 222, 212};
  p.thumb = {190, 176, 168};
  p.thumbHot = {160, 144, 136};
  p.menuBar = {246, 242, 234};
  return {Variant::Test, "Quellmark Test Plum", p, {26, 5, 0, 20, 22, 18}};
}

}  // namespace

const Theme& ThemeOf(Variant variant) {
  static const Theme main = MainTheme();
  static const Theme test = TestTheme();
  return variant == Variant::Main ? main : test;
}

}  // namespace skingen
