// The picture of a bit or speed button and its placing beside the caption,
// as both publish them (Glyph, NumGlyphs, Margin, Spacing, Layout). A change
// asks the button to repaint.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Bitmap.h"
#include "gui/ButtonGlyph.h"

namespace fw {

class TGlyphProperties {
 public:
  TBitmap& Glyph() { return glyph_; }
  const TBitmap& Glyph() const { return glyph_; }
  // Takes a copy of the picture.
  void SetGlyph(const TBitmap& glyph);
  // How many images lie side by side in the picture: 1 to 4.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  // -1 centres the glyph and caption.
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);

 protected:
  TGlyphProperties() = default;
  ~TGlyphProperties() = default;
  // The button repaints with the new settings.
  virtual void GlyphChanged() = 0;
  // Reads a stored definition's "Glyph.Data" (true); any other name is not
  // the glyph's (false). A picture that is no bitmap is refused.
  bool ReadGlyphData(const std::wstring& name, const std::vector<uint8_t>& data);
  // The glyph and its placing, for drawing; the button adds its state.
  TGlyphButtonLook GlyphLook() const;

 private:
  TBitmap glyph_;
  int numGlyphs_ = 1;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonLayout layout_ = blGlyphLeft;
};

}  // namespace fw
