// How the skinned frame looks and answers: the main window's frame, active
// and inactive, and a message box's frame compared with stored references
// (tests/e2e/reference, 24-bit BMP); WM_NCHITTEST over the caption buttons,
// caption, borders and client; the mouse moving along the caption redraws
// only the button whose state changes; and the time of one full frame paint.
//
// Only the frame is compared: the client area and the menu band belong to
// other painters. The title text may differ by anti-aliasing, so inside the
// title's room a few pixels may differ; everywhere else every pixel matches.
// A missing reference fails the case and leaves the capture in the run's
// folder, to be looked at and stored.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"
#include "skin/model/SkinModel.h"

namespace e2e {
namespace {

std::wstring Folder(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/"));
}

// What the comparisons need of the skin stored in the program (the build's
// skins/quellmark.skin beside app/): the caption band, the room the title
// keeps free, and where the caption buttons sit.
struct SkinFacts {
  int captionHeight = 0;
  int titleLeft = 0;          // left border + TextShift
  int titleRightReserve = 0;  // right border + TextRightClip
  std::vector<skin::TDataSkinSysButton> buttons;
};

const SkinFacts& Facts(const Context& ctx) {
  static SkinFacts facts = [&] {
    std::wstring file = Folder(Folder(ctx.app)) + L"\\skins\\quellmark.skin";
    std::ifstream in(Narrow(file), std::ios::binary);
    if (!in) throw Failure("the stored skin is missing: " + Narrow(file));
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() <= 4) throw Failure("the stored skin is empty");
    skin::TSkinModel model;
    model.data.Assign(std::vector<uint8_t>(bytes.begin() + 4, bytes.end()));
    if (!model.LoadArchive()) throw Failure("the stored skin does not load");
    SkinFacts f;
    f.captionHeight = model.border[3].Map.Height() / std::max(model.border[3].frame, 1);
    f.titleLeft = model.border[1].Map.Width() / std::max(model.border[1].frame, 1) + model.Title.r.Left;
    f.titleRightReserve =
        model.border[2].Map.Width() / std::max(model.border[2].frame, 1) + model.Title.r.Right;
    f.buttons = model.SysBtn;
    return f;
  }();
  return facts;
}

// The right-aligned caption button of an action, in window coordinates.
RECT ButtonInWindow(const Context& ctx, HWND window, int action) {
  for (const skin::TDataSkinSysButton& b : Facts(ctx).buttons) {
    if (b.Action != action || b.Align != 1 || b.Map.Empty()) continue;
    RECT w;
    GetWindowRect(window, &w);
    const int left = (w.right - w.left) - b.XCoord;
    return RECT{left, b.YCoord, left + b.Map.Width() / std::max(b.frame, 1), b.YCoord + b.Map.Height()};
  }
  throw Failure("the skin has no right-aligned caption button for action " + std::to_string(action));
}

// The window's frame, packed small: the caption band, the rows below the
// client area, then each column left and right of it (caption band and
// bottom rows excluded) laid down as a row. The menu band between caption
// and client belongs to the menu bar's painter and is left out.
skin::TBitmap FrameOf(const Context& ctx, HWND window) {
  RECT w;
  GetWindowRect(window, &w);
  skin::TBitmap shot = Capture(w);
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = shot.Width(), height = shot.Height();
  const int left = origin.x - w.left, top = origin.y - w.top;
  const int right = left + client.right, bottom = top + client.bottom;
  const int caption = Facts(ctx).captionHeight;
  const int sideLength = std::max(bottom - caption, 0);
  const int sideColumns = left + (width - right);
  skin::TBitmap packed(std::max(width, sideLength), caption + (height - bottom) + sideColumns);
  int row = 0;
  auto copyRows = [&](int from, int to) {
    for (int y = from; y < to; ++y, ++row)
      for (int x = 0; x < width; ++x) packed.SetPixel(x, row, shot.Pixel(x, y));
  };
  auto copyColumns = [&](int from, int to) {
    for (int x = from; x < to; ++x, ++row)
      for (int y = caption; y < bottom; ++y) packed.SetPixel(y - caption, row, shot.Pixel(x, y));
  };
  copyRows(0, caption);
  copyRows(bottom, height);
  copyColumns(0, left);
  copyColumns(right, width);
  return packed;
}

int WindowWidth(HWND window) {
  RECT w;
  GetWindowRect(window, &w);
  return w.right - w.left;
}

// `shot` is a packed frame (FrameOf) of a window `windowWidth` wide. The
// title's room may show its anti-aliased text a little differently.
void ExpectLooksLikeReference(const Context& ctx, const skin::TBitmap& shot, const char* name,
                              int windowWidth) {
  const SkinFacts& f = Facts(ctx);
  const RECT title{f.titleLeft, 0, windowWidth - f.titleRightReserve, f.captionHeight};
  const int titleArea = (title.right - title.left) * (title.bottom - title.top);
  ExpectLooksAsStoredAroundText(ctx, shot, name, title, 48, titleArea / 50);
}

// A window of the driver's own, away from the program's, that takes the activation.
HWND OtherWindow() {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmE2eOtherWindow";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"other", WS_POPUP | WS_VISIBLE, 1180, 700, 80, 80, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The differing pixels of two pictures of the same size, as a bounding box (empty when none).
RECT Changed(const skin::TBitmap& a, const skin::TBitmap& b) {
  RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  if (box.left == INT_MAX) return RECT{0, 0, 0, 0};
  return box;
}

bool Within(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

LRESULT HitTest(HWND window, int x, int y) {
  RECT w;
  GetWindowRect(window, &w);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(w.left + x, w.top + y), SMTO_BLOCK, 2000, &answer);
  return static_cast<LRESULT>(answer);
}

}  // namespace

E2E_CASE(FramePaintActiveAndInactiveLookAsStored) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  skin::TBitmap active = FrameOf(ctx, s.Main());
  HWND other = OtherWindow();
  SetForegroundWindow(other);
  E2E_CHECK(WaitFor([&] { return GetForegroundWindow() == other; }));
  Sleep(300);
  Wait(0);
  skin::TBitmap inactive = FrameOf(ctx, s.Main());
  DestroyWindow(other);
  // The skin's two looks differ in the caption.
  E2E_CHECK(Changed(active, inactive).bottom > 0);
  Save(inactive, ctx.runRoot + L"\\frame-inactive.bmp");
  ExpectLooksLikeReference(ctx, active, "frame-active", WindowWidth(s.Main()));
  ExpectLooksLikeReference(ctx, inactive, "frame-inactive", WindowWidth(s.Main()));
  E2E_CHECK(s.Close());
}

