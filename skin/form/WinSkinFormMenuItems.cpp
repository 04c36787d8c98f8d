// The form skinner's owner-drawn menu items: switching owner drawing of the
// form's framework menus on and off, measuring items, answering the
// window's WM_MEASUREITEM and WM_DRAWITEM, and drawing one item from the
// skin's MenuItem element (face, separator, check mark or picture, caption,
// shortcut) over the background of the popup window it is shown in.
//
// The arithmetic is portable (MenuItemLayout.h); this file measures texts
// and draws on device contexts. Every picture is composed off-screen and put
// on the item's DC in one blit.
#ifndef OEMRESOURCE
#define OEMRESOURCE  // OBM_CHECK
#endif
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/Form.h"
#include "gui/Menus.h"
#include "skin/form/MenuItemLayout.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinMenuBar.h"
#include "skin/model/WinSkinData.h"
#include "skin/model/WinSkinManage.h"
#include "skin/model/WinSkinPopMenu.h"

namespace skin {

namespace {

// The dialog form of a foreign rich-edit library: its popup menus keep their own drawing.
constexpr const wchar_t* kForeignRichEditDialogClass = L"TXARichEditDialog";
// Command ids the framework hands out lie in this range; an id there that
// this window's menu does not know belongs to someone else.
constexpr UINT kFrameworkIdFirst = 1;
constexpr UINT kFrameworkIdLast = 4095;

TSkinManage* Manager() {
  return dynamic_cast<TSkinManage*>(SkinManager());
}

// Every item under `items`, depth first, with its depth (top level 1).
template <class Visit>
void WalkItems(const std::vector<fw::TMenuItem*>& items, int depth, Visit&& visit) {
  for (fw::TMenuItem* item : items) {
    visit(*item, depth);
    WalkItems(item->Items(), depth + 1, visit);
  }
}

// The handlers find the skinner through its window each time: an item may
// outlive the skinner that gave it the handlers.
fw::TMenuDrawItemEvent DrawHandler(HWND window) {
  return [window](fw::TObject* sender, HDC dc, const RECT& rect, bool selected) {
    auto* item = static_cast<fw::TMenuItem*>(sender);
    if (TWinSkinForm* sf = FindFormSkinner(window))
      sf->DrawMenuItem(item, dc, rect, selected);
    else
      item->DefaultDraw(dc, rect, selected);
  };
}

fw::TMenuMeasureItemEvent MeasureHandler(HWND window, bool popup) {
  return [window, popup](fw::TObject* sender, HDC dc, int& width, int& height) {
    auto* item = static_cast<fw::TMenuItem*>(sender);
    TWinSkinForm* sf = FindFormSkinner(window);
    if (!sf) return;
    if (popup)
      sf->MeasurePopupItem(item, dc, width, height);
    else
      sf->MeasureItem(item, dc, width, height);
  };
}

bool Windows9x() {
  return !IsWinNT();
}

HFONT CreateMenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  for (UINT size : {static_cast<UINT>(sizeof metrics),
                    static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))}) {
    metrics.cbSize = size;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &metrics, 0)) {
      if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
      return CreateFontIndirectW(&metrics.lfMenuFont);
    }
  }
  return nullptr;
}

