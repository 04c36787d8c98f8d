// Text-entry controls drawn from the skin: edits and memos, combo boxes,
// date-time pickers and up-down (spin) controls. Edits, combo boxes and
// date-time pickers let the window paint itself first and then paint the
// skin's frame and buttons over it; the up-down control paints itself
// completely.
//
// Files: WinSkinUpDown.cpp (TSkinUpDown), WinSkinEdit.cpp (TSkinEdit),
// WinSkinComBox.cpp (TSkinComBox), WinSkinDateTime.cpp (TSkinDateTime); the
// portable geometry and face choices in EditLayout.h.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/controls/EditLayout.h"
#include "skin/controls/WinSkinControl.h"

namespace skin {

class TDataSkinBorder;
class TWindowSubclass;
class TSkinScrollbarH;
class TComboxScrollBar;
class TArrowButton;
class TSkinUpDown;

// An edit or memo: a one-pixel ButtonShadow frame with two white pixels
// inside it over the window's own border, and the skin's up-down over an
// up-down window found inside the edit.
class TSkinEdit : public TSkinControl {
  FW_CLASS(TSkinEdit)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  // The skin object of an up-down window inside the edit; made at the first
  // paint that finds one and owned by the edit's owner.
  TSkinUpDown* updown = nullptr;

 private:
  void FindUpDown();
  // The border a WM_PRINTCLIENT asks for: the window's edge framed with the
  // context's brush inside a ButtonShadow line.
  void DrawPrintedBorder(HDC dc);
};

// A combo box: the skin's border, drop button and arrow glyph over the
// window's own painting (combox.style 0), a flat frame with the button image
// (style 1) or one image for the whole control (style 2); the drop-down
// list's scroll bar skinned too.
class TSkinComBox : public TSkinControl {
  FW_CLASS(TSkinComBox)
 public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) override;
  void Unsubclass() override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  uint32_t dwStyle = 0;  // window style at the last attach or paint
  uint32_t ExStyle = 0;  // extended style at the last paint
  HWND hlist = nullptr;  // the list of a simple combo box
  HWND hbtn = nullptr;   // the first child window, when subclassed
  bool isDrop = false;   // the list is dropped down
  TWindowSubclass* FBtnObjectInst = nullptr;
  WNDPROC FBtnPrevWndProc = nullptr;
  TSkinScrollbarH* vb = nullptr;   // scroll bar of a simple combo box's list
  TComboxScrollBar* db = nullptr;  // scroll bar of the drop-down list
  COMBOBOXINFO info{};
  RECT rBtn{};             // the drop button (window coordinates), for hover tests
  bool HasButton = false;  // drawn as a frame with a button child (set by binding)

 private:
  // Attach steps shared by both modes; framework: the list's scroll-bar objects too.
  void AttachParts(bool framework);
  bool ReadComboInfo();
  void SubclassButton();
  void ReleaseButton();
  void FreeScrollBars();
  void DrawFlat(HDC dc, const RECT& rc, int face);
  void DrawButtonOverlay(HDC dc, const RECT& rc, int face);
  void DrawStandard(HDC dc, const RECT& rc, int face);
  void SetHot(bool on);
};

// A date-time picker: a one-white-pixel frame and the skin's drop arrow in
// an overlay button over the picker's own drop button.
class TSkinDateTime : public TSkinControl {
  FW_CLASS(TSkinDateTime)
 public:
  using TSkinControl::TSkinControl;
  void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) override;
  void AfterProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  TArrowButton* arrow = nullptr;
};

// An up-down control: two halves drawn from the skin's VSpin / HSpin strips
// (four faces per arrow, glyphs from the element's MaskMap), or framed
// rectangles with line-drawn chevrons when the skin has no such element.
// Also draws a tab control's scroll arrows (dir 1).
class TSkinUpDown : public TSkinControl {
  FW_CLASS(TSkinUpDown)
 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(fw::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rc) override;

  // Sits inside an edit (set by the edit's skin object): keeps clear of the
  // edit's border.
  bool inedit = false;
  // 1: arrows side by side whatever the window style says; 0: by the style.
  int32_t dir = 0;

 private:
  void DrawSkinHalf(HDC dc, const TSpinHalf& half, int face, const TDataSkinBorder& element);
  void DrawPlainHalf(HDC dc, const TSpinHalf& half, int face);
};

}  // namespace skin
