// TWindowSubclass: puts a handler in front of a window's procedure. The
// handler sees every message first and reaches the procedure it replaced
// through CallPrevious.
//
// Each link has a window procedure of its own (one of a fixed set of slots),
// so links of ours and of other code may be stacked on one window in any
// order and each call still reaches the right link.
//
// Removing is safe at any time: the previous procedure is put back only
// while ours is still the window's current one (someone who subclassed after
// us would otherwise lose their link); if not, the link stays in place and
// passes every message straight through until it is first again or the
// window is destroyed. The
// link object is freed only when no message of it is still running.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

namespace skin {

class TWindowSubclass {
 public:
  using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  // Subclasses `hwnd`; nullptr when the window is gone, belongs to another
  // process, or every slot is taken.
  static TWindowSubclass* Install(HWND hwnd, Handler handler);

  // The procedure that was in place before this link.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  // The owner lets go: the handler is never called again, the window gets
  // its procedure back when ours is still current, and the link frees
  // itself as soon as that is safe. The caller must forget the pointer.
  void Remove();

  HWND Window() const { return hwnd_; }
  WNDPROC Previous() const { return previous_; }
  // This link's own window procedure.
  WNDPROC Procedure() const;
  // Messages of this link being handled right now (nesting depth).
  int Depth() const { return depth_; }

  // Entry from the link's window procedure.
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  // Links alive now (removed links still passing messages through included).
  static size_t LiveCount();

 private:
  TWindowSubclass(HWND hwnd, Handler handler, size_t slot)
      : hwnd_(hwnd), handler_(std::move(handler)), slot_(slot) {}
  ~TWindowSubclass() = default;
  void PutBackIfCurrent();
  void FreeWhenIdle();

  HWND hwnd_;
  Handler handler_;
  size_t slot_;
  WNDPROC previous_ = nullptr;
  int depth_ = 0;
  bool released_ = false;    // the owner let go
  bool putBack_ = false;     // the previous procedure is the window's again
  bool windowGone_ = false;  // WM_NCDESTROY has passed
};

}  // namespace skin
