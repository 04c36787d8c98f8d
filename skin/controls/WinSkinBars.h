// Status bars, progress bars, track bars, headers and size grips drawn from
// the skin.
//
// Files: WinSkinStatusBar.cpp (TSkinStatusBar), WinSkinProgress.cpp
// (TSkinProgress), WinSkinTrackBar.cpp (TSkinTrackBar), WinSkinHeader.cpp
// (TSkinHeader), WinSkinSizer.cpp (TSkinSizer); the portable geometry in
// BarLayout.h.
//
// The status bar, progress bar and header paint themselves completely
// (composed off-screen, copied in one blit); the track bar keeps painting
// itself and the skin answers its custom-draw notifications; a size grip of
// other code becomes a plain face-coloured rectangle.
#pragma once

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <string>
#include <vector>

#include "skin/controls/WinSkinControl.h"

namespace fw {
class TStatusBar;
}

namespace skin {

class TSkinStatusBar : public TSkinControl {
  FW_CLASS(TSkinStatusBar)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

 private:
  void DrawSimpleText(HDC dc, const RECT& rc, fw::TStatusBar& bar);
  void DrawPanels(HDC dc, const RECT& rc, fw::TStatusBar& bar);
  void DrawSizeGrip(HDC dc, const RECT& rc);
  void DrawPanelBackground(HDC dc, const RECT& rc, int face);
  void CallDrawPanel(HDC dc, fw::TStatusBar& bar);
};

class TSkinProgress : public TSkinControl {
  FW_CLASS(TSkinProgress)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

 private:
  // progress.style 1: the whole bar behind a fill of chunk images.
  void DrawControl1(HDC dc, const RECT& rc);
  bool HasBarImage() const;
  // The filled length of a bar `length` long, from the control's range and position.
  int32_t FilledLength(int32_t length) const;
  bool Vertical() const;
};

class TSkinTrackBar : public TSkinControl {
  FW_CLASS(TSkinTrackBar)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Unsubclass() override;
  bool BeforeProc(fw::TMessage& message) override;
  void SkinChange() override;

  // The answer to one custom-draw notification of the track bar.
  LRESULT TrackCustomDraw(const NMCUSTOMDRAW& draw);

 private:
  void DrawTrackChannel(HDC dc);
  void DrawTrackThumb(HDC dc);
  bool Vertical() const;
};

class TSkinHeader : public TSkinControl {
  FW_CLASS(TSkinHeader)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) override;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  // The item rectangles of the last paint, 3 pixels in at both ends: where
  // the mouse-over highlight looks.
  std::vector<TRect> Items;
  // The highlighted item; -1 for none.
  int32_t indexitem = -1;

 private:
  bool HasHeaderImage() const;
  void DrawHeaderItem(HIMAGELIST il, HDC dc, int i, const RECT& rect);
  void DrawHeaderItemContent(HDC dc, const RECT& r, int a, const std::wstring& text, int idx, HIMAGELIST il);
};

// The size grip of other code: a scroll-bar window that is not a tab stop.
class TSkinSizer : public TSkinControl {
  FW_CLASS(TSkinSizer)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;
};

}  // namespace skin
