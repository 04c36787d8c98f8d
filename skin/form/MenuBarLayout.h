// The geometry of the skinned menu bar, portable: where the row of buttons
// starts, where each button goes, which button a point hits, which button
// the arrow keys move to, where a button is clicked from code and where its
// drop-down opens, what the arrow keys mean while a drop-down is open, and
// the band's background picture. The Windows side (WinSkinMenuBar.cpp)
// measures captions and draws; every decision it takes is made here.
//
// Coordinates: the band and the buttons' bounds are window coordinates (the
// origin is the window's top-left corner); text rectangles are relative to
// the band. A hidden button has bounds (0, 0, 0, 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/model/SkinElements.h"

namespace skin {

// Item texts longer than this are cut.
inline constexpr size_t kMenuCaptionLimit = 80;
// Room added to a measured caption (5 pixels on each side).
inline constexpr int32_t kMenuCaptionPadding = 10;
// Start offset of a band without a menu-bar image, and of a band narrower than its offset.
inline constexpr int32_t kMenuPlainStart = 6;
inline constexpr int32_t kMenuNarrowStart = 12;

// One top-level item as the layout sees it.
struct TMenuBarEntry {
  bool visible = true;
  int32_t textWidth = 0;  // the measured caption; 0 for an empty caption
  TRect bounds;           // filled by LayoutMenuBar
  TRect textRect;         // filled by LayoutMenuBar (band coordinates)
  // An entry can be hit, clicked and reached by the arrow keys only when it
  // is shown and has room: an empty caption takes no room.
  bool Reachable() const { return visible && bounds.Right > bounds.Left; }
};

// The caption as kept for a button: cut to kMenuCaptionLimit characters.
std::wstring MenuCaption(const std::wstring& text);
// The accelerator of a caption: the character after a single "&" ("&&" is a
// literal ampersand), or 0 when there is none.
wchar_t MenuAccelerator(const std::wstring& caption);
// The width a caption of this measured width takes in the row.
inline int32_t MenuButtonWidth(int32_t textWidth) {
  return textWidth > 0 ? textWidth + kMenuCaptionPadding : 0;
}

// The offset of the first button from the band's start edge (the left edge,
// or the right edge of a right-to-left menu). `menubar` is the skin's menu-bar
// element, nullptr when the skin has none.
int32_t MenuBarStart(const TDataSkinObject* menubar, bool rightToLeft, int32_t bandWidth);

// Places the entries in one row over `band`, from `start` (MenuBarStart);
// a right-to-left row runs from the right edge and stops at `rightLimit`
// (band coordinates; pass the band width for no limit). The row is never
// wrapped: buttons past the band's end are cut off by the painter.
void LayoutMenuBar(std::vector<TMenuBarEntry>& entries, const TRect& band, int32_t start, bool rightToLeft,
                   int32_t rightLimit);

// The first reachable entry whose bounds contain the window point, or -1.
int FindMenuEntry(const std::vector<TMenuBarEntry>& entries, int32_t x, int32_t y);

// The reachable entry after (forward) or before `current`, wrapping around,
// looked for at most once round the row; -1 when no entry is reachable.
// From current -1, forward gives the first reachable entry and backward the last.
int NextMenuEntry(const std::vector<TMenuBarEntry>& entries, int current, bool forward);

// The screen point a click on the entry is posted at: one pixel inside its
// top-left corner. False for an entry that cannot be reached (no point is made up).
bool MenuEntryClickPoint(const TMenuBarEntry& entry, int32_t windowLeft, int32_t windowTop, int32_t& x,
                         int32_t& y);

// Where an entry's drop-down opens (screen point) and with which
// TrackPopupMenu flags: under the button's left end, or its right end with
// right alignment for a right-to-left window.
struct TMenuPopupPlace {
  int32_t x = 0;
  int32_t y = 0;
  uint32_t flags = 0;
};
inline constexpr uint32_t kPopupNoNotify = 0x80;    // TPM_NONOTIFY
inline constexpr uint32_t kPopupRightButton = 0x2;  // TPM_RIGHTBUTTON
inline constexpr uint32_t kPopupRightAlign = 0x8;   // TPM_RIGHTALIGN
TMenuPopupPlace MenuPopupPlace(const TRect& bounds, int32_t windowLeft, int32_t windowTop, bool rightToLeft);

// What an arrow key does while a drop-down of the bar is open.
enum class TMenuKeyMove {
  Pass,      // the drop-down handles the key itself
  Next,      // close it and open the next button's
  Previous,  // close it and open the previous button's
};
// `key` is a virtual-key code. `nestedOpen`: a submenu of the drop-down is
// open (Left closes it). `selectionHasSubmenu`: the highlighted item of the
// innermost open menu has a submenu (Right opens it). In a right-to-left
// menu the two arrows are exchanged before anything else.
TMenuKeyMove MenuTrackKey(uint32_t key, bool rightToLeft, bool nestedOpen, bool selectionHasSubmenu);

// The band's background: image 1 (active) or 2 (inactive) of the skin's
// menu-bar strip, stacked vertically, stretched with its margins when the
// element's Tile is 1, otherwise its fixed ends kept and the middle
// repeated; without the element, the band filled with `plain`.
TBitmap ComposeMenuBarBackground(int32_t width, int32_t height, const TDataSkinObject* menubar, bool active,
                                 TPixel plain);

}  // namespace skin
