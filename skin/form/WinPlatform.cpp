#include "skin/form/WinPlatform.h"

#include <vector>

namespace skin {

namespace {

TWinPlatformFunctions LookUpFunctions() {
  TWinPlatformFunctions f;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return f;
  // GetProcAddress gives a FARPROC; the casts name the real signatures.
  f.getScrollBarInfo = reinterpret_cast<TWinPlatformFunctions::GetScrollBarInfoProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")));
  f.trackMouseEvent = reinterpret_cast<TWinPlatformFunctions::TrackMouseEventProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "TrackMouseEvent")));
  f.getComboBoxInfo = reinterpret_cast<TWinPlatformFunctions::GetComboBoxInfoProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetComboBoxInfo")));
  return f;
}

const TWinPlatformFunctions*& Override() {
  static const TWinPlatformFunctions* override = nullptr;
  return override;
}

}  // namespace

const TWinPlatformFunctions& WinPlatformFunctions() {
  if (Override()) return *Override();
  static const TWinPlatformFunctions found = LookUpFunctions();
  return found;
}

void OverrideWinPlatformFunctions(const TWinPlatformFunctions* functions) {
  Override() = functions;
}

bool HasGetScrollBarInfo() {
  return WinPlatformFunctions().getScrollBarInfo != nullptr;
}

bool HasTrackMouseEvent() {
  return WinPlatformFunctions().trackMouseEvent != nullptr;
}

bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO& info) {
  auto proc = WinPlatformFunctions().getScrollBarInfo;
  if (!proc) return false;
  info.cbSize = sizeof(info);
  return proc(hwnd, idObject, &info) != FALSE;
}

bool SkinGetComboBoxInfo(HWND hwnd, COMBOBOXINFO& info) {
  auto proc = WinPlatformFunctions().getComboBoxInfo;
  if (!proc) return false;
  info.cbSize = sizeof(info);
  return proc(hwnd, &info) != FALSE;
}

bool IsWinNT() {
  return (GetVersion() & 0x80000000u) == 0;
}

int WinMajorVersion() {
  return static_cast<int>(LOBYTE(LOWORD(GetVersion())));
}

int WinMinorVersion() {
  return static_cast<int>(HIBYTE(LOWORD(GetVersion())));
}

void RequestMouseLeave(HWND hwnd) {
  auto proc = WinPlatformFunctions().trackMouseEvent;
  if (!proc) return;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = hwnd;
  proc(&tme);
}

int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  if (IsWinNT()) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string ansi(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), size, nullptr,
                        nullptr);
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

void AnsiToWide(const std::string& bytes, std::wstring& text) {
  text.clear();
  if (bytes.empty()) return;
  int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return;
  text.resize(static_cast<size_t>(size));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
}

void CopyWide(const std::wstring& text, int count, std::wstring& result) {
  if (count == -1) {
    result = text;
  } else {
    result = text.substr(0, count > 0 ? static_cast<size_t>(count) : 0);
  }
}

uint32_t TWinSkinPlatform::GetSysColor(int index) const {
  return static_cast<uint32_t>(::GetSysColor(index)) & 0x00FFFFFFu;
}

int TWinSkinPlatform::HorzScrollArrowWidth() const {
  return GetSystemMetrics(SM_CXHSCROLL);
}

void InstallWinSkinPlatform() {
  static const TWinSkinPlatform platform;
  SetSkinPlatform(&platform);
}

}  // namespace skin
