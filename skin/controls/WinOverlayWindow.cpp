#include "skin/controls/WinOverlayWindow.h"

#include <string>

namespace skin {

namespace {

constexpr const wchar_t* kClassName = L"QmSkinOverlay";
constexpr const wchar_t* kSelfProp = L"QmSkinOverlaySelf";

void RegisterOverlayClass(WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, kClassName, &wc)) return;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  // Double clicks arrive as presses: a fast second click on an arrow scrolls again.
  wc.style = 0;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

}  // namespace

bool IsOverlayWindow(HWND hwnd) {
  wchar_t name[32] = {};
  return GetClassNameW(hwnd, name, 32) > 0 && std::wstring(name) == kClassName;
}

const fw::TClassInfo& TOverlayWindow::StaticClass() {
  static const fw::TClassInfo info{L"TOverlayWindow", &fw::TComponent::StaticClass(), {}};
  return info;
}

TOverlayWindow::TOverlayWindow(fw::TComponent* owner) : fw::TComponent(owner) {}

TOverlayWindow::~TOverlayWindow() {
  if (!handle_) return;
  HWND h = handle_;
  handle_ = nullptr;
  RemovePropW(h, kSelfProp);
  if (IsWindow(h)) DestroyWindow(h);
}

bool TOverlayWindow::PlaceIn(HWND parent, DWORD exStyle) {
  if (!parent) return false;
  if (handle_ && IsWindow(handle_)) {
    if (GetParent(handle_) != parent) SetParent(handle_, parent);
    return true;
  }
  RegisterOverlayClass(&TOverlayWindow::StaticWndProc);
  handle_ = CreateWindowExW(exStyle, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                            GetModuleHandleW(nullptr), this);
  return handle_ != nullptr;
}

LRESULT CALLBACK TOverlayWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetPropW(hwnd, kSelfProp, cs->lpCreateParams);
  }
  auto* self = static_cast<TOverlayWindow*>(GetPropW(hwnd, kSelfProp));
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kSelfProp);
    if (self) self->handle_ = nullptr;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (!self->handle_) self->handle_ = hwnd;  // messages sent during CreateWindowEx
  fw::TMessage m{msg, wParam, lParam, 0};
  self->WndProc(m);
  return m.Result;
}

void TOverlayWindow::Repaint() {
  if (!handle_ || !IsWindowVisible(handle_)) return;
  HDC dc = GetDC(handle_);
  if (!dc) return;
  Paint(dc);
  ReleaseDC(handle_, dc);
}

void TOverlayWindow::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      break;
    case WM_PRINTCLIENT:
      WMPrintClient(m);
      break;
    case WM_ERASEBKGND:
      m.Result = 1;  // the painter covers every pixel
      break;
    default:
      DefaultHandler(m);
      break;
  }
}

void TOverlayWindow::WMPaint(fw::TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(handle_, &ps);
  if (dc) Paint(dc);
  EndPaint(handle_, &ps);
  m.Result = 0;
}

// Printing into another device context draws the same picture.
void TOverlayWindow::WMPrintClient(fw::TMessage& m) {
  if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
  m.Result = 0;
}

void TOverlayWindow::DefaultHandler(fw::TMessage& m) {
  m.Result = handle_ ? DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam) : 0;
}

}  // namespace skin