// The text of a native item by command: GetMenuStringW, and for an
// owner-drawn item (whose text some platforms hide from it) the item's string.
std::wstring NativeItemText(HMENU menu, UINT id) {
  wchar_t text[kMenuItemTextLimit + 1] = {};
  int n = GetMenuStringW(menu, id, text, static_cast<int>(kMenuItemTextLimit + 1), MF_BYCOMMAND);
  if (n > 0) return std::wstring(text, static_cast<size_t>(n));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = kMenuItemTextLimit + 1;
  if (!GetMenuItemInfoW(menu, id, FALSE, &info) || info.cch == 0) return {};
  return std::wstring(text, std::min<size_t>(info.cch, kMenuItemTextLimit));
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

TRect ToTRect(const RECT& r) {
  return TRect{r.left, r.top, r.right, r.bottom};
}

// The background of the popup window an item is drawn in (the window showing
// `menu` when it is known, else the window of the item's DC) and where the
// items' coordinates start inside it.
struct TItemBackground {
  const TBitmap* bitmap = nullptr;
  int32_t dx = kMenuFrameInset;
  int32_t dy = kMenuFrameInset;
};
TItemBackground PopupBackground(HMENU menu, HDC dc) {
  TItemBackground result;
  TSkinManage* manager = Manager();
  if (!manager) return result;
  TWinSkinPopMenu* popup = nullptr;
  if (menu)
    for (TWinSkinPopMenu* p : manager->Mlist)
      if (p->hmenu == menu) popup = p;
  if (!popup) popup = manager->FindPopup(WindowFromDC(dc));
  if (!popup) return result;
  result.bitmap = popup->Background();
  const POINT offset = popup->ClientOffset();
  result.dx = offset.x;
  result.dy = offset.y;
  return result;
}

// A brush of the framework's dither pattern (button face and highlight
// alternating), for a checked item's picture cell. The caller deletes it.
HBRUSH DitherBrush() {
  static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH brush = CreatePatternBrush(bits);
  DeleteObject(bits);
  return brush;
}

// The platform's check mark in `colour` at (x, y), its white pixels left out.
void DrawCheckMark(HDC dc, int x, int y, COLORREF colour, int& width, int& height) {
  HBITMAP mark = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECK));
  BITMAP info{};
  width = height = 0;
  if (!mark || !GetObjectW(mark, sizeof info, &info)) {
    if (mark) DeleteObject(mark);
    return;
  }
  width = info.bmWidth;
  height = info.bmHeight;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, mark);
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  // The mark's black pixels punch a hole, then take the colour.
  BitBlt(dc, x, y, width, height, source, 0, 0, SRCAND);
  SetTextColor(dc, colour);
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, width, height, source, 0, 0, SRCPAINT);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(mark);
}

}  // namespace

// ---------------------------------------------------------------- switching owner drawing

void TWinSkinForm::InitMainMenu(fw::TComponent* wForm, bool enable, bool) {
  if (!wForm) return;
  for (fw::TComponent* c : wForm->Components()) {
    if (!c->Is(fw::TMainMenu::StaticClass())) continue;
    auto* mainMenu = static_cast<fw::TMainMenu*>(c);
    mainMenu->SetOwnerDraw(enable);
    WalkItems(mainMenu->Items(), 1, [&](fw::TMenuItem& item, int depth) {
      if (!enable) {
        item.OnDrawItem = nullptr;
        item.OnMeasureItem = nullptr;
        return;
      }
      // Top-level items are the menu bar's buttons; an application's own drawing stays.
      if (depth < 2 || item.OnDrawItem) return;
      item.OnDrawItem = DrawHandler(hwnd);
      item.OnMeasureItem = MeasureHandler(hwnd, false);
    });
  }
}

void TWinSkinForm::InitPopMenu(fw::TComponent* wForm, bool enable, bool update) {
  if (!wForm || formclass == kForeignRichEditDialogClass) return;
  for (fw::TComponent* c : wForm->Components()) {
    if (c->Is(fw::TForm::StaticClass())) {
      InitPopMenu(c, enable, update);
      continue;
    }
    if (!c->Is(fw::TPopupMenu::StaticClass())) continue;
    if (!fsd || !InSet(fsd->SkinControls(), xcPopupMenu) || c->Tag() == fsd->DisableTag()) continue;
    auto* popup = static_cast<fw::TPopupMenu*>(c);
    popup->SetOwnerDraw(enable);
    WalkItems(popup->Items(), 1, [&](fw::TMenuItem& item, int) {
      if (!enable) {
        item.OnDrawItem = nullptr;
        item.OnMeasureItem = nullptr;
        return;
      }
      item.OnDrawItem = DrawHandler(hwnd);
      // An application's own measurement is kept.
      if (!item.OnMeasureItem) item.OnMeasureItem = MeasureHandler(hwnd, true);
    });
  }
}

void TWinSkinForm::OwnerDrawMenuItems(fw::TMenuItem* item, bool enable) {
  if (!item) return;
  auto apply = [&](fw::TMenuItem& i, int) {
    if (enable) {
      i.OnDrawItem = DrawHandler(hwnd);
      i.OnMeasureItem = MeasureHandler(hwnd, false);
    } else {
      i.OnDrawItem = nullptr;
    }
  };
  apply(*item, 1);
  WalkItems(item->Items(), 2, apply);
}

