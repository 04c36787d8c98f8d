// A group box of radio buttons, one per line of Items, laid out in Columns
// inside the frame; ItemIndex is the checked one (-1: none). OnClick runs
// when the choice changes.
#pragma once

#include <string>
#include <vector>

#include "gui/GroupBox.h"
#include "gui/RadioButton.h"

namespace fw {

// Class identity only: every radio group.
struct TCustomRadioGroup {
  static const TClassInfo& StaticClass();
};

class TRadioGroup : public TGroupBox {
  FW_CLASS(TRadioGroup)
 public:
  explicit TRadioGroup(TComponent* owner);
  const std::vector<std::wstring>& Items() const { return items_; }
  void SetItems(const std::vector<std::wstring>& items);
  // The items as lines (CRLF between them), as stored definitions hold them.
  std::wstring ItemsText() const;
  void SetItemsText(const std::wstring& text);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);
  // The radio button of each item, in item order.
  const std::vector<TRadioButton*>& Buttons() const { return buttons_; }

 protected:
  void BoundsChanged() override;
  void CreateWnd() override;

 private:
  void RebuildButtons();
  void ArrangeButtons();
  void ButtonClicked(TObject* sender);

  std::vector<std::wstring> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

}  // namespace fw
