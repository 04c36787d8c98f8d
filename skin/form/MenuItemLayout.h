// The arithmetic of owner-drawn menu items, portable: how much an item
// grows over its own measurement, the size of a native item, the glyph cell
// (check mark or picture) at the item's leading side, where caption and
// shortcut go (mirrored for menus that read right to left), the text
// colour, and the pictures of an item's face, its separator and a popup
// menu's background. The Windows side (WinSkinFormMenuItems.cpp) measures
// texts, draws them and the check mark, and puts these pictures on the DC.
//
// Rectangles are those of the item as the platform gives it (R); the popup
// menu's background bitmap covers the whole menu window, whose items start
// kMenuFrameInset pixels in from its edges.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "skin/archive/Bitmap.h"
#include "skin/model/SkinElements.h"

namespace skin {

// The smallest glyph cell, and the cell of a menu without pictures.
inline constexpr int32_t kMenuGlyphSize = 16;
// Where a popup menu's items start inside its window.
inline constexpr int32_t kMenuFrameInset = 3;
// Item texts longer than this are cut (as the menu bar cuts its captions).
inline constexpr size_t kMenuItemTextLimit = 80;

// Text flags (DrawText) of the caption: measuring and drawing, left to
// right and mirrored.
inline constexpr uint32_t kMenuTextMeasure = 0x560;  // DT_CALCRECT|DT_NOCLIP|DT_EXPANDTABS|DT_SINGLELINE
inline constexpr uint32_t kMenuTextDraw = 0x60;      // DT_EXPANDTABS|DT_SINGLELINE
inline constexpr uint32_t kMenuTextMeasureMirrored = 0x20562;  // + DT_RTLREADING|DT_RIGHT
inline constexpr uint32_t kMenuTextDrawMirrored = 0x20062;
inline constexpr uint32_t kMenuTextCalcRect = 0x400;         // DT_CALCRECT
inline constexpr uint32_t kMenuShortcutFlags = 0x2;          // DT_RIGHT
inline constexpr uint32_t kMenuShortcutFlagsMirrored = 0x0;  // DT_LEFT

// Scheme colour indexes the items use.
inline constexpr int kMenuColorShadow = 7;  // ButtonShadow: disabled text
inline constexpr int kMenuColorHilightText = 11;
inline constexpr int kMenuColorHilight = 12;  // a selected plain item
inline constexpr int kMenuColorText = 15;     // MenuText
inline constexpr int kMenuColorFill = 16;     // Menu

// An item of the main menu (or a tool bar's): its own measured width grown by
// the element's left margin (when the skin has a MenuItem element) and 10,
// and 25 more when its menu has no pictures.
int32_t MainMenuItemWidth(int32_t measured, const TDataSkinObject* menuItem, bool menuHasImages);
// An item of a popup menu, measured by the framework already: + left margin + 12, + 23 without pictures.
int32_t PopupMenuItemWidth(int32_t measured, const TDataSkinObject* menuItem, bool menuHasImages);

// A native item the framework does not know: its text's width + 26 (+ the
// left margin); its height the platform's proposal + 4 for a text, 8 for an
// empty one, 4 more on Windows 9x.
struct TMenuItemSize {
  int32_t width = 0;
  int32_t height = 0;
};
TMenuItemSize NativeMenuItemSize(int32_t textWidth, int32_t proposedHeight, bool hasText,
                                 const TDataSkinObject* menuItem, bool windows9x);

// The text as it is measured: an empty caption or a lone "&" gets a space so
// that it still measures one line.
std::wstring MeasuredMenuText(const std::wstring& text);
// An item text cut to kMenuItemTextLimit; an empty one stands for a separator.
std::wstring NativeMenuCaption(const std::wstring& text);

// The glyph cell's side: 16, or the menu's picture width, and at least 16
// for a checked item. `imageWidth` is 0 for a menu without pictures.
int32_t MenuGlyphSize(int32_t imageWidth, bool checked);
// The glyph cell of item R: 1 pixel in from the leading edge plus the
// element's left margin; a separator's cell is empty at the leading edge.
TRect MenuGlyphCell(const TRect& R, int32_t g, const TDataSkinObject* menuItem, bool rightToLeft,
                    bool separator);
// The caption's rectangle: from 3 pixels past the cell to 1 pixel short of
// the trailing edge (mirrored: from R.Left + 1 to 3 pixels before the cell).
TRect MenuTextRect(const TRect& R, const TRect& cell, bool rightToLeft);
// A measured text rectangle moved down to the middle of item R.
TRect CentreMenuText(const TRect& rect, int32_t measuredHeight, const TRect& R);
// Where the shortcut is drawn: from the measured caption's end to 11 pixels
// before R's right edge (mirrored: from R.Left + 11 to the caption's start).
TRect MenuShortcutRect(const TRect& R, const TRect& measuredText, bool rightToLeft);
// The top-left corner of a check mark of the given size: centred in a g-wide
// cell, one pixel right and down; vertically centred on the item (mirrored:
// on the cell).
struct TMenuPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TMenuPoint&) const = default;
};
TMenuPoint MenuCheckMarkOrigin(const TRect& cell, int32_t g, const TRect& R, int32_t markWidth,
                               int32_t markHeight, bool rightToLeft);
// The top of a picture's cell: a checked item's cell is centred as 16 pixels
// (it gets a sunken edge), an unchecked one as the picture's height; the
// mirrored layout keeps the cell where it is.
int32_t MenuImageTop(const TRect& cell, const TRect& R, int32_t imageHeight, bool checked, bool rightToLeft);

// The caption's colour: enabled items HilightText when selected, MenuText
// otherwise; disabled ones ButtonShadow, or the system's button shadow when
// the skin gives ButtonShadow and MenuText the same colour.
TColor MenuItemTextColor(const std::array<TColor, 20>& colors, bool enabled, bool selected);

// The popup menu's background: image 1 of MenuitemBG at the window's size,
// its margins kept, the middle tiled when its Tile is 1.
TBitmap ComposeMenuBackground(int32_t width, int32_t height, const TDataSkinObject& background);
// The background under item R (client coordinates of the menu window): R
// moved by (dx, dy), where the client area starts inside the window, out of
// the menu's background, or `fill` where there is none.
TBitmap ComposeMenuItemBackground(const TRect& R, const TBitmap* menuBackground, TPixel fill,
                                  int32_t dx = kMenuFrameInset, int32_t dy = kMenuFrameInset);
// An item's face: its background with image 4 (selected) or 1 of the
// MenuItem strip over it, margins kept, transparent where the element says.
TBitmap ComposeMenuItemFace(const TRect& R, const TBitmap* menuBackground, TPixel fill,
                            const TDataSkinObject& menuItem, bool selected, int32_t dx = kMenuFrameInset,
                            int32_t dy = kMenuFrameInset);

// The separator: image 2 of the MenuItem strip, its bottom rows when the
// item is lower than the image, in three stretched pieces (ends of the
// element's left and right margins, the middle between them). Where nothing
// is drawn the picture is magenta, to be left out.
struct TMenuSlice {
  TRect source;
  TRect target;
};
std::array<TMenuSlice, 3> MenuSeparatorSlices(int32_t width, int32_t height, int32_t stripWidth,
                                              int32_t stripHeight, const TRect& margins);
TBitmap ComposeMenuSeparator(int32_t width, int32_t height, const TDataSkinObject& menuItem);

}  // namespace skin
