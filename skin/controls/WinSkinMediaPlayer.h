// The media-player overlay: a panel laid exactly over a framework media
// player, painting one skinned push button (the skin's Button element) with
// a glyph for each visible button of the control and passing the user's
// clicks on to the control underneath, which does the work.
//
// TSkinMP is the control's skin object; its overlay, TWMediaPlayer, is
// owned by the form skinner component, follows the control's bounds and
// visibility, and is freed with the control (or when skinning ends): it
// never outlives it. The portable rules (widths, hit test, faces, glyph
// choice) are in MediaPlayerLayout.h. The control is read only through its
// published properties "VisibleButtons", "EnabledButtons", "ColoredButtons".
#pragma once

#include <windows.h>

#include <array>

#include "gui/Panel.h"
#include "skin/archive/Bitmap.h"
#include "skin/controls/MediaPlayerLayout.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

class TWMediaPlayer;

class TSkinMP : public TSkinControl {
  FW_CLASS(TSkinMP)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinMP() override;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Unsubclass() override;
  void AfterProc(fw::TMessage& message) override;

  TWMediaPlayer* mp = nullptr;  // the overlay
};

class TWMediaPlayer : public fw::TPanel {
  FW_CLASS(TWMediaPlayer)
 public:
  struct TButtonEntry {
    bool visible = false;
    bool enabled = false;
    bool colored = false;
    // 0 enabled, 1 disabled, 2 coloured; empty when the module has none.
    std::array<TBitmap, 3> glyph;
  };

  explicit TWMediaPlayer(fw::TComponent* owner);
  ~TWMediaPlayer() override;
  void Attach(TSkinControl* askin, fw::TWinControl* aObj);
  // Takes the control's width, height, left and top.
  void SetPosition(fw::TWinControl* aObj);
  // Frees the overlay now, or, inside one of its own messages (a click
  // whose handler freed the control), hidden and cut off at once and freed
  // when that message is over.
  void Release();

  std::array<TButtonEntry, kMPButtonCount> Buttons;
  int count = 0;
  TSkinData* fsd = nullptr;
  bool IsDown = false;
  int BtnClick = kMPNoButton;
  int BtnFocuse = kMPNoButton;
  int32_t BtnWidth = 0;
  fw::TWinControl* obj = nullptr;
  TSkinControl* skincontrol = nullptr;

 protected:
  void WndProc(fw::TMessage& message) override;

 private:
  void LoadGlyphs();
  void ReadButtons();
  void WMPaint(fw::TMessage& message);
  void WMLButtonDown(fw::TMessage& message);
  void WMLButtonUp(fw::TMessage& message);
  void DrawButton(HDC dc, int b, const TRect& r);
  COLORREF Face() const;
  // The buttons visible at the last paint, as the hit test sees them.
  TMPButtonSet ButtonsVisible() const;

  int busy_ = 0;           // depth of this overlay's own messages
  bool released_ = false;  // to be freed once they are over
};

}  // namespace skin
