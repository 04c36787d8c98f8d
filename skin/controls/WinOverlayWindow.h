// A small window of the skin engine's own laid over part of another window
// (a scroll bar, a drop arrow). It is a plain child window of our own class,
// not a framework control: the window it sits in may be a bare window that
// has no framework control to be the parent of one.
#pragma once

#include <windows.h>

#include "gui/Component.h"
#include "gui/Control.h"

namespace skin {

// True for a window of the overlay class.
bool IsOverlayWindow(HWND hwnd);

class TOverlayWindow : public fw::TComponent {
  FW_CLASS(TOverlayWindow)
 public:
  explicit TOverlayWindow(fw::TComponent* owner);
  ~TOverlayWindow() override;  // destroys the window
  TOverlayWindow(const TOverlayWindow&) = delete;
  TOverlayWindow& operator=(const TOverlayWindow&) = delete;

  HWND Handle() const { return handle_; }
  // Makes the window (hidden) in `parent`, or moves it there when it exists.
  bool PlaceIn(HWND parent, DWORD exStyle);
  // Paints the shown window now, not at the next WM_PAINT: the platform's
  // tracking loops may not paint for a while.
  void Repaint();

 protected:
  // Every message of the window: the paint messages go to Paint, the rest
  // to DefWindowProc. A derived window hands on what it does not handle.
  virtual void WndProc(fw::TMessage& m);
  void DefaultHandler(fw::TMessage& m);
  // Draws the whole window into `dc`, every pixel (it is never erased).
  virtual void Paint(HDC dc) = 0;

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void WMPaint(fw::TMessage& m);
  void WMPrintClient(fw::TMessage& m);
  HWND handle_ = nullptr;
};

}  // namespace skin
