// A framed container with an optional caption; paints its frame, then the
// windowless controls inside it.
#pragma once

#include "gui/Control.h"

namespace fw {

// Class identity only: every group box, radio groups included.
struct TCustomGroupBox {
  static const TClassInfo& StaticClass();
};

class TGroupBox : public TWinControl {
  FW_CLASS(TGroupBox)
 public:
  explicit TGroupBox(TComponent* owner);
  RECT ClientArea() const override;

 protected:
  void WndProc(TMessage& msg) override;

 private:
  void WMPaint(TMessage& m);
};

}  // namespace fw
