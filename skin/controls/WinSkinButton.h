// Push buttons drawn from the skin's button strip (images: 1 normal,
// 2 pressed, 3 disabled, 4 hot, 5 focused or default). The button swallows
// painting, erasing and the left-button press: the skin object tracks the hot
// and pressed states itself, holds the mouse capture while pressed, and
// raises the click itself.
//
// Files: WinSkinButton.cpp (TSkinButton), WinSkinBitButton.cpp,
// WinSkinSpeedButton.cpp, WinSkinMenuButton.cpp; the portable rules in
// ButtonLayout.h, glyph pictures in ButtonGlyph.h and WinButtonGlyph.h.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "skin/controls/ButtonLayout.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

class TDibSection;

class TSkinButton : public TSkinControl {
  FW_CLASS(TSkinButton)
 public:
  explicit TSkinButton(fw::TComponent* owner);
  ~TSkinButton() override;

  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;

  bool trans = false;  // the parent's background under the skin image instead of a ButtonFace fill

 protected:
  // Off-screen face the size of the button; every face is composed here and
  // copied to the window in one blit.
  std::unique_ptr<TDibSection> btemp;

  // btemp at the size of rc (made anew only when the size changes); false
  // when no picture can be made.
  bool PrepareBuffer(const RECT& rc);
  // The button's background in btemp: the parent's picture or the skin's face colour.
  void FillBackground(const RECT& rc);
  // Background and skin image of `face` in btemp (sized by PrepareBuffer).
  // Over the skin's face colour the picture depends only on the face and the
  // size, so it is composed once and copied after; over the parent's
  // background it is drawn each time.
  void ComposeFace(int face);
  // The caption colour for an ink choice; `base` stands for TCaptionInk::Default.
  COLORREF InkColour(TCaptionInk ink, COLORREF base) const;
  bool FocusRectWanted() const;
  // The button-caption routine: the caption split at "||", wrapped, placed
  // centred (or vertically centred for other alignments), and the focus
  // rectangle around it when focused.
  void DrawButtonCaption(HDC dc, const RECT& rc, UINT alignment);
  // What the look of the window depends on now.
  void RefreshFocusAndEnabled();
  bool IsDefaultButton() const;
  std::wstring ReadCaption() const;
  // The font the caption is drawn in: the framework control's, else the window's own.
  HFONT CaptionFont() const;
  // The framework control drawn: the windowed one, or the windowless one; nullptr for a bare window.
  fw::TControl* Target() const;

 private:
  void WMLButtonDown(fw::TMessage& message);
  void WMLButtonUp(fw::TMessage& message);
  void WMMouseMove(fw::TMessage& message);
  void WMCaptureChanged(fw::TMessage& message);
  void WMKeyDown(fw::TMessage& message);
  void WMKeyUp(fw::TMessage& message);
  // Takes or gives back the capture as the tracker says, mirrors its looks
  // into `state` and repaints when they changed.
  void Apply(const TPushTracker::Outcome& outcome);
  // The click of a mouse release: the framework control's Click, or the
  // command a system button sends its parent.
  void RaiseClick();

  TPushTracker tracker_;
  bool clickPending_ = false;
  // Composed faces by image number, all of btemp's size; cleared when the size or the skin changes.
  std::array<TBitmap, kButtonFaceCount + 1> faces_;
};

class TSkinBitButton : public TSkinButton {
  FW_CLASS(TSkinBitButton)
 public:
  using TSkinButton::TSkinButton;
  void DrawControl(HDC dc, const RECT& rc) override;

  std::wstring PicField;  // a published picture property drawn instead of the glyph; empty: the glyph

 protected:
  // The caption's size wrapped within `within`; 0 x 0 for no caption.
  TSize32 MeasureGlyphCaption(HDC dc, const TRect& within);
};

// Windowless speed buttons (graphic controls); attached with InitGraphicControl.
class TSkinSpeedButton : public TSkinBitButton {
  FW_CLASS(TSkinSpeedButton)
 public:
  explicit TSkinSpeedButton(fw::TComponent* owner);
  ~TSkinSpeedButton() override;

  void InitGraphicControl(TWinSkinForm* sf, TSkinData* sd);
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void PaintControl(HDC adc) override;
  void DrawSpeedbtn(HDC dc, const RECT& rc);

  bool FReentr = false;

 private:
  // Puts the graphic control's previous handler back while ours is the current one.
  void GiveHandlerBack();
  void WMPaintSpeed(fw::TMessage& message);
  void WMMouseMoveSpeed(fw::TMessage& message);
  // Takes the hot and pressed looks and repaints when they changed.
  void SetLook(int newState);
  void DrawSpeedFace(HDC dc, const RECT& rc);

  bool mousePressed_ = false;  // the left button went down on the control and is still held
  // Shared with the handler installed in the control, which may outlive this object.
  std::shared_ptr<TSkinSpeedButton*> self_;
};

// Drop-down buttons: glyph, caption and a small down-pointing arrow.
class TSkinMenuButton : public TSkinButton {
  FW_CLASS(TSkinMenuButton)
 public:
  using TSkinButton::TSkinButton;
  void DrawControl(HDC dc, const RECT& rc) override;
};

}  // namespace skin
