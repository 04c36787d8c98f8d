// The form skinner's painting of the non-client area: borders, the caption
// band with title, icon and caption buttons, and the menu band. Every piece
// is composed off-screen and reaches the window in one blit, so nothing
// flickers; the caption is composed whole in CaptionBuf's picture.
#include <windows.h>

#include <string>

#include "gui/Form.h"
#include "skin/form/CaptionLayout.h"
#include "skin/form/FrameShape.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WinSkinForm.h"
#include "skin/model/WinSkinData.h"
#if __has_include("skin/form/WinSkinMenuBar.h")
#include "skin/form/WinSkinMenuBar.h"
#define QM_HAS_SKIN_MENU_BAR 1
#endif

namespace skin {
namespace {

// Title text flags: one line, "&" shown as it is, cut with an ellipsis.
constexpr UINT kTitleFlags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kTitleFlagsRightToLeft = kTitleFlags | DT_RIGHT | DT_RTLREADING;

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

COLORREF Resolved(TColor c) {
  return static_cast<COLORREF>(ResolveColor(c));
}

// The window's icon: its own small one, its big one, then its class's.
HICON WindowIcon(HWND hwnd) {
  DWORD_PTR icon = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG, 200, &icon) || !icon)
    SendMessageTimeoutW(hwnd, WM_GETICON, ICON_BIG, 0, SMTO_ABORTIFHUNG, 200, &icon);
  if (!icon) icon = static_cast<DWORD_PTR>(GetClassLongPtrW(hwnd, GCLP_HICONSM));
  if (!icon) icon = static_cast<DWORD_PTR>(GetClassLongPtrW(hwnd, GCLP_HICON));
  return reinterpret_cast<HICON>(icon);
}

}  // namespace

void TWinSkinForm::InitSkinData() {
  if (!fsd || fsd->Empty) return;
  bw = BorderWidths(fsd->border, FormBorder == sbsNone);
  if (FormBorder == sbsNone) MenuHeight = 0;
  BuildSysButtons();
}

void TWinSkinForm::PaintBorder(int k, const TRect& rect, HDC dc) {
  if (!fsd || k < 1 || k > 4 || rect.Width() <= 0 || rect.Height() <= 0) return;
  TBitmap picture = BorderPicture(fsd->border[k], k, rect.Width(), rect.Height(), FWindowActive);
  // Opaque: the transparent parts of a border are cut away by the window shape.
  BlitBitmap(dc, rect.Left, rect.Top, picture);
}

void TWinSkinForm::PaintFrame(HDC dc) {
  if ((Skinstate != ssActive && Skinstate != ssChanging) || FormBorder == sbsNone || !fsd || fsd->Empty)
    return;
  if (FormStyle == sfsMDIChild && Windowstate == swsMax) return;
  HDC windowDc = nullptr;
  if (!dc) {
    windowDc = GetWindowDC(hwnd);
    if (!windowDc) return;
    dc = windowDc;
  }
  try {
    GetWindowRect(hwnd, &wTr);
    fwidth = wTr.right - wTr.left;
    fheight = wTr.bottom - wTr.top;
    if (Windowstate == swsMin) {
      PaintCaption(dc);
    } else {
      TFramePieces pieces = FramePieces(fwidth, fheight, bw, MenuHeight);
      PaintBorder(1, pieces.left, dc);
      PaintBorder(2, pieces.right, dc);
      PaintBorder(4, pieces.bottom, dc);
      PaintCaption(dc);
      const RECT band{pieces.menuBand.Left, pieces.menuBand.Top, pieces.menuBand.Right,
                      pieces.menuBand.Bottom};
#ifdef QM_HAS_SKIN_MENU_BAR
      if (menu) {
        menu->DrawMenu(dc, pieces.menuBand);
      } else
#endif
          if (MenuHeight > 0 && fsd->BGBrush) {
        FillRect(dc, &band, fsd->BGBrush);
      }
    }
  } catch (...) {
    // A failed paint leaves what was drawn; the next one starts afresh.
  }
  if (windowDc) ReleaseDC(hwnd, windowDc);
  ActiveBtn = nullptr;
}

