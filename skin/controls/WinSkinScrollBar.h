// Skinned scroll bars. A window draws its scroll bars itself, in its
// non-client area, with no hook for a skin; so the engine lays a small window
// of its own, the overlay TWScrollbar, exactly over each visible bar, paints
// the skin's arrows, shaft and thumb on it and hands every click on it to the
// real bar underneath: the scrolling itself stays the platform's. The owning
// objects keep their overlays where the native bars are as the control
// moves, scrolls, is shown or hidden.
//
// Files: WinSkinScrollbarOverlay.cpp (TWScrollbar), WinSkinScrollbar.cpp
// (TSkinScrollbar, TSkinListView), WinSkinScrollbarH.cpp (TSkinScrollbarH),
// WinSkinScrollbarControl.cpp (TSkinScControl), WinSkinComboListBar.cpp
// (TComboxScrollBar: a drop-down list's bar painted into the list itself),
// WinSkinArrowButton.cpp (TArrowButton: a date-time picker's drop arrow);
// the portable geometry in ScrollGeometry.h, the picture in
// ScrollBarPicture.h; the overlay window itself in WinOverlayWindow.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/controls/ScrollBarPicture.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/WinOverlayWindow.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

// What a bar looks like now: the platform's record for a window's bar, or
// the same computed for a stand-alone scroll-bar control.
struct TBarGeometry {
  RECT bar{};  // screen coordinates (types 0, 1) or the parent's client coordinates (type 2)
  TThumbSpan thumb;
  bool invisible = false;
  bool unavailable = false;
};

// Whether a window's bar, as the platform reports it, is drawn disabled.
bool BarUnavailable(const SCROLLBARINFO& info, HWND hwnd);
// Range, page and position of a window's bar (SB_HORZ, SB_VERT) or of a
// scroll-bar control (SB_CTL); all zero when the platform cannot tell.
TScrollValues ScrollValuesOf(HWND hwnd, int bar);

// The art of the active skin for a bar lying `vertical` or not.
TScrollBarArt ScrollBarArt(const TSkinData* sd, bool vertical, COLORREF face);

class TWScrollbar : public TOverlayWindow {
  FW_CLASS(TWScrollbar)
 public:
  explicit TWScrollbar(fw::TComponent* owner);

  // Covers a framework control's bar: aType 0 its horizontal window bar, 1
  // its vertical one, 2 the control is itself a scroll bar ("Kind" gives
  // the direction).
  void Attach(TSkinControl* aobj, fw::TWinControl* aControl, uint8_t aType);
  // The same for a bare window (no control).
  void AttachHwnd(TSkinControl* aobj, HWND ahwnd, uint8_t aType);
  // Places the overlay over the bar and shows it, or hides it when the bar
  // or its window is not visible.
  void SetPosition(HWND ahwnd);
  void HideScrollbar();
  // The covered window scrolled (WM_HSCROLL / WM_VSCROLL): the part its
  // request code names is the active one, shown at once.
  void FollowScroll(WPARAM notification);
  bool GetGeometry(TBarGeometry& g);

  int32_t Len = 0;
  int32_t thumbTop = 0;
  int32_t thumbbottom = 0;
  POINT OffsetSC{};
  POINT trackp{};
  int32_t trackthumb = 0;
  bool fdown = false;
  int32_t sbDir = 0;  // 0 horizontal, 1 vertical
  int32_t scrollpos = spNone;
  int32_t CW = 0;
  HWND hwnd = nullptr;
  fw::TWinControl* control = nullptr;
  TSkinControl* obj = nullptr;
  uint8_t sbType = 0;
  RECT sbRect{};  // the bar in the covered window's client coordinates
  bool sbVisible = false;

 protected:
  void WndProc(fw::TMessage& m) override;
  // The bar: arrows, shaft and thumb from the skin.
  void Paint(HDC dc) override;

