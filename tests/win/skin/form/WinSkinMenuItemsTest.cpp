// Owner-drawn menu items of a skinned window: items drawn into memory DCs
// and read back (face by state, caption colours, check mark, separators,
// the mirrored layout), measured through WM_MEASUREITEM and the framework's
// handlers, and owner drawing of framework menus switched on and off.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "gui/Form.h"
#include "gui/Menus.h"
#include "skin/form/MenuItemLayout.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/SkinTestArchive.h"
#include "skin/model/WinSkinData.h"

namespace skin {
namespace {

constexpr TPixel kNormalFace = MakePixel(220, 220, 255);
constexpr TPixel kSelectedFace = MakePixel(255, 200, 200);
constexpr TPixel kSeparatorLine = MakePixel(50, 50, 50);
constexpr TPixel kMenuFill = MakePixel(250, 250, 250);
constexpr TPixel kMenuText = MakePixel(0, 0, 255);
constexpr TPixel kHilightText = MakePixel(160, 0, 160);
constexpr TPixel kShadowText = MakePixel(0, 160, 0);
constexpr TPixel kMagenta = 0xFF00FF;
constexpr UINT kOpen = 0x5001, kOff = 0x5002, kTicked = 0x5003;

int Distance(TPixel a, TPixel b) {
  return std::abs(PixelRed(a) - PixelRed(b)) + std::abs(PixelGreen(a) - PixelGreen(b)) +
         std::abs(PixelBlue(a) - PixelBlue(b));
}

// How many pixels of `picture` are (nearly) `colour`.
int Count(const TBitmap& picture, TPixel colour) {
  int n = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (Distance(picture.Pixel(x, y), colour) < 40) ++n;
  return n;
}

// The box of the pixels (nearly) `colour`; empty when none.
TRect Box(const TBitmap& picture, TPixel colour, int32_t right) {
  TRect box{right, picture.Height(), 0, 0};
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < right; ++x)
      if (Distance(picture.Pixel(x, y), colour) < 40) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TPixel ToPixel(COLORREF c) {
  return ColorToPixel(c);
}

std::string Rgb(TPixel p) {
  return std::to_string(PixelRed(p)) + " " + std::to_string(PixelGreen(p)) + " " +
         std::to_string(PixelBlue(p));
}

class MenuItemsTest : public testing::Test {
 protected:
  void SetUp() override {
    InstallWinSkinPlatform();
    Load(false);
    hwnd = CreateWindowExW(0, L"STATIC", L"items", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kOpen, L"Open");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kOff, L"Switched off");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, kTicked, L"Ticked");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    form = std::make_unique<TWinSkinForm>(nullptr);
    form->hwnd = hwnd;
    form->fsd = &data;
    form->hmenu = menu;
    form->activemenu = menu;
  }
  void TearDown() override {
    RemovePropW(hwnd, L"QuellmarkFormSkinner");
    form.reset();
    DestroyMenu(menu);
    DestroyWindow(hwnd);
  }
  // The skin: a MenuItem strip (normal face, separator with a dark bottom
  // row over magenta, -, selected face, -) and the scheme colours above.
  void Load(bool shadowIsMenuText) {
    test::TSkinFiles files;
    files.ini =
        "[TitlebarSkin]\nSkinName=Items\n[MenuItem]\nImage=menuitem.bmp\nLeftWidth=4\nTopHeight="
        "2\nRightWidth=4\n"
        "BottomHeight=2\nTrans=1\n[Colours]\nMenu=250 250 250\nMenuText=0 0 255\nHilightText=160 0 160\n"
        "ButtonShadow=" +
        std::string(shadowIsMenuText ? "0 0 255" : "0 160 0") + "\nHilight=10 10 10\n";
    TBitmap strip(50, 20, kMagenta);
    strip.FillRect(Rect(0, 0, 10, 20), kNormalFace);
    strip.FillRect(Rect(10, 19, 20, 20), kSeparatorLine);
    strip.FillRect(Rect(30, 0, 40, 20), kSelectedFace);
    files.Bitmap("menuitem.bmp", strip);
    ASSERT_TRUE(test::LoadSkin(data, files));
    ASSERT_NE(data.MenuItem, nullptr);
  }