// ---------------------------------------------------------------- measuring

HFONT TWinSkinForm::MenuItemFont(bool bold) {
  HFONT& font = bold ? itemBoldFont_ : itemFont_;
  if (!font) font = CreateMenuFont(bold);
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TWinSkinForm::MeasureItem(fw::TMenuItem* item, HDC dc, int& width, int& height) {
  if (!item) return;
  item->DefaultMeasure(dc, width, height);
  const fw::TMenu* owner = item->GetParentMenu();
  const TDataSkinObject* element = fsd ? fsd->MenuItem.get() : nullptr;
  width = MainMenuItemWidth(width, element, owner && owner->Images());
}

void TWinSkinForm::MeasurePopupItem(fw::TMenuItem* item, HDC, int& width, int&) {
  if (!item || !fsd) return;
  const fw::TMenu* owner = item->GetParentMenu();
  width = PopupMenuItemWidth(width, fsd->MenuItem.get(), owner && owner->Images());
}

bool TWinSkinForm::MeasureItemMessage(MEASUREITEMSTRUCT& mis) {
  // The window menu may be open on a window without a menu bar.
  if (mis.CtlType != ODT_MENU || (!hmenu && !sysmenu)) return false;
  TSkinManage* manager = Manager();
  HDC dc = GetDC(hwnd);
  if (!dc) return false;
  HGDIOBJ oldFont = SelectObject(dc, MenuItemFont());
  bool answered = false;
  fw::TMenuItem* item = nullptr;
  if (FForm) {
    if (manager) manager->SetPopMenu();
    item = menu && menu->menu ? menu->menu->FindItem(mis.itemID) : nullptr;
  }
  if (item) {
    int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
    MeasureItem(item, dc, width, height);
    mis.itemWidth = static_cast<UINT>(std::max(width, 0));
    mis.itemHeight = static_cast<UINT>(std::max(height, 0));
    done = true;
    answered = true;
  } else if (!FForm || mis.itemID < kFrameworkIdFirst || mis.itemID > kFrameworkIdLast) {
    const std::wstring text = NativeItemText(activemenu, mis.itemID);
    RECT r{0, 0, 0, 0};
    if (!text.empty()) DrawSkinText(dc, text, r, kMenuTextMeasure);
    const TMenuItemSize size =
        NativeMenuItemSize(r.right - r.left, static_cast<int32_t>(mis.itemHeight), !text.empty(),
                           fsd ? fsd->MenuItem.get() : nullptr, Windows9x());
    mis.itemWidth = static_cast<UINT>(size.width);
    mis.itemHeight = static_cast<UINT>(size.height);
    answered = true;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd, dc);
  return answered;
}

// ---------------------------------------------------------------- drawing

bool TWinSkinForm::DrawItemMessage(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU || (!hmenu && !sysmenu)) return false;
  if (FormStyle == sfsMDIform && IsWinNT() && WinMajorVersion() == 4) return false;
  HMENU shown = reinterpret_cast<HMENU>(dis.hwndItem);
  TSkinManage* manager = Manager();
  if (manager) {
    manager->SetHMenu(shown);
    manager->SetPopMenu();
  }
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  fw::TMenuItem* item = FForm && menu && menu->menu ? menu->menu->FindItem(dis.itemID) : nullptr;
  if (item) {
    if (fsd && fsd->MenuItem)
      DrawMenuItem(item, dis.hDC, dis.rcItem, selected);
    else
      DrawPlainItem(ItemView(*item), dis.hDC, selected, dis.rcItem);
    return true;
  }
  if (FForm && dis.itemID >= kFrameworkIdFirst && dis.itemID <= kFrameworkIdLast) return false;
  DrawNativeItem(shown, NativeMenuItem(shown, dis.itemID), selected, dis.rcItem, dis.hDC);
  return true;
}

TMenuItemView TWinSkinForm::NativeMenuItem(HMENU menu, UINT id) {
  TMenuItemView view;
  view.caption = NativeMenuCaption(NativeItemText(menu, id));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  if (GetMenuItemInfoW(menu, id, FALSE, &info)) {
    view.enabled = (info.fState & 3) == 0;
    view.checked = (info.fState & MFS_CHECKED) != 0;
    view.isDefault = (info.fState & MFS_DEFAULT) != 0;
    if (info.fType & MFT_SEPARATOR) view.caption = L"-";
  }
  return view;
}