 private:
  void WMMouseMove(fw::TMessage& m);
  void WMMouseLeave(fw::TMessage& m);
  void WMLButtonDown(fw::TMessage& m);
  void WMLButtonUp(fw::TMessage& m);
  void AttachCommon(TSkinControl* aobj, HWND ahwnd, uint8_t aType, COLORREF colour);
  bool Vertical() const { return sbDir == 1; }
  // The position along the bar of a point in overlay coordinates.
  int32_t AlongOf(POINT p) const { return Vertical() ? p.y : p.x; }
  TThumbSpan ThumbAtPress();
  COLORREF colour_ = 0;
};

// A framework control with window scroll bars: memo, list box, grid and
// the like. kind 1: a control that draws no border of its own.
class TSkinScrollbar : public TSkinControl {
  FW_CLASS(TSkinScrollbar)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;
  virtual void InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf);
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;
  void Unsubclass() override;

  TWScrollbar* hb = nullptr;
  TWScrollbar* vb = nullptr;
  bool border = false;

 protected:
  void PlaceBars();
  void RepaintBars();
  void DrawFrame(HDC dc);
  void ApplyFixedColor();
  void FreeBars();
  bool fixedColorChanged_ = false;
};

// A list view: as TSkinScrollbar, and its column header gets the skin's
// header object.
class TSkinListView : public TSkinScrollbar {
  FW_CLASS(TSkinListView)
 public:
  using TSkinScrollbar::TSkinScrollbar;
  void InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf) override;
};

// A bare window with window scroll bars (a simple combo box's list).
class TSkinScrollbarH : public TSkinControl {
  FW_CLASS(TSkinScrollbarH)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbarH() override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void Unsubclass() override;

  TWScrollbar* hb = nullptr;
  TWScrollbar* vb = nullptr;

 private:
  void FreeBars();
};

// A stand-alone scroll-bar control.
class TSkinScControl : public TSkinControl {
  FW_CLASS(TSkinScControl)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;
  void InitScrollbar(fw::TWinControl* acontrol, TSkinData* sd, TWinSkinForm* sf);
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void Unsubclass() override;

  TWScrollbar* sb = nullptr;
};

// The drop-down list of a combo box: its vertical bar is painted into the
// list's own non-client area, and a press on the thumb runs a drag loop of
// our own (the platform's would draw its bar over ours while tracking).
class TComboxScrollBar : public TSkinControl {
  FW_CLASS(TComboxScrollBar)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  // Nothing sets these: both arrows and the thumb stay in their normal images.
  int32_t scrollpos = spNone;
  bool fdown = false;
  int32_t thumbtop = 0;
  int32_t thumbBottom = 0;
  int32_t len = 0;
  int32_t cw = 0;

 private:
  // True when the press was on the thumb and the drag ran here.
  bool TrackThumb(fw::TMessage& message);
  bool dragging_ = false;
  bool dragCancelled_ = false;  // capture lost or cancel-mode while dragging
};

// The drop arrow of a date-time picker, laid over the picker's own.
class TArrowButton : public TOverlayWindow {
  FW_CLASS(TArrowButton)
 public:
  explicit TArrowButton(fw::TComponent* owner);
  void Attach(TSkinControl* aobj, fw::TWinControl* acontrol);
  // The picker's new size: r's width places the button.
  void MoveArrow(const RECT& r);

  int32_t cw = 0;
  fw::TWinControl* control = nullptr;
  TSkinControl* obj = nullptr;
  HWND hwnd = nullptr;
  uint8_t state = 0;  // TSkinControlStateBit::Hot while the mouse is over the button

 protected:
  void WndProc(fw::TMessage& m) override;
  // The skin's combo arrow, hot while the mouse is over it.
  void Paint(HDC dc) override;

 private:
  void WMMouseMove(fw::TMessage& m);
  void WMMouseLeave(fw::TMessage& m);
  void WMLButtonDown(fw::TMessage& m);
  void WMLButtonUp(fw::TMessage& m);
  int32_t LeftFor(int32_t pickerWidth) const;
};

}  // namespace skin
