#include <algorithm>

#include "skin/controls/BarLayout.h"
#include "skin/controls/CaptionPlacement.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

constexpr UINT kItemTextFormat = DT_END_ELLIPSIS | DT_EXPANDTABS;
constexpr int kItemTextCapacity = 201;

// The header's own font without bold, italic, underline or strike-out; the
// caller deletes it.
HFONT PlainFontOf(HWND hwnd) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  if (!GetObjectW(font, sizeof lf, &lf)) return nullptr;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = FALSE;
  lf.lfUnderline = FALSE;
  lf.lfStrikeOut = FALSE;
  return CreateFontIndirectW(&lf);
}

}  // namespace

const fw::TClassInfo& TSkinHeader::StaticClass() {
  static const fw::TClassInfo info{L"TSkinHeader", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinHeader::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  TSkinControl::Init(sf, sd, acolor);
  indexitem = -1;
}

void TSkinHeader::Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) {
  TSkinControl::Inithwnd(ahwnd, sd, sf);
  indexitem = -1;
}

bool TSkinHeader::HasHeaderImage() const {
  return fsd && fsd->Header && !fsd->Header->Map.Empty();
}

bool TSkinHeader::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (!HasHeaderImage()) return true;
      PaintMessage(message);
      return false;
    case WM_ERASEBKGND:
      if (!HasHeaderImage()) return true;
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinHeader::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      // Unsigned 16-bit halves, as the header itself reads them.
      int32_t x = LOWORD(message.LParam);
      int32_t y = HIWORD(message.LParam);
      int32_t item = HeaderItemAt(Items, x, y, indexitem);
      if (item != indexitem) {
        indexitem = item;
        Redraw();
      }
      RequestMouseLeave(hwnd);
      break;
    }
    case WM_MOUSELEAVE:
      indexitem = -1;
      Redraw();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rc) {
  if (!HasHeaderImage()) return;
  const TDataSkinObject& header = *fsd->Header;
  TDibSection picture(rc.right - rc.left, rc.bottom - rc.top);
  if (!picture.Valid()) return;
  enabled = true;  // a header is always drawn as enabled

  HFONT font = PlainFontOf(hwnd);
  HGDIOBJ oldFont = font ? SelectObject(picture.DC(), font) : nullptr;
  if (fsd->hasColors[0]) SetTextColor(picture.DC(), ResolveColor(fsd->Colors[0]));

  auto il = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, HDM_GETIMAGELIST, 0, 0));
  int n = static_cast<int>(SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0));
  if (n < 0) n = 0;
  // An item whose rectangle cannot be read keeps its last hit area.
  Items.resize(static_cast<size_t>(n));
  int32_t right = 0;
  for (int i = 0; i < n; ++i) {
    RECT item{};
    if (!SendMessageW(hwnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      continue;
    DrawHeaderItem(il, picture.DC(), i, item);
    Items[static_cast<size_t>(i)] = HeaderHitRect(ToTRect(item));
    right = std::max<int32_t>(right, item.right);
  }
  if (right < picture.Width()) {
    TRect strip = Rect(right, 0, picture.Width(), picture.Height());
    TBitmap face = BuildSkinBitmap(strip, header.Map, header.r, 1, SafeFrameCount(header.frame),
                                   header.Tile != 0, false);
    BlitBitmap(picture.DC(), strip.Left, strip.Top, face);
  }

  if (oldFont) SelectObject(picture.DC(), oldFont);
  if (font) DeleteObject(font);
  BitBlt(dc, rc.left, rc.top, picture.Width(), picture.Height(), picture.DC(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawHeaderItem(HIMAGELIST il, HDC dc, int i, const RECT& rect) {
  const TDataSkinObject& header = *fsd->Header;
  wchar_t text[kItemTextCapacity] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kItemTextCapacity;
  SendMessageW(hwnd, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));

  TRect target = ToTRect(rect);
  TBitmap face = BuildSkinBitmap(target, header.Map, header.r, HeaderFace(i, indexitem),
                                 SafeFrameCount(header.frame), header.Tile != 0, false);
  BlitBitmap(dc, target.Left, target.Top, face);
  std::wstring caption(text);
  if (caption.empty()) return;  // neither text nor image
  // The content is drawn in the item's place, clipped to it, as if the item
  // had a picture of its own.
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  DrawHeaderItemContent(dc, rect, HeaderTextAlignment(static_cast<uint32_t>(item.fmt)), caption,
                        HeaderImageIndex(static_cast<uint32_t>(item.fmt), item.iImage), il);
  RestoreDC(dc, saved);
}

void TSkinHeader::DrawHeaderItemContent(HDC dc, const RECT& r, int a, const std::wstring& text, int idx,
                                        HIMAGELIST il) {
  int cx = 0, cy = 0;
  bool withImage = il && idx != -1;
  if (withImage) ImageList_GetIconSize(il, &cx, &cy);
  TImgCaptionLayout layout(ToTRect(r), cx, cy, withImage);
  RECT measured = ToRECT(layout.MeasureRect());
  DrawSkinText(dc, text, measured, kItemTextFormat | DT_CALCRECT | DT_NOCLIP);
  layout.Place(measured.right - measured.left, measured.bottom - measured.top, a);
  if (layout.drawImage) ImageList_Draw(il, idx, dc, layout.image.Left, layout.image.Top, ILD_TRANSPARENT);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT t = ToRECT(layout.text);
  DrawSkinText(dc, text, t, CheckBiDi(kItemTextFormat));
  SetBkMode(dc, oldMode);
}

}  // namespace skin
