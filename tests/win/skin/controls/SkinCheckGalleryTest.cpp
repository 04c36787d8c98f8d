// A test window of check boxes, radio buttons and group frames in every
// state, skinned with our own skin, read back from the screen and compared
// with stored references (tests/win/skin/controls/reference, 24-bit BMP).
// Pixels may differ by anti-aliasing inside captions only. A missing or
// different reference fails the case and leaves the capture beside the
// test program, to be looked at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gui/ControlGallery.h"
#include "gui/Form.h"
#include "gui/GroupBox.h"
#include "gui/Label.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"
#include "win/LookFiles.h"
#include "win/gui/RealInput.h"

namespace skin {
namespace {

class SkinCheckGalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (auto why = look::ReadBuiltSkin(data)) GTEST_SKIP() << *why;
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
  fw::test::Pump(150);
  look::ExpectLooksLikeReference(look::ClientShot(dialog),
                                 look::ReferenceBeside(__FILE__, "check-gallery-bare"), "check-gallery-bare",
                                 text);
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
  fw::test::Pump(150);
  look::ExpectLooksLikeReference(look::ClientShot(form->Handle()),
                                 look::ReferenceBeside(__FILE__, "check-gallery-groupbox"),
                                 "check-gallery-groupbox", {Rect(10, 10, 210, 28), Rect(26, 50, 146, 66)});
}

// The framework's check boxes, radio buttons, radio group and group boxes,
// drawn whole by the skin (kind 1).
class SkinCheckFrameworkGalleryTest : public SkinCheckGalleryTest {
 protected:
  void SetUp() override {
    SkinCheckGalleryTest::SetUp();
    if (IsSkipped()) return;
    gallery = fw::MakeControlGallery(nullptr);
    for (fw::TCheckBox* c : {gallery.checkUnchecked, gallery.checkChecked, gallery.checkGrayed,
                             gallery.checkDisabled, gallery.checkLeftText})
      Attach<TSkinCheckBox>(c, false);
    std::vector<fw::TRadioButton*> radios{gallery.radioChecked, gallery.radioUnchecked,
                                          gallery.radioDisabled};
    for (fw::TRadioButton* r : gallery.radioGroup->Buttons()) radios.push_back(r);
    for (fw::TRadioButton* r : radios) Attach<TSkinRadioButton>(r, false);
    for (fw::TGroupBox* g :
         {gallery.checkFrame, gallery.radioFrame, static_cast<fw::TGroupBox*>(gallery.radioGroup)})
      Attach<TSkinGroupBox>(g, true);
    gallery.form->Show();
    SetForegroundWindow(gallery.form->Handle());
    gallery.checkUnchecked->SetFocus();
    fw::test::Pump(150);
  }
  void TearDown() override {
    delete gallery.form;  // the objects go with their controls
    SkinCheckGalleryTest::TearDown();
  }
  template <class T>
  T* Attach(fw::TWinControl* control, bool acolor) {
    auto* object = new T(control);
    object->Init(nullptr, &data, acolor);
    EXPECT_EQ(object->kind, 1) << std::string(control->ClassName().begin(), control->ClassName().end());
    return object;
  }
  // The rectangle of a control in the form's client area.
  RECT ClientRect(fw::TControl* c) { return c->BoundsRect(); }

