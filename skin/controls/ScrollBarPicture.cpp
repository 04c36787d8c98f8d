#include "skin/controls/ScrollBarPicture.h"

#include "skin/form/SkinImage.h"

namespace skin {

namespace {

bool HasImage(const TDataSkinObject* element) {
  return element && !element->Map.Empty();
}

}  // namespace

bool CanDrawScrollBar(const TScrollBarArt& art) {
  return HasImage(art.arrows);
}

int32_t ArtThickness(const TScrollBarArt& art, int32_t cw) {
  return HasImage(art.arrows) ? DrawThickness(art.arrows->Map.Height(), cw) : cw;
}

TBitmap ComposeScrollBar(const TScrollBarArt& art, const TBarPictureState& s) {
  if (!CanDrawScrollBar(art) || s.len <= 0 || s.across <= 0) return {};
  const int32_t width = s.vertical ? s.across : s.len;
  const int32_t height = s.vertical ? s.len : s.across;
  TBitmap picture(width, height, art.face);

  TBarShape shape;
  shape.vertical = s.vertical;
  shape.len = s.len;
  shape.thickness = ArtThickness(art, s.cw);
  shape.cw = s.cw;
  shape.gripLength = art.arrows->Map.Height();
  shape.enabled = s.enabled;
  shape.thumb = s.thumb;
  TBarLayout layout = LayoutBar(shape);

  if (HasImage(art.shaft))
    DrawSkinImage(picture, layout.shaft, art.shaft->Map, art.shaft->r, s.enabled ? 1 : 3, kShaftImages,
                  art.shaft->trans == 1, art.shaft->Tile != 0, false);

  const TBitmap& arrows = art.arrows->Map;
  DrawSkinFrame(picture, layout.firstArrow, arrows, ArrowImage(s.vertical, false, s.scrollpos, s.down),
                kArrowImages, true);
  DrawSkinFrame(picture, layout.secondArrow, arrows, ArrowImage(s.vertical, true, s.scrollpos, s.down),
                kArrowImages, true);

  if (layout.hasThumb && HasImage(art.thumb))
    // The thumb's middle is stretched whatever the skin says: a tiled middle
    // would crawl under the cursor while dragging.
    DrawSkinImage(picture, layout.thumb, art.thumb->Map, art.thumb->r, ThumbImage(s.scrollpos, s.down),
                  art.thumb->frame, art.thumb->trans == 1, false, false);
  if (layout.hasGrip)
    DrawSkinFrame(picture, layout.grip, arrows, GripImage(s.vertical, s.scrollpos, s.down), kArrowImages,
                  true);
  return picture;
}

}  // namespace skin
