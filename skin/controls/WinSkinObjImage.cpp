#include <vector>

#include "gui/Bitmap.h"
#include "skin/controls/CheckFrames.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

// The magenta key as the control libraries take a colour: decimal text.
constexpr const wchar_t* kMagentaText = L"16711935";

// A copy of a skin picture in a framework picture.
void CopyInto(fw::TBitmap& target, const TBitmap& strip) {
  std::vector<uint8_t> bmp = strip.SaveToBmp();
  target.LoadFromBmp(bmp.data(), bmp.size());
}

}  // namespace

const fw::TClassInfo& TSkinObjImage::StaticClass() {
  static const fw::TClassInfo info{L"TSkinObjImage", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinObjImage::Init(TWinSkinForm* sf, TSkinData* sd, bool) {
  if (Inited) return;
  // Passive: the control keeps painting itself with the glyphs it is given.
  fsd = sd;
  skinform = sf;
  fw::TComponent* owner = Owner();
  control =
      owner && owner->Is(fw::TWinControl::StaticClass()) ? static_cast<fw::TWinControl*>(owner) : nullptr;
  if (control) hwnd = control->Handle();
  if (skinform) skinform->AddControlList(this);
  ApplyGlyphs();
  Inited = true;
  skinstate = scAttached;
}

void TSkinObjImage::SkinChange() {
  ApplyGlyphs();
}

void TSkinObjImage::ApplyGlyphs() {
  if (!fsd || !control) return;
  const TBitmap& image = glyphKind == 2 ? fsd->Button.RadioMap : fsd->Button.CheckMap;
  int frames = glyphKind == 2 ? fsd->Button.radioframe : fsd->Button.checkframe;
  TBitmap strip = BuildGlyphStrip(image, frames, glyphKind);
  if (strip.Empty()) return;
  if (glyphKind == 1 || glyphKind == 2) {
    if (fw::TBitmap* glyphs = fw::GetObjProp<fw::TBitmap>(control, L"CustomGlyphs")) CopyInto(*glyphs, strip);
    fw::SetPropText(control, L"transparentcolor", kMagentaText);
    // Off and on again: the control takes the new pictures when the switch turns on.
    fw::SetPropText(control, L"UseCustomGlyphs", L"false");
    fw::SetPropText(control, L"UseCustomGlyphs", L"true");
  } else if (glyphKind == 3) {
    fw::TComponent* properties = fw::GetObjProp<fw::TComponent>(control, L"Properties");
    if (fw::TBitmap* glyph = fw::GetObjProp<fw::TBitmap>(properties, L"Glyph")) CopyInto(*glyph, strip);
  }
}

void TSkinObjImage::Unsubclass() {
  if (!control) return;
  if (glyphKind == 1 || glyphKind == 2) {
    fw::SetPropText(control, L"UseCustomGlyphs", L"false");
  } else if (glyphKind == 3) {
    fw::TComponent* properties = fw::GetObjProp<fw::TComponent>(control, L"Properties");
    if (fw::TBitmap* glyph = fw::GetObjProp<fw::TBitmap>(properties, L"Glyph")) glyph->Clear();
  }
}

}  // namespace skin
