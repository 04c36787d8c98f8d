// A plain container with a bevelled edge and a centred caption; the
// controls placed on it are its children.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// Class identity only: every panel.
struct TCustomPanel {
  static const TClassInfo& StaticClass();
};

class TPanel : public TWinControl {
  FW_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* owner);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  RECT ClientArea() const override;

 protected:
  void WndProc(TMessage& msg) override;

 private:
  void WMPaint(TMessage& m);

  TPanelBevel bevelOuter_ = bvRaised;
};

}  // namespace fw
