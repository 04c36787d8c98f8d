#include "skin/form/MenuBarLayout.h"

#include <algorithm>

#include "skin/form/SkinImage.h"

namespace skin {

namespace {
constexpr uint32_t kKeyLeft = 0x25;   // VK_LEFT
constexpr uint32_t kKeyRight = 0x27;  // VK_RIGHT

bool Contains(const TRect& r, int32_t x, int32_t y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}
}  // namespace

std::wstring MenuCaption(const std::wstring& text) {
  return text.size() > kMenuCaptionLimit ? text.substr(0, kMenuCaptionLimit) : text;
}

wchar_t MenuAccelerator(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;  // "&&" shows one ampersand
  }
  return 0;
}

int32_t MenuBarStart(const TDataSkinObject* menubar, bool rightToLeft, int32_t bandWidth) {
  if (!menubar) return kMenuPlainStart;
  int32_t start = rightToLeft ? menubar->r.Right + 8 : menubar->r.Left + 4;
  return bandWidth < start ? kMenuNarrowStart : start;
}

void LayoutMenuBar(std::vector<TMenuBarEntry>& entries, const TRect& band, int32_t start, bool rightToLeft,
                   int32_t rightLimit) {
  const int32_t textBottom = band.Height() - 1;
  int32_t x = rightToLeft ? std::min(band.Width() - start, rightLimit) : start;
  for (TMenuBarEntry& e : entries) {
    if (!e.visible) {
      e.bounds = TRect{};
      e.textRect = TRect{};
      continue;
    }
    const int32_t width = MenuButtonWidth(e.textWidth);
    const int32_t left = rightToLeft ? x - width : x;
    e.textRect = Rect(left, 0, left + width, textBottom);
    e.bounds = Rect(band.Left + left, band.Top, band.Left + left + width, band.Bottom - 1);
    x = rightToLeft ? x - width : x + width;
  }
}

int FindMenuEntry(const std::vector<TMenuBarEntry>& entries, int32_t x, int32_t y) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].Reachable() && Contains(entries[i].bounds, x, y)) return static_cast<int>(i);
  return -1;
}

int NextMenuEntry(const std::vector<TMenuBarEntry>& entries, int current, bool forward) {
  const int count = static_cast<int>(entries.size());
  if (count == 0) return -1;
  // From "none", the first step lands on the first (or last) entry.
  int i = current < 0 || current >= count ? (forward ? -1 : count) : current;
  for (int step = 0; step < count; ++step) {
    i = forward ? (i + 1) % count : (i - 1 + count) % count;
    if (entries[static_cast<size_t>(i)].Reachable()) return i;
  }
  return -1;
}

bool MenuEntryClickPoint(const TMenuBarEntry& entry, int32_t windowLeft, int32_t windowTop, int32_t& x,
                         int32_t& y) {
  if (!entry.Reachable()) return false;
  x = entry.bounds.Left + windowLeft + 1;
  y = entry.bounds.Top + windowTop + 1;
  return true;
}

TMenuPopupPlace MenuPopupPlace(const TRect& bounds, int32_t windowLeft, int32_t windowTop, bool rightToLeft) {
  TMenuPopupPlace place;
  place.y = bounds.Bottom + windowTop;
  place.x = (rightToLeft ? bounds.Right : bounds.Left) + windowLeft;
  place.flags = kPopupNoNotify | kPopupRightButton | (rightToLeft ? kPopupRightAlign : 0);
  return place;
}

TMenuKeyMove MenuTrackKey(uint32_t key, bool rightToLeft, bool nestedOpen, bool selectionHasSubmenu) {
  if (rightToLeft && (key == kKeyLeft || key == kKeyRight)) key = key == kKeyLeft ? kKeyRight : kKeyLeft;
  if (key == kKeyRight) return selectionHasSubmenu ? TMenuKeyMove::Pass : TMenuKeyMove::Next;
  if (key == kKeyLeft) return nestedOpen ? TMenuKeyMove::Pass : TMenuKeyMove::Previous;
  return TMenuKeyMove::Pass;
}

TBitmap ComposeMenuBarBackground(int32_t width, int32_t height, const TDataSkinObject* menubar, bool active,
                                 TPixel plain) {
  if (width <= 0 || height <= 0) return {};
  if (!menubar || menubar->Map.Empty()) return TBitmap(width, height, plain);
  const int index = active ? 1 : 2;
  // For the menu bar a Tile of 1 means stretched (the skin's "TileMenu" key reads that way).
  if (menubar->Tile == 1)
    return BuildSkinBitmap(Rect(0, 0, width, height), menubar->Map, menubar->r, index, menubar->frame, false,
                           true);
  return ComposeTiledStrip(width, height, menubar->Map, menubar->r, index, menubar->frame, true);
}

}  // namespace skin