void TWinSkinForm::PaintCaption(HDC dc) {
  if (!fsd || fwidth <= 0) return;
  TRect title;
  if (Windowstate == swsMin) {
    if (fheight <= 0) return;
    CaptionBuf.SetSize(fwidth, fheight, ColorToPixel(Resolved(fsd->Colors[3])));
    title = Rect(0, 0, fwidth, bw.Top);
  } else {
    if (bw.Top <= 0) return;
    CaptionBuf.SetSize(fwidth, bw.Top);
    // The corners of the caption band belong to the side borders, which run
    // the whole window height.
    CopyRect(CaptionBuf, 0, 0, BorderPicture(fsd->border[1], 1, bw.Left, fheight, FWindowActive),
             Rect(0, 0, bw.Left, bw.Top));
    CopyRect(CaptionBuf, fwidth - bw.Right, 0,
             BorderPicture(fsd->border[2], 2, bw.Right, fheight, FWindowActive),
             Rect(0, 0, bw.Right, bw.Top));
    title = Rect(bw.Left, 0, fwidth - bw.Right, bw.Top);
  }
  if (title.Width() > 0 && title.Height() > 0)
    CopyRect(CaptionBuf, title.Left, title.Top,
             BorderPicture(fsd->border[3], 3, title.Width(), title.Height(), FWindowActive),
             Rect(0, 0, title.Width(), title.Height()));

  TDibSection buffer(CaptionBuf);
  if (!buffer.Valid()) return;
  PaintTitle(buffer.DC(), title);
  // Kept without its buttons: a button that changes state is drawn over
  // this background alone (PaintSysButton).
  CaptionBuf = buffer.ToBitmap();
  LayoutSysButtons();
  PaintSysButtons(buffer.DC());
  BitBlt(dc, 0, 0, buffer.Width(), buffer.Height(), buffer.DC(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintTitle(HDC dc, const TRect& r) {
  astr = L" ";
  const std::wstring text = bstr + WindowText(hwnd) + astr;
  RightBtn = 0;
  {
    std::vector<TCaptionButtonReserve> reserve;
    for (size_t i = 0; i < SysBtn.size(); ++i) {
      const TDataSkinSysButton* e = SysBtn[i]->data;
      if (!e || e->Align != 1 || e->Map.Empty()) continue;
      reserve.push_back({e->Align, e->XCoord, SysButtonVisible(static_cast<int>(i)), true});
    }
    RightBtn = RightButtonReserve(reserve);
  }

  HGDIOBJ oldFont = SelectObject(dc, CaptionFont ? CaptionFont : GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, Resolved(fsd->Colors[FWindowActive ? 1 : 2]));

  RECT measured{r.Left, r.Top, r.Right, r.Bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);

  TTitleInput input;
  input.caption = r;
  input.textWidth = measured.right - measured.left;
  input.textHeight = measured.bottom - measured.top;
  input.element = &fsd->Title;
  input.rightToLeft = bidileft;
  input.popup = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP) != 0;
  input.dialogFrame = FormBorder == sbsDialog;
  input.rightButtons = RightBtn;
  const TTitlePlacement place = PlaceTitle(input);
  ctr = place.back;

  const TDataSkinTitle& element = fsd->Title;
  if (!element.Map.Empty())
    DrawTiledStrip(dc, Rect(place.back.Left, r.Top, place.back.Right, r.Bottom), element.Map,
                   Rect(element.backleft, 0, element.backright, 0), FWindowActive ? 1 : 2, 2, true, true);

  RECT textRect{place.text.Left, place.text.Top, place.text.Right, place.text.Bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            bidileft ? kTitleFlagsRightToLeft : kTitleFlags);
  FTitleRect = place.text;

  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

void TWinSkinForm::BuildIconBitmap() {
  const int side = GetSystemMetrics(SM_CXSMICON);
  Iconx = side > 0 ? side : 16;
  DefIcon = WindowIcon(hwnd);
  TDibSection picture(TBitmap(Iconx, Iconx, kMagentaPixel));
  if (DefIcon && picture.Valid())
    DrawIconEx(picture.DC(), 0, 0, DefIcon, Iconx, Iconx, 0, nullptr, DI_NORMAL);
  IconBmp = picture.Valid() ? picture.ToBitmap() : TBitmap(Iconx, Iconx, kMagentaPixel);
}

void TWinSkinForm::PaintIcon(HDC dc, const TRect& rect) {
  DefIcon = WindowIcon(hwnd);
  if (!DefIcon && parenthwnd) DefIcon = WindowIcon(parenthwnd);
  if (DefIcon) {
    DrawIconEx(dc, kIconLeft, IconTop(FTitleRect, Iconx), DefIcon, Iconx, Iconx, 0, nullptr, DI_NORMAL);
    return;
  }
  DrawTransparent(dc, rect, IconBmp, 0xFF00FF);
}

void TWinSkinForm::getClipMap(TBitmap& fbmp) {
  if (!fsd || fsd->Empty) return;
  HWND window = FForm && FForm->HandleAllocated() ? FForm->Handle() : hwnd;
  RECT wr{};
  if (!GetWindowRect(window, &wr)) return;
  const int32_t w = wr.right - wr.left, h = wr.bottom - wr.top;
  TDibSection picture(TBitmap(w, h, ColorToPixel(GetSysColor(COLOR_BTNFACE))));
  if (!picture.Valid()) return;
  fwidth = w;
  fheight = h;
  TFramePieces pieces = FramePieces(w, h, bw, MenuHeight);
  PaintBorder(1, pieces.left, picture.DC());
  PaintBorder(2, pieces.right, picture.DC());
  PaintCaption(picture.DC());
  PaintBorder(4, pieces.bottom, picture.DC());
  fbmp = picture.ToBitmap();
}

}  // namespace skin
