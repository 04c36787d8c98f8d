// TSkinBitButton: push buttons with a glyph (an image of a glyph strip, or an
// image-list image) beside the caption, or with a picture property drawn
// whole instead. The face and the mouse are the plain button's; the glyph and
// caption are placed by the layout rules of ButtonLayout.h from the control's
// "Glyph", "NumGlyphs", "Margin", "Spacing", "Layout" and "Alignment".
#include <algorithm>
#include <cwctype>

#include "skin/controls/WinButtonGlyph.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::wstring Lowered(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

}  // namespace

const fw::TClassInfo& TSkinBitButton::StaticClass() {
  static const fw::TClassInfo info{L"TSkinBitButton", &TSkinButton::StaticClass(), {}};
  return info;
}

TSize32 TSkinBitButton::MeasureGlyphCaption(HDC dc, const TRect& within) {
  if (caption.empty()) return {};
  RECT r = ToRECT(within);
  DrawSkinText(dc, caption, r, DT_CALCRECT | DT_WORDBREAK);
  return {r.right - r.left, r.bottom - r.top};
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.Map.Empty() || !control) return;
  RefreshFocusAndEnabled();
  TButtonLook look{focused, IsDefaultButton(), (state & Hot) != 0, (state & Down) != 0, enabled};
  bool picture = !PicField.empty();
  int face = picture ? PictureButtonFace(look) : PushButtonFace(look);
  caption = SplitCaptionBars(ReadCaption());
  if (!PrepareBuffer(rc)) return;
  HDC buffer = btemp->DC();
  const int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  ComposeFace(face);
  HGDIOBJ oldFont = SelectObject(buffer, CaptionFont());

  // The glyph: a picture property drawn whole, or one image of the glyph strip.
  TBitmap glyph = ReadPictureProperty(control, picture ? PicField : L"Glyph");
  // "NumGlyphs" does not divide a picture property.
  int numGlyphs = picture ? 1 : NormaliseNumGlyphs(fw::GetIntProp(control, L"NumGlyphs"));
  TGlyphLayoutFacts facts;
  facts.width = w;
  facts.height = h;
  facts.glyphWidth = glyph.Empty() ? 0 : glyph.Width() / numGlyphs;
  facts.glyphHeight = glyph.Empty() ? 0 : glyph.Height();
  facts.margin = fw::GetIntProp(control, L"Margin");
  facts.spacing = fw::GetIntProp(control, L"Spacing");
  facts.layout = ParseButtonLayout(fw::GetEnumText(control, L"Layout"));
  facts.centred = Lowered(fw::GetEnumText(control, L"Alignment")) == L"tacenter";
  TSize32 text = MeasureGlyphCaption(
      buffer, GlyphCaptionMeasureRect(w, h, facts.layout, facts.glyphWidth, facts.glyphHeight));
  facts.textWidth = text.width;
  facts.textHeight = text.height;
  TGlyphPlacement place = BitButtonLayout(facts);

  if (!glyph.Empty())
    DrawGlyph(buffer, place.glyphX, place.glyphY,
              picture ? glyph : GlyphImage(glyph, GlyphIndexForFace(face), numGlyphs));

  TInkChoice choice{fsd->Button.newnormal, fsd->Button.newover, fsd->Button.newdown};
  TCaptionInk ink = picture ? FaceCaptionInk(face, enabled, choice) : PushCaptionInk(face, enabled, choice);
  SetTextColor(buffer, InkColour(ink, control->Font().Color()));
  if (!caption.empty()) {
    UINT format = DT_WORDBREAK | TextAlignFlag(place.align);
    RECT r = ToRECT(place.text);
    int oldMode = SetBkMode(buffer, TRANSPARENT);
    DrawSkinText(buffer, caption, r, picture ? format : CheckBiDi(format));
    SetBkMode(buffer, oldMode);
    if (FocusRectWanted()) {
      RECT focus = ToRECT(ButtonFocusRect(place.text));
      DrawFocusRect(buffer, &focus);
    }
  }
  BitBlt(dc, rc.left, rc.top, w, h, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldFont);
}

}  // namespace skin
