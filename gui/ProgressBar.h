// A progress bar over any range Min..Max, lying or standing.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
  FW_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  // The range in one step, so a new range never clamps the other limit on the way.
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, max_); }
  void SetMax(int max) { SetRange(min_, max); }
  int Position() const;
  void SetPosition(int position);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation orientation);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  TProgressBarOrientation orientation_ = pbHorizontal;
};

}  // namespace fw
