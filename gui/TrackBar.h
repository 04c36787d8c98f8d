// A track bar over Min..Max, lying or standing, with tick marks. Its
// custom-draw notifications come back to it reflected (CN_NOTIFY), where a
// skin may answer them; unanswered, the control draws itself.
#pragma once

#include "gui/Control.h"

namespace fw {

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
  FW_CLASS(TTrackBar)
 public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, max_); }
  void SetMax(int max) { SetRange(min_, max); }
  // The thumb's position: the user moves it, so the window is asked.
  int Position() const;
  void SetPosition(int position);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation orientation);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;

 private:
  void CNNotify(TMessage& m);
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  TTrackBarOrientation orientation_ = trHorizontal;
};

}  // namespace fw
