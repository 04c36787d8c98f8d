// The skinned frame of the main window worked with real input (SendInput, as
// a user's mouse and keyboard): caption buttons light up under the mouse,
// show pressed, act on release over them and only there; the title drags the
// window; a double click on the caption of a window that cannot maximise
// changes nothing; Alt+Space opens the system menu at the client origin and
// Alt+F4 closes through the window's close handler.
//
// Where the caption buttons sit and what they look like comes from the skin
// the build stored in the window (skins/quellmark.skin beside app/), so the
// screen is compared with the skin's own images pixel by pixel.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "Harness.h"
#include "Input.h"
#include "MenuInput.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "skin/form/SkinImage.h"
#include "skin/model/SkinModel.h"

namespace e2e {
namespace {

// Caption-button actions and image numbers of a caption-button strip.
constexpr int kCloseAction = 0;
constexpr int kMinimizeAction = 2;
constexpr int kNormalImage = 1, kPressedImage = 2, kHotImage = 3;
// Share of a button's own pixels that must show the expected image.
constexpr double kImageMatch = 0.98;

std::wstring Folder(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/"));
}

// The skin stored in the program: a 32-bit count, then the packed archive.
std::unique_ptr<skin::TSkinModel> LoadStoredSkin(const std::wstring& app) {
  std::wstring file = Folder(Folder(app)) + L"\\skins\\quellmark.skin";
  std::ifstream in(Narrow(file), std::ios::binary);
  if (!in) throw Failure("the stored skin is missing: " + Narrow(file));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() <= 4) throw Failure("the stored skin is empty");
  auto model = std::make_unique<skin::TSkinModel>();
  model->data.Assign(std::vector<uint8_t>(bytes.begin() + 4, bytes.end()));
  if (!model->LoadArchive()) throw Failure("the stored skin does not load");
  return model;
}

const skin::TDataSkinSysButton& CaptionButton(const skin::TSkinModel& model, int action) {
  for (const auto& b : model.SysBtn)
    if (b.Action == action && b.Align == 1 && !b.Map.Empty()) return b;
  throw Failure("the skin has no right-aligned caption button for action " + std::to_string(action));
}

// One caption button of the main window, placed as the skin places a
// right-aligned button: XCoord from the window's right edge, YCoord down.
struct ScreenButton {
  const skin::TDataSkinSysButton* element;
  HWND window;

  RECT Bounds() const {
    RECT w;
    GetWindowRect(window, &w);
    const int width = element->Map.Width() / std::max(element->frame, 1);
    const int left = w.right - w.left - element->XCoord;
    return RECT{w.left + left, w.top + element->YCoord, w.left + left + width,
                w.top + element->YCoord + element->Map.Height()};
  }
  POINT Centre() const {
    RECT r = Bounds();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Share of the image's own (not magenta) pixels the screen shows as they are.
  double Shows(int image) const {
    skin::TBitmap shot = Capture(Bounds());
    const skin::TRect frame = skin::StripFrameRect(element->Map, image, element->frame, false);
    int own = 0, same = 0;
    for (int y = 0; y < frame.Height() && y < shot.Height(); ++y)
      for (int x = 0; x < frame.Width() && x < shot.Width(); ++x) {
        skin::TPixel p = element->Map.Pixel(frame.Left + x, frame.Top + y);
        if (p == skin::kMagentaPixel) continue;
        ++own;
        same += shot.Pixel(x, y) == p;
      }
    return own ? static_cast<double>(same) / own : 0.0;
  }
  // The images differ where a test tells them apart.
  bool Differ(int a, int b) const {
    const skin::TRect ra = skin::StripFrameRect(element->Map, a, element->frame, false);
    const skin::TRect rb = skin::StripFrameRect(element->Map, b, element->frame, false);
    for (int y = 0; y < ra.Height(); ++y)
      for (int x = 0; x < ra.Width(); ++x)
        if (element->Map.Pixel(ra.Left + x, ra.Top + y) != element->Map.Pixel(rb.Left + x, rb.Top + y))
          return true;
    return false;
  }
};

bool ShowsImage(const ScreenButton& b, int image) {
  return WaitFor([&] { return b.Shows(image) >= kImageMatch; });
}

// --- real input

// The pointer moved by input alone, checked to land on exactly this pixel:
// the caption buttons are only a few pixels wide.
void MoveMouseExactly(POINT p) {
  // Absolute coordinates are 0..65535 over the screen; rounded up so the
  // system's scaling lands on exactly this pixel.
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y) * 65536 + h - 1) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(40);
  POINT at;
  GetCursorPos(&at);
  if (at.x != p.x || at.y != p.y)
    throw Failure("the mouse went to " + std::to_string(at.x) + "," + std::to_string(at.y) + " instead of " +
                  std::to_string(p.x) + "," + std::to_string(p.y));
}