  TBitmap DrawNative(UINT id, bool selected, int width = 120, int height = 20) {
    TDibSection target(width, height);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = target.DC();
    dis.rcItem = RECT{0, 0, width, height};
    EXPECT_TRUE(form->DrawItemMessage(dis));
    return target.ToBitmap();
  }

  TBitmap DrawFramework(fw::TMenuItem& item, bool selected, int width = 120, int height = 20) {
    TDibSection target(width, height);
    form->DrawMenuItem(&item, target.DC(), RECT{0, 0, width, height}, selected);
    return target.ToBitmap();
  }

  TSkinData data{nullptr};
  HWND hwnd = nullptr;
  HMENU menu = nullptr;
  std::unique_ptr<TWinSkinForm> form;
};

TEST_F(MenuItemsTest, FaceIsImageOneOrFourWithTheCaptionInTheSchemeColours) {
  TBitmap normal = DrawNative(kOpen, false);
  TBitmap selected = DrawNative(kOpen, true);
  EXPECT_EQ(normal.Pixel(115, 10), kNormalFace) << Rgb(normal.Pixel(115, 10));
  EXPECT_EQ(selected.Pixel(115, 10), kSelectedFace);
  EXPECT_GT(Count(normal, kMenuText), 5);
  EXPECT_EQ(Count(normal, kHilightText), 0);
  EXPECT_GT(Count(selected, kHilightText), 5);
  EXPECT_EQ(Count(selected, kMenuText), 0);
  // The caption starts after the glyph cell: 1 + left margin 4 + 16 + 3.
  const TRect text = Box(normal, kMenuText, 120);
  EXPECT_GE(text.Left, 24);
  EXPECT_LE(text.Left, 29);
}

TEST_F(MenuItemsTest, DisabledItemsAreDrawnInTheShadowColour) {
  TBitmap off = DrawNative(kOff, false);
  EXPECT_GT(Count(off, kShadowText), 5);
  EXPECT_EQ(Count(off, kMenuText), 0);
}

TEST_F(MenuItemsTest, DisabledTextTakesTheSystemShadowWhenTheSkinsShadowIsItsMenuText) {
  Load(true);
  TBitmap off = DrawNative(kOff, false);
  EXPECT_EQ(Count(off, kMenuText), 0);
  EXPECT_GT(Count(off, ToPixel(GetSysColor(COLOR_BTNSHADOW))), 5);
}

TEST_F(MenuItemsTest, CheckMarkIsCentredInItsSixteenPixelCell) {
  TBitmap ticked = DrawNative(kTicked, false, 120, 22);
  const TPixel ink = ToPixel(GetSysColor(COLOR_BTNTEXT));
  // The cell runs from 5 to 21 (1 + left margin 4, 16 wide); the caption starts at 24.
  const TRect mark = Box(ticked, ink, 23);
  ASSERT_GT(mark.Right, mark.Left) << "no check mark";
  const int centreX2 = mark.Left + mark.Right, cellCentreX2 = 5 + 21;
  EXPECT_LE(std::abs(centreX2 - cellCentreX2), 4) << mark.Left << ".." << mark.Right;
  const int centreY2 = mark.Top + mark.Bottom;
  EXPECT_LE(std::abs(centreY2 - 22), 4) << mark.Top << ".." << mark.Bottom;
  // An unchecked item has none.
  EXPECT_EQ(Box(DrawNative(kOpen, false), ink, 23).Right, 0);
}

TEST_F(MenuItemsTest, ANativeSeparatorIsAnEtchedLineOverTheFace) {
  TBitmap line = DrawNative(0, false, 120, 9);
  const TPixel shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
  int onRow = 0;
  for (int x = 0; x < 120; ++x)
    if (Distance(line.Pixel(x, 4), shadow) < 40) ++onRow;
  EXPECT_GT(onRow, 60);
  EXPECT_EQ(line.Pixel(60, 1), kNormalFace);
}

