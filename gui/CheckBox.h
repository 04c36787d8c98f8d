// A check box (native BUTTON): checked, unchecked, or greyed when
// AllowGrayed lets the user reach the third state. OnClick runs on every
// change of the mark, by the user or by the program.
#pragma once

#include "gui/ButtonControl.h"

namespace fw {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Class identity only: every check box.
struct TCustomCheckBox {
  static const TClassInfo& StaticClass();
};

class TCheckBox : public TButtonControl {
  FW_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* owner);
  TCheckBoxState State() const;
  void SetState(TCheckBoxState state);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool on);

 protected:
  DWORD ButtonStyle() const override;
  void Clicked(int stateBefore) override;

 private:
  bool allowGrayed_ = false;
};

}  // namespace fw
