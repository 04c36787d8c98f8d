#include "gui/ButtonGlyph.h"

#include <algorithm>

namespace fw {

TGlyphPlacement PlaceGlyph(const RECT& client, int glyphW, int glyphH, int textW, int textH,
                           TButtonLayout layout, int margin, int spacing) {
  int width = client.right - client.left, height = client.bottom - client.top;
  bool across = layout == blGlyphLeft || layout == blGlyphRight;
  int room = across ? width : height;
  int glyph = across ? glyphW : glyphH;
  int text = across ? textW : textH;
  if (glyph == 0 || text == 0) spacing = 0;
  // Margin -1 centres the pair; spacing -1 shares the room out evenly.
  if (margin == -1) {
    if (spacing == -1) {
      margin = spacing = (room - glyph - text) / 3;
    } else {
      margin = (room - glyph - spacing - text) / 2;
    }
  } else if (spacing == -1) {
    spacing = (room - margin - glyph - text) / 2;
  }
  TGlyphPlacement p;
  int cx = client.left + (width - glyphW) / 2, cy = client.top + (height - glyphH) / 2;
  int tx = client.left + (width - textW) / 2, ty = client.top + (height - textH) / 2;
  switch (layout) {
    case blGlyphLeft:
      p.glyph = {client.left + margin, cy};
      tx = p.glyph.x + glyphW + spacing;
      break;
    case blGlyphRight:
      p.glyph = {client.right - margin - glyphW, cy};
      tx = p.glyph.x - spacing - textW;
      break;
    case blGlyphTop:
      p.glyph = {cx, client.top + margin};
      ty = p.glyph.y + glyphH + spacing;
      break;
    case blGlyphBottom:
      p.glyph = {cx, client.bottom - margin - glyphH};
      ty = p.glyph.y - spacing - textH;
      break;
  }
  p.caption = {tx, ty, tx + textW, ty + textH};
  return p;
}

RECT DrawGlyphAndCaption(HDC dc, const RECT& client, const TGlyphButtonLook& look) {
  int count = std::max(1, look.numGlyphs);
  bool hasGlyph = look.glyph && !look.glyph->Empty();
  int glyphW = hasGlyph ? look.glyph->Width() / count : 0;
  int glyphH = hasGlyph ? look.glyph->Height() : 0;
  RECT measure{0, 0, client.right - client.left, 0};
  int textW = 0, textH = 0;
  if (!look.caption.empty()) {
    DrawTextW(dc, look.caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    textW = measure.right - measure.left;
    textH = measure.bottom - measure.top;
  }
  TGlyphPlacement place =
      PlaceGlyph(client, glyphW, glyphH, textW, textH, look.layout, look.margin, look.spacing);
  if (hasGlyph) {
    // A picture without a disabled image is drawn as it is.
    int index = look.glyphIndex < count ? look.glyphIndex : 0;
    look.glyph->DrawTransparent(dc, place.glyph.x, place.glyph.y, index, count);
  }
  if (!look.caption.empty()) {
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, look.enabled ? look.textColour : GetSysColor(COLOR_GRAYTEXT));
    RECT text = place.caption;
    DrawTextW(dc, look.caption.c_str(), -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
  }
  return place.caption;
}

}  // namespace fw