TEST_F(MenuItemsTest, AFrameworkSeparatorIsImageTwosBottomRowsOverTheMenusFill) {
  fw::TMenuItem line(nullptr);
  line.SetCaption(L"-");
  TBitmap drawn = DrawFramework(line, false, 100, 8);
  EXPECT_EQ(drawn.Pixel(50, 7), kSeparatorLine);
  EXPECT_EQ(drawn.Pixel(50, 2), kMenuFill);
}

TEST_F(MenuItemsTest, FrameworkItemsUseTheirOwnState) {
  fw::TMenuItem item(nullptr);
  item.SetCaption(L"Save");
  item.SetShortCut(static_cast<fw::TShortCut>(fw::scCtrl | 'S'));
  TBitmap drawn = DrawFramework(item, false, 160, 20);
  EXPECT_EQ(drawn.Pixel(80, 1), kNormalFace);
  // Caption on the left, shortcut ending 11 pixels before the right edge.
  const TRect ink = Box(drawn, kMenuText, 160);
  EXPECT_GE(ink.Left, 24);
  EXPECT_GT(ink.Right, 120);
  EXPECT_LE(ink.Right, 149);
  item.SetEnabled(false);
  EXPECT_GT(Count(DrawFramework(item, true, 160, 20), kShadowText), 5);
}

TEST_F(MenuItemsTest, AMirroredMenuPutsTheCheckMarkAtTheRightAndTheCaptionBeforeIt) {
  fw::TPopupMenu popup(nullptr);
  popup.SetRightToLeft(true);
  auto* item = new fw::TMenuItem(&popup);
  item->SetCaption(L"Ticked");
  item->SetChecked(true);
  popup.Add(item);
  TBitmap drawn = DrawFramework(*item, false, 120, 22);
  const TRect mark = Box(drawn, ToPixel(GetSysColor(COLOR_BTNTEXT)), 120);
  // Cell: right = 120 - 1 - 4, 16 wide.
  EXPECT_GE(mark.Left, 99);
  EXPECT_LE(mark.Right, 116);
  const TRect text = Box(drawn, kMenuText, 120);
  EXPECT_LE(text.Right, 96);
  EXPECT_GT(text.Right, 60);
}

TEST_F(MenuItemsTest, WithoutAMenuItemElementItemsArePlainInSchemeColours) {
  data.MenuItem.reset();
  TBitmap selected = DrawNative(kOpen, true);
  EXPECT_EQ(selected.Pixel(115, 10), MakePixel(10, 10, 10));
  EXPECT_GT(Count(selected, kHilightText), 5);
  TBitmap normal = DrawNative(kOpen, false);
  EXPECT_EQ(normal.Pixel(115, 10), kMenuFill);
}

TEST_F(MenuItemsTest, NativeItemsAreMeasuredByTheirText) {
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = kOpen;
  mis.itemHeight = 15;
  ASSERT_TRUE(form->MeasureItemMessage(mis));
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, form->MenuItemFont());
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Open", 4, &text);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), text.cx + 26 + 4);
  EXPECT_EQ(mis.itemHeight, 19u);
  // The separator has no text: 8 pixels high.
  MEASUREITEMSTRUCT sep{};
  sep.CtlType = ODT_MENU;
  sep.itemID = 0;
  sep.itemHeight = 15;
  ASSERT_TRUE(form->MeasureItemMessage(sep));
  EXPECT_EQ(sep.itemHeight, 8u);
  // Not a menu item: not ours.
  MEASUREITEMSTRUCT button{};
  button.CtlType = ODT_BUTTON;
  EXPECT_FALSE(form->MeasureItemMessage(button));
}

