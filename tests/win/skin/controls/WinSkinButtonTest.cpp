// Skinned push buttons under Wine. Drawing: each state of a bare system
// button and of a framework button drawn into a memory DC and read back (the
// strip's images are solid colours, so the face shows which image was
// chosen; the caption is drawn with an unsmoothed font so its colour can be
// read exactly). Input: a real window on the display worked with SendInput,
// the thread's queue pumped through the dialog manager as the program's own
// loop does, and the clicks counted.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "gui/Button.h"
#include "gui/Form.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

// The five images of the button strip, each one solid colour (0x00RRGGBB).
constexpr TPixel kImage[kButtonFaceCount + 1] = {0,          0x00E0E0E0, 0x00A0A0F0,
                                                 0x00C8C8C8, 0x00F0E0A0, 0x00E0F0E0};
constexpr TColor kNormalInk = 0x00800000;  // 0x00BBGGRR: dark blue
constexpr TColor kOverInk = 0x00008000;
constexpr TColor kDownInk = 0x00000080;
constexpr int kButtonWidth = 90, kButtonHeight = 28;

void FillButtonSkin(TSkinData& data) {
  TBitmap strip(30 * kButtonFaceCount, 22);
  for (int k = 1; k <= kButtonFaceCount; ++k) strip.FillRect(Rect(30 * (k - 1), 0, 30 * k, 22), kImage[k]);
  data.Button.Map = strip;
  data.Button.frame = kButtonFaceCount;
  data.Button.r = Rect(3, 3, 3, 3);
  data.Button.newnormal = data.Button.newover = data.Button.newdown = true;
  data.Button.Normalcolor2 = kNormalInk;
  data.Button.Overcolor2 = kOverInk;
  data.Button.Downcolor2 = kDownInk;
  data.Colors[3] = 0x00C0C0C0;
  data.Colors[4] = 0;
  data.SetOptions(0);
  data.Empty = false;
}

// An unsmoothed font, so caption pixels carry exactly the text colour.
HFONT PlainFont() {
  static HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
  return font;
}

// --- the test window and its clicks

int gCommands = 0;  // WM_COMMAND with IDOK / BN_CLICKED that reached the parent
WPARAM gLastCommand = 0;
std::vector<std::pair<WPARAM, LPARAM>> gAllCommands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) gAllCommands.emplace_back(wParam, lParam);
  if (msg == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
    ++gCommands;
    gLastCommand = wParam;
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeParent(int x, int y) {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QmButtonTestParent";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"Buttons", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, 320, 160,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND MakeSystemButton(HWND parent, const wchar_t* text, int x, int y) {
  HWND b = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, x, y,
                           kButtonWidth, kButtonHeight, parent, reinterpret_cast<HMENU>(IDOK),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(PlainFont()), FALSE);
  return b;
}

// Runs the thread's messages as the program's loop does (dialog keys first).
void Pump(DWORD ms = 60) {
  fw::test::PumpAsProgram(static_cast<int>(ms));
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 1500) {
  DWORD end = GetTickCount() + ms;
  while (!done() && GetTickCount() < end) Pump(20);
  return done();
}

// Real input, each followed by the program's loop for a moment.
void MoveMouse(POINT p) {
  fw::test::SendMouseMove(p);
  Pump(40);
}

void MouseButton(bool down) {
  fw::test::SendMouseButton(down);
  Pump(40);
}

void Key(WORD vk, bool down) {
  fw::test::Key(vk, down);
  Pump(40);
}

void Tap(WORD vk) {
  Key(vk, true);
  Key(vk, false);
}

POINT CentreOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT Outside(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {r.right + 40, r.bottom + 20};
}

// --- reading a drawing back

TBitmap Draw(TSkinButton& b, int width = kButtonWidth, int height = kButtonHeight) {
  TDibSection dib(width, height);
  b.DrawControl(dib.DC(), RECT{0, 0, width, height});
  return dib.ToBitmap();
}

// The bounding box of the pixels of one colour; empty when there are none.
TRect BoxOf(const TBitmap& bmp, TPixel colour) {
  TRect box = Rect(bmp.Width(), bmp.Height(), -1, -1);
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.Pixel(x, y) == colour) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Right < 0 ? TRect{} : box;
}

TPixel Ink(TColor c) {
  return ColorToPixel(static_cast<uint32_t>(c));
}

