// TSkinMenuButton: drop-down buttons, drawn as a glyph, the caption and a
// small down-pointing arrow in one row over the skin's button face. Focus
// shows the hot face; the mouse is the plain button's.
#include "skin/controls/WinButtonGlyph.h"
#include "skin/controls/WinSkinButton.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

// The filled arrow in `colour`; pen and brush put back.
void DrawArrow(HDC dc, int32_t x, int32_t y, COLORREF colour) {
  std::array<TPoint32, 3> corners = MenuArrowCorners(x, y);
  POINT points[3];
  for (size_t i = 0; i < corners.size(); ++i) points[i] = POINT{corners[i].x, corners[i].y};
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Polygon(dc, points, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

const fw::TClassInfo& TSkinMenuButton::StaticClass() {
  static const fw::TClassInfo info{L"TSkinMenuButton", &TSkinButton::StaticClass(), {}};
  return info;
}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || fsd->Button.Map.Empty()) return;
  RefreshFocusAndEnabled();
  caption = SplitCaptionBars(ReadCaption());
  TButtonLook look{focused, false, (state & Hot) != 0, (state & Down) != 0, enabled};
  int face = MenuButtonFace(look);
  if (!PrepareBuffer(rc)) return;
  HDC buffer = btemp->DC();
  const int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  HGDIOBJ oldFont = SelectObject(buffer, CaptionFont());
  TBitmap glyph = ReadPictureProperty(control, L"Glyph");
  ComposeFace(face);

  TSize32 text;
  if (!caption.empty()) {
    TRect m = MenuCaptionMeasureRect(w, h, glyph.Width());
    RECT r{m.Left, m.Top, m.Right, m.Bottom};
    DrawSkinText(buffer, caption, r, DT_CALCRECT | DT_WORDBREAK);
    text = {r.right - r.left, r.bottom - r.top};
  }
  TMenuButtonPlacement place =
      MenuButtonLayout(w, h, glyph.Width(), glyph.Height(), text.width, text.height,
                       fw::GetIntProp(control, L"Margin"), fw::GetIntProp(control, L"Spacing"));
  DrawGlyph(buffer, place.glyphX, place.glyphY, glyph);

  TInkChoice choice{fsd->Button.newnormal, fsd->Button.newover, fsd->Button.newdown};
  COLORREF base = control ? control->Font().Color() : SkinColor(4);
  SetTextColor(buffer, InkColour(FaceCaptionInk(face, enabled, choice), base));
  DrawArrow(buffer, place.arrowX, place.arrowY, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
  if (!caption.empty()) {
    RECT r{place.text.Left, place.text.Top, place.text.Right, place.text.Bottom};
    int oldMode = SetBkMode(buffer, TRANSPARENT);
    DrawSkinText(buffer, caption, r, DT_WORDBREAK);
    SetBkMode(buffer, oldMode);
    if (FocusRectWanted()) {
      TRect f = ButtonFocusRect(place.text);
      RECT focus{f.Left, f.Top, f.Right, f.Bottom};
      DrawFocusRect(buffer, &focus);
    }
  }
  BitBlt(dc, rc.left, rc.top, w, h, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, oldFont);
}

}  // namespace skin
