// A push button; a click (mouse, Space, Enter when default, mnemonic) runs OnClick.
#pragma once

#include "gui/Control.h"

namespace fw {

class TButton : public TWinControl {
  FW_CLASS(TButton)
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool on) { default_ = on; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& msg) override;

  // For owner-drawn descendants. The dialog keys no longer treat an
  // owner-drawn button as a push button, so Enter would not reach it: its
  // WM_GETDLGCODE asks for that key itself.
  void WMGetDlgCodeWantingEnter(TMessage& m);
  // The push-button face of an owner-drawn item (with the dark outer line of
  // a default or focused button); returns the area inside the face, moved
  // down and right while pressed.
  RECT DrawOwnerDrawnFace(const DRAWITEMSTRUCT& item);
  // The focus rectangle around the caption's rectangle, unless the item says not to show it.
  static void DrawOwnerDrawnFocus(HDC dc, const DRAWITEMSTRUCT& item, RECT text);

 private:
  bool default_ = false;
};

}  // namespace fw