// A bare system button in a shown window, skinned.
class BareButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    FillButtonSkin(data);
    parent = MakeParent(60, 60);
    ASSERT_NE(parent, nullptr);
    button = MakeSystemButton(parent, L"HH", 20, 20);
    other = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 20, 60, 24, parent,
                            reinterpret_cast<HMENU>(100), GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(parent);
    SetFocus(other);
    skin = new TSkinButton(nullptr);
    skin->Inithwnd(button, &data, nullptr);
    gCommands = 0;
    Pump(30);
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    DestroyWindow(parent);
    delete skin;
    Pump(10);
  }

  TSkinData data{nullptr};
  HWND parent = nullptr, button = nullptr, other = nullptr;
  TSkinButton* skin = nullptr;
};

TEST_F(BareButtonTest, EachStateDrawsItsImage) {
  EXPECT_EQ(SendMessageW(button, WM_ISSKINNED, 0, 0), 1);
  struct Case {
    uint8_t state;
    bool focused, enabled;
    int image;
  } cases[] = {
      {0, false, true, bfNormal},           {Hot, false, true, bfHot},     {Down, false, true, bfPressed},
      {Hot | Down, false, true, bfPressed}, {0, true, true, bfFocused},    {Hot, true, true, bfHot},
      {Down, true, true, bfPressed},        {0, false, false, bfDisabled}, {Down, false, false, bfDisabled},
  };
  for (const Case& c : cases) {
    EnableWindow(button, c.enabled);
    SetFocus(c.focused ? button : other);
    skin->state = c.state;
    TBitmap shot = Draw(*skin);
    SCOPED_TRACE(testing::Message() << "state " << int(c.state) << " focused " << c.focused << " enabled "
                                    << c.enabled);
    EXPECT_EQ(shot.Pixel(4, 4), kImage[c.image]);
    EXPECT_EQ(shot.Pixel(kButtonWidth - 5, kButtonHeight - 5), kImage[c.image]);
  }
}

TEST_F(BareButtonTest, CaptionIsCentredInTheFacesColour) {
  TBitmap shot = Draw(*skin);
  TRect text = BoxOf(shot, Ink(kNormalInk));
  ASSERT_GT(text.Width(), 4);
  // Centred across; vertically one pixel above the middle (the font's cell, not its ink, is placed).
  EXPECT_LE(std::abs((text.Left + text.Right) - kButtonWidth), 2);
  EXPECT_LE(std::abs((text.Top + text.Bottom) - kButtonHeight), 4);
  skin->state = Hot;
  EXPECT_EQ(BoxOf(Draw(*skin), Ink(kNormalInk)), TRect{});
  EXPECT_EQ(BoxOf(Draw(*skin), Ink(kOverInk)), text);
  skin->state = Down;
  EXPECT_EQ(BoxOf(Draw(*skin), Ink(kDownInk)), text);
}

