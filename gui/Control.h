// Controls: TControl places itself in a parent (bounds, docking, visibility,
// caption, font, colour, click); every control hands each message to its
// replaceable WindowProc, which starts as WndProc, whose switch calls a small
// handler per message. TGraphicControl has no window: its parent sends it
// WM_PAINT with a DC set up for it, its mouse messages (in its own client
// coordinates) and CM_MOUSEENTER / CM_MOUSELEAVE. TWinControl owns a window,
// found again from its handle through the "ControlOfs" window property.
// Notifications a parent receives (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*) are
// reflected to the child's object as CN_ messages.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Color.h"
#include "gui/Component.h"
#include "gui/Font.h"

namespace fw {

// Reflected notifications and framework messages.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
// Framework messages (the framework's own range), sent to a control's
// WindowProc; skinned-control objects react to them.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
// Sent to a form's window after its menu bar was given a new native menu.
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_RELEASE = CM_BASE + 33;
// WM_COPYDATA tag of automation requests: the reply goes back by WM_COPYDATA to the window in wParam.
constexpr ULONG_PTR kAutomationTag = 0x464D5741;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

// A control's replaceable message handler (see TControl::WindowProc).
using TWndMethod = std::function<void(TMessage&)>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Keys and buttons held while a mouse message arrived.
enum TShiftStateBit : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32
};
using TShiftState = unsigned;
// From a mouse message's wParam (MK_* flags); Alt is read from the keyboard.
TShiftState ShiftStateFromKeys(WPARAM keys);
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

// Other code sends its own messages with CN_NOTIFY's value and this lParam;
// such a message carries no NMHDR, so a CN_NOTIFY handler leaves it alone.
constexpr LPARAM kNotifyWithoutHeader = 0x41A2;
inline bool IsHeaderlessNotify(const TMessage& m) {
  return m.Msg == CN_NOTIFY && m.LParam == kNotifyWithoutHeader;
}

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TCursor { crDefault, crHandPoint };

class TWinControl;

class TControl : public TComponent {
  FW_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual void SetBounds(int left, int top, int width, int height);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  const std::wstring& Caption() const { return caption_; }
  // Setting the text a control already has changes nothing (and fires no change event).
  virtual void SetCaption(const std::wstring& text);
  // The background colour: the control's own once set, else its parent's
  // (clBtnFace at the top). Setting it repaints the control and whatever
  // inside follows it.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return !hasColor_; }
  void SetParentColor(bool on);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }

  // The font in use: the control's own when it has one, else its parent's.
  const TFont& Font() const;
  TFont& OwnFont();
  bool ParentFont() const { return !font_; }

  TEvent OnClick;
  virtual void Click();
  // A mouse button went down on the control (x, y in its client
  // coordinates): raises OnMouseDown. A skinned control that swallows the
  // button-down message calls it itself.
  TMouseEvent OnMouseDown;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

  virtual bool IsWindowed() const { return false; }
  // Windowless controls draw into their parent's DC, origin at their top-left.
  virtual void Paint(HDC) {}
  void Invalidate();

  // Sends a message through WindowProc and gives its result.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  // Every message of the control passes through WindowProc, which starts as
  // the class's WndProc. Whoever replaces it keeps the old one, calls it for
  // what it does not handle itself, and puts it back when done.
  TWndMethod WindowProc;

  std::wstring Automation(const std::wstring& request) override;

 protected:
  virtual void BoundsChanged() {}
  virtual void ColorChanged();
  virtual void EnabledChanged();
  void RequestParentRealign();
  // Windowless controls' handling: WM_PAINT with the DC in wParam paints,
  // a left press and release over the control clicks it.
  virtual void WndProc(TMessage& msg);

 private:
  void WMPaint(TMessage& m);
  void WMLButtonDown(TMessage& m);
  void WMLButtonUp(TMessage& m);
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::wstring caption_;
  TCursor cursor_ = crDefault;
  std::unique_ptr<TFont> font_;
  bool hasColor_ = false;
  TColor color_ = clBtnFace;
  bool clicked_ = false;  // pressed with the left button, not yet released
};

class TGraphicControl : public TControl {
  FW_CLASS(TGraphicControl)
 public:
  using TControl::TControl;
};

struct TCreateParams {
  std::wstring className;  // a system class, or one of ours when ownClass
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  bool ownClass = false;
  UINT classStyle = CS_DBLCLKS;
  HBRUSH background = nullptr;
};

class TWinControl : public TControl {
  FW_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Creates the window (and those of the children) once the parent has one.
  void HandleNeeded();
  static TWinControl* FromHandle(HWND hwnd);

  const std::vector<TControl*>& Controls() const { return controls_; }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  TControl* ControlAtPos(POINT clientPoint) const;  // topmost visible windowless child

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetCaption(const std::wstring& text) override;
  bool IsWindowed() const override { return true; }
  // The text the window holds now (the user may have typed it).
  virtual std::wstring Text() const;
  void SetFocus();
  bool Focused() const;
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  // The area children are placed in, in client coordinates.
  virtual RECT ClientArea() const;
  void AlignControls();
  // Sends a message to this control and then to every windowed control
  // inside it; gives the first non-zero result, where `untilAnswered` stops.
  LRESULT Broadcast(UINT msg, WPARAM wParam, LPARAM lParam, bool untilAnswered = false);

  std::wstring Automation(const std::wstring& request) override;
  void ReadChild(TComponent* child) override;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Called once the window exists: apply the stored state to it.
  virtual void CreateWnd();
  void WndProc(TMessage& msg) override;
  void DefaultHandler(TMessage& msg);
  void PaintControls(HDC dc);
  void ApplyFont();
  void ColorChanged() override;
  void EnabledChanged() override;
  // The brush of Color (made on first use, kept until the colour changes).
  HBRUSH ColorBrush();
  // A reflected WM_CTLCOLOR*: the system's colours, as if not reflected.
  virtual void CNCtlColor(TMessage& m);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateHandle();
  void Attach(HWND hwnd);
  void Detach();

  void WMCommand(TMessage& m);
  void WMNotify(TMessage& m);
  void WMPaint(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void WMSize(TMessage& m);
  void WMMouse(TMessage& m);
  void WMMouseLeave(TMessage& m);
  void WMCaptureChanged(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMCopyData(TMessage& m);
  void WMCtlColor(TMessage& m);
  void WMDrawItem(TMessage& m);
  void WMMeasureItem(TMessage& m);
  // A scroll-bar child's request, reflected to its object.
  void WMScroll(TMessage& m);
  // Keeps track of the windowless control under the mouse and tells both
  // the one left and the one entered.
  void HoverOver(TControl* control);

  HWND handle_ = nullptr;
  WNDPROC defProc_ = nullptr;
  bool ownClass_ = false;
  bool tabStop_ = false;
  std::vector<TControl*> controls_;
  TControl* captureControl_ = nullptr;  // the windowless control a held left button belongs to
  TControl* hoverControl_ = nullptr;    // the windowless control under the mouse
  HBRUSH colorBrush_ = nullptr;
  TColor brushColor_ = 0;
};

}  // namespace fw
