// Tab strips and the pages under them.
//
// Files: WinSkinTab.cpp (TSkinTab: tab controls and page controls with
// ordinary tabs on any side, optional close boxes), WinSkinTabBtn.cpp
// (TSkinTabBtn: page controls whose tabs are buttons), WinSkinTabSheet.cpp
// (TSkinTabSheet: the pages); the portable geometry in TabLayout.h.
//
// The tab band is composed off-screen (lying down for tabs on the left or
// right, then turned upright) and copied in one blit; a tab control's scroll
// arrows (an up-down child window) are left out of that blit so they paint
// themselves.
//
// The old-style tab set and other libraries' page controls have no
// counterpart in our framework, so they have no class here.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/archive/Bitmap.h"
#include "skin/controls/TabLayout.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

class TDibSection;
class TSkinUpDown;

// Sent to the form window when a close box is clicked: wParam the tab
// control's window, lParam the tab index. A zero answer (what a window that
// does not handle it gives) lets the skin free that page.
inline constexpr UINT WM_SKINTABCLOSE = 0x3507;

// A tab's caption (at most 80 characters) and image index (-1: none) as
// the control holds them; empty for a tab it does not have.
struct TTabItem {
  std::wstring text;
  int image = -1;
};
TTabItem ReadTabItem(HWND hwnd, int index);
// The control's font, or the GUI font when it has none of its own.
HFONT TabFont(HWND hwnd);

// The Tag that gives a top-tab page control close boxes.
inline constexpr int kCloseBoxTag = 7777;

class TSkinTab : public TSkinControl {
  FW_CLASS(TSkinTab)
 public:
  explicit TSkinTab(fw::TComponent* owner);
  ~TSkinTab() override;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) override;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;
  // Takes working copies of the skin's tab image and page border, flipped or
  // turned to the side of the tabs.
  void inittab();

  std::vector<TRect> CloseRect;  // one per tab: its close box (close boxes only)
  TSkinTabPosition Position = StTop;
  bool unicode = false;
  TBitmap tabbmp;     // the tab image, upside down for bottom tabs
  TBitmap borderbmp;  // the page border, flipped or turned to the tab side
  bool showclose = false;
  // The skin object of the scroll arrows, made when they are first found;
  // owned as this object is (freed here only when nothing owns it).
  TSkinUpDown* updown = nullptr;

 private:
  // Gives the scroll arrows their skin object when they have none yet.
  void SkinScrollArrows();
  // The scroll arrows' child window, when the tabs do not all fit.
  HWND ScrollArrows() const;
  void DrawBand(HDC dc, const RECT& rc, const TRect& border);
  void DrawPageBorder(HDC dc, const TRect& border);
  // A click on a close box: asks the form, frees the page when it may.
  bool CloseBoxClick(fw::TMessage& message);

  std::unique_ptr<TDibSection> Drawtemp;  // the band, composed off-screen
};

class TSkinTabBtn : public TSkinControl {
  FW_CLASS(TSkinTabBtn)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
};

class TSkinTabSheet : public TSkinControl {
  FW_CLASS(TSkinTabSheet)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
};

}  // namespace skin