TEST_F(MenuItemsTest, FrameworkItemsGrowOverTheirOwnMeasurement) {
  fw::TMainMenu mainMenu(nullptr);
  auto* item = new fw::TMenuItem(&mainMenu);
  item->SetCaption(L"退出");
  mainMenu.Add(item);
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, form->MenuItemFont());
  int w0 = 0, h0 = 0;
  item->DefaultMeasure(dc, w0, h0);
  int w = 0, h = 0;
  form->MeasureItem(item, dc, w, h);
  EXPECT_EQ(w, w0 + 35 + 4);
  EXPECT_EQ(h, h0);
  int pw = w0, ph = h0;
  form->MeasurePopupItem(item, dc, pw, ph);
  EXPECT_EQ(pw, w0 + 35 + 4);
  // A caption of one "&" still measures a line.
  item->SetCaption(L"&");
  int aw = 0, ah = 0;
  item->DefaultMeasure(dc, aw, ah);
  EXPECT_GT(ah, 0);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
}

TEST_F(MenuItemsTest, MainMenuOwnerDrawingLeavesTopLevelItemsAndApplicationHandlersAlone) {
  fw::TForm owner(nullptr);
  auto* mainMenu = new fw::TMainMenu(&owner);
  auto* top = new fw::TMenuItem(&owner);
  auto* plain = new fw::TMenuItem(&owner);
  auto* own = new fw::TMenuItem(&owner);
  top->Add(plain);
  top->Add(own);
  mainMenu->Add(top);
  bool ownDrawn = false;
  own->OnDrawItem = [&](fw::TObject*, HDC, const RECT&, bool) { ownDrawn = true; };
  form->InitMainMenu(&owner, true, false);
  EXPECT_TRUE(mainMenu->OwnerDraw());
  EXPECT_FALSE(static_cast<bool>(top->OnDrawItem));
  EXPECT_TRUE(static_cast<bool>(plain->OnDrawItem));
  EXPECT_TRUE(static_cast<bool>(plain->OnMeasureItem));
  own->DrawItem(nullptr, RECT{}, false);
  EXPECT_TRUE(ownDrawn);
  form->InitMainMenu(&owner, false, false);
  EXPECT_FALSE(mainMenu->OwnerDraw());
  EXPECT_FALSE(static_cast<bool>(plain->OnDrawItem));
  EXPECT_FALSE(static_cast<bool>(own->OnDrawItem));
}

TEST_F(MenuItemsTest, PopupMenusAreOwnerDrawnUnlessExcludedAndKeepTheirOwnMeasurement) {
  fw::TForm owner(nullptr);
  auto* skinned = new fw::TPopupMenu(&owner);
  auto* excluded = new fw::TPopupMenu(&owner);
  excluded->SetTag(data.DisableTag());
  auto* a = new fw::TMenuItem(&owner);
  auto* b = new fw::TMenuItem(&owner);
  skinned->Add(a);
  excluded->Add(b);
  bool measuredOwn = false;
  a->OnMeasureItem = [&](fw::TObject*, HDC, int&, int&) { measuredOwn = true; };
  a->OnDrawItem = [](fw::TObject*, HDC, const RECT&, bool) {};
  // The handlers find the skinner through its window, as on a skinned window.
  SetPropW(hwnd, L"QuellmarkFormSkinner", form.get());
  form->InitPopMenu(&owner, true, true);
  EXPECT_TRUE(skinned->OwnerDraw());
  EXPECT_FALSE(excluded->OwnerDraw());
  EXPECT_FALSE(static_cast<bool>(b->OnDrawItem));
  int w = 0, h = 0;
  HDC screen = GetDC(nullptr);
  a->MeasureItem(screen, w, h);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(measuredOwn);
  // The application's drawing was replaced by the skin's: a drawn item shows the face.
  TDibSection target(100, 20);
  a->SetCaption(L"x");
  a->DrawItem(target.DC(), RECT{0, 0, 100, 20}, false);
  EXPECT_EQ(target.ToBitmap().Pixel(90, 10), kNormalFace);
  // Without xcPopupMenu nothing is owner-drawn.
  form->InitPopMenu(&owner, false, false);
  data.SetSkinControls(data.SkinControls() & ~SetOf(xcPopupMenu));
  form->InitPopMenu(&owner, true, true);
  EXPECT_FALSE(skinned->OwnerDraw());
}

}  // namespace
}  // namespace skin