E2E_CASE(FramePaintMessageBoxLooksAsStored) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  PostMessageW(s.Control(L"Button_Refresh"), BM_CLICK, 0, 0);
  auto box = s.WaitIdleOrBox();
  E2E_CHECK(box.has_value());
  E2E_CHECK(WaitFor([&] { return Skinned(box->hwnd); }));
  Sleep(300);
  ExpectLooksLikeReference(ctx, FrameOf(ctx, box->hwnd), "frame-messagebox", WindowWidth(box->hwnd));
  s.Answer(IDOK);
  E2E_CHECK(s.Close());
}

E2E_CASE(FramePaintHitTestOverButtonsCaptionBordersAndClient) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  HWND main = s.Main();
  RECT w, client;
  GetWindowRect(main, &w);
  GetClientRect(main, &client);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  const int width = w.right - w.left, height = w.bottom - w.top;
  // The skin's caption buttons are the skinner's own: the system sees caption.
  for (int action : {0, 2}) {
    RECT b = ButtonInWindow(ctx, main, action);
    E2E_CHECK_EQ(static_cast<int>(HitTest(main, (b.left + b.right) / 2, (b.top + b.bottom) / 2)), HTCAPTION);
  }
  E2E_CHECK_EQ(static_cast<int>(HitTest(main, width / 2, 12)), HTCAPTION);
  E2E_CHECK_EQ(static_cast<int>(HitTest(main, 40, 5)), HTCAPTION);
  // Client area.
  E2E_CHECK_EQ(static_cast<int>(
                   HitTest(main, origin.x - w.left + client.right / 2, origin.y - w.top + client.bottom / 2)),
               HTCLIENT);
  // The menu band between caption and client.
  const int captionHeight = Facts(ctx).captionHeight;
  if (origin.y - w.top > captionHeight + 2)
    E2E_CHECK_EQ(static_cast<int>(HitTest(main, width / 2, captionHeight + 2)), HTMENU);
  // The window cannot be resized: its outer edges are plain border.
  for (POINT p : {POINT{0, height / 2}, POINT{width - 1, height / 2}, POINT{width / 2, height - 1}}) {
    LRESULT code = HitTest(main, p.x, p.y);
    E2E_CHECK(code == HTBORDER || code == HTCAPTION || code == HTNOWHERE);
    E2E_CHECK(code != HTLEFT && code != HTRIGHT && code != HTBOTTOM && code != HTCLIENT);
  }
  E2E_CHECK(s.Close());
}

