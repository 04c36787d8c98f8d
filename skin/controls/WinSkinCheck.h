// Check boxes, radio buttons and group frames, and the containers whose
// colour only follows the skin.
//
// Files: WinSkinCheckBox.cpp (TSkinCheckBox, TSkinRadioButton),
// WinSkinGroupBox.cpp (TSkinGroupBox), WinSkinBox.cpp (TSkinBox, TSkinBoxH),
// WinSkinObjImage.cpp (TSkinObjImage); the portable image-index maths in
// CheckFrames.h.
//
// kind of a check box or radio button: 1 the skin draws the whole control
// (a framework control, and the skin has the image); 0 the window paints
// itself and the skin paints only its check image over it. kind of a group
// box: 1 a framework group box drawn completely, 0 a bare window drawn over.
#pragma once

#include <windows.h>

#include "skin/controls/WinSkinControl.h"

namespace skin {

class TSkinCheckBox : public TSkinControl {
  FW_CLASS(TSkinCheckBox)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  // The check state BM_SETCHECK last announced: 1 unchecked, 2 checked,
  // 3 indeterminate; 0 before the first.
  int32_t checkState = 0;
  bool trans = false;
};

class TSkinRadioButton : public TSkinControl {
  FW_CLASS(TSkinRadioButton)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  bool trans = false;
};

class TSkinGroupBox : public TSkinControl {
  FW_CLASS(TSkinGroupBox)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void DrawGroupFrame(HDC dc, const RECT& rc);
};

// A container whose colour only is replaced; takes over no message handling.
class TSkinBox : public TSkinControl {
  FW_CLASS(TSkinBox)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Unsubclass() override;
  void AfterProc(fw::TMessage&) override {}
};

// A bare container window (a dialog, another program's tool bar): erased
// and given static-control colours in skin colours.
class TSkinBoxH : public TSkinControl {
  FW_CLASS(TSkinBoxH)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
};

// Check boxes and radio buttons of other control libraries that take custom
// glyph strips through published properties; paints nothing itself.
class TSkinObjImage : public TSkinControl {
  FW_CLASS(TSkinObjImage)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Unsubclass() override;
  void SkinChange() override;
  void ApplyGlyphs();

  // 1 a nine-image check strip through "CustomGlyphs", 2 a six-image radio
  // strip through "CustomGlyphs", 3 a six-image check strip as the "Glyph" of
  // the "Properties" object.
  int32_t glyphKind = 0;
};

}  // namespace skin