  fw::TControlGallery gallery;
};

TEST_F(SkinCheckFrameworkGalleryTest, EveryStateLooksAsStored) {
  TBitmap client = look::ClientShot(gallery.form->Handle());
  // The check boxes, radio buttons and radio group: (8, 8) to (432, 192).
  TBitmap shot = client.Crop(Rect(8, 8, 432, 192));
  // Only the frames count: the buttons below belong to another family.
  std::vector<TRect> frames;
  for (fw::TControl* g :
       {static_cast<fw::TControl*>(gallery.checkFrame), static_cast<fw::TControl*>(gallery.radioFrame),
        static_cast<fw::TControl*>(gallery.radioGroup)}) {
    RECT r = g->BoundsRect();
    frames.push_back(Rect(r.left - 8, r.top - 8, r.right - 8, r.bottom - 8));
  }
  for (int32_t y = 0; y < shot.Height(); ++y)
    for (int32_t x = 0; x < shot.Width(); ++x) {
      bool inFrame = false;
      for (const TRect& f : frames) inFrame |= x >= f.Left && x < f.Right && y >= f.Top && y < f.Bottom;
      if (!inFrame) shot.SetPixel(x, y, 0);
    }
  std::vector<TRect> text;
  auto captionOf = [&](fw::TControl* c, fw::TWinControl* parent) {
    RECT r = c->BoundsRect();
    RECT p = parent ? parent->BoundsRect() : RECT{0, 0, 0, 0};
    text.push_back(Rect(p.left + r.left - 8, p.top + r.top - 8, p.left + r.right - 8, p.top + r.bottom - 8));
  };
  for (fw::TControl* c : gallery.checkFrame->Controls()) captionOf(c, gallery.checkFrame);
  for (fw::TControl* c : gallery.radioFrame->Controls()) captionOf(c, gallery.radioFrame);
  for (fw::TControl* c : gallery.radioGroup->Controls()) captionOf(c, gallery.radioGroup);
  for (fw::TControl* g :
       {static_cast<fw::TControl*>(gallery.checkFrame), static_cast<fw::TControl*>(gallery.radioFrame),
        static_cast<fw::TControl*>(gallery.radioGroup)}) {
    RECT r = g->BoundsRect();
    text.push_back(Rect(r.left - 8, r.top - 8, r.right - 8, r.top - 8 + 16));
  }
  look::ExpectLooksLikeReference(shot, look::ReferenceBeside(__FILE__, "check-gallery-framework"),
                                 "check-gallery-framework", text);
}

// Where pixel (6, row) of the check image of a framework check box is on the screen.
POINT ImagePoint(fw::TWinControl* c, int32_t imageHeight, int32_t row) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  return POINT{r.left + 6, r.top + (r.bottom - r.top - imageHeight) / 2 + row};
}

TPixel ScreenPixel(POINT p) {
  HDC screen = GetDC(nullptr);
  TBitmap pixel = ReadDcPixels(screen, Rect(p.x, p.y, p.x + 1, p.y + 1));
  ReleaseDC(nullptr, screen);
  return pixel.Pixel(0, 0);
}

TEST_F(SkinCheckFrameworkGalleryTest, ClickAndSpaceToggleOnceAndThePictureFollows) {
  fw::TCheckBox* box = gallery.checkUnchecked;
  int clicks = 0;
  box->OnClick.handler = [&](fw::TObject*) { ++clicks; };
  // The unchecked and the checked image's pixel at one place, as this skin has them.
  const TBitmap& strip = data.Button.CheckMap;
  int32_t frameWidth = strip.Width() / data.Button.checkframe;
  int32_t row = strip.Height() / 2;
  POINT centre = ImagePoint(box, strip.Height(), row);
  TPixel unchecked = strip.Pixel(6, row);
  TPixel checked = strip.Pixel(frameWidth + 6, row);
  ASSERT_NE(unchecked, checked);
  EXPECT_EQ(ScreenPixel(centre), unchecked);
  RECT r;
  GetWindowRect(box->Handle(), &r);
  SetCursorPos(r.left + 40, (r.top + r.bottom) / 2);
  fw::test::SendMouseButton(true);
  fw::test::Pump(50);
  fw::test::SendMouseButton(false);
  fw::test::Pump(100);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ScreenPixel(centre), checked);
  ASSERT_EQ(GetFocus(), box->Handle());
  fw::test::Key(VK_SPACE, true);
  fw::test::Pump(30);
  fw::test::Key(VK_SPACE, false);
  fw::test::Pump(100);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(ScreenPixel(centre), unchecked);
}

}  // namespace
}  // namespace skin