TEST_F(BareButtonTest, DisabledCaptionUsesTheShadowColour) {
  EnableWindow(button, FALSE);
  TBitmap shot = Draw(*skin);
  TRect text = BoxOf(shot, ColorToPixel(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_GT(text.Width(), 4);
  EXPECT_EQ(BoxOf(shot, Ink(kNormalInk)), TRect{});
}

TEST_F(BareButtonTest, FocusRectangleSurroundsTheCaptionUnlessTheSkinSaysNo) {
  SetFocus(button);
  TBitmap shot = Draw(*skin);
  TRect text = BoxOf(shot, Ink(kNormalInk));
  ASSERT_GT(text.Width(), 0);
  // Some pixel on the line two to four pixels left of the ink differs from the face.
  auto ringTouched = [&](const TBitmap& s) {
    for (int x = text.Left - 5; x < text.Left - 1; ++x)
      if (s.Pixel(x, (text.Top + text.Bottom) / 2) != kImage[bfFocused]) return true;
    return false;
  };
  EXPECT_TRUE(ringTouched(shot));
  data.SetOptions(SetOf(xoNoFocusRect));
  EXPECT_FALSE(ringTouched(Draw(*skin)));
}

TEST_F(BareButtonTest, DoubleBarSplitsTheCaptionInTwoLines) {
  SetWindowTextW(button, L"HH");
  TRect one = BoxOf(Draw(*skin, kButtonWidth, 48), Ink(kNormalInk));
  SetWindowTextW(button, L"HH||HH");
  TRect two = BoxOf(Draw(*skin, kButtonWidth, 48), Ink(kNormalInk));
  EXPECT_EQ(two.Width(), one.Width());
  EXPECT_GE(two.Height(), 2 * one.Height());
}

TEST_F(BareButtonTest, NothingIsDrawnWithoutAButtonImage) {
  data.Button.Map = TBitmap();
  TDibSection dib(kButtonWidth, kButtonHeight);
  RECT all{0, 0, kButtonWidth, kButtonHeight};
  FillRect(dib.DC(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  skin->DrawControl(dib.DC(), all);
  EXPECT_EQ(dib.ToBitmap().Pixel(4, 4), 0u);
}

// --- real input on the display

TEST_F(BareButtonTest, PressAndReleaseInsideClicksOnce) {
  MoveMouse(CentreOf(button));
  EXPECT_TRUE(PumpUntil([&] { return (skin->state & Hot) != 0; }));
  MouseButton(true);
  EXPECT_TRUE(PumpUntil([&] { return (skin->state & Down) != 0; }));
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(GetFocus(), button);
  EXPECT_EQ(gCommands, 0);
  MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return gCommands > 0; }));
  Pump(100);
  EXPECT_EQ(gCommands, 1);
  EXPECT_EQ(gLastCommand, MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(skin->state & Down, 0);
}

TEST_F(BareButtonTest, ReleaseOutsideDoesNotClickAndLetsGo) {
  MoveMouse(CentreOf(button));
  MouseButton(true);
  ASSERT_TRUE(PumpUntil([&] { return (skin->state & Down) != 0; }));
  MoveMouse(Outside(button));
  EXPECT_TRUE(PumpUntil([&] { return skin->state == 0; }));  // neither pressed nor hot outside
  MouseButton(false);
  Pump(100);
  EXPECT_EQ(gCommands, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(skin->state & Down, 0);
  // A later click elsewhere in the window is not the button's.
  POINT away = CentreOf(parent);
  away.y += 40;
  MoveMouse(away);
  MouseButton(true);
  MouseButton(false);
  Pump(100);
  EXPECT_EQ(gCommands, 0);
}

TEST_F(BareButtonTest, LosingTheCaptureEndsThePress) {
  MoveMouse(CentreOf(button));
  MouseButton(true);
  ASSERT_TRUE(PumpUntil([&] { return GetCapture() == button; }));
  SetCapture(parent);
  Pump(30);
  EXPECT_EQ(skin->state & Down, 0);
  ReleaseCapture();
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(gCommands, 0);
}

TEST_F(BareButtonTest, HotOnHoverGoesOnLeave) {
  MoveMouse(CentreOf(button));
  EXPECT_TRUE(PumpUntil([&] { return (skin->state & Hot) != 0; }));
  MoveMouse(Outside(button));
  EXPECT_TRUE(PumpUntil([&] { return (skin->state & Hot) == 0; }));
  // The skinner's hover tracking says the same.
  MoveMouse(CentreOf(button));
  ASSERT_TRUE(PumpUntil([&] { return (skin->state & Hot) != 0; }));
  skin->MouseLeave();
  EXPECT_EQ(skin->state & Hot, 0);
}

TEST_F(BareButtonTest, KeyboardAndMessageClicksCountOnce) {
  SetFocus(button);
  Pump(20);
  Key(VK_SPACE, true);
  EXPECT_NE(skin->state & Down, 0);  // the pressed look while the key is held
  Key(VK_SPACE, false);
  Pump(60);
  EXPECT_EQ(gCommands, 1);
  EXPECT_EQ(skin->state & Down, 0);
  Tap(VK_RETURN);
  Pump(60);
  EXPECT_EQ(gCommands, 2);
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump(60);
  EXPECT_EQ(gCommands, 3);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BareButtonTest, MnemonicClicksOnce) {
  SetWindowTextW(button, L"&Go");
  SetFocus(other);
  Pump(20);
  Key(VK_MENU, true);
  Tap('G');
  Key(VK_MENU, false);
  Pump(80);
  EXPECT_EQ(gCommands, 1);
  // Alt shows the keyboard cues, which the system button paints at once itself; the skin stays on top.
  HDC dc = GetDC(button);
  TPixel shown = ColorToPixel(GetPixel(dc, 4, 4));
  ReleaseDC(button, dc);
  // (The cursor may still be over the button from an earlier case: any skin image will do.)
  EXPECT_TRUE(std::find(std::begin(kImage) + 1, std::end(kImage), shown) != std::end(kImage))
      << std::hex << shown;
}

TEST_F(BareButtonTest, DisabledButtonNeverClicks) {
  EnableWindow(button, FALSE);
  MoveMouse(CentreOf(button));
  MouseButton(true);
  MouseButton(false);
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump(80);
  EXPECT_EQ(gCommands, 0);
  EXPECT_EQ(skin->state, 0);
}

// A bare window of a class named "TButton" (another library's button) tells
// its parent with a command whose wParam is 0.
TEST_F(BareButtonTest, ForeignButtonClassSendsCommandZero) {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TButton";
    return RegisterClassW(&wc);
  }();
  HWND foreign = CreateWindowExW(0, MAKEINTATOM(cls), L"f", WS_CHILD | WS_VISIBLE, 20, 80, 60, 24, parent,
                                 reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
  TSkinButton foreignSkin(nullptr);
  foreignSkin.Inithwnd(foreign, &data, nullptr);
  gAllCommands.clear();
  SendMessageW(foreign, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(foreign, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(30);
  ASSERT_EQ(gAllCommands.size(), 1u);
  EXPECT_EQ(gAllCommands[0].first, 0u);
  EXPECT_EQ(gAllCommands[0].second, reinterpret_cast<LPARAM>(foreign));
  DestroyWindow(foreign);
}

// A framework button on a framework form: its OnClick counts.
class FrameworkButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    FillButtonSkin(data);
    form = new fw::TForm(nullptr);
    form->SetBounds(60, 60, 320, 160);
    form->SetBorderStyle(fw::bsNone);
    button = new fw::TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, kButtonWidth, kButtonHeight);
    button->SetCaption(L"&Run");
    // The default button: Enter on it clicks it (the dialog manager asks its dialog code).
    button->SetDefault(true);
    button->OnClick.handler = [this](fw::TObject*) { ++clicks; };
    second = new fw::TButton(form);
    second->SetParent(form);
    second->SetBounds(200, 20, 60, 24);
    second->SetCaption(L"x");
    form->Show();
    SetForegroundWindow(form->Handle());
    skin = new TSkinButton(button);
    skin->Init(nullptr, &data, false);
    second->SetFocus();
    Pump(30);
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    delete form;
    Pump(10);
  }

  TSkinData data{nullptr};
  fw::TForm* form = nullptr;
  fw::TButton* button = nullptr;
  fw::TButton* second = nullptr;
  TSkinButton* skin = nullptr;  // owned by the button
  int clicks = 0;
};

TEST_F(FrameworkButtonTest, DefaultButtonShowsTheFocusedImage) {
  button->SetDefault(false);
  TBitmap shot = Draw(*skin);
  EXPECT_EQ(shot.Pixel(4, 4), kImage[bfNormal]);
  button->SetDefault(true);
  EXPECT_EQ(Draw(*skin).Pixel(4, 4), kImage[bfFocused]);
  skin->state = Hot;
  EXPECT_EQ(Draw(*skin).Pixel(4, 4), kImage[bfHot]);
  button->SetEnabled(false);
  EXPECT_EQ(Draw(*skin).Pixel(4, 4), kImage[bfDisabled]);
}

TEST_F(FrameworkButtonTest, EveryWayOfClickingClicksOnce) {
  HWND h = button->Handle();
  int mouseDowns = 0;
  button->OnMouseDown = [&](fw::TObject*, fw::TMouseButton b, fw::TShiftState, int x, int y) {
    ++mouseDowns;
    EXPECT_EQ(b, fw::mbLeft);
    EXPECT_NEAR(x, kButtonWidth / 2, 2);
    EXPECT_NEAR(y, kButtonHeight / 2, 2);
  };
  MoveMouse(CentreOf(h));
  MouseButton(true);
  MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return clicks > 0; }));
  Pump(60);
  EXPECT_EQ(clicks, 1);
  // The swallowed press still reaches the control's mouse-down event, once.
  EXPECT_EQ(mouseDowns, 1);
  button->OnMouseDown = nullptr;
  Key(VK_SPACE, true);
  Key(VK_SPACE, false);
  Pump(60);
  EXPECT_EQ(clicks, 2);
  Tap(VK_RETURN);
  Pump(60);
  EXPECT_EQ(clicks, 3);
  second->SetFocus();
  Key(VK_MENU, true);
  Tap('R');
  Key(VK_MENU, false);
  Pump(80);
  EXPECT_EQ(clicks, 4);
  SendMessageW(h, BM_CLICK, 0, 0);
  Pump(60);
  EXPECT_EQ(clicks, 5);
  // Pressed, dragged off and released: nothing.
  MoveMouse(CentreOf(h));
  MouseButton(true);
  MoveMouse(Outside(h));
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(clicks, 5);
  EXPECT_EQ(GetCapture(), nullptr);
  button->SetEnabled(false);
  MoveMouse(CentreOf(h));
  MouseButton(true);
  MouseButton(false);
  SendMessageW(h, BM_CLICK, 0, 0);
  Pump(60);
  EXPECT_EQ(clicks, 5);
}

}  // namespace
}  // namespace skin
