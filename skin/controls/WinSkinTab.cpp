#include "skin/controls/WinSkinTab.h"

#include <windowsx.h>

#include <string>

#include "gui/PageControl.h"
#include "skin/archive/ImgUtil.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/form/SkinMessages.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

// The 6 x 6 box with a cross, in the DC's current pen.
void DrawCloseBox(HDC dc, const TRect& box) {
  const int32_t l = box.Left, t = box.Top, r = box.Right, b = box.Bottom;
  MoveToEx(dc, l, t, nullptr);
  LineTo(dc, r, t);
  LineTo(dc, r, b);
  LineTo(dc, l, b);
  LineTo(dc, l, t);
  LineTo(dc, r, b);
  MoveToEx(dc, r, t, nullptr);
  LineTo(dc, l, b);
}

}  // namespace

TTabItem ReadTabItem(HWND hwnd, int index) {
  wchar_t buffer[80] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
  item.pszText = buffer;
  item.cchTextMax = 80;
  item.iImage = -1;
  if (!SendMessageW(hwnd, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
    return {};
  return TTabItem{std::wstring(item.pszText ? item.pszText : L""), item.iImage};
}

HFONT TabFont(HWND hwnd) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

const fw::TClassInfo& TSkinTab::StaticClass() {
  static const fw::TClassInfo info{L"TSkinTab", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinTab::TSkinTab(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinTab::~TSkinTab() {
  if (updown && !updown->Owner()) delete updown;
}

void TSkinTab::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acolor);
  if (!hwnd) return;
  enabled = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) == 0;
  inittab();
  showclose = control && control->Tag() == kCloseBoxTag && control->Is(fw::TPageControl::StaticClass()) &&
              Position == StTop;
  SkinScrollArrows();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

void TSkinTab::Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) {
  TSkinControl::Inithwnd(ahwnd, sd, sf);
  enabled = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DISABLED) == 0;
  focused = GetFocus() == hwnd;
  caption = GetWindowCaption(hwnd);
  inittab();
  SkinScrollArrows();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

void TSkinTab::inittab() {
  Position = TabPositionFromStyle(hwnd ? static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWL_STYLE)) : 0);
  tabbmp = TBitmap();
  borderbmp = TBitmap();
  if (!fsd) return;
  if (fsd->tab && !fsd->tab->Map.Empty()) tabbmp = fsd->tab->Map;
  if (fsd->tab && fsd->tab->style == 0) {
    if (!fsd->tab->MaskMap.Empty()) borderbmp = fsd->tab->MaskMap;
  } else if (fsd->tab && fsd->tab->style == 1) {
    if (fsd->TabSheet && !fsd->TabSheet->Map.Empty()) borderbmp = fsd->TabSheet->Map;
  }
  switch (Position) {
    case Stbottom:
      if (!tabbmp.Empty()) FlipBitmap(tabbmp);
      if (!borderbmp.Empty()) FlipBitmap(borderbmp);
      break;
    case Stleft:
      if (!borderbmp.Empty()) RotateLeft(borderbmp);
      break;
    case Stright:
      if (!borderbmp.Empty()) RotateRight(borderbmp);
      break;
    case StTop:
      break;
  }
}

void TSkinTab::SkinChange() {
  // The working copies first, so the repaint the base asks for shows the new skin.
  inittab();
  TSkinControl::SkinChange();
}

bool TSkinTab::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintMessage(message);
      return false;
    case WM_LBUTTONDOWN:
      if (showclose && CloseBoxClick(message)) return false;
      return TSkinControl::BeforeProc(message);
    default:
      return TSkinControl::BeforeProc(message);
  }
}