TMenuItemView TWinSkinForm::ItemView(const fw::TMenuItem& item) const {
  TMenuItemView view;
  view.caption = fw::GetTextProp(item, L"Caption");
  view.enabled = item.Enabled();
  view.checked = item.Checked();
  view.isDefault = item.Default();
  view.imageIndex = item.ImageIndex();
  view.shortcut = fw::ShortCutToText(item.ShortCut());
  const fw::TMenu* owner = item.GetParentMenu();
  if (!owner && menu) owner = menu->menu;
  if (owner) {
    view.images = owner->Images();
    view.rightToLeft = owner->RightToLeft();
  }
  return view;
}

void TWinSkinForm::DrawMenuItem(fw::TMenuItem* item, HDC dc, const RECT& rect, bool selected) {
  if (!item) return;
  TSkinManage* manager = Manager();
  if (manager) manager->SetPopMenu();
  const TMenuItemView view = ItemView(*item);
  if (!fsd || !fsd->MenuItem) return DrawPlainItem(view, dc, selected, rect);
  HMENU parent = item->Parent() ? item->Parent()->Handle() : nullptr;
  if (manager && parent) manager->SetHMenu(parent);
  const TItemBackground background = PopupBackground(parent, dc);
  if (item->IsLine()) {
    const TRect R = ToTRect(rect);
    const TPixel fill = ColorToPixel(ResolveColor(fsd->Colors[kMenuColorFill]));
    BlitBitmap(dc, R.Left, R.Top,
               ComposeMenuItemBackground(R, background.bitmap, fill, background.dx, background.dy));
    return DrawSeparatorItem(dc, rect);
  }
  DrawSkinnedItem(view, dc, rect, selected, background.bitmap, background.dx, background.dy);
}

void TWinSkinForm::DrawNativeItem(HMENU shown, const TMenuItemView& item, bool selected, const RECT& rect,
                                  HDC dc) {
  if (!fsd || !fsd->MenuItem) return DrawPlainItem(item, dc, selected, rect);
  const TItemBackground background = PopupBackground(shown, dc);
  DrawSkinnedItem(item, dc, rect, selected, background.bitmap, background.dx, background.dy);
}

void TWinSkinForm::DrawSkinnedItem(const TMenuItemView& item, HDC dc, const RECT& rect, bool selected,
                                   const TBitmap* background, int32_t dx, int32_t dy) {
  const TRect R = ToTRect(rect);
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const TPixel fill = ColorToPixel(ResolveColor(fsd->Colors[kMenuColorFill]));
  TDibSection picture(ComposeMenuItemFace(R, background, fill, *fsd->MenuItem, selected, dx, dy));
  if (!picture.Valid()) return;
  DrawItemContent(item, picture.DC(), selected, TRect{0, 0, R.Width(), R.Height()});
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), picture.DC(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawPlainItem(const TMenuItemView& item, HDC dc, bool selected, const RECT& rect) {
  const TRect R = ToTRect(rect);
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const TColor fill = fsd ? fsd->Colors[selected ? kMenuColorHilight : kMenuColorFill] : SysColor(COLOR_MENU);
  TDibSection picture(TBitmap(R.Width(), R.Height(), ColorToPixel(ResolveColor(fill))));
  if (!picture.Valid()) return;
  DrawItemContent(item, picture.DC(), selected, TRect{0, 0, R.Width(), R.Height()});
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), picture.DC(), 0, 0, SRCCOPY);
}

void TWinSkinForm::DrawSeparatorItem(HDC dc, const RECT& rect) {
  if (!fsd || !fsd->MenuItem) return;
  const TRect R = ToTRect(rect);
  TBitmap separator = ComposeMenuSeparator(R.Width(), R.Height(), *fsd->MenuItem);
  if (separator.Empty()) return;
  DrawTransparent(dc, R, separator, 0xFF00FF);
}

