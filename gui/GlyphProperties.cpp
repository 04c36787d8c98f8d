#include "gui/GlyphProperties.h"

#include <algorithm>
#include <stdexcept>

namespace fw {

void TGlyphProperties::SetGlyph(const TBitmap& glyph) {
  glyph_.Assign(glyph);
  GlyphChanged();
}

void TGlyphProperties::SetNumGlyphs(int n) {
  numGlyphs_ = std::clamp(n, 1, 4);
  GlyphChanged();
}

void TGlyphProperties::SetMargin(int margin) {
  margin_ = std::max(-1, margin);
  GlyphChanged();
}

void TGlyphProperties::SetSpacing(int spacing) {
  spacing_ = std::max(-1, spacing);
  GlyphChanged();
}

void TGlyphProperties::SetLayout(TButtonLayout layout) {
  layout_ = layout;
  GlyphChanged();
}

bool TGlyphProperties::ReadGlyphData(const std::wstring& name, const std::vector<uint8_t>& data) {
  if (name != L"Glyph.Data") return false;
  if (!glyph_.LoadFromDefinitionData(data)) throw std::invalid_argument("Glyph.Data 不是位图");
  GlyphChanged();
  return true;
}

TGlyphButtonLook TGlyphProperties::GlyphLook() const {
  TGlyphButtonLook look;
  look.glyph = &glyph_;
  look.numGlyphs = numGlyphs_;
  look.layout = layout_;
  look.margin = margin_;
  look.spacing = spacing_;
  return look;
}

}  // namespace fw
