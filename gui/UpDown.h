// An up-down (spin) control, the native msctls_updown32: two arrows that step
// Position between Min and Max, and write it into the Associate control's
// text when one is given.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TUDOrientation { udVertical, udHorizontal };

class TUpDown : public TWinControl {
  FW_CLASS(TUpDown)
 public:
  explicit TUpDown(TComponent* owner);

  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* buddy);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int value);
  void SetMax(int value);
  // The window's position once it exists (the arrows change it).
  int Position() const;
  void SetPosition(int value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation o) { orientation_ = o; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void ApplyRange();
  void ApplyBuddy();
  TWinControl* associate_ = nullptr;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  TUDOrientation orientation_ = udVertical;
};

}  // namespace fw
