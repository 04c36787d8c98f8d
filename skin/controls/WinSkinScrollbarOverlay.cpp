// TWScrollbar: the overlay laid over one scroll bar. It draws the skin's bar
// from the platform's own record of the bar (or, for a stand-alone
// scroll-bar control, the same computed from the control's range), and hands
// each press to the real bar so the platform does the scrolling.
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return s;
}

LPARAM PointParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

}  // namespace

TScrollValues ScrollValuesOf(HWND hwnd, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  TScrollValues v;
  if (!GetScrollInfo(hwnd, bar, &si)) return v;
  v.min = si.nMin;
  v.max = si.nMax;
  v.page = static_cast<int32_t>(si.nPage);
  v.pos = si.nPos;
  return v;
}

bool BarUnavailable(const SCROLLBARINFO& info, HWND hwnd) {
  // Disabled when the platform says so of the whole bar, when both arrows
  // were switched off (EnableScrollBar), or with its window.
  const bool bothArrowsOff =
      (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) && (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) || bothArrowsOff || !IsWindowEnabled(hwnd);
}

TScrollBarArt ScrollBarArt(const TSkinData* sd, bool vertical, COLORREF face) {
  TScrollBarArt art;
  art.face = ColorToPixel(face);
  if (!sd) return art;
  art.arrows = sd->SArrow.get();
  art.shaft = vertical ? sd->VBar.get() : sd->HBar.get();
  art.thumb = vertical ? sd->VSlider.get() : sd->HSlider.get();
  return art;
}

const fw::TClassInfo& TWScrollbar::StaticClass() {
  static const fw::TClassInfo info{L"TWScrollbar", &TOverlayWindow::StaticClass(), {}};
  return info;
}

TWScrollbar::TWScrollbar(fw::TComponent* owner) : TOverlayWindow(owner), CW(GetSystemMetrics(SM_CXHSCROLL)) {}

// ---------------------------------------------------------------- attaching

void TWScrollbar::Attach(TSkinControl* aobj, fw::TWinControl* aControl, uint8_t aType) {
  if (!aControl) return;
  aControl->HandleNeeded();
  control = aControl;
  TColor face = aobj && aobj->fsd ? aobj->fsd->Colors[3] : SysColor(COLOR_BTNFACE);
  COLORREF colour = ResolveColor(aobj ? aobj->GetParentColor(face) : face);
  AttachCommon(aobj, aControl->Handle(), aType, colour);
  if (aType == 2) sbDir = Lower(fw::GetEnumText(aControl, L"Kind")) == L"sbhorizontal" ? 0 : 1;
  SetPosition(hwnd);
}

void TWScrollbar::AttachHwnd(TSkinControl* aobj, HWND ahwnd, uint8_t aType) {
  control = nullptr;
  TColor face = aobj && aobj->fsd ? aobj->fsd->Colors[3] : SysColor(COLOR_BTNFACE);
  AttachCommon(aobj, ahwnd, aType, ResolveColor(face));
  SetPosition(hwnd);
}

void TWScrollbar::AttachCommon(TSkinControl* aobj, HWND ahwnd, uint8_t aType, COLORREF colour) {
  obj = aobj;
  hwnd = ahwnd;
  sbType = aType;
  sbDir = aType == 0 ? 0 : 1;
  colour_ = colour;
  // A sibling of the covered window, so it moves and clips with it.
  if (hwnd) PlaceIn(GetParent(hwnd), WS_EX_TOOLWINDOW);
}

// ---------------------------------------------------------------- geometry

bool TWScrollbar::GetGeometry(TBarGeometry& g) {
  if (!hwnd || !IsWindow(hwnd)) return false;
  if (sbType == 2) {
    HWND parent = GetParent(hwnd);
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    g.bar = r;
    int32_t len = Vertical() ? r.bottom - r.top : r.right - r.left;
    g.thumb = ControlThumb(len, CW, ScrollValuesOf(hwnd, SB_CTL), true);
    g.invisible = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) == 0;
    g.unavailable = !IsWindowEnabled(hwnd);
    return true;
  }
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  LONG object = sbType == 0 ? OBJID_HSCROLL : OBJID_VSCROLL;
  bool ok = obj && obj->fsd ? obj->fsd->GetScrollBarInfo(hwnd, object, info)
                            : SkinGetScrollBarInfo(hwnd, object, info);
  if (!ok) return false;
  g.bar = info.rcScrollBar;
  g.thumb = TThumbSpan{info.xyThumbTop, info.xyThumbBottom};
  g.invisible = (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) != 0;
  g.unavailable = BarUnavailable(info, hwnd);
  return true;
}