void TWinSkinForm::DrawItemContent(const TMenuItemView& item, HDC dc, bool selected, const TRect& R) {
  HGDIOBJ oldFont = SelectObject(dc, MenuItemFont(item.isDefault));
  const bool separator = item.caption == L"-";
  const TDataSkinObject* element = fsd ? fsd->MenuItem.get() : nullptr;
  int imageWidth = 0, imageHeight = 0;
  if (item.images) ImageList_GetIconSize(item.images, &imageWidth, &imageHeight);
  const int32_t g = MenuGlyphSize(imageWidth, item.checked);
  const bool rtl = item.rightToLeft;
  TRect cell = MenuGlyphCell(R, g, element, rtl, separator);
  if (!separator) {
    const bool hasImage =
        item.images && item.imageIndex >= 0 && item.imageIndex < ImageList_GetImageCount(item.images);
    if (hasImage) {
      if (item.checked) {
        HBRUSH dither = DitherBrush();
        const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT c = ToRECT(cell);
        FillRect(dc, &c, dither);
        SetBkColor(dc, oldBack);
        SetTextColor(dc, oldText);
        DeleteObject(dither);
      }
      const int32_t top = MenuImageTop(cell, R, imageHeight, item.checked, rtl);
      cell = TRect{cell.Left, top, cell.Right, top + (item.checked ? kMenuGlyphSize : imageHeight)};
      if (item.checked) {
        RECT edge = ToRECT(cell);
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      ImageList_DrawEx(item.images, item.imageIndex, dc, cell.Left, cell.Top, 0, 0, CLR_NONE, CLR_DEFAULT,
                       ILD_TRANSPARENT | (item.enabled ? 0 : ILD_BLEND50));
    } else if (item.checked) {
      HBITMAP probe = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECK));
      BITMAP info{};
      if (probe && GetObjectW(probe, sizeof info, &info)) {
        const TMenuPoint p = MenuCheckMarkOrigin(cell, g, R, info.bmWidth, info.bmHeight, rtl);
        int w = 0, h = 0;
        DrawCheckMark(dc, p.x, p.y, GetSysColor(COLOR_BTNTEXT), w, h);
      }
      if (probe) DeleteObject(probe);
    }
  }
  RECT text = ToRECT(MenuTextRect(R, cell, rtl));
  RECT measured = text;
  DrawItemText(item, dc, rtl ? kMenuTextMeasureMirrored : kMenuTextMeasure, selected, measured, item.caption);
  const TRect placed = CentreMenuText(ToTRect(text), measured.bottom - measured.top, R);
  RECT draw = ToRECT(placed);
  if (rtl) draw.right = text.right;
  DrawItemText(item, dc, rtl ? kMenuTextDrawMirrored : kMenuTextDraw, selected, draw, item.caption);
  if (!item.shortcut.empty() && !separator) {
    TRect measuredText{measured.left, placed.Top, measured.right,
                       placed.Top + (measured.bottom - measured.top)};
    if (rtl)
      measuredText =
          TRect{text.right - (measured.right - measured.left), placed.Top, text.right, measuredText.Bottom};
    RECT shortcut = ToRECT(MenuShortcutRect(R, measuredText, rtl));
    DrawItemText(item, dc, rtl ? kMenuShortcutFlagsMirrored : kMenuShortcutFlags, selected, shortcut,
                 item.shortcut);
  }
  SelectObject(dc, oldFont);
}

void TWinSkinForm::DrawItemText(const TMenuItemView& item, HDC dc, UINT flags, bool selected, RECT& rect,
                                std::wstring text) {
  const bool measuring = (flags & kMenuTextCalcRect) != 0;
  if (measuring) text = MeasuredMenuText(text);
  if (text == L"-") {
    if (measuring) return;
    RECT line = rect;
    line.top += 4;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = item.isDefault ? SelectObject(dc, MenuItemFont(true)) : nullptr;
  const TColor colour =
      fsd ? MenuItemTextColor(fsd->Colors, item.enabled, selected)
          : SysColor(item.enabled ? (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT) : COLOR_GRAYTEXT);
  const COLORREF oldColour = SetTextColor(dc, ResolveColor(colour));
  DrawSkinText(dc, text, rect, flags);
  SetTextColor(dc, oldColour);
  if (oldFont) SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
}

}  // namespace skin
