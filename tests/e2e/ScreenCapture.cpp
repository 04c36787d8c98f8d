#include "ScreenCapture.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace e2e {

skin::TBitmap Capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  skin::TBitmap shot(w, h);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) shot.SetPixel(x, y, pixels[y * w + x] & 0x00FFFFFF);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

RECT ClientOnScreen(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

POINT CentreOf(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Screenshot(const Context& ctx, const char* name) {
  std::wstring request = ctx.runRoot + L"\\shot.request", done = ctx.runRoot + L"\\shot.done";
  DeleteFileW(done.c_str());
  HANDLE h = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, name, static_cast<DWORD>(strlen(name)), &written, nullptr);
  CloseHandle(h);
  for (int i = 0; i < 100 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
}

}  // namespace e2e
