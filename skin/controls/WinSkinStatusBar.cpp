#include "gui/StatusBar.h"
#include "skin/controls/BarLayout.h"
#include "skin/controls/WinSkinBars.h"
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

TPanelBevel BevelOf(const fw::TStatusPanel& p) {
  switch (p.bevel) {
    case fw::pbNone:
      return TPanelBevel::None;
    case fw::pbRaised:
      return TPanelBevel::Raised;
    case fw::pbLowered:
      break;
  }
  return TPanelBevel::Lowered;
}

TPanelAlignment AlignmentOf(const fw::TStatusPanel& p) {
  switch (p.alignment) {
    case fw::TAlignment::taRightJustify:
      return TPanelAlignment::Right;
    case fw::TAlignment::taCenter:
      return TPanelAlignment::Center;
    case fw::TAlignment::taLeftJustify:
      break;
  }
  return TPanelAlignment::Left;
}

// `font` without bold, italic, underline or strike-out; the caller deletes it.
HFONT PlainFont(HFONT font) {
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return nullptr;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = FALSE;
  lf.lfUnderline = FALSE;
  lf.lfStrikeOut = FALSE;
  return CreateFontIndirectW(&lf);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

const fw::TClassInfo& TSkinStatusBar::StaticClass() {
  static const fw::TClassInfo info{L"TSkinStatusBar", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinStatusBar::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintMessage(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rc) {
  auto* bar = dynamic_cast<fw::TStatusBar*>(control);
  if (!bar) return;
  TDibSection picture(rc.right - rc.left, rc.bottom - rc.top);
  if (!picture.Valid()) return;
  HDC pdc = picture.DC();
  RECT whole{0, 0, picture.Width(), picture.Height()};
  FillColorRect(pdc, whole, SkinColor(3));
  HFONT font = PlainFont(bar->Font().Handle());
  HGDIOBJ oldFont = font ? SelectObject(pdc, font) : nullptr;
  SetTextColor(pdc, fsd && fsd->StatusBar ? ResolveColor(fsd->StatusBar->Normalcolor2) : SkinColor(4));

  const bool simple = bar->SimplePanel() || bar->PanelCount() == 0;
  if (simple)
    DrawSimpleText(pdc, whole, *bar);
  else
    DrawPanels(pdc, whole, *bar);
  DrawSizeGrip(pdc, whole);

  if (oldFont) SelectObject(pdc, oldFont);
  if (font) DeleteObject(font);
  BitBlt(dc, rc.left, rc.top, picture.Width(), picture.Height(), pdc, 0, 0, SRCCOPY);
  PaintGraphicChildren(*bar, dc);
  // A simple bar shows no panels, so none is handed to the owner's drawing.
  if (!simple) CallDrawPanel(dc, *bar);
}

void TSkinStatusBar::DrawSimpleText(HDC dc, const RECT& rc, fw::TStatusBar& bar) {
  std::wstring text = fw::GetTextProp(bar, L"SimpleText");
  if (text.empty()) text = L" ";
  DrawPanelBackground(dc, rc, 1);
  RECT area = ToRECT(PanelTextRect(ToTRect(rc)));
  DrawCaption(dc, area, text, true, bar.BiDiMode() == fw::bdRightToLeft ? DT_RIGHT : DT_LEFT);
}

void TSkinStatusBar::DrawPanels(HDC dc, const RECT& rc, fw::TStatusBar& bar) {
  const int count = bar.PanelCount();
  for (int i = 0; i < count; ++i) {
    const fw::TStatusPanel& panel = bar.Panel(i);
    TPanelAlignment alignment = ShownPanelAlignment(AlignmentOf(panel), panel.biDiMode == fw::bdRightToLeft);
    RECT reported{};
    if (!SendMessageW(hwnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&reported)))
      continue;
    TRect background = PanelBackgroundRect(ToTRect(reported), i == count - 1, rc.right);
    DrawPanelBackground(dc, ToRECT(background), PanelFace(BevelOf(panel)));
    // Owner-drawn panels get only their background; their handler draws the rest.
    if (panel.style != fw::psText) continue;
    std::wstring text = panel.text.empty() ? L" " : panel.text;
    DrawCaption(dc, ToRECT(PanelTextRect(background)), text, true, PanelTextFormat(alignment));
  }
}

void TSkinStatusBar::DrawSizeGrip(HDC dc, const RECT& rc) {
  if (!(GetWindowLongW(hwnd, GWL_STYLE) & SBARS_SIZEGRIP)) return;
  if (!fsd || !fsd->ExtraImages || fsd->ExtraImages->Map.Empty()) return;
  const TDataSkinObject& extra = *fsd->ExtraImages;
  int32_t frames = SafeFrameCount(extra.frame);
  TRect grip = SizeGripRect(ToTRect(rc), extra.Map.Width() / frames, extra.Map.Height());
  DrawSkinMap1(dc, ToRECT(grip), extra.Map, 5, frames);
}

void TSkinStatusBar::DrawPanelBackground(HDC dc, const RECT& rc, int face) {
  if (fsd && fsd->StatusBar && !fsd->StatusBar->Map.Empty()) {
    const TDataSkinObject& edges = *fsd->StatusBar;
    TBitmap image = BuildSkinBitmap(ToTRect(rc), edges.Map, edges.r, face, 3, edges.Tile != 0, false);
    BlitBitmap(dc, rc.left, rc.top, image);
    return;
  }
  if (face == 3 || rc.right <= rc.left || rc.bottom <= rc.top) return;
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF topLeft = face == 1 ? shadow : light;
  COLORREF bottomRight = face == 1 ? light : shadow;
  Line(dc, rc.left, rc.bottom - 1, rc.left, rc.top, topLeft);
  Line(dc, rc.left, rc.top, rc.right - 1, rc.top, topLeft);
  Line(dc, rc.right - 1, rc.top, rc.right - 1, rc.bottom - 1, bottomRight);
  Line(dc, rc.right - 1, rc.bottom - 1, rc.left - 1, rc.bottom - 1, bottomRight);
}

void TSkinStatusBar::CallDrawPanel(HDC dc, fw::TStatusBar& bar) {
  if (!bar.OnDrawPanel) return;
  for (int i = 0; i < bar.PanelCount(); ++i) {
    RECT reported{};
    if (!SendMessageW(hwnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&reported)))
      continue;
    bar.OnDrawPanel(bar, i, dc, ToRECT(PanelDrawRect(ToTRect(reported))));
  }
}

}  // namespace skin
