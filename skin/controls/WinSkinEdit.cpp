#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::wstring LowerClassName(HWND hwnd) {
  wchar_t name[101] = {};
  int n = GetClassNameW(hwnd, name, 101);
  std::wstring s(name, n > 0 ? static_cast<size_t>(n) : 0);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return s;
}

bool IsUpDownClass(const std::wstring& lower) {
  return lower == L"msctls_updown32" || lower.find(L"spin") != std::wstring::npos ||
         lower.find(L"updown") != std::wstring::npos;
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

const fw::TClassInfo& TSkinEdit::StaticClass() {
  static const fw::TClassInfo info{L"TSkinEdit", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinEdit::BeforeProc(fw::TMessage& message) {
  if (message.Msg != WM_PRINTCLIENT) return TSkinControl::BeforeProc(message);
  // The edit leaves its clipping in a context it paints into; the border
  // goes over the whole window, as the caller's context was.
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  int saved = dc ? SaveDC(dc) : 0;
  CallOldProc(message);
  if (saved) RestoreDC(dc, saved);
  try {
    RECT r;
    if (GetWindowRect(hwnd, &r)) boundsrect = r;
    if (dc) {
      DrawPrintedBorder(dc);
    } else if (HDC windowDc = GetWindowDC(hwnd)) {
      DrawPrintedBorder(windowDc);
      ReleaseDC(hwnd, windowDc);
    }
  } catch (...) {
    // A printed copy without the border is better than none.
  }
  return false;
}

void TSkinEdit::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      break;
    case WM_SKINPAINTCLIENT:
      if (static_cast<uint32_t>(message.LParam) != SKIN_MAGIC) break;
      if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
        fw::TMessage paint{WM_PAINT, message.WParam, 0, 0};
        int saved = SaveDC(dc);
        CallOldProc(paint);
        RestoreDC(dc, saved);
        message.Result = SKIN_MAGIC;
      }
      break;
    default:
      TSkinControl::AfterProc(message);
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rc) {
  if (!hwnd) return;
  if (!updown && fsd && InSet(fsd->SkinControls(), xcSpin)) FindUpDown();
  RECT client;
  if (!GetClientRect(hwnd, &client)) return;
  if (!HasBorderFrame(rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom)) return;
  RECT r = rc;
  FrameWith(dc, r, SkinColor(7));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
}

void TSkinEdit::FindUpDown() {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(LowerClassName(child))) continue;
    // A framework up-down bound on its own already draws from the skin.
    if (SendMessageW(child, WM_ISSKINNED, 0, 0) == 1) return;
    updown = new TSkinUpDown(Owner());
    updown->inedit = true;
    updown->Inithwnd(child, fsd, skinform);
    return;
  }
}

void TSkinEdit::DrawPrintedBorder(HDC dc) {
  RECT window, client;
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return;
  RECT r{0, 0, window.right - window.left, window.bottom - window.top};
  if (!HasPrintedBorder(r.right, r.bottom, client.right, client.bottom)) return;
  // The context's own brush paints the edge, as the printing caller chose it.
  HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  if (current) FrameRect(dc, &inner, current);
  FrameWith(dc, r, SkinColor(7));
}

}  // namespace skin
