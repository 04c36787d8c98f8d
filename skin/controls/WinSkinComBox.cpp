#include <windows.h>
#include <windowsx.h>

#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinScrollBar.h"
#include "skin/form/WinPlatform.h"
#include "skin/form/WinSkinDraw.h"
#include "skin/form/WindowSubclass.h"
#include "skin/model/WinSkinData.h"

namespace skin {

namespace {

TRect ToTRect(const RECT& r) {
  return Rect(r.left, r.top, r.right, r.bottom);
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

bool HasImage(const TDataSkinObject* element) {
  return element && !element->Map.Empty();
}

bool IsDropDownStyle(uint32_t style) {
  return (style & 3) != CBS_SIMPLE;
}

// The frame count of a strip, never below one.
int Frames(const TDataSkinObject& element) {
  return element.frame > 0 ? element.frame : 1;
}

}  // namespace

const fw::TClassInfo& TSkinComBox::StaticClass() {
  static const fw::TClassInfo info{L"TSkinComBox", &TSkinControl::StaticClass(), {}};
  return info;
}

TSkinComBox::~TSkinComBox() {
  ReleaseButton();
  FreeScrollBars();
}

// ---------------------------------------------------------------- attaching

void TSkinComBox::Init(TWinSkinForm* sf, TSkinData* sd, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acolor);
  if (!Inited) return;
  AttachParts(true);
}

void TSkinComBox::Inithwnd(HWND ahwnd, TSkinData* sd, TWinSkinForm* sf) {
  if (Inited) return;
  TSkinControl::Inithwnd(ahwnd, sd, sf);
  AttachParts(false);
}

void TSkinComBox::AttachParts(bool framework) {
  if (!hwnd) return;
  dwStyle = static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  vb = nullptr;
  if (IsDropDownStyle(dwStyle)) {
    // The drop-down list is a window of its own: its bar is skinned by an
    // object of its own, owned by the control so it goes with it.
    if (framework && control && !db && ReadComboInfo() && info.hwndList) {
      auto* bar = new TComboxScrollBar(control);
      bar->Inithwnd(info.hwndList, fsd, skinform);
      if (bar->skinstate == scAttached)
        db = bar;
      else
        delete bar;
    }
    // An ANSI window's edit paints outside our reach; its own procedure is
    // followed so the skin goes back on after each of its paints.
    if (!isunicode) SubclassButton();
    hlist = nullptr;
    return;
  }
  if (ReadComboInfo()) {
    hlist = info.hwndList;
    if (hlist) dwStyle = static_cast<uint32_t>(GetWindowLongPtrW(hlist, GWL_STYLE));
    // A simple combo box's list is a child window with ordinary window bars.
    if (framework && control && hlist && !IsPopupWindow(hlist) && (dwStyle & WS_CHILD) != 0) {
      auto* bars = new TSkinScrollbarH(control);
      bars->Inithwnd(hlist, fsd, skinform);
      if (bars->skinstate == scAttached)
        vb = bars;
      else
        delete bars;
    }
  }
}

bool TSkinComBox::ReadComboInfo() {
  info = COMBOBOXINFO{};
  info.cbSize = sizeof(COMBOBOXINFO);
  return hwnd && GetComboBoxInfo(hwnd, &info);
}

void TSkinComBox::SubclassButton() {
  HWND child = GetWindow(hwnd, GW_CHILD);
  if (!child || FBtnObjectInst) return;
  TSkinComBox* self = this;
  FBtnObjectInst = TWindowSubclass::Install(child, [self](UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = self->FBtnObjectInst->CallPrevious(msg, wParam, lParam);
    switch (msg) {
      case WM_PAINT:
        self->PaintControl(nullptr);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        self->state |= Down;
        self->Redraw();
        break;
      case WM_LBUTTONUP:
        self->state &= static_cast<uint8_t>(~Down);
        self->Redraw();
        break;
      default:
        break;
    }
    return result;
  });
  if (FBtnObjectInst) {
    hbtn = child;
    FBtnPrevWndProc = FBtnObjectInst->Previous();
  }
}

void TSkinComBox::ReleaseButton() {
  if (FBtnObjectInst) FBtnObjectInst->Remove();
  FBtnObjectInst = nullptr;
  FBtnPrevWndProc = nullptr;
}

void TSkinComBox::FreeScrollBars() {
  // The list objects are the skinner's too (its control list) and are owned
  // by the control: whichever goes first frees them; here they are only
  // forgotten, never freed a second time.
  vb = nullptr;
  db = nullptr;
}

void TSkinComBox::Unsubclass() {
  TSkinControl::Unsubclass();
  ReleaseButton();
  FreeScrollBars();
}

// ---------------------------------------------------------------- messages

void TSkinComBox::SetHot(bool on) {
  if (((state & Hot) != 0) == on) return;
  if (on)
    state |= Hot;
  else
    state &= static_cast<uint8_t>(~Hot);
  Redraw();
}

void TSkinComBox::AfterProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Redraw();
      break;
    case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      bool isEnabled = IsWindowEnabled(hwnd) != FALSE;
      bool over = PtInRect(&rBtn, p) != FALSE;
      if ((state & Hot) && !over && isEnabled) SetHot(false);
      if (!(state & Hot) && over && isEnabled) SetHot(true);
      // Leaving the window (or into its edit) turns the button cold again.
      RequestMouseLeave(hwnd);
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      state |= Down;
      Redraw();
      break;
    case WM_LBUTTONUP:
      state &= static_cast<uint8_t>(~Down);
      Redraw();
      break;
    case WM_MOUSELEAVE:
    case fw::CM_MOUSELEAVE:
      SetHot(false);
      break;
    case fw::CN_COMMAND:
      if (HIWORD(message.WParam) == CBN_DROPDOWN) isDrop = true;
      if (HIWORD(message.WParam) == CBN_CLOSEUP) isDrop = false;
      break;
    default:
      TSkinControl::AfterProc(message);
  }
}

