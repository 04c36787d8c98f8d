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

 private:
  bool default_ = false;
};

}  // namespace fw
