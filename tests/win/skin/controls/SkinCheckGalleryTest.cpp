// A test window of check boxes, radio buttons and group frames in every
// state, skinned with our own skin, read back from the screen and compared
// with stored references (tests/win/skin/controls/reference, 24-bit BMP).
// Pixels may differ by anti-aliasing inside captions only. A missing or
// different reference fails the case and leaves the capture in the working
// folder, to be looked at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/Form.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

std::string WinPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return !path.empty() && path[0] == '\\' ? "Z:" + path : path;
}

std::string ReferencePath(const std::string& name) {
  std::string here = WinPath(__FILE__);
  return here.substr(0, here.find_last_of('\\')) + "\\reference\\" + name + ".bmp";
}

void Pump(DWORD ms) {
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

bool Near(TPixel a, TPixel b, int tolerance) {
  return std::abs(PixelRed(a) - PixelRed(b)) <= tolerance &&
         std::abs(PixelGreen(a) - PixelGreen(b)) <= tolerance &&
         std::abs(PixelBlue(a) - PixelBlue(b)) <= tolerance;
}

class SkinCheckGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = QM_SKIN_FILE;
    if (path.empty()) GTEST_SKIP() << "no skin was built";
    TMemoryStream stored;
    try {
      stored.LoadFromFile(WinPath(path));
    } catch (const std::exception& e) {
      GTEST_SKIP() << "skin not readable: " << e.what();
    }
    data.ReadSkinStream(stored);
    ASSERT_FALSE(data.Empty);
    ASSERT_FALSE(data.Button.CheckMap.Empty());
    form = new fw::TForm(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(40, 40, 360, 220);
    form->SetClientSize(360, 220);
    form->HandleNeeded();
    font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  }
  void TearDown() override {
    for (TSkinControl* object : objects) delete object;
    delete form;
    if (dialog) DestroyWindow(dialog);
    if (font) DeleteObject(font);
  }

  // A window as dialogs are: the system's face colour, children not clipped.
  HWND DialogLike() {
    static ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"QuellmarkCheckGalleryDialog";
      return RegisterClassExW(&wc);
    }();
    dialog = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 40, 40, 360, 220, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    return dialog;
  }

  HWND Bare(DWORD style, const wchar_t* text, int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                                nullptr, nullptr, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
  }
  template <class T>
  T* SkinBare(HWND hwnd) {
    auto* object = new T(nullptr);
    object->Inithwnd(hwnd, &data, nullptr);
    objects.push_back(object);
    return object;
  }

  TBitmap Shot(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    TBitmap shot = ReadDcPixels(screen, Rect(r.left, r.top, r.right, r.bottom));
    ReleaseDC(nullptr, screen);
    return shot;
  }

  // Compares with the stored reference; `text` are the caption areas where
  // anti-aliasing may differ.
  void ExpectLooksLikeReference(const TBitmap& shot, const std::string& name,
                                const std::vector<TRect>& text) {
    std::vector<uint8_t> bytes = shot.SaveToBmp();
    std::ofstream(name + ".bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ifstream in(ReferencePath(name), std::ios::binary);
    ASSERT_TRUE(in) << "no reference " << ReferencePath(name) << "; the capture is " << name << ".bmp";
    std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TBitmap reference;
    ASSERT_TRUE(reference.LoadFromBmp(stored));
    ASSERT_EQ(shot.Width(), reference.Width());
    ASSERT_EQ(shot.Height(), reference.Height());
    int outside = 0, inside = 0, textArea = 0;
    for (const TRect& t : text) textArea += t.Width() * t.Height();
    for (int32_t y = 0; y < shot.Height(); ++y)
      for (int32_t x = 0; x < shot.Width(); ++x) {
        bool inText = false;
        for (const TRect& t : text) inText |= x >= t.Left && x < t.Right && y >= t.Top && y < t.Bottom;
        if (Near(shot.Pixel(x, y), reference.Pixel(x, y), inText ? 48 : 2)) continue;
        ++(inText ? inside : outside);
      }
    EXPECT_EQ(outside, 0) << name << ": pixels outside the captions differ from the reference";
    EXPECT_LE(inside, textArea / 50) << name << ": caption pixels differ from the reference";
  }

  TSkinData data{nullptr};
  fw::TForm* form = nullptr;
  HWND dialog = nullptr;
  HFONT font = nullptr;
  std::vector<TSkinControl*> objects;
};