TThumbSpan TWScrollbar::ThumbAtPress() {
  // The press measures the thumb from the control's own properties, without
  // the painter's minimum length.
  TScrollValues v;
  v.min = fw::GetIntProp(control, L"Min");
  v.max = fw::GetIntProp(control, L"Max");
  v.page = std::max(fw::GetIntProp(control, L"PageSize"), 0);
  v.pos = fw::GetIntProp(control, L"Position");
  if (!control) v = ScrollValuesOf(hwnd, SB_CTL);
  return ControlThumb(Len, CW, v, false);
}

// ---------------------------------------------------------------- placing

void TWScrollbar::SetPosition(HWND ahwnd) {
  hwnd = ahwnd;
  TBarGeometry g;
  if (!Handle() || !GetGeometry(g)) {
    sbVisible = false;
    return;
  }
  if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) == 0 || g.invisible) {
    HideScrollbar();
    return;
  }
  RECT bar = g.bar;
  POINT topLeft{bar.left, bar.top};
  if (sbType == 2) {
    sbRect = bar;
  } else {
    sbRect = bar;
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&sbRect), 2);
    OffsetSC = topLeft;
    ScreenToClient(GetParent(hwnd), &topLeft);
  }
  const int width = bar.right - bar.left;
  const int height = bar.bottom - bar.top;
  Len = Vertical() ? height : width;
  // Directly above the covered window, wherever it lies among its siblings.
  // The window's overlays stay in the order they have: the two bars share
  // their corner pixel, which would change hands at every placing.
  HWND above = GetWindow(hwnd, GW_HWNDPREV);
  UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
  for (HWND h = above; h && IsOverlayWindow(h); h = GetWindow(h, GW_HWNDPREV))
    if (h == Handle()) flags |= SWP_NOZORDER;
  SetWindowPos(Handle(), above ? above : HWND_TOP, topLeft.x, topLeft.y, width, height, flags);
  sbVisible = true;
  MoveWindow(Handle(), topLeft.x, topLeft.y, width, height, TRUE);
}

void TWScrollbar::FollowScroll(WPARAM notification) {
  scrollpos = LOWORD(notification);
  Repaint();
}

void TWScrollbar::HideScrollbar() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  sbVisible = false;
}

// ---------------------------------------------------------------- messages

void TWScrollbar::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      WMMouseMove(m);
      break;
    case WM_MOUSELEAVE:
      WMMouseLeave(m);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      WMLButtonDown(m);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(m);
      break;
    case WM_MOUSEACTIVATE:
      // A press on a bar leaves the focus where it was, as on a native bar.
      m.Result = MA_NOACTIVATE;
      break;
    default:
      TOverlayWindow::WndProc(m);
      break;
  }
}

void TWScrollbar::WMMouseMove(fw::TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  int32_t part = HitTestBar(AlongOf(p), CW, TThumbSpan{thumbTop, thumbbottom}, Len);
  if (part != scrollpos) {
    scrollpos = part;
    Repaint();
  }
  RequestMouseLeave(Handle());
  m.Result = 0;
}

void TWScrollbar::WMMouseLeave(fw::TMessage& m) {
  if (!fdown) {
    scrollpos = spNone;
    Repaint();
  }
  m.Result = 0;
}

