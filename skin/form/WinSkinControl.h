// What a form skinner needs of the skinned-control objects it keeps in its
// control list: to give the control back, to follow a skin change, and to
// know when the control's window is gone. The control families derive from it.
#pragma once

#include "gui/Component.h"

namespace skin {

class TSkinControl : public fw::TComponent {
 public:
  // Owned by its control, so that it dies with it.
  explicit TSkinControl(fw::TComponent* owner) : fw::TComponent(owner) {}

  // Gives the control its own window procedure and look back.
  virtual void Unsubclass() = 0;
  // The skin was replaced: rebuild from the new records and repaint.
  virtual void SkinChange() = 0;

  // 6 once the control's window is destroyed; the skinner then frees the
  // object without touching the window.
  int skinstate = 0;
};

}  // namespace skin
