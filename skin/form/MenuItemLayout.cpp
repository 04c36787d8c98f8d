#include "skin/form/MenuItemLayout.h"

#include <algorithm>

#include "skin/archive/SkinPlatform.h"
#include "skin/form/SkinImage.h"

namespace skin {

namespace {
constexpr int kSysColorBtnShadow = 16;  // COLOR_BTNSHADOW
constexpr int kFaceFrames = 5;
constexpr int kFaceNormal = 1;
constexpr int kFaceSeparator = 2;
constexpr int kFaceSelected = 4;
constexpr TPixel kMagenta = 0xFF00FF;

int32_t LeftMargin(const TDataSkinObject* menuItem) {
  return menuItem ? menuItem->r.Left : 0;
}
}  // namespace

int32_t MainMenuItemWidth(int32_t measured, const TDataSkinObject* menuItem, bool menuHasImages) {
  return measured + LeftMargin(menuItem) + 10 + (menuHasImages ? 0 : 25);
}

int32_t PopupMenuItemWidth(int32_t measured, const TDataSkinObject* menuItem, bool menuHasImages) {
  return measured + LeftMargin(menuItem) + 12 + (menuHasImages ? 0 : 23);
}

TMenuItemSize NativeMenuItemSize(int32_t textWidth, int32_t proposedHeight, bool hasText,
                                 const TDataSkinObject* menuItem, bool windows9x) {
  TMenuItemSize size;
  size.width = textWidth + 26 + LeftMargin(menuItem);
  size.height = hasText ? proposedHeight + 4 : 8;
  if (windows9x) size.height += 4;
  return size;
}

std::wstring MeasuredMenuText(const std::wstring& text) {
  return text.empty() || text == L"&" ? text + L" " : text;
}

std::wstring NativeMenuCaption(const std::wstring& text) {
  if (text.empty()) return L"-";
  return text.size() > kMenuItemTextLimit ? text.substr(0, kMenuItemTextLimit) : text;
}

int32_t MenuGlyphSize(int32_t imageWidth, bool checked) {
  const int32_t g = imageWidth > 0 ? imageWidth : kMenuGlyphSize;
  return checked ? std::max(g, kMenuGlyphSize) : g;
}

TRect MenuGlyphCell(const TRect& R, int32_t g, const TDataSkinObject* menuItem, bool rightToLeft,
                    bool separator) {
  if (rightToLeft) {
    if (separator) return TRect{R.Right, R.Top + 1, R.Right, R.Top + 1 + g};
    const int32_t right = R.Right - 1 - LeftMargin(menuItem);
    return TRect{right - g, R.Top + 1, right, R.Top + 1 + g};
  }
  if (separator) return TRect{0, R.Top + 1, 0, R.Top + 1 + g};
  const int32_t left = R.Left + 1 + LeftMargin(menuItem);
  return TRect{left, R.Top + 1, left + g, R.Top + 1 + g};
}

TRect MenuTextRect(const TRect& R, const TRect& cell, bool rightToLeft) {
  if (rightToLeft) return TRect{R.Left + 1, R.Top, cell.Left - 3, R.Bottom};
  return TRect{cell.Right + 3, R.Top, R.Right - 1, R.Bottom};
}

TRect CentreMenuText(const TRect& rect, int32_t measuredHeight, const TRect& R) {
  const int32_t down = (R.Height() - measuredHeight) / 2;
  return TRect{rect.Left, rect.Top + down, rect.Right, rect.Bottom + down};
}

TRect MenuShortcutRect(const TRect& R, const TRect& measuredText, bool rightToLeft) {
  if (rightToLeft) return TRect{R.Left + 11, measuredText.Top, measuredText.Left, measuredText.Bottom};
  return TRect{measuredText.Right, measuredText.Top, R.Right - 11, measuredText.Bottom};
}

TMenuPoint MenuCheckMarkOrigin(const TRect& cell, int32_t g, const TRect& R, int32_t markWidth,
                               int32_t markHeight, bool rightToLeft) {
  const int32_t x = cell.Left + (g - markWidth) / 2 + 1;
  if (rightToLeft) return TMenuPoint{x, cell.Top + (g - markHeight) / 2 + 1};
  return TMenuPoint{x, R.Top + (R.Height() - markHeight) / 2 + 1};
}

int32_t MenuImageTop(const TRect& cell, const TRect& R, int32_t imageHeight, bool checked, bool rightToLeft) {
  if (rightToLeft) return cell.Top;
  return R.Top + (R.Height() - (checked ? kMenuGlyphSize : imageHeight)) / 2;
}

TColor MenuItemTextColor(const std::array<TColor, 20>& colors, bool enabled, bool selected) {
  if (enabled) return colors[selected ? kMenuColorHilightText : kMenuColorText];
  // A shadow text on a skin whose menu text is that colour would not show.
  if (colors[kMenuColorShadow] == colors[kMenuColorText]) return SysColor(kSysColorBtnShadow);
  return colors[kMenuColorShadow];
}

TBitmap ComposeMenuBackground(int32_t width, int32_t height, const TDataSkinObject& background) {
  if (width <= 0 || height <= 0 || background.Map.Empty()) return {};
  return BuildSkinBitmap(TRect{0, 0, width, height}, background.Map, background.r, 1, 1, background.Tile == 1,
                         false);
}

TBitmap ComposeMenuItemBackground(const TRect& R, const TBitmap* menuBackground, TPixel fill, int32_t dx,
                                  int32_t dy) {
  const int32_t w = std::max(R.Width(), 0), h = std::max(R.Height(), 0);
  TBitmap picture(w, h, fill);
  if (menuBackground && !menuBackground->Empty())
    CopyRect(picture, 0, 0, *menuBackground, TRect{R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy});
  return picture;
}

TBitmap ComposeMenuItemFace(const TRect& R, const TBitmap* menuBackground, TPixel fill,
                            const TDataSkinObject& menuItem, bool selected, int32_t dx, int32_t dy) {
  TBitmap picture = ComposeMenuItemBackground(R, menuBackground, fill, dx, dy);
  if (picture.Empty() || menuItem.Map.Empty()) return picture;
  DrawSkinImage(picture, TRect{0, 0, picture.Width(), picture.Height()}, menuItem.Map, menuItem.r,
                selected ? kFaceSelected : kFaceNormal, kFaceFrames, menuItem.trans != 0, menuItem.Tile == 1,
                false);
  return picture;
}

std::array<TMenuSlice, 3> MenuSeparatorSlices(int32_t width, int32_t height, int32_t stripWidth,
                                              int32_t stripHeight, const TRect& margins) {
  const int32_t w5 = stripWidth / kFaceFrames;
  const int32_t x0 = w5 * (kFaceSeparator - 1), x1 = w5 * kFaceSeparator;
  const int32_t H = stripHeight;
  const int32_t sy = height < H ? H - height : 0;
  const int32_t l = margins.Left, r = margins.Right;
  return {TMenuSlice{TRect{x0, sy, x0 + l, H}, TRect{0, 0, l, height}},
          TMenuSlice{TRect{x1 - r, sy, x1, H}, TRect{width - r, 0, width, height}},
          TMenuSlice{TRect{x0 + l, sy, x1 - r, H}, TRect{l, 0, width - r, height}}};
}

TBitmap ComposeMenuSeparator(int32_t width, int32_t height, const TDataSkinObject& menuItem) {
  if (width <= 0 || height <= 0) return {};
  TBitmap picture(width, height, kMagenta);
  if (menuItem.Map.Empty()) return picture;
  for (const TMenuSlice& s :
       MenuSeparatorSlices(width, height, menuItem.Map.Width(), menuItem.Map.Height(), menuItem.r))
    if (s.source.Width() > 0 && s.source.Height() > 0 && s.target.Width() > 0 && s.target.Height() > 0)
      StretchCopy(picture, s.target, menuItem.Map, s.source);
  return picture;
}

}  // namespace skin
