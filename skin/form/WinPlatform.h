// The windowing services the skin engine takes from Win32 beyond plain calls:
// functions looked up at run time (older systems lack them, and a skin must
// still load there), the platform family, the system values the portable
// skin code asks for, and the text helpers every painter shares.
//
// Where the platform lacks a looked-up function, the wrapper does nothing and
// reports false, so callers simply skip the step that needs it.
#pragma once

#include <windows.h>

#include <string>

#include "skin/archive/SkinPlatform.h"

namespace skin {

// The run-time looked-up functions of user32, resolved once.
struct TWinPlatformFunctions {
  using GetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
  using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  using GetComboBoxInfoProc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);

  GetScrollBarInfoProc getScrollBarInfo = nullptr;
  TrackMouseEventProc trackMouseEvent = nullptr;
  GetComboBoxInfoProc getComboBoxInfo = nullptr;
};

// The functions found in the running system's user32 (looked up on first use).
const TWinPlatformFunctions& WinPlatformFunctions();
// Replaces the looked-up functions (tests use this to stand for an older
// system); nullptr goes back to what user32 offers.
void OverrideWinPlatformFunctions(const TWinPlatformFunctions* functions);

bool HasGetScrollBarInfo();
bool HasTrackMouseEvent();

// The platform's GetScrollBarInfo when it has one; false otherwise.
bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& info);
// The platform's GetComboBoxInfo when it has one; false otherwise.
bool SkinGetComboBoxInfo(HWND hwnd, COMBOBOXINFO& info);

// True on the Windows NT family (GetVersion's high bit clear).
bool IsWinNT();
// Major and minor version as GetVersion reports them.
int WinMajorVersion();
int WinMinorVersion();

// Asks for a WM_MOUSELEAVE when the mouse leaves `hwnd` (TME_LEAVE), where
// the platform offers TrackMouseEvent; otherwise nothing.
void RequestMouseLeave(HWND hwnd);

// Draws text as DrawTextW does with the text's length; outside the NT family
// the text goes through the ANSI code page and DrawTextA (length -1).
// Returns what the platform call returns.
int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// Bytes in the ANSI code page to wide text.
void AnsiToWide(const std::string& bytes, std::wstring& text);
// The whole text when count is -1, else its first `count` characters.
void CopyWide(const std::wstring& text, int count, std::wstring& result);

// The system colours and metrics of the running desktop, for portable skin code.
class TWinSkinPlatform : public TSkinPlatform {
 public:
  uint32_t GetSysColor(int index) const override;
  int HorzScrollArrowWidth() const override;
};

// Installs one TWinSkinPlatform for the process (idempotent).
void InstallWinSkinPlatform();

}  // namespace skin