// Bare windows (kind 0): the window paints itself, the skin puts its check
// and radio images over it and redraws the group frame.
TEST_F(SkinCheckGalleryTest, BareCheckAndRadioWindowsInEveryState) {
  struct Row {
    DWORD style;
    const wchar_t* text;
    WPARAM check;
    bool enabled;
  };
  const Row checks[] = {
      {BS_AUTO3STATE, L"Unchecked", BST_UNCHECKED, true},
      {BS_AUTO3STATE, L"Checked", BST_CHECKED, true},
      {BS_AUTO3STATE, L"Greyed", BST_INDETERMINATE, true},
      {BS_AUTO3STATE, L"Disabled", BST_UNCHECKED, false},
      {BS_AUTO3STATE, L"Disabled checked", BST_CHECKED, false},
      {BS_AUTO3STATE, L"Focused", BST_UNCHECKED, true},
  };
  DialogLike();
  std::vector<TRect> text;
  HWND focusTarget = nullptr;
  int y = 10;
  for (const Row& row : checks) {
    HWND hwnd = Bare(row.style | WS_TABSTOP, row.text, 10, y, 150, 20);
    SendMessageW(hwnd, BM_SETCHECK, row.check, 0);
    EnableWindow(hwnd, row.enabled);
    SkinBare<TSkinCheckBox>(hwnd);
    if (std::wstring(row.text) == L"Focused") focusTarget = hwnd;
    text.push_back(Rect(10 + 14, y, 160, y + 20));
    y += 24;
  }
  HWND group = Bare(BS_GROUPBOX, L"Group", 180, 6, 170, 130);
  SkinBare<TSkinGroupBox>(group);
  text.push_back(Rect(180, 6, 350, 22));
  const Row radios[] = {
      {BS_RADIOBUTTON, L"Radio", BST_UNCHECKED, true},
      {BS_RADIOBUTTON, L"Radio checked", BST_CHECKED, true},
      {BS_RADIOBUTTON, L"Radio disabled", BST_CHECKED, false},
  };
  y = 30;
  for (const Row& row : radios) {
    HWND hwnd = Bare(row.style, row.text, 192, y, 150, 20);
    SendMessageW(hwnd, BM_SETCHECK, row.check, 0);
    EnableWindow(hwnd, row.enabled);
    SkinBare<TSkinRadioButton>(hwnd);
    text.push_back(Rect(192 + 14, y, 342, y + 20));
    y += 28;
  }
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
  SetFocus(focusTarget);
  Pump(150);
  ExpectLooksLikeReference(Shot(dialog), "check-gallery-bare", text);
}

// A framework group box is drawn whole by the skin (kind 1).
TEST_F(SkinCheckGalleryTest, FrameworkGroupBoxDrawnWhole) {
  auto* box = new fw::TGroupBox(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 200, 120);
  box->SetCaption(L"Framework group");
  box->HandleNeeded();
  // A windowless child: painted by the skin, since the box's own painting is swallowed.
  auto* label = new fw::TLabel(form);
  label->SetParent(box);
  label->SetBounds(16, 40, 120, 16);
  label->SetTransparent(true);
  label->SetCaption(L"Label inside");
  auto* object = new TSkinGroupBox(box);
  object->Init(nullptr, &data, true);
  EXPECT_EQ(object->kind, 1);
  form->Show();
  Pump(150);
  ExpectLooksLikeReference(Shot(form->Handle()), "check-gallery-groupbox",
                           {Rect(10, 10, 210, 28), Rect(26, 50, 146, 66)});
}

}  // namespace
}  // namespace skin
