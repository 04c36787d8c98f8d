// What the scroll-bar tests share: the built skin loaded, an overlay's
// picture printed into a memory device context or read from the screen, and
// the picture the skin should give for the bar as the platform reports it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"

namespace skin::test {

class ScrollBarFixture : public testing::Test {
 protected:
  void LoadSkin() {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
    ASSERT_FALSE(data.Empty);
    ASSERT_TRUE(data.SArrow && !data.SArrow->Map.Empty());
  }

  // The overlay's picture as WM_PRINTCLIENT draws it.
  static TBitmap Print(const TWScrollbar& bar) {
    RECT r{};
    GetClientRect(bar.Handle(), &r);
    TDibSection dib(r.right, r.bottom);
    SendMessageW(bar.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
    return dib.ToBitmap();
  }

  // What the overlay shows on the screen now.
  static TBitmap OnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    TBitmap shot = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
    ReleaseDC(nullptr, screen);
    return shot;
  }

  // What the overlay shows on the screen, where no other overlay covers it:
  // the platform's two bars share their corner pixel, and whichever overlay
  // lies above shows it (those pixels are taken from the overlay's own print).
  static TBitmap OnScreen(const TWScrollbar& bar) {
    TBitmap shot = OnScreen(bar.Handle());
    TBitmap own = Print(bar);
    RECT mine{};
    GetWindowRect(bar.Handle(), &mine);
    for (HWND h = GetWindow(GetParent(bar.Handle()), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
      wchar_t name[32] = {};
      GetClassNameW(h, name, 32);
      if (h == bar.Handle() || std::wstring(name) != L"QmSkinOverlay" || !IsWindowVisible(h)) continue;
      RECT other{}, both{};
      GetWindowRect(h, &other);
      if (!IntersectRect(&both, &mine, &other)) continue;
      for (LONG y = both.top; y < both.bottom; ++y)
        for (LONG x = both.left; x < both.right; ++x)
          shot.SetPixel(x - mine.left, y - mine.top, own.Pixel(x - mine.left, y - mine.top));
    }
    return shot;
  }

  // The picture the skin gives for the bar where the platform has it now.
  TBitmap Expected(TWScrollbar& bar, int32_t scrollpos = spNone, bool down = false) {
    TBarGeometry g;
    if (!bar.GetGeometry(g)) return {};
    TBarPictureState s;
    s.vertical = bar.sbDir == 1;
    s.len = s.vertical ? g.bar.bottom - g.bar.top : g.bar.right - g.bar.left;
    s.across = s.vertical ? g.bar.right - g.bar.left : g.bar.bottom - g.bar.top;
    s.cw = bar.CW;
    s.enabled = !g.unavailable;
    s.scrollpos = scrollpos;
    s.down = down;
    s.thumb = g.thumb;
    return ComposeScrollBar(ScrollBarArt(&data, s.vertical, ResolveColor(data.Colors[3])), s);
  }

  // Pixel (x, y) of arrow-strip image `k` (from 1), stretched from the
  // image onto a w x h target as the painter does.
  TPixel ArrowPixel(int k, int32_t x, int32_t y, int32_t w, int32_t h) const {
    const TBitmap& strip = data.SArrow->Map;
    int32_t iw = strip.Width() / kArrowImages;
    int32_t sx = (k - 1) * iw + x * iw / w;
    int32_t sy = y * strip.Height() / h;
    return strip.Pixel(sx, sy);
  }

  // Compares two pictures; when they differ both are left beside the test
  // program for looking at.
  static testing::AssertionResult SamePicture(const TBitmap& shown, const TBitmap& expected,
                                              const std::string& name) {
    if (shown == expected) return testing::AssertionSuccess();
    for (auto [picture, suffix] : {std::pair{&shown, "-shown"}, std::pair{&expected, "-expected"}}) {
      std::vector<uint8_t> bytes = picture->SaveToBmp();
      FILE* f = std::fopen(look::BesideProgram(name + suffix + ".bmp").c_str(), "wb");
      if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
      }
    }
    return testing::AssertionFailure() << name << " differs; the pictures are beside the test program";
  }

  TSkinData data{nullptr};
};

inline void PumpFor(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

}  // namespace skin::test
