// An editable drop-down combo box. OnChange fires when the user edits the
// text or picks an item (with the picked text already in place); changes the
// program makes (Clear, SetText, adding items) fire nothing.
#pragma once

#include <vector>

#include "gui/Control.h"

namespace fw {

// csDropDown: an edit with a drop-down list; csDropDownList: the list only,
// no typing; csSimple: the list always shown under the edit.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// Class identity only: every combo box.
struct TCustomComboBox {
  static const TClassInfo& StaticClass();
};

class TComboBox : public TWinControl {
  FW_CLASS(TComboBox)
 public:
  explicit TComboBox(TComponent* owner);

  const std::vector<std::wstring>& Items() const { return items_; }
  void AddItem(const std::wstring& item);
  // Items and text become empty.
  void Clear();
  void SetText(const std::wstring& text);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style) { style_ = style; }
  TEvent OnChange;

  std::wstring Automation(const std::wstring& request) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void CNCommand(TMessage& m);
  std::vector<std::wstring> items_;
  bool programChange_ = false;
  TComboBoxStyle style_ = csDropDown;
};

}  // namespace fw
