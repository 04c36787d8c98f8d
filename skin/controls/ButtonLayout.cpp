#include "skin/controls/ButtonLayout.h"

#include <algorithm>
#include <cwctype>

namespace skin {

int PushButtonFace(const TButtonLook& look) {
  int face = bfNormal;
  if (look.focused || look.isDefault) face = bfFocused;
  if (look.down)
    face = bfPressed;
  else if (look.hot)
    face = bfHot;
  if (!look.enabled) face = bfDisabled;
  return face;
}

int PictureButtonFace(const TButtonLook& look) {
  TButtonLook withoutDefault = look;
  withoutDefault.isDefault = false;
  return PushButtonFace(withoutDefault);
}

int MenuButtonFace(const TButtonLook& look) {
  int face = look.focused ? bfHot : bfNormal;
  if (look.down)
    face = bfPressed;
  else if (look.hot)
    face = bfHot;
  if (!look.enabled) face = bfDisabled;
  return face;
}

int SpeedButtonFace(const TSpeedLook& look) {
  int face = bfNormal;
  if (look.pressed)
    face = bfPressed;
  else if (look.hot)
    face = bfHot;
  if (!look.enabled) face = bfDisabled;
  if (look.stuckDown) face = bfPressed;
  return face;
}

bool SpeedButtonShowsSkin(int face, bool flat) {
  return face == bfPressed || face == bfHot || !flat;
}

int GlyphIndexForFace(int face) {
  switch (face) {
    case bfPressed:
      return 3;
    case bfDisabled:
      return 2;
    default:
      return 1;
  }
}

int SpeedGlyphIndex(int face, bool stuckDown) {
  return stuckDown ? 4 : GlyphIndexForFace(face);
}

int NormaliseNumGlyphs(int numGlyphs) {
  return numGlyphs < 1 ? 1 : numGlyphs;
}

TGlyphFrame ChooseGlyphFrame(int32_t glyphWidth, int requested, int numGlyphs) {
  int frames = NormaliseNumGlyphs(numGlyphs);
  TGlyphFrame chosen;
  chosen.index = requested < 1 || requested > frames ? 1 : requested;
  chosen.frameWidth = glyphWidth / frames;
  chosen.embossed = requested == 2 && frames == 1;
  return chosen;
}

TCaptionInk PushCaptionInk(int face, bool enabled, const TInkChoice& choice) {
  TCaptionInk ink = choice.newnormal ? TCaptionInk::Normal2 : TCaptionInk::Default;
  if (face == bfHot && choice.newover) ink = TCaptionInk::Over2;
  if (face == bfPressed && choice.newdown) ink = TCaptionInk::Down2;
  if (!enabled) ink = TCaptionInk::Disabled;
  return ink;
}

TCaptionInk FaceCaptionInk(int face, bool enabled, const TInkChoice& choice) {
  TCaptionInk ink = TCaptionInk::Default;
  if (face == bfNormal && choice.newnormal) ink = TCaptionInk::Normal2;
  if (face == bfHot && choice.newover) ink = TCaptionInk::Over2;
  if (face == bfPressed && choice.newdown) ink = TCaptionInk::Down2;
  if (!enabled) ink = TCaptionInk::Disabled;
  return ink;
}

std::wstring SplitCaptionBars(const std::wstring& caption) {
  std::wstring split = caption;
  if (size_t bars = split.find(L"||"); bars != std::wstring::npos) split.replace(bars, 2, L"\r\n");
  return split;
}

TRect PlaceButtonCaption(const TRect& rc, int32_t width, int32_t height, bool centred) {
  int32_t dy = (rc.Height() - height) / 2 - 1;
  if (centred) {
    int32_t dx = (rc.Width() - width) / 2;
    return Rect(rc.Left + dx, rc.Top + dy, rc.Left + dx + width, rc.Top + dy + height);
  }
  return Rect(rc.Left, rc.Top + dy, rc.Right, rc.Top + dy + height);
}

TRect ButtonFocusRect(const TRect& caption) {
  return Rect(caption.Left - 2, caption.Top - 2, caption.Right + 2, caption.Bottom + 2);
}

TButtonLayout ParseButtonLayout(const std::wstring& enumText) {
  std::wstring lowered = enumText;
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  if (lowered == L"blglyphright") return blGlyphRight;
  if (lowered == L"blglyphtop") return blGlyphTop;
  if (lowered == L"blglyphbottom") return blGlyphBottom;
  return blGlyphLeft;
}

namespace {

bool Horizontal(TButtonLayout layout) {
  return layout == blGlyphLeft || layout == blGlyphRight;
}

// The length of the button along the layout's axis, and the glyph's and caption's.
struct TAxis {
  int32_t button, glyph, text;
};
TAxis MainAxis(const TGlyphLayoutFacts& f) {
  if (Horizontal(f.layout)) return {f.width, f.glyphWidth, f.textWidth};
  return {f.height, f.glyphHeight, f.textHeight};
}

// Margin and spacing once the automatic values (-1) are worked out.
void ResolveMarginSpacing(const TGlyphLayoutFacts& f, bool speed, TGlyphPlacement& p) {
  TAxis a = MainAxis(f);
  p.margin = f.margin;
  p.spacing = f.textWidth == 0 || f.glyphWidth == 0 ? 0 : f.spacing;
  if (p.margin == -1 || (!speed && f.centred)) {
    if (p.spacing == -1) {
      p.margin = (a.button - a.glyph - a.text) / 3;
      p.spacing = p.margin;
    } else {
      p.margin = (a.button - a.glyph - p.spacing - a.text) / 2 + (speed ? 1 : 0);
    }
  } else if (p.spacing == -1) {
    p.spacing = (a.button - p.margin - a.glyph - a.text) / 2;
  }
}

TGlyphPlacement GlyphLayout(const TGlyphLayoutFacts& f, bool speed) {
  TGlyphPlacement p;
  int32_t textX = 0, textY = 0;
  if (Horizontal(f.layout)) {
    p.glyphY = (f.height - f.glyphHeight + 1) / 2;
    textY = (f.height - f.textHeight + 1) / 2;
  } else {
    p.glyphX = (f.width - f.glyphWidth + 1) / 2;
    textX = (f.width - f.textWidth + 1) / 2;
  }
  ResolveMarginSpacing(f, speed, p);
  switch (f.layout) {
    case blGlyphLeft:
      p.glyphX = p.margin;
      textX = p.glyphX + f.glyphWidth + p.spacing;
      break;
    case blGlyphRight:
      p.glyphX = f.width - p.margin - f.glyphWidth;
      textX = p.glyphX - p.spacing - f.textWidth;
      p.align = TTextAlign::Right;
      break;
    case blGlyphTop:
      p.glyphY = p.margin;
      textY = p.glyphY + f.glyphHeight + p.spacing;
      p.align = TTextAlign::Centre;
      break;
    case blGlyphBottom:
      p.glyphY = f.height - p.margin - f.glyphHeight;
      textY = p.glyphY - p.spacing - f.textHeight;
      p.align = TTextAlign::Centre;
      break;
  }
  p.text = Rect(textX, textY, textX + f.textWidth, textY + f.textHeight);
  return p;
}

}  // namespace

TRect GlyphCaptionMeasureRect(int32_t width, int32_t height, TButtonLayout layout, int32_t glyphWidth,
                              int32_t glyphHeight) {
  TRect r = Rect(2, 2, width - 2, height - 2);
  if (Horizontal(layout))
    r.Right -= glyphWidth + 2;
  else
    r.Bottom -= glyphHeight + 2;
  return r;
}

TGlyphPlacement BitButtonLayout(const TGlyphLayoutFacts& facts) {
  return GlyphLayout(facts, false);
}

TGlyphPlacement SpeedButtonLayout(const TGlyphLayoutFacts& facts) {
  return GlyphLayout(facts, true);
}

TRect MenuCaptionMeasureRect(int32_t width, int32_t height, int32_t glyphWidth) {
  return Rect(2, 2, width - glyphWidth - kMenuArrowWidth - 2, height - 2);
}

TMenuButtonPlacement MenuButtonLayout(int32_t width, int32_t height, int32_t glyphWidth, int32_t glyphHeight,
                                      int32_t textWidth, int32_t textHeight, int32_t margin,
                                      int32_t spacing) {
  TMenuButtonPlacement p;
  p.margin = margin;
  p.spacing = spacing;
  if (margin == -1 && spacing == -1) {
    p.margin = (width - (glyphWidth + textWidth + kMenuArrowWidth)) / 4;
    p.spacing = p.margin;
  } else if (margin == -1) {
    p.margin = (width - (glyphWidth + 2 * spacing + textWidth + kMenuArrowWidth)) / 2;
  } else if (spacing == -1) {
    p.spacing = (width - 2 * margin - glyphWidth + kMenuArrowWidth - textWidth) / 2;
  }
  p.glyphX = p.margin;
  p.glyphY = (height - glyphHeight) / 2;
  int32_t textX = p.margin + glyphWidth + p.spacing;
  int32_t textY = (height - textHeight + 1) / 2;
  p.text = Rect(textX, textY, textX + textWidth, textY + textHeight);
  p.arrowX = textX + textWidth + 2 * p.spacing;
  p.arrowY = (height - kMenuArrowHeight) / 2;
  return p;
}

std::array<TPoint32, 3> MenuArrowCorners(int32_t x, int32_t y) {
  return {TPoint32{x, y + 2}, TPoint32{x - 3, y - 1}, TPoint32{x + 3, y - 1}};
}

// --- TPushTracker ---

TPushTracker::Outcome TPushTracker::Set(bool hot, bool down) {
  Outcome o;
  o.repaint = hot != hot_ || down != down_;
  hot_ = hot;
  down_ = down;
  return o;
}

TPushTracker::Outcome TPushTracker::Press(bool enabled) {
  if (!enabled) return {};
  Outcome o = Set(true, true);
  if (!tracking_) o.capture = Capture::Take;
  tracking_ = true;
  return o;
}

TPushTracker::Outcome TPushTracker::Move(bool inside, bool enabled) {
  bool hot = inside && enabled;
  bool down = tracking_ ? inside : down_;
  return Set(hot, down);
}

TPushTracker::Outcome TPushTracker::Release(bool inside, bool enabled) {
  if (!tracking_) return {};
  tracking_ = false;
  Outcome o = Set(inside && enabled, keyDown_);
  o.capture = Capture::Release;
  o.click = inside && enabled;
  return o;
}

TPushTracker::Outcome TPushTracker::Leave() {
  // While the press holds the capture the button still follows the cursor
  // and the release decides; only the look changes here.
  return Set(false, tracking_ ? false : keyDown_);
}

TPushTracker::Outcome TPushTracker::Cancel() {
  Outcome o = Set(false, false);
  if (tracking_) o.capture = Capture::Release;
  tracking_ = false;
  keyDown_ = false;
  return o;
}

TPushTracker::Outcome TPushTracker::KeyDown() {
  keyDown_ = true;
  return Set(hot_, true);
}

TPushTracker::Outcome TPushTracker::KeyUp() {
  keyDown_ = false;
  return Set(hot_, tracking_ && down_);
}

}  // namespace skin
