#include "skin/form/FrameMessages.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int kStateNormal = 0;
constexpr int kStateMax = 1;
constexpr int kStateMin = 2;

// The outer rows where the system's own answer stands (see SkinnedHitTest).
constexpr int32_t kOuterEdgeRows = 3;

// MFS_GRAYED and MFS_DISABLED share these bits; MFS_CHECKED is its own.
constexpr uint32_t kMenuStateGrayed = 0x3;
constexpr uint32_t kMenuStateChecked = 0x8;

constexpr size_t kSysMenuTextLimit = 80;

}  // namespace

namespace {

bool IsSystemCaptionButton(int answer) {
  return answer == kHitSysMenu || answer == kHitMinButton || answer == kHitMaxButton || answer == kHitClose ||
         answer == kHitHelp;
}

}  // namespace

int SkinnedHitTest(int systemAnswer, int32_t x, int32_t y, const TFrameGeometry& frame) {
  if (IsSystemCaptionButton(systemAnswer)) systemAnswer = kHitCaption;
  if (systemAnswer != kHitNowhere && systemAnswer != kHitCaption) return systemAnswer;
  if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return systemAnswer;
  if (y <= kOuterEdgeRows) return systemAnswer;
  const TRect& b = frame.borders;
  if (y < b.Top) return kHitCaption;
  if (frame.menuHeight > 0 && y < b.Top + frame.menuHeight) return kHitMenu;
  if (x < b.Left || x >= frame.width - b.Right || y >= frame.height - b.Bottom) return kHitBorder;
  return kHitClient;
}

TRect SkinnedClientRect(int32_t x, int32_t y, int32_t cx, int32_t cy, const TRect& borders,
                        int32_t menuHeight) {
  TRect r;
  r.Left = x + borders.Left;
  r.Top = y + borders.Top + menuHeight;
  r.Right = std::max(r.Left, x + cx - borders.Right);
  r.Bottom = std::max(r.Top, y + cy - borders.Bottom);
  return r;
}

TKeyMenuRequest KeyMenuRequest(uint32_t key, bool mouseCaptured) {
  if (key == L' ') return TKeyMenuRequest::SystemMenu;
  // "-" is the system menu of an MDI child; a drag in progress keeps the keyboard.
  if (key == L'-' || mouseCaptured) return TKeyMenuRequest::Default;
  return key == 0 ? TKeyMenuRequest::MenuBarFirst : TKeyMenuRequest::MenuBarKey;
}

int WindowStateAfterSysCommand(uint32_t code) {
  switch (code) {
    case kScMinimize:
      return kStateMin;
    case kScMaximize:
      return kStateMax;
    case kScRestore:
      return kStateNormal;
    default:
      return -1;
  }
}

int WindowStateFromSizeKind(uint64_t kind) {
  switch (kind) {
    case 0:  // SIZE_RESTORED
      return kStateNormal;
    case 1:  // SIZE_MINIMIZED
      return kStateMin;
    case 2:  // SIZE_MAXIMIZED
      return kStateMax;
    default:
      return -1;
  }
}

bool IsForwardedSysCommand(uint32_t id) {
  switch (id) {
    case kScSize:
    case kScMove:
    case kScMinimize:
    case kScMaximize:
    case kScNextWindow:
    case kScPrevWindow:
    case kScClose:
    case kScRestore:
      return true;
    default:
      return false;
  }
}

TFrameDoubleClick FrameDoubleClick(int buttonAction, int windowState, bool canMaximize) {
  if (buttonAction != kNoButton)
    return buttonAction == 3 || buttonAction == 11 ? TFrameDoubleClick::Close : TFrameDoubleClick::Nothing;
  if (windowState == kStateMax || windowState == kStateMin) return TFrameDoubleClick::Restore;
  return canMaximize ? TFrameDoubleClick::Maximize : TFrameDoubleClick::Default;
}

bool WithinDoubleClick(uint32_t now, uint32_t previous, uint32_t doubleClickTime) {
  return static_cast<uint32_t>(now - previous) <= doubleClickTime;
}

TSysMenuItemLook SysMenuItemLook(uint32_t commandId, const TSysMenuWindow& window, uint32_t systemState) {
  const bool checked = (systemState & kMenuStateChecked) != 0;
  const bool systemEnabled = (systemState & kMenuStateGrayed) == 0;
  const int state = window.windowState;
  switch (commandId) {
    case kScSize:
      return {-1, window.sizeable && state == kStateNormal, checked};
    case kScMove:
      return {-1, state != kStateMax, checked};
    case kScMinimize:
      return {2, state != kStateMin && window.canMinimize, checked};
    case kScMaximize:
      return {1, state != kStateMax && window.canMaximize, checked};
    case kScClose:
      return {3, systemEnabled, checked};
    case kScRestore:
      return {0, state != kStateNormal, checked};
    default:
      return {-1, systemEnabled, checked};
  }
}

std::wstring SysMenuItemText(const std::wstring& systemText) {
  if (systemText.empty()) return L"-";
  return systemText.substr(0, kSysMenuTextLimit);
}

bool SameAccelerator(wchar_t a, wchar_t b) {
  auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  return a != 0 && fold(a) == fold(b);
}

}  // namespace skin