void TWScrollbar::WMLButtonDown(fw::TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  GetCursorPos(&trackp);
  TBarGeometry g;
  // A disabled bar takes no presses, as the native one under it would not.
  if (!GetGeometry(g) || g.unavailable) return;
  trackthumb = sbType == 2 ? ThumbAtPress().top : g.thumb.top;
  scrollpos = HitTestBar(AlongOf(p), CW, TThumbSpan{thumbTop, thumbbottom}, Len);
  POINT screen = p;
  if (sbType != 2) {
    OffsetSC = POINT{g.bar.left, g.bar.top};
    screen.x += OffsetSC.x;
    screen.y += OffsetSC.y;
  }
  fdown = true;
  Repaint();
  ReleaseCapture();
  // The platform tracks the press inside this call until the button is
  // released, sending the control its scroll notifications meanwhile.
  if (sbType == 2)
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p));
  else
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, sbType == 0 ? HTHSCROLL : HTVSCROLL, PointParam(screen));
  fdown = false;
  ReleaseCapture();
  // The part under the cursor now: the arrow just released shows its
  // mouse-over face at once, not at the next move.
  POINT now;
  GetCursorPos(&now);
  RECT own;
  if (Handle() && GetWindowRect(Handle(), &own) && PtInRect(&own, now)) {
    ScreenToClient(Handle(), &now);
    scrollpos = HitTestBar(AlongOf(now), CW, TThumbSpan{thumbTop, thumbbottom}, Len);
    RequestMouseLeave(Handle());
  } else {
    scrollpos = spNone;
  }
  Repaint();
  m.Result = 0;
}

void TWScrollbar::WMLButtonUp(fw::TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  fdown = false;
  ReleaseCapture();
  if (sbType == 2) {
    PostMessageW(hwnd, WM_LBUTTONUP, MK_LBUTTON, PointParam(p));
  } else {
    POINT screen{p.x + OffsetSC.x, p.y + OffsetSC.y};
    PostMessageW(hwnd, WM_NCLBUTTONUP, sbType == 0 ? HTHSCROLL : HTVSCROLL, PointParam(screen));
  }
  Repaint();
  m.Result = 0;
}

// ---------------------------------------------------------------- painting

void TWScrollbar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(Handle(), &client);
  TSkinData* sd = obj ? obj->fsd : nullptr;
  COLORREF face = sd ? ResolveColor(sd->Colors[3]) : colour_;
  TScrollBarArt art = ScrollBarArt(sd, Vertical(), face);
  TBarGeometry g;
  // Whatever cannot be drawn from the skin shows the face colour rather
  // than what lay on the screen before.
  if (!CanDrawScrollBar(art) || !GetGeometry(g) || g.invisible) {
    FillColorRect(dc, client, face);
    return;
  }
  const int32_t w = g.bar.right - g.bar.left;
  const int32_t h = g.bar.bottom - g.bar.top;
  if (w < 0 || h < 0 || w > client.right || h > client.bottom) return;
  Len = Vertical() ? h : w;
  const int32_t t = ArtThickness(art, CW);
  if (fdown && scrollpos == spThumbTrack && sbType != 2) {
    // The thumb follows the cursor even where the platform reports its
    // position only when the drag ends.
    POINT cursor;
    GetCursorPos(&cursor);
    int32_t moved = Vertical() ? cursor.y - trackp.y : cursor.x - trackp.x;
    TThumbSpan span = TrackThumb(trackthumb, moved, thumbbottom - thumbTop, CW, Len);
    thumbTop = span.top;
    thumbbottom = span.bottom;
  } else {
    thumbTop = g.thumb.top;
    thumbbottom = g.thumb.bottom;
  }
  TBarPictureState s;
  s.vertical = Vertical();
  s.len = Len;
  s.across = sbType == 2 ? t : (Vertical() ? w : h);
  s.cw = CW;
  s.enabled = !g.unavailable;
  s.scrollpos = scrollpos;
  s.down = fdown;
  s.thumb = TThumbSpan{thumbTop, thumbbottom};
  TBitmap picture = ComposeScrollBar(art, s);
  if (picture.Empty()) return;
  if (sbType == 2 && (picture.Width() != client.right || picture.Height() != client.bottom)) {
    TBitmap stretched(client.right, client.bottom, art.face);
    StretchCopy(stretched, Rect(0, 0, client.right, client.bottom), picture,
                Rect(0, 0, picture.Width(), picture.Height()));
    BlitBitmap(dc, 0, 0, stretched);
    return;
  }
  BlitBitmap(dc, 0, 0, picture);
}

}  // namespace skin
