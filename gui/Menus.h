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

}  // namespace fw
