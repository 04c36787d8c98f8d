#include "skin/form/WinSkinMenuBar.h"

#include <algorithm>
#include <cstddef>

#include "gui/Form.h"
#include "gui/Menus.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

constexpr int kMenuBarFill = 13;   // scheme colour "Menubar": the band without an image
constexpr int kMenuBarText = 14;   // "MenuBarText"
constexpr int kButtonHilight = 5;  // the frame of a hot or pressed button
constexpr int kButtonShadow = 7;   // a disabled caption
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP;
constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The open drop-down of a menu bar. One per process: the platform tracks one
// popup menu at a time.
struct TMenuTracking {
  TWinSkinForm* form = nullptr;  // stays after the drop-down closed, until that skinner goes
  int current = -1;              // index of the button whose drop-down is open
  int pending = -1;              // the button to open next once the open one has closed
  POINT last{-1, -1};            // the last mouse position the hook saw (screen)
  bool switching = false;
  bool started = false;
  HHOOK hook = nullptr;
};
TMenuTracking g_tracking;

// The platform's menu font: the current NONCLIENTMETRICSW first, then the
// structure of systems before Vista (without iPaddedBorderWidth).
HFONT CreateMenuFont() {
  NONCLIENTMETRICSW metrics{};
  for (UINT size : {static_cast<UINT>(sizeof metrics),
                    static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))}) {
    metrics.cbSize = size;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &metrics, 0))
      return CreateFontIndirectW(&metrics.lfMenuFont);
  }
  return nullptr;
}

// Text of a caption in one colour, centred in `rect`, on a transparent background.
void DrawCaption(HDC dc, HFONT font, const std::wstring& caption, RECT rect, COLORREF colour) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  DrawSkinText(dc, caption, rect, kCaptionFlags);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

int32_t MeasureCaption(HDC dc, const std::wstring& caption) {
  if (caption.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawSkinText(dc, caption, r, kMeasureFlags);
  return r.right - r.left;
}

bool OldMenuPlatform() {
  return (IsWinNT() && WinMajorVersion() < 5) || (WinMajorVersion() == 4 && WinMinorVersion() == 0);
}

// What the open menus show: a submenu open below the drop-down, and whether
// the highlighted item of the innermost open menu has a submenu of its own.
// The popup windows of the thread are listed topmost first, so the first one
// found is the innermost.
struct TOpenMenus {
  int popups = 0;
  HMENU innermost = nullptr;
};
BOOL CALLBACK CountPopup(HWND hwnd, LPARAM lParam) {
  auto* open = reinterpret_cast<TOpenMenus*>(lParam);
  wchar_t cls[16];
  if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) && wcscmp(cls, L"#32768") == 0) {
    if (open->popups++ == 0) open->innermost = reinterpret_cast<HMENU>(SendMessageW(hwnd, MN_GETHMENU, 0, 0));
  }
  return TRUE;
}
bool HighlightedHasSubmenu(HMENU menu) {
  if (!menu) return false;
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
      return GetSubMenu(menu, i) != nullptr;
  return false;
}

// The buttons a slide from an open drop-down can land on: those with a
// drop-down that opens. Landing on a plain command would run it, and on a
// disabled button would close the menu with nothing in its place.
std::vector<TMenuBarEntry> SlideEntries(const TWinSkinMenu& bar) {
  std::vector<TMenuBarEntry> entries = bar.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const TMenuBtn& b = *bar.Buttons[i];
    if (!b.hsubmenu || !b.enabled) entries[i].visible = false;
  }
  return entries;
}