// ---------------------------------------------------------------- drawing

void TSkinComBox::DrawControl(HDC dc, const RECT& rc) {
  if (!fsd || !HasImage(fsd->combox.get()) || !hwnd) return;
  const TDataSkinBorder& combox = *fsd->combox;
  dwStyle = static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  ExStyle = static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
  if (ReadComboInfo()) {
    rBtn = info.rcButton;
    if (info.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  const bool isFocused = GetFocus() == hwnd;
  const bool isEnabled = (dwStyle & WS_DISABLED) == 0;
  const bool isDown = (state & Down) != 0, isHot = (state & Hot) != 0;
  if (combox.style == 1) {
    DrawFlat(dc, rc, ComboFlatFace(isFocused, isDown, isHot, isEnabled));
    return;
  }
  const int face = ComboFace(isFocused, isDown, isHot, isEnabled);
  if (HasButton) {
    DrawButtonOverlay(dc, rc, face);
    return;
  }
  RECT r{0, 0, rc.right - rc.left, rc.bottom - rc.top};
  if (combox.style == 2) {
    // The left-hand image is the whole strip mirrored, its frames in reverse order.
    const bool leftButton = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const TDataSkinObject* image = leftButton ? fsd->Comboxborder.get() : &combox;
    if (!HasImage(image)) return;
    const int frames = Frames(*image);
    DrawSkinImage(dc, ToTRect(r), image->Map, image->r, leftButton ? MirroredFrame(face, frames) : face,
                  frames, true, false, false);
    return;
  }
  DrawStandard(dc, r, face);
}

void TSkinComBox::DrawStandard(HDC dc, const RECT& r, int face) {
  const TDataSkinBorder& combox = *fsd->combox;
  const bool leftButton = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TComboParts parts = ComboParts(r.right, r.bottom, GetSystemMetrics(SM_CXHSCROLL), leftButton);
  // The text area keeps what the window painted there.
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, parts.textArea.Left, parts.textArea.Top, parts.textArea.Right, parts.textArea.Bottom);
  // A skin without a border image keeps the window's own border.
  if (HasImage(fsd->Comboxborder.get()))
    DrawSkinMap(dc, r, *fsd->Comboxborder, face, Frames(*fsd->Comboxborder));
  // The left-hand button is the mirrored strip, its frames in reverse order.
  const bool mirrored = leftButton && !combox.MaskMap.Empty();
  const int buttonFrames = Frames(combox);
  DrawSkinMap2(dc, ToRECT(parts.button), mirrored ? combox.MaskMap : combox.Map,
               mirrored ? MirroredFrame(face, buttonFrames) : face, buttonFrames);
  rBtn = ToRECT(parts.button);
  const TDataSkinObject* extra = fsd->ExtraImages.get();
  if (HasImage(extra)) {
    const int frames = Frames(*extra);
    TRect glyph = CenteredGlyph(parts.glyph, extra->Map.Width() / frames, extra->Map.Height());
    DrawSkinMap1(dc, ToRECT(glyph), extra->Map, face, frames);
  }
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& rc, int face) {
  const TDataSkinBorder& combox = *fsd->combox;
  const int frames = Frames(combox);
  const TComboFlatParts parts =
      ComboFlatParts(rc.right - rc.left, rc.bottom - rc.top, combox.Map.Width() / frames, combox.Map.Height(),
                     GetSystemMetrics(SM_CYVTHUMB), (ExStyle & WS_EX_LEFTSCROLLBAR) != 0);
  // The context's brush: the window's background as its caller chose it.
  HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  if (current) {
    RECT frame = ToRECT(parts.frame), fill = ToRECT(parts.fill);
    FrameRect(dc, &frame, current);
    FillRect(dc, &fill, current);
  }
  FrameWith(dc, ToRECT(parts.outer), SkinColor(7));
  rBtn = ToRECT(parts.button);
  DrawSkinMap1(dc, rBtn, combox.Map, face, frames);
}

void TSkinComBox::DrawButtonOverlay(HDC dc, const RECT& rc, int face) {
  RECT client;
  if (GetClientRect(hwnd, &client) &&
      HasBorderFrame(rc.right - rc.left, rc.bottom - rc.top, client.right, client.bottom)) {
    RECT r = rc;
    FrameWith(dc, r, SkinColor(7));
    InflateRect(&r, -1, -1);
    FrameWith(dc, r, RGB(255, 255, 255));
  }
  // The button child when it is known; otherwise where the standard style puts the button.
  RECT button;
  RECT self, child;
  if (hbtn && GetWindowRect(hwnd, &self) && GetWindowRect(hbtn, &child)) {
    button =
        RECT{child.left - self.left, child.top - self.top, child.right - self.left, child.bottom - self.top};
  } else {
    button = ToRECT(ComboParts(rc.right - rc.left, rc.bottom - rc.top, GetSystemMetrics(SM_CXHSCROLL),
                               (ExStyle & WS_EX_LEFTSCROLLBAR) != 0)
                        .button);
  }
  FillColorRect(dc, button, SkinColor(3));
  const TDataSkinObject* arrowImage = fsd->comboxarrow.get();
  if (HasImage(arrowImage)) DrawSkinMap1(dc, button, arrowImage->Map, face, Frames(*arrowImage));
}

}  // namespace skin
