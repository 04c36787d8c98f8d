// The main menu: items nested as in the stored definition, each with a
// command id of its own; the form turns WM_COMMAND for that id into OnClick.
#pragma once

#include <windows.h>

#include <vector>

#include "gui/Component.h"

namespace fw {

class TMenuItem : public TComponent {
  FW_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& c) { caption_ = c; }
  UINT Command() const { return command_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* item);
  TEvent OnClick;
  void Click();

  void ReadChild(TComponent* child) override;
  std::wstring Automation(const std::wstring& request) override;
  // Appends this item (with its submenu) to a native menu.
  void AppendTo(HMENU menu);
  TMenuItem* FindItem(UINT command);

 private:
  std::wstring caption_;
  UINT command_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
  FW_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  const std::vector<TMenuItem*>& Items() const { return items_; }
  HMENU Handle();
  TMenuItem* FindItem(UINT command) const;
  void ReadChild(TComponent* child) override;

 private:
  std::vector<TMenuItem*> items_;
  HMENU handle_ = nullptr;
};

// A menu that pops up where asked (a menu button's drop-down): its items
// nested as in the stored definition; the chosen item's OnClick runs.
class TPopupMenu : public TComponent {
  FW_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem* item) { items_.push_back(item); }
  void ReadChild(TComponent* child) override;
  // Shows the menu with its top-left corner at (x, y) on the screen, owned
  // by `owner`, and returns once it is closed (after the chosen item's OnClick).
  void Popup(int x, int y, HWND owner);
  // Where the menu was last shown (screen coordinates).
  POINT PopupPoint() const { return popupPoint_; }

 private:
  std::vector<TMenuItem*> items_;
  POINT popupPoint_{};
};

}  // namespace fw