LRESULT CALLBACK MenuTrackHook(int code, WPARAM wParam, LPARAM lParam) {
  LRESULT next = CallNextHookEx(g_tracking.hook, code, wParam, lParam);
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TWinSkinForm* sf = g_tracking.form;
  if (next != 0 || code != MSGF_MENU || !msg || !sf || !sf->menu) return next;
  if (!g_tracking.started) {
    // The drop-down opens with nothing highlighted; the first item is, as
    // when the platform opens a menu bar's menu from the keyboard.
    g_tracking.started = true;
    PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  int target = -1;
  bool swallow = false;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
        g_tracking.switching = false;
      } else if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
        TOpenMenus open;
        EnumThreadWindows(GetCurrentThreadId(), CountPopup, reinterpret_cast<LPARAM>(&open));
        TMenuKeyMove move = MenuTrackKey(static_cast<uint32_t>(msg->wParam), sf->bidileft, open.popups > 1,
                                         HighlightedHasSubmenu(open.innermost));
        if (move != TMenuKeyMove::Pass) {
          target = NextMenuEntry(SlideEntries(*sf->menu), g_tracking.current, move == TMenuKeyMove::Next);
          swallow = true;
        }
      }
      break;
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) sf->fInMenu = false;
      return next;
    case WM_MOUSEMOVE:
      if (msg->pt.x != g_tracking.last.x || msg->pt.y != g_tracking.last.y) {
        g_tracking.last = msg->pt;
        RECT wr;
        if (GetWindowRect(sf->hwnd, &wr))
          target = FindMenuEntry(SlideEntries(*sf->menu), msg->pt.x - wr.left, msg->pt.y - wr.top);
      }
      break;
    default:
      break;
  }
  if (target >= 0 && target != g_tracking.current) {
    // Close the open drop-down; CheckMenu opens the target's once it has.
    g_tracking.switching = true;
    g_tracking.pending = target;
    EndMenu();
    return swallow ? 1 : next;
  }
  return next;
}

}  // namespace

// --- tracking ---

void StartMenuTracking(TWinSkinForm& form) {
  g_tracking.form = &form;
  g_tracking.switching = false;
  g_tracking.started = false;
  g_tracking.pending = -1;
  GetCursorPos(&g_tracking.last);
  if (!g_tracking.hook)
    g_tracking.hook = SetWindowsHookExW(WH_MSGFILTER, MenuTrackHook, nullptr, GetCurrentThreadId());
}

void EndMenuTracking() {
  if (g_tracking.hook) UnhookWindowsHookEx(g_tracking.hook);
  g_tracking.hook = nullptr;
  g_tracking.current = -1;
  g_tracking.started = false;
}

TMenuBtn* NextMenuButton(bool forward) {
  TWinSkinForm* sf = g_tracking.form;
  if (!sf || !sf->menu) return nullptr;
  return sf->menu->Button(NextMenuEntry(SlideEntries(*sf->menu), g_tracking.current, forward));
}

TWinSkinForm* MenuTrackingForm() {
  return g_tracking.form;
}

void MakeMenuOwnerDrawn(HMENU menu) {
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[kMenuCaptionLimit + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = kMenuCaptionLimit;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOW type{};
      type.cbSize = sizeof type;
      type.fMask = MIIM_FTYPE;
      type.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &type);
    }
    if (info.hSubMenu) MakeMenuOwnerDrawn(info.hSubMenu);
  }
}

// --- TMenuBtn ---

void TMenuBtn::Draw() {
  TWinSkinMenu* bar = SF ? SF->menu : nullptr;
  if (!bar || !visible || bounds.Width() <= 0 || bar->bkmap.Empty() || !SF->hwnd) return;
  const int32_t height = bar->Bar.Height();
  TDibSection picture(
      bar->bkmap.Crop(Rect(bounds.Left - bar->Bar.Left, 0, bounds.Right - bar->Bar.Left, height)));
  if (!picture.Valid()) return;
  RECT face{0, 0, bounds.Width(), bounds.Height()};
  const TSkinData* sd = FSD ? FSD : SF->fsd;
  if ((state == 2 || state == 3) && sd) {
    HBRUSH frame = CreateSolidBrush(ResolveColor(sd->Colors[kButtonHilight]));
    FrameRect(picture.DC(), &face, frame);
    DeleteObject(frame);
  }
  if (sd)
    DrawCaption(picture.DC(), bar->MenuFont(), caption, face,
                ResolveColor(sd->Colors[enabled ? kMenuBarText : kButtonShadow]));
  if (HDC dc = GetWindowDC(SF->hwnd)) {
    BitBlt(dc, bounds.Left, bar->Bar.Top, picture.Width(), picture.Height(), picture.DC(), 0, 0, SRCCOPY);
    ReleaseDC(SF->hwnd, dc);
  }
}

// --- TWinSkinMenu ---

