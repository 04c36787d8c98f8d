#include "skin/controls/CheckFrames.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/form/WinPlatform.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

}  // namespace

const fw::TClassInfo& TSkinGroupBox::StaticClass() {
  static const fw::TClassInfo info{L"TSkinGroupBox", &TSkinControl::StaticClass(), {}};
  return info;
}

void TSkinGroupBox::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  TSkinControl::Init(sf, sd, acolor);
  kind = control ? 1 : 0;
}

bool TSkinGroupBox::BeforeProc(fw::TMessage& message) {
  bool passOn = TSkinControl::BeforeProc(message);
  if (kind == 1 && message.Msg == WM_PAINT) {
    PaintMessage(message);
    return false;
  }
  return passOn;
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rc) {
  DrawGroupFrame(dc, rc);
}

void TSkinGroupBox::DrawGroupFrame(HDC dc, const RECT& rc) {
  caption = GetWindowCaption(hwnd);
  if (caption.empty() && control) caption = control->Caption();
  if (control) FillSkinFace(dc, rc);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  COLORREF oldText = CLR_INVALID;
  if (control) {
    font = control->Font().Handle();
    oldText = SetTextColor(dc, control->Font().Color());
  }
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  int textHeight = TextHeight(dc, L"0");
  LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  TGroupFrameLayout layout = GroupFrameLayout(ToTRect(rc), textHeight, (exStyle & WS_EX_RIGHT) != 0);

  if (kind == 0) {
    // Wipe the two-pixel frame the window drew itself.
    HBRUSH background = fsd && fsd->BGBrush ? fsd->BGBrush : nullptr;
    HBRUSH made = background ? nullptr : CreateSolidBrush(SkinColor(3));
    RECT wipe = ToRECT(layout.wipe);
    FrameRect(dc, &wipe, background ? background : made);
    InflateRect(&wipe, -1, -1);
    FrameRect(dc, &wipe, background ? background : made);
    if (made) DeleteObject(made);
  }

  HPEN pen = CreatePen(PS_SOLID, 1, SkinColor(7));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, layout.frame.Left, layout.frame.Top, layout.frame.Right, layout.frame.Bottom, 5, 5);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);

  // An opaque caption cuts the frame's top line.
  COLORREF oldBack = SetBkColor(dc, SkinColor(3));
  int oldMode = SetBkMode(dc, OPAQUE);
  RECT captionRect = ToRECT(layout.caption);
  UINT format = layout.format;
  if (format & DT_RIGHT) format = CheckBiDi(format);
  if (!caption.empty()) DrawSkinText(dc, caption, captionRect, format);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  if (oldText != CLR_INVALID) SetTextColor(dc, oldText);
  if (oldFont) SelectObject(dc, oldFont);

  // The box's own painting, which paints its windowless children, was swallowed.
  if (kind == 1 && control) PaintGraphicChildren(*control, dc);
}

}  // namespace skin
