// Controls: TControl places itself in a parent (bounds, docking, visibility,
// caption, font, click); TGraphicControl has no window and is painted and
// fed mouse input by its parent; TWinControl owns a window, found again from
// its handle through the "ControlOfs" window property, and hands each message
// to WndProc, whose switch calls a small handler per message. Notifications a
// parent receives (WM_COMMAND, WM_NOTIFY) are reflected to the child's object
// as CN_COMMAND / CN_NOTIFY.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Component.h"
#include "gui/Font.h"

namespace fw {

// Reflected notifications and framework messages.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
// Framework messages (the framework's own range), sent to a control's
// WindowProc; skinned-control objects react to them.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
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

// A control's replaceable message handler (see TWinControl::WindowProc).
using TWndMethod = std::function<void(TMessage&)>;

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
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }

  // The font in use: the control's own when it has one, else its parent's.
  const TFont& Font() const;
  TFont& OwnFont();
  bool ParentFont() const { return !font_; }

  TEvent OnClick;
  virtual void Click();

  virtual bool IsWindowed() const { return false; }
  // Windowless controls draw into their parent's DC, origin at their top-left.
  virtual void Paint(HDC) {}
  void Invalidate();

  std::wstring Automation(const std::wstring& request) override;

 protected:
  virtual void BoundsChanged() {}
  void RequestParentRealign();

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::wstring caption_;
  TCursor cursor_ = crDefault;
  std::unique_ptr<TFont> font_;
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
  void SetEnabled(bool enabled) override;
  void SetCaption(const std::wstring& text) override;
  bool IsWindowed() const override { return true; }
  // The text the window holds now (the user may have typed it).
  virtual std::wstring Text() const;
  void SetFocus();
  bool Focused() const;
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  // Every message of the window passes through WindowProc, which starts as the
  // class's WndProc. Whoever replaces it keeps the old one and calls it for
  // what it does not handle itself, and puts it back when done.
  TWndMethod WindowProc;
  // The area children are placed in, in client coordinates.
  virtual RECT ClientArea() const;
  void AlignControls();

  std::wstring Automation(const std::wstring& request) override;
  void ReadChild(TComponent* child) override;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Called once the window exists: apply the stored state to it.
  virtual void CreateWnd();
  virtual void WndProc(TMessage& msg);
  void DefaultHandler(TMessage& msg);
  void PaintControls(HDC dc);
  void ApplyFont();

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
  void WMMouseButton(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMCopyData(TMessage& m);
  void WMCtlColor(TMessage& m);

  HWND handle_ = nullptr;
  WNDPROC defProc_ = nullptr;
  bool ownClass_ = false;
  bool tabStop_ = false;
  std::vector<TControl*> controls_;
  TControl* mouseDownControl_ = nullptr;
};

}  // namespace fw
