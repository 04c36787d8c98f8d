// TSkinControl: the base of every skinned-control object. One object is
// attached to one window of a skinned form, either to a framework control
// (through its replaceable WindowProc) or to a bare window of any class
// (through a window-procedure link). Every message of that window then passes
// through NewWndProc: BeforeProc may handle it alone, otherwise the window's
// own procedure runs and AfterProc follows, typically repainting the control
// from the active skin.
//
// The families derive from it (one file each): push buttons
// (WinSkinButton.h), check boxes, radio buttons, group frames and boxes
// (WinSkinCheck.h). The form skinner creates the objects (owner = the
// control, so an object dies with its control; bare-window objects are owned
// by the skinner), keeps them in its Controllist, and calls SkinChange,
// MouseLeave and finally Unsubclass before freeing them.
#pragma once

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "gui/Component.h"
#include "gui/Control.h"
#include "skin/archive/Bitmap.h"
#include "skin/archive/SkinPlatform.h"

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWindowSubclass;
class TDataSkinObject;
struct TSkinControlLink;

// Members of TSkinControl::state.
enum TSkinControlStateBit : uint8_t { Hot = 1, Down = 2 };

// Values of skinstate.
enum TSkinControlLife : int32_t {
  scCreated = 0,
  scAttached = 1,
  scDetached = 2,   // a box given its colour back
  scDestroyed = 6,  // the window is gone; the skinner frees the object without touching it
};

class TSkinControl : public fw::TComponent {
  FW_CLASS(TSkinControl)
 public:
  // The owner is the control to skin (framework mode) or the form skinner (bare-window mode).
  explicit TSkinControl(fw::TComponent* owner);
  // Gives the control its message handler (or the window its procedure)
  // back and leaves the skinner's list.
  ~TSkinControl() override;

  // --- virtual operations, in the order the engine defines them ---
  // Attach to the owning framework control; a second call does nothing.
  virtual void Init(TWinSkinForm* sf, TSkinData* sd, bool acolor);
  // Attach to a bare window.
  virtual void Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf);
  // Stop drawing and give the control its colour back; the handler stays in
  // place (forwarding only) until the object is freed.
  virtual void Unsubclass();
  // Before the window's own procedure; false: handled here, not passed on.
  virtual bool BeforeProc(fw::TMessage& message);
  // After the window's own procedure.
  virtual void AfterProc(fw::TMessage& message);
  // Paints the skin over the whole window (adc 0: the window DC).
  virtual void PaintControl(HDC adc);
  // Draws the control into dc; rc is the window rectangle moved to the origin.
  virtual void DrawControl(HDC dc, const RECT& rc);
  // The active skin was replaced.
  virtual void SkinChange();
  virtual int GetState() { return 1; }

  // Sent by the skinner's hover tracking when the cursor left the control.
  void MouseLeave();

  // --- shared by the families ---
  void NewWndProc(fw::TMessage& message);
  void CallOldProc(fw::TMessage& message);
  void Redraw();
  void PaintMessage(fw::TMessage& message);
  void EraseMessage(fw::TMessage& message);
  void DoMouseDown(fw::TMessage& message);
  void FillSkinFace(HDC dc, const RECT& rc);
  void FillParentFace(HDC dc, const RECT& rc);
  TColor GetParentColor(TColor defaultColor);
  UINT CheckBiDi(UINT format) const;
  int TextHeight(HDC dc, const std::wstring& text);
  // Text colour and font are the DC's; a disabled caption is drawn in the
  // system button-shadow colour. alignment: 0 left, DT_CENTER, DT_RIGHT.
  void DrawCaption(HDC dc, const RECT& rc, const std::wstring& text, bool enabled, UINT alignment);
  void DrawImgCaption(HDC dc, const RECT& rc, HIMAGELIST imgList, int imgIndex, const std::wstring& text,
                      int talign);
  void DrawCaptionFocus(HDC dc, const RECT& rc, UINT format);
  // Image I of N of a skin element, its margins kept unscaled.
  void DrawSkinMap(HDC dc, const RECT& rc, const TDataSkinObject& aObject, int I, int N);
  // Image I of N of a strip stretched whole onto rc, magenta transparent.
  void DrawSkinMap1(HDC dc, const RECT& rc, const TBitmap& bmp, int I, int N);
  void DrawSkinMap2(HDC dc, const RECT& rc, const TBitmap& bmp, int I, int N);
  // Copies the shared scratch picture from its origin to rc.
  void DrawBuf(HDC dc, const RECT& rc);

  // --- state (names as the rest of the engine uses them) ---
  uint8_t state = 0;  // TSkinControlStateBit members
  bool done = false;
  bool enabled = false;
  bool focused = false;
  std::wstring caption;
  TWindowSubclass* FObjectInst = nullptr;  // bare-window mode: the window-procedure link
  WNDPROC FPrevWndProc = nullptr;          // bare-window mode: the replaced procedure
  bool skinned = true;
  bool isunicode = false;
  TSkinData* fsd = nullptr;
  HWND hwnd = nullptr;
  fw::TWndMethod OldWndProc;  // framework mode: the control's previous handler
  fw::TWinControl* control = nullptr;
  RECT boundsrect{};  // window rectangle (screen), refreshed on every paint
  fw::TGraphicControl* GControl = nullptr;
  bool newColor = false;
  TColor oldcolor = 0;
  bool Inited = false;
  int32_t skinstate = scCreated;
  TWinSkinForm* skinform = nullptr;
  int32_t kind = 0;
  bool sizing = false;

 protected:
  // The skin colour in slot `index` of the active skin as a COLORREF.
  COLORREF SkinColor(int index) const;
  // Writes the framework control's published "Color" (nothing when it has none).
  void SetControlColor(TColor colour);
  // Saves the control's colour in oldcolor and gives it the skin's ButtonFace;
  // newColor is dropped when the control has no colour of its own.
  void ReplaceControlColor();
  // Gives the control the colour ReplaceControlColor saved.
  void RestoreControlColor();

 private:
  // Shared with the handler installed in the control or window, which may
  // outlive this object (another handler chained after ours keeps it).
  std::shared_ptr<TSkinControlLink> link_;
  bool oldParentColor_ = false;  // the colour followed the parent's before it was replaced
};

// Free functions shared by the control families and the menu bar.
std::wstring GetWindowCaption(HWND hwnd);
void FillColorRect(HDC dc, const RECT& rc, COLORREF colour);
// The windowless controls inside a framework container, painted as their
// parent would have: each at its own origin, clipped to itself. For painters
// that swallow the container's own painting.
void PaintGraphicChildren(fw::TWinControl& parent, HDC dc);
// True for a window with WS_POPUP or whose parent is the desktop window.
bool IsPopupWindow(HWND hwnd);
// One line centred in rc; alignment index 0 left, 1 right, 2 centre.
void DrawCenterText(HDC dc, const RECT& rc, const std::wstring& text, int alignment, bool enabled);

}  // namespace skin
