// The decisions the form skinner's window procedure makes about a skinned
// frame, apart from the window system: which hit-test code a point of the
// skinned non-client area gets, where the client area lies inside the skin's
// borders, what a keyboard system command or a double click on the frame
// asks for, and how each item of the system popup looks. The Windows side
// (WinSkinFormProc.cpp, WinSkinFormSysMenu.cpp) feeds them the message
// values and acts on the answer; here they are plain arithmetic so every
// case can be checked natively.
//
// Codes and command numbers are the window system's own values, repeated
// here because this file stays free of the platform headers.
#pragma once

#include <cstdint>
#include <string>

#include "skin/archive/Bitmap.h"

namespace skin {

// Hit-test answers.
inline constexpr int kHitNowhere = 0;
inline constexpr int kHitClient = 1;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitSysMenu = 3;
inline constexpr int kHitMenu = 5;
inline constexpr int kHitMinButton = 8;
inline constexpr int kHitMaxButton = 9;
inline constexpr int kHitClose = 20;
inline constexpr int kHitHelp = 21;
inline constexpr int kHitBorder = 18;

// System commands (the low four bits of a WM_SYSCOMMAND code are the system's own).
inline constexpr uint32_t kScSize = 0xF000;
inline constexpr uint32_t kScMove = 0xF010;
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScNextWindow = 0xF040;
inline constexpr uint32_t kScPrevWindow = 0xF050;
inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScKeyMenu = 0xF100;
inline constexpr uint32_t kScRestore = 0xF120;
inline constexpr uint32_t kScContextHelp = 0xF180;
inline constexpr uint32_t SysCommandCode(uint64_t wParam) {
  return static_cast<uint32_t>(wParam) & 0xFFF0u;
}

// The skinned frame's geometry: border widths and the menu-bar band under the
// caption. The caption band is `borders.Top` high; the client area starts
// below the menu band.
struct TFrameGeometry {
  TRect borders;       // widths: Left, Top (the caption band), Right, Bottom
  int32_t menuHeight;  // 0 without a menu bar
  int32_t width;       // the whole window
  int32_t height;
};

// WM_NCHITTEST. The system computes its answer (`systemAnswer`) from its own
// frame metrics, which are not the skin's, so its "nowhere" and "caption"
// answers, and those naming its own caption buttons (which a skinned frame
// does not have: the skin's buttons are found by the skinner), are replaced
// from where the point (window coordinates) lies in the skinned frame: the
// top three rows stay as the system said (the outer edge never starts a
// drag; a system button answer there becomes the caption), the caption band
// is the caption, the menu band is the menu, and the side and bottom borders
// are border — a frame drawn wider than the system's is still a border, not a
// handle to drag the window by. Every other system answer (sizing edges,
// client) is kept.
int SkinnedHitTest(int systemAnswer, int32_t x, int32_t y, const TFrameGeometry& frame);

// WM_NCCALCSIZE: the client rectangle (parent coordinates) of a window at
// (x, y) sized cx by cy inside the skinned frame. A window smaller than its
// frame gets an empty client rectangle at the frame's inner corner, never an
// inverted one.
TRect SkinnedClientRect(int32_t x, int32_t y, int32_t cx, int32_t cy, const TRect& borders,
                        int32_t menuHeight);

// WM_SYSCOMMAND with SC_KEYMENU: what the key (low word of lParam) asks for
// while no menu is being tracked.
enum class TKeyMenuRequest {
  MenuBarFirst,  // Alt or F10 alone: the first menu-bar button
  MenuBarKey,    // Alt+letter: the menu-bar button with that accelerator
  SystemMenu,    // Alt+Space: the system popup
  Default,       // let the system have it
};
// Alt or F10 alone is taken even by a window without a menu bar (nothing
// opens), so the system never starts its own menu mode on a skinned frame.
TKeyMenuRequest KeyMenuRequest(uint32_t key, bool mouseCaptured);

// The window state a system command leaves the window in: 0 normal, 1
// maximised, 2 minimised (TSkinWindowState's values), or -1 when the command
// does not change it.
int WindowStateAfterSysCommand(uint32_t code);
// The window state WM_SIZE's wParam reports, or -1 for the other kinds.
int WindowStateFromSizeKind(uint64_t kind);

// WM_COMMAND whose identifier is one of the system commands the system popup
// sends when its items are drawn by the skin: forwarded as WM_SYSCOMMAND.
bool IsForwardedSysCommand(uint32_t id);

// A double click on the frame (WM_NCLBUTTONDBLCLK). `buttonAction` is the
// action of the caption button under the point, or kNoButton. The window-icon
// button closes; another button has had its click already and does nothing
// more; the rest of the frame maximises or restores.
enum class TFrameDoubleClick { Close, Maximize, Restore, Nothing, Default };
inline constexpr int kNoButton = -1000;
TFrameDoubleClick FrameDoubleClick(int buttonAction, int windowState, bool canMaximize);

// A second request for the system popup within the double-click time of the
// first (tick counts wrap; the difference is taken unsigned).
bool WithinDoubleClick(uint32_t now, uint32_t previous, uint32_t doubleClickTime);

// How one item of the system popup is shown, mirrored from the system menu:
// the image the skin draws beside it (-1 none), whether it can be chosen, and
// its check mark. `systemState` is the item's MFS_* state in the system menu.
//
// The window-state items are enabled from what the window is and can do,
// not from the system menu: the system updates their states only when it
// shows that menu itself, which it never does for a skinned frame, so they
// would be stale. Size needs a sizeable window. Close and any other item
// follow the system menu (a program grays Close there to forbid closing).
struct TSysMenuWindow {
  int windowState;  // 0 normal, 1 maximised, 2 minimised
  bool canMinimize;
  bool canMaximize;
  bool sizeable;
};
struct TSysMenuItemLook {
  int imageIndex;
  bool enabled;
  bool checked;
  bool operator==(const TSysMenuItemLook&) const = default;
};
TSysMenuItemLook SysMenuItemLook(uint32_t commandId, const TSysMenuWindow& window, uint32_t systemState);
// A system-menu item's text as the popup shows it: at most 80 characters,
// "-" for an empty one (a separator).
std::wstring SysMenuItemText(const std::wstring& systemText);

// Accelerator keys (MenuAccelerator of the menu-bar layout) compare without case.
bool SameAccelerator(wchar_t a, wchar_t b);

}  // namespace skin
