// A media player's row of buttons (play, pause, stop, next, previous, step,
// back, record, eject). It plays nothing itself: a click on an enabled
// button raises OnClick with that button, and the program does the work.
// Which buttons are shown, enabled and drawn coloured are published as set
// texts ("[btPlay,btStop]"), so a skin can read them by name.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "gui/Control.h"

namespace fw {

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int kMPBtnCount = 9;
using TMPBtnSet = std::array<bool, kMPBtnCount>;
using TMPClickEvent = std::function<void(TObject* sender, TMPBtnType button)>;

class TMediaPlayer : public TWinControl {
  FW_CLASS(TMediaPlayer)
 public:
  explicit TMediaPlayer(TComponent* owner);

  const TMPBtnSet& VisibleButtons() const { return visible_; }
  const TMPBtnSet& EnabledButtons() const { return enabled_; }
  const TMPBtnSet& ColoredButtons() const { return colored_; }
  void SetVisibleButtons(const TMPBtnSet& set);
  void SetEnabledButtons(const TMPBtnSet& set);
  void SetColoredButtons(const TMPBtnSet& set);

  // The button under x in the row as drawn now; -1 over none. Each visible
  // button is ClientWidth div count wide, a shared edge belongs to the
  // earlier button, columns after the last button belong to none.
  int ButtonAt(int x) const;

  // A press and release over the same enabled button.
  TMPClickEvent OnClick;

 protected:
  void WndProc(TMessage& msg) override;

 private:
  void WMPaint(TMessage& m);
  void WMLButtonDown(TMessage& m);
  void WMLButtonUp(TMessage& m);
  int ButtonWidth() const;
  void Repaint();

  TMPBtnSet visible_{};
  TMPBtnSet enabled_{};
  TMPBtnSet colored_{};
  int pressed_ = -1;  // the button a held left press began on
};

// "[btPlay,btStop]" and back; unknown names are refused with std::invalid_argument.
std::wstring MPBtnSetText(const TMPBtnSet& set);
TMPBtnSet ParseMPBtnSet(const std::wstring& text);

}  // namespace fw
