#include <windows.h>

#include "skin/controls/WinSkinEdit.h"
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

bool Contains(const TRect& r, POINT p) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

// The skin's strip for the arrows' direction, or nullptr when it has none.
const TDataSkinBorder* SpinElement(const TSkinData* sd, bool horizontal) {
  if (!sd) return nullptr;
  const TDataSkinBorder* element = horizontal ? sd->HSpin.get() : sd->VSpin.get();
  return element && !element->Map.Empty() ? element : nullptr;
}

}  // namespace

const fw::TClassInfo& TSkinUpDown::StaticClass() {
  static const fw::TClassInfo info{L"TSkinUpDown", &TSkinControl::StaticClass(), {}};
  return info;
}

bool TSkinUpDown::BeforeProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintMessage(message);
      return false;
    case WM_ERASEBKGND:
      // The whole window is painted at WM_PAINT; a framework control erases as it always does.
      if (control) return TSkinControl::BeforeProc(message);
      if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillColorRect(dc, r, RGB(255, 255, 255));
      }
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control steps its value first, so the pressed face shows the new state.
      CallOldProc(message);
      state |= Down;
      PaintControl(nullptr);
      return false;
    case WM_LBUTTONUP:
      state &= static_cast<uint8_t>(~Down);
      CallOldProc(message);
      PaintControl(nullptr);
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rc) {
  if (!hwnd) return;
  TRect area = ToTRect(rc);
  if (inedit) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillColorRect(dc, client, RGB(255, 255, 255));
    RECT window, parent;
    HWND edit = GetParent(hwnd);
    if (edit && GetWindowRect(hwnd, &window) && GetWindowRect(edit, &parent))
      area = SpinRectInEdit(area, ToTRect(window), ToTRect(parent));
  }
  if (area.Width() <= 0 || area.Height() <= 0) return;

  // Composed off-screen and copied in one blit, so the control never flickers.
  TDibSection picture(area.Width(), area.Height());
  if (!picture.Valid()) return;
  RECT whole{0, 0, area.Width(), area.Height()};
  FillColorRect(picture.DC(), whole, SkinColor(3));

  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(hwnd, &cursor);
  cursor.x -= area.Left;
  cursor.y -= area.Top;
  const uint32_t style = static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const bool isEnabled = (style & WS_DISABLED) == 0;
  const bool horizontal = SpinIsHorizontal(style, dir);
  const TDataSkinBorder* element = SpinElement(fsd, horizontal);

  for (const TSpinHalf& half : SpinHalves(area.Width(), area.Height(), horizontal)) {
    int face = SpinFace(Contains(half.rect, cursor), (state & Down) != 0, (state & Hot) != 0, isEnabled);
    if (element)
      DrawSkinHalf(picture.DC(), half, face, *element);
    else
      DrawPlainHalf(picture.DC(), half, face);
  }
  BitBlt(dc, area.Left, area.Top, area.Width(), area.Height(), picture.DC(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawSkinHalf(HDC dc, const TSpinHalf& half, int face, const TDataSkinBorder& element) {
  const int index = SpinFrameIndex(face, half.arrow);
  DrawSkinFrame(dc, half.rect, element.Map, index, element.frame, true);
  if (element.MaskMap.Empty()) return;
  DrawSkinFrameCentered(dc, half.rect, element.MaskMap, index, element.frame, true);
}

void TSkinUpDown::DrawPlainHalf(HDC dc, const TSpinHalf& half, int face) {
  HBRUSH brush = CreateSolidBrush(SkinColor(SpinPlainShadowed(face) ? 7 : 3));
  HPEN pen = CreatePen(PS_SOLID, 1, SkinColor(8));
  if (!brush || !pen) {
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
    return;
  }
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  RECT r = ToRECT(half.rect);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  const TSpinPoint origin = SpinGlyphOrigin(half.rect, half.arrow);
  for (const TPolyline& line : SpinChevron(half.arrow)) {
    MoveToEx(dc, origin.x + line[0].x, origin.y + line[0].y, nullptr);
    for (size_t i = 1; i < line.size(); ++i) LineTo(dc, origin.x + line[i].x, origin.y + line[i].y);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace skin