bool TSkinTab::CloseBoxClick(fw::TMessage& message) {
  int index = HitCloseBox(CloseRect, GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
  if (index < 0) return false;
  // The skinned form's window; without a skinner, the window the tabs are in.
  HWND form = skinform && skinform->hwnd ? skinform->hwnd : GetAncestor(hwnd, GA_ROOT);
  LRESULT answer =
      form ? SendMessageW(form, WM_SKINTABCLOSE, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(index))
           : 0;
  if (answer == 0 && control && control->Is(fw::TPageControl::StaticClass())) {
    auto* pages = static_cast<fw::TPageControl*>(control);
    // Gone before the click could reach the control: the tab under the
    // mouse is another page's now.
    if (index < pages->PageCount()) delete pages->Page(index);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  message.Result = 0;
  return true;
}

HWND TSkinTab::ScrollArrows() const {
  return hwnd ? FindWindowExW(hwnd, nullptr, UPDOWN_CLASSW, nullptr) : nullptr;
}

void TSkinTab::SkinScrollArrows() {
  // The control makes its arrows only once its tabs stop fitting, so every paint looks.
  HWND arrows = ScrollArrows();
  if (!arrows || SendMessageW(arrows, WM_ISSKINNED, 0, 0) == 1) return;
  if (updown && !updown->Owner()) delete updown;
  updown = new TSkinUpDown(Owner());
  updown->dir = 1;  // side by side
  updown->Inithwnd(arrows, fsd, skinform);
}

void TSkinTab::DrawControl(HDC dc, const RECT& rc) {
  if (!hwnd) return;
  enabled = IsWindowEnabled(hwnd) != FALSE;
  SkinScrollArrows();
  RECT display = rc;
  SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  TRect border = PageBorderRect(ToTRect(display), Position);
  if (!tabbmp.Empty()) DrawBand(dc, rc, border);
  if (!borderbmp.Empty()) DrawPageBorder(dc, border);
  if (kind == 2 && control) PaintGraphicChildren(*control, dc);
}

void TSkinTab::DrawBand(HDC dc, const RECT& rc, const TRect& border) {
  const TRect band = TabBandRect(ToTRect(rc), border, Position);
  if (band.Width() <= 0 || band.Height() <= 0 || !fsd || !fsd->tab) return;
  const TBandSize size = BandBufferSize(band, Position);
  if (!Drawtemp || Drawtemp->Width() != size.width || Drawtemp->Height() != size.height)
    Drawtemp = std::make_unique<TDibSection>(size.width, size.height);
  if (!Drawtemp->Valid()) return;
  HDC temp = Drawtemp->DC();
  FillParentFace(temp, RECT{0, 0, size.width, size.height});
  HGDIOBJ oldFont = SelectObject(temp, TabFont(hwnd));
  COLORREF oldText = GetTextColor(temp);

  const TDataSkinBorder& tab = *fsd->tab;
  int count = static_cast<int>(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0));
  int focus = static_cast<int>(SendMessageW(hwnd, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TCM_GETIMAGELIST, 0, 0));
  CloseRect.assign(static_cast<size_t>(count > 0 ? count : 0), TRect{});
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    const TRect t = TabInBand(ToTRect(item), Position, border, size.width, rc.right);
    const int face = TabFace(i, focus);
    DrawSkinImage(temp, t, tabbmp, tab.r, face, tab.frame, tab.trans == 1, tab.Tile != 0, false);
    if (showclose) {
      CloseRect[static_cast<size_t>(i)] = CloseBoxRect(t);
      DrawCloseBox(temp, CloseRect[static_cast<size_t>(i)]);
    }
    SetTextColor(temp, ResolveColor(face == 1 ? tab.Normalcolor2 : tab.Overcolor2));
    TTabItem caption = ReadTabItem(hwnd, i);
    RECT textRect{t.Left, t.Top, t.Right, t.Bottom};
    DrawImgCaption(temp, textRect, images, caption.image, caption.text, 1);
  }
  SetTextColor(temp, oldText);
  SelectObject(temp, oldFont);

  HWND arrows = ScrollArrows();
  int saved = 0;
  if (arrows && (GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE)) {
    // The arrows paint themselves; the band must not cover them.
    RECT own, r;
    GetWindowRect(hwnd, &own);
    GetWindowRect(arrows, &r);
    saved = SaveDC(dc);
    ExcludeClipRect(dc, r.left - own.left, r.top - own.top, r.right - own.left, r.bottom - own.top);
  }
  if (Position == Stleft || Position == Stright) {
    TBitmap upright = Drawtemp->ToBitmap();
    if (Position == Stleft)
      RotateLeft(upright);
    else
      RotateRight(upright);
    BlitBitmap(dc, band.Left, band.Top, upright);
  } else {
    BitBlt(dc, band.Left, band.Top, size.width, size.height, temp, 0, 0, SRCCOPY);
  }
  if (saved) RestoreDC(dc, saved);
}

void TSkinTab::DrawPageBorder(HDC dc, const TRect& border) {
  TRect margins = Rect(4, 5, 4, 4);
  if (fsd && fsd->tab && fsd->tab->style != 0 && fsd->TabSheet) margins = fsd->TabSheet->r;
  try {
    DrawSkinImage(dc, border, borderbmp, margins, 1, 1, false, false, false);
  } catch (...) {
    // A border that cannot be drawn leaves the page as it is.
  }
}

}  // namespace skin
