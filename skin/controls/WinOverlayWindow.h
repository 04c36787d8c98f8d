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

 protected:
  // Every message of the window; the default hands it to DefWindowProc.
  virtual void WndProc(fw::TMessage& m);
  void DefaultHandler(fw::TMessage& m);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
};

}  // namespace skin