const fw::TClassInfo& TWinSkinMenu::StaticClass() {
  static const fw::TClassInfo info{L"TWinSkinMenu", &fw::TComponent::StaticClass(), {}};
  return info;
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* owner) : fw::TComponent(owner), FSD(owner->fsd), SF(owner) {
  if (owner->FForm) menu = owner->FForm->Menu();
  font_ = CreateMenuFont();
  ownsFont_ = font_ != nullptr;
  if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TWinSkinMenu::~TWinSkinMenu() {
  // Only the pointer is compared: the owner may be half gone already.
  if (g_tracking.form == SF) g_tracking.form = nullptr;
  if (ownsFont_) DeleteObject(font_);
}

TMenuBtn* TWinSkinMenu::Button(int i) const {
  return i >= 0 && i < static_cast<int>(Buttons.size()) ? Buttons[static_cast<size_t>(i)].get() : nullptr;
}

TMenuBtn* TWinSkinMenu::FirstButton() const {
  return Button(NextMenuEntry(Entries(), -1, true));
}

std::vector<TMenuBarEntry> TWinSkinMenu::Entries() const {
  std::vector<TMenuBarEntry> entries(Buttons.size());
  for (size_t i = 0; i < Buttons.size(); ++i) {
    entries[i].visible = Buttons[i]->visible;
    entries[i].bounds = Buttons[i]->bounds;
  }
  return entries;
}

TNCObject* TWinSkinMenu::FindBtn(POINT p) const {
  return Button(FindMenuEntry(Entries(), p.x, p.y));
}

TColor TWinSkinMenu::SchemeColor(int index) const {
  return FSD ? FSD->Colors[static_cast<size_t>(index)] : SysColor(COLOR_MENU);
}

void TWinSkinMenu::ClearButtons() {
  // The skinner must not keep pointing at a button that goes.
  if (SF && SF->ActiveBtn)
    for (const auto& b : Buttons)
      if (SF->ActiveBtn == b.get()) SF->ActiveBtn = nullptr;
  Buttons.clear();
}

void TWinSkinMenu::Detach() {
  if (SF && SF->hwnd && GetMenu(SF->hwnd)) SetMenu(SF->hwnd, nullptr);
}

// Buttons from the native menu `hmenu`, by position. With `captionsOnly` (an
// MDI frame's replaced menu), the framework item found by command id gives
// caption, state, id and submenu but is not remembered.
void TWinSkinMenu::ReadNativeItems(bool fromFramework, bool captionsOnly) {
  for (int i = 0; i < count; ++i) {
    wchar_t text[kMenuCaptionLimit + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = kMenuCaptionLimit + 1;
    auto button = std::make_unique<TMenuBtn>(SF);
    button->fsd = FSD;
    button->FSD = FSD;
    button->index = i;
    if (GetMenuItemInfoW(hmenu, static_cast<UINT>(i), TRUE, &info)) {
      button->hsubmenu = info.hSubMenu;
      button->enabled = (info.fState & 3) == 0;
      button->mid = info.wID;
      if (!(info.fType & (MFT_BITMAP | MFT_SEPARATOR))) button->caption = MenuCaption(text);
    }
    button->visible = true;
    if (fromFramework && menu) {
      // A framework item is found by its command id; an item with a
      // drop-down carries its submenu in the native menu instead, so it is
      // found by its place (the framework builds the native menu in order).
      fw::TMenuItem* item = menu->FindItem(button->mid);
      if (!item && button->hsubmenu && menu->Items().size() == static_cast<size_t>(count))
        item = menu->Items()[static_cast<size_t>(i)];
      if (item && (!captionsOnly || !button->caption.empty())) {
        button->caption = MenuCaption(fw::GetTextProp(*item, L"Caption"));
        button->mid = item->Command();
        if (item->Items().empty()) button->hsubmenu = nullptr;
        if (!captionsOnly) button->menuitem = item;
      }
    }
    Buttons.push_back(std::move(button));
  }
}

void TWinSkinMenu::UpdataBtn() {
  if (OldMenuPlatform()) return UpdataBtn1();
  if (!SF || !SF->hwnd) return;
  if (HMENU h = GetMenu(SF->hwnd)) hmenu = SF->hmenu = h;
  if (!hmenu) return;
  if (SF->FForm) {
    menu = SF->FForm->Menu();
    if (!menu) return;
  }
  ClearButtons();
  count = GetMenuItemCount(hmenu);
  if (count <= 0) return;
  ReadNativeItems(true, false);
  Detach();
}

void TWinSkinMenu::ButtonsFromFramework(bool runUpdate) {
  (void)runUpdate;  // the framework's items have no actions to update
  if (!SF || !SF->hwnd) return;
  if (HMENU h = GetMenu(SF->hwnd)) hmenu = SF->hmenu = h;
  if (!hmenu) return;
  if (SF->FForm) menu = SF->FForm->Menu();
  if (!menu) return;
  ClearButtons();
  const auto& items = menu->Items();
  count = static_cast<int>(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    auto button = std::make_unique<TMenuBtn>(SF);
    button->fsd = FSD;
    button->FSD = FSD;
    button->index = static_cast<int>(i);
    button->visible = true;
    button->enabled = true;
    button->mid = items[i]->Command();
    button->caption = MenuCaption(fw::GetTextProp(*items[i], L"Caption"));
    button->menuitem = items[i];
    if (!items[i]->Items().empty()) button->hsubmenu = GetSubMenu(hmenu, static_cast<int>(i));
    Buttons.push_back(std::move(button));
  }
  Detach();
}

void TWinSkinMenu::UpdataBtn1() {
  ButtonsFromFramework(false);
}

void TWinSkinMenu::UpdataBtn2(HMENU) {
  if (!SF || !SF->hwnd) return;
  if (HMENU h = GetMenu(SF->hwnd)) hmenu = SF->hmenu = h;
  if (!hmenu) return;
  if (SF->FForm) {
    menu = SF->FForm->Menu();
    if (!menu) return;
  }
  ClearButtons();
  count = GetMenuItemCount(hmenu);
  if (count < 1) return;
  ReadNativeItems(true, true);
  Detach();
  SetMenuRect();
}

void TWinSkinMenu::UpdataBtn3() {
  ButtonsFromFramework(true);
  if (SF) SF->ActiveBtn = nullptr;
}

// Measures every visible caption on `dc` (the menu font selected), places the
// buttons over `band` (a right-to-left row stops at `rightLimit`, band
// coordinates), and with `paint` draws their captions onto `dc`, whose origin
// is the band's top-left corner.
void TWinSkinMenu::Layout(HDC dc, const TRect& band, bool paint, int32_t rightLimit) {
  const bool rightToLeft = SF && SF->bidileft;
  HGDIOBJ oldFont = SelectObject(dc, font_);
  std::vector<TMenuBarEntry> entries(Buttons.size());
  for (size_t i = 0; i < Buttons.size(); ++i) {
    TMenuBtn& b = *Buttons[i];
    entries[i].visible = b.visible;
    if (!b.visible) continue;
    if (b.textWidth < 0) b.textWidth = MeasureCaption(dc, b.caption);
    entries[i].textWidth = b.textWidth;
  }
  SelectObject(dc, oldFont);
  LayoutMenuBar(entries, band, MenuBarStart(FSD ? FSD->Menubar.get() : nullptr, rightToLeft, band.Width()),
                rightToLeft, rightLimit);
  for (size_t i = 0; i < Buttons.size(); ++i) {
    TMenuBtn& b = *Buttons[i];
    b.bounds = entries[i].bounds;
    if (!paint || !b.visible || entries[i].textWidth == 0) continue;
    const TRect& t = entries[i].textRect;
    DrawCaption(dc, font_, b.caption, RECT{t.Left, t.Top, t.Right, t.Bottom},
                ResolveColor(SchemeColor(b.enabled ? kMenuBarText : kButtonShadow)));
  }
}

void TWinSkinMenu::DrawMenu(HDC dc, const TRect& rc) {
  Bar = rc;
  if (rc.Width() <= 0 || rc.Height() <= 0 || !dc) return;
  const bool active = !SF || SF->FWindowActive;
  bkmap = ComposeMenuBarBackground(rc.Width(), rc.Height(), FSD ? FSD->Menubar.get() : nullptr, active,
                                   ColorToPixel(ResolveColor(SchemeColor(kMenuBarFill))));
  TDibSection band(bkmap);
  if (!band.Valid()) return;
  // A maximized MDI child's caption buttons sit at the band's right end; a
  // right-to-left row stops short of them.
  std::vector<const TWinSysButton*> childButtons;
  int32_t rightLimit = rc.Width();
  if (SF && SF->FormStyle == sfsMDIform && SF->MDIChildMax()) {
    for (const auto& b : SF->SysBtn)
      if (b->visible && b->data && b->data->Visibility == 100 && !b->data->Map.Empty()) {
        childButtons.push_back(b.get());
        rightLimit = std::min(rightLimit, b->bounds.Left - rc.Left - 5);
      }
  }
  topmenu = true;
  Layout(band.DC(), rc, true, rightLimit);
  topmenu = false;
  for (const TWinSysButton* b : childButtons) {
    const TRect& r = b->bounds;
    DrawSkinFrame(band.DC(), Rect(r.Left - rc.Left, r.Top - rc.Top, r.Right - rc.Left, r.Bottom - rc.Top),
                  b->data->Map, 1, b->data->frame, true);
  }
  if (!childButtons.empty())
    if (auto* manager = static_cast<TSkinManage*>(SkinManager()); manager && !manager->MDIMax)
      manager->SetMDIMax(true);
  BitBlt(dc, rc.Left, rc.Top, rc.Width(), rc.Height(), band.DC(), 0, 0, SRCCOPY);
}

void TWinSkinMenu::SetMenuRect() {
  if (!SF) return;
  TRect band = Rect(SF->bw.Left, SF->bw.Top, SF->fwidth - SF->bw.Right, SF->bw.Top + SF->MenuHeight);
  if (band.Width() <= 0 || band.Height() <= 0) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  Layout(dc, band, false, band.Width());
  DeleteDC(dc);
}

// --- the form skinner's menu-bar operations ---

void TWinSkinForm::UpdataBtn() {
  if (menu) menu->UpdataBtn();
}

bool TWinSkinForm::CheckMenu(TMenuBtn* button) {
  if (!button || !menu) return false;
  TWinSkinMenu* bar = menu;
  int index = button->index;
  bool opened = false;
  // Each round opens one drop-down; sliding to a neighbour closes it and
  // names the next round's button.
  while (TMenuBtn* b = bar->Button(index)) {
    // The framework sees its top-level item chosen. A native item with a
    // drop-down has no command of its own (its id is the submenu), so only
    // framework items and plain commands are told.
    if (b->menuitem || !b->hsubmenu) PostMessageW(hwnd, WM_COMMAND, b->mid, 0);
    if (!b->hsubmenu) break;
    g_tracking.form = this;
    g_tracking.current = index;
    GetWindowRect(hwnd, &wTr);
    // The skin draws the drop-down's items (WM_MEASUREITEM, WM_DRAWITEM);
    // Windows NT 4 cannot owner-draw them.
    if (!(IsWinNT() && WinMajorVersion() == 4)) MakeMenuOwnerDrawn(b->hsubmenu);
    fInMenu = true;
    const TMenuPopupPlace place = MenuPopupPlace(b->bounds, wTr.left, wTr.top, bidileft);
    activemenu = b->hsubmenu;
    // The manager's popup skinning knows a menu-bar menu is open.
    auto* manager = static_cast<TSkinManage*>(SkinManager());
    if (manager) {
      manager->menutype = 1;
      manager->menuactive = true;
    }
    b->state = 2;
    b->Draw();
    StartMenuTracking(*this);
    if (b->enabled) TrackPopupMenu(b->hsubmenu, place.flags, place.x, place.y, 0, hwnd, nullptr);
    const int next = g_tracking.switching ? g_tracking.pending : -1;
    EndMenuTracking();
    fInMenu = false;
    if (manager) manager->menuactive = false;
    opened = true;
    // Skinning may have ended, or the menu changed, while the drop-down was open.
    if (menu != bar || !IsWindow(hwnd)) break;
    if (TMenuBtn* shown = bar->Button(index); shown && shown->state == 2) {
      shown->state = 1;
      shown->Draw();
    }
    if (next < 0 || next == index) break;
    index = next;
  }
  return opened;
}

void TWinSkinForm::ClickButton(TMenuBtn* button) {
  if (!button || !hwnd) return;
  GetWindowRect(hwnd, &wTr);
  TMenuBarEntry entry;
  entry.visible = button->visible;
  entry.bounds = button->bounds;
  int32_t x = 0, y = 0;
  // A hidden button or one without a caption has no place to click.
  if (!MenuEntryClickPoint(entry, wTr.left, wTr.top, x, y)) return;
  PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(x, y));
}

void TWinSkinForm::UpdateMainMenu() {
  if (!menu || !hwnd) return;
  GetWindowRect(hwnd, &wTr);
  fwidth = wTr.right - wTr.left;
  fheight = wTr.bottom - wTr.top;
  menu->UpdataBtn();
  if (HDC dc = GetWindowDC(hwnd)) {
    menu->DrawMenu(dc, Rect(bw.Left, bw.Top, fwidth - bw.Right, bw.Top + MenuHeight));
    ReleaseDC(hwnd, dc);
  }
}

}  // namespace skin
