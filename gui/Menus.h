// Menus: the main menu and popup menus, their items nested as in the stored
// definition, each item with a command id of its own; the form turns
// WM_COMMAND for that id into OnClick.
//
// A menu whose OwnerDraw is set gives its items to the program to measure
// and draw: the window that owns the native menu receives WM_MEASUREITEM and
// WM_DRAWITEM, and the framework hands them to the item with that command id
// (MeasureItem, DrawItem), which runs its OnMeasureItem / OnDrawItem or
// measures and draws itself plainly.
#pragma once

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/Component.h"

namespace fw {

class TMenu;

// A key with its modifiers: the virtual-key code in the low byte.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// "Ctrl+S", "Alt+F4", "Shift+Del"; "" for 0.
std::wstring ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText; 0 for a text it does not know.
TShortCut TextToShortCut(const std::wstring& text);

using TMenuDrawItemEvent = std::function<void(TObject* sender, HDC dc, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent {
  FW_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& c) { caption_ = c; }
  bool IsLine() const { return caption_ == L"-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  // The item Enter or a double click chooses; drawn in bold.
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  UINT Command() const { return command_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  TMenuItem* Parent() const { return parent_; }
  // The menu the item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  // The native menu of the item's submenu while it is built; nullptr otherwise.
  HMENU Handle() const { return handle_; }
  void Add(TMenuItem* item);
  TEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  void Click();

  // The framework's own measurement (caption and shortcut in the DC's font)
  // followed by OnMeasureItem; and OnDrawItem, or the plain drawing.
  void MeasureItem(HDC dc, int& width, int& height);
  void DrawItem(HDC dc, const RECT& rect, bool selected);
  void DefaultMeasure(HDC dc, int& width, int& height) const;
  void DefaultDraw(HDC dc, const RECT& rect, bool selected) const;

  void ReadChild(TComponent* child) override;
  std::wstring Automation(const std::wstring& request) override;
  // Appends this item (with its submenu) to a native menu; owner-drawn when
  // its menu draws its items itself.
  void AppendTo(HMENU menu);
  TMenuItem* FindItem(UINT command);

  // The live item with this command id, wherever it is, or nullptr.
  static TMenuItem* FromCommand(UINT command);

 private:
  friend class TMenu;

  std::wstring caption_;
  UINT command_;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on top-level items
  HMENU handle_ = nullptr;
  std::vector<TMenuItem*> items_;
};

// What the main menu and popup menus share.
class TMenu : public TComponent {
  FW_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* owner) : TComponent(owner) {}
  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem* item);
  TMenuItem* FindItem(UINT command) const;
  void ReadChild(TComponent* child) override;
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value) { ownerDraw_ = value; }
  // The pictures items show by ImageIndex; not owned.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images) { images_ = images; }
  // The menu reads right to left.
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool value) { rightToLeft_ = value; }

 protected:
  std::vector<TMenuItem*> items_;

 private:
  bool ownerDraw_ = false;
  bool rightToLeft_ = false;
  HIMAGELIST images_ = nullptr;
};

class TMainMenu : public TMenu {
  FW_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  HMENU Handle();
  // Builds the native menu afresh from the items; returns the previous one,
  // which the caller destroys once no window holds it.
  HMENU Rebuild();

 private:
  HMENU handle_ = nullptr;
};

// A menu that pops up where asked (a menu button's drop-down): its items
// nested as in the stored definition; the chosen item's OnClick runs.
class TPopupMenu : public TMenu {
  FW_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  // Shows the menu with its top-left corner at (x, y) on the screen, owned
  // by `owner`, and returns once it is closed (after the chosen item's OnClick).
  void Popup(int x, int y, HWND owner);
  // Where the menu was last shown (screen coordinates).
  POINT PopupPoint() const { return popupPoint_; }

 private:
  POINT popupPoint_{};
};

}  // namespace fw
