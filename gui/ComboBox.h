// An editable drop-down combo box. OnChange fires when the user edits the
// text or picks an item (with the picked text already in place); changes the
// program makes (Clear, SetText, adding items) fire nothing.
#pragma once

#include <vector>

#include "gui/Control.h"

namespace fw {

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
};

}  // namespace fw