void AltWith(WORD vk) {
  Key(VK_MENU, true);
  Tap(vk);
  Key(VK_MENU, false);
}

// --- the main window

POINT CaptionPoint(HWND main, int fromLeft) {
  RECT w;
  GetWindowRect(main, &w);
  return POINT{w.left + fromLeft, w.top + 12};
}

HWND FirstOpenPopup(const Session& s) {
  const std::vector<HWND> open = OpenPopupWindows(s);
  return open.empty() ? nullptr : open.front();
}

std::wstring TempTxt(const Context& ctx) {
  return Folder(ctx.app) + L"\\temp.txt";
}

void MakeTempTxt(const Context& ctx) {
  HANDLE h = CreateFileW(TempTxt(ctx).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
}

bool TempTxtGone(const Context& ctx) {
  return GetFileAttributesW(TempTxt(ctx).c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

E2E_CASE(FrameCaptionButtonsLightUpPressAndActOnlyWhenReleasedOnThem) {
  auto model = LoadStoredSkin(ctx.app);
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  ScreenButton close{&CaptionButton(*model, kCloseAction), s.Main()};
  ScreenButton minimize{&CaptionButton(*model, kMinimizeAction), s.Main()};
  E2E_CHECK(close.Differ(kNormalImage, kHotImage) && close.Differ(kHotImage, kPressedImage));
  E2E_CHECK(ShowsImage(close, kNormalImage));
  E2E_CHECK(ShowsImage(minimize, kNormalImage));

  // Hover: the button under the mouse turns hot, the other stays as it was.
  MoveMouseExactly(minimize.Centre());
  E2E_CHECK(ShowsImage(minimize, kHotImage));
  E2E_CHECK(close.Shows(kNormalImage) >= kImageMatch);
  // From one button to the next: the first goes back to normal.
  MoveMouseExactly(close.Centre());
  E2E_CHECK(ShowsImage(close, kHotImage));
  E2E_CHECK(ShowsImage(minimize, kNormalImage));
  // Away onto the caption: normal again.
  MoveMouseExactly(CaptionPoint(s.Main(), 120));
  E2E_CHECK(ShowsImage(close, kNormalImage));

  // Pressed on close, dragged off and released on the caption: nothing happens.
  MoveMouseExactly(close.Centre());
  E2E_CHECK(ShowsImage(close, kHotImage));
  MouseButton(true);
  E2E_CHECK(ShowsImage(close, kPressedImage));
  MoveMouseExactly(CaptionPoint(s.Main(), 120));
  E2E_CHECK(ShowsImage(close, kNormalImage));
  MouseButton(false);
  E2E_CHECK(!s.Exited(800));
  E2E_CHECK(IsWindowVisible(s.Main()) && !IsIconic(s.Main()));
  // Pressed on close, released on minimise: neither acts.
  MoveMouseExactly(close.Centre());
  MouseButton(true);
  MoveMouseExactly(minimize.Centre());
  MouseButton(false);
  E2E_CHECK(!s.Exited(800));
  E2E_CHECK(!IsIconic(s.Main()));

  // A click on minimise minimises.
  MoveMouseExactly(minimize.Centre());
  MouseButton(true);
  E2E_CHECK(ShowsImage(minimize, kPressedImage));
  MouseButton(false);
  E2E_CHECK(WaitFor([&] { return IsIconic(s.Main()) != FALSE; }));
  MoveMouseExactly(POINT{1, 1});
  E2E_CHECK(s.Close());
}

E2E_CASE(FrameCloseButtonClosesThroughFormClose) {
  auto model = LoadStoredSkin(ctx.app);
  MakeTempTxt(ctx);
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  ScreenButton close{&CaptionButton(*model, kCloseAction), s.Main()};
  E2E_CHECK(ShowsImage(close, kNormalImage));
  MoveMouseExactly(close.Centre());
  MouseButton(true);
  MouseButton(false);
  E2E_CHECK(s.Exited(10000));
  E2E_CHECK(TempTxtGone(ctx));
}

E2E_CASE(FrameDraggingTheTitleMovesTheWindow) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  RECT before;
  GetWindowRect(s.Main(), &before);
  POINT p = CaptionPoint(s.Main(), 150);
  MoveMouseExactly(p);
  MouseButton(true);
  for (int step = 1; step <= 4; ++step) MoveMouseExactly(POINT{p.x + 10 * step, p.y + 8 * step});
  MouseButton(false);
  RECT after{};
  E2E_CHECK(WaitFor([&] {
    GetWindowRect(s.Main(), &after);
    return after.left != before.left;
  }));
  E2E_CHECK_EQ(static_cast<int>(after.left - before.left), 40);
  E2E_CHECK_EQ(static_cast<int>(after.top - before.top), 32);
  E2E_CHECK_EQ(static_cast<int>(after.right - after.left), static_cast<int>(before.right - before.left));
  E2E_CHECK(s.Close());
}

E2E_CASE(FrameDoubleClickOnTheCaptionOfAWindowThatCannotMaximise) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  RECT before;
  GetWindowRect(s.Main(), &before);
  MoveMouseExactly(CaptionPoint(s.Main(), 150));
  for (int i = 0; i < 2; ++i) {
    MouseButton(true);
    MouseButton(false);
  }
  Sleep(500);
  RECT after;
  GetWindowRect(s.Main(), &after);
  E2E_CHECK(!IsZoomed(s.Main()) && !IsIconic(s.Main()));
  E2E_CHECK(EqualRect(&before, &after));
  E2E_CHECK(!s.Exited(0));
  E2E_CHECK(s.Close());
}

E2E_CASE(FrameAltSpaceOpensTheSystemMenuAtTheClientOrigin) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  AltWith(VK_SPACE);
  HWND popup = nullptr;
  E2E_CHECK(WaitFor([&] { return (popup = FirstOpenPopup(s)) != nullptr; }));
  RECT r;
  GetWindowRect(popup, &r);
  POINT origin{0, 0};
  ClientToScreen(s.Main(), &origin);
  E2E_CHECK_EQ(static_cast<int>(r.left), static_cast<int>(origin.x));
  E2E_CHECK_EQ(static_cast<int>(r.top), static_cast<int>(origin.y));
  // Esc closes it and leaves the window as it was.
  Tap(VK_ESCAPE);
  E2E_CHECK(WaitFor([&] { return FirstOpenPopup(s) == nullptr; }));
  E2E_CHECK(!s.Exited(300));
  // Opened again and its Close item chosen by its underlined letter: the window closes.
  AltWith(VK_SPACE);
  E2E_CHECK(WaitFor([&] { return FirstOpenPopup(s) != nullptr; }));
  Tap('C');
  E2E_CHECK(s.Exited(10000));
}

E2E_CASE(FrameAltF4ClosesThroughFormClose) {
  MakeTempTxt(ctx);
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  AltWith(VK_F4);
  E2E_CHECK(s.Exited(10000));
  E2E_CHECK(TempTxtGone(ctx));
}

}  // namespace e2e
