// What check boxes and radio buttons share: a native BUTTON window whose
// check mark the window keeps (read back with BM_GETCHECK so the object and
// the window never disagree), its caption on either side of the mark, and
// its background and text painted in the control's Color and font colour.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TLeftRight { taLeftJustify, taRightJustify };

class TButtonControl : public TWinControl {
  FW_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* owner);
  // taRightJustify (the default): the caption right of the mark.
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight alignment);

 protected:
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE: the window's when it has one.
  int CheckState() const;
  // Sets the mark; true when it changed.
  bool SetCheckState(int state);
  // The window style of the button kind (BS_AUTOCHECKBOX...).
  virtual DWORD ButtonStyle() const = 0;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;
  void CNCtlColor(TMessage& m) override;
  // The user clicked the button (the window has already changed its mark).
  virtual void Clicked(int stateBefore) = 0;

 private:
  int checkState_ = BST_UNCHECKED;
  TLeftRight alignment_ = taRightJustify;
};

}  // namespace fw