E2E_CASE(FramePaintMouseAlongTheCaptionRedrawsOnlyTheChangedButton) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  HWND main = s.Main();
  RECT w;
  GetWindowRect(main, &w);
  const RECT caption{w.left, w.top, w.right, w.top + Facts(ctx).captionHeight};
  const RECT minimize = ButtonInWindow(ctx, main, 2);
  const RECT close = ButtonInWindow(ctx, main, 0);
  skin::TBitmap before = Capture(caption);
  // Onto the minimize button: it alone lights up.
  MoveMouse(POINT{w.left + (minimize.left + minimize.right) / 2, w.top + 12});
  Sleep(400);
  skin::TBitmap hot = Capture(caption);
  RECT changed = Changed(before, hot);
  E2E_CHECK(changed.bottom > 0);
  E2E_CHECK(Within(changed, minimize));
  // Along the title: the minimize button goes back, nothing else moves.
  MoveMouse(POINT{w.left + 200, w.top + 12});
  Sleep(400);
  skin::TBitmap back = Capture(caption);
  E2E_CHECK(Within(Changed(hot, back), minimize));
  E2E_CHECK_EQ(Changed(before, back).bottom, 0L);
  // Onto the close button: only it changes.
  MoveMouse(POINT{w.left + (close.left + close.right) / 2, w.top + 12});
  Sleep(400);
  E2E_CHECK(Within(Changed(back, Capture(caption)), close));
  MoveMouse(kAway);
  E2E_CHECK(s.Close());
}

// Not a timed check: prints how long one full frame paint of the main window
// takes, asked across processes (the figure includes the message round trip).
E2E_CASE(FramePaintBenchmark) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  HWND main = s.Main();
  constexpr int kRuns = 60;
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    auto start = std::chrono::steady_clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main, WM_NCPAINT, 1, 0, SMTO_BLOCK, 2000, &answer);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::vector<double> trip;
  for (int i = 0; i < kRuns; ++i) {
    auto start = std::chrono::steady_clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &answer);
    trip.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::sort(trip.begin(), trip.end());
  std::printf(
      "frame paint (WM_NCPAINT sent to the main window): median %.3f ms, best %.3f ms, worst %.3f ms; "
      "an empty message's round trip: median %.3f ms (%d runs)\n",
      ms[ms.size() / 2], ms.front(), ms.back(), trip[trip.size() / 2], kRuns);
  E2E_CHECK(s.Close());
}

}  // namespace e2e
