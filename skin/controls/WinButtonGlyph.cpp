#include "skin/controls/WinButtonGlyph.h"

#include "gui/Bitmap.h"
#include "skin/controls/ButtonGlyph.h"
#include "skin/form/WinSkinDraw.h"

namespace skin {

TBitmap ReadPictureProperty(const fw::TComponent* control, const std::wstring& name) {
  const fw::TBitmap* picture = fw::GetObjProp<fw::TBitmap>(control, name);
  if (!picture || picture->Empty()) return {};
  TBitmap out(picture->Width(), picture->Height());
  for (int32_t y = 0; y < out.Height(); ++y)
    for (int32_t x = 0; x < out.Width(); ++x) out.SetPixel(x, y, ColorToPixel(picture->Pixel(x, y)));
  return out;
}

void DrawGlyph(HDC dc, int32_t x, int32_t y, const TBitmap& image) {
  if (image.Empty()) return;
  DrawTransparent(dc, Rect(x, y, x + image.Width(), y + image.Height()), image,
                  static_cast<TColor>(PixelToColor(GlyphTransparentPixel(image))));
}

TBitmap GlyphImage(const TBitmap& glyph, int index, int numGlyphs) {
  TGlyphFrame frame = ChooseGlyphFrame(glyph.Width(), index, numGlyphs);
  TBitmap image = GlyphFrameBitmap(glyph, frame);
  if (!frame.embossed) return image;
  return EmbossedGlyph(image, ColorToPixel(GetSysColor(COLOR_BTNFACE)),
                       ColorToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)),
                       ColorToPixel(GetSysColor(COLOR_BTNSHADOW)));
}

UINT TextAlignFlag(TTextAlign align) {
  switch (align) {
    case TTextAlign::Right:
      return DT_RIGHT;
    case TTextAlign::Centre:
      return DT_CENTER;
    case TTextAlign::Left:
      break;
  }
  return DT_LEFT;
}

}  // namespace skin
