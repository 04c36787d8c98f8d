// A radio button (native BUTTON): checking one, by the user or the program,
// unchecks the other radio buttons of the same parent. OnClick runs when it
// becomes checked.
#pragma once

#include "gui/ButtonControl.h"

namespace fw {

class TRadioButton : public TButtonControl {
  FW_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return CheckState() == BST_CHECKED; }
  void SetChecked(bool on);

 protected:
  DWORD ButtonStyle() const override;
  void Clicked(int stateBefore) override;

 private:
  void TurnSiblingsOff();
};

}  // namespace fw
