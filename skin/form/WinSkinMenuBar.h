// The menu bar of a skinned frame. The form skinner takes the window's own
// menu bar away (SetMenu(window, 0)) and reserves a band of MenuHeight pixels
// under the caption; TWinSkinMenu paints that band from the skin's menu-bar
// image with one button (TMenuBtn) per top-level item, and a button opens the
// item's drop-down as a native popup menu under itself. While a drop-down is
// open, a message-filter hook lets the mouse or the arrow keys slide to the
// neighbouring buttons.
//
// The native menu stays the window's: `hmenu` here and the form skinner's
// `hmenu` keep it, and the form skinner puts it back with SetMenu when
// skinning ends (UnSubclass) before it frees the menu-bar skinner.
//
// Layout and navigation decisions are portable (MenuBarLayout.h); this file
// measures captions, draws, and drives the platform's menu tracking.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Component.h"
#include "skin/archive/Bitmap.h"
#include "skin/form/MenuBarLayout.h"
#include "skin/form/WinSkinForm.h"

namespace fw {
class TMainMenu;
class TMenuItem;
}  // namespace fw

namespace skin {

class TSkinData;

// One top-level item of the bar. `enabled` (of TNCObject) is the item's
// enabled state: it decides the caption colour and whether the drop-down opens.
class TMenuBtn : public TNCObject {
 public:
  explicit TMenuBtn(TWinSkinForm* sf) : TNCObject(sf) {}
  // Repaints this button alone on the window, over the band's saved background.
  void Draw() override;

  fw::TMenuItem* menuitem = nullptr;  // the framework's item, when there is one
  TSkinData* FSD = nullptr;
  int index = 0;         // position in the bar's Buttons
  std::wstring caption;  // "&" marks the accelerator
  HMENU hsubmenu = nullptr;
  UINT mid = 0;  // the command id  // The caption's width in the bar's font, measured on first layout (the
  // font and the caption stay for the button's life); -1 until then.
  int32_t textWidth = -1;
};

class TWinSkinMenu : public fw::TComponent {
  FW_CLASS(TWinSkinMenu)
 public:
  // Owned by the form skinner; reads its skin data and its framework form's
  // main menu. Makes the menu font once.
  explicit TWinSkinMenu(TWinSkinForm* owner);
  ~TWinSkinMenu() override;

  // Rebuilds the buttons from the window's menu (its current one, else the
  // one kept in `hmenu`) and detaches that menu from the window.
  void UpdataBtn();
  // The same from the framework menu's items (systems older than NT 5).
  void UpdataBtn1();
  // After an MDI frame's menu was replaced: the window's menu read again.
  void UpdataBtn2(HMENU newmenu);
  // From the framework menu's items, forgetting the button under the mouse.
  void UpdataBtn3();
  // Paints the band `rc` (window coordinates) into `dc` and lays out the buttons.
  void DrawMenu(HDC dc, const TRect& rc);
  // Lays out the buttons over the window's band without painting.
  void SetMenuRect();
  // The button at a window point (never a hidden one or one without a caption).
  TNCObject* FindBtn(POINT p) const;
  void MouseMove(POINT) {}

  // The button at `i`, or nullptr.
  TMenuBtn* Button(int i) const;
  // The first button the keyboard can reach (Alt or F10 alone opens it), or nullptr.
  TMenuBtn* FirstButton() const;
  // The buttons as the portable layout sees them.
  std::vector<TMenuBarEntry> Entries() const;
  HFONT MenuFont() const { return font_; }

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  fw::TMainMenu* menu = nullptr;  // not owned
  TRect Bar;                      // the band as last painted
  TSkinData* FSD = nullptr;
  TWinSkinForm* SF = nullptr;
  TBitmap bkmap;  // the band's background without captions
  int count = 0;
  bool topmenu = false;
  HMENU hmenu = nullptr;  // the window's native menu

 private:
  void ClearButtons();
  void ReadNativeItems(bool fromFramework, bool captionsOnly);
  void ButtonsFromFramework(bool runUpdate);
  void Detach();
  void Layout(HDC dc, const TRect& band, bool paint, int32_t rightLimit);
  TColor SchemeColor(int index) const;

  HFONT font_ = nullptr;
  bool ownsFont_ = false;
};

// Menu tracking, one drop-down of a bar open at a time in the process.
// CheckMenu (WinSkinMenuBar.cpp) runs StartMenuTracking before it opens a
// drop-down and EndMenuTracking when it has closed.
void StartMenuTracking(TWinSkinForm& form);
void EndMenuTracking();
// The button after (or before) the one whose drop-down is open, skipping
// buttons that are hidden, have no caption, or have no drop-down that opens;
// nullptr when there is none.
TMenuBtn* NextMenuButton(bool forward);
// Marks every item of `menu` and its submenus owner-drawn.
void MakeMenuOwnerDrawn(HMENU menu);
// The form skinner whose drop-down is open or was open last; nullptr once it is freed.
TWinSkinForm* MenuTrackingForm();

}  // namespace skin
