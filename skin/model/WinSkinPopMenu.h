// TWinSkinPopMenu: the skinner of one popup menu window (class "#32768").
// The skin manager attaches one when the platform creates such a window and
// the skin allows that kind of menu (a free popup, a menu of the menu bar,
// the window menu). It draws the window's frame and background from the
// skin's MenuitemBG element instead of the platform's, keeps that picture in
// MenuBg at the window's size, and lends it to the item painter, so that
// owner-drawn items stand on the same background.
//
// The platform creates and destroys these windows on its own: the skinner
// lives from the creation hook to the destruction hook. It is freed only
// when none of its window's messages is running.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/archive/Bitmap.h"

namespace skin {

class TSkinData;
class TWindowSubclass;

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Takes over the window's messages; `amenu` is the menu it shows when known (else 0).
  void InitSkin(HWND ahwnd, TSkinData* afsd, HMENU amenu);
  // Gives the window its own procedure back and drops the background picture.
  void UnSubClass();
  bool Subclassed() const { return subclass_ != nullptr; }
  // Frees the skinner now, or when the window's running message returns.
  void Release();

  // Renders MenuBg at the given size from the skin's MenuitemBG; false (and
  // MenuBg empty) when the skin has no such picture.
  bool RenderBackground(int32_t width, int32_t height);
  // Whether the skin draws this window's frame: loaded, with a MenuitemBG picture.
  bool HasSkinFrame() const;
  // The background, rendered on first use; nullptr without one.
  const TBitmap* Background();
  // Where the client area (the items' coordinates) starts inside the window.
  POINT ClientOffset() const;

  bool done = false;
  HWND hwnd = nullptr;
  TSkinData* fsd = nullptr;
  int SelIndex = -1;
  TBitmap MenuBg;
  HMENU hmenu = nullptr;
  bool ownerdraw = false;
  // When the window was first painted with the skin (QueryPerformanceCounter
  // ticks); 0 until then. Read by the menu-opening benchmark.
  int64_t firstSkinnedPaint = 0;

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  // PaintMenuFrame: the whole window from MenuBg, through the window's DC.
  bool PaintMenuFrame();
  // PrintMenuFrame: MenuBg into the target, the window's own printing of
  // its items over it, clipped inside the platform's frame.
  LRESULT PrintMenuFrame(HDC target, LPARAM flags);
  void NoteSkinnedPaint();
  // Puts the background on every part of the window that no item covers:
  // platforms that draw the menu's edge inside its client area draw it there.
  void PaintMargins();

  TWindowSubclass* subclass_ = nullptr;
  int nesting_ = 0;
  bool releasePending_ = false;
};

}  // namespace skin
